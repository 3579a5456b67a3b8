#include "widgets/report_list/report_list.h"

#include "core/fault_injection.h"
#include "widgets/report_list/report_list_accessible.h"
#include "widgets/report_list/report_list_header.h"
#include "widgets/report_list/report_list_header_model.h"

#include <QAccessible>
#include <QHeaderView>
#include <QScrollBar>
#include <QTimer>

#include <algorithm>
#include <limits>

namespace {
// A row of many megabytes is shown clipped; the list keeps the whole text.
constexpr qsizetype kMaxShownChars = 4096;
constexpr int kTwipsPerPixel = 15;
constexpr int kRowPadding = 4;
}  // namespace

ReportList::ReportList(QWidget* parent)
    : QAbstractScrollArea(parent),
      headerModel_(new ReportListHeaderModel(this)),
      header_(new ReportListHeader(this)),
      layoutTimer_(new QTimer(this)) {
    ReportListAccessible::installFactory();
    header_->setModel(headerModel_);
    header_->setHighlightSections(false);
    header_->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header_->setSectionsClickable(false);
    header_->setFocusPolicy(Qt::NoFocus);
    connect(header_, &QHeaderView::sectionResized, this, &ReportList::updateLayout);
    header_->setNote([this] { return headerNote(); });

    layoutTimer_->setSingleShot(true);
    layoutTimer_->setInterval(0);
    connect(layoutTimer_, &QTimer::timeout, this, &ReportList::updateLayout);

    setFocusPolicy(Qt::StrongFocus);
    viewport()->setFocusProxy(this);
    viewport()->setMouseTracking(true);
    viewport()->setBackgroundRole(QPalette::Base);
    verticalScrollBar()->setSingleStep(1);
    horizontalScrollBar()->setSingleStep(20);
    rowHeight_ = fontMetrics().height() + kRowPadding;
    updateLayout();
}

ReportList::~ReportList() = default;

QHeaderView* ReportList::header() const {
    return header_;
}

void ReportList::addColumn(const QString& header) {
    headerModel_->addTitle(header);
    if (headerModel_->titles().size() == 1) {
        setAccessibleName(header);  // a screen reader names the list by its column header
    }
    updateLayout();
    headerNoteChanged();
}

void ReportList::removeColumnsAndRows() {
    clear();
    headerModel_->removeTitles();
    updateLayout();
    headerNoteChanged();
}

void ReportList::setColumnWidthTwips(int column, int twips) {
    if (column < 1 || column > columnCount()) {
        ThrowIndexOutOfBounds();
    }
    header_->resizeSection(column - 1, (twips + kTwipsPerPixel / 2) / kTwipsPerPixel);
}

QString ReportList::text(RowNumber row) const {
    checkRow(row);
    return rows_.text(row.index());
}

QString ReportList::shownText(RowNumber row) const {
    const QStringView text = textView(row);
    if (text.size() > kMaxShownChars) {
        return text.first(kMaxShownChars).toString() + QChar(0x2026);
    }
    return text.toString();
}

void ReportList::append(const QString& text) {
    FaultInjection::hit("list.append");
    rows_.append(text);
    rowsAppended();
}

void ReportList::remove(RowNumber row) {
    checkRow(row);
    rows_.remove(row.index());
    rowsRemoved(row.index(), 1);
}

void ReportList::clear() {
    const qsizetype removed = rows_.size();
    rows_.clear();
    rowsRemoved(RowIndex(0), removed);
}

void ReportList::replaceRows(RowStore rows, std::optional<RowNumber> selectedRow) {
    if (selectedRow && !selectedRow->within(rows.size())) {
        ThrowIndexOutOfBounds();
    }
    rows_ = std::move(rows);
    endActionSummary();
    emit rowsRemovedOrReplaced();
    selected_ = current_ = IndexOf(selectedRow);
    hovered_ = std::nullopt;
    if (QAccessible::isActive()) {
        QAccessibleTableModelChangeEvent change(this, QAccessibleTableModelChangeEvent::ModelReset);
        QAccessible::updateAccessibility(&change);
    }
    shownRowCount_ = rows_.size();  // told by the reset above
    updateLayout();
    if (selected_) {
        scrollToRow(*selected_);
    }
}

