// The coil selection window, driven through its controls' names.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QEventLoop>
#include <QTimer>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QRadioButton>
#include <QTableWidget>
#include <algorithm>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "common/calc_driver.h"
#include "common/model_designation.h"
#include "common/numfmt.h"
#include "common/units.h"
#include "engine/msgbox.h"
#include "files/coil_file.h"
#include "files/saved_coils.h"
#include "forms/Form1.h"
#include "forms/file_dialog.h"
#include "forms/frmAbout.h"
#include "tests/forms/form1_fixture.h"

namespace {

TEST_F(Form1Test, OpensOnTheStartPanelWithWaterPending) {
    EXPECT_EQ(form.CurrentPanel(), 0);
    EXPECT_TRUE(Shown("Frame1(0)"));
    EXPECT_TRUE(Shown("Frame1(1)"));
    EXPECT_FALSE(Shown("Frame1(3)"));
    EXPECT_FALSE(Shown("Frame1(4)"));
    EXPECT_TRUE(W<QRadioButton>("optCoil(2)")->isChecked());
    EXPECT_EQ(form.State().CoilCode(), "W");
    EXPECT_FALSE(Shown("optCoil(5)"));  // "&Utilities" is not offered
    // Hidden construction fields hold their defaults.
    EXPECT_EQ(Text("cboRifled"), "N");
    EXPECT_EQ(Text("txtFoulingFactor"), "0");
    EXPECT_EQ(Text("cboARI"), "Y");
    for (const char* hidden : {"cboCoilType", "cboFinType", "cboRifled", "txtFoulingFactor", "cboARI",
                               "lblPhy(16)", "lblPhy(9)", "lblPhy(11)", "lblPhy(12)"})
        EXPECT_TRUE(W(hidden)->isHidden()) << hidden;

    // The toolbar's "Save" has no action and is never silently inert.
    EXPECT_FALSE(form.Action("Save")->isEnabled());
    EXPECT_TRUE(form.Action("Open")->isEnabled());
    EXPECT_TRUE(W<QPushButton>("cmdPrint(1)")->isEnabled());
    EXPECT_FALSE(W<QPushButton>("cmdPrint(2)")->isEnabled());  // "&View": nothing saved yet
    EXPECT_TRUE(W<QPushButton>("cmdHdr(1)")->isEnabled());
    // The status bar's live date.
    EXPECT_EQ(Text("StatusPanel(4)"), S(QDate::currentDate().toString("M/d/yyyy")));

    // An option only sets the pending type; "Select" takes it.
    W<QRadioButton>("optCoil(4)")->click();
    EXPECT_EQ(Text("Label5"), "Glycol");
    EXPECT_EQ(Text("cboCoilType"), "");
    Click("Command1(0)");
    EXPECT_EQ(form.CurrentPanel(), 3);
    EXPECT_FALSE(Shown("Frame1(1)"));
    EXPECT_EQ(Text("cboCoilType"), "G");
}

// Printing and viewing the saved coils follow the document as soon as it
// is said to have changed, with no wait; the File menu checks again as it
// opens.
TEST_F(Form1Test, CommandsFollowTheDocument) {
    const auto states = [this] {
        return std::vector<bool>{form.Action("mnuFilePrint")->isEnabled(), form.Action("Print")->isEnabled(),
                                 W<QPushButton>("cmdPrint(2)")->isEnabled()};
    };
    const std::vector<bool> none{false, false, false}, all{true, true, true};
    EXPECT_EQ(states(), none);
    int emitted = 0;
    QObject::connect(&form, &Form1::DocumentChanged, [&] { ++emitted; });
    document.table.Rows().insert(document.table.Rows().begin(), SavedCoilTable::Row{});
    ASSERT_EQ(document.table.CoilCount(), 1);
    form.NoteDocumentChanged();
    EXPECT_EQ(emitted, 1);
    EXPECT_EQ(states(), all);
    document.table.Reset();
    emit W<QMenu>("mnuFile")->aboutToShow();
    EXPECT_EQ(states(), none);
}

TEST_F(Form1Test, EnteringConditionsLaidOutPerCoilType) {
    struct Case {
        const char* code;
        Strings rows;
        bool circuits;
        Strings tubes;
    };
    const Case cases[] = {
        {"W",
         {"Altitude (ft)", "CFM", "Ent air db (°f )", "Ent air wb (°f )", "Ent Fluid (°f)", "Gpm"},
         true,
         {"3", "4", "5"}},
        {"G",
         {"Altitude (ft)", "CFM", "Ent air db (°f )", "Ent air wb (°f )", "Glycol Temp. (°f)", "Gpm",
          "Per gly (1-70)"},
         true,
         {"3", "4", "5"}},
        {"E",
         {"Altitude (ft)", "CFM", "Ent air db (°f )", "Ent air wb (°f )", "Evap. Temp. (°f)", "Refrigerant"},
         true,
         {"3", "4", "5"}},
        {"C",
         {"Altitude (ft)", "CFM", "Ent air db (°f )", "Cond. Temp. (°f)", "Refrigerant"},
         true,
         {"3", "4", "5"}},
        {"S", {"Altitude (ft)", "CFM", "Ent air db (°f )", "Steam Pres"}, false, {"5", "1"}},
    };
    // Each type after every other, so that no row of an earlier layout stays.
    for (const Case& before : cases) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(before.code) + " then " + c.code);
            Select(before.code);
            Click("cmdClose");
            Select(c.code);
            EXPECT_EQ(EntCondRows(), c.rows);
            EXPECT_EQ(Shown("txtCircuits"), c.circuits);
            EXPECT_EQ(Shown("lblPhy(10)"), c.circuits);
            EXPECT_FALSE(Shown("cmdSteam"));
            EXPECT_TRUE(Shown("cmdAirFlow"));
            EXPECT_EQ(form.AirFlowMode, 1);
            EXPECT_EQ(Items("cboTubeOD"), c.tubes);
            Click("cmdClose");
        }
    }
}

