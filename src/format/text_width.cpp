#include "format/text_width.h"

#include <QChar>

#include <array>
#include <cmath>

namespace {

// Advance widths of U+0020 to U+024F in Carlito Regular, metric-compatible with Calibri (2048
// units per em); 0 where the font has no glyph.
constexpr char16_t kFirstInTable = 0x20;
constexpr std::array<quint16, 0x250 - 0x20> kAdvance = {
    463,  667,  821,  1020, 1038, 1464, 1397, 452,  621,  621,  1020, 1020, 511,  627,  517,  791,
    1038, 1038, 1038, 1038, 1038, 1038, 1038, 1038, 1038, 1038, 548,  548,  1020, 1020, 1020, 949,
    1831, 1185, 1114, 1092, 1260, 1000, 941,  1292, 1276, 516,  653,  1064, 861,  1751, 1322, 1356,
    1058, 1378, 1112, 941,  998,  1314, 1162, 1822, 1063, 998,  959,  628,  791,  628,  1020, 1020,
    596,  981,  1076, 866,  1076, 1019, 625,  964,  1076, 470,  490,  931,  470,  1636, 1076, 1080,
    1076, 1076, 714,  801,  686,  1076, 925,  1464, 887,  927,  809,  644,  943,  644,  1020, 0,
    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,
    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,    0,
    0,    667,  1020, 1038, 1020, 1038, 1020, 1020, 804,  1709, 824,  1049, 1020, 0,    1038, 807,
    694,  1020, 688,  685,  598,  1126, 1200, 517,  629,  504,  865,  1049, 1303, 1375, 1383, 949,
    1185, 1185, 1185, 1185, 1185, 1185, 1563, 1092, 1000, 1000, 1000, 1000, 516,  516,  516,  516,
    1279, 1322, 1356, 1356, 1356, 1356, 1356, 1020, 1359, 1314, 1314, 1314, 1314, 998,  1058, 1080,
    981,  981,  981,  981,  981,  981,  1583, 866,  1019, 1019, 1019, 1019, 470,  470,  470,  470,
    1076, 1076, 1080, 1080, 1080, 1080, 1080, 1020, 1084, 1076, 1076, 1076, 1076, 927,  1076, 927,
    1185, 981,  1185, 981,  1185, 981,  1092, 866,  1092, 866,  1092, 866,  1092, 866,  1260, 1164,
    1279, 1130, 1000, 1019, 1000, 1019, 1000, 1019, 1000, 1019, 1000, 1019, 1292, 964,  1292, 964,
    1292, 964,  1292, 964,  1276, 1076, 1344, 1091, 516,  470,  516,  470,  516,  470,  516,  470,
    516,  470,  1170, 960,  653,  490,  1064, 931,  931,  861,  470,  861,  470,  866,  540,  1118,
    765,  880,  507,  1322, 1076, 1322, 1076, 1322, 1076, 1186, 1287, 1076, 1356, 1080, 1356, 1080,
    1356, 1080, 1775, 1740, 1112, 714,  1112, 714,  1112, 714,  941,  801,  941,  801,  941,  801,
    941,  801,  998,  686,  998,  708,  998,  700,  1314, 1076, 1314, 1076, 1314, 1076, 1314, 1076,
    1314, 1076, 1314, 1076, 1822, 1464, 998,  927,  998,  959,  809,  959,  809,  959,  809,  497,
    1130, 1260, 1101, 1076, 1088, 1076, 1122, 1181, 947,  1279, 1406, 1101, 1076, 1072, 1000, 1317,
    970,  941,  1020, 1294, 1162, 1603, 592,  550,  1064, 931,  577,  948,  1801, 1322, 1100, 1356,
    1428, 1184, 1583, 1342, 1252, 1076, 1112, 941,  801,  939,  882,  736,  1087, 686,  998,  1478,
    1234, 1360, 1314, 1090, 1020, 959,  809,  970,  970,  970,  870,  1038, 1038, 872,  801,  1076,
    499,  809,  1175, 667,  2219, 2069, 1885, 1539, 1351, 960,  1975, 1812, 1566, 1185, 981,  516,
    470,  1356, 1080, 1314, 1076, 1314, 1076, 1314, 1076, 1314, 1076, 1314, 1076, 1019, 1185, 981,
    1185, 981,  1563, 1583, 1292, 1100, 1292, 964,  1064, 931,  1356, 1080, 1356, 1080, 970,  970,
    490,  2197, 2069, 1885, 1292, 964,  1832, 1236, 1322, 1076, 1185, 981,  1563, 1583, 1359, 1084,
    1185, 981,  1185, 981,  1000, 1019, 1000, 1019, 516,  470,  516,  470,  1356, 1080, 1356, 1080,
    1112, 714,  1112, 714,  1314, 1076, 1314, 1076, 941,  801,  998,  686,  970,  970,  1276, 1076,
    1316, 1229, 1038, 1038, 1007, 844,  1185, 981,  1000, 1019, 1356, 1080, 1356, 1080, 1356, 1080,
    1356, 1080, 998,  927,  649,  1259, 686,  490,  1683, 1682, 1185, 1092, 866,  861,  998,  801,
    809,  916,  916,  1131, 1349, 1173, 1000, 1019, 673,  576,  1290, 1076, 1129, 767,  1184, 994,
};

constexpr int kUnitsPerEm = 2048;
constexpr int kAverageAdvance = 1038;  // a digit; used for characters outside the table
constexpr double kPixelsPerEm = 11.0 * 96.0 / 72.0;
// LibreOffice's optimal width adds 2 mm (113 twips) to the widest text, 7.9 px as Calc shows it.
constexpr double kMarginPixels = 7.9;
// libxlsxwriter counts 7 px per unit of column width (Calibri's digit in Excel); LibreOffice
// shows one unit as 7.84 px (measured on a 96 dpi screen). The width handed to libxlsxwriter is
// scaled so that the column LibreOffice shows is the one wanted.
constexpr double kLibxlsxwriterPixelsPerUnit = 7.0;
constexpr double kLibreOfficePixelsPerUnit = 7.84;

bool isWide(char32_t code) {
    return (code >= 0x1100 && code <= 0x115F) || (code >= 0x2E80 && code <= 0xA4CF) ||
           (code >= 0xAC00 && code <= 0xD7A3) || (code >= 0xF900 && code <= 0xFAFF) ||
           (code >= 0xFE30 && code <= 0xFE4F) || (code >= 0xFF00 && code <= 0xFF60) ||
           (code >= 0xFFE0 && code <= 0xFFE6) || (code >= 0x1F300 && code <= 0x1FAFF) ||
           (code >= 0x20000 && code <= 0x3FFFD);
}

int advance(char32_t code) {
    if (code >= kFirstInTable && code < kFirstInTable + kAdvance.size()) {
        const quint16 width = kAdvance[code - kFirstInTable];
        return width != 0 ? width : kAverageAdvance;
    }
    if (QChar::category(code) == QChar::Mark_NonSpacing) {
        return 0;
    }
    return isWide(code) ? kUnitsPerEm : kAverageAdvance;
}

}  // namespace

namespace SheetTextWidth {

qint64 fontUnits(QStringView text) {
    qint64 units = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        char32_t code = text[i].unicode();
        if (code < 0x80) {
            units += code >= kFirstInTable ? kAdvance[code - kFirstInTable] : 0;
            continue;
        }
        if (QChar::isHighSurrogate(code) && i + 1 < n && text[i + 1].isLowSurrogate()) {
            code = QChar::surrogateToUcs4(text[i].unicode(), text[i + 1].unicode());
            ++i;
        }
        units += advance(code);
    }
    return units;
}

int fittedColumnPixels(qint64 textFontUnits) {
    const double textPixels = static_cast<double>(textFontUnits) * kPixelsPerEm / kUnitsPerEm;
    return static_cast<int>(std::ceil((textPixels + kMarginPixels) * kLibxlsxwriterPixelsPerUnit /
                                      kLibreOfficePixelsPerUnit));
}

}  // namespace SheetTextWidth
