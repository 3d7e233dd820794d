// kvn-rate --sheet, --report, --submittal (of a batch and of a schedule):
// the PDFs exist and hold the expected texts.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>
#include <xlsxwriter.h>

#include "exchange/csv.h"
#include "exchange/xlsx_reader.h"
#include "shell.h"

namespace {

int Status(const std::string& command) {
    return RunShell(command).status;
}

// A chilled-water coil and a glycol coil with header fields.
const char* kWater = R"({"Application":"W","Pattern":"5","TubeWall":"0.02","FinMat":"A","FinThk":"0.006",
  "FPI":"12","RD":"4","TH":"16","FL":"48","Circuits":"16","Altitude":"2500","Acfm":"2000","EatDb":"80",
  "EatWb":"67","EntFluidTemp":"45","Gpm":"20","Item":"AHU-1","Customer":"Northwind Mall","Project":"Phase 2",
  "Date":"12/08/2026","Notes":"Drain pan by others.","CoilsPerSystem":"2","High":"2","Wide":"1"})";
const char* kGlycol = R"({"Application":"G","Pattern":"5","TubeWall":"0.02","FinMat":"A","FinThk":"0.006",
  "FPI":"12","RD":"4","TH":"16","FL":"48","Circuits":"16","Altitude":"0","Acfm":"2000","EatDb":"80",
  "EatWb":"67","EntFluidTemp":"42","Gpm":"25","PercentGlycol":"30","Item":"AHU-2"})";

class KvnRatePdf : public ::testing::Test {
protected:
    void SetUp() override {
        exe_ = std::string(KVN_BIN_DIR) + "/kvn-rate";
        if (!std::filesystem::exists(exe_)) GTEST_SKIP() << "kvn-rate not built";
        ASSERT_TRUE(dir_.isValid());
    }
    std::string File(const std::string& name, const std::string& text = {}) {
        const std::string path = dir_.filePath(QString::fromStdString(name)).toStdString();
        if (!text.empty()) std::ofstream(path) << text;
        return path;
    }
    std::string exe_;
    QTemporaryDir dir_;
};

}  // namespace

TEST_F(KvnRatePdf, SheetOfOneCoil) {
    const std::string in = File("one.json", kWater);
    const std::string pdf = File("sheet.pdf");
    // Headless even without a platform set.
    ASSERT_EQ(Status("env -u QT_QPA_PLATFORM -u DISPLAY '" + exe_ + "' --sheet '" + pdf + "' '" + in +
                     "' > /dev/null 2>&1"),
              0);
    ASSERT_TRUE(std::filesystem::exists(pdf));
    const std::string text = Shell("pdftotext -layout '" + pdf + "' -");
    for (const char* s : {"Northwind Mall", "Phase 2", "12/08/2026", "AHU-1", "58-CWDM-04824-F",
                          "Chilled Water @ 2500 Feet", "Entering Water Temp", "Sensible Btuh",
                          "Drain pan by others.", "____ DEEP", "Certification Program."})
        EXPECT_NE(text.find(s), std::string::npos) << s;
}

TEST_F(KvnRatePdf, ReportOfABatch) {
    std::string batch = "[";
    for (int i = 0; i < 5; ++i) batch += std::string(i ? "," : "") + (i % 2 ? kGlycol : kWater);
    batch += "]";
    const std::string in = File("batch.json", batch);
    const std::string pdf = File("report.pdf");
    ASSERT_EQ(Status("'" + exe_ + "' --report '" + pdf + "' '" + in + "' > /dev/null 2>&1"), 0);
    EXPECT_NE(Shell("pdfinfo '" + pdf + "'").find("Pages:           2"), std::string::npos);
    const std::string page1 = Shell("pdftotext -f 1 -l 1 '" + pdf + "' -");
    for (const char* s : {"Customer:", "Northwind Mall", "Altitude:", "2500'", "Type: Glycol - 30%",
                          "Model: 58-CWDM-04824-F", "ENT H2O", "ENT GLY"})
        EXPECT_NE(page1.find(s), std::string::npos) << s;
    EXPECT_NE(Shell("pdftotext -f 2 -l 2 '" + pdf + "' -").find("Item: AHU-1"), std::string::npos);
}

TEST_F(KvnRatePdf, SheetOfACoilNotRated) {
    const std::string in = File("bad.json", R"({"Application":"W","FPI":"17"})");
    const std::string pdf = File("bad.pdf");
    EXPECT_NE(Status("'" + exe_ + "' --sheet '" + pdf + "' '" + in + "' > /dev/null 2>&1"), 0);
    EXPECT_FALSE(std::filesystem::exists(pdf));
}