TEST_F(Form1Test, CoilTypeListRelaysOutAndTreatsOtherLettersAsWater) {
    Select("S");
    Set("cboCoilType", "g");
    emit W<QComboBox>("cboCoilType")->activated(0);
    EXPECT_EQ(EntCondRows(), (Strings{"Altitude (ft)", "CFM", "Ent air db (°f )", "Ent air wb (°f )",
                                      "Glycol Temp. (°f)", "Gpm", "Per gly (1-70)"}));
    Set("cboCoilType", "X");
    form.AdjustEntCond();
    EXPECT_EQ(EntCondRows(), (Strings{"Altitude (ft)", "CFM", "Ent air db (°f )", "Ent air wb (°f )",
                                      "Ent Fluid (°f)", "Gpm"}));
}

TEST_F(Form1Test, AirFlowToggleAlternatesActualCfmAndVelocity) {
    Select("W");
    Set("txtProperty(1)", "4000");
    Click("cmdAirFlow");
    EXPECT_EQ(form.AirFlowMode, 3);
    EXPECT_EQ(EntCondRows()[1], "Air velocity (fpm)");
    EXPECT_TRUE(Shown("txtProperty(3)"));
    EXPECT_FALSE(Shown("txtProperty(1)"));
    EXPECT_FALSE(Shown("txtProperty(2)"));
    Click("cmdAirFlow");
    EXPECT_EQ(form.AirFlowMode, 1);
    EXPECT_EQ(EntCondRows()[1], "CFM");
    EXPECT_EQ(Text("txtProperty(1)"), "4000");  // kept while hidden
    // The steam toggle does nothing on other coil types.
    form.cmdSteam_Click();
    EXPECT_TRUE(Shown("txtProperty(6)"));
    EXPECT_FALSE(Shown("txtProperty(14)"));
    // A new layout goes back to actual cfm.
    Click("cmdAirFlow");
    form.AdjustEntCond();
    EXPECT_EQ(form.AirFlowMode, 1);
}

TEST_F(Form1Test, TubeChoiceRefillsWallAndFinThicknessLists) {
    struct Case {
        const char* type;
        const char* tube;
        Strings walls;
        const char* wall;
        Strings fins;
        const char* fin;
    };
    const Strings w5 = {"0.020", "0.025", "0.035", "0.049"}, f5 = {".006", ".008", ".010"};
    const Case cases[] = {
        {"W", "3", {"0.014", "0.016"}, "0.014", {".0045", ".006", ".008"}, "0.0045"},
        {"G", "4", {"0.017", "0.025"}, "0.017", {".0045", ".006", ".008", ".010"}, "0.006"},
        {"E", "5", w5, "0.02", f5, "0.006"},
        {"S", "5", w5, "0.025", f5, "0.006"},
        {"S", "1", w5, "0.035", f5, "0.010"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.type) + " tube " + c.tube);
        Select(c.type);
        Set("cboFinMat", "C");
        Set("cboFinType", "");
        Choose("cboTubeOD", c.tube);
        EXPECT_EQ(Items("cboWallThk"), c.walls);
        EXPECT_EQ(Text("cboWallThk"), c.wall);
        EXPECT_EQ(Items("cboFinThk"), c.fins);
        EXPECT_EQ(Text("cboFinThk"), c.fin);
        EXPECT_EQ(Text("cboFinMat"), "A");
        EXPECT_EQ(Text("cboFinType"), "CR");
        Click("cmdClose");
    }
}

TEST_F(Form1Test, TypedTubeCountsAsChosenWhenLeft) {
    Select("W");
    W("cboTubeOD")->setFocus();
    W<QComboBox>("cboTubeOD")->lineEdit()->setText("3");
    W("txtFPI")->setFocus();
    EXPECT_EQ(Items("cboWallThk"), (Strings{"0.014", "0.016"}));
    EXPECT_EQ(Text("cboFinType"), "CR");
}

TEST_F(Form1Test, TubeOutsideTheTableChangesNothing) {
    Select("W");
    Choose("cboTubeOD", "4");
    Set("cboFinMat", "C");
    Set("cboTubeOD", "1");  // not offered for a glycol or water coil
    form.PopulateBoxes();
    EXPECT_EQ(Items("cboWallThk"), (Strings{"0.017", "0.025"}));
    EXPECT_EQ(Text("cboWallThk"), "0.017");
    EXPECT_EQ(Text("cboFinMat"), "C");
    // The 5/16 tube is not offered but is handled.
    Set("cboTubeOD", "6");
    form.PopulateBoxes();
    EXPECT_EQ(Items("cboWallThk"), (Strings{"0.013", "0.016"}));
    EXPECT_EQ(Text("cboFinThk"), "0.0045");
}

