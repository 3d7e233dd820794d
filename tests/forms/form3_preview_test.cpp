// The print preview window and the print commands of the coil selection
// window, with a recording printer in place of the real one.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPrintPreviewWidget>
#include <QPushButton>

#include "files/save_row.h"
#include "forms/Form1.h"
#include "forms/Form3.h"
#include "forms/printer.h"

namespace {

void AddCoils(SavedCoilTable& t, int n, const std::string& word = "Water") {
    for (int i = 0; i < n; ++i) {
        CoilSpec coilSpec;
        coilSpec.RD = 4;
        coilSpec.FPI = 12;
        CoilRating rating;
        rating.EatDb = 80;
        rating.Altitude = 2500;
        SaveRowTexts texts{"1", "58-CWDM-04830-H", "AHU-" + std::to_string(i + 1), word, "5", ".020"};
        AppendSavedCoil(t, coilSpec, rating, texts);
    }
}

class PrintCommands : public ::testing::Test {
protected:
    void SetUp() override {
        SetPrinterPort(&printer);
        document.table.Reset();
    }
    void TearDown() override {
        SetPrinterPort(nullptr);
        document.table.Reset();
    }
    RecordingPrinter printer;
    CoilDocument document;
};

using Form3Test = PrintCommands;

}  // namespace

TEST_F(Form3Test, LoadsTheReportWithZoomAt75) {
    SavedCoilTable t;
    AddCoils(t, 5);
    Form3 form(t, {"Northwind Mall", "Phase 2", "12/08/2026"}, {});
    EXPECT_EQ(form.windowTitle(), "Print Preview");
    EXPECT_EQ(form.Document().PageCount(), 2);
    EXPECT_DOUBLE_EQ(form.PageHeaderUnit(), 2160);
    EXPECT_EQ(form.Document().PageAt(0).tables[0].rows[0][3], "Northwind Mall");
    ASSERT_EQ(form.cmbZoom->count(), 8);
    EXPECT_EQ(form.cmbZoom->itemText(0), "25%");
    EXPECT_EQ(form.cmbZoom->itemText(7), "200%");
    EXPECT_EQ(form.cmbZoom->currentText(), "75%");
    EXPECT_EQ(form.cmbZoom->toolTip(), "Zoom Factor");
    EXPECT_DOUBLE_EQ(form.vsPrinter1->zoomFactor(), 0.75);
    const char* captions[] = {"&Print", "&<-", "-&>", "&Close"};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(form.Command1[i]->text(), captions[i]);
    EXPECT_EQ(form.findChild<QPrintPreviewWidget*>("vsPrinter1"), form.vsPrinter1);
}

TEST_F(Form3Test, ZoomListAndPreviewFollowEachOther) {
    SavedCoilTable t;
    AddCoils(t, 1);
    Form3 form(t, {}, {});
    form.cmbZoom->setCurrentIndex(7);
    form.cmbZoom_Click();
    EXPECT_DOUBLE_EQ(form.vsPrinter1->zoomFactor(), 2.0);
    EXPECT_EQ(form.cmbZoom->currentText(), "200%");  // the change notification agrees
    // Zoom changed on the preview itself: the list follows once it repaints.
    form.show();
    auto zoomTo = [&](double factor) {
        form.vsPrinter1->setZoomFactor(factor);
        QApplication::processEvents();
        return form.cmbZoom->currentText().toStdString();
    };
    EXPECT_EQ(zoomTo(0.5), "50%");
    EXPECT_EQ(zoomTo(1.25), "125%");
    EXPECT_EQ(zoomTo(0.6), "50%");  // between steps: the nearest item
    EXPECT_EQ(zoomTo(3.0), "50%");  // beyond the list: left as it is
    EXPECT_EQ(zoomTo(0.1), "50%");
}

TEST_F(Form3Test, PageButtonsStayWithinTheDocument) {
    SavedCoilTable t;
    AddCoils(t, 9);
    Form3 form(t, {}, {});
    form.show();
    form.vsPrinter1->updatePreview();
    ASSERT_EQ(form.vsPrinter1->pageCount(), 3);
    EXPECT_EQ(form.vsPrinter1->currentPage(), 1);
    EXPECT_EQ(form.lblPage->text(), "Page 1 of 3");
    form.Command1_Click(1);
    EXPECT_EQ(form.vsPrinter1->currentPage(), 1);
    form.Command1_Click(2);
    EXPECT_EQ(form.lblPage->text(), "Page 2 of 3");
    form.Command1_Click(2);
    EXPECT_EQ(form.vsPrinter1->currentPage(), 3);
    EXPECT_EQ(form.lblPage->text(), "Page 3 of 3");
    form.Command1_Click(2);
    EXPECT_EQ(form.vsPrinter1->currentPage(), 3);
    form.Command1_Click(1);
    EXPECT_EQ(form.vsPrinter1->currentPage(), 2);
    form.Command1_Click(3);
    EXPECT_FALSE(form.isVisible());
}

