// kvn-rate: its input reading in-process, and the program end to end.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "common/units.h"
#include "shell.h"
#include "tools/rate_json.h"

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

TEST(RateInput, NumbersKeepTheirTextAndDefaultsFillAbsentKeys) {
    std::vector<kvnrate::Json> coils;
    std::string error;
    ASSERT_TRUE(kvnrate::ParseCoilInput(R"({"TubeWall": 0.020, "FPI": 12, "FL": 4.8e1, "EatWb": null,
                                            "AirFlowMode": 3, "Extra": true})",
                                        coils, error))
        << error;
    ASSERT_EQ(coils.size(), 1u);
    FieldTexts f;
    int mode = 0;
    std::vector<std::string> ignored;
    ASSERT_TRUE(kvnrate::FieldsFromJson(coils[0], f, mode, error, &ignored)) << error;
    EXPECT_EQ(f["TubeWall"], "0.020");
    EXPECT_EQ(f["FPI"], "12");
    EXPECT_EQ(f["FL"], "4.8e1");
    EXPECT_EQ(f["EatWb"], "");
    EXPECT_EQ(f["FinTreat"], "CR");
    EXPECT_EQ(f["Rifled"], "N");
    EXPECT_EQ(f["FoulingFactor"], "0");
    EXPECT_EQ(f.count("Circuits"), 0u);
    EXPECT_EQ(mode, 3);
    EXPECT_EQ(ignored, std::vector<std::string>{"Extra"});
}

TEST(RateInput, BatchesAndFaults) {
    std::vector<kvnrate::Json> coils;
    std::string error;
    ASSERT_TRUE(kvnrate::ParseCoilInput(R"([{"FPI": "1"}, {"FPI": "2"}])", coils, error));
    EXPECT_EQ(coils.size(), 2u);
    ASSERT_TRUE(
        kvnrate::ParseCoilInput("{\"FPI\": \"1\"}\n\n{\"FPI\": \"2\"}\n{\"FPI\": 3}\n", coils, error));
    EXPECT_EQ(coils.size(), 3u);
    EXPECT_FALSE(kvnrate::ParseCoilInput("{\"FPI\": \"1\"}\n{\"FPI\": \n", coils, error));
    EXPECT_FALSE(kvnrate::ParseCoilInput("[1, 2]", coils, error));
    EXPECT_FALSE(kvnrate::ParseCoilInput("", coils, error));

    FieldTexts f;
    int mode = 0;
    EXPECT_FALSE(kvnrate::FieldsFromJson(json::parse(R"({"FPI": [12]})"), f, mode, error));
    EXPECT_FALSE(kvnrate::FieldsFromJson(json::parse(R"({"AirFlowMode": 4})"), f, mode, error));
    EXPECT_FALSE(kvnrate::FieldsFromJson(json::parse(R"({"AirFlowMode": "3x"})"), f, mode, error));
    ASSERT_TRUE(kvnrate::ParseCoilInput(R"({"AirFlowMode": 3.0})", coils, error));
    ASSERT_TRUE(kvnrate::FieldsFromJson(coils[0], f, mode, error)) << error;
    EXPECT_EQ(mode, 3);
}

// --- End to end -----------------------------------------------------------

struct RaterRun {
    int status = -1;
    std::vector<json> results;  // one per output line
    std::string out;
};

RaterRun RunRater(const std::string& input, const std::string& args = "") {
    const fs::path dir = fs::temp_directory_path() / ("kvn_rate_test_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const fs::path in = dir / "coils.json";
    std::ofstream(in) << input;
    const std::string cmd =
        std::string("\"") + KVN_BIN_DIR + "/kvn-rate\" " + args + " \"" + in.string() + "\"";
    RaterRun run;
    if (!fs::exists(fs::path(KVN_BIN_DIR) / "kvn-rate")) {
        ADD_FAILURE() << "kvn-rate is not built in " << KVN_BIN_DIR;
        return run;
    }
    ShellRun shell = RunShell(cmd);
    run.status = shell.status;
    run.out = std::move(shell.out);
    std::istringstream lines(run.out);
    std::string line;
    while (std::getline(lines, line))
        if (!line.empty() && line[0] == '{') run.results.push_back(json::parse(line));
    fs::remove_all(dir);
    return run;
}

const char kWater[] = R"({"Application": "W", "Pattern": "5", "TubeWall": "0.02", "FinMat": "A",
    "FinThk": "0.006", "FPI": 12, "RD": 4, "TH": 16, "FL": 48, "Circuits": 16, "Altitude": 0,
    "Acfm": 2000, "EatDb": 80, "EatWb": 67, "EntFluidTemp": 45, "Gpm": 20})";

