// SI moist-air property functions: C, grams of moisture per kilogram of dry
// air, kPa, altitude in metres. Each converts its arguments to inch-pound
// units, computes there and converts the result back; a failure of the
// inch-pound layer is converted like any other result.
#include <cmath>

#include "hygrel32.h"
#include "hygrel_core.h"

namespace hygrel {
namespace {

// Temperature C to F.
float ToFahrenheit(float t) {
    return static_cast<float>(9.0 * t / 5.0 + 32.0);
}
// Humidity g/kg to grains/lb.
float ToGrains(float W) {
    return static_cast<float>(7.0 * W);
}
// Pressure kPa to psia.
float ToPsia(float P) {
    return static_cast<float>(P / 6.8948);
}

// Altitude m to whole feet, rounded toward minus infinity. False when the
// feet do not fit the 16-bit altitude of the inch-pound functions.
bool ToFeet(int16_t Z, int16_t& feet) {
    const double ft = std::floor(39.37 * Z / 12.0);
    if (!InRange(ft, -32768.0, 32767.0)) return false;
    feet = static_cast<int16_t>(ft);
    return true;
}

// Temperature F to C.
float ToCelsius(double x) {
    return static_cast<float>(5.0 * (x - 32.0) / 9.0);
}
// Humidity grains/lb to g/kg.
float ToGrams(double x) {
    return static_cast<float>(x / 7.0);
}
// Saturation pressure psia to mmHg.
float ToMmHg(double x) {
    return static_cast<float>(x * 25.4 / 0.491154);
}

// Humidity in g/kg from dry and wet bulb (F) with the saturation humidity
// Ws (grains/lb) at the wet bulb.
float GramsFromWetBulb(float t, float tw, float Ws) {
    if (!(tw <= t)) return kError;
    // A refused saturation lookup is no humidity.
    if (Ws == kError) return kError;
    const double W = WetBulbHumidityRatio(t, tw, Ws / kGrainsPerLb);
    if (!(W > 0.0)) return kError;
    return ToGrams(kGrainsPerLb * W);
}

}  // namespace
}  // namespace hygrel

using namespace hygrel;

extern "C" {

HYGREL32_API float HGSI_SATGRAMS(float t, int16_t Z) {
    int16_t ft;
    if (!ToFeet(Z, ft)) return kError;
    return ToGrams(HGSATGRAINS(ToFahrenheit(t), ft));
}

HYGREL32_API float HGSI_PSATGRAMS(float t, float P) {
    return ToGrams(HGPSATGRAINS(ToFahrenheit(t), ToPsia(P)));
}

HYGREL32_API float HGSI_DENSITY(float t, float W, int16_t Z) {
    int16_t ft;
    if (!ToFeet(Z, ft)) return kError;
    const float tF = ToFahrenheit(t);
    const double d = CheckedDensity(tF, ToGrains(W), BaroPressure(ft), HGSATGRAINS(tF, ft));
    return static_cast<float>(d * 35.31 / 2.205);
}

HYGREL32_API float HGSI_PDENSITY(float t, float W, float P) {
    const float tF = ToFahrenheit(t);
    const float Pp = ToPsia(P);
    const double d = CheckedDensity(tF, ToGrains(W), Pp, HGPSATGRAINS(tF, Pp));
    return static_cast<float>(d * 35.31 / 2.20462);
}

HYGREL32_API float HGSI_ENTHALPY(float t, float W) {
    const double tF = ToFahrenheit(t);
    const double Wg = ToGrains(W);
    return static_cast<float>(2.326 * (0.24 * tF + (1061.0 + 0.444 * tF) * Wg / kGrainsPerLb - 7.712));
}

HYGREL32_API float HGSI_DEWPOINT(float W, int16_t Z) {
    int16_t ft;
    if (!ToFeet(Z, ft)) return kError;
    return ToCelsius(CheckedDewPoint(ToGrains(W), BaroPressure(ft)));
}

HYGREL32_API float HGSI_PDEWPOINT(float W, float P) {
    return ToCelsius(HGPDEWPOINT(ToGrains(W), ToPsia(P)));
}

HYGREL32_API float HGSI_RH(float t, float W, int16_t Z) {
    int16_t ft;
    if (!ToFeet(Z, ft)) return kError;
    return HGRH(ToFahrenheit(t), ToGrains(W), ft);
}

HYGREL32_API float HGSI_PRH(float t, float W, float P) {
    return HGPRH(ToFahrenheit(t), ToGrains(W), ToPsia(P));
}

HYGREL32_API float HGSI_RHTOGRAMS(float t, float phi, int16_t Z) {
    int16_t ft;
    const float tF = ToFahrenheit(t);
    if (!InRange(tF, -80.0, 400.0) || !InRange(phi, 0.0, 1.0) || !ToFeet(Z, ft)) return kError;
    return ToGrams(HGRHTOGR(tF, phi, ft));
}

HYGREL32_API float HGSI_PRHTOGRAMS(float t, float phi, float P) {
    const float tF = ToFahrenheit(t);
    const float Pp = ToPsia(P);
    if (!InRange(tF, -80.0, 400.0) || !InRange(phi, 0.0, 1.0) || !InRange(Pp, 4.0, 400.0)) return kError;
    return ToGrams(HGPRHTOGR(tF, phi, Pp));
}

HYGREL32_API float HGSI_SATVP(float t) {
    const float tF = ToFahrenheit(t);
    if (!InRange(tF, -148.0, 400.0)) return kError;
    return ToMmHg(SatPressure(tF));
}

HYGREL32_API float HGSI_WETBULB(float t, float W, int16_t Z) {
    int16_t ft;
    if (!ToFeet(Z, ft)) return kError;
    return ToCelsius(HGWETBULB(ToFahrenheit(t), ToGrains(W), ft));
}

HYGREL32_API float HGSI_PWETBULB(float t, float W, float P) {
    return ToCelsius(HGPWETBULB(ToFahrenheit(t), ToGrains(W), ToPsia(P)));
}

HYGREL32_API float HGSI_WBTOGR(float t, float tw, int16_t Z) {
    int16_t ft;
    if (!ToFeet(Z, ft)) return kError;
    const float twF = ToFahrenheit(tw);
    return GramsFromWetBulb(ToFahrenheit(t), twF, HGSATGRAINS(twF, ft));
}

HYGREL32_API float HGSI_PWBTOGR(float t, float tw, float P) {
    const float twF = ToFahrenheit(tw);
    return GramsFromWetBulb(ToFahrenheit(t), twF, HGPSATGRAINS(twF, ToPsia(P)));
}

HYGREL32_API float HGSI_WB_RHTOGRAMS(float tw, float phi, int16_t Z) {
    int16_t ft;
    if (!ToFeet(Z, ft)) return kError;
    return ToGrams(HGWB_RHTOGRAINS(ToFahrenheit(tw), phi, ft));
}

HYGREL32_API float HGSI_PWB_RHTOGRAMS(float tw, float phi, float P) {
    return ToGrams(HGPWB_RHTOGRAINS(ToFahrenheit(tw), phi, ToPsia(P)));
}

}  // extern "C"
