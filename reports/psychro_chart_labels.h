// Where the chart's lines and labels go on the plot: the lines as drawn
// (cut at the plot's edges) and every label's rectangle, placed so that no
// two labels overlap and no label crosses a line but its own. Plain
// geometry in the units of the chart's Layout; the text is measured by
// whoever draws it (reports/psychro_chart_paint.h measures with the chart's
// font), so the rectangles are those drawn.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "reports/psychro_chart.h"

namespace reports::chart {

struct Segment {
    double x1 = 0;
    double y1 = 0;
    double x2 = 0;
    double y2 = 0;
};

// True when the segment meets the rectangle (its inside or its edge).
bool Intersects(const Rect& r, const Segment& s);
// True when the rectangles share more than an edge.
bool Overlap(const Rect& a, const Rect& b);

// A line of the chart as drawn: its segments inside the plot.
struct Stroke {
    static constexpr int kProcess = -1;  // the process line and its run to the dew point
    int curve = kProcess;                // index into ChartModel::curves
    std::vector<Segment> segments;
};

// The chart's curves, then the process line (with its extension to the
// apparatus dew point), each cut at the plot's edges. A curve with nothing
// inside the plot has no stroke.
std::vector<Stroke> Strokes(const ChartModel& model, const Layout& layout);

// How far a label keeps from a line it does not sit on: a little more than
// half the line's width.
double LineClearance(const ChartModel& model, const Layout& layout, const Stroke& stroke);

// The markers of the states and of the apparatus dew point.
std::vector<Rect> Markers(const ChartModel& model, const Layout& layout);

// Measures text at a pixel size: its advance width, the line height, the
// ascent and the height of a capital letter.
struct TextMeasure {
    std::function<double(const std::string& text, double size, bool bold)> width;
    std::function<double(double size)> height;
    std::function<double(double size)> ascent;
    std::function<double(double size)> capHeight;
};

struct Label {
    enum Kind { Entering, Leaving, Adp, Shr, RelHumidity, WetBulb, Volume, Enthalpy };
    Kind kind = RelHumidity;
    int curve = -1;                  // the labelled curve (an index into ChartModel::curves)
    std::vector<std::string> lines;  // one per line of text
    double size = 0;                 // pixel size of the font
    bool bold = false;               // the first line is bold
    Rect box;                        // where it goes, padding included
    double baseline = 0;             // from the box's top to the first line's baseline
    double line = 0;                 // from one line's baseline to the next

    // State boxes and the dew point and heat ratio labels are drawn on an
    // opaque ground: they may hide the thin lines of relative humidity, wet
    // bulb and volume (and the whole chart's enthalpy lines), never the
    // saturation curve, the enthalpy ticks or scale, the process or a
    // marker. The others cross no line but their own.
    bool Panel() const { return kind == Entering || kind == Leaving || kind == Adp || kind == Shr; }
    // Left padding of the text inside the box.
    double PadX() const;
};

// True when the stroke is one a panel may hide.
bool Thin(const ChartModel& model, const Stroke& stroke);

// Places the labels: first the state boxes, the apparatus dew point and the
// sensible heat ratio, then the labels of the relative humidity, wet-bulb,
// volume and enthalpy lines, each at the first place along its line that is
// clear, at a smaller size where the chart's size finds no room. A line with
// no clear place at all gets no label.
std::vector<Label> PlaceLabels(const ChartModel& model, const Layout& layout, const TextMeasure& measure);

// Whether the chart draws the curve (an index into ChartModel::curves) or
// the process line (Stroke::kProcess): the saturation curve, the process
// and every line that carries a label. A line crowded beyond labelling (in
// a corner, or pressed against saturation) is left out.
bool Drawn(const ChartModel& model, const std::vector<Label>& labels, int curve);

}  // namespace reports::chart
