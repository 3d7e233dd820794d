// Tube-side fluid properties: water, glycol solutions by percentage, and
// saturated steam. Empirical fits in inch-pound units.
#include <cmath>

#include "engine/internal/coilcalc_internal.h"
#include "engine/internal/constants.h"
#include "engine/rterror.h"

using rt::F32;

namespace {

using kc::kWaterDensityStd;

// Specific volume of water, ft3/lb, t in F: empirical fit.
float WaterSpecificVolume(double t) {
    return F32(3.0191234e-9 * (t * t) * rt::Log(t) + 0.015995382);
}

// A band of a glycol or steam fit: applies when the key is above `above`;
// the last row of a table applies to the rest.
struct Band3 {
    float above;
    float a, b, c;
};

template <size_t N>
const Band3& Pick(const Band3 (&table)[N], double key) {
    for (size_t i = 0; i + 1 < N; ++i)
        if (key > table[i].above) return table[i];
    return table[N - 1];
}

// Density, lb/ft3, T in F: b + c T + d T^2. Empirical fit, 0 to 70 % glycol.
constexpr Band3 kGlycolDensity[] = {
    {65, 69.3619f, -0.0195f, -0.0000197f}, {60, 68.9587f, -0.0181f, -0.0000241f},
    {55, 68.5074f, -0.0154f, -0.0000357f}, {50, 68.0546f, -0.0146f, -0.0000339f},
    {45, 67.5829f, -0.013f, -0.0000374f},  {40, 67.1379f, -0.0124f, -0.0000375f},
    {35, 66.6363f, -0.011f, -0.0000391f},  {30, 66.107f, -0.0088f, -0.0000464f},
    {25, 65.535f, -0.0064f, -0.000052f},   {20, 65.2262f, -0.01f, -0.0000281f},
    {15, 64.4475f, -0.003f, -0.000059f},   {10, 64.01f, -0.0024f, -0.0000592f},
    {5, 63.52f, -0.0011f, -0.000062f},     {0, 63.0108f, 0.0005f, -0.0000655f},
};

// Viscosity above 50 F, lb/ft.h: D E^(1/T) T^F. Empirical fit, 0 to 70 % glycol.
constexpr Band3 kGlycolViscosityWarm[] = {
    {65, 325961.8125f, 8.57716e-24f, -2.159f}, {60, 265735.78f, 3.03415e-24f, -2.1385f},
    {55, 211088.53f, 6.01056e-25f, -2.1147f},  {50, 115438.74f, 1.01301e-22f, -2.0243f},
    {45, 54813.934f, 5.73162e-20f, -1.9105f},  {40, 31645.73f, 5.6983e-18f, -1.8271f},
    {35, 16464.93f, 1.30195e-15f, -1.7264f},   {30, 11937.619f, 2.22447e-15f, -1.681f},
    {25, 8275.503f, 2.98669e-15f, -1.6282f},   {20, 9578.868f, 2.44714e-18f, -1.6659f},
    {15, 11758.576f, 2.68923e-22f, -1.7144f},  {10, 8283.796f, 3.62084e-21f, -1.669f},
    {5, 5463.9395f, 8.52765e-20f, -1.6139f},   {0, 4257.5156f, 6.97774e-20f, -1.581f},
};

// Viscosity at 50 F and below, lb/ft.h: D + E T + w T^2. Empirical fit, 0 to 70 % glycol.
constexpr Band3 kGlycolViscosityCold[] = {
    {65, 104.0603f, -2.8876f, 0.0258f}, {60, 87.1202f, -2.3997f, 0.0215f}, {55, 70.1802f, -1.9118f, 0.0172f},
    {50, 59.2902f, -1.5682f, 0.0137f},  {45, 48.4001f, -1.2245f, 0.0103f}, {40, 41.1401f, -1.0188f, 0.0084f},
    {35, 33.8801f, -0.8131f, 0.0066f},  {30, 29.0401f, -0.7212f, 0.0062f}, {25, 22.9901f, -0.5566f, 0.0048f},
    {20, 18.634f, -0.4211f, 0.0035f},   {15, 14.278f, -0.2856f, 0.0021f},  {10, 11.858f, -0.2107f, 0.0014f},
    {5, 9.438f, -0.1355f, 0.0006f},     {0, 7.865f, -0.1089f, 0.0005f},
};

// Specific heat, Btu/lb.F: w + T D / 10000 (third column unused). Empirical fit,
// 0 to 70 % glycol.
constexpr Band3 kGlycolSpecHeat[] = {
    {65, 0.64f, 7.5f, 0},  {60, 0.665f, 7.45f, 0}, {55, 0.685f, 7.4f, 0},  {50, 0.71f, 7.15f, 0},
    {45, 0.735f, 7.0f, 0}, {40, 0.765f, 6.25f, 0}, {35, 0.795f, 5.45f, 0}, {30, 0.835f, 4.4f, 0},
    {25, 0.87f, 3.5f, 0},  {20, 0.895f, 2.75f, 0}, {15, 0.925f, 1.95f, 0}, {10, 0.945f, 1.14f, 0},
    {5, 0.97f, 0.6f, 0},   {0, 0.985f, 0.55f, 0},  {0, 1.0f, 0.0f, 0},
};

// Steam saturation temperature, F, from gauge pressure, psig: e + f p + g p^2.
// Empirical fit of the steam tables.
constexpr Band3 kSteamTempFromPressure[] = {
    {300, 296.0f, 0.54f, -0.0004f},
    {200, 291.8392f, 0.5762f, -0.0004779f},
    {100, 262.6448f, 0.8737f, -0.001241f},
    {15, 226.9738f, 1.7176f, -0.006176f},
    {0, 212.0f, 3.2f, -0.046f},
};

// Gauge pressure, psig, from saturation temperature, F: l + m T + o T^2.
// Empirical fit of the steam tables.
constexpr Band3 kSteamPressureFromTemp[] = {
    {422, 3005.1282f, -16.0714f, 0.02289f},
    {388, 1001.8558f, -6.6844f, 0.0119f},
    {250, 264.5113f, -2.4406f, 0.005779f},
    {0, 68.4421f, -0.9343f, 0.002885f},
};

// Latent heat, Btu/lb, from gauge pressure, psig: b + c p + d p^2.
// Empirical fit of the steam tables.
constexpr Band3 kSteamLatentHeat[] = {
    {100, 943.3981f, -0.6961f, 0.0007895f}, {60, 955.1886f, -0.9843f, 0.0024f},
    {30, 960.0214f, -1.1614f, 0.004f},      {10, 967.76f, -1.6317f, 0.01114f},
    {0, 970.3652f, -2.1701f, 0.0401f},
};

double Quadratic(const Band3& row, double x) {
    return row.a + row.b * x + row.c * (x * x);
}

constexpr float kLatentHeatAtmospheric = 970.3652f;

}  // namespace

