// Inch-pound property functions: F, grains/lb, psia, feet.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "psychro/hygrel32.h"

namespace {

// Barometric pressure at Z ft as the library holds it, psia.
float Baro(int16_t Z)
{
    const double z = Z;
    return static_cast<float>((29.921 - 0.0010717 * z + 1.3598e-8 * z * z) / 2.036);
}

TEST(BarometricPressure, SeaLevelAndAltitudeVariantsAgree)
{
    EXPECT_NEAR(Baro(0), 14.696, 1e-4);
    // Every altitude function is its pressure twin at P(Z), to the bit.
    for (int16_t Z : {int16_t(-500), int16_t(0), int16_t(5280), int16_t(10000), int16_t(30000)}) {
        const float P = Baro(Z);
        for (float t : {-20.0f, 55.0f, 95.0f, 180.0f}) {
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

// Humidity ratio at saturation, lb/lb, at 14.696 psia, from the moist-air
// table of the ASHRAE Handbook of Fundamentals. Both carry the enhancement
// factor; the table rests on a later saturation formulation and a molar
// mass ratio of 0.621945 instead of 0.62198, which together move W_s by up
// to about 0.03 percent below the boiling region; 0.1 percent is allowed.
TEST(SaturationHumidity, AgreesWithHandbookTable)
{
    const struct { float t; double Ws; } table[] = {
        {-40.0f, 0.0000793}, {0.0f, 0.0007875}, {32.0f, 0.003790}, {40.0f, 0.005213},
        {50.0f, 0.007658},   {60.0f, 0.011087}, {70.0f, 0.015832}, {80.0f, 0.022340},
        {90.0f, 0.031203},   {100.0f, 0.043219},
    };
    for (const auto& row : table)
        EXPECT_NEAR(HGSATGRAINS(row.t, 0) / 7000.0 / row.Ws, 1.0, 1e-3) << "t = " << row.t;
}

TEST(SaturationHumidity, RangeAndBoilingValue)
{
    EXPECT_GT(HGSATGRAINS(200.0f, 0), 16000.0f);
    EXPECT_GT(HGSATGRAINS(-80.0f, 0), 0.0f);
    EXPECT_EQ(HGSATGRAINS(200.5f, 0), -9999.0f);
    EXPECT_EQ(HGSATGRAINS(-80.5f, 0), -9999.0f);
    EXPECT_EQ(HGSATGRAINS(NAN, 0), -9999.0f);
    EXPECT_EQ(HGPSATGRAINS(70.0f, 3.99f), -9999.0f);
    EXPECT_EQ(HGPSATGRAINS(70.0f, 400.01f), -9999.0f);
    EXPECT_EQ(HGPSATGRAINS(70.0f, NAN), -9999.0f);
    EXPECT_GT(HGPSATGRAINS(70.0f, 4.0f), 0.0f);
    EXPECT_GT(HGPSATGRAINS(70.0f, 400.0f), 0.0f);
    // Air that would boil: 200 F at 10 psia, and at 25000 ft (5.7 psia).
    EXPECT_EQ(HGPSATGRAINS(200.0f, 10.0f), 20000.0f);
    EXPECT_EQ(HGSATGRAINS(200.0f, 25000), 20000.0f);
    EXPECT_EQ(HGSATGRAINS(195.0f, 25000), 20000.0f);
}

TEST(Density, ChecksAndFormula)
{
    const float Ws = HGSATGRAINS(75.0f, 0);
    EXPECT_GT(HGDENSITY(75.0f, Ws, 0), 0.0f);
    EXPECT_EQ(HGDENSITY(75.0f, std::nextafter(Ws, 1e9f), 0), -9999.0f);
    EXPECT_EQ(HGDENSITY(75.0f, -0.001f, 0), -9999.0f);
    EXPECT_EQ(HGDENSITY(75.0f, NAN, 0), -9999.0f);
    // Dry air: 144 P / (53.352 (t + 460)), with 460 for the Rankine offset.
    for (int16_t Z : {int16_t(0), int16_t(8000)})
        EXPECT_FLOAT_EQ(HGDENSITY(70.0f, 0.0f, Z), 144.0 * Baro(Z) / (53.352 * 530.0));
    // The saturation lookup refuses 250 F whatever the humidity.
    EXPECT_EQ(HGDENSITY(250.0f, 0.0f, 0), -9999.0f);
    // Where the air would boil the lookup answers 20000: up to 16300 passes.
    EXPECT_GT(HGDENSITY(200.0f, 16300.0f, 25000), 0.0f);
    EXPECT_EQ(HGDENSITY(200.0f, 16300.5f, 25000), -9999.0f);
    EXPECT_EQ(HGPDENSITY(70.0f, 0.0f, 400.5f), -9999.0f);
    // Standard air: 0.075 lb/ft3 at 70 F, sea level, dry.
    EXPECT_NEAR(HGDENSITY(70.0f, 0.0f, 0), 0.0748, 2e-4);
}

TEST(Enthalpy, Formula)
{
    EXPECT_EQ(HGENTHALPY(0.0f, 0.0f), 0.0f);
    EXPECT_FLOAT_EQ(HGENTHALPY(80.0f, 0.0f), 0.24f * 80.0f);
    // Saturated air at 70 F: 34.09 Btu/lb in the Handbook table; the two
    // differ by the table's own enthalpy correlation, within 0.05 Btu/lb.
    EXPECT_NEAR(HGENTHALPY(70.0f, HGSATGRAINS(70.0f, 0)), 34.09, 0.05);
}

TEST(DewPoint, ChecksAndRoundTrip)
{
    EXPECT_EQ(HGDEWPOINT(-0.1f, 0), -9999.0f);
    EXPECT_EQ(HGDEWPOINT(16300.1f, 0), -9999.0f);
    EXPECT_EQ(HGDEWPOINT(NAN, 0), -9999.0f);
    EXPECT_GT(HGDEWPOINT(16300.0f, 0), 200.0f);
    EXPECT_EQ(HGDEWPOINT(0.0f, 0), -459.67f);
    EXPECT_EQ(HGPDEWPOINT(50.0f, 3.9f), -9999.0f);
    // The dew point of saturated air is its temperature.
    for (int16_t Z : {int16_t(0), int16_t(6000)})
        for (float t = -60.0f; t <= 190.0f; t += 3.1f)
            EXPECT_NEAR(HGDEWPOINT(HGSATGRAINS(t, Z), Z), t, t < 0 ? 0.01 : 2e-3) << t;
}

TEST(DewPoint, EndsWhereTheBoilingGuardSwitchesTheEnhancementFactor)
{
    // At 8 psia the boiling guard sets the enhancement factor to 1 just
    // below -48.3 F, so the dew points from the two sides of the switch
    // send each other back and forth; the answer lies between them.
    const float W = 0.59577524662017822f;
    const float td = HGPDEWPOINT(W, 8.0f);
    EXPECT_GE(td, -48.34f);
    EXPECT_LE(td, -48.29f);
    for (float P = 6.0f; P <= 18.0f; P += 0.05f)
        for (float W2 = 0.05f; W2 < 2.0f; W2 *= 1.07f)
            ASSERT_NE(HGPDEWPOINT(W2, P), -9999.0f) << P << " psia, " << W2;
}

TEST(RelativeHumidity, SaturationIsExactlyOneHundred)
{
    for (int16_t Z : {int16_t(0), int16_t(5000)}) {
        for (float t = -80.0f; t <= 200.0f; t += 2.9f) {
            // Humidities above 16300 grains are refused.
            const float Ws = HGSATGRAINS(t, Z);
            if (Ws > 16300.0f)
                continue;
            ASSERT_EQ(HGRH(t, Ws, Z), 100.0f) << t;
            ASSERT_EQ(HGRH(t, std::nextafter(Ws, 1e9f), Z), -9999.0f) << t;
            ASSERT_EQ(HGRH(t, 0.0f, Z), 0.0f);
        }
    }
}

TEST(RelativeHumidity, ChecksAndRoundTripWithHumidityFromRh)
{
    EXPECT_EQ(HGRH(-80.5f, 1.0f, 0), -9999.0f);
    EXPECT_EQ(HGRH(400.5f, 1.0f, 0), -9999.0f);
    EXPECT_EQ(HGRH(70.0f, -1.0f, 0), -9999.0f);
    EXPECT_EQ(HGRH(70.0f, 16300.5f, 0), -9999.0f);
    EXPECT_EQ(HGRH(NAN, 10.0f, 0), -9999.0f);
    EXPECT_EQ(HGPRH(70.0f, 10.0f, 401.0f), -9999.0f);
    EXPECT_EQ(HGRHTOGR(70.0f, 1.01f, 0), -9999.0f);
    EXPECT_EQ(HGRHTOGR(70.0f, -0.01f, 0), -9999.0f);
    EXPECT_EQ(HGRHTOGR(70.0f, NAN, 0), -9999.0f);
    EXPECT_EQ(HGRHTOGR(400.5f, 0.5f, 0), -9999.0f);
    EXPECT_EQ(HGRHTOGR(70.0f, 0.0f, 0), 0.0f);
    EXPECT_EQ(HGPRHTOGR(70.0f, 0.5f, 3.0f), -9999.0f);
    for (float t = -80.0f; t <= 200.0f; t += 4.7f)
        for (float phi : {0.05f, 0.3f, 0.75f, 1.0f})
            ASSERT_NEAR(HGRH(t, HGRHTOGR(t, phi, 0), 0), 100.0f * phi, 2e-3f * phi * 100.0f) << t;
}

TEST(SaturationVapourPressure, InchesOfMercury)
{
    EXPECT_FLOAT_EQ(HGSATVP(212.0f), XPWS(212.0f) / 0.491154);
    EXPECT_NEAR(HGSATVP(212.0f), 29.95, 0.01);
    EXPECT_EQ(HGSATVP(-148.01f), -9999.0f);
    EXPECT_EQ(HGSATVP(400.01f), -9999.0f);
    EXPECT_EQ(HGSATVP(NAN), -9999.0f);
}

TEST(HumidityFromWetBulb, ChecksAndSaturation)
{
    for (float t : {-80.0f, 0.0f, 70.0f, 150.0f, 200.0f})
        EXPECT_FLOAT_EQ(HGWBTOGR(t, t, 0), HGSATGRAINS(t, 0)) << t;
    EXPECT_EQ(HGWBTOGR(70.0f, 70.01f, 0), -9999.0f);
    EXPECT_EQ(HGWBTOGR(70.0f, 60.0f, 30001), -9999.0f);
    EXPECT_EQ(HGWBTOGR(70.0f, 60.0f, -501), -9999.0f);
    EXPECT_GT(HGWBTOGR(70.0f, 60.0f, 30000), 0.0f);
    EXPECT_GT(HGWBTOGR(70.0f, 60.0f, -500), 0.0f);
    EXPECT_EQ(HGWBTOGR(400.5f, 60.0f, 0), -9999.0f);
    EXPECT_EQ(HGWBTOGR(70.0f, NAN, 0), -9999.0f);
    EXPECT_EQ(HGWBTOGR(NAN, 60.0f, 0), -9999.0f);
    // The saturation lookup refuses a wet bulb outside -80..200.
    EXPECT_EQ(HGWBTOGR(300.0f, 210.0f, 0), -9999.0f);
    EXPECT_EQ(HGWBTOGR(-70.0f, -81.0f, 0), -9999.0f);
    // Dry air cannot be that dry: a non-positive humidity is refused.
    EXPECT_EQ(HGWBTOGR(120.0f, 40.0f, 0), -9999.0f);
    EXPECT_EQ(HGPWBTOGR(70.0f, 60.0f, 3.9f), -9999.0f);
    // 80 F dry bulb, 67 F wet bulb at sea level: about 78.6 grains, 51
    // percent, the standard cooling-coil entering state.
    EXPECT_NEAR(HGWBTOGR(80.0f, 67.0f, 0), 78.6f, 0.1f);
    EXPECT_NEAR(HGRH(80.0f, HGWBTOGR(80.0f, 67.0f, 0), 0), 51.1f, 0.1f);
}

TEST(WetBulb, InvertsHumidityFromWetBulb)
{
    for (float P : {4.0f, 10.0f, 14.696f, 50.0f, 100.0f}) {
        for (float t = -60.0f; t <= 200.0f; t += 1.9f) {
            for (float d = 0.0f; d <= 60.0f; d += 1.3f) {
                const float tw = t - d;
                const float W = HGPWBTOGR(t, tw, P);
                if (W <= 0.0f || W > 16300.0f)
                    continue;
                ASSERT_NEAR(HGPWETBULB(t, W, P), tw, 1e-3) << P << " psia, " << t << "/" << tw;
            }
        }
    }
}

TEST(WetBulb, SaturatedAirAndAbove)
{
    for (int16_t Z : {int16_t(0), int16_t(10000)}) {
        for (float t = -80.0f; t <= 195.0f; t += 2.3f) {
            const float Ws = HGSATGRAINS(t, Z);
            if (Ws * 1.2f > 16300.0f)
                continue;
            const float wb = HGWETBULB(t, Ws, Z);
            ASSERT_LE(wb, t);
            ASSERT_NEAR(wb, t, 1e-5) << t;
            // Supersaturated air: the wet bulb is held at the dry bulb.
            ASSERT_EQ(HGWETBULB(t, Ws * 1.2f, Z), t);
        }
    }
}

TEST(WetBulb, SearchesThatCannotEndAreRefused)
{
    // A negative humidity keeps the descent going for ever.
    EXPECT_EQ(HGWETBULB(70.0f, -5000.0f, 0), -9999.0f);
    EXPECT_EQ(HGPWETBULB(70.0f, -INFINITY, 14.696f), -9999.0f);
    EXPECT_EQ(HGPWETBULB(NAN, 50.0f, 14.696f), -9999.0f);
    EXPECT_EQ(HGPWETBULB(70.0f, NAN, 14.696f), -9999.0f);
    // An absurd humidity sends the secant away to minus infinity.
    EXPECT_EQ(HGWETBULB(-80.0f, 3.4e38f, 0), -9999.0f);
    EXPECT_EQ(HGWETBULB(-80.0f, 1e10f, 0), -9999.0f);
}

TEST(HumidityFromWetBulbAndRh, RoundTripWithRelativeHumidity)
{
    // The march stops within 0.001 F of the dry bulb whose relative
    // humidity is phi; that moves the humidity by about 0.002 grains.
    for (float P : {4.0f, 14.696f, 100.0f}) {
        for (float t = -60.0f; t <= 150.0f; t += 4.3f) {
            for (float d = 0.5f; d <= 40.0f; d += 3.7f) {
                const float tw = t - d;
                const float W = HGPWBTOGR(t, tw, P);
                if (W <= 0.0f || W > 16300.0f)
                    continue;
                const float rh = HGPRH(t, W, P);
                ASSERT_NEAR(HGPWB_RHTOGRAINS(tw, rh / 100.0f, P), W, 0.01) << P << " " << t << "/" << tw;
            }
        }
    }
}

TEST(HumidityFromWetBulbAndRh, SaturatedAndChecks)
{
    for (float tw : {-60.0f, 0.0f, 67.0f, 150.0f}) {
        const float W = HGWB_RHTOGRAINS(tw, 1.0f, 0);
        const float Ws = HGSATGRAINS(tw, 0);
        EXPECT_LE(W, Ws);
        EXPECT_NEAR(W, Ws, 2e-3 * Ws + 0.005) << tw;
    }
    EXPECT_EQ(HGWB_RHTOGRAINS(67.0f, 1.01f, 0), -9999.0f);
    EXPECT_EQ(HGWB_RHTOGRAINS(67.0f, -0.01f, 0), -9999.0f);
    EXPECT_EQ(HGWB_RHTOGRAINS(67.0f, NAN, 0), -9999.0f);
    EXPECT_EQ(HGPWB_RHTOGRAINS(67.0f, 0.5f, 3.0f), -9999.0f);
    // Bone-dry air is never reached: the march ends on a refused humidity.
    EXPECT_EQ(HGWB_RHTOGRAINS(60.0f, 0.0f, 0), -9999.0f);
    // Below -80 F no trial is accepted.
    EXPECT_EQ(HGWB_RHTOGRAINS(-95.0f, 0.5f, 0), -9999.0f);
}

}  // namespace

namespace {

// The wet-bulb search written out plainly on the exported kernels, with no
// memory of earlier trials and no step limits.
float PlainWetBulb(float t, float W, float P)
{
    const double w = W / 7000.0;
    double tw = t + 10.0;
    const double t_b = XTDP(P);
    if (t_b - 5.0 < tw)
        tw = t_b - 5.0;
    auto Wc = [&](double x) {
        const double p = XPWSAPP(P, static_cast<float>(x));
        const double ws = 0.62198 * p / (P - p);
        return ((1093.0 - 0.556 * x) * ws - 0.24 * (t - x)) / (1093.0 + 0.444 * t - x);
    };
    do tw -= 10.0; while (w <= Wc(tw));
    tw += 10.0;
    do tw -= 1.0; while (w <= Wc(tw));
    tw += 1.0;
    double W1 = Wc(tw), step = 0.1, tw2;
    for (;;) {
        tw2 = tw + step;
        const double W2 = Wc(tw2);
        if (W2 == W1)
            break;
        step = (tw2 - tw) / (W2 - W1) * (w - W2);
        if (std::fabs(step) < 1e-5 || std::fabs(W2 - W1) < 1e-5)
            break;
        tw = tw2;
        W1 = W2;
    }
    return t < tw2 ? t : static_cast<float>(tw2);
}

TEST(WetBulb, SameBitsAsThePlainSearch)
{
    for (float P : {6.0f, 10.1f, 14.696f, 60.0f}) {
        for (float t = 0.0f; t <= 120.0f; t += 1.3f) {
            for (float d = 0.0f; d <= 40.0f; d += 2.9f) {
                const float W = HGPWBTOGR(t, t - d, P);
                if (W <= 0.0f)
                    continue;
                ASSERT_EQ(HGPWETBULB(t, W, P), PlainWetBulb(t, W, P)) << P << " " << t << " " << W;
            }
        }
    }
}

}  // namespace
