// Coil property assignment: entering air state, air flow figures, geometry,
// surface and flow areas, pipe sizes, the air-side film resistance and the
// dry fin-and-wall resistance.
#include <cmath>
#include <string>

#include "engine/coilcalc.h"
#include "engine/hygrel_binding.h"
#include "engine/rterror.h"

using rt::Div;
using rt::F32;

namespace {

constexpr double kPi = 3.1415926;

struct PipeRow {
    float maxGpm;
    float connDia;
    float headerDia;
};

// Connection and header pipe sizes by fluid flow: the first row that fits.
constexpr PipeRow kPipeRows[] = {
    {2.5f, 0.625f, 0.875f},  {7.0f, 0.875f, 1.125f},  {14.0f, 1.125f, 1.375f},
    {24.0f, 1.375f, 1.625f}, {40.0f, 1.625f, 2.125f}, {80.0f, 2.125f, 2.625f},
    {150.0f, 2.625f, 3.125f},
};
constexpr PipeRow kPipeLargest = {0.0f, 3.125f, 3.625f};

struct AirSideCoef {
    bool found = false;
    float C = 0;
    float n = 0;
};

AirSideCoef Coef(float C, float n) { return {true, C, n}; }

// Fin-type letter columns C / S / R of the pattern 5 rows.
AirSideCoef ByCSR(char fin, float cC, float cS, float cR, float nC, float nS, float nR) {
    switch (fin) {
    case 'C': return Coef(cC, nC);
    case 'S': return Coef(cS, nS);
    case 'R': return Coef(cR, nR);
    default: return {};
    }
}

// Air-side film resistance coefficients C and n of AirJ = C (V/100)^-n, by
// tube pattern, fin letter, coil type, rows, fins per inch and face velocity.
AirSideCoef AirSideTable(const std::string& pattern, char fin, const std::string& app, int rd,
                         int fpi, float v) {
    if (pattern == "5") {
        if (app == "S" || app == "E" || app == "C") {
            if (rd > 1) return ByCSR(fin, 0.199f, 0.145f, 0.083f, 0.594f, 0.554f, 0.444f);
            if (v > 311) return ByCSR(fin, 0.234f, 0.171f, 0.098f, 0.594f, 0.554f, 0.444f);
            return ByCSR(fin, 0.17f, 0.127f, 0.0769f, 0.329f, 0.3068f, 0.246f);
        }
        if (app == "W" || app == "G" || app == "O") {
            if (fpi <= 8) return ByCSR(fin, 0.1618f, 0.1186f, 0.069f, 0.5596f, 0.5219f, 0.4183f);
            if (fpi <= 10) return ByCSR(fin, 0.165f, 0.1209f, 0.0704f, 0.5596f, 0.5219f, 0.4183f);
            if (fpi <= 12) return ByCSR(fin, 0.169f, 0.1239f, 0.0721f, 0.5596f, 0.5219f, 0.4183f);
            if (fpi <= 14) return ByCSR(fin, 0.173f, 0.1268f, 0.0738f, 0.5596f, 0.5219f, 0.4183f);
            return ByCSR(fin, 0.1765f, 0.1765f, 0.1765f, 0.5596f, 0.5219f, 0.4183f);
        }
        return {};
    }
    if (pattern == "P") {
        if (fin == 'S') {
            if (fpi <= 7) return Coef(0.204f, 0.707f);
            if (fpi <= 14) return Coef(F32(0.252f - 0.006f * static_cast<double>(fpi)), 0.707f);
            return Coef(0.168f, 0.707f);
        }
        if (fin == 'C') {
            if (rd > 1) return Coef(0.088f, 0.444f);
            if (v > 311) return Coef(0.101f, 0.444f);
            return Coef(0.0775f, 0.246f);
        }
        return {};
    }
    if (pattern == "6") {
        if (fin == 'C') return Coef(0.176f, 0.594f);
        if (fin == 'L') return Coef(0.0952f, 0.434f);
        return {};
    }
    if (pattern == "3") {
        switch (fin) {
        case 'C': return Coef(0.219f, 0.594f);
        case 'S': return Coef(0.16f, 0.554f);
        case 'R': return Coef(0.092f, 0.444f);
        case 'L': return Coef(0.096f, 0.434f);
        default: return {};
        }
    }
    if (pattern == "1") return Coef(F32(0.175f - 0.0035f * static_cast<double>(fpi)), 0.687f);
    return {};
}

struct PatternGeometry {
    float tubeOd;
    float rowPitch;
};

PatternGeometry GeometryOf(const std::string& pattern) {
    if (pattern == "6") return {0.331f, 0.625f};
    if (pattern == "3") return {0.395f, 0.866f};
    if (pattern == "P") return {0.52f, 1.0825f};
    if (pattern == "5") return {0.645f, 1.299f};
    if (pattern == "1") return {1.0f, 1.5f};
    return {0.0f, 0.0f};
}

}  // namespace

