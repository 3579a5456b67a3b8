#include "list_tidying/one_line_dialog.h"

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
// Characters nobody can see in a list are offered by name.
constexpr NamedSeparator kSeparators[] = {
    {u", ", u", "},  {u"; ", u"; "},         {u",", u","},
    {u"Tab", u"\t"}, {u"Line break", u"\n"}, {u"Space", u" "},
};

QString nameOf(const QString& separator) {
    for (const NamedSeparator& named : kSeparators) {
        if (separator == QStringView(named.text)) {
            return QString::fromUtf16(named.name);
        }
    }
    return separator;
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

// A control's label with its mnemonic, and the same text without the ampersand as the
// control's accessible name.
QLabel* labelFor(QWidget* control, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setBuddy(control);
    control->setAccessibleName(QString(text).remove(QLatin1Char('&')));
    return label;
}

}  // namespace

OneLineDialog::OneLineDialog(RowStore rows, const QString& lastDelimiter, QWidget* parent)
    : QDialog(parent),
      rows_(std::move(rows)),
      separatorBox_(new QComboBox(this)),
      quoteBox_(new QComboBox(this)),
      preview_(new QLineEdit(this)),
      length_(new QLabel(this)) {
    setWindowTitle(QStringLiteral("Copy As One Line"));
    // A question to answer, not a window to keep: nothing to shrink or enlarge.
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setModal(true);

    separatorBox_->setObjectName(QStringLiteral("separatorBox"));
    separatorBox_->setEditable(true);
    separatorBox_->setInsertPolicy(QComboBox::NoInsert);
    // Completing "," to the offered ", " would change what the user typed, and an accepted
    // completion swallows the Return that should press "Copy".
    separatorBox_->setCompleter(nullptr);
    if (!lastDelimiter.isEmpty()) {
        separatorBox_->addItem(nameOf(lastDelimiter), lastDelimiter);
    }
    for (const NamedSeparator& named : kSeparators) {
        const QString text = QString::fromUtf16(named.text);
        if (text != lastDelimiter) {
            separatorBox_->addItem(QString::fromUtf16(named.name), text);
        }
    }
    quoteBox_->setObjectName(QStringLiteral("quoteBox"));
    for (const QuoteChoice& choice : kQuotes) {
        quoteBox_->addItem(QString::fromUtf16(choice.name), QChar(choice.quote));
    }
    preview_->setObjectName(QStringLiteral("preview"));
    preview_->setReadOnly(true);
    preview_->setMinimumWidth(360);
    length_->setObjectName(QStringLiteral("length"));

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
    setTabOrder(preview_, copy);

    connect(separatorBox_, &QComboBox::editTextChanged, this, &OneLineDialog::showResult);
    connect(quoteBox_, &QComboBox::currentIndexChanged, this, &OneLineDialog::showResult);
    showResult();
    separatorBox_->setFocus();
}

QString OneLineDialog::separator() const {
    // A name in the list stands for its characters; any other text is used as typed.
    const QString typed = separatorBox_->currentText();
    const int named = separatorBox_->findText(typed, Qt::MatchFixedString | Qt::MatchCaseSensitive);
    return named >= 0 ? separatorBox_->itemData(named).toString() : typed;
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
}
