// Speed of selecting a whole project: 40 duties of mixed coil types (chilled
// and hot water, glycol, steam, DX evaporators and condensers), each searched
// over its default construction space (rows 1 to 10, FPI 6 to 14, the
// circuits of its tube height) with the default limits, for its best 5, as
// a schedule selects them. The capacities are set from a rating of a middle
// construction of each coil, from 60 % to 115 % of it, so that some duties
// take the smallest coils and some the largest; one steam duty is beyond
// every coil of its space (its closest is found by rating them all). First
// arg 1: one thread; 0: every core, the duties spread over the threads; -1:
// every core within each search, the duties one after another. Second arg
// 1: the exhaustive search, for comparison. Counters: ratings run,
// candidates skipped as certain to rank lower and pruned, duties met.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "common/parallel.h"
#include "common/selection.h"

namespace {

struct Kind {
    FieldTexts fields;
    double gpmPerCfm;  // 0: no flow field
};

// The coil types, their entering conditions and fluids.
std::vector<Kind> Kinds() {
    const FieldTexts common = {{"Pattern", "5"}, {"FinMat", "A"},   {"FinTreat", "CR"},
                               {"Rifled", "N"},  {"Altitude", "0"}, {"FoulingFactor", "0"}};
    auto with = [&common](FieldTexts more) {
        more.insert(common.begin(), common.end());
        return more;
    };
    return {
        {with({{"Application", "W"}, {"EatDb", "80"}, {"EatWb", "67"}, {"EntFluidTemp", "45"}}), 1 / 133.0},
        {with({{"Application", "W"}, {"EatDb", "55"}, {"EatWb", "45"}, {"EntFluidTemp", "180"}}), 1 / 400.0},
        {with({{"Application", "G"},
               {"PercentGlycol", "30"},
               {"EatDb", "78"},
               {"EatWb", "65"},
               {"EntFluidTemp", "42"}}),
         1 / 120.0},
        {with({{"Application", "S"}, {"Pattern", "1"}, {"SteamPressure", "5"}, {"EatDb", "40"}}), 0},
        {with({{"Application", "E"},
               {"Refrigerant", "22"},
               {"EvapSHCode", "10"},
               {"EatDb", "80"},
               {"EatWb", "67"},
               {"EntFluidTemp", "40"}}),
         0},
        {with({{"Application", "C"}, {"Refrigerant", "22"}, {"EatDb", "95"}, {"EntFluidTemp", "120"}}), 0},
    };
}

// The total capacity of a middle construction of the coil (RD 4, FPI 10).
double MiddleCapacity(const FieldTexts& fixed) {
    selection::SearchSpec s;
    s.fixed = fixed;
    s.defaultLimits = false;
    s.choices = {{"RD", {"4"}}, {"FPI", {"10"}}};
    if (fixed.at("Application") != "S") s.choices["Circuits"] = {fixed.at("TH")};
    std::string error;
    if (!selection::CompleteSpec(s, error)) std::abort();
    const selection::SearchResult r = selection::Search(s);
    return r.ranked.empty() ? 100000 : r.ranked.front().rating.TotalBtuh;
}

// The 40 duties: 8 chilled water, 6 hot water, 6 glycol, 6 steam, 7 DX
// evaporators and 7 condensers, of several faces.
const std::vector<selection::SearchSpec>& Duties() {
    static const std::vector<selection::SearchSpec> duties = [] {
        const std::vector<Kind> kinds = Kinds();
        const int counts[] = {8, 6, 6, 6, 7, 7};
        const int tubes[] = {12, 16, 20, 24, 30};
        const int lengths[] = {36, 48, 60, 72, 84, 96};
        const double factors[] = {0.6, 0.8, 0.9, 1.0, 1.15};
        std::vector<selection::SearchSpec> out;
        for (std::size_t k = 0; k < kinds.size(); ++k)
            for (int i = 0; i < counts[k]; ++i) {
                const std::size_t n = out.size();
                selection::SearchSpec s;
                s.fixed = kinds[k].fields;
                const bool steam = s.fixed["Application"] == "S";
                const int th = steam ? tubes[n % 5] / 2 : tubes[n % 5];
                const int fl = lengths[n % 6];
                const double face = fl * th * (steam ? 3.0 : 1.5) / 144;  // ft2
                const double cfm = static_cast<int>(face * (400 + 25 * (n % 5)));
                s.fixed["TH"] = std::to_string(th);
                s.fixed["FL"] = std::to_string(fl);
                s.fixed["Acfm"] = std::to_string(static_cast<int>(cfm));
                if (kinds[k].gpmPerCfm > 0)
                    s.fixed["Gpm"] = std::to_string(static_cast<int>(cfm * kinds[k].gpmPerCfm + 1));
                s.duty["TotalBtuh"] = MiddleCapacity(s.fixed) * factors[n % 5];
                if (n % 2 == 0 && !steam) s.duty["AirPDMax"] = 1.0;
                s.top = 5;
                std::string error;
                if (!selection::CompleteSpec(s, error)) std::abort();
                out.push_back(std::move(s));
            }
        return out;
    }();
    return duties;
}

void BM_Project(benchmark::State& state) {
    const long mode = state.range(0);
    std::vector<selection::SearchSpec> duties = Duties();
    for (selection::SearchSpec& s : duties) {
        s.jobs = mode < 0 ? 0 : 1;
        s.exhaustive = state.range(1) != 0;
    }
    const unsigned rowJobs = mode == 0 ? 0 : 1;
    std::vector<selection::SearchResult> results;
    for (auto _ : state) {
        results =
            ParallelMap(duties.size(), rowJobs, [&](std::size_t i) { return selection::Search(duties[i]); });
        benchmark::DoNotOptimize(results.data());
    }
    int rated = 0, skipped = 0, pruned = 0, candidates = 0, met = 0;
    for (const selection::SearchResult& r : results) {
        rated += r.rated, skipped += r.skipped, pruned += r.pruned, candidates += r.searched;
        met += !r.ranked.empty();
    }
    state.counters["duties"] = static_cast<double>(duties.size());
    state.counters["met"] = met;
    state.counters["candidates"] = candidates;
    state.counters["rated"] = rated;
    state.counters["skipped"] = skipped;
    state.counters["pruned"] = pruned;
    state.counters["threads"] = static_cast<double>(ThreadCount(0));
}

}  // namespace

BENCHMARK(BM_Project)
    ->Args({1, 0})
    ->Args({0, 0})
    ->Args({-1, 0})
    ->Args({1, 1})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_MAIN();
