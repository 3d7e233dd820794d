// Form1: printing the performance sheet, printer setup and the multi-coil
// printout of the saved coils.
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QString>

#include "forms/Form1.h"
#include "forms/Form3.h"
#include "forms/printer.h"
#include "reports/performance_sheet.h"

// The sheet's texts from the report header panel and the coil fields.
reports::SheetTexts Form1::CurrentSheetTexts() const {
    reports::SheetTexts t;
    for (int i = 0; i < 5; ++i) t.txtHdr[i] = txtHdr_[i]->text().toStdString();
    for (int i = 0; i < 4; ++i) t.txtCPS[i] = txtCPS_[i]->text().toStdString();
    t.txtNotes = txtNotes_->toPlainText().toStdString();
    t.coilType = cboCoilType_->currentText().toStdString();
    t.tubeOD = cboTubeOD_->currentText().toStdString();
    if (mnuToolsChartWithSheet_) t.withChart = mnuToolsChartWithSheet_->isChecked();
    t.units = UnitSystem();
    for (const CoilWarning& w : coilWarnings) t.warnings.push_back(WarningText(units_, w.text));
    return t;
}

void Form1::cmdFinish_Click() {
    // The sheet of the last calculation; the header panel stays on screen.
    PrintSheetCommand(this, coilSpec, coilRating, CurrentSheetTexts());
}

void Form1::mnuFilePrintSetup_Click() {
    Printer().Setup(this);
}

void Form1::mnuFilePrint_Click() {
    if (document_.table.CoilCount() < 1) return;
    PrintMultiCoilReport(document_.table, this, ReportHeader());
}
