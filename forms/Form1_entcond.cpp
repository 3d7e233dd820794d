// Form1: the entering conditions: their rows for the coil type, and the
// air-flow and steam toggles.
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <exception>

#include "common/calc_driver.h"
#include "forms/Form1.h"
#include "forms/widgets.h"

using namespace widgets;

QWidget* Form1::EntCondField(int i) const {
    return i == form1::kRefrigerantField ? static_cast<QWidget*>(cboRefrigerant_) : txtProperty_[i];
}

void Form1::AdjustEntCond() {
    const form1::EntCondLayout layout = form1::EntCondLayoutFor(WidgetText(cboCoilType_));
    // The altitude, the air flow and the dry bulb always show; the rest as
    // the coil type lays them out.
    for (int i = 5; i < form1::kEntCondCount; ++i) {
        EntCondField(i)->setVisible(layout.Shows(i));
        lblEntConditions_[i]->setVisible(layout.Shows(i));
    }
    txtCircuits_->setVisible(layout.circuits);
    lblPhy10_->setVisible(layout.circuits);
    cmdSteam_->hide();
    if (!layout.fluidCaption.empty())
        lblEntConditions_[form1::kFluidTempField]->setText(Q(layout.fluidCaption));
    PlaceEntCondRows(layout);

    ShowAirFlowField(kAirFlowAcfm);
    ApplyUnitCaptions();
}

// Stacks the rows: altitude on row 0, the air-flow fields on row 1, then the
// layout's fields in turn. The steam toggle and the pressure's unit follow
// the steam pressure.
void Form1::PlaceEntCondRows(const form1::EntCondLayout& layout) {
    int row = 1;
    for (int i : layout.rows) {
        ++row;
        QWidget* field = EntCondField(i);
        for (QWidget* w : {static_cast<QWidget*>(lblEntConditions_[i]), field}) entCondGrid_->removeWidget(w);
        entCondGrid_->addWidget(lblEntConditions_[i], row, 0);
        entCondGrid_->addWidget(field, row, 1);
        if (i != form1::kSteamPressureField) continue;
        entCondGrid_->removeWidget(cmdSteam_);
        entCondGrid_->addWidget(cmdSteam_, row, 2);
        if (lblUnitSteamPres_) {
            entCondGrid_->removeWidget(lblUnitSteamPres_);
            entCondGrid_->addWidget(lblUnitSteamPres_, row, 3);
        }
    }
}

// The toggle between actual cfm and face velocity carries the value over,
// converted at the coil's face area, when the construction gives one.
void Form1::cmdAirFlow_Click() {
    const int from = AirFlowMode == kAirFlowVelocity ? kAirFlowVelocity : kAirFlowAcfm;
    const int to = from == kAirFlowVelocity ? kAirFlowAcfm : kAirFlowVelocity;
    const std::string text = form1::ConvertAirFlow(from, to, WidgetText(txtProperty_[from]), FaceAreaFt2(),
                                                   units_, txtProperty_[to]->maxLength());
    if (!text.empty()) txtProperty_[to]->setText(QString::fromStdString(text));
    ShowAirFlowField(to);
}

void Form1::ShowAirFlowField(int mode) {
    AirFlowMode = static_cast<int16_t>(mode);
    for (int i = kAirFlowAcfm; i <= kAirFlowVelocity; ++i) {
        txtProperty_[i]->setVisible(i == AirFlowMode);
        lblEntConditions_[i]->setVisible(i == AirFlowMode);
    }
}

// The face area the construction fields give, ft2, as the rating takes it
// (finned length x fin height / 144); 0 when they give none.
double Form1::FaceAreaFt2() const {
    CoilSpec coilSpec;
    CoilRating rating;
    ValidationFault fault;
    try {
        if (!FillCoilRecords(entryMemory_.InchPoundFields(ShownFields(), units_), kAirFlowAcfm, coilSpec,
                             rating, fault))
            return 0;
    } catch (const std::exception&) {
        return 0;
    }
    return static_cast<double>(coilSpec.FL) * coilSpec.FinHeight / 144.0;
}

void Form1::cmdSteam_Click() {
    if (!form1::IsSteam(WidgetText(cboCoilType_))) return;
    txtProperty_[form1::kFluidTempField]->hide();
    lblEntConditions_[form1::kFluidTempField]->hide();
    txtProperty_[form1::kSteamPressureField]->show();
    lblEntConditions_[form1::kSteamPressureField]->show();
}
