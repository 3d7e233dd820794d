// The psychrometric chart: the process where the library puts it, the
// apparatus dew point, the curves, every reference coil, the files, the
// chart in SI and the whole chart.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QRegularExpression>
#include <QSvgGenerator>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>

#include "engine/hygrel_binding.h"
#include "reports/output.h"
#include "reports/psychro_chart.h"
#include "reports/psychro_chart_labels.h"
#include "reports/psychro_chart_paint.h"
#include "reference_coils.h"
#include "sheet_fixtures.h"
#include "shell.h"

using namespace reports::chart;

namespace {

// A rated chilled-water coil at 80/67 °F that condenses.
CoilRating WetCooling(int16_t altitude = 0) {
    CoilRating r = fixtures::Rated("W").rating;
    r.Altitude = altitude;
    r.LatDb = 55.2f;
    r.LatWb = 54.8f;
    return r;
}

CoilSpec SpecOf(const char* type) {
    return fixtures::Rated(type).coilSpec;
}

// Centre of the pixels painted exactly in `colour`.
bool Centre(const QImage& img, const QColor& colour, double& x, double& y) {
    double sx = 0, sy = 0;
    int n = 0;
    for (int j = 0; j < img.height(); ++j)
        for (int i = 0; i < img.width(); ++i)
            if (img.pixel(i, j) == colour.rgb()) {
                sx += i + 0.5;
                sy += j + 0.5;
                ++n;
            }
    if (n < 4) return false;
    x = sx / n;
    y = sy / n;
    return true;
}

// Every number of the model is finite and the axes have room.
void ExpectDrawable(const ChartModel& m, const std::string& what) {
    EXPECT_LT(m.t.min, m.t.max) << what;
    EXPECT_LT(m.W.min, m.W.max) << what;
    EXPECT_GT(m.t.step, 0) << what;
    EXPECT_GT(m.W.step, 0) << what;
    for (const AirState& s : {m.entering, m.leaving}) {
        for (double v : {s.t, s.tw, s.W, s.rh, s.h}) EXPECT_TRUE(std::isfinite(v)) << what;
        EXPECT_TRUE(s.t >= m.t.min && s.t <= m.t.max && s.W >= m.W.min && s.W <= m.W.max) << what;
        EXPECT_GE(s.rh, 0) << what;
        EXPECT_LE(s.rh, 100) << what;
    }
    size_t saturation = 0;
    for (const Curve& c : m.curves) {
        if (c.kind == Curve::Saturation) saturation = c.points.size();
        for (const Point& p : c.points) EXPECT_TRUE(std::isfinite(p.t) && std::isfinite(p.W)) << what;
    }
    EXPECT_GT(saturation, 1u) << what;
}

// The chart drawn as SVG in a box of `size`.
QString Svg(const ChartModel& m, QSize size = QSize(1000, 750)) {
    QBuffer out;
    QSvgGenerator svg;
    svg.setOutputDevice(&out);
    svg.setSize(size);
    QPainter p(&svg);
    Paint(p, QRectF(QPointF(0, 0), QSizeF(size)), m);
    p.end();
    return QString::fromUtf8(out.data());
}

// The texts of the chart drawn as SVG, one per line.
QString SvgTexts(const ChartModel& m) {
    QString texts;
    const QRegularExpression text("<text[^>]*>([^<]*)</text>");
    for (const auto& t : text.globalMatch(Svg(m))) texts += t.captured(1) + "\n";
    return texts;
}

struct ReferenceCoil {
    std::string name;
    CoilSpec coilSpec;
    CoilRating rating;
};

// The rated reference coils: their type and the rating's air states.
std::vector<ReferenceCoil> ReferenceCoils() {
    std::vector<ReferenceCoil> coils;
    for (const std::string& name : ReferenceNames()) {
        QFile f(QString::fromStdString(ReferenceFile(name + ".expected.json").string()));
        if (!f.open(QIODevice::ReadOnly)) continue;
        const QJsonObject o = QJsonDocument::fromJson(f.readAll()).object();
        if (!o["ok"].toBool()) continue;
        const QJsonObject rr = o["CoilRating"].toObject();
        ReferenceCoil c{name, {}, {}};
        c.coilSpec.Application = o["CoilSpec"].toObject()["Application"].toString().toStdString();
        CoilRating& r = c.rating;
        r.Altitude = static_cast<int16_t>(rr["Altitude"].toInt());
        for (auto [key, field] : {std::pair{"EatDb", &r.EatDb},
                                  {"EatWb", &r.EatWb},
                                  {"LatDb", &r.LatDb},
                                  {"LatWb", &r.LatWb},
                                  {"EntFluidTemp", &r.EntFluidTemp},
                                  {"SensibleBtuh", &r.SensibleBtuh},
                                  {"TotalBtuh", &r.TotalBtuh}})
            *field = static_cast<float>(rr[key].toDouble());
        coils.push_back(c);
    }
    return coils;
}

ChartOptions InUnits(units::System system, Range range = Range::Process) {
    ChartOptions o;
    o.units = system;
    o.range = range;
    o.item = "AHU-1";
    o.project = "Phase 2";
    return o;
}

}  // namespace

