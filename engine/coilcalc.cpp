// Engine entry: copies the caller's records in, assigns the coil properties,
// runs the fluid properties and the solver for the coil type, the pressure
// drops, and copies the records back.
#include "engine/internal/coilcalc_internal.h"
#include "engine/internal/constants.h"

#include <algorithm>
#include <iterator>

#include "engine/msgbox.h"
#include "engine/rterror.h"

using rt::F32;

namespace {

using kc::kCuFtPerHourPerGpm;

// Water and glycol routines; an other-fluid coil brings its own properties in
// the record, and only its specific gravity is derived here.
void LiquidProperties() {
    if (cc.Type == CoilType::Glycol) {
        CC_GlycolProperties();
    } else if (cc.Type == CoilType::Water) {
        CC_WaterProperties();
    } else {
        cc.FluidSG = F32(rt::Div(cc.Rating.FluidDensity, kc::kWaterDensityStd));
    }
}

// Fluid mass flow and mass flux; the three velocities only while the tube
// velocity is still 0, so a second pass keeps those of the first.
void FlowFigures() {
    CoilRating& r = cc.Rating;
    r.FluidMassFlow = F32(static_cast<double>(r.Gpm) * kCuFtPerHourPerGpm * r.FluidDensity);
    r.FluidMassFlux = F32(rt::Div(r.FluidMassFlow, cc.TubeFlowArea));
    if (r.TubeVelocity == 0) {
        const double sgFlux = static_cast<double>(cc.FluidSG) * kc::kWaterFluxPerFtPerSec;
        r.TubeVelocity = F32(rt::Div(r.FluidMassFlux, sgFlux));
        r.HeaderVelocity = F32(rt::Div(rt::Div(r.FluidMassFlow, cc.HeaderFlowArea), sgFlux));
        r.ConnVelocity = F32(rt::Div(rt::Div(r.FluidMassFlow, cc.ConnFlowArea), sgFlux));
    }
}

}  // namespace

void CC_Reset() {
    CoilRating& r = cc.Rating;
    r.TubeVelocity = 0;
    r.ConnVelocity = 0;
    r.HeaderVelocity = 0;
    r.FluidMassFlux = 0;
    cc.TubeFlowArea = 0;
    cc.HeaderFlowArea = 0;
    cc.ConnFlowArea = 0;
    cc.TotalArea = 0;
    cc.AirCp = 0;
    cc.FluidSG = 0;
    cc.TubeId = 0;
    cc.TubeOd = 0;
    cc.AirJ = 0;
    cc.AirJCorr = 0;
    cc.AreaRatio = 0;
    cc.AreaPerFaceRow = 0;
    cc.AirMassFlow = 0;
    cc.EatWbCalc = 0;
    // Working values the solvers keep beside them.
    cc.MeanFluidTemp = 0;
    cc.SurfTempNext = 0;
    cc.FinWallRes = 0;
    cc.FinWallResDry = 0;
    cc.FinWallResWet = 0;
    std::fill(std::begin(cc.GuessList), std::end(cc.GuessList), 0.0f);
    ccLookups.Clear();
    cc.TrialLimitReached = kFalse;
    cc.LaminarFilm = kFalse;
}

namespace {

// The solver for the coil's kind, with the fluid properties it needs.
void RunSolver(float& EntAirEnthalpy) {
    CoilRating& r = cc.Rating;
    if (cc.Type == CoilType::Steam) {
        CC_SteamProperties();
        cc.CoilDry = kTrue;
        cc.UseDryCalc = kTrue;
        CC_DoEvapCondCalc(EntAirEnthalpy);
    } else if (IsRefrigerantCoil(cc.Type)) {
        CC_DoEvapCondCalc(EntAirEnthalpy);
    } else if (IsLiquidCoil(cc.Type)) {
        LiquidProperties();
        FlowFigures();
        // Air no warmer than the fluid is heated (equal temperatures rate
        // zero capacity); otherwise the cooling solver decides whether the
        // dry solver has to follow.
        if (r.EatDb <= r.EntFluidTemp) {
            cc.UseDryCalc = kTrue;
            cc.CoilDry = kTrue;
            CC_DoDryCoilCalc();
        } else {
            cc.UseDryCalc = kFalse;
            CC_DoFluidCoilCalc();
            if (cc.UseDryCalc != 0) CC_DoDryCoilCalc();
        }
        // The solver has set the leaving fluid temperature: properties again
        // at the mean fluid temperature.
        LiquidProperties();
        FlowFigures();
    }
}

}  // namespace

bool CC_RateCoil(CoilSpec& coilSpec, CoilRating& rating, RatingOutcome& outcome) {
    // Nothing of an earlier rating survives: the flags, the corrugation
    // factors and the message start as at program start.
    cc = CoilCalcState{};
    cc.Coil = coilSpec;
    cc.Rating = rating;
    CC_Reset();
    outcome = RatingOutcome{};

    float EntAirEnthalpy = 0;
    if (!CC_bAssignCoilProp(EntAirEnthalpy)) {
        outcome.failure = cc.CalcErrorMsg;
        ShowMessage(cc.CalcErrorMsg);
        return false;
    }
    RunSolver(EntAirEnthalpy);

    CoilSpec& s = cc.Coil;
    CoilRating& r = cc.Rating;
    r.AirPD = CC_AirPressureDrop();
    r.FluidPD = CC_TubePressureDrop();

    if ((s.Pattern == "5" || s.Pattern == "P") && cc.Type == CoilType::Water && s.Corrugated == "Y") {
        r.FluidPD = F32(static_cast<double>(r.FluidPD) * cc.FluidPdFactor);
        r.AirPD = F32(static_cast<double>(r.AirPD) * cc.AirPdFactor);
    }

    coilSpec = cc.Coil;
    rating = cc.Rating;
    outcome.trialLimitReached = cc.TrialLimitReached != kFalse;
    outcome.laminarFilm = cc.LaminarFilm != kFalse;
    return true;
}

bool CC_TubeVelocityBeforeSolving(const CoilSpec& coilSpec, const CoilRating& rating, float& velocity) {
    // The start of CC_RateCoil up to the first flow figures, which fix the
    // velocities for good.
    cc = CoilCalcState{};
    cc.Coil = coilSpec;
    cc.Rating = rating;
    CC_Reset();
    try {
        float EntAirEnthalpy = 0;
        if (!CC_bAssignCoilProp(EntAirEnthalpy) || !IsLiquidCoil(cc.Type)) return false;
        LiquidProperties();
        FlowFigures();
    } catch (const rt::RtError&) {
        return false;
    }
    velocity = cc.Rating.TubeVelocity;
    return true;
}

bool CC_RateCoil(CoilSpec& coilSpec, CoilRating& rating) {
    RatingOutcome outcome;
    return CC_RateCoil(coilSpec, rating, outcome);
}