// Water: density from the mean of the entering and leaving specific volumes.
void CC_WaterProperties() {
    CoilRating& r = cc.Rating;
    if (r.LvgFluidTemp == 0) r.LvgFluidTemp = r.EntFluidTemp;
    const double vMean =
        (static_cast<double>(WaterSpecificVolume(r.EntFluidTemp)) + WaterSpecificVolume(r.LvgFluidTemp)) / 2;
    r.FluidDensity = F32(rt::Div(1, vMean));
    r.FluidSpecHeat = 1.0f;
    cc.FluidSG = F32(rt::Div(r.FluidDensity, kWaterDensityStd));
}

// Glycol solution at the entering temperature, by percent glycol.
void CC_GlycolProperties() {
    CoilRating& r = cc.Rating;
    const double p = r.PercentGlycol;
    const double t = r.EntFluidTemp;

    const double waterDensity = rt::Div(1, WaterSpecificVolume(t));
    float rho = F32(Quadratic(Pick(kGlycolDensity, p), t));
    if (p == 0 || rho < waterDensity) rho = F32(waterDensity);
    r.FluidDensity = rho;

    // Conductivity, Btu/h.ft.F: empirical fit in T (F) and percent glycol.
    r.FluidThermCond = F32((0.3184 - 0.00144 * p) + t * (0.0004 - 0.0000112524 * p + 5.41977e-8 * (p * p)));

    double mu;
    if (t > 50) {
        const Band3& row = Pick(kGlycolViscosityWarm, p);
        mu = rt::Chk(row.a * rt::Pow(row.b, rt::Div(1, t)) * rt::Pow(t, row.c));
    } else {
        mu = Quadratic(Pick(kGlycolViscosityCold, p), t);
    }
    float viscosity = F32(mu);
    if (p == 0) viscosity = F32(viscosity * 0.95);
    r.FluidViscosity = viscosity;

    const Band3& cp = Pick(kGlycolSpecHeat, p);
    r.FluidSpecHeat = F32(cp.a + t * cp.b / 10000);
    cc.FluidSG = F32(rt::Div(rho, kWaterDensityStd));
}

// Saturated steam: the saturation temperature from the gauge pressure, or
// the pressure from a given temperature, and the latent heat.
void CC_SteamProperties() {
    CoilRating& r = cc.Rating;
    const double p = r.SteamPressure;
    if (p > 0) {
        r.EntFluidTemp = F32(Quadratic(Pick(kSteamTempFromPressure, p), p));
    } else if (p < 0) {
        r.EntFluidTemp = 212.0f;
        r.SteamPressure = 0.0f;
        r.LatentHeat = kLatentHeatAtmospheric;
        return;
    } else {
        const double t = r.EntFluidTemp;
        r.SteamPressure = F32(Quadratic(Pick(kSteamPressureFromTemp, t), t));
        if (!(t >= 212)) {
            r.SteamPressure = 0.0f;
            r.EntFluidTemp = 212.0f;
            r.LatentHeat = kLatentHeatAtmospheric;
            return;
        }
    }
    const double pNew = r.SteamPressure;
    r.LatentHeat = F32(Quadratic(Pick(kSteamLatentHeat, pNew), pNew));
}

float CC_SteamTemperature(double psig) {
    if (!(psig > 0)) return 212.0f;
    return F32(Quadratic(Pick(kSteamTempFromPressure, psig), psig));
}
