// kvn-rate's coil input and result output in JSON, shared by the rater's
// output options and the tests.
//
// Input: one coil is a JSON object whose keys are the field keys of the coil
// form plus "AirFlowMode"; each value is the field's text (a JSON number is
// taken as its text exactly as written). Output: one JSON object per coil
// (see ResultJson).
#pragma once

#include <algorithm>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "common/calc_driver.h"
#include "common/form_fields.h"
#include "common/model_designation.h"
#include "common/numfmt.h"
#include "engine/msgbox.h"
#include "engine/records.h"

namespace kvnrate {

using Json = nlohmann::ordered_json;

// Exit statuses of kvn-rate.
enum ExitStatus { kExitOk = 0, kExitUsage = 1, kExitValidation = 2, kExitEngine = 3 };

// The field keys a coil object may carry, besides "AirFlowMode".
inline const std::vector<std::string>& FieldKeys() {
    static const std::vector<std::string> keys = [] {
        std::vector<std::string> k;
        for (const form_fields::Field& f : form_fields::Fields()) k.emplace_back(f.key);
        return k;
    }();
    return keys;
}

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

// Builds a JSON tree like the ordinary parser, except that a number that is
// not a plain integer is kept as a string holding its text as written, so
// that "0.020" reaches the field as "0.020".
class NumberTextSax : public nlohmann::json_sax<Json> {
public:
    explicit NumberTextSax(Json& root) : root_(root) {}

    bool null() override { return put(nullptr); }
    bool boolean(bool v) override { return put(v); }
    bool number_integer(number_integer_t v) override { return put(v); }
    bool number_unsigned(number_unsigned_t v) override { return put(v); }
    bool number_float(number_float_t, const string_t& text) override { return put(text); }
    bool string(string_t& v) override { return put(v); }
    bool binary(binary_t&) override { return false; }
    bool start_object(std::size_t) override { return open(Json::object()); }
    bool key(string_t& k) override {
        key_ = k;
        return true;
    }
    bool end_object() override { return close(); }
    bool start_array(std::size_t) override { return open(Json::array()); }
    bool end_array() override { return close(); }
    bool parse_error(std::size_t position, const std::string&, const Json::exception& ex) override {
        error = ex.what();
        errorPosition = position;
        return false;
    }

    static constexpr std::size_t kMaxDepth = 100;
    std::string error;
    std::size_t errorPosition = 0;

private:
    template <class V>
    Json* place(V&& v) {
        if (stack_.empty()) {
            root_ = Json(std::forward<V>(v));
            return &root_;
        }
        Json* top = stack_.back();
        if (top->is_array()) {
            top->push_back(Json(std::forward<V>(v)));
            return &top->back();
        }
        Json& slot = (*top)[key_];
        slot = Json(std::forward<V>(v));
        return &slot;
    }
    template <class V>
    bool put(V&& v) {
        place(std::forward<V>(v));
        return true;
    }
    bool open(Json&& container) {
        // A batch is an array of flat objects; deeper nesting is refused so
        // that copying or freeing a tree cannot run out of stack.
        if (stack_.size() >= kMaxDepth) {
            error = "the input nests deeper than " + std::to_string(kMaxDepth) + " levels";
            return false;
        }
        stack_.push_back(place(std::move(container)));
        return true;
    }
    bool close() {
        stack_.pop_back();
        return true;
    }

