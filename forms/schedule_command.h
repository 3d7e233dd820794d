// File, "Import Schedule..." and "Save Schedule Template..." on the coil
// selection window.
#pragma once

#include <QString>
#include <string>

#include "common/units.h"

class Form1;

// Adds the commands to the window's File menu, after "Import Coils...".
// Called once the menus exist.
void InitScheduleCommand(Form1* form);

// Writes the schedule template (XLSX or CSV by the name's extension) in
// the units of `system`; tells why when it cannot and returns false.
bool SaveScheduleTemplate(const std::string& path, units::System system);

// Opens the schedule window on `fileName`, or tells why the file is no
// schedule; "View" follows the Saved Coils list afterwards.
void ImportSchedule(Form1* form, const QString& fileName);
