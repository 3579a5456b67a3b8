#pragma once

#include <QObject>
#include <QString>

class QWidget;

// Option flags of the skin component.
namespace SkinOption {
// Colours of the window's controls (frames, buttons, lists, text boxes) follow the skin too,
// not only the window's own background.
constexpr int kSkinControls = 1;
}  // namespace SkinOption

// The main window's skin component. A skin is a Qt style sheet; its rules may select on the
// window properties "skinScheme", "skinControls", "skinRoundedCorners" and "skinHoverEffects",
// which applyWindow sets from the calls below, so one skin file can offer several looks.
class SkinFramework : public QObject {
    Q_OBJECT
  public:
    explicit SkinFramework(QObject* parent = nullptr) : QObject(parent) {}

    // Reads the skin; `scheme` names one of its looks, empty for its default. A skin that
    // cannot be read, or is not UTF-8 text, is a Failure.
    virtual void loadSkin(const QString& skinPath, const QString& scheme);

    virtual int options() const { return options_; }
    virtual void setOptions(int options) { options_ = options; }

    virtual void setRoundedCorners(bool on) { roundedCorners_ = on; }
    virtual void setHoverEffects(bool on) { hoverEffects_ = on; }

    // Lays the loaded skin on `window` and everything in it; without a skin it is a Failure.
    virtual void applyWindow(QWidget* window);

  private:
    QString styleSheet_;
    QString scheme_;
    bool loaded_ = false;
    int options_ = 0;
    bool roundedCorners_ = false;
    bool hoverEffects_ = false;
};
