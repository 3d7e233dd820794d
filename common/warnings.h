// Engineering warnings on a finished rating: advice an application engineer
// would give about a coil that rates but may fail in the field. A warning
// never stops a rating; each has a stable code (for scripts) and a one-line
// text (for people).
#pragma once

#include <string>
#include <vector>

#include "engine/records.h"

namespace units {
enum class System;  // common/units.h
}

struct CoilWarning {
    std::string code;  // "face-velocity-wet", ...
    std::string text;  // one line
};

// What the records alone do not tell: how the fields were filled and how the
// engine reached its result.
struct RatingFacts {
    bool circuitsBlank = false;   // the Circuits field was empty (one circuit rated)
    bool wetBulbAssumed = false;  // the entering wet bulb was 0 or blank (rated at dry bulb - 1)
    bool trialLimit = false;      // a solver ended on the mean of its last two trials
    bool laminarFilm = false;     // the tube-side coefficient came from the laminar/transitional tables
};

// The limits the warnings apply, in one place.
enum WarningLimitId {
    kWetFaceVelocityMax,  // ft/min
    kTubeVelocityMin,     // ft/s
    kTubeVelocityMax,     // ft/s
    kHotTubeVelocityMax,  // ft/s
    kHotFluidTemp,        // F
    kWaterCoilAirMin,     // F
    kWarningLimitCount
};

struct WarningLimit {
    WarningLimitId id;
    double value;
    const char* unit;
    const char* reason;
};

extern const WarningLimit kWarningLimits[kWarningLimitCount];
double Limit(WarningLimitId id);

// Freezing point, F, of the tube fluid: water, or the glycol solution of
// `percentGlycol` per cent (by mass) when `glycol` is true.
double FluidFreezingPoint(bool glycol, double percentGlycol);

// The warnings of a rated coil, in a fixed order.
std::vector<CoilWarning> CoilWarnings(const CoilSpec& coilSpec, const CoilRating& rating,
                                      const RatingFacts& facts);

// The texts joined into one line ("" when there is none).
std::string WarningsLine(const std::vector<CoilWarning>& warnings);

// A warning text, or a line of them, in `system`: the inch-pound text as it
// is, or its SI form, with each limit and value given in SI ("500 ft/min"
// -> "2.54 m/s", "35 °F" -> "1.7 °C"). The codes are the same in both.
std::string WarningText(units::System system, const std::string& ipText);
std::string WarningsLine(units::System system, const std::vector<CoilWarning>& warnings);
