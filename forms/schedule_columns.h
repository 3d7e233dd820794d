// The columns of a schedule whose header texts are not column names: the
// user says which column each one is, offered what was chosen for the same
// text last time, else the column it most likely means ("EAT DB", "CFM").
#pragma once

#include <string>

#include "common/units.h"
#include "exchange/schedule.h"

class QWidget;

// The column offered for a header text: the one remembered for it, else
// kvn::schedule::MatchColumn's; "" to leave it out.
std::string ProposedColumn(const std::string& header, units::System system);
// Remembers the column chosen for a header text, for the next schedule.
void RememberColumn(const std::string& header, const std::string& column);

// When a header text of `table` is no column name, asks which column each
// such text is and renames them; false when the user cancels. Nothing is
// asked of a table whose header names only columns.
bool MapScheduleColumns(QWidget* parent, kvn::schedule::ScheduleTable& table, units::System system);
