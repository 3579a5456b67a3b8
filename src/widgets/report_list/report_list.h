#pragma once

#include "core/fault_injection.h"
#include "core/readable_list.h"
#include "core/row_number.h"
#include "core/row_store.h"

#include <QAbstractScrollArea>

#include <optional>

class QHeaderView;
class QPainter;
class QTimer;
class QToolButton;
class ReportListHeader;
class ReportListHeaderModel;

// The report-view list control: one text per row under column headers, 1-based rows, one
// selected row, key and double-click events. Rows live in a RowStore, and the view works
// only from the row count and the fixed row height: painting, scrolling, hit-testing and the
// keys cost the same at ten rows and at hundreds of millions, and a row is in the view the
// moment it is in the list. The vertical scroll bar counts rows, not pixels, so its int range
// holds any list that fits in memory.
class ReportList : public QAbstractScrollArea, public ReadableList {
    Q_OBJECT
  public:
    explicit ReportList(QWidget* parent = nullptr);
    ~ReportList() override;

    void addColumn(const QString& header);
    void setColumnWidthTwips(int column, int twips);
    // Back to a list as it was made: no columns, no rows.
    void removeColumnsAndRows();

    qsizetype count() const { return rows_.size(); }
    QString text(RowNumber row) const override;  // Failure when the row does not exist
    QStringView textView(RowNumber row) const {
        checkRow(row);
        return rows_.view(row.index());
    }

    const QString& textSource(RowNumber row, TextSpan& span) const {
        checkRow(row);
        return rows_.source(row.index(), span);
    }

    void append(const QString& text);
    void appendSpan(const QString& source, TextSpan span) {
        FaultInjection::hit("list.append");
        rows_.appendSpan(source, span);
        rowsAppended();
    }
    void reserveMore(qsizetype rows) { rows_.reserveMore(rows); }
    void remove(RowNumber row);  // Failure when the row does not exist
    void clear();

    // All rows at once: a copy costs a pointer per block of rows, so a worker can read the
    // list as it is now while the list goes on changing.
    const RowStore& rows() const { return rows_; }
    // Puts other rows in place of all of them, with `selectedRow` selected.
    void replaceRows(RowStore rows, std::optional<RowNumber> selectedRow);

    std::optional<RowNumber> selectedRow() const { return NumberOf(selected_); }
    void selectRow(RowNumber row);  // and scrolls it into view
    void clearSelection();

    // Where rows are in the viewport: the row at a point, if any, and a row's rectangle across
    // all columns (empty when the row does not exist).
    std::optional<RowNumber> rowAt(QPoint viewportPoint) const;
    QRect rowRect(RowNumber row) const;
    QHeaderView* header() const;

    // ReadableList
    qsizetype rowCount() const override { return count(); }
    int columnCount() const override;
    QString headerText(int column) const override;
    const RowStore* storedRows() const override { return &rows_; }

    // The text a row shows: a row of many megabytes is shown clipped, the list keeps it whole.
    QString shownText(RowNumber row) const;

    // The note in the header's spare space, which assistive technology reads as the start of
    // the list's description: the row count ("1,083 rows"), once shown, and for a few seconds
    // after showActionSummary() what an action did. Empty for a list without columns.
    static constexpr int kActionSummaryMs = 4000;
    void showRowCount();
    void showActionSummary(const QString& summary);
    QString headerNote() const;
    QString rowCountText() const;  // "No rows", "1 row", "1,083 rows"; empty when not shown
    // A small button at the header's right end that asks for the context menu below itself.
    // It takes no focus, so it stays out of the window's tab order: the menu key on the list
    // opens the same menu. Beside the list in its window, so that assistive technology finds
    // it among the window's controls rather than among the table's cells.
    QToolButton* addMenuButton(const QString& accessibleName, const QString& toolTip);

  signals:
    // Every key press, before the list's own handling (which still takes place).
    void keyPressed(int key, Qt::KeyboardModifiers modifiers);  // key: a Qt::Key
    void rowDoubleClicked();
    void mouseMoved();
    // The right mouse button or the menu key asks for a context menu at `globalPos`.
    void contextMenuRequested(QPoint globalPos);
    // Rows were removed, cleared or replaced: a loop or job that read the rows by number
    // must look again. Appending does not send it (it would cost a call a row); a reader
    // that cares about appends compares the count.
    void rowsRemovedOrReplaced();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void changeEvent(QEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    void checkRow(RowNumber row) const {
        if (!row.within(rows_.size())) {
            ThrowIndexOutOfBounds();
        }
    }
    // Appending stays one comparison a row: the view catches up once events run.
    void rowsAppended() {
        if (!layoutPending_) {
            scheduleLayout();
        }
    }
    void scheduleLayout();
    // Scroll ranges and header place from the row count, the row height and the columns.
    void updateLayout();
    int rowsPerPage() const;
    RowIndex firstVisibleRow() const;
    std::optional<RowIndex> indexAt(QPoint viewportPoint) const;
    void scrollToRow(RowIndex row);
    // Makes a row current and selected, as a click or a key does.
    void setSelected(RowIndex row);
    void updateRow(std::optional<RowIndex> row);  // repaints it when it is in view
    // The row the focus frame marks while the list has the focus: where the keys move from.
    std::optional<RowIndex> focusedRow() const;
    void drawFocusFrame(QPainter& painter) const;
    void rowsRemoved(RowIndex row, qsizetype removed);
    void tellAccessibility(int event, std::optional<RowIndex> row) const;
    // The header note may read differently: repaint it and tell assistive technology.
    void headerNoteChanged();
    // A summary tells of the list as an action left it; once the rows change it would be
    // read as telling of them, so any change ends it and the row count shows again.
    bool showsActionSummary() const;
    void endActionSummary();
    void placeMenuButton();
    void followVisibility();

    RowStore rows_;
    ReportListHeaderModel* headerModel_;
    ReportListHeader* header_;
    QTimer* layoutTimer_;
    QTimer* summaryTimer_ = nullptr;  // made with the first summary
    QToolButton* menuButton_ = nullptr;
    QString actionSummary_;          // shown while summaryTimer_ runs
    qsizetype summaryRowCount_ = 0;  // the rows the summary tells of
    bool rowCountShown_ = false;
    qsizetype notedRowCount_ = -1;  // the count the header note last showed
    bool layoutPending_ = false;
    qsizetype shownRowCount_ = 0;  // rows the scroll bar and assistive technology know of
    int rowHeight_ = 1;
    std::optional<RowIndex> selected_;
    std::optional<RowIndex> current_;  // where the keys move from; kept when its row goes
    std::optional<RowIndex> hovered_;
};
