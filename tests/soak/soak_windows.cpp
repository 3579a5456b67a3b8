// A random-action soak of both windows: a sequence of what a user can do, drawn from a start
// number, run against the real windows with the platform doubles, each step checked against a
// model written as plain lists of strings. Faults between features (an Undo after a Clear in
// the middle of a split, a tidy that runs out of memory while a history is kept) show up
// without anyone having to think of them first.
//
//   soak_windows [--start N] [--actions K] [--seconds S] [--skip 3,7-9] [--verbose]
//
// Each round is a new main window; round r runs the actions of start number N + r. A failing
// step is replayed with fewer and fewer of the earlier steps, and the shortest sequence that
// still fails is printed as one command.
#include "core/fault_injection.h"
#include "support/fake_platform.h"
#include "support/list_rows.h"
#include "support/window_controls.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCollator>
#include <QComboBox>
#include <QDateTime>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QRegularExpression>
#include <QSet>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <deque>
#include <limits>
#include <map>
#include <set>
#include <thread>

#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#include <sanitizer/common_interface_defs.h>
#endif

namespace {

constexpr qsizetype kRoundActions = 200;
constexpr qint64 kStepLimitMs = 180'000;  // far beyond the slowest step under ThreadSanitizer
constexpr qsizetype kLong = ListWorkRunner::kRowsWorthAThread;

// ---- What a crash or a hang still says: the command that replays the round up to this step.
char replayLine[600];
std::atomic<qint64> stepStartedMs{-1};
void sayReplay() {
    if (write(STDERR_FILENO, replayLine, strlen(replayLine)) < 0) {
        _exit(3);
    }
}
void onCrash(int signal) {
    sayReplay();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

class Dice {
  public:
    explicit Dice(quint64 state) : state_(state) {}
    quint64 next() {  // splitmix64
        quint64 z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    qsizetype below(qsizetype n) { return n <= 0 ? 0 : qsizetype(next() % quint64(n)); }
    bool percent(int p) { return below(100) < p; }
    template <typename T, size_t N>
    T pick(const T (&items)[N]) {
        return items[below(N)];
    }

  private:
    quint64 state_;
};

// Multi-byte, combining, case pairs, blanks, quotes, backslashes, controls, delimiters.
const char16_t* const kTokens[] = {
    u"a",      u"b",      u"A",      u"pear", u"PEAR", u"\u00e9", u"\u00c9", u"e\u0301",
    u"\u0436", u"\u0416", u"\u4e2d", u"😀",    u" ",    u"  ",     u"\t",     u"'",
    u"\"",     u"\x01",   u"\x7f",   u",",    u";",    u"ab",     u"\\",     u"C:\\d\\f.txt",
    u"10",     u"9",      u"\u00a0"};
const char16_t* const kDelimiters[] = {u",", u",", u";",  u"\t", u"ab",    u"",
                                       u" ", u"😀", u"\"", u",,", u"\u00e9"};
const char* const kTidyCaptions[] = {"Trim Spaces",           "Remove Empty Rows",
                                     "Remove Duplicate Rows", "Remove Duplicate Rows (Ignore Case)",
                                     "Sort A to Z",           "Sort Z to A"};

QString RandomText(Dice& d, qsizetype maxTokens) {
    QString text;
    for (qsizetype n = d.below(maxTokens + 1); n > 0; --n) {
        text += QString::fromUtf16(d.pick(kTokens));
    }
    return text;
}

QString RandomLine(Dice& d, const QString& delimiter) {
    QStringList pieces;
    for (qsizetype n = d.below(7); n > 0; --n) {
        pieces << RandomText(d, 3);
    }
    return pieces.join(d.percent(70) ? delimiter : QString::fromUtf16(d.pick(kDelimiters)));
}

// ---- The model: plain code over lists of strings.
QStringList Split(const QString& text, const QString& delimiter) {
    if (text.isEmpty()) {
        return {};
    }
    if (delimiter.isEmpty()) {
        return {text};
    }
    QStringList pieces;
    qsizetype from = 0;
    for (qsizetype at; (at = text.indexOf(delimiter, from)) >= 0; from = at + delimiter.size()) {
        pieces << text.mid(from, at - from);
    }
    return pieces << text.mid(from);
}

// A file's lines: CR LF, CR or LF ends one; a final CR LF or CR adds no row, a final LF one.
QStringList LinesOf(const QString& text) {
    QStringList lines;
    QString line;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r' || text[i] == u'\n') {
            lines << std::exchange(line, {});
            i += text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n';
        } else {
            line += text[i];
        }
    }
    if (!line.isEmpty() || (text.endsWith(u'\n') && !text.endsWith(QStringLiteral("\r\n")))) {
        lines << line;
    }
    return lines;
}

QString Trimmed(const QString& row) {
    qsizetype begin = 0, end = row.size();
    while (begin < end && row[begin].isSpace()) {
        ++begin;
    }
    while (end > begin && row[end - 1].isSpace()) {
        --end;
    }
    return row.mid(begin, end - begin);
}

// What a tidy action makes of the rows; none for the sorts, whose ties the check allows in
// any order.
std::optional<QStringList> Tidied(const QStringList& rows, int action) {
    QStringList out;
    QSet<QString> seen;
    for (const QString& row : rows) {
        if (action == 0) {
            out << Trimmed(row);
        } else if (action == 1 && !row.isEmpty()) {
            out << row;
        } else if (action >= 2 && action <= 3) {
            const QString key = action == 3 ? row.toCaseFolded() : row;
            if (!seen.contains(key)) {
                seen.insert(key);
                out << row;
            }
        }
    }
    return action >= 4 ? std::nullopt : std::optional(out);
}

QString Joined(const QStringList& rows, const QString& separator, QChar quote) {
    QStringList quoted;
    for (QString row : rows) {
        quoted << (quote.isNull() ? row : quote + row.replace(quote, QString(2, quote)) + quote);
    }
    return quoted.join(separator);
}

QString ClipboardTextOf(const QStringList& rows) {
    QString text;
    for (QString row : rows) {
        while (row.endsWith(u' ')) {
            row.chop(1);
        }
        text += row + QStringLiteral("\r\n");
    }
    return text;
}

// A results list with its undo and redo. A state remembers the row count right after its
// change: rows a running split appends afterwards come back with it on Undo.
struct ListModel {
    struct State {
        QStringList rows;
        qsizetype after;
    };
    QStringList rows;
    std::deque<State> undos, redos;
    bool toldOfStepsLetGo = false;

