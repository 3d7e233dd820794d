// Engineering warnings: each fires on the warning side of its limit and not
// at the limit itself; the engine reports how it reached a result; coils
// well inside every limit raise none.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "common/calc_driver.h"
#include "common/numfmt.h"
#include "common/warnings.h"
#include "engine/msgbox.h"
#include "tools/rate_json.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::string> Codes(const std::vector<CoilWarning>& warnings) {
    std::vector<std::string> codes;
    for (const CoilWarning& w : warnings) codes.push_back(w.code);
    return codes;
}

// A partly wet chilled-water coil that raises no warning.
struct Coil {
    CoilSpec s;
    CoilRating r;
    RatingFacts facts;
    Coil(const char* app = "W") {
        s.Application = app;
        r.EatDb = 80, r.EatWb = 67, r.EntFluidTemp = 45, r.LvgFluidTemp = 55;
        r.LatDb = 56, r.LatWb = 55, r.TubeVelocity = 3, r.FaceVelocity = 400;
        r.WetFraction = 0.5f, r.TotalBtuh = 1000, r.SensibleBtuh = 700;
    }
    std::vector<std::string> Codes() const { return ::Codes(CoilWarnings(s, r, facts)); }
};

float Above(float x) { return std::nextafter(x, 1e30f); }
float Below(float x) { return std::nextafter(x, -1e30f); }

using Edit = std::function<void(Coil&)>;

// Each case: the code, a coil on the warning side of the limit (just
// beyond it), and the same coil at the limit (no warning).
struct Case {
    const char* code;
    Edit beyond, at;
};

TEST(Warnings, EachFiresJustBeyondItsLimitAndNotAtIt) {
    const Case cases[] = {
        {"face-velocity-wet", [](Coil& c) { c.r.FaceVelocity = Above(500); },
         [](Coil& c) { c.r.FaceVelocity = 500; }},
        {"face-velocity-wet",  // an evaporator taking out moisture is wet
         [](Coil& c) { c = Coil("E"), c.r.LatWb = 50, c.r.FaceVelocity = Above(500); },
         [](Coil& c) { c = Coil("E"), c.r.LatWb = 50, c.r.FaceVelocity = 500; }},
        {"tube-velocity-low", [](Coil& c) { c.r.TubeVelocity = Below(1); }, [](Coil& c) { c.r.TubeVelocity = 1; }},
        {"tube-velocity-high", [](Coil& c) { c.r.TubeVelocity = Above(8); }, [](Coil& c) { c.r.TubeVelocity = 8; }},
        {"tube-velocity-high",  // fluid hotter than 140 F: 5 ft/s
         [](Coil& c) { c.r.EatDb = 60, c.r.EntFluidTemp = Above(140), c.r.LatDb = 90, c.r.TubeVelocity = Above(5); },
         [](Coil& c) { c.r.EatDb = 60, c.r.EntFluidTemp = Above(140), c.r.LatDb = 90, c.r.TubeVelocity = 5; }},
        {"tube-velocity-high",
         [](Coil& c) { c.r.EatDb = 60, c.r.EntFluidTemp = Above(140), c.r.LatDb = 90, c.r.TubeVelocity = 6; },
         [](Coil& c) { c.r.EatDb = 60, c.r.EntFluidTemp = 140, c.r.LatDb = 90, c.r.TubeVelocity = 6; }},
        {"freeze-risk",  // a preheat water coil
         [](Coil& c) { c.r.EatDb = Below(35), c.r.EntFluidTemp = 180, c.r.LvgFluidTemp = 150, c.r.LatDb = 90; },
         [](Coil& c) { c.r.EatDb = 35, c.r.EntFluidTemp = 180, c.r.LvgFluidTemp = 150, c.r.LatDb = 90; }},
        {"freeze-risk", [](Coil& c) { c.r.EntFluidTemp = 32, c.r.LatDb = 40; },
         [](Coil& c) { c.r.EntFluidTemp = Above(32), c.r.LatDb = 40; }},
        {"freeze-risk",  // 30 % glycol freezes at -14.1 C = 6.62 F
         [](Coil& c) { c.s.Application = "G", c.r.PercentGlycol = 30, c.r.EntFluidTemp = 6.62f, c.r.LatDb = 20; },
         [](Coil& c) { c.s.Application = "G", c.r.PercentGlycol = 30, c.r.EntFluidTemp = 6.63f, c.r.LatDb = 20; }},
        {"leaving-below-refrigerant",
         [](Coil& c) { c = Coil("E"), c.r.EntFluidTemp = 40, c.r.LatWb = Below(40); },
         [](Coil& c) { c = Coil("E"), c.r.EntFluidTemp = 40, c.r.LatWb = 40; }},
        {"leaving-below-refrigerant",
         [](Coil& c) { c = Coil("C"), c.r.EatDb = 95, c.r.EntFluidTemp = 120, c.r.LatDb = Above(120); },
         [](Coil& c) { c = Coil("C"), c.r.EatDb = 95, c.r.EntFluidTemp = 120, c.r.LatDb = 120; }},
        {"leaving-below-refrigerant",
         [](Coil& c) { c.s.Application = "S", c.r.EatDb = 40, c.r.EntFluidTemp = 227, c.r.LatDb = Above(227); },
         [](Coil& c) { c.s.Application = "S", c.r.EatDb = 40, c.r.EntFluidTemp = 227, c.r.LatDb = 227; }},
    };
    EXPECT_TRUE(Coil().Codes().empty());
    for (const Case& k : cases) {
        Coil beyond, at;
        k.beyond(beyond);
        k.at(at);
        EXPECT_EQ(beyond.Codes(), std::vector<std::string>{k.code}) << k.code;
        EXPECT_TRUE(at.Codes().empty()) << k.code << " " << at.Codes().front();
    }
}

