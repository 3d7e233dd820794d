// kvn-rate --select: a duty and a construction space in JSON, the ranked
// candidates out.
#include "tools/select_json.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "common/model_designation.h"

namespace kvnrate {

const char kSelectHelp[] = R"HELP(
Selection (--select)
  kvn-rate --select [--jobs N] [--pretty] [FILE]
  searches a construction space for the smallest coils that meet a duty.
  The input is one JSON object: the coil's field keys as for rating, where
  any of Pattern TubeWall FinMat FinThk FPI RD TH FL Circuits may instead be
  a JSON array of alternatives (each a text or a number), and:
    "Duty"       limits as JSON numbers, any of: TotalBtuh, SensibleBtuh
                 (minimum Btu/h), LatDbMax, LatDbMin, LatWbMax (leaving air,
                 F), AirPDMax (in. w.g.), FluidPDMax (as the grid shows it:
                 ft of water for water and glycol, psi for refrigerant),
                 FaceVelocityMax (ft/min), TubeVelocityMin, TubeVelocityMax
                 (ft/s, water and glycol). With --units si: TotalKW,
                 SensibleKW (kW), LatDbMax, LatDbMin, LatWbMax (C), AirPDMax
                 (Pa), FluidPDMax (kPa), FaceVelocityMax, TubeVelocityMin,
                 TubeVelocityMax (m/s); a key of the other unit system is
                 refused (exit status 2)
    "FluidRise"  F (K with --units si), water and glycol coils, in place of
                 "Gpm": each candidate is rated at the flow whose leaving
                 fluid is that far from the entering fluid (within 0.05 F;
                 none: infeasible)
    "AllowWarnings"  warning codes the search lets in (see below)
    "Top"        how many candidates to list (default 10)
  Absent construction keys search: RD 1 to 10, FPI 6 to 14, Circuits the
  whole numbers among 2 TH, TH, 3/4 TH, 1/2 TH, 1/3 TH, 1/4 TH, Pattern
  "5", FinMat "A", and the tube's default wall and fin thickness. TH and FL
  have no default.
  Default limits, the engineering limits of the warnings, apply unless the
  duty sets the limit key or lets the warning in:
    TubeVelocityMin 1 ft/s (0.30 m/s)   water and glycol  tube-velocity-low
    TubeVelocityMax 8 ft/s (2.44 m/s),  water and glycol  tube-velocity-high
      5 ft/s (1.52 m/s) with fluid entering above 140 F (60 C)
    FluidPDMax 20 ft of water (59.8 kPa)  water and glycol
    face velocity at most 500 ft/min (2.54 m/s) on a coil that ends wet
      (refused as the warning face-velocity-wet; FaceVelocityMax replaces it)
    no laminar tube flow (laminar-flow), no freeze risk (freeze-risk)
  A duty limit key tightens or relaxes its limit; "AllowWarnings", e.g.
  ["laminar-flow", "tube-velocity-low"], drops a default.
  Every candidate is rated as "Calculate" rates it. Those meeting every
  limit are ranked: smallest outside surface (PrimaryArea + SecondaryArea)
  first, then fewer rows, fewer FPI, lower air PD, lower fluid PD, fewer
  circuits. The outside surface, the rows and the FPI are known before
  rating, so the candidates are rated in that order, and the search stops
  once no candidate left can rank among the first "Top": the list is the
  one rating every candidate would give. Output, one JSON object:
    {"ok": true, "searched": N, "rated": N, "skipped": N, "feasible": N,
     "limits": {limit key: the limit applied, "refused": [warning codes]},
     "candidates": [{"rank": 1, "coil": {field texts, ready to rate},
        "CoilRating": {...}, "grid": [...], "model": "...",
        "OutsideArea": ft2 (m2), "margins": {duty key: distance inside it},
        "warnings": [{"code": ..., "text": ...}]}]}
  With --units si the answer has "units": "SI" after "ok"; limits, margins,
  the grid and the candidates' "coil" texts are SI (each "coil" rates to
  the same coil with --units si); "CoilRating" stays inch-pound.
  "rated" counts every rating run, the flow search's included; "skipped"
  the candidates left unrated as certain to rank lower; "feasible" those
  meeting the duty among the ones rated. When nothing
  meets the duty (every candidate rated), "candidates" is empty and "closest" holds the candidate
  with the smallest sum of relative shortfalls over the limits it breaks
  (capacity, pressure drop and velocity by the limit; leaving temperatures
  by the entering dry bulb's distance from the limit; a missed rise by the
  rise, 1 for each refused warning), with "breaks" listing them and
  "missed" telling how in words ("total capacity 3.2 % short"). A duty that cannot be searched answers
  {"ok": false, "error": ...} with exit status 2.
  --jobs N     rate on N threads (0: every core)
)HELP";

