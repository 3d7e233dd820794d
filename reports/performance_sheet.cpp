#include "reports/performance_sheet.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "common/calc_driver.h"
#include "common/catalogue.h"
#include "common/numfmt.h"
#include "engine/coil_type.h"
#include "reports/maker.h"
#include "reports/report_units.h"

namespace reports {

namespace {

constexpr const char* kFont = "Courier New";
constexpr double kFontSize = 12;
// The last warnings line when not every warning fits on the sheet.
constexpr const char* kMoreWarnings = "More warnings: see the coil list";
// The smallest size a header value is set in to fit its column.
constexpr double kSmallestPoints = 7;
// The typewriter font's ascent as a share of its line height.
constexpr double kAscentShare = 1705.0 / 2320.0;
constexpr const char* kDegF =
    "\xC2\xBA"
    "F";  // ºF (inch-pound)

struct At {
    double x;
    std::string text;
};

// One row: the first item at the left edge, each further item at its own
// X on the row's line; the row ends one text line lower at the left edge.
void Row(PrintSurface& s, const std::vector<At>& items) {
    const double y = s.CurrentY();
    for (const At& it : items) {
        s.SetCurrentY(y);
        s.SetCurrentX(it.x);
        s.Print(it.text);
    }
    if (items.empty()) {
        s.SetCurrentX(0);
    }
}

void MoveDown(PrintSurface& s, double twips) {
    s.SetCurrentY(s.CurrentY() + twips);
}

// Right-aligned in `width` characters; a longer text is kept whole, never
// cut, so that no digit of a large number is lost.
std::string Pad(const std::string& text, size_t width) {
    return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}
std::string Num(float v, const char* pattern) {
    return Pad(numfmt::FormatF32(v, pattern), 10);
}
std::string Num(int16_t v) {
    return Pad(numfmt::FormatF64(v, "0"), 10);
}

using Q = units::Quantity;

// Figures, unit texts and labels in the sheet's units: the inch-pound ones
// as they are, or SI with the decimals of each quantity.
struct Units {
    bool si;
    std::string V(Q q, float v, const char* pattern) const {
        return si ? Pad(units::FormatSI(q, v), 10) : Num(v, pattern);
    }
    std::string T(float v) const { return V(Q::Temperature, v, "0.00"); }
    std::string U(Q q, const char* ip) const { return si ? units::Info(q).siUnit : ip; }
    std::string L(const char* ip) const { return si ? SiSheetLabel(ip) : ip; }
};

// X of a 10-character value field that must end one blank before the text
// printed at `nextX` on the same row. Without this the field would reach
// past `nextX` and the digits would be overprinted by the following text.
double FieldBefore(const PrintSurface& s, double nextX) {
    return nextX - s.TextWidth(std::string(11, ' '));
}

// The tube's outside diameter as the construction row shows it: the
// catalogue's fraction without the inch mark ("3/8"); "" for an unknown code.
std::string TubeText(const std::string& code) {
    const catalogue::TubeSize* tube = catalogue::FindTubeSize(code);
    return tube ? std::string(tube->od) : std::string();
}

// "Corrugated Aluminum Fins": the sheet names the fin form with the
// material; "" for an unknown material.
std::string FinMaterialText(const std::string& code) {
    const std::string_view word = catalogue::FinMaterialWord(code);
    return word.empty() ? std::string() : "Corrugated " + std::string(word) + " Fins";
}

// Left column of a performance row: label, ":", value, unit (unit may be "").
void Left(std::vector<At>& row, const std::string& label, const std::string& value, const std::string& unit) {
    row.push_back({0, label});
    row.push_back({3500, ":"});
    row.push_back({4000, value});
    if (!unit.empty()) row.push_back({5750, unit});
}

// Right column of a performance row: label, ":", value at `valueX`, unit
// (unit may be "").
void Right(std::vector<At>& row, const std::string& label, const std::string& value, const std::string& unit,
           double valueX) {
    row.push_back({6750, label});
    row.push_back({9600, ":"});
    row.push_back({valueX, value});
    if (!unit.empty()) row.push_back({11000, unit});
}

// The rows of the performance block, one kind of coil at a time.
class PerformanceRows {
public:
    PerformanceRows(const PrintSurface& s, const CoilSpec& coilSpec, const CoilRating& r, const Units& u)
        : coilSpec_(coilSpec),
          r_(r),
          u_(u),
          deg_(u.U(Q::Temperature, kDegF)),
          // The right column's value field ends one blank before its unit.
          rv_(FieldBefore(s, 11000)),
          refrig_(r.Refrigerant),
          fvLabel_(u.L("Face Velocity")),
          fvUnit_(u.U(Q::AirVelocity, "SFPM")),
          fv_(u.V(Q::AirVelocity, r.FaceVelocity, "0.00")) {
        if (refrig_.size() < 6) refrig_.append(6 - refrig_.size(), ' ');
    }