TEST(Warnings, WhereTheyApply) {
    Coil dry;  // a dry coil carries no condensate
    dry.r.WetFraction = 0, dry.r.FaceVelocity = 700;
    EXPECT_TRUE(dry.Codes().empty());
    Coil glycolAir;  // cold air is no freezing risk for glycol
    glycolAir.s.Application = "G", glycolAir.r.PercentGlycol = 40, glycolAir.r.EatDb = 0;
    glycolAir.r.EntFluidTemp = 150, glycolAir.r.LvgFluidTemp = 120, glycolAir.r.LatDb = 60;
    EXPECT_TRUE(glycolAir.Codes().empty());

    // What the records do not tell comes from the facts.
    Coil c;
    c.facts = {true, true, true, true};
    EXPECT_EQ(c.Codes(), (std::vector<std::string>{"laminar-flow", "one-circuit-assumed", "wet-bulb-assumed",
                                                   "trial-limit"}));
    c.s.Application = "S";  // steam: no circuits, no wet bulb in the result, no tube film table
    c.r.EatDb = 40, c.r.EntFluidTemp = 227, c.r.LatDb = 100;
    EXPECT_EQ(c.Codes(), std::vector<std::string>{"trial-limit"});
    c.s.Application = "W";  // a heating coil's wet bulb is not part of its result
    EXPECT_EQ(c.Codes(), (std::vector<std::string>{"laminar-flow", "one-circuit-assumed", "trial-limit"}));
}

TEST(Warnings, GlycolFreezingPointsFollowTheTable) {
    EXPECT_DOUBLE_EQ(FluidFreezingPoint(false, 50), 32.0);
    EXPECT_DOUBLE_EQ(FluidFreezingPoint(true, 0), 32.0);
    EXPECT_NEAR(FluidFreezingPoint(true, 2.5), (32.0 + 29.48) / 2, 1e-9);
    EXPECT_NEAR(FluidFreezingPoint(true, 50), -28.84, 1e-9);
    EXPECT_NEAR(FluidFreezingPoint(true, 60), -54.94, 1e-9);
    EXPECT_NEAR(FluidFreezingPoint(true, 70), -54.94, 1e-9);
    for (double p = 0; p < 60; p += 0.5)
        EXPECT_GT(FluidFreezingPoint(true, p), FluidFreezingPoint(true, p + 0.5)) << p;
}

// --- Through the driver and the engine ------------------------------------

fs::path ReferenceDir() { return fs::path(KVN_SOURCE_DIR) / ".." / "shared" / "reference-ratings"; }

FieldTexts With(FieldTexts f, const FieldTexts& changes) {
    for (const auto& [key, value] : changes) f[key] = value;
    return f;
}

std::vector<std::string> RateCodes(const FieldTexts& fields, int mode = kAirFlowAcfm) {
    RecordingMessageSink sink;
    ScopedMessageSink scope(sink);
    CoilSpec s;
    CoilRating r;
    const CalcResult result = CalcPerform(fields, mode, s, r);
    EXPECT_TRUE(result.ok()) << result.validation.message << result.error;
    return Codes(result.warnings);
}

// The engine tells when a solver ran out of trials, and forgets it for the
// next rating.
TEST(Warnings, TrialLimitComesFromTheEngine) {
    const FieldTexts f = {{"Application", "W"}, {"Pattern", "5"}, {"TubeWall", "0.02"}, {"FinMat", "A"},
                          {"FinThk", "0.006"}, {"FinTreat", "CR"}, {"Rifled", "N"}, {"FoulingFactor", "0"},
                          {"FPI", "13"}, {"RD", "4"}, {"TH", "16"}, {"FL", "72"}, {"Circuits", "16"},
                          {"Acfm", "5500"}, {"EatDb", "84"}, {"EatWb", "73"}, {"EntFluidTemp", "40"},
                          {"Gpm", "49"}};
    EXPECT_EQ(RateCodes(f), std::vector<std::string>{"trial-limit"});
    EXPECT_EQ(RateCodes(With(f, {{"Gpm", "45"}})), std::vector<std::string>{});
}

