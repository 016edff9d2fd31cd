#include "files/FileTypes.h"

#include "core/Settings.h"
#include "core/Workspace.h"

QString FileFilter;

FileTypeRows storedFileTypeRows()
{
    FileTypeRows rows;
    for (int row = 0; row < 6; ++row) {
        rows[size_t(row)].extension = GetSetting(AppTitle, FileTypeSection, fileTypeExtensionKey(row));
        rows[size_t(row)].name = GetSetting(AppTitle, FileTypeSection, fileTypeNameKey(row));
    }
    return rows;
}

void storeFileTypeRows(const FileTypeRows& rows)
{
    for (int row = 0; row < 6; ++row) {
        SaveSetting(AppTitle, FileTypeSection, fileTypeExtensionKey(row), rows[size_t(row)].extension);
        SaveSetting(AppTitle, FileTypeSection, fileTypeNameKey(row), rows[size_t(row)].name);
    }
}

void BuildFileFilter()
{
    FileFilter = buildFileFilterText(storedFileTypeRows());
    if (Workspace* main = Workspace::instance())
        main->dlgCommonDialog.Filter = FileFilter;
}
