// Rating speed of the engine: ratings per second and the median time of one
// rating for each coil type over a realistic set, and the time of a sweep of
// 1000 coils (rows 1 to 10 x fins per inch 6 to 14 x twelve circuit counts,
// one duty). Each set also reports a checksum over every field of every
// rated record, so that faster code can be shown to give identical bits.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "engine/coilcalc.h"
#include "engine/msgbox.h"
#include "engine/records.h"
#include "engine/rterror.h"

namespace {

// Discards the engine's messages (the default sink would keep them all).
class NullSink : public MessageSink {
public:
    void Show(const std::string&, MsgIcon, const std::string&) override {}
};

struct Coil {
    CoilSpec coilSpec;
    CoilRating rating;
};

// A coil as the calculation driver fills it.
Coil MakeCoil(const std::string& type, const std::string& tube, int rows, int fpi, int th, float fl,
              int circuits, float acfm, float db, float wb, float fluid, float gpm, float glycol = 0,
              float psi = 0, const std::string& refrigerant = "") {
    Coil c;
    CoilSpec& s = c.coilSpec;
    CoilRating& r = c.rating;
    s.Application = type;
    s.Pattern = tube == "4" ? "P" : tube;
    s.TubeWall = tube == "1"   ? 0.035f
                 : tube == "3" ? 0.014f
                 : tube == "4" ? 0.017f
                 : type == "S" ? 0.025f
                               : 0.02f;
    s.FinMat = std::string(1, 'A');
    s.FinThk = tube == "1" ? 0.010f : tube == "3" ? 0.0045f : 0.006f;
    s.FinTreat = "CR";
    s.FPI = static_cast<int16_t>(fpi);
    s.RD = static_cast<int16_t>(rows);
    s.TH = static_cast<int16_t>(th);
    s.FL = fl;
    s.Rifled = std::string(1, 'N');
    s.Circuits = static_cast<int16_t>(circuits);
    s.Corrugated = std::string(1, 'N');
    const double pitch = s.Pattern == "5" ? 1.5 : s.Pattern == "P" ? 1.25 : s.Pattern == "1" ? 3.0 : 1.0;
    s.FinHeight = static_cast<float>(th * pitch);
    r.Acfm = acfm;
    r.EatDb = db;
    r.EatWb = wb;
    r.EntFluidTemp = type == "S" ? 0.0f : fluid;
    r.SteamPressure = psi;
    r.Gpm = gpm;
    r.PercentGlycol = glycol;
    r.Refrigerant = refrigerant;
    return c;
}

// A realistic set for one coil type: rows, fins and conditions varied over
// their usual ranges on a fixed grid.
std::vector<Coil> Realistic(const std::string& kind) {
    std::vector<Coil> set;
    int i = 0;
    for (int rows : {1, 2, 3, 4, 6, 8, 10}) {
        for (int fpi : {6, 8, 10, 12, 14}) {
            ++i;
            const float face = 16 * 1.5f * 48 / 144;  // tube "5", 16 high, 48 long
            const float acfm = face * (350 + 40 * (i % 6));
            if (kind == "cooling water")
                set.push_back(MakeCoil("W", "5", rows, fpi, 16, 48, 16, acfm, 75 + i % 16, 62 + i % 8,
                                       42 + i % 7, 12 + 2 * (i % 10)));
            else if (kind == "cooling glycol")
                set.push_back(MakeCoil("G", "5", rows, fpi, 16, 48, 16, acfm, 75 + i % 16, 62 + i % 8,
                                       38 + i % 9, 14 + 2 * (i % 10), 20 + 5 * (i % 5)));
            else if (kind == "heating water")
                set.push_back(MakeCoil("W", "5", rows, fpi, 16, 48, 8, acfm, -10 + 2 * (i % 30), 0,
                                       140 + 2 * (i % 25), 6 + i % 15));
            else if (kind == "heating glycol")
                set.push_back(MakeCoil("G", "5", rows, fpi, 16, 48, 8, acfm, -10 + 2 * (i % 30), 0,
                                       130 + 2 * (i % 25), 6 + i % 15, 30 + 5 * (i % 4)));
            else if (kind == "steam")
                set.push_back(MakeCoil("S", i % 2 ? "5" : "1", rows, fpi, i % 2 ? 16 : 8, 48, 1, acfm,
                                       -10 + 2 * (i % 30), 0, 0, 0, 0, float(2 + i % 14)));
            else if (kind == "evaporator")
                set.push_back(MakeCoil("E", "5", rows, fpi, 16, 48, 8, acfm, 75 + i % 16, 62 + i % 8,
                                       35 + i % 11, 0, 0, 0, i % 2 ? "22" : "410A"));
            else if (kind == "condenser")
                set.push_back(MakeCoil("C", "4", rows, fpi, 24, 60, 6, 1.5f * acfm, 85 + i % 16, 0,
                                       110 + i % 20, 0, 0, 0, i % 2 ? "22" : "410A"));
        }
    }
    return set;
}

// The 1000-coil sweep: one chilled-water duty, rows 1 to 10 x fins per inch
// 6 to 14 x twelve circuit counts, the first 1000.
std::vector<Coil> Sweep() {
    std::vector<Coil> set;
    for (int rows = 1; rows <= 10; ++rows)
        for (int fpi = 6; fpi <= 14; ++fpi)
            for (int circuits : {4, 6, 8, 10, 12, 16, 20, 24, 28, 32, 40, 48})
                if (set.size() < 1000)
                    set.push_back(MakeCoil("W", "5", rows, fpi, 24, 72, circuits, 6000, 80, 67, 45, 40));
    return set;
}

// Folds every field of a rated coil into a running FNV-1a checksum.
void Fold(uint64_t& h, const void* p, size_t n) {
    const auto* b = static_cast<const unsigned char*>(p);
    for (size_t i = 0; i < n; ++i) {
        h ^= b[i];
        h *= 0x100000001b3ull;
    }
}

void FoldCoil(uint64_t& h, const Coil& c) {
    const CoilSpec& s = c.coilSpec;
    const CoilRating& r = c.rating;
    const float fs[] = {s.FaceArea, s.FinHeight, s.HeaderLength, s.HeaderDia, s.ConnDia};
    const float fr[] = {r.FinConductivity, r.CoilDepth,      r.FaceVelocity,   r.AirPD,
                        r.Condensate,      r.PrimaryArea,    r.SecondaryArea,  r.FluidDensity,
                        r.EntFluidTemp,    r.EvapCondAux,    r.CoilFaceArea,   r.FluidMassFlow,
                        r.SteamAux,        r.FluidMassFlux,  r.FluidPD,        r.TubeVelocity,
                        r.ConnVelocity,    r.HeaderVelocity, r.CapacityFactor, r.LatentHeat,
                        r.LatDb,           r.LatWb,          r.LvgFluidTemp,   r.WetFraction,
                        r.SensibleBtuh,    r.TotalBtuh,      r.Scfm,           r.FluidSpecHeat,
                        r.SteamPressure,   r.FluidThermCond, r.FluidViscosity};
    Fold(h, fs, sizeof fs);
    Fold(h, fr, sizeof fr);
    Fold(h, &r.TotalTubes, sizeof r.TotalTubes);
}

// Rates a copy of the coil, as CalcPerform rates the form's records.
bool RateOne(const Coil& in, Coil& out) {
    out = in;
    try {
        CC_RateCoil(out.coilSpec, out.rating);
        return true;
    } catch (const rt::RtError&) {
        return false;
    }
}

double ThreadCpuMicros() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e6 + ts.tv_nsec / 1e3;
}

