// The coil rating engine's public face: the entry that rates a coil, what it
// reports beside the two records, and the few pure helpers other layers use.
// Everything else of the engine (its module state and procedures) is in
// engine/internal/coilcalc_internal.h, which only the engine and its tests include.
//
// Threads: CC_RateCoil may run on several threads at once, each rating its
// own coil (see engine/internal/coilcalc_internal.h). Every rating starts from a fresh
// state, so its result does not depend on what the thread rated before.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/records.h"

// What a rating reports beside its records.
struct RatingOutcome {
    // When CC_RateCoil answers false: property assignment's message, as shown.
    std::string failure;
    // How the rating was reached, for the caller's advice; no result depends
    // on them.
    bool trialLimitReached = false;  // a solver ended on the mean of its last two trials
    bool laminarFilm = false;        // the last tube-side coefficient came from the
                                     // laminar or transitional tables
};

// Entry: rates the coil described by the two records, starting from a fresh
// module state (as at program start). On success both hold the results.
// When property assignment fails its message has been shown, both records
// are left exactly as passed in, and false is returned. A run-time error
// (rt::RtError) raised elsewhere in the engine propagates to the caller,
// with the records untouched. The second form also fills `outcome`.
bool CC_RateCoil(CoilSpec& coilSpec, CoilRating& rating);
bool CC_RateCoil(CoilSpec& coilSpec, CoilRating& rating, RatingOutcome& outcome);

// Saturation temperature of steam, F, at a gauge pressure, psig, as the steam
// properties take it from a pressure: 212 F at no pressure or below. Pure.
float CC_SteamTemperature(double psig);

// Factor on the refrigerant mass flow of the dry refrigerant rating, matched
// exactly on the refrigerant text; 0 for a text outside the table (the mass
// flow is then left as the record brings it). Pure.
double CC_RefrigerantFlowFactor(const std::string& refrigerant);

// The refrigerants the engine rates, by the names the refrigerant list shows
// ("12", "22", "134A", ...), in the engine's table order. Pure.
std::vector<std::string_view> CC_RefrigerantNames();

// The parts of the air pressure drop that change with the rows, the wetness
// and the mean air temperature, as the drop itself computes them, for bounds
// on it (the selection prunes with them). Pure.
//
// Rows-factor slope of a tube pattern and fin treatment letter: the rows
// factor is 1 + (R - 2) k, or R itself when k is 0; k is -1 for the drop
// that has no rows factor (the 1 in. tube). False for a pair the drop has no
// data for.
bool CC_AirDropRowsSlope(const std::string& pattern, char finLetter, double& k);

// The wet-surface multiplier on the dry drop is a * b * c, applied in that
// order, at fpi fins per inch and x, F, the entering wet bulb less half the
// wet-bulb depression less the entering fluid (applied from x = 3 F up).
struct CC_WetDropTerms {
    double a, b, c;
};
CC_WetDropTerms CC_WetAirDropTerms(double fpi, double x);

// Air density factor on the drop at the mean air temperature t, F.
double CC_AirDropTempFactor(double t);