    std::vector<std::vector<At>> For(CoilType type) {
        switch (type) {
            case CoilType::Condenser:
                Condenser();
                break;
            case CoilType::Evaporator:
                Evaporator();
                break;
            case CoilType::Glycol:
                Liquid(true);
                break;
            case CoilType::Water:
                Liquid(false);
                break;
            case CoilType::Steam:
                Steam();
                break;
            // "O" and unknown codes: no performance rows.
            case CoilType::OtherFluid:
            case CoilType::Unknown:
                break;
        }
        return std::move(rows_);
    }

private:
    std::vector<At>& Add() { return rows_.emplace_back(); }

    // The first row of every kind: the air flow at the left.
    std::vector<At>& AirFlowRow() {
        auto& a = Add();
        Left(a, u_.L("Flow, ACFM"), u_.V(Q::AirFlow, r_.Acfm, "0"), u_.U(Q::AirFlow, "ACFM"));
        return a;
    }
    std::string RefrigerantPD() const { return u_.V(Q::RefrigerantPD, r_.FluidPD, "0.00"); }
    std::string Circuits() const { return Num(coilSpec_.Circuits); }

    void Condenser() {
        Right(AirFlowRow(), "Condenser Temp.", u_.T(r_.EntFluidTemp), deg_, rv_);
        auto& b = Add();
        Left(b, "Entering Air Dry Bulb", u_.T(r_.EatDb), deg_);
        Right(b, "Refrigerant", refrig_, "", 10000);
        auto& c = Add();
        Left(c, "Leaving Air Dry Bulb", u_.T(r_.LatDb), deg_);
        Right(c, "Ref Press. Drop", RefrigerantPD(), u_.U(Q::RefrigerantPD, "PSI"), rv_);
        auto& d = Add();
        Left(d, fvLabel_, fv_, fvUnit_);
        Right(d, "Number of Circuits", Circuits(), "", rv_);
    }

    void Evaporator() {
        Right(AirFlowRow(), "Evaporator Temp", u_.T(r_.EntFluidTemp), deg_, rv_);
        auto& b = Add();
        Left(b, "Entering Air Dry Bulb", u_.T(r_.EatDb), deg_);
        Right(b, "Number of Circuits", Circuits(), "", rv_);
        auto& c = Add();
        Left(c, "Entering Air Wet Bulb", u_.T(r_.EatWb), deg_);
        Right(c, "Refrigerant Type", refrig_, "", 10000);
        auto& d = Add();
        Left(d, "Leaving Air Dry Bulb", u_.T(r_.LatDb), deg_);
        Right(d, "Ref. Press. Drop", RefrigerantPD(), u_.U(Q::RefrigerantPD, "PSI"), rv_);
        Left(Add(), "Leaving Air Wet Bulb", u_.T(r_.LatWb), deg_);
        Left(Add(), fvLabel_, fv_, fvUnit_);
    }

    // Water and glycol: a heating coil's wet bulbs read "N/A".
    void Liquid(bool g) {
        const bool cooling = r_.EatDb > r_.EntFluidTemp;
        const std::string na = Pad("N/A", 10);
        Right(AirFlowRow(), g ? "Entering Gly. Temp." : "Entering Water Temp", u_.T(r_.EntFluidTemp), deg_,
              rv_);
        auto& b = Add();
        Left(b, "Entering Air Dry Bulb", u_.T(r_.EatDb), deg_);
        Right(b, g ? "Leaving Gly. Temp" : "Leaving Water Temp", u_.T(r_.LvgFluidTemp), deg_, rv_);
        auto& c = Add();
        Left(c, "Entering Air Wet Bulb", cooling ? u_.T(r_.EatWb) : na, cooling ? deg_ : "");
        Right(c, "Number of Circuits", Circuits(), "", rv_);
        auto& d = Add();
        Left(d, "Leaving Air Dry Bulb", u_.T(r_.LatDb), deg_);
        Right(d, u_.L("GPM"), u_.V(Q::FluidFlow, r_.Gpm, "0.00"), u_.U(Q::FluidFlow, ""), rv_);
        auto& e = Add();
        Left(e, "Leaving Air Wet Bulb", cooling ? u_.T(r_.LatWb) : na, cooling ? deg_ : "");
        Right(e, "Water Pressure Drop", u_.V(Q::WaterPD, r_.FluidPD, "0.00"),
              u_.U(Q::WaterPD, g ? "FT" : "FT H2O"), rv_);
        auto& f = Add();
        Left(f, fvLabel_, fv_, fvUnit_);
        Right(f, "Liquid Velocity", u_.V(Q::FluidVelocity, r_.TubeVelocity, "0.00"),
              u_.U(Q::FluidVelocity, "FPS"), rv_);
        auto& h = Add();
        Left(h, "Air Side Pressure Drop", u_.V(Q::AirPD, r_.AirPD, "0.00"),
             u_.U(Q::AirPD, g ? " W.G." : "In. W.G."));
        if (g) Right(h, "Percent Glycol", Num(r_.PercentGlycol, "0.00"), "%", rv_);
    }

