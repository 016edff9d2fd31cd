#pragma once
// Every test program runs with its own empty config and data folders, so no
// test reads or writes the user's real settings or files.
#include <QString>
#include <QTest>

namespace testenv {

// Points XDG_CONFIG_HOME, XDG_DATA_HOME and HOME into a fresh temporary
// folder. Call before the QApplication exists.
void isolate();

// The temporary root made by isolate().
QString root();

// Deletes the settings file and forgets cached stores (between cases).
void clearSettings();

// Writes a file below root() and returns its path.
QString writeFile(const QString& relativePath, const QByteArray& bytes);

}  // namespace testenv

// Like QTEST_MAIN, with the isolated folders.
#define PAGEWELL_TEST_MAIN(TestClass)              \
    int main(int argc, char** argv)                \
    {                                              \
        testenv::isolate();                        \
        QApplication app(argc, argv);              \
        app.setAttribute(Qt::AA_Use96Dpi, true);   \
        TestClass test;                            \
        QTEST_SET_MAIN_SOURCE_PATH                 \
        return QTest::qExec(&test, argc, argv);    \
    }
