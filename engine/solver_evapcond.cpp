// Refrigerant and steam solver: steam coils, direct-expansion evaporators and
// refrigerant condensers.
//
// The tube side is taken at one temperature, EntFluidTemp (the saturation
// temperature), and the effectiveness is 1 - exp(-NTU). An evaporator or
// condenser colder than the air is rated wet by CC_DoEvapWetCalc; a warmer
// one is rated dry with an iteration on the capacity (the refrigerant flow,
// and with it the tube-side coefficient, follows from the capacity); a steam
// coil is rated dry in ten passes that refine the mean air temperature.
//
// Run-time errors are not handled here: they pass to the engine's caller.
#include <cmath>
#include <string>

#include "engine/internal/coilcalc_internal.h"
#include "engine/internal/constants.h"
#include "engine/hygrel_binding.h"
#include "engine/rterror.h"

namespace {

using rt::Div;
using rt::F32;

float SatTemp(float h, float dryBulb, float wetBulb) {
    int16_t done = kFalse;
    return CC_SatTempFromEnthalpy(h, dryBulb, wetBulb, done);
}

// One pass of the dry air side at the current leaving dry bulb: sets
// AirMassFlow, returns the sensible capacity Q_s and the effectiveness.
struct DryPass {
    float Qs;
    float eff;
};

DryPass DryAirSide(float We) {
    CoilRating& r = cc.Rating;
    const float ta = F32((static_cast<double>(r.LatDb) + r.EatDb) / 2.0);
    const float rho = CC_AirDensity(ta, We, r.Altitude);
    const float hi = CC_TubeFilmCoef();
    const float R = F32(Div(cc.AreaRatio, hi) + (static_cast<double>(cc.FinWallResDry) + cc.AirJ));
    const float ntu = F32(Div(cc.Coil.RD * Div(cc.AreaPerFaceRow, R),
                              static_cast<double>(r.FaceVelocity) * 60.0 * rho * cc.AirCp));
    const float E = F32(rt::Exp(ntu));
    const float eff = F32(Div(static_cast<double>(E) - 1.0, E));
    cc.AirMassFlow = F32(static_cast<double>(rho) * 60.0 * r.Acfm);
    const float Qs = F32(static_cast<double>(cc.AirMassFlow) * cc.AirCp * eff *
                         (static_cast<double>(r.EntFluidTemp) - r.EatDb));
    return {Qs, eff};
}

void RateSteamCoil(float We) {
    CoilRating& r = cc.Rating;
    r.LatDb = r.EatDb;
    for (int pass = 1; pass <= 10; ++pass) {
        r.SensibleBtuh = DryAirSide(We).Qs;
        r.LatDb = F32(Div(static_cast<double>(r.SensibleBtuh) * kc::kKwPerBtuh * kc::kBtuhPerKw,
                          static_cast<double>(r.Acfm) * kc::kStdAirSensibleFactor) +
                      r.EatDb);
    }
    r.TotalBtuh = F32(static_cast<double>(r.SensibleBtuh) * (cc.Coil.Pattern == "5" ? 0.85 : 0.95));
    r.SensibleBtuh = r.TotalBtuh;
    r.LatDb = F32(Div(static_cast<double>(r.TotalBtuh) * kc::kKwPerBtuh * kc::kBtuhPerKw,
                      static_cast<double>(r.Acfm) * kc::kStdAirSensibleFactor) +
                  r.EatDb);
    r.Condensate = F32(Div(r.TotalBtuh, r.LatentHeat));
}

void RateDryRefrigerantCoil(float We) {
    CoilRating& r = cc.Rating;
    float* guess = cc.GuessList;
    // Latent heat of the refrigerant, Btu/lb, at its temperature in F: empirical fit.
    const float hfg = F32(94.885065 - static_cast<double>(r.EntFluidTemp) * 0.20420779);
    const double factor = CC_RefrigerantFlowFactor(r.Refrigerant);
    r.LatDb = r.EatDb;
    guess[0] = kc::kFirstCapacityGuess;
    for (int16_t k = 0;; ++k) {
        const float Qk = guess[k];
        r.TotalBtuh = Qk;
        if (factor > 0) r.SteamAux = F32(static_cast<double>(Qk) / hfg / 1.38 * factor);
        r.FluidMassFlux = F32(Div(r.SteamAux, cc.TubeFlowArea));

        const DryPass p = DryAirSide(We);
        // The 1.28 allowance may not push the air past the refrigerant
        // temperature: beyond an effectiveness of 1 the capacity is that at 1.
        if (static_cast<double>(p.eff) * 1.28 > 1.0)
            r.SensibleBtuh = F32(Div(p.Qs, p.eff));
        else
            r.SensibleBtuh = F32(static_cast<double>(p.Qs) * 1.28);
        r.TotalBtuh = r.SensibleBtuh;
        r.LatDb =
            F32(Div(r.SensibleBtuh, static_cast<double>(cc.AirCp) * kc::kStdAirLbPerHourPerCfm * r.Acfm) +
                r.EatDb);

        if (std::fabs(static_cast<double>(r.TotalBtuh) - guess[k]) <= 100.0) return;
        if (k == 50) {
            r.TotalBtuh = F32((static_cast<double>(guess[49]) + guess[50]) / 2.0);
            r.SensibleBtuh = r.TotalBtuh;  // a dry coil: sensible equals total
            cc.TrialLimitReached = kTrue;
            return;
        }
        guess[k + 1] = F32(guess[k] + (static_cast<double>(r.TotalBtuh) - guess[k]) / 2.0);
    }
}

// Slope of the saturated-air enthalpy curve at t, Btu/lb.F, t in F: empirical
// fit in three ranges (to 33 F, 33 to 55 F, above 55 F).
float SatEnthalpySlope(float t) {
    const double T = t;
    if (T > 55) return F32(0.0002622 * (T * T) - 0.01997 * T + 0.9789);
    if (T > 33) return F32(Div(1001.8442, T * T) - Div(66.3102, T) + 1.5444);
    const double x = T + 49.8339;
    return F32(Div(1.0, 3.8477 - 0.0002381 * (x * x)));
}

}  // namespace

