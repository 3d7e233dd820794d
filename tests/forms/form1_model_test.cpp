// The coil selection window's rules, without a window or a QApplication.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "common/catalogue.h"
#include "common/form_fields.h"
#include "engine/coilcalc.h"
#include "forms/form1_model.h"

namespace {

using Rows = std::vector<int>;

TEST(Form1Model, EnteringConditionsPerCoilType) {
    struct Case {
        const char* code;
        Rows rows;
        const char* caption;
        bool circuits;
    };
    const Case cases[] = {
        {"W", {4, 5, 6, 7}, "Ent Fluid (°f)", true},
        {"G", {4, 5, 6, 7, 9}, "Glycol Temp. (°f)", true},
        {"E", {4, 5, 6, 8}, "Evap. Temp. (°f)", true},
        {"C", {4, 6, 8}, "Cond. Temp. (°f)", true},
        {"S", {4, 14}, "", false},
        {"s", {4, 14}, "", false},
        {"g", {4, 5, 6, 7, 9}, "Glycol Temp. (°f)", true},
        {"O", {4, 5, 6, 7}, "Ent Fluid (°f)", true},
        {"", {4, 5, 6, 7}, "Ent Fluid (°f)", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        const form1::EntCondLayout l = form1::EntCondLayoutFor(c.code);
        EXPECT_EQ(l.rows, c.rows);
        EXPECT_EQ(l.fluidCaption, c.caption);
        EXPECT_EQ(l.circuits, c.circuits);
    }
    EXPECT_EQ(form1::EntCondControl(8), "cboRefrigerant");
    EXPECT_EQ(form1::EntCondControl(14), "txtProperty(14)");
    EXPECT_EQ(form1::CoilOptionWord(form1::CoilOptions()[1]), "Condenser");
    EXPECT_EQ(form1::CoilOptionWord(form1::CoilOptions()[5]), "Utilities");
}

TEST(Form1Model, TubeChoicesListsAndTexts) {
    const auto tubes = [](const char* code) {
        const auto t = form1::TubeChoices(code);
        return std::vector<std::string>(t.begin(), t.end());
    };
    EXPECT_EQ(tubes("S"), (std::vector<std::string>{"5", "1"}));
    EXPECT_EQ(tubes("s"), (std::vector<std::string>{"3", "4", "5"}));  // the code is matched exactly
    EXPECT_EQ(form1::TubeSizeText("3"), "3/8 in.");
    EXPECT_EQ(form1::TubeSizeText("1"), "1 in.");
    EXPECT_EQ(form1::TubeSizeText("P"), "");
    // Every tube offered has its lists; steam has none for 3/8 in., the
    // others none for 1 in.
    for (bool steam : {false, true})
        for (std::string_view tube : catalogue::OfferedTubes(steam))
            EXPECT_NE(catalogue::FindTubeConstruction(tube, steam), nullptr) << tube;
    EXPECT_EQ(catalogue::FindTubeConstruction("3", true), nullptr);
    EXPECT_EQ(catalogue::FindTubeConstruction("1", false), nullptr);
    EXPECT_EQ(catalogue::FindTubeConstruction("5", true)->wallText, "0.025");
    EXPECT_EQ(catalogue::FindTubeConstruction("5", false)->wallText, "0.02");
}

TEST(Form1Model, FocusHints) {
    using units::System;
    const auto hint = [](const char* control, const char* text) {
        const form1::FocusHint h = form1::FocusHintFor(control, text, System::InchPound);
        return std::to_string(h.selectAll) + std::to_string(h.setStatus) + "|" + h.code + "|" + h.meaning;
    };
    EXPECT_EQ(hint("cboTubeOD", "4"), "01|4|1/2\" Tube OD");
    EXPECT_EQ(hint("cboTubeOD", "7"), "01||");
    EXPECT_EQ(hint("cboCoilType", "C"), "01|C|Condensor Coil");
    EXPECT_EQ(hint("cboCoilType", "O"), "00||");  // the panels keep their texts
    EXPECT_EQ(hint("cboFinMat", "C"), "01|C|Copper");
    EXPECT_EQ(hint("cboFinMat", "X"), "01||");
    EXPECT_EQ(hint("Text1", ""), "01|CR|Corrugated");
    EXPECT_EQ(hint("txtProperty(0)", ""), "11||Leave blank if below 2000 feet");
    EXPECT_EQ(hint("txtProperty(7)", ""), "11||");
    EXPECT_EQ(hint("txtFoulingFactor", ""), "10||");
    EXPECT_EQ(hint("txtCPS(2)", ""), "10||");
    EXPECT_EQ(hint("txtNotes", ""), "00||");
}

// The window's state takes only the options and panels there are.
TEST(Form1Model, WindowState) {
    form1::WindowState state;
    EXPECT_EQ(state.CoilCode(), "W");
    EXPECT_EQ(state.panel, form1::kStartPanel);
    const int options = static_cast<int>(form1::CoilOptions().size());
    for (int i = -1; i <= options; ++i) {
        EXPECT_EQ(state.ChooseCoil(i), i >= 0 && i < options) << i;
        if (i >= 0 && i < options) {
            EXPECT_EQ(state.CoilCode(), form1::CoilOptions()[i].code);
        }
    }
    for (int i = -1; i <= 5; ++i) {
        const int before = state.panel;
        EXPECT_EQ(state.Show(i), i == 0 || i == 3 || i == 4) << i;
        EXPECT_EQ(state.panel, i == 0 || i == 3 || i == 4 ? i : before);
    }
}

// The refrigerant list is the engine's table: each of its refrigerants
// once, each one the engine rates, 12 and 22 first.
TEST(Form1Model, RefrigerantsAreTheEngines) {
    const std::vector<std::string_view> list = catalogue::Refrigerants();
    std::vector<std::string_view> engine = CC_RefrigerantNames();
    EXPECT_EQ(std::set<std::string_view>(list.begin(), list.end()),
              std::set<std::string_view>(engine.begin(), engine.end()));
    EXPECT_EQ(list.size(), engine.size());
    ASSERT_GE(list.size(), 2u);
    EXPECT_EQ(list[0], "12");
    EXPECT_EQ(list[1], "22");
    EXPECT_TRUE(std::is_sorted(list.begin() + 2, list.end()));
    for (std::string_view r : list) EXPECT_GT(CC_RefrigerantFlowFactor(std::string(r)), 0.0) << r;
}

TEST(FormFields, OneEntryPerKeyAndControl) {
    std::set<std::string_view> keys, controls;
    for (const form_fields::Field& f : form_fields::Fields()) {
        EXPECT_TRUE(keys.insert(f.key).second) << f.key;
        EXPECT_TRUE(controls.insert(f.control).second) << f.control;
        EXPECT_EQ(form_fields::FindByControl(f.control), &f);
    }
    EXPECT_EQ(keys.size(), 25u);
    EXPECT_EQ(form_fields::FindByKey("EatDb")->name, "EAT (DB)");
    EXPECT_EQ(form_fields::FindByKey("Scfm")->name, "");  // never named in a message
    EXPECT_EQ(form_fields::FindByKey(""), nullptr);
    const form_fields::Field* density = form_fields::FindByControl("txtProperty(13)");
    ASSERT_NE(density, nullptr);
    EXPECT_EQ(density->key, "");
    EXPECT_EQ(density->hint, " Density");
}

}  // namespace
