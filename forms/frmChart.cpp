#include "forms/frmChart.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>
#include <utility>

#include "engine/msgbox.h"
#include "engine/rterror.h"
#include "reports/psychro_chart_paint.h"

namespace {

class QtChartSaveDialog : public ChartSaveDialog {
public:
    QString Ask(QWidget* parent, const QString& suggestion) override {
        QFileDialog dialog(parent, QStringLiteral("Save Chart As"), suggestion);
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setNameFilters({QStringLiteral("PNG image (*.png)"), QStringLiteral("SVG drawing (*.svg)"),
                               QStringLiteral("PDF document (*.pdf)")});
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
        QString file = dialog.selectedFiles().first();
        // A name without a known extension takes the chosen type's.
        if (!reports::chart::KnownFileType(file)) {
            const QString filter = dialog.selectedNameFilter();
            file += filter.contains("svg") ? ".svg" : filter.contains("pdf") ? ".pdf" : ".png";
        }
        return file;
    }
};

ChartSaveDialog* installed = nullptr;

ChartSaveDialog& SaveDialog() {
    if (installed) return *installed;
    static QtChartSaveDialog onScreen;
    return onScreen;
}

}  // namespace

void SetChartSaveDialog(ChartSaveDialog* dialog) {
    installed = dialog;
}

class frmChart::View : public QWidget {
public:
    explicit View(frmChart* owner) : QWidget(owner), owner_(owner) {
        setObjectName("picChart");
        setMinimumSize(560, 430);
    }

    // The chart changed: draw it afresh at the next paint.
    void Invalidate() {
        picture_ = QImage();
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        const auto* m = owner_->Model();
        if (!m) {
            p.fillRect(rect(), Qt::white);
            p.drawText(rect(), Qt::AlignCenter, owner_->Message());
            return;
        }
        // Drawing the curves takes a while; window exposures reuse the
        // picture until the size or the chart changes.
        const qreal ratio = devicePixelRatioF();
        const QSize pixels = size() * ratio;
        if (picture_.size() != pixels) {
            picture_ = QImage(pixels, QImage::Format_RGB32);
            picture_.setDevicePixelRatio(ratio);
            picture_.fill(Qt::white);
            QPainter ip(&picture_);
            reports::chart::Paint(ip, QRectF(QPointF(0, 0), QSizeF(size())), *m);
        }
        p.drawImage(QPointF(0, 0), picture_);
    }

private:
    frmChart* owner_;
    QImage picture_;
};

frmChart::frmChart(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName("frmChart");
    setWindowTitle("Psychrometric Chart");
    auto* v = new QVBoxLayout(this);
    view_ = new View(this);
    view_->setAccessibleName(QStringLiteral("Psychrometric chart"));
    view_->setAccessibleDescription(
        QStringLiteral("The air's process through the coil on the psychrometric chart, entering to leaving"));
    v->addWidget(view_, 1);
    auto* buttons = new QHBoxLayout;
    auto* copy = new QPushButton("&Copy", this);
    copy->setObjectName("cmdCopy");
    auto* save = new QPushButton("Save &as...", this);
    save->setObjectName("cmdSaveAs");
    range_ = new QComboBox(this);
    range_->setObjectName("cboChartRange");
    range_->addItems({QStringLiteral("Whole chart"), QStringLiteral("Around the process")});
    range_->setCurrentIndex(1);
    connect(range_, &QComboBox::currentIndexChanged, this, [this] {
        if (model_ || !message_.isEmpty()) Rebuild();
    });
    paper_ = new QComboBox(this);
    paper_->setObjectName("cboPaper");
    paper_->addItems({QStringLiteral("Letter"), QStringLiteral("A4")});
    paper_->setToolTip(QStringLiteral("The page the saved or copied chart is sized for, in landscape"));
    auto* close = new QPushButton("Close", this);
    close->setObjectName("cmdCloseChart");
    connect(copy, &QPushButton::clicked, this, [this] { cmdCopy_Click(); });
    connect(save, &QPushButton::clicked, this, [this] { cmdSaveAs_Click(); });
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    auto* esc = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(esc, &QShortcut::activated, this, &QWidget::close);
    // Each choice list with the label that says what it chooses.
    for (auto [list, caption] : {std::pair{range_, "&Range:"}, std::pair{paper_, "&Paper:"}}) {
        auto* label = new QLabel(QString::fromLatin1(caption), this);
        label->setBuddy(list);
        buttons->addWidget(label);
        buttons->addWidget(list);
    }
    buttons->addStretch(1);
    for (auto* b : {copy, save, close}) buttons->addWidget(b);
    v->addLayout(buttons);
    resize(1000, 780);
}

frmChart::~frmChart() = default;

void frmChart::SetCoil(const CoilSpec& coilSpec, const CoilRating& rating,
                       const reports::chart::ChartOptions& options) {
    coilSpec_ = coilSpec;
    rating_ = rating;
    options_ = options;
    Rebuild();
}

void frmChart::SetRange(reports::chart::Range range) {
    range_->setCurrentIndex(range == reports::chart::Range::Whole ? 0 : 1);
}

reports::chart::Paper frmChart::ChosenPaper() const {
    return paper_->currentIndex() == 1 ? reports::chart::Paper::A4 : reports::chart::Paper::Letter;
}

void frmChart::Rebuild() {
    options_.range =
        range_->currentIndex() == 0 ? reports::chart::Range::Whole : reports::chart::Range::Process;
    try {
        model_ = std::make_unique<reports::chart::ChartModel>(
            reports::chart::BuildChart(coilSpec_, rating_, options_));
        message_.clear();
    } catch (const rt::RtError& e) {
        model_.reset();
        message_ = QString::fromStdString(e.description());
    }
    for (const char* n : {"cmdCopy", "cmdSaveAs"})
        if (auto* b = findChild<QPushButton*>(n)) b->setEnabled(model_ != nullptr);
    view_->Invalidate();
}

void frmChart::cmdCopy_Click() {
    if (!model_) return;
    const QSize px = (reports::chart::ChartInches(ChosenPaper()) * logicalDpiX()).toSize();
    QApplication::clipboard()->setImage(reports::chart::Image(*model_, px.width(), px.height()));
}

void frmChart::cmdSaveAs_Click() {
    if (!model_) return;
    const QString file =
        SaveDialog().Ask(this, lastFile_.isEmpty() ? QStringLiteral("Psychrometric Chart.png") : lastFile_);
    if (file.isEmpty()) return;
    QString error;
    reports::chart::FileOptions options;
    options.paper = ChosenPaper();
    if (!reports::chart::WriteFile(file, *model_, &error, options)) {
        ShowMessage(error.toStdString(), MsgIcon::Error);
        return;
    }
    lastFile_ = file;
}
