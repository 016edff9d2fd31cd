#pragma once
// The file types kept in the settings store, and the filter text the file
// dialogs get from them.
#include "files/FileFilter.h"

#include <QString>

// The last filter text built.
extern QString FileFilter;

FileTypeRows storedFileTypeRows();
void storeFileTypeRows(const FileTypeRows& rows);

// Builds the filter from the stored types into FileFilter and the main
// window's common dialog.
void BuildFileFilter();
