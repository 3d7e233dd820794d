// Coil property assignment: pipe sizes, entering air, flow figures, geometry,
// air-side film resistance rows, wet/dry flags and failure messages.
#include <cmath>

#include "engine/rterror.h"
#include "engine_fixture.h"

namespace {

using Assignment = EngineTest;

TEST_F(Assignment, PipeSizesByFluidFlow) {
    struct Row {
        float gpm, conn, header;
    };
    const Row rows[] = {
        {0, 0.625f, 0.875f},   {2.5f, 0.625f, 0.875f},   {2.51f, 0.875f, 1.125f}, {7, 0.875f, 1.125f},
        {14, 1.125f, 1.375f},  {24, 1.375f, 1.625f},     {40, 1.625f, 2.125f},    {80, 2.125f, 2.625f},
        {150, 2.625f, 3.125f}, {150.1f, 3.125f, 3.625f}, {1000, 3.125f, 3.625f},
    };
    for (const Row& row : rows) {
        LoadWaterCoil();
        cc.Rating.Gpm = row.gpm;
        ASSERT_TRUE(Assign()) << cc.CalcErrorMsg;
        EXPECT_EQ(cc.Coil.ConnDia, row.conn) << "gpm " << row.gpm;
        EXPECT_EQ(cc.Coil.HeaderDia, row.header) << "gpm " << row.gpm;
    }
}

TEST_F(Assignment, GeometryOfTheSampleCoil) {
    LoadWaterCoil();
    ASSERT_TRUE(Assign()) << cc.CalcErrorMsg;
    const CoilSpec& s = cc.Coil;
    const CoilRating& r = cc.Rating;
    EXPECT_EQ(s.FaceArea, 8.0f);
    EXPECT_EQ(r.CoilFaceArea, 8.0f);
    EXPECT_EQ(s.HeaderLength, 23.0f);
    EXPECT_EQ(r.TotalTubes, 64);
    EXPECT_EQ(r.FinConductivity, 128.3f);
    EXPECT_EQ(r.CoilDepth, 5.196f);
    EXPECT_EQ(r.FaceVelocity, 250.0f);
    EXPECT_EQ(cc.TubeOd, 0.645f);
    EXPECT_FLOAT_EQ(cc.TubeId, 0.605f);
    // 576 fins of 24 x 5.196 in less 64 collar holes of 0.657 in, both faces.
    EXPECT_EQ(r.SecondaryArea, 824.0684814453125f);
    EXPECT_EQ(r.PrimaryArea, 40.85920715332031f);
    EXPECT_EQ(r.Scfm, r.Acfm);
    EXPECT_EQ(r.CapacityFactor, 1.0f);
    EXPECT_GT(cc.FinWallResDry, 0.0f);
    EXPECT_EQ(cc.FinWallResDry, cc.FinWallRes);
}

TEST_F(Assignment, BlankWetBulbIsOneDegreeBelowDryBulb) {
    LoadWaterCoil();
    cc.Rating.EatWb = 0;
    ASSERT_TRUE(Assign());
    EXPECT_EQ(cc.Rating.EatWb, 79.0f);
    EXPECT_EQ(cc.EatWbCalc, 79.0f);
}

TEST_F(Assignment, StandardAirFromAltitude2000Up) {
    LoadWaterCoil();
    cc.Rating.Altitude = 1999;
    ASSERT_TRUE(Assign());
    EXPECT_EQ(cc.Rating.Scfm, 2000.0f);

    LoadWaterCoil();
    cc.Rating.Altitude = 2000;
    ASSERT_TRUE(Assign());
    // Moist 80 F air at 2000 ft against dry 70 F air at sea level.
    EXPECT_LT(cc.Rating.Scfm, 1820.0f);
    EXPECT_GT(cc.Rating.Scfm, 1760.0f);
    EXPECT_EQ(cc.Rating.FaceVelocity, 250.0f);
}

// Air-side resistance for a fin and velocity, as AirJ / (V/100)^-n.
double Coefficient(float airJ, float v, double n) {
    return airJ / std::pow(v / 100.0, -n);
}

TEST_F(Assignment, AirSideRowsOfHalfInchTubes) {
    // Pattern "P", 16 high: 20 in x 48 in face.
    auto rate = [&](int fpi, const char* fin, int rows, float acfm) {
        LoadWaterCoil();
        cc.Coil.Pattern = "P";
        cc.Coil.FinHeight = 20;
        cc.Coil.FPI = static_cast<int16_t>(fpi);
        cc.Coil.FinTreat = fin;
        cc.Coil.RD = static_cast<int16_t>(rows);
        cc.Rating.Acfm = acfm;
        EXPECT_TRUE(Assign()) << cc.CalcErrorMsg;
        return cc.AirJ;
    };
    const float v = 300.0f;
    EXPECT_NEAR(Coefficient(rate(7, "SS", 4, 2000), v, 0.707), 0.204, 1e-6);
    EXPECT_NEAR(Coefficient(rate(8, "SS", 4, 2000), v, 0.707), 0.204, 1e-6);
    EXPECT_NEAR(Coefficient(rate(10, "SS", 4, 2000), v, 0.707), 0.192, 1e-6);
    EXPECT_EQ(rate(14, "SS", 4, 2000), rate(15, "SS", 4, 2000));
    EXPECT_NEAR(Coefficient(rate(15, "SS", 4, 2000), v, 0.707), 0.168, 1e-6);
    EXPECT_NEAR(Coefficient(rate(12, "CR", 2, 2000), v, 0.444), 0.088, 1e-6);
    EXPECT_NEAR(Coefficient(rate(12, "CR", 1, 2000), v, 0.246), 0.0775, 1e-6);
    // Over 311 ft/min a one-row coil takes the high-velocity row.
    const float fast = rate(12, "CR", 1, 2100);
    EXPECT_NEAR(Coefficient(fast, cc.Rating.FaceVelocity, 0.444), 0.101, 1e-6);
}

TEST_F(Assignment, OneRowSteamCoilAtExactly311FeetPerMinute) {
    auto rate = [&](float acfm) {
        LoadWaterCoil();
        cc.Coil.Application = "S";
        cc.Coil.RD = 1;
        cc.Rating.EntFluidTemp = 0;
        cc.Rating.Gpm = 0;
        cc.Rating.Acfm = acfm;  // 8 ft2 face
        EXPECT_TRUE(Assign()) << cc.CalcErrorMsg;
        return cc.AirJ;
    };
    const float at311 = rate(2488);
    ASSERT_EQ(cc.Rating.FaceVelocity, 311.0f);
    EXPECT_NEAR(Coefficient(at311, 311, 0.329), 0.17, 1e-6);
    const float at312 = rate(2496);
    EXPECT_NEAR(Coefficient(at312, 312, 0.594), 0.234, 1e-6);
}

TEST_F(Assignment, FiveEighthsWaterCoilRowsByFinsPerInch) {
    struct Row {
        int fpi;
        double c;
    };
    for (const Row row : {Row{8, 0.1618}, Row{9, 0.165}, Row{14, 0.173}, Row{15, 0.1765}}) {
        LoadWaterCoil();
        cc.Coil.FPI = static_cast<int16_t>(row.fpi);
        ASSERT_TRUE(Assign()) << cc.CalcErrorMsg;
        EXPECT_NEAR(Coefficient(cc.AirJ, 250, 0.5596), row.c, 1e-6) << row.fpi;
        EXPECT_NEAR(cc.AirJCorr / cc.AirJ, 0.1475118 * std::exp(-250 / 551.04242) + 0.8811386, 1e-6);
    }
}

TEST_F(Assignment, FinWithoutACorrelationFailsOnTheFinResistance) {
    // A pattern "5" water coil has no row for "L" fins: the air-side
    // resistance stays 0 and the fin resistance divides by it.
    LoadWaterCoil();
    cc.Coil.FinTreat = "LR";
    EXPECT_FALSE(Assign());
    EXPECT_EQ(cc.AirJ, 0.0f);
    EXPECT_EQ(cc.CalcErrorMsg, "Error: 11 Division by zero");
}

TEST_F(Assignment, EqualTemperaturesAreHeating) {
    LoadWaterCoil();
    cc.Rating.EatDb = 55;
    cc.Rating.EatWb = 50;
    cc.Rating.EntFluidTemp = 55;
    ASSERT_TRUE(Assign());
    EXPECT_EQ(cc.UseDryCalc, kTrue);
    EXPECT_EQ(cc.CoilDry, kTrue);

    // Air warmer than the fluid clears the dry-solver flag and leaves the
    // surface flag to the solver.
    LoadWaterCoil();
    cc.Rating.EntFluidTemp = 54.99f;
    cc.Rating.EatDb = 55;
    cc.Rating.EatWb = 50;
    ASSERT_TRUE(Assign());
    EXPECT_EQ(cc.UseDryCalc, kFalse);
    EXPECT_EQ(cc.CoilDry, kTrue);
}

TEST_F(Assignment, CorrugatedFactorsUseThePreviousDryFlag) {
    LoadWaterCoil();
    cc.Coil.Corrugated = "Y";
    cc.UseDryCalc = kTrue;
    ASSERT_TRUE(Assign());
    EXPECT_EQ(cc.Rating.CapacityFactor, 0.93f);
    EXPECT_EQ(cc.FluidPdFactor, 1.25f);
    EXPECT_EQ(cc.AirPdFactor, 1.1f);
    EXPECT_EQ(cc.UseDryCalc, kFalse);

    ASSERT_TRUE(Assign());
    EXPECT_EQ(cc.Rating.CapacityFactor, 0.97f);
    EXPECT_EQ(cc.AirPdFactor, 1.5f);

    cc.Coil.Corrugated = "N";
    ASSERT_TRUE(Assign());
    EXPECT_EQ(cc.Rating.CapacityFactor, 1.0f);
    EXPECT_EQ(cc.FluidPdFactor, 1.0f);
    EXPECT_EQ(cc.AirPdFactor, 1.0f);
}

TEST_F(Assignment, FailureMessages) {
    LoadWaterCoil();
    cc.Rating.Altitude = 31000;
    EXPECT_FALSE(Assign());
    EXPECT_EQ(cc.CalcErrorMsg,
              "Out of Range Condition or error with HGWBtoGR!\nProcedure: CC_bAssignCoilProp\n");

    LoadWaterCoil();
    cc.Rating.EatWb = 85;  // wet bulb above dry bulb
    EXPECT_FALSE(Assign());
    EXPECT_EQ(cc.CalcErrorMsg.rfind("Out of Range Condition", 0), 0u);

    // Air too hot for a density: refused, not rated with a negative mass flow.
    LoadWaterCoil();
    cc.Rating.EatDb = 210;
    cc.Rating.EatWb = 100;
    cc.Rating.EntFluidTemp = 250;
    EXPECT_FALSE(Assign());
    EXPECT_EQ(cc.CalcErrorMsg,
              "Out of Range Condition or error with HGDENSITY!\nProcedure: CC_bAssignCoilProp\n");

    LoadWaterCoil();
    cc.Coil.FL = 0;
    EXPECT_FALSE(Assign());
    EXPECT_EQ(cc.CalcErrorMsg, "Error: 11 Division by zero");

    LoadWaterCoil();
    cc.Coil.FPI = 0;
    EXPECT_FALSE(Assign());
    EXPECT_EQ(cc.CalcErrorMsg, "Error: 11 Division by zero");

    LoadWaterCoil();
    cc.Rating.Acfm = 0;  // zero face velocity to a negative power
    EXPECT_FALSE(Assign());
    EXPECT_EQ(cc.CalcErrorMsg, "Error: 11 Division by zero");

    LoadWaterCoil();
    cc.Coil.RD = 200;
    cc.Coil.TH = 200;  // 40000 tubes do not fit a 16-bit count
    EXPECT_FALSE(Assign());
    EXPECT_EQ(cc.CalcErrorMsg, "Error: 6 Overflow");
}

}  // namespace
