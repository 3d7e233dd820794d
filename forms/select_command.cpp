#include "forms/select_command.h"

#include <QAction>
#include <QEvent>
#include <QMenu>

#include "common/form_fields.h"
#include "forms/Form1.h"
#include "forms/SelectDialog.h"

namespace {

QString ControlOf(const form_fields::Field& f) {
    return QString::fromUtf8(f.control.data(), static_cast<qsizetype>(f.control.size()));
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
    for (const form_fields::Field& f : form_fields::Fields())
        fields[std::string(f.key)] = form.FieldText(ControlOf(f));
    return fields;
}

void UseCandidate(Form1& form, const FieldTexts& fields) {
    // The tube first: the other lists and texts follow it.
    if (const auto it = fields.find("Pattern"); it != fields.end()) {
        form.SetFieldText("cboTubeOD", it->second);
        form.PopulateBoxes();
    }
    for (const auto& [key, text] : fields)
        if (const form_fields::Field* f = form_fields::FindByKey(key); f && key != "Pattern")
            form.SetFieldText(ControlOf(*f), text);
    form.cmdCalc_Click();
}

void InitSelectCommand(Form1* form, QMenu* tools) {
    auto* action = tools->addAction("Select to &Duty...");
    action->setObjectName("mnuToolsSelect");
    QObject::connect(action, &QAction::triggered, form, [form] {
        if (form->CurrentPanel() != 3) return;
        SelectDialog dialog(
            form->InchPoundFields(PanelFields(*form)), form->AirFlowMode,
            [form](const FieldTexts& fields) { UseCandidate(*form, fields); }, form, form->UnitSystem());
        dialog.exec();
    });
    if (QWidget* panel = form->Control("Frame1(3)")) panel->installEventFilter(new PanelWatch(panel, action));
}
