// How the list looks and answers the mouse and the keys. Everything here works from the
// first visible row, the row height and the row count, never from the rows as a whole.
#include "widgets/report_list/report_list.h"

#include "widgets/report_list/report_list_header.h"
#include "widgets/report_list/row_text_drawing.h"

#include <QAccessible>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOption>
#include <QStyleOptionViewItem>

#include <algorithm>

std::optional<RowNumber> ReportList::rowAt(QPoint viewportPoint) const {
    if (columnCount() == 0 || viewportPoint.y() < 0 ||
        header_->logicalIndexAt(viewportPoint.x()) < 0) {
        return std::nullopt;
    }
    const RowIndex row = firstVisibleRow() + viewportPoint.y() / rowHeight_;
    return row.within(rows_.size()) ? std::optional(row.number()) : std::nullopt;
}

QRect ReportList::rowRect(RowNumber row) const {
    if (!row.within(rows_.size()) || columnCount() == 0) {
        return {};
    }
    const qsizetype fromTop = row.index() - firstVisibleRow();
    // Far outside the viewport the place does not matter, only that it is outside.
    const qsizetype limit = viewport()->height() + rowHeight_;
    const int y = static_cast<int>(std::clamp<qsizetype>(fromTop * rowHeight_, -limit, limit));
    return {-header_->offset(), y, header_->length(), rowHeight_};
}

void ReportList::scrollToRow(RowIndex row) {
    if (layoutPending_) {
        updateLayout();  // the scroll bar must know of the row first
    }
    const RowIndex first = firstVisibleRow();
    if (row < first) {
        verticalScrollBar()->setValue(static_cast<int>(row.get()));
    } else if (row >= first + rowsPerPage()) {
        verticalScrollBar()->setValue(static_cast<int>(row.get() - rowsPerPage() + 1));
    }
}

void ReportList::updateRow(std::optional<RowIndex> row) {
    if (row && row->within(rows_.size())) {
        const QRect rect = rowRect(row->number());
        viewport()->update(0, rect.y(), viewport()->width(), rect.height());
    }
}

void ReportList::setSelected(RowIndex row) {
    const std::optional<RowIndex> oldSelected = selected_;
    const std::optional<RowIndex> oldCurrent = current_;
    selected_ = current_ = row;
    updateRow(oldSelected);
    updateRow(oldCurrent);
    updateRow(row);
    scrollToRow(row);
    if (row != oldSelected) {
        tellAccessibility(QAccessible::SelectionAdd, row);
    }
    if (hasFocus() && row != oldCurrent) {
        tellAccessibility(QAccessible::Focus, row);
    }
}

void ReportList::tellAccessibility(int event, std::optional<RowIndex> row) const {
    if (!QAccessible::isActive() || !row || columnCount() == 0) {
        return;
    }
    // Children count the header cells first, then the cells row by row.
    QAccessibleEvent accessibleEvent(const_cast<ReportList*>(this),
                                     static_cast<QAccessible::Event>(event));
    accessibleEvent.setChild(static_cast<int>((row->get() + 1) * columnCount()));
    QAccessible::updateAccessibility(&accessibleEvent);
}

void ReportList::paintEvent(QPaintEvent* event) {
    if (layoutPending_) {
        updateLayout();
    }
    QPainter painter(viewport());
    const int columns = columnCount();
    if (columns == 0) {
        return;
    }
    QStyleOptionViewItem option;
    option.initFrom(this);
    option.state &= ~(QStyle::State_HasFocus | QStyle::State_MouseOver);
    option.font = font();
    option.displayAlignment = Qt::AlignLeft | Qt::AlignVCenter;
    option.textElideMode = Qt::ElideRight;
    option.showDecorationSelected =
        style()->styleHint(QStyle::SH_ItemView_ShowDecorationSelected, nullptr, this) != 0;
    option.widget = this;
    const QStyle::State baseState = option.state | QStyle::State_Item;
    const QRect exposed = event->rect();

    const RowIndex first = firstVisibleRow() + exposed.top() / rowHeight_;
    const RowIndex last =
        std::min(RowIndex(rows_.size() - 1), firstVisibleRow() + exposed.bottom() / rowHeight_);
    for (RowIndex row = first; row <= last; ++row) {
        const int y = static_cast<int>((row - firstVisibleRow()) * rowHeight_);
        QStyle::State state = baseState;
        if (row == selected_) {
            state |= QStyle::State_Selected;
        }
        if (row == hovered_) {
            state |= QStyle::State_MouseOver;
        }
        for (int column = 0; column < columns; ++column) {
            const int x = header_->sectionViewportPosition(column);
            const int width = header_->sectionSize(column);
            if (x + width <= exposed.left() || x > exposed.right() || width == 0) {
                continue;
            }
            option.rect = QRect(x, y, width, rowHeight_);
            option.state = state;
            option.viewItemPosition = columns == 1            ? QStyleOptionViewItem::OnlyOne
                                      : column == 0           ? QStyleOptionViewItem::Beginning
                                      : column == columns - 1 ? QStyleOptionViewItem::End
                                                              : QStyleOptionViewItem::Middle;
            // Only the first column has text: the lists hold no sub-items.
            option.features =
                column == 0 ? QStyleOptionViewItem::HasDisplay : QStyleOptionViewItem::None;
            option.text = column == 0 ? shownText(row.number()) : QString();
            const ShownText shown = WithControlPictures(option.text);
            if (!shown.changed) {
                style()->drawControl(QStyle::CE_ItemViewItem, &option, &painter, this);
                continue;
            }
            option.text.clear();
            style()->drawControl(QStyle::CE_ItemViewItem, &option, &painter, this);
            DrawRowTextWithPictures(painter, option, shown, this);
        }
    }
    drawFocusFrame(painter);
}

