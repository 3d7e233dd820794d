// Inch-pound property functions: F, grains/lb, psia, feet.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "psychro/hygrel32.h"
#include "checks.h"

namespace {

// Barometric pressure at Z ft as the library holds it, psia.
float Baro(int16_t Z) {
    const double z = Z;
    return static_cast<float>((29.921 - 0.0010717 * z + 1.3598e-8 * z * z) / 2.036);
}

TEST(Altitude, EveryAltitudeFunctionIsItsPressureTwinAtPZ) {
    EXPECT_NEAR(Baro(0), 14.696, 1e-4);
    for (int16_t Z : {int16_t(-500), int16_t(5280), int16_t(30000)}) {
        const float P = Baro(Z);
        for (float t : {-20.0f, 55.0f, 180.0f}) {
            const float Ws = HGSATGRAINS(t, Z);
            EXPECT_EQ(Ws, HGPSATGRAINS(t, P));
            EXPECT_EQ(HGDENSITY(t, Ws / 2, Z), HGPDENSITY(t, Ws / 2, P));
            EXPECT_EQ(HGDEWPOINT(Ws / 3, Z), HGPDEWPOINT(Ws / 3, P));
            EXPECT_EQ(HGRH(t, Ws / 4, Z), HGPRH(t, Ws / 4, P));
            EXPECT_EQ(HGRHTOGR(t, 0.6f, Z), HGPRHTOGR(t, 0.6f, P));
            EXPECT_EQ(HGWETBULB(t, Ws / 5, Z), HGPWETBULB(t, Ws / 5, P));
            EXPECT_EQ(HGWBTOGR(t, t - 5, Z), HGPWBTOGR(t, t - 5, P));
            EXPECT_EQ(HGWB_RHTOGRAINS(t, 0.4f, Z), HGPWB_RHTOGRAINS(t, 0.4f, P));
        }
    }
}

TEST(RangeChecks, BoundsAreInclusive) {
    EXPECT_ACCEPTED(HGSATGRAINS(200.0f, 0));
    EXPECT_ACCEPTED(HGSATGRAINS(-80.0f, 0));
    EXPECT_REFUSED(HGSATGRAINS(200.5f, 0));
    EXPECT_ACCEPTED(HGPSATGRAINS(70.0f, 4.0f));
    EXPECT_ACCEPTED(HGPSATGRAINS(70.0f, 400.0f));
    EXPECT_REFUSED(HGPSATGRAINS(70.0f, 3.99f));
    EXPECT_REFUSED(HGDENSITY(75.0f, -0.001f, 0));
    EXPECT_REFUSED(HGDENSITY(250.0f, 0.0f, 0));  // the saturation lookup refuses 250 F
    EXPECT_REFUSED(HGPDENSITY(70.0f, 0.0f, 400.5f));
    EXPECT_REFUSED(HGDEWPOINT(16300.1f, 0));
    EXPECT_REFUSED(HGPDEWPOINT(50.0f, 3.9f));
    EXPECT_REFUSED(HGRH(-80.5f, 1.0f, 0));
    EXPECT_REFUSED(HGRH(70.0f, 16300.5f, 0));
    EXPECT_REFUSED(HGPRH(70.0f, 10.0f, 401.0f));
    EXPECT_REFUSED(HGRHTOGR(70.0f, 1.01f, 0));
    EXPECT_REFUSED(HGRHTOGR(400.5f, 0.5f, 0));
    EXPECT_REFUSED(HGPRHTOGR(70.0f, 0.5f, 3.0f));
    EXPECT_REFUSED(HGSATVP(-148.01f));
    EXPECT_REFUSED(HGWBTOGR(70.0f, 70.01f, 0));
    EXPECT_ACCEPTED(HGWBTOGR(70.0f, 60.0f, 30000));
    EXPECT_ACCEPTED(HGWBTOGR(70.0f, 60.0f, -500));
    EXPECT_REFUSED(HGWBTOGR(70.0f, 60.0f, 30001));
    EXPECT_REFUSED(HGWBTOGR(70.0f, 60.0f, -501));
    EXPECT_REFUSED(HGWBTOGR(300.0f, 210.0f, 0));  // wet bulb above the lookup's 200 F
    EXPECT_REFUSED(HGWBTOGR(120.0f, 40.0f, 0));   // humidity would be negative
    EXPECT_REFUSED(HGWB_RHTOGRAINS(67.0f, 1.01f, 0));
    EXPECT_REFUSED(HGPWB_RHTOGRAINS(67.0f, 0.5f, 3.0f));
}

// Humidity ratio at saturation, lb/lb, at 14.696 psia, from the moist-air
// table of the ASHRAE Handbook of Fundamentals. Both carry the enhancement
// factor; the table's later saturation formulation and its molar mass
// ratio 0.621945 (here 0.62198) move W_s by up to about 0.03 percent, so
// 0.1 percent is allowed.
TEST(SaturationHumidity, AgreesWithHandbookTable) {
    const struct {
        float t;
        double Ws;
    } table[] = {
        {-40.0f, 0.0000793}, {0.0f, 0.0007875}, {32.0f, 0.003790}, {50.0f, 0.007658},
        {60.0f, 0.011087},   {70.0f, 0.015832}, {80.0f, 0.022340}, {100.0f, 0.043219},
    };
    for (const auto& row : table)
        EXPECT_NEAR(HGSATGRAINS(row.t, 0) / 7000.0 / row.Ws, 1.0, 1e-3) << "t = " << row.t;
    // Saturated air at 70 F holds 34.09 Btu/lb in the same table.
    EXPECT_NEAR(HGENTHALPY(70.0f, HGSATGRAINS(70.0f, 0)), 34.09, 0.05);
}

TEST(SaturationHumidity, BoilingAirGives20000) {
    EXPECT_EQ(HGPSATGRAINS(200.0f, 10.0f), 20000.0f);
    EXPECT_EQ(HGSATGRAINS(195.0f, 25000), 20000.0f);  // 5.7 psia
    // Density accepts any humidity up to 16300 there.
    EXPECT_ACCEPTED(HGDENSITY(200.0f, 16300.0f, 25000));
    EXPECT_REFUSED(HGDENSITY(200.0f, 16300.5f, 25000));
}

TEST(Density, SaturationBoundAndDryAir) {
    const float Ws = HGSATGRAINS(75.0f, 0);
    EXPECT_ACCEPTED(HGDENSITY(75.0f, Ws, 0));
    EXPECT_REFUSED(HGDENSITY(75.0f, std::nextafter(Ws, 1e9f), 0));
    // Dry air: 144 P / (53.352 (t + 460)); standard air near 0.075 lb/ft3.
    EXPECT_FLOAT_EQ(HGDENSITY(70.0f, 0.0f, 8000), 144.0 * Baro(8000) / (53.352 * 530.0));
    EXPECT_NEAR(HGDENSITY(70.0f, 0.0f, 0), 0.0748, 2e-4);
}

TEST(RelativeHumidity, SaturationIsExactlyOneHundred) {
    for (int16_t Z : {int16_t(0), int16_t(5000)}) {
        for (float t = -80.0f; t <= 200.0f; t += 2.9f) {
            const float Ws = HGSATGRAINS(t, Z);
            if (Ws > 16300.0f)  // refused as a humidity
                continue;
            ASSERT_EQ(HGRH(t, Ws, Z), 100.0f) << t;
            ASSERT_EQ(HGRH(t, std::nextafter(Ws, 1e9f), Z), -9999.0f) << t;
        }
    }
}

TEST(RelativeHumidity, RoundTripWithHumidityFromRh) {
    EXPECT_EQ(HGRHTOGR(70.0f, 0.0f, 0), 0.0f);
    for (float t = -80.0f; t <= 200.0f; t += 4.7f)
        for (float phi : {0.05f, 0.3f, 0.75f, 1.0f})
            ASSERT_NEAR(HGRH(t, HGRHTOGR(t, phi, 0), 0), 100.0f * phi, 0.2f * phi) << t;
}

TEST(DewPoint, OfSaturatedAirIsItsTemperature) {
    EXPECT_EQ(HGDEWPOINT(0.0f, 0), -459.67f);
    for (int16_t Z : {int16_t(0), int16_t(6000)})
        for (float t = -60.0f; t <= 190.0f; t += 3.1f)
            EXPECT_NEAR(HGDEWPOINT(HGSATGRAINS(t, Z), Z), t, t < 0 ? 0.01 : 2e-3) << t;
}

TEST(DewPoint, EndsWhereTheBoilingGuardSwitchesTheEnhancementFactor) {
    // At 8 psia the boiling guard sets the enhancement factor to 1 just
    // below -48.3 F: the dew points on the two sides of the switch send
    // each other back and forth, and the answer lies between them.
    const float td = HGPDEWPOINT(0.59577524662017822f, 8.0f);
    EXPECT_GE(td, -48.34f);
    EXPECT_LE(td, -48.29f);
    for (float P = 6.0f; P <= 18.0f; P += 0.05f)
        for (float W = 0.05f; W < 2.0f; W *= 1.07f)
            ASSERT_NE(HGPDEWPOINT(W, P), -9999.0f) << P << " psia, " << W;
}

TEST(HumidityFromWetBulb, SaturationAndCoolingCoilState) {
    for (float t : {-80.0f, 0.0f, 70.0f, 150.0f, 200.0f})
        EXPECT_FLOAT_EQ(HGWBTOGR(t, t, 0), HGSATGRAINS(t, 0)) << t;
    // 80 F dry bulb, 67 F wet bulb at sea level: 78.6 grains, 51 percent.
    EXPECT_NEAR(HGWBTOGR(80.0f, 67.0f, 0), 78.6f, 0.1f);
    EXPECT_NEAR(HGRH(80.0f, HGWBTOGR(80.0f, 67.0f, 0), 0), 51.1f, 0.1f);
}

TEST(WetBulb, InvertsHumidityFromWetBulb) {
    for (float P : {4.0f, 10.0f, 14.696f, 50.0f, 100.0f}) {
        for (float t = -60.0f; t <= 200.0f; t += 1.9f) {
            for (float d = 0.0f; d <= 60.0f; d += 1.3f) {
                const float W = HGPWBTOGR(t, t - d, P);
                if (W <= 0.0f || W > 16300.0f) continue;
                ASSERT_NEAR(HGPWETBULB(t, W, P), t - d, 1e-3) << P << " psia, " << t << "/" << t - d;
            }
        }
    }
}

TEST(WetBulb, SaturatedAirAndAbove) {
    for (int16_t Z : {int16_t(0), int16_t(10000)}) {
        for (float t = -80.0f; t <= 195.0f; t += 2.3f) {
            const float Ws = HGSATGRAINS(t, Z);
            if (Ws * 1.2f > 16300.0f) continue;
            const float wb = HGWETBULB(t, Ws, Z);
            ASSERT_LE(wb, t);
            ASSERT_NEAR(wb, t, 1e-5) << t;
            ASSERT_EQ(HGWETBULB(t, Ws * 1.2f, Z), t);  // held at the dry bulb
        }
    }
}

TEST(WetBulb, SearchesThatCannotEndAreRefused) {
    EXPECT_REFUSED(HGWETBULB(70.0f, -5000.0f, 0));  // the descent never ends
    EXPECT_REFUSED(HGPWETBULB(70.0f, -INFINITY, 14.696f));
    EXPECT_REFUSED(HGWETBULB(-80.0f, 3.4e38f, 0));  // the secant runs off to -infinity
    EXPECT_REFUSED(HGWETBULB(-80.0f, 1e10f, 0));
}

// The wet-bulb search written out plainly on the exported kernels, without
// step limits or memory of earlier trials.
float PlainWetBulb(float t, float W, float P) {
    const double w = W / 7000.0;
    double tw = t + 10.0;
    const double t_b = XTDP(P);
    if (t_b - 5.0 < tw) tw = t_b - 5.0;
    auto Wc = [&](double x) {
        const double p = XPWSAPP(P, static_cast<float>(x));
        const double ws = 0.62198 * p / (P - p);
        return ((1093.0 - 0.556 * x) * ws - 0.24 * (t - x)) / (1093.0 + 0.444 * t - x);
    };
    do tw -= 10.0;
    while (w <= Wc(tw));
    tw += 10.0;
    do tw -= 1.0;
    while (w <= Wc(tw));
    tw += 1.0;
    double W1 = Wc(tw), step = 0.1, tw2;
    for (;;) {
        tw2 = tw + step;
        const double W2 = Wc(tw2);
        if (W2 == W1) break;
        step = (tw2 - tw) / (W2 - W1) * (w - W2);
        if (std::fabs(step) < 1e-5 || std::fabs(W2 - W1) < 1e-5) break;
        tw = tw2;
        W1 = W2;
    }
    return t < tw2 ? t : static_cast<float>(tw2);
}

TEST(WetBulb, SameBitsAsThePlainSearch) {
    for (float P : {6.0f, 10.1f, 14.696f, 60.0f}) {
        for (float t = 0.0f; t <= 120.0f; t += 1.3f) {
            for (float d = 0.0f; d <= 40.0f; d += 2.9f) {
                const float W = HGPWBTOGR(t, t - d, P);
                if (W > 0.0f) {
                    ASSERT_EQ(HGPWETBULB(t, W, P), PlainWetBulb(t, W, P)) << P << " " << t << " " << W;
                }
            }
        }
    }
}

TEST(HumidityFromWetBulbAndRh, RoundTripWithRelativeHumidity) {
    // The march stops within 0.001 F of the dry bulb whose relative
    // humidity is phi: about 0.002 grains.
    for (float P : {4.0f, 14.696f, 100.0f}) {
        for (float t = -60.0f; t <= 150.0f; t += 4.3f) {
            for (float d = 0.5f; d <= 40.0f; d += 3.7f) {
                const float W = HGPWBTOGR(t, t - d, P);
                if (W <= 0.0f || W > 16300.0f) continue;
                const float rh = HGPRH(t, W, P);
                ASSERT_NEAR(HGPWB_RHTOGRAINS(t - d, rh / 100.0f, P), W, 0.01)
                    << P << " " << t << "/" << t - d;
            }
        }
    }
}

TEST(HumidityFromWetBulbAndRh, SaturatedAndDry) {
    for (float tw : {-60.0f, 0.0f, 67.0f, 150.0f}) {
        const float W = HGWB_RHTOGRAINS(tw, 1.0f, 0), Ws = HGSATGRAINS(tw, 0);
        EXPECT_LE(W, Ws);
        EXPECT_NEAR(W, Ws, 2e-3 * Ws + 0.005) << tw;
    }
    // Bone-dry air is never reached: the march ends on a refused humidity.
    EXPECT_REFUSED(HGWB_RHTOGRAINS(60.0f, 0.0f, 0));
}

}  // namespace
