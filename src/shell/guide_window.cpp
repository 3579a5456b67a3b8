#include "shell/guide_window.h"

#include "shell/app_icon.h"

#include <QFile>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace {
const QString kTitle = QStringLiteral("Quorvane Guide");
}  // namespace

// Outside any namespace, as the resource macro requires.
static QString GuideHtml() {
    // Compiled into this static library; naming the resource keeps the linker from leaving it
    // out of the program.
    Q_INIT_RESOURCE(guide);
    QFile file(QStringLiteral(":/guide/guide.html"));
    if (!file.open(QIODevice::ReadOnly)) {
        return QStringLiteral("<p>The guide could not be read from the program.</p>");
    }
    return QString::fromUtf8(file.readAll());
}

GuideWindow::GuideWindow(QWidget* owner) : QWidget(owner, Qt::Window), text_(new QTextBrowser) {
    setObjectName(QStringLiteral("guideWindow"));
    setWindowTitle(kTitle);
    setWindowIcon(ApplicationIcon());
    text_->setObjectName(QStringLiteral("guideText"));
    text_->setAccessibleName(kTitle);
    // Links inside the guide move within it; nothing leaves the program.
    text_->setOpenLinks(true);
    text_->setOpenExternalLinks(false);
    text_->setHtml(GuideHtml());
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(text_);
    auto* close = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(close, &QShortcut::activated, this, &QWidget::close);

    // Forty lines of text at most, and never more than the screen has room for.
    const int line = fontMetrics().lineSpacing();
    QSize size(line * 36, line * 40);
    if (const QScreen* screen =
            owner != nullptr ? owner->screen() : QGuiApplication::primaryScreen()) {
        size = size.boundedTo(screen->availableGeometry().size() * 0.8);
    }
    resize(size);
}

GuideWindow* GuideWindow::showFor(QWidget* owner, const QString& section) {
    auto* guide = owner->findChild<GuideWindow*>(QString(), Qt::FindDirectChildrenOnly);
    if (guide == nullptr) {
        guide = new GuideWindow(owner);
    }
    guide->show();
    guide->raise();
    guide->activateWindow();
    if (!section.isEmpty()) {
        guide->text_->scrollToAnchor(section);  // once shown, when its lines are laid out
    }
    return guide;
}

void GuideWindow::addKey(QWidget* window, QPushButton* helpButton, const QString& helpDoes,
                         QWidget* owner, const QString& section) {
    auto* shortcut = new QShortcut(QKeySequence(Qt::Key_F1), window);
    shortcut->setContext(Qt::WindowShortcut);
    owner = owner != nullptr ? owner : window;
    connect(shortcut, &QShortcut::activated, owner, [owner, section] { showFor(owner, section); });
    helpButton->setToolTip(helpDoes + QStringLiteral(" F1 opens the ") + kTitle +
                           QStringLiteral(", which needs no network."));
}

QString GuideWindow::plainText() const {
    return text_->toPlainText();
}
