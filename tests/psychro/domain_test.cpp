// Every export over the whole input domain, NaN and infinities included:
// each call returns quickly with a finite number or its error value; the
// export table holds exactly the library's functions.
#include <gtest/gtest.h>

#include <time.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <limits>
#include <set>
#include <string>
#include <vector>

#include "psychro/hygrel32.h"

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kMax = std::numeric_limits<float>::max();

// Arguments: f = 32-bit float, z = 16-bit altitude, d = double pressure.
enum class Kind { Plain, SiHumidity, SiTemperature, SiDensity, SiDensityP, Unchecked };

struct Export {
    const char* name;
    const char* args;  // one letter per argument
    std::function<double(double, double, double)> call;
    Kind kind;
    // Arguments (by position) in which a NaN must give the error value.
    std::vector<int> refusesNaN;
};

#define E1(fn, a, k, ...)                                                    \
    {                                                                        \
#fn, a, [](double x, double, double) { return double(fn(x)); }, k, { \
            __VA_ARGS__                                                      \
        }                                                                    \
    }
#define E2(fn, a, k, ...)                                                         \
    {                                                                             \
#fn, a, [](double x, double y, double) { return double(fn(x, y)); }, k, { \
            __VA_ARGS__                                                           \
        }                                                                         \
    }
#define E3(fn, a, k, ...)                                                              \
    {                                                                                  \
#fn, a, [](double x, double y, double z) { return double(fn(x, y, z)); }, k, { \
            __VA_ARGS__                                                                \
        }                                                                              \
    }
#define Z2(fn, a, k, ...)                                                                  \
    {                                                                                      \
#fn, a, [](double x, double y, double) { return double(fn(x, int16_t(y))); }, k, { \
            __VA_ARGS__                                                                    \
        }                                                                                  \
    }
#define Z3(fn, a, k, ...)                                                                       \
    {                                                                                           \
#fn, a, [](double x, double y, double z) { return double(fn(x, y, int16_t(z))); }, k, { \
            __VA_ARGS__                                                                         \
        }                                                                                       \
    }

const std::vector<Export>& Exports() {
    static const std::vector<Export> all = {
        {"PLV", "", [](double, double, double) { return double(PLV()); }, Kind::Plain, {}},
        E1(XPWS, "f", Kind::Plain, 0),
        E2(XFS, "ff", Kind::Plain),
        E2(XPWSAPP, "ff", Kind::Plain, 1),
        {"XTDP", "d", [](double x, double, double) { return double(XTDP(x)); }, Kind::Plain, {0}},
        {"XTDPAPP",
         "fd",
         [](double x, double y, double) { return double(XTDPAPP(float(x), y)); },
         Kind::Plain,
         {1}},
        Z2(HGSATGRAINS, "fz", Kind::Plain, 0),
        E2(HGPSATGRAINS, "ff", Kind::Plain, 0, 1),
        Z3(HGDENSITY, "ffz", Kind::Plain, 0, 1),
        E3(HGPDENSITY, "fff", Kind::Plain, 0, 1, 2),
        E2(HGENTHALPY, "ff", Kind::Unchecked),
        Z2(HGDEWPOINT, "fz", Kind::Plain, 0),
        E2(HGPDEWPOINT, "ff", Kind::Plain, 0, 1),
        Z3(HGRH, "ffz", Kind::Plain, 0, 1),
        E3(HGPRH, "fff", Kind::Plain, 0, 1, 2),
        Z3(HGRHTOGR, "ffz", Kind::Plain, 0, 1),
        E3(HGPRHTOGR, "fff", Kind::Plain, 0, 1, 2),
        E1(HGSATVP, "f", Kind::Plain, 0),
        Z3(HGWETBULB, "ffz", Kind::Plain, 0, 1),
        E3(HGPWETBULB, "fff", Kind::Plain, 0, 1, 2),
        Z3(HGWBTOGR, "ffz", Kind::Plain, 0, 1),
        E3(HGPWBTOGR, "fff", Kind::Plain, 0, 1, 2),
        Z3(HGWB_RHTOGRAINS, "ffz", Kind::Plain, 0, 1),
        E3(HGPWB_RHTOGRAINS, "fff", Kind::Plain, 0, 1, 2),
        Z2(HGSI_SATGRAMS, "fz", Kind::SiHumidity, 0),
        E2(HGSI_PSATGRAMS, "ff", Kind::SiHumidity, 0, 1),
        Z3(HGSI_DENSITY, "ffz", Kind::SiDensity, 0, 1),
        E3(HGSI_PDENSITY, "fff", Kind::SiDensityP, 0, 1, 2),
        E2(HGSI_ENTHALPY, "ff", Kind::Unchecked),
        Z2(HGSI_DEWPOINT, "fz", Kind::SiTemperature, 0),
        E2(HGSI_PDEWPOINT, "ff", Kind::SiTemperature, 0, 1),
        Z3(HGSI_RH, "ffz", Kind::Plain, 0, 1),
        E3(HGSI_PRH, "fff", Kind::Plain, 0, 1, 2),
        Z3(HGSI_RHTOGRAMS, "ffz", Kind::SiHumidity, 0, 1),
        E3(HGSI_PRHTOGRAMS, "fff", Kind::SiHumidity, 0, 1, 2),
        E1(HGSI_SATVP, "f", Kind::Plain, 0),
        Z3(HGSI_WETBULB, "ffz", Kind::SiTemperature, 0, 1),
        E3(HGSI_PWETBULB, "fff", Kind::SiTemperature, 0, 1, 2),
        Z3(HGSI_WBTOGR, "ffz", Kind::SiHumidity, 0, 1),
        E3(HGSI_PWBTOGR, "fff", Kind::SiHumidity, 0, 1, 2),
        Z3(HGSI_WB_RHTOGRAMS, "ffz", Kind::SiHumidity, 0, 1),
        E3(HGSI_PWB_RHTOGRAMS, "fff", Kind::SiHumidity, 0, 1, 2),
    };
    return all;
}

