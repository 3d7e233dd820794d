#include "common/selection.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "common/catalogue.h"
#include "common/numfmt.h"
#include "common/parallel.h"
#include "common/selection_internal.h"
#include "common/warnings.h"

namespace selection {

namespace detail {

const LimitDef kLimits[10] = {
    {"TotalBtuh", Sense::Min, &CoilRating::TotalBtuh, false},
    {"SensibleBtuh", Sense::Min, &CoilRating::SensibleBtuh, false},
    {"LatDbMax", Sense::Max, &CoilRating::LatDb, true},
    {"LatDbMin", Sense::Min, &CoilRating::LatDb, true},
    {"LatWbMax", Sense::Max, &CoilRating::LatWb, true},
    {"AirPDMax", Sense::Max, &CoilRating::AirPD, false},
    {"FluidPDMax", Sense::Max, &CoilRating::FluidPD, false},
    {"FaceVelocityMax", Sense::Max, &CoilRating::FaceVelocity, false},
    {"TubeVelocityMin", Sense::Min, &CoilRating::TubeVelocity, false},
    {"TubeVelocityMax", Sense::Max, &CoilRating::TubeVelocity, false},
};

}  // namespace detail

using detail::IsLiquid;
using detail::IsSteam;
using detail::kLimits;
using detail::LimitDef;
using detail::Sense;
using detail::Text;

namespace {

std::vector<std::string> Range(int from, int to) {
    std::vector<std::string> v;
    for (int i = from; i <= to; ++i) v.push_back(std::to_string(i));
    return v;
}

}  // namespace

const std::vector<std::string>& ConstructionKeys() {
    static const std::vector<std::string> keys = {"Pattern", "TubeWall", "FinMat",   "FinThk", "FPI",
                                                  "TH",      "FL",       "Circuits", "RD"};
    return keys;
}

const std::vector<std::string>& DutyKeys() {
    static const std::vector<std::string> keys = [] {
        std::vector<std::string> k;
        for (const LimitDef& d : kLimits) k.push_back(d.key);
        return k;
    }();
    return keys;
}

bool IsDutyKey(const std::string& key) {
    const auto& k = DutyKeys();
    return std::find(k.begin(), k.end(), key) != k.end();
}

TubeDefaults DefaultsForTube(const std::string& application, const std::string& pattern) {
    const catalogue::TubeConstruction* c =
        catalogue::FindTubeConstruction(pattern, CoilTypeOf(application) == CoilType::Steam);
    if (!c) return {};
    return {std::string(c->wallText), std::string(c->finText)};
}

std::vector<std::string> DefaultCircuits(const std::string& tubesHigh) {
    std::vector<std::string> out;
    const double th = numfmt::Val(tubesHigh);
    if (!(th >= 1) || th > 32767 || th != std::floor(th)) return out;
    const int n = static_cast<int>(th);
    const std::pair<int, int> fractions[] = {{2, 1}, {1, 1}, {3, 4}, {1, 2}, {1, 3}, {1, 4}};
    for (const auto& [num, den] : fractions) {
        if ((n * num) % den != 0) continue;
        const std::string c = std::to_string(n * num / den);
        if (std::find(out.begin(), out.end(), c) == out.end()) out.push_back(c);
    }
    return out;
}

std::string FlowText(double gpm) {
    std::string s = numfmt::FormatF64(gpm, "0.000");
    while (!s.empty() && s.back() == '0') s.pop_back();
    if (!s.empty() && s.back() == '.') s.pop_back();
    return s;
}

int EffectiveJobs(int jobs) {
    return static_cast<int>(ThreadCount(static_cast<unsigned>(std::max(jobs, 0))));
}

namespace {

// The duty's limits and the fluid rise: known keys, numbers in range, and
// only where the coil type has the quantity.
bool CheckLimits(const SearchSpec& query, const std::string& app, std::string& error) {
    for (const auto& [key, value] : query.duty) {
        if (!IsDutyKey(key)) {
            error = "unknown duty key \"" + key + "\"";
            return false;
        }
        if (!std::isfinite(value) || std::fabs(value) > FLT_MAX) {
            error = "the duty limit \"" + key + "\" is not a number in range";
            return false;
        }
    }
    for (const std::vector<std::string>* codes : {&query.allowWarnings, &query.refused}) {
        for (const std::string& code : *codes) {
            const auto& known = LimitingWarnings();
            if (std::find(known.begin(), known.end(), code) == known.end()) {
                error = "\"" + code + "\" is not a warning a search can let in or refuse";
                return false;
            }
        }
    }
    for (const char* key : {"TubeVelocityMin", "TubeVelocityMax"}) {
        if (query.duty.count(key) && !IsLiquid(app)) {
            error = std::string("\"") + key + "\" applies to water and glycol coils only";
            return false;
        }
    }
    if (!query.fluidRise) return true;
    if (!IsLiquid(app)) {
        error = "\"FluidRise\" applies to water and glycol coils only";
        return false;
    }
    const double rise = *query.fluidRise;
    if (!std::isfinite(rise) || !(rise > 0) || rise > 1000) {
        error = "\"FluidRise\" must be a positive number of degrees";
        return false;
    }
    return true;
}

// The alternatives of a key as the query gives them (one fixed text, or none).
std::vector<std::string> Given(const SearchSpec& query, const std::string& key) {
    const auto it = query.choices.find(key);
    if (it != query.choices.end()) return it->second;
    return {Text(query.fixed, key)};
}

// The defaults that depend on other fields must exist for every value of
// those fields.
bool CheckDerivedDefaults(const SearchSpec& query, const std::string& app, bool wallAndFin, bool circuits,
                          std::string& error) {
    for (const std::string& p : wallAndFin ? Given(query, "Pattern") : std::vector<std::string>{}) {
        if (DefaultsForTube(app, p).wall.empty()) {
            error = "tube \"" + p +
                    "\" has no default wall and fin thickness for this coil type; give "
                    "\"TubeWall\" and \"FinThk\"";
            return false;
        }
    }
    for (const std::string& th : circuits ? Given(query, "TH") : std::vector<std::string>{}) {
        if (DefaultCircuits(th).empty()) {
            error = "\"TH\" " + th + " is not a whole number of tubes; give \"Circuits\"";
            return false;
        }
    }
    return true;
}

bool Allowed(const SearchSpec& query, const std::string& code) {
    return std::find(query.allowWarnings.begin(), query.allowWarnings.end(), code) !=
           query.allowWarnings.end();
}

// The default limits the duty neither sets nor lets in. A limit key of the
// duty replaces the warning of the same quantity.
void AddDefaultLimits(SearchSpec& query) {
    const DefaultLimitSet d = DefaultLimits(query.fixed);
    const std::map<std::string, std::string> codeOfKey = {{"TubeVelocityMin", "tube-velocity-low"},
                                                          {"TubeVelocityMax", "tube-velocity-high"}};
    for (const auto& [key, value] : d.duty) {
        const auto code = codeOfKey.find(key);
        if (!query.duty.count(key) && !(code != codeOfKey.end() && Allowed(query, code->second)))
            query.duty[key] = value;
    }
    query.refused.clear();
    for (const std::string& code : d.refused)
        if (!Allowed(query, code) && !(code == "face-velocity-wet" && query.duty.count("FaceVelocityMax")))
            query.refused.push_back(code);
}

}  // namespace

const std::vector<std::string>& LimitingWarnings() {
    static const std::vector<std::string> codes = {"face-velocity-wet", "tube-velocity-low",
                                                   "tube-velocity-high", "laminar-flow", "freeze-risk"};
    return codes;
}

DefaultLimitSet DefaultLimits(const FieldTexts& fixed) {
    constexpr double kFluidDropMax = 20;  // ft of water
    DefaultLimitSet d;
    if (IsLiquid(Text(fixed, "Application"))) {
        const bool hot = numfmt::Val(Text(fixed, "EntFluidTemp")) > Limit(kHotFluidTemp);
        d.duty["TubeVelocityMin"] = Limit(kTubeVelocityMin);
        d.duty["TubeVelocityMax"] = hot ? Limit(kHotTubeVelocityMax) : Limit(kTubeVelocityMax);
        d.duty["FluidPDMax"] = kFluidDropMax;
    }
    d.refused = {"face-velocity-wet", "laminar-flow", "freeze-risk"};
    return d;
}

std::string LimitWords(const std::string& key) {
    static const std::map<std::string, std::string> words = {
        {"TotalBtuh", "total capacity"},
        {"SensibleBtuh", "sensible capacity"},
        {"LatDbMax", "leaving dry bulb"},
        {"LatDbMin", "leaving dry bulb"},
        {"LatWbMax", "leaving wet bulb"},
        {"AirPDMax", "air pressure drop"},
        {"FluidPDMax", "fluid pressure drop"},
        {"FaceVelocityMax", "face velocity"},
        {"TubeVelocityMin", "tube velocity"},
        {"TubeVelocityMax", "tube velocity"},
        {"FluidRise", "fluid rise not reached"},
        {"face-velocity-wet", "condensate carryover (wet face velocity)"},
        {"tube-velocity-low", "tube velocity too low"},
        {"tube-velocity-high", "tube velocity too high"},
        {"laminar-flow", "laminar tube flow"},
        {"freeze-risk", "freeze risk"},
    };
    const auto it = words.find(key);
    return it == words.end() ? key : it->second;
}

namespace {

// How far outside a limit a margin lies: "3.2 % short", "1.5 °F too high".
std::string HowFar(const LimitDef& def, float margin, double limit, bool siTemperatures) {
    if (def.temperature) {
        const char* side = def.sense == Sense::Min ? " too low" : " too high";
        return numfmt::FormatF64(-margin / (siTemperatures ? 1.8 : 1.0), "0.0") +
               (siTemperatures ? " K"
                               : " \xC2\xB0"
                                 "F") +
               side;
    }
    const bool capacity = def.field == &CoilRating::TotalBtuh || def.field == &CoilRating::SensibleBtuh;
    const char* side = def.sense == Sense::Max ? " over" : capacity ? " short" : " under";
    return numfmt::FormatF64(-margin / std::max(1e-3, std::fabs(limit)) * 100, "0.0") + " %" + side;
}

}  // namespace

std::string MissedInWords(const Candidate& c, const SearchSpec& query, bool siTemperatures) {
    std::string out;
    for (const std::string& key : c.broken) {
        std::string part = LimitWords(key);
        const auto def = std::find_if(std::begin(kLimits), std::end(kLimits),
                                      [&key](const LimitDef& d) { return key == d.key; });
        const auto m = std::find_if(c.margins.begin(), c.margins.end(),
                                    [&key](const Margin& g) { return g.key == key; });
        const auto limit = query.duty.find(key);
        if (def != std::end(kLimits) && m != c.margins.end() && limit != query.duty.end())
            part += " " + HowFar(*def, m->value, limit->second, siTemperatures);
        out += (out.empty() ? "" : ", ") + part;
    }
    return out;
}

bool CompleteSpec(SearchSpec& query, std::string& error) {
    const std::string app = Text(query.fixed, "Application");
    if (!CheckLimits(query, app, error)) return false;
    if (query.defaultLimits) AddDefaultLimits(query);
    if (query.fluidRise) query.fixed.erase("Gpm");
    const auto& keys = ConstructionKeys();
    for (auto& [key, list] : query.choices) {
        if (std::find(keys.begin(), keys.end(), key) == keys.end()) {
            error = "\"" + key + "\" is not a construction field and cannot have alternatives";
            return false;
        }
        if (list.empty()) {
            error = "no alternatives given for \"" + key + "\"";
            return false;
        }
        query.fixed.erase(key);
    }
    auto given = [&query](const std::string& key) {
        return query.choices.count(key) || !Text(query.fixed, key).empty();
    };
    for (const char* key : {"TH", "FL"}) {
        if (!given(key)) {
            error = std::string("\"") + key + "\" must be given: it has no default";
            return false;
        }
    }
    if (!given("RD")) query.choices["RD"] = Range(1, 10);
    if (!given("FPI")) query.choices["FPI"] = Range(6, 14);
    if (!given("Pattern")) query.choices["Pattern"] = {"5"};
    if (!given("FinMat")) query.choices["FinMat"] = {"A"};
    // Wall, fin thickness and circuits default per tube and tube height
    // (filled in by the enumeration).
    return CheckDerivedDefaults(query, app, !given("TubeWall") || !given("FinThk"),
                                !given("Circuits") && !IsSteam(app), error);
}

std::vector<FieldTexts> EnumerateCandidates(const SearchSpec& query) {
    std::vector<FieldTexts> out;
    const std::string app = Text(query.fixed, "Application");
    const auto& keys = ConstructionKeys();
    FieldTexts f = query.fixed;
    // Alternatives of key i given what is chosen so far.
    auto alternatives = [&](const std::string& key) -> std::vector<std::string> {
        const auto it = query.choices.find(key);
        if (it != query.choices.end()) return it->second;
        if (!Text(query.fixed, key).empty()) return {Text(query.fixed, key)};
        if (key == "TubeWall") return {DefaultsForTube(app, Text(f, "Pattern")).wall};
        if (key == "FinThk") return {DefaultsForTube(app, Text(f, "Pattern")).fin};
        if (key == "Circuits" && !IsSteam(app)) return DefaultCircuits(Text(f, "TH"));
        return {std::string()};
    };
    auto recurse = [&](auto& self, std::size_t i) -> void {
        if (i == keys.size()) {
            out.push_back(f);
            return;
        }
        for (const std::string& v : alternatives(keys[i])) {
            f[keys[i]] = v;
            self(self, i + 1);
        }
    };
    recurse(recurse, 0);
    return out;
}

bool RanksBefore(const Candidate& a, const Candidate& b) {
    const CoilRating& ra = a.rating;
    const CoilRating& rb = b.rating;
    if (a.outsideArea != b.outsideArea) return a.outsideArea < b.outsideArea;
    if (a.coilSpec.RD != b.coilSpec.RD) return a.coilSpec.RD < b.coilSpec.RD;
    if (a.coilSpec.FPI != b.coilSpec.FPI) return a.coilSpec.FPI < b.coilSpec.FPI;
    if (ra.AirPD != rb.AirPD) return ra.AirPD < rb.AirPD;
    if (ra.FluidPD != rb.FluidPD) return ra.FluidPD < rb.FluidPD;
    if (a.coilSpec.Circuits != b.coilSpec.Circuits) return a.coilSpec.Circuits < b.coilSpec.Circuits;
    return a.index < b.index;
}

}  // namespace selection
