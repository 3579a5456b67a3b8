#include "batch_window/batch_window.h"
#include "core/failure.h"
#include "core/fault_injection.h"
#include "main_window/main_window.h"
#include "shell/skin_framework.h"
#include "shell/window_theme.h"
#include "support/fake_platform.h"
#include "support/window_controls.h"
#include "widgets/line_box/line_box.h"
#include "widgets/report_list/report_list.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

namespace {
QColor buttonFace() {
    return QGuiApplication::palette().color(QPalette::Button);
}

QColor background(const QWidget* widget) {
    return widget->palette().color(QPalette::Window);
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray shippedSkin() {
    QFile file(QStringLiteral(QUORVANE_SOURCE_DIR "/resources/program_folder/x/o.cjs"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Records each call with the main window's colour at that moment.
class RecordingSkin : public SkinFramework {
  public:
    explicit RecordingSkin(QWidget* window) : window_(window) {}

    void loadSkin(const QString& path, const QString& scheme) override {
        record(QStringLiteral("load %1 [%2]").arg(path, scheme));
        if (failAt == QStringLiteral("load")) {
            throw Failure(QStringLiteral("Skin failed"));
        }
    }
    int options() const override {
        calls << QStringLiteral("read options");
        return startOptions;
    }
    void setOptions(int options) override { record(QStringLiteral("options %1").arg(options)); }
    void setRoundedCorners(bool on) override {
        record(QStringLiteral("property 5 %1").arg(on ? 1 : 0));
    }
    void setHoverEffects(bool on) override {
        record(QStringLiteral("property 10 %1").arg(on ? 1 : 0));
    }
    void applyWindow(QWidget* window) override {
        record(window == window_ ? QStringLiteral("apply to the window")
                                 : QStringLiteral("apply elsewhere"));
    }

    mutable QStringList calls;
    QList<QColor> coloursSeen;
    int startOptions = 0;
    QString failAt;

  private:
    void record(const QString& call) {
        calls << call;
        coloursSeen << background(window_);
    }
    QWidget* window_;
};
}  // namespace

class ThemeTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();
    void cleanup();

    void mainWindowTakesColoursAndSkinOnlyWithTheSkinFile_data();
    void mainWindowTakesColoursAndSkinOnlyWithTheSkinFile();
    void skinCallsComeInOrderAfterTheColours_data();
    void skinCallsComeInOrderAfterTheColours();
    void failingSkinCallEndsTheTheme();
    void failuresAreReportedUnderStep102AndLoadingGoesOn_data();
    void failuresAreReportedUnderStep102AndLoadingGoesOn();
    void coloursReachFramesLabelsAndChoicesOnly();
    void batchWindowAlwaysTakesTheColours_data();
    void batchWindowAlwaysTakesTheColours();
    void colourFailureInTheBatchWindowIsReportedUnderStep100();
    void shippedSkinStylesTheWindowThroughItsProperties();
    void skinThatIsNotTextIsRefused();
};

void ThemeTest::initTestCase() {
    // The checks below compare against the designed white.
    QVERIFY(buttonFace() != QColor(Qt::white));
    QVERIFY(!shippedSkin().isEmpty());
}

void ThemeTest::cleanup() {
    FaultInjection::disarmAll();
}

void ThemeTest::mainWindowTakesColoursAndSkinOnlyWithTheSkinFile_data() {
    QTest::addColumn<QString>("skinFile");  // "file", "folder" or "none"
    QTest::addColumn<bool>("themed");
    QTest::newRow("no skin file") << "none" << false;
    QTest::newRow("a folder named like the skin") << "folder" << false;
    QTest::newRow("skin file") << "file" << true;
}

void ThemeTest::mainWindowTakesColoursAndSkinOnlyWithTheSkinFile() {
    QFETCH(QString, skinFile);
    QFETCH(bool, themed);
    QTemporaryDir folder;
    if (skinFile == QStringLiteral("file")) {
        writeFile(folder.filePath(QStringLiteral("x/o.cjs")), shippedSkin());
    } else if (skinFile == QStringLiteral("folder")) {
        QVERIFY(QDir(folder.path()).mkpath(QStringLiteral("x/o.cjs")));
    }
    FakePlatform fake;
    fake.programFolder.folder = folder.path();
    MainWindow form(fake.platform);
    const QColor designed = background(&form);
    const QColor designedFrame = background(controls(form).lineFrame);

    form.load();

    QVERIFY2(fake.messages.shown.empty(), qPrintable(fake.messages.texts().join('|')));
    QCOMPARE(!form.styleSheet().isEmpty(), themed);
    if (themed) {
        QCOMPARE(form.styleSheet().toUtf8(), shippedSkin());
        QCOMPARE(form.property("skinControls").toBool(), true);
        for (QGroupBox* frame : {controls(form).lineFrame, controls(form).delimiterFrame}) {
            QVERIFY(frame->autoFillBackground());
        }
    } else {
        QCOMPARE(background(&form), designed);
        QCOMPARE(background(controls(form).lineFrame), designedFrame);
        QCOMPARE(background(controls(form).delimiterFrame), designedFrame);
        QVERIFY(!controls(form).lineFrame->autoFillBackground());
    }
}

void ThemeTest::skinCallsComeInOrderAfterTheColours_data() {
    QTest::addColumn<int>("startOptions");
    QTest::addColumn<int>("writtenOptions");
    QTest::newRow("no options set") << 0 << 1;
    QTest::newRow("other options kept") << 6 << 7;
    QTest::newRow("bit already set") << 1 << 1;
}

void ThemeTest::skinCallsComeInOrderAfterTheColours() {
    QFETCH(int, startOptions);
    QFETCH(int, writtenOptions);
    QTemporaryDir folder;
    writeFile(folder.filePath(QStringLiteral("x/o.cjs")), "QWidget {}");
    FakeProgramFolder programFolder;
    programFolder.folder = folder.path();
    QWidget window;
    window.setPalette(QPalette(Qt::white));
    RecordingSkin skin(&window);
    skin.startOptions = startOptions;

    ApplyMainWindowTheme(&window, programFolder, skin);

    const QStringList expected{
        QStringLiteral("load %1 []").arg(folder.filePath(QStringLiteral("x/o.cjs"))),
        QStringLiteral("read options"),
        QStringLiteral("options %1").arg(writtenOptions),
        QStringLiteral("property 5 1"),
        QStringLiteral("property 10 1"),
        QStringLiteral("apply to the window")};
    QCOMPARE(skin.calls, expected);
    for (const QColor& seen : skin.coloursSeen) {
        QCOMPARE(seen, buttonFace());
    }
}

void ThemeTest::failingSkinCallEndsTheTheme() {
    QTemporaryDir folder;
    writeFile(folder.filePath(QStringLiteral("x/o.cjs")), "QWidget {}");
    FakeProgramFolder programFolder;
    programFolder.folder = folder.path();
    QWidget window;
    RecordingSkin skin(&window);
    skin.failAt = QStringLiteral("load");

    QVERIFY_THROWS_EXCEPTION(Failure, ApplyMainWindowTheme(&window, programFolder, skin));

    QCOMPARE(skin.calls.size(), 1);
    QVERIFY(skin.calls.front().startsWith(QStringLiteral("load ")));
}

void ThemeTest::failuresAreReportedUnderStep102AndLoadingGoesOn_data() {
    QTest::addColumn<QByteArray>("skin");
    QTest::addColumn<bool>("colourFails");
    QTest::addColumn<QString>("description");
    QTest::newRow("skin is not text") << QByteArray("QWidget { color: \xff\xfe; }") << false
                                      << "The skin file is not a style sheet: ";
    QTest::newRow("colour assignment fails") << shippedSkin() << true << "Injected failure";
}

void ThemeTest::failuresAreReportedUnderStep102AndLoadingGoesOn() {
    QFETCH(QByteArray, skin);
    QFETCH(bool, colourFails);
    QFETCH(QString, description);
    QTemporaryDir folder;
    writeFile(folder.filePath(QStringLiteral("x/o.cjs")), skin);
    FakePlatform fake;
    fake.programFolder.folder = folder.path();
    MainWindow form(fake.platform);
    if (colourFails) {
        FaultInjection::arm("theme.colour", 1);
    }

    form.load();

    QCOMPARE(fake.messages.shown.size(), size_t(1));
    const QString report = fake.messages.shown.front().text;
    QVERIFY2(report.startsWith(description), qPrintable(report));
    QVERIFY2(report.contains(QStringLiteral("in Quorvane2021/08/31.Form1.Form_Load at line 102\r")),
             qPrintable(report));
    // The routine ended at the failure: no skin on the window.
    QVERIFY(form.styleSheet().isEmpty());
    // The later steps still ran.
    QCOMPARE(form.windowTitle(), QStringLiteral("Quorvane"));
    QCOMPARE(controls(form).resultsList->headerText(1), QStringLiteral("Output"));
    QCOMPARE(controls(form).delimiterBox->text(), QStringLiteral(","));
}

void ThemeTest::coloursReachFramesLabelsAndChoicesOnly() {
    QWidget window;
    auto* frame = new QGroupBox(QStringLiteral("Frame"), &window);
    auto* label = new QLabel(QStringLiteral("Label"), frame);  // inside a frame too
    auto* check = new QCheckBox(QStringLiteral("Check"), &window);
    auto* option = new QRadioButton(QStringLiteral("Option"), frame);
    auto* box = new QLineEdit(frame);
    auto* button = new QPushButton(QStringLiteral("Button"), &window);
    auto* ownWindow = new QWidget(&window, Qt::Window);
    auto* labelOfOwnWindow = new QLabel(QStringLiteral("Elsewhere"), ownWindow);

    ApplyWindowColours(&window);

    for (QWidget* coloured : QList<QWidget*>{&window, frame, label, check, option}) {
        QVERIFY2(coloured->testAttribute(Qt::WA_SetPalette), coloured->metaObject()->className());
        QCOMPARE(background(coloured), buttonFace());
        QVERIFY(coloured->autoFillBackground());
    }
    for (QWidget* untouched : QList<QWidget*>{box, button, ownWindow, labelOfOwnWindow}) {
        QVERIFY2(!untouched->testAttribute(Qt::WA_SetPalette),
                 untouched->metaObject()->className());
        QVERIFY(!untouched->autoFillBackground());
    }
}

void ThemeTest::batchWindowAlwaysTakesTheColours_data() {
    QTest::addColumn<bool>("withSkin");
    QTest::newRow("without the skin file") << false;
    QTest::newRow("with the skin file") << true;
}

void ThemeTest::batchWindowAlwaysTakesTheColours() {
    QFETCH(bool, withSkin);
    QTemporaryDir folder;
    if (withSkin) {
        writeFile(folder.filePath(QStringLiteral("x/o.cjs")), shippedSkin());
    }
    FakePlatform fake;
    fake.programFolder.folder = folder.path();
    BatchWindow form(fake.platform, nullptr);

    form.load();

    QVERIFY(fake.messages.shown.empty());
    QCOMPARE(background(&form), buttonFace());
    QCOMPARE(background(controls(form).delimiterFrame), buttonFace());
    QVERIFY(controls(form).delimiterFrame->autoFillBackground());
    // The skin belongs to the main window alone.
    QVERIFY(form.styleSheet().isEmpty());
}

void ThemeTest::colourFailureInTheBatchWindowIsReportedUnderStep100() {
    FakePlatform fake;
    BatchWindow form(fake.platform, nullptr);
    FaultInjection::arm("theme.colour", 1);

    form.load();

    QCOMPARE(fake.messages.shown.size(), size_t(1));
    QVERIFY2(fake.messages.shown.front().text.contains(
                 QStringLiteral("in Quorvane2021/08/31.Form2.Form_Load at line 100\r")),
             qPrintable(fake.messages.shown.front().text));
    QCOMPARE(controls(form).delimiterBox->text(), QStringLiteral(","));
}

void ThemeTest::shippedSkinStylesTheWindowThroughItsProperties() {
    QWidget window;
    auto* button = new QPushButton(QStringLiteral("Button"), &window);
    SkinFramework skin;
    skin.loadSkin(QStringLiteral(QUORVANE_SOURCE_DIR "/resources/program_folder/x/o.cjs"),
                  QStringLiteral("dark"));
    skin.setOptions(SkinOption::kSkinControls);
    skin.setRoundedCorners(true);

    skin.applyWindow(&window);
    window.ensurePolished();
    button->ensurePolished();

    QCOMPARE(window.property("skinScheme").toString(), QStringLiteral("dark"));
    QCOMPARE(window.property("skinRoundedCorners").toBool(), true);
    QCOMPARE(window.property("skinHoverEffects").toBool(), false);
    // The skin's rules reach the window's controls through the property selectors.
    QCOMPARE(background(&window), QColor(0xf3, 0xf5, 0xf9));
    QCOMPARE(button->palette().color(QPalette::Button), QColor(Qt::white));
}

void ThemeTest::skinThatIsNotTextIsRefused() {
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("o.cjs"));
    writeFile(path, QByteArray("QWidget {}\0\0", 12));
    SkinFramework skin;
    QVERIFY_THROWS_EXCEPTION(Failure, skin.loadSkin(path, QString()));
    QVERIFY_THROWS_EXCEPTION(Failure, skin.loadSkin(folder.filePath("missing.cjs"), QString()));
    QWidget window;
    // Nothing loaded: nothing to apply.
    QVERIFY_THROWS_EXCEPTION(Failure, skin.applyWindow(&window));
    QVERIFY(window.styleSheet().isEmpty());
}

QTEST_MAIN(ThemeTest)
#include "test_theme.moc"
