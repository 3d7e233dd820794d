#include "reports/submittal.h"

#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPagedPaintDevice>
#include <QPdfWriter>
#include <algorithm>

#include "reports/maker.h"
#include "reports/multi_coil_report.h"
#include "reports/print_surface.h"
#include "reports/psychro_chart_paint.h"

namespace reports {

namespace {

// A column of the schedule: its heading, the list column it shows and its
// share of the printable width.
struct ScheduleColumn {
    const char* heading;
    const char* exportColumn;
    double width;
};

const ScheduleColumn kSchedule[] = {
    {"Tag", "Tag", 700},
    {"Type", "Coil Type", 860},
    {"Model", "Model", 1400},
    {"Rows", "Rows", 380},
    {"FPI", "FPI", 380},
    {"Face Area", "Face Area", 540},
    {"Air Flow", "Standard Air Flow", 560},
    {"EAT DB", "EAT DB", 520},
    {"EAT WB", "EAT WB", 520},
    {"LAT DB", "LAT DB", 520},
    {"LAT WB", "LAT WB", 520},
    {"Total", "Total Capacity", 660},
    {"Sensible", "Sensible Capacity", 660},
    {"Air PD", "Air PD", 500},
    {"Fluid PD", "Fluid PD", 520},
    {"Refr. PD", "Refrigerant PD", 520},
    {"Fluid Flow", "Fluid Flow", 520},
};

constexpr double kScheduleFont = 7;
constexpr double kFooterFromBottom = 700;  // twips, the baseline of "Page x of y"
constexpr double kSheetMargin = 360;       // a quarter inch, twips

// A cell text with the table format's separator taken out.
std::string CellOf(std::string text) {
    std::replace(text.begin(), text.end(), '|', '/');
    return text;
}

std::string Joined(const std::vector<std::string>& cells) {
    std::string out;
    for (std::size_t i = 0; i < cells.size(); ++i) out += (i ? "|" : "") + CellOf(cells[i]);
    return out;
}

// Index of each schedule column in the exported list's columns.
std::vector<std::size_t> ExportIndexes() {
    const std::vector<std::string> header = kvn::exchange::ExportHeader();
    std::vector<std::size_t> at;
    for (const ScheduleColumn& c : kSchedule)
        at.push_back(static_cast<std::size_t>(std::find(header.begin(), header.end(), c.exportColumn) -
                                              header.begin()));
    return at;
}

std::string ScheduleFormat(double printable) {
    double total = 0;
    for (const ScheduleColumn& c : kSchedule) total += c.width;
    std::string format;
    for (const ScheduleColumn& c : kSchedule) {
        if (!format.empty()) format += '|';
        format += std::to_string(static_cast<long long>(RoundTwips(c.width * printable / total))) + "^_";
    }
    return format;
}

std::string ScheduleHeading() {
    std::vector<std::string> cells;
    for (const ScheduleColumn& c : kSchedule) cells.emplace_back(c.heading);
    return Joined(cells);
}

std::string ScheduleUnits(units::System system) {
    const std::vector<std::string> all = kvn::exchange::ExportUnits(system);
    std::vector<std::string> cells;
    for (std::size_t i : ExportIndexes()) cells.push_back(all.at(i));
    return Joined(cells);
}

std::string ScheduleLine(units::System system, const kvn::exchange::ExportCoil& coil) {
    const std::vector<kvn::exchange::ExportCell> all = kvn::exchange::ExportCells(system, coil);
    std::vector<std::string> cells;
    for (std::size_t i : ExportIndexes()) cells.push_back(all.at(i).text);
    return Joined(cells);
}

void Title(PrintDocument& doc, const std::string& text, double points) {
    doc.SetFont(points, true);
    doc.AddTable(std::to_string(static_cast<long long>(doc.PrintableWidth())) + "^", {CellOf(text)});
}

void Cover(PrintDocument& doc, const SubmittalHeader& h, std::size_t coils) {
    const double width = doc.Page().width;
    doc.DrawPicture(QRectF((width - 2160) / 2, 900, 2160, 1080), DrawLogo);
    doc.SetCurrentY(2300);
    doc.SetFont(10);
    const std::string centred = std::to_string(static_cast<long long>(doc.PrintableWidth())) + "^";
    doc.AddTable(centred, {kMakerAddress, kMakerTown, kMakerPhone, kMakerFax});
    doc.SetCurrentY(doc.CurrentY() + 1800);
    Title(doc, "Coil Submittal", 22);
    doc.SetCurrentY(doc.CurrentY() + 1200);
    const double half = RoundTwips(doc.PrintableWidth() / 2);
    const std::string format = std::to_string(static_cast<long long>(half - 600)) + ">|" +
                               std::to_string(static_cast<long long>(half + 600)) + "<";
    doc.SetFont(12);
    doc.AddTable(format, {"Project:|" + CellOf(h.project), "Customer:|" + CellOf(h.customer),
                          "Engineer:|" + CellOf(h.engineer), "Date:|" + CellOf(h.date),
                          "Coils:|" + std::to_string(coils),
                          std::string("Units:|") + (h.units == units::System::SI ? "SI" : "Inch-pound")});
    doc.SetCurrentY(doc.CurrentY() + 1200);
    doc.SetFont(10);
    doc.AddTable(centred, {"Contents: the coil schedule, then a performance sheet for each coil" +
                           std::string(h.charts ? " with its psychrometric chart." : ".")});
}

// The heading of every schedule page: title, job and the column headings.
void ScheduleHead(PrintDocument& doc, const SubmittalHeader& h) {
    Title(doc, "Coil Schedule", 14);
    doc.SetFont(9);
    const double third = RoundTwips(doc.PrintableWidth() / 3);
    const std::string w = std::to_string(static_cast<long long>(third));
    doc.AddTable(
        w + "<|" + w + "<|" + w + ">",
        {"Project: " + CellOf(h.project) + "|Customer: " + CellOf(h.customer) + "|Date: " + CellOf(h.date)});
    doc.SetCurrentY(doc.CurrentY() + 200);
    doc.SetFont(kScheduleFont);
    doc.AddTable(ScheduleFormat(doc.PrintableWidth()), ScheduleHeading(), {ScheduleUnits(h.units)},
                 kHeaderShade);
}

void Warnings(PrintDocument& doc, const SubmittalHeader& h, const std::vector<SubmittalCoil>& coils) {
    std::vector<std::string> rows;
    for (const SubmittalCoil& c : coils)
        if (!c.line.warnings.empty())
            rows.push_back(CellOf(c.line.tag) + "|" + CellOf(WarningText(h.units, c.line.warnings)));
    if (rows.empty()) return;
    doc.SetCurrentY(doc.CurrentY() + 300);
    doc.SetFont(kScheduleFont);
    const double tag = kSchedule[0].width;
    const std::string format = std::to_string(static_cast<long long>(tag)) + "<_|" +
                               std::to_string(static_cast<long long>(doc.PrintableWidth() - tag)) + "<_";
    // One table a coil, so that a long list goes on over the next page.
    doc.AddTable(format, "Tag|Warnings", {rows.front()}, kHeaderShade);
    for (std::size_t i = 1; i < rows.size(); ++i) doc.AddTable(format, {rows[i]});
}

// The schedule's rows that have no coil in the package, and why.
void LeftOut(PrintDocument& doc, const SubmittalHeader& h) {
    if (h.leftOut.empty()) return;
    doc.SetCurrentY(doc.CurrentY() + 300);
    doc.SetFont(kScheduleFont);
    const double row = 500, tag = kSchedule[0].width;
    const std::string format =
        std::to_string(static_cast<long long>(row)) + "<_|" + std::to_string(static_cast<long long>(tag)) +
        "<_|" + std::to_string(static_cast<long long>(doc.PrintableWidth() - row - tag)) + "<_";
    doc.AddTable(format, "Row|Tag|Not selected", {h.leftOut.front()}, kHeaderShade);
    for (std::size_t i = 1; i < h.leftOut.size(); ++i) doc.AddTable(format, {h.leftOut[i]});
}

void Footer(QPainter& painter, const PageGeometry& page, const std::string& text) {
    painter.save();
    painter.setFont(TwipFont("Arial", 8));
    painter.setPen(Qt::black);
    painter.drawText(QRectF(0, page.height - kFooterFromBottom - 300, page.width, 300),
                     Qt::AlignHCenter | Qt::AlignBottom, QString::fromStdString(text));
    painter.restore();
}

}  // namespace

PageGeometry SubmittalPage(bool a4) {
    PageGeometry page;
    if (a4) {
        page.width = 11906;
        page.height = 16838;
    }
    return page;
}

std::string PageOfText(int page, int total) {
    return "Page " + std::to_string(page) + " of " + std::to_string(total);
}

std::unique_ptr<PrintDocument> BuildSubmittalFront(const SubmittalHeader& header,
                                                   const std::vector<SubmittalCoil>& coils) {
    auto doc = std::make_unique<PrintDocument>(SubmittalPage(header.a4));
    doc->StartDoc();
    Cover(*doc, header, coils.size());
    doc->onNewPage = [header](PrintDocument& d) { ScheduleHead(d, header); };
    doc->NewPage();
    const std::string format = ScheduleFormat(doc->PrintableWidth());
    doc->SetFont(kScheduleFont);
    // One table a coil: a line that does not fit starts the next page,
    // which repeats the headings.
    for (const SubmittalCoil& c : coils) doc->AddTable(format, {ScheduleLine(header.units, c.line)});
    Warnings(*doc, header, coils);
    LeftOut(*doc, header);
    doc->EndDoc();
    return doc;
}

int SubmittalPageCount(const PrintDocument& front, const SubmittalHeader& header,
                       const std::vector<SubmittalCoil>& coils) {
    const auto sheets =
        std::count_if(coils.begin(), coils.end(), [](const SubmittalCoil& c) { return c.hasSheet; });
    return front.PageCount() + static_cast<int>(sheets) * (header.charts ? 2 : 1);
}

bool PaintSubmittal(QPagedPaintDevice& device, const SubmittalHeader& header,
                    const std::vector<SubmittalCoil>& coils) {
    const auto front = BuildSubmittalFront(header, coils);
    const int total = SubmittalPageCount(*front, header, coils);
    QPainter painter;
    if (!painter.begin(&device)) return false;
    // The front is laid out from the paper's corner; the device's origin is
    // its printable area's.
    const QMarginsF margins = device.pageLayout().margins(QPageLayout::Point);
    for (int i = 0; i < front->PageCount(); ++i) {
        if (i > 0 && !device.newPage()) return painter.end() && false;
        double w = 0, h = 0;
        ScaleToTwips(painter, device, w, h);
        painter.translate(-margins.left() * 20, -margins.top() * 20);
        front->PaintPage(painter, i);
        Footer(painter, front->Page(), PageOfText(i + 1, total));
    }
    for (const SubmittalCoil& c : coils) {
        if (!c.hasSheet) continue;
        if (!device.newPage()) return painter.end() && false;
        SheetTexts texts = c.texts;
        texts.units = header.units;
        texts.withChart = header.charts;
        for (std::string& w : texts.warnings) w = WarningText(header.units, w);
        PainterSurface surface(painter, device);
        surface.FitWithin(kSheetWidth, kSheetHeight);
        PrintPerformance(surface, c.coilSpec, c.rating, texts);
        if (header.charts && !chart::PaintChartPage(painter, device, c.coilSpec, c.rating,
                                                    chart::OptionsOf(texts, c.coilSpec, c.rating)))
            return painter.end() && false;
    }
    return painter.end();
}

bool WriteSubmittalPdf(const QString& path, const SubmittalHeader& header,
                       const std::vector<SubmittalCoil>& coils) {
    QPdfWriter pdf(path);
    pdf.setResolution(1200);
    pdf.setTitle(QStringLiteral("Submittal"));
    pdf.setCreator(QStringLiteral("KVN"));
    const double m = kSheetMargin / 20;
    pdf.setPageLayout(QPageLayout(QPageSize(header.a4 ? QPageSize::A4 : QPageSize::Letter),
                                  QPageLayout::Portrait, QMarginsF(m, m, m, m), QPageLayout::Point));
    return PaintSubmittal(pdf, header, coils);
}

}  // namespace reports
