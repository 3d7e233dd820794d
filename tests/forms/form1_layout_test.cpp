// The coil window's layout as a user meets it: the air-flow toggle keeps
// the value, fields stay readable at the smallest window, and Tab passes
// over what cannot be edited.
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSettings>
#include <QStyle>
#include <QStyleOptionFrame>

#include "forms/form1_fixture.h"
#include "forms/SelectDialog.h"
#include "forms/select_command.h"
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

    // The width a text needs inside a line edit, as the box lays it out:
    // frame, the edit's own margins of 2 px and its text margins.
    static int Needed(const QLineEdit* box, const QString& text) {
        QStyleOptionFrame opt;
        opt.initFrom(box);
        opt.lineWidth =
            box->hasFrame() ? box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, box) : 0;
        const QMargins tm = box->textMargins();
        const QSize contents(box->fontMetrics().horizontalAdvance(text) + 4 + tm.left() + tm.right(),
                             box->fontMetrics().height());
        return box->style()->sizeFromContents(QStyle::CT_LineEdit, &opt, contents, box).width();
    }
    // Every line edit shown (edit lines of choice lists too) at the window's
    // smallest size holds its text and, where it is limited, as many digits
    // as it takes.
    void ExpectReadableAtMinimumSize(const std::string& what) { ExpectReadableAtMinimumSize(form, what); }
    static void ExpectReadableAtMinimumSize(QWidget& form, const std::string& what) {
        QApplication::processEvents();  // the layout as the last change left it
        form.resize(1, 1);
        QApplication::processEvents();
        for (QLabel* label : form.findChildren<QLabel*>()) {
            if (!label->isVisible() || label->wordWrap() || !label->pixmap().isNull()) continue;
            EXPECT_GE(label->width(), label->sizeHint().width())
                << what << ": " << S(label->objectName()) << " \"" << S(label->text()) << "\"";
        }
        for (QLineEdit* box : form.findChildren<QLineEdit*>()) {
            if (!box->isVisible()) continue;
            const QString digits(box->maxLength() <= 20 ? box->maxLength() : 0, QLatin1Char('0'));
            const int need = std::max(Needed(box, box->text()), Needed(box, digits));
            QWidget* named = qobject_cast<QComboBox*>(box->parentWidget()) ? box->parentWidget() : box;
            EXPECT_GE(box->width(), need) << what << ": " << S(named->objectName()) << " \"" << S(box->text())
                                          << "\" at " << form.width() << "x" << form.height();
        }
        // The smallest window still fits a small screen.
        EXPECT_LE(form.width(), 1024) << what;
        EXPECT_LE(form.height(), 700) << what;
        form.resize(form.sizeHint());
    }
    // Tab from the focused control.
    std::string TabFrom(const QString& name) {
        W(name)->setFocus();
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
        QApplication::sendEvent(QApplication::focusWidget(), &press);
        return Focused();
    }
};

TEST_F(Form1Layout, FieldsStayReadableAtTheSmallestWindow) {
    for (units::System system : {units::System::InchPound, units::System::SI}) {
        const std::string name = system == units::System::SI ? "SI" : "inch-pound";
        FillWaterCoil();
        Click("cmdPrint(0)");
        ASSERT_EQ(form.CurrentPanel(), 4);
        Set("txtHdr(3)", "Northwind Mall, Building C-12");
        Set("txtCPS(0)", "12");
        Use(system);
        ExpectReadableAtMinimumSize(name + " report header");
        Click("cmdHdr(0)");
        ExpectReadableAtMinimumSize(name + " water coil");
        Click("cmdClose");
        Select("E");
        Choose("cboTubeOD", "3");
        ExpectReadableAtMinimumSize(name + " evaporator");
        Click("cmdClose");
        Select("S");
        Click("cmdAirFlow");
        ExpectReadableAtMinimumSize(name + " steam coil by face velocity");
        Click("cmdClose");
        Use(units::System::InchPound);
    }
}

// "Select to Duty" opens with the panel's values and the default limits in
// the fields, converted in SI: each is readable at the dialog's smallest size.
TEST_F(Form1Layout, SelectToDutyFieldsStayReadableAtTheSmallestWindow) {
    FillWaterCoil();
    for (units::System system : {units::System::InchPound, units::System::SI}) {
        Use(system);
        SelectDialog dialog(
            form.InchPoundFields(PanelFields(form)), kAirFlowAcfm, [](const FieldTexts&) {}, &form, system);
        dialog.show();
        ExpectReadableAtMinimumSize(dialog, system == units::System::SI ? "SI" : "inch-pound");
    }
}

// Tab passes over a field that cannot be edited; a click still reaches it.
TEST_F(Form1Layout, TabSkipsReadOnlyFields) {
    FillWaterCoil();
    EXPECT_EQ(TabFrom("cboFinThk"), "txtFPI");
    for (QLineEdit* box : form.findChildren<QLineEdit*>())
        if (box->isReadOnly()) {
            EXPECT_FALSE(box->focusPolicy() & Qt::TabFocus) << S(box->objectName());
            EXPECT_TRUE(box->focusPolicy() & Qt::ClickFocus) << S(box->objectName());
        }
}

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