namespace {

// "Duty": the limits, each a JSON number.
bool ReadDuty(const nlohmann::json& value, SelectInput& in, std::string& error) {
    if (!value.is_object()) {
        error = "\"Duty\" must be a JSON object of limits";
        return false;
    }
    for (auto d = value.begin(); d != value.end(); ++d) {
        std::string ipKey;
        if (!selection::DutyKeyFrom(in.system, d.key(), ipKey, error)) return false;
        if (!d.value().is_number()) {
            error = "the duty limit \"" + d.key() + "\" is not a number";
            return false;
        }
        in.duty[d.key()] = d.value().get<double>();
    }
    return true;
}

bool ReadFluidRise(const nlohmann::json& value, SelectInput& in, std::string& error) {
    if (!value.is_number()) {
        error = "\"FluidRise\" is not a number";
        return false;
    }
    in.rise = value.get<double>();
    return true;
}

// "AllowWarnings": the warning codes the search lets in.
bool ReadAllowWarnings(const nlohmann::json& value, selection::SearchSpec& query, std::string& error) {
    if (!value.is_array()) {
        error = "\"AllowWarnings\" must be a JSON array of warning codes";
        return false;
    }
    for (const nlohmann::json& code : value) {
        if (!code.is_string()) {
            error = "\"AllowWarnings\" must be a JSON array of warning codes";
            return false;
        }
        query.allowWarnings.push_back(code.get<std::string>());
    }
    return true;
}

bool ReadTop(const nlohmann::json& value, int& top, std::string& error) {
    if (!value.is_number_integer() || value.get<long long>() < 0 || value.get<long long>() > 100000) {
        error = "\"Top\" must be a whole number from 0";
        return false;
    }
    top = static_cast<int>(value.get<long long>());
    return true;
}

// The duty and the rise of `in` in inch-pound units, for the coil type.
void ConvertDuty(const SelectInput& in, selection::SearchSpec& query) {
    const auto app = query.fixed.find("Application");
    const std::string application = app == query.fixed.end() ? std::string() : app->second;
    for (const auto& [key, value] : in.duty) {
        std::string ipKey, unused;
        selection::DutyKeyFrom(in.system, key, ipKey, unused);
        query.duty[ipKey] = selection::DutyToInchPound(in.system, application, ipKey, value);
    }
    if (in.rise) query.fluidRise = selection::RiseToInchPound(in.system, *in.rise);
}

// A construction key given as a list of alternatives, texts or numbers.
bool ReadAlternatives(const std::string& key, const Json& list, selection::SearchSpec& query,
                      selection::ShownTexts& shown, std::string& error) {
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
        texts.push_back(shown.ToInchPound(key, t));
    }
    return true;
}

// The limits a search applied, in the input's units, and the warnings it
// refused.
Json LimitsJson(const selection::SearchSpec& query, units::System system) {
    const auto app = query.fixed.find("Application");
    const std::string application = app == query.fixed.end() ? std::string() : app->second;
    Json j = Json::object();
    for (const std::string& key : selection::DutyKeys()) {
        const auto it = query.duty.find(key);
        if (it == query.duty.end()) continue;
        // 12 digits: a limit given in SI comes back as given.
        char text[32];
        std::snprintf(text, sizeof text, "%.12g",
                      selection::DutyFromInchPound(system, application, key, it->second));
        j[selection::DutyKeyIn(system, key)] = std::strtod(text, nullptr);
    }
    j["refused"] = query.refused;
    return j;
}

// The "coil" object of a candidate: its field texts in the input's units,
// ready to rate with the same --units.
Json CandidateCoilJson(const selection::Candidate& c, int airFlowMode, const selection::ShownTexts& shown) {
    Json coil = Json::object();
    for (const std::string& key : FieldKeys()) {
        const auto it = c.fields.find(key);
        if (it != c.fields.end()) coil[key] = shown.Shown(key, it->second);
    }
    if (airFlowMode != kAirFlowAcfm) coil["AirFlowMode"] = airFlowMode;
    return coil;
}

Json CandidateJson(const selection::Candidate& c, int airFlowMode, const selection::ShownTexts& shown) {
    const units::System system = shown.System();
    const bool si = system == units::System::SI;
    const auto app = c.fields.find("Application");
    const std::string application = app == c.fields.end() ? std::string() : app->second;
    Json j = Json::object();
    j["coil"] = CandidateCoilJson(c, airFlowMode, shown);
    j["CoilRating"] = CoilRatingJson(c.rating);
    Json grid = Json::array();
    for (const GridRow& row :
         si ? units::GridRows(system, c.result.grid, c.coilSpec, c.rating) : c.result.grid)
        grid.push_back({row.label, row.value});
    j["grid"] = grid;
    const auto tube = c.fields.find("Pattern");
    j["model"] =
        BuildModelDesignation(c.coilSpec, c.rating, tube == c.fields.end() ? std::string() : tube->second);
    j["OutsideArea"] =
        F(si ? static_cast<float>(units::ToSI(units::Quantity::Area, c.outsideArea)) : c.outsideArea);
    Json margins = Json::object();
    for (const selection::Margin& m : c.margins)
        margins[selection::DutyKeyIn(system, m.key)] =
            F(static_cast<float>(selection::DutyFromInchPound(system, application, m.key, m.value, true)));
    j["margins"] = margins;
    std::vector<CoilWarning> warnings = c.result.warnings;
    for (CoilWarning& w : warnings) w.text = WarningText(system, w.text);
    j["warnings"] = WarningsJson(warnings);
    return j;
}

}  // namespace