TEST(Chart, StatesLandWhereTheyAreOnThePicture) {
    const ChartModel m = BuildChart(SpecOf("W"), WetCooling());
    // 80/67 °F at sea level holds about 78.3 grains.
    EXPECT_NEAR(m.entering.W, 78.3, 0.5);
    EXPECT_NEAR(m.entering.rh, 51, 1);
    const QImage img = Image(m, 1100, 850);
    const Layout l = LayoutFor(m, {0, 0, 1100, 850});
    for (const auto& [colour, state] :
         {std::pair{kEnteringColour, m.entering}, std::pair{kLeavingColour, m.leaving}}) {
        double x, y;
        ASSERT_TRUE(Centre(img, colour, x, y));
        EXPECT_NEAR(l.DryBulbAt(x), state.t, 0.1);
        EXPECT_NEAR(l.GrainsAt(y), state.W, 0.5);
    }
}

TEST(Chart, ApparatusDewPointIsOnSaturationAndTheExtendedLine) {
    for (int16_t z : {0, 2000, 8000}) {
        const ChartModel m = BuildChart(SpecOf("W"), WetCooling(z));
        ASSERT_TRUE(m.wet && m.hasAdp) << z;
        const AirState& e = m.entering;
        const AirState& l = m.leaving;
        EXPECT_LT(m.adp.t, l.t) << "beyond the leaving state";
        EXPECT_NEAR(hg::HGDEWPOINT(static_cast<float>(m.adp.W), z), m.adp.t, 0.1) << z;
        EXPECT_NEAR(l.W + (e.W - l.W) / (e.t - l.t) * (m.adp.t - l.t), m.adp.W, 0.05) << z;
        EXPECT_NEAR(m.shr, 121000.5 / 162345.67, 1e-6);
    }
}

