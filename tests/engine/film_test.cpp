// Tube-side film coefficient: steam, water, the liquid correlation's
// turbulent / transitional / laminar branches, and refrigerant fits.
#include <cmath>

#include "engine_fixture.h"

namespace {

class FilmCoefficient : public EngineTest {
protected:
    // A glycol-like liquid in 0.5 in tubes with kinematic viscosity 1e-5
    // ft2/s, so that Re = 4166.7 x velocity; L/D = FL / 0.5.
    void Liquid(float reynolds, float conductivity, float fl = 18) {
        cc.Type = CoilType::Glycol;
        cc.Coil.FL = fl;
        cc.TubeId = 0.5f;
        cc.FluidSG = 1;
        cc.Rating.FluidViscosity = 2.245f;
        cc.Rating.FluidSpecHeat = 0.9f;
        cc.Rating.FluidThermCond = conductivity;
        cc.Rating.TubeVelocity = reynolds / 4166.6667f;
    }
    static double Prandtl(double k) { return 0.9 * 2.245 / k; }
    static double KD(double k) { return k / (0.5 / 12); }
};

TEST_F(FilmCoefficient, SteamIsFixed) {
    cc.Type = CoilType::Steam;
    EXPECT_EQ(CC_TubeFilmCoef(), 1300.0f);
}

TEST_F(FilmCoefficient, Water) {
    cc.Type = CoilType::Water;
    cc.Rating.TubeVelocity = 3;
    cc.MeanFluidTemp = 60;
    cc.TubeId = 0.58f;
    EXPECT_NEAR(CC_TubeFilmCoef(), 150 * 1.66 * std::pow(3, 0.8) / std::pow(0.58, 0.2), 1e-3);
}

TEST_F(FilmCoefficient, TurbulentAbove2100WhenPrandtlGroupIsSmall) {
    Liquid(2150, 0.25f);  // Pr^(2/3) = 4.0
    const double re = 2150;
    EXPECT_NEAR(CC_TubeFilmCoef(), 0.027 * std::pow(re, 0.8) * std::pow(Prandtl(0.25), 0.33) * KD(0.25),
                1e-3);
    Liquid(10001, 0.05f);  // Pr^(2/3) = 11.8, but fully turbulent
    EXPECT_NEAR(CC_TubeFilmCoef(), 0.027 * std::pow(10001.0, 0.8) * std::pow(Prandtl(0.05), 0.33) * KD(0.05),
                2e-3);
}

TEST_F(FilmCoefficient, TransitionalTableBetween2000AndTurbulent) {
    // Re 2150 with Pr^(2/3) of 10 or more; L/D exactly 36 starts its row.
    Liquid(2150, 0.05f);
    const double y = 0.00249006 * std::pow(2150.0, 1.04929);
    EXPECT_NEAR(CC_TubeFilmCoef() / (std::pow(Prandtl(0.05), 0.33) * KD(0.05) * y), 1.0, 1e-5);
    // Re 2050 is transitional whatever the Prandtl group.
    Liquid(2050, 0.25f);
    const double y2050 = 0.00249006 * std::pow(2050.0, 1.04929);
    EXPECT_NEAR(CC_TubeFilmCoef() / (std::pow(Prandtl(0.25), 0.33) * KD(0.25) * y2050), 1.0, 1e-5);
}

TEST_F(FilmCoefficient, LaminarTableBlendsAcrossItsRow) {
    // L/D 42 is halfway along the 36-48 row.
    Liquid(1500, 0.25f, 21);
    const double y1 = 0.636697 * std::pow(1500.0, 0.313574);
    const double y2 = 0.513892 * std::pow(1500.0, 0.330641);
    const double y = y1 + (y2 - y1) * 0.5;
    EXPECT_NEAR(CC_TubeFilmCoef() / (std::pow(Prandtl(0.25), 0.33) * KD(0.25) * y), 1.0, 1e-5);
    // Outside 24..600 the end power law applies alone.
    for (float fl : {300.0f, 11.0f}) {
        Liquid(1500, 0.25f, fl);
        const double yEnd = 0.228464 * std::pow(1500.0, 0.331984);
        EXPECT_NEAR(CC_TubeFilmCoef() / (std::pow(Prandtl(0.25), 0.33) * KD(0.25) * yEnd), 1.0, 1e-5);
    }
}

TEST_F(FilmCoefficient, StandingLiquidHasNoFilm) {
    Liquid(0, 0.25f);
    EXPECT_EQ(CC_TubeFilmCoef(), 0.0f);
}

TEST_F(FilmCoefficient, RefrigerantFits) {
    cc.Type = CoilType::Evaporator;
    cc.Rating.Refrigerant = "22";
    cc.Rating.FluidMassFlux = 200000;
    cc.Coil.Rifled = "N";
    cc.UseDryCalc = kFalse;
    EXPECT_NEAR(CC_TubeFilmCoef(), 730, 1e-3);
    cc.Coil.Rifled = "Y";
    EXPECT_NEAR(CC_TubeFilmCoef(), 4.12 * 200 + 395, 1e-3);
    cc.UseDryCalc = kTrue;
    EXPECT_NEAR(CC_TubeFilmCoef(), 1.23 * 200 + 464, 1e-3);
    cc.Coil.Rifled = "N";
    cc.Rating.Refrigerant = "410a";
    EXPECT_NEAR(CC_TubeFilmCoef(), 1.41 * 200 + 157, 1e-3);
    cc.Rating.Refrigerant = "R22";
    EXPECT_EQ(CC_TubeFilmCoef(), 0.0f);
}

}  // namespace
