#include "widgets/line_box/line_box.h"

#include "widgets/clipboard_text_offer.h"
#include "widgets/line_box/clipboard_text_source.h"
#include "widgets/line_box/line_box_accessible.h"
#include "widgets/line_box/text_boundaries.h"

#include <QAccessible>
#include <QApplication>
#include <QGuiApplication>
#include <QPainter>
#include <QPointer>
#include <QStyle>
#include <QStyleHints>
#include <QStyleOptionFrame>

#include <algorithm>
#include <cmath>

namespace {
// The same spacing as a line edit, so the box looks like one.
constexpr int kHorizontalMargin = 2;
constexpr int kVerticalMargin = 1;
// The paragraph direction is taken from the first strong character, looked for only near
// the start: a line of a hundred million digits must not be scanned on every keystroke.
constexpr qsizetype kDirectionScan = 4096;
}  // namespace

LineBox::LineBox(QWidget* parent) : QWidget(parent) {
    LineBoxAccessible::installFactory();
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    setAttribute(Qt::WA_KeyCompression);
    setAttribute(Qt::WA_MacShowFocusRect);
    setSizePolicy(QSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed, QSizePolicy::LineEdit));
    setBackgroundRole(QPalette::Base);
    setCursor(Qt::IBeamCursor);
    setAcceptDrops(true);
    setMouseTracking(true);
    view_.setFont(font());
    model_.onTextChanged = [this](const LineTextModel::Change& change) { textWasChanged(change); };
    model_.onCursorChanged = [this] { cursorWasMoved(); };
}

LineBox::~LineBox() {
    model_.onTextChanged = nullptr;
    model_.onCursorChanged = nullptr;
}

void LineBox::setText(const QString& text) {
    preedit_.clear();
    view_.forgetScroll();
    model_.setText(text);
}

void LineBox::setCursorPosition(qsizetype position) {
    model_.moveCursor(position);
}

void LineBox::setSelection(qsizetype anchor, qsizetype cursor) {
    model_.select(anchor, cursor);
}

void LineBox::replaceText(qsizetype start, qsizetype end, const QString& text) {
    model_.replace(start, end, text);
}

void LineBox::insertAsOneStep(const QString& text) {
    model_.separate();
    model_.insert(text, LineTextModel::EditKind::Block);
}

void LineBox::selectAll() {
    model_.selectAll();
}

void LineBox::deselect() {
    model_.deselect();
}

void LineBox::undo() {
    model_.undo();
}

void LineBox::redo() {
    model_.redo();
}

void LineBox::clear() {
    model_.selectAll();
    model_.removeSelection();
}

void LineBox::cut() {
    if (model_.hasSelection()) {
        copy();
        model_.removeSelection();
    }
}

void LineBox::copy() const {
    copyTo(QClipboard::Clipboard);
}

void LineBox::paste() {
    pasteFrom(QClipboard::Clipboard);
}

void LineBox::copyTo(QClipboard::Mode mode) const {
    if (model_.hasSelection()) {
        // A selection of the whole line is shared with the clipboard, not copied; another
        // program's paste of it converts it then, or gets nothing when memory is short.
        QGuiApplication::clipboard()->setMimeData(
            ClipboardTextOffer::sharing(model_.selectedText()), mode);
    }
}

void LineBox::pasteFrom(QClipboard::Mode mode) {
    // A long transfer lets the window repaint and answer meanwhile, which could close it.
    const QPointer<LineBox> alive(this);
    const QString pasted = ClipboardTextToPaste(mode);
    if (alive.isNull()) {
        return;
    }
    if (!pasted.isEmpty() || model_.hasSelection()) {
        model_.separate();
        model_.insert(pasted, LineTextModel::EditKind::Block);
    }
}

void LineBox::textWasChanged(const LineTextModel::Change& change) {
    view_.textEdited(change.position, change.removed.size(), change.insertedLength);
    if (change.position < kDirectionScan) {
        updateDirection();
    }
    layoutDirty_ = true;
    notifyScreenReaders(change);
    update();
    emit textChanged(model_.text());
}

