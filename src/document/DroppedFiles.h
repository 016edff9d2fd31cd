#pragma once
// Files dragged from a file manager open as documents; dragged text is text.
#include <QStringList>

class QDropEvent;

// The local files a drag carries, accepting it as a copy (the source keeps
// its files). Empty, with the event left alone, when it carries none.
QStringList acceptDroppedFiles(QDropEvent* event);
