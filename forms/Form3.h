// Form3 "Print Preview": the multi-coil report of the saved coils.
#pragma once

class QWidget;

// Builds the multi-coil report of SavedCoils and shows it in the modal
// print preview window.
void ShowPrintPreview(QWidget* parent);
// Builds the multi-coil report of SavedCoils and prints it without showing it.
void PrintMultiCoilReport(QWidget* parent);
