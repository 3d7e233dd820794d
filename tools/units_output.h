// kvn-rate in SI units (--units si): the input texts are read in SI and
// converted to the inch-pound texts the driver reads; the result names its
// units and lists the grid in SI. The records stay inch-pound, as the
// engine holds them.
#pragma once

#include <string>

#include "common/units.h"
#include "tools/rate_json.h"

namespace kvnrate {

// The inch-pound field texts for field texts given in `system`.
FieldTexts InchPoundFields(const FieldTexts& fields, units::System system);

// The result object of one coil in `system`: inch-pound results are left
// as they are; SI results carry "units": "SI" after "ok", the grid in SI and
// the validation message in its SI wording.
Json ResultJsonIn(units::System system, const RatedCoil& c);

}  // namespace kvnrate
