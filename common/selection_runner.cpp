// Rating the candidates of a search: the air-drop bound that prunes them,
// the flow search of a fluid rise, and the judging against the duty.
#include <algorithm>
#include <cmath>
#include <exception>

#include "common/numfmt.h"
#include "common/selection_internal.h"
#include "engine/coilcalc.h"
#include "engine/msgbox.h"

namespace selection::detail {

namespace {

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
double RowsFactor(double k, double rows) {
    if (k < 0) return 1;
    return k == 0 ? rows : 1 + (rows - 2) * k;
}

// The rows-factor slope of a tube and fin type: k, 0 for "rows", -1 for none.
bool RowsSlope(const std::string& pattern, const std::string& finTreat, double& k) {
    return CC_AirDropRowsSlope(pattern, finTreat.empty() ? '\0' : finTreat[0], k);
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

}  // namespace

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
    b.rows = b.usable ? std::max<double>(b.rows, s.RD) : s.RD;
    b.usable = true;
}

bool BreaksAirDrop(const AirDropBound& b, double rows, float limit) {
    return b.usable && rows >= b.rows && b.perUnit * b.floorFactor * RowsFactor(b.k, rows) > limit;
}

Runner::Runner(const SearchSpec& query, SearchControl* control) : query_(query), control_(control) {
    for (const LimitDef& d : kLimits) {
        const auto it = query.duty.find(d.key);
        if (it != query.duty.end()) limits_.push_back({&d, static_cast<float>(it->second)});
    }
    const auto pd = query.duty.find("AirPDMax");
    if (pd != query.duty.end()) airPdLimit_ = static_cast<float>(pd->second);
    for (const Limit& l : limits_)
        if (l.def->field == &CoilRating::TubeVelocity && !query.fluidRise) velocityLimits_.push_back(l);
}

bool FilledRecords(const Candidate& c, int airFlowMode, CoilSpec& coilSpec, CoilRating& rating) {
    ValidationFault fault;
    try {
        return FillCoilRecords(c.fields, airFlowMode, coilSpec, rating, fault);
    } catch (const std::exception&) {
        return false;
    }
}

double Runner::Rows(const Candidate& c) {
    const double rows = std::nearbyint(numfmt::Val(Text(c.fields, "RD")));
    return rows >= -32768 && rows <= 32767 ? rows : 0;
}

bool Runner::Prunable(const AirDropBound& bound, double rows) const {
    return airPdLimit_ && rows >= 1 && BreaksAirDrop(bound, rows, *airPdLimit_);
}

void Runner::RunGroup(std::vector<Candidate*>& group, bool prune) const {
    std::stable_sort(group.begin(), group.end(),
                     [](const Candidate* a, const Candidate* b) { return Rows(*a) < Rows(*b); });
    AirDropBound bound;
    for (Candidate* c : group) {
        RunOne(*c, bound, prune);
        if (c->rated) AddToBound(bound, c->coilSpec, c->rating);
    }
}

// The velocity a rating would give, without the rating's solving: the
// records are filled and rated as a rating fills and rates them, fresh.
bool Runner::BreaksTubeVelocity(const Candidate& c) const {
    if (velocityLimits_.empty()) return false;
    CoilSpec coilSpec;
    CoilRating rating;
    float velocity = 0;
    if (!FilledRecords(c, query_.airFlowMode, coilSpec, rating) ||
        !CC_TubeVelocityBeforeSolving(coilSpec, rating, velocity))
        return false;
    return std::any_of(velocityLimits_.begin(), velocityLimits_.end(),
                       [velocity](const Limit& l) { return MarginOf(l, velocity) < 0; });
}

double Runner::MarginOf(const Limit& l, double value) {
    return l.def->sense == Sense::Min ? value - l.value : l.value - value;
}

void Runner::RunOne(Candidate& c, const AirDropBound& bound, bool prune) const {
    if (prune && (Prunable(bound, Rows(c)) || BreaksTubeVelocity(c)))
        c.pruned = true;
    else
        RateCandidate(c, prune);
    if (control_) ++control_->done;
}

void Runner::CheckCancel() const {
    if (control_ && control_->cancel.load()) throw Cancelled{};
}

// One rating of a candidate's fields on fresh records.
bool Runner::RateOnce(Candidate& c) const {
    CheckCancel();
    ++rated_;
    c.coilSpec = CoilSpec();
    c.rating = CoilRating();
    RecordingMessageSink sink;
    ScopedMessageSink scope(sink);
    c.result = CalcPerform(c.fields, query_.airFlowMode, c.coilSpec, c.rating);
    c.rated = c.result.ok();
    return c.rated;
}

void Runner::RateCandidate(Candidate& c, bool prune) const {
    if (query_.fluidRise)
        FlowSearch(c, *query_.fluidRise, prune);
    else
        RateOnce(c);
    Judge(c);
}

// The first flow tried: the duty's capacity carried by water at the
// rise (500 Btu/h per gpm and F), else 2 gpm per circuit.
double Runner::FirstFlow(double circuits, double rise) const {
    const auto it = query_.duty.find("TotalBtuh");
    if (it != query_.duty.end() && it->second > 0) return it->second / (500 * rise);
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
void Runner::FlowSearch(Candidate& c, double rise, bool prune) const {
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
void Runner::Judge(Candidate& c) const {
    c.margins.clear();
    c.broken.clear();
    c.distance = 0;
    c.feasible = false;
    if (!c.rated || c.pruned) return;
    const CoilRating& r = c.rating;
    c.outsideArea = Clamped(double(r.PrimaryArea) + r.SecondaryArea);
    for (const Limit& l : limits_) {
        const double m = MarginOf(l, r.*(l.def->field));
        c.margins.push_back({l.def->key, Clamped(m)});
        if (m < 0) {
            c.broken.push_back(l.def->key);
            const double scale = l.def->temperature ? std::max(1.0, std::fabs(double(r.EatDb) - l.value))
                                                    : std::max(1e-3, std::fabs(double(l.value)));
            c.distance += -m / scale;
        }
    }
    for (const CoilWarning& w : c.result.warnings) {
        if (std::find(query_.refused.begin(), query_.refused.end(), w.code) == query_.refused.end()) continue;
        c.broken.push_back(w.code);
        c.distance += 1;
    }
    if (query_.fluidRise && !c.riseMet) {
        const double rise = std::fabs(double(r.LvgFluidTemp) - r.EntFluidTemp);
        c.broken.push_back("FluidRise");
        c.distance += std::fabs(rise - *query_.fluidRise) / *query_.fluidRise;
    }
    c.feasible = c.broken.empty();
}

}  // namespace selection::detail
