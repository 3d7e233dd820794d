// The submittal package: one document for a list of selected coils, made
// of a cover page (project, customer, engineer, date), the schedule of the
// coils (one line a coil, on as many pages as it takes), then each coil's
// performance sheet exactly as Print prints it, optionally followed by its
// psychrometric chart. The cover and schedule pages carry "Page x of y" of
// the whole package.
#pragma once

#include <QString>
#include <memory>
#include <string>
#include <vector>

#include "common/units.h"
#include "engine/records.h"
#include "exchange/coil_export.h"
#include "reports/performance_sheet.h"
#include "reports/print_document.h"

class QPagedPaintDevice;

namespace reports {

struct SubmittalHeader {
    std::string project;
    std::string customer;
    std::string engineer;
    std::string date;
    units::System units = units::System::InchPound;  // of every figure and unit in the package
    bool a4 = false;                                 // the paper: A4, else US Letter
    bool charts = false;                             // each sheet followed by its chart page
    // Rows of a schedule that have no coil in the package, each "row|tag|
    // why", listed after the schedule so that the package says what it lacks.
    std::vector<std::string> leftOut;
};

// One coil of the package: its schedule line and its sheet.
struct SubmittalCoil {
    kvn::exchange::ExportCoil line;  // the schedule's line (tag, saved row, warnings)
    CoilSpec coilSpec;
    CoilRating rating;
    // As Print prints the sheet, the tag as the item; its warnings in
    // inch-pound (printed in the package's units, as are the figures).
    SheetTexts texts;
    // False for a coil known only by its line (a coil file keeps no
    // ratings): it is in the schedule, without a sheet.
    bool hasSheet = true;
};

// The page of a paper in twips, with the report's margins.
PageGeometry SubmittalPage(bool a4);

// "Page 3 of 12".
std::string PageOfText(int page, int total);

// The cover and the schedule pages, laid out on the paper of `header`.
std::unique_ptr<PrintDocument> BuildSubmittalFront(const SubmittalHeader& header,
                                                   const std::vector<SubmittalCoil>& coils);

// The pages of the whole package: the front's, then one sheet a coil that
// has one, and with charts one chart page each.
int SubmittalPageCount(const PrintDocument& front, const SubmittalHeader& header,
                       const std::vector<SubmittalCoil>& coils);

// Paints the package on an open device (a QPrinter or QPdfWriter not yet
// painted on), prepared for the sheet (PrepareSheetPrinter): its origin is
// the printable area's corner. False when painting could not start.
bool PaintSubmittal(QPagedPaintDevice& device, const SubmittalHeader& header,
                    const std::vector<SubmittalCoil>& coils);

// The package as a PDF on the paper of `header`, quarter-inch margins as
// the sheet has.
bool WriteSubmittalPdf(const QString& path, const SubmittalHeader& header,
                       const std::vector<SubmittalCoil>& coils);

}  // namespace reports
