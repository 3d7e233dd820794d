// The coil selection window as a desktop user works it: the keyboard focus
// on panel switches, Enter, the mouse wheel over choice lists, copying the
// results, tab order and the unit labels.
#include <gtest/gtest.h>

#include <QAction>
#include <QClipboard>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QWheelEvent>

#include "tests/forms/form1_fixture.h"

namespace {

class Form1Desktop : public Form1Test {
protected:
    // A key pressed and released in the focused control, as the keyboard
    // delivers it.
    void Key(int key, const QString& text = QString(), Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QWidget* f = QApplication::focusWidget();
        ASSERT_NE(f, nullptr);
        QKeyEvent press(QEvent::KeyPress, key, mods, text);
        QApplication::sendEvent(f, &press);
        if (QWidget* g = QApplication::focusWidget()) {
            QKeyEvent release(QEvent::KeyRelease, key, mods, text);
            QApplication::sendEvent(g, &release);
        }
    }
    void Type(const QString& text) {
        for (QChar c : text) Key(c.toUpper().unicode(), QString(c));
    }
    void Wheel(QWidget* w) {
        QWheelEvent e({5, 5}, w->mapToGlobal(QPointF(5, 5)), {}, {0, -120}, Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
        QApplication::sendEvent(w, &e);
    }
};

TEST_F(Form1Desktop, FocusGoesToTheFirstFieldOfThePanelShown) {
    // At start: the checked option, so Space keeps Water.
    EXPECT_EQ(Focused(), "optCoil(2)");
    Key(Qt::Key_Space, " ");
    EXPECT_TRUE(W<QRadioButton>("optCoil(2)")->isChecked());

    FillWaterCoil();
    EXPECT_EQ(Focused(), "cboTubeOD");
    // Print from the keyboard: typing lands in the header panel, never in
    // the hidden fins-per-inch; Space does not press the hidden Print.
    W("cmdPrint(0)")->setFocus();
    Key(Qt::Key_Space, " ");
    ASSERT_EQ(form.CurrentPanel(), 4);
    EXPECT_EQ(Focused(), "txtHdr(0)");
    Type("12/24/2026");
    EXPECT_EQ(Text("txtHdr(0)"), "12/24/2026");
    EXPECT_EQ(Text("txtFPI"), "12");
    Set("txtHdr(2)", "MY-MODEL");
    Key(Qt::Key_Space, " ");
    EXPECT_EQ(Text("txtHdr(2)"), "MY-MODEL");

    Click("cmdHdr(0)");
    EXPECT_EQ(Focused(), "cboTubeOD");
    Click("cmdClose");
    EXPECT_EQ(Focused(), "optCoil(2)");
}

TEST_F(Form1Desktop, EnterSelectsOnTheStartPanelAndCalculatesOnTheCoilPanel) {
    W<QRadioButton>("optCoil(4)")->click();
    W("optCoil(4)")->setFocus();
    Key(Qt::Key_Return);
    ASSERT_EQ(form.CurrentPanel(), 3);
    EXPECT_EQ(Text("cboCoilType"), "G");

    Click("cmdClose");
    FillWaterCoil();
    for (const char* field : {"txtFPI", "cboTubeOD", "txtProperty(7)"}) {
        W<QTableWidget>("SSDBGrid1")->setRowCount(0);
        W(field)->setFocus();
        Key(Qt::Key_Enter, QString(), Qt::KeypadModifier);
        EXPECT_GT(Grid().size(), 0u) << field;
    }
    // A focused button does its own command.
    W("cmdClose")->setFocus();
    Key(Qt::Key_Return);
    EXPECT_EQ(form.CurrentPanel(), 0);
    EXPECT_TRUE(sink.shown.empty());
}

TEST_F(Form1Desktop, NotesKeepTheCaretAndTheWheelLeavesUnfocusedListsAlone) {
    FillWaterCoil();
    auto* wall = W<QComboBox>("cboWallThk");
    Choose("cboWallThk", "0.035");
    W("txtFPI")->setFocus();
    Wheel(W("cboTubeOD"));
    Wheel(W<QComboBox>("cboTubeOD")->lineEdit());
    EXPECT_EQ(Text("cboTubeOD"), "5");
    EXPECT_EQ(Text("cboWallThk"), "0.035");
    // The focused list still turns with the wheel.
    wall->setFocus();
    Wheel(wall);
    EXPECT_NE(Text("cboWallThk"), "0.035");

    Click("cmdPrint(0)");
    auto* notes = W<QPlainTextEdit>("txtNotes");
    notes->setPlainText("Drain pan by others.");
    notes->setFocus(Qt::MouseFocusReason);
    QApplication::processEvents();
    EXPECT_FALSE(notes->textCursor().hasSelection());
    // The one-line fields still select all.
    W("txtHdr(1)")->setFocus(Qt::MouseFocusReason);
    Set("txtHdr(1)", "AHU-1");
    W("txtHdr(3)")->setFocus(Qt::TabFocusReason);
    W("txtHdr(1)")->setFocus(Qt::MouseFocusReason);
    QApplication::processEvents();
    EXPECT_EQ(W<QLineEdit>("txtHdr(1)")->selectedText(), "AHU-1");
}

TEST_F(Form1Desktop, ResultsCopyAsTabSeparatedRows) {
    FillWaterCoil();
    Click("cmdCalc");
    auto* grid = W<QTableWidget>("SSDBGrid1");
    ASSERT_GT(grid->rowCount(), 3);
    auto line = [this](int r) {
        return QString::fromStdString(Grid()[r].label + "\t" + Grid()[r].value).simplified();
    };
    EXPECT_EQ(form.ResultsText().count('\n'), grid->rowCount());  // nothing selected: every row

    grid->selectRow(0);
    grid->selectionModel()->select(grid->model()->index(2, 0),
                                   QItemSelectionModel::Select | QItemSelectionModel::Rows);
    ASSERT_EQ(grid->actions().size(), 1);
    QAction* copy = grid->actions()[0];
    EXPECT_EQ(copy->text(), "Copy");
    EXPECT_EQ(copy->shortcut(), QKeySequence(QKeySequence::Copy));
    EXPECT_EQ(grid->contextMenuPolicy(), Qt::ActionsContextMenu);
    copy->trigger();
    const QStringList copied = QGuiApplication::clipboard()->text().split('\n');
    ASSERT_EQ(copied.size(), 3);  // two rows, each ended by a line break
    EXPECT_EQ(copied[0].split('\t').size(), 2);
    EXPECT_EQ(copied[0].simplified(), line(0));
    EXPECT_EQ(copied[1].simplified(), line(2));
}

TEST_F(Form1Desktop, AirFlowToggleFollowsTheAirFlowFieldInTheTabOrder) {
    FillWaterCoil();
    W("txtProperty(1)")->setFocus();
    Key(Qt::Key_Tab);
    EXPECT_EQ(Focused(), "cmdAirFlow");
    Key(Qt::Key_Tab);
    EXPECT_EQ(Focused(), "txtProperty(4)");
}

TEST_F(Form1Desktop, UnitsBesideTheFieldsWithoutChangingTheLists) {
    FillWaterCoil();
    EXPECT_EQ(S(W<QLabel>("lblUnitTubeOD")->text()), "5/8 in.");
    EXPECT_EQ(Items("cboTubeOD"), (Strings{"3", "4", "5"}));
    Choose("cboTubeOD", "3");
    EXPECT_EQ(S(W<QLabel>("lblUnitTubeOD")->text()), "3/8 in.");
    for (const char* unit : {"lblUnitWallThk", "lblUnitFinThk", "lblUnitFL"})
        EXPECT_EQ(S(W<QLabel>(unit)->text()), "in.") << unit;
    EXPECT_FALSE(Shown("lblUnitSteamPres"));

    Click("cmdClose");
    EXPECT_EQ(S(W<QLabel>("lblUnitTubeOD")->text()), "");
    Select("S");
    Choose("cboTubeOD", "1");
    EXPECT_EQ(S(W<QLabel>("lblUnitTubeOD")->text()), "1 in.");
    ASSERT_TRUE(Shown("lblUnitSteamPres"));
    W("fraEntCond")->layout()->activate();
    EXPECT_EQ(W("lblUnitSteamPres")->geometry().center().y(), W("txtProperty(14)")->geometry().center().y());
    EXPECT_EQ(EntCondRows(), (Strings{"Altitude (ft)", "CFM", "Ent air db (°f )", "Steam Pres"}));
}

}  // namespace
