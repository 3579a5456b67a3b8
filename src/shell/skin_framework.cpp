#include "shell/skin_framework.h"

#include "core/failure.h"
#include "platform/file_system.h"

#include <QFile>
#include <QStringDecoder>
#include <QWidget>

namespace {
// A style sheet is a few kilobytes; anything far larger is not a skin.
constexpr qint64 kLargestSkin = 1 << 20;
}  // namespace

void SkinFramework::loadSkin(const QString& skinPath, const QString& scheme) {
    QFile file;
    try {
        OpenRegularFileForReading(file, skinPath);
    } catch (const Failure& failure) {
        throw Failure(QStringLiteral("Cannot read the skin file ") + skinPath +
                      QStringLiteral(": ") + failure.description());
    }
    if (file.size() > kLargestSkin) {
        throw Failure(QStringLiteral("The skin file is too large: ") + skinPath);
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        throw Failure(QStringLiteral("Cannot read the skin file ") + skinPath +
                      QStringLiteral(": ") + file.errorString());
    }
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString sheet = utf8(bytes);
    if (utf8.hasError() || sheet.contains(QChar::Null)) {
        throw Failure(QStringLiteral("The skin file is not a style sheet: ") + skinPath);
    }
    styleSheet_ = std::move(sheet);
    scheme_ = scheme;
    loaded_ = true;
}

void SkinFramework::applyWindow(QWidget* window) {
    if (window == nullptr) {
        throw Failure(QStringLiteral("Object variable not set"));
    }
    if (!loaded_) {
        throw Failure(QStringLiteral("No skin loaded"));
    }
    window->setProperty("skinScheme", scheme_);
    window->setProperty("skinControls", (options_ & SkinOption::kSkinControls) != 0);
    window->setProperty("skinRoundedCorners", roundedCorners_);
    window->setProperty("skinHoverEffects", hoverEffects_);
    // Set after the properties: the sheet's property selectors are matched as it polishes.
    window->setStyleSheet(styleSheet_);
}