TEST_F(KvnRatePdf, ChartInTheFormatOfItsExtension) {
    const std::string in = File("one.json", kWater);
    for (const char* name : {"c.png", "c.svg", "c.pdf"}) {
        const std::string out = File(name);
        ASSERT_EQ(Status("'" + exe_ + "' --chart '" + out + "' '" + in + "' > /dev/null 2>&1"), 0) << name;
        EXPECT_GT(std::filesystem::file_size(out), 5000u) << name;
    }
    // An unknown format, or a coil that was not rated, writes nothing.
    const std::string bad = File("bad.json", R"({"Application":"W","FPI":"17"})");
    for (const auto& [input, name] : {std::pair{in, "c.bmp"}, {bad, "bad.png"}}) {
        EXPECT_NE(Status("'" + exe_ + "' --chart '" + File(name) + "' '" + input + "' > /dev/null 2>&1"), 0)
            << name;
        EXPECT_FALSE(std::filesystem::exists(File(name))) << name;
    }
}

TEST_F(KvnRatePdf, QuietStandardErrorAndTheChartsChoices) {
    // SI texts of the chilled-water coil above (mm, m3/h, C, L/s, m).
    const char* kWaterSi =
        R"({"Application":"W","Pattern":"5","TubeWall":"0.02","FinMat":"A","FinThk":"0.006",
  "FPI":"12","RD":"4","TH":"16","FL":"1219.2","Circuits":"16","Altitude":"762","Acfm":"3398.0","EatDb":"26.6667",
  "EatWb":"19.4444","EntFluidTemp":"7.2222","Gpm":"1.2618","Item":"AHU-1","Project":"Phase 2"})";
    const std::string in = File("one.json", kWater);
    const std::string si = File("si.json", kWaterSi);
    const std::string err = File("stderr.txt");
    // No toolkit notes, even without a runtime directory or a platform.
    const std::string env = "env -u XDG_RUNTIME_DIR -u QT_QPA_PLATFORM -u DISPLAY '" + exe_ + "' ";
    for (const std::string& args :
         {"--sheet '" + File("s.pdf") + "' '" + in + "'", "--report '" + File("r.pdf") + "' '" + in + "'",
          "--chart '" + File("c.png") + "' --dpi 60 '" + in + "'",
          "--units si --chart '" + File("si.svg") + "' --chart-range full --paper a4 '" + si + "'"}) {
        ASSERT_EQ(Status(env + args + " > /dev/null 2> '" + err + "'"), 0) << args;
        EXPECT_EQ(std::filesystem::file_size(err), 0u) << args << Shell("cat '" + err + "'");
    }
    const std::string svg = Shell("cat '" + File("si.svg") + "'");
    for (const char* s : {"width=\"271.526mm\"", "Dry bulb, °C",
                          "AHU-1, Chilled Water 58-CWDM-04824-F, Phase 2, 762 m altitude", ">50<", ">30<"})
        EXPECT_NE(svg.find(s), std::string::npos) << s;
    EXPECT_EQ(svg.find("°F"), std::string::npos);
    EXPECT_NE(Shell("file '" + File("c.png") + "'").find("600 x 450"), std::string::npos);
    // Values the options do not take.
    for (const char* args : {"--dpi 20", "--dpi 3x", "--chart-range all", "--paper legal"})
        EXPECT_EQ(Status("'" + exe_ + "' " + args + " --chart '" + File("x.png") + "' '" + in +
                         "' > /dev/null 2>&1"),
                  1)
            << args;
}

// In SI the sheet and the report read in SI only: no inch-pound unit is left
// on the page (the catalogue's designations, such as fins per inch, aside).
TEST_F(KvnRatePdf, SiSheetAndReportHoldNoInchPoundUnit) {
    const std::string batch =
        R"([{"Application":"W","Pattern":"5","TubeWall":"0.02","FinMat":"A","FinThk":"0.006","FPI":"12",
        "RD":"4","TH":"16","FL":"1219.2","Circuits":"16","Altitude":"762","Acfm":"3398","EatDb":"26.67",
        "EatWb":"19.44","EntFluidTemp":"7.22","Gpm":"1.26","Item":"CC-1"},
        {"Application":"S","Pattern":"5","TubeWall":"0.035","FinMat":"A","FinThk":"0.006","FPI":"10",
        "RD":"1","TH":"16","FL":"1219.2","Altitude":"0","Acfm":"3398","EatDb":"4.44","SteamPressure":"34.5",
        "Item":"HC-1"}])";
    const std::string in = File("si.json", batch);
    const std::string sheet = File("si-sheet.pdf"), report = File("si-report.pdf");
    ASSERT_EQ(Status("'" + exe_ + "' --units si --sheet '" + sheet + "' --report '" + report + "' '" + in +
                     "' > /dev/null 2>&1"),
              0);
    for (const std::string& pdf : {sheet, report}) {
        const std::string text = Shell("pdftotext '" + pdf + "' -");
        EXPECT_NE(text.find("°C"), std::string::npos) << pdf;
        for (const char* unit : {"°F", "gpm", "GPM", "Btu", "BTU", "gr/lb", "ft³", "cfm", "CFM", "psig",
                                 "ft/min", "ft/s", "in. w.g.", " Feet"})
            EXPECT_EQ(text.find(unit), std::string::npos) << pdf << ": " << unit;
    }
}

