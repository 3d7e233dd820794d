// The sheet and the report written as PDF: texts found by pdftotext and the
// sheet's columns where their twips put them. KVN_REPORT_OUT names a folder
// to keep the files in for a look.
#include <gtest/gtest.h>

#include <QDir>
#include <QPrinter>
#include <QTemporaryDir>
#include <array>
#include <cstdio>
#include <fstream>
#include <regex>
#include <sstream>

#include "files/save_row.h"
#include "reports/multi_coil_report.h"
#include "reports/output.h"
#include "reports/sheet_fixtures.h"
#include "shell.h"

namespace {

class PdfOutput : public ::testing::Test {
protected:
    QString Path(const QString& name) {
        const QByteArray keep = qgetenv("KVN_REPORT_OUT");
        if (!keep.isEmpty()) {
            QDir().mkpath(QString::fromLocal8Bit(keep));
            return QString::fromLocal8Bit(keep) + "/" + name;
        }
        return dir_.filePath(name);
    }
    QTemporaryDir dir_;
};

// Left edge in points of the first word `word` on the page, from
// pdftotext's bounding boxes; -1 when absent.
double WordX(const std::string& bbox, const std::string& word) {
    const std::regex re("<word xMin=\"([0-9.]+)\"[^>]*>" + word + "</word>");
    std::smatch m;
    return std::regex_search(bbox, m, re) ? std::stod(m[1]) : -1;
}

// The page's size and the boxes of all its words, in points.
struct Boxes {
    double width = 0, height = 0;
    std::vector<std::array<double, 4>> words;  // xMin, yMin, xMax, yMax
};
Boxes WordBoxes(const std::string& bbox) {
    Boxes b;
    std::smatch m;
    if (std::regex_search(bbox, m, std::regex("<page width=\"([0-9.]+)\" height=\"([0-9.]+)\""))) {
        b.width = std::stod(m[1]);
        b.height = std::stod(m[2]);
    }
    const std::regex re("<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\" xMax=\"([0-9.]+)\" yMax=\"([0-9.]+)\"");
    for (auto it = std::sregex_iterator(bbox.begin(), bbox.end(), re); it != std::sregex_iterator(); ++it)
        b.words.push_back(
            {std::stod((*it)[1]), std::stod((*it)[2]), std::stod((*it)[3]), std::stod((*it)[4])});
    return b;
}

// Checks that the sheet's columns keep their twips relative to each other
// (one scale for all, at most 1) and that no word comes closer than a
// quarter inch to a paper edge. Returns the scale.
double CheckSheetPlacement(const std::string& bbox, const std::string& what) {
    const double version = WordX(bbox, "Version");
    const double k = (WordX(bbox, "LIQUID") - version) / ((6750 - 4500) / 20.0);
    EXPECT_LE(k, 1.0) << what;
    for (const auto& [word, twips] : {std::pair{"DEEP", 9500}, {"Inches", 8500}, {"SFPM", 5750}})
        EXPECT_NEAR(WordX(bbox, word), version + k * (twips - 4500) / 20.0, 0.5) << what << " " << word;
    const Boxes b = WordBoxes(bbox);
    EXPECT_GT(b.words.size(), 100u) << what;
    for (const auto& w : b.words) {
        EXPECT_GE(w[0], 18 - 0.05) << what;
        EXPECT_GE(w[1], 18 - 0.05) << what;
        EXPECT_LE(w[2], b.width - 18 + 0.05) << what;
        EXPECT_LE(w[3], b.height - 18 + 0.05) << what;
    }
    return k;
}

}  // namespace

TEST_F(PdfOutput, SheetOfEveryCoilType) {
    for (const char* type : {"W", "G", "S", "E", "C"}) {
        auto c = fixtures::Rated(type);
        c.rating.Altitude = 2500;
        c.texts.txtNotes = "Coil casing 16 gauge galvanized steel; drain pan by others.";
        c.texts.txtCPS = {"2", "1", "2", ""};
        const QString path = Path(QString("sheet_%1.pdf").arg(type));
        ASSERT_TRUE(reports::WriteSheetPdf(path, c.coilSpec, c.rating, c.texts));
        const std::string p = path.toStdString();
        const std::string text = Shell("pdftotext -layout '" + p + "' -");
        EXPECT_NE(text.find("COIL CONSTRUCTION"), std::string::npos) << type;
        EXPECT_NE(text.find("Northwind Mall"), std::string::npos);
        EXPECT_NE(text.find(reports::CoilCaption(type, c.rating)), std::string::npos);
        EXPECT_NE(text.find("NO. OF COILS PER SYSTEM:"), std::string::npos);
        EXPECT_NE(text.find("____"), std::string::npos);
        EXPECT_NE(text.find("Air-Heating Coils Certification Program."), std::string::npos);
        EXPECT_NE(Shell("pdfinfo '" + p + "'").find("Pages:           1"), std::string::npos);

        // Columns where their twips say, from the quarter-inch margin, the
        // whole sheet scaled to the page: 8 in. of room on Letter for its
        // 8 1/4 in.; on A4 a little less.
        const std::string bbox = Shell("pdftotext -bbox '" + p + "' -");
        EXPECT_NEAR(CheckSheetPlacement(bbox, type), 11520.0 / 11880, 0.001);
        EXPECT_NEAR(WordX(bbox, "Fin"), 18, 0.5);

        const QString a4 = Path(QString("sheet_%1_a4.pdf").arg(type));
        ASSERT_TRUE(reports::WriteSheetPdf(a4, c.coilSpec, c.rating, c.texts, QPageSize(QPageSize::A4)));
        EXPECT_LT(CheckSheetPlacement(Shell("pdftotext -bbox '" + a4.toStdString() + "' -"),
                                      type + std::string(" A4")),
                  0.95);
    }
}

