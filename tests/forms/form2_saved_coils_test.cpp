// The Saved Coils list window.
#include <gtest/gtest.h>

#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>

#include <stdexcept>

#include "engine/msgbox.h"
#include "files/file_commands.h"
#include "files/coil_file.h"
#include "files/save_row.h"
#include "files/saved_coil_warnings.h"
#include "files/saved_coils.h"
#include "forms/Form2.h"
#include "forms/question.h"

namespace {

// Three coils with items "A", "B", "C".
class Form2Test : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* item : {"A", "B", "C"})
            AppendSavedCoil(doc.table, CoilSpec{}, CoilRating{}, {"", "", item, "Water", "5", ""});
    }
    static QString Cell(const Form2& f, int row, int column) {
        return f.SSDBGrid1()->item(row, column)->text();
    }
    RecordingMessageSink sink;
    ScopedMessageSink scoped{sink};
    RecordingFileDialog dialog;
    CoilDocument doc;
};

// Each coil's warnings stand in the last column, follow the coil when one
// above it is deleted, and stay out of its line of the coil file.
TEST_F(Form2Test, WarningsColumnFollowsItsCoil) {
    const std::string text = "Circuits left blank: rated with one circuit";
    RememberSavedCoilWarnings(doc, doc.table.Rows()[2], text);
    Form2 f(doc, nullptr, &dialog);
    EXPECT_EQ(Cell(f, 0, 33), "");
    EXPECT_EQ(Cell(f, 2, 33), QString::fromStdString(text));
    RecordingQuestions questions;
    ScopedQuestionPort askHere{questions};
    questions.fallback = Answer::Yes;
    f.SSDBGrid1()->setCurrentCell(0, 3);
    f.cmdPrint_Click(Form2::Delete);
    EXPECT_EQ(Cell(f, 1, 33), QString::fromStdString(text));
    EXPECT_EQ(CoilFileLine(doc.table.Rows()[1]).find("Circuits"), std::string::npos);
}

// In SI the list shows the quantities in SI, rounded, with SI captions and
// warnings; back in inch-pound it is as before. The coils are unchanged.
TEST_F(Form2Test, ListInSiIsDisplayOnly) {
    CoilSpec s;
    CoilRating r;
    s.Application = "W", s.FL = 48, s.TubeWall = 0.02f;
    r.EatDb = 80, r.EatWb = 67, r.LatDb = 53.83634f, r.LatWb = 53.5f, r.EntFluidTemp = 45,
    r.TotalBtuh = 80918.96f;
    AppendSavedCoil(doc.table, s, r, {"", "", "D", "Water", "5", ".020"});
    r.EatDb = 40, r.EntFluidTemp = 180, r.LatWb = 0;  // heating: no leaving wet bulb
    AppendSavedCoil(doc.table, s, r, {"", "", "E", "Water", "5", ".020"});
    RememberSavedCoilWarnings(doc, doc.table.Rows()[3],
                              "Fluid velocity above 8 ft/s: tube erosion and noise");
    const std::string file = CoilFileText(doc.table);
    Form2 f(doc, nullptr, &dialog);
    const QString ipLvgDb = Cell(f, 3, 18);
    reports::ReportHeaderTexts header;
    header.units = units::System::SI;
    f.SetReportHeader(header);
    auto caption = [&](int c) { return f.SSDBGrid1()->horizontalHeaderItem(c)->text().toStdString(); };
    EXPECT_EQ(caption(18), "Lvg. Air DB (°C)");
    EXPECT_EQ(caption(27), "Total (kW)");
    EXPECT_EQ(caption(6), "Tube Wall (in.)");
    EXPECT_EQ(Cell(f, 3, 18), "12.1");   // 53.83634 F
    EXPECT_EQ(Cell(f, 3, 11), "1219");   // 48 in
    EXPECT_EQ(Cell(f, 3, 27), "23.72");  // kW
    EXPECT_EQ(Cell(f, 3, 19), "11.9");
    EXPECT_EQ(Cell(f, 4, 19), "N/A");
    EXPECT_EQ(Cell(f, 3, 33), "Fluid velocity above 2.44 m/s: tube erosion and noise");
    for (int c = 0; c < 34; ++c)
        for (const char* ipUnit : {"CFM", "Btuh", "GPM", "ft/s"}) {
            EXPECT_EQ(caption(c).find(ipUnit), std::string::npos) << caption(c);
            EXPECT_FALSE(Cell(f, 3, c).contains(ipUnit)) << c;
        }
    header.units = units::System::InchPound;
    f.SetReportHeader(header);
    EXPECT_EQ(Cell(f, 3, 18), ipLvgDb);
    EXPECT_EQ(caption(27), "Total Btuh");
    EXPECT_EQ(CoilFileText(doc.table), file);
}

