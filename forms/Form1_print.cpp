// Form1: printing the performance sheet, printer setup and the multi-coil
// printout of the saved coils.
#include <QAction>
#include <QString>

#include "forms/Form1.h"
#include "forms/Form3.h"
#include "forms/coil_document.h"
#include "forms/printer.h"
#include "reports/performance_sheet.h"

namespace {

// The sheet's texts from the report header panel and the coil fields.
reports::SheetTexts SheetTextsOf(const Form1& f) {
    reports::SheetTexts t;
    for (int i = 0; i < 5; ++i) t.txtHdr[i] = f.FieldText(QString("txtHdr(%1)").arg(i));
    for (int i = 0; i < 4; ++i) t.txtCPS[i] = f.FieldText(QString("txtCPS(%1)").arg(i));
    t.txtNotes = f.FieldText("txtNotes");
    t.coilType = f.FieldText("cboCoilType");
    t.tubeOD = f.FieldText("cboTubeOD");
    if (const QAction* chart = f.Action("mnuToolsChartWithSheet")) t.withChart = chart->isChecked();
    t.units = f.UnitSystem();
    for (const CoilWarning& w : f.coilWarnings) t.warnings.push_back(w.text);
    return t;
}

}  // namespace

bool Form1::PrintCommandsAvailable() const { return true; }

void Form1::InitPrintCommands() {}

void Form1::cmdFinish_Click() {
    // The sheet of the last calculation; the header panel stays on screen.
    PrintSheetCommand(this, coilSpec, coilRating, SheetTextsOf(*this));
}

void Form1::mnuFilePrintSetup_Click() { Printer().Setup(this); }

void Form1::mnuFilePrint_Click() {
    if (TheCoilDocument().table.CoilCount() < 1) return;
    PrintMultiCoilReport(TheCoilDocument().table, this);
}
