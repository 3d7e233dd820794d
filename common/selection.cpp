#include "common/selection.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <numeric>
#include <thread>

#include "common/catalogue.h"
#include "common/parallel.h"

#include "common/numfmt.h"
#include "common/warnings.h"
#include "engine/coil_type.h"
#include "engine/coilcalc.h"
#include "engine/msgbox.h"
#include "engine/rterror.h"

namespace selection {

namespace {

// Ends a search when a cancel request arrives.
struct Cancelled {};

enum class Sense { Min, Max };

struct LimitDef {
    const char* key;
    Sense sense;
    float CoilRating::*field;
    bool temperature;
};

const LimitDef kLimits[] = {
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

const std::string& Text(const FieldTexts& f, const std::string& key) {
    static const std::string empty;
    const auto it = f.find(key);
    return it == f.end() ? empty : it->second;
}

// Water and glycol coils: the ones with a tube velocity and a fluid rise.
bool IsLiquid(const std::string& app) {
    const CoilType type = CoilTypeOf(app);
    return type == CoilType::Water || type == CoilType::Glycol;
}

bool IsSteam(const std::string& app) {
    return CoilTypeOf(app) == CoilType::Steam;
}

std::vector<std::string> Range(int from, int to) {
    std::vector<std::string> v;
    for (int i = from; i <= to; ++i) v.push_back(std::to_string(i));
    return v;
}

// A double as the 32-bit value a record would hold, kept inside the float
// range (margins of far-off ratings are only compared, never stored).
float Clamped(double x) {
    return static_cast<float>(std::clamp(x, -double(FLT_MAX), double(FLT_MAX)));
}

// ---- Pruning on the air pressure drop ----------------------------------
//
// The air drop of a liquid coil is
//     F32(F32(F32(fb a v^e rowsFactor(R)) M) T(t) Ft)
// where only rowsFactor, the wet multiplier M and the temperature factor T
// depend on the rows or the flow: fb, a, e, v and Ft are fixed by the fins,
// the tube, the face and the fin thickness. rowsFactor is R, or
// 1 + (R - 2) k for continuous fins (the 1 in tube drop has no rows
// factor); the engine gives k, Mw and T as the drop computes them. M is 1
// on a dry coil and Mw(FPI, x) on a wet one, x fixed by the entering
// conditions (Mw applies only for x >= 3). T(t) is linear and rising in t,
// the mean of the leaving and entering dry bulb, and the
// leaving dry bulb of a rated liquid coil lies between the entering air and
// the entering fluid (0.01 F of slack). So a rating of R rows bounds the air
// drop of every rating of R' >= R rows of the same coil, at any flow, from
// below:
//     AirPD(R') >= AirPD(R) / (T(t) Mmax) * Mmin T(tlo) rowsFactor(R') / rowsFactor(R)
// less a millionth for the float roundings.
struct AirDropBound {
    bool usable = false;
    double k = 0;            // rows-factor slope; < 0: no rows factor (1 in tube)
    double perUnit = 0;      // AirPD / (T(t) Mmax rowsFactor(R)), the largest seen
    double floorFactor = 0;  // Mmin T(tlo) (1 - 1e-6)
};

double RowsFactor(double k, double rows) {
    if (k < 0) return 1;
    return k == 0 ? rows : 1 + (rows - 2) * k;
}

// The rows-factor slope of a tube and fin type: k, 0 for "rows", -1 for none.
bool RowsSlope(const std::string& pattern, const std::string& finTreat, double& k) {
    return CC_AirDropRowsSlope(pattern, finTreat.empty() ? '\0' : finTreat[0], k);
}

// Widens `b` with one finished rating of a liquid coil.
void AddToBound(AirDropBound& b, const CoilSpec& s, const CoilRating& r) {
    if (!IsLiquid(s.Application) || s.RD < 1 || s.FPI < 1) return;
    double k = 0;
    if (!RowsSlope(s.Pattern, s.FinTreat, k)) return;
    const double x = r.EatWb - (double(r.EatDb) - r.EatWb) / 2 - r.EntFluidTemp;
    double mw = 1;
    if (std::isfinite(x) && x >= 3) {
        const CC_WetDropTerms m = CC_WetAirDropTerms(s.FPI, x);
        mw = m.a * m.b * m.c;
    }
    const double lo = std::min<double>(r.EatDb, r.EntFluidTemp) - 0.01;
    const double tLo = CC_AirDropTempFactor((lo + r.EatDb) / 2);
    const double t = CC_AirDropTempFactor((double(r.LatDb) + r.EatDb) / 2);
    if (!(mw > 0) || !(tLo > 0) || !(t > 0) || !std::isfinite(mw)) return;
    const double perUnit = r.AirPD / (t * std::max(mw, 1.0) * RowsFactor(k, s.RD));
    b.k = k;
    b.floorFactor = std::min(mw, 1.0) * tLo * (1 - 1e-6);
    b.perUnit = b.usable ? std::max(b.perUnit, perUnit) : perUnit;
    b.usable = true;
}

// True when every rating of `rows` rows of the coil provably breaks the limit.
bool BreaksAirDrop(const AirDropBound& b, double rows, float limit) {
    return b.usable && b.perUnit * b.floorFactor * RowsFactor(b.k, rows) > limit;
}

// The next flow of the rise search after a trial of flow g giving rise r
// (the previous trial prevG, prevRise; 0 when none), within a step of four
// and inside the bracket (lo, hi) once both ends are known.
double NextFlow(double g, double r, double prevG, double prevRise, double rise, double lo, double hi) {
    double next;
    if (prevG > 0 && prevRise > 0 && r > 0 && prevG != g && prevRise != r) {
        const double slope = (std::log(r) - std::log(prevRise)) / (std::log(g) - std::log(prevG));
        next = slope < 0 ? std::exp(std::log(g) + (std::log(rise) - std::log(r)) / slope) : g * r / rise;
    } else {
        next = r > 0 ? g * std::pow(r / rise, 1.4) : g * 4;
    }
    next = std::clamp(next, g / 4, g * 4);
    if (lo > 0 && hi > 0 && !(next > lo && next < hi)) next = std::sqrt(lo * hi);
    return next;
}

// ---- One search --------------------------------------------------------

class Runner {
public:
    Runner(const SearchSpec& query, SearchControl* control) : spec_(query), control_(control) {
        for (const LimitDef& d : kLimits) {
            const auto it = query.duty.find(d.key);
            if (it != query.duty.end()) limits_.push_back({&d, static_cast<float>(it->second)});
        }
        const auto pd = query.duty.find("AirPDMax");
        if (pd != query.duty.end()) airPdLimit_ = static_cast<float>(pd->second);
    }

    // Ratings run so far, flow-search trials included.
    int Rated() const { return rated_.load(); }

    // Rates the candidates of one group (all fields alike but the rows) in
    // ascending rows. Groups may run on several threads at once: a group
    // touches only its own candidates.
    void RunGroup(std::vector<Candidate*>& group, bool prune) const {
        std::stable_sort(group.begin(), group.end(),
                         [](const Candidate* a, const Candidate* b) { return Rows(*a) < Rows(*b); });
        AirDropBound bound;
        for (Candidate* c : group) {
            const double rows = Rows(*c);
            if (prune && airPdLimit_ && rows >= 1 && BreaksAirDrop(bound, rows, *airPdLimit_)) {
                c->pruned = true;
            } else {
                RateCandidate(*c, prune);
                if (c->rated) AddToBound(bound, c->coilSpec, c->rating);
            }
            if (control_) ++control_->done;
        }
    }

private:
    struct Limit {
        const LimitDef* def;
        float value;
    };

    // The rows as the record will hold them (0 when they will not fit).
    static double Rows(const Candidate& c) {
        const double rows = std::nearbyint(numfmt::Val(Text(c.fields, "RD")));
        return rows >= -32768 && rows <= 32767 ? rows : 0;
    }

    void CheckCancel() const {
        if (control_ && control_->cancel.load()) throw Cancelled{};
    }

    // One rating of a candidate's fields on fresh records.
    bool RateOnce(Candidate& c) const {
        CheckCancel();
        ++rated_;
        c.coilSpec = CoilSpec();
        c.rating = CoilRating();
        RecordingMessageSink sink;
        ScopedMessageSink scope(sink);
        c.result = CalcPerform(c.fields, spec_.airFlowMode, c.coilSpec, c.rating);
        c.rated = c.result.ok();
        return c.rated;
    }

    void RateCandidate(Candidate& c, bool prune) const {
        if (spec_.fluidRise)
            FlowSearch(c, *spec_.fluidRise, prune);
        else
            RateOnce(c);
        Judge(c);
    }

    // The first flow tried: the duty's capacity carried by water at the
    // rise (500 Btu/h per gpm and F), else 2 gpm per circuit.
    double FirstFlow(double circuits, double rise) const {
        const auto it = spec_.duty.find("TotalBtuh");
        if (it != spec_.duty.end() && it->second > 0) return it->second / (500 * rise);
        return 2 * circuits;
    }

    // Finds the flow that gives the rise. The flow is bracketed between
    // 0.05 and 40 gpm per circuit; the first trial is FirstFlow, the
    // second takes the rise to fall as the flow to the power -0.7 (the
    // capacity growing a little with the flow), and later ones take the
    // secant of log rise over log flow
    // through the last two trials, falling back to the geometric mean of
    // the bracket when the secant leaves it. Every trial flow is rated as
    // the text it is written as, so the candidate re-rates exactly.
    void FlowSearch(Candidate& c, double rise, bool prune) const {
        constexpr double kTolerance = 0.05;
        constexpr int kMaxTrials = 24;
        const double circuits =
            std::max(1.0, std::round(numfmt::Val(CheckIfBlank(Text(c.fields, "Circuits"), "1"))));
        const double gMin = 0.05 * circuits, gMax = 40 * circuits;
        double lo = 0, hi = 0;  // flows known too low / too high (0: none yet)
        double prevG = 0, prevRise = 0;
        double g = std::clamp(FirstFlow(circuits, rise), gMin, gMax);
        int trials = 0, failures = 0;
        Candidate best = c;  // the trial nearest the rise
        double bestErr = HUGE_VAL;
        AirDropBound bound;
        c.riseMet = false;
        while (trials < kMaxTrials) {
            const std::string text = FlowText(g);
            g = numfmt::Val(text);
            c.fields["Gpm"] = text;
            ++trials;
            if (!RateOnce(c)) {
                // Far from the rise the correlations may refuse a flow;
                // step back halfway towards the last good one.
                if (++failures > 3 || prevG == 0) break;
                g = std::sqrt(g * prevG);
                continue;
            }
            const double r = std::fabs(double(c.rating.LvgFluidTemp) - c.rating.EntFluidTemp);
            const double err = r - rise;
            if (std::fabs(err) < bestErr) {
                bestErr = std::fabs(err);
                best = c;
            }
            if (std::fabs(err) <= kTolerance) {
                c.riseMet = true;
                return;
            }
            if (prune && airPdLimit_) {
                AddToBound(bound, c.coilSpec, c.rating);
                if (BreaksAirDrop(bound, c.coilSpec.RD, *airPdLimit_)) {
                    c.pruned = true;
                    return;
                }
            }
            (err > 0 ? lo : hi) = g;
            const double next = std::clamp(NextFlow(g, r, prevG, prevRise, rise, lo, hi), gMin, gMax);
            if (FlowText(next) == text) break;  // at a bound, or the bracket has closed
            prevG = g;
            prevRise = r;
            g = next;
        }
        // No flow gives the rise: keep the trial that came nearest.
        if (best.rated) {
            const std::size_t index = c.index;
            c = best;
            c.index = index;
        }
        c.riseMet = false;
    }

    // Margins, feasibility and distance of a finished candidate.
    void Judge(Candidate& c) const {
        c.margins.clear();
        c.broken.clear();
        c.distance = 0;
        c.feasible = false;
        if (!c.rated || c.pruned) return;
        const CoilRating& r = c.rating;
        c.outsideArea = Clamped(double(r.PrimaryArea) + r.SecondaryArea);
        for (const Limit& l : limits_) {
            const double v = r.*(l.def->field);
            const double m = l.def->sense == Sense::Min ? v - l.value : l.value - v;
            c.margins.push_back({l.def->key, Clamped(m)});
            if (m < 0) {
                c.broken.push_back(l.def->key);
                const double scale = l.def->temperature ? std::max(1.0, std::fabs(double(r.EatDb) - l.value))
                                                        : std::max(1e-3, std::fabs(double(l.value)));
                c.distance += -m / scale;
            }
        }
        for (const CoilWarning& w : c.result.warnings) {
            if (std::find(spec_.refused.begin(), spec_.refused.end(), w.code) == spec_.refused.end())
                continue;
            c.broken.push_back(w.code);
            c.distance += 1;
        }
        if (spec_.fluidRise && !c.riseMet) {
            const double rise = std::fabs(double(r.LvgFluidTemp) - r.EntFluidTemp);
            c.broken.push_back("FluidRise");
            c.distance += std::fabs(rise - *spec_.fluidRise) / *spec_.fluidRise;
        }
        c.feasible = c.broken.empty();
    }

    const SearchSpec& spec_;
    SearchControl* control_;
    std::vector<Limit> limits_;
    std::optional<float> airPdLimit_;
    mutable std::atomic<int> rated_{0};
};

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

namespace {

// Runs of candidates alike in all but the rows (the rows vary fastest in
// the enumeration).
std::vector<std::vector<Candidate*>> Groups(std::vector<Candidate>& cands) {
    std::vector<std::vector<Candidate*>> groups;
    FieldTexts previous;
    for (Candidate& c : cands) {
        FieldTexts key = c.fields;
        key.erase("RD");
        if (groups.empty() || key != previous) groups.emplace_back();
        groups.back().push_back(&c);
        previous = std::move(key);
    }
    return groups;
}

// The candidate nearest the duty among those rated (nullptr: none).
const Candidate* Nearest(const std::vector<Candidate>& cands) {
    const Candidate* nearest = nullptr;
    for (const Candidate& c : cands) {
        if (!c.rated || c.pruned) continue;
        if (!nearest || c.distance < nearest->distance ||
            (c.distance == nearest->distance && RanksBefore(c, *nearest)))
            nearest = &c;
    }
    return nearest;
}

// Why no candidate could be rated: the first validation message, else the
// first engine failure.
std::string NoRatingReason(const std::vector<Candidate>& cands) {
    std::string reason;
    for (const Candidate& c : cands) {
        if (c.result.status == CalcResult::Validation) return c.result.validation.message;
        if (c.result.status == CalcResult::EngineFailed && reason.empty()) reason = c.result.error;
    }
    return reason.empty() ? "no candidate could be rated" : reason;
}

// The pruned candidates of each group, marked as not pruned.
std::vector<std::vector<Candidate*>> TakePruned(const std::vector<std::vector<Candidate*>>& groups) {
    std::vector<std::vector<Candidate*>> pruned;
    for (const auto& group : groups) {
        std::vector<Candidate*> some;
        for (Candidate* c : group)
            if (c->pruned) {
                c->pruned = false;
                some.push_back(c);
            }
        if (!some.empty()) pruned.push_back(std::move(some));
    }
    return pruned;
}

}  // namespace

SearchResult Search(const SearchSpec& query, SearchControl* control) {
    SearchResult result;
    const std::vector<FieldTexts> space = EnumerateCandidates(query);
    std::vector<Candidate> cands(space.size());
    for (std::size_t i = 0; i < space.size(); ++i) {
        cands[i].index = i;
        cands[i].fields = space[i];
    }
    result.searched = static_cast<int>(cands.size());
    if (control) {
        control->done = 0;
        control->total = result.searched;
    }

    std::vector<std::vector<Candidate*>> groups = Groups(cands);

    Runner runner(query, control);
    const unsigned jobs = static_cast<unsigned>(EffectiveJobs(query.jobs));
    auto runAll = [&](std::vector<std::vector<Candidate*>>& list, bool prune) {
        ParallelMap(list.size(), jobs, [&](std::size_t g) {
            runner.RunGroup(list[g], prune);
            return 0;
        });
    };
    try {
        runAll(groups, query.prune);
        // With nothing feasible, the nearest candidate must be the one a
        // search without pruning finds: rate the pruned ones in full.
        const bool anyFeasible =
            std::any_of(cands.begin(), cands.end(), [](const Candidate& c) { return c.feasible; });
        if (!anyFeasible) {
            std::vector<std::vector<Candidate*>> again = TakePruned(groups);
            runAll(again, false);
        }
    } catch (const Cancelled&) {
        result.cancelled = true;
    }
    result.rated = runner.Rated();

    for (Candidate& c : cands) {
        if (c.pruned) ++result.pruned;
        if (c.feasible) result.ranked.push_back(c);
    }
    result.feasible = static_cast<int>(result.ranked.size());
    std::sort(result.ranked.begin(), result.ranked.end(), RanksBefore);
    if (result.ranked.empty()) {
        if (const Candidate* nearest = Nearest(cands))
            result.closest = *nearest;
        else if (!result.cancelled)
            result.error = NoRatingReason(cands);
    }
    return result;
}

}  // namespace selection