    void keep(State state) {
        undos.push_back(std::move(state));
        if (undos.size() > 20) {
            undos.pop_front();
        }
    }
    void change(QStringList to) {
        redos.clear();
        keep({std::exchange(rows, std::move(to)), -1});
        undos.back().after = rows.size();
    }
    void forget() {
        undos.clear();
        redos.clear();
        toldOfStepsLetGo = false;
    }
    void undo() {
        if (!undos.empty()) {
            State state = undos.back();
            undos.pop_back();
            if (rows.size() > state.after) {
                state.rows += rows.mid(state.after);
            }
            redos.push_back({std::exchange(rows, state.rows), 0});
        }
    }
    void redo() {
        if (!redos.empty()) {
            QStringList next = redos.back().rows;
            redos.pop_back();
            keep({std::exchange(rows, next), next.size()});
        }
    }
};

struct Fault {
    QString what;
};
void Require(bool ok, const QString& what) {
    if (!ok) {
        throw Fault{what};
    }
}
QString Shown(const QString& text) {
    QString shown = text.left(80);
    shown.replace(u'\r', QStringLiteral("\\r")).replace(u'\n', QStringLiteral("\\n"));
    return u'"' + shown + (text.size() > 80 ? QStringLiteral("\"...") : QStringLiteral("\""));
}
void RequireSame(const QStringList& want, const QStringList& got, const QString& what) {
    if (want == got) {
        return;
    }
    qsizetype i = 0;
    while (i < want.size() && i < got.size() && want[i] == got[i]) {
        ++i;
    }
    throw Fault{QStringLiteral("%1: %2 rows expected, %3 shown; first difference at %4: %5 "
                               "expected, %6 shown")
                    .arg(what)
                    .arg(want.size())
                    .arg(got.size())
                    .arg(i + 1)
                    .arg(i < want.size() ? Shown(want[i]) : QStringLiteral("none"),
                         i < got.size() ? Shown(got[i]) : QStringLiteral("none"))};
}

// How busy the window is when an action comes, as a split's or a job's pause lets it in.
enum class Busy { No, FirstYield, Splitting, Run, Job };

class Soak {
  public:
    Soak() : main(fake.platform) {
        // Choices a round remembered must not reach the next one.
        QSettings(QStringLiteral("Quorvane"), QStringLiteral("Quorvane")).clear();
        main.load();
        main.show();
        fake.messages.shown.clear();
    }
    ~Soak() {
        FaultInjection::disarmAll();
        while (working()) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        }
    }

    // Runs step `index` of the sequence of `start`; a Fault says what differs from the model.
    QString step(quint64 start, qsizetype index);
    QString current;  // the name of the step's action

  private:
    using Run = void (Soak::*)(Dice&, Busy);
    struct Action {
        const char* name;
        int weight;
        int where;  // 1 the main window, 2 the batch window, 3 both
        Run run;
    };
    static const Action kActions[];

    bool inBatch() const { return batchOpen; }
    BatchWindowControls batch() { return controls(*main.batchWindow()); }
    ReportList* results() { return inBatch() ? batch().resultsList : controls(main).resultsList; }
    ResultsTidying* tidying() {
        return inBatch() ? batch().resultsTidying : controls(main).resultsTidying;
    }
    ListModel& list() { return inBatch() ? batchList : mainList; }
    bool working() {
        return controls(main).resultsTidying->working() ||
               (main.batchWindow() != nullptr && batch().resultsTidying->working());
    }
    void waitIdle() {
        QElapsedTimer waited;
        waited.start();
        while (working()) {
            Require(waited.elapsed() < kStepLimitMs, QStringLiteral("a job never ended"));
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        }
    }
    void expect(const QString& message) { expected << message; }
    void trigger(const QString& caption) {
        for (QAction* action : tidying()->menu()->actions()) {
            if (QString(action->text()).remove(QLatin1Char('&')) == caption) {
                return action->trigger();
            }
        }
        throw Fault{QStringLiteral("no menu item ") + caption};
    }
    void check();
    void nested(Dice& d, Busy busy);

