// Saving coils on the coil form, the Saved Coils list over it, and the coil
// file commands of its File menu.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QValidator>

#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <unistd.h>

#include "engine/msgbox.h"
#include "files/file_commands.h"
#include "files/save_row.h"
#include "files/saved_coils.h"
#include "forms/Form1.h"
#include "forms/Form2.h"
#include "tests/forms/modal_list.h"
#include "forms/file_dialog.h"
#include "forms/question.h"
#include "tests/forms/form1_fixture.h"

namespace {

class CoilFormFiles : public Form1Test {
protected:
    void SetUp() override {
        Form1Test::SetUp();
        document.fileName.clear();
        SetCoilFileDialog(&dialog);
        char tmpl[] = "/tmp/kvn-coil-form-XXXXXX";
        ASSERT_NE(::mkdtemp(tmpl), nullptr);
        dir = tmpl;
    }
    void TearDown() override {
        SetCoilFileDialog(nullptr);
        document.fileName.clear();
        std::filesystem::remove_all(dir);
        Form1Test::TearDown();
    }

    QPushButton* B(const char* name) { return W<QPushButton>(name); }

    // Rates a water coil and opens the header panel for it.
    void WaterCoilOnHeaderPanel(const std::string& item) {
        FillWaterCoil();
        Click("cmdPrint(0)");
        Set("txtHdr(1)", item);
    }

    void OnList(std::function<void(Form2&)> inList) { OnModalList(std::move(inList)); }

    RecordingFileDialog dialog;
    RecordingQuestions questions;
    ScopedQuestionPort askHere{questions};
    std::string dir;
};

TEST_F(CoilFormFiles, SaveAppendsOnlyRatedCoilsAndEnablesView) {
    WaterCoilOnHeaderPanel("AHU-1");
    EXPECT_FALSE(B("cmdPrint(2)")->isEnabled());
    B("cmdPrint(1)")->click();
    ASSERT_EQ(document.table.CoilCount(), 1);
    EXPECT_TRUE(B("cmdPrint(2)")->isEnabled());
    EXPECT_EQ(CellText(document.table.At(col::Model, 0)), form.FieldText("txtHdr(2)"));
    EXPECT_EQ(CellText(document.table.At(col::Item, 0)), "AHU-1");
    EXPECT_EQ(CellText(document.table.At(col::CoilType, 0)), "Water");
    EXPECT_EQ(CellText(document.table.At(col::TubeSize, 0)), "5/8\"");
    EXPECT_EQ(CellText(document.table.At(col::TubeWall, 0)), "0.02");
    EXPECT_EQ(CellText(document.table.At(col::CoilsPerSystem, 0)), "1");
    EXPECT_EQ(CellText(document.table.At(col::TotalBtuh, 0)), CellText(Cell{form.coilRating.TotalBtuh}));

    Set("txtFPI", "");  // the calculation fails: nothing is saved
    B("cmdPrint(1)")->click();
    EXPECT_EQ(document.table.CoilCount(), 1);
    EXPECT_FALSE(sink.shown.empty());
}

TEST_F(CoilFormFiles, ItemAndModelRefuseSemicolonsAndLineBreaks) {
    for (const char* name : {"txtHdr(1)", "txtHdr(2)"}) {
        const QValidator* v = form.findChild<QLineEdit*>(name)->validator();
        ASSERT_NE(v, nullptr) << name;
        int pos = 0;
        for (QString bad : {"AHU;1", "AHU\n1"}) EXPECT_EQ(v->validate(bad, pos), QValidator::Invalid);
        QString good = "AHU-1, roof";
        EXPECT_EQ(v->validate(good, pos), QValidator::Acceptable);
    }
}

TEST_F(CoilFormFiles, SaveWriteQuitOpenShowsEveryColumn) {
    WaterCoilOnHeaderPanel("AHU-1");
    B("cmdPrint(1)")->click();
    Set("txtHdr(1)", "AHU-2");
    Set("txtCPS(0)", "4");
    B("cmdPrint(1)")->click();
    ASSERT_EQ(document.table.CoilCount(), 2);
    const SavedCoilTable saved = document.table;

    // New names the file; "&File" in the list writes it without asking.
    const std::string path = dir + "/job.kvn";
    dialog.answers = {path};
    form.mnuFileNew_Click();
    EXPECT_EQ(document.fileName, path);
    EXPECT_EQ(dialog.saveShown, 1);  // a file to write: asks before replacing one
    OnList([](Form2& list) { list.cmdPrint(Form2::File)->click(); });
    B("cmdPrint(2)")->click();
    EXPECT_EQ(dialog.shown, 1);
    ASSERT_TRUE(std::filesystem::exists(path));

    // A new run of the program: nothing saved, no file name.
    document.table.Reset();
    document.fileName.clear();
    int shownRows = -1;
    OnList([&shownRows](Form2& list) { shownRows = list.SSDBGrid1()->rowCount(); });
    dialog.answers = {path};
    form.mnuFileOpen_Click();
    EXPECT_EQ(shownRows, 2);
    ASSERT_EQ(document.table.CoilCount(), 2);
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < col::Count; ++c)
            EXPECT_EQ(CellText(document.table.At(c, r)), CellText(saved.At(c, r))) << r << "," << c;
    EXPECT_EQ(CellText(document.table.At(col::CoilsPerSystem, 1)), "4");
    EXPECT_TRUE(B("cmdPrint(2)")->isEnabled());
    EXPECT_TRUE(sink.shown.empty());
}

