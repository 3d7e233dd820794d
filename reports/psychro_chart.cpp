#include "reports/psychro_chart.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "engine/hygrel_binding.h"
#include "reports/performance_sheet.h"

namespace reports::chart {

namespace {

constexpr double kLibraryError = -9999;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
// Grains between a state and saturation that count as saturated.
constexpr double kTouching = 0.25;
// Samples along each curve across the dry-bulb range.
constexpr int kSamples = 240;

bool Valid(double v) {
    return std::isfinite(v) && v != kLibraryError;
}

double SatGrains(double t, int16_t z) {
    const double w = hg::HGSATGRAINS(static_cast<float>(t), z);
    return Valid(w) ? w : kNaN;
}

double Enthalpy(double t, double w) {
    return hg::HGENTHALPY(static_cast<float>(t), static_cast<float>(w));
}

// Enthalpy of saturated air at t (NaN where the library refuses t).
double SatEnthalpy(double t, int16_t z) {
    const double ws = SatGrains(t, z);
    return std::isnan(ws) ? kNaN : Enthalpy(t, ws);
}

// The smallest of 1, 2, 2.5, 5 times a power of ten that splits `span`
// into at most `maxSteps` steps.
double NiceStep(double span, int maxSteps) {
    const double raw = span / maxSteps;
    const double decade = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 2.5, 5.0, 10.0})
        if (m * decade >= raw) return m * decade;
    return 10 * decade;
}

// A curve W(t) sampled across the dry-bulb axis; a sample the
// library refuses ends the curve, and so does the first sample above the
// plot's top (it is kept, so the curve leaves the plot through the edge).
template <class F>
std::vector<Point> Sampled(const Axis& t, double top, F f) {
    std::vector<Point> pts;
    const double dt = (t.max - t.min) / kSamples;
    for (int i = 0; i <= kSamples; ++i) {
        const double x = i == kSamples ? t.max : t.min + i * dt;
        const double w = f(x);
        if (!Valid(w) || w < 0) break;
        pts.push_back({x, w});
        if (w > top) break;
    }
    return pts;
}

AirState StateAt(double t, double tw, double w, int16_t z) {
    AirState s{t, tw, w, 0, Enthalpy(t, w)};
    const double rh = hg::HGRH(static_cast<float>(t), static_cast<float>(w), z);
    // A humidity a rounding step above saturation is refused; it is saturated.
    s.rh = Valid(rh) ? rh : 100;
    return s;
}

// Where the straight line through the entering and leaving states, followed
// on beyond the leaving state, meets the saturation curve.
bool ApparatusDewPoint(const AirState& e, const AirState& l, int16_t z, Point& adp) {
    if (e.t - l.t < 0.01) return false;
    const double slope = (e.W - l.W) / (e.t - l.t);
    auto line = [&](double t) { return l.W + slope * (t - l.t); };
    // Positive above saturation.
    auto f = [&](double t) { return line(t) - SatGrains(t, z); };
    double lo;
    double hi;
    if (f(l.t) >= 0) {
        // The leaving air sits on saturation already (within rounding).
        if (f(e.t) >= 0) {
            adp = {l.t, l.W};
            return true;
        }
        lo = l.t;
        hi = e.t;
    } else {
        hi = l.t;
        lo = l.t;
        for (;;) {
            lo -= 1;
            if (lo < -80 || line(lo) <= 0) {
                // The line falls away from saturation beyond the leaving
                // state: it touches saturation there when the leaving air is
                // saturated but for rounding.
                const double ws = SatGrains(l.t, z);
                if (!(ws - l.W <= kTouching)) return false;
                adp = {l.t, ws};
                return true;
            }
            if (f(lo) >= 0) break;
            hi = lo;
        }
    }
    // f(lo) >= 0 > f(hi) or the other way round: bisect to a hundred
    // thousandth of a degree.
    const bool rising = f(lo) < 0;
    for (int i = 0; i < 60 && hi - lo > 1e-5; ++i) {
        const double mid = (lo + hi) / 2;
        if ((f(mid) < 0) == rising)
            lo = mid;
        else
            hi = mid;
    }
    const double t = (lo + hi) / 2;
    adp = {t, SatGrains(t, z)};
    return Valid(adp.W);
}

