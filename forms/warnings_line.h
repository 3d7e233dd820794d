// The warnings line of the coil panel, under the results grid: a warning
// icon and the engineering warnings of the last rating, one a line. Hidden
// when the rating has none; the grid keeps its rows either way. Assistive
// technology sees it as a notification named by its warnings, told of each
// change (forms/announce.h).
#pragma once

#include <vector>

#include "common/units.h"
#include "common/warnings.h"

class QWidget;

// A hidden line named "fraWarnings" holding the icon "imgWarnings" and the
// text label "lblWarnings".
QWidget* MakeWarningsLine(QWidget* parent);

// Shows `warnings`, their texts in `system`, on the line made by
// MakeWarningsLine, or hides it.
void ShowWarningsLine(QWidget* line, const std::vector<CoilWarning>& warnings,
                      units::System system = units::System::InchPound);
// Empties and hides the line: the rating it told of is no longer shown.
void ClearWarningsLine(QWidget* line);
