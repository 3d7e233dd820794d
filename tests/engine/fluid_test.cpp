// Water, glycol and steam properties: band edges, the water fall-backs and
// the steam pressure/temperature branches.
#include <cmath>

#include "engine/rterror.h"
#include "engine_fixture.h"

namespace {

using FluidProperties = EngineTest;

TEST_F(FluidProperties, WaterFromTheMeanSpecificVolume) {
    cc.Rating.EntFluidTemp = 45;
    cc.Rating.LvgFluidTemp = 55;
    CC_WaterProperties();
    EXPECT_NEAR(cc.Rating.FluidDensity, 62.40126, 2e-5);
    EXPECT_EQ(cc.Rating.FluidSpecHeat, 1.0f);
    EXPECT_FLOAT_EQ(cc.FluidSG, cc.Rating.FluidDensity / 62.4245f);
    EXPECT_EQ(cc.Rating.LvgFluidTemp, 55.0f);

    // The chilled-water coil at 45 F in, 53.08 F out.
    cc.Rating.LvgFluidTemp = 53.08028793334961f;
    CC_WaterProperties();
    EXPECT_EQ(cc.Rating.FluidDensity, 62.406734466552734f);
}

TEST_F(FluidProperties, WaterWithoutLeavingTemperatureUsesTheEnteringOne) {
    cc.Rating.EntFluidTemp = 60;
    cc.Rating.LvgFluidTemp = 0;
    CC_WaterProperties();
    EXPECT_EQ(cc.Rating.LvgFluidTemp, 60.0f);
    EXPECT_NEAR(cc.Rating.FluidDensity, 62.344595, 2e-5);
}

TEST_F(FluidProperties, WaterAtOrBelowZeroDegreesIsAnInvalidLogarithm) {
    cc.Rating.EntFluidTemp = 0;
    try {
        CC_WaterProperties();
        FAIL() << "no error";
    } catch (const rt::RtError& e) {
        EXPECT_EQ(e.number(), 5);
    }
}

void Glycol(float percent, float temp) {
    cc.Rating.PercentGlycol = percent;
    cc.Rating.EntFluidTemp = temp;
    CC_GlycolProperties();
}

TEST_F(FluidProperties, GlycolDensityBandsAreStrictlyAbove) {
    Glycol(65, 40);  // the "above 60" row
    EXPECT_NEAR(cc.Rating.FluidDensity, 68.9587 - 0.0181 * 40 - 0.0000241 * 1600, 1e-4);
    Glycol(65.1f, 40);  // the "above 65" row
    EXPECT_NEAR(cc.Rating.FluidDensity, 69.3619 - 0.0195 * 40 - 0.0000197 * 1600, 1e-4);
    EXPECT_FLOAT_EQ(cc.FluidSG, cc.Rating.FluidDensity / 62.4245f);
    Glycol(5, 40);  // "5 or less"
    EXPECT_NEAR(cc.Rating.FluidDensity, 63.0108 + 0.0005 * 40 - 0.0000655 * 1600, 1e-4);
}

TEST_F(FluidProperties, GlycolAtZeroPercentIsWater) {
    Glycol(0, 60);
    EXPECT_NEAR(cc.Rating.FluidDensity, 62.344595, 2e-5);
    // Warm viscosity of the lowest band, times 0.95.
    EXPECT_NEAR(cc.Rating.FluidViscosity, 2.9946861, 1e-5);
    EXPECT_EQ(cc.Rating.FluidSpecHeat, 1.0f);
    EXPECT_NEAR(cc.Rating.FluidThermCond, 0.3184 + 60 * 0.0004, 1e-6);
}

TEST_F(FluidProperties, GlycolNeverLighterThanWater) {
    // The lowest band's fit falls below water at 400 F.
    Glycol(3, 400);
    const float glycol = cc.Rating.FluidDensity;
    Glycol(0, 400);
    EXPECT_EQ(glycol, cc.Rating.FluidDensity);
    EXPECT_NEAR(glycol, 52.94, 0.01);
}

TEST_F(FluidProperties, GlycolViscosityTableByTemperature) {
    Glycol(30, 50);  // cold table at exactly 50 F, "above 25" row
    EXPECT_NEAR(cc.Rating.FluidViscosity, 7.1601, 1e-4);
    Glycol(30, 50.5f);  // warm table
    EXPECT_NEAR(cc.Rating.FluidViscosity,
                8275.503 * std::pow(2.98669e-15, 1 / 50.5) * std::pow(50.5, -1.6282), 1e-3);
    Glycol(0.5f, 40);  // specific heat has a band above 0 as well
    EXPECT_NEAR(cc.Rating.FluidSpecHeat, 0.985 + 40 * 0.55 / 10000, 1e-6);
}

void Steam(float psig, float temp) {
    cc.Rating.SteamPressure = psig;
    cc.Rating.EntFluidTemp = temp;
    cc.Rating.LatentHeat = 0;
    CC_SteamProperties();
}

TEST_F(FluidProperties, SteamAtZeroGaugeIsAtmospheric) {
    Steam(0, 0);
    EXPECT_EQ(cc.Rating.SteamPressure, 0.0f);
    EXPECT_EQ(cc.Rating.EntFluidTemp, 212.0f);
    EXPECT_EQ(cc.Rating.LatentHeat, 970.3652f);

    Steam(-5, 0);
    EXPECT_EQ(cc.Rating.SteamPressure, 0.0f);
    EXPECT_EQ(cc.Rating.EntFluidTemp, 212.0f);
    EXPECT_EQ(cc.Rating.LatentHeat, 970.3652f);
}

TEST_F(FluidProperties, SteamFromPressure) {
    Steam(15, 0);
    EXPECT_NEAR(cc.Rating.EntFluidTemp, 249.65, 1e-4);
    EXPECT_NEAR(cc.Rating.LatentHeat, 945.791, 1e-3);
    EXPECT_EQ(cc.Rating.SteamPressure, 15.0f);
    Steam(15.5f, 0);  // the "above 15" row
    EXPECT_NEAR(cc.Rating.EntFluidTemp, 226.9738 + 1.7176 * 15.5 - 0.006176 * 15.5 * 15.5, 1e-4);
}

TEST_F(FluidProperties, SteamFromTemperature) {
    Steam(0, 250);
    EXPECT_NEAR(cc.Rating.SteamPressure, 15.1796, 1e-4);
    EXPECT_EQ(cc.Rating.EntFluidTemp, 250.0f);
    EXPECT_NEAR(cc.Rating.LatentHeat, 945.5583, 1e-3);
}

}  // namespace
