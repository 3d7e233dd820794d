// The sample coils the suites rate: field texts as the coil form sends them,
// and the two records filled from them by the calculation driver's own fill.
#pragma once

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "common/calc_driver.h"

// A four-row chilled water coil, 5/8 in tubes, 16 high by 48 in finned
// length (8 ft2 face, 24 in fin height), 2000 cfm: 250 ft/min.
inline FieldTexts Water() {
    return {{"Application", "W"},   {"Pattern", "5"},       {"TubeWall", "0.02"}, {"FinMat", "A"},
            {"FinThk", "0.006"},    {"FinTreat", "CR"},     {"FPI", "12"},        {"RD", "4"},
            {"TH", "16"},           {"FL", "48"},           {"Circuits", "16"},   {"Rifled", "N"},
            {"FoulingFactor", "0"}, {"Altitude", "0"},      {"Acfm", "2000"},     {"EatDb", "80"},
            {"EatWb", "67"},        {"EntFluidTemp", "45"}, {"Gpm", "20"}};
}

inline FieldTexts With(FieldTexts f, const std::vector<std::pair<std::string, std::string>>& changes) {
    for (const auto& [key, value] : changes) f[key] = value;
    return f;
}

// Fresh records filled from `fields` as the driver fills them before it
// rates; a value its record field cannot hold is a fault of the test itself.
inline void FillSample(const FieldTexts& fields, CoilSpec& coilSpec, CoilRating& rating,
                       int airFlowMode = kAirFlowAcfm) {
    coilSpec = CoilSpec{};
    rating = CoilRating{};
    ValidationFault fault;
    if (!FillCoilRecords(fields, airFlowMode, coilSpec, rating, fault))
        throw std::invalid_argument("sample coil: " + fault.message);
}

// A coil of every type, each with a tag: chilled water, heating water (no
// leaving wet bulb), glycol, steam, evaporator and condenser.
inline std::vector<std::pair<std::string, FieldTexts>> TaggedCoilsOfEveryType() {
    const FieldTexts base = Water();
    return {
        {"CC-1", base},
        {"HC-2", With(base, {{"EatDb", "40"}, {"EatWb", ""}, {"EntFluidTemp", "180"}, {"RD", "2"}})},
        {"GC-3", With(base, {{"Application", "G"}, {"PercentGlycol", "30"}, {"EntFluidTemp", "42"}})},
        {"SC-4", With(base, {{"Application", "S"},
                             {"Pattern", "1"},
                             {"TubeWall", "0.035"},
                             {"FinThk", "0.010"},
                             {"RD", "1"},
                             {"FPI", "6"},
                             {"Circuits", ""},
                             {"EatDb", "40"},
                             {"EatWb", ""},
                             {"EntFluidTemp", ""},
                             {"Gpm", ""},
                             {"SteamPressure", "5"}})},
        {"DX-5", With(base, {{"Application", "E"},
                             {"RD", "8"},
                             {"Circuits", "8"},
                             {"EntFluidTemp", "40"},
                             {"Gpm", ""},
                             {"Refrigerant", "22"},
                             {"EvapSHCode", "10"}})},
        {"CD-6", With(base, {{"Application", "C"},
                             {"Pattern", "4"},
                             {"TubeWall", "0.017"},
                             {"RD", "3"},
                             {"FPI", "10"},
                             {"Circuits", "6"},
                             {"EatDb", "95"},
                             {"EatWb", ""},
                             {"EntFluidTemp", "120"},
                             {"Gpm", ""},
                             {"Refrigerant", "22"}})},
    };
}
