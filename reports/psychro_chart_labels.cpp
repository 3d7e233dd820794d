#include "reports/psychro_chart_labels.h"

#include <algorithm>
#include <cmath>

#include "common/numfmt.h"

namespace reports::chart {

namespace {

struct Xy {
    double x = 0;
    double y = 0;
};

Xy At(const Layout& l, const Point& p) {
    return {l.X(p.t), l.Y(p.W)};
}

double Right(const Rect& r) {
    return r.left + r.width;
}
double Bottom(const Rect& r) {
    return r.top + r.height;
}

Rect Inflated(const Rect& r, double d) {
    return {r.left - d, r.top - d, r.width + 2 * d, r.height + 2 * d};
}

bool Inside(const Rect& outer, const Rect& r) {
    return r.left >= outer.left && r.top >= outer.top && Right(r) <= Right(outer) &&
           Bottom(r) <= Bottom(outer);
}

// Liang-Barsky: shortens the segment to its part inside `r`; false when
// none of it is.
bool Clip(const Rect& r, Segment& s) {
    const double dx = s.x2 - s.x1;
    const double dy = s.y2 - s.y1;
    double t0 = 0;
    double t1 = 1;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {s.x1 - r.left, Right(r) - s.x1, s.y1 - r.top, Bottom(r) - s.y1};
    for (int k = 0; k < 4; ++k) {
        if (p[k] == 0) {
            if (q[k] < 0) return false;
            continue;
        }
        const double f = q[k] / p[k];
        if (p[k] < 0)
            t0 = std::max(t0, f);
        else
            t1 = std::min(t1, f);
        if (t0 > t1) return false;
    }
    s = {s.x1 + dx * t0, s.y1 + dy * t0, s.x1 + dx * t1, s.y1 + dy * t1};
    return true;
}

// Segments in chunks with their bounding boxes, so that a rectangle is
// tested only against the segments near it.
struct Chunk {
    int stroke = 0;
    Rect bounds;
    std::vector<Segment> segments;
};

constexpr size_t kChunk = 12;

std::vector<Chunk> Chunks(const std::vector<Stroke>& strokes) {
    std::vector<Chunk> chunks;
    for (size_t i = 0; i < strokes.size(); ++i) {
        const auto& segs = strokes[i].segments;
        for (size_t b = 0; b < segs.size(); b += kChunk) {
            Chunk c;
            c.stroke = static_cast<int>(i);
            c.segments.assign(segs.begin() + static_cast<long>(b),
                              segs.begin() + static_cast<long>(std::min(segs.size(), b + kChunk)));
            double x0 = c.segments.front().x1, x1 = x0, y0 = c.segments.front().y1, y1 = y0;
            for (const Segment& s : c.segments)
                for (auto [x, y] : {std::pair{s.x1, s.y1}, std::pair{s.x2, s.y2}}) {
                    x0 = std::min(x0, x);
                    x1 = std::max(x1, x);
                    y0 = std::min(y0, y);
                    y1 = std::max(y1, y);
                }
            c.bounds = {x0, y0, x1 - x0, y1 - y0};
            chunks.push_back(std::move(c));
        }
    }
    return chunks;
}

bool Touches(const Rect& a, const Rect& b) {
    return a.left <= Right(b) && b.left <= Right(a) && a.top <= Bottom(b) && b.top <= Bottom(a);
}

std::string Num(double v, const char* pattern) {
    return numfmt::FormatF64(v, pattern);
}

// Places labels one by one, each clear of the lines, the markers and the
// labels placed before it.
class Placer {
public:
    Placer(const ChartModel& m, const Layout& l, const TextMeasure& measure)
        : m_(m),
          l_(l),
          measure_(measure),
          strokes_(Strokes(m, l)),
          chunks_(Chunks(strokes_)),
          markers_(Markers(m, l)) {
        const double inset = l.text / 16;
        area_ = {l.plot.left + inset, l.plot.top + inset, l.plot.width - 2 * inset,
                 l.plot.height - 2 * inset};
        strokeOf_.assign(m.curves.size(), -1);
        for (size_t i = 0; i < strokes_.size(); ++i)
            if (strokes_[i].curve >= 0)
                strokeOf_[static_cast<size_t>(strokes_[i].curve)] = static_cast<int>(i);
    }

