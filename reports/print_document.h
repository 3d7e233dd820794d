// A paged document of tables, paragraphs and pictures, laid out in twips as
// it is built, and painted page by page through a QPainter.
//
// It works like a print control: a document is started, items are added at
// the current vertical position (which moves down past each item), a page
// is started explicitly or when an item does not fit, and a page-start
// handler draws the page header on every new page. The laid-out pages stay
// inspectable: each page lists its tables with their column format, rows
// and shading, so the layout can be checked without painting.
#pragma once

#include <QColor>
#include <QRectF>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QPainter;
class QPagedPaintDevice;

namespace reports {

// Page size and margins, twips.
struct PageGeometry {
    double width = 12240;  // US Letter
    double height = 15840;
    double marginLeft = 720;
    double marginRight = 720;
    double marginTop = 1440;
    double marginBottom = 1080;
};

enum class Align { Left, Centre, Right };

// One column of a table format.
struct ColumnFormat {
    double width = 0;  // twips
    Align align = Align::Left;
    bool ruled = false;       // cell drawn with a box around it
    bool breakWords = false;  // a word wider than the cell is broken
};

// Parses a column format text: entries joined by "|", each a width in twips
// followed by flags: "^" centred, "<" left, ">" right, "_" ruled, "~" words
// wider than the cell broken. "1080^_" is a ruled, centred column 1080
// twips wide.
std::vector<ColumnFormat> ParseTableFormat(const std::string& format);

// Splits a row text at "|" ("a||b" is three cells, the middle one empty).
std::vector<std::string> SplitCells(const std::string& row);

struct PlacedTable {
    std::string format;  // as given
    std::vector<ColumnFormat> columns;
    std::vector<std::vector<std::string>> rows;
    std::vector<double> rowTop;  // twips from the page top
    std::vector<double> rowHeight;
    int headerRows = 0;  // rows drawn shaded
    std::optional<QColor> headerShade;
    double left = 0;
    double fontPoints = 8;
    double headerFontPoints = 8;  // the header row's font
    bool bold = false;
};

struct PlacedPicture {
    QRectF box;  // twips
    std::function<void(QPainter&, const QRectF&)> draw;
};

struct DocPage {
    std::vector<PlacedTable> tables;
    std::vector<PlacedPicture> pictures;
};

class PrintDocument {
public:
    explicit PrintDocument(PageGeometry page = {});

    const PageGeometry& Page() const { return page_; }
    // Page width minus the left and right margins.
    double PrintableWidth() const { return page_.width - page_.marginLeft - page_.marginRight; }

    // Called at the top of every new page, after the current position is
    // set to the top margin; draws the page header.
    std::function<void(PrintDocument&)> onNewPage;

    // Clears the document and opens its first page.
    void StartDoc();
    void NewPage();
    // Closes the document; nothing can be added after this.
    void EndDoc();

    double CurrentY() const { return y_; }
    void SetCurrentY(double twips) { y_ = twips; }

    // Font of the tables added from now on.
    void SetFont(double points, bool bold = false);

    // Adds a table at the current position: `header` is a row text shown
    // shaded with `shade` (when given), `body` the further rows. Starts a
    // new page first when the table does not fit on the rest of this one
    // but would fit on an empty page. Header texts stay on one line: when
    // one would wrap, the header row is set in a smaller font (down to
    // kSmallestHeaderPoints).
    void AddTable(const std::string& format, const std::string& header, const std::vector<std::string>& body,
                  std::optional<QColor> shade = {});
    // A table without header row.
    void AddTable(const std::string& format, const std::vector<std::string>& body);
    // A table without header row, its left edge `indent` twips right of the
    // left margin.
    void AddIndentedTable(double indent, const std::string& format, const std::vector<std::string>& body);
    // A picture drawn by `draw` into `box` (twips from the page's corner);
    // does not move the current position.
    void DrawPicture(const QRectF& box, std::function<void(QPainter&, const QRectF&)> draw);

    // Where the document ends: a laying out can be taken back to it.
    struct Mark {
        size_t pages = 0;
        size_t tables = 0;
        size_t pictures = 0;
        double y = 0;
    };
    Mark End() const;
    // Drops everything added after `mark` (taken since the last
    // TakeFirstPages).
    void Rollback(const Mark& mark);
    // Takes the first `count` pages out of the document (to paint them
    // elsewhere); page 0 is then the first page kept.
    std::vector<DocPage> TakeFirstPages(int count);

    int PageCount() const { return static_cast<int>(pages_.size()); }
    const DocPage& PageAt(int index) const { return pages_.at(index); }
    bool Ended() const { return ended_; }

    // Paints page `index` through `painter`, which must be scaled to twips
    // with its origin at the paper's top-left corner.
    void PaintPage(QPainter& painter, int index) const;
    // Paints every page on `device` (a QPrinter or a QPdfWriter), starting a
    // new device page between pages. False when painting could not start.
    bool Print(QPagedPaintDevice& device) const;

    // Height of a table row with these cells, twips, in the current font
    // or in `points`.
    double RowHeight(const std::vector<ColumnFormat>& columns, const std::vector<std::string>& cells) const;
    double RowHeight(const std::vector<ColumnFormat>& columns, const std::vector<std::string>& cells,
                     double points) const;

    static constexpr double kSmallestHeaderPoints = 6;

private:
    void Place(const std::string& format, const std::vector<std::string>& rows, bool withHeader,
               double indent = 0);

    PageGeometry page_;
    std::vector<DocPage> pages_;
    double y_ = 0;
    double fontPoints_ = 8;
    bool bold_ = false;
    bool ended_ = false;
    bool inPageStart_ = false;
};

// Paints `page` through `painter`, which must be scaled to twips with its
// origin at the paper's top-left corner.
void PaintDocPage(QPainter& painter, const DocPage& page);

// Lines of `text` wrapped at blanks to `width` twips in the report font; a
// word wider than the line is broken when `breakWords`, else it overhangs.
std::vector<QString> WrapCellText(const QString& text, double width, double points, bool bold,
                                  bool breakWords = false);

}  // namespace reports
