#include "forms/printer.h"

#include <QFileDialog>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include "reports/output.h"

namespace {
PrinterPort* g_port = nullptr;

QtPrinterPort& QtPort() {
    static QtPrinterPort port;
    return port;
}
}  // namespace

PrinterPort& Printer() {
    return g_port ? *g_port : QtPort();
}

void SetPrinterPort(PrinterPort* port) {
    g_port = port;
}

namespace {
// The printer, or a PDF file the user names; false when cancelled.
bool ChooseOutput(QWidget* parent, const QString& title, const QString& suggestion, QString& pdfFile) {
    PrinterPort& p = Printer();
    pdfFile.clear();
    if (p.HasPrinter()) return true;
    pdfFile = p.AskPdfFileName(parent, title, suggestion);
    return !pdfFile.isEmpty();
}
}  // namespace

bool PrintSheetCommand(QWidget* parent, const CoilSpec& coilSpec, const CoilRating& rating,
                       const reports::SheetTexts& texts) {
    QString pdf;
    if (!ChooseOutput(parent, QStringLiteral("Save Sheet as PDF"), QStringLiteral("Performance.pdf"), pdf))
        return false;
    return Printer().PrintSheet(coilSpec, rating, texts, pdf);
}

bool PrintReportCommand(QWidget* parent, const reports::PrintDocument& doc) {
    QString pdf;
    if (!ChooseOutput(parent, QStringLiteral("Save Report as PDF"), QStringLiteral("Saved Coils.pdf"), pdf))
        return false;
    return Printer().PrintReport(doc, pdf);
}

bool PrintSubmittalCommand(QWidget* parent, const reports::SubmittalHeader& header,
                           const std::vector<reports::SubmittalCoil>& coils, bool askPdf) {
    QString pdf;
    if (askPdf) {
        pdf = Printer().AskPdfFileName(parent, QStringLiteral("Save Submittal as PDF"),
                                       QStringLiteral("Submittal.pdf"));
        if (pdf.isEmpty()) return false;
    } else if (!ChooseOutput(parent, QStringLiteral("Save Submittal as PDF"), QStringLiteral("Submittal.pdf"),
                             pdf)) {
        return false;
    }
    return Printer().PrintSubmittal(header, coils, pdf);
}

// ---- Qt ------------------------------------------------------------------

QtPrinterPort::QtPrinterPort() : printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
    if (!HasPrinter()) printer_->setPageSize(QPageSize(QPageSize::Letter));
}

QtPrinterPort::~QtPrinterPort() = default;

bool QtPrinterPort::HasPrinter() {
    return !QPrinterInfo::availablePrinters().isEmpty();
}

QString QtPrinterPort::AskPdfFileName(QWidget* parent, const QString& title, const QString& suggestion) {
    QString name =
        QFileDialog::getSaveFileName(parent, title, suggestion, QStringLiteral("PDF File (*.pdf)"));
    if (!name.isEmpty() && !name.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)) name += ".pdf";
    return name;
}

bool QtPrinterPort::Setup(QWidget* parent) {
    printer_->setOutputFormat(QPrinter::NativeFormat);
    if (HasPrinter()) {
        QPrintDialog dialog(printer_.get(), parent);
        dialog.setWindowTitle(QStringLiteral("Print Setup"));
        dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
        dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
        return dialog.exec() == QDialog::Accepted;
    }
    // No printer: only the page of the PDF output can be chosen.
    QPageSetupDialog dialog(printer_.get(), parent);
    return dialog.exec() == QDialog::Accepted;
}

reports::PageGeometry QtPrinterPort::ReportPage() {
    reports::PageGeometry page;
    const QSizeF size = printer_->pageLayout().fullRect(QPageLayout::Point).size();
    if (size.width() > 0 && size.height() > 0) {
        page.width = size.width() * 20;
        page.height = size.height() * 20;
    }
    return page;
}

bool QtPrinterPort::PrintSheet(const CoilSpec& coilSpec, const CoilRating& rating,
                               const reports::SheetTexts& texts, const QString& pdfFile) {
    // Into a PDF on the paper chosen in the print setup.
    if (!pdfFile.isEmpty())
        return reports::WriteSheetPdf(pdfFile, coilSpec, rating, texts, printer_->pageLayout().pageSize());
    printer_->setOutputFormat(QPrinter::NativeFormat);
    printer_->setDocName(QStringLiteral("Performance"));
    reports::PrepareSheetPrinter(*printer_);
    return reports::PaintSheet(*printer_, coilSpec, rating, texts);
}

bool QtPrinterPort::PrintReport(const reports::PrintDocument& doc, const QString& pdfFile) {
    if (!pdfFile.isEmpty()) return reports::WriteReportPdf(pdfFile, doc);
    printer_->setOutputFormat(QPrinter::NativeFormat);
    printer_->setDocName(QStringLiteral("Saved Coils"));
    const QPageLayout kept = printer_->pageLayout();
    reports::PrepareReportPrinter(*printer_, doc.Page());
    const bool ok = doc.Print(*printer_);
    printer_->setFullPage(false);
    printer_->setPageLayout(kept);
    return ok;
}

bool QtPrinterPort::PrintSubmittal(const reports::SubmittalHeader& header,
                                   const std::vector<reports::SubmittalCoil>& coils, const QString& pdfFile) {
    if (!pdfFile.isEmpty()) return reports::WriteSubmittalPdf(pdfFile, header, coils);
    printer_->setOutputFormat(QPrinter::NativeFormat);
    printer_->setDocName(QStringLiteral("Submittal"));
    reports::PrepareSheetPrinter(*printer_);
    return reports::PaintSubmittal(*printer_, header, coils);
}

// ---- Recorder --------------------------------------------------------------

QString RecordingPrinter::AskPdfFileName(QWidget*, const QString& title, const QString&) {
    ++askCount;
    askTitle = title;
    return pdfAnswer;
}

bool RecordingPrinter::Setup(QWidget*) {
    ++setupCount;
    return setupAnswer;
}

bool RecordingPrinter::PrintSheet(const CoilSpec& coilSpec, const CoilRating& rating,
                                  const reports::SheetTexts& texts, const QString& pdfFile) {
    reports::RecordingSurface surface;
    reports::PrintPerformance(surface, coilSpec, rating, texts);
    jobs.push_back({"sheet", pdfFile, surface.Items(), texts.withChart ? 2 : 1, {}, {}});
    return true;
}

bool RecordingPrinter::PrintReport(const reports::PrintDocument& doc, const QString& pdfFile) {
    Job job{"report", pdfFile, {}, doc.PageCount(), {}, {}};
    if (doc.PageCount() > 0 && doc.PageAt(0).tables.size() > 1)
        job.firstTableRows = doc.PageAt(0).tables[1].rows;
    jobs.push_back(std::move(job));
    return true;
}

bool RecordingPrinter::PrintSubmittal(const reports::SubmittalHeader& header,
                                      const std::vector<reports::SubmittalCoil>& coils,
                                      const QString& pdfFile) {
    const auto front = reports::BuildSubmittalFront(header, coils);
    Job job{"submittal", pdfFile, {}, reports::SubmittalPageCount(*front, header, coils), {}, header};
    if (front->PageCount() > 1 && front->PageAt(1).tables.size() > 2)
        job.firstTableRows = front->PageAt(1).tables[2].rows;  // the schedule's headings and units
    jobs.push_back(std::move(job));
    return true;
}
