#include "reports/print_surface.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QString>
#include <algorithm>
#include <cmath>

namespace reports {

namespace {
// Advance and line height of the sheet's typewriter font, in ems.
constexpr double kMonoAdvance = 0.6;
constexpr double kMonoLine = 2320.0 / 2048.0;

// Characters of a UTF-8 text (continuation bytes not counted).
int CharCount(const std::string& text) {
    int n = 0;
    for (unsigned char c : text)
        if ((c & 0xC0) != 0x80) ++n;
    return n;
}
}  // namespace

void RecordingSurface::SetFont(const std::string& name, double points) {
    font_ = name;
    points_ = points;
}

void RecordingSurface::Print(const std::string& text) {
    items_.push_back({x_, y_, text, font_, points_});
    x_ = 0;
    y_ += TextHeight();
}

double RecordingSurface::TextWidth(const std::string& text) const {
    return CharCount(text) * points_ * 20 * kMonoAdvance;
}

double RecordingSurface::TextHeight() const {
    return points_ * 20 * kMonoLine;
}

QFont TwipFont(const std::string& family, double points) {
    QFont font(QString::fromStdString(family));
    font.setPixelSize(static_cast<int>(std::lround(points * 20)));
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::PreferOutline);
    font.setKerning(false);
    return font;
}

void ScaleToTwips(QPainter& painter, QPagedPaintDevice& device, double& pageWidth, double& pageHeight) {
    const double sx = device.logicalDpiX() / kTwipsPerInch;
    const double sy = device.logicalDpiY() / kTwipsPerInch;
    painter.resetTransform();
    painter.scale(sx, sy);
    pageWidth = device.width() / sx;
    pageHeight = device.height() / sy;
}

PainterSurface::PainterSurface(QPainter& painter, QPagedPaintDevice& device)
    : painter_(painter), font_(std::make_unique<QFont>(TwipFont("Courier New", 12))) {
    ScaleToTwips(painter_, device, pageWidth_, pageHeight_);
    painter_.setFont(*font_);
    painter_.setPen(Qt::black);
}

PainterSurface::~PainterSurface() = default;

void PainterSurface::SetFont(const std::string& name, double points) {
    *font_ = TwipFont(name, points);
    painter_.setFont(*font_);
}

void PainterSurface::Print(const std::string& text) {
    QFontMetricsF fm(*font_);
    painter_.drawText(QPointF(x_, y_ + fm.ascent()), QString::fromStdString(text));
    x_ = 0;
    y_ += fm.height();
}

double PainterSurface::TextWidth(const std::string& text) const {
    return QFontMetricsF(*font_).horizontalAdvance(QString::fromStdString(text));
}

double PainterSurface::FitWithin(double width, double height) {
    const double k = std::min({1.0, pageWidth_ / width, pageHeight_ / height});
    if (!(k > 0) || k >= 1) return 1;
    painter_.scale(k, k);
    pageWidth_ /= k;
    pageHeight_ /= k;
    return k;
}

double PainterSurface::TextHeight() const {
    return QFontMetricsF(*font_).height();
}

}  // namespace reports
