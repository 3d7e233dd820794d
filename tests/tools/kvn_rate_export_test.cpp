// kvn-rate --export over a batch of every coil type, in both unit systems:
// the exported figures are the ratings' as each coil's result gives them,
// and a coil file's --list exports the same rows.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "common/units.h"
#include "exchange/csv.h"
#include "shell.h"

using nlohmann::json;
using units::Quantity;
using units::System;

namespace {

const char* const kCoils[] = {
    R"({"Item":"CC-1","Application":"W","FPI":"12","RD":"4","TH":"16","FL":"48","Circuits":"16","Altitude":"0","Acfm":"2000","EatDb":"80","EatWb":"67","EntFluidTemp":"45","Gpm":"20","Pattern":"5","TubeWall":"0.02","FinMat":"A","FinThk":"0.006"})",
    R"({"Item":"GC-2","Application":"G","FPI":"12","RD":"4","TH":"16","FL":"48","Circuits":"16","Altitude":"2500","Acfm":"2000","EatDb":"80","EatWb":"67","EntFluidTemp":"42","Gpm":"25","PercentGlycol":"30","Pattern":"5","TubeWall":"0.02","FinMat":"A","FinThk":"0.006"})",
    R"({"Item":"SC-3","Application":"S","FPI":"10","RD":"2","TH":"16","FL":"48","Circuits":"","Altitude":"0","Acfm":"3000","EatDb":"0","SteamPressure":"15","Pattern":"5","TubeWall":"0.025","FinMat":"A","FinThk":"0.006"})",
    R"({"Item":"DX-4","Application":"E","FPI":"12","RD":"4","TH":"16","FL":"48","Circuits":"8","Altitude":"0","Acfm":"2400","EatDb":"80","EatWb":"67","EntFluidTemp":"40","Refrigerant":"22","EvapSHCode":"10","Pattern":"5","TubeWall":"0.02","FinMat":"A","FinThk":"0.006"})",
    R"({"Item":"CD-5","Application":"C","FPI":"10","RD":"3","TH":"24","FL":"60","Circuits":"6","Altitude":"0","Acfm":"5000","EatDb":"95","EntFluidTemp":"120","Refrigerant":"22","Pattern":"4","TubeWall":"0.017","FinMat":"A","FinThk":"0.006"})",
};

// The coil's entries as typed in `system`.
json InSystem(json coil, System system) {
    if (system == System::InchPound) return coil;
    for (auto& [key, value] : coil.items()) {
        Quantity q;
        if (units::FieldQuantity(key, q))
            value = units::ConvertEntryText(q, System::InchPound, value.get<std::string>());
    }
    return coil;
}

std::size_t ColumnOf(const kvn::csv::Row& header, const std::string& name) {
    return static_cast<std::size_t>(std::find(header.begin(), header.end(), name) - header.begin());
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

class RaterExport : public ::testing::TestWithParam<System> {
protected:
    void SetUp() override {
        exe_ = std::string(KVN_BIN_DIR) + "/kvn-rate";
        if (!std::filesystem::exists(exe_)) GTEST_SKIP() << "no kvn-rate";
        char tmpl[] = "/tmp/kvn-rate-export-XXXXXX";
        ASSERT_NE(::mkdtemp(tmpl), nullptr);
        dir_ = tmpl;
    }
    void TearDown() override {
        if (!dir_.empty()) std::filesystem::remove_all(dir_);
    }
    std::string exe_, dir_;
};

}  // namespace

TEST_P(RaterExport, ExportedFiguresAreTheRatings) {
    const System system = GetParam();
    const std::string units = system == System::SI ? " --units si" : "";
    std::ofstream batch(dir_ + "/batch.jsonl");
    for (const char* c : kCoils) batch << InSystem(json::parse(c), system).dump() << '\n';
    batch.close();
    const ShellRun run = RunShell(exe_ + units + " --jobs 2 --export " + dir_ + "/out.csv --kvn " + dir_ +
                                  "/out.kvn " + dir_ + "/batch.jsonl 2>/dev/null");
    ASSERT_EQ(run.status, 0) << run.out;
    std::vector<json> results;
    std::istringstream lines(run.out);
    for (std::string line; std::getline(lines, line);) results.push_back(json::parse(line));
    const auto rows = kvn::csv::ParseCsv(ReadFile(dir_ + "/out.csv"));
    ASSERT_EQ(rows.size(), std::size(kCoils) + 2);
    const kvn::csv::Row& header = rows[0];

    const std::pair<const char*, Quantity> checked[] = {
        {"Total Capacity", Quantity::Capacity}, {"Sensible Capacity", Quantity::Capacity},
        {"LAT DB", Quantity::Temperature},      {"Air PD", Quantity::AirPD},
        {"Altitude", Quantity::Altitude},       {"Face Velocity", Quantity::AirVelocity}};
    const char* const fields[] = {"TotalBtuh", "SensibleBtuh", "LatDb", "AirPD", "Altitude", "FaceVelocity"};
    for (std::size_t i = 0; i < results.size(); ++i) {
        const auto& row = rows[i + 2];
        EXPECT_EQ(row[0], json::parse(kCoils[i])["Item"]);
        EXPECT_EQ(row[ColumnOf(header, "Model")], results[i]["model"]);
        for (std::size_t k = 0; k < std::size(checked); ++k) {
            const std::string& text = row[ColumnOf(header, checked[k].first)];
            const double ip = results[i]["CoilRating"][fields[k]].get<double>();
            const double want = system == System::SI ? units::ToSI(checked[k].second, ip) : ip;
            const std::size_t point = text.find('.');
            const int decimals = point == std::string::npos ? 0 : static_cast<int>(text.size() - point - 1);
            // Rounded to the decimals shown from the 7 significant digits a record keeps.
            EXPECT_LE(std::fabs(std::stod(text) - want),
                      0.5 * std::pow(10.0, -decimals) + 1e-6 * std::fabs(want))
                << row[0] << " " << checked[k].first << " " << text << " vs " << want;
        }
        std::string warnings;
        for (const json& w : results[i]["warnings"])
            warnings += (warnings.empty() ? "" : "; ") + w["text"].get<std::string>();
        EXPECT_EQ(row.back(), warnings) << row[0];
    }

    // The coil file's rows export alike (a coil file keeps no warnings).
    ASSERT_EQ(RunShell(exe_ + units + " --list " + dir_ + "/out.kvn --export " + dir_ +
                       "/list.xlsx >/dev/null 2>&1")
                  .status,
              0);
    ASSERT_EQ(
        RunShell(exe_ + units + " --list " + dir_ + "/out.kvn --export " + dir_ + "/list.csv >/dev/null 2>&1")
            .status,
        0);
    const auto listed = kvn::csv::ParseCsv(ReadFile(dir_ + "/list.csv"));
    ASSERT_EQ(listed.size(), rows.size());
    for (std::size_t r = 0; r < rows.size(); ++r)
        EXPECT_TRUE(std::equal(rows[r].begin(), rows[r].end() - 1, listed[r].begin())) << r;
    EXPECT_TRUE(std::filesystem::file_size(dir_ + "/list.xlsx") > 0);
}

TEST_P(RaterExport, AFileThatCannotBeWrittenIsStatusFour) {
    std::ofstream(dir_ + "/one.json") << kCoils[0];
    EXPECT_EQ(RunShell(exe_ + " --export " + dir_ + "/out.txt " + dir_ + "/one.json >/dev/null 2>&1").status,
              4);
    EXPECT_EQ(RunShell(exe_ + " --export /nonexistent/out.xlsx " + dir_ + "/one.json >/dev/null 2>&1").status,
              4);
}

INSTANTIATE_TEST_SUITE_P(BothSystems, RaterExport, ::testing::Values(System::InchPound, System::SI));
