// The saturation-temperature search in two parts, for a solver that searches
// many times from the same air: the start (the dew point of that air and the
// saturated enthalpy there) is found once and reused. Internal to the engine.
#pragma once

#include <cstdint>

struct SatSearchStart {
    bool found = false;  // false: a run-time error ended the start
    double t = 0;        // F, dew point of the air
    double h = 0;        // Btu/lb, saturated enthalpy at t
};

// Start of the search from air at the given dry and wet bulb.
SatSearchStart CC_SatSearchStart(float dryBulb, float wetBulb);

// CC_SatTempFromEnthalpy from a start found by CC_SatSearchStart: the same
// answer, bit for bit, as the search from that air.
float CC_SatTempFromStart(float targetEnthalpy, const SatSearchStart& start, int16_t& done);
