#pragma once

#include "core/failure.h"
#include "core/readable_list.h"

#include <QStringList>

// A loaded list held in memory for the output routines: one column under `header`. It keeps no
// RowStore, so the routines read it through text(), the way they read any other list.
class TableList : public ReadableList {
  public:
    explicit TableList(QString header = QStringLiteral("Output")) : header_(std::move(header)) {}

    void addRow(const QString& text) { rows_ << text; }
    void removeRow(RowNumber row) {
        check(row);
        rows_.removeAt(row.index().get());
    }
    void setText(RowNumber row, const QString& text) {
        check(row);
        rows_[row.index().get()] = text;
    }

    qsizetype rowCount() const override { return rows_.size(); }
    int columnCount() const override { return 1; }
    QString headerText(int /*column*/) const override { return header_; }
    QString text(RowNumber row) const override {
        check(row);
        return rows_[row.index().get()];
    }

  private:
    void check(RowNumber row) const {
        if (!row.within(rowCount())) {
            ThrowIndexOutOfBounds();
        }
    }

    QString header_;
    QStringList rows_;
};
