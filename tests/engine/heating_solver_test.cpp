// Dry heating solver: the effectiveness by flow arrangement, the iteration on
// the leaving fluid temperature and its two failure messages.
#include <gtest/gtest.h>

#include <cmath>

#include "coil_fixture.h"
#include "engine/hygrel_binding.h"

using namespace solvers_test;

namespace {

Coil HotWater(int rows) {
    Coil c;
    c.type = std::string("W");
    c.tube = std::string("5");
    c.rows = rows;
    c.fpi = 10;
    c.th = 16;
    c.fl = 48;
    c.circuits = 8;
    c.acfm = 2400;
    c.eatDb = 40;
    c.eatWb = 0;
    c.entFluid = 160;
    c.gpm = 10;
    return c;
}

// Rates the coil, then reruns the heating solver on the engine's state as
// left by the rating (the tests adjust that state in between).
struct Rerun {
    std::vector<std::string> messages;
    CoilRating r;
};

Rerun RunDrySolver() {
    RecordingMessageSink sink;
    ScopedMessageSink scope(sink);
    CC_DoDryCoilCalc();
    Rerun out;
    for (const auto& m : sink.shown) out.messages.push_back(m.text);
    out.r = cc.Rating;
    return out;
}

}  // namespace

TEST(HeatingSolver, HeatsTheAirBelowTheFluidTemperature) {
    for (int rows : {1, 2, 3, 6}) {
        const Rated out = Rate(HotWater(rows));
        SCOPED_TRACE(rows);
        ASSERT_TRUE(out.messages.empty());
        const CoilRating& r = out.rating;
        EXPECT_EQ(cc.CoilDry, kTrue);
        EXPECT_EQ(r.TotalBtuh, r.SensibleBtuh);
        EXPECT_GT(r.LatDb, r.EatDb);
        EXPECT_LT(r.LatDb, r.EntFluidTemp);
        EXPECT_LT(r.LvgFluidTemp, r.EntFluidTemp);
        EXPECT_GT(r.LvgFluidTemp, r.EatDb);
        EXPECT_EQ(r.LatWb, 0.0f);  // not rated by this solver
    }
}

TEST(HeatingSolver, AbundantFluidGivesTheSameEffectivenessForAnyRows) {
    // As the fluid capacity rate grows without bound, the one-row, two-row
    // and counterflow forms all tend to 1 - exp(-NTU); at a ratio of 1e-6
    // they agree to well within 1e-4.
    Rate(HotWater(1));
    cc.Rating.FluidMassFlow *= 1e5f;
    float sens[3];
    for (int16_t rows = 1; rows <= 3; ++rows) {
        cc.Coil.RD = rows;
        const Rerun out = RunDrySolver();
        ASSERT_TRUE(out.messages.empty()) << out.messages.front();
        sens[rows - 1] = out.r.SensibleBtuh;
        EXPECT_NEAR(out.r.LvgFluidTemp, out.r.EntFluidTemp, 0.01);
    }
    EXPECT_GT(sens[0], 0.0f);
    EXPECT_NEAR(sens[0], sens[1], 1e-4 * sens[0]);
    EXPECT_NEAR(sens[0], sens[2], 1e-4 * sens[0]);
}

TEST(HeatingSolver, BalancedCounterflowUsesItsLimitForm) {
    // Three rows at a capacity-rate ratio of exactly 1: the counterflow form
    // would be 0/0; the balanced form gives the limit, continuous with ratios
    // just beside 1.
    Rate(HotWater(3));
    const int16_t alt = cc.Rating.Altitude;
    const float we = hg::HGWBTOGR(cc.Rating.EatDb, cc.EatWbCalc, alt);
    const double airRate = double(hg::HGDENSITY(cc.Rating.EatDb, we, alt)) * 60.0 * cc.AirCp * cc.Rating.Acfm;
    auto ratingAt = [&](double ratio) {
        cc.Rating.FluidSpecHeat = 1.0f;
        float mass = static_cast<float>(airRate / ratio);
        // Nudge the mass flow until the solver's ratio rounds exactly.
        for (int i = 0; i < 8 && static_cast<float>(airRate / (1.0 * mass)) != static_cast<float>(ratio); ++i)
            mass = std::nextafter(mass, static_cast<float>(airRate / (1.0 * mass)) > ratio ? 1e30f : 0.0f);
        cc.Rating.FluidMassFlow = mass;
        return RunDrySolver();
    };
    const Rerun balanced = ratingAt(1.0);
    ASSERT_TRUE(balanced.messages.empty()) << balanced.messages.front();
    const Rerun below = ratingAt(0.9999);
    const Rerun above = ratingAt(1.0001);
    ASSERT_TRUE(below.messages.empty());
    ASSERT_TRUE(above.messages.empty());
    EXPECT_GT(balanced.r.SensibleBtuh, 0.0f);
    EXPECT_NEAR(balanced.r.SensibleBtuh, below.r.SensibleBtuh, 1e-3 * below.r.SensibleBtuh);
    EXPECT_NEAR(balanced.r.SensibleBtuh, above.r.SensibleBtuh, 1e-3 * above.r.SensibleBtuh);
}

TEST(HeatingSolver, EqualAirAndFluidTemperaturesTransferNothing) {
    Rate(HotWater(4));
    cc.Rating.EntFluidTemp = cc.Rating.EatDb;
    const Rerun out = RunDrySolver();
    ASSERT_TRUE(out.messages.empty());
    EXPECT_EQ(out.r.SensibleBtuh, 0.0f);
    EXPECT_EQ(out.r.TotalBtuh, 0.0f);
    EXPECT_EQ(out.r.LatDb, out.r.EatDb);
    EXPECT_EQ(out.r.LvgFluidTemp, out.r.EntFluidTemp);
}

TEST(HeatingSolver, RunTimeFaultIsShownAndTheRatingGoesOn) {
    Coil c = HotWater(2);
    c.gpm = 0;
    const Rated out = Rate(c);
    ASSERT_TRUE(out.assigned);
    ASSERT_GE(out.messages.size(), 1u);
    EXPECT_EQ(out.messages[0], "11  Division by zero");
    EXPECT_EQ(FirstNonFinite(out.coilSpec, out.rating), "");
}

TEST(HeatingSolver, AirBeyondTheDensityRangeIsAFaultNotARating) {
    // Mean air above 200 F: the library refuses the density.
    Coil c = HotWater(4);
    c.eatDb = 190;
    c.entFluid = 300;
    const Rated out = Rate(c);
    ASSERT_TRUE(out.assigned);
    ASSERT_EQ(out.messages.size(), 1u);
    EXPECT_EQ(out.messages[0], "5  Out of Range Condition or error with HGDENSITY!");
    EXPECT_LT(out.rating.LatDb, 300.0f);
}

TEST(HeatingSolver, NoConvergenceWithinAHundredIterationsIsReported) {
    // A capacity factor far above 1 on a small fluid flow makes the leaving
    // fluid temperature swing by more than the halving can damp.
    Rate(HotWater(1));
    cc.Rating.CapacityFactor = 5.0f;
    cc.Rating.FluidMassFlow = 200;
    const Rerun out = RunDrySolver();
    ASSERT_EQ(out.messages.size(), 1u);
    EXPECT_EQ(out.messages[0], "Error in Coil Calculations. Contact Factory.");
    EXPECT_EQ(out.r.TotalBtuh, out.r.SensibleBtuh);
}
