// The multi-coil report: every saved coil, four to a page, with the page
// header of the maker's logo, contact lines and the job.
#pragma once

#include <QColor>
#include <memory>
#include <string>

#include "common/units.h"
#include "files/saved_coils.h"
#include "reports/print_document.h"

namespace reports {

// The job fields of the coil form shown in the page header.
struct ReportHeaderTexts {
    std::string customer;                            // txtHdr(3)
    std::string project;                             // txtHdr(4)
    std::string date;                                // txtHdr(0)
    units::System units = units::System::InchPound;  // of the printed figures
};

// Shade of the tables' header rows.
inline const QColor kHeaderShade{249, 243, 204};

// A cell in a number format: "0.00", "0" or "" (general). Text cells that
// hold a number are formatted like numbers; other text prints unchanged.
std::string FormatCell(const Cell& cell, const std::string& pattern);

// Rounds half to even to a whole twip.
double RoundTwips(double twips);

// Builds the report of coil rows 0 to CoilCount()-1 of `table`.
std::unique_ptr<PrintDocument> BuildMultiCoilReport(const SavedCoilTable& table,
                                                    const ReportHeaderTexts& header,
                                                    const PageGeometry& page = {});

// Draws the program's logo into `box`.
void DrawLogo(QPainter& painter, const QRectF& box);

}  // namespace reports
