// The plain water coil the driver tests rate, and changes to it.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "common/calc_driver.h"

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
