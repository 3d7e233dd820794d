// Inch-pound moist-air property functions: F, grains of moisture per pound
// of dry air, psia, altitude in feet. The formulas are those of the ASHRAE
// Handbook of Fundamentals, psychrometrics chapter, except where noted.
#include <cmath>

#include "hygrel32.h"
#include "hygrel_core.h"

namespace hygrel {
namespace {

// Largest humidity any function accepts, grains/lb.
constexpr double kMaxGrains = 16300.0;
// Steps allowed to each descent and to the secant of the wet-bulb search,
// and to each march of the wet-bulb/relative-humidity search. None is
// reached by an input that has an answer.
constexpr int kWetBulbCoarseSteps = 200;
constexpr int kWetBulbFineSteps = 100;
constexpr int kWetBulbSecantSteps = 100;
constexpr int kMarchSteps = 200;

bool PressureInRange(float P) {
    return InRange(P, 4.0, 400.0);
}

// Vapour pressure of a humidity ratio w (lb/lb) at total pressure P, psia.
double VapourPressure(double w, float P) {
    return w * P / (w + kMolarRatio);
}

// Humidity ratio (lb/lb) that the psychrometric equation gives at dry bulb
// t and trial wet bulb x (F) at P psia.
double TrialHumidityRatio(double t, double x, float P) {
    const double p = SatPressureMoistAir(P, static_cast<float>(x));
    const double ws = kMolarRatio * p / (P - p);
    return WetBulbHumidityRatio(t, x, ws);
}

// The trial humidity ratios (lb/lb) of one wet-bulb search at dry bulb t F
// and P psia. The last few are kept, so that a point the descents step back
// to is not computed again (the same value either way).
class WetBulbTrials {
public:
    WetBulbTrials(float t, float P) : t_(t), P_(P) {}

