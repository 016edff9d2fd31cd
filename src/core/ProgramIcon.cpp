#include "core/ProgramIcon.h"

QIcon programIcon()
{
    // Drawn once as resources/icons/pagewell.svg; scripts/render-icon.sh makes the sizes.
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/pagewell-%1.png").arg(size), QSize(size, size));
    return icon;
}
