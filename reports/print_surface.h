// Print surfaces: what the performance sheet draws on.
//
// A surface works like a line printer with a movable head: a font, a current
// position in twips (1440 to the inch) measured from the left edge and the
// top of the page, and a print operation that writes a text at the current
// position and ends the line (the next print starts one text line lower at
// the left edge).
#pragma once

#include <memory>
#include <string>
#include <vector>

class QPainter;
class QPagedPaintDevice;
class QFont;

namespace reports {

inline constexpr double kTwipsPerInch = 1440.0;

class PrintSurface {
public:
    virtual ~PrintSurface() = default;

    virtual void SetFont(const std::string& name, double points) = 0;
    // The current position, in twips from the printable area's top left.
    double CurrentX() const { return x_; }
    double CurrentY() const { return y_; }
    void SetCurrentX(double twips) { x_ = twips; }
    void SetCurrentY(double twips) { y_ = twips; }
    // Writes `text` (one line, UTF-8) at the current position and ends the
    // line: X back to 0, Y one text line lower.
    virtual void Print(const std::string& text) = 0;

    // Measures in the current font, in twips.
    virtual double TextWidth(const std::string& text) const = 0;
    virtual double TextHeight() const = 0;
    // Size of the printable page, in twips.
    double PageWidth() const { return pageWidth_; }
    double PageHeight() const { return pageHeight_; }

protected:
    double x_ = 0;
    double y_ = 0;
    double pageWidth_ = 0;
    double pageHeight_ = 0;
};

// Records every print as an item, for tests. Measures text as a monospaced
// font would: a character is 0.6 em wide and a line 1.1328 em high, the
// metrics of the sheet's typewriter font.
class RecordingSurface : public PrintSurface {
public:
    struct Item {
        double x;
        double y;
        std::string text;
        std::string font;
        double points;
    };

    explicit RecordingSurface(double pageWidth = 11520, double pageHeight = 15120) {
        pageWidth_ = pageWidth;
        pageHeight_ = pageHeight;
    }

    void SetFont(const std::string& name, double points) override;
    void Print(const std::string& text) override;
    double TextWidth(const std::string& text) const override;
    double TextHeight() const override;

    const std::vector<Item>& Items() const { return items_; }

private:
    std::vector<Item> items_;
    std::string font_;
    double points_ = 12;
};

// Paints through a QPainter that is active on a paged device (a QPrinter or
// a QPdfWriter). The painter is scaled so that one unit is one twip, with
// the origin at the top-left corner of the device's printable area.
class PainterSurface : public PrintSurface {
public:
    PainterSurface(QPainter& painter, QPagedPaintDevice& device);
    ~PainterSurface() override;

    void SetFont(const std::string& name, double points) override;
    void Print(const std::string& text) override;
    double TextWidth(const std::string& text) const override;
    double TextHeight() const override;

    // Scales everything drawn from now on down, evenly, so that `width` by
    // `height` twips fit the printable page; never scales up. The page
    // size is then in the scaled twips. Returns the scale (1 when it fits).
    double FitWithin(double width, double height);

private:
    QPainter& painter_;
    std::unique_ptr<QFont> font_;
};

// A font whose pixel size is its size in twips (20 per point), unhinted, so
// that metrics taken from it are twips at any device resolution once the
// painter is scaled to twips.
QFont TwipFont(const std::string& family, double points);

// Scales `painter` (active on `device`) to twips; returns the printable
// page size in twips.
void ScaleToTwips(QPainter& painter, QPagedPaintDevice& device, double& pageWidth, double& pageHeight);

}  // namespace reports
