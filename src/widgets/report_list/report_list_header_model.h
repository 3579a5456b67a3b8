#pragma once

#include <QAbstractTableModel>
#include <QStringList>

// What the list's column header shows: the column titles, and no rows at all, so the header
// costs nothing per row of the list.
class ReportListHeaderModel : public QAbstractTableModel {
  public:
    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& = {}) const override { return 0; }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(titles_.size());
    }
    QVariant data(const QModelIndex&, int) const override { return {}; }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
            section < titles_.size()) {
            return titles_[section];
        }
        return {};
    }

    const QStringList& titles() const { return titles_; }
    void addTitle(const QString& title) {
        const int at = static_cast<int>(titles_.size());
        beginInsertColumns({}, at, at);
        titles_.append(title);
        endInsertColumns();
    }
    void removeTitles() {
        beginResetModel();
        titles_.clear();
        endResetModel();
    }

  private:
    QStringList titles_;
};
