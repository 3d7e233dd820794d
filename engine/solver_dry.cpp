// Dry heating solver (hot water, glycol and other-fluid coils whose fluid is
// warmer than the entering air).
//
// Effectiveness-NTU rating with the flow arrangement chosen by the number of
// rows, iterated on the leaving fluid temperature, which sets the mean fluid
// temperature for the tube-side film coefficient.
#include <cmath>
#include <string>

#include "engine/internal/coilcalc_internal.h"
#include "engine/hygrel_binding.h"
#include "engine/msgbox.h"
#include "engine/rterror.h"

namespace {

using rt::Div;
using rt::Exp;
using rt::F32;

// Heat-exchanger effectiveness for `rows` rows, capacity-rate ratio cr: the
// effectiveness-NTU relations of Kays and London, Compact Heat Exchangers.
float Effectiveness(int16_t rows, float cr, float ntu) {
    if (rows == 1 && cr > 0) {
        return F32(Div(1.0 - Exp(-static_cast<double>(cr) * (1.0 - Exp(-static_cast<double>(ntu)))), cr));
    }
    if ((rows == 1 || rows == 2) && cr == 0) {
        return F32(1.0 - Exp(-static_cast<double>(ntu)));
    }
    if (rows == 2 && cr > 0) {
        const double eHalf = Exp(-static_cast<double>(ntu) / 2.0);
        const float K = F32(static_cast<double>(cr) * (1.0 - eHalf));
        const double ep = Exp(K);
        const double em = Exp(-static_cast<double>(K));
        const double sinhK = (ep - em) / 2.0;
        const double coshK = (ep + em) / 2.0;
        return F32(Div(1.0 - Div(em, eHalf * sinhK + coshK), cr));
    }
    if (rows > 2 && cr == 1.0f) {
        return F32(Div(ntu, static_cast<double>(ntu) + 1.0));
    }
    // Counterflow.
    const double e = Exp(-(1.0 - cr) * static_cast<double>(ntu));
    return F32(Div(1.0 - e, 1.0 - static_cast<double>(cr) * e));
}

// Returns false when the iteration did not converge.
bool RateHeatingCoil() {
    CoilRating& r = cc.Rating;
    const CoilSpec& s = cc.Coil;
    const int16_t alt = r.Altitude;

    const float We = hg::HGWBTOGR(r.EatDb, cc.EatWbCalc, alt);
    const float rhoE = CC_AirDensity(r.EatDb, We, alt);

    r.LatDb = F32(static_cast<double>(r.EatDb) + 10.0);
    float tl = r.EntFluidTemp;
    int16_t count = 0;

    for (;;) {
        const float ta = F32(static_cast<double>(r.LatDb) * 0.5 + static_cast<double>(r.EatDb) * 0.5);
        const float rhoM = CC_AirDensity(ta, We, alt);

        ++count;
        if (count > 100) return false;

        cc.MeanFluidTemp = F32(static_cast<double>(r.EntFluidTemp) * 0.5 + static_cast<double>(tl) * 0.5);
        const float hi = CC_TubeFilmCoef();
        const float R = F32(static_cast<double>(cc.FinWallResDry) + cc.AirJ + Div(cc.AreaRatio, hi) +
                            static_cast<double>(s.FoulingFactor) * cc.AreaRatio);
        const float Cr = F32(Div(static_cast<double>(rhoE) * 60.0 * cc.AirCp * r.Acfm,
                                 static_cast<double>(r.FluidSpecHeat) * r.FluidMassFlow));
        const float ntu = F32(Div(cc.TotalArea, static_cast<double>(rhoE) * 60.0 * cc.AirCp * r.Acfm * R));
        const float eff = Effectiveness(s.RD, Cr, ntu);

        r.SensibleBtuh = F32(static_cast<double>(rhoM) * 60.0 * cc.AirCp * eff * r.Acfm *
                             (static_cast<double>(r.EntFluidTemp) - r.EatDb));
        r.SensibleBtuh = F32(static_cast<double>(r.CapacityFactor) * r.SensibleBtuh);
        r.LatDb = F32(Div(r.SensibleBtuh, static_cast<double>(rhoM) * 60.0 * cc.AirCp * r.Acfm) + r.EatDb);
        r.LvgFluidTemp = F32(static_cast<double>(r.EntFluidTemp) -
                             Div(r.SensibleBtuh, static_cast<double>(r.FluidSpecHeat) * r.FluidMassFlow));
        r.TotalBtuh = r.SensibleBtuh;

        if (F32(std::fabs(static_cast<double>(r.LvgFluidTemp) - tl)) < 0.01) return true;
        if (tl > r.LvgFluidTemp)
            tl = F32(tl - (static_cast<double>(tl) - r.LvgFluidTemp) / 2.0);
        else
            tl = F32(tl + (static_cast<double>(r.LvgFluidTemp) - tl) / 2.0);
    }
}

}  // namespace

void CC_DoDryCoilCalc() {
    try {
        if (!RateHeatingCoil()) ShowMessage("Error in Coil Calculations. Contact Factory.");
    } catch (const rt::RtError& e) {
        ShowMessage(std::to_string(e.number()) + "  " + e.description());
    }
}