void CC_DoEvapWetCalc(float EntAirEnthalpy) {
    CoilRating& r = cc.Rating;
    const CoilSpec& s = cc.Coil;
    const int16_t alt = r.Altitude;
    const float he = EntAirEnthalpy;

    // Wet refrigerant capacity factor (dimensionless): empirical fit, one value
    // for every wet evaporator rating.
    r.EvapCondAux = 1.51f;
    const float T = r.EntFluidTemp;
    const float b = SatEnthalpySlope(T);
    const float hi = CC_TubeFilmCoef();
    // Enthalpy-based resistance: the air side and fin wall, h.ft2.F/Btu, times
    // 0.243 Btu/lb.F, the moist-air specific heat of the empirical fit (air of
    // the usual cooling coil, 0.24 dry plus its vapour).
    const float Rh = F32(Div(static_cast<double>(cc.AreaRatio) * b, hi) +
                         (static_cast<double>(cc.FinWallRes) + cc.AirJ) * 0.243);
    const float ntu = F32(Div(s.RD * Div(cc.AreaPerFaceRow, Rh),
                              static_cast<double>(r.FaceVelocity) * kc::kStdAirLbPerHourPerCfm));
    const float E = F32(rt::Exp(ntu));
    const float eff = F32(Div(static_cast<double>(E) - 1.0, E));

    const float hwb = hg::HGENTHALPY(r.EatWb, hg::HGWBTOGR(r.EatWb, r.EatWb, alt));
    const float hr = hg::HGENTHALPY(T, hg::HGWBTOGR(T, T, alt));
    if (static_cast<double>(eff) * r.EvapCondAux > 1.0) {
        // The factored effectiveness would exceed 1: rate at the capacity of
        // air leaving saturated at the refrigerant temperature.
        r.TotalBtuh =
            F32(static_cast<double>(r.Scfm) * kc::kStdAirLbPerHourPerCfm * (static_cast<double>(hwb) - hr));
    } else {
        r.TotalBtuh = F32(static_cast<double>(r.Scfm) * kc::kStdAirLbPerHourPerCfm * eff *
                          (static_cast<double>(hwb) - hr));
        r.TotalBtuh = F32(static_cast<double>(r.TotalBtuh) * r.EvapCondAux);
    }

    r.LatWb = SatTemp(F32(static_cast<double>(he) - Div(r.TotalBtuh, cc.AirMassFlow)), r.EatDb, r.EatWb);
    const float BF = F32(Div(1.0, rt::Exp(Div(static_cast<double>(s.RD) * cc.AreaPerFaceRow,
                                              static_cast<double>(r.FaceVelocity) * cc.AirJ *
                                                  kc::kStdAirLbPerHourPerCfm * cc.AirCp))));
    r.LatDb = F32((static_cast<double>(r.EatDb) - r.EatWb) * BF + r.LatWb);
    r.SensibleBtuh = F32(static_cast<double>(cc.AirCp) * kc::kStdAirLbPerHourPerCfm * r.Scfm *
                         (static_cast<double>(r.EatDb) - r.LatDb));

    if (r.TotalBtuh == 0) r.TotalBtuh = 1.0f;
    if (F32(Div(r.SensibleBtuh, r.TotalBtuh)) > 0.94)
        r.SensibleBtuh = r.TotalBtuh;
    else if (r.SensibleBtuh > r.TotalBtuh)
        r.SensibleBtuh = r.TotalBtuh;
    r.LatWb = SatTemp(F32(static_cast<double>(he) - Div(r.TotalBtuh, cc.AirMassFlow)), r.EatDb, r.EatWb);
}

void CC_DoEvapCondCalc(float& EntAirEnthalpy) {
    CoilRating& r = cc.Rating;
    if (IsRefrigerantCoil(cc.Type) && cc.UseDryCalc == kFalse) {
        CC_DoEvapWetCalc(EntAirEnthalpy);
        return;
    }
    const float We = hg::HGWBTOGR(r.EatDb, cc.EatWbCalc, r.Altitude);
    if (cc.Type == CoilType::Steam)
        RateSteamCoil(We);
    else
        RateDryRefrigerantCoil(We);
}
