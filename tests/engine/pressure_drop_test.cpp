// Air and tube pressure drops: fin spacing and rows factors, the wet and
// density corrections, the pattern correction of liquid coils, refrigerant
// factors and the tube function's own error handling.
#include <cmath>

#include "engine_fixture.h"

namespace {

class PressureDrop : public EngineTest {
protected:
    // A dry coil at 250 ft/min, mean air temperature 70 F, 0.006 in fins.
    void AirCoil(const char* pattern, const char* fin, int fpi, int rows) {
        cc.Coil.Pattern = pattern;
        cc.Coil.FinTreat = fin;
        cc.Coil.FPI = static_cast<int16_t>(fpi);
        cc.Coil.RD = static_cast<int16_t>(rows);
        cc.Coil.FinThk = 0.006f;
        cc.Rating.FaceVelocity = 250;
        cc.Rating.EatDb = 70;
        cc.Rating.LatDb = 70;
        cc.CoilDry = kTrue;
    }

    // A liquid coil of one tube in one circuit, so that the return-bend
    // allowance drops out and patterns differ only by their correction.
    void OneTubeCoil(const char* app, const char* pattern, float velocity) {
        CoilSpec& s = cc.Coil;
        CoilRating& r = cc.Rating;
        s.Application = app;
        cc.Type = CoilTypeOf(app);
        s.Pattern = pattern;
        s.RD = 1;
        s.TH = 16;
        s.Circuits = 16;
        s.FL = 48;
        s.HeaderLength = 15;
        s.HeaderDia = 1.625f;
        s.ConnDia = 1.375f;
        cc.TubeId = 0.605f;
        r.EntFluidTemp = 45;
        r.LvgFluidTemp = 55;
        r.FluidDensity = 62.4f;
        r.FluidViscosity = 3.5f;
        r.TubeVelocity = velocity;
        r.HeaderVelocity = 3;
        r.ConnVelocity = 4;
    }
};

TEST_F(PressureDrop, FinSpacingFactor) {
    AirCoil("1", "CR", 12, 4);
    const float at12 = CC_AirPressureDrop();
    AirCoil("1", "CR", 8, 4);
    EXPECT_NEAR(CC_AirPressureDrop() / at12, 0.75, 1e-6);
    AirCoil("1", "CR", 16, 4);
    EXPECT_NEAR(CC_AirPressureDrop() / at12, 1.25, 1e-6);
    // Mean air at 70 F and 0.006 in fins: both corrections about 1.
    EXPECT_NEAR(at12, 0.0118 * std::pow(2.5, 1.6732) * 0.99987 * 0.99965, 1e-7);
}

TEST_F(PressureDrop, RowsFactors) {
    AirCoil("5", "CR", 12, 2);
    const float twoRows = CC_AirPressureDrop();
    AirCoil("5", "CR", 12, 1);
    EXPECT_NEAR(CC_AirPressureDrop() / twoRows, 0.525, 1e-6);
}

TEST_F(PressureDrop, CombinationsWithoutARowHaveNoDrop) {
    AirCoil("6", "FR", 12, 4);
    EXPECT_EQ(CC_AirPressureDrop(), 0.0f);
    AirCoil("9", "CR", 12, 4);
    EXPECT_EQ(CC_AirPressureDrop(), 0.0f);
}

TEST_F(PressureDrop, WetCorrectionFromThreeDegreesUp) {
    AirCoil("5", "CR", 12, 4);
    const float dry = CC_AirPressureDrop();
    cc.CoilDry = kFalse;
    cc.Rating.EatDb = 70;
    cc.Rating.EatWb = 63;  // x = 63 - 3.5 - fluid
    cc.Rating.EntFluidTemp = 56.51f;
    EXPECT_EQ(CC_AirPressureDrop(), dry);
    cc.Rating.EntFluidTemp = 56.5f;
    const double factor =
        1.206838 * std::pow(12.0, -0.2479246) * std::pow(3.0, 0.03835885 * std::pow(12.0, 0.8502904));
    EXPECT_NEAR(CC_AirPressureDrop() / dry, factor, 1e-6);
}

TEST_F(PressureDrop, PatternCorrectionOfLiquidCoils) {
    // Z = 4^2 x 16 x 1 x 48 / 1600 = 7.68
    OneTubeCoil("W", "3", 4);
    const float plain = CC_TubePressureDrop();
    EXPECT_GT(plain, 0.0f);
    OneTubeCoil("W", "5", 4);
    cc.UseDryCalc = kFalse;
    EXPECT_NEAR(CC_TubePressureDrop() / plain, 4 * std::pow(7.68, -0.9) + 1.04, 1e-5);
    cc.UseDryCalc = kTrue;
    EXPECT_NEAR(CC_TubePressureDrop() / plain, 3.5 * std::pow(7.68, -0.8) + 1.3, 1e-5);
    OneTubeCoil("W", "P", 4);
    cc.UseDryCalc = kTrue;
    EXPECT_NEAR(CC_TubePressureDrop() / plain, 8.2 * std::pow(7.68, -0.04) - 5.3, 1e-5);
    cc.UseDryCalc = kFalse;  // 3.0012 is above the 2.9 limit
    EXPECT_NEAR(CC_TubePressureDrop() / plain, 2.9, 1e-5);
    EXPECT_TRUE(sink.shown.empty());
}

TEST_F(PressureDrop, TubeErrorsAreShownAndTheRatingGoesOn) {
    // Circuits x 100 overflows a 16-bit integer at 328 circuits: the message
    // is shown and the drop reached before the pattern correction returned.
    OneTubeCoil("W", "5", 4);
    cc.Coil.Circuits = 328;
    cc.Coil.TH = 328;
    const float reached = CC_TubePressureDrop();
    ASSERT_EQ(sink.shown.size(), 1u);
    EXPECT_EQ(sink.shown[0].text, "6  Overflow");
    EXPECT_EQ(sink.shown[0].icon, MsgIcon::None);
    cc.Coil.Pattern = "3";  // same sum, no correction; "3" has a smaller bend
    sink.shown.clear();
    EXPECT_NEAR(CC_TubePressureDrop(), reached, 1e-6 * reached);

    // A zero tube diameter divides by zero before anything is reached.
    sink.shown.clear();
    OneTubeCoil("W", "3", 4);
    cc.TubeId = 0;
    EXPECT_EQ(CC_TubePressureDrop(), 0.0f);
    ASSERT_EQ(sink.shown.size(), 1u);
    EXPECT_EQ(sink.shown[0].text, "11  Division by zero");

    sink.shown.clear();
    OneTubeCoil("W", "3", 4);
    cc.Coil.Circuits = 0;
    EXPECT_EQ(CC_TubePressureDrop(), 0.0f);
    ASSERT_EQ(sink.shown.size(), 1u);
    EXPECT_EQ(sink.shown[0].text, "11  Division by zero");
}

TEST_F(PressureDrop, RefrigerantFactors) {
    auto drop = [&](const char* refrigerant, float suction, int16_t dry, const char* rifled) {
        OneTubeCoil("E", "5", 0);
        cc.Rating.Refrigerant = refrigerant;
        cc.Rating.EntFluidTemp = suction;
        cc.Rating.TotalBtuh = 100000;
        cc.Coil.Rifled = rifled;
        cc.UseDryCalc = dry;
        return CC_TubePressureDrop();
    };
    const float wet40 = drop("22", 40, kFalse, "N");
    EXPECT_GT(wet40, 0.0f);
    EXPECT_NEAR(drop("22", 50, kFalse, "N") / wet40, 0.75, 1e-6);
    EXPECT_NEAR(drop("22", -35, kFalse, "N") / wet40, 5.16, 1e-6);
    EXPECT_NEAR(drop("22", 40, kFalse, "Y") / wet40, 1.1, 1e-6);
    EXPECT_NEAR(drop("22", 40, kTrue, "N") / wet40, 0.09 / 0.42, 1e-6);
    EXPECT_NEAR(drop("22", 40, kTrue, "Y") / wet40, 0.09 / 0.42 * 2.25, 1e-6);
    EXPECT_EQ(drop("502", 40, kFalse, "N"), 0.0f);
    EXPECT_EQ(drop("134A", 40, kFalse, "N"), drop("134a", 40, kFalse, "N"));
    EXPECT_TRUE(sink.shown.empty());
}

TEST_F(PressureDrop, SteamHasNoTubeDrop) {
    OneTubeCoil("S", "5", 0);
    EXPECT_EQ(CC_TubePressureDrop(), 0.0f);
}

}  // namespace
