// The engine entry: records untouched on failure, dispatch by coil type, the
// equal-temperature case, flow figures and velocities.
#include "engine/rterror.h"
#include "engine_fixture.h"

namespace {

using RateCoil = EngineTest;

// Every field of both records, for "untouched" checks.
void ExpectSameSpec(const CoilSpec& a, const CoilSpec& b) {
    for (auto f : {&CoilSpec::Circuits, &CoilSpec::FPI, &CoilSpec::RD, &CoilSpec::TH}) EXPECT_EQ(a.*f, b.*f);
    for (auto f :
         {&CoilSpec::FaceArea, &CoilSpec::FinHeight, &CoilSpec::FinThk, &CoilSpec::FL, &CoilSpec::TubeWall,
          &CoilSpec::HeaderLength, &CoilSpec::HeaderDia, &CoilSpec::ConnDia, &CoilSpec::FoulingFactor})
        EXPECT_EQ(a.*f, b.*f);
    for (auto f : {&CoilSpec::Application, &CoilSpec::Pattern, &CoilSpec::FinMat, &CoilSpec::FinTreat,
                   &CoilSpec::Rifled, &CoilSpec::Corrugated})
        EXPECT_EQ(a.*f, b.*f);
}

void ExpectSameRating(const CoilRating& a, const CoilRating& b) {
    for (auto f : {&CoilRating::Altitude, &CoilRating::TotalTubes, &CoilRating::EvapSHCode})
        EXPECT_EQ(a.*f, b.*f);
    for (auto f : {&CoilRating::FinConductivity,
                   &CoilRating::CoilDepth,
                   &CoilRating::Acfm,
                   &CoilRating::FaceVelocity,
                   &CoilRating::AirPD,
                   &CoilRating::Condensate,
                   &CoilRating::PrimaryArea,
                   &CoilRating::SecondaryArea,
                   &CoilRating::FluidDensity,
                   &CoilRating::EatDb,
                   &CoilRating::EatWb,
                   &CoilRating::EntFluidTemp,
                   &CoilRating::EvapCondAux,
                   &CoilRating::CoilFaceArea,
                   &CoilRating::FluidMassFlow,
                   &CoilRating::SteamAux,
                   &CoilRating::FluidMassFlux,
                   &CoilRating::FluidPD,
                   &CoilRating::TubeVelocity,
                   &CoilRating::ConnVelocity,
                   &CoilRating::HeaderVelocity,
                   &CoilRating::CapacityFactor,
                   &CoilRating::Gpm,
                   &CoilRating::LatentHeat,
                   &CoilRating::LatDb,
                   &CoilRating::LatWb,
                   &CoilRating::LvgFluidTemp,
                   &CoilRating::PercentGlycol,
                   &CoilRating::WetFraction,
                   &CoilRating::SensibleBtuh,
                   &CoilRating::TotalBtuh,
                   &CoilRating::Scfm,
                   &CoilRating::FluidSpecHeat,
                   &CoilRating::SteamPressure,
                   &CoilRating::FluidThermCond,
                   &CoilRating::FluidViscosity})
        EXPECT_EQ(a.*f, b.*f);
    EXPECT_EQ(a.Refrigerant, b.Refrigerant);
}

// Records that hold a previous coil's results.
void PreviousResults(CoilSpec& s, CoilRating& r) {
    EngineTest::WaterCoil(s, r);
    s.FaceArea = 9;
    s.HeaderDia = 2;
    r.TotalBtuh = 80000;
    r.SensibleBtuh = 55000;
    r.LatDb = 54;
    r.TubeVelocity = 1.4f;
    r.FluidPD = 1.8f;
    r.AirPD = 0.16f;
}

TEST_F(RateCoil, FailedAssignmentShowsTheMessageAndLeavesRecordsUntouched) {
    CoilSpec coilSpec;
    CoilRating rating;
    PreviousResults(coilSpec, rating);
    rating.Altitude = 31000;
    const CoilSpec specBefore = coilSpec;
    const CoilRating ratingBefore = rating;

    RatingOutcome outcome;
    outcome.laminarFilm = true;  // filled afresh by every rating
    EXPECT_FALSE(CC_RateCoil(coilSpec, rating, outcome));
    ExpectSameSpec(coilSpec, specBefore);
    ExpectSameRating(rating, ratingBefore);
    ASSERT_EQ(sink.shown.size(), 1u);
    EXPECT_EQ(sink.shown[0].text,
              "Out of Range Condition or error with HGWBtoGR!\nProcedure: CC_bAssignCoilProp\n");
    EXPECT_EQ(outcome.failure, sink.shown[0].text);
    EXPECT_FALSE(outcome.laminarFilm);
    EXPECT_EQ(sink.shown[0].icon, MsgIcon::None);
    EXPECT_EQ(sink.shown[0].title, "Korvan");
}

TEST_F(RateCoil, MissingLibraryFailsTheRatingWithRecordsUntouched) {
    CoilSpec coilSpec;
    CoilRating rating;
    PreviousResults(coilSpec, rating);
    const CoilSpec specBefore = coilSpec;
    const CoilRating ratingBefore = rating;
    hg::SetLibraryNameForTesting("libHygrel32-not-there.so");
    EXPECT_FALSE(CC_RateCoil(coilSpec, rating));
    ExpectSameSpec(coilSpec, specBefore);
    ExpectSameRating(rating, ratingBefore);
    ASSERT_EQ(sink.shown.size(), 1u);
    EXPECT_EQ(sink.shown[0].text, "Error: 48 File not found: Hygrel32");
}

TEST_F(RateCoil, RunTimeErrorsAfterAssignmentPropagateWithRecordsUntouched) {
    CoilSpec coilSpec;
    CoilRating rating;
    PreviousResults(coilSpec, rating);
    coilSpec.Circuits = 0;  // no tube flow area: the mass flux divides by zero
    const CoilSpec specBefore = coilSpec;
    const CoilRating ratingBefore = rating;
    try {
        CC_RateCoil(coilSpec, rating);
        FAIL() << "no error";
    } catch (const rt::RtError& e) {
        EXPECT_EQ(e.number(), 11);
        EXPECT_STREQ(e.what(), "11  Division by zero");
    }
    ExpectSameSpec(coilSpec, specBefore);
    ExpectSameRating(rating, ratingBefore);
}

TEST_F(RateCoil, ChilledWaterCoilFlowFigures) {
    CoilSpec coilSpec;
    CoilRating rating;
    WaterCoil(coilSpec, rating);
    ASSERT_TRUE(CC_RateCoil(coilSpec, rating));
    // 20 gpm of 45 F water in 16 circuits of 0.605 in tubes.
    EXPECT_NEAR(rating.TubeVelocity, 1.39753, 2e-5);
    EXPECT_NEAR(rating.HeaderVelocity, 3.09945, 2e-5);
    EXPECT_NEAR(rating.ConnVelocity, 4.32899, 2e-5);
    // Mass flow at the second pass' mean fluid temperature.
    EXPECT_GT(rating.LvgFluidTemp, 45.0f);
    EXPECT_NEAR(rating.FluidMassFlow, 20 * 8.020833333 * rating.FluidDensity, 1e-2);
    EXPECT_NEAR(rating.FluidMassFlux, rating.FluidMassFlow / (0.605 * 0.605 * 0.00545 * 16), 0.1);
    EXPECT_GT(rating.TotalBtuh, 0.0f);
}

TEST_F(RateCoil, EqualAirAndFluidTemperaturesRateAsHeatingWithNoCapacity) {
    CoilSpec coilSpec;
    CoilRating rating;
    WaterCoil(coilSpec, rating);
    rating.EatDb = 55;
    rating.EatWb = 50;
    rating.EntFluidTemp = 55;
    ASSERT_TRUE(CC_RateCoil(coilSpec, rating));
    EXPECT_EQ(cc.CoilDry, kTrue);
    EXPECT_EQ(cc.UseDryCalc, kTrue);
    EXPECT_EQ(rating.TotalBtuh, 0.0f);
    EXPECT_EQ(rating.LatDb, 55.0f);
    EXPECT_TRUE(sink.shown.empty());
}

TEST_F(RateCoil, SteamAndRefrigerantCoilsHaveNoFluidVelocities) {
    CoilSpec coilSpec;
    CoilRating rating;
    WaterCoil(coilSpec, rating);
    coilSpec.Application = "S";
    coilSpec.RD = 1;
    rating.EatDb = 40;
    rating.EatWb = 0;
    rating.EntFluidTemp = 0;
    rating.Gpm = 0;
    rating.TubeVelocity = 5;  // a previous coil's figures are cleared
    rating.ConnVelocity = 5;
    rating.HeaderVelocity = 5;
    ASSERT_TRUE(CC_RateCoil(coilSpec, rating));
    EXPECT_EQ(rating.TubeVelocity, 0.0f);
    EXPECT_EQ(rating.ConnVelocity, 0.0f);
    EXPECT_EQ(rating.HeaderVelocity, 0.0f);
    EXPECT_EQ(rating.FluidPD, 0.0f);
    EXPECT_EQ(rating.EntFluidTemp, 212.0f);
    EXPECT_GT(rating.AirPD, 0.0f);

    WaterCoil(coilSpec, rating);
    coilSpec.Application = "E";
    rating.Refrigerant = "22";
    rating.EntFluidTemp = 40;
    rating.EvapSHCode = 10;
    ASSERT_TRUE(CC_RateCoil(coilSpec, rating));
    EXPECT_EQ(rating.TubeVelocity, 0.0f);
    EXPECT_EQ(rating.HeaderVelocity, 0.0f);
    EXPECT_GT(rating.AirPD, 0.0f);
    EXPECT_GT(rating.FluidPD, 0.0f);
}

TEST_F(RateCoil, OtherFluidCoilUsesTheDensityItBrings) {
    CoilSpec coilSpec;
    CoilRating rating;
    WaterCoil(coilSpec, rating);
    coilSpec.Application = "O";
    rating.FluidDensity = 62.4245f;
    rating.FluidSpecHeat = 1;
    rating.FluidThermCond = 0.34f;
    rating.FluidViscosity = 3;
    ASSERT_TRUE(CC_RateCoil(coilSpec, rating));
    EXPECT_EQ(rating.FluidDensity, 62.4245f);
    EXPECT_NEAR(rating.FluidMassFlow, 20 * 8.020833333 * 62.4245, 0.01);

    // Without a density the flow figures have nothing to work from.
    WaterCoil(coilSpec, rating);
    coilSpec.Application = "O";
    EXPECT_THROW(CC_RateCoil(coilSpec, rating), rt::RtError);
}

TEST_F(RateCoil, UnknownCoilTypeGetsOnlyPressureDrops) {
    CoilSpec coilSpec;
    CoilRating rating;
    WaterCoil(coilSpec, rating);
    coilSpec.Application = "X";
    coilSpec.Pattern = "3";  // air-side rows of this pattern do not depend on the type
    coilSpec.FinHeight = 16;
    ASSERT_TRUE(CC_RateCoil(coilSpec, rating));
    EXPECT_EQ(rating.TotalBtuh, 0.0f);
    EXPECT_EQ(rating.TubeVelocity, 0.0f);
    EXPECT_EQ(rating.FluidPD, 0.0f);
    EXPECT_GT(rating.AirPD, 0.0f);
}

}  // namespace
