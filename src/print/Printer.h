#pragma once
class QPrinter;

// The printer every job of this run prints on; Print Setup changes it.
QPrinter& sharedPrinter();
