// Sending the sheet and the report to a printer or a PDF file.
#pragma once

#include <QPageSize>
#include <QString>

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

}  // namespace reports
