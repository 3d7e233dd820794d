#include "common/form_fields.h"

namespace form_fields {
namespace {

constexpr std::string_view kSteamToggle =
    " Steam Pressure (click the toggle button to use steam temperature)";

// The hints keep the spacing the form has always shown.
constexpr Field kFields[] = {
    {"Application", "cboCoilType", "", ""},
    {"Pattern", "cboTubeOD", "", ""},
    {"TubeWall", "cboWallThk", "Wall Thickness", ""},
    {"FinMat", "cboFinMat", "", ""},
    {"FinThk", "cboFinThk", "Fin Thickness", ""},
    {"FinTreat", "cboFinType", "", ""},
    {"FPI", "txtFPI", "FPI", ""},
    {"RD", "txtRows", "Rows", ""},
    {"TH", "txtTH", "Tubes High", ""},
    {"FL", "txtFL", "Finned Length", ""},
    {"Circuits", "txtCircuits", "Circuits", ""},
    {"Rifled", "cboRifled", "", ""},
    {"FoulingFactor", "txtFoulingFactor", "Fouling Factor", ""},
    {"Altitude", "txtProperty(0)", "Altitude", " Altitude in feet"},
    {"Acfm", "txtProperty(1)", "ACFM", "  Acfm  - (click button to toggle Acfm/Scfm/Air velocity)"},
    {"Scfm", "txtProperty(2)", "", "   Scfm  - (click button to toggle Acfm/Scfm/Air velocity)"},
    {"AirVel", "txtProperty(3)", "Air Velocity", " Scfm  - (click button to toggle Acfm/Scfm/Air velocity)"},
    {"EatDb", "txtProperty(4)", "EAT (DB)", " Entering air dry bulb (°f )"},
    {"EatWb", "txtProperty(5)", "EAT (WB)", " Entering air wet bulb (°f )"},
    {"EntFluidTemp", "txtProperty(6)", "Ent. FL. Temp.", " Entering fluid temperature (°f )"},
    {"Gpm", "txtProperty(7)", "GPM", " Fluid flow (gallons per minute)"},
    {"Refrigerant", "cboRefrigerant", "", ""},
    {"PercentGlycol", "txtProperty(9)", "Gly. %", " Percent glycol (0 - 70)"},
    {"SteamPressure", "txtProperty(14)", "PSI", kSteamToggle},
    {"EvapSHCode", "txtProperty(15)", "Super Heat", kSteamToggle},
};

// Entering conditions the form lays out but never sends.
constexpr Field kUnkeyed[] = {
    {"", "txtProperty(10)", "", " Thermal conductivity"},
    {"", "txtProperty(11)", "", " Specific heat"},
    {"", "txtProperty(12)", "", " Viscosity"},
    {"", "txtProperty(13)", "", " Density"},
};

}  // namespace

std::span<const Field> Fields() {
    return kFields;
}

const Field* FindByKey(std::string_view key) {
    if (key.empty()) return nullptr;
    for (const Field& f : kFields)
        if (f.key == key) return &f;
    return nullptr;
}

const Field* FindByControl(std::string_view control) {
    for (const auto& table : {std::span<const Field>(kFields), std::span<const Field>(kUnkeyed)})
        for (const Field& f : table)
            if (f.control == control) return &f;
    return nullptr;
}

}  // namespace form_fields
