// Saturation temperature from enthalpy, the coil surface temperature search,
// and the fin-and-wall resistance of the outside surface.
#include <cmath>

#include "engine/internal/coilcalc_internal.h"
#include "engine/hygrel_binding.h"
#include "engine/rterror.h"
#include "engine/internal/saturation_search.h"

using rt::Div;
using rt::F32;

namespace {

// Enthalpy of saturated air at t, Btu/lb.
float SaturatedEnthalpy(float t, int16_t altitude) {
    return hg::HGENTHALPY(t, ccLookups.WbToGr(t, t, altitude));
}

// Modified Bessel functions by the polynomial approximations of
// Abramowitz and Stegun 9.8.1 to 9.8.8 (x > 0). Each value is a quantity of
// its own: computed in double and stored as a 32-bit float, also where the
// K-functions use the I-functions.
float BesselI0(double x) {
    if (x <= 3.75) {
        const double t = x / 3.75, y = t * t;
        return F32(
            1 + y * (3.5156229 +
                     y * (3.0899424 + y * (1.2067492 + y * (0.2659732 + y * (0.0360768 + y * 0.0045813))))));
    }
    const double y = 3.75 / x;
    return F32(
        rt::Exp(x) / rt::Sqrt(x) *
        (0.39894228 +
         y * (0.01328592 +
              y * (0.00225319 +
                   y * (-0.00157565 +
                        y * (0.00916281 +
                             y * (-0.02057706 + y * (0.02635537 + y * (-0.01647633 + y * 0.00392377)))))))));
}

float BesselI1(double x) {
    if (x <= 3.75) {
        const double t = x / 3.75, y = t * t;
        return F32(
            x * (0.5 + y * (0.87890594 +
                            y * (0.51498869 +
                                 y * (0.15084934 + y * (0.02658733 + y * (0.00301532 + y * 0.00032411)))))));
    }
    const double y = 3.75 / x;
    return F32(
        rt::Exp(x) / rt::Sqrt(x) *
        (0.39894228 +
         y * (-0.03988024 +
              y * (-0.00362018 +
                   y * (0.00163801 +
                        y * (-0.01031555 +
                             y * (0.02282967 + y * (-0.02895312 + y * (0.01787654 + y * -0.00420059)))))))));
}

float BesselK0(double x) {
    if (x <= 2) {
        const double y = x * x / 4;
        return F32(-rt::Log(x / 2) * BesselI0(x) +
                   (-0.57721566 +
                    y * (0.42278420 +
                         y * (0.23069756 +
                              y * (0.03488590 + y * (0.00262698 + y * (0.00010750 + y * 0.00000740)))))));
    }
    const double y = 2 / x;
    return F32(
        rt::Exp(-x) / rt::Sqrt(x) *
        (1.25331414 +
         y * (-0.07832358 +
              y * (0.02189568 + y * (-0.01062446 + y * (0.00587872 + y * (-0.00251540 + y * 0.00053208)))))));
}

float BesselK1(double x) {
    if (x <= 2) {
        const double y = x * x / 4;
        return F32(
            rt::Log(x / 2) * BesselI1(x) +
            Div(1, x) *
                (1 + y * (0.15443144 + y * (-0.67278579 +
                                            y * (-0.18156897 +
                                                 y * (-0.01919402 + y * (-0.00110404 + y * -0.00004686)))))));
    }
    const double y = 2 / x;
    return F32(
        rt::Exp(-x) / rt::Sqrt(x) *
        (1.25331414 +
         y * (0.23498619 + y * (-0.03655620 +
                                y * (0.01504268 + y * (-0.00780353 + y * (0.00325614 + y * -0.00068245)))))));
}

constexpr int kSurfaceGuessLimit = 400;

}  // namespace

SatSearchStart CC_SatSearchStart(float dryBulb, float wetBulb) {
    try {
        const int16_t alt = cc.Rating.Altitude;
        const float w = ccLookups.WbToGr(dryBulb, wetBulb, alt);
        SatSearchStart start;
        start.t = ccLookups.DewPoint(w, alt);
        start.h = hg::HGENTHALPY(F32(start.t), ccLookups.SatGrains(F32(start.t), alt));
        start.found = true;
        return start;
    } catch (const rt::RtError&) {
        return SatSearchStart{};
    }
}

