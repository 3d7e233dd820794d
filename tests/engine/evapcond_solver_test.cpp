// Refrigerant and steam solver: the choice of rating, the refrigerant factor
// table, the limits on the effectiveness allowances, and the steam passes.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

#include "coil_fixture.h"
#include "engine/hygrel_binding.h"

using namespace solvers_test;

namespace {

Coil Evaporator(float tevap, int rows, int fpi) {
    Coil c;
    c.type = std::string("E");
    c.tube = std::string("5");
    c.rows = rows;
    c.fpi = fpi;
    c.th = 16;
    c.fl = 48;
    c.circuits = 8;
    c.acfm = 2400;
    c.eatDb = 80;
    c.eatWb = 67;
    c.entFluid = tevap;
    c.refrigerant = std::string("22");
    c.superheat = 10;
    return c;
}

Coil Condenser(float tcond, int rows, int fpi, float acfm) {
    Coil c;
    c.type = std::string("C");
    c.tube = std::string("4");
    c.wall = 0.017f;
    c.rows = rows;
    c.fpi = fpi;
    c.th = 24;
    c.fl = 60;
    c.circuits = 6;
    c.acfm = acfm;
    c.eatDb = 95;
    c.eatWb = 0;
    c.entFluid = tcond;
    c.refrigerant = std::string("22");
    return c;
}

Coil Steam(const std::string& tube, float psi, float eatDb) {
    Coil c;
    c.type = std::string("S");
    c.tube = tube;
    c.wall = tube == "1" ? 0.035f : 0.025f;
    c.finThk = tube == "1" ? 0.010f : 0.006f;
    c.rows = 2;
    c.fpi = 10;
    c.th = tube == "1" ? 8 : 16;
    c.fl = 48;
    c.circuits = 1;
    c.acfm = 3000;
    c.eatDb = eatDb;
    c.eatWb = 0;
    c.steamPsi = psi;
    return c;
}

}  // namespace

TEST(RefrigerantFactor, MatchesTheRefrigerantTextExactly) {
    // The factors are table values held as 32-bit floats: 1.456 as a double
    // would give a refrigerant mass flow a few units in the last place off.
    EXPECT_EQ(CC_RefrigerantFlowFactor("22"), 1.0);
    EXPECT_EQ(CC_RefrigerantFlowFactor("12"), 0.849f);
    EXPECT_EQ(CC_RefrigerantFlowFactor("410A"), 1.456f);
    EXPECT_EQ(CC_RefrigerantFlowFactor("410a"), 1.456f);
    EXPECT_EQ(CC_RefrigerantFlowFactor("407C"), 0.957f);
    EXPECT_EQ(CC_RefrigerantFlowFactor("407c"), 0.957f);
    EXPECT_EQ(CC_RefrigerantFlowFactor("404A"), 0.899f);
    EXPECT_EQ(CC_RefrigerantFlowFactor("404a"), 0.899f);
    EXPECT_EQ(CC_RefrigerantFlowFactor("134A"), 0.7f);
    EXPECT_EQ(CC_RefrigerantFlowFactor("134a"), 0.7f);
    for (const char* other : {"", "R22", "22 ", " 22", "2", "410", "410AA", "134B", "407C ", "404"})
        EXPECT_EQ(CC_RefrigerantFlowFactor(other), 0.0) << '"' << other << '"';
}

TEST(RefrigerantSolver, EvaporatorColderThanTheAirIsRatedWet) {
    const Rated out = Rate(Evaporator(40, 4, 12));
    ASSERT_TRUE(out.assigned);
    const CoilRating& r = out.rating;
    EXPECT_EQ(r.EvapCondAux, 1.51f);
    EXPECT_EQ(r.SteamAux, 0.0f);
    EXPECT_GT(r.TotalBtuh, r.SensibleBtuh);
    EXPECT_GT(r.LatWb, r.EntFluidTemp);
    EXPECT_GE(r.LatDb, r.LatWb);
}

