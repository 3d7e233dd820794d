// kvn-rate's coil input and result output in JSON.
#include "tools/rate_json.h"

#include <algorithm>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "common/form_fields.h"
#include "common/model_designation.h"
#include "common/numfmt.h"
#include "engine/msgbox.h"
#include "tools/number_text_sax.h"

namespace kvnrate {

const std::vector<std::string>& FieldKeys() {
    static const std::vector<std::string> keys = [] {
        std::vector<std::string> k;
        for (const form_fields::Field& f : form_fields::Fields()) k.emplace_back(f.key);
        return k;
    }();
    return keys;
}

bool NumberTextSax::parse_error(std::size_t position, const std::string&, const Json::exception& ex) {
    error = ex.what();
    errorPosition = position;
    return false;
}

bool NumberTextSax::open(Json&& container) {
    // A batch is an array of flat objects; deeper nesting is refused so
    // that copying or freeing a tree cannot run out of stack.
    if (stack_.size() >= kMaxDepth) {
        error = "the input nests deeper than " + std::to_string(kMaxDepth) + " levels";
        return false;
    }
    stack_.push_back(place(std::move(container)));
    return true;
}

// Parses one JSON text keeping number texts; false and `error` on a fault.
bool ParseJsonText(const std::string& text, Json& out, std::string& error) {
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
bool ParseCoilInput(const std::string& text, std::vector<Json>& coils, std::string& error) {
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
bool ValueText(const Json& v, std::string& text) {
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
bool FieldsFromJson(const Json& coil, FieldTexts& fields, int& airFlowMode, std::string& error,
                    std::vector<std::string>* ignored) {
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
RatedCoil RateFields(const FieldTexts& fields, int airFlowMode) {
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

// A 32-bit value as JSON: its exact value, written with the shortest digits
// that read back to the same 32-bit float.
Json F(float v) {
    return Json(static_cast<double>(v));
}

namespace {

Json FieldJson(int16_t v) {
    return Json(v);
}
Json FieldJson(float v) {
    return F(v);
}
Json FieldJson(const std::string& v) {
    return Json(v);
}

}  // namespace

Json CoilSpecJson(const CoilSpec& s) {
    Json j = Json::object();
    EachCoilSpecField(s, [&j](const char* key, const auto& v) { j[key] = FieldJson(v); });
    return j;
}

Json CoilRatingJson(const CoilRating& r) {
    Json j = Json::object();
    EachCoilRatingField(r, [&j](const char* key, const auto& v) { j[key] = FieldJson(v); });
    return j;
}

// Engineering warnings: [{"code": ..., "text": ...}, ...], [] when none.
Json WarningsJson(const std::vector<CoilWarning>& warnings) {
    Json a = Json::array();
    for (const CoilWarning& w : warnings) a.push_back({{"code", w.code}, {"text", w.text}});
    return a;
}

// The result object of one coil.
Json ResultJson(const RatedCoil& c) {
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
