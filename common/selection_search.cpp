// Searching a construction space: every candidate rated (the exhaustive
// search), or the candidates rated in ascending order of outside surface
// until the best of them are certain (the rank-ordered search).
#include <algorithm>
#include <cmath>
#include <optional>

#include "common/parallel.h"
#include "common/selection_internal.h"
#include "engine/coilcalc.h"

namespace selection {

using detail::AirDropBound;
using detail::Runner;

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

// Rates every candidate, group by group, the groups on `jobs` threads.
void RunGroups(std::vector<std::vector<Candidate*>>& groups, const Runner& runner, unsigned jobs,
               bool prune) {
    ParallelMap(groups.size(), jobs, [&](std::size_t g) {
        runner.RunGroup(groups[g], prune);
        return 0;
    });
}

// ---- The rank-ordered search -------------------------------------------
//
// RanksBefore orders the feasible candidates by outside surface, then rows,
// then fins per inch, then air drop, fluid drop, circuits and enumeration
// index. The first three keys, the prefix, are known before rating: the
// rows and fins as the records will hold them, and the surface as the
// engine computes it from the filled records (CC_OutsideSurfaces, the very
// function of the rating). The candidates are rated in ascending order of
// prefix, those whose prefix cannot be told first.
//
// Stopping rule: let T be the `top`-th best feasible candidate rated so far
// (the first when `top` is 0). When the next unrated candidate's prefix is
// strictly greater than T's, so is every later one's, and a candidate with
// a greater prefix ranks after T whatever its drops, circuits and index.
// Every feasible candidate ranking before T has therefore been rated, and
// the first `top` of those rated are the first `top` of the whole space,
// in the same order. A prefix equal to T's never stops the search: the
// remaining keys are known only from a rating. Each rated candidate's
// prefix is checked against the one foretold; should one ever differ, the
// order proves nothing and the search rates every candidate instead.
//
// Ratings run in blocks of a fixed size, each block on the threads, and the
// rule is applied between blocks, so what is rated, pruned and skipped
// does not depend on the threads.
constexpr std::size_t kBlock = 16;

// The keys of RanksBefore that are known before rating.
struct Prefix {
    float area = 0;
    int rows = 0;
    int fpi = 0;
};

// The same comparisons as RanksBefore's first three keys.
bool PrefixBefore(const Prefix& a, const Prefix& b) {
    if (a.area != b.area) return a.area < b.area;
    if (a.rows != b.rows) return a.rows < b.rows;
    return a.fpi < b.fpi;
}

bool SamePrefix(const Prefix& a, const Prefix& b) {
    return a.area == b.area && a.rows == b.rows && a.fpi == b.fpi;
}

Prefix PrefixAsRated(const Candidate& c) {
    return {c.outsideArea, c.coilSpec.RD, c.coilSpec.FPI};
}

// The prefix a rating of the candidate will have; none when its records
// cannot be filled or have no surface (such a candidate is rated first).
std::optional<Prefix> PrefixBeforeRating(const Candidate& c, int airFlowMode) {
    CoilSpec coilSpec;
    CoilRating rating;
    float primary = 0, secondary = 0;
    if (!detail::FilledRecords(c, airFlowMode, coilSpec, rating) ||
        !CC_OutsideSurfaces(coilSpec, primary, secondary))
        return std::nullopt;
    const Prefix p{detail::Clamped(double(primary) + secondary), coilSpec.RD, coilSpec.FPI};
    if (std::isnan(p.area)) return std::nullopt;
    return p;
}

struct Planned {
    Candidate* c;
    std::optional<Prefix> prefix;
    std::size_t group;
};

class RankedSearch {
public:
    RankedSearch(std::vector<std::vector<Candidate*>>& groups, const SearchSpec& query, const Runner& runner,
                 unsigned jobs)
        : runner_(runner), jobs_(jobs), prune_(query.prune), need_(std::max(query.top, 1)) {
        for (std::size_t g = 0; g < groups.size(); ++g)
            for (Candidate* c : groups[g])
                order_.push_back({c, PrefixBeforeRating(*c, query.airFlowMode), g});
        std::stable_sort(order_.begin(), order_.end(), [](const Planned& a, const Planned& b) {
            if (a.prefix.has_value() != b.prefix.has_value()) return !a.prefix;
            if (!a.prefix) return a.c->index < b.c->index;
            return PrefixBefore(*a.prefix, *b.prefix) ||
                   (SamePrefix(*a.prefix, *b.prefix) && a.c->index < b.c->index);
        });
        bounds_.resize(groups.size());
    }