// Derives everything that does not depend on the solution. Answers false with
// a message in CalcErrorMsg when the entering air is out of range or a
// run-time error occurs.
bool CC_bAssignCoilProp(float& EntAirEnthalpy) {
    const std::string header = "\nProcedure: CC_bAssignCoilProp\n";
    CoilSpec& s = cc.Coil;
    CoilRating& r = cc.Rating;
    try {
        r.CapacityFactor = 1.0f;
        cc.FluidPdFactor = 1.0f;
        cc.AirPdFactor = 1.0f;

        // Corrugated water coils; the flag still holds its starting value here.
        if (s.Application == "W" && s.Corrugated == "Y") {
            const bool dry = cc.UseDryCalc != 0;
            if (s.Pattern == "5") {
                r.CapacityFactor = dry ? 0.93f : 0.97f;
                cc.FluidPdFactor = 1.25f;
                cc.AirPdFactor = dry ? 1.1f : 1.5f;
            } else if (s.Pattern == "P") {
                r.CapacityFactor = 0.98f;
                cc.FluidPdFactor = 1.05f;
                cc.AirPdFactor = dry ? 1.3f : 1.5f;
            }
        }

        PipeRow pipe = kPipeLargest;
        for (const PipeRow& row : kPipeRows) {
            if (r.Gpm <= row.maxGpm) {
                pipe = row;
                break;
            }
        }
        s.ConnDia = pipe.connDia;
        s.HeaderDia = pipe.headerDia;
        s.HeaderLength = F32(static_cast<double>(s.FinHeight) - 1);

        if (r.EatWb == 0) r.EatWb = F32(static_cast<double>(r.EatDb) - 1);

        const float W = hg::HGWBTOGR(r.EatDb, r.EatWb, r.Altitude);
        if (W == -9999.0f) {
            cc.CalcErrorMsg = "Out of Range Condition or error with HGWBtoGR!" + header;
            return false;
        }
        EntAirEnthalpy = hg::HGENTHALPY(r.EatDb, W);
        cc.AirCp = F32(0.24 + 0.444 * W / 7000);

        const float rho = hg::HGDENSITY(r.EatDb, W, r.Altitude);
        const float rhoStd = hg::HGDENSITY(70, 0, 0);
        // Beyond the library's range (air above 200 F) there is no density:
        // refuse the coil rather than rate it with a negative air mass flow.
        if (rho == -9999.0f || rhoStd == -9999.0f) {
            cc.CalcErrorMsg = "Out of Range Condition or error with HGDENSITY!" + header;
            return false;
        }
        cc.EatWbCalc = r.EatWb;

        s.FaceArea = F32(static_cast<double>(s.FL) * s.FinHeight / 144);
        r.CoilFaceArea = s.FaceArea;

        if (r.Altitude >= 2000)
            r.Scfm = F32(Div(static_cast<double>(r.Acfm) * rho, rhoStd));
        else
            r.Scfm = r.Acfm;
        r.FaceVelocity = F32(Div(r.Acfm, s.FaceArea));
        cc.AirMassFlow = F32(static_cast<double>(r.Acfm) * 60 * rho);

        // Air no warmer than the fluid is heated by it: a dry coil.
        if (r.EatDb <= r.EntFluidTemp) {
            cc.UseDryCalc = kTrue;
            cc.CoilDry = kTrue;
        } else {
            cc.UseDryCalc = kFalse;
        }

        const PatternGeometry geo = GeometryOf(s.Pattern);
        cc.TubeOd = geo.tubeOd;
        r.FinConductivity = s.FinMat == "C" ? 226.0f : 128.3f;

        r.CoilDepth = F32(static_cast<double>(s.RD) * geo.rowPitch);
        cc.TubeId = F32(static_cast<double>(cc.TubeOd) - 2 * static_cast<double>(s.TubeWall));

        const double od = cc.TubeOd;
        const double fl = s.FL;
        const double thk = s.FinThk;
        const float finCount = F32(static_cast<double>(s.FPI) * fl);
        r.TotalTubes = rt::I16(static_cast<double>(s.RD) * s.TH);
        const double tubes = r.TotalTubes;
        const float gap = F32(Div(fl - thk * finCount, finCount));

        const double collar = od + 2 * thk;
        r.SecondaryArea = F32(finCount * (static_cast<double>(r.CoilDepth) * s.FinHeight / 72 -
                                          tubes * (collar * collar) / 91.68));
        r.PrimaryArea =
            F32((tubes * od * fl - (od - 2 * static_cast<double>(gap)) * tubes * finCount * thk) /
                45.84);
        cc.TotalArea = F32(static_cast<double>(r.PrimaryArea) + r.SecondaryArea);
        cc.AreaRatio = F32(Div(cc.TotalArea, tubes * cc.TubeId * fl / 45.84));

        const double id = cc.TubeId;
        cc.TubeFlowArea = F32(id * id * 0.00545 * s.Circuits);
        cc.HeaderFlowArea = F32(static_cast<double>(s.HeaderDia) * s.HeaderDia * 0.00545);
        cc.ConnFlowArea = F32(static_cast<double>(s.ConnDia) * s.ConnDia * 0.00545);

        const double finHeight = s.FinHeight;
        cc.AreaPerFaceRow = F32(
            2.0 * s.FPI *
                (Div(r.CoilDepth, s.RD) - Div(kPi * (od * od), Div(4 * finHeight, s.TH))) +
            Div(Div(kPi * od, finHeight), s.TH));

        const float v = r.FaceVelocity;
        const char fin = s.FinTreat.empty() ? '\0' : s.FinTreat[0];
        const AirSideCoef coef = AirSideTable(s.Pattern, fin, s.Application, s.RD, s.FPI, v);
        if (coef.found)
            cc.AirJ = F32(static_cast<double>(coef.C) * rt::Pow(v / 100.0, -static_cast<double>(coef.n)));

        cc.AirJCorr = F32(static_cast<double>(cc.AirJ) *
                          (0.1475118 * rt::Exp(-v / 551.04242) + 0.8811386));

        CC_FinWallResistance(0, r.FinConductivity, r.CoilDepth, r.SecondaryArea, r.PrimaryArea,
                             r.TotalTubes);
        return true;
    } catch (const rt::RtError& e) {
        cc.CalcErrorMsg = "Error: " + std::to_string(e.number()) + " " + e.description();
        return false;
    }
}