TEST_F(CoilFormFiles, UnwrittenCoilsAreOfferedForWritingOnExitNewAndOpen) {
    const std::vector<std::string> asked = {"Save changes to the coil list?"};
    form.mnuFileNew_Click();  // nothing saved: nothing to ask
    EXPECT_TRUE(questions.asked.empty());

    WaterCoilOnHeaderPanel("AHU-1");
    B("cmdPrint(1)")->click();
    // Cancel: the window stays, Open does not go on.
    questions.answers = {Answer::Cancel, Answer::Cancel};
    form.close();
    EXPECT_TRUE(form.isVisible());
    form.mnuFileOpen_Click();
    EXPECT_EQ(questions.asked, std::vector<std::string>(2, asked[0]));
    EXPECT_EQ(dialog.shown, 1);
    // No: Open goes on and asks for a file.
    questions.answers = {Answer::No};
    form.mnuFileOpen_Click();
    EXPECT_EQ(dialog.shown, 2);
    EXPECT_EQ(document.table.CoilCount(), 1);
    // Yes, but no file named to write: New stops.
    questions.answers = {Answer::Yes};
    form.mnuFileNew_Click();
    EXPECT_EQ(dialog.saveShown, 2);
    EXPECT_EQ(dialog.shown, 3);
    // Yes with a name: the list is written, then New names the next file.
    const std::string path = dir + "/job.kvn";
    questions.answers = {Answer::Yes};
    dialog.answers = {path, ""};
    form.mnuFileNew_Click();
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(dialog.shown, 5);
    // Written: Exit asks nothing.
    questions.asked.clear();
    form.close();
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(questions.asked.empty());
}

// "kvn FILE": the named file opens as if chosen in File, Open.
TEST_F(CoilFormFiles, FileNamedAtStartOpensWithoutTheDialog) {
    WaterCoilOnHeaderPanel("AHU-1");
    B("cmdPrint(1)")->click();
    const std::string path = dir + "/start.kvn";
    document.fileName = path;
    ASSERT_TRUE(FileWrite(document, dialog));
    document.table.Reset();
    document.fileName.clear();

    int shownRows = -1;
    OnList([&shownRows](Form2& list) { shownRows = list.SSDBGrid1()->rowCount(); });
    form.OpenCoilFile(path);
    EXPECT_EQ(shownRows, 1);
    EXPECT_EQ(document.fileName, path);
    EXPECT_TRUE(B("cmdPrint(2)")->isEnabled());
    EXPECT_EQ(dialog.shown, 0);
    EXPECT_TRUE(sink.shown.empty());

    // A file that cannot be read, or no name: Open's messages, nothing lost.
    form.OpenCoilFile(dir + "/missing.kvn");
    form.OpenCoilFile("");
    ASSERT_EQ(sink.shown.size(), 2u);
    EXPECT_NE(sink.shown[0].text.find("missing.kvn"), std::string::npos);
    EXPECT_EQ(sink.shown[1].text, "You must use a valid file name");
    EXPECT_EQ(document.table.CoilCount(), 1);
    EXPECT_EQ(document.fileName, path);
}

TEST_F(CoilFormFiles, DeletingTheOnlyCoilClosesTheListAndDisablesView) {
    WaterCoilOnHeaderPanel("AHU-1");
    B("cmdPrint(1)")->click();
    questions.fallback = Answer::Yes;
    bool closedByDelete = false;
    OnList([&closedByDelete](Form2& list) {
        list.cmdPrint(Form2::Delete)->click();
        closedByDelete = !list.isVisible();
    });
    B("cmdPrint(2)")->click();
    EXPECT_TRUE(closedByDelete);
    EXPECT_EQ(document.table.CoilCount(), 0);
    EXPECT_FALSE(B("cmdPrint(2)")->isEnabled());
}

}  // namespace

namespace {

TEST(CoilFileDialogOnScreen, KorvanTitleKvnFilterAndExtension) {
    QtFileDialog dialog;
    QString title, suffix;
    QStringList filters;
    QTimer::singleShot(0, [&] {
        auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        title = d->windowTitle();
        filters = d->nameFilters();
        suffix = d->defaultSuffix();
        d->reject();
    });
    EXPECT_EQ(dialog.Show(), "");  // cancelled: no name
    EXPECT_EQ(title, "Korvan");
    EXPECT_EQ(filters, QStringList{"KVN File (*.kvn)"});
    EXPECT_EQ(suffix, "kvn");

    // Naming a file to write: a save dialog that asks before replacing.
    bool save = false, confirms = false;
    QString proposed;
    QTimer::singleShot(0, [&] {
        auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        save = d->acceptMode() == QFileDialog::AcceptSave;
        confirms = !d->testOption(QFileDialog::DontConfirmOverwrite);
        title = d->windowTitle();
        proposed = d->findChild<QLineEdit*>("fileNameEdit") ? d->findChild<QLineEdit*>("fileNameEdit")->text()
                                                            : QString();
        d->reject();
    });
    EXPECT_EQ(dialog.ShowSave(), "");
    EXPECT_TRUE(save);
    EXPECT_TRUE(confirms);
    EXPECT_EQ(title, "Save Coil List");
    EXPECT_EQ(proposed, "coils.kvn");
}

}  // namespace
