// The note in the header's spare space (the row count, or what an action did) and the menu
// button beside it. Both read the row count, never the rows.
#include "widgets/report_list/report_list.h"

#include "widgets/report_list/report_list_header.h"

#include <QAccessible>
#include <QLocale>
#include <QTimer>
#include <QToolButton>

void ReportList::showRowCount() {
    rowCountShown_ = true;
    notedRowCount_ = rows_.size();
    headerNoteChanged();
}

QString ReportList::rowCountText() const {
    if (!rowCountShown_ || columnCount() == 0) {
        return {};
    }
    const qsizetype rows = rows_.size();
    // "No rows" reads as a sentence where "0 rows" reads as a figure someone forgot to fill in.
    if (rows == 0) {
        return QStringLiteral("No rows");
    }
    return QLocale().toString(rows) +
           (rows == 1 ? QStringLiteral(" row") : QStringLiteral(" rows"));
}

QString ReportList::headerNote() const {
    if (columnCount() == 0) {
        return {};
    }
    return showsActionSummary() ? actionSummary_ : rowCountText();
}

bool ReportList::showsActionSummary() const {
    // Appends cost no call a row, so a split or a paste after the summary shows in the count.
    return summaryTimer_ != nullptr && summaryTimer_->isActive() &&
           rows_.size() == summaryRowCount_;
}

void ReportList::endActionSummary() {
    if (summaryTimer_ != nullptr && summaryTimer_->isActive()) {
        summaryTimer_->stop();
        headerNoteChanged();
    }
}

void ReportList::showActionSummary(const QString& summary) {
    if (summaryTimer_ == nullptr) {
        summaryTimer_ = new QTimer(this);
        summaryTimer_->setSingleShot(true);
        summaryTimer_->setInterval(kActionSummaryMs);
        connect(summaryTimer_, &QTimer::timeout, this, &ReportList::headerNoteChanged);
    }
    actionSummary_ = summary;
    summaryRowCount_ = rows_.size();
    summaryTimer_->start();
    headerNoteChanged();
}

void ReportList::headerNoteChanged() {
    header_->viewport()->update();
    if (QAccessible::isActive()) {
        QAccessibleEvent change(this, QAccessible::DescriptionChanged);
        QAccessible::updateAccessibility(&change);
    }
}

QToolButton* ReportList::addMenuButton(const QString& accessibleName, const QString& toolTip) {
    if (menuButton_ == nullptr) {
        menuButton_ = new QToolButton(parentWidget() != nullptr ? parentWidget() : this);
        menuButton_->setArrowType(Qt::DownArrow);
        menuButton_->setAutoRaise(true);
        menuButton_->setFocusPolicy(Qt::NoFocus);
        connect(menuButton_, &QToolButton::clicked, this, [this] {
            emit contextMenuRequested(menuButton_->mapToGlobal(menuButton_->rect().bottomLeft()));
        });
    }
    menuButton_->setAccessibleName(accessibleName);
    menuButton_->setToolTip(toolTip);
    placeMenuButton();
    followVisibility();
    return menuButton_;
}

void ReportList::placeMenuButton() {
    if (menuButton_ == nullptr) {
        return;
    }
    // A square the header's height at its right end, over the header's spare space.
    const QRect headerPlace = header_->geometry();
    const int side = std::max(headerPlace.height(), 1);
    const QPoint topRight = headerPlace.topLeft() + QPoint(headerPlace.width() - side, 0);
    const QPoint at = menuButton_->parentWidget() == this ? topRight : mapToParent(topRight);
    menuButton_->setGeometry(at.x(), at.y(), side, side);
    menuButton_->raise();
    header_->setNoteRightMargin(side);
}

void ReportList::moveEvent(QMoveEvent* event) {
    QAbstractScrollArea::moveEvent(event);
    placeMenuButton();
}

void ReportList::followVisibility() {
    // The button is the list's sibling: it shows and hides with the window by itself, and with
    // the list only when the list itself is shown or hidden.
    if (menuButton_ != nullptr && menuButton_->parentWidget() != this) {
        const bool shown = isVisibleTo(parentWidget());
        if (menuButton_->isHidden() == shown) {
            menuButton_->setVisible(shown);
        }
    }
}

void ReportList::showEvent(QShowEvent* event) {
    QAbstractScrollArea::showEvent(event);
    followVisibility();
}

void ReportList::hideEvent(QHideEvent* event) {
    QAbstractScrollArea::hideEvent(event);
    followVisibility();
}
