// The calculation driver over a stand-in engine: validation order and
// messages, record filling, and what a failed rating leaves behind.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "common/calc_driver.h"
#include "engine/msgbox.h"
#include "engine/rterror.h"

namespace {

// What the stand-in engine saw and does.
struct FakeEngine {
    int calls = 0;
    CoilSpec spec;
    CoilRating rating;
    enum Mode { Succeed, AssignFails, Throws } mode = Succeed;
    int errorNumber = 11;
};
FakeEngine g_engine;

bool FakeRateCoil(CoilSpec& spec, CoilRating& rating) {
    ++g_engine.calls;
    g_engine.spec = spec;
    g_engine.rating = rating;
    switch (g_engine.mode) {
    case FakeEngine::AssignFails:
        ShowMessage("Out of Range Condition or error with HGWBtoGR!\nProcedure: CC_bAssignCoilProp\n");
        return false;
    case FakeEngine::Throws:
        rating.TotalBtuh = 1;  // half-done work must not leak out
        rt::Raise(g_engine.errorNumber);
    case FakeEngine::Succeed:
        break;
    }
    spec.FaceArea = 8;
    rating.TotalBtuh = 80918.96f;
    rating.SensibleBtuh = 2.5f;
    rating.LatWb = 53.58271f;
    return true;
}

class Driver : public ::testing::Test {
protected:
    void SetUp() override {
        g_engine = FakeEngine{};
        old_ = SetRateCoilFunction(&FakeRateCoil);
        sink_ = std::make_unique<ScopedMessageSink>(shown_);
    }
    void TearDown() override {
        sink_.reset();
        SetRateCoilFunction(old_);
    }

    static FieldTexts Water() {
        return {{"Application", "W"}, {"Pattern", "5"}, {"TubeWall", "0.02"}, {"FinMat", "A"},
                {"FinThk", "0.006"}, {"FinTreat", "CR"}, {"FPI", "12"}, {"RD", "4"}, {"TH", "16"},
                {"FL", "48"}, {"Circuits", "16"}, {"Rifled", "N"}, {"FoulingFactor", "0"},
                {"Altitude", "0"}, {"Acfm", "2000"}, {"EatDb", "80"}, {"EatWb", "67"},
                {"EntFluidTemp", "45"}, {"Gpm", "20"}};
    }

    CalcResult Run(const FieldTexts& f, int mode = kAirFlowAcfm) { return CalcPerform(f, mode, spec_, rating_); }

    void ExpectRefused(const FieldTexts& f, const std::string& message, const std::string& control,
                       int mode = kAirFlowAcfm) {
        const CalcResult r = Run(f, mode);
        EXPECT_EQ(r.status, CalcResult::Validation) << message;
        EXPECT_EQ(r.validation.message, message);
        EXPECT_EQ(r.validation.control, control) << message;
    }
    void ExpectPasses(const FieldTexts& f, int mode = kAirFlowAcfm) {
        const CalcResult r = Run(f, mode);
        EXPECT_EQ(r.status, CalcResult::Ok) << r.validation.message << r.error;
    }

