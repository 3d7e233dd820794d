// The performance sheet and the multi-coil report in SI units: labels,
// headers and cells. The saved-coil table stays inch-pound; only what is
// printed is converted.
#pragma once

#include <string>

#include "common/units.h"
#include "files/saved_coils.h"

namespace reports {

// A label of the sheet in SI for its inch-pound text (unchanged when it
// names no unit).
std::string SiSheetLabel(const std::string& ipLabel);

// A header row of the report ("No.|Fin HGT|...") with each heading in SI.
std::string SiReportHeader(const std::string& ipHeader);

// The cell of `column` of a saved row in SI with the decimals of its
// quantity; cells without a unit (counts, codes, placeholders) are
// formatted with `ipPattern` as the inch-pound report does.
std::string SiReportCell(const SavedCoilTable::Row& row, int column, const std::string& ipPattern);

// The page header's altitude in SI ("610 m") for an altitude in feet.
std::string SiAltitudeText(double feet);

}  // namespace reports