TEST_F(PdfOutput, FiveCoilReport) {
    SavedCoilTable t;
    const char* types[] = {"W", "G", "E", "C", "S"};
    for (int i = 0; i < 5; ++i) {
        auto c = fixtures::Rated(types[i]);
        c.rating.Altitude = 2000;
        SaveRowTexts texts{
            "1", "58-CWDM-04830-H", "AHU-" + std::to_string(i + 1), CoilTypeWord(types[i]), "5", ".020"};
        AppendSavedCoil(t, c.coilSpec, c.rating, texts);
    }
    const auto doc = reports::BuildMultiCoilReport(t, {"Northwind Mall", "Phase 2", "12/08/2026"});
    const QString path = Path("report5.pdf");
    ASSERT_TRUE(reports::WriteReportPdf(path, *doc));
    const std::string p = path.toStdString();
    EXPECT_NE(Shell("pdfinfo '" + p + "'").find("Pages:           2"), std::string::npos);
    const std::string page1 = Shell("pdftotext -f 1 -l 1 '" + p + "' -");
    const std::string page2 = Shell("pdftotext -f 2 -l 2 '" + p + "' -");
    for (const char* s : {"Customer:", "Northwind Mall", "Altitude:", "2000'", "SENSIBLE", "Item: AHU-4",
                          "Type: Glycol - 30%", "RFRG"}) {
        EXPECT_NE(page1.find(s), std::string::npos) << s;
    }
    EXPECT_EQ(page1.find("AHU-5"), std::string::npos);
    EXPECT_NE(page2.find("Item: AHU-5"), std::string::npos);
    EXPECT_NE(page2.find("ENT STEAM TEMP."), std::string::npos);
    EXPECT_NE(page2.find("Customer:"), std::string::npos);
}

// The printer path: the same drawing through a QPrinter (here one writing
// PDF), the sheet from the printable area's corner, the report full page.
TEST_F(PdfOutput, ThroughAPrinter) {
    auto c = fixtures::Rated("W");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(Path("printer_sheet.pdf"));
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageMargins(QMarginsF(5, 5, 5, 5), QPageLayout::Point);  // a printer that prints near the edge
    reports::PrepareSheetPrinter(printer);
    const double left = printer.pageLayout().paintRect(QPageLayout::Point).left();
    EXPECT_EQ(left, 18);
    ASSERT_TRUE(reports::PaintSheet(printer, c.coilSpec, c.rating, c.texts));
    const std::string sheet = Shell("pdftotext -bbox '" + printer.outputFileName().toStdString() + "' -");
    const double k = CheckSheetPlacement(sheet, "printer");
    EXPECT_NEAR(WordX(sheet, "Version"), left + k * 4500 / 20.0, 0.5);

    SavedCoilTable t;
    for (int i = 0; i < 5; ++i)
        AppendSavedCoil(t, c.coilSpec, c.rating,
                        {"1", "M", "AHU-" + std::to_string(i + 1), "Water", "5", ".020"});
    const auto doc = reports::BuildMultiCoilReport(t, {"Northwind Mall", "Phase 2", "12/08/2026"});
    QPrinter reportPrinter(QPrinter::HighResolution);
    reportPrinter.setOutputFormat(QPrinter::PdfFormat);
    reportPrinter.setOutputFileName(Path("printer_report.pdf"));
    reports::PrepareReportPrinter(reportPrinter, doc->Page());
    ASSERT_TRUE(doc->Print(reportPrinter));
    const std::string p = reportPrinter.outputFileName().toStdString();
    EXPECT_NE(Shell("pdfinfo '" + p + "'").find("Pages:           2"), std::string::npos);
    // The header table's third column starts at the margin plus 2u + u.
    EXPECT_NEAR(WordX(Shell("pdftotext -bbox '" + p + "' -"), "Customer:"), (720 + 3 * 2160 + 40) / 20.0,
                0.5);
}
