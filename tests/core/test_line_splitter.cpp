#include "core/line_splitter.h"
#include "support/reference_split.h"
#include "support/split_to_list.h"

#include <QRandomGenerator>
#include <QTest>

class LineSplitterTest : public QObject {
    Q_OBJECT
  private slots:
    void splitsAtEveryDelimiter_data();
    void splitsAtEveryDelimiter();
    void agreesWithSimpleReferenceOnRandomText();
    void countsDelimitersOfVeryLongLines();
    void countsLinesLongerThanOneStretchInStretches();
    void fileNameOfPath_data();
    void fileNameOfPath();
};

void LineSplitterTest::splitsAtEveryDelimiter_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("delimiter");
    QTest::addColumn<QStringList>("pieces");

    QTest::newRow("three pieces") << "a,b,c"
                                  << "," << QStringList{"a", "b", "c"};
    QTest::newRow("adjacent delimiters") << "a,,b"
                                         << "," << QStringList{"a", "", "b"};
    QTest::newRow("delimiter at both ends") << ",a,"
                                            << "," << QStringList{"", "a", ""};
    QTest::newRow("only the delimiter") << ","
                                        << "," << QStringList{"", ""};
    QTest::newRow("no delimiter in text") << "a;b"
                                          << "," << QStringList{"a;b"};
    QTest::newRow("empty delimiter") << "a,b"
                                     << "" << QStringList{"a,b"};
    QTest::newRow("multi-character delimiter") << "1ab2ab3"
                                               << "ab" << QStringList{"1", "2", "3"};
    QTest::newRow("case-sensitive") << "aBa"
                                    << "b" << QStringList{"aBa"};
    QTest::newRow("non-overlapping") << "aaa"
                                     << "aa" << QStringList{"", "a"};
    QTest::newRow("trailing multi-character") << "xabyab"
                                              << "ab" << QStringList{"x", "y", ""};
    QTest::newRow("blank kept") << "x, y"
                                << "," << QStringList{"x", " y"};
    QTest::newRow("only blanks") << "   "
                                 << "," << QStringList{"   "};
    QTest::newRow("blank delimiter") << "a b  c"
                                     << " " << QStringList{"a", "b", "", "c"};
    QTest::newRow("delimiter longer than text") << "ab"
                                                << "abc" << QStringList{"ab"};
    QTest::newRow("empty text") << ""
                                << "," << QStringList{};
    QTest::newRow("empty text, empty delimiter") << ""
                                                 << "" << QStringList{};
    QTest::newRow("surrogate pair delimiter")
        << QString::fromUtf8(
               "a\xF0\x9F\x98\x80"
               "b")
        << QString::fromUtf8("\xF0\x9F\x98\x80") << QStringList{"a", "b"};
    QTest::newRow("percent and tabs kept") << "50%\t,%p"
                                           << "," << QStringList{"50%\t", "%p"};
}

void LineSplitterTest::splitsAtEveryDelimiter() {
    QFETCH(QString, text);
    QFETCH(QString, delimiter);
    QFETCH(QStringList, pieces);

    QCOMPARE(SplitToList(text, delimiter), pieces);
    QCOMPARE(LineSplit(text, delimiter).count(), pieces.size());
}

void LineSplitterTest::agreesWithSimpleReferenceOnRandomText() {
    QRandomGenerator random(20211231);
    // Short texts dense with delimiters, and texts long enough to be scanned in blocks, where
    // delimiters are sparse and fall on every place of a block.
    const QString dense = QStringLiteral("ab,;");
    const QString sparse = QStringLiteral("abcdefghijklmnopqrstuvwxyz0123456789,");
    for (int round = 0; round < 4000; ++round) {
        const QString& alphabet = round % 2 ? sparse : dense;
        QString text;
        const int length = random.bounded(0, round % 2 ? 400 : 24);
        for (int i = 0; i < length; ++i) {
            text += alphabet[random.bounded(alphabet.size())];
        }
        QString delimiter;
        const int delimiterLength = random.bounded(0, 4);
        for (int i = 0; i < delimiterLength; ++i) {
            delimiter += alphabet[random.bounded(alphabet.size())];
        }
        const QStringList expected = ReferenceSplit(text, delimiter);
        QCOMPARE(SplitToList(text, delimiter), expected);

        // A split of a stretch of a longer text gives the same pieces, placed in that text.
        const QString around = QStringLiteral("x,") + text + QStringLiteral(",y");
        PieceCursor stretch(around, 2, text.size(), delimiter);
        QStringList stretchPieces;
        for (qsizetype i = 0, count = stretch.countPieces(); i < count; ++i) {
            const TextSpan span = stretch.next();
            stretchPieces << around.mid(span.offset, span.length);
        }
        QCOMPARE(stretchPieces, expected);
    }
}

void LineSplitterTest::countsDelimitersOfVeryLongLines() {
    // Long enough for the counting lanes to be summed several times, with an odd tail.
    QString line;
    for (int i = 0; i < 70'001; ++i) {
        line += QStringLiteral("ab,");
    }
    line += QStringLiteral("tail");
    LineSplit split(line, QStringLiteral(","));
    QCOMPARE(split.count(), 70'002);
    TextSpan last{};
    for (qsizetype i = 0; i < split.count(); ++i) {
        last = split.next();
    }
    QCOMPARE(line.mid(last.offset, last.length), QStringLiteral("tail"));
}

void LineSplitterTest::countsLinesLongerThanOneStretchInStretches() {
    // Delimiters just before, across and right at the places where counting pauses.
    constexpr qsizetype kStretch = qsizetype(1) << 23;
    for (const QString& delimiter : {QStringLiteral(","), QStringLiteral("<=>")}) {
        QString line(2 * kStretch + 1000, QLatin1Char('x'));
        for (qsizetype at :
             {kStretch - 3, kStretch - 1, kStretch + 5, 2 * kStretch - 2, 2 * kStretch}) {
            line.replace(at, delimiter.size(), delimiter);
        }
        int pauses = 0;
        LineSplit split(line, delimiter, [&] { ++pauses; });
        qsizetype walked = 0;
        while (split.hasNext()) {
            split.next();
            ++walked;
        }
        QCOMPARE(split.count(), walked);
        // Written over each other, "<=>" at kStretch - 3 and kStretch - 1 leave one whole.
        QCOMPARE(split.count(), delimiter.size() == 1 ? 6 : 4);
        QCOMPARE(pauses, 2);
    }
}

void LineSplitterTest::fileNameOfPath_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("name");
    QTest::newRow("windows path") << "C:\\dir\\file.txt"
                                  << "file.txt";
    QTest::newRow("no backslash") << "plain"
                                  << "plain";
    QTest::newRow("ends with backslash") << "C:\\dir\\"
                                         << "";
    QTest::newRow("forward slashes only") << "a/b/c"
                                          << "a/b/c";
    QTest::newRow("mixed") << "a\\b/c"
                           << "b/c";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("only a backslash") << "\\"
                                      << "";
}

void LineSplitterTest::fileNameOfPath() {
    QFETCH(QString, text);
    QFETCH(QString, name);
    QCOMPARE(FileNameOfPath(text).toString(), name);
}

QTEST_APPLESS_MAIN(LineSplitterTest)
#include "test_line_splitter.moc"
