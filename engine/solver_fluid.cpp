// Fluid coil cooling solver (water, glycol and other-fluid coils whose fluid
// is not warmer than the entering air).
//
// For each trial total capacity the solver decides whether the outside
// surface is wholly wet, partly wet or dry, rates the coil under that
// condition (enthalpy potential for the wet surface, log-mean temperature
// for the dry part), and runs a damped fixed-point iteration on the total
// capacity over a list of at most 101 trials. The leaving dry bulb comes from
// a bypass factor and the apparatus dew point. The estimate of the leaving
// dry bulb is CoilRating.LatDb itself throughout.
//
// Every named quantity is a 32-bit float: each one is computed in double and
// stored through rt::F32, which also raises the numbered run-time errors.
//
// Symbols (temperatures F, enthalpies Btu/lb of dry air, humidity ratios
// grains/lb of dry air, capacities Btu/h, resistances h.ft2.F/Btu referred to
// the outside surface):
//   We, Wl     entering and leaving humidity ratio
//   Wf         saturated humidity ratio at the entering fluid temperature
//   he, hl     entering and leaving air enthalpy
//   hc         enthalpy carried off by the condensate
//   tdp, hdp   entering dew point and the saturated enthalpy there
//   rhoE, rhoL entering and leaving air density, lb/ft3
//   cp         moist-air specific heat, Btu/lb.F
//   Qk         the trial's total capacity; Qnew the capacity it rates to
//   hi         tube-side film coefficient, Btu/h.ft2.F
//   Ri, Rfo    tube-side film and fouling resistance
//   Cdry, Cwet surface-to-fluid resistance over the air-side one, per cp:
//              F of surface above the fluid per Btu/lb of air above the
//              surface, dry and wet fin
//   slope      fluid temperature rise per Btu/lb the air gives up, F.lb/Btu
//   hx, M      air enthalpy at which the surface reaches the dew point, with
//              the dry and the wet fin
//   b          slope of the saturation enthalpy over cp (wet-fin factor)
//   tx, twx    air and fluid temperature where the surface turns wet
//   BF         bypass factor; hadp, tadp apparatus dew point enthalpy and
//              temperature
//   d          damping of the capacity step
#include <cmath>
#include <string>

#include "engine/coil_type.h"
#include "engine/internal/coilcalc_internal.h"
#include "engine/internal/constants.h"
#include "engine/hygrel_binding.h"
#include "engine/msgbox.h"
#include "engine/rterror.h"
#include "engine/internal/saturation_search.h"

namespace {

using rt::Div;
using rt::F32;

constexpr int kLastTrial = 100;  // the trial list holds trials 0 to 100

// Enthalpy of saturated air at t.
float SatEnthalpy(float t, int16_t altitude) {
    return hg::HGENTHALPY(t, ccLookups.WbToGr(t, t, altitude));
}

// Saturation temperature at enthalpy h, searched from the given air.
float SatTemp(float h, float dryBulb, float wetBulb) {
    int16_t done = kFalse;
    return CC_SatTempFromEnthalpy(h, dryBulb, wetBulb, done);
}

// The same search from a start found once for the rating.
float SatTemp(float h, const SatSearchStart& from) {
    int16_t done = kFalse;
    return CC_SatTempFromStart(h, from, done);
}

float SurfTemp(float cr, float tf, float ha) {
    float ts = 0;
    CC_SurfaceTemp(cr, tf, ha, ts);
    return ts;
}

// Log-mean of two differences a and b.
double LogMean(double a, double b) {
    return Div(a - b, rt::Log(Div(a, b)));
}

// Moist air specific heat at the mean of two humidity ratios (grains/lb).
float MeanCp(float wl, float we) {
    return F32(kc::kCpDryAir + kc::kCpWaterVapour * (double(wl) + we) / (2 * kc::kGrainsPerLb));
}

// Damping of the capacity step for the partly wet and the dry surface.
float Damping(int16_t k) {
    return k > kc::kDampHeavyAfter ? kc::kDampHeavy : k > kc::kDampHalfAfter ? kc::kDampHalf : 1.0f;
}

enum Outcome { kNormal = 0, kOvershoot = 1, kInfeasible = 2 };
enum Surface { kWet, kPartWet, kDry };

// The entering air and what follows from it alone: fixed for the rating.
struct Inlet {
    float We = 0, he = 0, tdp = 0, hdp = 0, rhoE = 0, Rfo = 0;
    SatSearchStart satStart;  // saturation searches from the entering dry and wet bulb
};

// What the search carries from one trial to the next.
struct Search {
    Inlet in;
    float Wl = 0;
    int16_t k = 0;
    float lowerBound = 0, upperBound = 0;
    // Capacities at which each surface condition was last infeasible.
    float wetCap = 0, partCap = 0, dryCap = 0;