    void typeLine(Dice& d, Busy);
    void setDelimiter(Dice& d, Busy);
    void split(Dice& d, Busy busy);
    void longSplit(Dice& d, Busy);
    void openBatch(Dice&, Busy);
    void addLine(Dice& d, Busy);
    void loadFile(Dice& d, Busy);
    void run(Dice& d, Busy busy);
    void longRun(Dice& d, Busy);
    void clearInput(Dice&, Busy);
    void exportWorkbook(Dice&, Busy);
    void back(Dice& d, Busy);
    void deleteRow(Dice& d, Busy busy);
    void clear(Dice&, Busy busy);
    void tidy(Dice& d, Busy busy);
    void undoRedo(Dice& d, Busy busy);
    void copyRow(Dice& d, Busy busy);
    void copyAsOneLine(Dice& d, Busy);
    void save(Dice& d, Busy);
    void copyButton(Dice&, Busy);

    FakePlatform fake;
    MainWindow main;
    QTemporaryDir dir;
    int files = 0;
    std::map<QString, QByteArray> saved;
    // The model.
    QString line, delimiter = QStringLiteral(","), mainLastDelimiter;
    ListModel mainList;
    bool batchOpen = false;
    QStringList input;
    QString batchDelimiter, batchLastDelimiter;
    ListModel batchList;
    std::optional<QString> clipboard;
    QString copiedSeparator;  // the one-line copy's remembered choice, offered first
    QStringList expected;     // the messages the step shows; a final '*' matches any ending
    bool jobListChanged = false;
    std::optional<Fault> nestedFault;
};

const Soak::Action Soak::kActions[] = {
    {"type or paste a line", 6, 1, &Soak::typeLine},
    {"set the delimiter", 3, 3, &Soak::setDelimiter},
    {"split", 6, 1, &Soak::split},
    {"split a long line", 1, 1, &Soak::longSplit},
    {"open the batch window", 2, 1, &Soak::openBatch},
    {"add a line", 4, 2, &Soak::addLine},
    {"load a file", 3, 2, &Soak::loadFile},
    {"run the batch", 5, 2, &Soak::run},
    {"run a long batch", 1, 2, &Soak::longRun},
    {"clear the input list", 1, 2, &Soak::clearInput},
    {"export a workbook", 2, 2, &Soak::exportWorkbook},
    {"go back", 2, 2, &Soak::back},
    {"delete a row", 4, 3, &Soak::deleteRow},
    {"clear the results", 2, 3, &Soak::clear},
    {"tidy", 6, 3, &Soak::tidy},
    {"undo or redo", 6, 3, &Soak::undoRedo},
    {"copy a row", 1, 3, &Soak::copyRow},
    {"copy as one line", 2, 3, &Soak::copyAsOneLine},
    {"save", 2, 3, &Soak::save},
    {"copy the results", 2, 3, &Soak::copyButton},
};

QString Soak::step(quint64 start, qsizetype index) {
    Dice d(start * 0x100000001B3ull + quint64(index));
    const int here = inBatch() ? 2 : 1;
    int total = 0;
    for (const Action& action : kActions) {
        total += (action.where & here) ? action.weight : 0;
    }
    qsizetype roll = d.below(total);
    const Action* chosen = nullptr;
    for (const Action& action : kActions) {
        if ((action.where & here) && (roll -= action.weight) < 0) {
            chosen = &action;
            break;
        }
    }
    current = QString::fromLatin1(chosen->name);
    expected.clear();
    const size_t shownBefore = fake.messages.shown.size();
    (this->*chosen->run)(d, Busy::No);
    waitIdle();
    FaultInjection::disarmAll();
    fake.pump.at.clear();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QStringList shown;
    for (size_t i = shownBefore; i < fake.messages.shown.size(); ++i) {
        shown << fake.messages.shown[i].text;
    }
    for (qsizetype i = 0; i < expected.size() && i < shown.size(); ++i) {
        if (expected[i].endsWith(u'*') && shown[i].startsWith(expected[i].chopped(1))) {
            shown[i] = expected[i];
        }
    }
    if (nestedFault) {
        throw *std::exchange(nestedFault, std::nullopt);
    }
    RequireSame(expected, shown, QStringLiteral("messages"));
    check();
    return current;
}

