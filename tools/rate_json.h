// kvn-rate's coil input and result output in JSON, shared by the rater's
// output options and the tests.
//
// Input: one coil is a JSON object whose keys are the field keys of the coil
// form plus "AirFlowMode"; each value is the field's text (a JSON number is
// taken as its text exactly as written). Output: one JSON object per coil
// (see ResultJson).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "common/calc_driver.h"
#include "engine/records.h"

namespace kvnrate {

using Json = nlohmann::ordered_json;

// Exit statuses of kvn-rate.
enum ExitStatus { kExitOk = 0, kExitUsage = 1, kExitValidation = 2, kExitEngine = 3 };

// The field keys a coil object may carry, besides "AirFlowMode".
const std::vector<std::string>& FieldKeys();

// One coil through the driver: what was read, what was rated, what was shown.
// Its implicit move may allocate, as BatchItem's.
struct RatedCoil {      // NOLINT(bugprone-exception-escape)
    Json input;         // the coil object as read
    FieldTexts fields;  // the field texts taken from it
    int airFlowMode = kAirFlowAcfm;
    CoilSpec coilSpec;  // the records after the rating
    CoilRating rating;
    CalcResult result;
    std::string model;                  // model designation (when rated)
    std::vector<std::string> messages;  // message-box texts shown while rating

    bool ok() const { return result.ok(); }
    int exitStatus() const {
        switch (result.status) {
            case CalcResult::Ok:
                return kExitOk;
            case CalcResult::Validation:
                return kExitValidation;
            default:
                return kExitEngine;
        }
    }
};

// --- Reading -------------------------------------------------------------

// Parses one JSON text keeping number texts (a number that is not a plain
// integer is kept as a string holding its text as written, so that "0.020"
// reaches the field as "0.020"); false and `error` on a fault.
bool ParseJsonText(const std::string& text, Json& out, std::string& error);

// Reads the coils of an input text: one object, an array of objects, or one
// object per line (blank lines skipped).
bool ParseCoilInput(const std::string& text, std::vector<Json>& coils, std::string& error);

// The text of a field value: a string as it is, a number as its text, null
// as an empty field.
bool ValueText(const Json& v, std::string& text);

// The field texts and air-flow mode of a coil object. Unknown keys are
// listed in `ignored`.
bool FieldsFromJson(const Json& coil, FieldTexts& fields, int& airFlowMode, std::string& error,
                    std::vector<std::string>* ignored = nullptr);

// Rates one coil through the calculation driver on fresh records, recording
// every message shown meanwhile.
RatedCoil RateFields(const FieldTexts& fields, int airFlowMode);

// --- Writing -------------------------------------------------------------

// A 32-bit value as JSON: its exact value, written with the shortest digits
// that read back to the same 32-bit float.
Json F(float v);

// Calls put(key, value) for every field of the record, in the order of the
// output.
template <class Put>
void EachCoilSpecField(const CoilSpec& s, Put&& put) {
    put("Circuits", s.Circuits);
    put("FPI", s.FPI);
    put("RD", s.RD);
    put("TH", s.TH);
    put("FaceArea", s.FaceArea);
    put("FinHeight", s.FinHeight);
    put("FinThk", s.FinThk);
    put("FL", s.FL);
    put("TubeWall", s.TubeWall);
    put("HeaderLength", s.HeaderLength);
    put("HeaderDia", s.HeaderDia);
    put("ConnDia", s.ConnDia);
    put("FoulingFactor", s.FoulingFactor);
    put("Application", s.Application);
    put("Pattern", s.Pattern);
    put("FinMat", s.FinMat);
    put("FinTreat", s.FinTreat);
    put("Rifled", s.Rifled);
    put("Corrugated", s.Corrugated);
}

template <class Put>
void EachCoilRatingField(const CoilRating& r, Put&& put) {
    put("Altitude", r.Altitude);
    put("TotalTubes", r.TotalTubes);
    put("FinConductivity", r.FinConductivity);
    put("CoilDepth", r.CoilDepth);
    put("Acfm", r.Acfm);
    put("FaceVelocity", r.FaceVelocity);
    put("AirPD", r.AirPD);
    put("Condensate", r.Condensate);
    put("PrimaryArea", r.PrimaryArea);
    put("SecondaryArea", r.SecondaryArea);
    put("FluidDensity", r.FluidDensity);
    put("EatDb", r.EatDb);
    put("EatWb", r.EatWb);
    put("EntFluidTemp", r.EntFluidTemp);
    put("EvapSHCode", r.EvapSHCode);
    put("EvapCondAux", r.EvapCondAux);
    put("CoilFaceArea", r.CoilFaceArea);
    put("FluidMassFlow", r.FluidMassFlow);
    put("SteamAux", r.SteamAux);
    put("FluidMassFlux", r.FluidMassFlux);
    put("FluidPD", r.FluidPD);
    put("TubeVelocity", r.TubeVelocity);
    put("ConnVelocity", r.ConnVelocity);
    put("HeaderVelocity", r.HeaderVelocity);
    put("CapacityFactor", r.CapacityFactor);
    put("Gpm", r.Gpm);
    put("LatentHeat", r.LatentHeat);
    put("LatDb", r.LatDb);
    put("LatWb", r.LatWb);
    put("LvgFluidTemp", r.LvgFluidTemp);
    put("PercentGlycol", r.PercentGlycol);
    put("WetFraction", r.WetFraction);
    put("SensibleBtuh", r.SensibleBtuh);
    put("TotalBtuh", r.TotalBtuh);
    put("Scfm", r.Scfm);
    put("FluidSpecHeat", r.FluidSpecHeat);
    put("SteamPressure", r.SteamPressure);
    put("FluidThermCond", r.FluidThermCond);
    put("FluidViscosity", r.FluidViscosity);
    put("Refrigerant", r.Refrigerant);
}

Json CoilSpecJson(const CoilSpec& s);
Json CoilRatingJson(const CoilRating& r);

// Engineering warnings: [{"code": ..., "text": ...}, ...], [] when none.
Json WarningsJson(const std::vector<CoilWarning>& warnings);

// The result object of one coil.
Json ResultJson(const RatedCoil& c);

}  // namespace kvnrate
