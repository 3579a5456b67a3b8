#pragma once

#include <QAccessibleWidget>

#include <unordered_map>

class ReportList;

// What a screen reader sees of a report list: a table named by its first column header, with
// one header cell a column and one cell a row and column. Cells are made only when assistive
// technology asks for them and are kept until the rows change, so a list of hundreds of
// millions of rows costs nothing here until someone reads it.
class ReportListAccessible : public QAccessibleWidget, public QAccessibleTableInterface {
  public:
    explicit ReportListAccessible(ReportList* list);
    ~ReportListAccessible() override;

    // Makes Qt's accessibility ask this class for every report list; safe to call often.
    static void installFactory();

    void* interface_cast(QAccessible::InterfaceType type) override;
    // The description starts with the header's note (the row count), then the tooltip.
    QString text(QAccessible::Text type) const override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;

    // QAccessibleTableInterface; rows and columns are 0-based, as assistive technology counts
    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override;
    int selectedCellCount() const override;
    QList<QAccessibleInterface*> selectedCells() const override;
    QString columnDescription(int column) const override;
    QString rowDescription(int) const override { return {}; }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override;
    int columnCount() const override;
    int rowCount() const override;
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override;
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int row) const override;
    bool selectRow(int row) override;
    bool selectColumn(int) override { return false; }
    bool unselectRow(int row) override;
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent* event) override;

    ReportList* list() const;
    // A column's header cell (row -1) or a cell; made on first use.
    QAccessibleInterface* cell(qsizetype row, int column) const;

  private:
    void forgetCells();

    mutable std::unordered_map<qsizetype, QAccessible::Id> cells_;  // by child index
};