TEST(RefrigerantSolver, CondenserWarmerThanTheAirIsRatedDry) {
    const Rated out = Rate(Condenser(120, 3, 10, 5000));
    ASSERT_TRUE(out.assigned);
    const CoilRating& r = out.rating;
    EXPECT_EQ(r.EvapCondAux, 0.0f);
    EXPECT_GT(r.SteamAux, 0.0f);
    EXPECT_EQ(r.SensibleBtuh, r.TotalBtuh);
    EXPECT_GT(r.LatDb, r.EatDb);
    EXPECT_LT(r.LatDb, r.EntFluidTemp);
    EXPECT_EQ(r.LatWb, 0.0f);
    EXPECT_EQ(r.FluidMassFlux, r.SteamAux / cc.TubeFlowArea);
}

TEST(RefrigerantSolver, RefrigerantOutsideTheTableLeavesTheFlowAndRaises) {
    // No factor: the refrigerant flow stays as the record brings it, and the
    // tube-side coefficient of an unknown refrigerant is 0.
    Coil c = Condenser(120, 3, 10, 5000);
    c.refrigerant = std::string("22 ");
    const Rated out = Rate(c);
    EXPECT_TRUE(out.raised);
    EXPECT_EQ(out.errorNumber, 11);
}

// Capacity of air leaving saturated at the refrigerant temperature, in the
// wet rating's standard-air terms.
static double SaturatedLeavingCapacity(const CoilRating& r) {
    const float hwb = hg::HGENTHALPY(r.EatWb, hg::HGWBTOGR(r.EatWb, r.EatWb, r.Altitude));
    const float hr = hg::HGENTHALPY(r.EntFluidTemp, hg::HGWBTOGR(r.EntFluidTemp, r.EntFluidTemp, r.Altitude));
    return double(r.Scfm) * 4.5 * (double(hwb) - hr);
}

TEST(RefrigerantSolver, WetCapacityIsLimitedToAirLeavingSaturatedAtTheRefrigerant) {
    // Deep, slow coils whose effectiveness times 1.51 exceeds 1: with the
    // factor unlimited the air would leave well below the refrigerant.
    for (float t : {30.0f, 40.0f}) {
        Coil c = Evaporator(t, 8, 12);
        c.acfm = 1600;
        const Rated out = Rate(c);
        SCOPED_TRACE(t);
        ASSERT_TRUE(out.assigned);
        const CoilRating& r = out.rating;
        EXPECT_EQ(r.TotalBtuh, static_cast<float>(SaturatedLeavingCapacity(r)));
        // Standard air (Scfm x 4.5) against the actual air mass flow leaves
        // the wet bulb a little below the refrigerant temperature.
        EXPECT_GT(r.LatWb, t - 3.0f);
        EXPECT_GE(r.LatDb, r.LatWb);
        EXPECT_LE(r.SensibleBtuh, r.TotalBtuh);
    }
}

TEST(RefrigerantSolver, DryCapacityNeverHeatsTheAirPastTheRefrigerant) {
    // A deep condenser on little air: effectiveness times 1.28 exceeds 1.
    const Rated out = Rate(Condenser(120, 8, 14, 2000));
    ASSERT_TRUE(out.assigned);
    EXPECT_LE(out.rating.LatDb, out.rating.EntFluidTemp);
    EXPECT_GT(out.rating.LatDb, out.rating.EatDb);
}

TEST(RefrigerantSolver, ShallowWetCoilKeepsTheFactoredCapacity) {
    // Effectiveness times 1.51 below 1: the capacity is 1.51 times the
    // single-effectiveness rating, above what saturated air at the
    // refrigerant temperature would allow without the factor's limit.
    const Rated out = Rate(Evaporator(45, 1, 8));
    ASSERT_TRUE(out.assigned);
    const CoilRating& r = out.rating;
    EXPECT_LT(r.TotalBtuh, SaturatedLeavingCapacity(r));
    EXPECT_GT(r.LatWb, 45.0f);
}

