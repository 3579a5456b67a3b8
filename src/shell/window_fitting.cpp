#include "shell/window_fitting.h"

#include <QApplication>
#include <QFrame>
#include <QGuiApplication>
#include <QList>
#include <QPointer>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>

#include <algorithm>

namespace WindowFitting {
namespace {
const char* const kDesignedSize = "quorvaneDesignedSize";

// Until the window manager has framed the window once, its frame is not known: the style's
// title bar height is a fair guess, and errs on the large side at high scale factors, where
// the window manager's own title bar is not scaled with the program.
QMargins frameOf(const QWidget* window) {
    const QRect frame = window->frameGeometry();
    const QRect inner = window->geometry();
    if (frame != inner) {
        return {inner.left() - frame.left(), inner.top() - frame.top(),
                frame.right() - inner.right(), frame.bottom() - inner.bottom()};
    }
    const int titleBar = window->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, window);
    const int border = window->style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth);
    return {border, titleBar + border, border, border};
}

QScrollArea* scrollViewOf(QWidget* window) {
    return window->findChild<QScrollArea*>(QStringLiteral("fittingView"),
                                           Qt::FindDirectChildrenOnly);
}

QList<QWidget*> tabStops(QWidget* window) {
    QList<QWidget*> stops;
    for (QWidget* at = window->nextInFocusChain(); at != window; at = at->nextInFocusChain()) {
        if ((at->focusPolicy() & Qt::TabFocus) != 0) {
            stops.append(at);
        }
    }
    return stops;
}

// Moves the window's controls, unchanged, into a scrolling view filling the window, in the
// designed tab order, which a change of parent would otherwise lose.
QScrollArea* wrapControls(QWidget* window, const QSize& designed) {
    const QList<QWidget*> stops = tabStops(window);
    QList<QWidget*> controls;
    for (QObject* child : window->children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (widget != nullptr && !widget->isWindow()) {
            controls.append(widget);
        }
    }
    auto* view = new QScrollArea(window);
    view->setObjectName(QStringLiteral("fittingView"));
    view->setFrameShape(QFrame::NoFrame);
    view->setFocusPolicy(Qt::NoFocus);
    auto* content = new QWidget;
    content->setObjectName(QStringLiteral("fittingContent"));
    content->setFixedSize(designed);
    content->setAutoFillBackground(true);
    for (QWidget* control : controls) {
        const QRect place = control->geometry();
        const bool shown = !control->isHidden();
        control->setParent(content);
        control->setGeometry(place);
        control->setVisible(shown);
    }
    view->setWidget(content);
    for (qsizetype i = 0; i + 1 < stops.size(); ++i) {
        QWidget::setTabOrder(stops[i], stops[i + 1]);
    }
    view->show();
    QPointer<QScrollArea> guarded(view);
    QObject::connect(qApp, &QApplication::focusChanged, view, [guarded](QWidget*, QWidget* now) {
        if (guarded && now != nullptr && guarded->widget()->isAncestorOf(now)) {
            guarded->ensureWidgetVisible(now, 8, 8);
        }
    });
    return view;
}
}  // namespace

void showCentredIn(QWidget* window, QWidget* firstControl, const QRect& area,
                   const QMargins& frame) {
    if (!window->property(kDesignedSize).isValid()) {
        window->setProperty(kDesignedSize, window->size());
    }
    const QSize designed = window->property(kDesignedSize).toSize();
    const QSize room = area.size().shrunkBy(frame);
    QScrollArea* view = scrollViewOf(window);
    QSize inner = designed;
    if (designed.width() > room.width() || designed.height() > room.height()) {
        if (view == nullptr) {
            view = wrapControls(window, designed);
        }
        // A scroll bar takes room beside the controls; give it that room where there is some.
        const int bar = window->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, view);
        const bool scrollsDown = designed.height() > room.height();
        const bool scrollsAcross = designed.width() + (scrollsDown ? bar : 0) > room.width();
        inner = QSize(std::min(designed.width() + (scrollsDown ? bar : 0), room.width()),
                      std::min(designed.height() + (scrollsAcross ? bar : 0), room.height()));
    }
    window->setFixedSize(inner);
    QRect frameRect = window->frameGeometry();
    if (view != nullptr) {
        view->setGeometry(window->rect());
        frameRect = QRect(QPoint(0, 0), inner.grownBy(frame));
    }
    frameRect.moveCenter(area.center());
    // The title bar stays on screen even where nothing else would fit.
    frameRect.moveTop(std::max(frameRect.top(), area.top()));
    frameRect.moveLeft(std::max(frameRect.left(), area.left()));
    window->move(frameRect.topLeft());
    window->show();
    firstControl->setFocus();
}

void showCentred(QWidget* window, QWidget* firstControl) {
    const QScreen* screen = window->screen();
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    if (screen == nullptr) {
        window->show();
        firstControl->setFocus();
        return;
    }
    showCentredIn(window, firstControl, screen->availableGeometry(), frameOf(window));
}

}  // namespace WindowFitting
