// The coil form's File commands over the Saved Coils list that reach beyond
// the program: "Export List..." (the list as a CSV file or an XLSX workbook,
// by the file type chosen), "Print Submittal..." and "Save Submittal as
// PDF..." (the submittal package: cover, schedule, each coil's sheet).
//
// The list, the schedule and the sheets are in the unit system of the form;
// each sheet is followed by its chart when Tools "Print chart with the
// sheet" is checked; the paper is the printer's, Letter or A4.
// A coil saved in this session has its sheet in the package as Print
// printed it, and so has a coil added from a schedule (dated the day it was
// added); a coil read from a coil file is in the schedule only (a coil
// file keeps no ratings).
#pragma once

#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "common/units.h"
#include "exchange/coil_export.h"
#include "files/saved_coil_sheets.h"
#include "reports/multi_coil_report.h"
#include "reports/submittal.h"

class QMenu;
class QWidget;

// The actions "mnuFileExport", "mnuFilePrintSubmittal" and
// "mnuFileSaveSubmittal", put into `fileMenu` before its last separator
// (the one above "Exit"), over the saved coils of `document` (which must
// outlive the menu). `header` gives the job fields and units of the
// moment the command runs; `parent` owns the dialogs.
void InitExchangeCommands(QWidget* parent, QMenu* fileMenu, const CoilDocument& document,
                          std::function<reports::ReportHeaderTexts()> header);

// The sheet a saved coil keeps: its records and the form's sheet texts
// (the warnings inch-pound).
SavedCoilSheet SavedSheetOf(const CoilSpec& coilSpec, const CoilRating& rating,
                            const reports::SheetTexts& texts, const std::vector<CoilWarning>& warnings);

// The document's saved coils as exported, each with the warnings it was
// saved with.
std::vector<kvn::exchange::ExportCoil> ExportCoilsOf(const CoilDocument& doc);
// The document's saved coils as a submittal's, with their sheets where
// known.
std::vector<reports::SubmittalCoil> SubmittalCoilsOf(const CoilDocument& doc);

// Writes the list to `path` (.csv or .xlsx) in `system`; false with the
// reason in `error`.
bool ExportSavedCoils(const CoilDocument& doc, units::System system, const std::string& path,
                      std::string& error);

// The package's header from the report header's job fields; A4 when the
// printer's page is A4.
reports::SubmittalHeader SubmittalHeaderOf(const reports::ReportHeaderTexts& header, bool a4);
// Fills the cover's texts the report header leaves blank (and the
// engineer, which it has not) from the first saved sheets that give them:
// those of coils added from a schedule carry its project, customer and
// engineer; the date is that of the first dated sheet.
void FillCoverFromSheets(reports::SubmittalHeader& header, const CoilDocument& doc);

// Asks where to export a list ("Export List"), CSV or XLSX; "" when the
// user cancels. The file type chosen decides the format when the name has
// no extension of its own.
std::string AskExportFileName(QWidget* parent);
