// Selection to a duty: every coil of a construction space rated through the
// calculation driver, kept when it meets the duty's limits, and ranked by
// size.
//
// Plain C++ without Qt, shared by the window's "Select to Duty" dialog and
// kvn-rate --select. Each candidate is an ordinary set of field texts rated
// by CalcPerform on fresh records, so re-rating a listed candidate gives the
// same records bit for bit.
#pragma once

#include <atomic>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "common/calc_driver.h"
#include "engine/records.h"

namespace selection {

// The construction keys that may carry alternatives, in the order the
// candidates are enumerated (the rows vary fastest).
const std::vector<std::string>& ConstructionKeys();

// The duty's limit keys: TotalBtuh, SensibleBtuh, LatDbMax, LatDbMin,
// LatWbMax, AirPDMax, FluidPDMax, FaceVelocityMax, TubeVelocityMin,
// TubeVelocityMax.
const std::vector<std::string>& DutyKeys();
bool IsDutyKey(const std::string& key);

// The default wall and fin thickness of a tube size ("" when the construction
// lists have none for this coil type).
struct TubeDefaults {
    std::string wall;
    std::string fin;
};
TubeDefaults DefaultsForTube(const std::string& application, const std::string& pattern);

// The default circuit alternatives for a tube height: the whole numbers among
// 2 TH, TH, 3/4 TH, 1/2 TH, 1/3 TH and 1/4 TH, each once, largest first.
std::vector<std::string> DefaultCircuits(const std::string& tubesHigh);

struct SearchSpec {
    FieldTexts fixed;  // every field that is not searched
    int airFlowMode = kAirFlowAcfm;
    // Alternatives per construction key; a key given neither here nor in
    // `fixed` takes its default (RD 1-10, FPI 6-14, the TH-derived circuits,
    // Pattern "5", FinMat "A", the tube's wall and fin thickness).
    std::map<std::string, std::vector<std::string>> choices;
    std::map<std::string, double> duty;  // limit key -> limit
    std::optional<double> fluidRise;     // F; replaces "Gpm" (water, glycol)
    // The engineering limits of the warnings table: with `defaultLimits`,
    // CompleteSpec adds those of DefaultLimits that the duty does not set or
    // let in (`allowWarnings`, warning codes).
    bool defaultLimits = true;
    std::vector<std::string> allowWarnings;
    // Warning codes that make a candidate infeasible (filled in by
    // CompleteSpec with `defaultLimits`).
    std::vector<std::string> refused;
    // Leaves unrated the candidates that provably break the air-drop limit
    // (from ratings of fewer rows) or a tube velocity limit (a fixed flow's
    // velocity is known before the rating solves); all are rated when
    // nothing is feasible.
    bool prune = true;
    int jobs = 1;  // threads (0: one per core)
    // How many of the best feasible candidates the search must find: it
    // rates in ascending order of outside surface and stops once no
    // unrated candidate can rank among the first `top` (at least one).
    // Negative: every feasible candidate, every candidate rated.
    int top = -1;
    // Rates every candidate even when the first `top` are certain, and
    // counts every feasible one (the list is still cut to `top`).
    bool exhaustive = false;
};

// The warning codes a search may refuse or let in.
const std::vector<std::string>& LimitingWarnings();

// The limits a search applies unless told otherwise, for the fixed fields
// (inch-pound texts): for water and glycol coils a tube velocity of 1 to
// 8 ft/s (5 ft/s with fluid entering above 140 F) and a fluid drop of at
// most 20 ft of water; for every coil no wet face velocity above 500 ft/min,
// no laminar tube flow and no freeze risk (refused as warnings).
struct DefaultLimitSet {
    std::map<std::string, double> duty;
    std::vector<std::string> refused;
};
DefaultLimitSet DefaultLimits(const FieldTexts& fixed);

// Checks a query and fills in the defaults of the construction keys.
// False with a message when it cannot be searched.
bool CompleteSpec(SearchSpec& query, std::string& error);

// The candidates of a completed query as field texts, in enumeration order
// ("Gpm" empty in fluid-rise mode until a flow is found).
std::vector<FieldTexts> EnumerateCandidates(const SearchSpec& query);

struct Margin {
    std::string key;
    float value = 0;  // how far inside the limit, in its units (< 0: broken)
};

struct Candidate {
    std::size_t index = 0;  // enumeration index
    FieldTexts fields;      // as rated ("Gpm" filled in for a rise)
    CoilSpec coilSpec;
    CoilRating rating;
    CalcResult result;            // of the last rating of this candidate
    bool rated = false;           // records hold a finished rating
    bool riseMet = true;          // fluid-rise mode: the flow gives the rise
    bool pruned = false;          // not rated: provably breaks AirPDMax or a tube velocity limit
    std::vector<Margin> margins;  // one per duty key, in DutyKeys order
    float outsideArea = 0;        // PrimaryArea + SecondaryArea, ft2
    bool feasible = false;
    // Broken limits by key ("FluidRise" when no flow gives the rise, a
    // warning code for a refused warning).
    std::vector<std::string> broken;
    // How far outside the duty: the sum over broken limits of the relative
    // shortfall (see Distance in selection.cpp).
    double distance = 0;
};

// Progress and cancellation, shared with a thread that watches the search.
struct SearchControl {
    std::atomic<bool> cancel{false};
    std::atomic<int> done{0};  // candidates finished (rated or pruned)
    std::atomic<int> total{0};
};

struct SearchResult {
    bool cancelled = false;
    int searched = 0;  // candidates considered
    int rated = 0;     // ratings run, flow-search trials included
    int pruned = 0;    // candidates skipped by pruning
    int skipped = 0;   // candidates left unrated, certain to rank below the first `top`
    int feasible = 0;  // feasible candidates among those rated
    // The feasible ones, best first: the first `top` of the whole space
    // (every one with a negative `top`).
    std::vector<Candidate> ranked;
    std::optional<Candidate> closest;  // when none is feasible
    std::string error;                 // when no candidate could be rated at all
};

// Runs the search on a completed query. With `control`, progress is counted
// there (skipped candidates count as done when the search ends) and a
// cancel request stops the search before its next rating. The candidates
// listed do not depend on `top` beyond its cut, on `exhaustive`, on
// `prune` or on the threads; the counts do not depend on the threads.
SearchResult Search(const SearchSpec& query, SearchControl* control = nullptr);

// The ranking: smaller outside surface, then fewer rows, fewer fins per
// inch, lower air and fluid pressure drop, fewer circuits, enumeration order.
bool RanksBefore(const Candidate& a, const Candidate& b);

// The number of worker threads a search may use for `jobs` (0: all cores).
int EffectiveJobs(int jobs);

// A limit key, "FluidRise" or a warning code in words ("total capacity").
std::string LimitWords(const std::string& key);

// Why a candidate misses the duty, in words, with how far for the first
// limit it breaks: "total capacity 3.2 % short". Temperatures are told in
// `siTemperatures` (C) or F.
std::string MissedInWords(const Candidate& c, const SearchSpec& query, bool siTemperatures);

// The text a flow is written as in a candidate's "Gpm" field.
std::string FlowText(double gpm);

}  // namespace selection
