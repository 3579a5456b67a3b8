#pragma once

#include "core/row_tidying.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

// Asks which of the tidy steps "Clean Up" runs, in one go, and says before anything runs what
// will be done to how many rows. Opens with the choices of the last clean-up.
class CleanUpDialog : public QDialog {
    Q_OBJECT
  public:
    CleanUpDialog(qsizetype rows, const CleanUpSteps& steps, QWidget* parent);

    CleanUpSteps steps() const;

    // The steps of the last clean-up, across runs; the first time, all but the case and sort.
    static CleanUpSteps rememberedSteps();
    static void rememberSteps(const CleanUpSteps& steps);

  private:
    void showWhatWillHappen();

    qsizetype rows_;
    QCheckBox* trim_;
    QCheckBox* empty_;
    QCheckBox* duplicates_;
    QCheckBox* ignoreCase_;
    QComboBox* sort_;
    QLabel* whatWillHappen_;
    QPushButton* cleanUp_;
};
