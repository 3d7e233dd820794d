// The coil's air-side process on a psychrometric chart: what the chart
// shows, computed from Hygrel32 at the coil's altitude, and where it goes on
// a plot area. Plain C++; reports/psychro_chart_paint.h draws it.
//
// Chart units: dry bulb in °F on the horizontal axis, humidity ratio in
// grains of moisture per pound of dry air on the vertical axis. Every curve
// and state comes from the library's exports (through the engine's binding),
// so the chart agrees with the rating that produced the states.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/records.h"

namespace reports::chart {

struct Point {
    double t = 0;  // dry bulb, °F
    double W = 0;  // grains per pound of dry air
};

struct Curve {
    enum Kind { Saturation, RelHumidity, WetBulb, Enthalpy, Volume };
    Kind kind = Saturation;
    double value = 0;           // RH percent, wet bulb °F, Btu/lb, ft³/lb
    std::vector<Point> points;  // in order along the curve; may leave the plot
};

struct AirState {
    double t = 0;   // dry bulb, °F
    double tw = 0;  // wet bulb, °F
    double W = 0;   // grains/lb
    double rh = 0;  // percent
    double h = 0;   // Btu/lb of dry air
};

struct Axis {
    double min = 0;
    double max = 1;
    double step = 1;  // between labelled ticks
};

struct ChartModel {
    int16_t altitude = 0;  // ft
    std::string caption;   // "Chilled Water", "Steam", ...
    Axis t;
    Axis W;
    std::vector<Curve> curves;
    AirState entering;
    AirState leaving;
    bool wet = false;      // the coil condenses: the air leaves drier
    bool hasAdp = false;   // the extended process line meets saturation
    Point adp;             // apparatus dew point
    bool cooling = false;  // the air leaves cooler than it enters
    double shr = 0;        // sensible heat ratio (cooling coils)
};

// Builds the chart of the rated coil in the records. The entering state is
// the rated dry and wet bulb (a blank wet bulb is rated at dry bulb - 1);
// the leaving state keeps the entering humidity unless the coil condensed.
// Raises the binding's run-time error when Hygrel32 cannot be loaded.
ChartModel BuildChart(const CoilSpec& coilSpec, const CoilRating& rating);

// A rectangle in the units of whatever the chart is drawn on.
struct Rect {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
};

// Where the parts of the chart go inside a box: the plot area and the size
// of the text, all in the box's units.
struct Layout {
    Rect box;
    Rect plot;
    double text = 0;  // text height (pixel size of the font)
    Axis t;
    Axis W;

    double X(double dryBulb) const;
    double Y(double grains) const;
    double DryBulbAt(double x) const;
    double GrainsAt(double y) const;
};

Layout LayoutFor(const ChartModel& model, const Rect& box);

}  // namespace reports::chart
