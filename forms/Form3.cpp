#include "forms/Form3.h"

#include <QComboBox>
#include <QFrame>
#include <QGraphicsView>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QResizeEvent>
#include <algorithm>
#include <cmath>

#include "common/numfmt.h"
#include "engine/rterror.h"
#include "forms/printer.h"
#include "reports/output.h"
#include "reports/print_surface.h"

namespace {
// Twips per screen pixel.
double TwipsPerPixel(const QWidget* w) {
    return reports::kTwipsPerInch / w->logicalDpiX();
}

const char* const kZoomItems[] = {"25%", "50%", "75%", "100%", "125%", "150%", "175%", "200%"};
}  // namespace

Form3::Form3(const SavedCoilTable& table, const reports::ReportHeaderTexts& header,
             const reports::PageGeometry& page, QWidget* parent,
             const std::vector<std::vector<std::string>>& warnings)
    : QDialog(parent) {
    setObjectName("Form3");
    setWindowTitle(QStringLiteral("Print Preview"));
    BuildButtonBar();
    BuildLogo();
    // Load: the page-header unit, "75%" in the list, the report.
    reports::PrintDocument probe(page);
    pageHeaderUnit_ = 2 * reports::RoundTwips(probe.PrintableWidth() / 10);
    doc_ = reports::BuildMultiCoilReport(table, header, page, warnings);
    BuildPreview(page);
    SetMinimumSizeForBar();
    resize(900, 700);
}

void Form3::BuildButtonBar() {
    Frame1 = new QFrame(this);
    Frame1->setObjectName("Frame1");
    auto* bar = new QHBoxLayout(Frame1);
    bar->setContentsMargins(4, 4, 4, 4);
    const char* captions[4] = {"&Print", "&<-", "-&>", "&Close"};
    for (int i = 0; i < 4; ++i) {
        Command1[i] = new QPushButton(QString::fromUtf8(captions[i]), Frame1);
        Command1[i]->setObjectName(QString("Command1(%1)").arg(i));
        Command1[i]->setAutoDefault(false);
        connect(Command1[i], &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
        bar->addWidget(Command1[i]);
    }
    cmbZoom = new QComboBox(Frame1);
    cmbZoom->setObjectName("cmbZoom");
    cmbZoom->setToolTip(QStringLiteral("Zoom Factor"));
    Command1[1]->setAccessibleName(QStringLiteral("Previous page"));
    Command1[2]->setAccessibleName(QStringLiteral("Next page"));
    for (const char* z : kZoomItems) cmbZoom->addItem(QString::fromLatin1(z));
    // A choice list is read by its value; its label says what it is.
    auto* zoom = new QLabel(QStringLiteral("&Zoom:"), Frame1);
    zoom->setObjectName("lblZoom");
    zoom->setBuddy(cmbZoom);
    bar->addSpacing(8);
    bar->addWidget(zoom);
    bar->addWidget(cmbZoom);
    lblPage = new QLabel(Frame1);
    lblPage->setObjectName("lblPage");
    bar->addSpacing(12);
    bar->addWidget(lblPage);
    bar->addStretch(1);
}

// The logo that heads every page.
void Form3::BuildLogo() {
    Image1 = new QLabel(this);
    Image1->setObjectName("Image1");
    QPixmap logo(96, 48);
    logo.fill(Qt::transparent);
    QPainter p(&logo);
    p.scale(96 / 1440.0, 48 / 720.0);
    reports::DrawLogo(p, QRectF(0, 0, 1440, 720));
    p.end();
    Image1->setPixmap(logo);
    Image1->hide();
}

// The preview of the built report at 75%.
void Form3::BuildPreview(const reports::PageGeometry& page) {
    previewPrinter_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    previewPrinter_->setOutputFormat(QPrinter::PdfFormat);
    reports::PrepareReportPrinter(*previewPrinter_, page);
    vsPrinter1 = new QPrintPreviewWidget(previewPrinter_.get(), this);
    vsPrinter1->setObjectName("vsPrinter1");
    vsPrinter1->setAccessibleName(QStringLiteral("Report preview"));
    vsPrinter1->setAccessibleDescription(
        QStringLiteral("The pages of the saved coils' report as they print"));
    connect(vsPrinter1, &QPrintPreviewWidget::paintRequested, this, &Form3::Paint);
    connect(vsPrinter1, &QPrintPreviewWidget::previewChanged, this, &Form3::NoticeZoom);
    connect(vsPrinter1, &QPrintPreviewWidget::previewChanged, this, &Form3::UpdatePageLabel);
    if (auto* view = vsPrinter1->findChild<QGraphicsView*>()) {
        view->viewport()->installEventFilter(this);
        // The view and the page area inside it are each read as the preview.
        for (QWidget* w : {static_cast<QWidget*>(view), view->viewport()}) {
            w->setAccessibleName(vsPrinter1->accessibleName());
            w->setAccessibleDescription(vsPrinter1->accessibleDescription());
        }
    }
    connect(cmbZoom, &QComboBox::activated, this, [this](int) { cmbZoom_Click(); });

    cmbZoom->setCurrentIndex(2);
    vsPrinter1->setZoomMode(QPrintPreviewWidget::CustomZoom);
    vsPrinter1->setZoomFactor(0.75);
    lastZoom_ = vsPrinter1->zoomFactor();
    UpdatePageLabel();
}

// Room for the button bar and a little of the page at the least.
void Form3::SetMinimumSizeForBar() {
    const double tpp = TwipsPerPixel(this);
    setMinimumSize(Frame1->sizeHint().width() + static_cast<int>(std::lround(300 / tpp)),
                   std::max(Frame1->sizeHint().height(), static_cast<int>(std::lround(600 / tpp))) +
                       static_cast<int>(std::lround(1300 / tpp)) + 120);
}

Form3::~Form3() = default;

void Form3::Paint(QPrinter* printer) {
    doc_->Print(*printer);
}

bool Form3::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Paint) NoticeZoom();
    return QDialog::eventFilter(watched, event);
}

