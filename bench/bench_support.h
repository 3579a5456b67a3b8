#pragma once

// Small helpers shared by the benchmarks: wall time, peak memory, and the `tr` baseline.

#include "widgets/report_list/report_list.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QScrollBar>
#include <QString>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace bench {

inline double seconds(const QElapsedTimer& timer) {
    return timer.nsecsElapsed() / 1e9;
}

// Peak resident memory since the last resetPeakMemory(), in MB.
inline double peakMemoryMb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:")) {
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
        }
    }
    return -1;
}

inline double currentMemoryMb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:")) {
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
        }
    }
    return -1;
}

inline void resetPeakMemory() {
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly)) {
        clear.write("5");
    }
}

// The rows a user can scroll to while a box such as "Done." shows: the box runs events first.
inline qsizetype rowsReachable(ReportList& list) {
    QCoreApplication::processEvents();
    const QScrollBar* bar = list.verticalScrollBar();
    return std::min<qsizetype>(list.count(), bar->maximum() + bar->pageStep());
}

// How long the calling thread has waited, runnable, for a CPU since it started, in
// nanoseconds; -1 where the system does not tell.
inline qint64 runQueueWaitNs() {
    QFile schedstat(QStringLiteral("/proc/thread-self/schedstat"));
    if (!schedstat.open(QIODevice::ReadOnly)) {
        return -1;
    }
    const QList<QByteArray> fields = schedstat.readAll().split(' ');
    return fields.size() >= 2 ? fields[1].toLongLong() : -1;
}

// The time all CPUs of a virtual machine have been kept from running by its host, in
// milliseconds (counted in steps of 10 ms); -1 where the system does not tell.
inline qint64 hostStealMs() {
    QFile stat(QStringLiteral("/proc/stat"));
    if (!stat.open(QIODevice::ReadOnly)) {
        return -1;
    }
    // "cpu  user nice system idle iowait irq softirq steal ...", in hundredths of a second
    const QList<QByteArray> fields = stat.readLine().simplified().split(' ');
    return fields.size() >= 9 ? fields[8].toLongLong() * 10 : -1;
}

// Stands for the user's input: a 5 ms timer whose longest interval between two runs is how
// long a key press could have waited for the event loop. Of that interval it also tells how
// long the thread was ready to run but had no CPU: on a busy machine that part is the
// system's, not the program's.
class InputWaitProbe {
  public:
    InputWaitProbe() {
        tick_.setInterval(5);
        tick_.setTimerType(Qt::PreciseTimer);
        QObject::connect(&tick_, &QTimer::timeout, [this] {
            passTick();
            sinceTick_.restart();
        });
    }
    void start() {
        longestMs_ = 0;
        longestQueuedMs_ = 0;
        longestStealMs_ = 0;
        longestAtMs_ = 0;
        queuedAtTick_ = runQueueWaitNs();
        stealAtTick_ = hostStealMs();
        sinceStart_.start();
        sinceTick_.start();
        tick_.start();
    }
    // Stops, counting the wait up to now too.
    qint64 stop() {
        passTick();
        tick_.stop();
        return longestMs_;
    }
    // Of the longest wait, the time the thread waited for a CPU (-1 when unknown).
    qint64 longestQueuedMs() const { return longestQueuedMs_; }
    // During the longest wait, the time the host kept the machine's CPUs (both, added up)
    // from running: a virtual machine's timers then fire late.
    qint64 longestStealMs() const { return longestStealMs_; }
    // When the longest wait began, from start().
    qint64 longestAtMs() const { return longestAtMs_; }

  private:
    void passTick() {
        const qint64 queued = runQueueWaitNs();
        const qint64 steal = hostStealMs();
        const qint64 waited = sinceTick_.elapsed();
        if (waited >= longestMs_) {
            longestMs_ = waited;
            longestQueuedMs_ = queued < 0 ? -1 : (queued - queuedAtTick_) / 1'000'000;
            longestStealMs_ = steal < 0 ? -1 : steal - stealAtTick_;
            longestAtMs_ = sinceStart_.elapsed() - waited;
        }
        queuedAtTick_ = queued;
        stealAtTick_ = steal;
    }

    QTimer tick_;
    QElapsedTimer sinceTick_;
    QElapsedTimer sinceStart_;
    qint64 longestMs_ = 0;
    qint64 longestQueuedMs_ = 0;
    qint64 longestStealMs_ = 0;
    qint64 longestAtMs_ = 0;
    qint64 queuedAtTick_ = 0;
    qint64 stealAtTick_ = 0;
};

// How long one user action keeps the event loop from input: the action and the repaint it
// leads to, in milliseconds.
template <typename Action>
double millisecondsOf(Action action) {
    QElapsedTimer timer;
    timer.start();
    action();
    QCoreApplication::processEvents();
    return timer.nsecsElapsed() / 1e6;
}

// What a user does with a list of results, each timed: Delete at its first, middle and last
// row, End, a click on the last row, and clearing it.
struct ListActions {
    double deleteFirst = 0;
    double deleteMiddle = 0;
    double deleteLast = 0;
    double endKey = 0;
    double clickLast = 0;
    double clear = 0;
    bool lastRowSelected = false;

    void print() const {
        std::printf("  delete row 1/middle/end: %.1f / %.1f / %.1f ms\n", deleteFirst, deleteMiddle,
                    deleteLast);
        std::printf("  End key / click on last: %.1f / %.1f ms%s\n", endKey, clickLast,
                    lastRowSelected ? "" : "  (the last row was NOT selected)");
        std::printf("  clear results:           %.1f ms\n", clear);
    }
};

template <typename ClickClear>
ListActions measureListActions(ReportList& list, ClickClear clickClear) {
    ListActions times;
    list.setFocus();
    QCoreApplication::processEvents();
    // Rows count from 1; a list of one row deletes its one row once.
    const auto deleteRow = [&](RowNumber row) {
        if (list.count() == 0) {
            return 0.0;
        }
        return millisecondsOf([&] {
            list.selectRow(row);
            QTest::keyClick(&list, Qt::Key_Delete);
        });
    };
    times.deleteFirst = deleteRow(RowNumber(1));
    times.deleteMiddle = deleteRow(RowNumber((list.count() + 1) / 2));
    times.deleteLast = deleteRow(RowNumber(list.count()));
    if (list.count() > 0) {
        list.selectRow(RowNumber(1));
    }
    QCoreApplication::processEvents();
    times.endKey = millisecondsOf([&] { QTest::keyClick(&list, Qt::Key_End); });
    times.clickLast = millisecondsOf([&] {
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                          list.rowRect(RowNumber(list.count())).center());
    });
    times.lastRowSelected = list.selectedRow() == RowNumber(list.count());
    times.clear = millisecondsOf(clickClear);
    return times;
}

// Runs a shell command and returns its wall time in seconds.
inline double timeCommand(const std::string& command) {
    QElapsedTimer timer;
    timer.start();
    if (std::system(command.c_str()) != 0) {
        std::fprintf(stderr, "command failed: %s\n", command.c_str());
    }
    return seconds(timer);
}

}  // namespace bench
