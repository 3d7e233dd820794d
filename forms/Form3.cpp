#include "forms/Form3.h"

// Filled in with the report and its preview window.
void ShowPrintPreview(QWidget*) {}
void PrintMultiCoilReport(QWidget*) {}