TEST(Chart, CurvesFollowTheLibraryAtTheCoilsAltitude) {
    const ChartModel sea = BuildChart(SpecOf("W"), WetCooling(0));
    const ChartModel high = BuildChart(SpecOf("W"), WetCooling(6000));
    auto curve = [](const ChartModel& m, Curve::Kind kind, double value) -> const Curve* {
        for (const Curve& c : m.curves)
            if (c.kind == kind && c.value == value) return &c;
        return nullptr;
    };
    int rhLines = 0;
    for (const Curve& c : high.curves) {
        if (c.kind != Curve::RelHumidity) continue;
        ++rhLines;
        for (const Point& p : c.points)
            EXPECT_NEAR(hg::HGRH(static_cast<float>(p.t), static_cast<float>(p.W), 6000), c.value, 0.05);
    }
    EXPECT_EQ(rhLines, 9);
    // Thinner air holds more water at the same relative humidity.
    const Curve* a = curve(sea, Curve::RelHumidity, 50);
    const Curve* b = curve(high, Curve::RelHumidity, 50);
    ASSERT_TRUE(a && b);
    EXPECT_GT(b->points[10].W, a->points[10].W * 1.2);
    // A wet-bulb line starts on saturation and every point of it has that wet bulb.
    const Curve* wb = curve(sea, Curve::WetBulb, 60);
    ASSERT_TRUE(wb);
    EXPECT_NEAR(wb->points.front().W, hg::HGSATGRAINS(60, 0), 0.01);
    for (const Point& p : wb->points) EXPECT_NEAR(hg::HGWETBULB(p.t, p.W, 0), 60, 0.05);
    // Enthalpy ticks leave saturation at their enthalpy; volume lines hold their volume.
    int ticks = 0, volumes = 0;
    for (const Curve& c : sea.curves) {
        if (c.kind == Curve::Enthalpy) {
            ++ticks;
            for (const Point& p : c.points) EXPECT_NEAR(hg::HGENTHALPY(p.t, p.W), c.value, 0.01);
        }
        if (c.kind == Curve::Volume) {
            ++volumes;
            for (const Point& p : c.points) EXPECT_NEAR(1 / hg::HGDENSITY(p.t, p.W, 0), c.value, 1e-3);
        }
    }
    EXPECT_GE(ticks, 2);
    EXPECT_GE(volumes, 2);
}

TEST(Chart, HeatingAndDryCoolingKeepTheirHumidity) {
    // Heating water, steam and a condenser rated from a blank wet bulb
    // (rated at dry bulb - 1): a horizontal line, no dew point, no SHR.
    for (const char* type : {"W", "S", "C"}) {
        CoilRating r = fixtures::Rated(type).rating;
        r.EatDb = 20;
        r.EatWb = 0;
        r.LatDb = 120;
        r.LatWb = 0;
        r.SensibleBtuh = r.TotalBtuh;
        const ChartModel m = BuildChart(SpecOf(type), r);
        EXPECT_EQ(m.entering.tw, 19) << type;
        EXPECT_EQ(m.leaving.W, m.entering.W) << type;
        EXPECT_GT(m.leaving.tw, m.entering.tw) << type;
        EXPECT_FALSE(m.wet || m.hasAdp || m.cooling) << type;
        ExpectDrawable(m, type);
    }
    // A dry cooling coil: all sensible, so the air keeps its humidity even
    // where the rated leaving wet bulb, read back, would say otherwise.
    CoilRating dry = WetCooling();
    dry.SensibleBtuh = dry.TotalBtuh;
    const ChartModel m = BuildChart(SpecOf("W"), dry);
    EXPECT_EQ(m.leaving.W, m.entering.W);
    EXPECT_EQ(m.leaving.tw, 54.8f);
    EXPECT_FALSE(m.hasAdp);
    EXPECT_DOUBLE_EQ(m.shr, 1);
    // No capacity at all: one point, still a chart around it.
    CoilRating none = WetCooling();
    none.LatDb = none.EatDb;
    none.LatWb = 0;
    none.TotalBtuh = none.SensibleBtuh = 0;
    ExpectDrawable(BuildChart(SpecOf("W"), none), "no capacity");
    // The sheet prints records never rated (all zeros); so does its chart page.
    ExpectDrawable(BuildChart(CoilSpec{}, CoilRating{}), "not rated");
}

