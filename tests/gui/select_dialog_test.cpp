// "Select to Duty" on the coil selection window: the dialog starts from the
// coil panel, and "Use" puts the chosen coil on the panel and rates it.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTimer>

#include "engine/msgbox.h"
#include "forms/Form1.h"
#include "forms/SelectDialog.h"
#include "forms/select_command.h"

namespace {

TEST(SelectDialog, StartsFromThePanelAndUseRatesTheChosenCoil) {
    RecordingMessageSink sink;
    ScopedMessageSink scope(sink);
    Form1 form;
    form.show();
    auto* action = form.Action("mnuToolsSelect");
    ASSERT_NE(action, nullptr);
    EXPECT_FALSE(action->isEnabled());   // the start panel is shown

    form.findChild<QRadioButton*>("optCoil(2)")->click();   // water
    form.Button("Command1(0)")->click();
    EXPECT_TRUE(action->isEnabled());
    auto* tube = form.Combo("cboTubeOD");
    tube->setCurrentIndex(tube->findText("5"));
    emit tube->activated(tube->currentIndex());
    for (const auto& [name, text] : {std::pair{"txtFPI", "12"}, {"txtRows", "4"}, {"txtTH", "16"}, {"txtFL", "48"},
                                     {"txtCircuits", "16"}, {"txtProperty(1)", "4000"}, {"txtProperty(4)", "80"},
                                     {"txtProperty(5)", "67"}, {"txtProperty(6)", "45"}, {"txtProperty(7)", "40"}})
        form.SetFieldText(name, text);

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
        table->sortItems(0, Qt::AscendingOrder);   // rank 1 first
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
    EXPECT_NE(form.FieldText("txtProperty(7)"), "40");   // the flow found for the rise
    EXPECT_GE(form.coilRating.TotalBtuh, 150000.0f);
    EXPECT_NEAR(form.coilRating.LvgFluidTemp - form.coilRating.EntFluidTemp, 10.0, 0.05);
    EXPECT_GT(form.findChild<QTableWidget*>("SSDBGrid1")->rowCount(), 0);
    EXPECT_EQ(PanelFields(form).at("Gpm"), form.FieldText("txtProperty(7)"));

    // The next opening starts from this search's inputs.
    ASSERT_NE(SelectDialog::LastInputs(), nullptr);
    EXPECT_EQ(SelectDialog::LastInputs()->rowsFrom, "3");
    EXPECT_TRUE(SelectDialog::LastInputs()->useRise);
}

}  // namespace
