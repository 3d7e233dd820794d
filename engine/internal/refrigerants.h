// The refrigerants the engine rates, with every per-refrigerant coefficient
// of the film coefficient, the tube-side pressure drop and the dry
// refrigerant solver. Internal to the engine.
#pragma once

#include <string>

struct Refrigerant {
    const char* name;     // as the refrigerant list shows it: "12", "22", "134A", ...
    const char* altName;  // the same with a lower-case letter ("134a"); accepted as well
    // Refrigerant mass flow of the dry rating relative to R-22.
    float flowFactor;
    // Tube-side film coefficient, Btu/h.ft2.F, linear in the mass flux G in
    // thousands of lb/h.ft2: {slope, intercept}, by dry or wet rating and
    // plain or rifled tubes. Empirical fit.
    float filmDryPlain[2], filmDryRifled[2], filmWetPlain[2], filmWetRifled[2];
    // Multipliers on the tube pressure-drop gradient, dry and wet rating.
    float dropDry, dropWet;
};

// The row whose name or alternative name is exactly `name`; nullptr when
// there is none ("R22", "410 A" and "" are not refrigerants).
const Refrigerant* FindRefrigerant(const std::string& name);
