#include "reports/psychro_chart_paint.h"

#include <QFileInfo>
#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "common/numfmt.h"
#include "engine/rterror.h"

namespace reports::chart {

namespace {

const QColor kGrid{226, 226, 226};
const QColor kRh{70, 120, 200};
const QColor kWetBulb{40, 140, 80};
const QColor kVolume{170, 120, 60};
const QColor kProcess{150, 20, 20};
const QColor kText{30, 30, 30};

QString Num(double v, const char* pattern) {
    return QString::fromStdString(numfmt::FormatF64(v, pattern));
}

QFont ChartFont(double pixels, bool bold = false) {
    QFont f(QStringLiteral("Liberation Sans"));
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(std::max(1, static_cast<int>(std::lround(pixels))));
    f.setBold(bold);
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

QPen Pen(const QColor& c, double width, Qt::PenStyle style = Qt::SolidLine) {
    QPen p(c, width, style, Qt::RoundCap, Qt::RoundJoin);
    return p;
}

class Painter {
public:
    Painter(QPainter& p, const QRectF& box, const ChartModel& m)
        : p_(p),
          m_(m),
          l_(LayoutFor(m, {box.left(), box.top(), box.width(), box.height()})),
          plot_(l_.plot.left, l_.plot.top, l_.plot.width, l_.plot.height),
          thin_(l_.text / 16),
          labels_(LabelsFor(m, box)) {}

    void Draw() {
        p_.save();
        p_.setRenderHint(QPainter::Antialiasing);
        p_.fillRect(QRectF(l_.box.left, l_.box.top, l_.box.width, l_.box.height), Qt::white);
        Grid();
        p_.save();
        p_.setClipRect(plot_);
        Curves();
        Process();
        p_.restore();
        Labels(false);
        Axes();
        Labels(true);
        Summary();
        p_.restore();
    }

private:
    QPointF At(const Point& pt) const { return {l_.X(pt.t), l_.Y(pt.W)}; }

    bool Si() const { return m_.units == units::System::SI; }
    // A temperature with its unit.
    QString Deg(double v) const {
        return Num(v, "0.0") + (Si() ? QStringLiteral(" °C") : QStringLiteral(" °F"));
    }

    void Text(const QPointF& at, const QString& s, Qt::Alignment align, double size, const QColor& c = kText,
              bool bold = false) {
        const QFont f = ChartFont(size, bold);
        const QFontMetricsF fm(f);
        const double w = fm.horizontalAdvance(s);
        double x = at.x();
        if (align & Qt::AlignRight) x -= w;
        if (align & Qt::AlignHCenter) x -= w / 2;
        double y = at.y() + fm.ascent();
        if (align & Qt::AlignBottom) y -= fm.height();
        if (align & Qt::AlignVCenter) y -= fm.height() / 2;
        p_.setFont(f);
        p_.setPen(c);
        p_.drawText(QPointF(x, y), s);
    }

    void Grid() {
        p_.setPen(Pen(kGrid, thin_));
        for (double t = m_.t.min; t <= m_.t.max + 1e-9; t += m_.t.step)
            p_.drawLine(QPointF(l_.X(t), plot_.top()), QPointF(l_.X(t), plot_.bottom()));
        for (double w = m_.W.min; w <= m_.W.max + 1e-9; w += m_.W.step)
            p_.drawLine(QPointF(plot_.left(), l_.Y(w)), QPointF(plot_.right(), l_.Y(w)));
    }

    void Curves() {
        p_.setBrush(Qt::NoBrush);
        for (const Stroke& s : Strokes(m_, l_)) {
            if (s.curve == Stroke::kProcess || !Drawn(m_, labels_, s.curve)) continue;
            switch (m_.curves[static_cast<size_t>(s.curve)].kind) {
                case Curve::Volume:
                    p_.setPen(Pen(kVolume, thin_ * 1.2, Qt::DashDotLine));
                    break;
                case Curve::WetBulb:
                    p_.setPen(Pen(kWetBulb, thin_ * 1.2, Qt::DashLine));
                    break;
                case Curve::RelHumidity:
                    p_.setPen(Pen(kRh, thin_ * 1.5));
                    break;
                case Curve::Enthalpy:
                    p_.setPen(Pen(Qt::black, thin_ * (m_.range == Range::Whole ? 1.2 : 2)));
                    break;
                case Curve::EnthalpyScale:
                    p_.setPen(Pen(Qt::black, thin_ * 2));
                    break;
                case Curve::Saturation:
                    p_.setPen(Pen(Qt::black, thin_ * 3.5));
                    break;
            }
            QPainterPath path;
            QPointF last;
            for (const Segment& g : s.segments) {
                const QPointF a(g.x1, g.y1);
                if (path.isEmpty() || a != last) path.moveTo(a);
                last = QPointF(g.x2, g.y2);
                path.lineTo(last);
            }
            p_.drawPath(path);
        }
    }

    void Process() {
        const QPointF e = At({m_.entering.t, m_.entering.W});
        const QPointF l = At({m_.leaving.t, m_.leaving.W});
        if (m_.hasAdp) {
            p_.setPen(Pen(kProcess, thin_ * 3, Qt::DashLine));
            p_.drawLine(l, At(m_.adp));
            p_.setPen(Pen(Qt::black, thin_ * 3));
            p_.setBrush(Qt::white);
            const double r = l_.text * 0.32;
            p_.drawEllipse(At(m_.adp), r, r);
        }
        p_.setPen(Pen(kProcess, thin_ * 5));
        p_.drawLine(e, l);
        const double r = l_.text * 0.38;
        p_.setPen(Qt::NoPen);
        p_.setBrush(kLeavingColour);
        p_.drawEllipse(l, r, r);
        p_.setBrush(kEnteringColour);
        p_.drawEllipse(e, r, r);
        p_.setBrush(Qt::NoBrush);
    }

    QColor Colour(const Label& lab) const {
        switch (lab.kind) {
            case Label::RelHumidity:
                return kRh;
            case Label::WetBulb:
                return kWetBulb;
            case Label::Volume:
                return kVolume;
            case Label::Entering:
                return kEnteringColour.darker(125);
            case Label::Leaving:
                return kLeavingColour.darker(125);
            default:
                return Qt::black;
        }
    }

    // The curves' labels on a white ground that breaks their own line
    // behind them; the state boxes framed in a shade of their marker's
    // colour, which stays the marker's alone.
    void Labels(bool panels) {
        for (const Label& lab : labels_) {
            if (lab.Panel() != panels) continue;
            const QRectF r(lab.box.left, lab.box.top, lab.box.width, lab.box.height);
            const QColor c = Colour(lab);
            const bool framed = lab.kind == Label::Entering || lab.kind == Label::Leaving;
            p_.setPen(framed ? Pen(c, thin_ * 1.5) : QPen(Qt::NoPen));
            p_.setBrush(Qt::white);
            p_.drawRect(r);
            double baseline = r.top() + lab.baseline;
            for (size_t i = 0; i < lab.lines.size(); ++i) {
                const bool bold = lab.bold && i == 0;
                const double ascent = QFontMetricsF(ChartFont(lab.size, bold)).ascent();
                Text(QPointF(r.left() + lab.PadX(), baseline - ascent), QString::fromStdString(lab.lines[i]),
                     Qt::AlignLeft | Qt::AlignTop, lab.size, framed && i ? kText : c, bold);
                baseline += lab.line;
            }
        }
        p_.setBrush(Qt::NoBrush);
    }

    void Axes() {
        p_.setPen(Pen(Qt::black, thin_ * 2));
        p_.setBrush(Qt::NoBrush);
        p_.drawRect(plot_);
        const double size = l_.text * 0.85;
        for (double t = m_.t.min; t <= m_.t.max + 1e-9; t += m_.t.step) {
            p_.setPen(Pen(Qt::black, thin_ * 2));
            p_.drawLine(QPointF(l_.X(t), plot_.bottom()), QPointF(l_.X(t), plot_.bottom() + size * 0.4));
            Text(QPointF(l_.X(t), plot_.bottom() + size * 0.5), Num(t, "0"), Qt::AlignHCenter | Qt::AlignTop,
                 size);
        }
        Text(QPointF(plot_.center().x(), plot_.bottom() + size * 1.7),
             Si() ? QStringLiteral("Dry bulb, °C") : QStringLiteral("Dry bulb, °F"),
             Qt::AlignHCenter | Qt::AlignTop, size);
        for (double w = m_.W.min; w <= m_.W.max + 1e-9; w += m_.W.step) {
            p_.setPen(Pen(Qt::black, thin_ * 2));
            p_.drawLine(QPointF(plot_.right(), l_.Y(w)), QPointF(plot_.right() + size * 0.4, l_.Y(w)));
            Text(QPointF(plot_.right() + size * 0.6, l_.Y(w)), Num(w, m_.W.step < 1 ? "0.0" : "0"),
                 Qt::AlignLeft | Qt::AlignVCenter, size);
        }
        p_.save();
        p_.translate(plot_.right() + size * 4.6, plot_.center().y());
        p_.rotate(90);
        Text(QPointF(0, 0),
             Si() ? QStringLiteral("Humidity ratio, g/kg of dry air")
                  : QStringLiteral("Humidity ratio, grains per lb of dry air"),
             Qt::AlignHCenter | Qt::AlignVCenter, size);
        p_.restore();
        // The title in one line across the box, smaller where it is long.
        const QString title = QString::fromStdString(Title(m_));
        const double room = l_.box.width - l_.text * 1.2;
        double titleSize = l_.text * 1.1;
        const double wide = QFontMetricsF(ChartFont(titleSize, true)).horizontalAdvance(title);
        if (wide > room) titleSize = std::max(l_.text * 0.6, titleSize * room / wide);
        Text(QPointF(l_.box.left + l_.text * 0.6, l_.box.top + l_.text * 0.8), title,
             Qt::AlignLeft | Qt::AlignTop, titleSize, Qt::black, true);
    }

    void Summary() {
        const double size = l_.text * 0.78;
        double y = plot_.bottom() + l_.text * 3.3;
        const double x = plot_.left();
        QString process;
        if (m_.hasAdp)
            process = QStringLiteral("Apparatus dew point ") + Deg(m_.adp.t) + QStringLiteral("    ");
        if (m_.cooling && m_.shr > 0)
            process += QStringLiteral("Sensible heat ratio ") + Num(m_.shr, "0.00");
        else if (!m_.cooling && m_.leaving.t > m_.entering.t)
            process += QStringLiteral("Heating at constant humidity");
        if (!process.isEmpty()) {
            Text(QPointF(x, y), process, Qt::AlignLeft | Qt::AlignTop, size, Qt::black, true);
            y += size * 1.35;
        }
        struct Key {
            QColor colour;
            Qt::PenStyle style;
            QString text;
        };
        const Key keys[] = {
            {Qt::black, Qt::SolidLine,
             m_.range == Range::Whole ? (Si() ? QStringLiteral("saturation; enthalpy scale, kJ/kg dry air")
                                              : QStringLiteral("saturation; enthalpy scale, Btu/lb dry air"))
             : Si()                   ? QStringLiteral("saturation; ticks: enthalpy, kJ/kg dry air")
                                      : QStringLiteral("saturation; ticks: enthalpy, Btu/lb dry air")},
            {kRh, Qt::SolidLine, QStringLiteral("relative humidity, %")},
            {kWetBulb, Qt::DashLine, Si() ? QStringLiteral("wet bulb, °C") : QStringLiteral("wet bulb, °F")},
            {kVolume, Qt::DashDotLine,
             Si() ? QStringLiteral("specific volume, m³/kg dry air")
                  : QStringLiteral("specific volume, ft³/lb dry air")},
        };
        double kx = x;
        const QFontMetricsF fm(ChartFont(size));
        for (const Key& k : keys) {
            p_.setPen(Pen(k.colour, thin_ * 2, k.style));
            p_.drawLine(QPointF(kx, y + fm.height() / 2), QPointF(kx + size * 2, y + fm.height() / 2));
            Text(QPointF(kx + size * 2.4, y), k.text, Qt::AlignLeft | Qt::AlignTop, size);
            kx += size * 3.6 + fm.horizontalAdvance(k.text);
        }
    }

    QPainter& p_;
    const ChartModel& m_;
    Layout l_;
    QRectF plot_;
    double thin_;
    std::vector<Label> labels_;
};

QString Suffix(const QString& path) {
    return QFileInfo(path).suffix().toLower();
}

}  // namespace

TextMeasure ChartTextMeasure() {
    TextMeasure m;
    m.width = [](const std::string& text, double size, bool bold) {
        return QFontMetricsF(ChartFont(size, bold)).horizontalAdvance(QString::fromStdString(text));
    };
    m.height = [](double size) { return QFontMetricsF(ChartFont(size)).height(); };
    m.ascent = [](double size) { return QFontMetricsF(ChartFont(size)).ascent(); };
    m.capHeight = [](double size) { return QFontMetricsF(ChartFont(size)).capHeight(); };
    return m;
}

std::vector<Label> LabelsFor(const ChartModel& model, const QRectF& box) {
    return PlaceLabels(model, LayoutFor(model, {box.left(), box.top(), box.width(), box.height()}),
                       ChartTextMeasure());
}

void Paint(QPainter& painter, const QRectF& box, const ChartModel& model) {
    Painter(painter, box, model).Draw();
}

QImage Image(const ChartModel& model, int width, int height) {
    QImage img(width, height, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    Paint(p, QRectF(0, 0, width, height), model);
    p.end();
    return img;
}

bool KnownFileType(const QString& path) {
    const QString s = Suffix(path);
    return s == "png" || s == "svg" || s == "pdf";
}

QSizeF ChartInches(Paper paper) {
    // The landscape page less half-inch margins.
    return paper == Paper::A4 ? QSizeF(297 / 25.4 - 1, 210 / 25.4 - 1) : QSizeF(10, 7.5);
}

bool WriteFile(const QString& path, const ChartModel& model, QString* error, const FileOptions& options) {
    auto fail = [&](const QString& why) {
        if (error) *error = why;
        return false;
    };
    const QString suffix = Suffix(path);
    const QSizeF inches = ChartInches(options.paper);
    if (suffix == "png") {
        const QSize px = (inches * options.dpi).toSize();
        QImage img = Image(model, px.width(), px.height());
        const int dotsPerMetre = static_cast<int>(std::lround(options.dpi / 0.0254));
        img.setDotsPerMeterX(dotsPerMetre);
        img.setDotsPerMeterY(dotsPerMetre);
        if (!img.save(path, "PNG")) return fail(QStringLiteral("cannot write ") + path);
        return true;
    }
    if (suffix == "svg") {
        // A hundred drawing units to the inch: the declared size is the
        // chart's on paper.
        const QSize units = (inches * 100).toSize();
        QSvgGenerator svg;
        svg.setFileName(path);
        svg.setResolution(100);
        svg.setSize(units);
        svg.setViewBox(QRect(QPoint(0, 0), units));
        svg.setTitle(QString::fromStdString(Title(model)));
        svg.setDescription(QStringLiteral("KVN"));
        QPainter p;
        if (!p.begin(&svg)) return fail(QStringLiteral("cannot write ") + path);
        Paint(p, QRectF(QPointF(0, 0), QSizeF(units)), model);
        if (!p.end()) return fail(QStringLiteral("cannot write ") + path);
        return true;
    }
    if (suffix == "pdf") {
        QPdfWriter pdf(path);
        pdf.setResolution(300);
        pdf.setTitle(QString::fromStdString(Title(model)));
        pdf.setCreator(QStringLiteral("KVN"));
        pdf.setPageLayout(
            QPageLayout(QPageSize(options.paper == Paper::A4 ? QPageSize::A4 : QPageSize::Letter),
                        QPageLayout::Landscape, QMarginsF(36, 36, 36, 36), QPageLayout::Point));
        QPainter p;
        if (!p.begin(&pdf)) return fail(QStringLiteral("cannot write ") + path);
        Paint(p, QRectF(0, 0, pdf.width(), pdf.height()), model);
        if (!p.end()) return fail(QStringLiteral("cannot write ") + path);
        return true;
    }
    return fail(QStringLiteral("the chart's format is taken from the file name: .png, .svg or .pdf"));
}

bool PaintChartPage(QPainter& painter, QPagedPaintDevice& device, const CoilSpec& coilSpec,
                    const CoilRating& rating, const ChartOptions& options) {
    if (!device.newPage()) return false;
    painter.resetTransform();
    const double w = device.width();
    const QRectF box(0, 0, w, std::min<double>(device.height(), w * 0.8));
    try {
        Paint(painter, box, BuildChart(coilSpec, rating, options));
    } catch (const rt::RtError& e) {
        // Without the property library there is no chart; say so on the page.
        painter.setFont(ChartFont(w / 60));
        painter.setPen(Qt::black);
        painter.drawText(box, Qt::AlignCenter, QString::fromStdString("No chart: " + e.description()));
    }
    return true;
}

}  // namespace reports::chart
