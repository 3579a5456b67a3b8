// The results list's tidying actions on millions of short rows, each against a well-known tool
// doing the same to the same rows in the same run.
//
//   bench_tidy [rows=10000000] [runs=3]
//
// The rows are a short word and a number ("ko4711023", about 9 characters), as one shared
// text like a split line makes; 1 % are empty, about 10 % repeat an earlier row, 5 % have
// spaces or tabs at their ends. They are also written to a file, one a line, for the tools:
// grep, Python (timed inside Python, reading excluded), awk (on a tenth of the rows, times
// ten: on all of them it takes twenty seconds) and sort -V. Each action runs `runs` times; the
// median counts, and the peak memory is that of its first run above what the process held.

#include "bench_support.h"
#include "core/row_tidying.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace {

struct Rows {
    QString text;  // the rows, each followed by a line feed
    RowStore store;
};

void makeRows(qsizetype count, Rows& rows) {
    static const char* const kWords[] = {"ko",  "ba", "Ro", "ne", "tsu", "mi", "Ka", "lu",
                                         "dor", "ve", "pi", "Sa", "qua", "ze", "fo", "hy"};
    std::mt19937_64 random(20261207);
    std::vector<TextSpan> spans;
    spans.reserve(static_cast<size_t>(count));
    rows.text.reserve(count * 11);
    QString row;
    for (qsizetype i = 0; i < count; ++i) {
        const quint64 draw = random();
        const int kind = static_cast<int>(draw % 100);
        row.clear();
        if (kind == 0) {
            // empty
        } else if (kind <= 9 && !spans.empty()) {
            const TextSpan earlier = spans[(draw >> 8) % spans.size()];
            row = rows.text.mid(earlier.offset, earlier.length);
        } else {
            row = QString::fromLatin1(kWords[(draw >> 8) % 16]) +
                  QString::number((draw >> 16) % 10'000'000);
            if (kind >= 95) {
                row = (kind % 2 ? QStringLiteral(" ") : QStringLiteral("\t")) + row +
                      QStringLiteral("  ");
            }
        }
        spans.push_back({rows.text.size(), static_cast<quint32>(row.size())});
        rows.text += row;
        rows.text += QLatin1Char('\n');
    }
    rows.store.reserveMore(count);
    for (const TextSpan& span : spans) {
        rows.store.appendSpan(rows.text, span);
    }
}

// Runs a command and returns the last number it printed (Python's own timing).
double commandsOwnSeconds(const std::string& command) {
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return -1;
    }
    double seconds = -1;
    char line[256];
    while (std::fgets(line, sizeof line, pipe) != nullptr) {
        seconds = std::atof(line);
    }
    pclose(pipe);
    return seconds;
}

struct Figure {
    double seconds = 0;
    double peakMb = 0;
    TidyOutcome outcome = TidyOutcome::Unchanged;
    qsizetype rowsAfter = 0;
};

Figure measure(const RowStore& rows, TidyAction action, int runs) {
    std::vector<double> times;
    Figure figure;
    for (int run = 0; run < runs; ++run) {
        const double before = bench::currentMemoryMb();
        bench::resetPeakMemory();
        TidyProgress progress;
        QElapsedTimer timer;
        timer.start();
        TidyResult result = TidyRows(rows, action, progress);
        times.push_back(bench::seconds(timer));
        if (run == 0) {
            figure.peakMb = bench::peakMemoryMb() - before;
            figure.outcome = result.outcome;
            figure.rowsAfter = result.rows ? result.rows->size() : rows.size();
        }
    }
    std::sort(times.begin(), times.end());
    figure.seconds = times[times.size() / 2];
    return figure;
}

void report(const char* name, const Figure& figure, const char* baselineName, double baseline,
            double goal) {
    std::printf("  %-22s %6.3f s = %5.2f x %s (goal <= %.1f)  peak +%.0f MB  %s, %lld rows\n", name,
                figure.seconds, figure.seconds / baseline, baselineName, goal, figure.peakMb,
                figure.outcome == TidyOutcome::Changed ? "changed" : "unchanged",
                static_cast<long long>(figure.rowsAfter));
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const qsizetype count = argc > 1 ? QByteArray(argv[1]).toLongLong() : 10'000'000;
    const int runs = argc > 2 ? QByteArray(argv[2]).toInt() : 3;

    QElapsedTimer timer;
    timer.start();
    Rows rows;
    makeRows(count, rows);
    QTemporaryDir folder;
    const std::string dir = folder.path().toStdString();
    const std::string input = dir + "/rows.txt";
    {
        QFile file(QString::fromStdString(input));
        if (!file.open(QIODevice::WriteOnly) || file.write(rows.text.toUtf8()) < 0) {
            std::fprintf(stderr, "cannot write %s\n", input.c_str());
            return 1;
        }
    }
    std::printf("%lld rows, %.1f characters a row on average, made in %.1f s; sort locale %s\n",
                static_cast<long long>(count),
                double(rows.text.size() - count) / double(std::max<qsizetype>(count, 1)),
                bench::seconds(timer), qPrintable(QLocale().name()));

    const double grep = bench::timeCommand("grep -v '^$' '" + input + "' > '" + dir + "/grep.txt'");
    const std::string python =
        "python3 -c 'import sys, time\n"
        "rows = open(sys.argv[1], encoding=\"utf-8\").read().split(\"\\n\")\n"
        "start = time.perf_counter()\n";
    const double strip = commandsOwnSeconds(python +
                                            "stripped = [x.strip() for x in rows]\n"
                                            "print(time.perf_counter() - start)' '" +
                                            input + "'");
    const double fromKeys = commandsOwnSeconds(python +
                                               "unique = dict.fromkeys(rows)\n"
                                               "print(time.perf_counter() - start)' '" +
                                               input + "'");
    const double awk =
        10 * bench::timeCommand("head -n " + std::to_string(count / 10) + " '" + input +
                                "' | awk '!seen[$0]++' > '" + dir + "/awk.txt'");
    const double sortV =
        bench::timeCommand("LC_ALL=C.UTF-8 sort -V '" + input + "' > '" + dir + "/sort.txt'");
    std::printf("  grep -v '^$' > file      %6.3f s\n", grep);
    std::printf("  python3 strip list       %6.3f s\n", strip);
    std::printf("  python3 dict.fromkeys    %6.3f s\n", fromKeys);
    std::printf("  awk '!seen[$0]++'        %6.3f s (a tenth of the rows, times ten)\n", awk);
    std::printf("  sort -V > file           %6.3f s\n", sortV);
    std::fflush(stdout);

    report("Trim Spaces", measure(rows.store, TidyAction::TrimSpaces, runs), "grep", grep, 1);
    report("Remove Empty Rows", measure(rows.store, TidyAction::RemoveEmptyRows, runs), "grep",
           grep, 1);
    const Figure unique = measure(rows.store, TidyAction::RemoveDuplicateRows, runs);
    report("Remove Duplicate Rows", unique, "dict", fromKeys, 0.5);
    std::printf("  %-22s %6.3f s = %5.2f x awk\n", "", unique.seconds, unique.seconds / awk);
    report("Sort A to Z", measure(rows.store, TidyAction::SortAToZ, runs), "sort -V", sortV, 1);
    report("Sort Z to A", measure(rows.store, TidyAction::SortZToA, runs), "sort -V", sortV, 1);
    return 0;
}
