#include "reports/output.h"

#include <QMarginsF>
#include <algorithm>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

#include "reports/print_surface.h"
#include "reports/psychro_chart_paint.h"

namespace reports {

namespace {
constexpr double kSheetMarginPoints = 18;  // a quarter inch

QPageSize PageSizeOf(const PageGeometry& page) {
    return QPageSize(QSizeF(page.width / kTwipsPerInch, page.height / kTwipsPerInch), QPageSize::Inch,
                     QString(), QPageSize::ExactMatch);
}
}  // namespace

bool PaintSheet(QPagedPaintDevice& device, const CoilSpec& coilSpec, const CoilRating& rating,
                const SheetTexts& texts) {
    QPainter painter;
    if (!painter.begin(&device)) return false;
    PainterSurface surface(painter, device);
    surface.FitWithin(kSheetWidth, kSheetHeight);
    PrintPerformance(surface, coilSpec, rating, texts);
    if (texts.withChart && !chart::PaintChartPage(painter, device, coilSpec, rating,
                                                  chart::OptionsOf(texts, coilSpec, rating))) {
        painter.end();
        return false;
    }
    return painter.end();
}

bool WriteSheetPdf(const QString& path, const CoilSpec& coilSpec, const CoilRating& rating,
                   const SheetTexts& texts, const QPageSize& page) {
    QPdfWriter pdf(path);
    pdf.setResolution(1200);
    pdf.setTitle(QStringLiteral("Performance"));
    pdf.setCreator(QStringLiteral("KVN"));
    pdf.setPageLayout(
        QPageLayout(page, QPageLayout::Portrait,
                    QMarginsF(kSheetMarginPoints, kSheetMarginPoints, kSheetMarginPoints, kSheetMarginPoints),
                    QPageLayout::Point));
    return PaintSheet(pdf, coilSpec, rating, texts);
}

void PrepareSheetPrinter(QPrinter& printer) {
    printer.setFullPage(false);
    const QMarginsF m = printer.pageLayout().margins(QPageLayout::Point);
    const QMarginsF atLeast(std::max(m.left(), kSheetMarginPoints), std::max(m.top(), kSheetMarginPoints),
                            std::max(m.right(), kSheetMarginPoints),
                            std::max(m.bottom(), kSheetMarginPoints));
    if (atLeast != m) printer.setPageMargins(atLeast, QPageLayout::Point);
}

void PrepareReportPrinter(QPrinter& printer, const PageGeometry& page) {
    printer.setFullPage(true);
    printer.setPageSize(PageSizeOf(page));
    printer.setPageOrientation(QPageLayout::Portrait);
}

namespace {
void SetUpReportPdf(QPdfWriter& pdf, const PageGeometry& page) {
    pdf.setResolution(1200);
    pdf.setTitle(QStringLiteral("Saved Coils"));
    pdf.setCreator(QStringLiteral("KVN"));
    pdf.setPageLayout(
        QPageLayout(PageSizeOf(page), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0), QPageLayout::Point));
}
}  // namespace

bool WriteReportPdf(const QString& path, const PrintDocument& doc) {
    QPdfWriter pdf(path);
    SetUpReportPdf(pdf, doc.Page());
    return doc.Print(pdf);
}

struct ReportPdfStream::Device {
    Device(const QString& path, const PageGeometry& geometry) : pdf(path), page(geometry) {}
    QPdfWriter pdf;
    PageGeometry page;
    QPainter painter;
};

ReportPdfStream::ReportPdfStream(const QString& path, const PageGeometry& page)
    : device_(std::make_unique<Device>(path, page)) {}

ReportPdfStream::~ReportPdfStream() {
    if (device_->painter.isActive()) device_->painter.end();
}

bool ReportPdfStream::Paint(const DocPage& page) {
    if (failed_) return false;
    Device& d = *device_;
    if (painted_ == 0) {
        SetUpReportPdf(d.pdf, d.page);
        if (!d.painter.begin(&d.pdf)) {
            failed_ = true;
            return false;
        }
    } else {
        d.pdf.newPage();
    }
    double w = 0, h = 0;
    ScaleToTwips(d.painter, d.pdf, w, h);
    PaintDocPage(d.painter, page);
    ++painted_;
    return true;
}

bool ReportPdfStream::Close() {
    if (failed_ || !device_->painter.isActive()) return false;
    return device_->painter.end();
}

}  // namespace reports