    double operator()(double x) {
        for (const Trial& r : recent_)
            if (r.x == x) return r.W;
        const double W = TrialHumidityRatio(t_, x, P_);
        recent_[next_] = {x, W};
        next_ = (next_ + 1) % kKept;
        return W;
    }

private:
    static constexpr int kKept = 4;
    struct Trial {
        double x = NAN, W = NAN;
    };
    float t_, P_;
    Trial recent_[kKept];
    int next_ = 0;
};

// First trial wet bulb, F: 10 F above the dry bulb t, but no closer than
// 5 F to the boiling point at P psia.
double StartingWetBulb(float t, float P) {
    const double tw = static_cast<double>(t) + 10.0;
    const double t_b = DewPointPure(P);
    return t_b - 5.0 < tw ? t_b - 5.0 : tw;
}

// Steps the trial wet bulb tw down by `step` F until its humidity falls
// below w (lb/lb), then back to the last trial at or above w. False when
// that takes more than `limit` steps.
bool Descend(WetBulbTrials& Wc, double w, double step, int limit, double& tw) {
    int n = 0;
    do {
        if (++n > limit) return false;
        tw -= step;
    } while (w <= Wc(tw));
    tw += step;
    return true;
}

// Secant from the trial wet bulb tw (F) towards the humidity w (lb/lb);
// tw2 is the last trial. False where the secant finds no wet bulb.
bool SecantWetBulb(WetBulbTrials& Wc, double w, double tw, double& tw2) {
    double W1 = Wc(tw);
    double step = 0.1;
    for (int n = 0;; ++n) {
        if (n == kWetBulbSecantSteps) return false;
        tw2 = tw + step;
        // A step to an infinite temperature (from an absurd humidity) has
        // no wet bulb to find.
        if (!std::isfinite(tw2)) return false;
        const double W2 = Wc(tw2);
        if (W2 == W1) return true;
        step = (tw2 - tw) / (W2 - W1) * (w - W2);
        if (std::fabs(step) < 1e-5 || std::fabs(W2 - W1) < 1e-5) return true;
        tw = tw2;
        W1 = W2;
    }
}

// Humidity in grains/lb from dry bulb t and wet bulb tw with a saturation
// humidity Ws (grains/lb) at tw; kError for a non-positive result.
float GrainsFromWetBulb(float t, float tw, float Ws) {
    const double W = kGrainsPerLb * WetBulbHumidityRatio(t, tw, Ws / kGrainsPerLb);
    if (!(W > 0.0)) return kError;
    return static_cast<float>(W);
}

}  // namespace

// Quadratic fit to the standard atmosphere in inHg, over 2.036 inHg/psi:
// empirical fit, valid -500 to 15000 ft (within 0.2 %; 1.3 % high at
// 20000 ft, 13 % at 30000 ft).
float BaroPressure(int16_t Z) {
    const double z = Z;
    return static_cast<float>((29.921 - 0.0010717 * z + 1.3598e-8 * z * z) / 2.036);
}

// W = 0.62198 p / (P - p), ideal-gas mixing, in grains/lb.
float SatHumidityGrains(double p_s, float P) {
    return static_cast<float>(kMolarRatio * p_s * kGrainsPerLb / (P - p_s));
}

float SatGrainsAt(float t, float P) {
    const double p_s = SatPressureMoistAir(P, t);
    if (P > p_s) return SatHumidityGrains(p_s, P);
    return kBoilingGrains;
}

// The psychrometric equation over water (ASHRAE Handbook of Fundamentals),
// lb/lb; t, tw in F; ws lb/lb.
double WetBulbHumidityRatio(double t, double tw, double ws) {
    return ((1093.0 - 0.556 * tw) * ws - 0.24 * (t - tw)) / (1093.0 + 0.444 * t - tw);
}

// Ideal gas, R of dry air 53.352 ft lbf/(lb R), Rankine offset 460;
// lb/ft3 (144 in2/ft2).
double DensityFormula(float t, float W, float P) {
    return 144.0 * P / (53.352 * (static_cast<double>(t) + 460.0) * (1.0 + 1.6078 * W / kGrainsPerLb));
}

double CheckedDensity(float t, float W, float P, float Ws) {
    if (!InRange(W, 0.0, kMaxGrains) || !(W <= Ws)) return kError;
    return DensityFormula(t, W, P);
}

float CheckedDewPoint(float W, float P) {
    if (!InRange(W, 0.0, kMaxGrains)) return kError;
    return DewPointMoistAir(P, VapourPressure(W / kGrainsPerLb, P));
}

// Relative humidity from the degree of saturation mu = W/Ws:
// phi = mu / (1 - (1 - mu) p_s/P), in percent.
float RelHumidity(float t, float W, float P) {
    if (!InRange(t, -80.0, 400.0) || !InRange(W, 0.0, kMaxGrains)) return kError;
    const double p_s = SatPressureMoistAir(P, t);
    const float Ws = SatHumidityGrains(p_s, P);
    const double mu = W / static_cast<double>(Ws);
    const double phi = 100.0 * mu / (1.0 - (1.0 - mu) * p_s / P);
    if (!(phi <= 100.0)) return kError;
    return static_cast<float>(phi);
}

float RelHumidityToGrains(float t, float phi, float P) {
    if (!InRange(t, -80.0, 400.0) || !InRange(phi, 0.0, 1.0)) return kError;
    const double p = phi * SatPressureMoistAir(P, t);
    return static_cast<float>(kMolarRatio * p * kGrainsPerLb / (P - p));
}

float WetBulb(float t, float W, float P) {
    // No search ends on a NaN; refuse it at once.
    if (std::isnan(t) || std::isnan(W) || std::isnan(P)) return kError;
    const double w = W / kGrainsPerLb;
    WetBulbTrials Wc(t, P);
    double tw = StartingWetBulb(t, P);
    if (!Descend(Wc, w, 10.0, kWetBulbCoarseSteps, tw) || !Descend(Wc, w, 1.0, kWetBulbFineSteps, tw))
        return kError;
    double tw2;
    if (!SecantWetBulb(Wc, w, tw, tw2)) return kError;
    if (t < tw2) return t;
    // A humidity far beyond saturation (more than 16300 grains/lb near the
    // boiling point) can send the secant below absolute zero: no wet bulb.
    if (!(tw2 >= -kRankine)) return kError;
    return static_cast<float>(tw2);
}

float WetBulbToGrains(float t, float tw, float P) {
    if (!InRange(t, -80.0, 400.0) || !(tw <= t)) return kError;
    if (!InRange(tw, -80.0, 200.0))  // the saturation lookup refuses tw
        return kError;
    return GrainsFromWetBulb(t, tw, SatGrainsAt(tw, P));
}

namespace {

// WetBulbToGrains with the saturation humidity Ws (grains/lb) at tw given
// where the saturation lookup accepts tw.
float WetBulbToGrainsWith(float t, float tw, bool twAccepted, float Ws) {
    if (!InRange(t, -80.0, 400.0) || !(tw <= t)) return kError;
    if (!twAccepted) return kError;
    return GrainsFromWetBulb(t, tw, Ws);
}

}  // namespace

float WetBulbRhToGrains(float tw, float phi, float P) {
    if (!InRange(phi, 0.0, 1.0)) return kError;
    // Every trial would be refused at this pressure.
    if (!PressureInRange(P)) return kError;
    static constexpr double kSteps[5] = {10.0, 1.0, 0.1, 0.01, 0.001};
    // The wet bulb stays put while the dry bulb marches: its saturation
    // humidity once.
    const bool twAccepted = InRange(tw, -80.0, 200.0);
    const float Ws = twAccepted ? SatGrainsAt(tw, P) : 0.0f;
    float t = tw;
    float W = kError;
    for (double s : kSteps) {
        double r;
        int n = 0;
        do {
            if (++n > kMarchSteps) return kError;
            t = static_cast<float>(t + s);
            W = WetBulbToGrainsWith(t, tw, twAccepted, Ws);
            r = RelHumidity(t, W, P) / 100.0;
        } while (phi <= r);
        t = static_cast<float>(t - s);
    }
    return W;
}

}  // namespace hygrel

