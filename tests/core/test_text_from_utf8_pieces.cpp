#include "core/text_from_utf8_pieces.h"

#include <QTest>

// A selection arrives in pieces cut anywhere, also inside a character: every way of cutting
// must give the text of the whole bytes, invalid bytes and a leading byte order mark included.
class TextFromUtf8PiecesTest : public QObject {
    Q_OBJECT
  private slots:
    void everyCutGivesTheWholeText_data();
    void everyCutGivesTheWholeText();
};

void TextFromUtf8PiecesTest::everyCutGivesTheWholeText_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("two, three and four bytes")
        << QByteArray("a\xC3\xA9-\xE2\x82\xAC-\xF0\x9F\x98\x80z");
    QTest::newRow("mark only at the start") << QByteArray("\xEF\xBB\xBFx\xEF\xBB\xBFy");
    QTest::newRow("stray continuation") << QByteArray("a\x80\x80\xC3\xA9");
    QTest::newRow("cut short by ASCII") << QByteArray(
        "b\xE2\x82"
        "c\xF0\x9F"
        "d");
    QTest::newRow("cut short at the end") << QByteArray("e\xF0\x9F\x98");
    QTest::newRow("overlong and bad leads") << QByteArray("\xE0\x80\x80\xC0\xAF\xF8\x88\xFF.");
}

void TextFromUtf8PiecesTest::everyCutGivesTheWholeText() {
    QFETCH(QByteArray, bytes);
    const QString whole = QString::fromUtf8(bytes);
    for (qsizetype pieceSize = 1; pieceSize <= 5; ++pieceSize) {
        // Room for an editor at odd sizes: it must never show in the text.
        TextFromUtf8Pieces text(pieceSize % 2 == 1 ? 2 : 0);
        text.expect(pieceSize == 5 ? bytes.size() : 0);
        for (qsizetype at = 0; at < bytes.size(); at += pieceSize) {
            text.append(QByteArrayView(bytes).sliced(at, std::min(pieceSize, bytes.size() - at)));
        }
        QCOMPARE(text.take(), whole);
    }
}

QTEST_APPLESS_MAIN(TextFromUtf8PiecesTest)
#include "test_text_from_utf8_pieces.moc"