// The stored reference coils: the realistic ones raise nothing; those at an
// edge raise exactly what their edge calls for.
TEST(Warnings, ReferenceCoils) {
    const std::map<std::string, std::vector<std::string>> expected = {
        {"cw_5_4row_blank_wet_bulb", {"wet-bulb-assumed"}},
        {"evap_22_wet_8row_12fpi_40F", {"leaving-below-refrigerant"}},  // leaves at 38.4 F
        {"evap_410A_dry_rifled", {"leaving-below-refrigerant"}},        // heats 35 F air past 45 F
        {"gly45_5_3row_copper_alt2000_311fpm", {"laminar-flow"}},
        {"gly55_3_3row_11fpi_506fpm_laminar", {"face-velocity-wet", "laminar-flow"}},
        {"gly60_3_3row_10fpi_alt1999_transitional", {"tube-velocity-high", "laminar-flow"}},
        {"gly60_3_5row_7fpi_96_95_46F", {"face-velocity-wet", "laminar-flow"}},  // 502 ft/min
        {"hw_4_6row_20F_180F", {"tube-velocity-high", "freeze-risk"}},           // 8.7 ft/s at 180 F, 20 F air
    };
    std::error_code ec;
    int rated = 0;
    for (const auto& entry : fs::directory_iterator(ReferenceDir(), ec)) {
        const std::string file = entry.path().filename().string();
        if (!file.ends_with(".expected.json")) continue;
        const std::string name = file.substr(0, file.size() - 14);
        std::ifstream in(entry.path());
        if (!kvnrate::Json::parse(in).value("ok", false)) continue;
        std::ifstream coilIn(ReferenceDir() / (name + ".json"));
        const std::string text((std::istreambuf_iterator<char>(coilIn)), std::istreambuf_iterator<char>());
        kvnrate::Json coil;
        std::string error;
        FieldTexts fields;
        int mode = 0;
        ASSERT_TRUE(kvnrate::ParseJsonText(text, coil, error) && kvnrate::FieldsFromJson(coil, fields, mode, error));
        const auto it = expected.find(name);
        EXPECT_EQ(RateCodes(fields, mode), it == expected.end() ? std::vector<std::string>{} : it->second) << name;
        ++rated;
    }
    if (rated == 0) GTEST_SKIP() << "no reference ratings";
}

// Catalogue coils chosen well inside every limit raise no warning.
TEST(Warnings, CatalogueCoilsInsideEveryLimitRaiseNone) {
    uint64_t state = 0x2545F4914F6CDD1Dull;
    auto next = [&state] {
        state ^= state << 13, state ^= state >> 7, state ^= state << 17;
        return double(state >> 11) / double(1ull << 53);
    };
    auto in = [&](double lo, double hi) { return lo + (hi - lo) * next(); };
    auto text = [](double v) { return numfmt::GeneralF64(std::round(v * 10) / 10); };
    const char* const types[] = {"W", "W", "G", "E", "C", "S"};
    for (int i = 0; i < 300; ++i) {
        const std::string app = types[i % 6];
        const bool half = next() < 0.5;  // 1/2 in. or 5/8 in. tubes
        const double id = half ? 0.5 - 2 * 0.017 : 0.625 - 2 * 0.02;
        // Deeper evaporators leave the air at or below the refrigerant
        // temperature: the edge of their correlation.
        const int th = int(in(8, 36)), circuits = th, rows = int(in(2, app == "E" ? 5 : 8));
        const double finHeight = th * (half ? 1.25 : 1.5), fl = std::round(in(24, 96));
        FieldTexts f = {{"Application", app}, {"Pattern", half ? "4" : "5"}, {"TubeWall", half ? "0.017" : "0.02"},
                        {"FinMat", "A"}, {"FinThk", "0.006"}, {"FinTreat", "CR"}, {"Rifled", "N"},
                        {"FoulingFactor", "0"}, {"FPI", text(int(in(8, 14)))}, {"RD", text(rows)},
                        {"TH", text(th)}, {"FL", text(fl)}, {"Circuits", text(circuits)}, {"Altitude", "0"},
                        {"Acfm", text(in(350, 450) * fl * finHeight / 144)}};
        const bool heating = app == "W" && next() < 0.5;
        f["EatDb"] = text(heating ? in(45, 65) : in(78, 85));
        f["EatWb"] = text(heating ? 0 : in(62, 67));
        if (app == "W" || app == "G") {
            f["EntFluidTemp"] = text(heating ? in(150, 180) : in(42, 48));
            if (app == "G") f["PercentGlycol"] = text(in(20, 30));
            // 2.5 to 4 ft/s in the tubes.
            f["Gpm"] = text(in(2.5, 4) * circuits * id * id / 0.4085);
        } else if (app == "E" || app == "C") {
            f["EntFluidTemp"] = text(app == "E" ? in(40, 45) : in(115, 125));
            f["Refrigerant"] = next() < 0.5 ? "22" : "410A";
        } else {
            f["SteamPressure"] = text(in(2, 15));
            f["EatDb"] = text(in(40, 60));
            f["EatWb"] = "";
        }
        EXPECT_EQ(RateCodes(f), std::vector<std::string>{}) << i << " " << app << " rows " << f["RD"] << " fpi "
                                                            << f["FPI"] << " acfm " << f["Acfm"] << " fluid "
                                                            << f["EntFluidTemp"];
    }
}

}  // namespace
