#include "list_tidying/one_line_dialog.h"

#include "widgets/control_pictures.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

struct NamedSeparator {
    const char16_t* name;
    const char16_t* text;
};
// Offered by name: in a list "; " and ";" look alike, and a Tab or a space cannot be seen.
constexpr NamedSeparator kSeparators[] = {
    {u"Comma and space", u", "},
    {u"Semicolon and space", u"; "},
    {u"Comma", u","},
    {u"Tab", u"\t"},
    {u"Line break", u"\n"},
    {u"Space", u" "},
};

// Any other separator as the delimiter box draws it, a space as a muted dot; one that would
// read as a name is quoted, so that a typed "Tab" is not taken for the character.
QString nameOf(const QString& separator) {
    for (const NamedSeparator& named : kSeparators) {
        if (separator == QStringView(named.text)) {
            return QString::fromUtf16(named.name);
        }
    }
    const QString drawn =
        WithControlPictures(separator).text.replace(QLatin1Char(' '), QChar(0xB7));
    for (const NamedSeparator& named : kSeparators) {
        if (drawn == QStringView(named.name)) {
            return QChar(0x201C) + drawn + QChar(0x201D);
        }
    }
    return drawn;
}

struct QuoteChoice {
    const char16_t* name;
    char16_t quote;
};
constexpr QuoteChoice kQuotes[] = {
    {u"Nothing", 0},
    {u"'Single quotes'", u'\''},
    {u"\"Double quotes\"", u'"'},
};

// The preview is one line of a text box, which would show a tab or a line break as a
// space: they show as marks, the rest as it is.
QString withVisibleControls(const QString& text) {
    QString shown;
    shown.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c == u'\t') {
            shown += QChar(0x2192);
        } else if (c == u'\r' || c == u'\n') {
            shown += QChar(0x21B5);
            i += c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n';
        } else if (c < 0x20 || c == 0x7f) {
            shown += QChar(c == 0x7f ? char16_t(0x2421) : char16_t(0x2400 + c));
        } else {
            shown += QChar(c);
        }
    }
    return shown;
}

const char* const kNamedByLabel = "quorvaneNamedByLabel";

// On Linux Qt names a combo box by its current text and leaves its label to a relation,
// so a screen reader announces "Tab" with nothing to say what for. These boxes give their
// label as their name and their text as their value.
class LabelNamedComboAccessible : public QAccessibleWidget {
  public:
    explicit LabelNamedComboAccessible(QComboBox* box)
        : QAccessibleWidget(box, QAccessible::ComboBox) {}

    QString text(QAccessible::Text t) const override {
        const auto* box = static_cast<const QComboBox*>(object());
        return t == QAccessible::Value ? box->currentText() : QAccessibleWidget::text(t);
    }
    // Typing happens in an editable box's line edit, which holds the focus for it.
    QAccessibleInterface* focusChild() const override {
        const auto* box = static_cast<const QComboBox*>(object());
        return box->hasFocus() && box->lineEdit() != nullptr
                   ? QAccessible::queryAccessibleInterface(box->lineEdit())
                   : nullptr;
    }
};

QAccessibleInterface* labelNamedComboFactory(const QString&, QObject* object) {
    auto* box = qobject_cast<QComboBox*>(object);
    return box != nullptr && box->property(kNamedByLabel).toBool()
               ? new LabelNamedComboAccessible(box)
               : nullptr;
}

// A control's label with its mnemonic, and the same text without the ampersand as the
// control's accessible name (and its line edit's, where it has one).
// A combo box that a screen reader names by its label. Made so from the start: a widget's
// accessible interface is made once, as soon as anything asks for it.
QComboBox* labelNamedComboBox(QWidget* parent) {
    static const bool installed = (QAccessible::installFactory(labelNamedComboFactory), true);
    Q_UNUSED(installed);
    auto* box = new QComboBox(parent);
    box->setProperty(kNamedByLabel, true);
    return box;
}

// A control's label with its mnemonic, and the same text without the ampersand as the
// control's accessible name (and its line edit's, where it has one).
QLabel* labelFor(QWidget* control, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setBuddy(control);
    const QString name = QString(text).remove(QLatin1Char('&'));
    control->setAccessibleName(name);
    if (auto* box = qobject_cast<QComboBox*>(control); box != nullptr && box->lineEdit()) {
        box->lineEdit()->setAccessibleName(name);
    }
    return label;
}

}  // namespace

