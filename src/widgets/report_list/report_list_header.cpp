#include "widgets/report_list/report_list_header.h"

#include <QPainter>

#include <algorithm>

namespace {
constexpr int kNoteGap = 12;  // between the first column's caption and the note
}

ReportListHeader::ReportListHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {}

void ReportListHeader::setNoteRightMargin(int pixels) {
    if (pixels != rightMargin_) {
        rightMargin_ = pixels;
        viewport()->update();
    }
}

void ReportListHeader::paintEvent(QPaintEvent* event) {
    QHeaderView::paintEvent(event);
    const QString note = note_ ? note_() : QString();
    if (note.isEmpty() || count() == 0) {
        return;
    }
    // Inside the first column's section, right-aligned at its end or before the kept margin,
    // never over its caption nor across a section's edge: a long note is elided.
    const int margin = style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, this);
    const QString caption = model()->headerData(0, Qt::Horizontal).toString();
    const int sectionStart = sectionViewportPosition(0);
    const int captionEnd =
        sectionStart + margin + fontMetrics().horizontalAdvance(caption) + kNoteGap;
    const int right =
        std::min(sectionStart + sectionSize(0), viewport()->width() - rightMargin_) - margin;
    const int left = std::max(captionEnd, 0);
    if (right <= left) {
        return;
    }
    QPainter painter(viewport());
    painter.setPen(palette().color(QPalette::Disabled, QPalette::ButtonText));
    const QRect room(left, 0, right - left, viewport()->height());
    painter.drawText(room, Qt::AlignRight | Qt::AlignVCenter,
                     fontMetrics().elidedText(note, Qt::ElideRight, room.width()));
}