    void Steam() {
        Right(AirFlowRow(), "Steam Pressure", u_.V(Q::SteamPressure, r_.SteamPressure, "0.00"),
              u_.U(Q::SteamPressure, "PSI"), rv_);
        auto& b = Add();
        Left(b, "Entering Air Dry Bulb", u_.T(r_.EatDb), deg_);
        Right(b, "Steam Temperature", u_.T(r_.EntFluidTemp), deg_, rv_);
        auto& c = Add();
        Left(c, "Leaving Air Dry Bulb", u_.T(r_.LatDb), deg_);
        Right(c, u_.L("Lbs. / Hr. Cond."), u_.V(Q::MassFlow, r_.Condensate, "0.00"), u_.U(Q::MassFlow, ""),
              rv_);
        auto& d = Add();
        Left(d, fvLabel_, fv_, fvUnit_);
        Right(d, u_.L("Latent Heat (BTU/LB)"), u_.V(Q::LatentHeat, r_.LatentHeat, "0"),
              u_.U(Q::LatentHeat, ""), rv_);
        Left(Add(), "Air Side Pressure Drop", u_.V(Q::AirPD, r_.AirPD, "0.00"), u_.U(Q::AirPD, "In. W.G."));
    }

    const CoilSpec& coilSpec_;
    const CoilRating& r_;
    const Units& u_;
    const std::string deg_;
    const double rv_;
    std::string refrig_;
    const std::string fvLabel_, fvUnit_, fv_;
    std::vector<std::vector<At>> rows_;
};

// A header value set to fit the column from its X to the page's right
// edge: as it is when it fits, else in a smaller size (half a point at a
// time, down to kSmallestPoints), else wrapped in that size. Never cut.
struct FittedText {
    double points = kFontSize;
    std::vector<std::string> lines;
};

FittedText FitColumn(PrintSurface& s, const std::string& text, double width) {
    if (s.TextWidth(text) <= width) return {kFontSize, {text}};
    FittedText fitted{kSmallestPoints, {}};
    for (double points = kFontSize - 0.5; points >= kSmallestPoints; points -= 0.5) {
        s.SetFont(kFont, points);
        if (s.TextWidth(text) <= width && text.find_first_of("\r\n") == std::string::npos) {
            fitted = {points, {text}};
            break;
        }
    }
    if (fitted.lines.empty()) {
        s.SetFont(kFont, kSmallestPoints);
        fitted.lines = WrapLines(s, text, width);
    }
    s.SetFont(kFont, kFontSize);
    return fitted;
}

// Prints `value` at `x` in a row whose top is `top`; returns the row's
// bottom: one text line lower for a value that fits, lower still for a
// wrapped one. A smaller size sits on the row's baseline.
double PrintColumnValue(PrintSurface& s, double x, double top, const std::string& value) {
    const double line = s.TextHeight();
    const FittedText fitted = FitColumn(s, value, s.PageWidth() - x);
    if (fitted.points == kFontSize) {
        s.SetCurrentY(top);
        s.SetCurrentX(x);
        s.Print(value);
        return top + line;
    }
    s.SetFont(kFont, fitted.points);
    double y = top + kAscentShare * (line - s.TextHeight());
    for (const std::string& text : fitted.lines) {
        s.SetCurrentY(y);
        s.SetCurrentX(x);
        s.Print(text);
        y += s.TextHeight();
    }
    s.SetFont(kFont, kFontSize);
    return std::max(top + line, y);
}

// The maker's lines at the left, the job at the right. The maker's lines
// keep their rows; a job value that wraps pushes the job rows below it
// down, and the block ends under the lower of the two columns.
void PrintHeaderBlock(PrintSurface& s, const SheetTexts& t) {
    const std::pair<const char*, std::string> job[5] = {{"Version", kProgramVersion},
                                                        {"Customer", t.txtHdr[3]},
                                                        {"Project", t.txtHdr[4]},
                                                        {"Date", t.txtHdr[0]},
                                                        {"Item", t.txtHdr[1]}};
    const char* maker[5] = {kMakerName, kMakerAddress, kMakerTown, kMakerPhone, kMakerPhone2};
    double rowY = s.CurrentY();
    double jobBottom = rowY;
    for (int i = 0; i < 5; ++i) {
        const double top = std::max(rowY, jobBottom);
        s.SetCurrentY(rowY);
        Row(s, {{0, maker[i]}});
        s.SetCurrentY(top);
        Row(s, {{4500, job[i].first}, {6000, ":"}});
        jobBottom = PrintColumnValue(s, 6500, top, job[i].second);
        rowY = rowY + s.TextHeight();
    }
    s.SetCurrentY(std::max(rowY, jobBottom));
    s.SetCurrentX(0);
    MoveDown(s, 300);
}

// "Type of Coil" with the caption and, from 2000 feet up, the altitude.
void PrintCoilTypeRow(PrintSurface& s, const CoilRating& r, const SheetTexts& t, const Units& u) {
    const std::string caption = CoilCaption(t.coilType, r);
    std::vector<At> row = {{0, "Type of Coil"}, {4000, ":"}, {4500, caption}};
    if (r.Altitude > 1999) {
        // After the caption; a long caption pushes it one blank past
        // its end rather than under it.
        const double x = std::max(6000.0, 4500 + s.TextWidth(caption + " "));
        const std::string altitude =
            u.si ? units::FormatSI(Q::Altitude, r.Altitude) : std::to_string(r.Altitude);
        row.push_back({x, "@ " + altitude + " " + u.L("Feet")});
    }
    Row(s, row);
}

// The construction heading with the model number and the construction rows.
void PrintConstruction(PrintSurface& s, const CoilSpec& coilSpec, const CoilRating& r, const SheetTexts& t,
                       const Units& u) {
    const double top = s.CurrentY();
    Row(s, {{0, "COIL CONSTRUCTION"}, {4000, "KVN Model No."}, {6000, ":"}});
    s.SetCurrentY(PrintColumnValue(s, 6500, top, t.txtHdr[2]));
    s.SetCurrentX(0);
    MoveDown(s, 300);
    PrintCoilTypeRow(s, r, t, u);
    const double second = FieldBefore(s, 8500);
    Row(s, {{0, "Fin Height x Fin Length"},
            {4000, ":"},
            {4500, u.V(Q::Length, coilSpec.FinHeight, "0.00")},
            {6000, u.L("In.   x")},
            {second, u.V(Q::Length, coilSpec.FL, "0.00")},
            {8500, u.L("Inches")}});
    Row(s, {{0, "Rows Deep x Fins / Inch"},
            {4000, ":"},
            {4500, Num(coilSpec.RD)},
            {6000, "Rows  x"},
            {second, Num(coilSpec.FPI)},
            {8500, "Fins Per Inch"}});
    Row(s, {{0, "Tube Od and Thickness"},
            {4000, ":"},
            {4500, Pad(TubeText(t.tubeOD), 10)},
            {6000, "In.   x"},
            {second, Num(coilSpec.TubeWall, ".000")},
            {8500, "Wall"}});
    std::vector<At> fin = {
        {0, "Fin Thick. and Material"}, {4000, ":"}, {4500, Num(coilSpec.FinThk, ".0000")}};
    const std::string mat = FinMaterialText(coilSpec.FinMat);
    if (!mat.empty()) fin.push_back({6000, mat});
    Row(s, fin);
    Row(s, {{0, "Face Area"},
            {4000, ":"},
            {4500, u.V(Q::Area, r.CoilFaceArea, "0.00")},
            {6000, u.U(Q::Area, "Square Feet")}});
    MoveDown(s, 1000);
}

// The air and liquid side headings and the rows of the coil's kind.
void PrintPerformanceBlock(PrintSurface& s, const CoilSpec& coilSpec, const CoilRating& r, CoilType type,
                           const Units& u) {
    Row(s, {{0, "AIR SIDE PERFORMANCE"}, {6750, "LIQUID SIDE PERFORMANCE"}});
    MoveDown(s, 500);
    for (const auto& row : PerformanceRows(s, coilSpec, r, u).For(type)) Row(s, row);
}

// Total capacity; the sensible capacity of an evaporator and of a cooling
// water or glycol coil.
void PrintTotals(PrintSurface& s, const CoilRating& r, CoilType type, const Units& u) {
    MoveDown(s, 400);
    Row(s, {{0, u.L("Total Btuh")},
            {3500, ":"},
            {4000, u.V(Q::Capacity, r.TotalBtuh, "0.00")},
            {5750, u.U(Q::Capacity, "BTU/HR.")}});
    const bool cooling = r.EatDb > r.EntFluidTemp;
    // Water and glycol only: "O" is no coil type of the sheet.
    const bool liquid = type == CoilType::Water || type == CoilType::Glycol;
    if (type == CoilType::Evaporator || (liquid && cooling))
        Row(s, {{0, u.L("Sensible Btuh")},
                {3500, ":"},
                {4000, u.V(Q::Capacity, r.SensibleBtuh, "0.00")},
                {5750, u.U(Q::Capacity, "BTU/HR.")}});
}

// The last notes line that fits, cut short so that " ..." after it still
// fits the page (never inside a UTF-8 sequence): the notes go on.
std::string WithEllipsis(const PrintSurface& s, std::string line) {
    while (!line.empty() && s.TextWidth(line + " ...") > s.PageWidth()) line.pop_back();
    while (!line.empty() && (static_cast<unsigned char>(line.back()) & 0xC0) == 0x80) line.pop_back();
    if (!line.empty() && (static_cast<unsigned char>(line.back()) & 0xC0) == 0xC0) line.pop_back();
    return line + " ...";
}

// The notes, wrapped to the page, in the first `fit` text lines: the last
// one ends in " ..." when the notes go on. Returns the lines printed.
size_t PrintNotes(PrintSurface& s, const std::vector<std::string>& lines, size_t fit) {
    for (size_t i = 0; i < lines.size() && i < fit; ++i) {
        const bool cut = i + 1 == fit && lines.size() > fit;
        s.SetCurrentX(0);
        s.Print(cut ? WithEllipsis(s, lines[i]) : lines[i]);
    }
    return std::min(lines.size(), fit);
}

// The notes and after them the warnings, kept above the coils-per-system
// row. When the warnings do not all fit, as many as fit are printed, each
// whole, and a last line says there are more; the notes then leave that
// line free. Returns false when not even that line is free.
bool PrintNotesAndWarnings(PrintSurface& s, const std::string& notes,
                           const std::vector<std::string>& warnings) {
    MoveDown(s, 400);
    const std::vector<std::string> lines = WrapLines(s, notes, s.PageWidth());
    const double room = kCoilsPerSystemY - s.CurrentY();
    const size_t fit = room > 0 ? static_cast<size_t>(room / s.TextHeight()) : 0;
    std::vector<std::vector<std::string>> wrapped;
    size_t total = lines.size();
    for (const std::string& w : warnings) {
        wrapped.push_back(WrapLines(s, "Warning: " + w, s.PageWidth()));
        total += wrapped.back().size();
    }
    const bool all = total <= fit;
    if (!all && fit == 0) return warnings.empty();
    size_t left = all || warnings.empty() ? fit : fit - 1;
    left -= PrintNotes(s, lines, left);
    for (const std::vector<std::string>& w : wrapped) {
        if (w.size() > left) break;
        for (const std::string& line : w) {
            s.SetCurrentX(0);
            s.Print(line);
        }
        left -= w.size();
    }
    if (!all && !warnings.empty()) {
        s.SetCurrentX(0);
        s.Print(kMoreWarnings);
    }
    return true;
}

// The coils-per-system row, always at the same height.
void PrintCoilsPerSystem(PrintSurface& s, const SheetTexts& t) {
    s.SetCurrentY(kCoilsPerSystemY);
    auto box = [&](int i) { return Pad(CheckIfBlank(t.txtCPS[i], "____"), 4); };
    Row(s, {{0, "NO. OF COILS PER SYSTEM:"},
            {3700, box(0)},
            {4700, box(1)},
            {5500, "HIGH  X"},
            {6700, box(2)},
            {7500, "WIDE  X"},
            {8700, box(3)},
            {9500, "DEEP"}});
}

void PrintFootnotes(PrintSurface& s) {
    MoveDown(s, 400);
    s.SetCurrentX(0);
    s.Print("If more than (1) Coil in system Performance shown above is based");
    s.Print("on (1) individual coil.");
    MoveDown(s, 400);
    s.Print("Ratings outside the scope of the ARI Air-Cooling and");
    s.Print("Air-Heating Coils Certification Program.");
}

// Paragraphs at CR LF, LF or CR.
std::vector<std::string> Paragraphs(const std::string& text) {
    std::vector<std::string> paragraphs(1);
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            paragraphs.emplace_back();
        } else {
            paragraphs.back() += c;
        }
    }
    return paragraphs;
}

