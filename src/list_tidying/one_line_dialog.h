#pragma once

#include "core/one_line_join.h"
#include "core/row_store.h"

#include <QDialog>

#include <array>

class QComboBox;
class QLabel;
class QLineEdit;

// Asks how the rows become one line: what goes between rows (the last split's delimiter
// first, or any text typed), which quotes each row is put in, and shows the start of the
// result and its exact length before anything is copied.
class OneLineDialog : public QDialog {
    Q_OBJECT
  public:
    // How much of the result the preview shows.
    static constexpr qsizetype kPreviewChars = 300;

    // `rows` is a copy the dialog reads while it shows; `lastDelimiter` may be empty, and so
    // may what `remembered` holds: the user's choices of the last copy.
    OneLineDialog(RowStore rows, const QString& lastDelimiter, QWidget* parent,
                  const OneLineFormat& remembered = {});

    OneLineFormat format() const;
    RowStore takeRows() { return std::move(rows_); }

  private:
    QString separator() const;
    QChar quote() const;
    void showResult();

    RowStore rows_;
    QComboBox* separatorBox_;
    QComboBox* quoteBox_;
    QLineEdit* preview_;
    QLabel* length_;
    // The separator chosen from the list, or -1 while the box holds text typed in it: a
    // typed "Tab" is three letters, not the character the list's "Tab" stands for.
    int chosenSeparator_ = -1;
    bool keepTyped_ = false;
    // Quotes inside the rows, counted once per quote the first time it is chosen: counting
    // reads every row.
    std::array<qsizetype, 2> quotesInRows_{-1, -1};
};
