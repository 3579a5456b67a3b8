#include "core/text_builder.h"

#include <QTest>

// The builder copies short texts in overlapping blocks; every length must come out exact.
class TextBuilderTest : public QObject {
    Q_OBJECT
  private slots:
    void everyLengthComesOutExact();
};

void TextBuilderTest::everyLengthComesOutExact() {
    QString expected;
    TextBuilder builder(8);  // small, so it must also grow on the way
    for (int length = 0; length <= 40; ++length) {
        QString piece;
        for (int i = 0; i < length; ++i) {
            piece += QChar(u'a' + (length + i) % 26);
        }
        builder.append(QStringView(piece));
        builder.append(QLatin1Char('|'));
        expected += piece + QLatin1Char('|');
    }
    builder.appendLineEnd();
    expected += QStringLiteral("\r\n");
    QCOMPARE(builder.take(), expected);
}

QTEST_APPLESS_MAIN(TextBuilderTest)
#include "test_text_builder.moc"