void Soak::check() {
    Require(main.isVisible() != inBatch() && (main.batchWindow() != nullptr) == inBatch(),
            QStringLiteral("the window shown"));
    Require(fake.messages.answers.empty() && fake.messages.lines.empty() &&
                fake.fileDialogs.saveAnswers.empty() && fake.fileDialogs.openAnswers.empty(),
            QStringLiteral("a box or dialog expected did not show"));
    RequireSame({line, delimiter},
                {controls(main).lineBox->text(), controls(main).delimiterBox->text()},
                QStringLiteral("main window's line and delimiter"));
    RequireSame(mainList.rows, RowsOf(*controls(main).resultsList),
                QStringLiteral("main window's results"));
    const PointerShape pointer =
        inBatch() ? main.batchWindow()->pointerShape() : main.pointerShape();
    const QString bar = (inBatch() ? batch().progressBar : controls(main).progressBar)->barText();
    Require(pointer == PointerShape::Default && bar == QStringLiteral("Progress Bar"),
            QStringLiteral("pointer or bar left busy: ") + bar);
    if (inBatch()) {
        RequireSame(input, RowsOf(*batch().inputList), QStringLiteral("input list"));
        RequireSame(batchList.rows, RowsOf(*batch().resultsList), QStringLiteral("batch results"));
        Require(batch().delimiterBox->text() == batchDelimiter, QStringLiteral("batch delimiter"));
    }
    Require(tidying()->canUndo() == !list().undos.empty() &&
                tidying()->canRedo() == !list().redos.empty(),
            QStringLiteral("Undo or Redo offered wrongly"));
    Require(fake.clipboard.text == clipboard,
            QStringLiteral("clipboard: ") + Shown(fake.clipboard.text.value_or("(none)")) +
                QStringLiteral(" instead of ") + Shown(clipboard.value_or("(none)")));
}

// Something a user does while a split, a run or a job lets events in.
void Soak::nested(Dice& d, Busy busy) {
    static const Run kInSplit[] = {&Soak::split, &Soak::deleteRow,  &Soak::clear,
                                   &Soak::tidy,  &Soak::undoRedo,   &Soak::copyRow,
                                   &Soak::save,  &Soak::copyButton, &Soak::openBatch};
    static const Run kInRun[] = {
        &Soak::clear,    &Soak::run,          &Soak::addLine, &Soak::deleteRow, &Soak::tidy,
        &Soak::undoRedo, &Soak::setDelimiter, &Soak::back,    &Soak::save,      &Soak::copyButton};
    static const Run kInJob[] = {&Soak::deleteRow, &Soak::clear, &Soak::tidy,      &Soak::undoRedo,
                                 &Soak::save,      &Soak::back,  &Soak::copyButton};
    const Run chosen = busy == Busy::Run   ? d.pick(kInRun)
                       : busy == Busy::Job ? d.pick(kInJob)
                                           : d.pick(kInSplit);
    if (chosen == &Soak::back && !inBatch()) {
        return;
    }
    for (const Action& action : kActions) {
        if (action.run == chosen) {
            current += QStringLiteral(" > ") + QString::fromLatin1(action.name);
        }
    }
    // A fault found inside a handler would only become its error report.
    try {
        (this->*chosen)(d, busy);
    } catch (const Fault& fault) {
        nestedFault = nestedFault.value_or(fault);
    }
}

