#pragma once
// The schedule template: a header naming the columns a schedule of any coil
// type uses, and one example row per coil type, written as CSV or XLSX.
#include <string>
#include <vector>

#include "common/units.h"

namespace kvn::schedule {

// The template's columns in `system` (duty keys of that system).
std::vector<std::string> TemplateHeader(units::System system);
// The example rows under TemplateHeader: a water, a glycol, a steam, an
// evaporator and a condenser coil, each with a duty that coils of its
// construction space meet; the numbers of `system`.
std::vector<std::vector<std::string>> TemplateRows(units::System system);

// Writes the template to `path`: XLSX when it ends in ".xlsx", CSV when in
// ".csv". False with a message naming the file otherwise, or when it
// cannot be written.
bool WriteScheduleTemplate(const std::string& path, units::System system, std::string& error);

}  // namespace kvn::schedule
