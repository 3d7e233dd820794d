#include "reports/psychro_chart.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "engine/hygrel_binding.h"
#include "common/model_designation.h"
#include "common/numfmt.h"
#include "reports/performance_sheet.h"

namespace reports::chart {

namespace {

constexpr double kLibraryError = -9999;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
// Grains (per pound) between a state and saturation that count as saturated.
constexpr double kTouching = 0.25;
// Samples along each curve across the dry-bulb range.
constexpr int kSamples = 240;

bool Valid(double v) {
    return std::isfinite(v) && v != kLibraryError;
}

// The library's inch-pound functions in the chart's units. In SI the
// arguments go to inch-pound and the results come back as the library's SI
// functions convert them (°C, g/kg, kJ/kg from 0 °C, m³/kg); the altitude
// stays the rated feet. A refused result is NaN.
class Props {
public:
    Props(units::System system, int16_t feet) : si_(system == units::System::SI), z_(feet) {}

    bool Si() const { return si_; }
    // A temperature, humidity or enthalpy given in inch-pound units, in
    // the chart's.
    double T(double f) const { return si_ ? 5.0 * (f - 32.0) / 9.0 : f; }
    double W(double grains) const { return si_ ? grains / 7.0 : grains; }
    double H(double btu) const { return si_ ? 2.326 * (btu - 7.712) : btu; }
    // A value of the chart's units, as the library takes it.
    float F(double t) const { return static_cast<float>(si_ ? 9.0 * t / 5.0 + 32.0 : t); }
    float Gr(double w) const { return static_cast<float>(si_ ? 7.0 * w : w); }

    double Sat(double t) const { return HumidityOf(hg::HGSATGRAINS(F(t), z_)); }
    double RhToW(double t, double phi) const {
        return HumidityOf(hg::HGRHTOGR(F(t), static_cast<float>(phi), z_));
    }
    double WbToW(double t, double tw) const { return HumidityOf(hg::HGWBTOGR(F(t), F(tw), z_)); }
    double DewPoint(double w) const { return TemperatureOf(hg::HGDEWPOINT(Gr(w), z_)); }
    double Enthalpy(double t, double w) const { return H(hg::HGENTHALPY(F(t), Gr(w))); }
    // Volume of moist air per unit of dry air.
    double Volume(double t, double w) const {
        const double rho = hg::HGDENSITY(F(t), Gr(w), z_);
        if (!Valid(rho) || rho <= 0) return kNaN;
        return si_ ? 2.205 / (rho * 35.31) : 1 / rho;
    }

private:
    double HumidityOf(double grains) const { return Valid(grains) ? W(grains) : kNaN; }
    double TemperatureOf(double f) const { return Valid(f) ? T(f) : kNaN; }

