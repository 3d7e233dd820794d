// File, "Import Schedule...": the schedule's rows searched with a status
// each, another alternative chosen, and the chosen coils added to the Saved
// Coils list (and nothing added before).
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QUndoStack>
#include <filesystem>
#include <fstream>
#include <set>
#include <unistd.h>

#include "exchange/schedule.h"
#include "exchange/schedule_template.h"
#include "exchange/xlsx_reader.h"
#include "forms/exchange_commands.h"
#include "forms/list_history.h"
#include "forms/printer.h"
#include "files/save_row.h"
#include "forms/ScheduleWindow.h"
#include "forms/schedule_columns.h"
#include "forms/schedule_command.h"
#include "forms/schedule_model.h"
#include "form1_fixture.h"

namespace {

// The template's rows, a refused row and a row that nothing meets.
kvn::schedule::ScheduleTable Table(units::System system) {
    kvn::schedule::ScheduleTable t;
    t.header = kvn::schedule::TemplateHeader(system);
    int number = 1;
    for (auto& cells : kvn::schedule::TemplateRows(system)) t.rows.push_back({++number, cells, -1});
    std::vector<std::string> bad = t.rows[0].cells, none = t.rows[0].cells;
    bad[0] = "BAD-1";
    bad[13] = "80F";  // EatDb
    none[0] = "BIG-1";
    none[6] = "1";         // RD
    none[7] = "6";         // FPI
    none[22] = "9000000";  // the capacity (TotalBtuh or TotalKW)
    t.rows.push_back({++number, bad, -1});
    t.rows.push_back({++number, none, -1});
    return t;
}

using schedule_window::RowStatus;

}  // namespace

TEST(ScheduleModel, RowsSearchedWithAStatusEachAndTheChosenCoilsAdded) {
    for (const units::System system : {units::System::InchPound, units::System::SI}) {
        schedule_window::ScheduleModel model(Table(system), system);
        EXPECT_EQ(model.StatusText(0), "waiting");
        schedule_window::ScheduleSearch search(model.Table(), system, 2);
        model.SetResults(search.Run());
        EXPECT_EQ(search.Done(), 7);
        for (std::size_t i = 0; i < 5; ++i) {
            EXPECT_EQ(model.Status(i), RowStatus::Meets) << i << model.StatusText(i);
            EXPECT_EQ(model.StatusText(i), "meets");
            EXPECT_EQ(model.Chosen(i), 0);
            EXPECT_FALSE(model.Cells(i)[3].empty());  // the model designation
        }
        EXPECT_EQ(model.Status(5), RowStatus::Refused);
        EXPECT_NE(model.StatusText(5).find("(column EatDb)"), std::string::npos) << model.StatusText(5);
        EXPECT_EQ(model.Status(6), RowStatus::Closest);
        EXPECT_EQ(model.StatusText(6).rfind("closest, misses ", 0), 0u) << model.StatusText(6);
        EXPECT_EQ(model.Chosen(6), -1);
        EXPECT_EQ(model.Choices(6).size(), 1u);
        EXPECT_EQ(model.ChoiceCells(6, 0)[0].rfind("Closest: ", 0), 0u);
        EXPECT_EQ(model.ChosenCount(), 5);

        // Another alternative, and one left out.
        ASSERT_GE(model.Choices(0).size(), 2u);
        model.Choose(0, 1);
        EXPECT_EQ(model.ChoiceCells(0, 1)[0], "2");
        model.Choose(1, -1);
        model.Choose(2, 99);  // no such choice: unchanged
        EXPECT_EQ(model.Chosen(2), 0);

        CoilDocument doc;
        std::string error;
        ASSERT_TRUE(model.AddToSavedCoils(doc, error)) << error;
        ASSERT_EQ(doc.table.CoilCount(), 4);
        const char* tags[] = {"CC-1", "HC-1", "DX-1", "CD-1"};
        for (int r = 0; r < 4; ++r) EXPECT_EQ(CellText(doc.table.At(col::Item, r)), tags[r]);
        const selection::Candidate& second = *model.Choices(0)[1];
        EXPECT_EQ(CellText(doc.table.At(col::Rows, 0)), std::to_string(second.coilSpec.RD));
        EXPECT_EQ(CellText(doc.table.At(col::CoilType, 3)), "Condenser");
    }
}

TEST(ScheduleModel, CancelLeavesTheRowsNotSearched) {
    schedule_window::ScheduleModel model(Table(units::System::InchPound), units::System::InchPound);
    schedule_window::ScheduleSearch search(model.Table(), units::System::InchPound, 2);
    search.Cancel();
    model.SetResults(search.Run());
    for (std::size_t i = 0; i < model.RowCount(); ++i) {
        EXPECT_EQ(model.Status(i), RowStatus::Refused);
        EXPECT_NE(model.StatusText(i).find("cancelled"), std::string::npos);
    }
    CoilDocument doc;
    std::string error;
    EXPECT_TRUE(model.AddToSavedCoils(doc, error));
    EXPECT_EQ(doc.table.CoilCount(), 0);
}

