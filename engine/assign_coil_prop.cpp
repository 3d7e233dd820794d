// Coil property assignment: entering air state, air flow figures, geometry,
// surface and flow areas, pipe sizes, the air-side film resistance and the
// dry fin-and-wall resistance.
#include <cmath>
#include <string>

#include "engine/internal/coilcalc_internal.h"
#include "engine/internal/constants.h"
#include "engine/hygrel_binding.h"
#include "engine/rterror.h"

using rt::Div;
using rt::F32;

namespace {

struct PipeRow {
    float maxGpm;
    float connDia;
    float headerDia;
};

// Connection and header pipe sizes, in. OD, by fluid flow, US gal/min: the
// first row that fits (the coil line's sizing table).
constexpr PipeRow kPipeRows[] = {
    {2.5f, 0.625f, 0.875f},  {7.0f, 0.875f, 1.125f},  {14.0f, 1.125f, 1.375f},  {24.0f, 1.375f, 1.625f},
    {40.0f, 1.625f, 2.125f}, {80.0f, 2.125f, 2.625f}, {150.0f, 2.625f, 3.125f},
};
constexpr PipeRow kPipeLargest = {0.0f, 3.125f, 3.625f};

struct AirSideCoef {
    bool found = false;
    float C = 0;
    float n = 0;
};

// Which coils an air-side row is for.
enum class CoilKinds { Any, Liquid, PhaseChange };

// The condition of a row beyond its pattern, fin letter and coil kinds.
enum class When {
    Always,
    MultiRow,   // more than one row deep
    Above311,   // face velocity above 311 ft/min
    FpiAtMost,  // at most `fpi` fins per inch
};

// One row of the air-side table. C = c - cPerFpi x FPI (held as a 32-bit
// value); n as given.
struct AirSideRow {
    const char* pattern;
    char fin;  // fin letter; '*' any
    CoilKinds kinds;
    When when;
    int fpi;
    float c, cPerFpi, n;
};

// Air-side film resistance coefficients C and n of AirJ = C (V/100)^-n,
// h.ft2.F/Btu with V the face velocity in ft/min. Empirical fits by tube
// pattern, fin letter, coil kind, rows, fins per inch and face velocity; the
// first row that applies is taken, and a coil no row applies to has no
// air-side resistance from the table.
constexpr AirSideRow kAirSideRows[] = {
    // Pattern 5, steam and refrigerant coils.
    {"5", 'C', CoilKinds::PhaseChange, When::MultiRow, 0, 0.199f, 0, 0.594f},
    {"5", 'S', CoilKinds::PhaseChange, When::MultiRow, 0, 0.145f, 0, 0.554f},
    {"5", 'R', CoilKinds::PhaseChange, When::MultiRow, 0, 0.083f, 0, 0.444f},
    {"5", 'C', CoilKinds::PhaseChange, When::Above311, 0, 0.234f, 0, 0.594f},
    {"5", 'S', CoilKinds::PhaseChange, When::Above311, 0, 0.171f, 0, 0.554f},
    {"5", 'R', CoilKinds::PhaseChange, When::Above311, 0, 0.098f, 0, 0.444f},
    {"5", 'C', CoilKinds::PhaseChange, When::Always, 0, 0.17f, 0, 0.329f},
    {"5", 'S', CoilKinds::PhaseChange, When::Always, 0, 0.127f, 0, 0.3068f},
    {"5", 'R', CoilKinds::PhaseChange, When::Always, 0, 0.0769f, 0, 0.246f},
    // Pattern 5, liquid coils, by fins per inch.
    {"5", 'C', CoilKinds::Liquid, When::FpiAtMost, 8, 0.1618f, 0, 0.5596f},
    {"5", 'S', CoilKinds::Liquid, When::FpiAtMost, 8, 0.1186f, 0, 0.5219f},
    {"5", 'R', CoilKinds::Liquid, When::FpiAtMost, 8, 0.069f, 0, 0.4183f},
    {"5", 'C', CoilKinds::Liquid, When::FpiAtMost, 10, 0.165f, 0, 0.5596f},
    {"5", 'S', CoilKinds::Liquid, When::FpiAtMost, 10, 0.1209f, 0, 0.5219f},
    {"5", 'R', CoilKinds::Liquid, When::FpiAtMost, 10, 0.0704f, 0, 0.4183f},
    {"5", 'C', CoilKinds::Liquid, When::FpiAtMost, 12, 0.169f, 0, 0.5596f},
    {"5", 'S', CoilKinds::Liquid, When::FpiAtMost, 12, 0.1239f, 0, 0.5219f},
    {"5", 'R', CoilKinds::Liquid, When::FpiAtMost, 12, 0.0721f, 0, 0.4183f},
    {"5", 'C', CoilKinds::Liquid, When::FpiAtMost, 14, 0.173f, 0, 0.5596f},
    {"5", 'S', CoilKinds::Liquid, When::FpiAtMost, 14, 0.1268f, 0, 0.5219f},
    {"5", 'R', CoilKinds::Liquid, When::FpiAtMost, 14, 0.0738f, 0, 0.4183f},
    {"5", 'C', CoilKinds::Liquid, When::Always, 0, 0.1765f, 0, 0.5596f},
    {"5", 'S', CoilKinds::Liquid, When::Always, 0, 0.1765f, 0, 0.5219f},
    {"5", 'R', CoilKinds::Liquid, When::Always, 0, 0.1765f, 0, 0.4183f},
    // Pattern P.
    {"P", 'S', CoilKinds::Any, When::FpiAtMost, 7, 0.204f, 0, 0.707f},
    {"P", 'S', CoilKinds::Any, When::FpiAtMost, 14, 0.252f, 0.006f, 0.707f},
    {"P", 'S', CoilKinds::Any, When::Always, 0, 0.168f, 0, 0.707f},
    {"P", 'C', CoilKinds::Any, When::MultiRow, 0, 0.088f, 0, 0.444f},
    {"P", 'C', CoilKinds::Any, When::Above311, 0, 0.101f, 0, 0.444f},
    {"P", 'C', CoilKinds::Any, When::Always, 0, 0.0775f, 0, 0.246f},
    // Patterns 6 and 3.
    {"6", 'C', CoilKinds::Any, When::Always, 0, 0.176f, 0, 0.594f},
    {"6", 'L', CoilKinds::Any, When::Always, 0, 0.0952f, 0, 0.434f},
    {"3", 'C', CoilKinds::Any, When::Always, 0, 0.219f, 0, 0.594f},
    {"3", 'S', CoilKinds::Any, When::Always, 0, 0.16f, 0, 0.554f},
    {"3", 'R', CoilKinds::Any, When::Always, 0, 0.092f, 0, 0.444f},
    {"3", 'L', CoilKinds::Any, When::Always, 0, 0.096f, 0, 0.434f},
    // Pattern 1, every fin.
    {"1", '*', CoilKinds::Any, When::Always, 0, 0.175f, 0.0035f, 0.687f},
};

bool KindsMatch(CoilKinds kinds, CoilType type) {
    switch (kinds) {
        case CoilKinds::Any:
            return true;
        case CoilKinds::Liquid:
            return IsLiquidCoil(type);
        case CoilKinds::PhaseChange:
            return IsPhaseChangeCoil(type);
    }
    return false;
}

bool WhenMatches(const AirSideRow& row, int rd, int fpi, float v) {
    switch (row.when) {
        case When::Always:
            return true;
        case When::MultiRow:
            return rd > 1;
        case When::Above311:
            return v > 311;
        case When::FpiAtMost:
            return fpi <= row.fpi;
    }
    return false;
}

AirSideCoef AirSideTable(const std::string& pattern, char fin, CoilType type, int rd, int fpi, float v) {
    for (const AirSideRow& row : kAirSideRows) {
        if (pattern != row.pattern || (row.fin != '*' && row.fin != fin)) continue;
        if (!KindsMatch(row.kinds, type) || !WhenMatches(row, rd, fpi, v)) continue;
        if (row.cPerFpi == 0) return {true, row.c, row.n};
        return {true, F32(row.c - row.cPerFpi * static_cast<double>(fpi)), row.n};
    }
    return {};
}

struct PatternGeometry {
    float tubeOd;
    float rowPitch;
};

// Tube OD and row pitch, in., of each tube pattern.
PatternGeometry GeometryOf(const std::string& pattern) {
    if (pattern == "6") return {0.331f, 0.625f};
    if (pattern == "3") return {0.395f, 0.866f};
    if (pattern == "P") return {0.52f, 1.0825f};
    if (pattern == "5") return {0.645f, 1.299f};
    if (pattern == "1") return {1.0f, 1.5f};
    return {0.0f, 0.0f};
}

// Corrugated water coils: capacity and pressure-drop factors. Runs first,
// while the dry flag still holds its starting value.
void CorrugationFactors(const CoilSpec& s, CoilRating& r) {
    r.CapacityFactor = 1.0f;
    cc.FluidPdFactor = 1.0f;
    cc.AirPdFactor = 1.0f;
    if (cc.Type != CoilType::Water || s.Corrugated != "Y") return;
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

// Connection and header pipes by fluid flow, and the header length.
void PipeSizes(CoilSpec& s, const CoilRating& r) {
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
}

// Moist air at the entering state and at standard conditions, lb/ft3.
struct AirDensities {
    float entering;
    float standard;
};

// The entering air state: wet bulb, enthalpy, specific heat and densities.
// Answers the library's message when the state is out of its range, else "".
std::string EnteringAir(CoilRating& r, float& EntAirEnthalpy, AirDensities& rho) {
    if (r.EatWb == 0) r.EatWb = F32(static_cast<double>(r.EatDb) - 1);

    const float W = hg::HGWBTOGR(r.EatDb, r.EatWb, r.Altitude);
    if (W == hg::kOutOfRange) return "Out of Range Condition or error with HGWBtoGR!";
    EntAirEnthalpy = hg::HGENTHALPY(r.EatDb, W);
    cc.AirCp = F32(kc::kCpDryAir + kc::kCpWaterVapour * W / kc::kGrainsPerLb);

    rho.entering = hg::HGDENSITY(r.EatDb, W, r.Altitude);
    rho.standard = hg::HGDENSITY(70, 0, 0);
    // Beyond the library's range (air above 200 F) there is no density:
    // refuse the coil rather than rate it with a negative air mass flow.
    if (rho.entering == hg::kOutOfRange || rho.standard == hg::kOutOfRange)
        return "Out of Range Condition or error with HGDENSITY!";
    cc.EatWbCalc = r.EatWb;
    return {};
}

// Face area, standard air flow, face velocity and air mass flow.
void AirFlow(CoilSpec& s, CoilRating& r, const AirDensities& rho) {
    s.FaceArea = F32(static_cast<double>(s.FL) * s.FinHeight / kc::kSqInPerSqFt);
    r.CoilFaceArea = s.FaceArea;

    if (r.Altitude >= 2000)
        r.Scfm = F32(Div(static_cast<double>(r.Acfm) * rho.entering, rho.standard));
    else
        r.Scfm = r.Acfm;
    r.FaceVelocity = F32(Div(r.Acfm, s.FaceArea));
    cc.AirMassFlow = F32(static_cast<double>(r.Acfm) * 60 * rho.entering);

    // Air no warmer than the fluid is heated by it: a dry coil.
    if (r.EatDb <= r.EntFluidTemp) {
        cc.UseDryCalc = kTrue;
        cc.CoilDry = kTrue;
    } else {
        cc.UseDryCalc = kFalse;
    }
}

// Tube diameters, fin conductivity, coil depth and the tube count.
void TubeGeometry(const CoilSpec& s, CoilRating& r) {
    const PatternGeometry geo = GeometryOf(s.Pattern);
    cc.TubeOd = geo.tubeOd;
    r.FinConductivity = s.FinMat == "C" ? kc::kCopperFinConductivity : kc::kAluminiumFinConductivity;

    r.CoilDepth = F32(static_cast<double>(s.RD) * geo.rowPitch);
    cc.TubeId = F32(static_cast<double>(cc.TubeOd) - 2 * static_cast<double>(s.TubeWall));
}

struct Surfaces {
    int16_t tubes;
    float secondary;  // fins, ft2
    float primary;    // tubes between the fins, ft2
};

// Fin (secondary) and tube (primary) surfaces of a coil of tube OD `od`, in.,
// and depth `coilDepth`, in.
Surfaces SurfacesOf(const CoilSpec& s, double od, double coilDepth) {
    const double fl = s.FL;
    const double thk = s.FinThk;
    const float finCount = F32(static_cast<double>(s.FPI) * fl);
    Surfaces a{};
    a.tubes = rt::I16(static_cast<double>(s.RD) * s.TH);
    const double tubes = a.tubes;
    const float gap = F32(Div(fl - thk * finCount, finCount));

    const double collar = od + 2 * thk;
    a.secondary = F32(finCount * (coilDepth * s.FinHeight / kc::kSqInPerSqFtTwoFaces -
                                  tubes * (collar * collar) / kc::kCollarHoleDivisor));
    a.primary = F32((tubes * od * fl - (od - 2 * static_cast<double>(gap)) * tubes * finCount * thk) /
                    kc::kTubeSurfaceDivisor);
    return a;
}

// Fin (secondary) and tube (primary) surfaces, ft2, their sum and the ratio
// of outside to inside area.
void SurfaceAreas(const CoilSpec& s, CoilRating& r) {
    const Surfaces a = SurfacesOf(s, cc.TubeOd, r.CoilDepth);
    r.TotalTubes = a.tubes;
    r.SecondaryArea = a.secondary;
    r.PrimaryArea = a.primary;
    cc.TotalArea = F32(static_cast<double>(r.PrimaryArea) + r.SecondaryArea);
    const double tubes = r.TotalTubes;
    const double fl = s.FL;
    cc.AreaRatio = F32(Div(cc.TotalArea, tubes * cc.TubeId * fl / kc::kTubeSurfaceDivisor));
}

// Inside flow areas of the circuits, the header and the connection, ft2, and
// the surface per face row of the refrigerant solver.
void FlowAreas(const CoilSpec& s, const CoilRating& r) {
    const double id = cc.TubeId;
    cc.TubeFlowArea = F32(id * id * kc::kCircleSqFtPerSqIn * s.Circuits);
    cc.HeaderFlowArea = F32(static_cast<double>(s.HeaderDia) * s.HeaderDia * kc::kCircleSqFtPerSqIn);
    cc.ConnFlowArea = F32(static_cast<double>(s.ConnDia) * s.ConnDia * kc::kCircleSqFtPerSqIn);

    const double od = cc.TubeOd;
    const double finHeight = s.FinHeight;
    cc.AreaPerFaceRow =
        F32(2.0 * s.FPI * (Div(r.CoilDepth, s.RD) - Div(kc::kPiShort * (od * od), Div(4 * finHeight, s.TH))) +
            Div(Div(kc::kPiShort * od, finHeight), s.TH));
}

// Air-side film resistance from the table, and with the velocity correction.
void AirSideResistance(const CoilSpec& s, const CoilRating& r) {
    const float v = r.FaceVelocity;
    const char fin = s.FinTreat.empty() ? '\0' : s.FinTreat[0];
    const AirSideCoef coef = AirSideTable(s.Pattern, fin, cc.Type, s.RD, s.FPI, v);
    if (coef.found)
        cc.AirJ = F32(static_cast<double>(coef.C) * rt::Pow(v / 100.0, -static_cast<double>(coef.n)));

    // Velocity correction of the air-side resistance: empirical fit in the face
    // velocity, ft/min.
    cc.AirJCorr = F32(static_cast<double>(cc.AirJ) * (0.1475118 * rt::Exp(-v / 551.04242) + 0.8811386));
}

}  // namespace

bool CC_OutsideSurfaces(const CoilSpec& s, float& primary, float& secondary) {
    try {
        const PatternGeometry geo = GeometryOf(s.Pattern);
        const Surfaces a = SurfacesOf(s, geo.tubeOd, F32(static_cast<double>(s.RD) * geo.rowPitch));
        primary = a.primary;
        secondary = a.secondary;
        return true;
    } catch (const rt::RtError&) {
        return false;
    }
}

// Derives everything that does not depend on the solution. Answers false with
// a message in CalcErrorMsg when the entering air is out of range or a
// run-time error occurs.
bool CC_bAssignCoilProp(float& EntAirEnthalpy) {
    CoilSpec& s = cc.Coil;
    CoilRating& r = cc.Rating;
    cc.Type = CoilTypeOf(s.Application);
    try {
        CorrugationFactors(s, r);
        PipeSizes(s, r);
        AirDensities rho{};
        const std::string fault = EnteringAir(r, EntAirEnthalpy, rho);
        if (!fault.empty()) {
            cc.CalcErrorMsg = fault + "\nProcedure: CC_bAssignCoilProp\n";
            return false;
        }
        AirFlow(s, r, rho);
        TubeGeometry(s, r);
        SurfaceAreas(s, r);
        FlowAreas(s, r);
        AirSideResistance(s, r);
        CC_FinWallResistance(0, r.FinConductivity, r.CoilDepth, r.SecondaryArea, r.PrimaryArea, r.TotalTubes);
        return true;
    } catch (const rt::RtError& e) {
        cc.CalcErrorMsg = "Error: " + std::to_string(e.number()) + " " + e.description();
        return false;
    }
}