// Wraps one paragraph into `out`; an empty paragraph gives one empty line.
class ParagraphWrapper {
public:
    ParagraphWrapper(const PrintSurface& surface, double width, std::vector<std::string>& out)
        : surface_(surface), width_(width), out_(out) {}

    void Wrap(const std::string& para) {
        std::string line;
        bool any = false;
        size_t i = 0;
        while (i < para.size()) {
            // Next word with the blanks before it.
            size_t j = i;
            while (j < para.size() && para[j] == ' ') ++j;
            size_t k = j;
            while (k < para.size() && para[k] != ' ') ++k;
            const std::string blanks = para.substr(i, j - i);
            std::string word = para.substr(j, k - j);
            i = k;
            if (Fits(line + blanks + word)) {
                line += blanks + word;
                continue;
            }
            if (!line.empty()) {
                out_.push_back(line);
                any = true;
            }
            line = BreakLongWord(word, any);
        }
        if (!line.empty() || !any) out_.push_back(line);
    }

private:
    bool Fits(const std::string& s) const { return surface_.TextWidth(s) <= width_; }

    // A word wider than the line is broken at the width (never inside a
    // UTF-8 sequence); returns the rest, which fits.
    std::string BreakLongWord(std::string word, bool& any) {
        while (!word.empty() && !Fits(word)) {
            size_t cut = word.size();
            while (cut > 1 && !Fits(word.substr(0, cut))) {
                --cut;
                while (cut > 1 && (static_cast<unsigned char>(word[cut]) & 0xC0) == 0x80) --cut;
            }
            out_.push_back(word.substr(0, cut));
            any = true;
            word.erase(0, cut);
        }
        return word;
    }

