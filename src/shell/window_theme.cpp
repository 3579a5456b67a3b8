#include "shell/window_theme.h"

#include "core/failure.h"
#include "core/fault_injection.h"
#include "platform/program_folder.h"
#include "shell/skin_framework.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPalette>
#include <QRadioButton>
#include <QWidget>

namespace {
// The platform's "button face": the colour its buttons are drawn in.
QColor buttonFace() {
    return QGuiApplication::palette().color(QPalette::Button);
}

void setBackground(QWidget* widget, const QColor& colour) {
    FaultInjection::hit("theme.colour");
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

bool takesWindowColour(const QWidget* control) {
    return qobject_cast<const QRadioButton*>(control) != nullptr ||
           qobject_cast<const QCheckBox*>(control) != nullptr ||
           qobject_cast<const QGroupBox*>(control) != nullptr ||
           qobject_cast<const QLabel*>(control) != nullptr;
}

// Controls of this window only: another window it owns keeps its own colours.
void colourControls(QWidget* widget, const QColor& colour) {
    for (QObject* object : widget->children()) {
        auto* child = qobject_cast<QWidget*>(object);
        if (child == nullptr || child->isWindow()) {
            continue;
        }
        if (takesWindowColour(child)) {
            setBackground(child, colour);
        }
        colourControls(child, colour);
    }
}

// A plain file of that name; a folder of that name does not count.
bool OrdinaryFileExists(const QString& path) {
    return QFileInfo(path).isFile();
}
}  // namespace

QString SkinFilePath(const ProgramFolder& programFolder) {
    return programFolder.path() + QStringLiteral("/x/o.cjs");
}

void ApplyWindowColours(QWidget* window) {
    if (window == nullptr) {
        throw Failure(QStringLiteral("Object variable not set"));
    }
    const QColor colour = buttonFace();
    setBackground(window, colour);
    colourControls(window, colour);
}

void ApplyMainWindowTheme(QWidget* mainWindow, const ProgramFolder& programFolder) {
    if (mainWindow == nullptr) {
        throw Failure(QStringLiteral("Object variable not set"));
    }
    auto* skin = mainWindow->findChild<SkinFramework*>(QStringLiteral("SkinFramework1"),
                                                       Qt::FindDirectChildrenOnly);
    if (skin == nullptr) {
        skin = new SkinFramework(mainWindow);
        skin->setObjectName(QStringLiteral("SkinFramework1"));
    }
    ApplyMainWindowTheme(mainWindow, programFolder, *skin);
}

void ApplyMainWindowTheme(QWidget* mainWindow, const ProgramFolder& programFolder,
                          SkinFramework& skin) {
    const QString skinPath = SkinFilePath(programFolder);
    if (!OrdinaryFileExists(skinPath)) {
        return;
    }
    ApplyWindowColours(mainWindow);
    skin.loadSkin(skinPath, QString());
    skin.setOptions(skin.options() | SkinOption::kSkinControls);
    skin.setRoundedCorners(true);
    skin.setHoverEffects(true);
    skin.applyWindow(mainWindow);
}
