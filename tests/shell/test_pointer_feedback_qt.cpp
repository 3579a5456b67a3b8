#include "core/failure.h"
#include "platform/qt/qt_pointer_shapes.h"
#include "widgets/line_box/line_box.h"

#include <QFile>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

// The real pointer shapes: the shipped hand pointer file, and what each shape covers.
class QtPointerShapesTest : public QObject {
    Q_OBJECT
  private slots:
    void shippedHandPointsWithItsFingertip();
    void fileThatIsNotACursorIsAFailure_data();
    void fileThatIsNotACursorIsAFailure();
    void hourglassCoversTextBoxesAndListsAndComesOff();
    void handShowsOverButtonsButNotOverTextBoxes();
};

namespace {
const QString kHandFile =
    QStringLiteral(QUORVANE_SOURCE_DIR "/resources/program_folder/HAND-M.CUR");

QByteArray shippedHand() {
    QFile file(kHandFile);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
}  // namespace

void QtPointerShapesTest::shippedHandPointsWithItsFingertip() {
    QtPointerShapes shapes;
    const QCursor hand = shapes.loadCursorFile(kHandFile);
    QCOMPARE(hand.shape(), Qt::BitmapCursor);
    QCOMPARE(hand.pixmap().size(), QSize(32, 32));
    QCOMPARE(hand.hotSpot(), QPoint(5, 0));
    const QImage image = hand.pixmap().toImage();
    // The fingertip is drawn where the hot spot is; the corner beside it is see-through.
    QCOMPARE(qAlpha(image.pixel(5, 0)), 255);
    QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
}

void QtPointerShapesTest::fileThatIsNotACursorIsAFailure_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("special");  // the file is a FIFO or a link to this device instead
    const QByteArray hand = shippedHand();
    QVERIFY(!hand.isEmpty());
    QByteArray icon = hand;
    icon[2] = 1;  // the same image stored as an icon
    QByteArray noImage = hand;
    noImage[4] = 0;
    QTest::newRow("empty") << QByteArray() << QString();
    QTest::newRow("text") << QByteArray("not a cursor at all, just some words in a file")
                          << QString();
    QTest::newRow("an icon") << icon << QString();
    QTest::newRow("no image") << noImage << QString();
    QTest::newRow("cut short") << hand.left(60) << QString();
    QTest::newRow("bitmap garbage") << hand.left(22) + QByteArray(200, '\x7f') << QString();
    // Neither may keep the program from starting: no waiting, no endless read.
    QTest::newRow("a FIFO without a writer") << QByteArray() << "fifo";
    QTest::newRow("a link to an endless device") << QByteArray() << "/dev/zero";
}

void QtPointerShapesTest::fileThatIsNotACursorIsAFailure() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, special);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("HAND-M.CUR"));
    if (special == QStringLiteral("fifo")) {
        QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    } else if (!special.isEmpty()) {
        QVERIFY(QFile::link(special, path));
    } else {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
    }
    QtPointerShapes shapes;
    QVERIFY_THROWS_EXCEPTION(Failure, shapes.loadCursorFile(path));
}

void QtPointerShapesTest::hourglassCoversTextBoxesAndListsAndComesOff() {
    QWidget window;
    auto* box = new LineBox(&window);
    auto* list = new QTableView(&window);
    auto* button = new QPushButton(QStringLiteral("Button"), &window);
    auto* ownWindow = new QWidget(&window, Qt::Window);
    auto* boxOfOwnWindow = new LineBox(ownWindow);
    QtPointerShapes shapes;

    shapes.apply(&window, PointerShape::Hourglass, std::nullopt);

    for (QWidget* covered :
         QList<QWidget*>{&window, box, list->viewport(), list->horizontalHeader(), button}) {
        QCOMPARE(covered->cursor().shape(), Qt::WaitCursor);
    }
    QCOMPARE(boxOfOwnWindow->cursor().shape(), Qt::IBeamCursor);

    shapes.apply(&window, PointerShape::Default, std::nullopt);

    QCOMPARE(window.cursor().shape(), Qt::ArrowCursor);
    QCOMPARE(box->cursor().shape(), Qt::IBeamCursor);
    for (QWidget* uncovered : QList<QWidget*>{list->viewport(), button}) {
        QVERIFY(!uncovered->testAttribute(Qt::WA_SetCursor));
    }

    // Twice in a row, as a second loop does: the text box's own pointer is not lost.
    shapes.apply(&window, PointerShape::Hourglass, std::nullopt);
    shapes.apply(&window, PointerShape::Hourglass, std::nullopt);
    shapes.apply(&window, PointerShape::Custom, std::nullopt);
    QCOMPARE(box->cursor().shape(), Qt::IBeamCursor);
}

void QtPointerShapesTest::handShowsOverButtonsButNotOverTextBoxes() {
    QWidget window;
    auto* box = new LineBox(&window);
    auto* button = new QPushButton(QStringLiteral("Button"), &window);
    QtPointerShapes shapes;
    const QCursor hand = shapes.loadCursorFile(kHandFile);

    shapes.apply(&window, PointerShape::Custom, hand);

    QCOMPARE(window.cursor().shape(), Qt::BitmapCursor);
    QCOMPARE(window.cursor().hotSpot(), QPoint(5, 0));
    // A button has no pointer of its own, so the window's shows over it.
    QVERIFY(!button->testAttribute(Qt::WA_SetCursor));
    QCOMPARE(box->cursor().shape(), Qt::IBeamCursor);

    // The custom shape without an image: the arrow.
    shapes.apply(&window, PointerShape::Custom, std::nullopt);
    QCOMPARE(window.cursor().shape(), Qt::ArrowCursor);
}

QTEST_MAIN(QtPointerShapesTest)
#include "test_pointer_feedback_qt.moc"
