// Fin efficiency and fin-and-wall resistance against exact Bessel functions,
// the saturation-temperature search and the surface-temperature search.
#include <cmath>

#include "engine/rterror.h"
#include "engine_fixture.h"

namespace {

class SurfaceAndFin : public EngineTest {
protected:
    // 5/8 in tubes, 0.006 in aluminium fins: 24 x 5.196 in fin, 64 tubes.
    void Coil() {
        cc.Coil.FinHeight = 24;
        cc.Coil.FinThk = 0.006f;
        cc.TubeOd = 0.645f;
        cc.TubeId = 0.605f;
        cc.AirJ = 0.1f;
        cc.AirJCorr = 0.09f;
        cc.TotalArea = 864.9277f;
        cc.AreaRatio = 14.8f;
    }

    // The same resistance with the exact modified Bessel functions.
    static double Expected(double h) {
        const double re = std::sqrt(24 * 5.196 / (64 * 3.141592654));
        const double ro = (0.006 * 2 + 0.645) * 0.5;
        const double m = std::sqrt(h / (128.3 * 6 * 0.006));
        const double xo = m * ro, xe = m * re;
        const double eta = 2 * ro / (m * (re * re - ro * ro)) *
                           (std::cyl_bessel_k(1, xo) * std::cyl_bessel_i(1, xe) -
                            std::cyl_bessel_i(1, xo) * std::cyl_bessel_k(1, xe)) /
                           (std::cyl_bessel_i(0, xo) * std::cyl_bessel_k(1, xe) +
                            std::cyl_bessel_k(0, xo) * std::cyl_bessel_i(1, xe));
        const double surface = (824.0685 * eta + 40.8592) / 864.9277;
        const double fin = (1 - surface) / surface / h;
        const double wall = 14.8 * 0.605 * std::log(0.645 / 0.605) / 4704;
        return fin + wall;
    }
};

TEST_F(SurfaceAndFin, DryFinResistanceMatchesExactBesselFunctions) {
    Coil();
    cc.FinWallResWet = 123;
    CC_FinWallResistance(0, 128.3f, 5.196f, 824.0685f, 40.8592f, 64);
    EXPECT_NEAR(cc.FinWallResDry / Expected(10.0), 1.0, 2e-6);
    EXPECT_EQ(cc.FinWallRes, cc.FinWallResDry);
    EXPECT_EQ(cc.FinWallResWet, 123.0f);
}

TEST_F(SurfaceAndFin, WetFinResistanceUsesTheCorrectedAirSide) {
    Coil();
    cc.FinWallResDry = 456;
    // b / AirJCorr = 2.2 / 0.09: a large coefficient takes the Bessel
    // functions past their small-argument forms.
    CC_FinWallResistance(2.2f, 128.3f, 5.196f, 824.0685f, 40.8592f, 64);
    EXPECT_NEAR(cc.FinWallResWet / Expected(2.2 / 0.09), 1.0, 2e-6);
    EXPECT_EQ(cc.FinWallResDry, 456.0f);
    // A very wet fin (m ro > 2, m re > 3.75).
    CC_FinWallResistance(400.0f, 128.3f, 5.196f, 824.0685f, 40.8592f, 64);
    EXPECT_NEAR(cc.FinWallResWet / Expected(400 / 0.09), 1.0, 2e-6);
}

TEST_F(SurfaceAndFin, FinResistanceErrorsPassToTheCaller) {
    Coil();
    cc.AirJ = 0;
    EXPECT_THROW(CC_FinWallResistance(0, 128.3f, 5.196f, 824.0685f, 40.8592f, 64), rt::RtError);
}

TEST_F(SurfaceAndFin, SaturationTemperatureAtTheStartingDewPointNeedsNoCorrection) {
    const float w = hg::HGWBTOGR(80, 67, 0);
    const float dew = hg::HGDEWPOINT(w, 0);
    const float h = hg::HGENTHALPY(dew, hg::HGSATGRAINS(dew, 0));
    int16_t done = 0;
    EXPECT_EQ(CC_SatTempFromEnthalpy(h, 80, 67, done), dew);
    EXPECT_EQ(done, kTrue);
}

TEST_F(SurfaceAndFin, SaturationTemperatureFromEnthalpy) {
    int16_t done = 0;
    const float t = CC_SatTempFromEnthalpy(22.0f, 80, 67, done);
    EXPECT_EQ(done, kTrue);
    EXPECT_NEAR(hg::HGENTHALPY(t, hg::HGSATGRAINS(t, 0)), 22.0, 2e-4);
    EXPECT_NEAR(t, 53.0, 0.2);
}

TEST_F(SurfaceAndFin, SaturationTemperatureReportsFailureAsZero) {
    hg::SetLibraryNameForTesting("libHygrel32-not-there.so");
    int16_t done = kTrue;
    EXPECT_EQ(CC_SatTempFromEnthalpy(22.0f, 80, 67, done), 0.0f);
    EXPECT_EQ(done, kFalse);
}

float SaturatedEnthalpy(float t) {
    return hg::HGENTHALPY(t, hg::HGWBTOGR(t, t, 0));
}

TEST_F(SurfaceAndFin, SurfaceTemperatureEndsOnTheFirstGuessWhenAlreadyThere) {
    cc.SurfTempNext = -1;
    float result = 0;
    CC_SurfaceTemp(0, 45.0f, 30.0f, result);
    EXPECT_EQ(result, 45.0f);
    EXPECT_EQ(cc.SurfTempNext, -1.0f);

    // ha equal to hs(tf): s = tf exactly.
    CC_SurfaceTemp(0.8f, 50.0f, SaturatedEnthalpy(50), result);
    EXPECT_EQ(result, 50.0f);
    EXPECT_EQ(cc.SurfTempNext, -1.0f);
}

TEST_F(SurfaceAndFin, SurfaceTemperatureSearchConverges) {
    for (float ha : {20.0f, 31.5f, 45.0f}) {
        float result = 0;
        CC_SurfaceTemp(0.5f, 45.0f, ha, result);
        // The answer is the computed s of the last guess, within 0.05 F of it.
        const float guess = cc.SurfTempNext;
        const double s = 45.0 + 0.5 * (ha - SaturatedEnthalpy(guess));
        EXPECT_NEAR(result, s, 1e-4) << ha;
        EXPECT_NEAR(result, guess, 0.05 + 1e-5) << ha;
        EXPECT_NEAR(result, 45.0 + 0.5 * (ha - SaturatedEnthalpy(result)), 0.1) << ha;
    }
}

TEST_F(SurfaceAndFin, SurfaceTemperatureGivesUpAfter400Guesses) {
    // So steep a ratio never lands within 0.05 F.
    float result = -7;
    try {
        CC_SurfaceTemp(1e9f, 45.0f, 31.5f, result);
        FAIL() << "no error";
    } catch (const rt::RtError& e) {
        EXPECT_EQ(e.number(), 9);
        EXPECT_EQ(e.description(), "Subscript out of range");
    }
    EXPECT_EQ(result, -7.0f);
}

}  // namespace
