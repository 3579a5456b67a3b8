#include "list_tidying/clean_up_dialog.h"

#include "shell/remembered_choices.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace {

// The sort choice's items, in the box's order.
constexpr int kKeepOrder = 0;
constexpr int kAToZ = 1;
constexpr int kZToA = 2;

const QString kSortKey = QStringLiteral("cleanUp/sort");

QString sortName(const std::optional<SortOrder>& sort) {
    if (!sort) {
        return QStringLiteral("keep");
    }
    return *sort == SortOrder::AToZ ? QStringLiteral("aToZ") : QStringLiteral("zToA");
}

}  // namespace

CleanUpDialog::CleanUpDialog(qsizetype rows, const CleanUpSteps& steps, QWidget* parent)
    : QDialog(parent),
      rows_(rows),
      trim_(new QCheckBox(QStringLiteral("&Trim Spaces"), this)),
      empty_(new QCheckBox(QStringLiteral("Remove &Empty Rows"), this)),
      duplicates_(new QCheckBox(QStringLiteral("Remove &Duplicate Rows"), this)),
      ignoreCase_(new QCheckBox(QStringLiteral("&Ignore Case"), this)),
      sort_(new QComboBox(this)),
      whatWillHappen_(new QLabel(this)) {
    setWindowTitle(QStringLiteral("Clean Up"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setModal(true);

    trim_->setObjectName(QStringLiteral("trimSpaces"));
    empty_->setObjectName(QStringLiteral("removeEmptyRows"));
    duplicates_->setObjectName(QStringLiteral("removeDuplicateRows"));
    ignoreCase_->setObjectName(QStringLiteral("ignoreCase"));
    sort_->setObjectName(QStringLiteral("sort"));
    whatWillHappen_->setObjectName(QStringLiteral("whatWillHappen"));
    trim_->setChecked(steps.trimSpaces);
    empty_->setChecked(steps.removeEmptyRows);
    duplicates_->setChecked(steps.removeDuplicateRows);
    ignoreCase_->setChecked(steps.ignoreCase);
    sort_->addItems(
        {QStringLiteral("Keep Order"), QStringLiteral("A to Z"), QStringLiteral("Z to A")});
    sort_->setCurrentIndex(!steps.sort                      ? kKeepOrder
                           : *steps.sort == SortOrder::AToZ ? kAToZ
                                                            : kZToA);
    whatWillHappen_->setWordWrap(true);
    // Reachable by Tab, so that a screen reader reads what the choices will do.
    whatWillHappen_->setTextInteractionFlags(Qt::TextSelectableByMouse |
                                             Qt::TextSelectableByKeyboard);

    auto* buttons = new QDialogButtonBox(this);
    cleanUp_ = buttons->addButton(QStringLiteral("&Clean Up"), QDialogButtonBox::AcceptRole);
    cleanUp_->setObjectName(QStringLiteral("cleanUpButton"));
    cleanUp_->setDefault(true);
    buttons->addButton(QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    // "Ignore Case" belongs to the duplicates: indented under them, and off with them.
    auto* ignoreCaseRow = new QHBoxLayout;
    ignoreCaseRow->addSpacing(style()->pixelMetric(QStyle::PM_IndicatorWidth) +
                              style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing));
    ignoreCaseRow->addWidget(ignoreCase_);
    auto* sortLabel = new QLabel(QStringLiteral("&Sort:"), this);
    sortLabel->setBuddy(sort_);
    sort_->setAccessibleName(QStringLiteral("Sort:"));
    auto* sortRow = new QHBoxLayout;
    sortRow->addWidget(sortLabel);
    sortRow->addWidget(sort_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(trim_);
    layout->addWidget(empty_);
    layout->addWidget(duplicates_);
    layout->addLayout(ignoreCaseRow);
    layout->addLayout(sortRow);
    layout->addWidget(whatWillHappen_);
    layout->addWidget(buttons);

    for (QCheckBox* box : {trim_, empty_, duplicates_, ignoreCase_}) {
        connect(box, &QCheckBox::toggled, this, &CleanUpDialog::showWhatWillHappen);
    }
    connect(sort_, &QComboBox::currentIndexChanged, this, &CleanUpDialog::showWhatWillHappen);
    showWhatWillHappen();
    trim_->setFocus();
}

CleanUpSteps CleanUpDialog::steps() const {
    CleanUpSteps steps;
    steps.trimSpaces = trim_->isChecked();
    steps.removeEmptyRows = empty_->isChecked();
    steps.removeDuplicateRows = duplicates_->isChecked();
    steps.ignoreCase = ignoreCase_->isChecked();
    if (sort_->currentIndex() == kAToZ) {
        steps.sort = SortOrder::AToZ;
    } else if (sort_->currentIndex() == kZToA) {
        steps.sort = SortOrder::ZToA;
    }
    return steps;
}

void CleanUpDialog::showWhatWillHappen() {
    // What each step removes is known only by running it; the order of the steps, which
    // decides what a duplicate is, is known now.
    ignoreCase_->setEnabled(duplicates_->isChecked());
    const CleanUpSteps chosen = steps();
    QStringList doing;
    if (chosen.trimSpaces) {
        doing << QStringLiteral("trim spaces");
    }
    if (chosen.removeEmptyRows) {
        doing << QStringLiteral("remove empty rows");
    }
    if (chosen.removeDuplicateRows) {
        doing << (chosen.ignoreCase ? QStringLiteral("remove duplicate rows, ignoring case")
                                    : QStringLiteral("remove duplicate rows"));
    }
    if (chosen.sort) {
        doing << (*chosen.sort == SortOrder::AToZ ? QStringLiteral("sort A to Z")
                                                  : QStringLiteral("sort Z to A"));
    }
    cleanUp_->setEnabled(chosen.any());
    if (!chosen.any()) {
        whatWillHappen_->setText(QStringLiteral("Nothing is chosen."));
        return;
    }
    QString text = locale().toString(rows_) +
                   (rows_ == 1 ? QStringLiteral(" row: ") : QStringLiteral(" rows: "));
    for (qsizetype i = 0; i < doing.size(); ++i) {
        text += i == 0                  ? doing[i]
                : i == doing.size() - 1 ? QStringLiteral(", then ") + doing[i]
                                        : QStringLiteral(", ") + doing[i];
    }
    whatWillHappen_->setText(text + QLatin1Char('.'));
}

CleanUpSteps CleanUpDialog::rememberedSteps() {
    CleanUpSteps steps;
    steps.trimSpaces =
        RememberedChoices::value(QStringLiteral("cleanUp/trimSpaces"), true).toBool();
    steps.removeEmptyRows =
        RememberedChoices::value(QStringLiteral("cleanUp/removeEmptyRows"), true).toBool();
    steps.removeDuplicateRows =
        RememberedChoices::value(QStringLiteral("cleanUp/removeDuplicateRows"), true).toBool();
    steps.ignoreCase =
        RememberedChoices::value(QStringLiteral("cleanUp/ignoreCase"), false).toBool();
    const QString sort = RememberedChoices::value(kSortKey).toString();
    if (sort == sortName(SortOrder::AToZ)) {
        steps.sort = SortOrder::AToZ;
    } else if (sort == sortName(SortOrder::ZToA)) {
        steps.sort = SortOrder::ZToA;
    }
    return steps;
}

void CleanUpDialog::rememberSteps(const CleanUpSteps& steps) {
    RememberedChoices::setValue(QStringLiteral("cleanUp/trimSpaces"), steps.trimSpaces);
    RememberedChoices::setValue(QStringLiteral("cleanUp/removeEmptyRows"), steps.removeEmptyRows);
    RememberedChoices::setValue(QStringLiteral("cleanUp/removeDuplicateRows"),
                                steps.removeDuplicateRows);
    RememberedChoices::setValue(QStringLiteral("cleanUp/ignoreCase"), steps.ignoreCase);
    RememberedChoices::setValue(kSortKey, sortName(steps.sort));
}