TEST_F(Form3Test, ResizeRule) {
    SavedCoilTable t;
    Form3 form(t, {}, {});
    form.resize(1000, 800);
    form.show();
    const double tpp = 1440.0 / form.logicalDpiX();
    EXPECT_NEAR(form.vsPrinter1->width(), 1000 - 300 / tpp, 1);
    EXPECT_NEAR(form.vsPrinter1->height(), 800 - 1300 / tpp, 1);
    EXPECT_EQ(form.Frame1->width(), form.vsPrinter1->width());
    EXPECT_LE(form.Frame1->geometry().bottom(), form.vsPrinter1->geometry().top());
    // Never narrower than the button bar needs, nor without a preview.
    form.resize(20, 20);
    EXPECT_GE(form.Frame1->width(), form.Frame1->sizeHint().width());
    EXPECT_GT(form.vsPrinter1->height(), 0);
}

TEST_F(PrintCommands, ReportPrintsOnThePrinterOrIntoANamedPdf) {
    AddCoils(document.table, 5, "Glycol");
    PrintMultiCoilReport(document.table, nullptr);
    ASSERT_EQ(printer.jobs.size(), 1u);
    EXPECT_EQ(printer.jobs[0].kind, "report");
    EXPECT_EQ(printer.jobs[0].pages, 2);
    EXPECT_TRUE(printer.jobs[0].pdfFile.isEmpty());
    EXPECT_EQ(printer.askCount, 0);

    // No printer installed: a file name is asked for; cancelling prints nothing.
    printer.hasPrinter = false;
    PrintMultiCoilReport(document.table, nullptr);
    EXPECT_EQ(printer.askCount, 1);
    EXPECT_EQ(printer.jobs.size(), 1u);
    printer.pdfAnswer = "/tmp/coils.pdf";
    SavedCoilTable t;
    AddCoils(t, 1);
    Form3 form(t, {}, {});
    form.Command1_Click(0);
    ASSERT_EQ(printer.jobs.size(), 2u);
    EXPECT_EQ(printer.jobs[1].pdfFile, "/tmp/coils.pdf");
    EXPECT_EQ(printer.jobs[1].pages, 1);
}

TEST_F(PrintCommands, Form1FinishSetupAndPrint) {
    Form1 f(document);
    f.coilSpec.Application = "W";
    f.coilSpec.RD = 4;
    f.coilRating.EatDb = 80;
    f.coilRating.EntFluidTemp = 45;
    f.SetFieldText("cboCoilType", "W");
    f.SetFieldText("txtHdr(3)", "Northwind Mall");
    f.SetFieldText("txtHdr(1)", "AHU-7");
    f.SetFieldText("txtCPS(0)", "3");
    f.SetFieldText("txtNotes", "Drain pan by others.");

    f.cmdFinish_Click();
    ASSERT_EQ(printer.jobs.size(), 1u);
    const auto& sheet = printer.jobs[0].sheet;
    auto has = [&](const std::string& text) {
        for (const auto& i : sheet)
            if (i.text == text) return true;
        return false;
    };
    EXPECT_TRUE(has("Northwind Mall"));
    EXPECT_TRUE(has("AHU-7"));
    EXPECT_TRUE(has("Chilled Water"));
    EXPECT_TRUE(has("   3"));
    EXPECT_TRUE(has("Drain pan by others."));
    // Finish can be pressed again.
    f.cmdFinish_Click();
    EXPECT_EQ(printer.jobs.size(), 2u);

    f.mnuFilePrintSetup_Click();
    EXPECT_EQ(printer.setupCount, 1);

    // File "&Print..." prints the saved coils without showing them; with
    // none saved there is nothing to print.
    f.mnuFilePrint_Click();
    EXPECT_EQ(printer.jobs.size(), 2u);
    AddCoils(document.table, 2);
    f.mnuFilePrint_Click();
    ASSERT_EQ(printer.jobs.size(), 3u);
    EXPECT_EQ(printer.jobs[2].kind, "report");
    EXPECT_EQ(printer.jobs[2].firstTableRows[1][0], "1");
    const auto header = f.ReportHeader();
    EXPECT_EQ(header.customer, "Northwind Mall");
}