// ft³ of moist air per lb of dry air, NaN where the library refuses.
double Volume(double t, double w, int16_t z) {
    const double rho = hg::HGDENSITY(static_cast<float>(t), static_cast<float>(w), z);
    return Valid(rho) && rho > 0 ? 1 / rho : kNaN;
}

// The dry bulb of volume `v` at humidity `w`, NaN beyond saturation or where
// the library refuses. At a given humidity the volume is linear in the dry
// bulb: two valid points give the dry bulb of any volume.
double DryBulbOfVolume(const ChartModel& m, double v, double w, int16_t z) {
    double t1 = m.t.min;
    if (w > 0) {
        const double dp = hg::HGDEWPOINT(static_cast<float>(w), z);
        if (!Valid(dp)) return kNaN;
        t1 = std::max(t1, dp + 0.5);
    }
    const double t2 = t1 + 20;
    const double v1 = Volume(t1, w, z);
    const double v2 = Volume(t2, w, z);
    if (std::isnan(v1) || std::isnan(v2) || v2 == v1) return kNaN;
    const double t = t1 + (v - v1) * (t2 - t1) / (v2 - v1);
    return w > 0 && t < t1 - 0.5 ? kNaN : t;  // beyond saturation
}

void AddVolumeLines(ChartModel& m, int16_t z) {
    const double vMin = Volume(m.t.min, 0, z);
    const double topW = std::min(m.W.max, SatGrains(std::min(m.t.max, 199.0), z));
    const double vMax = Volume(std::min(m.t.max, 199.0), std::isnan(topW) ? 0 : topW, z);
    if (std::isnan(vMin) || std::isnan(vMax) || vMax <= vMin) return;
    double step = 0.5;
    while ((vMax - vMin) / step > 10) step *= 2;
    constexpr int kRows = 48;
    for (double v = std::ceil(vMin / step) * step; v <= vMax; v += step) {
        Curve c{Curve::Volume, v, {}};
        for (int i = 0; i <= kRows; ++i) {
            const double w = m.W.max * i / kRows;
            const double t = DryBulbOfVolume(m, v, w, z);
            if (std::isnan(t)) break;
            c.points.push_back({t, w});
        }
        if (c.points.size() > 1) m.curves.push_back(std::move(c));
    }
}

void AddEnthalpyTicks(ChartModel& m, int16_t z) {
    // The saturation curve's visible stretch: from the left edge to where it
    // leaves through the top or the right edge.
    double tEnd = m.t.min;
    while (tEnd < m.t.max) {
        const double ws = SatGrains(tEnd + 0.25, z);
        if (std::isnan(ws) || ws > m.W.max) break;
        tEnd += 0.25;
    }
    const double h0 = SatEnthalpy(m.t.min, z);
    const double h1 = SatEnthalpy(tEnd, z);
    if (std::isnan(h0) || std::isnan(h1) || h1 <= h0) return;
    const double step = (h1 - h0) > 60 ? 10 : 5;
    // Ticks of one length on the plot whatever the axes' scales.
    const double tSpan = m.t.max - m.t.min;
    const double wSpan = m.W.max - m.W.min;
    for (double h = std::ceil(h0 / step) * step; h <= h1; h += step) {
        double lo = m.t.min;
        double hi = tEnd;
        for (int i = 0; i < 50; ++i) {
            const double mid = (lo + hi) / 2;
            (SatEnthalpy(mid, z) < h ? lo : hi) = mid;
        }
        const double ts = (lo + hi) / 2;
        // The constant-enthalpy line beyond saturation: the enthalpy is
        // linear in the humidity at a given dry bulb.
        auto grainsAt = [&](double t) {
            const double e0 = Enthalpy(t, 0);
            const double e1 = Enthalpy(t, 7000);
            return (h - e0) / (e1 - e0) * 7000;
        };
        const double ws = SatGrains(ts, z);
        if (std::isnan(ws)) continue;
        const double slope = grainsAt(ts - 1) - grainsAt(ts);  // grains per °F leftwards
        const double dt = 0.03 / std::hypot(1 / tSpan, slope / wSpan);
        m.curves.push_back({Curve::Enthalpy, h, {{ts, ws}, {ts - dt, grainsAt(ts - dt)}}});
    }
}

