#pragma once

#include "core/failure.h"
#include "core/readable_list.h"

#include <QStringList>

#include <vector>

// A list of any number of columns held in memory, for the output routines' multi-column and
// check-box cases. Missing cells read as empty, like sub-items that were never set.
class TableList : public ReadableList {
  public:
    explicit TableList(QStringList headers = {QStringLiteral("Output")})
        : headers_(std::move(headers)) {}

    void addRow(const QStringList& cells, bool checked = true) {
        rows_.push_back(cells);
        checked_.push_back(checked);
    }
    void removeRow(RowNumber row) {
        check(row);
        rows_.erase(rows_.begin() + row.index().get());
        checked_.erase(checked_.begin() + row.index().get());
    }
    void setCell(RowNumber row, int column, const QString& text) {
        check(row);
        QStringList& cells = rows_[static_cast<size_t>(row.index().get())];
        while (cells.size() < column) {
            cells << QString();
        }
        cells[column - 1] = text;
    }
    bool checkBoxes = false;

    qsizetype rowCount() const override { return static_cast<qsizetype>(rows_.size()); }
    int columnCount() const override { return static_cast<int>(headers_.size()); }
    QString headerText(int column) const override { return headers_.value(column - 1); }
    QString cellText(RowNumber row, int column) const override {
        check(row);
        return rows_[static_cast<size_t>(row.index().get())].value(column - 1);
    }
    bool showsCheckBoxes() const override { return checkBoxes; }
    bool isChecked(RowNumber row) const override {
        check(row);
        return checked_[static_cast<size_t>(row.index().get())];
    }

  private:
    void check(RowNumber row) const {
        if (!row.within(rowCount())) {
            ThrowIndexOutOfBounds();
        }
    }

    QStringList headers_;
    std::vector<QStringList> rows_;
    std::vector<bool> checked_;
};
