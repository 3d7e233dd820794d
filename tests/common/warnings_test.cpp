// Engineering warnings: each fires just beyond its limit and not at it; the
// engine reports how it reached a result; coils well inside every limit
// raise none.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "common/calc_driver.h"
#include "common/numfmt.h"
#include "common/units.h"
#include "common/warnings.h"
#include "engine/msgbox.h"
#include "reference_coils.h"
#include "tools/rate_json.h"

namespace {

using Codes = std::vector<std::string>;

Codes CodesOf(const std::vector<CoilWarning>& warnings) {
    Codes codes;
    for (const CoilWarning& w : warnings) codes.push_back(w.code);
    return codes;
}

// Rated records that raise no warning, by kind: a partly wet chilled-water
// coil, a hot-water coil, 30 % glycol, an evaporator, a condenser, steam.
CoilRating Records(const std::string& kind, CoilSpec& s) {
    CoilRating r;
    s.Application = kind == "HW" ? "W" : kind == "G30" ? "G" : kind;
    r.EatDb = 80, r.EatWb = 67, r.EntFluidTemp = 45, r.LvgFluidTemp = 55, r.LatDb = 56, r.LatWb = 55;
    r.TubeVelocity = 3, r.FaceVelocity = 400, r.WetFraction = 0.5f, r.TotalBtuh = 1000, r.SensibleBtuh = 700;
    if (kind == "HW") r.EatDb = 40, r.EntFluidTemp = 180, r.LvgFluidTemp = 150, r.LatDb = 90;
    if (kind == "G30")
        r.PercentGlycol = 30, r.EntFluidTemp = 15, r.LvgFluidTemp = 25, r.LatDb = 30;  // freezes at 6.62 F
    if (kind == "E") r.EntFluidTemp = 40;
    if (kind == "C") r.EatDb = 95, r.EntFluidTemp = 120, r.LatDb = 105;
    if (kind == "S") r.EatDb = 40, r.EntFluidTemp = 227, r.LatDb = 100;
    return r;
}

TEST(Warnings, EachFiresJustBeyondItsLimitAndNotAtIt) {
    const float up = 1e30f, down = -1e30f;
    const struct {
        const char* code;
        const char* kind;
        float CoilRating::*field;
        float limit, beyond;  // the warning side: nextafter(limit, beyond)
        bool atLimitFires;    // "at or below" limits fire at the limit itself
    } cases[] = {
        {"face-velocity-wet", "W", &CoilRating::FaceVelocity, 500, up, false},
        {"face-velocity-wet", "E", &CoilRating::FaceVelocity, 500, up, false},
        {"tube-velocity-low", "W", &CoilRating::TubeVelocity, 1, down, false},
        {"tube-velocity-high", "W", &CoilRating::TubeVelocity, 8, up, false},
        {"tube-velocity-high", "HW", &CoilRating::TubeVelocity, 5, up, false},  // fluid above 140 F
        {"freeze-risk", "HW", &CoilRating::EatDb, 35, down, false},
        {"freeze-risk", "W", &CoilRating::EntFluidTemp, 32, down, true},
        {"freeze-risk", "G30", &CoilRating::EntFluidTemp, 6.62f, down, true},
        {"leaving-below-refrigerant", "E", &CoilRating::LatWb, 40, down, false},
        {"leaving-below-refrigerant", "C", &CoilRating::LatDb, 120, up, false},
        {"leaving-below-refrigerant", "S", &CoilRating::LatDb, 227, up, false},
    };
    for (const auto& k : cases) {
        CoilSpec s;
        CoilRating r = Records(k.kind, s);
        EXPECT_EQ(CodesOf(CoilWarnings(s, r, {})), Codes{}) << k.kind;
        r.*k.field = k.limit;
        EXPECT_EQ(CodesOf(CoilWarnings(s, r, {})), k.atLimitFires ? Codes{k.code} : Codes{})
            << k.code << k.kind;
        r.*k.field = std::nextafter(k.limit, k.beyond);
        EXPECT_EQ(CodesOf(CoilWarnings(s, r, {})), Codes{k.code}) << k.code << k.kind;
        if (k.atLimitFires) {
            r.*k.field = std::nextafter(k.limit + 0.01f, up);
            EXPECT_EQ(CodesOf(CoilWarnings(s, r, {})), Codes{}) << k.code << k.kind;
        }
    }
}

TEST(Warnings, WhereTheyApply) {
    CoilSpec s;
    CoilRating r = Records("W", s);
    r.WetFraction = 0, r.FaceVelocity = 700;  // a dry coil carries no condensate
    EXPECT_EQ(CodesOf(CoilWarnings(s, r, {})), Codes{});
    r = Records("HW", s);
    r.EntFluidTemp = 140, r.TubeVelocity = 6;  // 140 F is not yet hot
    EXPECT_EQ(CodesOf(CoilWarnings(s, r, {})), Codes{});
    s.Application = "G", r.EatDb = 0;  // cold air is no freezing risk for glycol
    EXPECT_EQ(CodesOf(CoilWarnings(s, r, {})), Codes{});

    // What the records do not tell comes from the facts, where it matters.
    const RatingFacts all = {true, true, true, true};
    const std::map<std::string, Codes> byKind = {
        {"W", {"laminar-flow", "one-circuit-assumed", "wet-bulb-assumed", "trial-limit"}},
        {"HW",
         {"laminar-flow", "one-circuit-assumed", "trial-limit"}},  // a heating coil's wet bulb is no result
        {"E", {"one-circuit-assumed", "wet-bulb-assumed", "trial-limit"}},
        {"S", {"trial-limit"}},
    };
    for (const auto& [kind, codes] : byKind) {
        r = Records(kind, s);
        EXPECT_EQ(CodesOf(CoilWarnings(s, r, all)), codes) << kind;
    }
}

// In SI each warning quotes its limits and values in SI; the code and the
// rest of the text are the same, and no inch-pound unit is left.
TEST(Warnings, TextsInSiQuoteSiFigures) {
    CoilSpec s;
    const RatingFacts all = {true, true, true, true};
    std::vector<CoilWarning> warnings;
    auto add = [&](const std::string& kind, float CoilRating::*field, float value) {
        CoilRating r = Records(kind, s);
        r.*field = value;
        for (const CoilWarning& w : CoilWarnings(s, r, all)) warnings.push_back(w);
    };
    add("W", &CoilRating::FaceVelocity, 600);
    add("W", &CoilRating::TubeVelocity, 0.5f);
    add("W", &CoilRating::TubeVelocity, 9);
    add("HW", &CoilRating::TubeVelocity, 6);
    add("HW", &CoilRating::EatDb, 20);
    add("G30", &CoilRating::EntFluidTemp, 0);
    add("E", &CoilRating::LatWb, 30);
    const std::map<std::string, std::string> siOf = {
        {"Face velocity above 500 ft/min on a wet coil: condensate may be blown off the fins",
         "Face velocity above 2.54 m/s on a wet coil: condensate may be blown off the fins"},
        {"Fluid velocity below 1 ft/s: poor heat transfer; air and dirt may settle in the tubes",
         "Fluid velocity below 0.30 m/s: poor heat transfer; air and dirt may settle in the tubes"},
        {"Fluid velocity above 8 ft/s: tube erosion and noise",
         "Fluid velocity above 2.44 m/s: tube erosion and noise"},
        {"Fluid velocity above 5 ft/s with fluid hotter than 140 °F: tube erosion and noise",
         "Fluid velocity above 1.52 m/s with fluid hotter than 60 °C: tube erosion and noise"},
        {"Entering air below 35 °F on a water coil: the coil may freeze",
         "Entering air below 1.7 °C on a water coil: the coil may freeze"},
        {"Fluid at or below its freezing point of 6.62 °F: the coil may freeze",
         "Fluid at or below its freezing point of -14.1 °C: the coil may freeze"},
        {"Entering wet bulb not given: rated at 1 °F below the dry bulb",
         "Entering wet bulb not given: rated at 0.56 K below the dry bulb"},
    };
    std::set<std::string> quoted;
    for (const CoilWarning& w : warnings) {
        const std::string si = WarningText(units::System::SI, w.text);
        EXPECT_EQ(WarningText(units::System::InchPound, w.text), w.text);
        for (const char* ipUnit : {"°F", " ft/", " ft ", "Btu", "gpm", "cfm", "psi"})
            EXPECT_EQ(si.find(ipUnit), std::string::npos) << si;
        if (const auto it = siOf.find(w.text); it != siOf.end()) {
            EXPECT_EQ(si, it->second);
            quoted.insert(w.text);
        } else {
            EXPECT_EQ(si, w.text);  // quotes no figure
        }
    }
    EXPECT_EQ(quoted.size(), siOf.size());
    const std::string& first = siOf.at(warnings[0].text);
    EXPECT_EQ(WarningsLine(units::System::SI, {warnings[0], warnings[0]}), first + "; " + first);
}

TEST(Warnings, GlycolFreezingPointsFollowTheTable) {
    EXPECT_DOUBLE_EQ(FluidFreezingPoint(false, 50), 32.0);
    EXPECT_NEAR(FluidFreezingPoint(true, 2.5), (32.0 + 29.48) / 2, 1e-9);
    EXPECT_NEAR(FluidFreezingPoint(true, 50), -28.84, 1e-9);
    EXPECT_NEAR(FluidFreezingPoint(true, 70), -54.94, 1e-9);  // the 60 % value held
    for (double p = 0; p < 60; p += 0.5)
        EXPECT_GT(FluidFreezingPoint(true, p), FluidFreezingPoint(true, p + 0.5));
}

// --- Through the driver and the engine ------------------------------------

Codes RateCodes(const FieldTexts& fields, int mode = kAirFlowAcfm) {
    RecordingMessageSink sink;
    ScopedMessageSink scope(sink);
    CoilSpec s;
    CoilRating r;
    const CalcResult result = CalcPerform(fields, mode, s, r);
    EXPECT_TRUE(result.ok()) << result.validation.message << result.error;
    return CodesOf(result.warnings);
}

// The engine tells when a solver ran out of trials, and the next rating
// starts without it.
TEST(Warnings, TrialLimitComesFromTheEngine) {
    FieldTexts f = {{"Application", "W"},   {"Pattern", "5"},   {"TubeWall", "0.02"}, {"FinMat", "A"},
                    {"FinThk", "0.006"},    {"FinTreat", "CR"}, {"Rifled", "N"},      {"FoulingFactor", "0"},
                    {"FPI", "13"},          {"RD", "4"},        {"TH", "16"},         {"FL", "72"},
                    {"Circuits", "16"},     {"Acfm", "5500"},   {"EatDb", "84"},      {"EatWb", "73"},
                    {"EntFluidTemp", "40"}, {"Gpm", "49"}};
    EXPECT_EQ(RateCodes(f), Codes{"trial-limit"});
    f["Gpm"] = "45";
    EXPECT_EQ(RateCodes(f), Codes{});
}

// The realistic reference coils raise nothing; those at an edge exactly
// what their edge calls for.
TEST(Warnings, ReferenceCoils) {
    const std::map<std::string, Codes> expected = {
        {"cw_5_4row_blank_wet_bulb", {"wet-bulb-assumed"}},
        {"evap_22_wet_8row_12fpi_40F", {"leaving-below-refrigerant"}},  // leaves at 38.4 F
        {"evap_410A_dry_rifled", {"leaving-below-refrigerant"}},        // heats 35 F air past 45 F
        {"gly45_5_3row_copper_alt2000_311fpm", {"laminar-flow"}},
        {"gly55_3_3row_11fpi_506fpm_laminar", {"face-velocity-wet", "laminar-flow"}},
        {"gly60_3_3row_10fpi_alt1999_transitional", {"tube-velocity-high", "laminar-flow"}},
        {"gly60_3_5row_7fpi_96_95_46F", {"face-velocity-wet", "laminar-flow"}},  // 502 ft/min
        {"hw_4_6row_20F_180F", {"tube-velocity-high", "freeze-risk"}},  // 8.7 ft/s at 180 F, 20 F air
    };
    std::size_t edges = 0;
    for (const std::string& name : ReferenceNames()) {
        if (!kvnrate::Json::parse(ReadFile(ReferenceFile(name + ".expected.json"))).value("ok", false))
            continue;
        edges += expected.count(name);
        kvnrate::Json coil;
        std::string error;
        FieldTexts fields;
        int mode = 0;
        ASSERT_TRUE(kvnrate::ParseJsonText(ReadFile(ReferenceFile(name + ".json")), coil, error) &&
                    kvnrate::FieldsFromJson(coil, fields, mode, error));
        const auto it = expected.find(name);
        EXPECT_EQ(RateCodes(fields, mode), it == expected.end() ? Codes{} : it->second) << name;
    }
    // Every coil at an edge was found and rated: none is checked by its absence.
    EXPECT_EQ(edges, expected.size()) << "reference coils missing from " << ReferenceDir();
}

// Catalogue coils chosen well inside every limit raise no warning.
TEST(Warnings, CatalogueCoilsInsideEveryLimitRaiseNone) {
    uint64_t state = 0x2545F4914F6CDD1Dull;
    auto in = [&state](double lo, double hi) {
        state ^= state << 13, state ^= state >> 7, state ^= state << 17;
        return lo + (hi - lo) * double(state >> 11) / double(1ull << 53);
    };
    auto text = [](double v) { return numfmt::GeneralF64(std::round(v * 10) / 10); };
    const char* const types[] = {"W", "W", "G", "E", "C", "S"};
    for (int i = 0; i < 300; ++i) {
        const std::string app = types[i % 6];
        const bool half = in(0, 1) < 0.5;  // 1/2 in. or 5/8 in. tubes
        const double id = half ? 0.5 - 2 * 0.017 : 0.625 - 2 * 0.02;
        // Deeper evaporators leave the air at the refrigerant temperature:
        // the edge of their correlation.
        const int th = int(in(8, 36)), rows = int(in(2, app == "E" ? 5 : 8));
        const double fl = std::round(in(24, 96)), face = th * (half ? 1.25 : 1.5) * fl / 144;
        const bool heating = app == "W" && in(0, 1) < 0.5;
        FieldTexts f = {{"Application", app},
                        {"Pattern", half ? "4" : "5"},
                        {"TubeWall", half ? "0.017" : "0.02"},
                        {"FinMat", "A"},
                        {"FinThk", "0.006"},
                        {"FinTreat", "CR"},
                        {"Rifled", "N"},
                        {"FoulingFactor", "0"},
                        {"FPI", text(int(in(8, 14)))},
                        {"RD", text(rows)},
                        {"TH", text(th)},
                        {"FL", text(fl)},
                        {"Circuits", text(th)},
                        {"Altitude", "0"},
                        {"Acfm", text(in(350, 450) * face)},
                        {"EatDb", text(heating ? in(45, 65) : in(78, 85))},
                        {"EatWb", text(heating ? 0 : in(62, 67))}};
        if (app == "W" || app == "G") {
            f["EntFluidTemp"] = text(heating ? in(150, 180) : in(42, 48));
            if (app == "G") f["PercentGlycol"] = text(in(20, 30));
            f["Gpm"] = text(in(2.5, 4) * th * id * id / 0.4085);  // 2.5 to 4 ft/s in the tubes
        } else if (app == "E" || app == "C") {
            f["EntFluidTemp"] = text(app == "E" ? in(40, 45) : in(115, 125));
            f["Refrigerant"] = in(0, 1) < 0.5 ? "22" : "410A";
        } else {
            f["SteamPressure"] = text(in(2, 15)), f["EatDb"] = text(in(40, 60)), f["EatWb"] = "";
        }
        EXPECT_EQ(RateCodes(f), Codes{})
            << i << " " << app << " rows " << f["RD"] << " fluid " << f["EntFluidTemp"];
    }
}

}  // namespace