TEST_F(Form1Test, StatusBarHints) {
    Select("W");
    using P = std::pair<std::string, std::string>;
    auto focus = [&](const char* name) {
        W("txtFPI")->setFocus();  // empties both panels
        W(name)->show();
        W(name)->setFocus();
        return P{S(form.StatusText(1)), S(form.StatusText(2))};
    };
    Choose("cboTubeOD", "4");  // sent as "P", shown as its size
    EXPECT_EQ(P(S(form.StatusText(1)), S(form.StatusText(2))), (P{"4", "1/2\" Tube OD"}));
    Set("cboTubeOD", "6");
    EXPECT_EQ(focus("cboTubeOD"), (P{"6", "5/16\" Tube OD"}));
    Set("cboFinMat", "C");
    EXPECT_EQ(focus("cboFinMat"), (P{"C", "Copper"}));
    Set("cboFinMat", "");
    W("txtProperty(0)")->setFocus();  // fills panel 2
    W("cboFinMat")->setFocus();
    EXPECT_EQ(S(form.StatusText(2)), "");
    EXPECT_EQ(focus("Text1"), (P{"CR", "Corrugated"}));
    EXPECT_EQ(focus("txtProperty(0)"), (P{"", "Leave blank if below 2000 feet"}));
    Set("cboCoilType", "C");
    EXPECT_EQ(focus("cboCoilType"), (P{"C", "Condensor Coil"}));
}

TEST_F(Form1Test, FocusSelectsTheWholeText) {
    FillWaterCoil();
    for (const char* name : {"txtFPI", "txtCircuits", "txtProperty(4)"}) {
        W("txtProperty(0)")->setFocus();
        auto* t = W<QLineEdit>(name);
        t->setFocus();
        EXPECT_EQ(S(t->selectedText()), S(t->text())) << name;
        EXPECT_FALSE(t->text().isEmpty());
    }
    Click("cmdPrint(0)");
    ASSERT_EQ(form.CurrentPanel(), 4);
    Set("txtHdr(3)", "Acme");
    W("txtHdr(3)")->setFocus();
    EXPECT_EQ(S(W<QLineEdit>("txtHdr(3)")->selectedText()), "Acme");
    // The notes are not one-line: the caret stays, typing adds to them.
    Set("txtNotes", "two\nlines");
    W("txtNotes")->setFocus();
    EXPECT_FALSE(W<QPlainTextEdit>("txtNotes")->textCursor().hasSelection());
}

// Each check in turn: its message with the error icon, the focus on the
// field at fault, and no change to the grid.
TEST_F(Form1Test, ValidationInOrderWithMessageAndFocus) {
    Select("G");
    struct Step {
        const char* message;
        const char* focus;
        std::pair<const char*, const char*> fix;
    };
    const Step steps[] = {
        {"Please Select the Tube OD before Proceeding", "cboTubeOD", {"cboTubeOD", "5"}},
        {"Please Select the Wall Thickness before Proceeding", "cboWallThk", {"cboWallThk", "0.02"}},
        {"Please Select the Fin Material before Proceeding", "cboFinMat", {"cboFinMat", "A"}},
        // The fin type list is never shown; the focus goes to the fin
        // treatment field that stands for it.
        {"Please Select the Fin Treatment before Proceeding", "Text1", {"cboFinType", "CR"}},
        {"Please input the FPI value before Proceeding", "txtFPI", {"txtFPI", "17"}},
        {"Please reduce the FPI value before Proceeding", "txtFPI", {"txtFPI", "16"}},
        {"Please input the number of Rows before Proceeding", "txtRows", {"txtRows", "17"}},
        {"Please reduce the number of Rows before Proceeding", "txtRows", {"txtRows", "16"}},
        {"Please input the number of Tubes High before Proceeding", "txtTH", {"txtTH", "16"}},
        {"Please input the Finned Length before Proceeding", "txtFL", {"txtFL", "48"}},
        {"Please input the ACFM before Proceeding", "txtProperty(1)", {"txtProperty(1)", "4000"}},
        {"Please input the EAT (DB) before Proceeding", "txtProperty(4)", {"txtProperty(4)", "80"}},
        {"Please input the Ent. FL. Temp. before Proceeding", "txtProperty(6)", {"txtProperty(6)", "45"}},
        {"Please input the Gly. % before Proceeding", "txtProperty(9)", {"txtProperty(9)", "30"}},
        {"GPM value must be greater than 0", "txtProperty(7)", {"txtProperty(7)", "40"}},
    };
    for (const Step& s : steps) {
        sink.shown.clear();
        W("txtProperty(0)")->setFocus();
        Click("cmdCalc");
        ASSERT_EQ(sink.shown.size(), 1u) << s.message;
        EXPECT_EQ(sink.shown[0].text, s.message);
        EXPECT_EQ(sink.shown[0].icon, MsgIcon::Error);
        EXPECT_EQ(sink.shown[0].title, "Korvan");
        EXPECT_EQ(Focused(), s.focus) << s.message;
        EXPECT_EQ(W<QTableWidget>("SSDBGrid1")->rowCount(), 0);
        // Typed with the focus elsewhere: a tube typed into the list and
        // left counts as chosen, which would fill the lists checked next.
        W("txtProperty(0)")->setFocus();
        Set(s.fix.first, s.fix.second);
    }
    // "abc" is no number: refused, not read as 0.
    Set("txtFPI", "abc");
    sink.shown.clear();
    EXPECT_FALSE(form.CalcPerform());
    ASSERT_FALSE(sink.shown.empty());
    EXPECT_EQ(sink.shown[0].text, "FPI value \"abc\" is not a number");
}