    bool si_;
    int16_t z_;
};

double SatEnthalpy(const Props& p, double t) {
    const double ws = p.Sat(t);
    return std::isnan(ws) ? kNaN : p.Enthalpy(t, ws);
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

// A state of inch-pound dry bulb, wet bulb and grains.
AirState StateAt(double t, double tw, double w, int16_t z) {
    AirState s{t, tw, w, 0, hg::HGENTHALPY(static_cast<float>(t), static_cast<float>(w))};
    const double rh = hg::HGRH(static_cast<float>(t), static_cast<float>(w), z);
    // A humidity a rounding step above saturation is refused; it is saturated.
    s.rh = Valid(rh) ? rh : 100;
    return s;
}

AirState InUnits(const Props& p, const AirState& s) {
    return {p.T(s.t), p.T(s.tw), p.W(s.W), s.rh, p.H(s.h)};
}

// Where the straight line through the entering and leaving states, followed
// on beyond the leaving state, meets the saturation curve.
bool ApparatusDewPoint(const Props& p, const AirState& e, const AirState& l, Point& adp) {
    if (e.t - l.t < 0.01) return false;
    const double slope = (e.W - l.W) / (e.t - l.t);
    auto line = [&](double t) { return l.W + slope * (t - l.t); };
    // Positive above saturation.
    auto f = [&](double t) { return line(t) - p.Sat(t); };
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
            if (lo < p.T(-80) || line(lo) <= 0) {
                // The line falls away from saturation beyond the leaving
                // state: it touches saturation there when the leaving air is
                // saturated but for rounding.
                const double ws = p.Sat(l.t);
                if (!(ws - l.W <= p.W(kTouching))) return false;
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
    adp = {t, p.Sat(t)};
    return Valid(adp.W);
}

// The dry bulb of volume `v` at humidity `w`, NaN beyond saturation or where
// the library refuses. At a given humidity the volume is linear in the dry
// bulb: two valid points give the dry bulb of any volume.
double DryBulbOfVolume(const ChartModel& m, const Props& p, double v, double w) {
    double t1 = m.t.min;
    if (w > 0) {
        const double dp = p.DewPoint(w);
        if (!Valid(dp)) return kNaN;
        t1 = std::max(t1, dp + 0.5);
    }
    const double t2 = t1 + 20;
    const double v1 = p.Volume(t1, w);
    const double v2 = p.Volume(t2, w);
    if (std::isnan(v1) || std::isnan(v2) || v2 == v1) return kNaN;
    const double t = t1 + (v - v1) * (t2 - t1) / (v2 - v1);
    return w > 0 && t < t1 - 0.5 ? kNaN : t;  // beyond saturation
}

void AddVolumeLines(ChartModel& m, const Props& p) {
    const double tTop = std::min(m.t.max, p.T(199.0));
    const double vMin = p.Volume(m.t.min, 0);
    const double topW = std::min(m.W.max, p.Sat(tTop));
    const double vMax = p.Volume(tTop, std::isnan(topW) ? 0 : topW);
    if (std::isnan(vMin) || std::isnan(vMax) || vMax <= vMin) return;
    double step = 0.5;
    if (p.Si()) {
        // Whole hundredths on every line, at most a dozen steps.
        for (double s : {0.01, 0.02, 0.05, 0.1, 0.2, 0.5, 1.0}) {
            step = s;
            if ((vMax - vMin) / s <= 12) break;
        }
    } else {
        while ((vMax - vMin) / step > 10) step *= 2;
    }
    constexpr int kRows = 48;
    for (double v = std::ceil(vMin / step) * step; v <= vMax; v += step) {
        Curve c{Curve::Volume, v, {}};
        for (int i = 0; i <= kRows; ++i) {
            const double w = m.W.max * i / kRows;
            const double t = DryBulbOfVolume(m, p, v, w);
            if (std::isnan(t)) break;
            c.points.push_back({t, w});
        }
        if (c.points.size() > 1) m.curves.push_back(std::move(c));
    }
}

// The dry bulb where the saturation curve leaves the plot through the top or
// the right edge.
double SaturationEnd(const ChartModel& m, const Props& p) {
    double tEnd = m.t.min;
    while (tEnd < m.t.max) {
        const double ws = p.Sat(tEnd + 0.25);
        if (std::isnan(ws) || ws > m.W.max) break;
        tEnd += 0.25;
    }
    return tEnd;
}

// The line of constant enthalpy `h` beyond saturation: the enthalpy is
// linear in the humidity at a given dry bulb.
double HumidityOfEnthalpy(const Props& p, double h, double t) {
    const double wRef = p.W(7000);
    const double e0 = p.Enthalpy(t, 0);
    const double e1 = p.Enthalpy(t, wRef);
    return (h - e0) / (e1 - e0) * wRef;
}

// The dry bulb of saturation at enthalpy `h`, between `lo` and `hi`.
double SaturationAtEnthalpy(const Props& p, double h, double lo, double hi) {
    for (int i = 0; i < 50; ++i) {
        const double mid = (lo + hi) / 2;
        (SatEnthalpy(p, mid) < h ? lo : hi) = mid;
    }
    return (lo + hi) / 2;
}

// Enthalpy steps: 5 or 10 Btu/lb, 10 or 20 kJ/kg, for a span of enthalpy.
double EnthalpyStep(const Props& p, double span) {
    const double coarse = p.Si() ? 140 : 60;
    return span > coarse ? (p.Si() ? 20 : 10) : (p.Si() ? 10 : 5);
}

void AddEnthalpyTicks(ChartModel& m, const Props& p) {
    // The saturation curve's visible stretch: from the left edge to where it
    // leaves through the top or the right edge.
    const double tEnd = SaturationEnd(m, p);
    const double h0 = SatEnthalpy(p, m.t.min);
    const double h1 = SatEnthalpy(p, tEnd);
    if (std::isnan(h0) || std::isnan(h1) || h1 <= h0) return;
    const double step = EnthalpyStep(p, h1 - h0);
    // Ticks of one length on the plot whatever the axes' scales.
    const double tSpan = m.t.max - m.t.min;
    const double wSpan = m.W.max - m.W.min;
    for (double h = std::ceil(h0 / step) * step; h <= h1; h += step) {
        const double ts = SaturationAtEnthalpy(p, h, m.t.min, tEnd);
        const double ws = p.Sat(ts);
        if (std::isnan(ws)) continue;
        // Humidity per degree leftwards.
        const double slope = HumidityOfEnthalpy(p, h, ts - 1) - HumidityOfEnthalpy(p, h, ts);
        const double dt = 0.03 / std::hypot(1 / tSpan, slope / wSpan);
        m.curves.push_back({Curve::Enthalpy, h, {{ts, ws}, {ts - dt, HumidityOfEnthalpy(p, h, ts - dt)}}});
    }
}

// The whole chart's enthalpy scale: a straight line beyond saturation,
// parallel to the chord of its visible stretch (from the left edge to where
// it leaves the plot) and a fixed distance beyond it, in fractions of the
// axes (u rightwards, v upwards).
class EnthalpyScaleLine {
public:
    EnthalpyScaleLine(const ChartModel& m, const Props& p, double tEnd) : m_(m) {
        v0_ = V(p.Sat(m.t.min));
        du_ = U(tEnd);
        dv_ = V(p.Sat(tEnd)) - v0_;
        len_ = std::hypot(du_, dv_);
    }

    bool Valid() const { return len_ > 0.05; }
    // Signed distance of a point beyond the scale (up and left).
    double Beyond(double t, double w) const { return (U(t) * -dv_ + (V(w) - v0_) * du_) / len_ - kOffset; }
    // Distance of a point along the scale.
    double Along(const Point& pt) const { return (U(pt.t) * du_ + (V(pt.W) - v0_) * dv_) / len_; }
    // The point of the scale `s` along it.
    Point At(double s) const {
        const double u = (-dv_ * kOffset + s * du_) / len_;
        const double v = v0_ + (du_ * kOffset + s * dv_) / len_;
        return {m_.t.min + u * (m_.t.max - m_.t.min), m_.W.min + v * (m_.W.max - m_.W.min)};
    }
    double Length() const { return len_; }

private:
    static constexpr double kOffset = 0.07;
    double U(double t) const { return (t - m_.t.min) / (m_.t.max - m_.t.min); }
    double V(double w) const { return (w - m_.W.min) / (m_.W.max - m_.W.min); }

    const ChartModel& m_;
    double v0_ = 0;
    double du_ = 0;
    double dv_ = 0;
    double len_ = 0;
};

// Where the line of enthalpy `h` from saturation (at dry bulb `ts`)
// leftwards and upwards meets the scale; false where it does not inside
// the plot.
bool ScaleCrossing(const ChartModel& m, const Props& p, const EnthalpyScaleLine& scale, double h, double ts,
                   Point& at) {
    double lo = ts;
    double hi = lo - (m.t.max - m.t.min);
    auto beyond = [&](double t) { return scale.Beyond(t, HumidityOfEnthalpy(p, h, t)); };
    if (!(beyond(lo) < 0 && beyond(hi) > 0)) return false;
    for (int i = 0; i < 50; ++i) {
        const double mid = (lo + hi) / 2;
        (beyond(mid) < 0 ? lo : hi) = mid;
    }
    at = {lo, HumidityOfEnthalpy(p, h, lo)};
    return at.t >= m.t.min && at.W <= m.W.max && at.W >= m.W.min;
}

// The whole chart's enthalpy scale: each labelled enthalpy's line runs from
// saturation across the scale, a little beyond it; the scale (one polyline)
// carries minor ticks between them.
void AddEnthalpyScale(ChartModel& m, const Props& p) {
    const double tEnd = SaturationEnd(m, p);
    const double h0 = SatEnthalpy(p, m.t.min);
    const double h1 = SatEnthalpy(p, tEnd);
    if (std::isnan(h0) || std::isnan(h1) || h1 <= h0) return;
    const EnthalpyScaleLine line(m, p, tEnd);
    if (!line.Valid()) return;
    const double minor = p.Si() ? 2 : 1;
    const double major = EnthalpyStep(p, h1 - h0);
    struct Mark {
        double along;
        Point at;
        Point out;
    };
    std::vector<Mark> marks;
    for (double h = std::ceil(h0 / minor) * minor; h <= h1; h += minor) {
        const double ts = SaturationAtEnthalpy(p, h, m.t.min, tEnd);
        Point at;
        if (!ScaleCrossing(m, p, line, h, ts, at)) continue;
        // Ticks of one length on the plot whatever the axes' scales, the
        // labelled ones twice as long.
        const bool labelled = std::fabs(std::remainder(h, major)) < 1e-9;
        const double slope = HumidityOfEnthalpy(p, h, at.t - 1) - at.W;
        const double dt =
            (labelled ? 0.024 : 0.012) / std::hypot(1 / (m.t.max - m.t.min), slope / (m.W.max - m.W.min));
        const Point out{at.t - dt, HumidityOfEnthalpy(p, h, at.t - dt)};
        const double ws = p.Sat(ts);
        if (!labelled)
            marks.push_back({line.Along(at), at, out});
        else if (!std::isnan(ws))
            m.curves.push_back({Curve::Enthalpy, h, {{ts, ws}, at, out}});
    }
    // The scale from edge to edge (cut at the plot where it is drawn).
    Curve scale{Curve::EnthalpyScale, minor, {line.At(-2)}};
    std::sort(marks.begin(), marks.end(), [](const Mark& a, const Mark& b) { return a.along < b.along; });
    for (const Mark& k : marks) scale.points.insert(scale.points.end(), {k.at, k.out, k.at});
    scale.points.push_back(line.At(line.Length() + 2));
    m.curves.push_back(std::move(scale));
}

// The entering and leaving states of the rating's air-side process, the
// apparatus dew point of a wet coil and the sensible heat ratio of a
// cooling coil. The states are those of the inch-pound rating, converted.
void SetProcess(ChartModel& m, const CoilRating& r, const Props& p) {
    const int16_t z = r.Altitude;
    const double eatWb = r.EatWb == 0 ? r.EatDb - 1.0f : r.EatWb;
    double we = hg::HGWBTOGR(r.EatDb, static_cast<float>(eatWb), z);
    if (!Valid(we) || we < 0) we = 0;
    m.entering = InUnits(p, StateAt(r.EatDb, eatWb, we, z));
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
    m.leaving = InUnits(p, StateAt(r.LatDb, lvgWb, wl, z));
    if (m.wet) m.hasAdp = ApparatusDewPoint(p, m.entering, m.leaving, m.adp);
    if (m.cooling && r.TotalBtuh > 0) m.shr = r.SensibleBtuh / r.TotalBtuh;
}

// The dry-bulb tick step in the chart's units for a span of degrees.
double DryBulbStep(const Props& p, double span) {
    const double step = NiceStep(span, 12);
    if (!p.Si()) return std::max(step, 5.0);
    // Whole degrees on every tick.
    return step > 2 && step < 5 ? 5 : std::max(step, 2.0);
}

// Axes: the process with a margin, on whole ticks.
void SetAxes(ChartModel& m, const Props& p) {
    double tLo = std::min(m.entering.t, m.leaving.t);
    double tHi = std::max(m.entering.t, m.leaving.t);
    if (m.hasAdp) tLo = std::min(tLo, m.adp.t);
    // Down to the entering air's dew point, so the saturation curve shows
    // how far the air is from condensing.
    const double dewPoint = p.DewPoint(m.entering.W);
    if (Valid(dewPoint) && m.entering.W > 0) tLo = std::min(tLo, std::max(p.T(-80), dewPoint));
    const double margin = std::max(p.Si() ? 5.0 : 10.0, 0.15 * (tHi - tLo));
    m.t.step = DryBulbStep(p, tHi - tLo + 2 * margin);
    m.t.min = std::max(p.T(-80), std::floor((tLo - margin) / m.t.step) * m.t.step);
    m.t.max = std::min(p.T(400), std::ceil((tHi + margin) / m.t.step) * m.t.step);
    if (m.t.max - m.t.min < m.t.step) m.t.max = m.t.min + 2 * m.t.step;
    const double wHi = std::max(m.entering.W, m.leaving.W) * 1.25 + p.W(10);
    m.W.min = 0;
    m.W.step = NiceStep(wHi, 8);
    m.W.max = std::ceil(wHi / m.W.step) * m.W.step;
}

// The whole chart: fixed standard ranges (30 to 120 °F and 0 to 200
// grains, or -10 to 50 °C and 0 to 30 g/kg), widened on whole ticks only
// where the process lies beyond them.
void SetWholeAxes(ChartModel& m, const Props& p) {
    m.t = p.Si() ? Axis{-10, 50, 5} : Axis{30, 120, 10};
    m.W = p.Si() ? Axis{0, 30, 5} : Axis{0, 200, 20};
    double tLo = std::min(m.entering.t, m.leaving.t);
    if (m.hasAdp) tLo = std::min(tLo, m.adp.t);
    const double tHi = std::max(m.entering.t, m.leaving.t);
    const double wHi = std::max(m.entering.W, m.leaving.W);
    if (tLo < m.t.min) m.t.min = std::max(p.T(-80), std::floor(tLo / m.t.step - 0.5) * m.t.step);
    if (tHi > m.t.max) m.t.max = std::min(p.T(400), std::ceil(tHi / m.t.step + 0.5) * m.t.step);
    if (wHi > m.W.max) m.W.max = std::ceil(wHi / m.W.step + 0.5) * m.W.step;
}

// Saturation and relative humidity every 10 %.
void AddHumidityCurves(ChartModel& m, const Props& p) {
    const double top = m.W.max;
    m.curves.push_back({Curve::Saturation, 100, Sampled(m.t, top, [&p](double t) { return p.Sat(t); })});
    for (int rh = 10; rh <= 90; rh += 10) {
        const double phi = static_cast<float>(rh / 100.0);
        m.curves.push_back({Curve::RelHumidity, static_cast<double>(rh),
                            Sampled(m.t, top, [&p, phi](double t) { return p.RhToW(t, phi); })});
    }
}

// Follows the wet-bulb line `tw` from its last point down to dry air, short
// of the dry bulb `t` where the library refuses it or it is dry.
void FollowToDryAir(Curve& c, const Props& p, double tw, double t) {
    if (c.points.empty()) return;
    double lo = c.points.back().t;
    double hi = t;
    for (int k = 0; k < 30; ++k) {
        const double mid = (lo + hi) / 2;
        const double wm = p.WbToW(mid, tw);
        (Valid(wm) && wm > 0 ? lo : hi) = mid;
    }
    const double wl = p.WbToW(lo, tw);
    if (Valid(wl) && wl > 0 && lo > c.points.back().t) c.points.push_back({lo, wl});
}

// The wet-bulb line `tw` from saturation down to dry air. It falls as the
// dry bulb rises; a sample above the top is kept but does not end the line.
Curve WetBulbLine(const ChartModel& m, const Props& p, double tw) {
    Curve c{Curve::WetBulb, tw, {}};
    const int n = static_cast<int>(std::ceil((m.t.max - tw) / ((m.t.max - m.t.min) / kSamples)));
    for (int i = 0; i <= n; ++i) {
        const double t = i == n ? m.t.max : tw + i * (m.t.max - tw) / n;
        const double w = p.WbToW(t, tw);
        if (!Valid(w) || w <= 0) {
            FollowToDryAir(c, p, tw, t);
            break;
        }
        c.points.push_back({t, w});
    }
    return c;
}

// Wet-bulb lines every 5 °F, or 2 or 5 °C, that show inside the plot.
void AddWetBulbLines(ChartModel& m, const Props& p) {
    const double top = m.W.max;
    const double step = WetBulbStep(m.units, m.t);
    for (double tw = std::ceil(m.t.min / step) * step; tw < m.t.max; tw += step) {
        Curve c = WetBulbLine(m, p, tw);
        const bool visible =
            std::any_of(c.points.begin(), c.points.end(), [&](const Point& pt) { return pt.W <= top; });
        if (c.points.size() > 1 && visible) m.curves.push_back(std::move(c));
    }
}

}  // namespace

double WetBulbStep(units::System system, const Axis& dryBulb) {
    if (system != units::System::SI) return 5;
    return dryBulb.step >= 10 ? 5 : 2;
}

ChartModel BuildChart(const CoilSpec& coilSpec, const CoilRating& r, const ChartOptions& options) {
    ChartModel m;
    const Props p(options.units, r.Altitude);
    m.units = options.units;
    m.range = options.range;
    m.altitude = r.Altitude;
    m.caption = CoilCaption(coilSpec.Application, r);
    m.item = options.item;
    m.model = options.model;
    m.project = options.project;
    SetProcess(m, r, p);
    if (options.range == Range::Whole)
        SetWholeAxes(m, p);
    else
        SetAxes(m, p);
    AddHumidityCurves(m, p);
    AddWetBulbLines(m, p);
    if (options.range == Range::Whole)
        AddEnthalpyScale(m, p);
    else
        AddEnthalpyTicks(m, p);
    AddVolumeLines(m, p);
    return m;
}

ChartOptions OptionsOf(const SheetTexts& texts, const CoilSpec& coilSpec, const CoilRating& rating) {
    ChartOptions o;
    o.units = texts.units;
    o.item = texts.txtHdr[1];
    o.model = texts.txtHdr[2];
    if (o.model.find_first_not_of(' ') == std::string::npos)
        o.model = BuildModelDesignation(coilSpec, rating, texts.tubeOD);
    o.project = texts.txtHdr[4];
    return o;
}

std::string Title(const ChartModel& m) {
    auto trimmed = [](const std::string& s) {
        const auto b = s.find_first_not_of(" \t");
        return b == std::string::npos ? std::string() : s.substr(b, s.find_last_not_of(" \t") - b + 1);
    };
    std::string coil = m.caption.empty() ? "Coil" : m.caption;
    if (!trimmed(m.model).empty()) coil += " " + trimmed(m.model);
    std::string title = "Psychrometric chart: ";
    for (const std::string& part : {trimmed(m.item), coil, trimmed(m.project)})
        if (!part.empty()) title += part + ", ";
    const bool si = m.units == units::System::SI;
    const double z = si ? units::ToSI(units::Quantity::Altitude, m.altitude) : m.altitude;
    return title + numfmt::FormatF64(z, "0") + (si ? " m" : " ft") + " altitude";
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
