// kvn-rate's one-line result, written straight into text: the same bytes as
// ResultJson(coil).dump() with replacement of invalid UTF-8, without
// building the JSON tree first (which cost more than a whole rating).
#pragma once

#include <string>

#include "tools/rate_json.h"

namespace kvnrate {

// Appends the compact result line of one coil (without the newline).
void AppendResultLine(std::string& out, const RatedCoil& c);

}  // namespace kvnrate