TEST(Chart, EveryReferenceCoilDraws) {
    const std::vector<ReferenceCoil> coils = ReferenceCoils();
    ASSERT_GE(coils.size(), 20u) << "no reference ratings in " << ReferenceDir();
    int drawn = 0;
    for (ReferenceCoil c : coils) {
        const std::string& name = c.name;
        for (int16_t z : {c.rating.Altitude, int16_t(9000)}) {
            c.rating.Altitude = z;
            const ChartModel m = BuildChart(c.coilSpec, c.rating);
            ExpectDrawable(m, name);
            if (m.wet) {
                EXPECT_TRUE(m.hasAdp) << name;
                EXPECT_NEAR(hg::HGDEWPOINT(static_cast<float>(m.adp.W), z), m.adp.t, 0.1) << name;
            }
            const QString text = Svg(m, QSize(1100, 850)).toLower();
            EXPECT_FALSE(text.contains("nan") || text.contains("inf")) << name;
            // The curves are cut at the plot's edges: SVG viewers would not clip them.
            const Layout l = LayoutFor(m, {0, 0, 1100, 850});
            const QRegularExpression xy("([-0-9.e]+),([-0-9.e]+)");
            for (const auto& d : QRegularExpression(" d=\"([^\"]*)\"").globalMatch(text)) {
                for (const auto& pt : xy.globalMatch(d.captured(1))) {
                    const double x = pt.captured(1).toDouble(), y = pt.captured(2).toDouble();
                    ASSERT_TRUE(x > l.plot.left - 0.5 && x < l.plot.left + l.plot.width + 0.5 &&
                                y > l.plot.top - 0.5 && y < l.plot.top + l.plot.height + 0.5)
                        << name << " " << x << "," << y;
                }
            }
            ++drawn;
        }
    }
    EXPECT_GE(drawn, 40);
}

// The labels of the chart drawn in a box of `size`: inside the plot, clear
// of each other and of the markers, crossing no drawn line but their own
// (a panel may hide the thin lines). Counts the lines and those left out
// for want of a label.
void ExpectLabelsClear(const ChartModel& m, QSizeF size, const std::string& what, size_t& lines,
                       size_t& dropped) {
    const Layout l = LayoutFor(m, {0, 0, size.width(), size.height()});
    const std::vector<Label> placed = LabelsFor(m, QRectF(QPointF(0, 0), size));
    const std::vector<Stroke> strokes = Strokes(m, l);
    const QRectF plot(l.plot.left, l.plot.top, l.plot.width, l.plot.height);
    for (size_t i = 0; i < placed.size(); ++i) {
        const Label& a = placed[i];
        const std::string text = what + ": " + a.lines.front();
        EXPECT_TRUE(plot.contains(QRectF(a.box.left, a.box.top, a.box.width, a.box.height))) << text;
        for (size_t j = i + 1; j < placed.size(); ++j)
            EXPECT_FALSE(Overlap(a.box, placed[j].box)) << text << " on " << placed[j].lines.front();
        for (const Rect& mk : Markers(m, l)) EXPECT_FALSE(Overlap(a.box, mk)) << text;
        for (const Stroke& s : strokes) {
            if ((s.curve >= 0 && s.curve == a.curve) || !Drawn(m, placed, s.curve) ||
                (a.Panel() && Thin(m, s)))
                continue;
            const double d = LineClearance(m, l, s);
            const Rect keep{a.box.left - d, a.box.top - d, a.box.width + 2 * d, a.box.height + 2 * d};
            EXPECT_FALSE(std::any_of(s.segments.begin(), s.segments.end(),
                                     [&](const Segment& g) { return Intersects(keep, g); }))
                << text << " crosses line " << s.curve;
        }
    }
    lines += strokes.size();
    dropped += static_cast<size_t>(std::count_if(
        strokes.begin(), strokes.end(), [&](const Stroke& s) { return !Drawn(m, placed, s.curve); }));
}

