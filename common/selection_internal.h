// The parts of the selection that its source files share: the limit table,
// the air-drop bound and the runner that rates candidates. Not for other
// callers; common/selection.h is the selection's face.
#pragma once

#include <algorithm>
#include <atomic>
#include <cfloat>
#include <optional>
#include <string>
#include <vector>

#include "common/selection.h"
#include "engine/coil_type.h"

namespace selection::detail {

// Ends a search when a cancel request arrives.
struct Cancelled {};

enum class Sense { Min, Max };

struct LimitDef {
    const char* key;
    Sense sense;
    float CoilRating::*field;
    bool temperature;
};

// One entry per duty key, in DutyKeys order.
extern const LimitDef kLimits[10];

inline const std::string& Text(const FieldTexts& f, const std::string& key) {
    static const std::string empty;
    const auto it = f.find(key);
    return it == f.end() ? empty : it->second;
}

// Water and glycol coils: the ones with a tube velocity and a fluid rise.
inline bool IsLiquid(const std::string& app) {
    const CoilType type = CoilTypeOf(app);
    return type == CoilType::Water || type == CoilType::Glycol;
}

inline bool IsSteam(const std::string& app) {
    return CoilTypeOf(app) == CoilType::Steam;
}

// A double as the 32-bit value a record would hold, kept inside the float
// range (margins of far-off ratings are only compared, never stored).
inline float Clamped(double x) {
    return static_cast<float>(std::clamp(x, -double(FLT_MAX), double(FLT_MAX)));
}

// A lower bound on the air pressure drop of the ratings of one coil that
// differ only in the rows and the flow (see selection_runner.cpp).
struct AirDropBound {
    bool usable = false;
    double k = 0;            // rows-factor slope; < 0: no rows factor (1 in tube)
    double perUnit = 0;      // AirPD / (T(t) Mmax rowsFactor(R)), the largest seen
    double floorFactor = 0;  // Mmin T(tlo) (1 - 1e-6)
    double rows = 0;         // the most rows among the ratings it holds
};

// Widens `b` with one finished rating of a liquid coil.
void AddToBound(AirDropBound& b, const CoilSpec& s, const CoilRating& r);

// True when every rating of `rows` rows (no fewer than any rating the bound
// holds) provably breaks the limit.
bool BreaksAirDrop(const AirDropBound& b, double rows, float limit);

// The records a candidate's fields fill, as a rating fills them before it
// rates; false when a value does not fit its record field.
bool FilledRecords(const Candidate& c, int airFlowMode, CoilSpec& coilSpec, CoilRating& rating);

// Rates the candidates of one search and judges them against its duty.
// Const and free of shared state but the rating counter and the progress,
// so several threads may run candidates of one search at once, each
// touching only its own.
class Runner {
public:
    Runner(const SearchSpec& query, SearchControl* control);

    // Ratings run so far, flow-search trials included.
    int Rated() const { return rated_.load(); }

    // Rates the candidates of one group (all fields alike but the rows) in
    // ascending rows, pruning those the group's bound shows to break the
    // air-drop limit (with `prune`).
    void RunGroup(std::vector<Candidate*>& group, bool prune) const;

    // Rates one candidate, unless `prune` is set and `bound` shows that it
    // breaks the air-drop limit, or its tube velocity (fixed before the
    // rating solves) breaks a velocity limit; counts it as done either way.
    void RunOne(Candidate& c, const AirDropBound& bound, bool prune) const;

    // The rows as the record will hold them (0 when they will not fit).
    static double Rows(const Candidate& c);

private:
    struct Limit {
        const LimitDef* def;
        float value;
    };

    bool Prunable(const AirDropBound& bound, double rows) const;
    bool BreaksTubeVelocity(const Candidate& c) const;
    static double MarginOf(const Limit& l, double value);
    void CheckCancel() const;
    bool RateOnce(Candidate& c) const;
    void RateCandidate(Candidate& c, bool prune) const;
    double FirstFlow(double circuits, double rise) const;
    void FlowSearch(Candidate& c, double rise, bool prune) const;
    void Judge(Candidate& c) const;

    const SearchSpec& query_;
    SearchControl* control_;
    std::vector<Limit> limits_;
    std::vector<Limit> velocityLimits_;  // the tube velocity's, with a fixed flow
    std::optional<float> airPdLimit_;
    mutable std::atomic<int> rated_{0};
};

}  // namespace selection::detail
