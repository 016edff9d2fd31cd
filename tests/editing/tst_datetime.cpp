// The Date and Time dialog: its fifteen entries for fixed moments and
// locales, the format interpreter behind them, the preselected position, and
// what OK, Default, Enter and Escape do to the text and the clipboard.
#include "MainWindowFixture.h"
#include "app/frmMain.h"
#include "core/Clipboard.h"
#include "core/DateTimeFormat.h"
#include "document/RichTextBox.h"
#include "editing/DateTimeEntries.h"
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

    // The program's formats and the named ones, United States names.
    void formats_data()
    {
        QTest::addColumn<QDateTime>("moment");
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QLocale>("locale");
        const QDateTime t = at(2024, 3, 7, 15, 4, 9);  // a Thursday
        QTest::newRow("mm after h is minutes") << t << "h:mm" << "15:04" << UnitedStates;
        QTest::newRow("mm after hh is minutes") << t << "hh mm" << "15 04" << UnitedStates;
        QTest::newRow("m after h is minutes") << t << "h:m:s" << "15:4:9" << UnitedStates;
        QTest::newRow("mm after a date is the month") << t << "dd/mm/yy" << "07/03/24" << UnitedStates;
        QTest::newRow("m alone is the month") << t << "m" << "3" << UnitedStates;
        QTest::newRow("mmm after h is still a name") << t << "h mmm" << "15 Mar" << UnitedStates;
        QTest::newRow("AMPM puts h on the 12-hour clock") << t << "AMPM h" << "PM 3" << UnitedStates;
        QTest::newRow("two-digit 12-hour") << t << "hh:mm:ss AMPM" << "03:04:09 PM" << UnitedStates;
        QTest::newRow("letters in either case") << t << "MMMM D, YYYY ampm" << "March 7, 2024 PM" << UnitedStates;
        QTest::newRow("short weekday") << t << "ddd d" << "Thu 7" << UnitedStates;
        QTest::newRow("other characters copied") << t << "[yyyy.mm.dd] at h" << "[2024.03.07] at 15" << UnitedStates;
        QTest::newRow("named formats in any case") << t << "long DATE" << "Thursday, March 07, 2024" << UnitedStates;
        QTest::newRow("short date") << t << "Short Date" << "3/7/2024" << UnitedStates;
        QTest::newRow("medium date") << t << "Medium Date" << "07-Mar-24" << UnitedStates;
        QTest::newRow("medium time") << t << "Medium Time" << "03:04 PM" << UnitedStates;
        QTest::newRow("short time") << t << "Short Time" << "15:04" << UnitedStates;
        QTest::newRow("general date") << t << "General Date" << "3/7/2024 3:04:09 PM" << UnitedStates;
        QTest::newRow("midnight: date only") << at(2026, 12, 4, 0, 0, 0) << "General Date" << "12/4/2026" << UnitedStates;
        QTest::newRow("under a second past midnight") << at(2026, 12, 4, 0, 0, 0, 999) << "General Date" << "12/4/2026" << UnitedStates;
        QTest::newRow("a whole minute") << at(2026, 12, 4, 15, 30, 0) << "General Date" << "12/4/2026 3:30:00 PM" << UnitedStates;
        QTest::newRow("a whole hour past midnight") << at(2026, 12, 4, 1, 0, 0) << "General Date" << "12/4/2026 1:00:00 AM" << UnitedStates;
        QTest::newRow("midnight, 12-hour") << at(2026, 12, 4, 0, 0, 0) << "h:mm AMPM|Long Time|h:mm:s"
                                           << "12:00 AM|12:00:00 AM|0:00:0" << UnitedStates;
        QTest::newRow("morning") << at(2026, 12, 4, 9, 5, 8) << "h:mm AMPM|Medium Time|Long Time|h:mm:s|Short Time"
                                 << "9:05 AM|09:05 AM|9:05:08 AM|9:05:8|09:05" << UnitedStates;
        QTest::newRow("noon, single-digit date") << at(2005, 1, 3, 12, 0, 5) << "General Date|yy/mm/dd|dddd, mmm d"
                                                 << "1/3/2005 12:00:05 PM|05/01/03|Monday, Jan 3" << UnitedStates;
        // Quoted text in a regional pattern stays as it is.
        QTest::newRow("Bulgarian short date") << t << "Short Date" << "7.03.2024 \u0433." << QLocale(QLocale::Bulgarian);
        // "=" marks the locale's pattern syntax. Russian names.
        const QLocale ru(QLocale::Russian, QLocale::Russia);
        const QDateTime r = at(2026, 12, 4, 22, 5, 8);
        QTest::newRow("quoted text and genitive month")
            << r << "=dddd, d MMMM yyyy '\u0433'."
            << "\u043f\u044f\u0442\u043d\u0438\u0446\u0430, 4 \u0434\u0435\u043a\u0430\u0431\u0440\u044f 2026 \u0433." << ru;
        QTest::newRow("doubled quotes") << r << "=h 'o''clock' h''mm" << "22 o'clock 22'05" << ru;
        QTest::newRow("two-digit year") << r << "=yy yyyy" << "26 2026" << ru;
        QTest::newRow("H is 24-hour even with AP") << r << "=H h AP" << "22 10 PM" << ru;
        QTest::newRow("ap is lower case") << r << "=hh:mm ap" << "10:05 pm" << ru;
        QTest::newRow("A and a alone, Ap as the locale writes it") << r << "=h A a Ap" << "10 PM pm PM" << ru;
        QTest::newRow("M is the month, m the minutes") << r << "=M m MM mm" << "12 5 12 05" << ru;
        QTest::newRow("leap day, half past midnight") << at(2000, 2, 29, 0, 30, 59, 900) << "General Date|Medium Date"
                                                      << "2/29/2000 12:30:59 AM|29-Feb-00" << UnitedStates;
    }
    void formats()
    {
        QFETCH(QDateTime, moment);
        QFETCH(QString, format);
        QFETCH(QString, expected);
        QFETCH(QLocale, locale);
        QStringList texts;
        for (const QString& one : format.split(u'|'))
            texts << (one.startsWith(u'=') ? formatWithPattern(moment, one.mid(1), locale)
                                           : formatDateTime(moment, one, locale));
        QCOMPARE(texts.join(u'|'), expected);
    }

    void preselection_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("position");
        QTest::newRow("absent or empty") << "" << 0;
        QTest::newRow("last") << "14" << 14;
        QTest::newRow("one past the end") << "15" << 0;
        QTest::newRow("negative") << "-1" << 0;
        QTest::newRow("leading number after blanks") << " 3abc" << 3;
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

    // The dialog lists the moment it opened; Default stores the selected
    // position for the next opening and inserts nothing.
    void dialogListsAndStores()
    {
        f.start();
        frmTime dialog(f.main.get(), at(2026, 12, 4, 22, 5, 8), UnitedStates);
        QStringList shown;
        for (int i = 0; i < dialog.List1->count(); ++i)
            shown << dialog.List1->item(i)->text();
        QCOMPARE(shown, dateTimeEntries(at(2026, 12, 4, 22, 5, 8), UnitedStates));
        QVERIFY(dialog.List1->currentRow() == 0 && dialog.Command1->isDefault());
        dialog.List1->setCurrentRow(8);
        dialog.Command3_Click();
        QVERIFY(!dialog.result());  // stays open
        QCOMPARE(testsupport::setting(QStringLiteral("Date/Time"), QStringLiteral("Format")), QStringLiteral("8"));
        QCOMPARE(frmTime(f.main.get()).List1->currentRow(), 8);
        QCOMPARE(f.text()->Text(), QString());
    }

    // OK and Enter insert the selected entry (through the clipboard, which
    // gets its text back, or is left empty); Escape inserts nothing.
    void insertion_data()
    {
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<int>("key");  // 0: OK clicked
        QTest::addColumn<QString>("after");  // the clipboard afterwards
        QTest::newRow("text kept") << "kept" << 0 << "kept";
        QTest::newRow("empty stays empty") << "" << 0 << "";
        QTest::newRow("picture is gone") << "<picture>" << 0 << "";
        QTest::newRow("Enter") << "kept" << int(Qt::Key_Return) << "kept";
        QTest::newRow("Escape") << "kept" << int(Qt::Key_Escape) << "kept";
    }
    void insertion()
    {
        QFETCH(QString, clipboard);
        QFETCH(int, key);
        QFETCH(QString, after);
        f.start();
        if (clipboard == QLatin1String("<picture>")) {
            auto* data = new QMimeData;
            data->setImageData(QImage(2, 2, QImage::Format_RGB32));
            QGuiApplication::clipboard()->setMimeData(data);
        } else {
            clipboard.isEmpty() ? Clipboard::Clear() : Clipboard::SetText(clipboard);
        }
        f.show(QStringLiteral("Date: XX!"), 6, 2);
        QString entry;
        testsupport::WhenModal<frmTime> answer([&](frmTime* dialog) {
            dialog->List1->setCurrentRow(5);
            entry = dialog->List1->item(5)->text();
            key ? QTest::keyClick(dialog->List1, Qt::Key(key)) : dialog->Command1->click();
        });
        f.main->item("mnuTime")->trigger();
        QVERIFY(answer.answered());
        QCOMPARE(f.text()->Text(), key == Qt::Key_Escape ? "Date: XX!" : "Date: " + entry + "!");
        QCOMPARE(Clipboard::GetText(), after);
        QVERIFY(!Clipboard::GetFormat() || !after.isEmpty());
    }
};

PAGEWELL_TEST_MAIN(TestDateTime)
#include "tst_datetime.moc"
