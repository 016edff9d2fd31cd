#include "app/CommandLine.h"
#include "app/RecoveryStartup.h"
#include "app/frmMain.h"
#include "core/ProgramIcon.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    // Taken before Qt sees argv: QApplication would remove words such as
    // "-reverse" that are the user's path. Qt gets only the program's name
    // and still reads its environment (QT_QPA_PLATFORM and the like).
    const QString commandLine = commandLineFromArgv(argc, argv);
    int qtArgc = 1;
    char* qtArgv[] = {argv[0], nullptr};
    QApplication app(qtArgc, qtArgv);
    QApplication::setApplicationName(QStringLiteral("Pagewell"));
    QApplication::setApplicationVersion(QStringLiteral("5.0"));
    // Names the installed desktop entry, whose icon the desktop shows for our windows.
    QApplication::setDesktopFileName(QStringLiteral("io.github.pagewell.Pagewell"));
    QApplication::setWindowIcon(programIcon());

    frmMain main;
    main.MDIForm_Load(commandLine);
    main.show();
    setUpRecovery(main);
    return app.exec();
}
