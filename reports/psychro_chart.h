// The coil's air-side process on a psychrometric chart: what the chart
// shows, computed from Hygrel32 at the coil's altitude, and where it goes on
// a plot area. Plain C++; reports/psychro_chart_paint.h draws it.
//
// Chart units: dry bulb on the horizontal axis, humidity ratio on the
// vertical axis, in the chart's unit system: inch-pound (°F, grains of
// moisture per pound of dry air, Btu/lb, ft³/lb) or SI (°C, g/kg of dry
// air, kJ/kg, m³/kg). Every curve and state comes from the library's
// exports (through the engine's binding), converted to SI as the library's
// own SI functions convert, so the chart agrees with the rating that
// produced the states.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/units.h"
#include "engine/records.h"

namespace reports {
struct SheetTexts;
}

namespace reports::chart {

struct Point {
    double t = 0;  // dry bulb, °F or °C
    double W = 0;  // grains per pound or grams per kilogram of dry air
};

// The whole chart's enthalpy lines run from saturation across a straight
// scale beyond it (EnthalpyScale: the scale with its minor ticks, one
// polyline); around the process they are short ticks off saturation.
struct Curve {
    enum Kind { Saturation, RelHumidity, WetBulb, Enthalpy, Volume, EnthalpyScale };
    Kind kind = Saturation;
    double value = 0;           // RH percent, wet bulb, enthalpy, volume (the scale: its minor step)
    std::vector<Point> points;  // in order along the curve; may leave the plot
};

struct AirState {
    double t = 0;   // dry bulb
    double tw = 0;  // wet bulb
    double W = 0;   // humidity ratio
    double rh = 0;  // percent
    double h = 0;   // enthalpy per unit of dry air
};

struct Axis {
    double min = 0;
    double max = 1;
    double step = 1;  // between labelled ticks
};

// The extent of the axes: around the process (the default), or the whole
// chart of fixed standard ranges, so that charts of different coils compare.
enum class Range { Process, Whole };

// What the chart shows beside the rating: its units, its extent and the
// texts of its title.
struct ChartOptions {
    units::System units = units::System::InchPound;
    Range range = Range::Process;
    std::string item;     // item or tag
    std::string model;    // model designation
    std::string project;  // project name
};

struct ChartModel {
    units::System units = units::System::InchPound;
    Range range = Range::Process;
    int16_t altitude = 0;  // ft, as rated
    std::string caption;   // "Chilled Water", "Steam", ...
    std::string item;      // the title's texts (may be empty)
    std::string model;
    std::string project;
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
ChartModel BuildChart(const CoilSpec& coilSpec, const CoilRating& rating, const ChartOptions& options = {});

// The options of the chart printed with the sheet texts `texts`: their
// units, item and project, and their model (the coil's model designation
// when the model text is blank).
ChartOptions OptionsOf(const SheetTexts& texts, const CoilSpec& coilSpec, const CoilRating& rating);

// The title of the chart: item, coil type and model, project and altitude,
// each where known ("Psychrometric chart: AHU-1, Chilled Water
// 58-CWDM-04824-F, Project, 0 ft altitude").
std::string Title(const ChartModel& model);

// Degrees between the chart's wet-bulb lines: 5 °F; 2 °C, or 5 °C where
// the dry-bulb ticks are 10 °C or more apart.
double WetBulbStep(units::System system, const Axis& dryBulb);

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
