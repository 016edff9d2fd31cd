#pragma once
// Font family names as the desktop's own font pickers show them.
#include <QString>
#include <QStringList>

namespace fontfamilies {

// Where two foundries make a family of one name, Qt tells them apart as
// "Nimbus Sans [urw]"; users know it as "Nimbus Sans".
QString plain(const QString& family);
// The plain names, each once, in the order first met.
QStringList plain(const QStringList& families);

}  // namespace fontfamilies