// A numeric field holds one number: anything more is refused naming the
// field and the text, with the focus on the field and its text selected;
// the accepted texts rate the number they show.
TEST_F(Form1Test, NumericFieldsHoldOneWholeNumber) {
    FillWaterCoil();
    Click("cmdCalc");
    ASSERT_TRUE(sink.shown.empty());
    const struct {
        const char* control;
        const char* name;
    } fields[] = {{"txtFPI", "FPI"}, {"txtProperty(1)", "ACFM"}, {"txtFL", "Finned Length"}};
    for (const auto& f : fields) {
        const std::string good = Text(f.control);
        for (const char* text : {"2,000", "12x", "45F", "1/2", "5 5"}) {
            sink.shown.clear();
            Set(f.control, text);
            W("txtProperty(0)")->setFocus();
            EXPECT_FALSE(form.CalcPerform()) << f.control << text;
            ASSERT_EQ(sink.shown.size(), 1u);
            EXPECT_EQ(sink.shown[0].text, std::string(f.name) + " value \"" + text + "\" is not a number");
            EXPECT_EQ(Focused(), f.control);
            EXPECT_EQ(S(W<QLineEdit>(f.control)->selectedText()), text);
        }
        Set(f.control, good);
    }
    sink.shown.clear();
    for (const char* text : {"2000", " 2000 ", "2e3", "2000.0"}) {
        Set("txtProperty(1)", text);
        EXPECT_TRUE(form.CalcPerform()) << text;
        EXPECT_EQ(form.coilRating.Acfm, 2000.0f) << text;
    }
    EXPECT_TRUE(sink.shown.empty());
}

// The warnings line tells of the coil as rated: it empties when a field is
// edited, when the panel is left and when a coil type is chosen; in SI its
// figures are in SI.
TEST_F(Form1Test, WarningsLineNeverOutlivesItsRating) {
    auto rateWithWarnings = [&] {
        FillWaterCoil();
        Set("txtCircuits", "");
        Click("cmdCalc");
        ASSERT_TRUE(Shown("fraWarnings"));
    };
    rateWithWarnings();
    Set("txtFPI", "11");
    emit W<QLineEdit>("txtFPI")->textEdited("11");
    EXPECT_FALSE(Shown("fraWarnings"));

    rateWithWarnings();
    Select("G");  // the glycol panel opens empty, without the water coil's warnings
    EXPECT_FALSE(Shown("fraWarnings"));
    EXPECT_EQ(S(W<QLabel>("lblWarnings")->text()), "");

    rateWithWarnings();
    Click("cmdClose");
    EXPECT_FALSE(Shown("fraWarnings"));
}

TEST_F(Form1Test, ValidationOfAirFlowSteamAndRefrigerant) {
    auto firstMessage = [&] {
        sink.shown.clear();
        form.CalcPerform();
        return sink.shown.empty() ? std::string() : sink.shown[0].text;
    };
    auto construct = [&](const char* type, const char* tube) {
        Select(type);
        Choose("cboTubeOD", tube);
        Set("txtFPI", "10");
        Set("txtRows", "2");
        Set("txtTH", "12");
        Set("txtFL", "36");
    };
    construct("W", "5");
    Click("cmdAirFlow");
    EXPECT_EQ(firstMessage(), "Please input the Air Velocity before Proceeding");
    EXPECT_EQ(Focused(), "txtProperty(3)");

    Click("cmdClose");
    construct("S", "1");
    Set("txtProperty(1)", "3000");
    Set("txtProperty(4)", "40");
    EXPECT_EQ(firstMessage(), "Please input the PSI value before Proceeding");
    EXPECT_EQ(Focused(), "txtProperty(14)");

    Click("cmdClose");
    construct("C", "4");
    Set("txtProperty(1)", "3000");
    Set("txtProperty(4)", "95");
    Set("txtProperty(6)", "120");
    EXPECT_EQ(firstMessage(), "Please select the Refrigerant type  before Proceeding");
    EXPECT_EQ(Focused(), "cboRefrigerant");
}

// One coil of each type rated through the window: the grid lists, under the
// labels of that coil type, the driver's rows for the same field texts.
struct RatedCoil {
    const char* name;
    FieldTexts fields;  // "Application" and "Pattern" are chosen, the rest typed
    int airFlowMode;
    Strings labels;
};
// Names the coil in test listings rather than dumping its bytes.
void PrintTo(const RatedCoil& coil, std::ostream* os) {
    *os << coil.name;
}

const Strings kAirRows = {"Btuh (Total) ", "Btuh (Sens)  ",       "Air PD (IN W.G.)",
                          "Scfm         ", "Air Velocity (SFPM)", "LAT DB (°F)"};
