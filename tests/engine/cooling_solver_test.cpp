// Fluid coil cooling solver: wet, partly wet and dry results, the leaving air
// state, the failure message, and the leaving humidity lookup.
#include <gtest/gtest.h>

#include <cstring>

#include "coil_fixture.h"
#include "engine/hygrel_binding.h"

using namespace solvers_test;

namespace {

Coil ChilledWater() {
    Coil c;
    c.type = std::string("W");
    c.tube = std::string("5");
    c.rows = 4;
    c.fpi = 12;
    c.th = 16;
    c.fl = 48;
    c.circuits = 16;
    c.acfm = 2000;
    c.eatDb = 80;
    c.eatWb = 67;
    c.entFluid = 45;
    c.gpm = 20;
    return c;
}

float Humidity(float db, float wb, int16_t alt) {
    return hg::HGWBTOGR(db, wb, alt);
}

}  // namespace

TEST(CoolingSolver, WetCoilLeavesCoolerAndDrierAir) {
    const Rated out = Rate(ChilledWater());
    ASSERT_TRUE(out.assigned);
    ASSERT_TRUE(out.messages.empty()) << out.messages.front();
    const CoilRating& r = out.rating;
    EXPECT_EQ(cc.CoilDry, kFalse);
    EXPECT_GT(r.WetFraction, 0.0f);
    EXPECT_LE(r.WetFraction, 1.0f);
    EXPECT_LT(r.SensibleBtuh, r.TotalBtuh);
    EXPECT_GT(r.SensibleBtuh, 0.0f);
    EXPECT_GE(r.LatDb, r.LatWb);
    EXPECT_LT(r.LatDb, r.EatDb);
    EXPECT_GT(r.LatDb, r.EntFluidTemp);
    EXPECT_LT(Humidity(r.LatDb, r.LatWb, 0), Humidity(r.EatDb, r.EatWb, 0));
    EXPECT_EQ(cc.GuessList[0], 10000.0f);
}

TEST(CoolingSolver, AirWhoseDewPointIsAboveNoSurfaceRatesDry) {
    // Dew point of 95/60 air lies below the 50 F fluid: nothing condenses.
    Coil c = ChilledWater();
    c.eatDb = 95;
    c.eatWb = 60;
    c.entFluid = 50;
    const Rated out = Rate(c);
    ASSERT_TRUE(out.messages.empty());
    const CoilRating& r = out.rating;
    EXPECT_EQ(cc.CoilDry, kTrue);
    EXPECT_EQ(r.WetFraction, 0.0f);
    EXPECT_EQ(r.SensibleBtuh, r.TotalBtuh);
    EXPECT_GT(r.TotalBtuh, 0.0f);
    // The leaving wet bulb is the saturation temperature at the leaving
    // enthalpy, so the leaving state carries the entering humidity.
    EXPECT_NEAR(Humidity(r.LatDb, r.LatWb, 0), Humidity(r.EatDb, r.EatWb, 0), 0.5);
    // The leaving fluid carries the capacity.
    EXPECT_NEAR(r.LvgFluidTemp, r.TotalBtuh / (double(r.FluidMassFlow) * r.FluidSpecHeat) + r.EntFluidTemp,
                0.05);
}

// A blank wet bulb rates air at dry bulb minus one, nearly saturated. The
// bypass-factor leaving dry bulb then falls below the leaving wet bulb during
// the iteration; the humidity lookup must not turn the library's refusal into
// a humidity ratio.
TEST(CoolingSolver, NearlySaturatedAirRatesWithoutFault) {
    for (float db : {70.0f, 75.0f, 80.0f, 85.0f}) {
        for (float tf : {40.0f, 45.0f, 50.0f}) {
            Coil c = ChilledWater();
            c.eatDb = db;
            c.eatWb = 0;
            c.entFluid = tf;
            const Rated out = Rate(c);
            SCOPED_TRACE(testing::Message() << "db " << db << " fluid " << tf);
            ASSERT_TRUE(out.assigned);
            EXPECT_TRUE(out.messages.empty()) << out.messages.front();
            const CoilRating& r = out.rating;
            EXPECT_EQ(FirstNonFinite(out.coilSpec, r), "");
            EXPECT_GT(r.SensibleBtuh, 0.0f);
            EXPECT_LE(r.SensibleBtuh, r.TotalBtuh);
            EXPECT_GT(r.LatWb, r.EntFluidTemp);
            EXPECT_GE(r.LatDb, r.LatWb);
            EXPECT_LT(r.LatDb, r.EatDb);
            const float wl = Humidity(r.LatDb, r.LatWb, 0);
            EXPECT_GT(wl, 0.0f);
            EXPECT_LE(wl, Humidity(r.EatDb, r.EatDb - 1, 0) + 0.5f);
        }
    }
}

TEST(CoolingSolver, RunTimeFaultIsShownAndResultsSoFarStay) {
    // No fluid flow: the leaving fluid temperature of the first trial divides
    // by a zero fluid mass flow.
    Coil c = ChilledWater();
    c.gpm = 0;
    const Rated out = Rate(c);
    ASSERT_TRUE(out.assigned);
    EXPECT_FALSE(out.raised);
    // The solver's message comes first; the pressure drops that follow may
    // report their own.
    ASSERT_GE(out.messages.size(), 1u);
    EXPECT_EQ(out.messages[0], "11  Division by zero");
    EXPECT_EQ(out.rating.TotalBtuh, 10000.0f);
    EXPECT_EQ(FirstNonFinite(out.coilSpec, out.rating), "");
}

TEST(CoolingSolver, RepeatedRatingGivesIdenticalBits) {
    // Nothing of one rating may leak into the next through the module state.
    const Rated a = Rate(ChilledWater());
    Coil other = ChilledWater();
    other.eatDb = 95;
    other.eatWb = 60;
    other.entFluid = 50;
    Rate(other);
    const Rated b = Rate(ChilledWater());
    const auto fa = Floats(a.coilSpec, a.rating);
    const auto fb = Floats(b.coilSpec, b.rating);
    ASSERT_EQ(fa.size(), fb.size());
    for (size_t i = 0; i < fa.size(); ++i)
        EXPECT_EQ(std::memcmp(&fa[i].second, &fb[i].second, sizeof(float)), 0) << fa[i].first;
}
