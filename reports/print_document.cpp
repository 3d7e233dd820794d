#include "reports/print_document.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QString>
#include <algorithm>
#include <cstdlib>
#include <iterator>

#include "reports/print_surface.h"

namespace reports {

namespace {
constexpr const char* kReportFont = "Arial";
constexpr double kPadX = 40;  // twips between a cell's box and its text
constexpr double kPadY = 25;

QFont ReportFont(double points, bool bold) {
    QFont f = TwipFont(kReportFont, points);
    f.setBold(bold);
    return f;
}
}  // namespace

std::vector<ColumnFormat> ParseTableFormat(const std::string& format) {
    std::vector<ColumnFormat> cols;
    for (const std::string& entry : SplitCells(format)) {
        ColumnFormat c;
        c.width = std::atof(entry.c_str());
        for (char ch : entry) {
            if (ch == '^')
                c.align = Align::Centre;
            else if (ch == '<')
                c.align = Align::Left;
            else if (ch == '>')
                c.align = Align::Right;
            else if (ch == '_')
                c.ruled = true;
            else if (ch == '~')
                c.breakWords = true;
        }
        cols.push_back(c);
    }
    return cols;
}

std::vector<std::string> SplitCells(const std::string& row) {
    std::vector<std::string> cells(1);
    for (char c : row) {
        if (c == '|')
            cells.emplace_back();
        else
            cells.back() += c;
    }
    return cells;
}

namespace {
// A word wider than `width` broken into pieces that fit (never inside a
// surrogate pair); the last piece is returned, the others appended to
// `lines`.
QString BreakWord(const QFontMetricsF& fm, QString word, double width, std::vector<QString>& lines) {
    while (word.size() > 1 && fm.horizontalAdvance(word) > width) {
        qsizetype cut = word.size() - 1;
        while (cut > 1 && fm.horizontalAdvance(word.left(cut)) > width) --cut;
        if (word.at(cut - 1).isHighSurrogate()) cut += cut > 1 ? -1 : 1;
        lines.push_back(word.left(cut));
        word.remove(0, cut);
    }
    return word;
}
}  // namespace

std::vector<QString> WrapCellText(const QString& text, double width, double points, bool bold,
                                  bool breakWords) {
    QFontMetricsF fm(ReportFont(points, bold));
    std::vector<QString> lines;
    const QStringList words = text.split(' ', Qt::SkipEmptyParts);
    QString line;
    // The first word of a line is measured only where it may be broken.
    auto start = [&](const QString& w) { return breakWords ? BreakWord(fm, w, width, lines) : w; };
    for (const QString& w : words) {
        if (line.isEmpty()) {
            line = start(w);
        } else if (fm.horizontalAdvance(line + ' ' + w) <= width) {
            line += ' ' + w;
        } else {
            lines.push_back(line);
            line = start(w);
        }
    }
    if (!line.isEmpty() || lines.empty()) lines.push_back(line);
    return lines;
}

namespace {

// A cell's text lines, centred vertically in the cell and aligned as its
// column says.
void PaintCellText(QPainter& painter, const QRectF& cell, const ColumnFormat& col, const std::string& text,
                   double points, bool bold) {
    const QFontMetricsF fm(ReportFont(points, bold));
    painter.setPen(Qt::black);
    const auto lines = WrapCellText(QString::fromStdString(text), std::max(1.0, col.width - 2 * kPadX),
                                    points, bold, col.breakWords);
    double y = cell.top() + (cell.height() - lines.size() * fm.height()) / 2;
    for (const QString& line : lines) {
        const double w = fm.horizontalAdvance(line);
        double tx = cell.left() + kPadX;
        if (col.align == Align::Centre)
            tx = cell.left() + (cell.width() - w) / 2;
        else if (col.align == Align::Right)
            tx = cell.right() - kPadX - w;
        painter.drawText(QPointF(tx, y + fm.ascent()), line);
        y += fm.height();
    }
}

// Row `r` of a placed table: each cell's shade, rule and text.
void PaintTableRow(QPainter& painter, const PlacedTable& t, size_t r) {
    const bool header = static_cast<int>(r) < t.headerRows;
    const double points = header ? t.headerFontPoints : t.fontPoints;
    painter.setFont(ReportFont(points, t.bold));
    double x = t.left;
    for (size_t c = 0; c < t.columns.size(); ++c) {
        const ColumnFormat& col = t.columns[c];
        const QRectF cell(x, t.rowTop[r], col.width, t.rowHeight[r]);
        x += col.width;
        if (header && t.headerShade) painter.fillRect(cell, *t.headerShade);
        if (col.ruled) {
            painter.setPen(QPen(QColor(96, 96, 96), 10));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(cell);
        }
        if (c < t.rows[r].size()) PaintCellText(painter, cell, col, t.rows[r][c], points, t.bold);
    }
}

}  // namespace

PrintDocument::PrintDocument(PageGeometry page) : page_(page) {}

void PrintDocument::StartDoc() {
    pages_.clear();
    ended_ = false;
    NewPage();
}

void PrintDocument::NewPage() {
    pages_.emplace_back();
    y_ = page_.marginTop;
    if (onNewPage && !inPageStart_) {
        inPageStart_ = true;
        const double points = fontPoints_;
        const bool bold = bold_;
        onNewPage(*this);
        SetFont(points, bold);
        inPageStart_ = false;
    }
}

void PrintDocument::EndDoc() {
    ended_ = true;
}

void PrintDocument::SetFont(double points, bool bold) {
    fontPoints_ = points;
    bold_ = bold;
}

double PrintDocument::RowHeight(const std::vector<ColumnFormat>& columns,
                                const std::vector<std::string>& cells) const {
    return RowHeight(columns, cells, fontPoints_);
}

double PrintDocument::RowHeight(const std::vector<ColumnFormat>& columns,
                                const std::vector<std::string>& cells, double points) const {
    const double line = QFontMetricsF(ReportFont(points, bold_)).height();
    size_t most = 1;
    for (size_t i = 0; i < columns.size() && i < cells.size(); ++i) {
        const double w = std::max(1.0, columns[i].width - 2 * kPadX);
        most = std::max(
            most,
            WrapCellText(QString::fromStdString(cells[i]), w, points, bold_, columns[i].breakWords).size());
    }
    return most * line + 2 * kPadY;
}

void PrintDocument::Place(const std::string& format, const std::vector<std::string>& rows, bool withHeader,
                          double indent) {
    PlacedTable t;
    t.format = format;
    t.columns = ParseTableFormat(format);
    t.left = page_.marginLeft + indent;
    t.fontPoints = fontPoints_;
    t.headerFontPoints = fontPoints_;
    t.bold = bold_;
    for (const std::string& r : rows) t.rows.push_back(SplitCells(r));
    if (withHeader && !t.rows.empty()) {
        // Half a point smaller at a time until every header text fits its
        // cell on one line.
        auto oneLine = [&](double points) {
            const QFontMetricsF fm(ReportFont(points, bold_));
            for (size_t c = 0; c < t.columns.size() && c < t.rows[0].size(); ++c)
                if (fm.horizontalAdvance(QString::fromStdString(t.rows[0][c]).simplified()) >
                    t.columns[c].width - 2 * kPadX)
                    return false;
            return true;
        };
        while (t.headerFontPoints - 0.5 >= kSmallestHeaderPoints && !oneLine(t.headerFontPoints))
            t.headerFontPoints -= 0.5;
    }
    auto height = [&](size_t r) {
        return RowHeight(t.columns, t.rows[r], withHeader && r == 0 ? t.headerFontPoints : t.fontPoints);
    };
    double total = 0;
    for (size_t r = 0; r < t.rows.size(); ++r) total += height(r);
    const double bottom = page_.height - page_.marginBottom;
    const bool atTop = y_ <= page_.marginTop;
    if (!ended_ && y_ + total > bottom && !atTop && !inPageStart_) NewPage();
    for (size_t r = 0; r < t.rows.size(); ++r) {
        const double h = height(r);
        t.rowTop.push_back(y_);
        t.rowHeight.push_back(h);
        y_ += h;
    }
    if (pages_.empty()) pages_.emplace_back();
    pages_.back().tables.push_back(std::move(t));
}

void PrintDocument::AddTable(const std::string& format, const std::vector<std::string>& body) {
    Place(format, body, false);
}

void PrintDocument::AddIndentedTable(double indent, const std::string& format,
                                     const std::vector<std::string>& body) {
    Place(format, body, false, indent);
}

PrintDocument::Mark PrintDocument::End() const {
    Mark m;
    m.pages = pages_.size();
    m.y = y_;
    if (!pages_.empty()) {
        m.tables = pages_.back().tables.size();
        m.pictures = pages_.back().pictures.size();
    }
    return m;
}

void PrintDocument::Rollback(const Mark& mark) {
    if (pages_.size() > mark.pages) pages_.resize(mark.pages);
    if (!pages_.empty()) {
        DocPage& last = pages_.back();
        if (last.tables.size() > mark.tables) last.tables.resize(mark.tables);
        if (last.pictures.size() > mark.pictures) last.pictures.resize(mark.pictures);
    }
    y_ = mark.y;
}

std::vector<DocPage> PrintDocument::TakeFirstPages(int count) {
    const auto n =
        static_cast<std::ptrdiff_t>(std::min<size_t>(pages_.size(), static_cast<size_t>(std::max(0, count))));
    std::vector<DocPage> taken(std::make_move_iterator(pages_.begin()),
                               std::make_move_iterator(pages_.begin() + n));
    pages_.erase(pages_.begin(), pages_.begin() + n);
    return taken;
}

void PrintDocument::AddTable(const std::string& format, const std::string& header,
                             const std::vector<std::string>& body, std::optional<QColor> shade) {
    std::vector<std::string> rows;
    rows.push_back(header);
    rows.insert(rows.end(), body.begin(), body.end());
    Place(format, rows, true);
    PlacedTable& t = pages_.back().tables.back();
    t.headerRows = 1;
    t.headerShade = shade;
}

void PrintDocument::DrawPicture(const QRectF& box, std::function<void(QPainter&, const QRectF&)> draw) {
    if (pages_.empty()) pages_.emplace_back();
    pages_.back().pictures.push_back({box, std::move(draw)});
}

void PrintDocument::PaintPage(QPainter& painter, int index) const {
    PaintDocPage(painter, pages_.at(index));
}

void PaintDocPage(QPainter& painter, const DocPage& page) {
    for (const PlacedPicture& p : page.pictures) {
        painter.save();
        p.draw(painter, p.box);
        painter.restore();
    }
    for (const PlacedTable& t : page.tables)
        for (size_t r = 0; r < t.rows.size(); ++r) PaintTableRow(painter, t, r);
}

bool PrintDocument::Print(QPagedPaintDevice& device) const {
    QPainter painter;
    if (!painter.begin(&device)) return false;
    for (int i = 0; i < PageCount(); ++i) {
        if (i > 0) device.newPage();
        double w = 0, h = 0;
        ScaleToTwips(painter, device, w, h);
        PaintPage(painter, i);
    }
    return painter.end();
}

}  // namespace reports