class ScheduleWindowTest : public Form1Test {};

TEST_F(ScheduleWindowTest, SearchesOnShowAndAddsOnlyWhenAsked) {
    // File, after "Import Coils...".
    const QList<QAction*> file = W<QMenu>("mnuFile")->actions();
    const auto at = file.indexOf(form.Action("mnuFileImportSchedule"));
    ASSERT_GT(at, 0);
    EXPECT_EQ(file[at - 1]->objectName(), "mnuFileImport");
    ScheduleWindow window(Table(units::System::InchPound), units::System::InchPound, "/tmp/coils.csv",
                          document, &form);
    window.StartSearch();
    window.WaitForSearch();
    auto* grid = window.findChild<QTableWidget*>("grdSchedule");
    ASSERT_EQ(grid->rowCount(), 7);
    EXPECT_EQ(grid->item(0, 1)->text(), "CC-1");
    EXPECT_EQ(grid->item(0, 2)->text(), "meets");
    EXPECT_TRUE(grid->item(5, 2)->text().startsWith("refused: "));
    EXPECT_TRUE(grid->item(6, 2)->text().startsWith("closest, misses "));
    EXPECT_EQ(window.findChild<QLabel*>("lblScheduleStatus")->text(), "5 of 7 rows met");
    EXPECT_EQ(document.table.CoilCount(), 0);  // nothing added yet
    ASSERT_TRUE(window.AddToSavedCoils());
    EXPECT_EQ(document.table.CoilCount(), 5);
    EXPECT_EQ(CellText(document.table.At(col::Item, 4)), "CD-1");
}