void Soak::typeLine(Dice& d, Busy) {
    line = RandomLine(d, delimiter);
    if (line.isEmpty() || d.percent(50)) {
        controls(main).lineBox->setText(line);
        return;
    }
    QGuiApplication::clipboard()->setText(line);
    controls(main).lineBox->setFocus();
    QTest::keyClick(controls(main).lineBox, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(controls(main).lineBox, Qt::Key_V, Qt::ControlModifier);
}

void Soak::setDelimiter(Dice& d, Busy) {
    const QString chosen = QString::fromUtf16(d.pick(kDelimiters));
    (inBatch() ? batch().delimiterBox : controls(main).delimiterBox)->setText(chosen);
    (inBatch() ? batchDelimiter : delimiter) = chosen;
}

void Soak::split(Dice& d, Busy busy) {
    if (busy != Busy::No) {
        line = RandomLine(d, delimiter);
        controls(main).lineBox->setText(line);
    }
    mainList.forget();
    const QStringList pieces = Split(line, delimiter);
    if (pieces.isEmpty()) {
        expect(QStringLiteral("No long line."));
        return controls(main).startSplittingButton->click();
    }
    mainLastDelimiter = delimiter;
    qsizetype appended = 0, stopAt = pieces.size();
    const auto catchUp = [&](qsizetype upTo) {
        for (; appended < upTo; ++appended) {
            mainList.rows << pieces[appended];
        }
    };
    const int what = busy == Busy::No ? int(d.below(10)) : 0;
    const qsizetype k = 1 + d.below(pieces.size());
    if (what >= 7) {  // something else happens at the k-th pause
        fake.pump.at[fake.pump.calls + int(k)] = [&, k] {
            catchUp(k - 1);
            nested(d, k == 1 ? Busy::FirstYield : Busy::Splitting);
        };
    } else if (what == 6) {  // the k-th row finds no memory: the split stops with a report
        FaultInjection::armOutOfMemory("list.append", int(k));
        current += QStringLiteral(" (out of memory at row %1)").arg(k);
        expect(
            QStringLiteral("Out of memory\r\nin Quorvane2021/08/31.Form1.Pushbutton2_Click "
                           "at line 116*"));
        stopAt = k - 1;
    }
    controls(main).startSplittingButton->click();
    FaultInjection::disarmAll();
    catchUp(stopAt);
    expect(QStringLiteral("Done."));
}

// Enough pieces for the tidy actions and the one-line copy to work on a thread of their own.
QString LongLine(Dice& d) {
    static const char16_t* const kShort[] = {u"a", u"b", u" a", u"A", u"", u"b ", u"\u00e9"};
    QStringList pieces;
    for (qsizetype n = kLong + 1 + d.below(2000); n > 0; --n) {
        pieces << QString::fromUtf16(d.pick(kShort));
    }
    return pieces.join(u',');
}

void Soak::longSplit(Dice& d, Busy) {
    line = LongLine(d);
    delimiter = QStringLiteral(",");
    controls(main).lineBox->setText(line);
    controls(main).delimiterBox->setText(delimiter);
    split(d, Busy::No);
}

void Soak::openBatch(Dice&, Busy) {
    controls(main).openBatchWindowButton->click();
    batchOpen = true;
    input.clear();
    batchDelimiter = QStringLiteral(",");
    batchLastDelimiter.clear();
    batchList = {};
}

void Soak::addLine(Dice& d, Busy) {
    const QString answer = d.percent(15) ? QString() : RandomLine(d, batchDelimiter);
    fake.messages.lines.push_back(answer);
    batch().addLineButton->click();
    if (!answer.isEmpty()) {
        input << answer;
    }
}

void Soak::loadFile(Dice& d, Busy) {
    static const char* const kEnds[] = {"\r\n", "\n", "\r"};
    QByteArray bytes;
    for (qsizetype n = d.below(5); n > 0; --n) {
        bytes += RandomLine(d, batchDelimiter).remove(u'\r').toUtf8() + d.pick(kEnds);
    }
    if (d.percent(50)) {
        bytes.chop(bytes.endsWith("\r\n") ? 2 : bytes.isEmpty() ? 0 : 1);
    }
    const QString path = dir.filePath(QStringLiteral("in%1.txt").arg(files++));
    QFile file(path);
    Require(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size(),
            QStringLiteral("cannot write ") + path);
    file.close();
    const int times = d.percent(20) ? 2 : 1;
    fake.fileDialogs.openAnswers.push_back(QStringList(times, path));
    batch().loadFilesButton->click();
    for (int i = 0; i < times; ++i) {
        input << LinesOf(QString::fromUtf8(bytes));
    }
}

void Soak::run(Dice& d, Busy busy) {
    if (busy != Busy::No || input.isEmpty()) {
        return batch().startSplittingButton->click();  // a second run is ignored
    }
    batchList.forget();
    batchList.rows.clear();
    batchLastDelimiter = batchDelimiter;
    const qsizetype n = input.size();
    qsizetype done = 0;
    const auto catchUp = [&](qsizetype upTo) {
        for (; done < upTo && inBatch(); ++done) {
            batchList.rows << Split(input[done], batchDelimiter);
        }
    };
    if (d.percent(35)) {
        const qsizetype k = 1 + d.below(n);
        fake.pump.at[fake.pump.calls + int(k)] = [&, k] {
            catchUp(k - 1);
            nested(d, Busy::Run);
        };
    }
    batch().startSplittingButton->click();
    if (inBatch()) {
        catchUp(n);
        expect(QStringLiteral("Done."));
    }
}

void Soak::longRun(Dice& d, Busy) {
    input << LongLine(d);
    fake.messages.lines.push_back(input.last());
    batch().addLineButton->click();
    batchDelimiter = QStringLiteral(",");
    batch().delimiterBox->setText(batchDelimiter);
    run(d, Busy::No);
}

void Soak::clearInput(Dice&, Busy) {
    batch().clearInputButton->click();
    input.clear();
}

void Soak::exportWorkbook(Dice&, Busy) {
    const size_t before = fake.spreadsheets.calls.size();
    batch().saveWorkbookButton->click();
    QStringList cells, want;
    for (size_t i = before; i < fake.spreadsheets.calls.size(); ++i) {
        const FakeSpreadsheetAutomation::Call& call = fake.spreadsheets.calls[i];
        if (call.what == u"assign" || call.what == u"value") {
            cells << QStringLiteral("%1,%2 %3").arg(call.row).arg(call.column).arg(call.text);
        }
    }
    if (!batchList.rows.isEmpty() && !batchList.rows[0].isEmpty()) {  // the header, as it was
        want << QStringLiteral("1,1  Output");
    }
    for (qsizetype r = 0; r < batchList.rows.size(); ++r) {
        if (!batchList.rows[r].isEmpty()) {
            want << QStringLiteral("%1,1 %2").arg(r + 2).arg(batchList.rows[r]);
        }
    }
    RequireSame(want, cells, QStringLiteral("workbook cells"));
}

void Soak::back(Dice& d, Busy) {
    d.percent(50) ? batch().backButton->click() : void(main.batchWindow()->close());
    batchOpen = false;
}

void Soak::deleteRow(Dice& d, Busy busy) {
    const bool fromInput = inBatch() && d.percent(30);
    ReportList* shown = fromInput ? batch().inputList : results();
    QStringList& rows = fromInput ? input : list().rows;
    if (rows.isEmpty()) {
        return QTest::keyClick(shown, Qt::Key_Delete);
    }
    const qsizetype r = d.below(rows.size());
    shown->selectRow(RowNumber(r + 1));
    if (!inBatch() && d.percent(30)) {
        main.resultsListDoubleClicked();
    } else {
        QTest::keyClick(shown, Qt::Key_Delete);
    }
    if (busy == Busy::No || (busy == Busy::FirstYield && !inBatch())) {
        QStringList left = rows;
        left.removeAt(r);
        fromInput ? void(input = left) : list().change(left);
    }
}

void Soak::clear(Dice&, Busy busy) {
    (inBatch() ? batch().clearResultsButton : controls(main).clearResultsButton)->click();
    // The batch window's results clear at any time; the main window's not while busy.
    if (!list().rows.isEmpty() && (inBatch() || busy == Busy::No || busy == Busy::FirstYield)) {
        list().change({});
        jobListChanged = busy == Busy::Job;
    }
}

void Soak::tidy(Dice& d, Busy busy) {
    const int action = int(d.below(6));
    const QString caption = QString::fromLatin1(kTidyCaptions[action]);
    ListModel& model = list();
    const bool acts = busy == Busy::No || (busy == Busy::FirstYield && !inBatch());
    if (!acts || model.rows.isEmpty() || (busy != Busy::No && model.rows.size() > kLong)) {
        return trigger(caption);  // refused, or not tried: a job in the middle of a split
    }
    const bool outOfMemory = busy == Busy::No && d.percent(10);
    if (outOfMemory) {
        FaultInjection::armOutOfMemory("tidy.rows", 1);
    }
    const QStringList before = model.rows;
    std::optional<QStringList> want = Tidied(before, action);
    const bool wasInBatch = inBatch();
    jobListChanged = false;
    trigger(caption);
    if (model.rows.size() > kLong && !outOfMemory && d.percent(50)) {
        nested(d, Busy::Job);
    }
    waitIdle();
    FaultInjection::disarmAll();
    if (wasInBatch && !inBatch()) {
        return;  // gone back while it worked
    }
    if (outOfMemory) {
        if (model.undos.empty()) {
            return expect(u'"' + caption + "\" failed: Out of memory\r\nThe list is as it was.");
        }
        model.undos.pop_front();
        if (!std::exchange(model.toldOfStepsLetGo, true)) {
            expect(
                QStringLiteral("The oldest Undo steps were let go to leave memory for the list."));
        }
    }
    if (jobListChanged) {
        return expect(QStringLiteral("The list changed while \"") + caption +
                      QStringLiteral("\" was working, so it was left as it is."));
    }
    if (!want) {
        const QStringList got = RowsOf(*results());
        QStringList a = before, b = got;
        std::sort(a.begin(), a.end());
        std::sort(b.begin(), b.end());
        Require(a == b, caption + QStringLiteral(": rows lost or made up"));
        QCollator collator;
        collator.setNumericMode(true);
        // Controls other than the blanks count for nothing in the order.
        const auto key = [](QString row) {
            return row.remove(QRegularExpression(QStringLiteral("[\\x01-\\x08\\x0e-\\x1f\\x7f]")));
        };
        for (qsizetype i = 1; i < got.size(); ++i) {
            const int order = collator.compare(key(got[i - 1]), key(got[i]));
            Require(action == 4 ? order <= 0 : order >= 0,
                    caption + QStringLiteral(": out of order at row %1: ").arg(i + 1) +
                        Shown(got[i - 1]) + QStringLiteral(" before ") + Shown(got[i]));
        }
        want = got;
    }
    if (*want != before) {
        model.change(*want);
    }
}

void Soak::undoRedo(Dice& d, Busy busy) {
    const bool undo = d.percent(60);
    trigger(undo ? QStringLiteral("Undo") : QStringLiteral("Redo"));
    if (busy == Busy::No || (busy == Busy::FirstYield && !inBatch())) {
        undo ? list().undo() : list().redo();
    }
}

void Soak::copyRow(Dice& d, Busy busy) {
    const QStringList& rows = list().rows;
    const qsizetype r = d.below(rows.size());
    if (!rows.isEmpty()) {
        results()->selectRow(RowNumber(r + 1));
    }
    trigger(QStringLiteral("Copy Row"));
    if (!rows.isEmpty() && (busy == Busy::No || (busy == Busy::FirstYield && !inBatch()))) {
        clipboard = rows[r];
    }
}

void Soak::copyAsOneLine(Dice& d, Busy) {
    const QStringList rows = list().rows;
    const QString caption = QStringLiteral("Copy As One Line") + QChar(0x2026);
    if (rows.isEmpty()) {
        return trigger(caption);  // no dialog for no rows
    }
    static const char16_t* const kTyped[] = {u"|", u"Tab", u" - ", u"::", u";"};
    const QString last = inBatch() ? batchLastDelimiter : mainLastDelimiter;
    const qsizetype way = d.below(3), quote = d.below(3);
    const QString typed = QString::fromUtf16(d.pick(kTyped));
    const QString offered = !copiedSeparator.isEmpty() ? copiedSeparator : last;
    const QString separator = way == 0   ? (offered.isEmpty() ? QStringLiteral(", ") : offered)
                              : way == 1 ? QStringLiteral("\n")
                                         : typed;
    const bool accept = d.percent(85);
    QString problem;
    fake.messages.answerDialog = [&](QDialog& dialog) {
        auto* box = dialog.findChild<QComboBox*>(QStringLiteral("separatorBox"));
        if (!offered.isEmpty() && box->itemData(0).toString() != offered) {
            problem = QStringLiteral("offered first: ") + Shown(box->itemData(0).toString());
        }
        if (way == 1) {
            box->setCurrentIndex(box->findText(QStringLiteral("Line break")));
        } else if (way == 2) {
            box->lineEdit()->clear();
            QTest::keyClicks(box->lineEdit(), typed);
        }
        dialog.findChild<QComboBox*>(QStringLiteral("quoteBox"))->setCurrentIndex(int(quote));
        return accept;
    };
    trigger(caption);
    fake.messages.answerDialog = nullptr;
    waitIdle();
    Require(std::exchange(fake.messages.dialogsShown, 0) == 1, QStringLiteral("no dialog showed"));
    Require(problem.isEmpty(), problem);
    if (accept) {
        clipboard = Joined(rows, separator, quote == 0 ? QChar() : quote == 1 ? u'\'' : u'"');
        copiedSeparator = separator;
    }
}

void Soak::save(Dice& d, Busy) {
    QString path;
    bool replace = true;
    const qsizetype way = d.below(10);
    if (way > 0 && way <= 3 && !saved.empty()) {
        auto existing = saved.begin();
        std::advance(existing, d.below(qsizetype(saved.size())));
        path = existing->first;
        replace = d.percent(60);
        fake.messages.answers.push_back(replace ? MessageAnswer::Yes : MessageAnswer::No);
        expect(QStringLiteral("Are you sure you wish to overwrite ") + path + QStringLiteral(" ?"));
    } else if (way > 0) {
        path = dir.filePath(QStringLiteral("out%1.txt").arg(files++));
    }
    fake.fileDialogs.saveAnswers.push_back(path);
    (inBatch() ? batch().saveResultsButton : controls(main).saveResultsButton)->click();
    if (path.isEmpty()) {
        return;  // Cancel
    }
    if (replace) {
        saved[path].clear();
        for (const QString& row : list().rows) {
            saved[path] += (row + QStringLiteral("\r\n")).toUtf8();
        }
    }
    QFile file(path);
    Require(file.open(QIODevice::ReadOnly) && file.readAll() == saved[path],
            QStringLiteral("the saved file ") + path + QStringLiteral(" holds other bytes"));
}

void Soak::copyButton(Dice&, Busy) {
    if (!list().rows.isEmpty()) {
        clipboard = ClipboardTextOf(list().rows);
    }
    if (!inBatch()) {
        expect(
            QStringLiteral("Results have been copied to the clipboard.\r\rClick a text area "
                           "where you normally type and press Ctrl+V to paste the clipboard."));
    }
    (inBatch() ? batch().copyResultsButton : controls(main).copyResultsButton)->click();
}

// ---- Rounds, the replay and the shrinking.
struct Outcome {
    qsizetype failedAt = -1;
    QString what;
    QStringList steps;  // "index action" of every step run
};

std::atomic<quint64> roundStart{0};
std::atomic<qsizetype> roundStep{0};
const char* program = "soak_windows";

QString SkipText(const std::set<qsizetype>& skip) {
    QStringList ranges;
    for (auto i = skip.begin(); i != skip.end(); ++i) {
        const qsizetype first = *i;
        while (std::next(i) != skip.end() && *std::next(i) == *i + 1) {
            ++i;
        }
        ranges << (first == *i ? QString::number(first)
                               : QStringLiteral("%1-%2").arg(first).arg(*i));
    }
    return ranges.isEmpty() ? QString() : QStringLiteral(" --skip ") + ranges.join(u',');
}

qint64 NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

Outcome RunRound(quint64 start, qsizetype actions, const std::set<qsizetype>& skip, bool verbose) {
    Outcome outcome;
    Soak soak;
    const QByteArray skipText = SkipText(skip).toUtf8();
    roundStart = start;
    for (qsizetype i = 0; i < actions; ++i) {
        if (skip.count(i) != 0) {
            continue;
        }
        std::snprintf(replayLine, sizeof replayLine,
                      "soak: replay with: %s --start %llu --actions %lld%s\n", program,
                      static_cast<unsigned long long>(start), static_cast<long long>(i + 1),
                      skipText.constData());
        roundStep = i;
        stepStartedMs = NowMs();
        try {
            outcome.steps << QStringLiteral("%1 %2").arg(i).arg(soak.step(start, i));
        } catch (const Fault& fault) {
            outcome.steps << QStringLiteral("%1 %2").arg(i).arg(soak.current);
            outcome.failedAt = i;
            outcome.what = fault.what;
            break;
        }
        if (verbose) {
            std::printf("  %s\n", qPrintable(outcome.steps.last()));
            std::fflush(stdout);
        }
    }
    stepStartedMs = -1;
    return outcome;
}

// Drops ever smaller stretches of the steps before the failing one while the same check still
// fails at that step.
std::set<qsizetype> Shrink(quint64 start, const Outcome& failed, qint64 budgetMs) {
    const qsizetype last = failed.failedAt;
    const QString kind = failed.what.section(u':', 0, 0);
    std::set<qsizetype> skip;
    const qint64 until = NowMs() + budgetMs;
    for (qsizetype chunk = std::max<qsizetype>(1, last / 2); NowMs() < until; chunk /= 2) {
        for (qsizetype from = 0; from < last && NowMs() < until; from += chunk) {
            std::set<qsizetype> trial = skip;
            for (qsizetype i = from; i < std::min(from + chunk, last); ++i) {
                trial.insert(i);
            }
            if (trial.size() == skip.size()) {
                continue;
            }
            const Outcome again = RunRound(start, last + 1, trial, false);
            if (again.failedAt == last && again.what.section(u':', 0, 0) == kind) {
                skip = std::move(trial);
            }
        }
        if (chunk == 1) {
            break;
        }
    }
    return skip;
}

void Watch() {
    for (;;) {
        std::this_thread::sleep_for(std::chrono::seconds(1));
        const qint64 started = stepStartedMs;
        if (started >= 0 && NowMs() - started > kStepLimitMs) {
            std::fprintf(stderr,
                         "soak: step %lld of start number %llu hangs; replay with: %s --start %llu "
                         "--actions %lld\n",
                         static_cast<long long>(roundStep.load()),
                         static_cast<unsigned long long>(roundStart.load()), program,
                         static_cast<unsigned long long>(roundStart.load()),
                         static_cast<long long>(roundStep.load() + 1));
            _exit(2);
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    program = argv[0];
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    quint64 start = quint64(QDateTime::currentMSecsSinceEpoch() % 1'000'000'000);
    qsizetype actions = -1;
    qint64 seconds = -1;
    std::set<qsizetype> skip;
    bool verbose = false;
    const QStringList args = QCoreApplication::arguments();
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString value = i + 1 < args.size() ? args[i + 1] : QString();
        if (args[i] == u"--start") {
            start = value.toULongLong();
        } else if (args[i] == u"--actions") {
            actions = value.toLongLong();
        } else if (args[i] == u"--seconds") {
            seconds = value.toLongLong();
        } else if (args[i] == u"--skip") {
            for (const QString& range : value.split(u',')) {
                for (qsizetype s = range.section(u'-', 0, 0).toLongLong();
                     s <= range.section(u'-', -1).toLongLong(); ++s) {
                    skip.insert(s);
                }
            }
        } else if (args[i] == u"--verbose") {
            verbose = true;
            continue;
        } else {
            std::fprintf(
                stderr,
                "usage: %s [--start N] [--actions K] [--seconds S] [--skip 3,7-9] [--verbose]\n",
                argv[0]);
            return 2;
        }
        ++i;
    }
    if (actions < 0) {
        actions = seconds < 0 ? 1000 : std::numeric_limits<qsizetype>::max();
    }
    std::printf("soak: start number %llu\n", static_cast<unsigned long long>(start));
    std::fflush(stdout);
    for (int signal : {SIGSEGV, SIGABRT, SIGBUS, SIGFPE, SIGILL}) {
        std::signal(signal, onCrash);
    }
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    __sanitizer_set_death_callback(sayReplay);
#endif
    std::thread(Watch).detach();

    QElapsedTimer clock;
    clock.start();
    qsizetype done = 0;
    for (quint64 round = 0; done < actions && (seconds < 0 || clock.elapsed() < seconds * 1000);
         ++round) {
        const quint64 roundStartNumber = start + round;
        const qsizetype count = std::min(kRoundActions, actions - done);
        const Outcome outcome = RunRound(roundStartNumber, count, skip, verbose);
        if (outcome.failedAt >= 0) {
            std::printf(
                "soak: FAULT at step %lld of start number %llu (%s): %s\nsoak: shrinking...\n",
                static_cast<long long>(outcome.failedAt),
                static_cast<unsigned long long>(roundStartNumber), qPrintable(outcome.steps.last()),
                qPrintable(outcome.what));
            std::fflush(stdout);
            const std::set<qsizetype> shortest = Shrink(roundStartNumber, outcome, 120'000);
            const Outcome last = RunRound(roundStartNumber, outcome.failedAt + 1, shortest, false);
            std::printf(
                "soak: the shortest failing sequence found, %lld steps:\n  %s\nsoak: %s\n"
                "soak: replay with: %s --start %llu --actions %lld%s --verbose\n",
                static_cast<long long>(last.steps.size()),
                qPrintable(last.steps.join(QStringLiteral("\n  "))),
                qPrintable(last.failedAt >= 0 ? last.what : QStringLiteral("(no longer fails)")),
                argv[0], static_cast<unsigned long long>(roundStartNumber),
                static_cast<long long>(outcome.failedAt + 1), qPrintable(SkipText(shortest)));
            return 1;
        }
        done += count;
    }
    std::printf("soak: %lld actions without a fault in %.0f s\n", static_cast<long long>(done),
                clock.elapsed() / 1000.0);
    return 0;
}