std::optional<RowIndex> ReportList::focusedRow() const {
    if (rows_.empty()) {
        return std::nullopt;
    }
    // Where the keys move from: with no current row yet, the first.
    return std::min(current_.value_or(RowIndex(0)), RowIndex(rows_.size() - 1));
}

void ReportList::drawFocusFrame(QPainter& painter) const {
    const std::optional<RowIndex> row = focusedRow();
    if (!hasFocus() || !row || columnCount() == 0) {
        return;
    }
    // One frame round the whole row, drawn whether the focus came by key or by click: several
    // styles draw an item's own focus frame only after a key moved the focus, which left a
    // clicked list with no sign of where the arrow keys start.
    QStyleOptionFocusRect frame;
    frame.initFrom(this);
    frame.state |= QStyle::State_KeyboardFocusChange | QStyle::State_HasFocus;
    frame.rect = rowRect(row->number()).intersected(viewport()->rect());
    frame.backgroundColor =
        palette().color(row == selected_ ? QPalette::Highlight : QPalette::Base);
    if (!frame.rect.isEmpty()) {
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &frame, &painter, this);
    }
}

void ReportList::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateLayout();
}

void ReportList::scrollContentsBy(int dx, int /*dy*/) {
    if (dx != 0) {
        header_->setOffset(horizontalScrollBar()->value());
    }
    viewport()->update();
}

bool ReportList::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::Leave && hovered_) {
        const std::optional<RowIndex> old = hovered_;
        hovered_ = std::nullopt;
        updateRow(old);
    }
    return QAbstractScrollArea::viewportEvent(event);
}

void ReportList::keyPressEvent(QKeyEvent* event) {
    emit keyPressed(event->key(), event->modifiers());
    const qsizetype rows = rows_.size();
    const RowIndex first(0);
    const RowIndex last(rows - 1);
    const RowIndex from = std::min(current_.value_or(first), last);
    RowIndex to = from;
    switch (event->key()) {
        case Qt::Key_Up:
            to = from - 1;
            break;
        case Qt::Key_Down:
            to = from + 1;
            break;
        case Qt::Key_PageUp:
            to = from - rowsPerPage();
            break;
        case Qt::Key_PageDown:
            to = from + rowsPerPage();
            break;
        case Qt::Key_Home:
            to = first;
            break;
        case Qt::Key_End:
            to = last;
            break;
        case Qt::Key_Left:
            horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
            return;
        case Qt::Key_Right:
            horizontalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
            return;
        default:
            event->ignore();  // left to the window, as any list does
            return;
    }
    if (rows > 0 && columnCount() > 0) {
        // With no current row yet, any move starts at the first row.
        setSelected(current_ ? std::clamp(to, first, last) : first);
    }
}

void ReportList::mousePressEvent(QMouseEvent* event) {
    const std::optional<RowNumber> row = rowAt(event->position().toPoint());
    if (row && (event->button() == Qt::LeftButton || event->button() == Qt::RightButton)) {
        setSelected(row->index());
    }
}

void ReportList::mouseMoveEvent(QMouseEvent* event) {
    emit mouseMoved();
    const std::optional<RowIndex> row = IndexOf(rowAt(event->position().toPoint()));
    if (row != hovered_) {
        const std::optional<RowIndex> old = hovered_;
        hovered_ = row;
        updateRow(old);
        updateRow(row);
    }
    // Dragging with the button down moves the selection along, as in any list.
    if (row && (event->buttons() & Qt::LeftButton) && row != selected_) {
        setSelected(*row);
    }
}

void ReportList::mouseDoubleClickEvent(QMouseEvent* event) {
    const std::optional<RowNumber> row = rowAt(event->position().toPoint());
    if (row && event->button() == Qt::LeftButton) {
        setSelected(row->index());
    }
    emit rowDoubleClicked();
}

void ReportList::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    updateRow(focusedRow());
    tellAccessibility(QAccessible::Focus, current_);
}

void ReportList::contextMenuEvent(QContextMenuEvent* event) {
    if (receivers(SIGNAL(contextMenuRequested(QPoint))) == 0) {
        event->ignore();
        return;
    }
    // From the keyboard the menu opens at the selected row, or at the list's top.
    QPoint place = event->globalPos();
    if (event->reason() == QContextMenuEvent::Keyboard) {
        const QRect row = selected_ ? rowRect(selected_->number()) : QRect();
        const QPoint inViewport = viewport()->rect().contains(row.center())
                                      ? QPoint(viewport()->width() / 4, row.bottom())
                                      : QPoint(0, 0);
        place = viewport()->mapToGlobal(inViewport);
    }
    emit contextMenuRequested(place);
}

void ReportList::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    updateRow(focusedRow());
}
