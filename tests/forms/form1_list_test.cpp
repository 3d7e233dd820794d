// The Saved Coils list's commands on the coil selection window: saving a
// coil from the toolbar and by key, the list's file commands and recent
// files, undo and redo, the window title, the list's keys and loading a
// saved coil back onto the coil panel, in either unit system.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMenu>
#include <QScreen>
#include <QMenuBar>
#include <QTest>
#include <QTimer>
#include <QUndoStack>
#include <filesystem>
#include <map>
#include <set>

#include "files/coil_file.h"
#include "files/file_commands.h"
#include "files/save_row.h"
#include "forms/Form2.h"
#include "tests/forms/modal_list.h"
#include "forms/file_dialog.h"
#include "forms/list_history.h"
#include "forms/printer.h"
#include "forms/question.h"
#include "forms/recent_files.h"
#include "forms/saved_coil_restore.h"
#include "tests/forms/form1_fixture.h"

namespace {

class ListCommands : public Form1Test {
protected:
    void SetUp() override {
        Form1Test::SetUp();
        document.fileName.clear();
        MarkSavedCoilsUnchanged(document);
        form.ListHistory()->Sync();
        form.ListHistory()->Stack()->clear();
        StoreRecentFiles({});
        SetCoilFileDialog(&dialog);
        dir = std::filesystem::temp_directory_path() / ("kvn-list-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
    }
    void TearDown() override {
        SetCoilFileDialog(nullptr);
        document.fileName.clear();
        StoreRecentFiles({});
        std::filesystem::remove_all(dir);
        Form1Test::TearDown();
    }
    // A key on the window, active again as after a closed dialog.
    void Key(int key, Qt::KeyboardModifiers mods = Qt::ControlModifier) {
        QApplication::setActiveWindow(&form);
        QTest::keyClick(&form, static_cast<Qt::Key>(key), mods);
    }
    int Coils() { return document.table.CoilCount(); }
    std::string Path(const char* name) { return (dir / name).string(); }
    std::string Title() { return S(form.windowTitle()); }
    void OnList(std::function<void(Form2&)> inList) { OnModalList(std::move(inList)); }

    RecordingFileDialog dialog;
    RecordingQuestions questions;
    ScopedQuestionPort askHere{questions};
    std::filesystem::path dir;
};

// Save Coil rates and appends as the header panel's "&Save", from the
// toolbar and by Ctrl+L, and says so; it waits for a coil on screen.
TEST_F(ListCommands, SaveCoilFromToolbarAndKeyConfirmsInTheStatusBar) {
    QAction* toolbarSave = form.Action("Save");
    EXPECT_FALSE(toolbarSave->isEnabled());
    Key(Qt::Key_L);
    EXPECT_EQ(Coils(), 0);
    FillWaterCoil();
    EXPECT_TRUE(toolbarSave->isEnabled());
    Key(Qt::Key_L);
    ASSERT_EQ(Coils(), 1);
    EXPECT_EQ(S(form.StatusText(2)), "Coil 1 saved to the list");
    EXPECT_TRUE(W<QPushButton>("cmdPrint(2)")->isEnabled());
    Set("txtHdr(1)", "AHU-2");
    form.Toolbar1_ButtonClick("Save");
    ASSERT_EQ(Coils(), 2);
    EXPECT_EQ(S(form.StatusText(2)), "Coil 2 saved to the list: AHU-2");
    EXPECT_EQ(CellText(document.table.At(col::Item, 1)), "AHU-2");
    EXPECT_EQ(Title(), "Korvan*");
    // A coil that fails validation is not saved.
    Set("txtFPI", "");
    toolbarSave->trigger();
    EXPECT_EQ(Coils(), 2);
}

// Undo and redo step through saves, deletions in the list and imports;
// the "*" follows whether the list is as on file.
TEST_F(ListCommands, UndoRedoAndTheTitleFollowTheFile) {
    FillWaterCoil();
    Key(Qt::Key_L);
    Key(Qt::Key_L);
    ASSERT_EQ(Coils(), 2);
    dialog.answers = {Path("list1.kvn")};
    Key(Qt::Key_S);  // no file yet: asks
    EXPECT_EQ(dialog.saveShown, 1);
    EXPECT_EQ(Title(), "list1.kvn - KVN");
    // Typed into a field, the keys still undo the list, not the typing.
    auto* gpm = W<QLineEdit>("txtProperty(7)");
    gpm->setFocus();
    QTest::keyClicks(gpm, "5");
    Key(Qt::Key_Z);
    EXPECT_EQ(Coils(), 1);
    EXPECT_EQ(S(gpm->text()), "5");  // focus selected "40"; the typing stays
    EXPECT_EQ(Title(), "list1.kvn* - KVN");
    EXPECT_EQ(S(form.Action("mnuEditRedo")->text()), "&Redo Save Coil 2");
    Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Coils(), 2);
    EXPECT_EQ(Title(), "list1.kvn - KVN");