    std::vector<Label> Place() {
        States();
        DewPointAndRatio();
        for (Curve::Kind kind : {Curve::RelHumidity, Curve::Enthalpy, Curve::WetBulb, Curve::Volume})
            for (size_t i = 0; i < m_.curves.size(); ++i)
                if (m_.curves[i].kind == kind) CurveLabel(static_cast<int>(i));
        return placed_;
    }

private:
    bool Si() const { return m_.units == units::System::SI; }
    std::string Deg(double v) const { return Num(v, "0.0") + (Si() ? " °C" : " °F"); }

    // The label's box at its size, placed at the origin.
    Label Make(Label::Kind kind, int curve, std::vector<std::string> lines, double size, bool bold) const {
        Label lab;
        lab.kind = kind;
        lab.curve = curve;
        lab.lines = std::move(lines);
        lab.size = size;
        lab.bold = bold;
        double w = 0;
        for (size_t i = 0; i < lab.lines.size(); ++i)
            w = std::max(w, measure_.width(lab.lines[i], size, bold && i == 0));
        lab.box.width = w + 2 * lab.PadX();
        if (lab.kind == Label::Entering || lab.kind == Label::Leaving) {
            // Lines of text a line's height apart.
            lab.line = measure_.height(size);
            lab.baseline = size * 0.2 + measure_.ascent(size);
            lab.box.height = lab.line * static_cast<double>(lab.lines.size()) + size * 0.4;
        } else {
            // One line of figures, letters and signs that keep within the
            // height of a capital: so high, and a little more.
            lab.line = measure_.height(size);
            lab.baseline = size * 0.12 + measure_.capHeight(size);
            lab.box.height = lab.baseline + size * 0.12;
        }
        return lab;
    }

    // How far a box keeps clear of the lines: of every one but its own; of
    // all but the thin lines a panel may hide; of none (the labels and
    // markers only).
    enum class Lines { All, ButThin, None };

    bool Clear(const Label& lab, const Rect& r, Lines lines) const {
        if (!Inside(area_, r)) return false;
        // Apart from the labels before it, farther from a panel's text,
        // which a figure beside it would seem to continue.
        const Rect near = Inflated(r, lab.size * 0.08);
        const Rect nearPanel = Inflated(r, lab.size * 0.3);
        for (const Label& p : placed_)
            if (Overlap(p.box, p.Panel() || lab.Panel() ? nearPanel : near)) return false;
        for (const Rect& mk : markers_)
            if (Overlap(mk, nearPanel)) return false;
        if (lines == Lines::None) return true;
        for (const Chunk& c : chunks_) {
            const Stroke& s = strokes_[static_cast<size_t>(c.stroke)];
            if (s.curve >= 0 && s.curve == lab.curve) continue;
            if (lines == Lines::ButThin && lab.Panel() && Thin(m_, s)) continue;
            const Rect keep = Inflated(r, LineClearance(m_, l_, s));
            if (!Touches(c.bounds, keep)) continue;
            for (const Segment& seg : c.segments)
                if (Intersects(keep, seg)) return false;
        }
        return true;
    }

    // Takes the first box of `boxes` clear of every line (a panel: but the
    // thin ones). False when none is.
    bool Take(Label lab, const std::vector<Rect>& boxes, Lines lines = Lines::ButThin) {
        for (const Rect& r : boxes)
            if (Clear(lab, r, lines)) {
                lab.box = r;
                placed_.push_back(std::move(lab));
                return true;
            }
        return false;
    }

    // Boxes of size w x h around the point, nearest first, in the order of
    // the directions (unit steps, x right and y down), out to `reach` gaps.
    std::vector<Rect> Around(const Xy& p, double w, double h, double gap, const std::vector<Xy>& directions,
                             double reach = 40) const {
        std::vector<Rect> boxes;
        for (double k : {1.0, 2.0, 3.5, 5.5, 8.0, 12.0, 18.0, 27.0, 40.0}) {
            if (k > reach) break;
            for (const Xy& d : directions) {
                const double g = gap * k;
                const double left = d.x > 0 ? p.x + g * d.x : d.x < 0 ? p.x + g * d.x - w : p.x - w / 2;
                const double top = d.y > 0 ? p.y + g * d.y : d.y < 0 ? p.y + g * d.y - h : p.y - h / 2;
                boxes.push_back({left, top, w, h});
                // The same moved inside the plot, where it reaches beyond.
                const Rect in{std::clamp(left, area_.left, Right(area_) - w),
                              std::clamp(top, area_.top, Bottom(area_) - h), w, h};
                if (in.left != left || in.top != top) boxes.push_back(in);
            }
        }
        return boxes;
    }