// Chosen in the schedule window, then by its keys and the File menu: the
// coils in the Saved Coils list as one step of its history, each with its
// sheet in the submittal (the schedule's cover texts on the cover), and the
// window's export the same list as the File menu's.
TEST_F(ScheduleWindowTest, TheChosenCoilsReachTheSubmittalAndTheExport) {
    RecordingPrinter printer;
    SetPrinterPort(&printer);
    for (const units::System system : {units::System::InchPound, units::System::SI}) {
        document.table.Reset();
        form.NoteDocumentChanged();
        form.SetUnitSystem(system);  // as File, "Import Schedule..." reads it
        ScheduleWindow window(Table(system), system, "/tmp/coils.xlsx", document, &form);
        window.SetListHistory(form.ListHistory());
        window.StartSearch();
        window.WaitForSearch();
        // Each button of the row its own letter; Enter on the table presses none.
        std::set<QChar> letters;
        for (QPushButton* b : window.findChildren<QPushButton*>()) {
            EXPECT_FALSE(b->autoDefault()) << b->text().toStdString();
            const int amp = b->text().indexOf('&');
            if (amp >= 0) {
                EXPECT_TRUE(letters.insert(b->text().at(amp + 1).toLower()).second);
            }
        }
        EXPECT_TRUE(letters.count('l') && letters.count('x') && letters.count('a'));
        // Enter on a row: its alternatives, the second chosen there.
        auto* grid = window.findChild<QTableWidget*>("grdSchedule");
        grid->setCurrentCell(0, 0);
        QTimer::singleShot(0, [] {
            auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(d, nullptr);
            EXPECT_EQ(d->objectName(), "frmScheduleAlternatives");
            d->findChild<QTableWidget*>("grdAlternatives")->setCurrentCell(1, 0);
            d->findChild<QPushButton*>("cmdChoose")->click();
        });
        QTest::keyClick(grid, Qt::Key_Return);
        EXPECT_EQ(window.Model().Chosen(0), 1);
        window.findChild<QPushButton*>("cmdAddToSavedCoils")->click();
        ASSERT_EQ(document.table.CoilCount(), 5);
        form.NoteDocumentChanged();
        EXPECT_EQ(form.ListHistory()->Stack()->count(), 1);
        EXPECT_TRUE(form.windowTitle().contains('*'));
        for (const reports::SubmittalCoil& c : SubmittalCoilsOf(document)) {
            EXPECT_TRUE(c.hasSheet) << c.line.tag;
            EXPECT_EQ(c.texts.txtHdr[1], c.line.tag);
            EXPECT_EQ(c.texts.txtHdr[4], "Example project");
        }
        printer.pdfAnswer = "submittal.pdf";
        form.Action("mnuFileSaveSubmittal")->trigger();
        ASSERT_FALSE(printer.jobs.empty());
        EXPECT_EQ(printer.jobs.back().pages, 2 + 5);
        EXPECT_EQ(printer.jobs.back().submittal.engineer, "Example engineer");
        // Dated as the sheets are when the report header leaves it blank.
        EXPECT_EQ(printer.jobs.back().submittal.date, SubmittalCoilsOf(document)[0].texts.txtHdr[0]);
        EXPECT_FALSE(printer.jobs.back().submittal.date.empty());
        EXPECT_EQ(printer.jobs.back().submittal.units, system);

        const std::string path = (std::filesystem::temp_directory_path() /
                                  ("kvn-schedule-" + std::to_string(::getpid()) + ".xlsx"))
                                     .string();
        ASSERT_TRUE(window.ExportResults(path));
        EXPECT_TRUE(window.findChild<QLabel*>("lblScheduleStatus")
                        ->text()
                        .endsWith("2 rows without a coil left out"));
        std::ifstream in(path, std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::filesystem::remove(path);
        const auto sheet = kvn::xlsx::ReadFirstSheet(bytes);
        const auto listed = ExportCoilsOf(document);
        ASSERT_EQ(sheet.size(), 2 + listed.size());
        for (std::size_t i = 0; i < listed.size(); ++i) {
            const auto cells = kvn::exchange::ExportCells(system, listed[i]);
            EXPECT_EQ(sheet[2 + i].cells.at(0), listed[i].tag);
            std::vector<std::string> read = sheet[2 + i].cells;
            read.resize(cells.size());  // trailing blank cells are not stored
            for (std::size_t c = 0; c < cells.size(); ++c) {
                if (cells[c].number)
                    EXPECT_NEAR(std::stod(read[c]), cells[c].value, 1e-9) << listed[i].tag << c;
                else
                    EXPECT_EQ(read[c], cells[c].text) << listed[i].tag << c;
            }
        }
    }
    form.SetUnitSystem(units::System::InchPound);
    SetPrinterPort(nullptr);
}

TEST(ScheduleColumnsDialog, OffersWhatWasChosenLastTimeElseTheMatchAndRenames) {
    const units::System ip = units::System::InchPound;
    EXPECT_EQ(ProposedColumn("Leaving DB", ip), "");
    EXPECT_EQ(ProposedColumn("EAT DB", ip), "EatDb");
    RememberColumn("Leaving DB", "LatDbMax");
    EXPECT_EQ(ProposedColumn("Leaving DB", ip), "LatDbMax");
    auto table = kvn::schedule::ParseSchedule(
        "Tag,EAT DB,Leaving DB,Notes,TH,TotalBtuh\nA,80,60,x,16,40000\n", "s.csv");
    QTimer::singleShot(0, [] {
        auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(d->findChild<QComboBox*>("cboScheduleColumn(0)")->currentText(), "EatDb");
        EXPECT_EQ(d->findChild<QComboBox*>("cboScheduleColumn(2)")->currentIndex(), 0);  // leave "Notes" out
        d->accept();
    });
    ASSERT_TRUE(MapScheduleColumns(nullptr, table, ip));
    const auto r = kvn::schedule::RequestForRow(table, 0, ip);
    ASSERT_TRUE(r.ok()) << r.error;
    EXPECT_EQ(r.duty.at("LatDbMax"), 60);
    EXPECT_EQ(ProposedColumn("Notes", ip), "");
}

// File, "Save Schedule Template..." after "Import Schedule...": the template
// of the window's units, read back as a schedule; a name that is neither a
// workbook nor a CSV file is refused with a message.
TEST_F(ScheduleWindowTest, TheTemplateFromTheWindowReadsBackInEitherUnits) {
    const QList<QAction*> file = W<QMenu>("mnuFile")->actions();
    const auto at = file.indexOf(form.Action("mnuFileScheduleTemplate"));
    ASSERT_GT(at, 0);
    EXPECT_EQ(file[at - 1]->objectName(), "mnuFileImportSchedule");
    RecordingMessageSink sink;
    ScopedMessageSink scope{sink};
    for (const auto system : {units::System::InchPound, units::System::SI})
        for (const char* ext : {".xlsx", ".csv"}) {
            const std::string path = (std::filesystem::temp_directory_path() /
                                      ("kvn-template-" + std::to_string(::getpid()) + ext))
                                         .string();
            ASSERT_TRUE(SaveScheduleTemplate(path, system)) << ext;
            const auto table = kvn::schedule::ReadScheduleFile(path);
            EXPECT_EQ(table.header, kvn::schedule::TemplateHeader(system)) << ext;
            EXPECT_EQ(table.rows.size(), kvn::schedule::TemplateRows(system).size()) << ext;
            std::filesystem::remove(path);
        }
    EXPECT_TRUE(sink.shown.empty());
    EXPECT_FALSE(SaveScheduleTemplate("/tmp/template.txt", units::System::SI));
    ASSERT_EQ(sink.shown.size(), 1u);
    EXPECT_NE(sink.shown[0].text.find("template.txt"), std::string::npos) << sink.shown[0].text;
}
