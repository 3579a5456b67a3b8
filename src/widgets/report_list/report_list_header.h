#pragma once

#include <QHeaderView>

#include <functional>

// The list's column header, which also shows a short note in its spare space at the right (the
// row count, or what an action did), read from `note` each time it paints: the list only asks
// for a repaint when the note may have changed, never once per row.
class ReportListHeader : public QHeaderView {
  public:
    explicit ReportListHeader(QWidget* parent);

    void setNote(std::function<QString()> note) { note_ = std::move(note); }
    // Room kept free at the right end, for a button over the header.
    void setNoteRightMargin(int pixels);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    std::function<QString()> note_;
    int rightMargin_ = 0;
};
