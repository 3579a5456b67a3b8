#pragma once

#include "core/pod_array.h"
#include "core/text_span.h"

#include <QString>
#include <QStringView>

#include <deque>

// The rows of a list, stored compactly: every row is a span of a shared source text, so a
// split line costs 12 bytes a row and the line itself once. Rows are 0-based here.
class RowStore {
  public:
    qsizetype size() const { return spans_.size(); }
    bool empty() const { return spans_.empty(); }

    QStringView view(qsizetype row) const {
        const TextSpan& span = spans_[row];
        // Most lists hold one source (a split line) or one run per row: no search for those.
        const QString& source = runs_.size() == 1 ? runs_.front().source : runOf(row).source;
        return QStringView(source).mid(span.offset, span.length);
    }
    QString text(qsizetype row) const { return view(row).toString(); }

    qsizetype length(qsizetype row) const { return spans_[row].length; }
    qsizetype totalLength() const { return totalLength_; }  // of all rows together

    // The shared text a row is a span of, and where in it the row stands: lets a reader work
    // on a row without copying it.
    const QString& source(qsizetype row, TextSpan& span) const {
        span = spans_[row];
        return runs_.size() == 1 ? runs_.front().source : runOf(row).source;
    }

    // Appends a text of its own. A short one is copied into a block of text that later short
    // texts share: a run per row would cost more than the text, and a list of many typed
    // rows is then read as fast as one loaded from a file.
    void append(const QString& text);
    // Appends a span of `source`; consecutive spans of the same source share one copy of it.
    void appendSpan(const QString& source, TextSpan span) {
        // Same buffer means same shared text: no need to compare contents.
        if (runs_.empty() || runs_.back().source.constData() != source.constData() ||
            runs_.back().source.size() != source.size()) {
            runs_.push_back({size(), source, false});
        }
        spans_.push_back(span);
        totalLength_ += span.length;
    }
    void reserveMore(qsizetype rows) { spans_.reserve(spans_.size() + rows); }

    void remove(qsizetype row);
    void clear();

  private:
    struct Run {
        qsizetype firstRow;
        QString source;
        bool block = false;  // a block of copied texts, which may grow at its end
    };
    const Run& runOf(qsizetype row) const;
    bool runHolds(size_t run, qsizetype row) const;

    std::deque<Run> runs_;  // ordered by firstRow; every run holds at least one row
    PodArray<TextSpan> spans_;
    qsizetype totalLength_ = 0;
    qsizetype nextBlockCapacity_ = kFirstBlockCapacity;
    mutable size_t runHint_ = 0;  // the run of the last look-up

    static constexpr qsizetype kMaxCopiedLength = 4096;
    static constexpr qsizetype kFirstBlockCapacity = 4096;
    static constexpr qsizetype kMaxBlockCapacity = 1 << 20;
};
