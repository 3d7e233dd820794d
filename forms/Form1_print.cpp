// Form1: printing the performance sheet, printer setup and the multi-coil
// printout of the saved coils.
//
// Not in place yet: PrintCommandsAvailable() answers false, so the window
// keeps "&Finish", "Print &Setup...", "&Print..." and the toolbar's "Print"
// button disabled.
#include "forms/Form1.h"

bool Form1::PrintCommandsAvailable() const { return false; }

void Form1::InitPrintCommands() {}

void Form1::cmdFinish_Click() {}

void Form1::mnuFilePrintSetup_Click() {}

void Form1::mnuFilePrint_Click() {}
