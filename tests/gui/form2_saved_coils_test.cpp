// The Saved Coils list window.
#include <gtest/gtest.h>

#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "engine/msgbox.h"
#include "files/coil_file.h"
#include "files/file_commands.h"
#include "files/save_row.h"
#include "files/saved_coils.h"
#include "forms/Form2.h"

namespace {

// Three coils with items "A", "B", "C" in the program-wide table.
class Form2Test : public ::testing::Test {
protected:
    void SetUp() override {
        SavedCoils.Reset();
        CurrentFileName.clear();
        for (const char* item : {"A", "B", "C"}) {
            CoilSpec spec;
            spec.FinMat = "A";
            spec.RD = 4;
            spec.FPI = 12;
            CoilRating rating;
            rating.Scfm = 2000;
            rating.Altitude = 500;
            SaveRowTexts texts;
            texts.item = item;
            texts.coilTypeWord = "Water";
            texts.tubeText = "5";
            AppendSavedCoil(SavedCoils, spec, rating, texts);
        }
    }
    void TearDown() override {
        SavedCoils.Reset();
        CurrentFileName.clear();
    }
    static QString Cell(const Form2& f, int row, int column) {
        return f.SSDBGrid1()->item(row, column)->text();
    }
    RecordingMessageSink sink;
    ScopedMessageSink scoped{sink};
    RecordingFileDialog dialog;
};

TEST_F(Form2Test, ShowsEveryCoilAndColumn) {
    Form2 f(nullptr, &dialog);
    EXPECT_EQ(f.windowTitle(), "Saved Coils");
    QTableWidget* grid = f.SSDBGrid1();
    EXPECT_EQ(grid->objectName(), "SSDBGrid1");
    ASSERT_EQ(grid->columnCount(), 33);
    ASSERT_EQ(grid->rowCount(), 3);
    for (int c = 0; c < 33; ++c) EXPECT_FALSE(grid->horizontalHeaderItem(c)->text().isEmpty());
    EXPECT_EQ(Cell(f, 1, 0), "2");
    EXPECT_EQ(Cell(f, 1, 3), "B");
    EXPECT_EQ(Cell(f, 1, 5), "5/8\"");
    EXPECT_EQ(Cell(f, 1, 15), "2000");
    EXPECT_EQ(Cell(f, 1, 32), "500");

    const char* captions[] = {"&Print", "Pre&view...", "&Delete...", "&Close", "&File"};
    for (int i = 0; i < 5; ++i) {
        QPushButton* b = f.cmdPrint(i);
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->objectName(), QString("cmdPrint(%1)").arg(i));
        EXPECT_EQ(b->text(), captions[i]);
        EXPECT_EQ(b->toolTip(), "Save for multiple coil printing");
    }
    EXPECT_TRUE(f.cmdPrint(Form2::Delete)->isEnabled());

    SavedCoils.Reset();
    Form2 empty(nullptr, &dialog);
    EXPECT_FALSE(empty.cmdPrint(Form2::Delete)->isEnabled());
    EXPECT_EQ(empty.SSDBGrid1()->rowCount(), 0);
}

TEST_F(Form2Test, ResizeKeepsGridAndButtonRow) {
    Form2 f(nullptr, &dialog);
    f.resize(900, 500);
    f.show();
    QTableWidget* grid = f.SSDBGrid1();
    // 350 and 1200 twips at 15 twips a pixel.
    EXPECT_EQ(grid->width(), 900 - 23);
    EXPECT_EQ(grid->height(), 500 - 80);
    const int top = grid->y() + grid->height() + 8;
    int right = grid->x() + grid->width();
    for (int i : {Form2::Close, Form2::Delete, Form2::Preview, Form2::Print, Form2::File}) {
        QPushButton* b = f.cmdPrint(i);
        EXPECT_EQ(b->y(), top) << i;
        EXPECT_EQ(b->x() + b->width(), right) << i;
        right = b->x() - 7;
    }
}

TEST_F(Form2Test, DeletingTheFirstRenumbersAndTheLastClosesTheList) {
    Form2 f(nullptr, &dialog);
    int gone = 0;
    QObject::connect(&f, &Form2::noCoilsLeft, [&gone] { ++gone; });
    f.show();
    f.SSDBGrid1()->setCurrentCell(0, 3);
    f.cmdPrint_Click(Form2::Delete);
    ASSERT_EQ(SavedCoils.CoilCount(), 2);
    ASSERT_EQ(f.SSDBGrid1()->rowCount(), 2);
    EXPECT_EQ(Cell(f, 0, 0), "1");
    EXPECT_EQ(Cell(f, 0, 3), "B");
    EXPECT_EQ(Cell(f, 1, 0), "2");
    EXPECT_EQ(Cell(f, 1, 3), "C");

    f.SSDBGrid1()->setCurrentCell(1, 0);
    f.cmdPrint_Click(Form2::Delete);
    ASSERT_EQ(SavedCoils.CoilCount(), 1);
    EXPECT_EQ(CellText(SavedCoils.At(3, 0)), "B");
    EXPECT_TRUE(f.isVisible());
    EXPECT_EQ(gone, 0);

    f.cmdPrint_Click(Form2::Delete);
    EXPECT_EQ(SavedCoils.CoilCount(), 0);
    EXPECT_EQ(SavedCoils.Rows().size(), 1u);
    EXPECT_EQ(gone, 1);
    EXPECT_FALSE(f.cmdPrint(Form2::Delete)->isEnabled());
    EXPECT_FALSE(f.isVisible());
}

TEST_F(Form2Test, FileWritesTheCoilsUnderTheChosenName) {
    char tmpl[] = "/tmp/kvn-form2-XXXXXX";
    ASSERT_NE(::mkdtemp(tmpl), nullptr);
    const std::string path = std::string(tmpl) + "/list.kvn";
    Form2 f(nullptr, &dialog);
    dialog.answers = {path};
    f.cmdPrint_Click(Form2::File);
    EXPECT_EQ(CurrentFileName, path);
    SavedCoilTable read;
    ASSERT_TRUE(ReadCoilFile(path, read).ok);
    EXPECT_EQ(read.CoilCount(), 3);
    // The second time the file name is known: no question.
    f.cmdPrint_Click(Form2::File);
    EXPECT_EQ(dialog.shown, 1);
    EXPECT_TRUE(sink.shown.empty());
    std::filesystem::remove_all(tmpl);
}

}  // namespace
