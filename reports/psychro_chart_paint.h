// Drawing the psychrometric chart of reports/psychro_chart.h with a
// QPainter, on screen, into an image, an SVG or a PDF, and as the optional
// second page of the performance sheet.
#pragma once

#include <QColor>
#include <QImage>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include "engine/records.h"
#include "reports/psychro_chart.h"
#include "reports/psychro_chart_labels.h"

class QPainter;
class QPagedPaintDevice;

namespace reports::chart {

// The state markers are filled discs in colours used for nothing else.
inline const QColor kEnteringColour{0, 70, 200};
inline const QColor kLeavingColour{200, 30, 30};

// Text measured as the chart draws it, in its font.
TextMeasure ChartTextMeasure();
// The chart's labels as Paint places them inside `box`.
std::vector<Label> LabelsFor(const ChartModel& model, const QRectF& box);

// Draws the whole chart inside `box` (painter coordinates), white behind it.
void Paint(QPainter& painter, const QRectF& box, const ChartModel& model);

// The chart as an image of `size` pixels.
QImage Image(const ChartModel& model, int width, int height);

// The paper a chart file is made for, in landscape.
enum class Paper { Letter, A4 };
struct FileOptions {
    int dpi = 300;  // of a PNG
    Paper paper = Paper::Letter;
};
// The size of a chart file on paper: the landscape page less half-inch
// margins (10 x 7.5 in. on Letter).
QSizeF ChartInches(Paper paper);

// Writes the chart to `path` in the format of its extension: .png, .svg or
// .pdf (any case), sized for the paper: the PDF a landscape page with the
// chart within half-inch margins, the SVG declaring the chart's size on that
// page, the PNG that size at `options.dpi`. False, with the reason in
// `error`, when the extension is none of these or the file cannot be
// written.
bool WriteFile(const QString& path, const ChartModel& model, QString* error = nullptr,
               const FileOptions& options = {});
// True when `path` ends in an extension WriteFile knows.
bool KnownFileType(const QString& path);

// Starts a new page on `device` (its painter already active and the page
// before it drawn) and draws the coil's chart there, across the printable
// width. False when the page could not be started.
bool PaintChartPage(QPainter& painter, QPagedPaintDevice& device, const CoilSpec& coilSpec,
                    const CoilRating& rating, const ChartOptions& options);

}  // namespace reports::chart
