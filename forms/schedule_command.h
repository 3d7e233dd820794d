// File, "Import Schedule..." on the coil selection window.
#pragma once

#include <QString>

class Form1;

// Adds the command to the window's File menu, after "Import Coils...".
// Called once the menus exist.
void InitScheduleCommand(Form1* form);

// Opens the schedule window on `fileName`, or tells why the file is no
// schedule; "View" follows the Saved Coils list afterwards.
void ImportSchedule(Form1* form, const QString& fileName);
