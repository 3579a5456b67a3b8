#include "widgets/report_list/report_list_accessible.h"

#include "widgets/report_list/report_list.h"

#include <QHeaderView>

#include <limits>

namespace {

int clampedToInt(qsizetype value) {
    return static_cast<int>(std::min<qsizetype>(value, std::numeric_limits<int>::max()));
}

// One cell of the table, or the header cell of a column (row -1). It reads the list each
// time it is asked, so it never shows a stale text.
class ReportListCell : public QAccessibleInterface, public QAccessibleTableCellInterface {
  public:
    ReportListCell(const ReportListAccessible* table, qsizetype row, int column)
        : table_(table), row_(row), column_(column) {}

    bool isValid() const override {
        const ReportList* list = table_->list();
        return list != nullptr && column_ < list->columnCount() && row_ < list->count();
    }
    QObject* object() const override { return nullptr; }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(table_->list());
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::TableCellInterface
                   ? static_cast<QAccessibleTableCellInterface*>(this)
                   : nullptr;
    }

    QString text(QAccessible::Text type) const override {
        if (type != QAccessible::Name || !isValid()) {
            return {};
        }
        const ReportList* list = table_->list();
        if (row_ < 0) {
            return list->headerText(column_ + 1);
        }
        return column_ == 0 ? list->shownText(RowNumber(row_ + 1)) : QString();
    }
    void setText(QAccessible::Text, const QString&) override {}

    QRect rect() const override {
        if (!isValid()) {
            return {};
        }
        const ReportList* list = table_->list();
        const QHeaderView* header = list->header();
        const int x = header->sectionViewportPosition(column_);
        const int width = header->sectionSize(column_);
        if (row_ < 0) {
            return {header->mapToGlobal(QPoint(x, 0)), QSize(width, header->height())};
        }
        const QRect row = list->rowRect(RowNumber(row_ + 1));
        return {list->viewport()->mapToGlobal(QPoint(x, row.y())), QSize(width, row.height())};
    }
    QAccessible::Role role() const override {
        return row_ < 0 ? QAccessible::ColumnHeader : QAccessible::Cell;
    }
    QAccessible::State state() const override {
        QAccessible::State state;
        if (!isValid()) {
            state.invalid = true;
            return state;
        }
        const ReportList* list = table_->list();
        if (row_ >= 0) {
            state.selectable = true;
            state.focusable = true;
            state.selected = isSelected();
            state.focused = list->hasFocus() && list->selectedRow() == RowNumber(row_ + 1);
        }
        const QRect visible = list->viewport()->rect();
        const QRect place = row_ < 0 ? QRect() : list->rowRect(RowNumber(row_ + 1));
        state.invisible = row_ >= 0 && !visible.intersects(place);
        state.offscreen = state.invisible;
        return state;
    }

    // QAccessibleTableCellInterface
    bool isSelected() const override {
        return row_ >= 0 && isValid() && table_->list()->selectedRow() == RowNumber(row_ + 1);
    }
    QList<QAccessibleInterface*> columnHeaderCells() const override {
        return {table_->cell(-1, column_)};
    }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return column_; }
    int rowIndex() const override { return clampedToInt(row_); }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return table_->list() ? parent() : nullptr; }

  private:
    const ReportListAccessible* table_;
    qsizetype row_;
    int column_;
};

QAccessibleInterface* reportListFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("ReportList") && object != nullptr && object->isWidgetType()) {
        return new ReportListAccessible(static_cast<ReportList*>(object));
    }
    return nullptr;
}

}  // namespace

ReportListAccessible::ReportListAccessible(ReportList* list)
    : QAccessibleWidget(list, QAccessible::Table) {}

ReportListAccessible::~ReportListAccessible() {
    forgetCells();
}

void ReportListAccessible::installFactory() {
    static bool installed = false;
    if (!installed) {
        QAccessible::installFactory(reportListFactory);
        installed = true;
    }
}

ReportList* ReportListAccessible::list() const {
    return static_cast<ReportList*>(widget());
}

void* ReportListAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TableInterface) {
        return static_cast<QAccessibleTableInterface*>(this);
    }
    return QAccessibleWidget::interface_cast(type);
}

QString ReportListAccessible::text(QAccessible::Text type) const {
    const ReportList* shown = list();
    if (type != QAccessible::Description || shown == nullptr ||
        !shown->accessibleDescription().isEmpty()) {
        return QAccessibleWidget::text(type);
    }
    const QString note = shown->headerNote();
    const QString toolTip = shown->toolTip();
    if (note.isEmpty() || toolTip.isEmpty()) {
        return note + toolTip;
    }
    return note + QStringLiteral(". ") + toolTip;
}

