// Tube-side film coefficient, Btu/h.ft2.F, by coil type.
#include <cmath>
#include <string>

#include "engine/internal/coilcalc_internal.h"
#include "engine/internal/constants.h"
#include "engine/internal/refrigerants.h"
#include "engine/rterror.h"

using rt::Div;
using rt::F32;
using rt::Pow;

namespace {

// One row of the laminar or transitional table: from `lower` to below
// `lower + width`, two power laws in Re blended linearly in L/D.
struct FilmRow {
    float lower;
    float width;
    float a1, b1, a2, b2;
};

// Transitional flow, Re 2000 up: empirical fit, valid L/D 24 to 600 (y dimensionless).
constexpr FilmRow kTransitional[] = {
    {24, 12, 0.004138f, 0.996862f, 0.00249006f, 1.04929f},
    {36, 12, 0.00249006f, 1.04929f, 0.00131176f, 1.11804f},
    {48, 24, 0.00131176f, 1.1188f, 0.000803918f, 1.16949f},
    {72, 48, 0.000803918f, 1.16949f, 0.000376064f, 1.25282f},
    {120, 60, 0.000376064f, 1.25282f, 0.000234297f, 1.30288f},
    {180, 60, 0.000234297f, 1.30288f, 0.000118893f, 1.37869f},
    {240, 120, 0.000118893f, 1.37869f, 7.19474e-05f, 1.43242f},
    {360, 240, 7.19474e-05f, 1.43242f, 3.49658e-05f, 1.51202f},
};
constexpr float kTransitionalEndA = 3.49658e-05f, kTransitionalEndB = 1.51202f;

// Laminar flow, Re to 2000: empirical fit, valid L/D 24 to 600 (y dimensionless).
constexpr FilmRow kLaminar[] = {
    {24, 12, 0.658313f, 0.328499f, 0.636697f, 0.313574f},
    {36, 12, 0.636697f, 0.313574f, 0.513892f, 0.330641f},
    {48, 24, 0.513892f, 0.330641f, 0.389075f, 0.350827f},
    {72, 48, 0.389075f, 0.350827f, 0.349443f, 0.346033f},
    {120, 60, 0.349443f, 0.346033f, 0.279505f, 0.357369f},
    {180, 60, 0.279505f, 0.357369f, 0.304072f, 0.32718f},
    {240, 120, 0.304072f, 0.32718f, 0.250828f, 0.338748f},
    {360, 240, 0.250828f, 0.338748f, 0.228464f, 0.331984f},
};
constexpr float kLaminarEndA = 0.228464f, kLaminarEndB = 0.331984f;

// y of the table: the row that holds L/D, or the end power law outside 24..600.
// y1, y2, the fraction f and y are each held as 32-bit values.
template <size_t N>
float TableY(const FilmRow (&rows)[N], float endA, float endB, double ld, double re) {
    for (const FilmRow& row : rows) {
        if (ld >= row.lower && ld < static_cast<double>(row.lower) + row.width) {
            const float y1 = F32(row.a1 * Pow(re, row.b1));
            const float y2 = F32(row.a2 * Pow(re, row.b2));
            const float f = F32((ld - row.lower) / row.width);
            return F32(y1 + (static_cast<double>(y2) - y1) * f);
        }
    }
    return F32(endA * Pow(re, endB));
}

// Glycol and other liquids: turbulent correlation, or the laminar and
// transitional tables by L/D.
float LiquidFilmCoef() {
    const CoilSpec& s = cc.Coil;
    const CoilRating& r = cc.Rating;
    const double id = cc.TubeId;
    const float ld = F32(Div(s.FL, id));
    const float nu = F32(Div(r.FluidViscosity, static_cast<double>(cc.FluidSG) * kc::kWaterFluxPerFtPerSec));
    const float re = F32(Div(static_cast<double>(r.TubeVelocity) * id, 12.0 * nu));
    const float pr = F32(Div(static_cast<double>(r.FluidSpecHeat) * r.FluidViscosity, r.FluidThermCond));
    const float p23 = F32(Pow(pr, 2.0 / 3.0));
    const float kd = F32(Div(r.FluidThermCond, id / 12));

    const bool turbulent = re > 10000 || (re > 2100 && p23 < 10);
    cc.LaminarFilm = turbulent ? kFalse : kTrue;
    // Turbulent: Sieder and Tate (1936) without the wall-viscosity term; h in
    // Btu/h.ft2.F from k/D in Btu/h.ft2.F.
    if (turbulent) return F32(0.027 * Pow(re, 0.8) * Pow(pr, 0.33) * kd);

    const float y = re > 2000 ? TableY(kTransitional, kTransitionalEndA, kTransitionalEndB, ld, re)
                              : TableY(kLaminar, kLaminarEndA, kLaminarEndB, ld, re);
    return F32(Pow(pr, 0.33) * kd * y);
}

// Evaporators and condensers: linear in the refrigerant mass flux.
float RefrigerantFilmCoef() {
    const CoilSpec& s = cc.Coil;
    const CoilRating& r = cc.Rating;
    const double x = r.FluidMassFlux / 1000.0;
    const bool rifled = s.Rifled == "Y";
    const Refrigerant* fit = FindRefrigerant(r.Refrigerant);
    if (!fit) return 0.0f;
    const float* ab;
    if (cc.UseDryCalc == kTrue)
        ab = rifled ? fit->filmDryRifled : fit->filmDryPlain;
    else
        ab = rifled ? fit->filmWetRifled : fit->filmWetPlain;
    return F32(ab[0] * x + ab[1]);
}

}  // namespace

float CC_TubeFilmCoef() {
    // Condensing steam: a fixed coefficient, Btu/h.ft2.F.
    if (cc.Type == CoilType::Steam) return 1300.0f;
    if (cc.Type == CoilType::Water) {
        // Water in tubes: McAdams, Heat Transmission, h = 150 (1 + 0.011 t) V^0.8 / d^0.2
        // with t in F, V in ft/s and d in in.; h in Btu/h.ft2.F.
        const CoilRating& r = cc.Rating;
        return F32(Div(150 * (1 + 0.011 * cc.MeanFluidTemp) * Pow(r.TubeVelocity, 0.8), Pow(cc.TubeId, 0.2)));
    }
    if (cc.Type == CoilType::Glycol || cc.Type == CoilType::OtherFluid) return LiquidFilmCoef();
    return RefrigerantFilmCoef();
}