    // Saturation values at temperatures fixed for the whole call, looked up
    // once at their first use, and the parts of the capacity limits that
    // only they and the entering air decide.
    bool fluidKnown = false;
    double qmaxPerLb = 0;  // he - hs(EntFluidTemp) - condensate at Wf, Btu/lb
    bool dewPointKnown = false;
    double qlimPerLb = 0;  // he - hs(t_dp + kDewPointMargin), Btu/lb

    // The tube-side resistance Ri of a glycol or other-fluid coil: its film
    // coefficient follows the fluid's properties and velocity alone, which no
    // trial changes, so it is found at the first trial that needs it (and the
    // laminar-film flag set there, as every later trial would set it again).
    // A water coil's follows the mean fluid temperature: found every trial.
    bool filmFixed = false;
    bool filmKnown = false;
    float Ri = 0;
};

// A trial's working values.
struct Trial {
    float Qk = 0;
    Outcome outcome = kNormal;
    float cp = 0, hl = 0;
    float Ri = 0, Cdry = 0, slope = 0, hx = 0;
    Surface surface = kDry;
    float Cwet = 0, M = 0;
    float Qnew = 0, d = 0;
    float* cap = nullptr;  // the wet branches' cap, in Search
};

// Before a humidity lookup at the leaving dry and wet bulb: a dry bulb below
// the wet bulb is refused by the library, so it is raised just above it.
void RaiseLeavingDryBulbToWetBulb(CoilRating& r) {
    if (r.LatDb < r.LatWb) r.LatDb = F32(double(r.LatWb) + kc::kLeavingAboveWetBulb);
}

// Humidity ratio at the leaving dry and wet bulb; a refusal keeps `previous`.
float LeavingHumidity(const CoilRating& r, float previous) {
    const float w = ccLookups.WbToGr(r.LatDb, r.LatWb, r.Altitude);
    return w == hg::kOutOfRange ? previous : w;
}

Inlet EnteringAir() {
    const CoilRating& r = cc.Rating;
    const int16_t alt = r.Altitude;
    Inlet in;
    in.We = ccLookups.WbToGr(r.EatDb, cc.EatWbCalc, alt);
    in.he = hg::HGENTHALPY(r.EatDb, in.We);
    in.tdp = ccLookups.DewPoint(in.We, alt);
    in.hdp = hg::HGENTHALPY(in.tdp, ccLookups.SatGrains(in.tdp, alt));
    in.rhoE = hg::HGDENSITY(r.EatDb, in.We, alt);
    in.Rfo = F32(double(cc.Coil.FoulingFactor) * cc.AreaRatio);
    in.satStart = CC_SatSearchStart(r.EatDb, r.EatWb);
    return in;
}

// Air mass flow at the mean density, the specific heat and the leaving
// enthalpy for a total capacity Q; the leaving wet bulb follows. Answers hl.
float LeavingAir(const Inlet& in, float Wl, float Q, float& cp) {
    CoilRating& r = cc.Rating;
    const float rhoL = ccLookups.Density(r.LatDb, Wl, r.Altitude);
    cc.AirMassFlow = F32(double(r.Acfm) * (double(rhoL) + in.rhoE) / 2.0 * 60.0);
    cp = MeanCp(Wl, in.We);
    const float hc = F32((double(in.We) - Wl) * r.FluidSpecHeat * (double(r.LatWb) - 32.0) / 7000.0);
    const float hl = F32(double(in.he) - Div(Q, cc.AirMassFlow) - hc);
    r.LatWb = SatTemp(hl, in.satStart);
    return hl;
}

// Tube-side film resistance Ri, at the mean fluid temperature of the trial.
float TubeResistance(Search& sr) {
    if (sr.filmKnown) return sr.Ri;
    const float hi = CC_TubeFilmCoef();
    const float Ri = F32(Div(cc.AreaRatio, hi));
    if (sr.filmFixed) {
        sr.filmKnown = true;
        sr.Ri = Ri;
    }
    return Ri;
}

// Leaving fluid, the tube-side resistance and the dry-fin surface line.
void FluidSide(Search& sr, Trial& t) {
    CoilRating& r = cc.Rating;
    const Inlet& in = sr.in;
    r.LvgFluidTemp = F32(Div(t.Qk, double(r.FluidMassFlow) * r.FluidSpecHeat) + r.EntFluidTemp);
    cc.MeanFluidTemp = F32((double(r.LvgFluidTemp) + r.EntFluidTemp) * 0.5);
    t.Ri = TubeResistance(sr);

    t.Cdry = F32(Div(double(cc.FinWallResDry) + t.Ri + in.Rfo, double(cc.AirJCorr) * t.cp));
    t.slope = F32(Div(double(r.LvgFluidTemp) - r.EntFluidTemp, double(in.he) - t.hl));
    t.hx = F32(Div(double(in.tdp) - r.LvgFluidTemp + double(in.he) * t.slope + double(in.hdp) * t.Cdry,
                   double(t.slope) + t.Cdry));
}

// Wet-fin factor b from the spread of the dry-fin surface temperature over
// the wet part of the coil.
float WetFinFactor(const Inlet& in, const Trial& t) {
    const CoilRating& r = cc.Rating;
    const float tOut = SurfTemp(t.Cdry, r.EntFluidTemp, t.hl);
    float tm, delta;
    if (t.hx >= in.he) {
        const float tIn = SurfTemp(t.Cdry, r.LvgFluidTemp, in.he);
        tm = F32((double(tOut) + tIn) / 2.0);
        delta = F32((double(tIn) - tOut) / 20.0);
    } else {
        tm = F32((double(in.tdp) + tOut) / 2.0);
        delta = F32((double(in.tdp) - tOut) / 20.0);
    }
    return F32(Div(double(SatEnthalpy(tm, r.Altitude)) - SatEnthalpy(F32(double(tm) - delta), r.Altitude),
                   double(t.cp) * delta));
}

// Whether the surface is wholly wet, partly wet or dry; for a wet surface
// also the wet-fin resistance ratio and the wet line.
void SurfaceCondition(const Inlet& in, Trial& t) {
    const CoilRating& r = cc.Rating;
    t.surface = kDry;
    if (!(t.hx > t.hl)) return;
    const float b = WetFinFactor(in, t);
    CC_FinWallResistance(b, r.FinConductivity, r.CoilDepth, r.SecondaryArea, r.PrimaryArea, r.TotalTubes);

    t.Cwet = F32(Div(double(cc.FinWallResWet) + t.Ri + in.Rfo, double(t.cp) * cc.AirJCorr));
    t.M = F32(Div(double(in.tdp) - r.LvgFluidTemp + double(in.he) * t.slope + double(in.hdp) * t.Cwet,
                  double(t.slope) + t.Cwet));
    if (t.M >= in.he)
        t.surface = kWet;
    else if (t.M > t.hl)
        t.surface = kPartWet;
}

// Wholly wet surface: log-mean enthalpy potential.
void RateWetSurface(Search& sr, Trial& t) {
    CoilRating& r = cc.Rating;
    const Inlet& in = sr.in;
    cc.CoilDry = kFalse;
    const float tIn = SurfTemp(t.Cwet, r.LvgFluidTemp, in.he);
    const float tOut = SurfTemp(t.Cwet, r.EntFluidTemp, t.hl);
    const float hsIn = SatEnthalpy(tIn, r.Altitude);
    const float hsOut = SatEnthalpy(tOut, r.Altitude);
    if (!(in.he > hsIn && t.hl > hsOut && in.tdp > r.LvgFluidTemp && tOut > r.EntFluidTemp)) {
        t.outcome = kInfeasible;
        sr.wetCap = t.Qk;
        return;
    }
    const float dh = F32(LogMean(double(in.he) - hsIn, double(t.hl) - hsOut));
    t.Qnew = F32(Div(double(cc.TotalArea) * dh, double(t.cp) * cc.AirJCorr));
    r.WetFraction = 1.0f;
    t.d = 0.5f;
    t.cap = &sr.wetCap;
}

// Partly wet surface: the dry and the wet part rated apart by their
// log-mean temperatures, and their areas fitted to the coil's surface.
void RatePartWetSurface(Search& sr, Trial& t) {
    CoilRating& r = cc.Rating;
    const Inlet& in = sr.in;
    cc.CoilDry = kFalse;
    const float tx = F32(double(r.EatDb) - Div(double(in.he) - t.M, t.cp));
    const float twx = F32(double(r.LvgFluidTemp) - (double(r.EatDb) - tx) * t.cp * t.slope);
    const float tOut = SurfTemp(t.Cwet, r.EntFluidTemp, t.hl);
    const float hsOut = SatEnthalpy(tOut, r.Altitude);
    if (!(t.M > in.hdp && t.hl >= hsOut && in.tdp > twx && tOut > r.EntFluidTemp &&
          r.EatDb > r.LvgFluidTemp && twx < tx)) {
        t.outcome = kInfeasible;
        sr.partCap = t.Qk;
        return;
    }
    const float dTwet = F32(LogMean(double(in.tdp) - twx, double(tOut) - r.EntFluidTemp));
    const float dTdry = F32(LogMean(double(r.EatDb) - r.LvgFluidTemp, double(tx) - twx));
    float Qdry = F32((double(r.LvgFluidTemp) - twx) * r.FluidMassFlow * r.FluidSpecHeat);
    const float Adry = F32(Div((double(cc.AirJ) + t.Ri + cc.FinWallResDry + in.Rfo) * Qdry, dTdry));
    float Qwet = F32((double(twx) - r.EntFluidTemp) * r.FluidMassFlow * r.FluidSpecHeat);
    const float Awet = F32(Div((double(cc.FinWallResWet) + t.Ri + in.Rfo) * Qwet, dTwet));
    r.WetFraction = F32(Div(Awet, double(Awet) + Adry));

    // Fit the two areas to the coil's surface.
    if (cc.TotalArea >= Adry) {
        if (F32(double(Awet) + Adry) > cc.TotalArea) {
            Qwet = F32(Div((double(cc.TotalArea) - Adry) * Qwet, Awet));
        } else {
            Qdry = F32(Div(double(cc.TotalArea) * Qdry, double(Awet) + Adry));
            Qwet = F32(Div(double(cc.TotalArea) * Qwet, double(Awet) + Adry));
        }
    } else {
        Qdry = F32(Div(double(cc.TotalArea) * Qdry, Adry));
        Qwet = 0;
    }
    t.Qnew = F32(double(Qwet) + Qdry);
    t.d = Damping(sr.k);
    t.cap = &sr.partCap;
}

// Dry surface: log-mean temperature, limited to the air leaving just above
// its dew point and to the last infeasible dry capacity.
void RateDrySurface(Search& sr, Trial& t) {
    CoilRating& r = cc.Rating;
    const Inlet& in = sr.in;
    cc.CoilDry = kTrue;
    r.LatDb = F32(double(r.EatDb) - Div(t.Qk, double(t.cp) * cc.AirMassFlow));
    if (!(r.EatDb > r.LvgFluidTemp && r.LatDb > r.EntFluidTemp)) {
        t.outcome = kInfeasible;
        sr.dryCap = t.Qk;
        return;
    }
    const float dT = F32(LogMean(double(r.EatDb) - r.LvgFluidTemp, double(r.LatDb) - r.EntFluidTemp));
    t.Qnew = F32(Div(double(cc.TotalArea) * dT, double(cc.AirJ) + t.Ri + cc.FinWallResDry + in.Rfo));
    r.WetFraction = 0;
    t.d = Damping(sr.k);
    if (!sr.dewPointKnown) {
        sr.dewPointKnown = true;
        sr.qlimPerLb = double(in.he) - SatEnthalpy(F32(double(in.tdp) + kc::kDewPointMargin), r.Altitude);
    }
    const float Qlim = F32(sr.qlimPerLb * cc.AirMassFlow);
    if (Qlim < t.Qnew) t.Qnew = Qlim;
    if (sr.dryCap > 0 && sr.dryCap < t.Qnew) t.Qnew = sr.dryCap;
}

// Leaving dry bulb from the bypass factor (of the air mass flow at cp) and
// the apparatus dew point on the line from the entering air through hl.
void LeavingDryBulbFromBypass(const Inlet& in, float hl, double bypassNtuDenominator) {
    CoilRating& r = cc.Rating;
    const float BF = F32(Div(1.0, rt::Exp(Div(cc.TotalArea, bypassNtuDenominator))));
    const float hadp = F32(double(in.he) - Div(double(in.he) - hl, 1.0 - BF));
    const float tadp = SatTemp(hadp, in.satStart);
    r.LatDb = F32(double(tadp) + (double(r.EatDb) - tadp) * BF);
}

// Wet branches: limit to the air leaving saturated at the entering fluid
// temperature, then to the branch's cap; the leaving dry bulb follows.
void LimitWetCapacity(Search& sr, Trial& t) {
    const CoilRating& r = cc.Rating;
    const Inlet& in = sr.in;
    if (!sr.fluidKnown) {
        sr.fluidKnown = true;
        const float Wf = ccLookups.WbToGr(r.EntFluidTemp, r.EntFluidTemp, r.Altitude);
        const float hsFluid = SatEnthalpy(r.EntFluidTemp, r.Altitude);
        sr.qmaxPerLb = double(in.he) - hsFluid -
                       (double(in.We) - Wf) * r.FluidSpecHeat * (double(r.EntFluidTemp) - 32.0) / 7000.0;
    }
    const float Qmax = F32(sr.qmaxPerLb * cc.AirMassFlow);
    if (Qmax < t.Qnew) t.Qnew = Qmax;
    if (*t.cap > 0 && *t.cap < t.Qnew) t.Qnew = *t.cap;

    LeavingDryBulbFromBypass(in, t.hl, double(t.cp) * cc.AirJ * cc.AirMassFlow);
}

// Humidity update: the leaving humidity of a wet coil, never above the
// entering one; a dry coil leaves at the entering humidity.
void UpdateHumidity(Search& sr, const Trial& t) {
    CoilRating& r = cc.Rating;
    RaiseLeavingDryBulbToWetBulb(r);
    sr.Wl = LeavingHumidity(r, sr.Wl);
    if (cc.CoilDry != kFalse)
        sr.Wl = sr.in.We;
    else if (sr.Wl > sr.in.We)
        sr.Wl = sr.in.We;
    r.TotalBtuh = t.Qnew;
}

// Rates the coil at the trial capacity guess[k].
Trial RateTrial(Search& sr) {
    CoilRating& r = cc.Rating;
    Trial t;
    t.Qk = cc.GuessList[sr.k];
    r.TotalBtuh = t.Qk;
    t.hl = LeavingAir(sr.in, sr.Wl, t.Qk, t.cp);
    if (t.hl <= 0) {
        t.outcome = kOvershoot;
        return t;
    }
    FluidSide(sr, t);
    SurfaceCondition(sr.in, t);
    if (t.surface == kWet)
        RateWetSurface(sr, t);
    else if (t.surface == kPartWet)
        RatePartWetSurface(sr, t);
    else
        RateDrySurface(sr, t);
    if (t.outcome != kNormal) return t;
    if (t.cap != nullptr) LimitWetCapacity(sr, t);
    UpdateHumidity(sr, t);
    return t;
}

// Update of the trial list: answers false when the search ends (converged,
// or on the mean of the last two trials at the end of the list).
bool NextTrial(Search& sr, const Trial& t) {
    float* guess = cc.GuessList;
    if (t.outcome == kNormal && std::fabs(double(t.Qnew) - guess[sr.k]) <= kc::kCapacityTolerance)
        return false;
    if (sr.k == kLastTrial) {
        cc.Rating.TotalBtuh = F32((double(guess[kLastTrial - 1]) + guess[kLastTrial]) / 2.0);
        cc.TrialLimitReached = kTrue;
        return false;
    }
    const int16_t k = ++sr.k;
    if (t.outcome == kOvershoot) {
        guess[k] = F32(guess[k - 1] / 2.0);
    } else if (t.outcome == kInfeasible) {
        guess[k] = F32(kc::kInfeasibleStep * guess[k - 1]);
        if (guess[k] < sr.lowerBound) guess[k] = F32(double(sr.lowerBound) + kc::kAboveLowerBound);
        if (sr.upperBound > 0 && guess[k] > sr.upperBound) guess[k] = F32(guess[k] * kc::kBelowUpperBound);
    } else {
        guess[k] = F32(guess[k - 1] + double(t.d) * (double(t.Qnew) - guess[k - 1]) / 2.0);
        if (t.Qnew > guess[k - 1])
            sr.lowerBound = guess[k - 1];
        else
            sr.upperBound = guess[k - 1];
    }
    return true;
}

// Finishing of a wet result: the capacity factor, then two passes of the
// leaving air at the final capacity; the coil may turn out dry.
void FinishWet(const Inlet& in, float& Wl) {
    CoilRating& r = cc.Rating;
    r.TotalBtuh = F32(double(r.CapacityFactor) * r.TotalBtuh);
    r.LvgFluidTemp = F32(Div(r.TotalBtuh, double(r.FluidMassFlow) * r.FluidSpecHeat) + r.EntFluidTemp);
    for (int pass = 0; pass < 2; ++pass) {
        float cp = 0;
        const float hl = LeavingAir(in, Wl, r.TotalBtuh, cp);
        if (r.LatWb > in.tdp) r.LatWb = in.tdp;
        LeavingDryBulbFromBypass(in, hl, double(cc.AirJ) * cc.AirMassFlow * cp);
        RaiseLeavingDryBulbToWetBulb(r);
        Wl = LeavingHumidity(r, Wl);
    }
    const float cp = MeanCp(Wl, in.We);
    r.SensibleBtuh = F32(double(cp) * cc.AirMassFlow * (double(r.EatDb) - r.LatDb));
    if (F32(Div(r.SensibleBtuh, r.TotalBtuh)) >= 1.0f) cc.CoilDry = kTrue;
}

// Finishing of a dry result: the capacity factor, then two passes of the
// leaving air at the entering humidity.
void FinishDry(const Inlet& in, float& Wl) {
    CoilRating& r = cc.Rating;
    r.TotalBtuh = F32(double(r.CapacityFactor) * r.TotalBtuh);
    for (int pass = 0; pass < 2; ++pass) {
        const float rhoL = ccLookups.Density(r.LatDb, Wl, r.Altitude);
        const float rhoAvg = F32((double(rhoL) + in.rhoE) / 2.0);
        cc.AirMassFlow = F32(double(r.Acfm) * rhoAvg * 60.0);
        const float cp = MeanCp(Wl, in.We);
        const float hl = F32(double(in.he) - Div(r.TotalBtuh, cc.AirMassFlow));
        r.LatWb = SatTemp(hl, r.EatDb, cc.EatWbCalc);
        r.LatDb = F32(double(r.EatDb) - Div(r.TotalBtuh, double(rhoAvg) * 60.0 * cp * r.Acfm));
        Wl = in.We;
    }
    r.SensibleBtuh = r.TotalBtuh;
    r.LvgFluidTemp = F32(Div(r.TotalBtuh, double(r.FluidMassFlow) * r.FluidSpecHeat) + r.EntFluidTemp);
}

void RateCoolingCoil() {
    CoilRating& r = cc.Rating;
    Search sr;
    sr.in = EnteringAir();
    const CoilType type = CoilTypeOf(cc.Coil.Application);
    sr.filmFixed = type == CoilType::Glycol || type == CoilType::OtherFluid;
    cc.GuessList[0] = kc::kFirstCapacityGuess;
    r.LatDb = r.EatDb;
    sr.Wl = sr.in.We;
    while (NextTrial(sr, RateTrial(sr))) {
    }

    // Finishing: a wet result first, which may turn out dry.
    if (cc.CoilDry == kFalse) FinishWet(sr.in, sr.Wl);
    if (cc.CoilDry != kFalse) FinishDry(sr.in, sr.Wl);

    // Guards on the leaving dry bulb.
    if (r.LatDb < r.LatWb) r.LatDb = F32(double(r.LatWb) + kc::kLeavingAboveWetBulb);
    if (r.LatDb < r.EntFluidTemp) r.LatDb = F32(double(r.EntFluidTemp) + kc::kLeavingAboveFluid);
}

}  // namespace

void CC_DoFluidCoilCalc() {
    try {
        RateCoolingCoil();
    } catch (const rt::RtError& e) {
        // The results computed so far stay in the record.
        ShowMessage(std::to_string(e.number()) + "  " + e.description());
    }
}
