#pragma once

#include "core/fault_injection.h"
#include "core/readable_list.h"
#include "core/row_store.h"

#include <QAbstractTableModel>
#include <QElapsedTimer>
#include <QTableView>

class QTimer;

class ReportListModel;

// The report-view list control: one text per row, column headers, 1-based rows, the selected
// row, key and double-click events. Rows live in a RowStore; the view is told about appended
// rows in batches (before events run), so appending millions of rows stays cheap.
class ReportList : public QTableView, public ReadableList {
    Q_OBJECT
  public:
    explicit ReportList(QWidget* parent = nullptr);
    ~ReportList() override;

    void addColumn(const QString& header);
    void setColumnWidthTwips(int column, int twips);
    // Back to a list as it was made: no columns, no rows.
    void removeColumnsAndRows();

    qsizetype count() const { return rows_.size(); }
    QString text(qsizetype row) const;  // Failure when the row does not exist
    QStringView textView(qsizetype row) const {
        checkRow(row);
        return rows_.view(row - 1);
    }

    qsizetype totalTextLength() const { return rows_.totalLength(); }
    qsizetype textLength(qsizetype row) const {
        checkRow(row);
        return rows_.length(row - 1);
    }
    const QString& textSource(qsizetype row, TextSpan& span) const {
        checkRow(row);
        return rows_.source(row - 1, span);
    }

    void append(const QString& text);
    void appendSpan(const QString& source, TextSpan span) {
        FaultInjection::hit("list.append");
        rows_.appendSpan(source, span);
        if (!showRowsScheduled_) {
            scheduleShowingRows();
        }
    }
    void reserveMore(qsizetype rows) { rows_.reserveMore(rows); }
    void remove(qsizetype row);  // Failure when the row does not exist
    void clear();

    qsizetype selectedRow() const;  // 0 when no row is selected
    void selectRow(qsizetype row);

    // ReadableList
    qsizetype rowCount() const override { return count(); }
    int columnCount() const override;
    QString headerText(int column) const override;
    QString cellText(qsizetype row, int column) const override;
    const RowStore* firstColumnRows() const override { return &rows_; }

    // Tells the view about rows appended since the last time.
    void showPendingRows();

  signals:
    // Every key press, before the list's own handling (which still takes place).
    void keyPressed(int key, Qt::KeyboardModifiers modifiers);  // key: a Qt::Key
    void rowDoubleClicked();
    void mouseMoved();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

  private:
    void checkRow(qsizetype row) const {
        if (row < 1 || row > rows_.size()) {
            ThrowIndexOutOfBounds();
        }
    }
    void rowsAppended() {
        if (!showRowsScheduled_) {
            scheduleShowingRows();
        }
    }
    void scheduleShowingRows();
    void showSomePendingRows();

    RowStore rows_;
    ReportListModel* model_;
    QTimer* showRowsTimer_;
    bool showRowsScheduled_ = false;
    qsizetype rowsAtLastCheck_ = 0;
    QElapsedTimer sinceLastShown_;
};
