// Text <-> number conversions, twips, and the small arithmetic the windows
// build on: stored values read back in range, pointer placement, tab stops,
// window tiling and the status bar's date.
#include "TestEnvironment.h"
#include "app/StatusLine.h"
#include "app/WindowArrangement.h"
#include "core/Conversions.h"
#include "core/PointerPlacement.h"
#include "core/Units.h"
#include "document/TabStops.h"
#include "document/frmDocument.h"
#include "editing/DateTimeEntries.h"
#include "print/PageSettings.h"

#include <QApplication>
#include <QHash>
#include <cmath>
#include <functional>

namespace {

template <class T>
QString shown(const std::optional<T>& value)
{
    return value ? QString::number(double(*value), 'g', 17) : QStringLiteral("none");
}

}  // namespace

class TestConversions : public QObject {
    Q_OBJECT

private slots:
    // The C library rounds halves to even in its default mode.
    void roundHalfEvenMatchesTheCLibrary()
    {
        for (int quarter = -80; quarter <= 80; ++quarter)
            QCOMPARE(conv::roundHalfEven(quarter / 4.0), std::nearbyint(quarter / 4.0));
        QCOMPARE(conv::roundHalfEven(818.1818), 818.0);
        QCOMPARE(conv::roundHalfEven(2.51), 3.0);
        QCOMPARE(conv::roundHalfEven(1126.5), 1126.0);
    }

