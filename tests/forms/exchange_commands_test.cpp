// File "Export List...", "Print Submittal..." and "Save Submittal as
// PDF..." over the Saved Coils list.
#include "forms/exchange_commands.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QMenu>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "engine/msgbox.h"
#include "exchange/csv.h"
#include "files/save_row.h"
#include "forms/Form1.h"
#include "files/saved_coils.h"
#include "forms/printer.h"

namespace {

class ExchangeCommands : public ::testing::Test {
protected:
    void SetUp() override {
        document.table.Reset();
        SetPrinterPort(&printer);
        form.show();
        QApplication::processEvents();
    }
    void TearDown() override {
        SetPrinterPort(nullptr);
        document.table.Reset();
    }

    // Rates a chilled-water coil and saves it as `item`.
    void SaveWaterCoil(const std::string& item) {
        form.optCoil_Click(2);
        form.Command1_Click(0);
        auto* tube = form.findChild<QComboBox*>("cboTubeOD");
        const int i = tube->findText("5");
        tube->setCurrentIndex(i);
        emit tube->activated(i);
        for (auto [name, text] : {std::pair{"txtFPI", "12"},
                                  {"txtRows", "4"},
                                  {"txtTH", "16"},
                                  {"txtFL", "48"},
                                  {"txtCircuits", "16"},
                                  {"txtProperty(1)", "2000"},
                                  {"txtProperty(4)", "80"},
                                  {"txtProperty(5)", "67"},
                                  {"txtProperty(6)", "45"},
                                  {"txtProperty(7)", "20"}})
            form.SetFieldText(name, text);
        form.SetFieldText("txtHdr(1)", item);
        form.SetFieldText("txtHdr(4)", "Northwind Mall");
        form.cmdSave_Click();
    }

    RecordingMessageSink sink;
    ScopedMessageSink scope{sink};
    RecordingPrinter printer;
    CoilDocument document;
    Form1 form{document};
};

}  // namespace

TEST_F(ExchangeCommands, SubmittalHasASheetForEachCoilSavedThisSession) {
    QAction* print = form.Action("mnuFilePrintSubmittal");
    QAction* save = form.Action("mnuFileSaveSubmittal");
    ASSERT_TRUE(print && save && form.Action("mnuFileExport"));
    // Nothing saved: said, and nothing printed.
    print->trigger();
    EXPECT_TRUE(printer.jobs.empty());
    ASSERT_EQ(sink.shown.size(), 1u);

    SaveWaterCoil("CC-1");
    SaveWaterCoil("CC-2");
    // A coil known only by its row (read from a coil file) has no sheet.
    AppendSavedCoil(document.table, CoilSpec{}, CoilRating{}, {"", "", "CC-3", "Water", "5", ""});
    print->trigger();
    ASSERT_EQ(printer.jobs.size(), 1u);
    EXPECT_EQ(printer.jobs[0].kind, "submittal");
    EXPECT_EQ(printer.jobs[0].pdfFile, "");
    EXPECT_EQ(printer.jobs[0].pages, 2 + 2);  // cover, schedule, two sheets

    form.SetUnitSystem(units::System::SI);
    printer.pdfAnswer = "submittal.pdf";
    save->trigger();
    ASSERT_EQ(printer.jobs.size(), 2u);
    EXPECT_EQ(printer.jobs[1].pdfFile, "submittal.pdf");
    const auto& heads = printer.jobs[1].firstTableRows;  // the schedule's headings and units
    ASSERT_EQ(heads.size(), 2u);
    EXPECT_EQ(heads[1][11], "kW");
    printer.pdfAnswer.clear();
    save->trigger();  // cancelled
    EXPECT_EQ(printer.jobs.size(), 2u);

    // The File menu's letters stay its own.
    std::set<QChar> letters;
    for (QAction* a : form.findChild<QMenu*>("mnuFile")->actions()) {
        const int amp = a->text().indexOf('&');
        if (amp < 0) continue;
        EXPECT_TRUE(letters.insert(a->text().at(amp + 1).toLower()).second) << a->text().toStdString();
    }
}

TEST_F(ExchangeCommands, ExportedListHasEachCoilWithItsWarnings) {
    SaveWaterCoil("CC-1");
    form.SetFieldText("txtCircuits", "");
    form.SetFieldText("txtHdr(1)", "CC-2");
    form.cmdSave_Click();
    ASSERT_EQ(document.table.CoilCount(), 2);
    const std::string path =
        (std::filesystem::temp_directory_path() / ("kvn-list-" + std::to_string(::getpid()) + ".csv"))
            .string();
    std::string error;
    ASSERT_TRUE(ExportSavedCoils(document, units::System::SI, path, error)) << error;
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    std::filesystem::remove(path);
    const auto rows = kvn::csv::ParseCsv(text.str());
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[2][0], "CC-1");
    EXPECT_EQ(rows[3][0], "CC-2");
    EXPECT_EQ(rows[2].back(), "");
    EXPECT_NE(rows[3].back().find("Circuits left blank"), std::string::npos) << rows[3].back();
    EXPECT_EQ(rows[1][20], "kW");
}