Strings Rows(Strings more) {
    Strings all = kAirRows;
    all.insert(all.end(), more.begin(), more.end());
    all.push_back("Fin Height");
    return all;
}
FieldTexts Coil(const char* type, const char* tube, FieldTexts more) {
    FieldTexts f = {{"Application", type}, {"Pattern", tube}, {"FPI", "12"},
                    {"RD", "4"},           {"TH", "16"},      {"FL", "48"},
                    {"Circuits", "16"},    {"Altitude", "0"}, {"Acfm", "2000"}};
    for (const auto& [k, v] : more) f[k] = v;
    return f;
}

const RatedCoil kRatedCoils[] = {
    {"Water", Coil("W", "5", {{"EatDb", "80"}, {"EatWb", "67"}, {"EntFluidTemp", "45"}, {"Gpm", "20"}}), 1,
     Rows({"LAT WB (°F)", "Lvg Fl Temp (°F)", "Water PD (FT H20)", "Water Vel (FPS)"})},
    {"Glycol",
     Coil("G", "5",
          {{"EatDb", "80"}, {"EatWb", "67"}, {"EntFluidTemp", "42"}, {"Gpm", "25"}, {"PercentGlycol", "30"}}),
     1, Rows({"LAT WB  (°F)", "Lvg Fl Temp (°F)", "Glycol PD  (FT H2O)", "Glycol Vel (FPS)"})},
    {"Steam", Coil("S", "5", {{"RD", "2"}, {"Acfm", "3000"}, {"EatDb", "0"}, {"SteamPressure", "15"}}), 1,
     Rows({"Condensate (Lbs/Hr)", "Latent heat  "})},
    {"Evaporator",
     Coil("E", "5",
          {{"Circuits", "8"},
           {"Acfm", "2400"},
           {"EatDb", "80"},
           {"EatWb", "67"},
           {"EntFluidTemp", "40"},
           {"Refrigerant", "22"}}),
     1, Rows({"LAT WB  (°F)", "Refr. PD (PSI)"})},
    {"Condenser",
     Coil("C", "4",
          {{"FPI", "10"},
           {"RD", "3"},
           {"TH", "24"},
           {"FL", "60"},
           {"Circuits", "6"},
           {"Acfm", "5000"},
           {"EatDb", "95"},
           {"EntFluidTemp", "120"},
           {"Refrigerant", "22"}}),
     1, Rows({"Refr. PD (PSI)"})},
};

class Form1RatingTest : public Form1Test, public ::testing::WithParamInterface<RatedCoil> {};

TEST_P(Form1RatingTest, CalculateFillsTheGrid) {
    const RatedCoil& coil = GetParam();
    EnterCoil(coil.fields, coil.airFlowMode);
    Click("cmdCalc");
    for (const ShownMessage& m : sink.shown) ADD_FAILURE() << "message: " << m.text;
    Strings labels;
    for (const GridRow& r : Grid()) labels.push_back(r.label);
    EXPECT_EQ(labels, coil.labels);

    // The same coil through the driver: the construction lists as the tube
    // choice filled them, the hidden fields as they stand.
    FieldTexts fields = coil.fields;
    for (const auto& [key, control] : {std::pair{"TubeWall", "cboWallThk"},
                                       {"FinMat", "cboFinMat"},
                                       {"FinThk", "cboFinThk"},
                                       {"FinTreat", "cboFinType"},
                                       {"Rifled", "cboRifled"},
                                       {"FoulingFactor", "txtFoulingFactor"}})
        fields[key] = Text(control);
    CoilSpec coilSpec;
    CoilRating rating;
    const CalcResult direct = CalcPerform(fields, coil.airFlowMode, coilSpec, rating);
    ASSERT_TRUE(direct.ok());
    const auto grid = Grid();
    ASSERT_EQ(grid.size(), direct.grid.size());
    for (size_t i = 0; i < grid.size(); ++i) EXPECT_EQ(grid[i].value, direct.grid[i].value) << grid[i].label;
    EXPECT_EQ(form.coilRating.TotalBtuh, rating.TotalBtuh);
    EXPECT_GT(form.coilRating.TotalBtuh, 0);
    EXPECT_EQ(form.coilSpec.Pattern, coilSpec.Pattern);
}

INSTANTIATE_TEST_SUITE_P(EachCoilType, Form1RatingTest, ::testing::ValuesIn(kRatedCoils),
                         [](const auto& info) { return std::string(info.param.name); });

// A coil's result does not depend on what the window rated before it: an
// evaporator rated after a hot-water coil (a dry surface) gives what it gives
// after a wet chilled-water coil, as the first coil of a session does.
TEST_F(Form1Test, ResultDoesNotDependOnThePreviousCoil) {
    const RatedCoil& evaporator = kRatedCoils[3];
    const FieldTexts heating =
        Coil("W", "5", {{"EatDb", "60"}, {"EatWb", "50"}, {"EntFluidTemp", "180"}, {"Gpm", "20"}});
    auto rate = [&](const FieldTexts& fields) {
        Click("cmdClose");
        EnterCoil(fields, 1);
        Click("cmdCalc");
        return std::pair{Grid(), form.coilRating};
    };
    FillWaterCoil();
    Click("cmdCalc");
    const auto [first, firstRating] = rate(evaporator.fields);
    ASSERT_FALSE(rate(heating).first.empty());
    const auto [second, secondRating] = rate(evaporator.fields);
    EXPECT_TRUE(sink.shown.empty());
    EXPECT_EQ(secondRating.AirPD, firstRating.AirPD);
    EXPECT_EQ(secondRating.TotalBtuh, firstRating.TotalBtuh);
    ASSERT_EQ(second.size(), first.size());
    for (size_t i = 0; i < first.size(); ++i) EXPECT_EQ(second[i].value, first[i].value) << first[i].label;
}

