#include "forms/select_command.h"

#include <QAction>
#include <QEvent>
#include <QMenu>

#include "forms/Form1.h"
#include "forms/SelectDialog.h"

namespace {

// Field keys and the coil panel's controls that hold them.
const std::pair<const char*, const char*> kPanelControls[] = {
    {"Application", "cboCoilType"},    {"Pattern", "cboTubeOD"},        {"TubeWall", "cboWallThk"},
    {"FinMat", "cboFinMat"},           {"FinThk", "cboFinThk"},         {"FinTreat", "cboFinType"},
    {"FPI", "txtFPI"},                 {"RD", "txtRows"},               {"TH", "txtTH"},
    {"FL", "txtFL"},                   {"Circuits", "txtCircuits"},     {"Rifled", "cboRifled"},
    {"FoulingFactor", "txtFoulingFactor"}, {"Altitude", "txtProperty(0)"}, {"Acfm", "txtProperty(1)"},
    {"Scfm", "txtProperty(2)"},        {"AirVel", "txtProperty(3)"},    {"EatDb", "txtProperty(4)"},
    {"EatWb", "txtProperty(5)"},       {"EntFluidTemp", "txtProperty(6)"}, {"Gpm", "txtProperty(7)"},
    {"Refrigerant", "cboRefrigerant"}, {"PercentGlycol", "txtProperty(9)"},
    {"SteamPressure", "txtProperty(14)"}, {"EvapSHCode", "txtProperty(15)"},
};

const char* ControlOf(const std::string& key) {
    for (const auto& [k, control] : kPanelControls)
        if (key == k) return control;
    return nullptr;
}

// Keeps the command's enabled state with the coil panel's visibility.
class PanelWatch : public QObject {
public:
    PanelWatch(QWidget* panel, QAction* action) : QObject(panel), action_(action) {
        action_->setEnabled(!panel->isHidden());
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::ShowToParent || event->type() == QEvent::HideToParent)
            action_->setEnabled(!static_cast<QWidget*>(watched)->isHidden());
        return false;
    }

private:
    QAction* action_;
};

}  // namespace

FieldTexts PanelFields(const Form1& form) {
    FieldTexts fields;
    for (const auto& [key, control] : kPanelControls) fields[key] = form.FieldText(control);
    return fields;
}

void UseCandidate(Form1& form, const FieldTexts& fields) {
    // The tube first: the other lists and texts follow it.
    if (const auto it = fields.find("Pattern"); it != fields.end()) {
        form.SetFieldText("cboTubeOD", it->second);
        form.PopulateBoxes();
    }
    for (const auto& [key, text] : fields)
        if (const char* control = ControlOf(key); control && key != "Pattern") form.SetFieldText(control, text);
    form.cmdCalc_Click();
}

void InitSelectCommand(Form1* form, QMenu* tools) {
    auto* action = tools->addAction("Select to &Duty...");
    action->setObjectName("mnuToolsSelect");
    QObject::connect(action, &QAction::triggered, form, [form] {
        if (form->CurrentPanel() != 3) return;
        SelectDialog dialog(PanelFields(*form), form->AirFlowMode,
                            [form](const FieldTexts& fields) { UseCandidate(*form, fields); }, form);
        dialog.exec();
    });
    if (QWidget* panel = form->Control("Frame1(3)")) panel->installEventFilter(new PanelWatch(panel, action));
}
