// kvn-rate --schedule: a template filled in and selected row by row in both
// unit systems and both file kinds, each selected coil rated alone and held
// to its duty; a row searched as the same --select input; bad rows answered
// alone.
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

#include "exchange/csv.h"
#include "exchange/schedule_template.h"
#include "exchange/xlsx_reader.h"
#include "shell.h"
#include "tools/export_output.h"
#include "tools/schedule_json.h"
#include "tools/select_json.h"
#include "tools/units_output.h"

namespace fs = std::filesystem;
using kvnrate::Json;

namespace {

struct RaterOutput {
    int status = -1;
    std::vector<Json> rows;
    std::string out;
};

fs::path Dir() {
    const fs::path dir = fs::temp_directory_path() / ("kvn_schedule_test_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    return dir;
}

RaterOutput Rater(const std::string& args) {
    RaterOutput run;
    const ShellRun shell = RunShell(std::string("\"") + KVN_BIN_DIR + "/kvn-rate\" " + args + " 2>&1");
    run.status = shell.status;
    run.out = shell.out;
    std::istringstream lines(shell.out);
    std::string line;
    while (std::getline(lines, line))
        if (!line.empty() && line[0] == '{') run.rows.push_back(Json::parse(line));
    return run;
}

// The lines of a schedule text searched in process.
std::vector<Json> Schedule(const std::string& csv, units::System system = units::System::InchPound) {
    std::vector<Json> lines;
    const auto table = kvn::schedule::ParseSchedule(csv, "s.csv");
    kvnrate::RunScheduleRows(table, system, 2, [&](kvn::schedule::ScheduleRowResult& r) {
        lines.push_back(Json::parse(kvnrate::ScheduleRowJson(r).dump()));
    });
    return lines;
}

// The selected coil of a row rated alone, from its "coil" texts in
// `system`, tagged with the row's Tag.
kvnrate::RatedCoil RatedAlone(const Json& row, units::System system) {
    const Json& c = row["selected"];
    const int mode = c["coil"].contains("AirFlowMode") ? c["coil"]["AirFlowMode"].get<int>() : 1;
    FieldTexts texts;
    for (auto it = c["coil"].begin(); it != c["coil"].end(); ++it)
        if (it.key() != "AirFlowMode") texts[it.key()] = it.value().get<std::string>();
    kvnrate::RatedCoil alone = kvnrate::RateFields(kvnrate::InchPoundFields(texts, system), mode);
    alone.input = {{"Item", row["Tag"]}};
    return alone;
}

// The selected coil rated alone gives the listed rating, meets every limit
// the search applied and has none of the warnings it refused.
void ExpectMeetsItsDuty(const Json& row, units::System system, const std::string& what) {
    ASSERT_TRUE(row["ok"].get<bool>()) << what << row.dump();
    const Json& c = row["selected"];
    ASSERT_TRUE(c.is_object()) << what << row.dump().substr(0, 2000);
    const kvnrate::RatedCoil alone = RatedAlone(row, system);
    ASSERT_TRUE(alone.ok()) << what;
    EXPECT_EQ(Json::parse(kvnrate::CoilRatingJson(alone.rating).dump()), c["CoilRating"]) << what;
    EXPECT_EQ(alone.model, c["model"]) << what;
    for (auto m = c["margins"].begin(); m != c["margins"].end(); ++m)
        EXPECT_GE(m.value().get<double>(), 0) << what << " " << m.key();
    for (const Json& w : c["warnings"])
        for (const Json& refused : row["limits"]["refused"]) EXPECT_NE(w["code"], refused) << what;
}

// The rows of an exported list read back (header and units rows first),
// each as long as the header.
std::vector<std::vector<std::string>> ReadExport(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::vector<std::string>> rows;
    if (file.extension() == ".csv") {
        for (auto& r : kvn::csv::ParseCsv(bytes)) rows.push_back(r);
    } else {
        for (auto& r : kvn::xlsx::ReadFirstSheet(bytes)) rows.push_back(r.cells);
    }
    for (auto& r : rows) r.resize(static_cast<std::size_t>(kvn::exchange::ExportColumnCount()));
    return rows;
}

// An exported row holds the cells of the coil rated alone: the same texts,
// numbers the same numbers.
void ExpectExportedAsRated(const std::vector<std::string>& row, const kvnrate::RatedCoil& alone,
                           units::System system, const std::string& what) {
    const auto cells = kvn::exchange::ExportCells(system, kvnrate::ExportCoilOf(alone));
    for (std::size_t c = 0; c < cells.size(); ++c) {
        if (cells[c].number && row[c] != cells[c].text)
            EXPECT_NEAR(std::stod(row[c]), cells[c].value, 1e-9 * std::abs(cells[c].value)) << what << c;
        else
            EXPECT_EQ(row[c], cells[c].text) << what << " column " << c;
    }
}

}  // namespace

TEST(Schedule, TemplateFilledInSelectsEveryCoilTypeInBothSystemsAndBothFileKinds) {
    const fs::path dir = Dir();
    for (const char* units : {"ip", "si"}) {
        const units::System system =
            std::string(units) == "si" ? units::System::SI : units::System::InchPound;
        std::vector<Json> first;
        for (const char* ext : {".csv", ".xlsx"}) {
            const fs::path file = dir / (std::string("schedule_") + units + ext);
            ASSERT_EQ(
                Rater("--units " + std::string(units) + " --schedule-template \"" + file.string() + "\"")
                    .status,
                0);
            // A CSV schedule exported as XLSX, an XLSX one as CSV.
            const fs::path list = dir / (std::string("list_") + units + (ext[1] == 'c' ? ".xlsx" : ".csv"));
            const RaterOutput run = Rater("--units " + std::string(units) + " --jobs 3 --schedule \"" +
                                          file.string() + "\" --export \"" + list.string() + "\"");
            EXPECT_EQ(run.status, 0) << run.out;
            ASSERT_EQ(run.rows.size(), 5u) << run.out;
            const auto exported = ReadExport(list);
            ASSERT_EQ(exported.size(), 2 + run.rows.size()) << list;
            EXPECT_EQ(exported[1], kvn::exchange::ExportUnits(system));
            std::string types;
            for (std::size_t i = 0; i < run.rows.size(); ++i) {
                const Json& row = run.rows[i];
                EXPECT_EQ(row["row"], i + 2);
                EXPECT_EQ(row.contains("units"), system == units::System::SI);
                const std::string what = std::string(units) + ext + " " + row["Tag"].get<std::string>();
                ExpectMeetsItsDuty(row, system, what);
                if (row["selected"].is_object())
                    ExpectExportedAsRated(exported[2 + i], RatedAlone(row, system), system, what);
                if (row["selected"].is_object())
                    types += row["selected"]["coil"]["Application"].get<std::string>();
                EXPECT_LE(row["alternatives"].size(), 4u);
            }
            EXPECT_EQ(types, "WGSEC");
            // The same rows from either file kind, on any number of threads.
            if (first.empty())
                first = run.rows;
            else
                EXPECT_EQ(first, run.rows);
        }
    }
    EXPECT_EQ(Rater("--schedule-template \"" + (dir / "t.pdf").string() + "\"").status, 1);
    fs::remove_all(dir);
}

TEST(Schedule, ARowSelectsWhatTheSameSelectInputSelects) {
    const char* csv =
        "Tag,Application,Pattern,RD,FPI,Circuits,TH,FL,Acfm,EatDb,EatWb,EntFluidTemp,FluidRise,TotalBtuh,"
        "AirPDMax,AllowWarnings\n"
        "CC-9,W,5,2-5,8|12,8|16,16,36|48,2000,80,67,45,10,38000,0.7,laminar-flow\n";
    const std::string select = R"({"Application": "W", "Pattern": "5", "RD": [2, 3, 4, 5], "FPI": [8, 12],
        "Circuits": [8, 16], "TH": 16, "FL": ["36", "48"], "Acfm": 2000, "EatDb": 80, "EatWb": 67,
        "EntFluidTemp": 45, "FluidRise": 10, "Duty": {"TotalBtuh": 38000, "AirPDMax": 0.7},
        "AllowWarnings": ["laminar-flow"], "Top": 5})";
    std::string out;
    ASSERT_EQ(kvnrate::RunSelection(select, false, 1, out), 0) << out;
    const Json answer = Json::parse(out);
    const std::vector<Json> lines = Schedule(csv);
    ASSERT_EQ(lines.size(), 1u);
    const Json& row = lines[0];
    ASSERT_TRUE(row["ok"].get<bool>()) << row.dump();
    ASSERT_GE(answer["candidates"].size(), 2u);
    Json listed = Json::array();
    listed.push_back(row["selected"]);
    for (const Json& c : row["alternatives"]) listed.push_back(c);
    EXPECT_EQ(listed, answer["candidates"]);
    EXPECT_EQ(row["limits"], answer["limits"]);
    EXPECT_EQ(row["feasible"], answer["feasible"]);
    EXPECT_EQ(row["skipped"], answer["skipped"]);
}