bool IsErrorValue(Kind kind, double r) {
    const float f = static_cast<float>(r);
    switch (kind) {
        case Kind::SiHumidity:
            return f == -9999.0f || f == static_cast<float>(-9999.0 / 7.0);
        case Kind::SiTemperature:
            return f == -9999.0f || f == static_cast<float>(5.0 * (-9999.0 - 32.0) / 9.0);
        case Kind::SiDensity:
            return f == -9999.0f || f == static_cast<float>(-9999.0 * 35.31 / 2.205);
        case Kind::SiDensityP:
            return f == -9999.0f || f == static_cast<float>(-9999.0 * 35.31 / 2.20462);
        default:
            return f == -9999.0f;
    }
}

double ThreadSeconds() {
    timespec ts;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec + 1e-9 * ts.tv_nsec;
}

// Float arguments: non-finite values, the ends of the float range, values
// just outside and inside every range check, and ordinary ones.
const std::vector<double> kFloats = {kNaN,    kInf,   -kInf, kMax,    -kMax,  1e10,  -1e10,    -1000, -460,
                                     -148.01, -80.01, -40,   -1,      0,      1e-30, 0.5,      1,     1.01,
                                     3.99,    14.696, 68,    101.325, 200.01, 400,   16300.01, 20000};
const std::vector<double> kAltitudes = {-32768, -501, -1, 0, 5000, 9988, 30001, 32767};
const std::vector<double> kPressures = {
    std::nan(""), std::numeric_limits<double>::infinity(), -1e-300, 0, 1e-300, 1e-9, 2e-7, 0.1, 14.696, 225.6,
    1e300};

const std::vector<double>& ValuesFor(char kind) {
    return kind == 'z' ? kAltitudes : kind == 'd' ? kPressures : kFloats;
}

class EveryExport : public ::testing::TestWithParam<size_t> {};

