#include <gtest/gtest.h>

#include "common/calc_driver.h"
#include "engine/msgbox.h"

namespace {

FieldTexts GlycolCoil(const std::string& db, const std::string& wb) {
    return {{"Application", "G"},   {"Pattern", "5"},       {"TubeWall", "0.02"}, {"FinMat", "A"},
            {"FinThk", "0.006"},    {"FinTreat", "CR"},     {"FPI", "12"},        {"RD", "4"},
            {"TH", "16"},           {"FL", "48"},           {"Circuits", "16"},   {"Rifled", "N"},
            {"FoulingFactor", "0"}, {"Altitude", "0"},      {"Acfm", "2000"},     {"EatDb", db},
            {"EatWb", wb},          {"EntFluidTemp", "45"}, {"Gpm", "20"},        {"PercentGlycol", "30"}};
}

}  // namespace

TEST(Plausibility, LeavingAirMustLieBetweenAirAndFluid) {
    CoilSpec s;
    s.Application = "G";
    CoilRating r;
    r.EatDb = 80;
    r.EntFluidTemp = 45;
    r.TotalBtuh = 1000;
    r.LatDb = 55;
    EXPECT_TRUE(PhysicallyPlausible(s, r));
    r.LatDb = 45;  // the limits themselves are reachable
    EXPECT_TRUE(PhysicallyPlausible(s, r));
    r.LatDb = 44.9f;
    EXPECT_FALSE(PhysicallyPlausible(s, r));
    r.LatDb = 80.5f;
    EXPECT_FALSE(PhysicallyPlausible(s, r));
    r.LatDb = 60;
    r.TotalBtuh = -5;
    EXPECT_FALSE(PhysicallyPlausible(s, r));
    // Heating the other way round.
    r.EatDb = 60;
    r.EntFluidTemp = 180;
    r.TotalBtuh = 5000;
    r.LatDb = 120;
    EXPECT_TRUE(PhysicallyPlausible(s, r));
    // Refrigerant coils are left to their own rating rules.
    s.Application = "E";
    r.LatDb = 200;
    EXPECT_TRUE(PhysicallyPlausible(s, r));
}

TEST(Plausibility, NonsenseFarOutsideTheCorrelationsIsRefusedNotListed) {
    // Very hot, nearly saturated air on a 45 F glycol coil drives the cooling
    // solver to a negative capacity of hundreds of millions of Btu/h.
    RecordingMessageSink sink;
    ScopedMessageSink scope(sink);
    CoilSpec coilSpec;
    CoilRating rating;
    rating.TotalBtuh = 123;
    const CalcResult res = CalcPerform(GlycolCoil("160", "155"), 1, coilSpec, rating);
    if (res.ok()) {
        // Should the solver ever rate this coil sensibly, it must be plausible.
        EXPECT_TRUE(PhysicallyPlausible(coilSpec, rating));
        return;
    }
    EXPECT_EQ(res.status, CalcResult::EngineFailed);
    ASSERT_FALSE(sink.shown.empty());
    EXPECT_EQ(rating.TotalBtuh, 123);  // the previous coil stays
    // A realistic coil next to it still rates.
    const CalcResult ok = CalcPerform(GlycolCoil("80", "67"), 1, coilSpec, rating);
    EXPECT_TRUE(ok.ok());
    EXPECT_TRUE(PhysicallyPlausible(coilSpec, rating));
}
