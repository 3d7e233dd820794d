// SI property functions: C, g/kg, kPa, metres.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "psychro/hygrel32.h"

namespace {

constexpr float kHumidityError = static_cast<float>(-9999.0 / 7.0);                   // about -1428.43
constexpr float kTemperatureError = static_cast<float>(5.0 * (-9999.0 - 32.0) / 9.0);  // about -5572.78

TEST(SiAltitude, MetresAreFlooredToWholeFeet)
{
    // 20 C saturation humidity in g/kg at Z m must equal the inch-pound one
    // at exactly the listed feet and differ from the next foot up.
    const struct { int16_t m, ft; } cases[] = {
        {0, 0}, {1, 3}, {-1, -4}, {3048, 9999}, {6000, 19684}, {-150, -493}, {9000, 29527},
    };
    for (const auto& c : cases) {
        const float si = HGSI_SATGRAMS(20.0f, c.m);
        EXPECT_EQ(si, static_cast<float>(HGSATGRAINS(68.0f, c.ft) / 7.0)) << c.m << " m";
        EXPECT_NE(si, static_cast<float>(HGSATGRAINS(68.0f, int16_t(c.ft + 1)) / 7.0)) << c.m << " m";
        EXPECT_EQ(HGSI_RH(20.0f, 5.0f, c.m), HGRH(68.0f, 35.0f, c.ft)) << c.m << " m";
    }
}

TEST(SiAltitude, AltitudesBeyondTheFeetRangeAreRefused)
{
    // 9987 m is 32765 ft; 9988 m would be 32768 ft, which the 16-bit
    // altitude of the inch-pound functions cannot carry.
    EXPECT_GT(HGSI_SATGRAMS(20.0f, 9987), 0.0f);
    EXPECT_GT(HGSI_SATGRAMS(20.0f, -9987), 0.0f);
    for (int16_t Z : {int16_t(9988), int16_t(32767), int16_t(-9988), int16_t(-32768)}) {
        EXPECT_EQ(HGSI_SATGRAMS(20.0f, Z), -9999.0f) << Z;
        EXPECT_EQ(HGSI_DENSITY(20.0f, 5.0f, Z), -9999.0f) << Z;
        EXPECT_EQ(HGSI_DEWPOINT(5.0f, Z), -9999.0f) << Z;
        EXPECT_EQ(HGSI_RH(20.0f, 5.0f, Z), -9999.0f) << Z;
        EXPECT_EQ(HGSI_RHTOGRAMS(20.0f, 0.5f, Z), -9999.0f) << Z;
        EXPECT_EQ(HGSI_WETBULB(20.0f, 5.0f, Z), -9999.0f) << Z;
        EXPECT_EQ(HGSI_WBTOGR(20.0f, 15.0f, Z), -9999.0f) << Z;
        EXPECT_EQ(HGSI_WB_RHTOGRAMS(15.0f, 0.5f, Z), -9999.0f) << Z;
    }
}

TEST(SiConversions, ResultsAreTheInchPoundOnesConverted)
{
    EXPECT_FLOAT_EQ(HGSI_SATGRAMS(25.0f, 300), HGSATGRAINS(77.0f, 984) / 7.0f);
    EXPECT_FLOAT_EQ(HGSI_PSATGRAMS(25.0f, 101.325f), HGPSATGRAINS(77.0f, 101.325f / 6.8948f) / 7.0f);
    EXPECT_FLOAT_EQ(HGSI_DEWPOINT(8.0f, 0), (HGDEWPOINT(56.0f, 0) - 32.0f) * 5.0f / 9.0f);
    EXPECT_FLOAT_EQ(HGSI_PWETBULB(30.0f, 10.0f, 101.325f),
                    (HGPWETBULB(86.0f, 70.0f, 101.325f / 6.8948f) - 32.0f) * 5.0f / 9.0f);
    EXPECT_EQ(HGSI_PRH(30.0f, 10.0f, 101.325f), HGPRH(86.0f, 70.0f, static_cast<float>(101.325 / 6.8948)));
    // 1 g/kg is 7 grains/lb: the same air in both unit systems.
    EXPECT_NEAR(HGSI_RHTOGRAMS(20.0f, 0.5f, 0) * 7.0f, HGRHTOGR(68.0f, 0.5f, 0), 1e-4);
    EXPECT_NEAR(HGSI_WBTOGR(30.0f, 20.0f, 0) * 7.0f, HGWBTOGR(86.0f, 68.0f, 0), 1e-3);
    EXPECT_NEAR(HGSI_PWBTOGR(30.0f, 20.0f, 101.325f) * 7.0f, HGPWBTOGR(86.0f, 68.0f, 101.325f / 6.8948f), 1e-3);
}

TEST(SiConversions, DensityUsesTwoPoundDivisors)
{
    const float ip = HGDENSITY(68.0f, 35.0f, 0);
    EXPECT_FLOAT_EQ(HGSI_DENSITY(20.0f, 5.0f, 0), ip * 35.31 / 2.205);
    const float ipP = HGPDENSITY(68.0f, 35.0f, static_cast<float>(101.325 / 6.8948));
    EXPECT_FLOAT_EQ(HGSI_PDENSITY(20.0f, 5.0f, 101.325f), ipP * 35.31 / 2.20462);
    EXPECT_NEAR(HGSI_DENSITY(20.0f, 0.0f, 0), 1.20, 0.01);
    // A refused humidity comes out converted, not as -9999.
    EXPECT_FLOAT_EQ(HGSI_DENSITY(20.0f, 100.0f, 0), -9999.0 * 35.31 / 2.205);
    EXPECT_FLOAT_EQ(HGSI_PDENSITY(20.0f, 100.0f, 101.325f), -9999.0 * 35.31 / 2.20462);
    // No pressure check of its own, but the saturation lookup refuses it.
    EXPECT_FLOAT_EQ(HGSI_PDENSITY(20.0f, 5.0f, 3000.0f), -9999.0 * 35.31 / 2.20462);
}

TEST(SiConversions, SaturationPressureAndEnthalpy)
{
    EXPECT_NEAR(HGSI_SATVP(100.0f), 760.70, 0.01);
    EXPECT_FLOAT_EQ(HGSI_SATVP(100.0f), XPWS(212.0f) * 25.4 / 0.491154);
    EXPECT_EQ(HGSI_SATVP(-100.1f), -9999.0f);
    EXPECT_EQ(HGSI_SATVP(204.5f), -9999.0f);
    EXPECT_EQ(HGSI_SATVP(NAN), -9999.0f);
    EXPECT_NEAR(HGSI_ENTHALPY(0.0f, 0.0f), -0.0744, 1e-4);
    EXPECT_NEAR(HGSI_ENTHALPY(20.0f, 10.0f), 2.326 * (0.24 * 68 + (1061 + 0.444 * 68) * 70 / 7000.0 - 7.712), 1e-4);
    // Saturated air at 20 C: about 57.5 kJ/kg in the SI moist-air table.
    EXPECT_NEAR(HGSI_ENTHALPY(20.0f, HGSI_SATGRAMS(20.0f, 0)), 57.5, 0.3);
}

TEST(SiFailures, OwnChecksGiveMinus9999InnerFailuresAreConverted)
{
    EXPECT_EQ(HGSI_RHTOGRAMS(20.0f, 1.5f, 0), -9999.0f);
    EXPECT_EQ(HGSI_RHTOGRAMS(205.0f, 0.5f, 0), -9999.0f);
    EXPECT_EQ(HGSI_RHTOGRAMS(NAN, 0.5f, 0), -9999.0f);
    EXPECT_EQ(HGSI_PRHTOGRAMS(20.0f, 0.5f, 27.0f), -9999.0f);
    EXPECT_EQ(HGSI_PRHTOGRAMS(20.0f, -0.1f, 101.325f), -9999.0f);
    EXPECT_EQ(HGSI_WBTOGR(20.0f, 20.5f, 0), -9999.0f);
    EXPECT_EQ(HGSI_WBTOGR(50.0f, 5.0f, 0), -9999.0f);  // non-positive humidity
    EXPECT_EQ(HGSI_PWBTOGR(20.0f, NAN, 101.325f), -9999.0f);

    EXPECT_EQ(HGSI_SATGRAMS(100.0f, 0), kHumidityError);  // 212 F is above 200
    EXPECT_EQ(HGSI_PSATGRAMS(20.0f, 20.0f), kHumidityError);
    EXPECT_EQ(HGSI_DEWPOINT(16300.0f / 7.0f + 1.0f, 0), kTemperatureError);
    EXPECT_EQ(HGSI_PDEWPOINT(5.0f, 5000.0f), kTemperatureError);
    EXPECT_EQ(HGSI_RH(20.0f, 1000.0f, 0), -9999.0f);
    EXPECT_EQ(HGSI_PRH(20.0f, 1000.0f, 101.325f), -9999.0f);
    EXPECT_EQ(HGSI_WB_RHTOGRAMS(15.0f, 1.2f, 0), kHumidityError);
    EXPECT_EQ(HGSI_PWB_RHTOGRAMS(15.0f, 0.5f, 20.0f), kHumidityError);
    EXPECT_EQ(HGSI_WETBULB(20.0f, -1000.0f, 0), kTemperatureError);
    // The boiling value arrives as 20000/7 g/kg: 90 C at 7600 m (5.7 psia).
    EXPECT_FLOAT_EQ(HGSI_SATGRAMS(90.0f, 7600), 20000.0f / 7.0f);
    // Every failure lies below -1000.
    EXPECT_LT(kHumidityError, -1000.0f);
    EXPECT_LT(kTemperatureError, -1000.0f);
}

TEST(SiFailures, RefusedSaturationLookupIsNoHumidity)
{
    // 5000 F dry bulb, 3000 F wet bulb: the lookup refuses the wet bulb and
    // returns -9999, which the wet-bulb relation would turn into a positive
    // humidity of about 1.09 lb/lb.
    EXPECT_EQ(HGSI_WBTOGR((5000.0f - 32.0f) * 5.0f / 9.0f, (3000.0f - 32.0f) * 5.0f / 9.0f, 0), -9999.0f);
    EXPECT_EQ(HGSI_PWBTOGR((5000.0f - 32.0f) * 5.0f / 9.0f, (3000.0f - 32.0f) * 5.0f / 9.0f, 101.325f), -9999.0f);
}

TEST(SiRoundTrips, WetBulbAndSaturation)
{
    for (float tw : {-20.0f, 0.0f, 19.4f, 45.0f}) {
        const float Ws = HGSI_SATGRAMS(tw, 0);
        EXPECT_NEAR(HGSI_WB_RHTOGRAMS(tw, 1.0f, 0), Ws, 2e-3 * Ws + 1e-3) << tw;
    }
    for (float t = -20.0f; t <= 60.0f; t += 3.3f) {
        const float tw = t - 6.0f;
        const float W = HGSI_WBTOGR(t, tw, 1500);
        if (W <= 0.0f)
            continue;
        EXPECT_NEAR(HGSI_WETBULB(t, W, 1500), tw, 1e-3) << t;
        EXPECT_NEAR(HGSI_DEWPOINT(HGSI_SATGRAMS(t, 1500), 1500), t, 5e-3) << t;
    }
}

}  // namespace