TEST_F(Form1Test, FaceVelocityRatesByVelocityAndShowsTheAirFlowUsed) {
    FillWaterCoil();
    Set("txtProperty(1)", "9999");  // the hidden actual-cfm field is not used
    Click("cmdAirFlow");
    Set("txtProperty(3)", "500");
    Click("cmdCalc");
    ASSERT_TRUE(sink.shown.empty());
    const auto grid = Grid();
    ASSERT_GE(grid.size(), 5u);
    EXPECT_EQ(grid[4].label, "Air Velocity (SFPM)");
    EXPECT_EQ(grid[4].value, "       500.000");
    // 16 tubes of 5/8 in are 24 in of fin height; 24 x 48 in is 8 ft2, so
    // 500 fpm is 4000 cfm.
    EXPECT_EQ(grid[3].label, "Scfm         ");
    EXPECT_EQ(grid[3].value, "      4000.000");
}

// A coil that fails validation, or that the engine cannot rate (its message
// is shown): the window keeps the last rating and stays on the coil panel.
TEST_F(Form1Test, FailuresKeepTheLastRating) {
    FillWaterCoil();
    ASSERT_TRUE(form.CalcPerform());
    const auto before = Grid();
    const float total = form.coilRating.TotalBtuh;
    for (const auto& [name, text] : {std::pair{"txtFPI", ""}, {"txtProperty(4)", "250"}}) {
        SCOPED_TRACE(name);
        const std::string old = Text(name);
        Set(name, text);
        sink.shown.clear();
        Click("cmdPrint(0)");
        ASSERT_EQ(sink.shown.size(), 1u);
        EXPECT_EQ(form.CurrentPanel(), 3);
        ASSERT_EQ(Grid().size(), before.size());
        EXPECT_EQ(Grid()[0].value, before[0].value);
        EXPECT_EQ(form.coilRating.TotalBtuh, total);
        EXPECT_EQ(form.coilRating.Altitude, 0);
        Set(name, old);
    }
    EXPECT_NE(sink.shown[0].text.find("CC_bAssignCoilProp"), std::string::npos);
}

// Under the grid, the warnings of the last rating, hidden when it has none;
// the grid keeps its rows. The engine's refrigerants are all offered.
TEST_F(Form1Test, WarningsLineRefusalsAndRefrigerants) {
    FillWaterCoil();
    Click("cmdCalc");
    const size_t rows = Grid().size();
    EXPECT_FALSE(Shown("fraWarnings"));
    Set("txtCircuits", "");  // 40 gpm through one 5/8 in. tube
    Click("cmdCalc");
    ASSERT_TRUE(Shown("fraWarnings"));
    EXPECT_EQ(
        S(W<QLabel>("lblWarnings")->text()),
        "Fluid velocity above 8 ft/s: tube erosion and noise\nCircuits left blank: rated with one circuit");
    EXPECT_EQ(Grid().size(), rows);

    sink.shown.clear();
    Set("txtProperty(0)", "31000");
    Click("cmdCalc");
    ASSERT_EQ(sink.shown.size(), 1u);
    EXPECT_EQ(sink.shown[0].text, "Altitude must be between -500 and 30000 ft");
    EXPECT_EQ(Focused(), "txtProperty(0)");
    EXPECT_TRUE(Shown("fraWarnings"));  // a refused form leaves the last rating on screen

    Click("cmdClose");
    Select("E");
    EXPECT_EQ(Items("cboRefrigerant"), (Strings{"12", "22", "134A", "404A", "407C", "410A"}));
}

TEST_F(Form1Test, PrintOpensTheHeaderPanelWithDateAndModel) {
    FillWaterCoil();
    Click("cmdPrint(0)");
    EXPECT_EQ(form.CurrentPanel(), 4);
    EXPECT_TRUE(Shown("Frame1(4)"));
    EXPECT_FALSE(Shown("Frame1(3)"));
    EXPECT_EQ(Text("txtHdr(0)"), S(QDate::currentDate().toString("MM/dd/yyyy")));
    EXPECT_EQ(Text("txtHdr(2)"), BuildModelDesignation(form.coilSpec, form.coilRating, "5"));
    EXPECT_FALSE(Text("txtHdr(2)").empty());
    Click("cmdHdr(0)");
    EXPECT_EQ(form.CurrentPanel(), 3);
    EXPECT_FALSE(Shown("Frame1(4)"));
}

