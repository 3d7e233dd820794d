// kvn-rate's streaming path: coil lines read from a file descriptor, rated
// on a bounded window of threads and written back in input order, as the
// rater runs a batch. Arg: threads (0: one per core). Items per second are
// coils; the resident size stays flat whatever the number of iterations.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <string>

#include "common/parallel.h"
#include "tools/coil_stream.h"
#include "tools/rate_batch.h"

namespace {

// A batch of water, steam and condenser coils of several sizes, one JSON
// line each, in a temporary file.
std::FILE* BatchFile(int coils) {
    std::FILE* f = std::tmpfile();
    const char* kinds[] = {
        R"({"Application":"W","Pattern":"5","TubeWall":"0.02","FinMat":"A","FinThk":"0.006","FPI":"12","Circuits":"16","Altitude":"0","Acfm":"2000","EatDb":"80","EatWb":"67","EntFluidTemp":"45","Gpm":"20",)",
        R"({"Application":"S","Pattern":"1","TubeWall":"0.035","FinMat":"A","FinThk":"0.010","FPI":"10","Circuits":"","Altitude":"1000","Acfm":"2400","EatDb":"0","SteamPressure":"5",)",
        R"({"Application":"C","Pattern":"4","TubeWall":"0.017","FinMat":"A","FinThk":"0.006","FPI":"10","Circuits":"6","Altitude":"0","Acfm":"5000","EatDb":"95","EntFluidTemp":"120","Refrigerant":"22",)",
    };
    for (int i = 0; i < coils; ++i) {
        const std::string line = std::string(kinds[i % 3]) + R"("RD":")" + std::to_string(1 + i % 4) +
                                 R"(","TH":")" + std::to_string(12 + 4 * (i % 5)) + R"(","FL":")" +
                                 std::to_string(36 + 6 * (i % 7)) + "\"}\n";
        std::fputs(line.c_str(), f);
    }
    std::fflush(f);
    return f;
}

void StreamBatch(benchmark::State& state) {
    constexpr int kCoils = 240;
    std::FILE* f = BatchFile(kCoils);
    const unsigned jobs = static_cast<unsigned>(state.range(0));
    std::size_t bytes = 0;
    for (auto _ : state) {
        ::lseek(::fileno(f), 0, SEEK_SET);
        kvnrate::FdStreamBuf in(::fileno(f));
        OrderedStream<kvnrate::BatchItem, kvnrate::BatchResult> stream(
            jobs,
            [](kvnrate::BatchItem& item) { return kvnrate::RateItem(item, false, units::System::InchPound); },
            [&](kvnrate::BatchResult& r) { bytes += r.line.size() + 1; });
        std::size_t count = 0;
        std::string error;
        kvnrate::ReadCoilStream(
            in,
            [&](kvnrate::InputCoil& c) {
                kvnrate::BatchItem item;
                kvnrate::FieldsFromJson(c.coil, item.fields, item.airFlowMode, error);
                item.input = std::move(c.coil);
                stream.Put(std::move(item));
            },
            count, error);
        stream.Finish();
    }
    benchmark::DoNotOptimize(bytes);
    state.SetItemsProcessed(state.iterations() * kCoils);
    std::fclose(f);
}
BENCHMARK(StreamBatch)->Arg(1)->Arg(2)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
