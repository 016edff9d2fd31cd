// Plain arithmetic the windows rely on: rounding, text conversions, twips,
// pointer placement, tab stops, window tiling, the status texts and the
// command line.
#include "TestEnvironment.h"
#include "app/CommandLine.h"
#include "app/Conversions.h"
#include "app/PointerPlacement.h"
#include "app/StatusLine.h"
#include "app/Units.h"
#include "app/WindowArrangement.h"
#include "document/frmDocument.h"
#include "editing/DateTimeEntries.h"
#include "print/PageSettings.h"
#include "format/TabStops.h"

#include <QApplication>
#include <QHash>
#include <cmath>
#include <functional>

class TestArithmetic : public QObject {
    Q_OBJECT

private slots:
    void roundHalfEven_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<double>("expected");
        QTest::newRow("0.5") << 0.5 << 0.0;
        QTest::newRow("1.5") << 1.5 << 2.0;
        QTest::newRow("2.5") << 2.5 << 2.0;
        QTest::newRow("1125.5") << 1125.5 << 1126.0;
        QTest::newRow("1126.5") << 1126.5 << 1126.0;
        QTest::newRow("818.18") << 818.1818 << 818.0;
        QTest::newRow("-0.5") << -0.5 << 0.0;
        QTest::newRow("-1.5") << -1.5 << -2.0;
        QTest::newRow("2.51") << 2.51 << 3.0;
    }
    void roundHalfEven()
    {
        QFETCH(double, value);
        QFETCH(double, expected);
        QCOMPARE(conv::roundHalfEven(value), expected);
    }

    void leadingValue_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("expected");
        QTest::newRow("tab entry") << " 4" << 4.0;
        QTest::newRow("system colour") << "-2147483643" << -2147483643.0;
        QTest::newRow("trailing text") << "12abc" << 12.0;
        QTest::newRow("no digits") << "abc" << 0.0;
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("fraction") << "9.75pt" << 9.75;
        QTest::newRow("leading dot") << ".75" << 0.75;
    }
    void leadingValue()
    {
        QFETCH(QString, text);
        QFETCH(double, expected);
        QCOMPARE(conv::leadingValue(text), expected);
    }

    void wholeNumberConversions()
    {
        QCOMPARE(conv::toInt16(QStringLiteral(" 10")).value_or(-1), 10);
        QVERIFY(!conv::toInt16(QStringLiteral("&Insert")));
        QVERIFY(!conv::toInt16(QStringLiteral("-")));
        QVERIFY(!conv::toInt16(QStringLiteral("40000")));
        QVERIFY(!conv::toInt16(QStringLiteral("12abc")));
        QCOMPARE(conv::toInt32(QStringLiteral("-2147483643")).value_or(0), qint32(-2147483643));
        QVERIFY(!conv::toInt32(QStringLiteral("4294967296")));
        QCOMPARE(conv::toSingle(QStringLiteral("1234.5")).value_or(0), 1234.5);
        QVERIFY(!conv::toSingle(QStringLiteral("wide")));
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
            {"colour", "-2147483643", -2147483643.0}, {"colour", "255", 255},
            {"tab count", huge, 0}, {"tab count", "32767", 10}, {"tab count", "-3", 0}, {"tab count", "nan", 0},
            {"tab count", " 4", 4},
            {"date format", huge, 0}, {"date format", "-" + huge, 0}, {"date format", "14", 14},
            {"placement", "1e30", 1e6}, {"placement", "-1e300", -1e6}, {"placement", huge, 500}, {"placement", "inf", 500},
            {"placement", "nan", 500}, {"placement", "1234.5", 1234.5},
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

    void commandLine_data()
    {
        QTest::addColumn<QList<QByteArray>>("words");
        QTest::addColumn<QString>("expected");
        QTest::newRow("Qt's option") << QList<QByteArray>{"-reverse"} << "-reverse";
        QTest::newRow("two words") << QList<QByteArray>{"a", "b"} << "a b";
        QTest::newRow("option with value") << QList<QByteArray>{"-style", "x"} << "-style x";
        QTest::newRow("UTF-8") << QList<QByteArray>{"gr\xC3\xBC\xC3\x9F.txt"} << QString::fromUtf8("gr\xC3\xBC\xC3\x9F.txt");
        QTest::newRow("none") << QList<QByteArray>{} << "";
    }
    void commandLine()
    {
        QFETCH(QList<QByteArray>, words);
        QFETCH(QString, expected);
        QByteArray program("pagewell");
        std::vector<char*> argv{program.data()};
        for (QByteArray& word : words)
            argv.push_back(word.data());
        QCOMPARE(commandLineFromArgv(int(argv.size()), argv.data()), expected);
    }

    void truthValues_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("expected");  // -1: does not convert
        QTest::newRow("True") << "True" << 1;
        QTest::newRow("False") << "False" << 0;
        QTest::newRow("lower case") << "true" << 1;
        QTest::newRow("zero") << "0" << 0;
        QTest::newRow("non-zero") << "-1" << 1;
        QTest::newRow("missing") << "" << -1;
        QTest::newRow("word") << "Yes" << -1;
    }
    void truthValues()
    {
        QFETCH(QString, text);
        QFETCH(int, expected);
        const std::optional<bool> value = conv::toBool(text);
        QCOMPARE(value ? int(*value) : -1, expected);
    }

    void numberTexts()
    {
        QCOMPARE(conv::numberWithSign(120), QStringLiteral(" 120"));
        QCOMPARE(conv::numberWithSign(0), QStringLiteral(" 0"));
        QCOMPARE(conv::numberWithSign(-3), QStringLiteral("-3"));
        QCOMPARE(conv::decimalText(9.75), QStringLiteral("9.75"));
        QCOMPARE(conv::decimalText(10.0), QStringLiteral("10"));
        QCOMPARE(conv::decimalText(1234.5), QStringLiteral("1234.5"));
        QCOMPARE(conv::decimalText(12345678.0), QStringLiteral("12345678"));
        QCOMPARE(conv::decimalText(9.123456), QStringLiteral("9.1235"));
    }

    void twipsAndPixels()
    {
        QCOMPARE(units::twipsToPixels(1440, 96), 96);
        QCOMPARE(units::twipsToPixels(1000, 96), 67);   // 66.67
        QCOMPARE(units::twipsToPixels(6500, 96), 433);  // 433.33
        QCOMPARE(units::twipsToPixels(22.5, 96), 2);    // 1.5 -> 2
        QCOMPARE(units::twipsToPixels(37.5, 96), 2);    // 2.5 -> 2
        QCOMPARE(units::pixelsToTwips(67, 96), 1005.0);
        QCOMPARE(units::twipsToPixels(1440, 192), 192);
    }

    void pointerTarget_data()
    {
        QTest::addColumn<double>("left");
        QTest::addColumn<double>("top");
        QTest::addColumn<double>("offset");
        QTest::addColumn<QPoint>("expected");
        // A 1200 x 360 button at 600, 900 in the dialog, 15 twips per pixel.
        QTest::newRow("plain") << 3000.0 << 1500.0 << 360.0 << QPoint(284, 196);
        // x = (3030 + 600 + 600 + 60) / 15 = 286, y = (1530 + 900 + 180 + 360) / 15 = 198
        QTest::newRow("odd offsets") << 3030.0 << 1530.0 << 360.0 << QPoint(286, 198);
        // y = (1500 + 900 + 180 + 300) / 15 = 192: the About box's smaller caption
        QTest::newRow("about box") << 3000.0 << 1500.0 << 300.0 << QPoint(284, 192);
        // x = (3007.5 + 1260) / 15 = 284.5 -> 284 (even); y = (1522.5 + 1440) / 15 = 197.5 -> 198
        QTest::newRow("halves to even") << 3007.5 << 1522.5 << 360.0 << QPoint(284, 198);
        // x = 4282.5 / 15 = 285.5 -> 286
        QTest::newRow("half up to even") << 3022.5 << 1500.0 << 360.0 << QPoint(286, 196);
    }
    void pointerTarget()
    {
        QFETCH(double, left);
        QFETCH(double, top);
        QFETCH(double, offset);
        QFETCH(QPoint, expected);
        const TwipRect button{600, 900, 1200, 360};
        QCOMPARE(::pointerTarget(left, top, button, 15, 15, offset), expected);
    }

    void evenTabStops_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("count");
        QTest::addColumn<QList<int>>("stops");
        QTest::newRow("4 in 5000") << 5000 << 4 << QList<int>{1000, 2000, 3000, 4000};
        QTest::newRow("4 in 9000") << 9000 << 4 << QList<int>{1800, 3600, 5400, 7200};
        QTest::newRow("10 in 9000") << 9000 << 10
                                    << QList<int>{818, 1636, 2454, 3272, 4090, 4908, 5726, 6544, 7362, 8180};
        QTest::newRow("3 in 4502 rounds up to even") << 4502 << 3 << QList<int>{1126, 2252, 3378};
        QTest::newRow("3 in 4506 rounds down to even") << 4506 << 3 << QList<int>{1126, 2252, 3378};
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
        for (const QRect& r : stacked)
            QCOMPARE(r.width(), 301);
        QCOMPARE(stacked[0].top(), 0);
        QCOMPARE(stacked[1].top(), stacked[0].bottom() + 1);
        QCOMPARE(stacked[2].bottom(), 199);  // no pixel lost to rounding

        const QList<QRect> side = arrange::tileVertical(area, 2);
        QCOMPARE(side[0], QRect(0, 0, 150, 200));
        QCOMPARE(side[1], QRect(150, 0, 151, 200));
        QVERIFY(arrange::tileVertical(area, 0).isEmpty());

        const QList<QPoint> icons = arrange::iconPositions(QRect(0, 0, 250, 400), QSize(100, 30), 3);
        QCOMPARE(icons, (QList<QPoint>{{0, 370}, {100, 370}, {0, 340}}));
    }

    void statusTexts()
    {
        QCOMPARE(statusLineText(5, QStringLiteral("10"), 3), QStringLiteral("Line=5 of 10 Column=3"));
        QCOMPARE(statusLineText(1, QString(), 1), QStringLiteral("Line=1 of  Column=1"));
        const QLocale english(QLocale::English, QLocale::UnitedStates);
        QCOMPARE(statusDateText(QDate(2026, 12, 4), english), QStringLiteral("December 04, 2026"));
        QCOMPARE(statusDateText(QDate(2027, 5, 2), QLocale(QLocale::German)), QStringLiteral("Mai 02, 2027"));
    }
};

PAGEWELL_TEST_MAIN(TestArithmetic)
#include "tst_arithmetic.moc"
