#pragma once

// The rows the tidying benchmarks work on, and the well-known tools they are held against.

#include "bench_support.h"
#include "core/memory_pages.h"
#include "core/text_span.h"

#include <QFile>
#include <QString>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

namespace bench {

// Which numbers the rows draw.
enum class TidyNumbers {
    // Up to 7 digits: beyond ten million rows, more and more rows repeat an earlier one by
    // chance (12 % of the rows are repeats at 10 M rows, 29 % at 100 M).
    Seven,
    // Up to 9 digits: the planted repeats stay about 9 % of the rows at any count, so the work
    // on repeats grows as the rows do.
    Nine,
};

// Rows of a short word and a number ("ko4711023", about 9 characters), as one shared text like
// a split line makes; 1 % are empty, about 9 % repeat an earlier row on purpose, 5 % have
// spaces or tabs at their ends. Every benchmark that makes them gets the very same rows. The
// text asks for huge pages, as a split line's text does in the program (the paste, the text
// builder).
struct TidyInput {
    QString text;                 // the rows, each followed by a line feed
    std::vector<TextSpan> spans;  // each row's place in `text`
};

inline TidyInput makeTidyInput(qsizetype count, TidyNumbers numbers = TidyNumbers::Seven) {
    const quint64 numberRange = numbers == TidyNumbers::Seven ? 10'000'000 : 1'000'000'000;
    static const char* const kWords[] = {"ko",  "ba", "Ro", "ne", "tsu", "mi", "Ka", "lu",
                                         "dor", "ve", "pi", "Sa", "qua", "ze", "fo", "hy"};
    std::mt19937_64 random(20261207);
    TidyInput input;
    input.spans.reserve(static_cast<size_t>(count));
    input.text.reserve(count * (numbers == TidyNumbers::Seven ? 11 : 13));
    PreferHugePages(input.text.data(), static_cast<size_t>(input.text.capacity()) * sizeof(QChar));
    QString row;
    for (qsizetype i = 0; i < count; ++i) {
        const quint64 draw = random();
        const int kind = static_cast<int>(draw % 100);
        row.clear();
        if (kind == 0) {
            // empty
        } else if (kind <= 9 && !input.spans.empty()) {
            const TextSpan earlier = input.spans[(draw >> 8) % input.spans.size()];
            row = input.text.mid(earlier.offset, earlier.length);
        } else {
            row = QString::fromLatin1(kWords[(draw >> 8) % 16]) +
                  QString::number((draw >> 16) % numberRange);
            if (kind >= 95) {
                row = (kind % 2 ? QStringLiteral(" ") : QStringLiteral("\t")) + row +
                      QStringLiteral("  ");
            }
        }
        input.spans.push_back({input.text.size(), static_cast<quint32>(row.size())});
        input.text += row;
        input.text += QLatin1Char('\n');
    }
    return input;
}

// Whether `option` ("--no-tools") is among the arguments from `first` on.
inline bool hasOption(int argc, char* argv[], int first, const char* option) {
    return std::any_of(argv + std::min(first, argc), argv + argc,
                       [option](const char* argument) { return std::string(argument) == option; });
}

inline TidyNumbers tidyNumbersFrom(int argc, char* argv[], int first) {
    return hasOption(argc, argv, first, "--nine-digits") ? TidyNumbers::Nine : TidyNumbers::Seven;
}

// The rows as the tools read them: a file, one row a line.
inline bool writeRows(const QString& text, const std::string& path) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

// Makes `count` rows into `list` (a RowStore or a ReportList), as spans of one text, and
// writes them to the file `path` for the tools. Gives the characters a row on average, or -1
// when the file could not be written.
template <typename List>
double fillTidyRows(qsizetype count, List& list, const std::string& path,
                    TidyNumbers numbers = TidyNumbers::Seven) {
    const TidyInput made = makeTidyInput(count, numbers);
    list.reserveMore(count);
    for (const TextSpan& span : made.spans) {
        list.appendSpan(made.text, span);
    }
    if (!writeRows(made.text, path)) {
        return -1;
    }
    return double(made.text.size() - count) / double(std::max<qsizetype>(count, 1));
}

// Runs a command and returns the last number it printed (Python's own timing).
inline double commandsOwnSeconds(const std::string& command) {
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

// The tools, each on the file of rows `input`, writing into `dir` where it writes at all.
inline double grepSeconds(const std::string& input, const std::string& dir) {
    return timeCommand("grep -v '^$' '" + input + "' > '" + dir + "/grep.txt'");
}

// Python timed inside Python: reading and splitting the file do not count.
inline double pythonSeconds(const std::string& input, const std::string& statement) {
    return commandsOwnSeconds(
        "python3 -c 'import sys, time\n"
        "rows = open(sys.argv[1], encoding=\"utf-8\").read().split(\"\\n\")\n"
        "start = time.perf_counter()\n" +
        statement +
        "\n"
        "print(time.perf_counter() - start)' '" +
        input + "'");
}
inline double pythonStripSeconds(const std::string& input) {
    return pythonSeconds(input, "stripped = [x.strip() for x in rows]");
}
inline double pythonFromKeysSeconds(const std::string& input) {
    return pythonSeconds(input, "unique = dict.fromkeys(rows)");
}

inline double sortVSeconds(const std::string& input, const std::string& dir) {
    return timeCommand("LC_ALL=C.UTF-8 sort -V '" + input + "' > '" + dir + "/sort.txt'");
}

}  // namespace bench
