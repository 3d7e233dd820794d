// kvn-rate's own cost per coil: reading a coil line, taking its fields,
// rating it through the calculation driver and writing its result line,
// against the engine's rating of the same coil alone. The difference is
// what the rater adds to each rating.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "engine/coilcalc.h"
#include "engine/msgbox.h"
#include "tools/rate_json.h"
#include "tools/result_writer.h"

namespace {

// Steam coils of several rows, fins and conditions, one JSON line each.
std::vector<std::string> Lines() {
    std::vector<std::string> lines;
    for (int rows = 1; rows <= 3; ++rows)
        for (int fpi = 6; fpi <= 14; fpi += 2)
            for (int db = -20; db <= 60; db += 20)
                lines.push_back(
                    R"({"Application":"S","Pattern":"1","TubeWall":"0.035","FinMat":"A","FinThk":"0.010","FPI":")" +
                    std::to_string(fpi) + R"(","RD":")" + std::to_string(rows) +
                    R"(","TH":"8","FL":"48","Circuits":"","Altitude":"1000","Acfm":"2400","EatDb":")" +
                    std::to_string(db) + R"(","SteamPressure":"5"})");
    return lines;
}

// `tree`: the result line dumped from the JSON tree instead of written
// straight (the same bytes), for comparison.
void ReadRateWrite(benchmark::State& state, bool tree) {
    const std::vector<std::string> lines = Lines();
    std::size_t i = 0;
    std::string out, error;
    for (auto _ : state) {
        kvnrate::Json coil;
        kvnrate::ParseJsonText(lines[i], coil, error);
        FieldTexts fields;
        int mode = 0;
        kvnrate::FieldsFromJson(coil, fields, mode, error);
        kvnrate::RatedCoil rated = kvnrate::RateFields(fields, mode);
        rated.input = std::move(coil);
        out.clear();
        if (tree)
            out = kvnrate::ResultJson(rated).dump(-1, ' ', false, kvnrate::Json::error_handler_t::replace);
        else
            kvnrate::AppendResultLine(out, rated);
        benchmark::DoNotOptimize(out.data());
        if (++i == lines.size()) i = 0;
    }
}

// The records as the driver hands them to the engine.
std::vector<std::pair<CoilSpec, CoilRating>> g_captured;

bool Capture(CoilSpec& coilSpec, CoilRating& rating, RatingOutcome& outcome) {
    g_captured.emplace_back(coilSpec, rating);
    return CC_RateCoil(coilSpec, rating, outcome);
}

void BM_RatingAlone(benchmark::State& state) {
    g_captured.clear();
    std::string error;
    for (const std::string& line : Lines()) {
        kvnrate::Json coil;
        kvnrate::ParseJsonText(line, coil, error);
        FieldTexts fields;
        int mode = 0;
        kvnrate::FieldsFromJson(coil, fields, mode, error);
        CoilSpec coilSpec;
        CoilRating rating;
        CalcPerform(fields, mode, coilSpec, rating, Capture);
    }
    RecordingMessageSink sink;
    ScopedMessageSink scope(sink);
    std::size_t i = 0;
    for (auto _ : state) {
        auto rec = g_captured[i];
        CC_RateCoil(rec.first, rec.second);
        benchmark::DoNotOptimize(rec.second.TotalBtuh);
        if (++i == g_captured.size()) i = 0;
    }
}

void BM_ReadRateWrite(benchmark::State& state) {
    ReadRateWrite(state, false);
}
void BM_ReadRateWriteTree(benchmark::State& state) {
    ReadRateWrite(state, true);
}

}  // namespace

BENCHMARK(BM_ReadRateWrite)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReadRateWriteTree)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RatingAlone)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