    const PrintSurface& surface_;
    const double width_;
    std::vector<std::string>& out_;
};

}  // namespace

std::string CoilCaption(const std::string& coilType, const CoilRating& rating) {
    const bool heating = rating.EntFluidTemp >= rating.EatDb;
    switch (CoilTypeOf(coilType)) {
        case CoilType::Condenser:
            return "Condenser";
        case CoilType::Evaporator:
            return "Evaporator";
        case CoilType::Glycol:
            return heating ? "Glycol Heating" : "Glycol Cooling";
        case CoilType::Steam:
            return "Steam";
        case CoilType::Water:
            return heating ? "Hot Water" : "Chilled Water";
        // "O" has no caption of its own.
        case CoilType::OtherFluid:
        case CoilType::Unknown:
            break;
    }
    return "";
}

std::vector<std::string> WrapLines(const PrintSurface& surface, const std::string& text, double width) {
    std::vector<std::string> out;
    ParagraphWrapper wrapper(surface, width, out);
    for (const std::string& para : Paragraphs(text)) wrapper.Wrap(para);
    return out;
}

void PrintPerformance(PrintSurface& s, const CoilSpec& coilSpec, const CoilRating& r, const SheetTexts& t) {
    s.SetFont(kFont, kFontSize);
    const CoilType type = CoilTypeOf(t.coilType);
    const Units u{t.units == units::System::SI};
    PrintHeaderBlock(s, t);
    PrintConstruction(s, coilSpec, r, t, u);
    PrintPerformanceBlock(s, coilSpec, r, type, u);
    PrintTotals(s, r, type, u);
    const bool marked = PrintNotesAndWarnings(s, t.txtNotes, t.warnings);
    PrintCoilsPerSystem(s, t);
    PrintFootnotes(s);
    // No line above the coils-per-system row: the mark goes under the
    // footnotes.
    if (!marked) {
        MoveDown(s, 400);
        s.Print(kMoreWarnings);
    }
}

}  // namespace reports
