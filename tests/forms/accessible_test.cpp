// Every window as assistive technology reads it: each control the keyboard
// reaches has a name, taken from its label (the label's buddy), its own
// caption or an accessible name; a label's mnemonic has a field to focus and
// no two controls of a window share one; and the warnings line is announced
// when it changes.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QToolBar>
#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "exchange/schedule.h"
#include "exchange/schedule_template.h"
#include "files/saved_coils.h"
#include "forms/Form1.h"
#include "forms/Form2.h"
#include "forms/Form3.h"
#include "forms/HelpWindow.h"
#include "forms/ScheduleWindow.h"
#include "forms/SelectDialog.h"
#include "forms/announce.h"
#include "forms/frmAbout.h"
#include "forms/frmChart.h"
#include "forms/schedule_columns.h"
#include "forms/warnings_line.h"
#include "reports/print_document.h"

namespace {

using Strings = std::vector<std::string>;

std::string S(const QString& s) {
    return s.toStdString();
}

bool Says(const QString& name) {
    return std::any_of(name.begin(), name.end(), [](QChar c) { return c.isLetterOrNumber(); });
}

// The name a screen reader reads for `w`; "" when it has none of its own.
// Qt falls back on the title of the group box around a field, which names
// the group, not the field: that does not count; nor does a symbol (">").
// A choice list reads its value as its name on Linux: it is named by the
// label that names it (its label relation), and its text box, if it has
// one, by a name of its own.
QString NameOf(QWidget* w) {
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
    if (!a) return {};
    if (auto* c = qobject_cast<QComboBox*>(w)) {
        // An editable list's focus is in its text box.
        if (c->lineEdit() && NameOf(c->lineEdit()).isEmpty()) return {};
        for (const auto& [label, relation] : a->relations(QAccessible::Label))
            if (qobject_cast<QLabel*>(label->object()) && Says(label->text(QAccessible::Name)))
                return label->text(QAccessible::Name);
        return {};
    }
    const QString name = a->text(QAccessible::Name).trimmed();
    if (auto* g = qobject_cast<QGroupBox*>(w->parentWidget());
        g && w->accessibleName().isEmpty() && name == QString(g->title()).remove('&'))
        return {};
    return Says(name) ? name : QString();
}

// The controls of `window` that take the keyboard focus or a click and have no name
// (of a window shown: the controls shown), the buttons described alike, the
// labels whose mnemonic has no field to focus and the mnemonics taken twice.
// The letter after a caption's "&" ("" for none).
QString Mnemonic(QString text) {
    text.remove("&&");
    const auto at = text.indexOf('&');
    return at < 0 || at + 1 >= text.size() ? QString() : text.mid(at + 1, 1).toLower();
}

Strings Unnamed(QWidget* window) {
    Strings out;
    std::map<QString, QString> mnemonics;  // a letter: the control it goes to
    std::map<QString, QString> described;  // a button's description: the button
    for (QWidget* w : window->findChildren<QWidget*>()) {
        // Popups (a choice list's drop-down) are windows of their own.
        if (w->window() != window) continue;
        if (window->isVisible() && !w->isVisibleTo(window)) continue;
        const QString what = w->objectName() + " (" + w->metaObject()->className() + ")";
        if (auto* l = qobject_cast<QLabel*>(w);
            l && QString(l->text()).remove("&&").contains('&') && !l->buddy())
            out.push_back("mnemonic of " + S(what));
        // A toolbar's buttons take no focus but are clicked and read all the
        // same.
        QString caption;
        if (auto* l = qobject_cast<QLabel*>(w)) caption = l->text();
        if (auto* b = qobject_cast<QAbstractButton*>(w)) caption = b->text();
        if (auto* g = qobject_cast<QGroupBox*>(w)) caption = g->title();
        if (const QString m = Mnemonic(caption); !m.isEmpty() && !mnemonics.emplace(m, what).second)
            out.push_back("Alt+" + S(m) + " of " + S(what) + " and " + S(mnemonics[m]));
        const bool tool = qobject_cast<QToolBar*>(w->parentWidget()) && qobject_cast<QAbstractButton*>(w);
        if (w->focusPolicy() == Qt::NoFocus && !tool) continue;
        if (NameOf(w).isEmpty()) out.push_back(S(what));
        // A description read for several buttons tells none of them apart.
        const QString description = QAccessible::queryAccessibleInterface(w)->text(QAccessible::Description);
        if (qobject_cast<QAbstractButton*>(w) && !description.isEmpty() &&
            !described.emplace(description, what).second)
            out.push_back(S(what) + " described as " + S(described[description]));
    }
    return out;
}

// Walks the next modal dialog once it is open, then closes it.
void WalkNextDialog(Strings& unnamed) {
    unnamed = {"not walked"};
    QTimer::singleShot(0, [&unnamed] {
        QWidget* d = QApplication::activeModalWidget();
        unnamed = d ? Unnamed(d) : Strings{"no dialog"};
        if (auto* dialog = qobject_cast<QDialog*>(d)) dialog->reject();
    });
}

kvn::schedule::ScheduleTable Schedule() {
    const units::System ip = units::System::InchPound;
    kvn::schedule::ScheduleTable t;
    t.header = kvn::schedule::TemplateHeader(ip);
    t.rows.push_back({2, kvn::schedule::TemplateRows(ip)[0], -1});
    return t;
}

TEST(Accessible, EveryFocusableControlOfEveryWindowHasAName) {
    CoilDocument document;
    auto form1 = std::make_unique<Form1>(document);
    form1->show();
    // The start panel, the coil panel of each coil type, the header panel.
    EXPECT_EQ(Unnamed(form1.get()), Strings{}) << "Form1 start panel";
    for (int option = 0; option < 5; ++option) {
        form1->optCoil_Click(option);
        form1->Command1_Click(0);
        EXPECT_EQ(Unnamed(form1.get()), Strings{}) << "Form1 coil panel " << option;
        form1->cmdClose_Click();
    }
    form1->ShowPanel(4);
    EXPECT_EQ(Unnamed(form1.get()), Strings{}) << "Form1 header panel";
    SavedCoilTable table;
    const std::vector<std::pair<std::string, std::function<std::unique_ptr<QWidget>()>>> windows = {
        {"Form2", [&] { return std::make_unique<Form2>(document, form1.get()); }},
        {"Form3",
         [&] {
             return std::make_unique<Form3>(table, reports::ReportHeaderTexts{}, reports::PageGeometry{});
         }},
        {"SelectDialog",
         [&] {
             return std::make_unique<SelectDialog>(
                 form1->InchPoundFields({}), kAirFlowAcfm, [](const FieldTexts&) {}, form1.get());
         }},
        {"frmChart", [] { return std::make_unique<frmChart>(); }},
        {"frmAbout", [] { return std::make_unique<frmAbout>(); }},
        {"HelpWindow", [] { return std::make_unique<HelpWindow>(); }},
        {"ScheduleWindow",
         [&] {
             return std::make_unique<ScheduleWindow>(Schedule(), units::System::InchPound, "s.csv", document);
         }},
    };
    for (const auto& [name, make] : windows) EXPECT_EQ(Unnamed(make().get()), Strings{}) << name;

    // The dialogs the schedule opens: its columns, a row's alternatives.
    Strings unnamed;
    auto columns = kvn::schedule::ParseSchedule("Tag,EAT DB,Leaving DB\nA,80,60\n", "s.csv");
    WalkNextDialog(unnamed);
    EXPECT_FALSE(MapScheduleColumns(nullptr, columns, units::System::InchPound));
    EXPECT_EQ(unnamed, Strings{}) << "Schedule Columns";
    ScheduleWindow schedule(Schedule(), units::System::InchPound, "s.csv", document);
    schedule.StartSearch();
    schedule.WaitForSearch();
    WalkNextDialog(unnamed);
    schedule.ShowAlternatives(0);
    EXPECT_EQ(unnamed, Strings{}) << "Alternatives";
}

// The warnings line tells assistive technology when it changes, and only
// then; it reads as a notification named by its warnings.
TEST(AccessibleWarnings, TheLineIsAnnouncedWhenItChanges) {
    RecordingAnnouncements heard;
    AnnouncementPort* before = SetAnnouncementPort(&heard);
    QWidget parent;
    QWidget* line = MakeWarningsLine(&parent);
    const std::vector<CoilWarning> one = {{"face-velocity-wet", "Face velocity above 550 ft/min"}};
    ShowWarningsLine(line, one);
    const decltype(heard.told) shown = {{QAccessible::NameChanged, line}, {QAccessible::Alert, line}};
    EXPECT_EQ(heard.told, shown);
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(line);
    EXPECT_EQ(a->role(), QAccessible::Notification);
    EXPECT_EQ(S(a->text(QAccessible::Name)), "Warnings: Face velocity above 550 ft/min");
    ShowWarningsLine(line, one, units::System::SI);
    EXPECT_EQ(heard.told.size(), 4u);  // the same warning in other units: told again
    EXPECT_EQ(S(a->text(QAccessible::Name)).find("ft/min"), std::string::npos)
        << S(a->text(QAccessible::Name));
    heard.told.clear();
    ShowWarningsLine(line, one, units::System::SI);  // nothing new to tell
    EXPECT_TRUE(heard.told.empty());
    ClearWarningsLine(line);
    const decltype(heard.told) cleared = {{QAccessible::NameChanged, line}};
    EXPECT_EQ(heard.told, cleared);
    SetAnnouncementPort(before);
}

}  // namespace
