// Form1: saving a coil for the multi-coil printout, the Saved Coils list and
// the coil file commands.
//
// Not in place yet: FileCommandsAvailable() answers false, so the window
// keeps "&Save", "&View", "&New...", "&Open..." and the toolbar's "New" and
// "Open" buttons disabled.
#include "forms/Form1.h"

bool Form1::FileCommandsAvailable() const { return false; }

void Form1::InitFileCommands() {}

void Form1::cmdSave_Click() {}

void Form1::cmdView_Click() {}

void Form1::mnuFileOpen_Click() {}

void Form1::mnuFileNew_Click() {}