// Every reference coil's chart at its altitude and at 9000 ft, in both unit
// systems and both ranges, on the screen and on paper: its labels are
// clear, and the lines left out unlabelled (crowded into a corner or
// against saturation) are few.
TEST(Chart, LabelsNeitherOverlapNorCrossALine) {
    size_t lines[2] = {0, 0}, dropped[2] = {0, 0};
    for (ReferenceCoil c : ReferenceCoils())
        for (int16_t z : {c.rating.Altitude, int16_t(9000)}) {
            c.rating.Altitude = z;
            for (auto system : {units::System::InchPound, units::System::SI})
                for (Range range : {Range::Process, Range::Whole})
                    for (QSizeF size : {QSizeF(1000, 750), QSizeF(3000, 2250)}) {
                        const std::string what = c.name + " at " + std::to_string(z) + " ft" +
                                                 (system == units::System::SI ? ", SI" : "") +
                                                 (range == Range::Whole ? ", whole" : "") + ", " +
                                                 std::to_string(int(size.width()));
                        const int r = range == Range::Whole;
                        ExpectLabelsClear(BuildChart(c.coilSpec, c.rating, InUnits(system, range)), size,
                                          what, lines[r], dropped[r]);
                    }
        }
    EXPECT_GE(lines[0] + lines[1], 10000u);
    EXPECT_LT(dropped[0] * 30, lines[0]) << dropped[0] << " of " << lines[0];
    EXPECT_LT(dropped[1] * 15, lines[1]) << dropped[1] << " of " << lines[1];
}