    Json& root_;
    std::vector<Json*> stack_;
    std::string key_;
};

// Parses one JSON text keeping number texts; false and `error` on a fault.
inline bool ParseJsonText(const std::string& text, Json& out, std::string& error) {
    out = Json();
    NumberTextSax sax(out);
    if (!Json::sax_parse(text, &sax, Json::input_format_t::json, true, false)) {
        error = sax.error.empty() ? "not a JSON value" : sax.error;
        return false;
    }
    return true;
}

// Reads the coils of an input text: one object, an array of objects, or one
// object per line (blank lines skipped).
inline bool ParseCoilInput(const std::string& text, std::vector<Json>& coils, std::string& error) {
    coils.clear();
    Json whole;
    std::string wholeError;
    if (ParseJsonText(text, whole, wholeError)) {
        if (whole.is_object()) {
            coils.push_back(whole);
            return true;
        }
        if (whole.is_array()) {
            for (std::size_t i = 0; i < whole.size(); ++i) {
                if (!whole[i].is_object()) {
                    error = "item " + std::to_string(i + 1) + " of the array is not a JSON object";
                    return false;
                }
                coils.push_back(whole[i]);
            }
            return true;
        }
        error = "the input is neither a JSON object nor an array of objects";
        return false;
    }
    std::istringstream lines(text);
    std::string line;
    int lineNo = 0;
    while (std::getline(lines, line)) {
        ++lineNo;
        if (line.find_first_not_of(" \t\r") == std::string::npos) continue;
        Json coil;
        std::string lineError;
        if (!ParseJsonText(line, coil, lineError)) {
            error = "line " + std::to_string(lineNo) + ": " + (coils.empty() ? wholeError : lineError);
            return false;
        }
        if (!coil.is_object()) {
            error = "line " + std::to_string(lineNo) + " is not a JSON object";
            return false;
        }
        coils.push_back(std::move(coil));
    }
    if (coils.empty()) {
        error = "no coil in the input";
        return false;
    }
    return true;
}

// The text of a field value: a string as it is, a number as its text, null
// as an empty field.
inline bool ValueText(const Json& v, std::string& text) {
    if (v.is_string())
        text = v.get<std::string>();
    else if (v.is_number_integer())
        text = v.dump();
    else if (v.is_null())
        text.clear();
    else
        return false;
    return true;
}

// The field texts and air-flow mode of a coil object. Unknown keys are
// listed in `ignored`.
inline bool FieldsFromJson(const Json& coil, FieldTexts& fields, int& airFlowMode, std::string& error,
                           std::vector<std::string>* ignored = nullptr) {
    fields.clear();
    fields["FinTreat"] = "CR";
    fields["Rifled"] = "N";
    fields["FoulingFactor"] = "0";
    airFlowMode = kAirFlowAcfm;
    const auto& keys = FieldKeys();
    for (auto it = coil.begin(); it != coil.end(); ++it) {
        std::string text;
        if (it.key() == "AirFlowMode") {
            if (!ValueText(it.value(), text)) {
                error = "\"AirFlowMode\" must be 1, 2 or 3";
                return false;
            }
            if (text.empty()) continue;
            const double mode = numfmt::Val(text);
            if (!numfmt::IsNumeric(text) || (mode != 1 && mode != 2 && mode != 3)) {
                error = "\"AirFlowMode\" must be 1, 2 or 3, not " + text;
                return false;
            }
            airFlowMode = static_cast<int>(mode);
            continue;
        }
        if (std::find(keys.begin(), keys.end(), it.key()) == keys.end()) {
            if (ignored) ignored->push_back(it.key());
            continue;
        }
        if (!ValueText(it.value(), text)) {
            error = "\"" + it.key() + "\" must be a text or a number";
            return false;
        }
        fields[it.key()] = text;
    }
    return true;
}

// Rates one coil through the calculation driver on fresh records, recording
// every message shown meanwhile.
inline RatedCoil RateFields(const FieldTexts& fields, int airFlowMode) {
    RatedCoil coil;
    coil.fields = fields;
    coil.airFlowMode = airFlowMode;
    RecordingMessageSink sink;
    {
        ScopedMessageSink scope(sink);
        coil.result = CalcPerform(coil.fields, coil.airFlowMode, coil.coilSpec, coil.rating);
        if (coil.result.ok()) {
            const auto tube = coil.fields.find("Pattern");
            coil.model = BuildModelDesignation(coil.coilSpec, coil.rating,
                                               tube == coil.fields.end() ? std::string() : tube->second);
        }
    }
    for (const ShownMessage& m : sink.shown) coil.messages.push_back(m.text);
    return coil;
}

// --- Writing -------------------------------------------------------------

// A 32-bit value as JSON: its exact value, written with the shortest digits
// that read back to the same 32-bit float.
inline Json F(float v) {
    return Json(static_cast<double>(v));
}

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

inline Json FieldJson(int16_t v) {
    return Json(v);
}
inline Json FieldJson(float v) {
    return F(v);
}
inline Json FieldJson(const std::string& v) {
    return Json(v);
}

inline Json CoilSpecJson(const CoilSpec& s) {
    Json j = Json::object();
    EachCoilSpecField(s, [&j](const char* key, const auto& v) { j[key] = FieldJson(v); });
    return j;
}

inline Json CoilRatingJson(const CoilRating& r) {
    Json j = Json::object();
    EachCoilRatingField(r, [&j](const char* key, const auto& v) { j[key] = FieldJson(v); });
    return j;
}

// Engineering warnings: [{"code": ..., "text": ...}, ...], [] when none.
inline Json WarningsJson(const std::vector<CoilWarning>& warnings) {
    Json a = Json::array();
    for (const CoilWarning& w : warnings) a.push_back({{"code", w.code}, {"text", w.text}});
    return a;
}

// The result object of one coil.
inline Json ResultJson(const RatedCoil& c) {
    Json j = Json::object();
    switch (c.result.status) {
        case CalcResult::Validation:
            j["ok"] = false;
            j["validation"] = {{"message", c.result.validation.message},
                               {"field", c.result.validation.control}};
            break;
        case CalcResult::EngineFailed:
            j["ok"] = false;
            j["error"] = c.result.error;
            j["messages"] = c.messages;
            break;
        case CalcResult::Ok: {
            j["ok"] = true;
            j["messages"] = c.messages;
            j["CoilSpec"] = CoilSpecJson(c.coilSpec);
            j["CoilRating"] = CoilRatingJson(c.rating);
            Json grid = Json::array();
            for (const GridRow& row : c.result.grid) grid.push_back({row.label, row.value});
            j["grid"] = grid;
            j["model"] = c.model;
            j["warnings"] = WarningsJson(c.result.warnings);
            break;
        }
    }
    return j;
}

}  // namespace kvnrate
