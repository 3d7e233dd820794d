// Batch rating on several threads: ratings per second of a mixed batch of
// 1000 coils (water, glycol, steam, evaporator and condenser coils, cooling
// and heating, on a fixed grid of rows, fins and conditions) through the
// calculation driver, as kvn-rate rates a batch, on one thread and on one
// thread per core. The speedup is the ratio of the two items_per_second.
// process_cpu_ms is the CPU time of all threads for one batch: when it stays
// that of one thread, the threads add no work of their own, and on a machine
// with idle cores the speedup approaches the number of threads.
#include <benchmark/benchmark.h>

#include <ctime>
#include <string>
#include <thread>
#include <vector>

#include "common/calc_driver.h"
#include "common/parallel.h"
#include "engine/records.h"

namespace {

std::vector<FieldTexts> MixedBatch() {
    const char* kTypes[] = {"W", "G", "S", "E", "C", "W", "G"};
    std::vector<FieldTexts> batch;
    for (int i = 0; batch.size() < 1000; ++i) {
        const std::string type = kTypes[i % 7];
        const bool heating = i % 7 >= 5;
        FieldTexts f = {{"Application", type},
                        {"Pattern", type == "C" ? "4" : "5"},
                        {"TubeWall", type == "C" ? "0.017" : "0.02"},
                        {"FinMat", "A"},
                        {"FinThk", "0.006"},
                        {"FinTreat", "CR"},
                        {"FPI", std::to_string(6 + i % 9)},
                        {"RD", std::to_string(1 + i % 8)},
                        {"TH", "16"},
                        {"FL", "48"},
                        {"Circuits", std::to_string(type == "E" ? 8 : 16)},
                        {"Rifled", "N"},
                        {"FoulingFactor", "0"},
                        {"Altitude", "0"},
                        {"Acfm", std::to_string(2000 + 100 * (i % 13))},
                        {"EatDb", std::to_string(75 + i % 16)},
                        {"EatWb", std::to_string(62 + i % 8)},
                        {"EntFluidTemp", std::to_string(40 + i % 8)},
                        {"Gpm", std::to_string(12 + i % 20)}};
        if (type == "G") f["PercentGlycol"] = std::to_string(20 + 5 * (i % 5));
        if (heating) {
            f["EatDb"] = std::to_string(-10 + i % 60);
            f["EatWb"] = "";
            f["EntFluidTemp"] = std::to_string(140 + i % 40);
        }
        if (type == "S") {
            f["EatDb"] = std::to_string(-10 + i % 60);
            f["EatWb"] = "";
            f["EntFluidTemp"] = "";
            f["SteamPressure"] = std::to_string(2 + i % 14);
        }
        if (type == "E" || type == "C") f["Refrigerant"] = i % 2 ? "22" : "410A";
        if (type == "E") f["EvapSHCode"] = "10";
        if (type == "C") {
            f["EatDb"] = std::to_string(85 + i % 16);
            f["EntFluidTemp"] = std::to_string(110 + i % 20);
        }
        batch.push_back(std::move(f));
    }
    return batch;
}

double ProcessCpuMs() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

void BM_MixedBatch(benchmark::State& state) {
    const std::vector<FieldTexts> batch = MixedBatch();
    const auto jobs = static_cast<unsigned>(state.range(0));
    int rated = 0;
    const double cpu0 = ProcessCpuMs();
    for (auto _ : state) {
        const auto results = ParallelMap(batch.size(), jobs, [&](std::size_t i) {
            CoilSpec coilSpec;
            CoilRating rating;
            return CalcPerform(batch[i], kAirFlowAcfm, coilSpec, rating).ok();
        });
        rated = 0;
        for (bool ok : results) rated += ok;
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * batch.size()));
    state.counters["process_cpu_ms"] = (ProcessCpuMs() - cpu0) / static_cast<double>(state.iterations());
    state.counters["threads"] = ThreadCount(jobs);
    state.counters["rated"] = rated;
}

}  // namespace

// 1: one thread; 0: one per core.
BENCHMARK(BM_MixedBatch)->Arg(1)->Arg(0)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