TEST_F(Form2Test, GridButtonsAndResizeRule) {
    Form2 f(doc, nullptr, &dialog);
    EXPECT_EQ(f.windowTitle(), "Saved Coils");
    ASSERT_EQ(f.SSDBGrid1()->columnCount(), 34);  // the table's 33 columns and the warnings
    EXPECT_EQ(f.SSDBGrid1()->horizontalHeaderItem(33)->text(), "Warnings");
    ASSERT_EQ(f.SSDBGrid1()->rowCount(), 3);
    for (int c = 0; c < 33; ++c) EXPECT_FALSE(f.SSDBGrid1()->horizontalHeaderItem(c)->text().isEmpty());
    EXPECT_EQ(Cell(f, 1, 0) + Cell(f, 1, 3) + Cell(f, 1, 5), "2B5/8\"");
    const char* captions[] = {"&Print", "Pre&view...", "&Delete...", "&Close", "&File"};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(f.cmdPrint(i)->text(), captions[i]);
        EXPECT_EQ(f.cmdPrint(i)->toolTip(), "Save for multiple coil printing");
    }
    EXPECT_TRUE(f.cmdPrint(Form2::Delete)->isEnabled());

    // Shrunk as far as it goes, the buttons still stand apart under the grid.
    f.resize(50, 50);
    f.show();
    EXPECT_EQ(f.size(), f.minimumSize());
    EXPECT_GE(f.cmdPrint(Form2::File)->x(), 0);
    EXPECT_GE(f.cmdPrint(Form2::File)->y(), f.SSDBGrid1()->geometry().bottom());
    EXPECT_LE(f.cmdPrint(Form2::Close)->geometry().bottom(), f.height());

    // 350 and 1200 twips less than the window, 15 twips a pixel; the buttons
    // right-aligned under the grid, Close rightmost, 100 twips apart.
    f.resize(900, 500);
    f.show();
    EXPECT_EQ(f.SSDBGrid1()->size(), QSize(900 - 23, 500 - 80));
    int right = f.SSDBGrid1()->geometry().right() + 1;
    for (int i : {Form2::Close, Form2::Delete, Form2::Preview, Form2::Print, Form2::File}) {
        EXPECT_EQ(f.cmdPrint(i)->y(), f.SSDBGrid1()->geometry().bottom() + 1 + 8) << i;
        EXPECT_EQ(f.cmdPrint(i)->geometry().right() + 1, right) << i;
        right = f.cmdPrint(i)->x() - 7;
    }

    doc.table.Reset();
    Form2 empty(doc, nullptr, &dialog);
    EXPECT_FALSE(empty.cmdPrint(Form2::Delete)->isEnabled());
}

TEST_F(Form2Test, DeleteAsksThenRenumbersAndTheLastDeletionClosesTheList) {
    RecordingQuestions questions;
    ScopedQuestionPort askHere{questions};
    questions.answers = {Answer::No};
    questions.fallback = Answer::Yes;
    Form2 f(doc, nullptr, &dialog);
    int gone = 0;
    QObject::connect(&f, &Form2::noCoilsLeft, [&gone] { ++gone; });
    f.show();
    f.SSDBGrid1()->setCurrentCell(1, 3);
    f.cmdPrint_Click(Form2::Delete);  // No: kept
    EXPECT_EQ(f.SSDBGrid1()->rowCount(), 3);
    // The question names the coil's item, and Enter answers No.
    EXPECT_EQ(questions.asked, std::vector<std::string>{"Delete coil 2 (B)?"});
    EXPECT_EQ(questions.presets, std::vector<Answer>{Answer::No});
    f.SSDBGrid1()->setCurrentCell(0, 3);
    f.cmdPrint_Click(Form2::Delete);
    EXPECT_EQ(questions.asked.back(), "Delete coil 1 (A)?");
    ASSERT_EQ(f.SSDBGrid1()->rowCount(), 2);
    EXPECT_EQ(Cell(f, 0, 0) + Cell(f, 0, 3) + Cell(f, 1, 0) + Cell(f, 1, 3), "1B2C");
    f.SSDBGrid1()->setCurrentCell(1, 0);
    f.cmdPrint_Click(Form2::Delete);
    EXPECT_EQ(CellText(doc.table.At(3, 0)), "B");
    EXPECT_TRUE(f.isVisible());
    f.cmdPrint_Click(Form2::Delete);
    EXPECT_EQ(doc.table.Rows().size(), 1u);
    EXPECT_EQ(gone, 1);
    EXPECT_FALSE(f.cmdPrint(Form2::Delete)->isEnabled());
    EXPECT_FALSE(f.isVisible());
}

}  // namespace

// A failure that is not one of the engine's run-time errors ends the command
// and is shown, not swallowed.
TEST_F(Form2Test, UnexpectedFailureOfACommandIsShown) {
    struct FailingDialog : RecordingFileDialog {
        std::string ShowSave() override { throw std::runtime_error("The disk went away"); }
    } failing;
    doc.fileName.clear();
    Form2 f(doc, nullptr, &failing);
    f.cmdPrint_Click(Form2::File);
    ASSERT_EQ(sink.shown.size(), 1u);
    EXPECT_EQ(sink.shown[0].text, "The disk went away");
    EXPECT_EQ(sink.shown[0].icon, MsgIcon::Error);
}
