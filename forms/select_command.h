// The Tools menu's "Select to Duty..." on the coil selection window.
#pragma once

#include "common/calc_driver.h"

class Form1;
class QMenu;

// Adds the command to `tools`; it is enabled while the coil panel is shown.
// Called once the window's panels exist.
void InitSelectCommand(Form1* form, QMenu* tools);

// The coil panel's field texts by field key.
FieldTexts PanelFields(const Form1& form);

// Fills the coil panel with a chosen candidate's fields and rates it, as
// "Calculate" does.
void UseCandidate(Form1& form, const FieldTexts& fields);