    // A panel around its point: a place near it that hides no line, else
    // the nearest that hides only thin lines.
    bool TakeAround(const Label& lab, const Xy& p, double gap, const std::vector<Xy>& directions) {
        const double w = lab.box.width;
        const double h = lab.box.height;
        return Take(lab, Around(p, w, h, gap, directions, 3.5), Lines::All) ||
               Take(lab, Around(p, w, h, gap, directions));
    }

    std::vector<std::string> StateLines(const char* title, const AirState& s) const {
        const std::string humidity = Si() ? Num(s.W, "0.00") + " g/kg" : Num(s.W, "0.0") + " gr/lb";
        return {title, Deg(s.t) + " DB", Deg(s.tw) + " WB", humidity,
                Num(s.rh, s.rh < 9.95 ? "0.0" : "0") + " % RH"};
    }

    void States() {
        const double size = l_.text * 0.8;
        const double gap = l_.text * 0.7;
        const Xy e = At(l_, {m_.entering.t, m_.entering.W});
        const Xy lv = At(l_, {m_.leaving.t, m_.leaving.W});
        // Each box on the side away from the other state first.
        const double away = m_.entering.t >= m_.leaving.t ? 1 : -1;
        std::vector<Xy> eDirs = {{away, 0}, {away, 0.7},  {away, -0.7}, {0, 1},
                                 {0, -1},   {-away, 0.7}, {-away, -0.7}};
        std::vector<Xy> lDirs = {{-away, 0}, {-away, 0.7}, {-away, -0.7}, {0, 1},
                                 {0, -1},    {away, 0.7},  {away, -0.7}};
        // A cooling coil's leaving air: below the line, clear of saturation.
        if (m_.cooling) lDirs.insert(lDirs.begin(), Xy{0.5, 0.7});
        Label le = Make(Label::Entering, -1, StateLines("Entering air", m_.entering), size, true);
        Label ll = Make(Label::Leaving, -1, StateLines("Leaving air", m_.leaving), size, true);
        TakeAnyway(le, e, gap, eDirs);
        TakeAnyway(ll, lv, gap, lDirs);
    }

    // A state box goes to the first side in the order of the directions
    // that is clear but for thin lines; it is never left out: failing that,
    // the first clear of labels and markers, else the first moved inside the
    // plot.
    void TakeAnyway(const Label& lab, const Xy& p, double gap, const std::vector<Xy>& directions) {
        const std::vector<Rect> boxes = Around(p, lab.box.width, lab.box.height, gap, directions);
        if (Take(lab, boxes) || Take(lab, boxes, Lines::None)) return;
        Label copy = lab;
        copy.box = Around(p, lab.box.width, lab.box.height, gap, directions, 1).front();
        copy.box.left = std::clamp(copy.box.left, area_.left, Right(area_) - copy.box.width);
        copy.box.top = std::clamp(copy.box.top, area_.top, Bottom(area_) - copy.box.height);
        placed_.push_back(std::move(copy));
    }

    void DewPointAndRatio() {
        const double size = l_.text * 0.8;
        const double gap = l_.text * 0.5;
        if (m_.hasAdp) {
            Label a = Make(Label::Adp, -1, {"ADP " + Deg(m_.adp.t)}, size, true);
            // Above left, beyond saturation, first.
            TakeAround(a, At(l_, m_.adp), gap,
                       {{-1, -0.6}, {-1, 0}, {0.2, 1}, {1, 0.6}, {-1, 0.6}, {0, -1}, {1, -0.6}});
        }
        if (m_.cooling && m_.shr > 0) {
            Label s = Make(Label::Shr, -1, {"SHR " + Num(m_.shr, "0.00")}, size, true);
            const Xy e = At(l_, {m_.entering.t, m_.entering.W});
            const Xy lv = At(l_, {m_.leaving.t, m_.leaving.W});
            std::vector<Rect> boxes;
            for (double f : {0.5, 0.4, 0.6, 0.3, 0.7, 0.2, 0.8}) {
                const Xy p{lv.x + f * (e.x - lv.x), lv.y + f * (e.y - lv.y)};
                for (const Rect& r :
                     Around(p, s.box.width, s.box.height, gap, {{-1, -1}, {1, 1}, {1, -1}, {-1, 1}}, 2))
                    boxes.push_back(r);
            }
            Take(s, boxes);
        }
    }

