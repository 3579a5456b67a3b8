#include "widgets/report_list/report_list.h"

#include "core/fault_injection.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QTimer>

#include <algorithm>

namespace {
// A row of many megabytes is painted clipped; the list keeps the whole text.
constexpr qsizetype kMaxPaintedChars = 4096;
constexpr int kTwipsPerPixel = 15;
constexpr int kMinShowRowsIntervalMs = 16;
// About 5 and 10 ms of the view's work.
constexpr qsizetype kRowsShownPerStepWhileComing = 500'000;
constexpr qsizetype kRowsShownPerStepAfter = 1'000'000;
}  // namespace

class ReportListModel : public QAbstractTableModel {
  public:
    ReportListModel(const RowStore& rows, QObject* parent)
        : QAbstractTableModel(parent), rows_(rows) {}

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() || headers_.isEmpty() ? 0 : static_cast<int>(shownRows_);
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(headers_.size());
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole || index.column() != 0 || index.row() >= rows_.size()) {
            return {};
        }
        const QStringView text = rows_.view(index.row());
        if (text.size() > kMaxPaintedChars) {
            return QString(text.first(kMaxPaintedChars).toString() + QChar(0x2026));
        }
        return text.toString();
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section < headers_.size()) {
            return headers_[section];
        }
        return {};
    }

    void addHeader(const QString& header) {
        const int at = static_cast<int>(headers_.size());
        if (at == 0) {
            // The rows become visible with the first column.
            beginResetModel();
            headers_.append(header);
            shownRows_ = rows_.size();
            endResetModel();
            return;
        }
        beginInsertColumns({}, at, at);
        headers_.append(header);
        endInsertColumns();
    }
    const QStringList& headers() const { return headers_; }
    void removeHeaders() {
        beginResetModel();
        headers_.clear();
        shownRows_ = rows_.size();
        endResetModel();
    }

    // Tells the view about at most `maxRows` of the rows appended since the last time.
    void showAppended(qsizetype maxRows) {
        if (headers_.isEmpty()) {
            shownRows_ = rows_.size();
            return;
        }
        const qsizetype upTo = shownRows_ + std::min(maxRows, rows_.size() - shownRows_);
        if (upTo > shownRows_) {
            beginInsertRows({}, static_cast<int>(shownRows_), static_cast<int>(upTo - 1));
            shownRows_ = upTo;
            endInsertRows();
        }
    }
    void showAppended() { showAppended(rows_.size()); }
    void showUpTo(qsizetype rows) {
        if (rows > shownRows_) {
            showAppended(rows - shownRows_);
        }
    }
    bool allShown() const { return shownRows_ == rows_.size(); }
    // A row the view has not been told about yet goes without telling it, so a removal
    // never makes the view take all the rows still waiting at once.
    void beginRemove(qsizetype row) {
        removingShownRow_ = !headers_.isEmpty() && row < shownRows_;
        if (removingShownRow_) {
            beginRemoveRows({}, static_cast<int>(row), static_cast<int>(row));
        }
    }
    void endRemove() {
        if (headers_.isEmpty()) {
            shownRows_ = rows_.size();
        } else if (removingShownRow_) {
            --shownRows_;
            endRemoveRows();
        }
    }
    void beginClear() { beginResetModel(); }
    void endClear() {
        shownRows_ = 0;
        endResetModel();
    }

  private:
    const RowStore& rows_;
    QStringList headers_;
    qsizetype shownRows_ = 0;
    bool removingShownRow_ = false;
};

