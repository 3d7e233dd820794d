// Ratings of hostile forms and the checks every one of them must pass: it
// ends in a result, a validation message or an engine message, and no NaN
// or infinity reaches the records, the grid, the saved row, the coil file
// text or kvn-rate's JSON.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <string>
#include <variant>
#include <vector>

#include "common/calc_driver.h"
#include "engine/records.h"
#include "engine/rterror.h"
#include "files/coil_file.h"
#include "files/save_row.h"
#include "files/saved_coils.h"
#include "sample_coils.h"
#include "tools/coil_file_output.h"
#include "tools/rate_json.h"

namespace hardening {

// A sound form of each coil type, as the coil form would send it.
inline FieldTexts BaseForm(const std::string& type) {
    // The sample water coil with every other field present, most of them empty.
    FieldTexts f = With(Water(), {{"Application", type},
                                  {"Scfm", ""},
                                  {"AirVel", "500"},
                                  {"Refrigerant", ""},
                                  {"PercentGlycol", ""},
                                  {"SteamPressure", ""},
                                  {"EvapSHCode", ""}});
    if (type == "G") {
        f["PercentGlycol"] = "30";
        f["EntFluidTemp"] = "42";
    } else if (type == "S") {
        f["Pattern"] = "1";
        f["TubeWall"] = "0.035";
        f["FinThk"] = "0.010";
        f["TH"] = "8";
        f["Circuits"] = "";
        f["EatDb"] = "40";
        f["EatWb"] = "";
        f["EntFluidTemp"] = "";
        f["Gpm"] = "";
        f["SteamPressure"] = "5";
    } else if (type == "E") {
        f["Refrigerant"] = "22";
        f["EntFluidTemp"] = "40";
        f["EvapSHCode"] = "10";
        f["Circuits"] = "8";
        f["Gpm"] = "";
    } else if (type == "C") {
        f["Pattern"] = "4";
        f["TubeWall"] = "0.017";
        f["Refrigerant"] = "22";
        f["EntFluidTemp"] = "120";
        f["EatDb"] = "95";
        f["EatWb"] = "";
        f["Circuits"] = "6";
        f["Gpm"] = "";
    }
    return f;
}

inline const std::vector<std::string>& CoilTypes() {
    static const std::vector<std::string> types = {"W", "G", "S", "E", "C"};
    return types;
}

// Tallies of a group of ratings.
struct Tally {
    int rated = 0;
    int refused = 0;       // validation message
    int engineFailed = 0;  // engine message, records untouched
    int saveRefused = 0;   // rated, but the saved row declined with a run-time error
    double slowestSeconds = 0;
    int total() const { return rated + refused + engineFailed; }
};

inline bool AllFinite(const CoilSpec& s) {
    for (float v : {s.FaceArea, s.FinHeight, s.FinThk, s.FL, s.TubeWall, s.HeaderLength, s.HeaderDia,
                    s.ConnDia, s.FoulingFactor})
        if (!std::isfinite(v)) return false;
    return true;
}

inline bool AllFinite(const CoilRating& r) {
    for (float v : {r.FinConductivity, r.CoilDepth,      r.Acfm,           r.FaceVelocity,   r.AirPD,
                    r.Reserved10,      r.Condensate,     r.PrimaryArea,    r.SecondaryArea,  r.FluidDensity,
                    r.EatDb,           r.EatWb,          r.EntFluidTemp,   r.EvapCondAux,    r.CoilFaceArea,
                    r.FluidMassFlow,   r.SteamAux,       r.FluidMassFlux,  r.FluidPD,        r.Reserved25,
                    r.TubeVelocity,    r.ConnVelocity,   r.HeaderVelocity, r.CapacityFactor, r.Gpm,
                    r.LatentHeat,      r.LatDb,          r.LatWb,          r.LvgFluidTemp,   r.PercentGlycol,
                    r.WetFraction,     r.SensibleBtuh,   r.TotalBtuh,      r.Scfm,           r.FluidSpecHeat,
                    r.SteamPressure,   r.FluidThermCond, r.FluidViscosity})
        if (!std::isfinite(v)) return false;
    return true;
}

// True when a text shows a non-finite number the way our formatters or the
// C library would spell it.
inline bool ShowsNonFinite(const std::string& text) {
    for (const char* bad : {"nan", "NaN", "NAN", "inf", "Inf", "INF"})
        if (text.find(bad) != std::string::npos) return true;
    return false;
}

// Every number of a JSON tree is finite; nlohmann writes a non-finite
// number as null, so no null may stand where a number of a record stands.
inline bool JsonNumbersFinite(const kvnrate::Json& j) {
    if (j.is_number_float()) return std::isfinite(j.get<double>());
    if (j.is_null()) return false;
    if (j.is_structured())
        for (const auto& item : j)
            if (!JsonNumbersFinite(item)) return false;
    return true;
}

// Rates `fields` as kvn-rate does and checks every way the result leaves
// the program. `what` names the case in failure messages.
inline void RateAndCheck(const FieldTexts& fields, int mode, const std::string& what, Tally& tally) {
    const auto start = std::chrono::steady_clock::now();
    kvnrate::RatedCoil coil = kvnrate::RateFields(fields, mode);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    // Reported with the sweep, never asserted: a loaded machine or a
    // sanitizer build is slow for no fault (bench/ times the ratings).
    if (seconds > tally.slowestSeconds) tally.slowestSeconds = seconds;

    const CalcResult& res = coil.result;
    switch (res.status) {
        case CalcResult::Validation:
            ++tally.refused;
            EXPECT_FALSE(res.validation.message.empty()) << what;
            EXPECT_FALSE(res.validation.control.empty()) << what;
            // Refused before anything was filled.
            EXPECT_TRUE(coil.coilSpec.Application.empty()) << what;
            break;
        case CalcResult::EngineFailed:
            ++tally.engineFailed;
            EXPECT_FALSE(res.error.empty()) << what;
            EXPECT_FALSE(coil.messages.empty()) << what << ": a failure nobody was told of";
            // The records are the fresh ones the rater started from.
            EXPECT_TRUE(coil.coilSpec.Application.empty()) << what;
            EXPECT_EQ(coil.rating.TotalBtuh, 0.0f) << what;
            break;
        case CalcResult::Ok:
            ++tally.rated;
            EXPECT_FALSE(res.grid.empty()) << what;
            break;
    }
    EXPECT_TRUE(AllFinite(coil.coilSpec)) << what;
    EXPECT_TRUE(AllFinite(coil.rating)) << what;
    for (const GridRow& row : res.grid) {
        EXPECT_FALSE(ShowsNonFinite(row.value)) << what << ": " << row.label << " = " << row.value;
        EXPECT_EQ(row.value.size(), 14u) << what << ": " << row.label;
    }
    for (const std::string& m : coil.messages) EXPECT_FALSE(ShowsNonFinite(m)) << what << ": " << m;

    // kvn-rate's answer; texts of the form are echoed as they were typed,
    // so only its numbers are checked.
    EXPECT_TRUE(JsonNumbersFinite(kvnrate::ResultJson(coil))) << what;

    if (!res.ok()) return;
    // The coil as "Save" stores it, and as the coil file writes it.
    SavedCoilTable table;
    try {
        AppendSavedCoil(table, coil.coilSpec, coil.rating, kvnrate::SaveRowTextsOf(coil));
    } catch (const rt::RtError& e) {
        // Declined (a standard air flow beyond its column); the window shows
        // the error and the table stays as it was.
        EXPECT_EQ(e.number(), 6) << what;
        EXPECT_EQ(table.CoilCount(), 0) << what;
        ++tally.saveRefused;
        return;
    }
    // Every number of the saved row is finite, and so is every column of
    // the file line that does not echo a text of the form.
    for (const Cell& cell : table.Rows()[0]) {
        if (const float* v = std::get_if<float>(&cell)) {
            EXPECT_TRUE(std::isfinite(*v)) << what;
        }
        if (const double* v = std::get_if<double>(&cell)) {
            EXPECT_TRUE(std::isfinite(*v)) << what;
        }
    }
    const std::string text = CoilFileText(table);
    const SavedCoilTable::Row& saved = table.Rows()[0];
    for (int c = 0; c < col::Count; ++c) {
        if (std::holds_alternative<std::string>(saved[c])) continue;
        EXPECT_FALSE(ShowsNonFinite(CellText(saved[c]))) << what << ": column " << c << " of " << text;
    }
    SavedCoilTable back;
    const CoilFileStatus read = ParseCoilFileText(text, back);
    EXPECT_TRUE(read.ok) << what << ": " << read.Message("sweep.kvn", false) << "\n" << text;
    EXPECT_EQ(back.CoilCount(), 1) << what;
}

}  // namespace hardening
