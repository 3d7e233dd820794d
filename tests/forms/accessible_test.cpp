// Every window as assistive technology reads it: each control the keyboard
// reaches has a name, taken from its label (the label's buddy), its own
// caption or an accessible name, and the warnings line is announced.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "files/saved_coils.h"
#include "forms/Form1.h"
#include "forms/Form2.h"
#include "forms/Form3.h"
#include "forms/SelectDialog.h"
#include "forms/frmAbout.h"
#include "forms/frmChart.h"
#include "forms/warnings_line.h"
#include "reports/print_document.h"

namespace {

std::string S(const QString& s) {
    return s.toStdString();
}

QString Stripped(QString text) {
    return text.remove('&').trimmed();
}

bool HasBuddy(const QWidget* w) {
    if (!w->parentWidget()) return false;
    for (const QLabel* l : w->parentWidget()->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
        if (l->buddy() == w) return true;
    return false;
}

// The name a screen reader reads for `w`; "" when it has none of its own.
// Qt falls back on the title of the group box around a field, which names
// the group, not the field: that does not count.
QString NameOf(QWidget* w) {
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
    const QString name = a ? a->text(QAccessible::Name).trimmed() : QString();
    if (auto* g = qobject_cast<QGroupBox*>(w->parentWidget());
        g && w->accessibleName().isEmpty() && !HasBuddy(w) && name == Stripped(g->title()))
        return QString();
    // A choice list's value is not its name.
    if (auto* c = qobject_cast<QComboBox*>(w); c && w->accessibleName().isEmpty() && !HasBuddy(w)) return QString();
    // Nor is a symbol: ">" says nothing read aloud.
    if (!std::any_of(name.begin(), name.end(), [](QChar c) { return c.isLetterOrNumber(); })) return QString();
    return name;
}

// The controls of `window` that take the keyboard focus and have no name
// (of a window shown: the controls shown).
std::vector<std::string> Unnamed(QWidget* window) {
    std::vector<std::string> out;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        // Popups (a choice list's drop-down) are windows of their own.
        if (w->window() != window || w->focusPolicy() == Qt::NoFocus || w->focusProxy()) continue;
        // What the keyboard can reach: shown controls.
        if (window->isVisible() && !w->isVisibleTo(window)) continue;
        if (NameOf(w).isEmpty())
            out.push_back(S(w->objectName()) + " (" + w->metaObject()->className() + ")");
    }
    return out;
}

class Accessible : public ::testing::Test {
protected:
    CoilDocument document;
};

TEST_F(Accessible, EveryFocusableControlOfEveryWindowHasAName) {
    auto form1 = std::make_unique<Form1>(document);
    form1->show();
    SavedCoilTable table;
    std::vector<std::pair<std::string, std::function<std::unique_ptr<QWidget>()>>> windows = {
        {"Form2", [&] { return std::make_unique<Form2>(document, form1.get()); }},
        {"Form3", [&] { return std::make_unique<Form3>(table, reports::ReportHeaderTexts{}, reports::PageGeometry{}); }},
        {"SelectDialog",
         [&] {
             return std::make_unique<SelectDialog>(form1->InchPoundFields({}), kAirFlowAcfm,
                                                   [](const FieldTexts&) {}, form1.get());
         }},
        {"frmChart", [] { return std::make_unique<frmChart>(); }},
        {"frmAbout", [] { return std::make_unique<frmAbout>(); }},
    };
    // The start panel, the coil panel of each coil type, the header panel.
    EXPECT_EQ(Unnamed(form1.get()), std::vector<std::string>{}) << "Form1 start panel";
    for (int option = 0; option < 5; ++option) {
        form1->optCoil_Click(option);
        form1->Command1_Click(0);
        EXPECT_EQ(Unnamed(form1.get()), std::vector<std::string>{}) << "Form1 coil panel " << option;
        form1->cmdClose_Click();
    }
    form1->ShowPanel(4);
    EXPECT_EQ(Unnamed(form1.get()), std::vector<std::string>{}) << "Form1 header panel";
    for (auto& [name, make] : windows) {
        std::unique_ptr<QWidget> w = make();
        EXPECT_EQ(Unnamed(w.get()), std::vector<std::string>{}) << name;
    }
}

// The warnings line tells assistive technology when it changes, and only
// then.
std::vector<std::pair<QAccessible::Event, QObject*>> events;

TEST(AccessibleWarnings, TheLineIsAnnouncedWhenItChanges) {
    QWidget parent;
    QWidget* line = MakeWarningsLine(&parent);
    QObject* text = line->findChild<QLabel*>("lblWarnings");
    events.clear();
    QAccessible::setActive(true);
    const QAccessible::UpdateHandler before = QAccessible::installUpdateHandler([](QAccessibleEvent* e) {
        if (e->type() == QAccessible::NameChanged || e->type() == QAccessible::Alert)
            events.push_back({e->type(), e->object()});
    });
    const std::vector<CoilWarning> one = {{"face-velocity-wet", "Face velocity above 550 ft/min"}};
    ShowWarningsLine(line, one);
    const decltype(events) shown = {{QAccessible::NameChanged, text}, {QAccessible::Alert, text}};
    EXPECT_EQ(events, shown);
    events.clear();
    ShowWarningsLine(line, one);  // the same warnings: nothing new to tell
    EXPECT_TRUE(events.empty());
    ClearWarningsLine(line);
    const decltype(events) cleared = {{QAccessible::NameChanged, text}};
    EXPECT_EQ(events, cleared);
    QAccessible::installUpdateHandler(before);
    QAccessible::setActive(false);
    EXPECT_EQ(S(line->accessibleName()), "");  // named by the window that holds it
}

}  // namespace