float CC_SatTempFromStart(float targetEnthalpy, const SatSearchStart& start, int16_t& done) {
    done = kFalse;
    if (!start.found) return 0.0f;
    try {
        const int16_t alt = cc.Rating.Altitude;
        double t = start.t;
        double h = start.h;
        const double target = targetEnthalpy;
        double e = std::fabs(target - h);
        int count = 1;
        while (e >= 0.0001) {
            const float ratio = F32(Div(t, h));
            const double step = std::fabs(target - h) * 0.5 * ratio;
            if (static_cast<float>(h) < targetEnthalpy)
                t = rt::Chk(t + step);
            else
                t = rt::Chk(t - step);
            if (count > 100) break;
            ++count;
            const float tf = F32(t);
            h = hg::HGENTHALPY(tf, ccLookups.SatGrains(tf, alt));
            e = std::fabs(target - h);
        }
        const float result = F32(t);
        done = kTrue;
        return result;
    } catch (const rt::RtError&) {
        done = kFalse;
        return 0.0f;
    }
}

// Temperature of saturated air whose enthalpy is targetEnthalpy, searched
// from the dew point of the given air. Answers 0 with done false when a
// run-time error ends the search.
float CC_SatTempFromEnthalpy(float targetEnthalpy, float dryBulb, float wetBulb, int16_t& done) {
    return CC_SatTempFromStart(targetEnthalpy, CC_SatSearchStart(dryBulb, wetBulb), done);
}

// Surface temperature ts = tf + cr (ha - hs(ts)): steps of 10 F until the
// answer changes side, then halving the distance between the last two
// guesses. At most 400 guesses; a search that the 400th guess does not end
// raises run-time error 9.
void CC_SurfaceTemp(float cr, float tf, float ha, float& result) {
    enum Direction { kNone, kDown, kUp };
    const int16_t alt = cc.Rating.Altitude;
    bool halving = false;
    Direction last = kNone;
    float prev = tf;  // the guess before t
    for (int k = 1;; ++k) {
        if (k > kSurfaceGuessLimit) rt::Raise(rt::kSubscript);
        const float t = k == 1 ? tf : cc.SurfTempNext;
        const float s = F32(static_cast<double>(tf) +
                            static_cast<double>(cr) * (static_cast<double>(ha) - SaturatedEnthalpy(t, alt)));
        if (static_cast<double>(t) - 0.05 <= s && s <= static_cast<double>(t) + 0.05) {
            result = s;
            return;
        }
        const Direction toward = s < t ? kDown : kUp;
        if (last != kNone && last != toward) halving = true;
        if (!halving) {
            last = toward;
            cc.SurfTempNext =
                toward == kDown ? F32(static_cast<double>(t) - 10) : F32(static_cast<double>(t) + 10);
        } else {
            const double tk = t, tprev = prev;
            cc.SurfTempNext = toward == kDown ? F32(tk - std::fabs(tk - tprev) / 2)
                                              : F32(tprev + std::fabs(tk - tprev) / 2);
        }
        prev = t;
    }
}

// Fin-plus-wall resistance of the outside surface from the efficiency of the
// equivalent annular fin; b <= 0 rates the dry surface, b > 0 the wet one.
void CC_FinWallResistance(float b, float finConductivity, float coilDepth, float secondaryArea,
                          float primaryArea, int16_t totalTubes) {
    const CoilSpec& s = cc.Coil;
    const double finThk = s.FinThk;
    const float re =
        F32(rt::Sqrt(Div(static_cast<double>(s.FinHeight) * coilDepth, totalTubes * 3.141592654)));
    const float ro = F32((finThk * 2 + cc.TubeOd) * 0.5);
    const float h = b <= 0 ? F32(Div(1, cc.AirJ)) : F32(Div(b, cc.AirJCorr));
    const float m = F32(rt::Sqrt(Div(h, static_cast<double>(finConductivity) * 6 * finThk)));
    const double radiusRatio = Div(re, ro);
    const float xo = F32(Div(static_cast<double>(m) * (static_cast<double>(re) - ro), radiusRatio - 1));
    const float xe = F32(radiusRatio * xo);

    const double i0o = BesselI0(xo), i1o = BesselI1(xo), k0o = BesselK0(xo), k1o = BesselK1(xo);
    const double i1e = BesselI1(xe), k1e = BesselK1(xe);
    const float finEff = F32(Div(2.0 * ro, static_cast<double>(m) * (static_cast<double>(re) * re -
                                                                     static_cast<double>(ro) * ro)) *
                             Div(k1o * i1e - i1o * k1e, i0o * k1e + k0o * i1e));
    const float surfEff = F32(Div(static_cast<double>(secondaryArea) * finEff + primaryArea, cc.TotalArea));
    const float finRes = F32(Div(1 - static_cast<double>(surfEff), surfEff) * Div(1, h));
    const double id = cc.TubeId;
    const float wallRes = F32(cc.AreaRatio * id * rt::Log(Div(cc.TubeOd, id)) / 4704);
    cc.FinWallRes = F32(static_cast<double>(finRes) + wallRes);
    if (b <= 0)
        cc.FinWallResDry = cc.FinWallRes;
    else
        cc.FinWallResWet = cc.FinWallRes;
}