    // Every reader on the same text: leading number, whole-text number,
    // 16- and 32-bit whole numbers, truth value ("none": no value).
    void textToNumbers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("leading");
        QTest::addColumn<QStringList>("readings");  // single, int16, int32, bool
        const QString n = QStringLiteral("none");
        const QList<std::tuple<QString, double, QStringList>> rows = {
            {" 10", 10, {"10", "10", "10", "1"}}, {"\t4 ", 4, {"4", "4", "4", "1"}},
            {"&Insert", 0, {n, n, n, n}}, {"-", 0, {n, n, n, n}},
            {"", 0, {n, n, n, n}}, {"12abc", 12, {n, n, n, n}},
            {"9.75pt", 9.75, {n, n, n, n}}, {".75", 0.75, {"0.75", "1", "1", "1"}},
            {"-.5x", -0.5, {n, n, n, n}}, {"+5", 5, {"5", "5", "5", "1"}},
            {"5.", 5, {"5", "5", "5", "1"}}, {"1e3", 1, {"1000", "1000", "1000", "1"}},
            {"2.5", 2.5, {"2.5", "2", "2", "1"}}, {"-32768", -32768, {"-32768", "-32768", "-32768", "1"}},
            {"32767", 32767, {"32767", "32767", "32767", "1"}}, {"32767.5", 32767.5, {"32767.5", n, "32768", "1"}},
            {"-32769", -32769, {"-32769", n, "-32769", "1"}},
            {"2147483647", 2147483647, {"2147483647", n, "2147483647", "1"}},
            {"-2147483648", -2147483648.0, {"-2147483648", n, "-2147483648", "1"}},
            {"2147483648", 2147483648.0, {"2147483648", n, n, "1"}}, {"0", 0, {"0", "0", "0", "0"}},
            {"-1", -1, {"-1", "-1", "-1", "1"}}, {"True", 0, {n, n, n, "1"}},
            {" true ", 0, {n, n, n, "1"}}, {"FALSE", 0, {n, n, n, "0"}},
            {"Yes", 0, {n, n, n, n}}, {"inf", 0, {n, n, n, n}},
            {"nan", 0, {n, n, n, n}},
            {QString::fromUtf8("\u0663"), 0, {n, n, n, n}},  // a digit, but not an ASCII one
        };
        for (const auto& [text, leading, readings] : rows)
            QTest::addRow("'%s'", qPrintable(text)) << text << leading << readings;
    }
    void textToNumbers()
    {
        QFETCH(QString, text);
        QFETCH(double, leading);
        QFETCH(QStringList, readings);
        QCOMPARE(conv::leadingValue(text), leading);
        const std::optional<bool> truth = conv::toBool(text);
        QCOMPARE((QStringList{shown(conv::toSingle(text)), shown(conv::toInt16(text)), shown(conv::toInt32(text)),
                              truth ? QString::number(int(*truth)) : QStringLiteral("none")}),
                 readings);
    }

    // Settings edited by hand: every reader keeps its value in a sane range,
    // so no infinity or NaN reaches arithmetic or an integer conversion.
    void hostileSettingsStayBounded_data()
    {
        QTest::addColumn<QString>("reader");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<double>("expected");
        const QString huge = QString(400, u'9');
        const QList<std::tuple<const char*, QString, double>> rows = {
            {"margin", huge, 200}, {"margin", huge + ".5", 200}, {"margin", "inf", 0}, {"margin", "-5", 0},
            {"margin", "0.75", 0.75},
            {"font size", huge, 1638}, {"font size", "nan", 0}, {"font size", "-9.75", 0}, {"font size", "9.75", 9.75},
            {"colour", huge, -1}, {"colour", "-" + huge, -2147483648.0}, {"colour", "4294967296", -1},
            {"colour", "4294967295", -1}, {"colour", "2147483648", -2147483648.0},
            {"colour", "-2147483643", -2147483643.0}, {"colour", "255", 255},
            {"tab count", huge, 0}, {"tab count", "32767", 10}, {"tab count", "-3", 0}, {"tab count", "nan", 0},
            {"tab count", " 4", 4},
            {"date format", huge, 0}, {"date format", "-" + huge, 0}, {"date format", "14", 14},
            {"placement", "1e30", 1e6}, {"placement", "-1e300", -1e6}, {"placement", huge, 500},
            {"placement", "inf", 500}, {"placement", "nan", 500}, {"placement", "1234.5", 1234.5},
            {"placement", " -7 ", -7},
            {"NaN itself", "", 0},
        };
        for (const auto& [reader, stored, expected] : rows)
            QTest::addRow("%s %s", reader, qPrintable(stored.left(12))) << reader << stored << expected;
    }
    void hostileSettingsStayBounded()
    {
        QFETCH(QString, reader);
        QFETCH(QString, stored);
        QFETCH(double, expected);
        const QHash<QString, std::function<double(const QString&)>> readers = {
            {"margin", marginInches},
            {"font size", storedFontSize},
            {"colour", [](const QString& text) { return double(conv::leadingColour(text)); }},
            {"tab count", [](const QString& text) { return double(storedTabStopCount(text)); }},
            {"date format", [](const QString& text) { return double(preselectedDateTimeEntry(text)); }},
            {"placement", [](const QString& text) { return units::placementTwips(text, 500); }},
            {"NaN itself", [](const QString&) { return conv::bounded(std::nan(""), 0, 1); }},
        };
        QCOMPARE(readers.value(reader)(stored), expected);
        QCOMPARE(pageSettingsFromStored({"", "", stored, stored, stored, stored}, QDate()).MarginTop,
                 stored.isEmpty() ? 0.5 : marginInches(stored));
    }

    void numberTexts()
    {
        QCOMPARE((QStringList{conv::numberWithSign(120), conv::numberWithSign(0), conv::numberWithSign(-3)}),
                 (QStringList{" 120", " 0", "-3"}));
        QStringList decimals;
        for (double value : {9.75, 10.0, 1234.5, 12345678.0, 9.123456, -0.00001, -2.5, 0.10})
            decimals << conv::decimalText(value);
        QCOMPARE(decimals, (QStringList{"9.75", "10", "1234.5", "12345678", "9.1235", "0", "-2.5", "0.1"}));
        QCOMPARE(conv::decimalText(100.0, 0), QStringLiteral("100"));
    }

    void twipsAndPixels()
    {
        QList<int> pixels;
        for (double twips : {1440.0, 1000.0, 6500.0, 22.5, 37.5, -22.5, 0.0})
            pixels << units::twipsToPixels(twips, 96);
        QCOMPARE(pixels, (QList<int>{96, 67, 433, 2, 2, -2, 0}));
        QCOMPARE(units::twipsToPixels(1440, 192), 192);
        // This screen: 96 dots an inch, 15 twips a pixel.
        QCOMPARE((QList<double>{units::pixelsToTwips(67, 96), units::twipsPerPixelX(), units::twipsPerPixelY(),
                                double(units::twipsToPixelsX(1000)), double(units::twipsToPixelsY(6500)),
                                units::pixelsToTwipsX(3), units::pixelsToTwipsY(4)}),
                 (QList<double>{1005, 15, 15, 67, 433, 45, 60}));
    }

    void pointerTarget_data()
    {
        QTest::addColumn<double>("left");
        QTest::addColumn<double>("top");
        QTest::addColumn<double>("offset");
        QTest::addColumn<QPoint>("expected");
        // A 1200 x 360 button at 600, 900 in the dialog, 15 twips per pixel:
        // x = (left + 600 + 600 + 60) / 15, y = (top + 900 + 180 + offset) / 15.
        QTest::newRow("plain") << 3000.0 << 1500.0 << 360.0 << QPoint(284, 196);
        QTest::newRow("odd offsets") << 3030.0 << 1530.0 << 360.0 << QPoint(286, 198);
        QTest::newRow("about box") << 3000.0 << 1500.0 << 300.0 << QPoint(284, 192);
        QTest::newRow("halves to even") << 3007.5 << 1522.5 << 360.0 << QPoint(284, 198);
        QTest::newRow("half up to even") << 3022.5 << 1500.0 << 360.0 << QPoint(286, 196);
    }
    void pointerTarget()
    {
        QFETCH(double, left);
        QFETCH(double, top);
        QFETCH(double, offset);
        QFETCH(QPoint, expected);
        QCOMPARE(::pointerTarget(left, top, TwipRect{600, 900, 1200, 360}, 15, 15, offset), expected);
    }

    // Stops are multiples of width / (count + 1), rounded half to even.
    void evenTabStops_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("count");
        QTest::addColumn<QList<int>>("stops");
        QTest::newRow("4 in 5000") << 5000 << 4 << QList<int>{1000, 2000, 3000, 4000};
        QTest::newRow("10 in 9000: 818.18 down") << 9000 << 10
                                                 << QList<int>{818, 1636, 2454, 3272, 4090, 4908, 5726, 6544, 7362, 8180};
        QTest::newRow("1125.5 to even 1126") << 4502 << 3 << QList<int>{1126, 2252, 3378};
        QTest::newRow("1126.5 to even 1126") << 4506 << 3 << QList<int>{1126, 2252, 3378};
        QTest::newRow("1125.25 down") << 4501 << 3 << QList<int>{1125, 2250, 3375};
        QTest::newRow("1 halves the width") << 9000 << 1 << QList<int>{4500};
        QTest::newRow("none") << 5000 << 0 << QList<int>{};
    }
    void evenTabStops()
    {
        QFETCH(int, width);
        QFETCH(int, count);
        QFETCH(QList<int>, stops);
        QCOMPARE(::evenTabStops(width, count), stops);
    }

    void tiling()
    {
        const QRect area(0, 0, 301, 200);
        const QList<QRect> stacked = arrange::tileHorizontal(area, 3);
        QCOMPARE(stacked.size(), 3);
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(stacked[i].width(), 301);
            QCOMPARE(stacked[i].top(), i == 0 ? 0 : stacked[i - 1].bottom() + 1);
        }
        QCOMPARE(stacked[2].bottom(), 199);  // no pixel lost to rounding
        QCOMPARE(arrange::tileVertical(area, 2), (QList<QRect>{{0, 0, 150, 200}, {150, 0, 151, 200}}));
        QVERIFY(arrange::tileVertical(area, 0).isEmpty());
        QCOMPARE(arrange::iconPositions(QRect(0, 0, 250, 400), QSize(100, 30), 3),
                 (QList<QPoint>{{0, 370}, {100, 370}, {0, 340}}));
        // Two thirds each, a step apart, back to the corner where the fourth would not fit.
        QCOMPARE(arrange::cascade(QRect(10, 5, 300, 150), 4, 20),
                 (QList<QRect>{{10, 5, 200, 100}, {30, 25, 200, 100}, {50, 45, 200, 100}, {10, 5, 200, 100}}));
        QCOMPARE(arrange::cascadeSlot(QRect(0, 0, 100, 50), QSize(200, 40), 0, 7), QRect(0, 0, 100, 40));
    }

    // The framed window shrinks to the screen and moves onto it, whatever
    // screen it was stored on.
    void fitOnScreen_data()
    {
        QTest::addColumn<QSize>("decoration");
        QTest::addColumn<QList<QRect>>("placedScreenFitted");
        const QRect screen(0, 0, 1280, 1024);
        QTest::newRow("fits") << QSize(8, 30) << QList<QRect>{{67, 67, 433, 433}, screen, {67, 67, 433, 433}};
        QTest::newRow("1000x733 at scale 2") << QSize(8, 30) << QList<QRect>{{67, 67, 1000, 733}, {0, 0, 640, 512}, {0, 0, 632, 482}};
        QTest::newRow("past the bottom right") << QSize(8, 30) << QList<QRect>{{1200, 1000, 400, 300}, screen, {872, 694, 400, 300}};
        QTest::newRow("above the top left") << QSize(0, 0) << QList<QRect>{{-3000, -200, 400, 300}, screen, {0, 0, 400, 300}};
        QTest::newRow("second screen, panel on top")
            << QSize(10, 20) << QList<QRect>{{100, 100, 2000, 2000}, {1280, 24, 1024, 744}, {1280, 24, 1014, 724}};
    }
    void fitOnScreen()
    {
        QFETCH(QSize, decoration);
        QFETCH(QList<QRect>, placedScreenFitted);
        QCOMPARE(arrange::fitOnScreen(placedScreenFitted[0], decoration, placedScreenFitted[1]), placedScreenFitted[2]);
    }

    void statusTexts()
    {
        QCOMPARE(statusDateText(QDate(2026, 12, 4), QLocale(QLocale::English, QLocale::UnitedStates)),
                 QStringLiteral("December 04, 2026"));
        QCOMPARE(statusDateText(QDate(2027, 5, 2), QLocale(QLocale::German)), QStringLiteral("Mai 02, 2027"));
    }
};

PAGEWELL_TEST_MAIN(TestConversions)
#include "tst_conversions.moc"
