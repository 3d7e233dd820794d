// The coil window's layout as a user meets it: the air-flow toggle keeps
// the value, fields stay readable at the smallest window, and Tab passes
// over what cannot be edited.
#include <QFontMetrics>
#include <QLineEdit>
#include <QSettings>

#include "forms/form1_fixture.h"
#include "forms/form1_model.h"

namespace {

class Form1Layout : public Form1Test {
protected:
    void TearDown() override {
        QSettings("KVN", "KVN").remove("Units/System");
        Form1Test::TearDown();
    }
    void Use(units::System system) {
        form.Action(system == units::System::SI ? "mnuToolsUnitsSI" : "mnuToolsUnitsIP")->trigger();
    }
    bool VelocityShown() { return Shown("txtProperty(3)"); }
};

// 4000 cfm through the water coil's 8 ft2 face (fin height 24 in. by 48 in.)
// is 500 ft/min; the toggle carries the value across and back, in either
// unit system, and rating either way gives the same air flow.
TEST_F(Form1Layout, AirFlowToggleConvertsTheValue) {
    struct Case {
        units::System system;
        const char* acfm;
        const char* velocity;
    };
    for (const Case& c :
         {Case{units::System::InchPound, "4000", "500"}, Case{units::System::SI, "6796", "2.54"}}) {
        FillWaterCoil();
        Use(c.system);
        EXPECT_EQ(Text("txtProperty(1)"), c.acfm);
        ASSERT_FALSE(VelocityShown());
        Click("cmdAirFlow");
        ASSERT_TRUE(VelocityShown());
        EXPECT_EQ(Text("txtProperty(3)"), c.velocity);
        ASSERT_TRUE(form.CalcPerform());
        const float byVelocity = form.coilRating.Acfm;
        Click("cmdAirFlow");
        EXPECT_EQ(Text("txtProperty(1)"), c.acfm);
        ASSERT_TRUE(form.CalcPerform());
        EXPECT_NEAR(form.coilRating.Acfm, byVelocity, 4.0f);
        Click("cmdClose");
        Use(units::System::InchPound);
    }
}

// Without a face to convert at, the toggle leaves the other field as it is.
TEST_F(Form1Layout, AirFlowToggleWithoutAFaceKeepsTheText) {
    Select("W");
    Set("txtProperty(1)", "4000");
    Set("txtProperty(3)", "450");
    Click("cmdAirFlow");
    EXPECT_EQ(Text("txtProperty(3)"), "450");
    Set("txtProperty(3)", "fast");
    Set("txtTH", "16");
    Set("txtFL", "48");
    Choose("cboTubeOD", "5");
    Click("cmdAirFlow");
    EXPECT_EQ(Text("txtProperty(1)"), "4000");
}

TEST(Form1ModelAirFlow, ConvertsBothWaysInBothSystems) {
    using form1::ConvertAirFlow;
    for (units::System s : {units::System::InchPound, units::System::SI}) {
        for (double area : {0.5, 8.0, 37.5}) {
            for (const char* text : {"1000", "4000", "23750"}) {
                const std::string v = ConvertAirFlow(kAirFlowAcfm, kAirFlowVelocity, text, area, s);
                const std::string back = ConvertAirFlow(kAirFlowVelocity, kAirFlowAcfm, v, area, s);
                ASSERT_FALSE(v.empty());
                // Back within the rounding of the velocity's text.
                EXPECT_NEAR(std::stod(back), std::stod(text), std::stod(text) * 2e-3 + 1)
                    << text << " " << area;
            }
        }
    }
    EXPECT_EQ(ConvertAirFlow(kAirFlowAcfm, kAirFlowVelocity, "4000", 8.0, units::System::InchPound), "500");
    EXPECT_EQ(ConvertAirFlow(kAirFlowVelocity, kAirFlowAcfm, "2.54", 8.0, units::System::SI), "6796");
    EXPECT_EQ(ConvertAirFlow(kAirFlowAcfm, kAirFlowVelocity, "4000", 0.0, units::System::InchPound), "");
    EXPECT_EQ(ConvertAirFlow(kAirFlowAcfm, kAirFlowVelocity, "", 8.0, units::System::InchPound), "");
    EXPECT_EQ(ConvertAirFlow(kAirFlowAcfm, kAirFlowVelocity, "4e", 8.0, units::System::InchPound), "");
}

}  // namespace