    CoilSpec spec_;
    CoilRating rating_;
    RecordingMessageSink shown_;
    RateCoilFunction old_ = nullptr;
    std::unique_ptr<ScopedMessageSink> sink_;
};

// Filling an empty form field by field walks down the checks in their order.
TEST_F(Driver, ChecksRunInTheirFixedOrder) {
    const std::vector<std::pair<std::pair<std::string, std::string>, std::pair<std::string, std::string>>> ladder = {
        {{"Pattern", "5"}, {"Please Select the Tube OD before Proceeding", "cboTubeOD"}},
        {{"TubeWall", "0.02"}, {"Please Select the Wall Thickness before Proceeding", "cboWallThk"}},
        {{"FinMat", "A"}, {"Please Select the Fin Material before Proceeding", "cboFinMat"}},
        {{"FinTreat", "CR"}, {"Please Select the Fin Treatment before Proceeding", "cboFinType"}},
        {{"FPI", "12"}, {"Please input the FPI value before Proceeding", "txtFPI"}},
        {{"RD", "4"}, {"Please input the number of Rows before Proceeding", "txtRows"}},
        {{"TH", "16"}, {"Please input the number of Tubes High before Proceeding", "txtTH"}},
        {{"FL", "48"}, {"Please input the Finned Length before Proceeding", "txtFL"}},
        {{"Acfm", "2000"}, {"Please input the ACFM before Proceeding", "txtProperty(1)"}},
        {{"EatDb", "80"}, {"Please input the EAT (DB) before Proceeding", "txtProperty(4)"}},
        {{"EntFluidTemp", "45"}, {"Please input the Ent. FL. Temp. before Proceeding", "txtProperty(6)"}},
        {{"PercentGlycol", "30"}, {"Please input the Gly. % before Proceeding", "txtProperty(9)"}},
        {{"Gpm", "20"}, {"GPM value must be greater than 0", "txtProperty(7)"}},
    };
    FieldTexts f = {{"Application", "G"}};
    for (const auto& [fill, expected] : ladder) {
        ExpectRefused(f, expected.first, expected.second);
        f[fill.first] = fill.second;
    }
    ExpectPasses(f);
    EXPECT_EQ(g_engine.calls, 1);
}

TEST_F(Driver, LimitsAndLenientNumbers) {
    FieldTexts f = Water();
    f["FPI"] = "16";
    f["RD"] = "16";
    ExpectPasses(f);
    f["FPI"] = "17";
    ExpectRefused(f, "Please reduce the FPI value before Proceeding", "txtFPI");
    f["FPI"] = "16";
    f["RD"] = "17";
    ExpectRefused(f, "Please reduce the number of Rows before Proceeding", "txtRows");
    f = Water();
    f["FPI"] = "abc";
    ExpectRefused(f, "Please input the FPI value before Proceeding", "txtFPI");
    f["FPI"] = "12 fins";  // the leading number counts
    ExpectPasses(f);
    f["EatDb"] = "80F";    // the dry bulb must be wholly a number
    ExpectRefused(f, "Please input the EAT (DB) before Proceeding", "txtProperty(4)");
    f["EatDb"] = " 80 ";
    ExpectPasses(f);
    f["Gpm"] = "-1";
    ExpectRefused(f, "GPM value must be greater than 0", "txtProperty(7)");
}

TEST_F(Driver, ChecksThatDependOnTheCoilType) {
    FieldTexts steam = Water();
    steam["Application"] = "S";
    steam.erase("EntFluidTemp");
    steam.erase("Gpm");
    ExpectRefused(steam, "Please input the PSI value before Proceeding", "txtProperty(14)");
    steam["SteamPressure"] = "15";
    ExpectPasses(steam);  // no fluid temperature or flow needed

    FieldTexts water = Water();  // no steam pressure needed
    ExpectPasses(water);

    FieldTexts evap = Water();
    evap["Application"] = "E";
    evap["Gpm"] = "0";
    ExpectRefused(evap, "Please select the Refrigerant type  before Proceeding", "cboRefrigerant");
    evap["Refrigerant"] = "22";
    ExpectPasses(evap);  // flow 0 is fine for a refrigerant coil
}

TEST_F(Driver, AirFlowFieldFollowsTheMode) {
    FieldTexts f = Water();
    f.erase("Acfm");
    ExpectRefused(f, "Please input the ACFM before Proceeding", "txtProperty(1)");
    ExpectRefused(f, "Please input the SCFM before Proceeding", "txtProperty(2)", kAirFlowScfm);
    ExpectRefused(f, "Please input the Air Velocity before Proceeding", "txtProperty(3)", kAirFlowVelocity);
    f["AirVel"] = "500";
    ExpectPasses(f, kAirFlowVelocity);
}

TEST_F(Driver, CondenserMustCondenseAboveTheEnteringAir) {
    FieldTexts f = Water();
    f["Application"] = "C";
    f.erase("EatWb");
    f["EatDb"] = "95";
    f["EntFluidTemp"] = "80";
    ExpectRefused(f, "Please select the Refrigerant type  before Proceeding", "cboRefrigerant");
    f["Refrigerant"] = "22";
    ExpectRefused(f, "Cond. Temp. must be above the EAT (DB)", "txtProperty(6)");
    f["EntFluidTemp"] = "95";
    ExpectRefused(f, "Cond. Temp. must be above the EAT (DB)", "txtProperty(6)");
    EXPECT_EQ(g_engine.calls, 0);
    f["EntFluidTemp"] = "120";
    ExpectPasses(f);
}

TEST_F(Driver, ValidationFaultLeavesRecordsAndShowsNothing) {
    rating_.TotalBtuh = 123;
    spec_.FPI = 7;
    FieldTexts f = Water();
    f["FPI"] = "17";
    Run(f);
    EXPECT_EQ(rating_.TotalBtuh, 123);
    EXPECT_EQ(spec_.FPI, 7);
    EXPECT_EQ(g_engine.calls, 0);
    EXPECT_TRUE(shown_.shown.empty());
}

TEST_F(Driver, FillsTheRecordsFromTheFields) {
    FieldTexts f = Water();
    f["Pattern"] = "4";
    f["Circuits"] = "";
    f["FPI"] = "12.5";   // halves go to even
    f["RD"] = "3.5";
    f["EatWb"] = "";
    f["Altitude"] = "";
    f["EvapSHCode"] = "10";
    rating_.SteamPressure = 15;
    rating_.Scfm = 999;
    ASSERT_TRUE(Run(f).ok());
    const CoilSpec& s = g_engine.spec;
    const CoilRating& r = g_engine.rating;
    EXPECT_EQ(s.Pattern, "P");
    EXPECT_EQ(s.Circuits, 1);
    EXPECT_EQ(s.FPI, 12);
    EXPECT_EQ(s.RD, 4);
    EXPECT_EQ(s.TH, 16);
    EXPECT_EQ(s.FinHeight, 20.0f);
    EXPECT_EQ(s.FL, 48.0f);
    EXPECT_EQ(s.TubeWall, 0.02f);
    EXPECT_EQ(s.FinThk, 0.006f);
    EXPECT_EQ(s.Corrugated, "N");
    EXPECT_EQ(s.FinTreat, "CR");
    EXPECT_EQ(r.Altitude, 0);
    EXPECT_EQ(r.Acfm, 2000.0f);
    EXPECT_EQ(r.Scfm, 0.0f);
    EXPECT_EQ(r.EatWb, 0.0f);
    EXPECT_EQ(r.EntFluidTemp, 45.0f);
    EXPECT_EQ(r.SteamPressure, 15.0f);  // not a steam coil: kept
    EXPECT_EQ(r.EvapSHCode, 10);
    EXPECT_EQ(r.Gpm, 20.0f);
}

TEST_F(Driver, FinHeightByTubePattern) {
    const std::vector<std::pair<std::string, float>> cases = {
        {"6", 12}, {"3", 12}, {"5", 18}, {"4", 15}, {"1", 36}, {"9", 7.5f}};
    for (const auto& [tube, height] : cases) {
        FieldTexts f = Water();
        f["Pattern"] = tube;
        f["TH"] = "12";
        spec_.FinHeight = 7.5f;  // an unknown pattern leaves the previous height
        ASSERT_TRUE(Run(f).ok());
        EXPECT_EQ(g_engine.spec.FinHeight, height) << tube;
    }
}

TEST_F(Driver, SteamCarriesItsPressureNotATemperature) {
    FieldTexts f = Water();
    f["Application"] = "S";
    f["SteamPressure"] = "15";
    ASSERT_TRUE(Run(f).ok());
    EXPECT_EQ(g_engine.rating.EntFluidTemp, 0.0f);
    EXPECT_EQ(g_engine.rating.SteamPressure, 15.0f);
}

TEST_F(Driver, FaceVelocityModeRatesVelocityTimesFaceArea) {
    FieldTexts f = Water();
    f["Acfm"] = "1234";  // a stale value in the hidden field
    f["AirVel"] = "500";
    ASSERT_TRUE(Run(f, kAirFlowVelocity).ok());
    EXPECT_EQ(g_engine.rating.Acfm, 4000.0f);  // 500 fpm x 48 in x 24 in / 144
    f.erase("Acfm");
    ASSERT_TRUE(Run(f, kAirFlowVelocity).ok());
    EXPECT_EQ(g_engine.rating.Acfm, 4000.0f);
    f["Acfm"] = "1234";
    ASSERT_TRUE(Run(f, kAirFlowAcfm).ok());
    EXPECT_EQ(g_engine.rating.Acfm, 1234.0f);
    ASSERT_TRUE(Run(f, kAirFlowScfm).ok() == false);  // Scfm field empty
    f["Scfm"] = "3000";
    ASSERT_TRUE(Run(f, kAirFlowScfm).ok());
    EXPECT_EQ(g_engine.rating.Acfm, 1234.0f);  // the record always gets the Acfm field
}

TEST_F(Driver, ValueTooLargeForItsFieldIsAnOverflow) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"FL", "1e308"}, {"Circuits", "99999"}, {"Altitude", "40000"}, {"Gpm", "1e39"}, {"TH", "20000"}};
    for (const auto& [key, value] : cases) {
        FieldTexts f = Water();
        f[key] = value;
        if (key == "TH") f["Pattern"] = "1";  // 20000 fits; three times it does not
        rating_.TotalBtuh = 123;
        shown_.shown.clear();
        g_engine.calls = 0;
        const CalcResult r = Run(f);
        EXPECT_EQ(r.status, CalcResult::EngineFailed) << key;
        EXPECT_EQ(r.error, "6  Overflow") << key;
        ASSERT_EQ(shown_.shown.size(), 1u) << key;
        EXPECT_EQ(shown_.shown[0].text, "6  Overflow");
        EXPECT_EQ(g_engine.calls, 0) << key;
        EXPECT_EQ(rating_.TotalBtuh, 123) << key;
    }
}