std::string With(const std::string& key, const std::string& value) {
    json j = json::parse(kWater);
    j[key] = value;
    return j.dump();
}

TEST(KvnRate, ValidationFaultExitsTwo) {
    const RaterRun r = RunRater(With("FPI", "17"));
    EXPECT_EQ(r.status, 2);
    ASSERT_EQ(r.results.size(), 1u);
    EXPECT_EQ(r.results[0], json::parse(R"({"ok": false, "validation":
        {"message": "Please reduce the FPI value before Proceeding", "field": "txtFPI"}})"));
}

TEST(KvnRate, RatedCoilExitsZero) {
    const RaterRun r = RunRater(kWater);
    EXPECT_EQ(r.status, 0) << r.out;
    ASSERT_EQ(r.results.size(), 1u);
    const json& j = r.results[0];
    EXPECT_EQ(j["ok"], true) << r.out;
    EXPECT_EQ(j["model"], "58-CWDM-04824-F");
    EXPECT_EQ(j["CoilSpec"]["Pattern"], "5");
    EXPECT_EQ(j["CoilSpec"]["TubeWall"].get<double>(), static_cast<double>(0.02f));
    EXPECT_EQ(j["CoilRating"].size(), 40u);  // every named field, no reserved ones
    EXPECT_FALSE(j["CoilRating"].contains("Reserved2"));
    EXPECT_EQ(j["grid"].size(), 11u);
    EXPECT_EQ(j["grid"][10], json::parse(R"(["Fin Height", "        24.000"])"));
    EXPECT_EQ(j["warnings"], json::array());  // present on every rated coil

    const RaterRun blank = RunRater(With("Circuits", ""));
    ASSERT_EQ(blank.results.size(), 1u);
    const json& warnings = blank.results[0]["warnings"];  // 20 gpm through one 5/8 in. tube
    ASSERT_EQ(warnings.size(), 2u) << blank.out;
    EXPECT_EQ(warnings[0]["code"], "tube-velocity-high");
    EXPECT_EQ(warnings[1], json::parse(R"({"code": "one-circuit-assumed",
        "text": "Circuits left blank: rated with one circuit"})"));
}

TEST(KvnRate, BatchExitStatusIsThatOfTheFirstCoilNotRated) {
    const std::string batch =
        "[" + std::string(kWater) + "," + With("EatDb", "250") + "," + With("FPI", "17") + "]";
    const RaterRun r = RunRater(batch);
    ASSERT_EQ(r.results.size(), 3u) << r.out;
    EXPECT_EQ(r.status, 3);
    EXPECT_EQ(r.results[1]["ok"], false);
    const std::string error =
        "Out of Range Condition or error with HGWBtoGR!\nProcedure: CC_bAssignCoilProp\n";
    EXPECT_EQ(r.results[1]["error"], error);
    EXPECT_EQ(r.results[1]["messages"], json::array({error}));
    EXPECT_EQ(r.results[2]["validation"]["field"], "txtFPI");

    const RaterRun lines = RunRater(With("FPI", "17") + "\n" + With("EatDb", "250") + "\n");
    ASSERT_EQ(lines.results.size(), 2u);
    EXPECT_EQ(lines.status, 2);
}

// The sheet of a batch is written once, with one note that it shows the
// first coil.
TEST(KvnRate, SheetOfABatchIsWrittenOnce) {
    const fs::path pdf =
        fs::temp_directory_path() / ("kvn_rate_sheet_" + std::to_string(::getpid()) + ".pdf");
    const RaterRun r =
        RunRater("[" + std::string(kWater) + "," + kWater + "]", "--sheet \"" + pdf.string() + "\" 2>&1");
    if (r.out.find("built without reports") != std::string::npos)
        GTEST_SKIP() << "kvn-rate built without reports";
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_TRUE(fs::exists(pdf));
    const std::string note = "shows the first of 2 coils";
    const size_t first = r.out.find(note);
    ASSERT_NE(first, std::string::npos) << r.out;
    EXPECT_EQ(r.out.find(note, first + 1), std::string::npos) << r.out;
    fs::remove(pdf);
}

