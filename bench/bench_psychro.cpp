// Calls per second of the moist-air functions the rating engine leans on,
// over a realistic grid: dry bulb 0..120 F, wet bulb at or below it,
// altitude 0..10000 ft.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "psychro/hygrel32.h"

namespace {

struct Point {
    float t;    // dry bulb, F
    float tw;   // wet bulb, F
    int16_t Z;  // altitude, ft
    float P;    // barometric pressure at Z, psia
    float W;    // humidity, grains/lb
    float phi;  // relative humidity, fraction
};

float Barometric(int16_t Z) {
    const double z = Z;
    return static_cast<float>((29.921 - 0.0010717 * z + 1.3598e-8 * z * z) / 2.036);
}

// Points of the grid in an order that does not repeat neighbours: dry bulb
// in 1.7 F steps, wet-bulb depression in 7 fractions of the dry bulb,
// altitude in 11 levels.
const std::vector<Point>& Grid() {
    static const std::vector<Point> grid = [] {
        std::vector<Point> g;
        for (int k = 0; k <= 10; ++k) {
            const auto Z = static_cast<int16_t>(k * 1000);
            for (float t = 0.0f; t <= 120.0f; t += 1.7f) {
                for (int j = 0; j <= 6; ++j) {
                    const float tw = t - 0.07f * j * (t > 40.0f ? t - 20.0f : 20.0f);
                    const float W = HGWBTOGR(t, tw, Z);
                    if (W <= 0.0f) continue;
                    g.push_back({t, tw, Z, Barometric(Z), W, HGRH(t, W, Z) / 100.0f});
                }
            }
        }
        // Interleave so that successive calls see different inputs.
        std::vector<Point> mixed;
        const size_t n = g.size();
        for (size_t i = 0; i < n; ++i) mixed.push_back(g[(i * 7919) % n]);
        return mixed;
    }();
    return grid;
}

template <typename F>
void Run(benchmark::State& state, F f) {
    const auto& g = Grid();
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(f(g[i]));
        if (++i == g.size()) i = 0;
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_XFS(benchmark::State& s) {
    Run(s, [](const Point& p) { return XFS(p.P, p.t); });
}
void BM_XPWSAPP(benchmark::State& s) {
    Run(s, [](const Point& p) { return XPWSAPP(p.P, p.t); });
}
void BM_HGSATGRAINS(benchmark::State& s) {
    Run(s, [](const Point& p) { return HGSATGRAINS(p.t, p.Z); });
}
void BM_HGWBTOGR(benchmark::State& s) {
    Run(s, [](const Point& p) { return HGWBTOGR(p.t, p.tw, p.Z); });
}
void BM_HGDENSITY(benchmark::State& s) {
    Run(s, [](const Point& p) { return HGDENSITY(p.t, p.W, p.Z); });
}
void BM_HGDEWPOINT(benchmark::State& s) {
    Run(s, [](const Point& p) { return HGDEWPOINT(p.W, p.Z); });
}
void BM_HGPWETBULB(benchmark::State& s) {
    Run(s, [](const Point& p) { return HGPWETBULB(p.t, p.W, p.P); });
}
void BM_HGPWB_RHTOGRAINS(benchmark::State& s) {
    Run(s, [](const Point& p) { return HGPWB_RHTOGRAINS(p.tw, p.phi, p.P); });
}

}  // namespace

BENCHMARK(BM_XFS);
BENCHMARK(BM_XPWSAPP);
BENCHMARK(BM_HGSATGRAINS);
BENCHMARK(BM_HGWBTOGR);
BENCHMARK(BM_HGDENSITY);
BENCHMARK(BM_HGDEWPOINT);
BENCHMARK(BM_HGPWETBULB);
BENCHMARK(BM_HGPWB_RHTOGRAINS);

BENCHMARK_MAIN();
