// SI property functions: C, g/kg, kPa, metres.
#include <gtest/gtest.h>

#include <cstdint>

#include "psychro/hygrel32.h"
#include "checks.h"

namespace {

constexpr float kHumidityError = static_cast<float>(-9999.0 / 7.0);                    // -1428.43
constexpr float kTemperatureError = static_cast<float>(5.0 * (-9999.0 - 32.0) / 9.0);  // -5572.78

TEST(SiAltitude, MetresAreFlooredToWholeFeet) {
    // At exactly these feet the inch-pound result, and not one foot higher.
    const struct {
        int16_t m, ft;
    } cases[] = {
        {0, 0}, {1, 3}, {-1, -4}, {3048, 9999}, {6000, 19684}, {-150, -493}, {9987, 32765},
    };
    for (const auto& c : cases) {
        const float si = HGSI_SATGRAMS(20.0f, c.m);
        EXPECT_EQ(si, static_cast<float>(HGSATGRAINS(68.0f, c.ft) / 7.0)) << c.m << " m";
        EXPECT_NE(si, static_cast<float>(HGSATGRAINS(68.0f, int16_t(c.ft + 1)) / 7.0)) << c.m << " m";
    }
}

TEST(SiAltitude, FeetBeyondTheSixteenBitAltitudeAreRefused) {
    for (int16_t Z : {int16_t(9988), int16_t(32767), int16_t(-9988), int16_t(-32768)}) {
        EXPECT_REFUSED(HGSI_SATGRAMS(20.0f, Z));
        EXPECT_REFUSED(HGSI_DENSITY(20.0f, 5.0f, Z));
        EXPECT_REFUSED(HGSI_DEWPOINT(5.0f, Z));
        EXPECT_REFUSED(HGSI_RH(20.0f, 5.0f, Z));
        EXPECT_REFUSED(HGSI_RHTOGRAMS(20.0f, 0.5f, Z));
        EXPECT_REFUSED(HGSI_WETBULB(20.0f, 5.0f, Z));
        EXPECT_REFUSED(HGSI_WBTOGR(20.0f, 15.0f, Z));
        EXPECT_REFUSED(HGSI_WB_RHTOGRAMS(15.0f, 0.5f, Z));
    }
}

TEST(SiConversions, SameAirInBothUnitSystems) {
    const float Pp = static_cast<float>(101.325 / 6.8948);
    EXPECT_FLOAT_EQ(HGSI_DEWPOINT(8.0f, 0), (HGDEWPOINT(56.0f, 0) - 32.0f) * 5.0f / 9.0f);
    EXPECT_FLOAT_EQ(HGSI_PWETBULB(30.0f, 10.0f, 101.325f),
                    (HGPWETBULB(86.0f, 70.0f, Pp) - 32.0f) * 5.0f / 9.0f);
    EXPECT_EQ(HGSI_PRH(30.0f, 10.0f, 101.325f), HGPRH(86.0f, 70.0f, Pp));
    EXPECT_NEAR(HGSI_RHTOGRAMS(20.0f, 0.5f, 0) * 7.0f, HGRHTOGR(68.0f, 0.5f, 0), 1e-4);
    EXPECT_NEAR(HGSI_PWBTOGR(30.0f, 20.0f, 101.325f) * 7.0f, HGPWBTOGR(86.0f, 68.0f, Pp), 1e-3);
    // Two pound-to-kilogram divisors: 2.205 by altitude, 2.20462 by pressure.
    EXPECT_FLOAT_EQ(HGSI_DENSITY(20.0f, 5.0f, 0), HGDENSITY(68.0f, 35.0f, 0) * 35.31 / 2.205);
    EXPECT_FLOAT_EQ(HGSI_PDENSITY(20.0f, 5.0f, 101.325f), HGPDENSITY(68.0f, 35.0f, Pp) * 35.31 / 2.20462);
    EXPECT_NEAR(HGSI_SATVP(100.0f), 760.70, 0.01);
    EXPECT_NEAR(HGSI_ENTHALPY(0.0f, 0.0f), -0.0744, 1e-4);
    // Saturated air at 20 C: 57.5 kJ/kg in the SI moist-air table.
    EXPECT_NEAR(HGSI_ENTHALPY(20.0f, HGSI_SATGRAMS(20.0f, 0)), 57.5, 0.3);
    EXPECT_NEAR(HGSI_WB_RHTOGRAMS(19.4f, 1.0f, 0), HGSI_SATGRAMS(19.4f, 0), 0.03);
}

TEST(SiFailures, OwnChecksGiveMinus9999InnerFailuresComeConverted) {
    EXPECT_REFUSED(HGSI_RHTOGRAMS(20.0f, 1.5f, 0));
    EXPECT_REFUSED(HGSI_RHTOGRAMS(205.0f, 0.5f, 0));
    EXPECT_REFUSED(HGSI_PRHTOGRAMS(20.0f, 0.5f, 27.0f));
    EXPECT_REFUSED(HGSI_SATVP(204.5f));
    EXPECT_REFUSED(HGSI_WBTOGR(20.0f, 20.5f, 0));
    EXPECT_REFUSED(HGSI_WBTOGR(50.0f, 5.0f, 0));  // non-positive humidity
    EXPECT_REFUSED(HGSI_RH(20.0f, 1000.0f, 0));   // passed on unchanged

    EXPECT_EQ(HGSI_SATGRAMS(100.0f, 0), kHumidityError);  // 212 F is above 200
    EXPECT_EQ(HGSI_WB_RHTOGRAMS(15.0f, 1.2f, 0), kHumidityError);
    EXPECT_EQ(HGSI_DEWPOINT(16300.0f / 7.0f + 1.0f, 0), kTemperatureError);
    EXPECT_EQ(HGSI_WETBULB(20.0f, -1000.0f, 0), kTemperatureError);
    EXPECT_FLOAT_EQ(HGSI_DENSITY(20.0f, 100.0f, 0), -9999.0 * 35.31 / 2.205);
    EXPECT_FLOAT_EQ(HGSI_PDENSITY(20.0f, 5.0f, 3000.0f), -9999.0 * 35.31 / 2.20462);
    // The boiling value arrives as 20000/7: 90 C at 7600 m (5.7 psia).
    EXPECT_FLOAT_EQ(HGSI_SATGRAMS(90.0f, 7600), 20000.0f / 7.0f);
}

TEST(SiFailures, RefusedSaturationLookupIsNoHumidity) {
    // 5000 F dry bulb, 3000 F wet bulb: the lookup refuses the wet bulb, and
    // its -9999 in the wet-bulb relation would give +1.09 lb/lb.
    const float t = (5000.0f - 32.0f) * 5.0f / 9.0f, tw = (3000.0f - 32.0f) * 5.0f / 9.0f;
    EXPECT_REFUSED(HGSI_WBTOGR(t, tw, 0));
    EXPECT_REFUSED(HGSI_PWBTOGR(t, tw, 101.325f));
}

}  // namespace
