// Saturation-pressure, enhancement-factor and dew-point kernels, inch-pound
// units (F, psia; K and Pa inside the enhancement factor).
//
// Sources: Hyland, R.W. and A. Wexler, 1983, "Formulations for the
// thermodynamic properties of the saturated phases of H2O from 173.15 K to
// 473.15 K" (H&W a) and "... of dry air from 173.15 K to 473.15 K, and of
// saturated moist air from 173.15 K to 372.15 K, at pressures to 5 MPa"
// (H&W b), ASHRAE Transactions 89(2A); the inch-pound saturation pressure as
// printed in the ASHRAE Handbook of Fundamentals.
#include <cmath>
#include <cstring>

#include "hygrel32.h"
#include "hygrel_core.h"

namespace hygrel {
namespace {

// Pa per psia.
constexpr double kPaPerPsia = 6894.8;
// Molar gas constant, cm3 Pa / (mol K).
constexpr double kR = 8314410.0;
// Secant steps allowed to the dew-point search before it gives up.
constexpr int kDewPointSteps = 100;
// Fixed-point steps allowed to the moist-air dew point.
constexpr int kDewPointMoistSteps = 100;
// Iterations of the enhancement factor.
constexpr int kEnhancementIterations = 1000;

// Rough saturation pressure used as the boiling guard, psia; t in F.
// Empirical fit, valid 150 to 400 F (within 3 %); below about 100 F it lies
// far above the true pressure (1.5 psia at 0 F, 64 psia at -148 F), so at
// low temperatures and low pressures the guard fires and the factor is 1.
double BoilingGuardPressure(double t) {
    return 1.5286 - 0.069597 * t + 0.0010557 * t * t - 6.1977e-6 * t * t * t + 1.9578e-8 * t * t * t * t;
}

// Second virial coefficient of air, cm3/mol; T in K. H&W b, 173.15 to
// 473.15 K.
double VirialBaa(double T) {
    return 34.9568 - 6687.72 / T - 2101410.0 / (T * T) + 92474600.0 / (T * T * T);
}

// Third virial coefficient of air, cm6/mol2; T in K. H&W b, 173.15 to
// 473.15 K.
double VirialCaaa(double T) {
    return 1259.75 - 190905.0 / T + 63246700.0 / (T * T);
}

// Second virial coefficient of water vapour divided by R T, 1/Pa; T in K.
// H&W a, 173.15 to 473.15 K.
double VirialBetaWW(double T) {
    return 7e-9 - 1.47184e-9 * std::exp(1734.29 / T);
}

// Third virial term of water vapour, 1/Pa2; T in K. H&W a, 173.15 to
// 473.15 K.
double VirialGammaWW(double T) {
    return 1.04e-15 - 3.35297e-18 * std::exp(3645.09 / T);
}

// Air-water interaction second virial coefficient, cm3/mol; T in K. H&W b,
// 173.15 to 372.15 K.
double VirialBaw(double T) {
    const double T2 = T * T;
    return 32.366097 - 14113.8 / T - 1244535.0 / T2 - 2348789000.0 / (T2 * T2);
}

// Air-air-water third virial coefficient, cm6/mol2; T in K. H&W b, 173.15
// to 372.15 K.
double VirialCaaw(double T) {
    const double T2 = T * T;
    return 483.737 + 105678.0 / T - 65639400.0 / T2 + 29444200000.0 / (T2 * T) - 3193170000000.0 / (T2 * T2);
}

// Air-water-water third virial coefficient, cm6/mol2; T in K. H&W b, 173.15
// to 372.15 K.
double VirialCaww(double T) {
    const double T2 = T * T;
    return -1000000.0 * std::exp(-10.728876 + 3478.02 / T - 383383.0 / T2 + 33406000.0 / (T2 * T));
}

// Isothermal compressibility of ice or liquid water, 1/Pa; T in K.
// Ice: H&W b, 173.15 to 273.16 K. Liquid to 373.16 K: the form and
// coefficients of Kell, G.S., 1975, J. Chem. Eng. Data 20(1), published for
// t in C; the polynomial is evaluated at T in K, as every rating made with
// it has been. Above 373.16 K: empirical fit of the same form, valid to
// 473.15 K.
double Compressibility(double T) {
    if (T < 273.16) return (8.875 + 0.0165 * T) * 1e-11;
    static constexpr double kLiquid[7] = {50.88496,      0.6163813,   0.001459187, 2.008438e-5,
                                          -0.5847727e-7, 0.410411e-9, 0.01967348};
    static constexpr double kHot[7] = {50.884917,      0.62590623,    0.0013848668, 0.21603427e-4,
                                       -0.72087667e-7, 0.46545054e-9, 0.019859983};
    const double* a = T <= 373.16 ? kLiquid : kHot;
    const double T2 = T * T, T3 = T2 * T, T4 = T3 * T, T5 = T4 * T;
    return 1e-11 * (a[0] + a[1] * T + a[2] * T2 + a[3] * T3 + a[4] * T4 + a[5] * T5) / (1.0 + a[6] * T);
}

// Henry's-law factor 10^y of one gas (oxygen or nitrogen), dimensionless;
// T in K. Himmelblau, D.M., 1960, J. Chem. Eng. Data 5(1), as used in H&W b;
// 273.16 to 373.16 K.
double HenryFactor(double T, double a, double b, double c, double d, double e) {
    const double u = 1000.0 / T;
    const double alpha = c * u + d;
    const double beta = b * u * u + e * u - 1.0;
    const double y = a * (-alpha + std::sqrt(alpha * alpha - 4.0 * a * beta)) / 2.0;
    return std::pow(10.0, y);
}

// Henry's-law constant of air in water, 1/Pa; T in K. Zero over ice. Air
// as 0.22 oxygen and 0.78 nitrogen (H&W b).
double HenryConstant(double T) {
    if (T <= 273.16) return 0.0;
    const double hO2 = HenryFactor(T, -0.0005943, -0.147, -0.0512, -0.1076, 0.8447);
    const double hN2 = HenryFactor(T, -0.1021, -0.1482, -0.019, -0.03741, 0.851);
    return 1e-4 * (0.22 / hO2 + 0.78 / hN2) / 101325.0;
}

// Molar volume of ice or saturated liquid water, cm3/mol; T in K. Specific
// volume of ice, H&W a, 173.15 to 273.16 K; of saturated liquid, H&W a,
// 273.16 to 473.15 K; 18015.28 cm3/mol per m3/kg (molar mass of water).
double CondensedMolarVolume(double T) {
    double v;  // m3/kg
    if (T < 273.16) {
        v = 0.001070003 - 0.249936e-7 * T + 0.371611e-9 * T * T;
    } else {
        static constexpr double b[8] = {-2403.60201,    -1.40758895,    0.1068287657, -0.2914492351e-3,
                                        0.373497936e-6, -0.21203787e-9, -3.424442728, 0.01619785};
        const double T2 = T * T, T3 = T2 * T, T4 = T3 * T, T5 = T4 * T;
        v = (b[6] + b[7] * T) / (b[0] + b[1] * T + b[2] * T2 + b[3] * T3 + b[4] * T4 + b[5] * T5);
    }
    return 18015.28 * v;
}

// Everything of the enhancement factor that depends on temperature alone.
struct EnhancementCoefficients {
    double T;     // K, not below 173
    double p_ws;  // saturation pressure, Pa
    double Baa, Caaa, Bww, Cwww, Baw, Caaw, Caww;
    double kappa;  // 1/Pa
    double k;      // 1/Pa
    double v_c;    // cm3/mol
};

// p_ws_psia is SatPressure(t), psia.
EnhancementCoefficients CoefficientsAt(float t, double p_ws_psia) {
    EnhancementCoefficients c;
    double T = 5.0 * (static_cast<double>(t) - 32.0) / 9.0 + 273.16;
    if (T < 173.0) T = 173.0;
    c.T = T;
    c.p_ws = kPaPerPsia * p_ws_psia;
    c.Baa = VirialBaa(T);
    c.Caaa = VirialCaaa(T);
    const double beta = VirialBetaWW(T);
    const double gamma = VirialGammaWW(T);
    c.Bww = kR * T * beta;
    c.Cwww = kR * kR * T * T * (beta * beta + gamma);
    c.Baw = VirialBaw(T);
    c.Caaw = VirialCaaw(T);
    c.Caww = VirialCaww(T);
    c.kappa = Compressibility(T);
    c.k = HenryConstant(T);
    c.v_c = CondensedMolarVolume(T);
    return c;
}

// The first term of LogEnhancementSum, the condensed phase's, which does not
// depend on the mole fraction; p in Pa.
double CondensedTerm(const EnhancementCoefficients& c, double p) {
    const double R = kR, T = c.T, p_ws = c.p_ws;
    const double p2 = p * p;
    return c.v_c * R * T * ((1.0 + c.kappa * p_ws) * (p - p_ws) - 0.5 * c.kappa * (p2 - p_ws * p_ws));
}

// R^2 T^2 ln f of the enhancement factor for a dry-air mole fraction x at
// saturation; p in Pa. `condensed` is CondensedTerm(c, p) and RT2 is
// R^2 T^2, both the same for every x.
double LogEnhancementSum(const EnhancementCoefficients& c, double p, double x, double condensed, double RT2) {
    const double R = kR, T = c.T, p_ws = c.p_ws;
    const double Baa = c.Baa, Bww = c.Bww, Baw = c.Baw;
    const double p2 = p * p;
    const double henry = 1.0 - c.k * x * p;
    double S = condensed;
    S += RT2 * (henry > 0.0 ? std::log(henry) : 0.0);
    S += x * x * p * Baa * R * T;
    S -= 2.0 * x * x * p * Baw * R * T;
    S -= (p - p_ws - x * x * p) * Bww * R * T;
    S += x * x * x * p2 * c.Caaa;
    S += 1.5 * x * x * (1.0 - 2.0 * x) * p2 * c.Caaw;
    S -= 3.0 * x * x * (1.0 - x) * p2 * c.Caww;
    S -= 0.5 * ((1.0 - x) * (1.0 - x) * (1.0 + 2.0 * x) * p2 - p_ws * p_ws) * c.Cwww;
    S -= x * x * (1.0 - 3.0 * x) * (1.0 - x) * p2 * Baa * Bww;
    S -= 2.0 * x * x * x * (2.0 - 3.0 * x) * p2 * Baa * Baw;
    S += 6.0 * x * x * (1.0 - x) * (1.0 - x) * p2 * Bww * Baw;
    S -= 1.5 * x * x * x * x * p2 * Baa * Baa;
    S -= 2.0 * x * x * (1.0 - x) * (1.0 - 3.0 * x) * p2 * Baw * Baw;
    S -= 0.5 * (p_ws * p_ws - (1.0 - x) * (1.0 - x) * (1.0 - x) * (1.0 + 3.0 * x) * p2) * Bww * Bww;
    return S;
}

// Fixed-point solution of the enhancement factor; p in Pa.
double SolveEnhancement(const EnhancementCoefficients& c, double p) {
    const double RT2 = kR * kR * c.T * c.T;
    const double condensed = CondensedTerm(c, p);
    double f = 1.0;
    int count = 0;
    for (;;) {
        const double f_old = f;
        const double x = (p - f * c.p_ws) / p;
        f = std::exp(LogEnhancementSum(c, p, x, condensed, RT2) / RT2);
        if (std::fabs(f_old - f) < 1e-6) break;
        // Once NaN the iteration stays NaN to the end and the factor is 1.
        if (std::isnan(f)) break;
        ++count;
        if (!(count < kEnhancementIterations)) break;
    }
    return f > 1.0 ? f : 1.0;
}

}  // namespace

namespace {

// exp(C1/T + C2 + C3 T + C4 T^2 + C5 T^3 + C6 T^4 + C7 ln T), psia, T in R,
// over ice. H&W a in inch-pound units (ASHRAE Handbook of Fundamentals),
// -148 to 32 F.
double SatPressureIce(double T) {
    constexpr double C1 = -10214.165, C2 = -4.8932428, C3 = -0.0053765794, C4 = 1.9202377e-7,
                     C5 = 3.5575832e-10, C6 = -9.0344688e-14, C7 = 4.1635019;
    const double T2 = T * T;
    return std::exp(C1 / T + C2 + C3 * T + C4 * T2 + C5 * T2 * T + C6 * T2 * T2 + C7 * std::log(T));
}

// The same over water, where C6 is 0: its term adds +0 to a sum that is
// never -0, so it is left out. H&W a, published 32 to 392 F; used to 400 F.
double SatPressureWater(double T) {
    constexpr double C1 = -10440.397, C2 = -11.29465, C3 = -0.027022355, C4 = 1.289036e-5, C5 = -2.4780681e-9,
                     C7 = 6.5459673;
    const double T2 = T * T;
    return std::exp(C1 / T + C2 + C3 * T + C4 * T2 + C5 * T2 * T + C7 * std::log(T));
}

}  // namespace

double SatPressure(float t) {
    if (!InRange(t, -148.0, 400.0)) return kError;
    const double T = static_cast<double>(t) + kRankine;
    return t < 32.0f ? SatPressureIce(T) : SatPressureWater(T);
}

// Enhancement factor at P psia and t F, given SatPressure(t) in psia.
static double EnhancementFactorWith(float P, float t, double p_ws) {
    if (0.98 * BoilingGuardPressure(t) > P) return 1.0;
    return SolveEnhancement(CoefficientsAt(t, p_ws), kPaPerPsia * static_cast<double>(P));
}

double EnhancementFactor(float P, float t) {
    if (0.98 * BoilingGuardPressure(t) > P) return 1.0;
    return SolveEnhancement(CoefficientsAt(t, SatPressure(t)), kPaPerPsia * static_cast<double>(P));
}

double SatPressureMoistAir(float P, float t) {
    const double p_ws = SatPressure(t);
    return EnhancementFactorWith(P, t, p_ws) * p_ws;
}

// DewPointPure, also giving SatPressure of the answer where the search has
// computed it (NaN where it has not).
static float DewPointPureWith(double pw, double& p_at) {
    p_at = NAN;
    if (!(pw >= 0.0)) return kError;
    static const double p_lo = SatPressure(-148.0f);
    static const double p_hi = SatPressure(392.0f);
    if (pw < p_lo)  // below the correlation: linear down to absolute zero
        return static_cast<float>(-kRankine + (kRankine - 148.0) * pw / p_lo);
    if (pw > p_hi) return 392.0f;
    // First estimate: empirical fit of the dew point (F) to the log of the
    // vapour pressure in inHg, valid -148 to 392 F; only a starting point.
    const double y = std::log(2.036 * pw);
    const double t0 = pw < 0.08865 ? 71.98 + 24.873 * y + 0.87 * y * y : 79.047 + 30.579 * y + 1.8893 * y * y;
    double T1 = t0 + kRankine;
    double p1 = SatPressure(static_cast<float>(T1 - kRankine));
    double step = -1.0;
    double T2, p2;
    for (int n = 0;; ++n) {
        if (n == kDewPointSteps) return kError;
        T2 = T1 + step;
        // Keep the trial inside the correlation: from a low first estimate
        // near the top of the range the secant overshoots past 400 F, where
        // the saturation pressure is refused and the search would run off.
        if (T2 > 400.0 + kRankine)
            T2 = 400.0 + kRankine;
        else if (T2 < -148.0 + kRankine)
            T2 = -148.0 + kRankine;
        p2 = SatPressure(static_cast<float>(T2 - kRankine));
        if (p2 == p1) break;
        step = (T2 - T1) / (p2 - p1) * (pw - p2);
        if (std::fabs(step) < 1e-5) break;
        T1 = T2;
        p1 = p2;
    }
    // The answer is the temperature p2 was computed at.
    p_at = p2;
    return static_cast<float>(T2 - kRankine);
}

float DewPointPure(double pw) {
    double p_at;
    return DewPointPureWith(pw, p_at);
}

float DewPointMoistAir(float P, double pw) {
    if (!(pw >= 0.0)) return kError;
    // The enhancement factor at a dew point, from the saturation pressure
    // the dew-point search found there when it has it.
    auto factorAt = [P](float td, double p_at) {
        return p_at == p_at ? EnhancementFactorWith(P, td, p_at) : EnhancementFactor(P, td);
    };
    double x = pw;
    double p_at;
    float td = DewPointPureWith(x, p_at);
    x = pw / factorAt(td, p_at);
    double err = 1.0;
    double x_before = NAN;
    for (int n = 0; err >= 1e-6; ++n) {
        if (n == kDewPointMoistSteps) return kError;
        td = DewPointPureWith(x, p_at);
        const double x_new = pw / factorAt(td, p_at);
        // Where the boiling guard switches the enhancement factor to 1
        // between two neighbouring dew points (at low temperatures and low
        // pressures, e.g. -48 F at 8 psia) the iteration swings between the
        // two for ever. Nothing changes any more: stop with this one.
        if (x_new == x_before) break;
        err = std::fabs(x - x_new) / (x > 1.0 ? x : 1.0);
        x_before = x;
        x = x_new;
    }
    return td;
}

}  // namespace hygrel

using namespace hygrel;

extern "C" {

HYGREL32_API float PLV(void) {
    return 140.0f;
}
HYGREL32_API double XPWS(float t) {
    return SatPressure(t);
}
HYGREL32_API double XFS(float P, float t) {
    return EnhancementFactor(P, t);
}
HYGREL32_API double XPWSAPP(float P, float t) {
    return SatPressureMoistAir(P, t);
}
HYGREL32_API float XTDP(double pw) {
    return DewPointPure(pw);
}
HYGREL32_API float XTDPAPP(float P, double pw) {
    return DewPointMoistAir(P, pw);
}

}  // extern "C"
