// kvn-rate --select: a duty and a construction space in JSON, the ranked
// candidates out.
//
// Input: one JSON object with the coil field keys as for rating, where a
// construction key may be an array of alternatives, a "Duty" object of
// limits (JSON numbers), an optional "FluidRise" in place of "Gpm" and an
// optional "Top" (10). Output: see SelectionJson.
#pragma once

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "common/selection.h"
#include "tools/rate_json.h"

namespace kvnrate {

inline const char kSelectHelp[] = R"HELP(
Selection (--select)
  kvn-rate --select [--jobs N] [--pretty] [FILE]
  searches a construction space for the smallest coils that meet a duty.
  The input is one JSON object: the coil's field keys as for rating, where
  any of Pattern TubeWall FinMat FinThk FPI RD TH FL Circuits may instead be
  a JSON array of alternatives (each a text or a number), and:
    "Duty"       limits as JSON numbers, any of: TotalBtuh, SensibleBtuh
                 (minimum Btu/h), LatDbMax, LatDbMin, LatWbMax (leaving air,
                 F), AirPDMax (in. w.g.), FluidPDMax (as the grid shows it:
                 ft of water for water and glycol), FaceVelocityMax (ft/min),
                 TubeVelocityMin, TubeVelocityMax (ft/s, water and glycol)
    "FluidRise"  F, water and glycol coils, in place of "Gpm": each candidate
                 is rated at the flow whose leaving fluid is that far from
                 the entering fluid (within 0.05 F; none: infeasible)
    "Top"        how many candidates to list (default 10)
  Absent construction keys search: RD 1 to 10, FPI 6 to 14, Circuits the
  whole numbers among 2 TH, TH, 3/4 TH, 1/2 TH, 1/3 TH, 1/4 TH, Pattern
  "5", FinMat "A", and the tube's default wall and fin thickness. TH and FL
  have no default.
  Every candidate is rated as "Calculate" rates it. Those meeting every
  limit are ranked: smallest outside surface (PrimaryArea + SecondaryArea)
  first, then fewer rows, fewer FPI, lower air PD, lower fluid PD, fewer
  circuits. Output, one JSON object:
    {"ok": true, "searched": N, "rated": N, "feasible": N,
     "candidates": [{"rank": 1, "coil": {field texts, ready to rate},
        "CoilRating": {...}, "grid": [...], "model": "...",
        "OutsideArea": ft2, "margins": {duty key: distance inside it}}]}
  "rated" counts every rating run, the flow search's included. When nothing
  meets the duty, "candidates" is empty and "closest" holds the candidate
  with the smallest sum of relative shortfalls over the limits it breaks
  (capacity, pressure drop and velocity by the limit; leaving temperatures
  by the entering dry bulb's distance from the limit; a missed rise by the
  rise), with "breaks" listing them. A duty that cannot be searched answers
  {"ok": false, "error": ...} with exit status 2.
  --jobs N     rate on N threads (0: every core)
)HELP";

// "Duty": the limits, each a known duty key with a JSON number.
inline bool ReadDuty(const nlohmann::json& value, selection::SearchSpec& query, std::string& error) {
    if (!value.is_object()) {
        error = "\"Duty\" must be a JSON object of limits";
        return false;
    }
    for (auto d = value.begin(); d != value.end(); ++d) {
        if (!selection::IsDutyKey(d.key())) {
            error = "unknown duty key \"" + d.key() + "\"";
            return false;
        }
        if (!d.value().is_number()) {
            error = "the duty limit \"" + d.key() + "\" is not a number";
            return false;
        }
        query.duty[d.key()] = d.value().get<double>();
    }
    return true;
}

inline bool ReadFluidRise(const nlohmann::json& value, selection::SearchSpec& query, std::string& error) {
    if (!value.is_number()) {
        error = "\"FluidRise\" is not a number";
        return false;
    }
    query.fluidRise = value.get<double>();
    return true;
}

inline bool ReadTop(const nlohmann::json& value, int& top, std::string& error) {
    if (!value.is_number_integer() || value.get<long long>() < 0 || value.get<long long>() > 100000) {
        error = "\"Top\" must be a whole number from 0";
        return false;
    }
    top = static_cast<int>(value.get<long long>());
    return true;
}

// A construction key given as a list of alternatives, texts or numbers.
inline bool ReadAlternatives(const std::string& key, const Json& list, selection::SearchSpec& query,
                             std::string& error) {
    const auto& construction = selection::ConstructionKeys();
    if (std::find(construction.begin(), construction.end(), key) == construction.end()) {
        error = "\"" + key + "\" is not a construction field and cannot be a list of alternatives";
        return false;
    }
    std::vector<std::string>& texts = query.choices[key];
    for (const Json& v : list) {
        std::string t;
        if (!ValueText(v, t)) {
            error = "the alternatives of \"" + key + "\" must be texts or numbers";
            return false;
        }
        texts.push_back(t);
    }
    return true;
}

