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
#include <cmath>
#include <string>

#include "engine/coilcalc.h"
#include "engine/hygrel_binding.h"
#include "engine/msgbox.h"
#include "engine/rterror.h"

namespace {

using rt::Div;
using rt::F32;

constexpr float kLibraryRefusal = -9999.0f;

// Enthalpy of saturated air at t.
float SatEnthalpy(float t, int16_t altitude) {
    return hg::HGENTHALPY(t, ccLookups.WbToGr(t, t, altitude));
}

// Saturation temperature at enthalpy h, searched from the entering air.
float SatTemp(float h, float dryBulb, float wetBulb) {
    int16_t done = kFalse;
    return CC_SatTempFromEnthalpy(h, dryBulb, wetBulb, done);
}

float SurfTemp(float cr, float tf, float ha) {
    float ts = 0;
    CC_SurfaceTemp(cr, tf, ha, ts);
    return ts;
}

// Log-mean of two differences a and b.
double LogMean(double a, double b) { return Div(a - b, rt::Log(Div(a, b))); }

// Moist air specific heat at the mean of two humidity ratios (grains/lb).
float MeanCp(float wl, float we) { return F32(0.24 + 0.444 * (double(wl) + we) / 14000.0); }

enum Outcome { kNormal = 0, kOvershoot = 1, kInfeasible = 2 };

// Before a humidity lookup at the leaving dry and wet bulb: a dry bulb below
// the wet bulb is refused by the library, so it is raised just above it.
void RaiseLeavingDryBulbToWetBulb(CoilRating& r) {
    if (r.LatDb < r.LatWb) r.LatDb = F32(double(r.LatWb) + 0.001);
}

// Humidity ratio at the leaving dry and wet bulb; a refusal keeps `previous`.
float LeavingHumidity(const CoilRating& r, float previous) {
    const float w = ccLookups.WbToGr(r.LatDb, r.LatWb, r.Altitude);
    return w == kLibraryRefusal ? previous : w;
}

void RateCoolingCoil() {
    CoilRating& r = cc.Rating;
    const CoilSpec& s = cc.Coil;
    const int16_t alt = r.Altitude;

    // Entering air.
    const float We = ccLookups.WbToGr(r.EatDb, cc.EatWbCalc, alt);
    const float he = hg::HGENTHALPY(r.EatDb, We);
    const float tdp = ccLookups.DewPoint(We, alt);
    const float hdp = hg::HGENTHALPY(tdp, ccLookups.SatGrains(tdp, alt));
    const float rhoE = hg::HGDENSITY(r.EatDb, We, alt);
    const float Rfo = F32(double(s.FoulingFactor) * cc.AreaRatio);

    float* guess = cc.GuessList;
    guess[0] = 10000.0f;
    r.LatDb = r.EatDb;
    float Wl = We;
    int16_t k = 0;

    float lowerBound = 0, upperBound = 0;
    float wetCap = 0, partCap = 0, dryCap = 0;
    float d = 0;
    float Qnew = 0;
    float cp = 0;

    // Saturation values at temperatures fixed for the whole call, looked up
    // once at their first use.
    struct Cached {
        bool known = false;
        float value = 0;
    };
    Cached hsFluid, hsAboveDewPoint;  // hs(EntFluidTemp), hs(t_dp + 0.005)
    float Wf = 0;                     // saturated humidity at EntFluidTemp

    for (;;) {
        const float Qk = guess[k];
        r.TotalBtuh = Qk;
        Outcome outcome = kNormal;

        const float rhoL = ccLookups.Density(r.LatDb, Wl, alt);
        cc.AirMassFlow = F32(double(r.Acfm) * (double(rhoL) + rhoE) / 2.0 * 60.0);
        cp = MeanCp(Wl, We);
        const float hc = F32((double(We) - Wl) * r.FluidSpecHeat * (double(r.LatWb) - 32.0) / 7000.0);
        const float hl = F32(double(he) - Div(Qk, cc.AirMassFlow) - hc);
        r.LatWb = SatTemp(hl, r.EatDb, r.EatWb);

        if (hl <= 0) {
            outcome = kOvershoot;
        } else {
            r.LvgFluidTemp = F32(Div(Qk, double(r.FluidMassFlow) * r.FluidSpecHeat) + r.EntFluidTemp);
            cc.MeanFluidTemp = F32((double(r.LvgFluidTemp) + r.EntFluidTemp) * 0.5);
            const float hi = CC_TubeFilmCoef();
            const float Ri = F32(Div(cc.AreaRatio, hi));

            const float Cdry = F32(Div(double(cc.FinWallResDry) + Ri + Rfo, double(cc.AirJCorr) * cp));
            const float slope = F32(Div(double(r.LvgFluidTemp) - r.EntFluidTemp, double(he) - hl));
            const float hx = F32(Div(double(tdp) - r.LvgFluidTemp + double(he) * slope + double(hdp) * Cdry,
                                     double(slope) + Cdry));

            enum { kWet, kPartWet, kDry } surface = kDry;
            float Cwet = 0, M = 0;
            if (hx > hl) {
                // Surface temperature spread for the wet-fin factor.
                float tm, delta;
                if (hx >= he) {
                    const float tOut = SurfTemp(Cdry, r.EntFluidTemp, hl);
                    const float tIn = SurfTemp(Cdry, r.LvgFluidTemp, he);
                    tm = F32((double(tOut) + tIn) / 2.0);
                    delta = F32((double(tIn) - tOut) / 20.0);
                } else {
                    const float tOut = SurfTemp(Cdry, r.EntFluidTemp, hl);
                    tm = F32((double(tdp) + tOut) / 2.0);
                    delta = F32((double(tdp) - tOut) / 20.0);
                }
                const float b = F32(Div(double(SatEnthalpy(tm, alt)) - SatEnthalpy(F32(double(tm) - delta), alt),
                                        double(cp) * delta));
                CC_FinWallResistance(b, r.FinConductivity, r.CoilDepth, r.SecondaryArea, r.PrimaryArea,
                                     r.TotalTubes);

                Cwet = F32(Div(double(cc.FinWallResWet) + Ri + Rfo, double(cp) * cc.AirJCorr));
                M = F32(Div(double(tdp) - r.LvgFluidTemp + double(he) * slope + double(hdp) * Cwet,
                            double(slope) + Cwet));
                if (M >= he) surface = kWet;
                else if (M > hl) surface = kPartWet;
            }

            float* cap = nullptr;
            if (surface == kWet) {
                cc.CoilDry = kFalse;
                const float tIn = SurfTemp(Cwet, r.LvgFluidTemp, he);
                const float tOut = SurfTemp(Cwet, r.EntFluidTemp, hl);
                const float hsIn = SatEnthalpy(tIn, alt);
                const float hsOut = SatEnthalpy(tOut, alt);
                if (he > hsIn && hl > hsOut && tdp > r.LvgFluidTemp && tOut > r.EntFluidTemp) {
                    const float dh = F32(LogMean(double(he) - hsIn, double(hl) - hsOut));
                    Qnew = F32(Div(double(cc.TotalArea) * dh, double(cp) * cc.AirJCorr));
                    r.WetFraction = 1.0f;
                    d = 0.5f;
                    cap = &wetCap;
                } else {
                    outcome = kInfeasible;
                    wetCap = Qk;
                }
            } else if (surface == kPartWet) {
                cc.CoilDry = kFalse;
                const float tx = F32(double(r.EatDb) - Div(double(he) - M, cp));
                const float twx = F32(double(r.LvgFluidTemp) - (double(r.EatDb) - tx) * cp * slope);
                const float tOut = SurfTemp(Cwet, r.EntFluidTemp, hl);
                const float hsOut = SatEnthalpy(tOut, alt);
                if (M > hdp && hl >= hsOut && tdp > twx && tOut > r.EntFluidTemp && r.EatDb > r.LvgFluidTemp &&
                    twx < tx) {
                    const float dTwet = F32(LogMean(double(tdp) - twx, double(tOut) - r.EntFluidTemp));
                    const float dTdry = F32(LogMean(double(r.EatDb) - r.LvgFluidTemp, double(tx) - twx));
                    float Qdry = F32((double(r.LvgFluidTemp) - twx) * r.FluidMassFlow * r.FluidSpecHeat);
                    const float Adry =
                        F32(Div((double(cc.AirJ) + Ri + cc.FinWallResDry + Rfo) * Qdry, dTdry));
                    float Qwet = F32((double(twx) - r.EntFluidTemp) * r.FluidMassFlow * r.FluidSpecHeat);
                    const float Awet = F32(Div((double(cc.FinWallResWet) + Ri + Rfo) * Qwet, dTwet));
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
                    Qnew = F32(double(Qwet) + Qdry);
                    d = k > 75 ? 0.15f : k > 50 ? 0.5f : 1.0f;
                    cap = &partCap;
                } else {
                    outcome = kInfeasible;
                    partCap = Qk;
                }
            } else {
                cc.CoilDry = kTrue;
                r.LatDb = F32(double(r.EatDb) - Div(Qk, double(cp) * cc.AirMassFlow));
                if (r.EatDb > r.LvgFluidTemp && r.LatDb > r.EntFluidTemp) {
                    const float dT =
                        F32(LogMean(double(r.EatDb) - r.LvgFluidTemp, double(r.LatDb) - r.EntFluidTemp));
                    Qnew = F32(Div(double(cc.TotalArea) * dT, double(cc.AirJ) + Ri + cc.FinWallResDry + Rfo));
                    r.WetFraction = 0;
                    d = k > 75 ? 0.15f : k > 50 ? 0.5f : 1.0f;
                    if (!hsAboveDewPoint.known) hsAboveDewPoint = {true, SatEnthalpy(F32(double(tdp) + 0.005), alt)};
                    const float Qlim = F32((double(he) - hsAboveDewPoint.value) * cc.AirMassFlow);
                    if (Qlim < Qnew) Qnew = Qlim;
                    if (dryCap > 0 && dryCap < Qnew) Qnew = dryCap;
                } else {
                    outcome = kInfeasible;
                    dryCap = Qk;
                }
            }

            if (outcome == kNormal) {
                if (cap != nullptr) {
                    // Wet branches: limit to the air leaving saturated at the
                    // entering fluid temperature, then to the branch's cap.
                    if (!hsFluid.known) {
                        Wf = ccLookups.WbToGr(r.EntFluidTemp, r.EntFluidTemp, alt);
                        hsFluid = {true, SatEnthalpy(r.EntFluidTemp, alt)};
                    }
                    const float Qmax = F32((double(he) - hsFluid.value -
                                            (double(We) - Wf) * r.FluidSpecHeat * (double(r.EntFluidTemp) - 32.0) /
                                                7000.0) *
                                           cc.AirMassFlow);
                    if (Qmax < Qnew) Qnew = Qmax;
                    if (*cap > 0 && *cap < Qnew) Qnew = *cap;

                    // Leaving dry bulb from the bypass factor and apparatus dew point.
                    const float BF = F32(Div(1.0, rt::Exp(Div(cc.TotalArea,
                                                              double(cp) * cc.AirJ * cc.AirMassFlow))));
                    const float hadp = F32(double(he) - Div(double(he) - hl, 1.0 - BF));
                    const float tadp = SatTemp(hadp, r.EatDb, r.EatWb);
                    r.LatDb = F32(double(tadp) + (double(r.EatDb) - tadp) * BF);
                }

                // Humidity update.
                RaiseLeavingDryBulbToWetBulb(r);
                Wl = LeavingHumidity(r, Wl);
                if (cc.CoilDry != kFalse) Wl = We;
                else if (Wl > We) Wl = We;
                r.TotalBtuh = Qnew;
            }
        }

        // Update of the trial list.
        if (outcome == kNormal && std::fabs(double(Qnew) - guess[k]) <= 250.0) break;
        if (k == 100) {
            r.TotalBtuh = F32((double(guess[99]) + guess[100]) / 2.0);
            cc.TrialLimitReached = kTrue;
            break;
        }
        ++k;
        if (outcome == kOvershoot) {
            guess[k] = F32(guess[k - 1] / 2.0);
        } else if (outcome == kInfeasible) {
            guess[k] = F32(0.8 * guess[k - 1]);
            if (guess[k] < lowerBound) guess[k] = F32(double(lowerBound) + 50.0);
            if (upperBound > 0 && guess[k] > upperBound) guess[k] = F32(guess[k] * 0.9);
        } else {
            guess[k] = F32(guess[k - 1] + double(d) * (double(Qnew) - guess[k - 1]) / 2.0);
            if (Qnew > guess[k - 1]) lowerBound = guess[k - 1];
            else upperBound = guess[k - 1];
        }
    }

    // Finishing: a wet result first, which may turn out dry.
    if (cc.CoilDry == kFalse) {
        r.TotalBtuh = F32(double(r.CapacityFactor) * r.TotalBtuh);
        r.LvgFluidTemp = F32(Div(r.TotalBtuh, double(r.FluidMassFlow) * r.FluidSpecHeat) + r.EntFluidTemp);
        for (int pass = 0; pass < 2; ++pass) {
            const float rhoL = ccLookups.Density(r.LatDb, Wl, alt);
            cc.AirMassFlow = F32(double(r.Acfm) * (double(rhoL) + rhoE) / 2.0 * 60.0);
            cp = MeanCp(Wl, We);
            const float hc = F32((double(We) - Wl) * r.FluidSpecHeat * (double(r.LatWb) - 32.0) / 7000.0);
            const float hl = F32(double(he) - Div(r.TotalBtuh, cc.AirMassFlow) - hc);
            r.LatWb = SatTemp(hl, r.EatDb, r.EatWb);
            if (r.LatWb > tdp) r.LatWb = tdp;
            const float BF =
                F32(Div(1.0, rt::Exp(Div(cc.TotalArea, double(cc.AirJ) * cc.AirMassFlow * cp))));
            const float hadp = F32(double(he) - Div(double(he) - hl, 1.0 - BF));
            const float tadp = SatTemp(hadp, r.EatDb, r.EatWb);
            r.LatDb = F32(double(tadp) + (double(r.EatDb) - tadp) * BF);
            RaiseLeavingDryBulbToWetBulb(r);
            Wl = LeavingHumidity(r, Wl);
        }
        cp = MeanCp(Wl, We);
        r.SensibleBtuh = F32(double(cp) * cc.AirMassFlow * (double(r.EatDb) - r.LatDb));
        if (F32(Div(r.SensibleBtuh, r.TotalBtuh)) >= 1.0f) cc.CoilDry = kTrue;
    }

    if (cc.CoilDry != kFalse) {
        r.TotalBtuh = F32(double(r.CapacityFactor) * r.TotalBtuh);
        for (int pass = 0; pass < 2; ++pass) {
            const float rhoL = ccLookups.Density(r.LatDb, Wl, alt);
            const float rhoAvg = F32((double(rhoL) + rhoE) / 2.0);
            cc.AirMassFlow = F32(double(r.Acfm) * rhoAvg * 60.0);
            cp = MeanCp(Wl, We);
            const float hl = F32(double(he) - Div(r.TotalBtuh, cc.AirMassFlow));
            r.LatWb = SatTemp(hl, r.EatDb, cc.EatWbCalc);
            r.LatDb = F32(double(r.EatDb) - Div(r.TotalBtuh, double(rhoAvg) * 60.0 * cp * r.Acfm));
            Wl = We;
        }
        r.SensibleBtuh = r.TotalBtuh;
        r.LvgFluidTemp = F32(Div(r.TotalBtuh, double(r.FluidMassFlow) * r.FluidSpecHeat) + r.EntFluidTemp);
    }

    // Guards on the leaving dry bulb.
    if (r.LatDb < r.LatWb) r.LatDb = F32(double(r.LatWb) + 0.001);
    if (r.LatDb < r.EntFluidTemp) r.LatDb = F32(double(r.EntFluidTemp) + 0.01);
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