TEST(KvnRate, FaceVelocityMode) {
    json j = json::parse(kWater);
    j.erase("Acfm");
    j["AirFlowMode"] = 3;
    j["AirVel"] = 500;
    const RaterRun r = RunRater(j.dump());
    ASSERT_EQ(r.results.size(), 1u) << r.out;
    ASSERT_EQ(r.results[0]["ok"], true) << r.out;
    EXPECT_EQ(r.results[0]["CoilRating"]["Acfm"].get<double>(), 4000.0);
}

TEST(KvnRate, UsageAndInputErrorsExitOne) {
    EXPECT_EQ(RunRater("{\"FPI\": ", "").status, 1);
    EXPECT_EQ(RunRater(kWater, "--no-such-option").status, 1);
    // Option values are checked; a missing one takes the input's name.
    for (const char* args : {"--jobs x", "--jobs 12345", "--jobs", "--units metric", "--kvn", "second.json"})
        EXPECT_EQ(RunRater(kWater, args).status, 1) << args;
    EXPECT_NE(RunRater(kWater, "--units metric 2>&1")
                  .out.find("kvn-rate: --units takes ip or si, not metric (try --help)"),
              std::string::npos);
    const RaterRun help = RunRater("", "--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("AirFlowMode"), std::string::npos);
}

}  // namespace

// --units si reads the field texts in SI and lists the grid in SI; the
// records stay inch-pound. The water coil in exact SI texts rates to the
// same records.
TEST(KvnRate, SiUnits) {
    json si = json::parse(kWater);
    si["FL"] = "1219.2";
    si["Acfm"] = "3398.02159104";
    si["EatDb"] = "26.666666666666668";
    si["EatWb"] = "19.444444444444443";
    si["EntFluidTemp"] = "7.2222222222222223";
    si["Gpm"] = "1.261803928";
    const RaterRun ip = RunRater(kWater);
    const RaterRun r = RunRater(si.dump(), "--units si");
    ASSERT_EQ(r.status, 0) << r.out;
    ASSERT_EQ(r.results.size(), 1u);
    const json& j = r.results[0];
    EXPECT_EQ(j["units"], "SI");
    EXPECT_FALSE(ip.results[0].contains("units"));
    EXPECT_EQ(j["CoilSpec"], ip.results[0]["CoilSpec"]);
    EXPECT_EQ(j["CoilRating"], ip.results[0]["CoilRating"]);
    EXPECT_EQ(j["model"], ip.results[0]["model"]);
    EXPECT_EQ(j["grid"][0][0], "kW (Total)   ");

    const RaterRun bad = RunRater(With("Gpm", "0"), "--units SI");
    EXPECT_EQ(bad.status, 2);
    EXPECT_EQ(bad.results.at(0)["validation"]["message"], "Fluid flow (L/s) must be greater than 0");
    EXPECT_EQ(RunRater(kWater, "--units metric").status, 1);
}