void ReportList::rowsRemoved(RowIndex row, qsizetype removed) {
    if (removed == 0) {
        return;
    }
    // Before the signal: its receivers may put a summary of this very change in place.
    endActionSummary();
    emit rowsRemovedOrReplaced();
    // The rows after the removed ones move up; a mark on a removed row goes, except the
    // current row, which stays at its place as the keys expect.
    const auto follow = [&](std::optional<RowIndex>& mark, bool keepPlace) {
        if (!mark) {
            return;
        }
        if (*mark >= row + removed) {
            *mark -= removed;
        } else if (*mark >= row) {
            mark = keepPlace && !rows_.empty()
                       ? std::optional(std::min(row, RowIndex(rows_.size() - 1)))
                       : std::nullopt;
        }
    };
    follow(selected_, false);
    follow(current_, true);
    follow(hovered_, false);
    if (QAccessible::isActive()) {
        QAccessibleTableModelChangeEvent change(
            this, rows_.empty() ? QAccessibleTableModelChangeEvent::ModelReset
                                : QAccessibleTableModelChangeEvent::RowsRemoved);
        change.setFirstRow(static_cast<int>(row.get()));
        change.setLastRow(static_cast<int>(row.get() + removed - 1));
        QAccessible::updateAccessibility(&change);
    }
    updateLayout();
}

void ReportList::selectRow(RowNumber row) {
    checkRow(row);
    setSelected(row.index());
}

void ReportList::clearSelection() {
    const std::optional<RowIndex> old = selected_;
    selected_ = std::nullopt;
    updateRow(old);
}

int ReportList::columnCount() const {
    return static_cast<int>(headerModel_->titles().size());
}

QString ReportList::headerText(int column) const {
    if (column < 1 || column > columnCount()) {
        ThrowIndexOutOfBounds();
    }
    return headerModel_->titles()[column - 1];
}

void ReportList::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
        rowHeight_ = fontMetrics().height() + kRowPadding;
        updateLayout();
    }
    QAbstractScrollArea::changeEvent(event);
}

void ReportList::scheduleLayout() {
    layoutPending_ = true;
    layoutTimer_->start();
}

int ReportList::rowsPerPage() const {
    return std::max(1, viewport()->height() / rowHeight_);
}

RowIndex ReportList::firstVisibleRow() const {
    return RowIndex(verticalScrollBar()->value());
}

void ReportList::updateLayout() {
    const qsizetype previousRows = shownRowCount_;
    layoutPending_ = false;
    layoutTimer_->stop();
    shownRowCount_ = rows_.size();

    const int headerHeight = header_->isHidden() ? 0 : header_->sizeHint().height();
    setViewportMargins(0, headerHeight, 0, 0);
    const QRect area = viewport()->geometry();
    header_->setGeometry(area.left(), area.top() - headerHeight, area.width(), headerHeight);

    // The scroll bar's unit is a row; a list beyond its int range still scrolls to its end
    // through the keys, which work in rows of any number.
    constexpr qsizetype kMaxRange = std::numeric_limits<int>::max();
    const qsizetype lastFirstRow = std::max<qsizetype>(0, rows_.size() - rowsPerPage());
    verticalScrollBar()->setRange(0, static_cast<int>(std::min(lastFirstRow, kMaxRange)));
    verticalScrollBar()->setPageStep(rowsPerPage());
    horizontalScrollBar()->setRange(0, std::max(0, header_->length() - area.width()));
    horizontalScrollBar()->setPageStep(area.width());
    header_->setOffset(horizontalScrollBar()->value());
    viewport()->update();

    // Once a layout, not once a row: during a split the count follows at each repaint.
    if (rowCountShown_ && rows_.size() != notedRowCount_) {
        notedRowCount_ = rows_.size();
        headerNoteChanged();
    }
    if (rows_.size() != summaryRowCount_) {
        endActionSummary();
    }
    placeMenuButton();
    if (rows_.size() > previousRows && QAccessible::isActive()) {
        QAccessibleTableModelChangeEvent change(this,
                                                QAccessibleTableModelChangeEvent::RowsInserted);
        change.setFirstRow(static_cast<int>(previousRows));
        change.setLastRow(static_cast<int>(rows_.size() - 1));
        QAccessible::updateAccessibility(&change);
    }
}
