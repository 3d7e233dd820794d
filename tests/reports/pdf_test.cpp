// The sheet and the report written as PDF: texts found by pdftotext and the
// sheet's columns where their twips put them. KVN_REPORT_OUT names a folder
// to keep the files in for a look.
#include <gtest/gtest.h>

#include <QDir>
#include <QPrinter>
#include <QTemporaryDir>
#include <cstdio>
#include <fstream>
#include <regex>
#include <sstream>

#include "files/save_row.h"
#include "reports/multi_coil_report.h"
#include "reports/output.h"
#include "reports/sheet_fixtures.h"

namespace {

std::string Shell(const std::string& command) {
    std::string out;
    if (FILE* p = popen(command.c_str(), "r")) {
        char buf[4096];
        size_t n;
        while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
        pclose(p);
    }
    return out;
}

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

        // Columns where their twips say: quarter-inch margin + position,
        // 20 twips to the point, within half a point.
        const std::string bbox = Shell("pdftotext -bbox '" + p + "' -");
        EXPECT_NEAR(WordX(bbox, "Version"), 18 + 4500 / 20.0, 0.5);
        EXPECT_NEAR(WordX(bbox, "LIQUID"), 18 + 6750 / 20.0, 0.5);
        EXPECT_NEAR(WordX(bbox, "DEEP"), 18 + 9500 / 20.0, 0.5);
        EXPECT_NEAR(WordX(bbox, "Inches"), 18 + 8500 / 20.0, 0.5);
        EXPECT_NEAR(WordX(bbox, "SFPM"), 18 + 5750 / 20.0, 0.5);
    }
}

TEST_F(PdfOutput, FiveCoilReport) {
    SavedCoilTable t;
    const char* types[] = {"W", "G", "E", "C", "S"};
    for (int i = 0; i < 5; ++i) {
        auto c = fixtures::Rated(types[i]);
        c.rating.Altitude = 2000;
        SaveRowTexts texts{"1", "58-CWDM-04830-H", "AHU-" + std::to_string(i + 1), CoilTypeWord(types[i]), "5", ".020"};
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
    reports::PrepareSheetPrinter(printer);
    const double left = printer.pageLayout().paintRect(QPageLayout::Point).left();
    ASSERT_TRUE(reports::PaintSheet(printer, c.coilSpec, c.rating, c.texts));
    const std::string sheet = Shell("pdftotext -bbox '" + printer.outputFileName().toStdString() + "' -");
    EXPECT_NEAR(WordX(sheet, "Version"), left + 4500 / 20.0, 0.5);

    SavedCoilTable t;
    for (int i = 0; i < 5; ++i)
        AppendSavedCoil(t, c.coilSpec, c.rating, {"1", "M", "AHU-" + std::to_string(i + 1), "Water", "5", ".020"});
    const auto doc = reports::BuildMultiCoilReport(t, {"Northwind Mall", "Phase 2", "12/08/2026"});
    QPrinter reportPrinter(QPrinter::HighResolution);
    reportPrinter.setOutputFormat(QPrinter::PdfFormat);
    reportPrinter.setOutputFileName(Path("printer_report.pdf"));
    reports::PrepareReportPrinter(reportPrinter, doc->Page());
    ASSERT_TRUE(doc->Print(reportPrinter));
    const std::string p = reportPrinter.outputFileName().toStdString();
    EXPECT_NE(Shell("pdfinfo '" + p + "'").find("Pages:           2"), std::string::npos);
    // The header table's third column starts at the margin plus 2u + u.
    EXPECT_NEAR(WordX(Shell("pdftotext -bbox '" + p + "' -"), "Customer:"), (720 + 3 * 2160 + 40) / 20.0, 0.5);
}