// The search query and list length of a selection input whose texts and
// duty are in `in.system`; `in` keeps the texts as given.
bool SelectSpecFromJson(const std::string& text, selection::SearchSpec& query, int& top, SelectInput& in,
                        std::string& error, std::vector<std::string>* ignored) {
    Json fieldsJson;  // numbers as their texts, for the fields
    if (!ParseJsonText(text, fieldsJson, error)) return false;
    if (!fieldsJson.is_object()) {
        error = "the selection input must be one JSON object";
        return false;
    }
    const nlohmann::json plain = nlohmann::json::parse(text, nullptr, false);
    Json coil = Json::object();
    query = selection::SearchSpec();
    in.shown = selection::ShownTexts(in.system);
    top = 10;
    for (auto it = fieldsJson.begin(); it != fieldsJson.end(); ++it) {
        const std::string& key = it.key();
        static const nlohmann::json none;
        const nlohmann::json& value = plain.is_object() && plain.contains(key) ? plain.at(key) : none;
        bool read = true;
        if (key == "Duty")
            read = ReadDuty(value, in, error);
        else if (key == "FluidRise")
            read = ReadFluidRise(value, in, error);
        else if (key == "AllowWarnings")
            read = ReadAllowWarnings(value, query, error);
        else if (key == "Top")
            read = ReadTop(value, top, error);
        else if (it.value().is_array())
            read = ReadAlternatives(key, it.value(), query, in.shown, error);
        else
            coil[key] = it.value();
        if (!read) return false;
    }
    if (!FieldsFromJson(coil, query.fixed, query.airFlowMode, error, ignored)) return false;
    for (auto& [key, t] : query.fixed) t = in.shown.ToInchPound(key, t);
    ConvertDuty(in, query);
    query.top = top;
    return selection::CompleteSpec(query, error);
}

// The answer of a finished search.
Json SelectionJson(const selection::SearchResult& r, const selection::SearchSpec& query, int top,
                   const selection::ShownTexts& shown) {
    const units::System system = shown.System();
    Json j = Json::object();
    if (!r.error.empty()) {
        j["ok"] = false;
        j["error"] = r.error;
        return j;
    }
    j["ok"] = true;
    if (system == units::System::SI) j["units"] = "SI";
    j["searched"] = r.searched;
    j["rated"] = r.rated;
    j["skipped"] = r.skipped;
    j["feasible"] = r.feasible;
    j["limits"] = LimitsJson(query, system);
    Json list = Json::array();
    for (std::size_t i = 0; i < r.ranked.size() && static_cast<int>(i) < top; ++i) {
        Json c = Json::object();
        c["rank"] = i + 1;
        c.update(CandidateJson(r.ranked[i], query.airFlowMode, shown));
        list.push_back(std::move(c));
    }
    j["candidates"] = list;
    if (r.closest) {
        Json c = CandidateJson(*r.closest, query.airFlowMode, shown);
        std::vector<std::string> breaks;
        for (const std::string& b : r.closest->broken) breaks.push_back(selection::DutyKeyIn(system, b));
        c["breaks"] = breaks;
        c["missed"] = selection::MissedInWords(*r.closest, query, system == units::System::SI);
        j["closest"] = c;
    }
    return j;
}

// kvn-rate --select on an input text; writes the answer to `out` and
// returns the exit status.
int RunSelection(const std::string& text, bool pretty, int jobs, std::string& out, units::System system) {
    selection::SearchSpec query;
    SelectInput in;
    in.system = system;
    int top = 10;
    std::string error;
    std::vector<std::string> ignored;
    Json answer;
    int status = kExitOk;
    if (!ParseJsonText(text, answer, error)) {
        std::fprintf(stderr, "kvn-rate: %s\n", error.c_str());
        return kExitUsage;
    }
    if (!SelectSpecFromJson(text, query, top, in, error, &ignored)) {
        answer = {{"ok", false}, {"error", error}};
        status = kExitValidation;
    } else {
        for (const std::string& key : ignored)
            std::fprintf(stderr, "kvn-rate: unknown key \"%s\" ignored\n", key.c_str());
        query.jobs = jobs;
        answer = SelectionJson(selection::Search(query), query, top, in.shown);
        if (!answer["ok"].get<bool>()) status = kExitValidation;
    }
    out = answer.dump(pretty ? 1 : -1, ' ', false, Json::error_handler_t::replace);
    out += '\n';
    return status;
}

}  // namespace kvnrate
