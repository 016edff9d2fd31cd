#pragma once
// A window showing the active document's pages exactly as they will print:
// the same layout drawn on the shared printer's pages. Its Print button
// prints them (and sets up the shared printer like Print Setup does).
#include "print/PageSettings.h"

class QWidget;

void ShowPrintPreview(QWidget* parent, const PageSettings& settings);