TEST_F(Driver, FailedRatingKeepsThePreviousCoil) {
    ASSERT_TRUE(Run(Water()).ok());
    const CoilSpec goodSpec = spec_;
    const CoilRating goodRating = rating_;
    FieldTexts other = Water();
    other["FL"] = "60";
    other["Gpm"] = "30";

    g_engine.mode = FakeEngine::AssignFails;
    shown_.shown.clear();
    CalcResult r = Run(other);
    EXPECT_EQ(r.status, CalcResult::EngineFailed);
    EXPECT_EQ(r.error, "Out of Range Condition or error with HGWBtoGR!\nProcedure: CC_bAssignCoilProp\n");
    EXPECT_EQ(shown_.shown.size(), 1u);  // the engine's message only
    EXPECT_TRUE(r.grid.empty());
    EXPECT_EQ(spec_.FL, goodSpec.FL);
    EXPECT_EQ(rating_.Gpm, goodRating.Gpm);
    EXPECT_EQ(rating_.TotalBtuh, goodRating.TotalBtuh);

    for (int number : {11, 6, 5}) {
        g_engine.mode = FakeEngine::Throws;
        g_engine.errorNumber = number;
        shown_.shown.clear();
        r = Run(other);
        const std::string expected = std::to_string(number) + "  " + rt::Description(number);
        EXPECT_EQ(r.status, CalcResult::EngineFailed);
        EXPECT_EQ(r.error, expected);
        ASSERT_EQ(shown_.shown.size(), 1u);
        EXPECT_EQ(shown_.shown[0].text, expected);
        EXPECT_EQ(spec_.FL, goodSpec.FL);
        EXPECT_EQ(rating_.TotalBtuh, goodRating.TotalBtuh);
    }
}

