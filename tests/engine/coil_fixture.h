// Coils for the solver tests: construction and entering conditions as the
// coil form would send them, filled into the two records by the calculation
// driver's fill, and checks over the rated records.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "engine/internal/coilcalc_internal.h"
#include "engine/msgbox.h"
#include "engine/records.h"
#include "engine/rterror.h"
#include "sample_coils.h"

namespace solvers_test {

struct Coil {
    std::string type = "W";  // coil type code
    std::string tube = "5";  // tube size as the list shows it ("4" is sent as "P")
    float wall = 0.02f;
    std::string finMat = "A";
    float finThk = 0.006f;
    int fpi = 12;
    int rows = 4;
    int th = 16;
    float fl = 48;
    int circuits = 16;
    int altitude = 0;
    float acfm = 2000;
    float eatDb = 80;
    float eatWb = 67;     // 0: blank
    float entFluid = 45;  // ignored for steam
    float gpm = 20;
    float glycol = 0;
    float steamPsi = 0;
    std::string refrigerant;
    int superheat = 0;
    std::string rifled = "N";
};

// A number as a field text that reads back as the same 32-bit value.
inline std::string FieldText(double x) {
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", x);
    return text;
}

// The coil as the form's field texts.
inline FieldTexts Fields(const Coil& c) {
    return {{"Application", c.type},
            {"Pattern", c.tube},
            {"TubeWall", FieldText(c.wall)},
            {"FinMat", c.finMat},
            {"FinThk", FieldText(c.finThk)},
            {"FinTreat", "CR"},
            {"FPI", std::to_string(c.fpi)},
            {"RD", std::to_string(c.rows)},
            {"TH", std::to_string(c.th)},
            {"FL", FieldText(c.fl)},
            {"Circuits", std::to_string(c.circuits)},
            {"Rifled", c.rifled},
            {"FoulingFactor", "0"},
            {"Altitude", std::to_string(c.altitude)},
            {"Acfm", FieldText(c.acfm)},
            {"EatDb", FieldText(c.eatDb)},
            {"EatWb", FieldText(c.eatWb)},
            {"EntFluidTemp", FieldText(c.entFluid)},
            {"Gpm", FieldText(c.gpm)},
            {"Refrigerant", c.refrigerant},
            {"PercentGlycol", FieldText(c.glycol)},
            {"SteamPressure", FieldText(c.steamPsi)},
            {"EvapSHCode", std::to_string(c.superheat)}};
}

// One rating through the engine entry, with the messages it showed.
struct Rated {
    CoilSpec coilSpec;
    CoilRating rating;
    bool assigned = false;  // CC_RateCoil answered true
    bool raised = false;    // a run-time error left the engine
    int errorNumber = 0;
    std::string errorText;
    std::vector<std::string> messages;
};

inline Rated Rate(const Coil& c) {
    Rated out;
    FillSample(Fields(c), out.coilSpec, out.rating);
    RecordingMessageSink sink;
    ScopedMessageSink scope(sink);
    try {
        out.assigned = CC_RateCoil(out.coilSpec, out.rating);
    } catch (const rt::RtError& e) {
        out.raised = true;
        out.errorNumber = e.number();
        out.errorText = e.description();
    }
    for (const auto& m : sink.shown) out.messages.push_back(m.text);
    return out;
}

// Every float field of both records, by name.
template <typename F>
void ForEachFloat(const CoilSpec& s, const CoilRating& r, F&& f) {
#define KVN_F(rec, name) f(#name, rec.name)
    KVN_F(s, FaceArea);
    KVN_F(s, FinHeight);
    KVN_F(s, FinThk);
    KVN_F(s, FL);
    KVN_F(s, TubeWall);
    KVN_F(s, HeaderLength);
    KVN_F(s, HeaderDia);
    KVN_F(s, ConnDia);
    KVN_F(s, FoulingFactor);
    KVN_F(r, FinConductivity);
    KVN_F(r, CoilDepth);
    KVN_F(r, Acfm);
    KVN_F(r, FaceVelocity);
    KVN_F(r, AirPD);
    KVN_F(r, Condensate);
    KVN_F(r, PrimaryArea);
    KVN_F(r, SecondaryArea);
    KVN_F(r, FluidDensity);
    KVN_F(r, EatDb);
    KVN_F(r, EatWb);
    KVN_F(r, EntFluidTemp);
    KVN_F(r, EvapCondAux);
    KVN_F(r, CoilFaceArea);
    KVN_F(r, FluidMassFlow);
    KVN_F(r, SteamAux);
    KVN_F(r, FluidMassFlux);
    KVN_F(r, FluidPD);
    KVN_F(r, TubeVelocity);
    KVN_F(r, ConnVelocity);
    KVN_F(r, HeaderVelocity);
    KVN_F(r, CapacityFactor);
    KVN_F(r, Gpm);
    KVN_F(r, LatentHeat);
    KVN_F(r, LatDb);
    KVN_F(r, LatWb);
    KVN_F(r, LvgFluidTemp);
    KVN_F(r, PercentGlycol);
    KVN_F(r, WetFraction);
    KVN_F(r, SensibleBtuh);
    KVN_F(r, TotalBtuh);
    KVN_F(r, Scfm);
    KVN_F(r, FluidSpecHeat);
    KVN_F(r, SteamPressure);
    KVN_F(r, FluidThermCond);
    KVN_F(r, FluidViscosity);
#undef KVN_F
}

inline std::vector<std::pair<std::string, float>> Floats(const CoilSpec& s, const CoilRating& r) {
    std::vector<std::pair<std::string, float>> v;
    ForEachFloat(s, r, [&](const char* name, float x) { v.emplace_back(name, x); });
    return v;
}

// The name of the first non-finite field, or "" when all are finite.
inline std::string FirstNonFinite(const CoilSpec& s, const CoilRating& r) {
    std::string bad;
    ForEachFloat(s, r, [&](const char* name, float v) {
        if (bad.empty() && !std::isfinite(v)) bad = name;
    });
    return bad;
}

}  // namespace solvers_test
