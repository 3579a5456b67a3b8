#include "shell/window_controls.h"

#include "shell/button_keys.h"
#include "shell/window_layout.h"
#include "widgets/line_box/line_box.h"
#include "widgets/report_list/report_list.h"

#include <QGroupBox>
#include <QPushButton>

namespace WindowControls {

QPushButton* button(QWidget* parent, const QString& caption, int left, int top, int width,
                    int height) {
    auto* created = new QPushButton(caption, parent);
    created->setFont(WindowLayout::buttonFont());
    WindowLayout::place(created, left, top, width, height);
    ButtonKeys::pressOnEnter(created);
    return created;
}

QGroupBox* frame(QWidget* parent, const QString& caption, int left, int top, int width,
                 int height) {
    auto* created = new QGroupBox(caption, parent);
    WindowLayout::place(created, left, top, width, height);
    return created;
}

LineBox* frameTextBox(QGroupBox* frame) {
    auto* box = new LineBox(frame);
    WindowLayout::place(box, 240, 300, 7320, 330);
    box->setAccessibleName(frame->title());
    return box;
}

ReportList* list(QWidget* parent, int left, int top, int width, int height) {
    auto* created = new ReportList(parent);
    created->setFont(WindowLayout::windowFont());
    WindowLayout::place(created, left, top, width, height);
    return created;
}

}  // namespace WindowControls
