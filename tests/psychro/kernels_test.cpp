// Saturation pressure, enhancement factor and dew-point kernels.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "psychro/hygrel32.h"

namespace {

TEST(SaturationPressure, RangeAndPhases) {
    EXPECT_GT(XPWS(-148.0f), 0.0);
    EXPECT_GT(XPWS(400.0f), 0.0);
    EXPECT_EQ(XPWS(-148.01f), -9999.0);
    EXPECT_EQ(XPWS(400.01f), -9999.0);
    // Water from 32 F up (0.088649 psia), ice below: the ice slope is the
    // steeper one, 0.99534 from 31.9 to 32 F against 0.99598 for water.
    EXPECT_NEAR(XPWS(32.0f), 0.088649, 2e-6);
    EXPECT_NEAR(XPWS(31.9f) / XPWS(32.0f), 0.99534, 5e-5);
    EXPECT_NEAR(XPWS(212.0f), 14.7095, 5e-4);
}

// Saturation pressure, psia, from the moist-air table of the ASHRAE
// Handbook of Fundamentals (inch-pound edition). The table comes from a
// later formulation of the saturation line and has five figures: the two
// agree to 0.05 percent; more would mean a wrong coefficient.
TEST(SaturationPressure, AgreesWithHandbookTable) {
    const struct {
        float t;
        double p;
    } table[] = {
        {-40.0f, 0.0018623}, {0.0f, 0.018508}, {32.0f, 0.088652}, {50.0f, 0.17813},
        {60.0f, 0.25638},    {70.0f, 0.36334}, {80.0f, 0.50745},  {100.0f, 0.95044},
        {120.0f, 1.6951},    {150.0f, 3.7228}, {200.0f, 11.538},  {212.0f, 14.709},
    };
    for (const auto& row : table) EXPECT_NEAR(XPWS(row.t) / row.p, 1.0, 5e-4) << "t = " << row.t;
}

TEST(EnhancementFactor, ValuesAndBoilingGuard) {
    EXPECT_NEAR(XFS(14.696f, -40.0f), 1.0052, 1e-4);
    EXPECT_NEAR(XFS(14.696f, 0.0f), 1.0043, 1e-4);
    EXPECT_NEAR(XFS(14.696f, 68.0f), 1.0040, 1e-4);
    EXPECT_NEAR(XFS(100.0f, 200.0f), 1.022, 5e-4);
    // 0.98 of the rough boiling pressure at 200 F (11.5 psia) exceeds 5.
    EXPECT_EQ(XFS(5.0f, 200.0f), 1.0);
    for (float P : {4.0f, 14.696f, 400.0f})
        for (float t = -148.0f; t <= 400.0f; t += 7.3f)
            ASSERT_GE(XFS(P, t), 1.0) << P << " psia, " << t << " F";
    // Out of range the product carries -9999 unchecked.
    EXPECT_EQ(XPWSAPP(14.696f, 450.0f), -9999.0 * XFS(14.696f, 450.0f));
}

TEST(DewPoint, InvertsSaturationPressure) {
    // Trial temperatures go to the saturation pressure as 32-bit floats, so
    // the secant settles within about 1e-5 F (two float steps near 200 F).
    for (float t = -148.0f; t <= 392.0f; t += 0.173f) ASSERT_NEAR(XTDP(XPWS(t)), t, 2e-5) << "t = " << t;
}

TEST(DewPoint, EveryPressureFindsATemperature) {
    // Includes 208..226 psia, where the first estimate is 50 F low and the
    // secant overshoots the top of the correlation.
    float prev = -1000.0f;
    for (double lp = -12.0; lp < 4.0; lp += 0.001) {
        const float t = XTDP(std::pow(10.0, lp));
        ASSERT_GE(t, prev - 2e-5f) << "not monotone at 10^" << lp;
        ASSERT_LE(t, 392.0f);
        prev = t;
    }
}

TEST(DewPoint, EndsOfTheRange) {
    const double p_lo = XPWS(-148.0f);
    EXPECT_EQ(XTDP(0.0), -459.67f);
    EXPECT_EQ(XTDP(-1e-12), -9999.0f);
    // Below the correlation: linear from absolute zero up to -148 F.
    EXPECT_NEAR(XTDP(p_lo / 2), -459.67 + (459.67 - 148.0) / 2, 1e-4);
    EXPECT_NEAR(XTDP(p_lo * (1 - 1e-9)), -148.0, 1e-3);
    EXPECT_NEAR(XTDP(p_lo), -148.0, 2e-5);
    EXPECT_EQ(XTDP(XPWS(392.0f) * 1.000001), 392.0f);
    EXPECT_EQ(XTDP(std::numeric_limits<double>::infinity()), 392.0f);
}

TEST(DewPoint, MoistAirInvertsMoistAirSaturation) {
    // The fixed point stops when the vapour pressure moves by less than
    // 1e-6 psia: a few thousandths of a degree at -40 F, less when warmer.
    for (float P : {4.0f, 14.696f, 100.0f, 400.0f}) {
        for (float t = -40.0f; t <= 390.0f; t += 1.1f) {
            const double pw = XPWSAPP(P, t);
            if (pw >= P) continue;
            ASSERT_NEAR(XTDPAPP(P, pw), t, t < 32.0f ? 0.01 : 2e-3) << P << " psia, " << t << " F";
        }
    }
    EXPECT_EQ(XTDPAPP(14.696f, -1.0), -9999.0f);
    EXPECT_EQ(XTDPAPP(14.696f, 0.0), -459.67f);
}

}  // namespace