TEST(Chart, FilesByExtensionAndTheSheetsSecondPage) {
    QTemporaryDir dir;
    const ChartModel m = BuildChart(SpecOf("W"), WetCooling());
    for (const char* name : {"c.png", "c.SVG", "c.pdf"})
        EXPECT_TRUE(WriteFile(dir.filePath(name), m)) << name;
    // Sized for a landscape Letter page within half-inch margins; PNG at 300 dpi.
    EXPECT_EQ(QImage(dir.filePath("c.png")).size(), QSize(3000, 2250));
    QFile svg(dir.filePath("c.SVG"));
    ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
    const QByteArray svgText = svg.readAll();
    EXPECT_TRUE(svgText.contains("width=\"254mm\" height=\"190.5mm\"")) << svgText.left(400).toStdString();
    EXPECT_NE(Shell("pdfinfo '" + dir.filePath("c.pdf").toStdString() + "'").find("792 x 612 pts"),
              std::string::npos);
    FileOptions a4;
    a4.dpi = 96;
    a4.paper = Paper::A4;
    EXPECT_TRUE(WriteFile(dir.filePath("a4.png"), m, nullptr, a4));
    EXPECT_TRUE(WriteFile(dir.filePath("a4.pdf"), m, nullptr, a4));
    const QImage small(dir.filePath("a4.png"));
    EXPECT_EQ(small.size(), QSize(1027, 698));
    EXPECT_EQ(small.dotsPerMeterX(), 3780);
    EXPECT_NE(Shell("pdfinfo '" + dir.filePath("a4.pdf").toStdString() + "'").find("842 x 595 pts (A4)"),
              std::string::npos);
    QString error;
    EXPECT_FALSE(WriteFile(dir.filePath("c.jpg"), m, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(QFile::exists(dir.filePath("c.jpg")));
    EXPECT_FALSE(WriteFile(dir.filePath("missing/c.png"), m));

    fixtures::Coil c = fixtures::Rated("W");
    auto pages = [&](bool withChart) {
        c.texts.withChart = withChart;
        const QString pdf = dir.filePath(withChart ? "two.pdf" : "one.pdf");
        EXPECT_TRUE(reports::WriteSheetPdf(pdf, c.coilSpec, c.rating, c.texts));
        return Shell("pdfinfo '" + pdf.toStdString() + "'").find("Pages:           2") != std::string::npos
                   ? 2
                   : 1;
    };
    EXPECT_EQ(pages(false), 1);
    EXPECT_EQ(pages(true), 2);
}

TEST(Chart, SiChartShowsTheSameProcessInSiUnitsOnly) {
    using units::Quantity;
    const QRegularExpression ipUnits("°F|\\bft\\b|gr/lb|ft³/lb|Btu|grains");
    const QRegularExpression siUnits("°C|g/kg|kJ/kg|m³/kg|\\bm\\b");
    for (const char* type : {"W", "G", "S", "E", "C"}) {
        const fixtures::Coil c = fixtures::Rated(type);
        for (int16_t z : {int16_t(0), int16_t(5000)}) {
            CoilRating r = c.rating;
            r.Altitude = z;
            if (r.EatWb > r.EatDb) r.EatWb = 0;  // the steam coil's air: a blank wet bulb
            const ChartModel ip = BuildChart(c.coilSpec, r, InUnits(units::System::InchPound));
            const ChartModel si = BuildChart(c.coilSpec, r, InUnits(units::System::SI));
            ExpectDrawable(si, type);
            for (auto [a, b] : {std::pair{ip.entering, si.entering}, std::pair{ip.leaving, si.leaving}}) {
                EXPECT_NEAR(units::ToSI(Quantity::Temperature, a.t), b.t, 1e-9) << type;
                EXPECT_NEAR(units::ToSI(Quantity::Temperature, a.tw), b.tw, 1e-9) << type;
                EXPECT_NEAR(a.W / 7, b.W, 1e-9) << type;
                EXPECT_NEAR(2.326 * (a.h - 7.712), b.h, 1e-9) << type;
                EXPECT_EQ(a.rh, b.rh) << type;
            }
            ASSERT_EQ(ip.hasAdp, si.hasAdp) << type;
            if (ip.hasAdp) {
                EXPECT_NEAR(units::ToSI(Quantity::Temperature, ip.adp.t), si.adp.t, 0.01) << type;
                EXPECT_NEAR(ip.adp.W / 7, si.adp.W, 0.005) << type;
            }
            EXPECT_EQ(ip.shr, si.shr);
            // Every SI line holds its SI value, as the library's SI functions give it.
            for (const Curve& k : si.curves)
                for (const Point& pt : k.points) {
                    const double grains = pt.W * 7;
                    const float f = static_cast<float>(pt.t * 9 / 5 + 32);
                    if (k.kind == Curve::Volume) {
                        EXPECT_NEAR(2.205 / (35.31 * hg::HGDENSITY(f, float(grains), z)), k.value, 1e-4);
                    } else if (k.kind == Curve::WetBulb && grains > 0.5) {
                        EXPECT_NEAR(hg::HGWETBULB(f, float(grains), z), k.value * 9 / 5 + 32, 0.05);
                    } else if (k.kind == Curve::Enthalpy) {
                        EXPECT_NEAR(2.326 * (hg::HGENTHALPY(f, float(grains)) - 7.712), k.value, 0.02);
                    }
                }
            for (Range range : {Range::Process, Range::Whole}) {
                const QString ipText =
                    SvgTexts(BuildChart(c.coilSpec, r, InUnits(units::System::InchPound, range)));
                const QString siText = SvgTexts(BuildChart(c.coilSpec, r, InUnits(units::System::SI, range)));
                EXPECT_FALSE(ipText.contains(siUnits)) << type << ipText.toStdString();
                EXPECT_FALSE(siText.contains(ipUnits)) << type << siText.toStdString();
                EXPECT_TRUE(siText.contains("AHU-1, ") && siText.contains(", Phase 2, "))
                    << siText.toStdString();
                EXPECT_TRUE(siText.contains(z ? "1524 m altitude" : "0 m altitude")) << siText.toStdString();
                EXPECT_TRUE(ipText.contains(z ? "5000 ft altitude" : "0 ft altitude"))
                    << ipText.toStdString();
            }
        }
    }
}

TEST(Chart, TitleNamesItemCoilModelProjectAndAltitude) {
    fixtures::Coil c = fixtures::Rated("W");
    ChartModel m = BuildChart(c.coilSpec, c.rating, OptionsOf(c.texts, c.coilSpec, c.rating));
    EXPECT_EQ(Title(m), "Psychrometric chart: AHU-1, Chilled Water 58-CWDM-04830-H, Phase 2, 0 ft altitude");
    // A blank model takes the coil's designation; blank texts are left out.
    c.texts.txtHdr = {"", " ", "  ", "", ""};
    c.texts.units = units::System::SI;
    m = BuildChart(c.coilSpec, c.rating, OptionsOf(c.texts, c.coilSpec, c.rating));
    EXPECT_EQ(Title(m).rfind("Psychrometric chart: Chilled Water 58-", 0), 0u) << Title(m);
    EXPECT_EQ(Title(m).substr(Title(m).size() - 16), "-H, 0 m altitude") << Title(m);
}

TEST(Chart, WholeChartKeepsItsStandardRanges) {
    for (const char* type : {"W", "G", "E"}) {
        const fixtures::Coil c = fixtures::Rated(type);
        const ChartModel ip =
            BuildChart(c.coilSpec, c.rating, InUnits(units::System::InchPound, Range::Whole));
        const ChartModel si = BuildChart(c.coilSpec, c.rating, InUnits(units::System::SI, Range::Whole));
        EXPECT_EQ(ip.t.min, 30);
        EXPECT_EQ(ip.t.max, 120);
        EXPECT_EQ(ip.W.max, 200);
        EXPECT_EQ(si.t.min, -10);
        EXPECT_EQ(si.t.max, 50);
        EXPECT_EQ(si.W.max, 30);
    }
    // A process beyond the standard range widens it on whole ticks.
    fixtures::Coil hot = fixtures::Rated("S");
    hot.rating.EatDb = 10;
    hot.rating.LatDb = 140;
    const ChartModel m =
        BuildChart(hot.coilSpec, hot.rating, InUnits(units::System::InchPound, Range::Whole));
    ExpectDrawable(m, "steam");
    EXPECT_EQ(m.t.min, 0);
    EXPECT_EQ(m.t.max, 150);
    EXPECT_EQ(m.W.max, 200);
}

TEST(Chart, RectangleAndSegmentMeetAsDrawn) {
    const Rect r{10, 10, 20, 10};
    EXPECT_TRUE(Intersects(r, {0, 15, 40, 15}));   // across
    EXPECT_TRUE(Intersects(r, {12, 12, 14, 14}));  // inside
    EXPECT_TRUE(Intersects(r, {30, 0, 30, 40}));   // along the edge
    EXPECT_FALSE(Intersects(r, {0, 0, 9, 40}));    // beside
    EXPECT_FALSE(Intersects(r, {0, 12, 11, 0}));   // past the corner
    EXPECT_TRUE(Overlap(r, {29, 19, 5, 5}));
    EXPECT_FALSE(Overlap(r, {30, 10, 5, 5}));  // sharing an edge only
}

// The whole chart's enthalpy lines start on saturation and hold their
// enthalpy out across the one scale, on the standard steps.
TEST(Chart, WholeChartCarriesTheEnthalpyScale) {
    const fixtures::Coil c = fixtures::Rated("W");
    for (auto system : {units::System::InchPound, units::System::SI}) {
        const bool si = system == units::System::SI;
        const ChartModel m = BuildChart(c.coilSpec, c.rating, InUnits(system, Range::Whole));
        std::vector<double> values;
        int scales = 0;
        for (const Curve& k : m.curves) {
            scales += k.kind == Curve::EnthalpyScale;
            if (k.kind != Curve::Enthalpy) continue;
            values.push_back(k.value);
            ASSERT_EQ(k.points.size(), 3u);
            const float f = static_cast<float>(si ? k.points[0].t * 9 / 5 + 32 : k.points[0].t);
            EXPECT_NEAR(si ? hg::HGSATGRAINS(f, 0) / 7 : hg::HGSATGRAINS(f, 0), k.points[0].W, 0.01);
            for (const Point& p : k.points) {
                const float t = static_cast<float>(si ? p.t * 9 / 5 + 32 : p.t);
                const double h = hg::HGENTHALPY(t, static_cast<float>(si ? p.W * 7 : p.W));
                EXPECT_NEAR(si ? 2.326 * (h - 7.712) : h, k.value, 0.02);
            }
        }
        EXPECT_EQ(scales, 1);
        ASSERT_GE(values.size(), 6u);
        for (size_t i = 1; i < values.size(); ++i) EXPECT_DOUBLE_EQ(values[i] - values[i - 1], si ? 10 : 5);
    }
}