QAccessibleInterface* ReportListAccessible::cell(qsizetype row, int column) const {
    const ReportList* shown = list();
    if (shown == nullptr || column < 0 || column >= shown->columnCount() || row < -1 ||
        row >= shown->count()) {
        return nullptr;
    }
    const qsizetype index = (row + 1) * shown->columnCount() + column;
    if (const auto known = cells_.find(index); known != cells_.end()) {
        return QAccessible::accessibleInterface(known->second);
    }
    auto* made = new ReportListCell(this, row, column);
    cells_.emplace(index, QAccessible::registerAccessibleInterface(made));
    return made;
}

void ReportListAccessible::forgetCells() {
    for (const auto& [index, id] : cells_) {
        QAccessible::deleteAccessibleInterface(id);
    }
    cells_.clear();
}

void ReportListAccessible::modelChange(QAccessibleTableModelChangeEvent* event) {
    // Rows only ever come at the end: cells made so far still stand where they stood.
    if (event->modelChangeType() != QAccessibleTableModelChangeEvent::RowsInserted) {
        forgetCells();
    }
}

int ReportListAccessible::childCount() const {
    const ReportList* shown = list();
    return shown == nullptr ? 0 : clampedToInt((shown->count() + 1) * shown->columnCount());
}

QAccessibleInterface* ReportListAccessible::child(int index) const {
    const int columns = columnCount();
    if (index < 0 || columns == 0) {
        return nullptr;
    }
    return cell(index / columns - 1, index % columns);
}

int ReportListAccessible::indexOfChild(const QAccessibleInterface* child) const {
    if (const auto* tableCell = const_cast<QAccessibleInterface*>(child)->tableCellInterface()) {
        const bool isHeader = child->role() == QAccessible::ColumnHeader;
        const qsizetype row = isHeader ? -1 : tableCell->rowIndex();
        return clampedToInt((row + 1) * columnCount() + tableCell->columnIndex());
    }
    return -1;
}

QAccessibleInterface* ReportListAccessible::childAt(int x, int y) const {
    const ReportList* shown = list();
    if (shown == nullptr) {
        return nullptr;
    }
    const QPoint inHeader = shown->header()->mapFromGlobal(QPoint(x, y));
    const int column = shown->header()->logicalIndexAt(inHeader.x());
    if (shown->header()->rect().contains(inHeader)) {
        return cell(-1, column);
    }
    const std::optional<RowNumber> row =
        shown->rowAt(shown->viewport()->mapFromGlobal(QPoint(x, y)));
    return row ? cell(row->index().get(), column) : nullptr;
}

QAccessibleInterface* ReportListAccessible::focusChild() const {
    const ReportList* shown = list();
    if (shown != nullptr && shown->hasFocus() && shown->selectedRow()) {
        return cell(shown->selectedRow()->index().get(), 0);
    }
    return nullptr;
}

QAccessibleInterface* ReportListAccessible::cellAt(int row, int column) const {
    return row < 0 ? nullptr : cell(row, column);
}

int ReportListAccessible::selectedCellCount() const {
    return selectedRowCount() * columnCount();
}

QList<QAccessibleInterface*> ReportListAccessible::selectedCells() const {
    QList<QAccessibleInterface*> selected;
    for (int row : selectedRows()) {
        for (int column = 0; column < columnCount(); ++column) {
            selected.append(cell(row, column));
        }
    }
    return selected;
}

QString ReportListAccessible::columnDescription(int column) const {
    const ReportList* shown = list();
    return shown != nullptr && column >= 0 && column < shown->columnCount()
               ? shown->headerText(column + 1)
               : QString();
}

int ReportListAccessible::selectedRowCount() const {
    return list() != nullptr && list()->selectedRow() ? 1 : 0;
}

int ReportListAccessible::columnCount() const {
    return list() == nullptr ? 0 : list()->columnCount();
}

int ReportListAccessible::rowCount() const {
    return list() == nullptr || list()->columnCount() == 0 ? 0 : clampedToInt(list()->count());
}

QList<int> ReportListAccessible::selectedRows() const {
    if (selectedRowCount() == 0) {
        return {};
    }
    return {clampedToInt(list()->selectedRow()->index().get())};
}

bool ReportListAccessible::isRowSelected(int row) const {
    return list() != nullptr && list()->selectedRow() == RowNumber(row + 1);
}

bool ReportListAccessible::selectRow(int row) {
    ReportList* shown = list();
    if (shown == nullptr || row < 0 || row >= shown->count()) {
        return false;
    }
    shown->selectRow(RowNumber(row + 1));
    return true;
}

bool ReportListAccessible::unselectRow(int row) {
    if (!isRowSelected(row)) {
        return false;
    }
    list()->clearSelection();
    return true;
}