TEST_F(Form1Test, CancelAbandonsTheCoil) {
    FillWaterCoil();
    Set("cboRefrigerant", "22");
    Click("cmdPrint(0)");
    Set("txtHdr(3)", "Customer");
    Set("txtCPS(1)", "2");
    Set("txtNotes", "note");
    Click("cmdHdr(0)");
    Set("cboFinMat", "C");
    form.SetStatus("a", "b");
    Click("cmdClose");

    EXPECT_EQ(form.CurrentPanel(), 0);
    EXPECT_TRUE(Shown("Frame1(0)"));
    for (const char* n :
         {"cboTubeOD", "cboWallThk", "cboFinMat", "cboFinThk", "cboFinType", "txtFPI", "txtRows", "txtTH",
          "txtFL", "cboRifled", "txtCircuits", "cboRefrigerant", "txtNotes"})
        EXPECT_EQ(Text(n), "") << n;
    for (const char* n :
         {"txtProperty(1)", "txtProperty(4)", "txtProperty(7)", "txtHdr(0)", "txtHdr(3)", "txtCPS(1)"})
        EXPECT_EQ(Text(n), "") << n;
    EXPECT_EQ(S(form.StatusText(1)), "");
    EXPECT_EQ(S(form.StatusText(2)), "");
    // Kept: coil type, fouling factor, certification, the lists' items, the
    // pending type.
    EXPECT_EQ(Text("cboCoilType"), "W");
    EXPECT_EQ(Text("txtFoulingFactor"), "0");
    EXPECT_EQ(Text("cboARI"), "Y");
    EXPECT_EQ(Items("cboWallThk"), (Strings{"0.020", "0.025", "0.035", "0.049"}));
    EXPECT_EQ(form.State().CoilCode(), "W");

    // A new coil type: its tubes, the walls of the last tube chosen, an
    // empty grid.
    Select("S");
    EXPECT_EQ(Items("cboTubeOD"), (Strings{"5", "1"}));
    EXPECT_EQ(Items("cboWallThk"), (Strings{"0.020", "0.025", "0.035", "0.049"}));
    EXPECT_EQ(Text("txtFPI"), "");
    EXPECT_EQ(W<QTableWidget>("SSDBGrid1")->rowCount(), 0);
}

TEST_F(Form1Test, CoilWordCentredOverTheCoilPanel) {
    Select("E");
    for (int width : {900, 1300}) {
        form.resize(width, 700);
        QApplication::processEvents();
        form.centralWidget()->layout()->activate();
        auto* panel = W("Frame1(3)");
        auto* word = W<QLabel>("Label5");
        EXPECT_EQ(S(word->text()), "Evaporator");
        const int left = (panel->width() - word->width()) / 2;
        EXPECT_LE(std::abs(word->x() - left), 1) << width;
    }
}

TEST(FrmAbout, TitleVersionAndSystemInfo) {
    RecordingMessageSink sink;
    ScopedMessageSink scope(sink);
    frmAbout about;
    EXPECT_TRUE(about.isModal());
    EXPECT_NE(S(about.findChild<QLabel*>("lblVersion")->text()).find("9.00"), std::string::npos);
    about.findChild<QPushButton*>("cmdSysInfo")->click();
    ASSERT_EQ(sink.shown.size(), 1u);
    const std::string& text = sink.shown[0].text;
    EXPECT_NE(text.find("Operating system: "), std::string::npos);
    EXPECT_NE(text.find(std::string("Qt version: ") + qVersion()), std::string::npos);
    EXPECT_NE(text.find("Hygrel32 library: "), std::string::npos);
}

}  // namespace

// ---- Units of entry and display ---------------------------------------------

class Form1UnitsTest : public Form1Test {
protected:
    void TearDown() override {
        QSettings("KVN", "KVN").remove("Units/System");
        Form1Test::TearDown();
    }
    void Use(units::System system) {
        form.Action(system == units::System::SI ? "mnuToolsUnitsSI" : "mnuToolsUnitsIP")->trigger();
    }
    Strings GridTexts() {
        Strings out;
        for (const GridRow& r : Grid()) out.push_back(r.label + "\t" + r.value);
        return out;
    }
    std::string Caption(const char* label) { return S(W<QLabel>(label)->text()); }
};

TEST_F(Form1UnitsTest, AnExclusivePairInToolsRememberedBetweenSessions) {
    QAction* ip = form.Action("mnuToolsUnitsIP");
    QAction* si = form.Action("mnuToolsUnitsSI");
    ASSERT_TRUE(ip && si);
    EXPECT_EQ(S(ip->text()), "&Inch-pound units");
    EXPECT_EQ(S(si->text()), "SI u&nits");
    EXPECT_TRUE(W<QMenu>("mnuTools")->actions().contains(si));
    EXPECT_TRUE(ip->isChecked());
    EXPECT_EQ(form.UnitSystem(), units::System::InchPound);
    Use(units::System::SI);
    EXPECT_TRUE(si->isChecked());
    EXPECT_FALSE(ip->isChecked());
    {
        CoilDocument other;
        Form1 next(other);
        EXPECT_EQ(next.UnitSystem(), units::System::SI);
        EXPECT_EQ(S(next.Label("lblEntConditions(0)")->text()), "Altitude (m)");
    }
    Use(units::System::InchPound);
    CoilDocument other;
    Form1 next(other);
    EXPECT_EQ(next.UnitSystem(), units::System::InchPound);
}

