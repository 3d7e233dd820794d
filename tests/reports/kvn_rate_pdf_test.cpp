// kvn-rate --sheet and --report: the PDFs exist and hold the expected texts.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>

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