    std::string CurveText(const Curve& c) const {
        switch (c.kind) {
            case Curve::RelHumidity:
                return Num(c.value, "0") + "%";
            case Curve::Volume: {
                // Two decimals (one in inch-pound units) unless the steps
                // need three.
                const double hundredths = c.value * (Si() ? 100 : 10);
                return Num(c.value, std::fabs(hundredths - std::round(hundredths)) > 1e-6
                                        ? (Si() ? "0.000" : "0.00")
                                        : (Si() ? "0.00" : "0.0"));
            }
            default:
                return Num(c.value, "0");
        }
    }

    // Points along the stroke every `spacing`, from its start or its end.
    static std::vector<Xy> Along(const Stroke& s, double spacing, bool fromEnd) {
        std::vector<Segment> segs = s.segments;
        if (fromEnd) {
            std::reverse(segs.begin(), segs.end());
            for (Segment& g : segs) g = {g.x2, g.y2, g.x1, g.y1};
        }
        std::vector<Xy> pts;
        double next = spacing / 2;
        double run = 0;
        for (const Segment& g : segs) {
            const double len = std::hypot(g.x2 - g.x1, g.y2 - g.y1);
            while (len > 0 && next <= run + len) {
                const double f = (next - run) / len;
                pts.push_back({g.x1 + f * (g.x2 - g.x1), g.y1 + f * (g.y2 - g.y1)});
                next += spacing;
            }
            run += len;
        }
        return pts;
    }

    // Boxes beside the preferred end of the curve, then boxes sitting on it
    // along its length.
    std::vector<Rect> CurveBoxes(const Curve& c, const Stroke& s, double w, double h, double size) const {
        const bool fromEnd = c.kind == Curve::RelHumidity || c.kind == Curve::Enthalpy;
        const Segment& endSeg = fromEnd ? s.segments.back() : s.segments.front();
        const Xy p = fromEnd ? Xy{endSeg.x2, endSeg.y2} : Xy{endSeg.x1, endSeg.y1};
        auto box = [&](double left, double top) { return Rect{left, top, w, h}; };
        std::vector<Rect> boxes;
        switch (c.kind) {
            case Curve::RelHumidity:
                if (p.y < area_.top + size)
                    boxes = {box(p.x + size * 0.2, p.y + size * 0.1),
                             box(p.x - w - size * 0.2, p.y + size * 0.1)};
                else
                    boxes = {box(p.x - w - size * 0.3, p.y - h - size * 0.1),
                             box(p.x - w - size * 0.3, p.y + size * 0.1)};
                break;
            case Curve::WetBulb:
                boxes = {box(p.x - w - size * 0.3, p.y - h - size * 0.2),
                         box(p.x - w - size * 0.4, p.y - h / 2)};
                break;
            case Curve::Volume:
                boxes = {box(p.x + size * 0.25, p.y - h - size * 0.15),
                         box(p.x - w - size * 0.25, p.y - h - size * 0.15)};
                break;
            case Curve::Enthalpy:
                boxes = {box(p.x - w - size * 0.2, p.y - h - size * 0.1),
                         box(p.x - w - size * 0.3, p.y - h / 2), box(p.x - w / 2, p.y - h - size * 0.2)};
                break;
            case Curve::Saturation:
            case Curve::EnthalpyScale:
                break;
        }
        // On the line, its own line broken behind it; else beside it.
        const double g = size * 0.15;
        for (const Xy& a : Along(s, size * 0.5, fromEnd))
            for (const Rect& r :
                 {box(a.x - w / 2, a.y - h / 2), box(a.x + g, a.y - h / 2), box(a.x - w - g, a.y - h / 2),
                  box(a.x - w / 2, a.y - h - g), box(a.x - w / 2, a.y + g)})
                boxes.push_back(r);
        return boxes;
    }

