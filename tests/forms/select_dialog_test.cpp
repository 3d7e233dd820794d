// "Select to Duty" on the coil selection window: the dialog starts from the
// coil panel, and "Use" puts the chosen coil on the panel and rates it.
#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QTimer>

#include "forms/SelectDialog.h"
#include "forms/select_command.h"
#include "form1_fixture.h"

namespace {

class SelectToDutyTest : public Form1Test {};

TEST_F(SelectToDutyTest, StartsFromThePanelAndUseRatesTheChosenCoil) {
    auto* action = form.Action("mnuToolsSelect");
    ASSERT_NE(action, nullptr);
    EXPECT_FALSE(action->isEnabled());  // the start panel is shown
    FillWaterCoil();
    EXPECT_TRUE(action->isEnabled());

    std::string seenCircuits, status;
    bool tubeChecked = false;
    QTimer::singleShot(0, [&] {
        auto* d = qobject_cast<SelectDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        seenCircuits = d->findChild<QLineEdit*>("txtCircuitOptions")->text().toStdString();
        tubeChecked = d->findChild<QCheckBox*>("chkTube5")->isChecked();
        EXPECT_EQ(d->findChild<QLineEdit*>("txtGpm")->text(), "40");
        d->findChild<QLineEdit*>("txtRowsFrom")->setText("3");
        d->findChild<QLineEdit*>("txtRowsTo")->setText("6");
        d->findChild<QLineEdit*>("txtFpiTo")->setText("10");
        d->findChild<QLineEdit*>("txtCircuitOptions")->setText("8, 16");
        d->findChild<QLineEdit*>("txtDutyTotalBtuh")->setText("150000");
        d->findChild<QRadioButton*>("optRise")->setChecked(true);
        d->findChild<QLineEdit*>("txtRise")->setText("10");
        d->StartSearch();
        d->WaitForSearch();
        status = d->StatusText().toStdString();
        auto* table = d->findChild<QTableWidget*>("grdCandidates");
        if (table->rowCount() == 0) return d->reject();
        table->sortItems(0, Qt::AscendingOrder);  // rank 1 first
        table->setCurrentCell(0, 0);
        d->UseCurrent();
    });
    action->trigger();

    EXPECT_EQ(seenCircuits, "32, 16, 12, 8, 4");
    EXPECT_TRUE(tubeChecked);
    EXPECT_NE(status.find("meet the duty"), std::string::npos) << status;
    // The panel holds the first candidate and has been rated with it.
    const int rows = std::stoi(form.FieldText("txtRows"));
    EXPECT_GE(rows, 3);
    EXPECT_LE(rows, 6);
    EXPECT_NE(form.FieldText("txtProperty(7)"), "40");  // the flow found for the rise
    EXPECT_GE(form.coilRating.TotalBtuh, 150000.0f);
    EXPECT_NEAR(form.coilRating.LvgFluidTemp - form.coilRating.EntFluidTemp, 10.0, 0.05);
    EXPECT_GT(form.findChild<QTableWidget*>("SSDBGrid1")->rowCount(), 0);
    EXPECT_EQ(PanelFields(form).at("Gpm"), form.FieldText("txtProperty(7)"));

    // The next opening starts from this search's inputs.
    ASSERT_NE(SelectDialog::LastInputs(), nullptr);
    EXPECT_EQ(SelectDialog::LastInputs()->rowsFrom, "3");
    EXPECT_TRUE(SelectDialog::LastInputs()->useRise);
}

TEST_F(SelectToDutyTest, InSiTheDialogShowsTakesAndHandsBackSi) {
    FillWaterCoil();
    form.SetUnitSystem(units::System::SI);
    QString headers, velocityMin, status;
    QTimer::singleShot(0, [&] {
        auto* d = qobject_cast<SelectDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(d, nullptr);
        auto* table = d->findChild<QTableWidget*>("grdCandidates");
        for (int i = 0; i < table->columnCount(); ++i)
            headers += table->horizontalHeaderItem(i)->text() + "|";
        velocityMin = d->findChild<QLineEdit*>("txtDutyTubeVelocityMin")->text();
        d->findChild<QLineEdit*>("txtRowsFrom")->setText("3");
        d->findChild<QLineEdit*>("txtRowsTo")->setText("6");
        d->findChild<QLineEdit*>("txtFpiTo")->setText("10");
        d->findChild<QLineEdit*>("txtCircuitOptions")->setText("8, 16");
        d->findChild<QLineEdit*>("txtDutyTotalBtuh")->setText("44");  // kW
        d->findChild<QRadioButton*>("optRise")->setChecked(true);
        d->findChild<QLineEdit*>("txtRise")->setText("5.5555555556");  // K
        d->StartSearch();
        d->WaitForSearch();
        status = d->StatusText();
        if (table->rowCount() == 0) return d->reject();
        table->sortItems(0, Qt::AscendingOrder);
        table->setCurrentCell(0, 0);
        d->UseCurrent();
    });
    form.Action("mnuToolsSelect")->trigger();

    for (const char* unit : {"\u00B0F", "ft", "gpm", "in. w.g.", "Btu", "cfm"})
        EXPECT_FALSE(headers.contains(QString::fromUtf8(unit))) << unit << headers.toStdString();
    EXPECT_TRUE(headers.contains("kW"));
    EXPECT_EQ(velocityMin, "0.3048");  // 1 ft/s
    EXPECT_TRUE(status.contains("meet the duty")) << status.toStdString();
    // The flow found is on the panel in L/s, and the panel rates the coil found.
    EXPECT_LT(std::stod(form.FieldText("txtProperty(7)")), 10.0);
    EXPECT_GE(form.coilRating.TotalBtuh, 44 * 3412.14f * 0.999f);
    EXPECT_NEAR(form.coilRating.LvgFluidTemp - form.coilRating.EntFluidTemp, 10.0, 0.05);
    form.SetUnitSystem(units::System::InchPound);
}

}  // namespace
