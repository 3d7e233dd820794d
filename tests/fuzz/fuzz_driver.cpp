// Fuzzes the calculation driver with the engine behind it: arbitrary field
// texts for every coil type and air-flow mode. A rating must end in a
// result, a validation message or an engine message, and no NaN or infinity
// may reach the records, the grid, the saved row or the coil file line.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <variant>
#include <vector>

#include "common/calc_driver.h"
#include "engine/msgbox.h"
#include "engine/rterror.h"
#include "files/coil_file.h"
#include "files/save_row.h"

namespace {

const char* const kKeys[] = {
    "Pattern",      "TubeWall", "FinMat",      "FinThk",        "FinTreat",      "FPI",
    "RD",           "TH",       "FL",          "Circuits",      "Rifled",        "FoulingFactor",
    "Altitude",     "Acfm",     "Scfm",        "AirVel",        "EatDb",         "EatWb",
    "EntFluidTemp", "Gpm",      "Refrigerant", "PercentGlycol", "SteamPressure", "EvapSHCode"};

void CheckFinite(float v) {
    if (!std::isfinite(v)) std::abort();
}

void CheckRecords(const CoilSpec& s, const CoilRating& r) {
    for (float v : {s.FaceArea, s.FinHeight, s.FinThk, s.FL, s.TubeWall, s.HeaderLength, s.HeaderDia,
                    s.ConnDia, s.FoulingFactor})
        CheckFinite(v);
    for (float v : {r.FinConductivity, r.CoilDepth,      r.Acfm,          r.FaceVelocity,  r.AirPD,
                    r.Condensate,      r.PrimaryArea,    r.SecondaryArea, r.FluidDensity,  r.EatDb,
                    r.EatWb,           r.EntFluidTemp,   r.EvapCondAux,   r.CoilFaceArea,  r.FluidMassFlow,
                    r.SteamAux,        r.FluidMassFlux,  r.FluidPD,       r.TubeVelocity,  r.ConnVelocity,
                    r.HeaderVelocity,  r.CapacityFactor, r.Gpm,           r.LatentHeat,    r.LatDb,
                    r.LatWb,           r.LvgFluidTemp,   r.PercentGlycol, r.WetFraction,   r.SensibleBtuh,
                    r.TotalBtuh,       r.Scfm,           r.FluidSpecHeat, r.SteamPressure, r.FluidThermCond,
                    r.FluidViscosity})
        CheckFinite(v);
}

bool ShowsNonFinite(const std::string& text) {
    for (const char* bad : {"nan", "NaN", "NAN", "inf", "Inf", "INF"})
        if (text.find(bad) != std::string::npos) return true;
    return false;
}

// The rated coil as "Save" stores it and the coil file writes it: every
// number finite, and the line reads back as one coil.
void CheckSavedRow(const CoilSpec& coilSpec, const CoilRating& rating) {
    SaveRowTexts texts;
    texts.coilTypeWord = CoilTypeWord(coilSpec.Application);
    texts.tubeText = coilSpec.Pattern;
    SavedCoilTable table;
    try {
        AppendSavedCoil(table, coilSpec, rating, texts);
    } catch (const rt::RtError& e) {
        if (e.number() != 6 || table.CoilCount() != 0) std::abort();
        return;
    }
    for (const Cell& cell : table.Rows()[0]) {
        if (const float* v = std::get_if<float>(&cell); v && !std::isfinite(*v)) std::abort();
        if (const double* v = std::get_if<double>(&cell); v && !std::isfinite(*v)) std::abort();
        if (!std::holds_alternative<std::string>(cell) && ShowsNonFinite(CellText(cell))) std::abort();
    }
    SavedCoilTable back;
    if (!ParseCoilFileText(CoilFileText(table), back).ok || back.CoilCount() != 1) std::abort();
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
    static CoilSpec coilSpec;
    static CoilRating rating;
    const CalcResult res = CalcPerform(f, mode, coilSpec, rating);
    // Every rating ends in a result, a validation message or a message shown.
    if (res.status == CalcResult::Validation && res.validation.message.empty()) std::abort();
    if (res.status == CalcResult::EngineFailed && (res.error.empty() || sink.shown.empty())) std::abort();
    CheckRecords(coilSpec, rating);
    for (const GridRow& row : res.grid)
        if (ShowsNonFinite(row.value)) std::abort();
    if (res.ok()) CheckSavedRow(coilSpec, rating);
    return 0;
}
