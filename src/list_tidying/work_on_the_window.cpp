#include "list_tidying/work_on_the_window.h"

#include "shell/mouse_pointer.h"
#include "widgets/progress_bar/progress_bar.h"

void ShowWorkOnTheWindow(WindowMousePointer& pointer, ProgressBar& bar, const QString& caption) {
    pointer.set(PointerShape::Hourglass);
    bar.setValue(0);
    bar.setBarText(caption + QChar(0x2026));
}

void ShowTheWindowAtRest(WindowMousePointer& pointer, ProgressBar& bar) {
    pointer.set(PointerShape::Default);
    bar.setValue(0);
    bar.setBarText(QStringLiteral("Progress Bar"));
}