// A rated coil on screen keeps its rating across switches: the fields and
// the grid are shown anew, rating again gives the same records, and
// switching back restores the texts as typed.
TEST_F(Form1UnitsTest, SwitchingConvertsTheCoilOnScreenWithoutRerating) {
    FillWaterCoil();
    Set("txtProperty(0)", "2500");
    Click("cmdCalc");
    ASSERT_TRUE(sink.shown.empty());
    const CoilRating ipRating = form.coilRating;
    const Strings ipGrid = GridTexts();

    Use(units::System::SI);
    const Strings siTexts = {Text("txtProperty(0)"), Text("txtProperty(1)"), Text("txtProperty(4)"),
                             Text("txtProperty(5)"), Text("txtProperty(6)"), Text("txtProperty(7)"),
                             Text("txtFL"),          Text("txtFPI")};
    EXPECT_EQ(siTexts, (Strings{"762", "6796", "26.67", "19.44", "7.22", "2.524", "1219.2", "12"}));
    EXPECT_EQ(Caption("lblEntConditions(6)"), "Ent Fluid (°C)");
    EXPECT_EQ(Caption("lblPhy(8)"), "Finned Length (mm):");
    const Strings siGrid = GridTexts();
    ASSERT_EQ(siGrid.size(), ipGrid.size());
    EXPECT_EQ(siGrid[0],
              "kW (Total)   \t" + sRightJustify(units::ToSI(units::Quantity::Capacity, ipRating.TotalBtuh)));

    Click("cmdCalc");
    ASSERT_TRUE(sink.shown.empty());
    EXPECT_EQ(GridTexts(), siGrid);

    // A coil type chosen in SI is laid out with SI captions.
    Set("cboCoilType", "G");
    form.cboCoilType_Click();
    EXPECT_EQ(Caption("lblEntConditions(6)"), "Glycol Temp. (°C)");
    Set("cboCoilType", "W");
    form.cboCoilType_Click();

    Use(units::System::InchPound);
    EXPECT_EQ(Text("txtProperty(4)"), "80");
    EXPECT_EQ(Text("txtFL"), "48");
    EXPECT_EQ(Caption("lblEntConditions(6)"), "Ent Fluid (°f)");
    EXPECT_EQ(GridTexts(), ipGrid);

    // Edited in SI, a value rates as typed; messages speak SI.
    Use(units::System::SI);
    Set("txtProperty(4)", "27");
    Click("cmdCalc");
    EXPECT_EQ(form.coilRating.EatDb, 80.6f);
    Set("txtProperty(7)", "0");
    Click("cmdCalc");
    ASSERT_EQ(sink.shown.size(), 1u);
    EXPECT_EQ(sink.shown[0].text, "Fluid flow (L/s) must be greater than 0");
}

// In SI the warnings quote SI figures, and the thickness fields keep their
// inch designations labelled in inches.
TEST_F(Form1UnitsTest, WarningsAndLabelsTellTheTruthInSi) {
    FillWaterCoil();
    Set("txtCircuits", "");
    Click("cmdCalc");
    const std::string ip =
        "Fluid velocity above 8 ft/s: tube erosion and noise\nCircuits left blank: rated with one circuit";
    EXPECT_EQ(S(W<QLabel>("lblWarnings")->text()), ip);
    Use(units::System::SI);
    EXPECT_EQ(
        S(W<QLabel>("lblWarnings")->text()),
        "Fluid velocity above 2.44 m/s: tube erosion and noise\nCircuits left blank: rated with one circuit");
    EXPECT_EQ(Caption("lblUnitWallThk"), "in.");
    EXPECT_EQ(Caption("lblUnitFinThk"), "in.");
    EXPECT_EQ(Caption("lblUnitFL"), "mm");
    Click("cmdCalc");
    EXPECT_NE(S(W<QLabel>("lblWarnings")->text()).find("2.44 m/s"), std::string::npos);
    Use(units::System::InchPound);
    EXPECT_EQ(S(W<QLabel>("lblWarnings")->text()), ip);
}

// Saved in either system, a coil is the same inch-pound row, and its coil
// file reads back alike.
TEST_F(Form1UnitsTest, SavedRowsAndTheCoilFileStayInchPound) {
    FillWaterCoil();
    Click("cmdPrint(0)");
    const std::string model = Text("txtHdr(2)");
    Click("cmdPrint(1)");
    Click("cmdHdr(0)");
    Use(units::System::SI);
    Click("cmdPrint(0)");
    EXPECT_EQ(Text("txtHdr(2)"), model);
    Click("cmdPrint(1)");
    ASSERT_TRUE(sink.shown.empty());
    ASSERT_EQ(document.table.CoilCount(), 2);
    auto line = [this](int row) {
        const std::string l = CoilFileLine(document.table.Rows()[row]);
        return l.substr(l.find(';'));  // past the coil number
    };
    EXPECT_EQ(line(0), line(1));
    SavedCoilTable back;
    ASSERT_TRUE(ParseCoilFileText(CoilFileText(document.table), back).ok);
    EXPECT_EQ(CoilFileText(back), CoilFileText(document.table));
}

// A toolbar command that fails other than with a run-time error says so.
TEST_F(Form1Test, ToolbarShowsAnUnexpectedFailure) {
    struct FailingDialog : RecordingFileDialog {
        std::string Show() override { throw std::runtime_error("no file system"); }
    } failing;
    SetCoilFileDialog(&failing);
    form.Toolbar1_ButtonClick("Open");
    SetCoilFileDialog(nullptr);
    ASSERT_EQ(sink.shown.size(), 1u);
    EXPECT_EQ(sink.shown[0].text, "The command failed.\nError: no file system");
}
