// Air-side pressure drop across the fin pack (in. w.g.) and tube-side
// pressure drop (ft of water for liquid coils, psi for refrigerant coils).
#include <cmath>
#include <string>

#include "engine/internal/coilcalc_internal.h"
#include "engine/internal/constants.h"
#include "engine/internal/refrigerants.h"
#include "engine/msgbox.h"
#include "engine/rterror.h"

using rt::Chk;
using rt::Div;
using rt::F32;
using rt::Pow;

namespace {

char FinLetter() {
    const std::string& t = cc.Coil.FinTreat;
    return t.empty() ? '\0' : t[0];
}

// Dry drop, in. w.g., with v the face velocity in hundreds of ft/min
// (empirical fit): a v^e x rows factor, where the rows factor is either
// R, or 1 + (R - 2) k for continuous ("C") fins.
struct AirDropRow {
    double a;
    double e;
    double k;  // 0: the rows factor is R itself
};

bool AirDropCoef(const std::string& pattern, char fin, AirDropRow& row) {
    struct Entry {
        const char* pattern;
        char fin;
        AirDropRow row;
    };
    static constexpr Entry kRows[] = {
        {"6", 'C', {0.0067, 1.772, 0.385}}, {"6", 'L', {0.0057, 1.588, 0}},
        {"6", 'S', {0.0052, 1.658, 0}},     {"6", 'R', {0.0082, 1.575, 0}},
        {"3", 'C', {0.0078, 1.772, 0.385}}, {"3", 'L', {0.0066, 1.588, 0}},
        {"3", 'S', {0.006, 1.658, 0}},      {"3", 'R', {0.0092, 1.575, 0}},
        {"P", 'C', {0.0094, 1.772, 0.475}}, {"P", 'L', {0.008, 1.588, 0}},
        {"P", 'S', {0.0073, 1.658, 0}},     {"P", 'R', {0.01095, 1.575, 0}},
        {"5", 'C', {0.0105, 1.772, 0.475}}, {"5", 'L', {0.009, 1.588, 0}},
        {"5", 'S', {0.0081, 1.658, 0}},     {"5", 'R', {0.01195, 1.575, 0}},
    };
    for (const Entry& e : kRows) {
        if (pattern == e.pattern && fin == e.fin) {
            row = e.row;
            return true;
        }
    }
    return false;
}

// Contraction loss coefficient (dimensionless) for an area ratio s; 0 when
// there is no change. Empirical polynomial fit, s from 0 to 1.
float ContractionK(double s) {
    if (s == 1) return 0;
    const double s2 = s * s, s3 = s2 * s, s4 = s3 * s, s5 = s4 * s, s6 = s5 * s, s7 = s6 * s;
    return F32(0.58058898 - 0.30097237 * s - 0.89506911 * s2 + 3.3513343 * s3 - 4.8110844 * s4 -
               4.3805024 * s5 + 12.184666 * s6 - 5.7298579 * s7);
}

// Return-bend allowance, in. of straight tube per bend, by tube pattern.
float ReturnBendAllowance(const std::string& pattern) {
    if (pattern == "6" || pattern == "3") return 12.0f;
    if (pattern == "P") return 9.0f;
    if (pattern == "5") return 30.0f;
    if (pattern == "1") return 20.0f;
    return 0.0f;
}

// Suction temperature factor of the wet refrigerant drop (dimensionless), t in
// F: table, -30 F and below to 50 F and above.
float SuctionTempFactor(float t) {
    if (t >= 50) return 0.75f;
    if (t >= 45) return 0.89f;
    if (t >= 40) return 1.0f;
    if (t >= 35) return 1.12f;
    if (t >= 30) return 1.25f;
    if (t >= 25) return 1.37f;
    if (t >= 20) return 1.51f;
    if (t >= 10) return 1.81f;
    if (t >= 0) return 2.18f;
    if (t >= -10) return 2.66f;
    if (t >= -20) return 3.29f;
    if (t >= -30) return 4.08f;
    return 5.16f;
}

// Correction of the liquid drop of the P and 5 patterns, by the tube
// velocity (ft/s) and the coil's size: empirical fit, capped per pattern.
float PatternFactor(double tubeV) {
    const CoilSpec& s = cc.Coil;
    const int16_t circuits100 = rt::I16(static_cast<double>(s.Circuits) * 100);
    const float z = F32(Div(tubeV * tubeV * s.TH * s.RD * s.FL, circuits100));
    const bool dry = cc.UseDryCalc != 0;
    double f, limit;
    if (s.Pattern == "P") {
        if (dry) {
            f = 8.2 * Pow(z, -0.04) - 5.3;
            limit = 2.35;
        } else {
            f = 6.8 * Pow(z, -0.6) + 1;
            limit = 2.9;
        }
    } else {
        if (dry) {
            f = 3.5 * Pow(z, -0.8) + 1.3;
            limit = 2.65;
        } else {
            f = 4 * Pow(z, -0.9) + 1.04;
            limit = 2.65;
        }
    }
    return F32(f > limit ? limit : f);
}

// Liquid drop: tubes, headers and entry losses, with the pattern correction.
// `result` holds the value reached so far if a run-time error interrupts.
void LiquidDrop(float circuitLength, float headerLength, float& result) {
    const CoilSpec& s = cc.Coil;
    CoilRating& r = cc.Rating;
    const double headerDia = s.HeaderDia;
    const double tubeId = cc.TubeId;

    const float sigmaC = F32(Chk(std::pow(Div(s.ConnDia, headerDia), 2)));
    const float sigmaT = F32(Chk(std::pow(Div(tubeId, headerDia), 2)));
    const double density = r.FluidDensity;
    const double connV = r.ConnVelocity, tubeV = r.TubeVelocity;
    const float entryConn =
        F32(connV * connV * (1 - static_cast<double>(sigmaC) * sigmaC + ContractionK(sigmaC)) * density / 2 *
            0.000498139);
    const float entryTube =
        F32(tubeV * tubeV * (1 - static_cast<double>(sigmaT) * sigmaT + ContractionK(sigmaT)) * density / 2 *
            0.000498139);

    // Friction, ft of water per ft: empirical power-law fit in V (ft/s) and d (in.).
    const float hh = F32(Div(0.005805 * Pow(r.HeaderVelocity, 1.772), Pow(headerDia, 1.228)));
    const float ht = F32(Div(0.005805 * Pow(tubeV, 1.772), Pow(tubeId, 1.228)));

    float tubeLoss, headerLoss;
    if (cc.Type == CoilType::Water) {
        if (r.LvgFluidTemp == 0) r.LvgFluidTemp = r.EntFluidTemp;
        const double t = r.EntFluidTemp;
        const float ft = F32(2.2031 * Pow(0.9989, t) * Pow(t, -0.1477));
        tubeLoss = F32(static_cast<double>(ht) * circuitLength * ft);
        headerLoss = F32(static_cast<double>(headerLength) * 0.7215 * hh * ft);
    } else {
        const float rhoR = F32(density / 62.02);
        const float muR = F32(r.FluidViscosity / 1.67);
        tubeLoss = F32(Pow(rhoR, 0.772) * ht * circuitLength * Pow(muR, 0.228));
        headerLoss = F32(Pow(rhoR, 0.772) * headerLength * hh * Pow(muR, 0.228));
    }
    const float sum = F32(static_cast<double>(tubeLoss) + headerLoss + entryConn + entryTube);
    result = sum;

    if (s.Pattern == "P" || s.Pattern == "5") result = F32(static_cast<double>(sum) * PatternFactor(tubeV));
}

// Refrigerant drop in the tubes alone.
void RefrigerantDrop(float circuitLength, float& result) {
    const CoilSpec& s = cc.Coil;
    const CoilRating& r = cc.Rating;
    const double q = r.TotalBtuh;
    // Refrigerant friction gradient, psi per ft: empirical power-law fit in the
    // capacity per circuit (thousands of Btu/h) and the tube bore (in.).
    const float gradient = F32(Div(0.000042025, Pow(cc.TubeId, 4.772)) *
                               Pow(Div(q, static_cast<double>(s.Circuits) * 1000), 1.772));
    const Refrigerant* known = FindRefrigerant(r.Refrigerant);
    if (cc.UseDryCalc != 0) {
        const double factor = known ? known->dropDry : 0.0;
        double drop = static_cast<double>(gradient) * circuitLength * factor;
        if (s.Rifled == "Y") drop *= 2.25;
        result = F32(drop);
    } else {
        const double factor = known ? known->dropWet : 0.0;
        double drop =
            static_cast<double>(gradient) * circuitLength * factor * SuctionTempFactor(r.EntFluidTemp);
        if (s.Rifled == "Y") drop *= 1.1;
        result = F32(drop);
    }
}

}  // namespace

