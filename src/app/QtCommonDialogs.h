#pragma once
// The common dialogs as Qt's own dialogs and ours, with Help showing the
// help window; everything that shows a dialog goes through them once this ran.
void installQtCommonDialogs();