// The report is written as the coils are rated: the same file for any
// number of threads (its creation date aside), each coil's warnings under
// it, and no temporary file left beside it.
TEST_F(KvnRatePdf, ReportWrittenAsRatedIsTheSameForAnyJobsAndListsWarnings) {
    std::string lines;
    for (int i = 0; i < 9; ++i) {
        std::string coil = i % 3 ? kGlycol : kWater;
        // Coil 5: the circuits left blank.
        if (i == 4) coil.replace(coil.find("\"Circuits\":\"16\""), 15, "\"Circuits\":\"\"");
        coil.erase(std::remove(coil.begin(), coil.end(), '\n'), coil.end());
        lines += coil + "\n";
    }
    const std::string in = File("batch.jsonl", lines);
    std::string first;
    for (const char* jobs : {"1", "2", "0"}) {
        const std::string pdf = File(std::string("report") + jobs + ".pdf");
        ASSERT_EQ(
            Status("'" + exe_ + "' --jobs " + jobs + " --report '" + pdf + "' '" + in + "' > /dev/null"), 0);
        const std::string bytes = Shell("grep -av CreationDate '" + pdf + "'");
        if (first.empty()) first = bytes;
        EXPECT_TRUE(bytes == first) << jobs;
    }
    EXPECT_EQ(Shell("ls '" + File("") + "' | wc -l"), "4\n");  // the input and the three reports
    const std::string text = Shell("pdftotext '" + File("report1.pdf") + "' -");
    EXPECT_NE(text.find("Warning, coil 5: Circuits left blank: rated with one circuit"), std::string::npos);
    EXPECT_EQ(text.find("Warning, coil 4"), std::string::npos);
}

TEST_F(KvnRatePdf, SubmittalOfABatchAndOfACoilFile) {
    const std::string in = File("batch.json", std::string("[") + kWater + "," + kGlycol + "]");
    const std::string pdf = File("submittal.pdf"), kvn = File("batch.kvn"), listed = File("listed.pdf");
    ASSERT_EQ(Status("'" + exe_ + "' --submittal '" + pdf + "' --submittal-charts --paper a4 --kvn '" + kvn +
                     "' '" + in + "' > /dev/null 2>&1"),
              0);
    // Cover, schedule, then a sheet and a chart for each coil.
    EXPECT_NE(Shell("pdfinfo '" + pdf + "'").find("Pages:           6"), std::string::npos);
    const std::string cover = Shell("pdftotext -f 1 -l 1 '" + pdf + "' -");
    for (const char* s : {"Northwind Mall", "Phase 2", "12/08/2026", "Page 1 of 6"})
        EXPECT_NE(cover.find(s), std::string::npos) << s;
    const std::string schedule = Shell("pdftotext -layout -f 2 -l 2 '" + pdf + "' -");
    for (const char* s : {"AHU-1", "AHU-2", "58-CWDM-04824-F", "Page 2 of 6"})
        EXPECT_NE(schedule.find(s), std::string::npos) << s;
    EXPECT_NE(Shell("pdftotext -f 5 -l 5 '" + pdf + "' -").find("AHU-2"), std::string::npos);
    // A coil file keeps no ratings: its package is the cover and the schedule.
    ASSERT_EQ(Status("'" + exe_ + "' --list '" + kvn + "' --submittal '" + listed + "' > /dev/null 2>&1"), 0);
    EXPECT_NE(Shell("pdftotext -f 2 -l 2 '" + listed + "' -").find("Page 2 of 2"), std::string::npos);
}

