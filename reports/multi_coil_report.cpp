#include "reports/multi_coil_report.h"

#include <QPainter>
#include <QFontMetricsF>
#include <QPainterPath>
#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <variant>

#include "common/numfmt.h"
#include "common/warnings.h"
#include "engine/coil_type.h"
#include "engine/coilcalc.h"
#include "engine/rterror.h"
#include "files/save_row.h"
#include "reports/maker.h"
#include "reports/print_surface.h"
#include "reports/report_units.h"

namespace reports {

double RoundTwips(double twips) {
    return std::nearbyint(twips);
}

std::string FormatCell(const Cell& cell, const std::string& pattern) {
    if (pattern.empty()) return CellText(cell);
    if (const auto* f = std::get_if<float>(&cell)) return numfmt::FormatF32(*f, pattern);
    if (const auto* d = std::get_if<double>(&cell)) return numfmt::FormatF64(*d, pattern);
    if (const auto* i = std::get_if<int32_t>(&cell)) return numfmt::FormatF64(*i, pattern);
    if (const auto* s = std::get_if<int16_t>(&cell)) return numfmt::FormatF64(*s, pattern);
    if (const auto* t = std::get_if<std::string>(&cell))
        return numfmt::IsNumeric(*t) ? numfmt::FormatF64(numfmt::Val(*t), pattern) : *t;
    return "";
}

namespace {

struct Layout {
    int columns;
    const char* geometryHeader;
    const char* performanceHeader;
    std::vector<std::pair<int, const char*>> geometry;     // column, format
    std::vector<std::pair<int, const char*>> performance;  // column -1: empty cell
};

const char* const kTenGeometryHeader = "No.|Fin HGT|Fin LTH|ROWS|FPI|CIRCT|FACE (SQ FT)|SCFM|EAT DB|EAT WB";
const std::vector<std::pair<int, const char*>> kTenGeometry = {
    {0, ""},  {10, "0.00"}, {11, "0.00"}, {12, ""},     {13, ""},
    {29, ""}, {14, "0.00"}, {15, "0"},    {16, "0.00"}, {17, "0.00"}};
const std::vector<std::pair<int, const char*>> kFluidPerformance = {
    {18, "0.00"}, {19, "0.00"}, {20, "0"},    {21, "0.00"}, {22, "0.00"},
    {23, "0.00"}, {24, "0.00"}, {25, "0.00"}, {27, "0"},    {28, "0"}};

Layout LayoutFor(CoilType type) {
    if (type == CoilType::Steam)
        return {
            7,
            "No.|Fin HGT|Fin LTH|ROWS|FPI|FACE AREA (SQ FT)|SCFM",
            "FACE VEL|EAT DB|LVG DB|AIR PD (INCHES)|PSI|ENT STEAM TEMP.|SENSIBLE BTUH",
            {{0, ""}, {10, "0.00"}, {11, "0.00"}, {12, ""}, {13, ""}, {14, "0.00"}, {15, "0"}},
            {{20, "0.00"}, {16, "0.00"}, {18, "0.00"}, {21, "0.00"}, {26, "0.00"}, {22, "0.00"}, {28, "0"}}};
    if (type == CoilType::Condenser)
        return {8,
                "No.|Fin HGT|Fin LTH|ROWS|FPI|CIRCT|FACE AREA (SQ FT)|SCFM",
                "EAT DB|LVG DB|FACE VEL|AIR PD|COND TEMP|REF PD (PSI)|RFRG|TOTAL BTUH",
                {{0, ""}, {10, "0.00"}, {11, "0.00"}, {12, ""}, {13, ""}, {29, ""}, {14, "0.00"}, {15, "0"}},
                {{16, "0.00"},
                 {18, "0.00"},
                 {20, "0"},
                 {21, "0.00"},
                 {22, "0.00"},
                 {24, "0.00"},
                 {30, ""},
                 {27, "0"}}};
    if (type == CoilType::Evaporator)
        return {10,
                kTenGeometryHeader,
                "LVG DB|LVG WB|FACE VEL|AIR PD|EVAP TEMP|REF PD (PSI)|RFRG||TOTAL BTUH|SENSIBLE BTUH",
                kTenGeometry,
                {{18, "0.00"},
                 {19, "0.00"},
                 {20, "0"},
                 {21, "0.00"},
                 {22, "0.00"},
                 {24, "0.00"},
                 {30, ""},
                 {-1, ""},
                 {27, "0"},
                 {28, "0"}}};
    if (type == CoilType::Glycol)
        return {10, kTenGeometryHeader,
                "LVG DB|LVG WB|FACE VEL|AIR PD IN|ENT GLY|LVG GLY|GLY PD (FT)|GPM|TOTAL BTUH|SENSIBLE BTUH",
                kTenGeometry, kFluidPerformance};
    // Water, and any word the report does not know.
    return {10, kTenGeometryHeader,
            "LVG DB|LVG WB|FACE VEL|AIR PD IN|ENT H2O|LVG H2O|H2O PD (FT)|GPM|TOTAL BTUH|SENSIBLE BTUH",
            kTenGeometry, kFluidPerformance};
}

// A number cell as the 32-bit float a record holds; none for an empty,
// placeholder or other text cell, or one beyond a float.
std::optional<float> CellFloat(const Cell& cell) {
    if (const auto* f = std::get_if<float>(&cell)) return *f;
    const std::string text = CellText(cell);
    if (!numfmt::IsNumeric(text)) return std::nullopt;
    try {
        return rt::F32(numfmt::Val(text));
    } catch (const rt::RtError&) {
        return std::nullopt;
    }
}

// The row as the report shows it. A steam coil's row keeps a placeholder
// for the entering steam temperature: the report takes it from the steam
// pressure as the steam properties do. A heating water or glycol coil has
// no leaving wet bulb (the air is not dehumidified): "N/A" as on the sheet.
SavedCoilTable::Row AsReported(const SavedCoilTable::Row& row, CoilType type) {
    SavedCoilTable::Row shown = row;
    if (type == CoilType::Steam) {
        const auto pressure = CellFloat(row[26]);
        if (pressure && !CellFloat(row[22])) {
            try {
                shown[22] = CC_SteamTemperature(*pressure);
            } catch (const rt::RtError&) {
                // No temperature for a pressure beyond the fit: left blank.
            }
        }
    } else if (!IsRefrigerantCoil(type)) {
        const auto eatDb = CellFloat(row[16]);
        const auto entFluid = CellFloat(row[22]);
        if (eatDb && entFluid && !(*eatDb > *entFluid)) shown[19] = std::string("N/A");
    }
    return shown;
}

std::string Width(double w) {
    return std::to_string(static_cast<long long>(w));
}

std::string RowText(const SavedCoilTable::Row& row, const std::vector<std::pair<int, const char*>>& cells,
                    bool si) {
    std::string out;
    for (size_t i = 0; i < cells.size(); ++i) {
        if (i) out += '|';
        if (cells[i].first >= 0)
            out += si ? SiReportCell(row, cells[i].first, cells[i].second)
                      : FormatCell(row[cells[i].first], cells[i].second);
    }
    return out;
}

// The job value `text` in the header's value column: the size, from the
// header's 9 points down to 7, in which it fits on one line; 7 when it
// wraps.
double JobValuePoints(const PrintDocument& doc, const std::vector<ColumnFormat>& column,
                      const std::string& text) {
    for (double points = 9; points > 7; points -= 0.5)
        if (doc.RowHeight(column, {text}, points) == doc.RowHeight(column, {""}, points)) return points;
    return 7;
}

// The page header with a job value too long for one line: the maker's
// lines keep their rows, the job column beside them takes each value in
// its own size, wrapped within the column, and pushes the job rows below
// it down.
void SplitPageHeader(PrintDocument& doc, const std::vector<std::array<std::string, 2>>& job, double unit) {
    const std::vector<std::string> maker = {kMakerAddress, kMakerTown, kMakerPhone, kMakerPhone2, kMakerFax};
    doc.AddTable(Width(2 * unit) + "<", maker);
    const PlacedTable& makers = doc.PageAt(doc.PageCount() - 1).tables.back();
    const std::vector<double> rowTop = makers.rowTop;
    const double makerBottom = doc.CurrentY();
    const std::string column = Width(unit) + "<";
    const std::string valueColumn = column + "~";
    const std::vector<ColumnFormat> value = ParseTableFormat(valueColumn);
    double jobBottom = rowTop.front();
    for (size_t i = 0; i < job.size() && i < rowTop.size(); ++i) {
        const double top = std::max(rowTop[i], jobBottom);
        doc.SetCurrentY(top);
        doc.SetFont(9);
        doc.AddIndentedTable(3 * unit, column, {job[i][0]});
        const double labelBottom = doc.CurrentY();
        doc.SetCurrentY(top);
        doc.SetFont(JobValuePoints(doc, value, job[i][1]));
        doc.AddIndentedTable(4 * unit, valueColumn, {job[i][1]});
        jobBottom = std::max(labelBottom, doc.CurrentY());
    }
    doc.SetFont(9);
    doc.SetCurrentY(std::max(makerBottom, jobBottom));
}

// The job column of the page header: label and value, the altitude from
// 2000 feet up; `fits` when every value fits its cell on one line.
struct JobColumn {
    std::vector<std::array<std::string, 2>> lines;
    bool fits = true;
};

JobColumn JobColumnOf(const PrintDocument& doc, const ReportHeaderTexts& h, const Cell& firstAltitude,
                      const std::string& format) {
    JobColumn job;
    job.lines = {{"Customer:", h.customer}, {"Project:", h.project}, {"Date:", h.date}};
    const std::string altText = CellText(firstAltitude);
    const double altitude = numfmt::Val(altText);
    if (numfmt::IsNumeric(altText) && altitude > 1999)
        job.lines.push_back({"Altitude:", h.units == units::System::SI
                                              ? SiAltitudeText(altitude)
                                              : numfmt::FormatF64(altitude, "0") + "'"});
    // Measured with the words broken, so that one long word does not pass.
    const std::vector<ColumnFormat> columns = ParseTableFormat(format + "~");
    job.fits = std::all_of(job.lines.begin(), job.lines.end(), [&](const std::array<std::string, 2>& j) {
        return doc.RowHeight(columns, {"", "", j[0], j[1]}, 9) == doc.RowHeight(columns, {""}, 9);
    });
    return job;
}

std::string PageHeaderFormat(double unit) {
    return Width(2 * unit) + "<|" + Width(unit) + "<|" + Width(unit) + "<|" + Width(unit) + "<";
}

void PageHeader(PrintDocument& doc, const JobColumn& job, double unit) {
    const double pageWidth = doc.Page().width;
    doc.DrawPicture(QRectF((pageWidth - 1440) / 2, 220, 1440, 720), DrawLogo);
    doc.SetFont(9);
    if (job.fits) {
        std::vector<std::string> rows = {kMakerAddress, kMakerTown, kMakerPhone, kMakerPhone2, kMakerFax};
        for (size_t i = 0; i < job.lines.size(); ++i)
            rows[i] += "||" + job.lines[i][0] + "|" + job.lines[i][1];
        doc.AddTable(PageHeaderFormat(unit), rows);
    } else {
        SplitPageHeader(doc, job.lines, unit);
    }
    doc.SetCurrentY(doc.CurrentY() + 1000);
}

// The table format of a layout's columns: ten-column layouts narrow
// columns 3 and 7 and widen 8 and 9 for the capacities.
std::string ColumnsFormat(const Layout& layout, double printable) {
    const double w = RoundTwips(printable / layout.columns);
    std::string format;
    for (int c = 0; c < layout.columns; ++c) {
        double cw = w;
        if (layout.columns == 10 && (c == 3 || c == 7)) cw = RoundTwips(0.85 * w);
        if (layout.columns == 10 && (c == 8 || c == 9)) cw = RoundTwips(1.15 * w);
        if (c) format += '|';
        format += Width(cw) + "^_";
    }
    return format;
}

// The geometry and performance tables of one coil, each under its shaded
// headings.
void AddCoilTables(PrintDocument& doc, const SavedCoilTable::Row& row, const Layout& layout, bool si) {
    const std::string format = ColumnsFormat(layout, doc.PrintableWidth());
    doc.SetFont(8);
    doc.SetCurrentY(doc.CurrentY() + 500);
    doc.AddTable(format, si ? SiReportHeader(layout.geometryHeader) : layout.geometryHeader,
                 {RowText(row, layout.geometry, si)}, kHeaderShade);
    doc.AddTable(format, si ? SiReportHeader(layout.performanceHeader) : layout.performanceHeader,
                 {RowText(row, layout.performance, si)}, kHeaderShade);
}

// The identification lines under a coil's tables: quantity, item, model and
// type, then the construction.
void AddIdentification(PrintDocument& doc, const SavedCoilTable::Row& row, CoilType type) {
    const double printable = doc.PrintableWidth();
    const double w4 = RoundTwips(printable / 4);
    const std::string f4 = Width(std::floor(w4 / 2)) + "<|" + Width(w4) + "<|" + Width(std::floor(1.5 * w4)) +
                           "<|" + Width(w4) + "<";
    std::string typeText = "Type: " + CellText(row[4]);
    if (type == CoilType::Glycol) typeText += " - " + CellText(row[31]) + "%";
    doc.SetFont(8, true);
    doc.AddTable(f4, {"Qty: " + CellText(row[1]) + "|Item: " + CellText(row[3]) +
                      "|Model: " + CellText(row[2]) + "|" + typeText});
    const double w5 = RoundTwips(printable / 5);
    const std::string f5 =
        Width(w5) + "<|" + Width(w5) + "<|" + Width(w5) + "<|" + Width(w5) + "^|" + Width(w5) + "^";
    doc.AddTable(f5, {"Tube OD: " + CellText(row[5]) + "|Wall Thk: " + CellText(row[6]) +
                      "|Fin Thk: " + CellText(row[7]) + "|" + CellText(row[8]) + "|" + CellText(row[9])});
}

// The coil's warnings under its identification lines, one a line, each
// with the coil's number.
void AddWarnings(PrintDocument& doc, const SavedCoilTable::Row& row, const std::vector<std::string>& warnings,
                 units::System system) {
    if (warnings.empty()) return;
    const std::string format = Width(doc.PrintableWidth()) + "<";
    doc.SetFont(8);
    for (const std::string& w : warnings)
        doc.AddTable(format, {"Warning, coil " + CellText(row[0]) + ": " + WarningText(system, w)});
}

}  // namespace

MultiCoilReportBuilder::MultiCoilReportBuilder(const ReportHeaderTexts& header, const PageGeometry& page)
    : header_(header), doc_(std::make_unique<PrintDocument>(page)) {
    unit_ = 2 * RoundTwips(doc_->PrintableWidth() / 10);
}

void MultiCoilReportBuilder::Start(const Cell& firstAltitude) {
    started_ = true;
    doc_->onNewPage = [job = JobColumnOf(*doc_, header_, firstAltitude, PageHeaderFormat(unit_)),
                       unit = unit_](PrintDocument& d) { PageHeader(d, job, unit); };
    doc_->StartDoc();
}

void MultiCoilReportBuilder::AddBlock(const SavedCoilTable::Row& row,
                                      const std::vector<std::string>& warnings) {
    const CoilType type = CoilTypeOfWord(CellText(row[4]));
    const SavedCoilTable::Row shown = AsReported(row, type);
    AddCoilTables(*doc_, shown, LayoutFor(type), header_.units == units::System::SI);
    AddIdentification(*doc_, shown, type);
    AddWarnings(*doc_, shown, warnings, header_.units);
}

void MultiCoilReportBuilder::Add(const SavedCoilTable::Row& row, const std::vector<std::string>& warnings) {
    if (!started_) {
        Start(row[32]);
    } else if (onPage_ == 4) {
        doc_->NewPage();
        onPage_ = 0;
    }
    const PrintDocument::Mark mark = doc_->End();
    AddBlock(row, warnings);
    // A coil whose block ran onto a new page starts that page whole.
    if (onPage_ > 0 && static_cast<size_t>(doc_->PageCount()) > mark.pages) {
        doc_->Rollback(mark);
        doc_->NewPage();
        onPage_ = 0;
        AddBlock(row, warnings);
    }
    ++onPage_;
}

void MultiCoilReportBuilder::Finish() {
    if (!started_) Start(Cell{});
    doc_->EndDoc();
}

std::unique_ptr<PrintDocument> BuildMultiCoilReport(const SavedCoilTable& table,
                                                    const ReportHeaderTexts& header, const PageGeometry& page,
                                                    const std::vector<std::vector<std::string>>& warnings) {
    MultiCoilReportBuilder report(header, page);
    const int n = table.CoilCount();
    for (int i = 0; i < n; ++i)
        report.Add(table.Rows()[i],
                   static_cast<size_t>(i) < warnings.size() ? warnings[i] : std::vector<std::string>{});
    report.Finish();
    return report.Take();
}

void DrawLogo(QPainter& p, const QRectF& box) {
    p.setRenderHint(QPainter::Antialiasing);
    const double u = box.height() / 12;  // drawing unit
    // Badge.
    QPainterPath badge;
    badge.addRoundedRect(box.adjusted(u * 0.2, u * 0.2, -u * 0.2, -u * 0.2), u * 1.5, u * 1.5);
    p.fillPath(badge, QColor(22, 66, 120));
    // A coil face: fins as thin vertical lines, a serpentine tube across
    // them with its return bends inside the face.
    const double side = box.height() - u * 3.2;
    const QRectF face(box.left() + u * 1.4, box.top() + u * 1.6, side, side);
    p.setPen(QPen(QColor(200, 214, 230), u * 0.18));
    for (int i = 0; i <= 8; ++i) {
        const double x = face.left() + face.width() * i / 8;
        p.drawLine(QPointF(x, face.top()), QPointF(x, face.bottom()));
    }
    const int rows = 4;
    const double step = face.height() / rows;
    const double l = face.left() + step / 2;
    const double r = face.right() - step / 2;
    QPainterPath tube;
    tube.moveTo(face.right() + u * 0.6, face.top() + step / 2);
    for (int i = 0; i < rows; ++i) {
        const double y = face.top() + step / 2 + i * step;
        const bool toLeft = i % 2 == 0;
        tube.lineTo(toLeft ? l : r, y);
        if (i + 1 < rows) {
            // Half circle down to the next run.
            const QRectF bend(toLeft ? l - step / 2 : r - step / 2, y, step, step);
            tube.arcTo(bend, 90, toLeft ? 180 : -180);
        }
    }
    tube.lineTo(face.right() + u * 0.6, face.top() + step / 2 + (rows - 1) * step);
    p.setPen(QPen(QColor(226, 140, 60), u * 0.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(tube);
    // Wordmark, sized to fill the rest of the badge.
    const QRectF text(face.right() + u * 1.2, box.top(), box.right() - face.right() - u * 2.4, box.height());
    QFont f = TwipFont("Arial", 10);
    f.setBold(true);
    const double natural = QFontMetricsF(f).horizontalAdvance(QString::fromLatin1(kMakerName));
    f.setPixelSize(std::max(1, static_cast<int>(f.pixelSize() * text.width() / natural)));
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(text, Qt::AlignVCenter | Qt::AlignLeft, QString::fromLatin1(kMakerName));
}

}  // namespace reports