void LineBox::cursorWasMoved() {
    layoutDirty_ = true;
    restartBlinking();
    update();
    updateMicroFocus();
    const bool selection = model_.hasSelection();
    if (selection || notifiedSelection_) {
        notifiedSelection_ = selection;
        if (QAccessible::isActive()) {
            QAccessibleTextSelectionEvent event(this, int(model_.selectionStart()),
                                                int(model_.selectionEnd()));
            event.setCursorPosition(int(model_.cursor()));
            QAccessible::updateAccessibility(&event);
        }
        emit selectionChanged();
    }
    if (model_.cursor() != notifiedCursor_) {
        notifiedCursor_ = model_.cursor();
        if (QAccessible::isActive()) {
            QAccessibleTextCursorEvent event(this, int(model_.cursor()));
            QAccessible::updateAccessibility(&event);
        }
        emit cursorPositionChanged();
    }
}

void LineBox::notifyScreenReaders(const LineTextModel::Change& change) {
    if (!QAccessible::isActive()) {
        return;
    }
    const QString inserted = model_.text().mid(change.position, change.insertedLength);
    if (!change.removed.isEmpty() && change.insertedLength > 0) {
        QAccessibleTextUpdateEvent event(this, int(change.position), change.removed, inserted);
        QAccessible::updateAccessibility(&event);
    } else if (change.insertedLength > 0) {
        QAccessibleTextInsertEvent event(this, int(change.position), inserted);
        QAccessible::updateAccessibility(&event);
    } else {
        QAccessibleTextRemoveEvent event(this, int(change.position), change.removed);
        QAccessible::updateAccessibility(&event);
    }
    QAccessibleValueChangeEvent value(this, QVariant());
    QAccessible::updateAccessibility(&value);
}

void LineBox::updateDirection() {
    const QStringView start = QStringView(model_.text()).left(kDirectionScan);
    // A line edit takes its direction from the text; an empty one from the widget.
    textDirection_ = start.isEmpty()         ? layoutDirection()
                     : start.isRightToLeft() ? Qt::RightToLeft
                                             : Qt::LeftToRight;
}

void LineBox::ensureLayout() const {
    if (layoutDirty_) {
        const_cast<LineBox*>(this)->relayout();
    }
}

void LineBox::relayout() {
    layoutDirty_ = false;
    view_.setWidth(textArea().width());
    view_.setPictureColor(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled,
                                          QPalette::PlaceholderText));
    view_.setDirection(textDirection_);
    view_.layOut(model_.text(), model_.cursor(), preedit_, preeditCursor_);
}

TextWindow LineBox::laidOutWindow() const {
    ensureLayout();
    return view_.window();
}

void LineBox::initStyleOption(QStyleOptionFrame* option) const {
    option->initFrom(this);
    option->rect = contentsRect();
    option->lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, option, this);
    option->midLineWidth = 0;
    option->state |= QStyle::State_Sunken;
    option->features = QStyleOptionFrame::None;
}

QRect LineBox::textArea() const {
    QStyleOptionFrame panel;
    initStyleOption(&panel);
    const QRect contents = style()->subElementRect(QStyle::SE_LineEditContents, &panel, this);
    const int height = fontMetrics().height();
    const int top = contents.y() + (contents.height() - height + 1) / 2;
    return QRect(contents.x() + kHorizontalMargin, top, contents.width() - 2 * kHorizontalMargin,
                 height);
}

void LineBox::paintEvent(QPaintEvent*) {
    ensureLayout();
    QPainter painter(this);
    QStyleOptionFrame panel;
    initStyleOption(&panel);
    style()->drawPrimitive(QStyle::PE_PanelLineEdit, &panel, &painter, this);

    const QRect area = textArea();
    const QRect clip = style()->subElementRect(QStyle::SE_LineEditContents, &panel, this);
    painter.setClipRect(clip);
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Text));
    const QPointF origin(area.x(), area.y() - (view_.ascent() - fontMetrics().ascent()));
    const bool focused = hasFocus();
    // A line edit shows its selection only while it has the focus.
    const LineView::Selection selection =
        focused ? LineView::Selection{model_.selectionStart(), model_.selectionEnd()}
                : LineView::Selection{};
    view_.draw(painter, origin, QRectF(clip.translated(-origin.toPoint())), selection, palette());
    const bool showCursor = focused && cursorOn_ && !model_.hasSelection();
    if (showCursor) {
        const int width = style()->pixelMetric(QStyle::PM_TextCursorWidth, nullptr, this);
        view_.drawCursor(painter, origin, width);
    }
    if (dropPosition_ >= 0) {
        const int x = area.x() + int(std::round(view_.xOf(dropPosition_)));
        painter.fillRect(QRect(x, area.y(), 1, area.height()), palette().text());
    }
}