    // Rates until the best are certain; answers how many were left unrated.
    int Run() {
        std::size_t next = 0;
        while (next < order_.size() && !Certain(next)) {
            const std::size_t end = std::min(order_.size(), next + kBlock);
            ParallelMap(end - next, jobs_, [&](std::size_t i) {
                const Planned& p = order_[next + i];
                runner_.RunOne(*p.c, bounds_[p.group], prune_);
                return 0;
            });
            for (std::size_t i = next; i < end; ++i) Take(order_[i]);
            next = end;
        }
        return static_cast<int>(order_.size() - next);
    }

private:
    // Adds a rated candidate to its group's bound and to the feasible ones,
    // and checks its prefix.
    void Take(const Planned& p) {
        const Candidate& c = *p.c;
        if (c.rated) detail::AddToBound(bounds_[p.group], c.coilSpec, c.rating);
        if (!c.rated || c.pruned) return;
        if (p.prefix && !SamePrefix(*p.prefix, PrefixAsRated(c))) sound_ = false;
        if (c.feasible) feasible_.push_back(&c);
    }

    // True when no candidate from order_[next] on can rank among the best.
    bool Certain(std::size_t next) {
        if (!sound_ || feasible_.size() < need_ || !order_[next].prefix) return false;
        const auto last = feasible_.begin() + static_cast<std::ptrdiff_t>(need_ - 1);
        std::nth_element(feasible_.begin(), last, feasible_.end(),
                         [](const Candidate* a, const Candidate* b) { return RanksBefore(*a, *b); });
        return PrefixBefore(PrefixAsRated(**last), *order_[next].prefix);
    }

    const Runner& runner_;
    unsigned jobs_;
    bool prune_;
    std::size_t need_;
    std::vector<Planned> order_;
    std::vector<AirDropBound> bounds_;  // per group, of the blocks rated so far
    std::vector<const Candidate*> feasible_;
    bool sound_ = true;
};

// The result's lists and counts from the finished candidates.
void Collect(std::vector<Candidate>& cands, int top, bool cancelled, SearchResult& result) {
    for (Candidate& c : cands) {
        if (c.pruned) ++result.pruned;
        if (c.feasible) result.ranked.push_back(c);
    }
    result.feasible = static_cast<int>(result.ranked.size());
    std::sort(result.ranked.begin(), result.ranked.end(), RanksBefore);
    if (top >= 0 && result.ranked.size() > static_cast<std::size_t>(top))
        result.ranked.erase(result.ranked.begin() + top, result.ranked.end());
    if (result.feasible > 0) return;
    if (const Candidate* nearest = Nearest(cands))
        result.closest = *nearest;
    else if (!cancelled)
        result.error = NoRatingReason(cands);
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
    const Runner runner(query, control);
    const unsigned jobs = static_cast<unsigned>(EffectiveJobs(query.jobs));
    try {
        if (query.top < 0 || query.exhaustive)
            RunGroups(groups, runner, jobs, query.prune);
        else
            result.skipped = RankedSearch(groups, query, runner, jobs).Run();
        // With nothing feasible (every candidate rated then), the nearest
        // candidate must be the one a search without pruning finds: rate the
        // pruned ones in full.
        if (std::none_of(cands.begin(), cands.end(), [](const Candidate& c) { return c.feasible; })) {
            std::vector<std::vector<Candidate*>> again = TakePruned(groups);
            RunGroups(again, runner, jobs, false);
        }
    } catch (const detail::Cancelled&) {
        result.cancelled = true;
    }
    if (control) control->done += result.skipped;
    result.rated = runner.Rated();
    Collect(cands, query.top, result.cancelled, result);
    return result;
}

}  // namespace selection
