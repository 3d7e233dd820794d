// The kernels are evaluated with fewer operations than their formulas are
// written with; every answer must stay the same to the last bit. Each export
// is evaluated over a dense grid of its whole domain (boundaries, phase
// change and refusals included) and the bits of all answers are folded into
// one checksum, recorded from the plain evaluation of the formulas.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <tuple>

#include "psychro/hygrel32.h"

namespace {

struct Fold {
    uint64_t h = 0xcbf29ce484222325ull;
    long count = 0;
    template <typename T>
    void operator()(T v) {
        unsigned char b[sizeof v];
        std::memcpy(b, &v, sizeof v);
        for (unsigned char c : b) h = (h ^ c) * 0x100000001b3ull;
        ++count;
    }
};

// Temperatures -150..402 F in steps of 1/16 F, and every float within
// 0.01 F of the ice/water change at 32 F.
template <typename F>
void OverTemperatures(F f, float step = 0.0625f) {
    for (float t = -150.0f; t <= 402.0f; t += step) f(t);
    for (float t = 31.99f; t <= 32.01f; t = std::nextafter(t, 100.0f)) f(t);
}

// Pressures 2..420 psia, 48 steps of equal ratio (beyond both ends of the
// accepted 4..400).
template <typename F>
void OverPressures(F f) {
    for (int k = 0; k <= 48; ++k) f(static_cast<float>(2.0 * std::pow(210.0, k / 48.0)));
}

const int16_t kAltitudes[] = {-1000, -500, 0, 2500, 5000, 7500, 10000, 15000, 20000, 30000, 30001};

TEST(BitIdentity, SaturationPressureAndEnhancementFactor) {
    Fold pws, fs, pwsapp;
    OverTemperatures([&](float t) { pws(XPWS(t)); }, 1.0f / 128);
    OverPressures([&](float P) {
        OverTemperatures([&](float t) {
            fs(XFS(P, t));
            pwsapp(XPWSAPP(P, t));
        });
    });
    EXPECT_EQ(pws.h, 10600442556745509536uLL) << pws.count;
    EXPECT_EQ(fs.h, 15842345789291642793uLL) << fs.count;
    EXPECT_EQ(pwsapp.h, 11864890240504174405uLL) << pwsapp.count;
}

TEST(BitIdentity, DewPoints) {
    Fold tdp, tdpapp, dew;
    // Vapour pressures 1e-7..30 psia, 0 and a negative one.
    auto overVapourPressures = [](auto f, int perDecade) {
        f(0.0);
        f(-1.0);
        for (int k = -7 * perDecade; k <= 1.5 * perDecade; ++k) f(std::pow(10.0, double(k) / perDecade));
    };
    overVapourPressures([&](double pw) { tdp(XTDP(pw)); }, 2000);
    OverPressures([&](float P) { overVapourPressures([&](double pw) { tdpapp(XTDPAPP(P, pw)); }, 100); });
    for (int16_t Z : kAltitudes)
        for (float W = -1.0f; W <= 16400.0f; W = W < 10 ? W + 0.25f : W * 1.01f) dew(HGDEWPOINT(W, Z));
    EXPECT_EQ(tdp.h, 5220970460489636076uLL) << tdp.count;
    EXPECT_EQ(tdpapp.h, 4226802751992626421uLL) << tdpapp.count;
    EXPECT_EQ(dew.h, 8617270809303012731uLL) << dew.count;
}

TEST(BitIdentity, HumidityAndWetBulb) {
    Fold sat, wb, pwet;
    for (int16_t Z : kAltitudes) {
        for (float t = -82.0f; t <= 202.0f; t += 1.0f / 32) sat(HGSATGRAINS(t, Z));
        for (float t = -82.0f; t <= 202.0f; t += 1.0f)
            for (float d = -1.0f; d <= 60.0f; d += 0.75f) wb(HGWBTOGR(t, t - d, Z));
    }
    OverPressures([&](float P) {
        for (float t = -80.0f; t <= 200.0f; t += 2.5f)
            for (float W = 0.0f; W <= 2000.0f; W = W < 1 ? W + 0.5f : W * 1.5f) pwet(HGPWETBULB(t, W, P));
    });
    EXPECT_EQ(sat.h, 8104519826317611621uLL) << sat.count;
    EXPECT_EQ(wb.h, 1812482873196122878uLL) << wb.count;
    EXPECT_EQ(pwet.h, 558922039621677512uLL) << pwet.count;
}

// The other property functions, each over temperature, humidity (or
// relative humidity) and pressure or altitude, refusals included.
TEST(BitIdentity, OtherPropertyFunctions) {
    Fold psat, dens, pdens, rh, prh, rhgr, prhgr, pdew, wet, pwbgr, wbrh, pwbrh;
    auto overGrains = [](auto f) {
        for (float W = -1.0f; W <= 16400.0f; W = W < 10 ? W + 2.5f : W * 1.25f) f(W);
    };
    OverPressures([&](float P) {
        for (float t = -82.0f; t <= 402.0f; t += 1.5f) {
            psat(HGPSATGRAINS(t, P));
            overGrains([&](float W) {
                pdens(HGPDENSITY(t, W, P));
                prh(HGPRH(t, W, P));
            });
            for (float phi = -0.1f; phi <= 1.1f; phi += 0.05f) prhgr(HGPRHTOGR(t, phi, P));
            for (float d = -1.0f; d <= 60.0f; d += 3.5f) pwbgr(HGPWBTOGR(t, t - d, P));
        }
        overGrains([&](float W) { pdew(HGPDEWPOINT(W, P)); });
        for (float tw = -80.0f; tw <= 200.0f; tw += 20.0f)
            for (float phi : {-0.1f, 0.0f, 0.3f, 0.9f, 1.0f}) pwbrh(HGPWB_RHTOGRAINS(tw, phi, P));
    });
    for (int16_t Z : kAltitudes) {
        for (float t = -82.0f; t <= 402.0f; t += 1.5f) {
            overGrains([&](float W) {
                dens(HGDENSITY(t, W, Z));
                rh(HGRH(t, W, Z));
            });
            for (float phi = -0.1f; phi <= 1.1f; phi += 0.05f) rhgr(HGRHTOGR(t, phi, Z));
        }
        for (float t = -80.0f; t <= 400.0f; t += 7.5f)
            for (float W = 0.0f; W <= 3000.0f; W = W < 1 ? W + 0.5f : W * 1.5f) wet(HGWETBULB(t, W, Z));
        for (float tw = -80.0f; tw <= 200.0f; tw += 7.0f)
            for (float phi : {0.0f, 0.05f, 0.5f, 0.95f, 1.0f, 1.01f}) wbrh(HGWB_RHTOGRAINS(tw, phi, Z));
    }
    const std::tuple<const char*, const Fold&, uint64_t> expected[] = {
        {"HGPSATGRAINS", psat, 13309894743657624673uLL},
        {"HGDENSITY", dens, 6827882492405039142uLL},
        {"HGPDENSITY", pdens, 6228584182332267157uLL},
        {"HGRH", rh, 18406096445036103287uLL},
        {"HGPRH", prh, 12549752879462811791uLL},
        {"HGRHTOGR", rhgr, 15589100977602430099uLL},
        {"HGPRHTOGR", prhgr, 17187266525692465632uLL},
        {"HGPDEWPOINT", pdew, 7620437804491937170uLL},
        {"HGWETBULB", wet, 5897642313111385941uLL},
        {"HGPWBTOGR", pwbgr, 8064367578056755898uLL},
        {"HGWB_RHTOGRAINS", wbrh, 1872086771122459365uLL},
        {"HGPWB_RHTOGRAINS", pwbrh, 11700125294586224660uLL}};
    for (const auto& [name, fold, h] : expected)
        EXPECT_EQ(fold.h, h) << name << ", " << fold.count << " values";
}

}  // namespace
