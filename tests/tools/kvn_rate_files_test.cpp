// kvn-rate's --kvn and --list over a batch of every coil type.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <nlohmann/json.hpp>

#include "files/save_row.h"
#include "shell.h"

using nlohmann::json;

namespace {

// Runs kvn-rate; returns its exit status and standard output.
int RunRater(const std::string& args, std::string* out = nullptr) {
    ShellRun run = RunShell(std::string(KVN_BIN_DIR) + "/kvn-rate " + args + " 2>/dev/null");
    if (out) *out += run.out;
    return run.status;
}

// A water, a glycol, a refused (17 fins per inch), a steam, an evaporator
// and a condenser coil.
const char* const kBatch[] = {
    R"({"Application":"W","FPI":"12","RD":"4","TH":"16","FL":"48","Circuits":"16","Altitude":"0","Acfm":"2000","EatDb":"80","EatWb":"67","EntFluidTemp":"45","Gpm":"20","Pattern":"5","TubeWall":"0.02","FinMat":"A","FinThk":"0.006"})",
    R"({"Application":"G","FPI":"12","RD":"4","TH":"16","FL":"48","Circuits":"16","Altitude":"0","Acfm":"2000","EatDb":"80","EatWb":"67","EntFluidTemp":"42","Gpm":"25","PercentGlycol":"30","Pattern":"5","TubeWall":"0.02","FinMat":"A","FinThk":"0.006"})",
    R"({"Application":"W","FPI":"17","RD":"4","TH":"16","FL":"48","Circuits":"16","Altitude":"0","Acfm":"2000","EatDb":"80","EatWb":"67","EntFluidTemp":"45","Gpm":"20","Pattern":"5","TubeWall":"0.02","FinMat":"A","FinThk":"0.006"})",
    R"({"Application":"S","FPI":"10","RD":"2","TH":"16","FL":"48","Circuits":"","Altitude":"0","Acfm":"3000","EatDb":"0","SteamPressure":"15","Pattern":"5","TubeWall":"0.025","FinMat":"A","FinThk":"0.006"})",
    R"({"Application":"E","FPI":"12","RD":"4","TH":"16","FL":"48","Circuits":"8","Altitude":"0","Acfm":"2400","EatDb":"80","EatWb":"67","EntFluidTemp":"40","Refrigerant":"22","EvapSHCode":"10","Pattern":"5","TubeWall":"0.02","FinMat":"A","FinThk":"0.006"})",
    R"({"Application":"C","FPI":"10","RD":"3","TH":"24","FL":"60","Circuits":"6","Altitude":"0","Acfm":"5000","EatDb":"95","EntFluidTemp":"120","Refrigerant":"22","Pattern":"4","TubeWall":"0.017","FinMat":"A","FinThk":"0.006"})",
};

TEST(RaterCoilFile, BatchWritesRatedCoilsInOrderAndListsThem) {
    if (!std::filesystem::exists(std::string(KVN_BIN_DIR) + "/kvn-rate")) GTEST_SKIP() << "no kvn-rate";
    char tmpl[] = "/tmp/kvn-rate-files-XXXXXX";
    ASSERT_NE(::mkdtemp(tmpl), nullptr);
    const std::string dir = tmpl, kvn = dir + "/batch.kvn";
    json batch = json::array();
    for (int i = 0; i < 6; ++i) {
        batch.push_back(json::parse(kBatch[i]));
        batch[i]["Item"] = "item " + std::to_string(i);
    }
    batch[0]["Model"] = "AHU;1";
    batch[1]["CoilsPerSystem"] = 3;
    std::ofstream(dir + "/batch.json") << batch.dump();

    std::string rated, listed;
    EXPECT_EQ(RunRater("--kvn " + kvn + " " + dir + "/batch.json", &rated), 2);  // one refused
    std::vector<json> results;
    std::istringstream lines(rated);
    for (std::string line; std::getline(lines, line);) results.push_back(json::parse(line));
    ASSERT_EQ(results.size(), 6u);
    ASSERT_EQ(RunRater("--list " + kvn, &listed), 0);
    const json table = json::parse(listed);
    ASSERT_EQ(table.size(), 5u);
    const char* words[] = {"Water", "Glycol", "Steam", "Evaporator", "Condenser"};
    const int from[] = {0, 1, 3, 4, 5};
    for (int r = 0; r < 5; ++r) {
        ASSERT_EQ(table[r].size(), 33u);
        EXPECT_EQ(table[r][col::Number], std::to_string(r + 1));
        EXPECT_EQ(table[r][col::CoilType], words[r]);
        EXPECT_EQ(table[r][col::Item], "item " + std::to_string(from[r]));
        if (r > 0) {
            EXPECT_EQ(table[r][col::Model], results[from[r]]["model"]);
        }
        EXPECT_FLOAT_EQ(std::stof(table[r][col::TotalBtuh].get<std::string>()),
                        results[from[r]]["CoilRating"]["TotalBtuh"].get<float>());
    }
    EXPECT_EQ(table[0][col::Model], "AHU1");
    EXPECT_EQ(table[1][col::CoilsPerSystem], "3");
    EXPECT_EQ(table[1][col::PercentGlycol], "30");
    EXPECT_EQ(table[2][col::SteamPressure], "15");
    EXPECT_EQ(table[3][col::Refrigerant], "22");
    EXPECT_EQ(table[4][col::TubeSize], "1/2\"");

    // In SI the list shows the same coils in SI, rounded; the file is unchanged.
    std::string siListed;
    ASSERT_EQ(RunRater("--list " + kvn + " --units si", &siListed), 0);
    const json siTable = json::parse(siListed);
    ASSERT_EQ(siTable.size(), 5u);
    EXPECT_EQ(siTable[0][col::EatDb], "26.7");                      // 80 F
    EXPECT_EQ(siTable[0][col::FinnedLength], "1219");               // 48 in
    EXPECT_EQ(siTable[2][col::SteamPressure], "103.4");             // 15 psig
    EXPECT_EQ(siTable[0][col::TubeWall], table[0][col::TubeWall]);  // a designation in inches
    for (const json& row : siTable)
        for (const json& cell : row) {
            const std::string t = cell.get<std::string>();
            const size_t point = t.find('.');
            const bool figure = point != std::string::npos &&
                                t.find_first_not_of("-0123456789.") == std::string::npos && t[0] != '.' &&
                                t.rfind("0.0", 0) != 0;  // not a thickness designation
            if (figure) {
                EXPECT_LE(t.size() - point - 1, 3u) << t;
            }
        }
    std::string again;
    ASSERT_EQ(RunRater("--list " + kvn, &again), 0);
    EXPECT_EQ(again, listed);

    EXPECT_EQ(RunRater("--list " + dir + "/missing.kvn"), 4);
    std::ofstream(dir + "/one.json") << kBatch[0];
    EXPECT_EQ(RunRater("--kvn " + dir + "/no/folder/x.kvn " + dir + "/one.json"), 4);
    std::filesystem::remove_all(dir);
}

}  // namespace