// The entering and leaving states of the rating's air-side process, the
// apparatus dew point of a wet coil and the sensible heat ratio of a
// cooling coil.
void SetProcess(ChartModel& m, const CoilRating& r, int16_t z) {
    const double eatWb = r.EatWb == 0 ? r.EatDb - 1.0f : r.EatWb;
    double we = hg::HGWBTOGR(r.EatDb, static_cast<float>(eatWb), z);
    if (!Valid(we) || we < 0) we = 0;
    m.entering = StateAt(r.EatDb, eatWb, we, z);
    m.cooling = r.LatDb < r.EatDb;
    double wl = we;
    if (m.cooling && r.LatWb > 0 && r.SensibleBtuh < r.TotalBtuh) {
        const double w = hg::HGWBTOGR(r.LatDb, r.LatWb, z);
        if (Valid(w) && w > 0 && w < we) wl = w;
    }
    m.wet = wl < we;
    double lvgWb = r.LatWb;
    if (!(m.cooling && r.LatWb > 0)) {
        lvgWb = hg::HGWETBULB(r.LatDb, static_cast<float>(wl), z);
        if (!Valid(lvgWb)) lvgWb = r.LatDb;
    }
    m.leaving = StateAt(r.LatDb, lvgWb, wl, z);
    if (m.wet) m.hasAdp = ApparatusDewPoint(m.entering, m.leaving, z, m.adp);
    if (m.cooling && r.TotalBtuh > 0) m.shr = r.SensibleBtuh / r.TotalBtuh;
}

// Axes: the process with a margin, on whole ticks.
void SetAxes(ChartModel& m, int16_t z) {
    double tLo = std::min(m.entering.t, m.leaving.t);
    double tHi = std::max(m.entering.t, m.leaving.t);
    if (m.hasAdp) tLo = std::min(tLo, m.adp.t);
    // Down to the entering air's dew point, so the saturation curve shows
    // how far the air is from condensing.
    const double dewPoint = hg::HGDEWPOINT(static_cast<float>(m.entering.W), z);
    if (Valid(dewPoint) && m.entering.W > 0) tLo = std::min(tLo, std::max(-80.0, dewPoint));
    const double margin = std::max(10.0, 0.15 * (tHi - tLo));
    m.t.step = NiceStep(tHi - tLo + 2 * margin, 12);
    m.t.step = std::max(m.t.step, 5.0);
    m.t.min = std::max(-80.0, std::floor((tLo - margin) / m.t.step) * m.t.step);
    m.t.max = std::min(400.0, std::ceil((tHi + margin) / m.t.step) * m.t.step);
    if (m.t.max - m.t.min < m.t.step) m.t.max = m.t.min + 2 * m.t.step;
    const double wHi = std::max(m.entering.W, m.leaving.W) * 1.25 + 10;
    m.W.min = 0;
    m.W.step = NiceStep(wHi, 8);
    m.W.max = std::ceil(wHi / m.W.step) * m.W.step;
}

// Saturation and relative humidity every 10 %.
void AddHumidityCurves(ChartModel& m, int16_t z) {
    const double top = m.W.max;
    m.curves.push_back(
        {Curve::Saturation, 100, Sampled(m.t, top, [z](double t) { return SatGrains(t, z); })});
    for (int rh = 10; rh <= 90; rh += 10) {
        const float phi = static_cast<float>(rh / 100.0);
        m.curves.push_back(
            {Curve::RelHumidity, static_cast<double>(rh), Sampled(m.t, top, [phi, z](double t) {
                 return static_cast<double>(hg::HGRHTOGR(static_cast<float>(t), phi, z));
             })});
    }
}