TEST_P(EveryExport, ReturnsQuicklyAFiniteNumberOrItsErrorValue) {
    const Export& e = Exports()[GetParam()];
    const std::string args = e.args;
    std::vector<double> a(3, 0.0);
    size_t calls = 0;
    double slowest = 0.0;
    std::function<void(size_t)> sweep = [&](size_t i) {
        if (HasFatalFailure()) return;
        if (i < args.size()) {
            for (double v : ValuesFor(args[i])) {
                a[i] = v;
                sweep(i + 1);
            }
            return;
        }
        const double start = ThreadSeconds();
        const double r = e.call(a[0], a[1], a[2]);
        slowest = std::max(slowest, ThreadSeconds() - start);
        ++calls;
        char where[160];
        std::snprintf(where, sizeof where, "%s(%g, %g, %g) = %g", e.name, a[0], a[1], a[2], r);
        bool nonFiniteArg = false;
        for (size_t k = 0; k < args.size(); ++k)
            nonFiniteArg = nonFiniteArg || !std::isfinite(a[k]) || std::fabs(a[k]) > 1e18;
        if (e.kind == Kind::Unchecked) {
            // Plain arithmetic: only a non-finite or huge argument may
            // give a non-finite result.
            ASSERT_TRUE(std::isfinite(r) || nonFiniteArg) << where;
        } else {
            ASSERT_TRUE(std::isfinite(r)) << where;
        }
        for (int k : e.refusesNaN) {
            if (std::isnan(a[k])) {
                ASSERT_TRUE(IsErrorValue(e.kind, r)) << where;
            }
        }
    };
    sweep(0);
    // Capped searches at absurd pressures take a few milliseconds.
    EXPECT_LT(slowest, 0.1) << e.name << ": slowest call " << slowest << " s";
    EXPECT_GT(calls, 0u);
}

INSTANTIATE_TEST_SUITE_P(InputDomain, EveryExport, ::testing::Range(size_t(0), size_t(42)),
                         [](const ::testing::TestParamInfo<size_t>& info) {
                             return std::string(Exports()[info.param].name);
                         });

TEST(InputDomain, RealisticInputsNeverReachTheSearchCaps) {
    // A capped search answers -9999; over the working domain every search
    // must end on its own.
    for (float P : {4.0f, 8.0f, 14.696f, 30.0f, 100.0f, 400.0f}) {
        for (float t = -80.0f; t <= 200.0f; t += 2.7f) {
            const float Ws = HGPSATGRAINS(t, P);
            const float top = std::min(Ws, 16300.0f);
            for (int j = 0; j <= 10; ++j) {
                const float W = top * j / 10.0f;
                ASSERT_NE(HGPWETBULB(t, W, P), -9999.0f) << P << " " << t << " " << W;
                ASSERT_NE(HGPDEWPOINT(W, P), -9999.0f) << P << " " << W;
            }
            // Very cold air at high pressure cannot reach a low relative
            // humidity before its humidity from the wet bulb turns
            // negative, which ends the march with -9999 of its own.
            if (t >= -40.0f && t <= 150.0f && Ws < 16300.0f) {
                for (float phi : {0.2f, 0.5f, 1.0f}) {
                    ASSERT_NE(HGPWB_RHTOGRAINS(t, phi, P), -9999.0f) << P << " " << t << " " << phi;
                }
            }
        }
    }
}

TEST(Exports, TheLibraryExportsExactlyItsFunctions) {
    std::set<std::string> expected;
    for (const auto& e : Exports()) expected.insert(e.name);
    ASSERT_EQ(expected.size(), 42u);

    const std::string cmd = "nm -D --defined-only " KVN_BIN_DIR "/libHygrel32.so 2>/dev/null";
    FILE* p = popen(cmd.c_str(), "r");
    if (!p) GTEST_SKIP() << "nm not available";
    std::set<std::string> found;
    char line[512];
    while (std::fgets(line, sizeof line, p)) {
        char addr[64], type[8], name[256];
        if (std::sscanf(line, "%63s %7s %255s", addr, type, name) == 3) found.insert(name);
    }
    if (pclose(p) != 0 && found.empty()) GTEST_SKIP() << "nm not available";
    EXPECT_EQ(found, expected);
}

TEST(Exports, HeaderCompilesAsCAndCxx) {
    if (std::system("cc --version >/dev/null 2>&1") != 0) GTEST_SKIP() << "no C compiler";
    const std::string header = KVN_SOURCE_DIR "/psychro/hygrel32.h";
    EXPECT_EQ(
        std::system(("cc -std=c99 -Wall -Wextra -pedantic -Werror -fsyntax-only -x c " + header).c_str()), 0);
    EXPECT_EQ(std::system(
                  ("c++ -std=c++11 -Wall -Wextra -pedantic -Werror -fsyntax-only -x c++ " + header).c_str()),
              0);
}

}  // namespace
