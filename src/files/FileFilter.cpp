#include "files/FileFilter.h"

namespace {

const char* const RowKeys[6] = {"One", "Two", "Three", "Four", "Five", "Six"};

}  // namespace

QString fileTypeExtensionKey(int row) { return QString::fromLatin1(RowKeys[row]); }

QString fileTypeNameKey(int row) { return fileTypeExtensionKey(row) + QLatin1String("Name"); }

QString buildFileFilterText(const FileTypeRows& rows)
{
    if (rows[0].extension.isEmpty())
        return DefaultFileFilter;
    QString filter;
    for (const FileType& type : rows) {
        if (type.extension.isEmpty())
            continue;
        filter += type.name + QLatin1String(" (*.") + type.extension + QLatin1String(") |*.")
                  + type.extension + u'|';
    }
    filter.chop(1);
    return filter;
}

FileTypeRows initialFileTypeRows()
{
    return {{{QStringLiteral("*"), QStringLiteral("All Files")},
             {QStringLiteral("txt"), QStringLiteral("Text Files")},
             {QStringLiteral("ini"), QStringLiteral("INI Files")},
             {},
             {},
             {}}};
}

bool extensionBoxAcceptsKey(QChar typed) { return typed != u'.'; }

bool nameBoxAcceptsKey(const QString& rowExtension) { return !rowExtension.isEmpty(); }
