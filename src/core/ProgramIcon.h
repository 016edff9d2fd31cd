#pragma once
// The program's own picture: the main window, every document window, the
// About box and the desktop entry show it.
#include <QIcon>

// Every size the icon theme installs, from the program's resources, so a build
// that is run where it was built shows it too.
QIcon programIcon();