QRect LineBox::cursorRect() const {
    ensureLayout();
    const QRect area = textArea();
    const int x = area.x() + int(std::round(view_.cursorX()));
    return QRect(x - 1, area.y(), 3, area.height());
}

QRect LineBox::characterRect(qsizetype position) const {
    ensureLayout();
    const QRect area = textArea();
    const qsizetype next = TextBoundaries::nextGrapheme(model_.text(), position);
    const qreal left = view_.xOf(position);
    const qreal right = view_.xOf(next);
    return QRect(area.x() + int(std::floor(std::min(left, right))), area.y(),
                 int(std::ceil(std::abs(right - left))), area.height());
}

qsizetype LineBox::positionAt(const QPoint& point) const {
    ensureLayout();
    const qsizetype position = view_.positionAt(point.x() - textArea().x());
    // CR LF is drawn as one picture, its LF as nothing: a hit on the picture's right half lands
    // after the pair, never between its halves.
    const QString& text = model_.text();
    if (position > 0 && position < text.size() && text.at(position - 1) == QLatin1Char('\r') &&
        text.at(position) == QLatin1Char('\n')) {
        return position + 1;
    }
    return position;
}

void LineBox::restartBlinking() {
    cursorOn_ = true;
    const int flash = QGuiApplication::styleHints()->cursorFlashTime();
    if (hasFocus() && flash >= 2) {
        blinkTimer_.start(flash / 2, this);
    } else {
        blinkTimer_.stop();
    }
}

void LineBox::timerEvent(QTimerEvent* event) {
    if (event->timerId() == blinkTimer_.timerId()) {
        cursorOn_ = !cursorOn_;
        update(cursorRect());
        return;
    }
    QWidget::timerEvent(event);
}

void LineBox::focusInEvent(QFocusEvent* event) {
    const Qt::FocusReason reason = event->reason();
    if ((reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
         reason == Qt::ShortcutFocusReason) &&
        !model_.hasSelection()) {
        model_.selectAll();
    }
    restartBlinking();
    updateMicroFocus();
    update();
    QWidget::focusInEvent(event);
}

void LineBox::focusOutEvent(QFocusEvent* event) {
    const Qt::FocusReason reason = event->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
        model_.deselect();
    }
    blinkTimer_.stop();
    update();
    QWidget::focusOutEvent(event);
}

void LineBox::resizeEvent(QResizeEvent* event) {
    layoutDirty_ = true;
    QWidget::resizeEvent(event);
}

void LineBox::changeEvent(QEvent* event) {
    switch (event->type()) {
        case QEvent::FontChange:
            view_.setFont(font());
            layoutDirty_ = true;
            updateGeometry();
            break;
        case QEvent::LayoutDirectionChange:
            updateDirection();
            layoutDirty_ = true;
            break;
        case QEvent::StyleChange:
        case QEvent::EnabledChange:
        case QEvent::PaletteChange:
            layoutDirty_ = true;
            update();
            break;
        default:
            break;
    }
    QWidget::changeEvent(event);
}

QSize LineBox::sizeHint() const {
    ensurePolished();
    const QFontMetrics metrics(font());
    const int iconSize = style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, this);
    const int height = std::max(metrics.height(), std::max(14, iconSize - 2)) + 2 * kVerticalMargin;
    const int width = metrics.horizontalAdvance(QLatin1Char('x')) * 17 + 2 * kHorizontalMargin;
    QStyleOptionFrame option;
    initStyleOption(&option);
    return style()->sizeFromContents(QStyle::CT_LineEdit, &option, QSize(width, height), this);
}

QSize LineBox::minimumSizeHint() const {
    ensurePolished();
    const QFontMetrics metrics(font());
    const int height = metrics.height() + 2 * kVerticalMargin;
    const int width = metrics.maxWidth() + 2 * kHorizontalMargin;
    QStyleOptionFrame option;
    initStyleOption(&option);
    return style()->sizeFromContents(QStyle::CT_LineEdit, &option, QSize(width, height), this);
}
