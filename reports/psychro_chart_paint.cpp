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
          thin_(l_.text / 16) {}

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
        CurveLabels();
        Axes();
        StateLabels();
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

    // A curve's label, left out where it would cover another one.
    void CurveText(const QPointF& at, const QString& s, Qt::Alignment align, double size, const QColor& c) {
        const QFontMetricsF fm(ChartFont(size));
        QRectF r(at, QSizeF(fm.horizontalAdvance(s), fm.height()));
        if (align & Qt::AlignRight) r.moveLeft(at.x() - r.width());
        if (align & Qt::AlignBottom) r.moveTop(at.y() - r.height());
        for (const QRectF& t : taken_)
            if (t.intersects(r)) return;
        taken_.push_back(r);
        Text(at, s, align, size, c);
    }

    // Cuts a polyline at the plot's edges (not every output device clips).
    void Polyline(const std::vector<Point>& pts) {
        QPainterPath path;
        QPointF last;
        bool open = false;
        for (size_t i = 1; i < pts.size(); ++i) {
            QPointF a = At(pts[i - 1]);
            QPointF b = At(pts[i]);
            if (!ClipSegment(a, b)) {
                open = false;
                continue;
            }
            if (!open || a != last) path.moveTo(a);
            path.lineTo(b);
            last = b;
            open = true;
        }
        p_.drawPath(path);
    }

    // Liang-Barsky: shortens the segment a-b to its part inside the plot;
    // false when none of it is.
    bool ClipSegment(QPointF& a, QPointF& b) const {
        const double dx = b.x() - a.x();
        const double dy = b.y() - a.y();
        double t0 = 0;
        double t1 = 1;
        const double p[4] = {-dx, dx, -dy, dy};
        const double q[4] = {a.x() - plot_.left(), plot_.right() - a.x(), a.y() - plot_.top(),
                             plot_.bottom() - a.y()};
        for (int k = 0; k < 4; ++k) {
            if (p[k] == 0) {
                if (q[k] < 0) return false;
                continue;
            }
            const double r = q[k] / p[k];
            if (p[k] < 0)
                t0 = std::max(t0, r);
            else
                t1 = std::min(t1, r);
            if (t0 > t1) return false;
        }
        const QPointF from = a;
        a = from + QPointF(dx, dy) * t0;
        b = from + QPointF(dx, dy) * t1;
        return true;
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
        for (const Curve& c : m_.curves) {
            switch (c.kind) {
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
                    p_.setPen(Pen(Qt::black, thin_ * 2));
                    break;
                case Curve::Saturation:
                    p_.setPen(Pen(Qt::black, thin_ * 3.5));
                    break;
            }
            Polyline(c.points);
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

    // The last point of a curve inside the plot.
    const Point* LastInside(const Curve& c) const {
        const Point* last = nullptr;
        for (const Point& pt : c.points)
            if (pt.t >= m_.t.min && pt.t <= m_.t.max && pt.W >= m_.W.min && pt.W <= m_.W.max) last = &pt;
        return last;
    }

    void CurveLabels() {
        const double size = l_.text * 0.72;
        for (const Curve& c : m_.curves) {
            switch (c.kind) {
                case Curve::RelHumidity:
                    RhLabel(c, size);
                    break;
                case Curve::WetBulb:
                    WetBulbLabel(c, size);
                    break;
                case Curve::Enthalpy:
                    EnthalpyLabel(c, size);
                    break;
                case Curve::Volume:
                    VolumeLabel(c, size);
                    break;
                case Curve::Saturation:
                    break;
            }
        }
    }

    // At the curve's last point inside the plot; beside the top edge when
    // it leaves through the top.
    void RhLabel(const Curve& c, double size) {
        const Point* pt = LastInside(c);
        if (!pt) return;
        const QPointF at = At(*pt);
        const bool top = at.y() < plot_.top() + size * 1.5;
        CurveText(at + QPointF(top ? size * 0.2 : -size * 0.3, top ? size * 0.1 : -size * 0.1),
                  Num(c.value, "0") + "%",
                  top ? Qt::AlignLeft | Qt::AlignTop : Qt::AlignRight | Qt::AlignBottom, size, kRh);
    }

    // At saturation; only every other line (every 10 °F, 4 or 10 °C) when
    // the dry-bulb ticks are as far apart.
    void WetBulbLabel(const Curve& c, double size) {
        const double every = 2 * WetBulbStep(m_.units, m_.t);
        const bool everyOther = m_.t.step >= every;
        const Point& s = c.points.front();
        const bool tenth = std::fmod(std::fabs(c.value), every) < 1e-9;
        if ((!everyOther || tenth) && s.W <= m_.W.max && s.W >= m_.W.min && s.t > m_.t.min)
            CurveText(At(s) + QPointF(-size * 0.3, -size * 0.2), Num(c.value, "0"),
                      Qt::AlignRight | Qt::AlignBottom, size, kWetBulb);
    }

    // At the outer end of the tick.
    void EnthalpyLabel(const Curve& c, double size) {
        const QPointF out = At(c.points.back());
        if (plot_.adjusted(0, size, 0, 0).contains(out))
            CurveText(out + QPointF(-size * 0.2, -size * 0.1), Num(c.value, "0"),
                      Qt::AlignRight | Qt::AlignBottom, size, Qt::black);
    }

    // At the dry-air end, clear of the plot's sides.
    void VolumeLabel(const Curve& c, double size) {
        const QPointF at = At(c.points.front());
        if (at.x() > plot_.left() + size && at.x() < plot_.right() - size)
            CurveText(at + QPointF(size * 0.25, -size * 0.15), Num(c.value, Si() ? "0.00" : "0.0"),
                      Qt::AlignLeft | Qt::AlignBottom, size, kVolume);
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

    QStringList StateLines(const char* title, const AirState& s) const {
        const QString humidity = Si() ? Num(s.W, "0.00") + " g/kg" : Num(s.W, "0.0") + " gr/lb";
        return {QString::fromLatin1(title), Deg(s.t) + " DB", Deg(s.tw) + " WB", humidity,
                Num(s.rh, s.rh < 9.95 ? "0.0" : "0") + " % RH"};
    }

    QRectF LabelBox(const QPointF& at, const QStringList& lines, bool right, double size) const {
        const QFontMetricsF fm(ChartFont(size));
        double w = QFontMetricsF(ChartFont(size, true)).horizontalAdvance(lines.front());
        for (const QString& s : lines) w = std::max(w, fm.horizontalAdvance(s));
        w += size * 0.8;
        const double h = fm.height() * lines.size() + size * 0.4;
        const double gap = l_.text * 0.7;
        const bool fitsRight = at.x() + gap + w <= plot_.right();
        const bool fitsLeft = at.x() - gap - w >= plot_.left();
        if (right && !fitsRight && fitsLeft) right = false;
        if (!right && !fitsLeft && fitsRight) right = true;
        QRectF r(right ? at.x() + gap : at.x() - gap - w, at.y() - h / 2, w, h);
        if (r.top() < plot_.top()) r.moveTop(plot_.top() + thin_);
        if (r.bottom() > plot_.bottom()) r.moveBottom(plot_.bottom() - thin_);
        return r;
    }

    void Label(const QRectF& r, const QStringList& lines, const QColor& marker, double size) {
        // A shade of the marker's colour, which stays the marker's alone.
        const QColor c = marker.darker(125);
        p_.setPen(Pen(c, thin_ * 1.5));
        p_.setBrush(QColor(255, 255, 255, 230));
        p_.drawRect(r);
        const QFontMetricsF fm(ChartFont(size));
        double y = r.top() + size * 0.2;
        for (int i = 0; i < lines.size(); ++i) {
            Text(QPointF(r.left() + size * 0.4, y), lines[i], Qt::AlignLeft | Qt::AlignTop, size,
                 i ? kText : c, i == 0);
            y += fm.height();
        }
    }

    void StateLabels() {
        const double size = l_.text * 0.8;
        const QStringList eLines = StateLines("Entering air", m_.entering);
        const QStringList lLines = StateLines("Leaving air", m_.leaving);
        // Each label on the side away from the other state.
        const bool enteringRight = m_.entering.t >= m_.leaving.t;
        QRectF e = LabelBox(At({m_.entering.t, m_.entering.W}), eLines, enteringRight, size);
        QRectF l = LabelBox(At({m_.leaving.t, m_.leaving.W}), lLines, !enteringRight, size);
        if (m_.cooling) {
            // Below the line and right of the leaving air, clear of the
            // saturation curve and the apparatus dew point.
            const QPointF at = At({m_.leaving.t, m_.leaving.W});
            const double gap = l_.text * 0.7;
            QRectF below(QPointF(at.x() + gap * 0.5, at.y() + gap * 0.7), l.size());
            if (below.bottom() > plot_.bottom()) below.moveBottom(plot_.bottom() - thin_);
            if (below.right() <= plot_.right() && !below.intersects(e)) l = below;
        }
        if (e.intersects(l)) {
            // Stack them: entering above, leaving below, inside the plot.
            l.moveTop(e.bottom() + size * 0.3);
            if (l.bottom() > plot_.bottom()) {
                l.moveBottom(plot_.bottom() - thin_);
                e.moveBottom(l.top() - size * 0.3);
            }
        }
        Label(e, eLines, kEnteringColour, size);
        Label(l, lLines, kLeavingColour, size);
        if (m_.hasAdp) {
            const QPointF a = At(m_.adp);
            const QString s = QStringLiteral("ADP ") + Deg(m_.adp.t);
            const QFontMetricsF fm(ChartFont(size, true));
            const QSizeF sz(fm.horizontalAdvance(s) + size * 0.3, fm.height());
            const double gap = l_.text * 0.5;
            // Below left of the point, else below right, above left, above
            // right: the first place clear of the state labels.
            QRectF r;
            for (const QPointF& corner : {QPointF(a.x() - gap - sz.width(), a.y() + gap * 0.4),
                                          QPointF(a.x() + gap, a.y() + gap * 0.4),
                                          QPointF(a.x() - gap - sz.width(), a.y() - gap * 0.4 - sz.height()),
                                          QPointF(a.x() + gap, a.y() - gap * 0.4 - sz.height()),
                                          QPointF(l.left(), l.bottom() + gap * 0.4)}) {
                r = QRectF(corner, sz);
                if (plot_.contains(r) && !r.intersects(e) && !r.intersects(l)) break;
            }
            p_.setPen(Qt::NoPen);
            p_.setBrush(QColor(255, 255, 255, 230));
            p_.drawRect(r);
            Text(r.topLeft() + QPointF(size * 0.15, 0), s, Qt::AlignLeft | Qt::AlignTop, size, Qt::black,
                 true);
        }
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
             Si() ? QStringLiteral("saturation; ticks: enthalpy, kJ/kg dry air")
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
    std::vector<QRectF> taken_;  // curve labels drawn so far
};

QString Suffix(const QString& path) {
    return QFileInfo(path).suffix().toLower();
}

}  // namespace

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