double Median(std::vector<double>& v) {
    std::nth_element(v.begin(), v.begin() + v.size() / 2, v.end());
    return v[v.size() / 2];
}

void RateSet(benchmark::State& state, const std::vector<Coil>& set) {
    NullSink sink;
    ScopedMessageSink scope(sink);
    std::vector<double> wall, cpu;
    wall.reserve(set.size() * 8);
    cpu.reserve(set.size() * 8);
    uint64_t checksum = 0;
    Coil out;
    for (auto _ : state) {
        checksum = 0xcbf29ce484222325ull;
        for (const Coil& c : set) {
            const auto t0 = std::chrono::steady_clock::now();
            const double c0 = ThreadCpuMicros();
            RateOne(c, out);
            cpu.push_back(ThreadCpuMicros() - c0);
            wall.push_back(
                std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - t0).count());
            FoldCoil(checksum, out);
        }
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * set.size()));
    state.counters["median_us"] = Median(wall);
    state.counters["median_cpu_us"] = Median(cpu);
    state.counters["coils"] = static_cast<double>(set.size());
    state.SetLabel("checksum " + std::to_string(checksum));
}

void BM_Rate(benchmark::State& state, const char* kind) {
    static std::vector<Coil> set;
    set = Realistic(kind);
    RateSet(state, set);
}

void BM_Sweep1000(benchmark::State& state) {
    const std::vector<Coil> set = Sweep();
    RateSet(state, set);
}

}  // namespace

BENCHMARK_CAPTURE(BM_Rate, cooling_water, "cooling water")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Rate, cooling_glycol, "cooling glycol")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Rate, heating_water, "heating water")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Rate, heating_glycol, "heating glycol")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Rate, steam, "steam")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Rate, evaporator, "evaporator")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Rate, condenser, "condenser")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Sweep1000)->Unit(benchmark::kMillisecond);

// "bench_engine --sweep-once [SET]" rates every set (or only SET, such as
// "cooling water" or "sweep") and the 1000-coil sweep once and prints their
// checksums (for instruction counts under callgrind and for comparing bits);
// any other arguments go to Google Benchmark.
int main(int argc, char** argv) {
    if ((argc == 2 || argc == 3) && std::strcmp(argv[1], "--sweep-once") == 0) {
        NullSink sink;
        ScopedMessageSink scope(sink);
        Coil out;
        for (const char* kind : {"cooling water", "cooling glycol", "heating water", "heating glycol",
                                 "steam", "evaporator", "condenser", "sweep"}) {
            if (argc == 3 && std::strcmp(argv[2], kind) != 0) continue;
            uint64_t checksum = 0xcbf29ce484222325ull;
            for (const Coil& c : std::string(kind) == "sweep" ? Sweep() : Realistic(kind)) {
                RateOne(c, out);
                FoldCoil(checksum, out);
            }
            std::printf("%-15s checksum %llu\n", kind, static_cast<unsigned long long>(checksum));
        }
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