// The search query and list length of a selection input.
inline bool SelectSpecFromJson(const std::string& text, selection::SearchSpec& query, int& top,
                               std::string& error, std::vector<std::string>* ignored = nullptr) {
    Json fieldsJson;  // numbers as their texts, for the fields
    if (!ParseJsonText(text, fieldsJson, error)) return false;
    if (!fieldsJson.is_object()) {
        error = "the selection input must be one JSON object";
        return false;
    }
    const nlohmann::json plain = nlohmann::json::parse(text, nullptr, false);
    Json coil = Json::object();
    query = selection::SearchSpec();
    top = 10;
    for (auto it = fieldsJson.begin(); it != fieldsJson.end(); ++it) {
        const std::string& key = it.key();
        static const nlohmann::json none;
        const nlohmann::json& value = plain.is_object() && plain.contains(key) ? plain.at(key) : none;
        bool read = true;
        if (key == "Duty")
            read = ReadDuty(value, query, error);
        else if (key == "FluidRise")
            read = ReadFluidRise(value, query, error);
        else if (key == "Top")
            read = ReadTop(value, top, error);
        else if (it.value().is_array())
            read = ReadAlternatives(key, it.value(), query, error);
        else
            coil[key] = it.value();
        if (!read) return false;
    }
    return FieldsFromJson(coil, query.fixed, query.airFlowMode, error, ignored) &&
           selection::CompleteSpec(query, error);
}

// The "coil" object of a candidate: its field texts, ready to rate.
inline Json CandidateCoilJson(const selection::Candidate& c, int airFlowMode) {
    Json coil = Json::object();
    for (const std::string& key : FieldKeys()) {
        const auto it = c.fields.find(key);
        if (it != c.fields.end()) coil[key] = it->second;
    }
    if (airFlowMode != kAirFlowAcfm) coil["AirFlowMode"] = airFlowMode;
    return coil;
}

inline Json CandidateJson(const selection::Candidate& c, int airFlowMode) {
    Json j = Json::object();
    j["coil"] = CandidateCoilJson(c, airFlowMode);
    j["CoilRating"] = CoilRatingJson(c.rating);
    Json grid = Json::array();
    for (const GridRow& row : c.result.grid) grid.push_back({row.label, row.value});
    j["grid"] = grid;
    const auto tube = c.fields.find("Pattern");
    j["model"] =
        BuildModelDesignation(c.coilSpec, c.rating, tube == c.fields.end() ? std::string() : tube->second);
    j["OutsideArea"] = F(c.outsideArea);
    Json margins = Json::object();
    for (const selection::Margin& m : c.margins) margins[m.key] = F(m.value);
    j["margins"] = margins;
    return j;
}

// The answer of a finished search.
inline Json SelectionJson(const selection::SearchResult& r, const selection::SearchSpec& query, int top) {
    Json j = Json::object();
    if (!r.error.empty()) {
        j["ok"] = false;
        j["error"] = r.error;
        return j;
    }
    j["ok"] = true;
    j["searched"] = r.searched;
    j["rated"] = r.rated;
    j["feasible"] = r.feasible;
    Json list = Json::array();
    for (std::size_t i = 0; i < r.ranked.size() && static_cast<int>(i) < top; ++i) {
        Json c = Json::object();
        c["rank"] = i + 1;
        c.update(CandidateJson(r.ranked[i], query.airFlowMode));
        list.push_back(std::move(c));
    }
    j["candidates"] = list;
    if (r.closest) {
        Json c = CandidateJson(*r.closest, query.airFlowMode);
        c["breaks"] = r.closest->broken;
        j["closest"] = c;
    }
    return j;
}

// kvn-rate --select on an input text; writes the answer to `out` and
// returns the exit status.
inline int RunSelection(const std::string& text, bool pretty, int jobs, std::string& out) {
    selection::SearchSpec query;
    int top = 10;
    std::string error;
    std::vector<std::string> ignored;
    Json answer;
    int status = kExitOk;
    if (!ParseJsonText(text, answer, error)) {
        std::fprintf(stderr, "kvn-rate: %s\n", error.c_str());
        return kExitUsage;
    }
    if (!SelectSpecFromJson(text, query, top, error, &ignored)) {
        answer = {{"ok", false}, {"error", error}};
        status = kExitValidation;
    } else {
        for (const std::string& key : ignored)
            std::fprintf(stderr, "kvn-rate: unknown key \"%s\" ignored\n", key.c_str());
        query.jobs = jobs;
        answer = SelectionJson(selection::Search(query), query, top);
        if (!answer["ok"].get<bool>()) status = kExitValidation;
    }
    out = answer.dump(pretty ? 1 : -1, ' ', false, Json::error_handler_t::replace);
    out += '\n';
    return status;
}

}  // namespace kvnrate