namespace {

// A numeric field holds one number and nothing else: the refusals name the
// field and the text (exit status 2); the accepted texts rate as before.
TEST(KvnRate, NumericFieldsHoldOneWholeNumber) {
    std::string refused, accepted;
    const std::vector<std::string> bad = {"2,000", "12x", "45F", "1/2", "5 5"};
    for (const std::string& t : bad) refused += With("Acfm", t) + "\n" + With("FPI", t) + "\n";
    for (const char* t : {"2000", " 2000 ", "2e3", "2000.0"}) accepted += With("Acfm", t) + "\n";
    for (const char* t : {"12", " 12 ", "1.2e1", "12."}) accepted += With("FPI", t) + "\n";
    for (const char* t : {"-10", ".5"}) accepted += With("Altitude", t) + "\n";
    const RaterRun r = RunRater(refused);
    EXPECT_EQ(r.status, 2);
    ASSERT_EQ(r.results.size(), 2 * bad.size());
    for (size_t i = 0; i < bad.size(); ++i) {
        EXPECT_EQ(r.results[2 * i]["validation"],
                  json({{"message", "ACFM value \"" + bad[i] + "\" is not a number"},
                        {"field", "txtProperty(1)"}}));
        EXPECT_EQ(r.results[2 * i + 1]["validation"],
                  json({{"message", "FPI value \"" + bad[i] + "\" is not a number"}, {"field", "txtFPI"}}));
    }
    const RaterRun a = RunRater(accepted);
    EXPECT_EQ(a.status, 0) << a.out;
    ASSERT_EQ(a.results.size(), 10u);
    for (size_t i = 0; i < 4; ++i) EXPECT_EQ(a.results[i]["CoilRating"]["Acfm"], 2000) << i;
    for (size_t i = 4; i < 8; ++i) EXPECT_EQ(a.results[i]["CoilSpec"]["FPI"], 12) << i;
    EXPECT_EQ(a.results[8]["CoilRating"]["Altitude"], -10);
    EXPECT_EQ(a.results[9]["CoilRating"]["Altitude"], 0);
    // In SI the text is named as typed.
    const RaterRun si = RunRater(With("Acfm", "3 398"), "--units si");
    EXPECT_EQ(si.status, 2);
    EXPECT_EQ(si.results.at(0)["validation"]["message"], "Air flow (m³/h) value \"3 398\" is not a number");
}

// One coil of each type, with warnings, entered in SI (the inch-pound texts
// converted to 15 digits): the same records as in inch-pound, and no
// inch-pound unit in the SI grid and warnings (nor an SI unit in the
// inch-pound ones). A heating coil's leaving wet bulb is null in SI.
TEST(KvnRate, EachCoilTypeInSiQuotesOnlySiUnits) {
    const json w = json::parse(kWater);
    std::vector<json> coils(6, w);
    coils[1].update({{"EatDb", "20"}, {"EatWb", ""}, {"EntFluidTemp", "180"}, {"Gpm", "90"}});  // heating
    coils[2].update({{"Application", "G"}, {"PercentGlycol", "30"}, {"Acfm", "4000"}});
    coils[3].update({{"Application", "S"}, {"SteamPressure", "15"}, {"EatDb", "40"}, {"EatWb", ""}});
    coils[4].update({{"Application", "E"}, {"Refrigerant", "22"}, {"EntFluidTemp", "40"}, {"Circuits", ""}});
    coils[5].update({{"Application", "C"}, {"Refrigerant", "22"}, {"EntFluidTemp", "120"}, {"EatDb", "95"}});
    std::string ipIn, siIn;
    for (json c : coils) {
        ipIn += c.dump() + "\n";
        for (auto& [key, value] : c.items()) {
            units::Quantity q;
            if (units::FieldQuantity(key, q))
                value = units::ConvertEntryText(q, units::System::InchPound,
                                                value.is_string() ? value.get<std::string>() : value.dump());
        }
        siIn += c.dump() + "\n";
    }
    const RaterRun ip = RunRater(ipIn), si = RunRater(siIn, "--units si");
    ASSERT_EQ(ip.status, 0) << ip.out;
    ASSERT_EQ(si.status, 0) << si.out;
    ASSERT_EQ(si.results.size(), coils.size());
    const std::vector<std::string> ipUnits = {"°F",   " ft", "FT",    "gpm",    "GPM", "in. w.g.",
                                              "W.G.", "Btu", "gr/lb", "ft³/lb", "cfm", "CFM",
                                              "psi",  "PSI", "FPS",   "SFPM"};
    const std::vector<std::string> siUnits = {"°C", "m/s", "kW", "kPa", "L/s", "m³/h", " K "};
    size_t warnings = 0;
    for (size_t i = 0; i < coils.size(); ++i) {
        EXPECT_EQ(si.results[i]["CoilRating"], ip.results[i]["CoilRating"]) << i;
        EXPECT_EQ(si.results[i]["CoilSpec"], ip.results[i]["CoilSpec"]) << i;
        EXPECT_EQ(si.results[i]["warnings"].size(), ip.results[i]["warnings"].size());
        warnings += si.results[i]["warnings"].size();
        const std::string siText = si.results[i]["grid"].dump() + si.results[i]["warnings"].dump();
        const std::string ipText = ip.results[i]["grid"].dump() + ip.results[i]["warnings"].dump();
        for (const std::string& u : ipUnits)
            EXPECT_EQ(siText.find(u), std::string::npos) << u << " in " << siText;
        for (const std::string& u : siUnits)
            EXPECT_EQ(ipText.find(u), std::string::npos) << u << " in " << ipText;
    }
    EXPECT_GE(warnings, 3u);
    EXPECT_EQ(si.results[1]["grid"][6], json({"LAT WB (°C)", nullptr}));
    EXPECT_EQ(ip.results[1]["grid"][6][0], "LAT WB (°F)");
}

}  // namespace
