// kvn-rate's --kvn and --list over rated coils of every type.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <nlohmann/json.hpp>

#include "files/coil_file.h"
#include "files/save_row.h"

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

struct RaterRun {
    int status = -1;
    std::string out;
};

RaterRun RunRater(const std::string& args) {
    RaterRun r;
    const std::string cmd = std::string(KVN_BIN_DIR) + "/kvn-rate " + args + " 2>/dev/null";
    FILE* p = ::popen(cmd.c_str(), "r");
    if (!p) return r;
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) r.out.append(buf, n);
    const int st = ::pclose(p);
    r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    return r;
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

class RaterCoilFile : public ::testing::Test {
protected:
    void SetUp() override {
        if (!fs::exists(std::string(KVN_BIN_DIR) + "/kvn-rate")) GTEST_SKIP() << "kvn-rate not built";
        char tmpl[] = "/tmp/kvn-rate-files-XXXXXX";
        ASSERT_NE(::mkdtemp(tmpl), nullptr);
        dir_ = tmpl;
    }
    void TearDown() override {
        if (!dir_.empty()) fs::remove_all(dir_);
    }
    std::string dir_;
};

TEST_F(RaterCoilFile, BatchOfEveryTypeWritesAndListsInOrder) {
    json batch = json::array();
    for (int i = 0; i < 6; ++i) {
        json coil = json::parse(kBatch[i]);
        coil["Item"] = "item " + std::to_string(i);
        batch.push_back(coil);
    }
    batch[0]["Model"] = "AHU;1 cooling";
    batch[1]["CoilsPerSystem"] = 3;
    const std::string input = dir_ + "/batch.json";
    std::ofstream(input) << batch.dump();

    const std::string kvn = dir_ + "/batch.kvn";
    RaterRun rated = RunRater("--kvn " + kvn + " " + input);
    EXPECT_EQ(rated.status, 2);   // the coil with 17 fins per inch is refused
    std::vector<json> results;
    std::istringstream lines(rated.out);
    for (std::string line; std::getline(lines, line);) results.push_back(json::parse(line));
    ASSERT_EQ(results.size(), 6u);

    RaterRun listed = RunRater("--list " + kvn);
    ASSERT_EQ(listed.status, 0);
    json table = json::parse(listed.out);
    ASSERT_EQ(table.size(), 5u);
    const char* words[] = {"Water", "Glycol", "Steam", "Evaporator", "Condenser"};
    const int source[] = {0, 1, 3, 4, 5};
    for (int r = 0; r < 5; ++r) {
        ASSERT_EQ(table[r].size(), 33u);
        EXPECT_EQ(table[r][col::Number], std::to_string(r + 1));
        EXPECT_EQ(table[r][col::CoilType], words[r]);
        EXPECT_EQ(table[r][col::Item], "item " + std::to_string(source[r]));
        const json& res = results[source[r]];
        if (r > 0) {
            EXPECT_EQ(table[r][col::Model], res["model"]);
        }
        const float total = res["CoilRating"]["TotalBtuh"].get<float>();
        EXPECT_FLOAT_EQ(std::stof(table[r][col::TotalBtuh].get<std::string>()), total);
    }
    EXPECT_EQ(table[0][col::Model], "AHU1 cooling");
    EXPECT_EQ(table[0][col::CoilsPerSystem], "1");
    EXPECT_EQ(table[1][col::CoilsPerSystem], "3");
    EXPECT_EQ(table[1][col::PercentGlycol], "30");
    EXPECT_EQ(table[2][col::SteamPressure], "15");
    EXPECT_EQ(table[2][col::EntFluidTemp], " ");
    EXPECT_EQ(table[3][col::Refrigerant], "22");
    EXPECT_EQ(table[4][col::TubeSize], "1/2\"");
}

TEST_F(RaterCoilFile, UnreadableAndUnwritableFilesFail) {
    EXPECT_EQ(RunRater("--list " + dir_ + "/missing.kvn").status, 4);
    EXPECT_EQ(RunRater("--list " + dir_).status, 4);
    const std::string input = dir_ + "/one.json";
    std::ofstream(input) << kBatch[0];
    EXPECT_EQ(RunRater("--kvn " + dir_ + "/no/such/folder/x.kvn " + input).status, 4);
    EXPECT_EQ(RunRater("--kvn").status, 1);
}

}  // namespace