void Form3::NoticeZoom() {
    const double zoom = vsPrinter1->zoomFactor();
    if (zoom == lastZoom_) return;
    lastZoom_ = zoom;
    vsPrinter1_ZoomChanged();
}

void Form3::UpdatePageLabel() {
    // The document knows its pages before the preview has painted them.
    const int pages = std::max(vsPrinter1->pageCount(), doc_->PageCount());
    const int page = std::clamp(vsPrinter1->currentPage(), pages > 0 ? 1 : 0, pages);
    lblPage->setText(QStringLiteral("Page %1 of %2").arg(page).arg(pages));
}

void Form3::cmbZoom_Click() {
    const double percent = numfmt::Val(cmbZoom->currentText().toStdString());
    if (percent <= 0) return;
    vsPrinter1->setZoomMode(QPrintPreviewWidget::CustomZoom);
    vsPrinter1->setZoomFactor(percent / 100);
    lastZoom_ = vsPrinter1->zoomFactor();
}

void Form3::vsPrinter1_ZoomChanged() {
    const double zoom = std::nearbyint(vsPrinter1->zoomFactor() * 100);
    const double item = std::nearbyint(zoom / 25 - 1);
    // A zoom between the list's steps selects the nearest item; one outside
    // 25% to 200% leaves the list as it is.
    if (item < 0 || item >= cmbZoom->count()) return;
    if (cmbZoom->currentIndex() != static_cast<int>(item)) {
        const QSignalBlocker block(cmbZoom);
        cmbZoom->setCurrentIndex(static_cast<int>(item));
    }
}

void Form3::Command1_Click(int index) {
    switch (index) {
        case 0:
            PrintReportCommand(this, *doc_);
            break;
        case 1:
        case 2: {
            const int16_t page = rt::I16(vsPrinter1->currentPage() + (index == 1 ? -1 : 1));
            if (page >= 1 && page <= vsPrinter1->pageCount()) vsPrinter1->setCurrentPage(page);
            UpdatePageLabel();
            break;
        }
        case 3:
            close();
            break;
        default:
            break;
    }
}

void Form3::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    const double tpp = TwipsPerPixel(this);
    const int w = std::max(0, width() - static_cast<int>(std::lround(300 / tpp)));
    const int h = std::max(0, height() - static_cast<int>(std::lround(1300 / tpp)));
    const int left = static_cast<int>(std::lround(150 / tpp));
    const int barHeight = std::max(Frame1->sizeHint().height(), static_cast<int>(std::lround(600 / tpp)));
    Frame1->setGeometry(left, 0, w, barHeight);
    vsPrinter1->setGeometry(left, barHeight + static_cast<int>(std::lround(100 / tpp)), w, h);
}

void ShowPrintPreview(const SavedCoilTable& table, QWidget* parent, const reports::ReportHeaderTexts& header,
                      const std::vector<std::vector<std::string>>& warnings) {
    Form3 form(table, header, Printer().ReportPage(), parent, warnings);
    form.setModal(true);
    form.exec();
}

void PrintMultiCoilReport(const SavedCoilTable& table, QWidget* parent,
                          const reports::ReportHeaderTexts& header,
                          const std::vector<std::vector<std::string>>& warnings) {
    Form3 form(table, header, Printer().ReportPage(), parent, warnings);
    form.Command1_Click(0);
}
