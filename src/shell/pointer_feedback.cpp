#include "shell/pointer_feedback.h"

#include "platform/pointer_shapes.h"
#include "platform/program_folder.h"
#include "shell/file_exists.h"
#include "shell/handler_guard.h"
#include "shell/mouse_pointer.h"

#include <QEvent>
#include <QGroupBox>
#include <QHash>
#include <QMouseEvent>
#include <QWidget>

void LoadHandPointer(HandlerGuard& on, const ProgramFolder& programFolder, PointerShapes& shapes,
                     WindowMousePointer& pointer) {
    QString path;
    if (on.test(104, [&] {
            path = HandPointerPath(programFolder);
            return FileExists(path);
        })) {
        on.step(106, [&] { pointer.setCustomImage(shapes.loadCursorFile(path)); });
    }
}

QString HandPointerPath(const ProgramFolder& programFolder) {
    return programFolder.path() + QStringLiteral("/HAND-M.CUR");
}

namespace {
// The window and its frames hold other controls, each with a rule of its own or none. Any
// other watched widget is a single control, and its inner parts (a list's viewport, header
// and scroll bars) count as the control.
bool holdsControls(const QWidget* widget) {
    return widget->isWindow() || qobject_cast<const QGroupBox*>(widget) != nullptr;
}

class HoverRules : public QObject {
  public:
    HoverRules(QObject* owner, WindowMousePointer& pointer) : QObject(owner), pointer_(pointer) {}

    void watch(QWidget* control, PointerShape shape) {
        watchOne(control, shape);
        if (!holdsControls(control)) {
            for (QWidget* part : control->findChildren<QWidget*>()) {
                watchOne(part, shape);
            }
        }
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::MouseMove) {
            return false;
        }
        auto* widget = static_cast<QWidget*>(watched);
        // A move over a child reaches its parents too when the child lets it pass; only the
        // widget right under the pointer decides, so a control without a rule (a progress bar)
        // leaves the shape as it was.
        const QPoint position = static_cast<QMouseEvent*>(event)->position().toPoint();
        if (widget->childAt(position) != nullptr) {
            return false;
        }
        if (pointer_.value() != PointerShape::Hourglass) {
            pointer_.set(shapes_.value(widget, PointerShape::Default));
        }
        return false;
    }

  private:
    void watchOne(QWidget* widget, PointerShape shape) {
        shapes_.insert(widget, shape);
        // Plain moves (no button held) reach only widgets that track the mouse.
        widget->setMouseTracking(true);
        widget->installEventFilter(this);
    }

    WindowMousePointer& pointer_;
    QHash<const QWidget*, PointerShape> shapes_;
};
}  // namespace

void InstallPointerFeedback(WindowMousePointer& pointer, const QList<QWidget*>& buttons,
                            const QList<QWidget*>& arrowAreas) {
    QWidget* any = !buttons.isEmpty() ? buttons.first() : arrowAreas.value(0);
    if (any == nullptr) {
        return;
    }
    // Lives as long as the window whose pointer it switches.
    auto* rules = new HoverRules(any->window(), pointer);
    for (QWidget* area : arrowAreas) {
        rules->watch(area, PointerShape::Default);
    }
    for (QWidget* button : buttons) {
        rules->watch(button, PointerShape::Custom);
    }
}