TEST_F(Driver, ResultRowsPerCoilType) {
    const std::vector<std::pair<std::string, std::vector<std::string>>> cases = {
        {"W", {"LAT WB (°F)", "Lvg Fl Temp (°F)", "Water PD (FT H20)", "Water Vel (FPS)"}},
        {"G", {"LAT WB  (°F)", "Lvg Fl Temp (°F)", "Glycol PD  (FT H2O)", "Glycol Vel (FPS)"}},
        {"E", {"LAT WB  (°F)", "Refr. PD (PSI)"}},
        {"C", {"Refr. PD (PSI)"}},
        {"S", {"Condensate (Lbs/Hr)", "Latent heat  "}},
    };
    for (const auto& [app, middle] : cases) {
        FieldTexts f = Water();
        f["Application"] = app;
        f["PercentGlycol"] = "30";
        f["Refrigerant"] = "22";
        f["SteamPressure"] = "5";
        if (app == "C") f["EntFluidTemp"] = "120";
        const CalcResult r = Run(f);
        ASSERT_TRUE(r.ok()) << app << r.validation.message;
        std::vector<std::string> labels;
        for (const GridRow& row : r.grid) labels.push_back(row.label);
        std::vector<std::string> expected = {"Btuh (Total) ", "Btuh (Sens)  ", "Air PD (IN W.G.)",
                                             "Scfm         ", "Air Velocity (SFPM)", "LAT DB (°F)"};
        expected.insert(expected.end(), middle.begin(), middle.end());
        expected.push_back("Fin Height");
        EXPECT_EQ(labels, expected) << app;
        EXPECT_EQ(r.grid[0].value, "     80918.960");
        EXPECT_EQ(r.grid[1].value, "         2.500");
        EXPECT_EQ(r.grid.back().value, "        24.000");
    }
    // The records now hold what the engine returned.
    EXPECT_EQ(rating_.TotalBtuh, 80918.96f);
    EXPECT_EQ(spec_.FaceArea, 8.0f);
}

TEST(CheckIfBlank, OnlyTheEmptyTextTakesTheDefault) {
    EXPECT_EQ(CheckIfBlank("", "1"), "1");
    EXPECT_EQ(CheckIfBlank(" ", "1"), " ");
    EXPECT_EQ(CheckIfBlank("4", "1"), "4");
}

}  // namespace
