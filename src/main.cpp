#include "app/RecoveryStartup.h"
#include "app/frmMain.h"

#include <QApplication>
#include <QStringList>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pagewell"));
    QApplication::setApplicationVersion(QStringLiteral("5.0"));
    QApplication::setDesktopFileName(QStringLiteral("pagewell"));

    // The whole command line is one path: its words joined by single blanks.
    QStringList words = QApplication::arguments();
    words.removeFirst();
    const QString commandLine = words.join(u' ');

    frmMain main;
    main.MDIForm_Load(commandLine);
    main.show();
    setUpRecovery(main);
    return app.exec();
}
