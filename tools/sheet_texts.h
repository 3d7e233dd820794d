// The performance sheet's texts of a rated coil, for kvn-rate's sheet,
// chart and submittal. It brings in Qt, whose "slots" keyword macro would
// rewrite the plain names of headers after it: include it last.
#pragma once

#include "reports/performance_sheet.h"
#include "tools/rate_json.h"

namespace kvnrate {

// The header panel's texts of a coil object; the model defaults to the
// coil's designation.
reports::SheetTexts SheetTextsOf(const RatedCoil& coil);

}  // namespace kvnrate
