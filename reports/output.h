// Sending the sheet and the report to a printer or a PDF file.
#pragma once

#include <QPageSize>
#include <QString>
#include <memory>

#include "engine/records.h"
#include "reports/performance_sheet.h"
#include "reports/print_document.h"

class QPrinter;
class QPagedPaintDevice;

namespace reports {

// Paints the performance sheet as one page on an open device (a QPrinter
// or QPdfWriter not yet painted on). False when painting could not start.
bool PaintSheet(QPagedPaintDevice& device, const CoilSpec& coilSpec, const CoilRating& rating,
                const SheetTexts& texts);

// The sheet as a one-page PDF (US Letter unless `page` says otherwise),
// with a quarter-inch margin.
bool WriteSheetPdf(const QString& path, const CoilSpec& coilSpec, const CoilRating& rating,
                   const SheetTexts& texts, const QPageSize& page = QPageSize(QPageSize::Letter));

// Prepares a printer for the sheet: its positions are measured from the
// printable area's corner, which lies at least a quarter inch inside every
// paper edge. A printable area smaller than the sheet gets the sheet scaled
// down to fit (PaintSheet), every position in proportion.
void PrepareSheetPrinter(QPrinter& printer);
// Prepares a printer for the report: full page, the document's page size.
void PrepareReportPrinter(QPrinter& printer, const PageGeometry& page);

// The report as a PDF of the document's page size.
bool WriteReportPdf(const QString& path, const PrintDocument& doc);

// A report written to a PDF one page at a time, in order, as its pages are
// laid out (PrintDocument::TakeFirstPages); the file is the one
// WriteReportPdf writes of the whole document. Painting uses the calling
// thread's fonts: every call must come from the same thread.
class ReportPdfStream {
public:
    ReportPdfStream(const QString& path, const PageGeometry& page);
    ~ReportPdfStream();
    ReportPdfStream(const ReportPdfStream&) = delete;
    ReportPdfStream& operator=(const ReportPdfStream&) = delete;

    // Paints the next page. False once painting has failed.
    bool Paint(const DocPage& page);
    // Ends the file; false when it could not be written.
    bool Close();

private:
    struct Device;
    std::unique_ptr<Device> device_;
    int painted_ = 0;
    bool failed_ = false;
};

}  // namespace reports