    // Deleted in the list by its key; undone there and on the window.
    questions.answers = {Answer::Yes};
    OnList([](Form2& list) {
        QApplication::setActiveWindow(&list);
        list.SSDBGrid1()->setFocus();
        list.SSDBGrid1()->setCurrentCell(0, 0);
        QTest::keyClick(list.SSDBGrid1(), Qt::Key_Delete);
        EXPECT_EQ(list.SSDBGrid1()->rowCount(), 1);
        QTest::keyClick(&list, Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(list.SSDBGrid1()->rowCount(), 2);
        QTest::keyClick(&list, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        EXPECT_EQ(list.SSDBGrid1()->rowCount(), 1);
    });
    Click("cmdPrint(0)");
    Click("cmdPrint(2)");
    EXPECT_EQ(Coils(), 1);
    EXPECT_EQ(Title(), "list1.kvn* - KVN");
    Key(Qt::Key_Z);
    EXPECT_EQ(Coils(), 2);
    EXPECT_EQ(Title(), "list1.kvn - KVN");

    // An import appends the file's coils, renumbered; undone in one step.
    dialog.answers = {Path("list1.kvn")};
    form.ImportCoils();
    ASSERT_EQ(Coils(), 4);
    EXPECT_EQ(CellText(document.table.At(col::Number, 3)), "4");
    Key(Qt::Key_Z);
    EXPECT_EQ(Coils(), 2);
    EXPECT_EQ(Title(), "list1.kvn - KVN");
}

// Save List writes the current file without asking; Save List As asks,
// proposes the current file and keeps the old name when cancelled. Files
// written or opened lead the recent files; a missing one is dropped with a
// message.
TEST_F(ListCommands, SaveAsAndRecentFiles) {
    FillWaterCoil();
    Key(Qt::Key_L);
    dialog.answers = {Path("a.kvn")};
    Key(Qt::Key_S);
    Key(Qt::Key_L);
    Key(Qt::Key_S);
    EXPECT_EQ(dialog.saveShown, 1);
    SavedCoilTable read;
    ASSERT_TRUE(ReadCoilFile(Path("a.kvn"), read).ok);
    EXPECT_EQ(read.CoilCount(), 2);
    Key(Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);  // cancelled
    EXPECT_EQ(document.fileName, Path("a.kvn"));
    dialog.answers = {Path("b.kvn")};
    Key(Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Title(), "b.kvn - KVN");
    EXPECT_EQ(LoadRecentFiles(), (Strings{Path("b.kvn"), Path("a.kvn")}));
    auto* recent = W<QMenu>("mnuFileRecent");
    ASSERT_EQ(recent->actions().size(), 2);
    EXPECT_EQ(S(recent->actions()[0]->text()), "&1 b.kvn");

    // Opened from the menu: the list shows the file's coils.
    int shown = 0;
    OnList([&shown](Form2& list) { shown = list.SSDBGrid1()->rowCount(); });
    recent->actions()[1]->trigger();
    EXPECT_EQ(shown, 2);
    EXPECT_EQ(Title(), "a.kvn - KVN");
    EXPECT_EQ(LoadRecentFiles().front(), Path("a.kvn"));

    std::filesystem::remove(Path("b.kvn"));
    sink.shown.clear();
    W<QMenu>("mnuFileRecent")->actions()[1]->trigger();
    ASSERT_EQ(sink.shown.size(), 1u);
    EXPECT_NE(sink.shown[0].text.find("b.kvn no longer exists"), std::string::npos);
    EXPECT_EQ(LoadRecentFiles(), Strings{Path("a.kvn")});
    EXPECT_EQ(W<QMenu>("mnuFileRecent")->actions().size(), 1);

    // Eight at most, newest first, each once.
    Strings files;
    for (int i = 0; i < 10; ++i) files = WithRecentFile(files, std::to_string(i % 9));
    EXPECT_EQ(files, (Strings{"0", "8", "7", "6", "5", "4", "3", "2"}));
}

// Every menu command's key is its own, the usual keys reach the original
// commands, and the menu bar's mnemonics leave the start panel's alone.
TEST_F(ListCommands, MenuShortcutsAreUniqueAndMnemonicsDoNotCollide) {
    std::map<QString, QString> byKey;
    for (QAction* a : form.findChildren<QAction*>()) {
        if (a->shortcut().isEmpty()) continue;
        const QString key = a->shortcut().toString();
        EXPECT_FALSE(byKey.count(key)) << S(key) << ": " << S(byKey[key]) << " and " << S(a->objectName());
        byKey[key] = a->objectName();
    }
    const std::map<QString, QString> expected = {
        {"Ctrl+N", "mnuFileNew"},        {"Ctrl+O", "mnuFileOpen"},
        {"Ctrl+S", "mnuFileSaveList"},   {"Ctrl+Shift+S", "mnuFileSaveListAs"},
        {"Ctrl+L", "mnuFileSaveCoil"},   {"Ctrl+P", "mnuFilePrint"},
        {"Ctrl+Q", "mnuFileExit"},       {"Ctrl+Z", "mnuEditUndo"},
        {"Ctrl+Shift+Z", "mnuEditRedo"},
    };
    for (const auto& [key, name] : expected) EXPECT_EQ(S(byKey[key]), S(name)) << S(key);

    // Alt+letter: the menu bar's titles and the window's own buttons and
    // options, each letter once on a panel.
    auto mnemonic = [](const QString& text) {
        const int at = static_cast<int>(text.indexOf('&'));
        return at >= 0 && at + 1 < text.size() ? text.at(at + 1).toLower() : QChar();
    };
    std::set<QChar> menuBar;
    for (QAction* a : form.menuBar()->actions()) EXPECT_TRUE(menuBar.insert(mnemonic(a->text())).second);
    for (QWidget* panel : {W("Frame1(0)"), W("Frame1(3)")})
        for (QAbstractButton* b : panel->findChildren<QAbstractButton*>())
            if (!b->isHidden()) {
                EXPECT_FALSE(menuBar.count(mnemonic(b->text()))) << S(b->text());
            }
    // The File menu's own mnemonics.
    std::set<QChar> file;
    for (QAction* a : W<QMenu>("mnuFile")->actions())
        if (!a->isSeparator()) {
            EXPECT_TRUE(file.insert(mnemonic(a->text())).second) << S(a->text());
        }
}

// Enter or a double-click on a row loads the coil back onto the panel; in SI
// the fields show SI texts that rate to the very same saved row.
TEST_F(ListCommands, LoadedCoilRatesAsSavedInEitherUnitSystem) {
    FillWaterCoil();
    Set("txtProperty(0)", "2500");
    Click("cmdPrint(0)");
    Set("txtHdr(1)", "AHU-1");
    Click("cmdPrint(1)");
    ASSERT_EQ(Coils(), 1);
    const SavedCoilTable::Row saved = document.table.Rows()[0];
    Click("cmdHdr(0)");
    Click("cmdClose");

    auto loadByKey = [this](bool doubleClick) {
        OnList([doubleClick](Form2& list) {
            list.SSDBGrid1()->setCurrentCell(0, 2);
            if (doubleClick)
                emit list.SSDBGrid1()->cellDoubleClicked(0, 2);
            else
                QTest::keyClick(list.SSDBGrid1(), Qt::Key_Return);
            EXPECT_FALSE(list.isVisible());
        });
        form.cmdView_Click();
    };
    auto rated = [this] {
        Click("cmdCalc");
        EXPECT_TRUE(sink.shown.empty());
        return BuildSavedRow(0, form.coilSpec, form.coilRating, {"", "", "", "Water", "5", ""});
    };
    loadByKey(false);
    EXPECT_EQ(form.CurrentPanel(), 3);
    EXPECT_EQ(Text("txtTH"), "16");
    EXPECT_EQ(Text("txtHdr(1)"), "AHU-1");
    EXPECT_EQ(S(form.StatusText(2)), "Coil 1 loaded");
    const SavedCoilTable::Row ip = rated();
    // The same construction and conditions: the rating agrees to the bit
    // with the saved row's figures (the air flow comes back as the face
    // velocity, so the results are those of that velocity).
    for (int c : {col::FinThk, col::FinHeight, col::FinnedLength, col::Rows, col::FPI, col::EatDb, col::EatWb,
                  col::EntFluidTemp, col::Gpm, col::Circuits, col::Altitude})
        EXPECT_EQ(CellText(ip[c]), CellText(saved[c])) << "column " << c;

    form.SetUnitSystem(units::System::SI);
    loadByKey(true);
    EXPECT_EQ(Text("txtProperty(4)"), "26.67");  // 80 F
    EXPECT_EQ(Text("txtProperty(0)"), "762");    // 2500 ft
    EXPECT_EQ(rated(), ip);
    form.SetUnitSystem(units::System::InchPound);
}

// A coil without its circuits and altitude (as a file of older versions
// kept it): the panel says so, and the fields that are there come back.
TEST_F(ListCommands, LoadSaysWhichFieldsItCouldNotRestore) {
    FillWaterCoil();
    Key(Qt::Key_L);
    ASSERT_EQ(Coils(), 1);
    document.table.At(col::Circuits, 0) = std::string(" ");
    document.table.At(col::Altitude, 0) = Cell{};
    form.LoadSavedCoil(0);
    ASSERT_EQ(sink.shown.size(), 1u);
    EXPECT_EQ(sink.shown[0].text, "Coil 1 loaded; not restored: Circuits, Altitude");
    EXPECT_EQ(Text("txtFPI"), "12");
    EXPECT_EQ(Text("txtCircuits"), "");

    // Steam keeps its own fields; a type word it does not know loads nothing.
    SavedCoilTable::Row steam{};
    steam[col::CoilType] = std::string("Steam");
    steam[col::TubeSize] = std::string("1\"");
    steam[col::FinHeight] = 36.0f;
    steam[col::SteamPressure] = 5.0f;
    const RestoredCoil s = RestoreSavedCoil(steam);
    EXPECT_EQ(s.code, "S");
    EXPECT_EQ(s.fields.at("TH"), "12");
    EXPECT_EQ(s.fields.at("SteamPressure"), "5");
    EXPECT_EQ(s.fields.count("Circuits") + s.fields.count("EatWb") + s.fields.count("Gpm"), 0u);
    steam[col::CoilType] = std::string("Utilities");
    EXPECT_EQ(RestoreSavedCoil(steam).code, "");
    EXPECT_EQ(FitFieldText("500.12345", 7), "500.123");
    EXPECT_EQ(FitFieldText("12", 2), "12");
}

// The PDF and list save dialogs say what they save; the list opens with its
// columns fitted to their contents and as wide as they need, within the
// screen.
TEST_F(ListCommands, DialogsSayWhatTheySaveAndTheListFitsItsColumns) {
    RecordingPrinter printer;
    printer.hasPrinter = false;
    SetPrinterPort(&printer);
    FillWaterCoil();
    Click("cmdPrint(0)");
    Click("cmdHdr(1)");
    EXPECT_EQ(S(printer.askTitle), "Save Sheet as PDF");
    Click("cmdPrint(1)");
    form.mnuFilePrint_Click();
    EXPECT_EQ(S(printer.askTitle), "Save Report as PDF");
    SetPrinterPort(nullptr);

    Form2 list(document, &form);
    QTableWidget* grid = list.SSDBGrid1();
    int columns = 0;
    for (int c = 0; c < grid->columnCount(); ++c) {
        EXPECT_GE(grid->columnWidth(c), grid->horizontalHeader()->sectionSizeHint(c)) << c;
        columns += grid->columnWidth(c);
    }
    const int screen = QGuiApplication::primaryScreen()->availableGeometry().width();
    EXPECT_GE(list.width(), std::min(columns, screen * 95 / 100));
    EXPECT_LE(list.width(), screen);
}

}  // namespace
