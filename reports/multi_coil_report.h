// The multi-coil report: every saved coil, four to a page, with the page
// header of the maker's logo, contact lines and the job.
#pragma once

#include <QColor>
#include <memory>
#include <string>
#include <vector>

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

// Lays the report out coil by coil, four to a page: each coil's tables,
// its identification lines and its warnings, by coil number, under them; a
// coil that does not fit on the rest of a page starts the next. The
// document holds the pages laid out since its last DropFirstPages, so a
// caller that paints and drops each finished page holds one page at most.
class MultiCoilReportBuilder {
public:
    explicit MultiCoilReportBuilder(const ReportHeaderTexts& header, const PageGeometry& page = {});

    // Adds the coil of saved row `row` with its engineering warnings
    // (inch-pound texts, printed in the header's units).
    void Add(const SavedCoilTable::Row& row, const std::vector<std::string>& warnings = {});
    // Ends the document; a report of no coil is one page with its header.
    void Finish();

    PrintDocument& Document() { return *doc_; }
    std::unique_ptr<PrintDocument> Take() { return std::move(doc_); }

private:
    void Start(const Cell& firstAltitude);
    void AddBlock(const SavedCoilTable::Row& row, const std::vector<std::string>& warnings);

    ReportHeaderTexts header_;
    std::unique_ptr<PrintDocument> doc_;
    double unit_ = 0;  // page-header unit, twips
    bool started_ = false;
    int onPage_ = 0;  // coils on the current page
};

// Builds the report of coil rows 0 to CoilCount()-1 of `table`; `warnings`
// holds the warnings of each row (by row; none for a row beyond it).
std::unique_ptr<PrintDocument> BuildMultiCoilReport(
    const SavedCoilTable& table, const ReportHeaderTexts& header, const PageGeometry& page = {},
    const std::vector<std::vector<std::string>>& warnings = {});

// Draws the program's logo into `box`.
void DrawLogo(QPainter& painter, const QRectF& box);

}  // namespace reports
