// The submittal package as a PDF: its pages are the cover, the schedule
// (as many pages as the coils take), one sheet a coil and, with charts, one
// chart a coil; the front pages number the whole package, in the package's
// units.
#include "reports/submittal.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QString>
#include <filesystem>

#include "common/calc_driver.h"
#include "files/save_row.h"
#include "sample_coils.h"
#include "shell.h"

using units::System;

namespace {

// `count` rated coils, the types in turn, tagged "CC-1-1" and so on.
std::vector<reports::SubmittalCoil> Coils(std::size_t count) {
    const auto types = TaggedCoilsOfEveryType();
    std::vector<reports::SubmittalCoil> coils;
    for (std::size_t i = 0; i < count; ++i) {
        const auto& [tag, fields] = types[i % types.size()];
        reports::SubmittalCoil c;
        const CalcResult r = CalcPerform(fields, kAirFlowAcfm, c.coilSpec, c.rating);
        EXPECT_TRUE(r.ok()) << tag;
        const std::string item = tag + "-" + std::to_string(i / types.size() + 1);
        const SaveRowTexts texts{
            "1", "", item, CoilTypeWord(c.coilSpec.Application), fields.at("Pattern"), fields.at("TubeWall")};
        c.line = kvn::exchange::ExportCoilOf(c.coilSpec, c.rating, texts, r.warnings);
        c.texts.txtHdr = {"12/09/2026", item, "", "Acme Mechanical", "Northwind Mall"};
        c.texts.coilType = fields.at("Application");
        c.texts.tubeOD = fields.at("Pattern");
        for (const CoilWarning& w : r.warnings) c.texts.warnings.push_back(w.text);
        coils.push_back(std::move(c));
    }
    return coils;
}

std::string PageText(const std::string& pdf, int page) {
    const std::string n = std::to_string(page);
    return Shell("pdftotext -layout -f " + n + " -l " + n + " '" + pdf + "' -");
}

struct Case {
    System system;
    bool charts;
    bool a4;
    std::size_t coils;
};

class Submittal : public ::testing::TestWithParam<Case> {};

}  // namespace

TEST_P(Submittal, PagesAreNumberedAcrossThePackageInItsUnits) {
    const Case k = GetParam();
    const reports::SubmittalHeader header{
        "Northwind Mall", "Acme Mechanical", "J. Rivera", "12/09/2026", k.system, k.a4, k.charts, {}};
    const auto coils = Coils(k.coils);
    const auto front = reports::BuildSubmittalFront(header, coils);
    // A long list takes more than one schedule page; a short one, one.
    EXPECT_EQ(front->PageCount() > 2, k.coils > 45) << front->PageCount();
    const int total = reports::SubmittalPageCount(*front, header, coils);
    EXPECT_EQ(total, front->PageCount() + static_cast<int>(k.coils) * (k.charts ? 2 : 1));

    const std::string pdf =
        std::filesystem::temp_directory_path() / ("kvn-submittal-" + std::to_string(::getpid()) + ".pdf");
    ASSERT_TRUE(reports::WriteSubmittalPdf(QString::fromStdString(pdf), header, coils));
    const std::string info = Shell("pdfinfo '" + pdf + "'");
    EXPECT_NE(info.find("Pages:           " + std::to_string(total) + "\n"), std::string::npos) << info;
    EXPECT_NE(info.find(k.a4 ? "(A4)" : "(letter)"), std::string::npos) << info;

    const std::string cover = PageText(pdf, 1);
    for (const char* s : {"Coil Submittal", "Northwind Mall", "Acme Mechanical", "J. Rivera", "12/09/2026"})
        EXPECT_NE(cover.find(s), std::string::npos) << s;
    const bool si = k.system == System::SI;
    for (int p = 1; p <= front->PageCount(); ++p) {
        const std::string text = PageText(pdf, p);
        EXPECT_NE(text.find(reports::PageOfText(p, total)), std::string::npos) << p;
        if (p == 1) continue;
        EXPECT_NE(text.find("Coil Schedule"), std::string::npos) << p;
        EXPECT_NE(text.find(si ? "kW" : "Btu/h"), std::string::npos) << p;
        EXPECT_EQ(text.find(si ? "°F" : "°C"), std::string::npos) << p;
    }
    // Each coil's sheet follows, tagged with its item; no page number on it.
    const int firstSheet = front->PageCount() + 1;
    const std::string sheet = PageText(pdf, firstSheet + (k.charts ? 2 : 1));
    EXPECT_NE(sheet.find("HC-2-1"), std::string::npos);
    EXPECT_EQ(sheet.find("Page "), std::string::npos);
    EXPECT_NE(sheet.find(si ? "°C" : "ºF"), std::string::npos);
    if (k.charts) {
        EXPECT_NE(PageText(pdf, firstSheet + 1).find("Psychrometric chart: CC-1-1"), std::string::npos);
    }
    std::filesystem::remove(pdf);
}

INSTANTIATE_TEST_SUITE_P(UnitsPaperCharts, Submittal,
                         ::testing::Values(Case{System::InchPound, false, false, 6},
                                           Case{System::SI, true, true, 6},
                                           Case{System::SI, false, false, 60},
                                           Case{System::InchPound, true, true, 50}));
