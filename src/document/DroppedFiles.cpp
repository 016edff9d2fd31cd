#include "document/DroppedFiles.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

QStringList acceptDroppedFiles(QDropEvent* event)
{
    QStringList paths;
    if (!(event->possibleActions() & Qt::CopyAction))
        return paths;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile())
            paths << url.toLocalFile();
    }
    if (!paths.isEmpty()) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    }
    return paths;
}
