// Fuzzes the calculation driver with the engine behind it: arbitrary field
// texts for every coil type and air-flow mode. A rating must end in a
// result, a validation message or an engine message, and no NaN or infinity
// may reach the records or the grid.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "common/calc_driver.h"
#include "engine/msgbox.h"

namespace {

const char* const kKeys[] = {
    "Pattern", "TubeWall", "FinMat", "FinThk", "FinTreat", "FPI", "RD", "TH", "FL",
    "Circuits", "Rifled", "FoulingFactor", "Altitude", "Acfm", "Scfm", "AirVel",
    "EatDb", "EatWb", "EntFluidTemp", "Gpm", "Refrigerant", "PercentGlycol",
    "SteamPressure", "EvapSHCode"};

void CheckFinite(float v) {
    if (!std::isfinite(v)) std::abort();
}

void CheckRecords(const CoilSpec& s, const CoilRating& r) {
    for (float v : {s.FaceArea, s.FinHeight, s.FinThk, s.FL, s.TubeWall, s.HeaderLength,
                    s.HeaderDia, s.ConnDia, s.FoulingFactor})
        CheckFinite(v);
    for (float v : {r.FinConductivity, r.CoilDepth, r.Acfm, r.FaceVelocity, r.AirPD,
                    r.Condensate, r.PrimaryArea, r.SecondaryArea, r.FluidDensity, r.EatDb,
                    r.EatWb, r.EntFluidTemp, r.EvapCondAux, r.CoilFaceArea, r.FluidMassFlow,
                    r.SteamAux, r.FluidMassFlux, r.FluidPD, r.TubeVelocity, r.ConnVelocity,
                    r.HeaderVelocity, r.CapacityFactor, r.Gpm, r.LatentHeat, r.LatDb, r.LatWb,
                    r.LvgFluidTemp, r.PercentGlycol, r.WetFraction, r.SensibleBtuh, r.TotalBtuh,
                    r.Scfm, r.FluidSpecHeat, r.SteamPressure, r.FluidThermCond, r.FluidViscosity})
        CheckFinite(v);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    static const char* const kTypes[] = {"W", "G", "S", "E", "C", "O", "X", ""};
    FieldTexts f;
    f["Application"] = kTypes[data[0] & 7];
    const int mode = (data[0] & 8) ? 3 : ((data[0] & 16) ? 2 : 1);
    // The rest is the field texts, one per line, in key order.
    std::string rest(reinterpret_cast<const char*>(data + 1), size - 1);
    size_t pos = 0;
    for (const char* key : kKeys) {
        const size_t nl = rest.find('\n', pos);
        if (nl == std::string::npos) {
            f[key] = rest.substr(pos);
            pos = rest.size();
            break;
        }
        f[key] = rest.substr(pos, nl - pos);
        pos = nl + 1;
    }
    RecordingMessageSink sink;
    ScopedMessageSink scope(sink);
    static CoilSpec spec;
    static CoilRating rating;
    const CalcResult res = CalcPerform(f, mode, spec, rating);
    CheckRecords(spec, rating);
    for (const GridRow& row : res.grid)
        if (row.value.find("nan") != std::string::npos || row.value.find("inf") != std::string::npos ||
            row.value.find("NaN") != std::string::npos || row.value.find("Inf") != std::string::npos)
            std::abort();
    return 0;
}
