// Internal interface of Hygrel32: the kernels and the shared moist-air
// formulas in inch-pound units, called directly (not through the exported
// names) by the property functions.
#pragma once

#include <cstdint>

namespace hygrel {

// The out-of-range value every function returns when it refuses its input.
inline constexpr float kError = -9999.0f;
// Saturation humidity returned when the air would boil at the pressure.
inline constexpr float kBoilingGrains = 20000.0f;
// Degrees Rankine minus degrees F.
inline constexpr double kRankine = 459.67;
// Grains per pound.
inline constexpr double kGrainsPerLb = 7000.0;
// Ratio of the molar masses of water and dry air, 18.01528/28.9645.
inline constexpr double kMolarRatio = 0.62198;

// lo <= x <= hi; false for NaN.
inline bool InRange(double x, double lo, double hi) {
    return x >= lo && x <= hi;
}

// Saturation pressure over ice (t < 32) or water, psia; t in F. kError
// outside -148..400.
double SatPressure(float t);
// Enhancement factor of water vapour in air, dimensionless (>= 1);
// P in psia, t in F.
double EnhancementFactor(float P, float t);
// Saturation pressure in moist air, psia; P in psia, t in F.
double SatPressureMoistAir(float P, float t);
// Temperature in F at which SatPressure equals pw (psia).
float DewPointPure(double pw);
// Temperature in F at which SatPressureMoistAir(P, .) equals pw (psia).
float DewPointMoistAir(float P, double pw);

// Barometric pressure at altitude Z ft, psia.
float BaroPressure(int16_t Z);
// Saturation humidity of a saturation pressure p_s at total pressure P
// (both psia), grains/lb.
float SatHumidityGrains(double p_s, float P);
// Saturation humidity at t F and P psia, grains/lb, or kBoilingGrains when
// the saturation pressure reaches P; no range checks.
float SatGrainsAt(float t, float P);
// Humidity ratio lb/lb from dry bulb t F, wet bulb tw F and the saturation
// humidity ratio ws (lb/lb) at tw: the psychrometric equation over water.
double WetBulbHumidityRatio(double t, double tw, double ws);
// Density of moist air, lb of dry air per ft3; t F, W grains/lb, P psia.
double DensityFormula(float t, float W, float P);
// Dry-air density with its checks: kError unless 0 <= W <= 16300 and W is
// at most the saturation humidity Ws (grains/lb) at t.
double CheckedDensity(float t, float W, float P, float Ws);
// Dew point in F of a humidity W grains/lb at P psia, with its check.
float CheckedDewPoint(float W, float P);
// Relative humidity in percent at t F, W grains/lb and P psia.
float RelHumidity(float t, float W, float P);
float RelHumidityToGrains(float t, float phi, float P);
// Wet bulb in F at t F, W grains/lb and P psia.
float WetBulb(float t, float W, float P);
// Humidity in grains/lb from wet bulb and relative humidity at P psia.
float WetBulbRhToGrains(float tw, float phi, float P);
// Humidity in grains/lb from dry and wet bulb at P psia, without the
// altitude check.
float WetBulbToGrains(float t, float tw, float P);

}  // namespace hygrel