bool CC_AirDropRowsSlope(const std::string& pattern, char finLetter, double& k) {
    if (pattern == "1") {
        k = -1;
        return true;
    }
    AirDropRow row;
    if (!AirDropCoef(pattern, finLetter, row)) return false;
    k = row.k;
    return true;
}

CC_WetDropTerms CC_WetAirDropTerms(double fpi, double x) {
    return {1.206838, Pow(fpi, -0.2479246), Pow(x, 0.03835885 * Pow(fpi, 0.8502904))};
}

double CC_AirDropTempFactor(double t) {
    return 0.0018988198 * t + 0.86695469;
}

float CC_AirPressureDrop() {
    const CoilSpec& s = cc.Coil;
    const CoilRating& r = cc.Rating;
    const float v = F32(r.FaceVelocity / 100.0);
    const float fb = F32(1 + (s.FPI - 12) * 0.0625);
    const double rows = s.RD;

    double dp = 0;
    AirDropRow row;
    if (s.Pattern == "1") {
        dp = fb * 0.0118 * Pow(v, 1.6732);
    } else if (AirDropCoef(s.Pattern, FinLetter(), row)) {
        const double rowsFactor = row.k != 0 ? 1 + (rows - 2) * row.k : rows;
        dp = fb * row.a * Pow(v, row.e) * rowsFactor;
    }
    dp = F32(dp);

    // Wet surface: condensate on the fins raises the drop. Empirical fit,
    // dimensionless multiplier, in the fins per inch (1 to 16) and x, F, the
    // entering wet bulb less half the wet-bulb depression less the entering
    // fluid; applied from x = 3 F up.
    if (cc.CoilDry == 0) {
        const float x = F32(r.EatWb - (static_cast<double>(r.EatDb) - r.EatWb) / 2 - r.EntFluidTemp);
        if (x >= 3) {
            const CC_WetDropTerms m = CC_WetAirDropTerms(s.FPI, x);
            dp = F32(dp * m.a * m.b * m.c);
        }
    }

    // Air density and fin thickness: empirical fit, dimensionless, linear in
    // the mean air temperature t, F, and the fin thickness, in. (0.0045 to
    // 0.010 in the catalogue).
    const float t = F32((static_cast<double>(r.LatDb) + r.EatDb) / 2);
    return F32(dp * CC_AirDropTempFactor(t) * (46.038462 * s.FinThk + 0.72341538));
}

float CC_TubePressureDrop() {
    float result = 0;
    try {
        const CoilSpec& s = cc.Coil;
        const float allowance = ReturnBendAllowance(s.Pattern);
        const int16_t totalTubes = rt::I16(static_cast<double>(s.RD) * s.TH);
        const float perCircuit = F32(Div(totalTubes, s.Circuits));
        const float length =
            F32(((static_cast<double>(perCircuit) - 1) * allowance + static_cast<double>(perCircuit) * s.FL) *
                kc::kFtPerIn);
        const float headerLength = F32(static_cast<double>(s.HeaderLength) * kc::kFtPerIn);

        if (IsRefrigerantCoil(cc.Type))
            RefrigerantDrop(length, result);
        else if (IsLiquidCoil(cc.Type))
            LiquidDrop(length, headerLength, result);
    } catch (const rt::RtError& e) {
        ShowMessage(std::to_string(e.number()) + "  " + e.description());
    }
    return result;
}