    // At the chart's size, else a size smaller where that finds room.
    void CurveLabel(int index) {
        if (strokeOf_[static_cast<size_t>(index)] < 0) return;
        const Curve& c = m_.curves[static_cast<size_t>(index)];
        const Stroke& s = strokes_[static_cast<size_t>(strokeOf_[static_cast<size_t>(index)])];
        const Label::Kind kind = c.kind == Curve::RelHumidity ? Label::RelHumidity
                                 : c.kind == Curve::WetBulb   ? Label::WetBulb
                                 : c.kind == Curve::Volume    ? Label::Volume
                                                              : Label::Enthalpy;
        for (double size : {l_.text * 0.72, l_.text * 0.6}) {
            const Label lab = Make(kind, index, {CurveText(c)}, size, false);
            if (Take(lab, CurveBoxes(c, s, lab.box.width, lab.box.height, size))) return;
        }
    }

    const ChartModel& m_;
    const Layout& l_;
    const TextMeasure& measure_;
    std::vector<Stroke> strokes_;
    std::vector<Chunk> chunks_;
    std::vector<Rect> markers_;
    std::vector<int> strokeOf_;  // a curve's stroke, -1 for none
    Rect area_;
    std::vector<Label> placed_;
};

}  // namespace

double LineClearance(const ChartModel& m, const Layout& l, const Stroke& s) {
    const double thin = l.text / 16;
    if (s.curve < 0) return 3 * thin;
    return m.curves[static_cast<size_t>(s.curve)].kind == Curve::Saturation ? 2 * thin : thin;
}

bool Intersects(const Rect& r, const Segment& s) {
    Segment c = s;
    return Clip(r, c);
}

bool Overlap(const Rect& a, const Rect& b) {
    return a.left < Right(b) && b.left < Right(a) && a.top < Bottom(b) && b.top < Bottom(a);
}

std::vector<Stroke> Strokes(const ChartModel& m, const Layout& l) {
    std::vector<Stroke> strokes;
    auto add = [&](int curve, const std::vector<Point>& pts) {
        Stroke s{curve, {}};
        for (size_t i = 1; i < pts.size(); ++i) {
            const Xy a = At(l, pts[i - 1]);
            const Xy b = At(l, pts[i]);
            Segment g{a.x, a.y, b.x, b.y};
            if (Clip(l.plot, g)) s.segments.push_back(g);
        }
        if (!s.segments.empty()) strokes.push_back(std::move(s));
    };
    for (size_t i = 0; i < m.curves.size(); ++i) add(static_cast<int>(i), m.curves[i].points);
    std::vector<Point> process = {{m.entering.t, m.entering.W}, {m.leaving.t, m.leaving.W}};
    if (m.hasAdp) process.push_back(m.adp);
    add(Stroke::kProcess, process);
    return strokes;
}

std::vector<Rect> Markers(const ChartModel& m, const Layout& l) {
    std::vector<Rect> rects;
    auto disc = [&](const Point& p, double r) {
        const Xy c = At(l, p);
        rects.push_back({c.x - r, c.y - r, 2 * r, 2 * r});
    };
    disc({m.entering.t, m.entering.W}, l.text * 0.38);
    disc({m.leaving.t, m.leaving.W}, l.text * 0.38);
    if (m.hasAdp) disc(m.adp, l.text * 0.32 + l.text / 16 * 1.5);
    return rects;
}

double Label::PadX() const {
    return size * (kind == Entering || kind == Leaving ? 0.4 : 0.15);
}

bool Thin(const ChartModel& m, const Stroke& s) {
    if (s.curve < 0 || s.curve >= static_cast<int>(m.curves.size())) return false;
    const Curve::Kind k = m.curves[static_cast<size_t>(s.curve)].kind;
    // The whole chart's enthalpy lines are as thin; its scale is not.
    return k == Curve::RelHumidity || k == Curve::WetBulb || k == Curve::Volume ||
           (k == Curve::Enthalpy && m.range == Range::Whole);
}

bool Drawn(const ChartModel& m, const std::vector<Label>& labels, int curve) {
    if (curve < 0) return true;
    const Curve::Kind kind = m.curves[static_cast<size_t>(curve)].kind;
    if (kind == Curve::Saturation || kind == Curve::EnthalpyScale) return true;
    return std::any_of(labels.begin(), labels.end(), [curve](const Label& l) { return l.curve == curve; });
}

std::vector<Label> PlaceLabels(const ChartModel& model, const Layout& layout, const TextMeasure& measure) {
    return Placer(model, layout, measure).Place();
}

}  // namespace reports::chart