// Follows the wet-bulb line `tw` from its last point down to dry air, short
// of the dry bulb `t` where the library refuses it or it is dry.
void FollowToDryAir(Curve& c, double tw, double t, int16_t z) {
    if (c.points.empty()) return;
    double lo = c.points.back().t;
    double hi = t;
    for (int k = 0; k < 30; ++k) {
        const double mid = (lo + hi) / 2;
        const double wm = hg::HGWBTOGR(static_cast<float>(mid), static_cast<float>(tw), z);
        (Valid(wm) && wm > 0 ? lo : hi) = mid;
    }
    const double wl = hg::HGWBTOGR(static_cast<float>(lo), static_cast<float>(tw), z);
    if (Valid(wl) && wl > 0 && lo > c.points.back().t) c.points.push_back({lo, wl});
}

// The wet-bulb line `tw` from saturation down to dry air. It falls as the
// dry bulb rises; a sample above the top is kept but does not end the line.
Curve WetBulbLine(const ChartModel& m, double tw, int16_t z) {
    Curve c{Curve::WetBulb, tw, {}};
    const int n = static_cast<int>(std::ceil((m.t.max - tw) / ((m.t.max - m.t.min) / kSamples)));
    for (int i = 0; i <= n; ++i) {
        const double t = i == n ? m.t.max : tw + i * (m.t.max - tw) / n;
        const double w = hg::HGWBTOGR(static_cast<float>(t), static_cast<float>(tw), z);
        if (!Valid(w) || w <= 0) {
            FollowToDryAir(c, tw, t, z);
            break;
        }
        c.points.push_back({t, w});
    }
    return c;
}

// Wet-bulb lines every 5 °F that show inside the plot.
void AddWetBulbLines(ChartModel& m, int16_t z) {
    const double top = m.W.max;
    for (double tw = std::ceil(m.t.min / 5) * 5; tw < m.t.max; tw += 5) {
        Curve c = WetBulbLine(m, tw, z);
        const bool visible =
            std::any_of(c.points.begin(), c.points.end(), [&](const Point& p) { return p.W <= top; });
        if (c.points.size() > 1 && visible) m.curves.push_back(std::move(c));
    }
}

}  // namespace

ChartModel BuildChart(const CoilSpec& coilSpec, const CoilRating& r) {
    ChartModel m;
    const int16_t z = r.Altitude;
    m.altitude = z;
    m.caption = CoilCaption(coilSpec.Application, r);
    SetProcess(m, r, z);
    SetAxes(m, z);
    AddHumidityCurves(m, z);
    AddWetBulbLines(m, z);
    AddEnthalpyTicks(m, z);
    AddVolumeLines(m, z);
    return m;
}

// ---------------------------------------------------------------------------
// Layout

double Layout::X(double dryBulb) const {
    return plot.left + (dryBulb - t.min) / (t.max - t.min) * plot.width;
}

double Layout::Y(double grains) const {
    return plot.top + plot.height - (grains - W.min) / (W.max - W.min) * plot.height;
}

double Layout::DryBulbAt(double x) const {
    return t.min + (x - plot.left) / plot.width * (t.max - t.min);
}

double Layout::GrainsAt(double y) const {
    return W.min + (plot.top + plot.height - y) / plot.height * (W.max - W.min);
}

Layout LayoutFor(const ChartModel& model, const Rect& box) {
    Layout l;
    l.box = box;
    l.t = model.t;
    l.W = model.W;
    l.text = std::max(1.0, std::min(box.height / 48, box.width / 64));
    // Title above; humidity scale at the right; dry-bulb scale and the
    // summary lines below.
    const double left = 2.5 * l.text;
    const double right = 6.5 * l.text;
    const double top = 3.2 * l.text;
    const double bottom = 6.8 * l.text;
    l.plot = {box.left + left, box.top + top, std::max(1.0, box.width - left - right),
              std::max(1.0, box.height - top - bottom)};
    return l;
}

}  // namespace reports::chart