OneLineDialog::OneLineDialog(RowStore rows, const QString& lastDelimiter, QWidget* parent,
                             const OneLineFormat& remembered)
    : QDialog(parent),
      rows_(std::move(rows)),
      separatorBox_(labelNamedComboBox(this)),
      quoteBox_(labelNamedComboBox(this)),
      preview_(new QLineEdit(this)),
      length_(new QLabel(this)) {
    setWindowTitle(QStringLiteral("Copy As One Line"));
    // A question to answer, not a window to keep: nothing to shrink or enlarge.
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setModal(true);

    separatorBox_->setObjectName(QStringLiteral("separatorBox"));
    // Once editing finishes (Return, or the focus leaving) the box picks the item whose
    // name was typed, and a typed "Tab" would become a tab: that pick is let pass unheeded.
    // Only a line edit of the dialog's own lets it hear of that before the box does.
    auto* typed = new QLineEdit(separatorBox_);
    connect(typed, &QLineEdit::editingFinished, this,
            [this] { keepTyped_ = chosenSeparator_ < 0; });
    separatorBox_->setLineEdit(typed);
    connect(typed, &QLineEdit::editingFinished, this, [this] { keepTyped_ = false; });
    separatorBox_->setInsertPolicy(QComboBox::NoInsert);
    // Completing "," to the offered ", " would change what the user typed, and an accepted
    // completion swallows the Return that should press "Copy".
    separatorBox_->setCompleter(nullptr);
    // The user's usual separator, then the split's, then the rest, each once.
    const auto offer = [this](const QString& separator) {
        if (!separator.isEmpty() && separatorBox_->findData(separator) < 0) {
            separatorBox_->addItem(nameOf(separator), separator);
        }
    };
    offer(remembered.separator);
    offer(lastDelimiter);
    for (const NamedSeparator& named : kSeparators) {
        offer(QString::fromUtf16(named.text));
    }
    quoteBox_->setObjectName(QStringLiteral("quoteBox"));
    for (const QuoteChoice& choice : kQuotes) {
        quoteBox_->addItem(QString::fromUtf16(choice.name), QChar(choice.quote));
        if (remembered.quote == QChar(choice.quote)) {
            quoteBox_->setCurrentIndex(quoteBox_->count() - 1);
        }
    }
    preview_->setObjectName(QStringLiteral("preview"));
    preview_->setReadOnly(true);
    preview_->setMinimumWidth(360);
    length_->setObjectName(QStringLiteral("length"));
    // Reachable by Tab, so that a screen reader reads it like the preview above it.
    length_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* copy = buttons->addButton(QStringLiteral("&Copy"), QDialogButtonBox::AcceptRole);
    copy->setObjectName(QStringLiteral("copyButton"));
    copy->setDefault(true);
    buttons->addButton(QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* form = new QFormLayout;
    form->addRow(labelFor(separatorBox_, QStringLiteral("&Between rows:"), this), separatorBox_);
    form->addRow(labelFor(quoteBox_, QStringLiteral("&Put each row in:"), this), quoteBox_);
    form->addRow(labelFor(preview_, QStringLiteral("Pre&view:"), this), preview_);
    form->addRow(labelFor(length_, QStringLiteral("Length:"), this), length_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    setTabOrder(separatorBox_, quoteBox_);
    setTabOrder(quoteBox_, preview_);
    setTabOrder(preview_, length_);
    setTabOrder(length_, copy);

    chosenSeparator_ = separatorBox_->currentIndex();
    const auto choose = [this](int index) {
        if (keepTyped_ || index == chosenSeparator_) {
            return;
        }
        chosenSeparator_ = index;
        showResult();
    };
    connect(separatorBox_, &QComboBox::currentIndexChanged, this, choose);
    connect(separatorBox_, &QComboBox::activated, this, choose);
    // Typing makes the box's text its own; so does any other change that leaves it apart
    // from the chosen item's name (an undo, say). Choosing an item changes the text before
    // the index, and is then put right.
    connect(separatorBox_->lineEdit(), &QLineEdit::textEdited, this,
            [this] { chosenSeparator_ = -1; });
    connect(separatorBox_, &QComboBox::editTextChanged, this, [this](const QString& text) {
        if (chosenSeparator_ >= 0 && text != separatorBox_->itemText(chosenSeparator_)) {
            chosenSeparator_ = -1;
        }
        showResult();
    });
    connect(quoteBox_, &QComboBox::currentIndexChanged, this, &OneLineDialog::showResult);
    showResult();
    separatorBox_->setFocus();
}

QString OneLineDialog::separator() const {
    // An item chosen from the list stands for its characters; typed text is used as typed.
    return chosenSeparator_ >= 0 ? separatorBox_->itemData(chosenSeparator_).toString()
                                 : separatorBox_->currentText();
}

QChar OneLineDialog::quote() const {
    return quoteBox_->currentData().value<QChar>();
}

OneLineFormat OneLineDialog::format() const {
    return {separator(), quote()};
}

void OneLineDialog::showResult() {
    const OneLineFormat chosen = format();
    qsizetype quotes = 0;
    if (!chosen.quote.isNull()) {
        qsizetype& counted = quotesInRows_[chosen.quote == u'"' ? 1 : 0];
        if (counted < 0) {
            counted = QuotesInRows(rows_, chosen.quote);
        }
        quotes = counted;
    }
    preview_->setText(withVisibleControls(OneLinePreview(rows_, chosen, kPreviewChars)));
    preview_->setCursorPosition(0);
    const qsizetype length = OneLineLength(rows_, chosen, quotes);
    length_->setText(QStringLiteral("%1 %2").arg(
        locale().toString(length),
        length == 1 ? QStringLiteral("character") : QStringLiteral("characters")));
    // A label's accessible name stands in for its text: without the figure in it a screen
    // reader would say only "Length".
    length_->setAccessibleName(QStringLiteral("Length: ") + length_->text());
}
