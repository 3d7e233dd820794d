// The printer as the windows see it: whether one is installed, the print
// setup dialog, the file name asked for when the output goes to PDF, and the
// printing of the two documents. The program uses the Qt printer; tests
// install a RecordingPrinter.
#pragma once

#include <QString>
#include <memory>
#include <string>
#include <vector>

#include "engine/records.h"
#include "reports/performance_sheet.h"
#include "reports/print_document.h"
#include "reports/print_surface.h"
#include "reports/submittal.h"

class QWidget;
class QPrinter;

class PrinterPort {
public:
    virtual ~PrinterPort() = default;

    // True when at least one printer is installed.
    virtual bool HasPrinter() = 0;
    // Asks where to write a PDF in a dialog titled `title` ("Save Sheet as
    // PDF"); "" when the user cancels.
    virtual QString AskPdfFileName(QWidget* parent, const QString& title, const QString& suggestion) = 0;
    // The print setup dialog: printer and page. True when accepted.
    virtual bool Setup(QWidget* parent) = 0;
    // Page of the current printer, for laying out the report.
    virtual reports::PageGeometry ReportPage() = 0;
    // Prints on the current printer, or into `pdfFile` when it is not empty.
    virtual bool PrintSheet(const CoilSpec& coilSpec, const CoilRating& rating,
                            const reports::SheetTexts& texts, const QString& pdfFile) = 0;
    virtual bool PrintReport(const reports::PrintDocument& doc, const QString& pdfFile) = 0;
    // The submittal package, on the paper `header` names in a PDF.
    virtual bool PrintSubmittal(const reports::SubmittalHeader& header,
                                const std::vector<reports::SubmittalCoil>& coils, const QString& pdfFile) = 0;
};

// The port in use: the Qt printer unless a test installed another.
PrinterPort& Printer();
// Installs `port` (not owned); nullptr goes back to the Qt printer.
void SetPrinterPort(PrinterPort* port);

// Prints the sheet on the current printer; without an installed printer,
// asks for a file name and writes the sheet there as PDF (nothing happens
// when the user cancels). True when a page went out.
bool PrintSheetCommand(QWidget* parent, const CoilSpec& coilSpec, const CoilRating& rating,
                       const reports::SheetTexts& texts);
// The same for the multi-coil report.
bool PrintReportCommand(QWidget* parent, const reports::PrintDocument& doc);
// The same for the submittal package; with `askPdf` always into a PDF file
// the user names.
bool PrintSubmittalCommand(QWidget* parent, const reports::SubmittalHeader& header,
                           const std::vector<reports::SubmittalCoil>& coils, bool askPdf);

// The Qt printer: QPrinterInfo for the installed printers, QPrintDialog
// (QPageSetupDialog when there is no printer) for setup, QFileDialog for the
// PDF file name.
class QtPrinterPort : public PrinterPort {
public:
    QtPrinterPort();
    ~QtPrinterPort() override;
    bool HasPrinter() override;
    QString AskPdfFileName(QWidget* parent, const QString& title, const QString& suggestion) override;
    bool Setup(QWidget* parent) override;
    reports::PageGeometry ReportPage() override;
    bool PrintSheet(const CoilSpec& coilSpec, const CoilRating& rating, const reports::SheetTexts& texts,
                    const QString& pdfFile) override;
    bool PrintReport(const reports::PrintDocument& doc, const QString& pdfFile) override;
    bool PrintSubmittal(const reports::SubmittalHeader& header,
                        const std::vector<reports::SubmittalCoil>& coils, const QString& pdfFile) override;

private:
    std::unique_ptr<QPrinter> printer_;
};

// Records what the windows ask of the printer, for tests.
class RecordingPrinter : public PrinterPort {
public:
    struct Job {
        std::string kind;                                      // "sheet" or "report"
        QString pdfFile;                                       // "" for the printer
        std::vector<reports::RecordingSurface::Item> sheet;    // the sheet's prints
        int pages = 0;                                         // pages of the report or the sheet
        std::vector<std::vector<std::string>> firstTableRows;  // the report's first coil table
        reports::SubmittalHeader submittal;                    // a submittal's cover and choices
    };

    bool hasPrinter = true;
    QString pdfAnswer;  // what AskPdfFileName answers
    bool setupAnswer = true;
    int setupCount = 0;
    int askCount = 0;
    QString askTitle;  // the title of the last PDF file question
    std::vector<Job> jobs;

    bool HasPrinter() override { return hasPrinter; }
    QString AskPdfFileName(QWidget*, const QString& title, const QString&) override;
    bool Setup(QWidget*) override;
    reports::PageGeometry ReportPage() override { return {}; }
    bool PrintSheet(const CoilSpec& coilSpec, const CoilRating& rating, const reports::SheetTexts& texts,
                    const QString& pdfFile) override;
    bool PrintReport(const reports::PrintDocument& doc, const QString& pdfFile) override;
    bool PrintSubmittal(const reports::SubmittalHeader& header,
                        const std::vector<reports::SubmittalCoil>& coils, const QString& pdfFile) override;
};
