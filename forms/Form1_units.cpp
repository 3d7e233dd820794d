// Form1: the choice of inch-pound or SI units for entry and display.
#include <QAction>
#include <QActionGroup>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSettings>
#include <QTableWidget>

#include "forms/Form1.h"

namespace {

// The entry fields that hold a quantity: field key, control.
constexpr std::pair<const char*, const char*> kQuantityFields[] = {
    {"Altitude", "txtProperty(0)"},       {"Acfm", "txtProperty(1)"},
    {"Scfm", "txtProperty(2)"},           {"AirVel", "txtProperty(3)"},
    {"EatDb", "txtProperty(4)"},          {"EatWb", "txtProperty(5)"},
    {"EntFluidTemp", "txtProperty(6)"},   {"Gpm", "txtProperty(7)"},
    {"SteamPressure", "txtProperty(14)"}, {"FL", "txtFL"},
};

constexpr const char* kSettingsKey = "Units/System";

QSettings UserSettings() {
    const QString org = QCoreApplication::organizationName();
    return QSettings(org.isEmpty() ? QStringLiteral("KVN") : org, QStringLiteral("KVN"));
}

// The inch-pound text behind a caption: the text itself when it is one,
// else the one remembered when it was last retexted.
bool InchPoundCaption(QObject* o, const char* property, const QString& text, QString& ip) {
    if (units::HasSiCaption(text.toStdString())) {
        o->setProperty(property, text);
        ip = text;
        return true;
    }
    ip = o->property(property).toString();
    return !ip.isEmpty();
}

}  // namespace

void Form1::InitUnits() {
    if (!mnuTools_->actions().isEmpty()) mnuTools_->addSeparator();
    auto* group = new QActionGroup(this);
    group->setExclusive(true);
    auto add = [&](const char* name, const char* caption, units::System system) {
        auto* a = mnuTools_->addAction(caption);
        a->setObjectName(name);
        a->setCheckable(true);
        a->setActionGroup(group);
        connect(a, &QAction::triggered, this, [this, system] {
            SetUnitSystem(system);
            UserSettings().setValue(kSettingsKey, system == units::System::SI ? "SI" : "IP");
        });
    };
    add("mnuToolsUnitsIP", "&Inch-pound units", units::System::InchPound);
    add("mnuToolsUnitsSI", "SI u&nits", units::System::SI);
    Action("mnuToolsUnitsIP")->setChecked(true);
    units::System saved = units::System::InchPound;
    units::ParseSystem(UserSettings().value(kSettingsKey).toString().toStdString(), saved);
    SetUnitSystem(saved);
}

void Form1::SetUnitSystem(units::System system) {
    if (auto* a = Action(system == units::System::SI ? "mnuToolsUnitsSI" : "mnuToolsUnitsIP"))
        a->setChecked(true);
    if (system == units_) return;
    for (const auto& [key, control] : kQuantityFields) {
        QLineEdit* box = Text(control);
        if (!box) continue;
        box->setText(QString::fromStdString(
            entryMemory_.Switch(key, units_, box->text().toStdString(), box->maxLength())));
    }
    units_ = system;
    ApplyUnitCaptions();
    // The coil on screen keeps its rating; only its figures are shown anew.
    auto* grid = qobject_cast<QTableWidget*>(Control("SSDBGrid1"));
    if (grid && grid->rowCount() > 0 && !ipGrid_.empty())
        FillGrid(units::GridRows(units_, ipGrid_, coilSpec, coilRating));
}

void Form1::ApplyUnitCaptions() {
    QWidget* panel = Control("Frame1(3)");
    if (!panel) return;
    QString ip;
    for (QLabel* l : panel->findChildren<QLabel*>())
        if (InchPoundCaption(l, "ipCaption", l->text(), ip))
            l->setText(QString::fromStdString(units::Caption(units_, ip.toStdString())));
    for (QLineEdit* t : panel->findChildren<QLineEdit*>())
        if (InchPoundCaption(t, "ipToolTip", t->toolTip(), ip))
            t->setToolTip(QString::fromStdString(units::Caption(units_, ip.toStdString())));
}
