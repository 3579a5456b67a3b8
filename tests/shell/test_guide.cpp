#include "main_window/main_window.h"
#include "shell/guide_window.h"
#include "support/fake_platform.h"
#include "support/window_controls.h"

#include <QAction>
#include <QMenu>
#include <QRegularExpression>
#include <QShortcut>
#include <QTest>

// The guide opened with F1 and kept true to the windows: every item of a results list's menu
// and every key a window answers must be in it.
class GuideTest : public QObject {
    Q_OBJECT
  private slots:
    void guideNamesEveryActionAndKeyOfTheWindow_data();
    void guideNamesEveryActionAndKeyOfTheWindow();
};

void GuideTest::guideNamesEveryActionAndKeyOfTheWindow_data() {
    QTest::addColumn<bool>("batch");
    QTest::newRow("main window") << false;
    QTest::newRow("batch window") << true;
}

void GuideTest::guideNamesEveryActionAndKeyOfTheWindow() {
    QFETCH(bool, batch);
    FakePlatform fake;
    MainWindow form(fake.platform);
    form.load();
    form.show();
    if (batch) {
        form.openBatchWindow();
    }
    QWidget* window = batch ? static_cast<QWidget*>(form.batchWindow()) : &form;

    // Gathered before the guide, a window of the main window's, adds keys of its own.
    QStringList named;
    const auto addKeys = [&](const QList<QKeySequence>& keys) {
        for (const QKeySequence& key : keys) {
            named << key.toString(QKeySequence::PortableText);
        }
    };
    const QList<QMenu*> menus = window->findChildren<QMenu*>(QStringLiteral("tidyMenu"));
    QVERIFY(!menus.isEmpty());
    for (const QMenu* menu : menus) {
        for (const QAction* action : menu->actions()) {
            // As the menu shows it: no access key marks, no shortcut after a Tab.
            named << action->text().section(QLatin1Char('\t'), 0, 0).remove(QLatin1Char('&'));
        }
    }
    for (const QShortcut* shortcut : window->findChildren<QShortcut*>()) {
        addKeys(shortcut->keys());
    }
    for (const QAction* action : window->findChildren<QAction*>()) {
        addKeys(action->shortcuts());
    }
    addKeys({QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_S),
             QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C), QKeySequence(Qt::Key_Escape),
             QKeySequence(Qt::Key_F1), QKeySequence(Qt::Key_Delete)});
    named.removeAll(QString());  // separators and actions without keys
    named.removeDuplicates();

    QVERIFY(window->findChild<QPushButton*>(QStringLiteral("helpButton"))
                ->toolTip()
                .contains(QStringLiteral("Quorvane Guide")));
    window->activateWindow();  // shortcuts take keys only in the active window
    QVERIFY(QTest::qWaitForWindowActive(window));
    QTest::keyClick(window->focusWidget(), Qt::Key_F1);
    auto* guide = form.findChild<GuideWindow*>();
    QVERIFY(guide != nullptr && guide->isVisible());
    QCOMPARE(guide->windowTitle(), QStringLiteral("Quorvane Guide"));

    // Whole names only: "Ctrl+S" inside "Ctrl+Shift+C" or "Del" inside "Delete" do not count.
    QStringList missing;
    for (const QString& name : named) {
        const QRegularExpression whole(
            QStringLiteral("(?<![\\w+])%1(?![\\w+])").arg(QRegularExpression::escape(name)));
        if (!guide->plainText().contains(whole)) {
            missing << name;
        }
    }
    QVERIFY2(missing.isEmpty(),
             qPrintable(QStringLiteral("Not in the guide: ") + missing.join(", ")));
}

QTEST_MAIN(GuideTest)
#include "test_guide.moc"
