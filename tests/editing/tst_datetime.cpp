// The Date and Time dialog: its fifteen entries for fixed moments and
// locales, the format interpreter behind them, the preselected position, and
// what OK, Default, Enter and Escape do to the text and the clipboard.
#include "MainWindowFixture.h"
#include "app/frmMain.h"
#include "document/RichTextBox.h"
#include "editing/Clipboard.h"
#include "editing/DateTimeEntries.h"
#include "editing/DateTimeFormat.h"
#include "editing/frmTime.h"

#include <QAction>
#include <QClipboard>
#include <QImage>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>

namespace {

const QLocale UnitedStates(QLocale::English, QLocale::UnitedStates);

QDateTime at(int y, int mo, int d, int h, int mi, int s, int ms = 0)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s, ms));
}

}  // namespace

class TestDateTime : public QObject {
    Q_OBJECT

    testsupport::MainWindowFixture f;

private slots:
    void cleanup() { f.stop(); }

    void entries_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<QStringList>("expected");

        QTest::newRow("US evening") << UnitedStates << at(2026, 12, 4, 22, 5, 8)
            << QStringList{"Dec 04, 2026  10:05 PM", "12/4/2026 10:05:08 PM", "Friday, December 04, 2026",
                           "Friday, Dec 4, 2026  10:05 PM", "Friday, Dec 4, 2026", "December 04, 2026",
                           "Dec 04, 2026", "04-Dec-26", "12/4/2026", "26/12/04", "10:05 PM", "10:05 PM",
                           "10:05:08 PM", "22:05:8", "22:05"};
        QTest::newRow("US midnight") << UnitedStates << at(2026, 12, 4, 0, 0, 0)
            << QStringList{"Dec 04, 2026  12:00 AM", "12/4/2026", "Friday, December 04, 2026",
                           "Friday, Dec 4, 2026  12:00 AM", "Friday, Dec 4, 2026", "December 04, 2026",
                           "Dec 04, 2026", "04-Dec-26", "12/4/2026", "26/12/04", "12:00 AM", "12:00 AM",
                           "12:00:00 AM", "0:00:0", "00:00"};
        QTest::newRow("US on the minute") << UnitedStates << at(2026, 12, 4, 15, 30, 0)
            << QStringList{"Dec 04, 2026  3:30 PM", "12/4/2026 3:30:00 PM", "Friday, December 04, 2026",
                           "Friday, Dec 4, 2026  3:30 PM", "Friday, Dec 4, 2026", "December 04, 2026",
                           "Dec 04, 2026", "04-Dec-26", "12/4/2026", "26/12/04", "3:30 PM", "03:30 PM",
                           "3:30:00 PM", "15:30:0", "15:30"};
        QTest::newRow("US morning") << UnitedStates << at(2026, 12, 4, 9, 5, 8)
            << QStringList{"Dec 04, 2026  9:05 AM", "12/4/2026 9:05:08 AM", "Friday, December 04, 2026",
                           "Friday, Dec 4, 2026  9:05 AM", "Friday, Dec 4, 2026", "December 04, 2026",
                           "Dec 04, 2026", "04-Dec-26", "12/4/2026", "26/12/04", "9:05 AM", "09:05 AM",
                           "9:05:08 AM", "9:05:8", "09:05"};
        QTest::newRow("US noon, single-digit date") << UnitedStates << at(2005, 1, 3, 12, 0, 5)
            << QStringList{"Jan 03, 2005  12:00 PM", "1/3/2005 12:00:05 PM", "Monday, January 03, 2005",
                           "Monday, Jan 3, 2005  12:00 PM", "Monday, Jan 3, 2005", "January 03, 2005",
                           "Jan 03, 2005", "03-Jan-05", "1/3/2005", "05/01/03", "12:00 PM", "12:00 PM",
                           "12:00:05 PM", "12:00:5", "12:00"};
        QTest::newRow("US half past midnight, leap day") << UnitedStates << at(2000, 2, 29, 0, 30, 59, 900)
            << QStringList{"Feb 29, 2000  12:30 AM", "2/29/2000 12:30:59 AM", "Tuesday, February 29, 2000",
                           "Tuesday, Feb 29, 2000  12:30 AM", "Tuesday, Feb 29, 2000", "February 29, 2000",
                           "Feb 29, 2000", "29-Feb-00", "2/29/2000", "00/02/29", "12:30 AM", "12:30 AM",
                           "12:30:59 AM", "0:30:59", "00:30"};
        QTest::newRow("US less than a second past midnight") << UnitedStates << at(2026, 12, 4, 0, 0, 0, 999)
            << QStringList{"Dec 04, 2026  12:00 AM", "12/4/2026", "Friday, December 04, 2026",
                           "Friday, Dec 4, 2026  12:00 AM", "Friday, Dec 4, 2026", "December 04, 2026",
                           "Dec 04, 2026", "04-Dec-26", "12/4/2026", "26/12/04", "12:00 AM", "12:00 AM",
                           "12:00:00 AM", "0:00:0", "00:00"};
        QTest::newRow("German") << QLocale(QLocale::German, QLocale::Germany) << at(2026, 12, 4, 22, 5, 8)
            << QStringList{"Dez. 04, 2026  10:05 PM", "04.12.2026 22:05:08", "Freitag, 4. Dezember 2026",
                           "Freitag, Dez. 4, 2026  10:05 PM", "Freitag, Dez. 4, 2026", "Dezember 04, 2026",
                           "Dez. 04, 2026", "04-Dez.-26", "04.12.2026", "26/12/04", "10:05 PM", "10:05 PM",
                           "22:05:08", "22:05:8", "22:05"};
        QTest::newRow("French") << QLocale(QLocale::French, QLocale::France) << at(2026, 12, 4, 22, 5, 8)
            << QStringList{"d\u00e9c. 04, 2026  10:05 PM", "04/12/2026 22:05:08", "vendredi 4 d\u00e9cembre 2026",
                           "vendredi, d\u00e9c. 4, 2026  10:05 PM", "vendredi, d\u00e9c. 4, 2026",
                           "d\u00e9cembre 04, 2026", "d\u00e9c. 04, 2026", "04-d\u00e9c.-26", "04/12/2026",
                           "26/12/04", "10:05 PM", "10:05 PM", "22:05:08", "22:05:8", "22:05"};
        QTest::newRow("British designators") << QLocale(QLocale::English, QLocale::UnitedKingdom)
            << at(2026, 12, 4, 22, 5, 8)
            << QStringList{"Dec 04, 2026  10:05 pm", "04/12/2026 22:05:08", "Friday, 4 December 2026",
                           "Friday, Dec 4, 2026  10:05 pm", "Friday, Dec 4, 2026", "December 04, 2026",
                           "Dec 04, 2026", "04-Dec-26", "04/12/2026", "26/12/04", "10:05 pm", "10:05 pm",
                           "22:05:08", "22:05:8", "22:05"};
    }
    void entries()
    {
        QFETCH(QLocale, locale);
        QFETCH(QDateTime, now);
        QFETCH(QStringList, expected);
        QCOMPARE(dateTimeEntries(now, locale), expected);
    }

    void formats_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("expected");
        // Thursday 7 March 2024, 15:04:09
        QTest::newRow("mm after h is minutes") << "h:mm" << "15:04";
        QTest::newRow("mm after hh is minutes") << "hh mm" << "15 04";
        QTest::newRow("m after h is minutes") << "h:m:s" << "15:4:9";
        QTest::newRow("mm after a date is the month") << "dd/mm/yy" << "07/03/24";
        QTest::newRow("m alone is the month") << "m" << "3";
        QTest::newRow("mmm after h is still a name") << "h mmm" << "15 Mar";
        QTest::newRow("AMPM puts h on the 12-hour clock") << "AMPM h" << "PM 3";
        QTest::newRow("two-digit 12-hour") << "hh:mm:ss AMPM" << "03:04:09 PM";
        QTest::newRow("letters in either case") << "MMMM D, YYYY ampm" << "March 7, 2024 PM";
        QTest::newRow("short weekday") << "ddd d" << "Thu 7";
        QTest::newRow("other characters copied") << "[yyyy.mm.dd] at h" << "[2024.03.07] at 15";
        QTest::newRow("named formats in any case") << "long DATE" << "Thursday, March 07, 2024";
        QTest::newRow("short date") << "Short Date" << "3/7/2024";
        QTest::newRow("medium time") << "Medium Time" << "03:04 PM";
        QTest::newRow("short time") << "Short Time" << "15:04";
        QTest::newRow("general date") << "General Date" << "3/7/2024 3:04:09 PM";
    }
    void formats()
    {
        QFETCH(QString, format);
        QFETCH(QString, expected);
        QCOMPARE(formatDateTime(at(2024, 3, 7, 15, 4, 9), format, UnitedStates), expected);
    }

    void regionalPatterns_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("shortDate");
        QTest::addColumn<QString>("longDate");
        QTest::addColumn<QString>("longTime");
        QTest::newRow("United States") << UnitedStates << "M/d/yyyy" << "dddd, MMMM dd, yyyy" << "h:mm:ss AP";
        QTest::newRow("Germany") << QLocale(QLocale::German, QLocale::Germany) << "dd.MM.yyyy"
                                 << "dddd, d. MMMM yyyy" << "HH:mm:ss";
        QTest::newRow("Russia, quoted text") << QLocale(QLocale::Russian, QLocale::Russia) << "dd.MM.yyyy"
                                             << "dddd, d MMMM yyyy '\u0433'." << "HH:mm:ss";
    }
    void regionalPatterns()
    {
        QFETCH(QLocale, locale);
        QFETCH(QString, shortDate);
        QFETCH(QString, longDate);
        QFETCH(QString, longTime);
        const RegionalPatterns patterns = ::regionalPatterns(locale);
        QCOMPARE((QStringList{patterns.shortDate, patterns.longDate, patterns.longTime}),
                 (QStringList{shortDate, longDate, longTime}));
    }

    void localePatterns_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("expected");
        // Friday 4 December 2026, 22:05:08, Russian names
        QTest::newRow("quoted text and genitive month") << "dddd, d MMMM yyyy '\u0433'."
                                                        << "\u043f\u044f\u0442\u043d\u0438\u0446\u0430, 4 "
                                                           "\u0434\u0435\u043a\u0430\u0431\u0440\u044f 2026 \u0433.";
        QTest::newRow("doubled quote") << "h 'o''clock'" << "22 o'clock";
        QTest::newRow("H is 24-hour even with AP") << "H h AP" << "22 10 PM";
        QTest::newRow("ap is lower case") << "hh:mm ap" << "10:05 pm";
        QTest::newRow("M is the month, m the minutes") << "M m MM mm" << "12 5 12 05";
    }
    void localePatterns()
    {
        QFETCH(QString, pattern);
        QFETCH(QString, expected);
        QCOMPARE(formatWithPattern(at(2026, 12, 4, 22, 5, 8), pattern, QLocale(QLocale::Russian, QLocale::Russia)),
                 expected);
    }

    void preselection_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("position");
        QTest::newRow("absent or empty") << "" << 0;
        QTest::newRow("first") << "0" << 0;
        QTest::newRow("default 8") << "8" << 8;
        QTest::newRow("last") << "14" << 14;
        QTest::newRow("one past the end") << "15" << 0;
        QTest::newRow("negative") << "-1" << 0;
        QTest::newRow("leading number") << "3abc" << 3;
        QTest::newRow("leading blanks") << " 7" << 7;
        QTest::newRow("no number") << "abc" << 0;
        QTest::newRow("huge") << "99999999999" << 0;
        QTest::newRow("fraction rounds half to even") << "2.5" << 2;
        QTest::newRow("fraction rounds up") << "13.6" << 14;
        QTest::newRow("rounds out of range") << "14.5" << 14;
        QTest::newRow("rounds past the end") << "14.7" << 0;
    }
    void preselection()
    {
        QFETCH(QString, stored);
        QFETCH(int, position);
        QCOMPARE(preselectedDateTimeEntry(stored), position);
    }

    void dialogListsTheMomentItOpened()
    {
        f.start();
        frmTime dialog(f.main.get(), at(2026, 12, 4, 22, 5, 8), UnitedStates);
        QStringList shown;
        for (int i = 0; i < dialog.List1->count(); ++i)
            shown << dialog.List1->item(i)->text();
        QCOMPARE(shown, dateTimeEntries(at(2026, 12, 4, 22, 5, 8), UnitedStates));
        QCOMPARE(dialog.List1->currentRow(), 0);
        QVERIFY(dialog.Command1->isDefault());
    }

    void defaultButtonStoresThePreselection()
    {
        f.start();
        {
            frmTime dialog(f.main.get());
            dialog.List1->setCurrentRow(8);
            dialog.Command3_Click();
            QVERIFY(!dialog.result());  // stays open, inserts nothing
        }
        QCOMPARE(testsupport::setting(QStringLiteral("Date/Time"), QStringLiteral("Format")), QStringLiteral("8"));
        QCOMPARE(frmTime(f.main.get()).List1->currentRow(), 8);
        QCOMPARE(f.text()->Text(), QString());
    }

    void okInsertsAndRestoresTheClipboard_data()
    {
        QTest::addColumn<int>("clipboard");  // 0 empty, 1 text, 2 picture
        QTest::addColumn<QString>("after");
        QTest::newRow("text kept") << 1 << "kept";
        QTest::newRow("empty stays empty") << 0 << "";
        QTest::newRow("picture is gone") << 2 << "";
    }
    void okInsertsAndRestoresTheClipboard()
    {
        QFETCH(int, clipboard);
        QFETCH(QString, after);
        f.start();
        Clipboard::Clear();
        if (clipboard == 1) {
            Clipboard::SetText(QStringLiteral("kept"));
        } else if (clipboard == 2) {
            auto* data = new QMimeData;
            data->setImageData(QImage(2, 2, QImage::Format_RGB32));
            QGuiApplication::clipboard()->setMimeData(data);
        }
        f.show(QStringLiteral("Date: XX!"), 6, 2);
        frmTime dialog(f.main.get());
        const QString entry = dialog.List1->item(5)->text();
        dialog.List1->setCurrentRow(5);
        dialog.Command1_Click();
        QCOMPARE(f.text()->Text(), QStringLiteral("Date: ") + entry + QStringLiteral("!"));
        QCOMPARE(Clipboard::GetText(), after);
        QVERIFY(!Clipboard::GetFormat() || clipboard == 1);
    }

    // F5 and Enter insert the preselected entry; Escape inserts nothing.
    void keys_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("inserts");
        QTest::newRow("Enter") << int(Qt::Key_Return) << true;
        QTest::newRow("Escape") << int(Qt::Key_Escape) << false;
    }
    void keys()
    {
        QFETCH(int, key);
        QFETCH(bool, inserts);
        f.start();
        f.show(QStringLiteral("abc"), 1);
        Clipboard::SetText(QStringLiteral("clip"));
        testsupport::WhenModal<frmTime> answer([key](frmTime* dialog) { QTest::keyClick(dialog, Qt::Key(key)); });
        f.main->mnuTime->trigger();
        QVERIFY(answer.answered());
        const QString entry = formatDateTime(QDateTime::currentDateTime(), QStringLiteral("mmm dd, yyyy"), QLocale());
        QVERIFY2(f.text()->Text().startsWith(inserts ? "a" + entry : "abc"), qPrintable(f.text()->Text()));
        QCOMPARE(Clipboard::GetText(), QStringLiteral("clip"));
    }
};

PAGEWELL_TEST_MAIN(TestDateTime)
#include "tst_datetime.moc"