TEST(RefrigerantSolver, DryIterationEndingOnTheMeanReportsSensibleEqualToTotal) {
    // At capacities of 1e10 Btu/h and more, one step of a 32-bit trial is
    // far above the 100 Btu/h tolerance; some air flows leave the trials
    // stuck one step from the computed capacity until the list is used up,
    // and the result is the mean of the last two trials. Find such a flow.
    Rate(Condenser(120, 3, 10, 5000));
    const CoilCalcState rated = cc;
    bool found = false;
    for (double m = 1e5; m < 1e9 && !found; m *= 1.37) {
        cc = rated;
        cc.Rating.Acfm = static_cast<float>(5000 * m);
        std::fill(std::begin(cc.GuessList), std::end(cc.GuessList), 0.0f);
        float h = 0;
        CC_DoEvapCondCalc(h);
        found = cc.GuessList[50] != 0;
    }
    ASSERT_TRUE(found);
    const CoilRating& r = cc.Rating;
    EXPECT_EQ(r.TotalBtuh, static_cast<float>((double(cc.GuessList[49]) + cc.GuessList[50]) / 2.0));
    EXPECT_EQ(r.SensibleBtuh, r.TotalBtuh);
}

TEST(RefrigerantSolver, LowSensibleRatioIsKeptHighRatioBecomesTotal) {
    // Dry entering air: the sensible heat ratio exceeds 0.94.
    Coil dry = Evaporator(45, 4, 12);
    dry.eatWb = 58;
    const Rated a = Rate(dry);
    EXPECT_EQ(a.rating.SensibleBtuh, a.rating.TotalBtuh);
    // Humid air: well below 0.94.
    Coil humid = Evaporator(45, 4, 12);
    humid.eatWb = 72;
    const Rated b = Rate(humid);
    EXPECT_LT(b.rating.SensibleBtuh, 0.9f * b.rating.TotalBtuh);
}

TEST(RefrigerantSolver, ZeroWetCapacityIsReportedAsOne) {
    // Refrigerant at the entering wet bulb: no enthalpy potential.
    Coil c = Evaporator(50, 4, 12);
    c.eatDb = 60;
    c.eatWb = 50;
    const Rated out = Rate(c);
    ASSERT_TRUE(out.assigned);
    EXPECT_EQ(out.rating.TotalBtuh, 1.0f);
    EXPECT_EQ(out.rating.SensibleBtuh, 1.0f);
}

TEST(SteamSolver, TotalIsSensibleAndTheCondensateCarriesIt) {
    for (const char* tube : {"5", "1"}) {
        const Rated out = Rate(Steam(tube, 15, 0));
        SCOPED_TRACE(tube);
        ASSERT_TRUE(out.assigned);
        ASSERT_FALSE(out.raised);
        const CoilRating& r = out.rating;
        EXPECT_EQ(r.TotalBtuh, r.SensibleBtuh);
        EXPECT_GT(r.TotalBtuh, 0.0f);
        EXPECT_FLOAT_EQ(r.Condensate, r.TotalBtuh / r.LatentHeat);
        EXPECT_FLOAT_EQ(r.LatDb,
                        static_cast<float>(double(r.TotalBtuh) * 0.0002928 * 3413 / (r.Acfm * 1.08)));
        EXPECT_LT(r.LatDb, r.EntFluidTemp);
    }
}

TEST(SteamSolver, AirBeyondTheDensityRangeRaisesOutOfTheEngine) {
    const Rated out = Rate(Steam("5", 100, 150));
    EXPECT_TRUE(out.raised);
    EXPECT_EQ(out.errorNumber, 5);
    EXPECT_EQ(out.errorText, "Out of Range Condition or error with HGDENSITY!");
}
