#include "core/Workspace.h"

#include <QWidget>

namespace {
Workspace* theWorkspace = nullptr;
}

Workspace::Workspace(QWidget* owner) : dlgCommonDialog(owner) { theWorkspace = this; }

Workspace::~Workspace()
{
    if (theWorkspace == this)
        theWorkspace = nullptr;
}

Workspace* Workspace::instance() { return theWorkspace; }

QWidget* Workspace::mainWidget() { return theWorkspace ? theWorkspace->widget() : nullptr; }
