// The coil selection window under test, driven through its controls' names.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "common/calc_driver.h"
#include "engine/msgbox.h"
#include "files/saved_coils.h"
#include "forms/Form1.h"

namespace {

using Strings = std::vector<std::string>;

std::string S(const QString& s) {
    return s.toStdString();
}

class Form1Test : public ::testing::Test {
protected:
    void SetUp() override {
        document.table.Reset();
        form.show();
        QApplication::setActiveWindow(&form);
        QApplication::processEvents();
    }
    void TearDown() override { document.table.Reset(); }

    template <class T = QWidget>
    T* W(const QString& name) {
        T* w = form.findChild<T*>(name);
        EXPECT_NE(w, nullptr) << "no control " << S(name);
        return w;
    }
    void Click(const QString& button) { W<QPushButton>(button)->click(); }

    // Picks a coil type on the start panel and presses "Select".
    void Select(const char* code) {
        const std::string codes = "SCWEG";
        const int index = static_cast<int>(codes.find(code[0]));
        W<QRadioButton>(QString("optCoil(%1)").arg(index))->click();
        Click("Command1(0)");
    }
    // Picks an item of a choice list as a user would.
    void Choose(const QString& combo, const QString& item) {
        auto* c = W<QComboBox>(combo);
        const int i = c->findText(item);
        ASSERT_GE(i, 0) << S(item) << " not in " << S(combo);
        c->setCurrentIndex(i);
        emit c->activated(i);
    }
    Strings Items(const QString& combo) {
        Strings out;
        auto* c = W<QComboBox>(combo);
        for (int i = 0; i < c->count(); ++i) out.push_back(S(c->itemText(i)));
        return out;
    }
    std::string Text(const QString& name) { return form.FieldText(name); }
    void Set(const QString& name, const std::string& text) { form.SetFieldText(name, text); }
    bool Shown(const QString& name) { return W(name)->isVisibleTo(&form); }

    // The shown entering-condition rows, top to bottom, as their label texts;
    // also checks that each label sits on its field's row.
    Strings EntCondRows() {
        auto* frame = W("fraEntCond");
        frame->layout()->activate();
        QApplication::processEvents();
        std::vector<std::pair<int, std::string>> rows;
        for (int i = 0; i < 16; ++i) {
            QWidget* f = i == 8 ? W("cboRefrigerant") : W(QString("txtProperty(%1)").arg(i));
            auto* l = W<QLabel>(QString("lblEntConditions(%1)").arg(i));
            EXPECT_EQ(f->isVisibleTo(frame), l->isVisibleTo(frame)) << "field and label " << i;
            if (!f->isVisibleTo(frame)) continue;
            EXPECT_LT(std::abs(f->geometry().center().y() - l->geometry().center().y()), f->height() / 2)
                << "label " << i << " beside its field";
            rows.push_back({f->geometry().top(), S(l->text())});
        }
        std::sort(rows.begin(), rows.end());
        Strings out;
        for (size_t i = 0; i < rows.size(); ++i) {
            if (i > 0) {
                EXPECT_GT(rows[i].first, rows[i - 1].first) << "two fields on one row";
            }
            out.push_back(rows[i].second);
        }
        return out;
    }
    std::vector<GridRow> Grid() {
        std::vector<GridRow> out;
        auto* g = W<QTableWidget>("SSDBGrid1");
        for (int r = 0; r < g->rowCount(); ++r)
            out.push_back({S(g->item(r, 0)->text()), S(g->item(r, 1)->text())});
        return out;
    }
    std::string Focused() {
        QWidget* f = QApplication::focusWidget();
        // The edit line of a choice list stands for the list.
        if (f && qobject_cast<QComboBox*>(f->parentWidget())) f = f->parentWidget();
        return f ? S(f->objectName()) : std::string();
    }

    // A plain water coil that passes every check.
    void FillWaterCoil() {
        Select("W");
        Choose("cboTubeOD", "5");
        for (const auto& [name, text] : {std::pair{"txtFPI", "12"},
                                         {"txtRows", "4"},
                                         {"txtTH", "16"},
                                         {"txtFL", "48"},
                                         {"txtCircuits", "16"},
                                         {"txtProperty(1)", "4000"},
                                         {"txtProperty(4)", "80"},
                                         {"txtProperty(5)", "67"},
                                         {"txtProperty(6)", "45"},
                                         {"txtProperty(7)", "40"}})
            Set(name, text);
    }

    // Enters a coil into the window as a user would: type, tube, then fields.
    void EnterCoil(const FieldTexts& fields, int airFlowMode) {
        Select(fields.at("Application").c_str());
        Choose("cboTubeOD", QString::fromStdString(fields.at("Pattern")));
        if (airFlowMode == 3) Click("cmdAirFlow");
        const std::pair<const char*, const char*> controls[] = {
            {"FPI", "txtFPI"},
            {"RD", "txtRows"},
            {"TH", "txtTH"},
            {"FL", "txtFL"},
            {"Circuits", "txtCircuits"},
            {"Altitude", "txtProperty(0)"},
            {"Acfm", "txtProperty(1)"},
            {"AirVel", "txtProperty(3)"},
            {"EatDb", "txtProperty(4)"},
            {"EatWb", "txtProperty(5)"},
            {"EntFluidTemp", "txtProperty(6)"},
            {"Gpm", "txtProperty(7)"},
            {"Refrigerant", "cboRefrigerant"},
            {"PercentGlycol", "txtProperty(9)"},
            {"SteamPressure", "txtProperty(14)"},
        };
        for (const auto& [key, control] : controls)
            if (fields.count(key)) Set(control, fields.at(key));
    }

    RecordingMessageSink sink;
    ScopedMessageSink scope{sink};
    CoilDocument document;
    Form1 form{document};
};

}  // namespace
