// kvn-rate --chart FILE: the psychrometric chart of the batch's first coil,
// in the format of the file's extension (.png, .svg or .pdf), in the units
// of --units, over the range of --chart-range, for the paper of --paper and
// (PNG) at the resolution of --dpi.
#pragma once

#include <cstddef>
#include <string>

#include "common/units.h"
#include "tools/rate_json.h"
#include "tools/report_output.h"

namespace kvnrate {

// The chart's choices on the command line.
struct ChartChoices {
    units::System units = units::System::InchPound;
    bool whole = false;  // --chart-range full
    int dpi = 300;       // --dpi
    bool a4 = false;     // --paper a4
};

// The chart of the batch's first coil; `count` coils were read, and `first`
// is null when the first was no coil.
int WriteChartFile(const std::string& path, const RatedCoil* first, std::size_t count,
                   const ChartChoices& choices = {});

}  // namespace kvnrate