TEST(Schedule, BadRowsAreAnsweredAloneAndTheRestGoOn) {
    const fs::path dir = Dir();
    const fs::path file = dir / "bad.csv";
    std::ofstream(file)
        << "Tag,Application,TH,FL,Acfm,EatDb,EatWb,EntFluidTemp,Gpm,RD,FPI,TotalBtuh,LatDbMax,Notes\n"
           "ok,W,16,48,2000,80,67,45,20,4,12,30000,,\n"
           "text,W,16,48,2 000,80,67,45,20,4,12,30000,,\n"
           "noduty,W,16,48,2000,80,67,45,20,4,12,,,\n"
           "noTH,W,,48,2000,80,67,45,20,4,12,30000,,\n"
           "noFL,W,16,,2000,80,67,45,20,4,12,30000,,\n"
           "unknown,W,16,48,2000,80,67,45,20,4,12,30000,,see me\n"
           "none,W,16,48,2000,80,67,45,20,1,6,900000,40,\n"
           "alsook,W,16,48,2000,80,67,45,20,4,12,,70,\n";
    const RaterOutput run = Rater("--schedule \"" + file.string() + "\"");
    EXPECT_EQ(run.status, 2);
    ASSERT_EQ(run.rows.size(), 8u) << run.out;
    // With the files: the same lines; the rows without a coil named and
    // left out.
    const RaterOutput files =
        Rater("--schedule \"" + file.string() + "\" --export \"" + (dir / "bad.xlsx").string() + "\"");
    EXPECT_EQ(files.status, 2);
    EXPECT_EQ(files.rows, run.rows);
    const auto exported = ReadExport(dir / "bad.xlsx");
    ASSERT_EQ(exported.size(), 4u);
    EXPECT_EQ(exported[2][0], "ok");
    EXPECT_EQ(exported[3][0], "alsook");
    EXPECT_NE(files.out.find("row 3, Tag \"text\": "), std::string::npos) << files.out;
    EXPECT_NE(files.out.find("row 8, Tag \"none\": no coil meets the duty (the closest: total capacity "),
              std::string::npos);
    const char* columns[] = {"", "Acfm", "TotalBtuh", "TH", "FL", "Notes", "", ""};
    for (std::size_t i = 0; i < run.rows.size(); ++i) {
        const Json& row = run.rows[i];
        EXPECT_EQ(row["row"], i + 2);
        const bool bad = columns[i][0] != '\0';
        EXPECT_EQ(row["ok"].get<bool>(), !bad) << row.dump().substr(0, 300);
        if (bad) {
            EXPECT_EQ(row["column"], columns[i]) << row["error"];
            EXPECT_FALSE(row["error"].get<std::string>().empty());
        }
    }
    EXPECT_TRUE(run.rows[0]["selected"].is_object());
    EXPECT_TRUE(run.rows[6]["selected"].is_null());
    EXPECT_TRUE(run.rows[6]["closest"]["missed"].is_string());
    EXPECT_TRUE(run.rows[7]["selected"].is_object());
    // A file that is no schedule: refused whole, named, nothing searched.
    std::ofstream(dir / "binary.xlsx") << "PK\x03\x04garbage";
    const RaterOutput refused = Rater("--schedule \"" + (dir / "binary.xlsx").string() + "\"");
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(refused.rows.empty());
    EXPECT_NE(refused.out.find("binary.xlsx: "), std::string::npos) << refused.out;
    fs::remove_all(dir);
}

