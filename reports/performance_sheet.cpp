#include "reports/performance_sheet.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "common/calc_driver.h"
#include "common/numfmt.h"
#include "reports/maker.h"
#include "reports/report_units.h"

namespace reports {

namespace {

constexpr const char* kFont = "Courier New";
constexpr double kFontSize = 12;
constexpr const char* kDegF = "\xC2\xBA" "F";  // ºF (inch-pound)

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

void MoveDown(PrintSurface& s, double twips) { s.SetCurrentY(s.CurrentY() + twips); }

// Right-aligned in `width` characters; a longer text is kept whole, never
// cut, so that no digit of a large number is lost.
std::string Pad(const std::string& text, size_t width) {
    return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}
std::string Num(float v, const char* pattern) { return Pad(numfmt::FormatF32(v, pattern), 10); }
std::string Num(int16_t v) { return Pad(numfmt::FormatF64(v, "0"), 10); }

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

std::string TubeText(const std::string& code) {
    if (code == "1") return "1";
    if (code == "3") return "3/8";
    if (code == "4") return "1/2";
    if (code == "5") return "5/8";
    if (code == "6") return "5/16";
    return "";
}

std::string FinMaterialText(const std::string& code) {
    if (code == "A") return "Corrugated Aluminum Fins";
    if (code == "C") return "Corrugated Copper Fins";
    return "";
}

// Left column of a performance row: label, ":", value, unit (unit may be "").
void Left(std::vector<At>& row, const std::string& label, const std::string& value,
          const std::string& unit) {
    row.push_back({0, label});
    row.push_back({3500, ":"});
    row.push_back({4000, value});
    if (!unit.empty()) row.push_back({5750, unit});
}

// The warnings in the `lines` text lines left under the notes: each one
// whole or not at all, so nothing reaches the coils-per-system row.
void PrintWarnings(PrintSurface& s, const std::vector<std::string>& warnings, size_t lines) {
    for (const std::string& w : warnings) {
        const std::vector<std::string> wrapped = WrapLines(s, "Warning: " + w, s.PageWidth());
        if (wrapped.size() > lines) return;
        for (const std::string& line : wrapped) {
            s.SetCurrentX(0);
            s.Print(line);
        }
        lines -= wrapped.size();
    }
}

}  // namespace

std::string CoilCaption(const std::string& coilType, const CoilRating& rating) {
    const bool heating = rating.EntFluidTemp >= rating.EatDb;
    if (coilType == "C") return "Condenser";
    if (coilType == "E") return "Evaporator";
    if (coilType == "G") return heating ? "Glycol Heating" : "Glycol Cooling";
    if (coilType == "S") return "Steam";
    if (coilType == "W") return heating ? "Hot Water" : "Chilled Water";
    return "";
}

std::vector<std::string> WrapLines(const PrintSurface& surface, const std::string& text,
                                   double width) {
    std::vector<std::string> out;
    // Paragraphs at CR LF, LF or CR.
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
    auto fits = [&](const std::string& s) { return surface.TextWidth(s) <= width; };
    for (const std::string& para : paragraphs) {
        std::string line;
        size_t i = 0;
        bool any = false;
        while (i < para.size()) {
            // Next word with the blanks before it.
            size_t j = i;
            while (j < para.size() && para[j] == ' ') ++j;
            size_t k = j;
            while (k < para.size() && para[k] != ' ') ++k;
            const std::string blanks = para.substr(i, j - i);
            std::string word = para.substr(j, k - j);
            i = k;
            if (fits(line + blanks + word)) {
                line += blanks + word;
                continue;
            }
            if (!line.empty()) {
                out.push_back(line);
                any = true;
                line.clear();
            }
            // A word wider than the line is broken at the width (never
            // inside a UTF-8 sequence).
            while (!word.empty() && !fits(word)) {
                size_t cut = word.size();
                while (cut > 1 && !fits(word.substr(0, cut))) {
                    --cut;
                    while (cut > 1 && (static_cast<unsigned char>(word[cut]) & 0xC0) == 0x80) --cut;
                }
                out.push_back(word.substr(0, cut));
                any = true;
                word.erase(0, cut);
            }
            line = word;
        }
        if (!line.empty() || !any) out.push_back(line);
    }
    return out;
}

void PrintPerformance(PrintSurface& s, const CoilSpec& coilSpec, const CoilRating& r,
                      const SheetTexts& t) {
    s.SetFont(kFont, kFontSize);
    const std::string& type = t.coilType;
    const Units u{t.units == units::System::SI};
    const std::string deg = u.U(Q::Temperature, kDegF);

    // 1. Header block: the maker's lines at the left, the job at the right.
    const std::pair<const char*, std::string> job[5] = {
        {"Version", kProgramVersion}, {"Customer", t.txtHdr[3]}, {"Project", t.txtHdr[4]},
        {"Date", t.txtHdr[0]},        {"Item", t.txtHdr[1]}};
    const char* maker[5] = {kMakerName, kMakerAddress, kMakerTown, kMakerPhone, kMakerPhone2};
    for (int i = 0; i < 5; ++i)
        Row(s, {{0, maker[i]}, {4500, job[i].first}, {6000, ":"}, {6500, job[i].second}});
    MoveDown(s, 300);

    // 2. Construction heading with the model number.
    Row(s, {{0, "COIL CONSTRUCTION"}, {4000, "KVN Model No."}, {6000, ":"}, {6500, t.txtHdr[2]}});
    MoveDown(s, 300);

    // 3. Construction rows.
    {
        const std::string caption = CoilCaption(type, r);
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
    const double second = FieldBefore(s, 8500);
    Row(s, {{0, "Fin Height x Fin Length"}, {4000, ":"}, {4500, u.V(Q::Length, coilSpec.FinHeight, "0.00")},
            {6000, u.L("In.   x")}, {second, u.V(Q::Length, coilSpec.FL, "0.00")}, {8500, u.L("Inches")}});
    Row(s, {{0, "Rows Deep x Fins / Inch"}, {4000, ":"}, {4500, Num(coilSpec.RD)}, {6000, "Rows  x"},
            {second, Num(coilSpec.FPI)}, {8500, "Fins Per Inch"}});
    Row(s, {{0, "Tube Od and Thickness"}, {4000, ":"}, {4500, Pad(TubeText(t.tubeOD), 10)},
            {6000, "In.   x"}, {second, Num(coilSpec.TubeWall, ".000")}, {8500, "Wall"}});
    {
        std::vector<At> row = {{0, "Fin Thick. and Material"}, {4000, ":"},
                               {4500, Num(coilSpec.FinThk, ".0000")}};
        const std::string mat = FinMaterialText(coilSpec.FinMat);
        if (!mat.empty()) row.push_back({6000, mat});
        Row(s, row);
    }
    Row(s, {{0, "Face Area"}, {4000, ":"}, {4500, u.V(Q::Area, r.CoilFaceArea, "0.00")},
            {6000, u.U(Q::Area, "Square Feet")}});
    MoveDown(s, 1000);

    // 4. Performance headings.
    Row(s, {{0, "AIR SIDE PERFORMANCE"}, {6750, "LIQUID SIDE PERFORMANCE"}});
    MoveDown(s, 500);

    // 5. Performance rows. The right column's value field ends one blank
    // before its unit.
    const double rv = FieldBefore(s, 11000);
    auto right = [&](std::vector<At>& row, const std::string& label, const std::string& value,
                     const std::string& unit, double valueX) {
        row.push_back({6750, label});
        row.push_back({9600, ":"});
        row.push_back({valueX, value});
        if (!unit.empty()) row.push_back({11000, unit});
    };
    std::string refrig = r.Refrigerant;
    if (refrig.size() < 6) refrig.append(6 - refrig.size(), ' ');
    const bool cooling = r.EatDb > r.EntFluidTemp;
    const std::string fvLabel = u.L("Face Velocity"), fvUnit = u.U(Q::AirVelocity, "SFPM");
    const std::string fv = u.V(Q::AirVelocity, r.FaceVelocity, "0.00");
    std::vector<std::vector<At>> rows;
    auto add = [&]() -> std::vector<At>& { return rows.emplace_back(); };
    if (type == "C") {
        auto& a = add(); Left(a, u.L("Flow, ACFM"), u.V(Q::AirFlow, r.Acfm, "0"), u.U(Q::AirFlow, "ACFM"));
        right(a, "Condenser Temp.", u.T(r.EntFluidTemp), deg, rv);
        auto& b = add(); Left(b, "Entering Air Dry Bulb", u.T(r.EatDb), deg);
        right(b, "Refrigerant", refrig, "", 10000);
        auto& c = add(); Left(c, "Leaving Air Dry Bulb", u.T(r.LatDb), deg);
        right(c, "Ref Press. Drop", u.V(Q::RefrigerantPD, r.FluidPD, "0.00"),
              u.U(Q::RefrigerantPD, "PSI"), rv);
        auto& d = add(); Left(d, fvLabel, fv, fvUnit);
        right(d, "Number of Circuits", Num(coilSpec.Circuits), "", rv);
    } else if (type == "E") {
        auto& a = add(); Left(a, u.L("Flow, ACFM"), u.V(Q::AirFlow, r.Acfm, "0"), u.U(Q::AirFlow, "ACFM"));
        right(a, "Evaporator Temp", u.T(r.EntFluidTemp), deg, rv);
        auto& b = add(); Left(b, "Entering Air Dry Bulb", u.T(r.EatDb), deg);
        right(b, "Number of Circuits", Num(coilSpec.Circuits), "", rv);
        auto& c = add(); Left(c, "Entering Air Wet Bulb", u.T(r.EatWb), deg);
        right(c, "Refrigerant Type", refrig, "", 10000);
        auto& d = add(); Left(d, "Leaving Air Dry Bulb", u.T(r.LatDb), deg);
        right(d, "Ref. Press. Drop", u.V(Q::RefrigerantPD, r.FluidPD, "0.00"),
              u.U(Q::RefrigerantPD, "PSI"), rv);
        Left(add(), "Leaving Air Wet Bulb", u.T(r.LatWb), deg);
        Left(add(), fvLabel, fv, fvUnit);
    } else if (type == "G" || type == "W") {
        const bool g = type == "G";
        const std::string na = Pad("N/A", 10);
        auto& a = add(); Left(a, u.L("Flow, ACFM"), u.V(Q::AirFlow, r.Acfm, "0"), u.U(Q::AirFlow, "ACFM"));
        right(a, g ? "Entering Gly. Temp." : "Entering Water Temp", u.T(r.EntFluidTemp), deg, rv);
        auto& b = add(); Left(b, "Entering Air Dry Bulb", u.T(r.EatDb), deg);
        right(b, g ? "Leaving Gly. Temp" : "Leaving Water Temp", u.T(r.LvgFluidTemp), deg, rv);
        auto& c = add();
        Left(c, "Entering Air Wet Bulb", cooling ? u.T(r.EatWb) : na, cooling ? deg : "");
        right(c, "Number of Circuits", Num(coilSpec.Circuits), "", rv);
        auto& d = add(); Left(d, "Leaving Air Dry Bulb", u.T(r.LatDb), deg);
        right(d, u.L("GPM"), u.V(Q::FluidFlow, r.Gpm, "0.00"), u.U(Q::FluidFlow, ""), rv);
        auto& e = add();
        Left(e, "Leaving Air Wet Bulb", cooling ? u.T(r.LatWb) : na, cooling ? deg : "");
        right(e, "Water Pressure Drop", u.V(Q::WaterPD, r.FluidPD, "0.00"),
              u.U(Q::WaterPD, g ? "FT" : "FT H2O"), rv);
        auto& f = add(); Left(f, fvLabel, fv, fvUnit);
        right(f, "Liquid Velocity", u.V(Q::FluidVelocity, r.TubeVelocity, "0.00"),
              u.U(Q::FluidVelocity, "FPS"), rv);
        auto& h = add();
        Left(h, "Air Side Pressure Drop", u.V(Q::AirPD, r.AirPD, "0.00"),
             u.U(Q::AirPD, g ? " W.G." : "In. W.G."));
        if (g) right(h, "Percent Glycol", Num(r.PercentGlycol, "0.00"), "%", rv);
    } else if (type == "S") {
        auto& a = add(); Left(a, u.L("Flow, ACFM"), u.V(Q::AirFlow, r.Acfm, "0"), u.U(Q::AirFlow, "ACFM"));
        right(a, "Steam Pressure", u.V(Q::SteamPressure, r.SteamPressure, "0.00"),
              u.U(Q::SteamPressure, "PSI"), rv);
        auto& b = add(); Left(b, "Entering Air Dry Bulb", u.T(r.EatDb), deg);
        right(b, "Steam Temperature", u.T(r.EntFluidTemp), deg, rv);
        auto& c = add(); Left(c, "Leaving Air Dry Bulb", u.T(r.LatDb), deg);
        right(c, u.L("Lbs. / Hr. Cond."), u.V(Q::MassFlow, r.Condensate, "0.00"), u.U(Q::MassFlow, ""), rv);
        auto& d = add(); Left(d, fvLabel, fv, fvUnit);
        right(d, u.L("Latent Heat (BTU/LB)"), u.V(Q::LatentHeat, r.LatentHeat, "0"), u.U(Q::LatentHeat, ""),
              rv);
        Left(add(), "Air Side Pressure Drop", u.V(Q::AirPD, r.AirPD, "0.00"), u.U(Q::AirPD, "In. W.G."));
    }
    for (const auto& row : rows) Row(s, row);

    // 6. Totals.
    MoveDown(s, 400);
    Row(s, {{0, u.L("Total Btuh")}, {3500, ":"}, {4000, u.V(Q::Capacity, r.TotalBtuh, "0.00")},
            {5750, u.U(Q::Capacity, "BTU/HR.")}});
    if (type == "E" || ((type == "W" || type == "G") && cooling))
        Row(s, {{0, u.L("Sensible Btuh")}, {3500, ":"}, {4000, u.V(Q::Capacity, r.SensibleBtuh, "0.00")},
                {5750, u.U(Q::Capacity, "BTU/HR.")}});

    // 7. Notes, wrapped to the page and kept above the coils-per-system
    // row: lines that would reach into it are left off.
    MoveDown(s, 400);
    size_t fit = 0;
    {
        const std::vector<std::string> lines = WrapLines(s, t.txtNotes, s.PageWidth());
        const double room = kCoilsPerSystemY - s.CurrentY();
        fit = room > 0 ? static_cast<size_t>(room / s.TextHeight()) : 0;
        for (size_t i = 0; i < lines.size() && i < fit; ++i) {
            std::string line = lines[i];
            // The last line that fits says that the notes go on.
            if (i + 1 == fit && lines.size() > fit) {
                while (!line.empty() && s.TextWidth(line + " ...") > s.PageWidth()) line.pop_back();
                while (!line.empty() && (static_cast<unsigned char>(line.back()) & 0xC0) == 0x80) line.pop_back();
                if (!line.empty() && (static_cast<unsigned char>(line.back()) & 0xC0) == 0xC0) line.pop_back();
                line += " ...";
            }
            s.SetCurrentX(0);
            s.Print(line);
        }
        fit = lines.size() < fit ? fit - lines.size() : 0;
    }
    PrintWarnings(s, t.warnings, fit);

    // 8. Coils per system, always at the same height.
    s.SetCurrentY(kCoilsPerSystemY);
    auto box = [&](int i) { return Pad(CheckIfBlank(t.txtCPS[i], "____"), 4); };
    Row(s, {{0, "NO. OF COILS PER SYSTEM:"}, {3700, box(0)}, {4700, box(1)}, {5500, "HIGH  X"},
            {6700, box(2)}, {7500, "WIDE  X"}, {8700, box(3)}, {9500, "DEEP"}});

    // 9. Footnotes.
    MoveDown(s, 400);
    s.SetCurrentX(0);
    s.Print("If more than (1) Coil in system Performance shown above is based");
    s.Print("on (1) individual coil.");
    MoveDown(s, 400);
    s.Print("Ratings outside the scope of the ARI Air-Cooling and");
    s.Print("Air-Heating Coils Certification Program.");
}

}  // namespace reports
