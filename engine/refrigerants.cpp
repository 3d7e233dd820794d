#include "engine/internal/refrigerants.h"

#include "engine/coilcalc.h"

namespace {

// Values held as 32-bit floats, as the coefficients always were. Empirical
// fits per refrigerant: the flow factor relative to R-22 (dimensionless); the
// film coefficients, Btu/h.ft2.F, as {slope, intercept} in the mass flux in
// thousands of lb/h.ft2, over the fluxes of the tube circuits rated; the drop
// multipliers dimensionless.
constexpr Refrigerant kRefrigerants[] = {
    // name   alt     flow     film: dry plain  dry rifled    wet plain    wet rifled   drop: dry  wet
    {"12", "12", 0.849f, {1.26f, 119}, {1.21f, 378}, {2.95f, 93}, {4.03f, 300}, 0.18f, 1.0f},
    {"22", "22", 1.0f, {1.27f, 169}, {1.23f, 464}, {3.04f, 122}, {4.12f, 395}, 0.09f, 0.42f},
    {"410A", "410a", 1.456f, {1.41f, 157}, {1.91f, 351}, {3.91f, 227}, {5.42f, 553}, 0.06f, 0.31f},
    {"407C", "407c", 0.957f, {1.27f, 148}, {1.23f, 406}, {3.06f, 121}, {4.14f, 392}, 0.08f, 0.45f},
    {"404A", "404a", 0.899f, {1.27f, 158}, {1.23f, 433}, {2.96f, 138}, {4.04f, 447}, 0.12f, 0.33f},
    {"134A", "134a", 0.7f, {1.46f, 249}, {1.32f, 571}, {3.09f, 99}, {4.16f, 368}, 0.12f, 0.61f},
};

}  // namespace

const Refrigerant* FindRefrigerant(const std::string& name) {
    for (const Refrigerant& r : kRefrigerants)
        if (name == r.name || name == r.altName) return &r;
    return nullptr;
}

std::vector<std::string_view> CC_RefrigerantNames() {
    std::vector<std::string_view> names;
    for (const Refrigerant& r : kRefrigerants) names.emplace_back(r.name);
    return names;
}

double CC_RefrigerantFlowFactor(const std::string& refrigerant) {
    const Refrigerant* r = FindRefrigerant(refrigerant);
    return r ? static_cast<double>(r->flowFactor) : 0.0;
}
