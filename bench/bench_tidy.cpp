// The results list's tidying actions on millions of short rows, each against a well-known tool
// doing the same to the same rows in the same run.
//
//   bench_tidy [rows=10000000] [runs=3] [--no-tools] [--nine-digits]
//
// Last, "Clean Up" with every step on runs on the same rows, against the sum of the single
// actions it chains: it must take no longer than choosing them one after another.
//
// The rows (tidy_rows.h) are a short word and a number ("ko4711023", about 9 characters), as
// one shared text like a split line makes; 1 % are empty, about 9 % repeat an earlier row on
// purpose, 5 % have spaces or tabs at their ends. Numbers of up to 7 digits also repeat by
// chance beyond ten million rows; with --nine-digits they do not. They are also written to a file,
// one a line, for the tools: grep, Python (timed inside Python, reading excluded), awk (on a tenth
// of the rows, times ten: on all of them it takes twenty seconds) and sort -V. Each action runs
// `runs` times; the median counts, and the peak memory is that of its first run above what the
// process held.

#include "bench_support.h"
#include "core/row_tidying.h"
#include "tidy_rows.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

struct Figure {
    double seconds = 0;
    double peakMb = 0;
    TidyOutcome outcome = TidyOutcome::Unchanged;
    qsizetype rowsAfter = 0;
};

Figure measure(const RowStore& rows, const std::function<TidyResult(JobProgress&)>& action,
               int runs) {
    std::vector<double> times;
    Figure figure;
    for (int run = 0; run < runs; ++run) {
        const double before = bench::currentMemoryMb();
        bench::resetPeakMemory();
        JobProgress progress;
        QElapsedTimer timer;
        timer.start();
        TidyResult result = action(progress);
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

Figure measure(const RowStore& rows, TidyAction action, int runs) {
    return measure(
        rows, [&](JobProgress& progress) { return TidyRows(rows, action, progress); }, runs);
}

void report(const char* name, const Figure& figure, const char* baselineName, double baseline,
            double goal) {
    std::printf("  %-22s %6.3f s = %5.2f x %s (goal <= %.2f)  peak +%.0f MB  %s, %lld rows\n", name,
                figure.seconds, figure.seconds / baseline, baselineName, goal, figure.peakMb,
                figure.outcome == TidyOutcome::Changed ? "changed" : "unchanged",
                static_cast<long long>(figure.rowsAfter));
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const qsizetype count = argc > 1 ? QByteArray(argv[1]).toLongLong() : 10'000'000;
    const int runs = argc > 2 ? QByteArray(argv[2]).toInt() : 3;
    // Without the tools (minutes at a hundred million rows), while changing an action.
    const bool tools = !bench::hasOption(argc, argv, 3, "--no-tools");
    const bench::TidyNumbers numbers = bench::tidyNumbersFrom(argc, argv, 3);

    QElapsedTimer timer;
    timer.start();
    RowStore rows;
    QTemporaryDir folder;
    const std::string dir = folder.path().toStdString();
    const std::string input = dir + "/rows.txt";
    const double characters = bench::fillTidyRows(count, rows, input, numbers);
    if (characters < 0) {
        return 1;
    }
    std::printf("%lld rows, %.1f characters a row on average, made in %.1f s; sort locale %s\n",
                static_cast<long long>(count), characters, bench::seconds(timer),
                qPrintable(QLocale().name()));

    const double grep = tools ? bench::grepSeconds(input, dir) : 1;
    const double strip = tools ? bench::pythonStripSeconds(input) : 1;
    const double fromKeys = tools ? bench::pythonFromKeysSeconds(input) : 1;
    const double awk =
        !tools ? 1
               : 10 * bench::timeCommand("head -n " + std::to_string(count / 10) + " '" + input +
                                         "' | awk '!seen[$0]++' > '" + dir + "/awk.txt'");
    const double sortV = tools ? bench::sortVSeconds(input, dir) : 1;
    std::printf("  grep -v '^$' > file      %6.3f s\n", grep);
    std::printf("  python3 strip list       %6.3f s\n", strip);
    std::printf("  python3 dict.fromkeys    %6.3f s\n", fromKeys);
    std::printf("  awk '!seen[$0]++'        %6.3f s (a tenth of the rows, times ten)\n", awk);
    std::printf("  sort -V > file           %6.3f s\n", sortV);
    std::fflush(stdout);

    const Figure trim = measure(rows, TidyAction::TrimSpaces, runs);
    report("Trim Spaces", trim, "grep", grep, 1);
    const Figure empty = measure(rows, TidyAction::RemoveEmptyRows, runs);
    report("Remove Empty Rows", empty, "grep", grep, 1);
    const Figure unique = measure(rows, TidyAction::RemoveDuplicateRows, runs);
    report("Remove Duplicate Rows", unique, "dict", fromKeys, 0.1);
    std::printf("  %-22s %6.3f s = %5.2f x awk\n", "", unique.seconds, unique.seconds / awk);
    const Figure caseless = measure(rows, TidyAction::RemoveDuplicateRowsIgnoringCase, runs);
    report("Duplicates (Ign. Case)", caseless, "dict", fromKeys, 0.1);
    const Figure aToZ = measure(rows, TidyAction::SortAToZ, runs);
    report("Sort A to Z", aToZ, "sort -V", sortV, 0.15);
    report("Sort Z to A", measure(rows, TidyAction::SortZToA, runs), "sort -V", sortV, 0.15);

    CleanUpSteps everyStep;
    everyStep.ignoreCase = true;
    everyStep.sort = SortOrder::AToZ;
    const Figure cleanUp = measure(
        rows, [&](JobProgress& progress) { return CleanUpRows(rows, everyStep, progress); }, runs);
    const double sum = trim.seconds + empty.seconds + caseless.seconds + aToZ.seconds;
    report("Clean Up (every step)", cleanUp, "the four actions", sum, 1);
    return cleanUp.seconds <= sum ? 0 : 2;
}
