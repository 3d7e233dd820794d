// Speed of selection to a duty: a chilled-water search of 10 row counts x 9
// fin spacings x 6 circuitings (540 candidates), at a fixed flow and with a
// fluid rise, on one thread and on every core (arg 0): the rank-ordered
// search for the best 10 as kvn-rate --select runs it, and the exhaustive
// search with pruning and without. Counters: candidates, ratings run,
// ratings per second, feasible candidates among those rated, candidates
// skipped as certain to rank lower, and the ratings saved against an
// exhaustive search without pruning.
#include <benchmark/benchmark.h>

#include "common/selection.h"

namespace {

enum class Mode { Ranked, Exhaustive, NoPruning };

selection::SearchSpec Query(bool rise, int jobs, Mode mode) {
    selection::SearchSpec s;
    s.fixed = {{"Application", "W"}, {"Pattern", "5"},   {"TubeWall", "0.02"},   {"FinMat", "A"},
               {"FinThk", "0.006"},  {"FinTreat", "CR"}, {"Rifled", "N"},        {"FoulingFactor", "0"},
               {"TH", "24"},         {"FL", "72"},       {"Altitude", "0"},      {"Acfm", "8000"},
               {"EatDb", "80"},      {"EatWb", "67"},    {"EntFluidTemp", "45"}, {"Gpm", "60"}};
    // Rows 1-10, FPI 6-14 and circuits 48, 24, 18, 12, 8, 6 by default.
    s.duty = {{"TotalBtuh", 240000}, {"LatDbMax", 56}, {"AirPDMax", 0.7}, {"FluidPDMax", 20}};
    if (rise) s.fluidRise = 10;
    s.jobs = jobs;
    s.top = 10;
    s.exhaustive = mode != Mode::Ranked;
    s.prune = mode != Mode::NoPruning;
    std::string error;
    if (!selection::CompleteSpec(s, error)) std::abort();
    return s;
}

void BM_Select(benchmark::State& state, bool rise, Mode mode) {
    const selection::SearchSpec query = Query(rise, static_cast<int>(state.range(0)), mode);
    selection::SearchResult r;
    for (auto _ : state) {
        r = selection::Search(query);
        benchmark::DoNotOptimize(r.feasible);
    }
    const selection::SearchResult full = selection::Search(Query(rise, 1, Mode::NoPruning));
    state.counters["candidates"] = r.searched;
    state.counters["rated"] = r.rated;
    state.counters["feasible"] = r.feasible;
    state.counters["skipped"] = r.skipped;
    state.counters["saved"] = full.rated - r.rated;
    state.counters["jobs"] = selection::EffectiveJobs(query.jobs);
    state.counters["ratings_per_s"] =
        benchmark::Counter(static_cast<double>(r.rated) * state.iterations(), benchmark::Counter::kIsRate);
}

}  // namespace

BENCHMARK_CAPTURE(BM_Select, fixed_flow, false, Mode::Ranked)
    ->Arg(1)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_Select, fixed_flow_exhaustive, false, Mode::Exhaustive)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_Select, fixed_flow_no_pruning, false, Mode::NoPruning)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_Select, fluid_rise, true, Mode::Ranked)
    ->Arg(1)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_Select, fluid_rise_exhaustive, true, Mode::Exhaustive)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_MAIN();