using namespace hygrel;

extern "C" {

HYGREL32_API float HGSATGRAINS(float t, int16_t Z) {
    if (!InRange(t, -80.0, 200.0)) return kError;
    return SatGrainsAt(t, BaroPressure(Z));
}

HYGREL32_API float HGPSATGRAINS(float t, float P) {
    if (!InRange(t, -80.0, 200.0) || !PressureInRange(P)) return kError;
    return SatGrainsAt(t, P);
}

HYGREL32_API float HGDENSITY(float t, float W, int16_t Z) {
    return static_cast<float>(CheckedDensity(t, W, BaroPressure(Z), HGSATGRAINS(t, Z)));
}

HYGREL32_API float HGPDENSITY(float t, float W, float P) {
    if (!PressureInRange(P)) return kError;
    return static_cast<float>(CheckedDensity(t, W, P, HGPSATGRAINS(t, P)));
}

// h = 0.24 t + W (1061 + 0.444 t), Btu/lb dry air (ASHRAE Handbook of
// Fundamentals); t F, W grains/lb.
HYGREL32_API float HGENTHALPY(float t, float W) {
    return static_cast<float>(0.24 * t + (1061.0 + 0.444 * t) * W / kGrainsPerLb);
}

HYGREL32_API float HGDEWPOINT(float W, int16_t Z) {
    return CheckedDewPoint(W, BaroPressure(Z));
}

HYGREL32_API float HGPDEWPOINT(float W, float P) {
    if (!PressureInRange(P)) return kError;
    return CheckedDewPoint(W, P);
}

HYGREL32_API float HGRH(float t, float W, int16_t Z) {
    return RelHumidity(t, W, BaroPressure(Z));
}

HYGREL32_API float HGPRH(float t, float W, float P) {
    if (!PressureInRange(P)) return kError;
    return RelHumidity(t, W, P);
}

HYGREL32_API float HGRHTOGR(float t, float phi, int16_t Z) {
    return RelHumidityToGrains(t, phi, BaroPressure(Z));
}

HYGREL32_API float HGPRHTOGR(float t, float phi, float P) {
    if (!PressureInRange(P)) return kError;
    return RelHumidityToGrains(t, phi, P);
}

// Saturation pressure in inHg, 0.491154 psi per inHg.
HYGREL32_API float HGSATVP(float t) {
    if (!InRange(t, -148.0, 400.0)) return kError;
    return static_cast<float>(SatPressure(t) / 0.491154);
}

HYGREL32_API float HGWETBULB(float t, float W, int16_t Z) {
    return WetBulb(t, W, BaroPressure(Z));
}

HYGREL32_API float HGPWETBULB(float t, float W, float P) {
    return WetBulb(t, W, P);
}

HYGREL32_API float HGWBTOGR(float t, float tw, int16_t Z) {
    if (!InRange(Z, -500.0, 30000.0)) return kError;
    return WetBulbToGrains(t, tw, BaroPressure(Z));
}

HYGREL32_API float HGPWBTOGR(float t, float tw, float P) {
    if (!PressureInRange(P)) return kError;
    return WetBulbToGrains(t, tw, P);
}

HYGREL32_API float HGWB_RHTOGRAINS(float tw, float phi, int16_t Z) {
    return WetBulbRhToGrains(tw, phi, BaroPressure(Z));
}

HYGREL32_API float HGPWB_RHTOGRAINS(float tw, float phi, float P) {
    return WetBulbRhToGrains(tw, phi, P);
}

}  // extern "C"