ReportList::ReportList(QWidget* parent)
    : QTableView(parent),
      model_(new ReportListModel(rows_, this)),
      showRowsTimer_(new QTimer(this)) {
    showRowsTimer_->setSingleShot(true);
    sinceLastShown_.start();
    connect(showRowsTimer_, &QTimer::timeout, this, &ReportList::showSomePendingRows);
    setModel(model_);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(false);
    setWordWrap(false);
    setTextElideMode(Qt::ElideRight);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setMouseTracking(true);
    verticalHeader()->hide();
    // Uniform row heights: the view never measures rows one by one.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

ReportList::~ReportList() = default;

void ReportList::addColumn(const QString& header) {
    model_->addHeader(header);
    if (model_->headers().size() == 1) {
        setAccessibleName(header);  // a screen reader names the list by its column header
    }
}

void ReportList::removeColumnsAndRows() {
    clear();
    model_->removeHeaders();
}

void ReportList::setColumnWidthTwips(int column, int twips) {
    if (column < 1 || column > columnCount()) {
        ThrowIndexOutOfBounds();
    }
    setColumnWidth(column - 1, (twips + kTwipsPerPixel / 2) / kTwipsPerPixel);
}

QString ReportList::text(qsizetype row) const {
    checkRow(row);
    return rows_.text(row - 1);
}

void ReportList::append(const QString& text) {
    FaultInjection::hit("list.append");
    rows_.append(text);
    rowsAppended();
}

void ReportList::scheduleShowingRows() {
    showRowsScheduled_ = true;
    rowsAtLastCheck_ = rows_.size();
    showRowsTimer_->start(kMinShowRowsIntervalMs);
}

void ReportList::showSomePendingRows() {
    // Telling the view about new rows costs time in proportion to the new rows, and the next
    // paint in proportion to all rows (the row header recomputes where its sections start).
    // While rows keep coming, the work that makes them shares the frames: a list of millions
    // is told less often (every second at ten million rows) and in small steps. Once they
    // have stopped, the rest follow in larger steps, frame by frame. No step is so large that
    // input would wait for it.
    const bool stillComing = rows_.size() > rowsAtLastCheck_;
    rowsAtLastCheck_ = rows_.size();
    if (!stillComing) {
        model_->showAppended(kRowsShownPerStepAfter);
        sinceLastShown_.start();
    } else if (sinceLastShown_.elapsed() >= kMinShowRowsIntervalMs + model_->rowCount() / 10'000) {
        model_->showAppended(kRowsShownPerStepWhileComing);
        sinceLastShown_.start();
    }
    if (model_->allShown()) {
        showRowsScheduled_ = false;
        return;
    }
    showRowsTimer_->start(kMinShowRowsIntervalMs);
}

void ReportList::showPendingRows() {
    showRowsScheduled_ = false;
    showRowsTimer_->stop();
    model_->showAppended();
}

void ReportList::remove(qsizetype row) {
    checkRow(row);
    model_->beginRemove(row - 1);
    rows_.remove(row - 1);
    model_->endRemove();
}

void ReportList::clear() {
    // Rows appended after this are new rows with a schedule of their own.
    showRowsScheduled_ = false;
    showRowsTimer_->stop();
    model_->beginClear();
    rows_.clear();
    model_->endClear();
}

qsizetype ReportList::selectedRow() const {
    const QModelIndexList selected = selectionModel()->selectedRows();
    return selected.isEmpty() ? 0 : selected.first().row() + 1;
}

void ReportList::selectRow(qsizetype row) {
    checkRow(row);
    model_->showUpTo(row);
    QTableView::selectRow(static_cast<int>(row - 1));
}

int ReportList::columnCount() const {
    return static_cast<int>(model_->headers().size());
}

QString ReportList::headerText(int column) const {
    if (column < 1 || column > columnCount()) {
        ThrowIndexOutOfBounds();
    }
    return model_->headers()[column - 1];
}

QString ReportList::cellText(qsizetype row, int column) const {
    // The lists hold no sub-items: every column after the first is empty.
    const QString rowText = text(row);
    return column == 1 ? rowText : QString();
}

void ReportList::keyPressEvent(QKeyEvent* event) {
    emit keyPressed(event->key(), event->modifiers());
    // The key is not consumed: the list's own handling still takes place.
    QTableView::keyPressEvent(event);
}

void ReportList::mouseDoubleClickEvent(QMouseEvent* event) {
    QTableView::mouseDoubleClickEvent(event);
    emit rowDoubleClicked();
}

void ReportList::mouseMoveEvent(QMouseEvent* event) {
    emit mouseMoved();
    QTableView::mouseMoveEvent(event);
}
