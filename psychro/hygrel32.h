/* Hygrel32: moist-air (psychrometric) properties.
 *
 * Kernels (XPWS, XFS, XPWSAPP, XTDP, XTDPAPP, PLV) work in inch-pound units:
 * temperature in degrees F, pressure in psia.
 *
 * Inch-pound property functions (HG...): temperatures in degrees F, humidity
 * ratio in grains of moisture per pound of dry air (7000 grains = 1 lb),
 * relative humidity as a fraction 0..1 where it is an argument and in
 * percent where HGRH/HGPRH return it, pressure in psia, altitude in feet.
 * Functions with a P after the prefix take the total pressure; the others
 * take the site altitude and use the barometric pressure there.
 *
 * SI property functions (HGSI_...): degrees C, grams of moisture per
 * kilogram of dry air, kPa, altitude in metres.
 *
 * Failure: a function that refuses its input returns exactly -9999 and
 * nothing else; range checks refuse NaN. SI functions convert a failure
 * coming from the inch-pound layer like any other result (-9999/7 from
 * humidity functions, 5(-9999-32)/9 from temperature functions), so any SI
 * result below -1000 is a failure. HGSATGRAINS/HGPSATGRAINS return 20000
 * grains (HGSI_SATGRAMS/HGSI_PSATGRAMS 20000/7 g/kg) when the air would
 * boil at that pressure.
 *
 * Searches: every iterative search is bounded. HGWETBULB/HGPWETBULB return
 * -9999 when the search cannot end (NaN, a negative humidity, a humidity
 * so far beyond saturation that no wet bulb exists). SI functions taking
 * an altitude return -9999 when the altitude in feet does not fit the
 * 16-bit altitude (beyond about +-9987 m).
 *
 * Unchecked: XFS, XPWSAPP, HGENTHALPY and HGSI_ENTHALPY check nothing;
 * the two enthalpies give a non-finite result for a non-finite argument.
 *
 * Threads: the library keeps no state between calls. Every function is a
 * pure function of its arguments and is safe to call from any thread at
 * the same time. No memory crosses the interface.
 */
#ifndef HYGREL32_H
#define HYGREL32_H

#include <stdint.h>

#if defined(_WIN32)
#if defined(HYGREL32_BUILDING)
#define HYGREL32_API __declspec(dllexport)
#else
#define HYGREL32_API __declspec(dllimport)
#endif
#elif defined(__GNUC__)
#define HYGREL32_API __attribute__((visibility("default")))
#else
#define HYGREL32_API
#endif

#define HYGREL32_ERROR (-9999.0f)
#define HYGREL32_BOILING_GRAINS 20000.0f

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Kernels (degrees F, psia) ---------------------------------------- */

/* The constant 140. */
HYGREL32_API float PLV(void);
/* Saturation pressure over ice (t < 32) or water (t >= 32), psia;
 * -9999 outside -148 <= t <= 400. */
HYGREL32_API double XPWS(float t);
/* Enhancement factor of water vapour in air at P psia and t F (>= 1). */
HYGREL32_API double XFS(float P, float t);
/* Saturation pressure in moist air, XFS(P, t) * XPWS(t), psia. */
HYGREL32_API double XPWSAPP(float P, float t);
/* Dew point over pure water/ice of a vapour pressure pw psia, F;
 * -9999 for pw < 0. */
HYGREL32_API float XTDP(double pw);
/* Dew point in moist air at P psia of a vapour pressure pw psia, F;
 * -9999 for pw < 0. */
HYGREL32_API float XTDPAPP(float P, double pw);

/* ---- Inch-pound properties (F, grains/lb, psia, ft) -------------------- */

HYGREL32_API float HGSATGRAINS(float t, int16_t Z);
HYGREL32_API float HGPSATGRAINS(float t, float P);
/* lb of dry air per cubic foot of moist air. */
HYGREL32_API float HGDENSITY(float t, float W, int16_t Z);
HYGREL32_API float HGPDENSITY(float t, float W, float P);
/* Btu per lb of dry air. */
HYGREL32_API float HGENTHALPY(float t, float W);
HYGREL32_API float HGDEWPOINT(float W, int16_t Z);
HYGREL32_API float HGPDEWPOINT(float W, float P);
/* Relative humidity, percent. */
HYGREL32_API float HGRH(float t, float W, int16_t Z);
HYGREL32_API float HGPRH(float t, float W, float P);
/* Humidity from relative humidity phi (0..1). */
HYGREL32_API float HGRHTOGR(float t, float phi, int16_t Z);
HYGREL32_API float HGPRHTOGR(float t, float phi, float P);
/* Saturation pressure over pure water/ice, inHg. */
HYGREL32_API float HGSATVP(float t);
HYGREL32_API float HGWETBULB(float t, float W, int16_t Z);
HYGREL32_API float HGPWETBULB(float t, float W, float P);
/* Humidity from dry bulb t and wet bulb tw. */
HYGREL32_API float HGWBTOGR(float t, float tw, int16_t Z);
HYGREL32_API float HGPWBTOGR(float t, float tw, float P);
/* Humidity from wet bulb tw and relative humidity phi (0..1). */
HYGREL32_API float HGWB_RHTOGRAINS(float tw, float phi, int16_t Z);
HYGREL32_API float HGPWB_RHTOGRAINS(float tw, float phi, float P);

/* ---- SI properties (C, g/kg, kPa, m) ----------------------------------- */

HYGREL32_API float HGSI_SATGRAMS(float t, int16_t Z);
HYGREL32_API float HGSI_PSATGRAMS(float t, float P);
/* kg of dry air per cubic metre of moist air. */
HYGREL32_API float HGSI_DENSITY(float t, float W, int16_t Z);
HYGREL32_API float HGSI_PDENSITY(float t, float W, float P);
/* kJ per kg of dry air. */
HYGREL32_API float HGSI_ENTHALPY(float t, float W);
HYGREL32_API float HGSI_DEWPOINT(float W, int16_t Z);
HYGREL32_API float HGSI_PDEWPOINT(float W, float P);
HYGREL32_API float HGSI_RH(float t, float W, int16_t Z);
HYGREL32_API float HGSI_PRH(float t, float W, float P);
HYGREL32_API float HGSI_RHTOGRAMS(float t, float phi, int16_t Z);
HYGREL32_API float HGSI_PRHTOGRAMS(float t, float phi, float P);
/* Saturation pressure over pure water/ice, mmHg. */
HYGREL32_API float HGSI_SATVP(float t);
HYGREL32_API float HGSI_WETBULB(float t, float W, int16_t Z);
HYGREL32_API float HGSI_PWETBULB(float t, float W, float P);
HYGREL32_API float HGSI_WBTOGR(float t, float tw, int16_t Z);
HYGREL32_API float HGSI_PWBTOGR(float t, float tw, float P);
HYGREL32_API float HGSI_WB_RHTOGRAMS(float tw, float phi, int16_t Z);
HYGREL32_API float HGSI_PWB_RHTOGRAMS(float tw, float phi, float P);

#ifdef __cplusplus
}
#endif

#endif /* HYGREL32_H */
