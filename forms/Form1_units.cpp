// Form1: the choice of inch-pound or SI units for entry and display.
#include <QAction>
#include <QActionGroup>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSettings>
#include <QTableWidget>

#include "common/form_fields.h"
#include "forms/Form1.h"
#include "forms/warnings_line.h"

namespace {

// The entry fields that hold a quantity, by field key.
constexpr const char* kQuantityFields[] = {"Altitude", "Acfm",         "Scfm", "AirVel",        "EatDb",
                                           "EatWb",    "EntFluidTemp", "Gpm",  "SteamPressure", "FL"};

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
        (system == units::System::SI ? mnuToolsUnitsSI_ : mnuToolsUnitsIP_) = a;
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
    mnuToolsUnitsIP_->setChecked(true);
    units::System saved = units::System::InchPound;
    units::ParseSystem(UserSettings().value(kSettingsKey).toString().toStdString(), saved);
    SetUnitSystem(saved);
}

void Form1::SetUnitSystem(units::System system) {
    if (QAction* a = system == units::System::SI ? mnuToolsUnitsSI_ : mnuToolsUnitsIP_) a->setChecked(true);
    if (system == units_) return;
    for (const char* key : kQuantityFields) {
        const form_fields::Field* field = form_fields::FindByKey(key);
        QLineEdit* box = field ? Text(QString::fromUtf8(field->control.data(),
                                                        static_cast<qsizetype>(field->control.size())))
                               : nullptr;
        if (!box) continue;
        box->setText(QString::fromStdString(
            entryMemory_.Switch(key, units_, box->text().toStdString(), box->maxLength())));
    }
    units_ = system;
    ApplyUnitCaptions();
    // The coil on screen keeps its rating; only its figures are shown anew.
    if (SSDBGrid1_->rowCount() > 0 && !ipGrid_.empty())
        FillGrid(units::GridRows(units_, ipGrid_, coilSpec, coilRating));
    // The warnings line, when it shows any, retold in the new units.
    if (!fraWarnings_->isHidden()) ShowWarningsLine(fraWarnings_, coilWarnings, units_);
}

void Form1::ApplyUnitCaptions() {
    QWidget* panel = Frame1_[3];
    QString ip;
    for (QLabel* l : panel->findChildren<QLabel*>()) {
        // The wall and fin thicknesses are catalogue designations in inches
        // in either system: their labels say so.
        if (l->objectName() == "lblUnitWallThk" || l->objectName() == "lblUnitFinThk") continue;
        if (InchPoundCaption(l, "ipCaption", l->text(), ip))
            l->setText(QString::fromStdString(units::Caption(units_, ip.toStdString())));
    }
    for (QLineEdit* t : panel->findChildren<QLineEdit*>())
        if (InchPoundCaption(t, "ipToolTip", t->toolTip(), ip))
            t->setToolTip(QString::fromStdString(units::Caption(units_, ip.toStdString())));
}
