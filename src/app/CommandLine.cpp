#include "app/CommandLine.h"

#include <QStringList>

QString commandLineFromArgv(int argc, char** argv)
{
    QStringList words;
    for (int i = 1; i < argc; ++i)
        words << QString::fromLocal8Bit(argv[i]);
    return words.join(u' ');
}