namespace {

// The 40-row mixed schedule written as a workbook: numeric cells as
// numbers, the rest as texts, as a spreadsheet program saves them.
void WriteFixtureWorkbook(const std::string& path) {
    std::ifstream in(std::string(KVN_SOURCE_DIR) + "/tests/data/schedule-40.csv", std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    lxw_workbook* book = workbook_new(path.c_str());
    lxw_worksheet* sheet = workbook_add_worksheet(book, nullptr);
    const auto rows = kvn::csv::ParseCsv(text);
    for (std::size_t r = 0; r < rows.size(); ++r)
        for (std::size_t c = 0; c < rows[r].size(); ++c) {
            const std::string& t = rows[r][c];
            const auto row = static_cast<lxw_row_t>(r);
            const auto col = static_cast<lxw_col_t>(c);
            if (t.empty()) continue;
            char* end = nullptr;
            const double v = std::strtod(t.c_str(), &end);
            if (r > 0 && end && *end == '\0' && t.find('|') == std::string::npos)
                worksheet_write_number(sheet, row, col, v, nullptr);
            else
                worksheet_write_string(sheet, row, col, t.c_str(), nullptr);
        }
    ASSERT_EQ(workbook_close(book), LXW_NO_ERROR);
}

}  // namespace

// A schedule workbook to the submittal package, the export and the coil
// file in one command: every row's coil, in row order, tagged, the cover
// from the schedule's columns.
TEST_F(KvnRatePdf, ScheduleWorkbookToSubmittalAndExportInOneCommand) {
    const std::string schedule = File("schedule-40.xlsx"), pdf = File("package.pdf"),
                      xlsx = File("package.xlsx"), kvn = File("package.kvn");
    WriteFixtureWorkbook(schedule);
    const ShellRun run = RunShell("'" + exe_ + "' --schedule '" + schedule + "' --jobs 0 --export '" + xlsx +
                                  "' --submittal '" + pdf + "' --kvn '" + kvn + "' 2>&1");
    ASSERT_EQ(run.status, 0) << run.out.substr(0, 2000);
    std::vector<std::string> tags;
    std::istringstream lines(run.out);
    for (std::string line; std::getline(lines, line);) {
        const auto at = line.find("\"Tag\":\"");
        if (at != std::string::npos) tags.push_back(line.substr(at + 7, line.find('"', at + 7) - at - 7));
    }
    ASSERT_EQ(tags.size(), 40u);
    // The export: a row a coil, in row order.
    std::ifstream in(xlsx, std::ios::binary);
    const auto sheet = kvn::xlsx::ReadFirstSheet(
        std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()));
    ASSERT_EQ(sheet.size(), 42u);
    for (std::size_t i = 0; i < tags.size(); ++i) EXPECT_EQ(sheet[2 + i].cells.at(0), tags[i]);
    // The package: cover, schedule, a sheet a coil, "Page x of N" of the whole.
    const std::string info = Shell("pdfinfo '" + pdf + "'");
    const auto pagesAt = info.find("Pages:");
    ASSERT_NE(pagesAt, std::string::npos);
    const int pages = std::stoi(info.substr(pagesAt + 6));
    const std::string front =
        Shell("pdftotext -layout -f 1 -l " + std::to_string(pages - 40) + " '" + pdf + "' -");
    EXPECT_GE(pages, 42);
    const std::string pageOne = "Page 1 of " + std::to_string(pages);
    for (const char* s : {pageOne.c_str(), "Harbour Street offices", "Example Mechanical", "A. Example"})
        EXPECT_NE(front.find(s), std::string::npos) << s;
    for (const std::string& tag : tags) EXPECT_NE(front.find(tag), std::string::npos) << tag;
    EXPECT_NE(
        Shell("pdftotext -f " + std::to_string(pages) + " -l " + std::to_string(pages) + " '" + pdf + "' -")
            .find(tags.back()),
        std::string::npos);
    // The coil file: the same coils, tagged.
    const std::string listed = Shell("'" + exe_ + "' --list '" + kvn + "'");
    for (const std::string& tag : tags) EXPECT_NE(listed.find("\"" + tag + "\""), std::string::npos) << tag;
}

// A schedule row without a coil is listed in the package after the
// schedule, with the reason, so that the package says what it lacks.
TEST_F(KvnRatePdf, SubmittalListsTheRowsLeftOut) {
    const std::string schedule =
        File("left.csv",
             "Tag,Application,TH,FL,Acfm,EatDb,EatWb,EntFluidTemp,Gpm,RD,FPI,TotalBtuh,LatDbMax\n"
             "ok,W,16,48,2000,80,67,45,20,4,12,30000,\n"
             "none,W,16,48,2000,80,67,45,20,1,6,900000,40\n"
             "text,W,16,48,2 000,80,67,45,20,4,12,30000,\n");
    const std::string pdf = File("left.pdf");
    EXPECT_EQ(
        Status("'" + exe_ + "' --schedule '" + schedule + "' --submittal '" + pdf + "' > /dev/null 2>&1"), 2);
    const std::string front = Shell("pdftotext -f 2 -l 2 '" + pdf + "' -");
    for (const char* s :
         {"Not selected", "none", "no coil meets the duty (the closest: total capacity", "text"})
        EXPECT_NE(front.find(s), std::string::npos) << s;
}