TEST(Schedule, TheMixedFixtureReadsAsFortyRowsOfEveryCoilType) {
    const auto table =
        kvn::schedule::ReadScheduleFile(std::string(KVN_SOURCE_DIR) + "/tests/data/schedule-40.csv");
    ASSERT_EQ(table.rows.size(), 40u);
    std::string types;
    for (std::size_t i = 0; i < table.rows.size(); ++i) {
        const auto r = kvn::schedule::RequestForRow(table, i, units::System::InchPound);
        EXPECT_TRUE(r.ok()) << r.row << " " << r.error;
        const std::string app = r.fields.at("Application");
        if (types.find(app) == std::string::npos) types += app;
    }
    EXPECT_EQ(types.size(), 5u) << types;
}

TEST(Schedule, ARowIsTheQueryTheSameSelectInputReadsInto) {
    using kvn::schedule::ScheduleTable;
    std::vector<std::pair<ScheduleTable, units::System>> tables;
    for (const units::System system : {units::System::InchPound, units::System::SI}) {
        ScheduleTable t;
        t.header = kvn::schedule::TemplateHeader(system);
        int number = 1;
        for (auto& cells : kvn::schedule::TemplateRows(system)) t.rows.push_back({++number, cells, -1});
        tables.emplace_back(std::move(t), system);
    }
    tables.emplace_back(
        kvn::schedule::ReadScheduleFile(std::string(KVN_SOURCE_DIR) + "/tests/data/schedule-40.csv"),
        units::System::InchPound);
    tables.emplace_back(
        kvn::schedule::ParseSchedule("TH,FL,RD,Acfm,AirFlowMode,AirVel,Application,TotalKW,"
                                     "TubeVelocityMax,AllowWarnings\n"
                                     "16,1200|1500,3-4,,3,2.5,G,10,2,laminar-flow|freeze-risk\n",
                                     "s.csv"),
        units::System::SI);
    for (const auto& [table, system] : tables) {
        for (std::size_t i = 0; i < table.rows.size(); ++i) {
            const auto request = kvn::schedule::RequestForRow(table, i, system);
            ASSERT_TRUE(request.ok()) << request.error;
            selection::SearchSpec a, b;
            selection::ShownTexts shown;
            kvnrate::SelectInput in;
            in.system = system;
            int top = 0;
            std::string errorA, errorB;
            ASSERT_EQ(
                kvn::schedule::SpecForRequest(request, system, a, shown, errorA),
                kvnrate::SelectSpecFromJson(kvnrate::SelectInputOf(request).dump(), b, top, in, errorB));
            EXPECT_EQ(errorA, errorB);
            EXPECT_EQ(a.fixed, b.fixed) << request.row;
            EXPECT_EQ(a.choices, b.choices) << request.row;
            EXPECT_EQ(a.duty, b.duty) << request.row;
            EXPECT_EQ(a.fluidRise, b.fluidRise) << request.row;
            EXPECT_EQ(a.airFlowMode, b.airFlowMode) << request.row;
            EXPECT_EQ(a.refused, b.refused) << request.row;
            EXPECT_EQ(a.allowWarnings, b.allowWarnings) << request.row;
            EXPECT_EQ(a.top, b.top) << request.row;
            for (const auto& [key, text] : a.fixed)
                EXPECT_EQ(shown.Shown(key, text), in.shown.Shown(key, text));
        }
    }
}
