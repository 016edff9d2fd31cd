// The About box's memory lines and the memory status they come from.
#include "TestEnvironment.h"
#include "help/MemoryStatus.h"

#include <QApplication>

class TestMemoryStatus : public QObject {
    Q_OBJECT

private slots:
    void availableLine_data()
    {
        QTest::addColumn<quint64>("bytes");
        QTest::addColumn<QString>("shown");
        QTest::newRow("16 MB") << quint64(16) * 1024 * 1024 << "16,384";
        QTest::newRow("8,000 KB keeps five digits") << quint64(8000) * 1024 << "08,000";
        QTest::newRow("32 MB") << quint64(32) * 1024 * 1024 << "32,768";
        QTest::newRow("nothing") << quint64(0) << "00,000";
        QTest::newRow("below 1 KB rounds") << quint64(512) << "00,001";
        QTest::newRow("1 MB") << quint64(1024) * 1024 << "01,024";
        QTest::newRow("99,999 KB") << quint64(99999) * 1024 << "99,999";
        QTest::newRow("100,000 KB") << quint64(100000) * 1024 << "100,000";
        QTest::newRow("2 GB, past a signed 32-bit count") << quint64(2) * 1024 * 1024 * 1024 << "2,097,152";
        QTest::newRow("over 4 GB") << quint64(6) * 1024 * 1024 * 1024 << "6,291,456";
        QTest::newRow("1 TB") << (quint64(1) << 40) << "1,073,741,824";
    }
    void availableLine()
    {
        QFETCH(quint64, bytes);
        QFETCH(QString, shown);
        QCOMPARE(memoryAvailableLine(bytes), QStringLiteral("Physical Memory Available to Windows:  ") + shown + QStringLiteral(" KB"));
    }

    void groupSeparatorIsTheLocales()
    {
        QCOMPARE(formatZeroPadded5Grouped(1234567, QStringLiteral(".")), QStringLiteral("1.234.567"));
        QCOMPARE(formatZeroPadded5Grouped(8000.5), QStringLiteral("08,001"));  // halves round up
    }

    void inUseLine_data()
    {
        QTest::addColumn<int>("load");
        QTest::addColumn<QString>("line");
        QTest::newRow("61") << 61 << "Physical Memory Currently In Use:  61%";
        QTest::newRow("0") << 0 << "Physical Memory Currently In Use:  0%";
        QTest::newRow("100") << 100 << "Physical Memory Currently In Use:  100%";
    }
    void inUseLine()
    {
        QFETCH(int, load);
        QFETCH(QString, line);
        QCOMPARE(memoryInUseLine(load), line);
    }

    void fromMeminfo_data()
    {
        QTest::addColumn<QString>("meminfo");
        QTest::addColumn<bool>("readable");
        QTest::addColumn<quint64>("totalBytes");
        QTest::addColumn<int>("load");
        QTest::newRow("32 MB with 61 % in use")
            << "MemTotal:          32768 kB\nMemFree:            1000 kB\nMemAvailable:      12780 kB\n"
            << true << quint64(32768) * 1024 << 61;
        QTest::newRow("nothing in use") << "MemTotal: 1000 kB\nMemAvailable: 1000 kB\n" << true << quint64(1024000) << 0;
        QTest::newRow("all in use") << "MemTotal: 1000 kB\nMemAvailable: 0 kB\n" << true << quint64(1024000) << 100;
        QTest::newRow("a half rounds up") << "MemTotal: 1000 kB\nMemAvailable: 995 kB\n" << true << quint64(1024000) << 1;
        QTest::newRow("without MemAvailable, MemFree")
            << "MemTotal: 2000 kB\nMemFree: 500 kB\nBuffers: 10 kB\n" << true << quint64(2048000) << 75;
        QTest::newRow("over 4 GB") << "MemTotal:       24683784 kB\nMemAvailable:   23991720 kB\n"
                                   << true << quint64(24683784) * 1024 << 3;
        QTest::newRow("another key ending in MemTotal") << "SwapMemTotal: 5 kB\n" << false << quint64(0) << 0;
        QTest::newRow("empty") << "" << false << quint64(0) << 0;
    }
    void fromMeminfo()
    {
        QFETCH(QString, meminfo);
        QFETCH(bool, readable);
        QFETCH(quint64, totalBytes);
        QFETCH(int, load);
        const std::optional<MemoryStatus> status = memoryStatusFromMeminfo(meminfo);
        QCOMPARE(status.has_value(), readable);
        if (!status)
            return;
        QCOMPARE(status->totalPhysicalBytes, totalBytes);
        QCOMPARE(status->memoryLoad, load);
    }

    // The example of a machine with 32 MB, 61 % in use, end to end.
    void exampleLines()
    {
        const auto status = memoryStatusFromMeminfo(QStringLiteral("MemTotal: 32768 kB\nMemAvailable: 12780 kB\n"));
        QVERIFY(status);
        QCOMPARE(memoryAvailableLine(status->totalPhysicalBytes),
                 QStringLiteral("Physical Memory Available to Windows:  32,768 KB"));
        QCOMPARE(memoryInUseLine(status->memoryLoad), QStringLiteral("Physical Memory Currently In Use:  61%"));
    }

    void thisMachine()
    {
        const MemoryStatus status = GlobalMemoryStatus();
        QVERIFY(status.totalPhysicalBytes > quint64(16) * 1024 * 1024);
        QVERIFY(status.memoryLoad >= 0 && status.memoryLoad <= 100);
    }
};

PAGEWELL_TEST_MAIN(TestMemoryStatus)
#include "tst_memorystatus.moc"
