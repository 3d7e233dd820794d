#include "common/units.h"

#include <cctype>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <string_view>

#include "common/numfmt.h"
#include "engine/coil_type.h"

namespace units {

namespace {

// Exact definitions behind the factors:
//   1 ft = 0.3048 m, 1 in = 25.4 mm, 1 lb = 0.45359237 kg,
//   1 Btu (International Table) = 1055.05585262 J, 1 US gal = 3.785411784 L,
//   standard gravity 9.80665 m/s2, so 1 psi = 0.45359237 x 9.80665 / 0.0254^2
//   Pa = 6894.757293168 Pa.
// Water columns are the conventional ones: water of 1000 kg/m3 under
// standard gravity, so 1 in. w.g. = 0.0254 x 9806.65 Pa = 249.08891 Pa and
// 1 ft of water = 2989.06692 Pa. They are exact by definition and are what
// manometers and gauges read; they lie 3 ppm from a column of water at
// 39.2 F and 0.1 % from one at 60 F or 68 F, well inside the accuracy of
// the pressure-drop correlations and below the last digit shown.
constexpr double kFt = 0.3048;
constexpr double kLb = 0.45359237;
constexpr double kBtu = 1055.05585262;
constexpr double kGal = 3.785411784;
constexpr double kGn = 9.80665;
constexpr double kPsi = kLb * kGn / (0.0254 * 0.0254);  // Pa

const QuantityInfo kQuantities[] = {
    {Quantity::Temperature, "°F", "°C", 5.0 / 9.0, 32, "0.0", "0.00", "0.00"},
    {Quantity::AirFlow, "cfm", "m³/h", kFt* kFt* kFt * 60, 0, "0", "0", "0"},
    {Quantity::AirVelocity, "fpm", "m/s", kFt / 60, 0, "0.00", "0.000", "0.0"},
    {Quantity::Capacity, "Btu/h", "kW", kBtu / 3600 / 1000, 0, "0.00", "0.00", "0"},
    {Quantity::AirPD, "in. w.g.", "Pa", 0.0254 * 1000 * kGn, 0, "0", "0", "0.000"},
    {Quantity::WaterPD, "ft of water", "kPa", kFt * 1000 * kGn / 1000, 0, "0.0", "0.00", "0.00"},
    {Quantity::RefrigerantPD, "psi", "kPa", kPsi / 1000, 0, "0.0", "0.00", "0.00"},
    {Quantity::FluidFlow, "gpm", "L/s", kGal / 60, 0, "0.00", "0.000", "0.00"},
    {Quantity::FluidVelocity, "ft/s", "m/s", kFt, 0, "0.00", "0.00", "0.00"},
    {Quantity::Altitude, "ft", "m", kFt, 0, "0", "0", "0"},
    {Quantity::SteamPressure, "psig", "kPa(g)", kPsi / 1000, 0, "0.0", "0.0", "0.00"},
    {Quantity::Length, "in", "mm", 25.4, 0, "0", "0.0", "0.00"},
    {Quantity::Area, "ft²", "m²", kFt* kFt, 0, "0.000", "0.000", "0.00"},
    {Quantity::MassFlow, "lb/h", "kg/h", kLb, 0, "0.0", "0.0", "0.00"},
    {Quantity::LatentHeat, "Btu/lb", "kJ/kg", kBtu / kLb / 1000, 0, "0", "0", "0"},
};

const std::map<std::string, Quantity>& FieldQuantities() {
    static const std::map<std::string, Quantity> m = {
        {"Altitude", Quantity::Altitude},
        {"Acfm", Quantity::AirFlow},
        {"Scfm", Quantity::AirFlow},
        {"AirVel", Quantity::AirVelocity},
        {"EatDb", Quantity::Temperature},
        {"EatWb", Quantity::Temperature},
        {"EntFluidTemp", Quantity::Temperature},
        {"Gpm", Quantity::FluidFlow},
        {"SteamPressure", Quantity::SteamPressure},
        {"FL", Quantity::Length},
    };
    return m;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
bool IsDigit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

// End of the leading number that numfmt::Val reads from `begin` (sign,
// digits with an optional point, an exponent with digits); `begin` when
// there is none.
size_t NumberEnd(const std::string& s, size_t begin) {
    size_t i = begin;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    size_t digits = 0;
    while (i < s.size() && IsDigit(s[i])) ++i, ++digits;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && IsDigit(s[i])) ++i, ++digits;
    }
    if (digits == 0) return begin;
    if (i < s.size() && std::string("eEdD").find(s[i]) != std::string::npos) {
        size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
        const size_t first = j;
        while (j < s.size() && IsDigit(s[j])) ++j;
        if (j > first) i = j;
    }
    return i;
}

// 15 significant digits: every digit a double holds for certain, so that
// 1219.2 mm reads back as 48 in rather than 48.000000000000007.
std::string Exact(double v) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.15g", v);
    return buf;
}

std::string Trimmed(std::string s) {
    if (s.find('.') == std::string::npos) return s;
    while (s.back() == '0') s.pop_back();
    if (s.back() == '.') s.pop_back();
    if (s == "-0") s = "0";
    return s;
}

System Other(System s) {
    return s == System::SI ? System::InchPound : System::SI;
}

// ---- Captions -----------------------------------------------------------

const std::map<std::string, std::string>& Captions() {
    static const std::map<std::string, std::string> m = {
        {"Altitude (ft)", "Altitude (m)"},
        {"CFM", "m³/h"},
        {"Air velocity (fpm)", "Air velocity (m/s)"},
        {"Ent air db (°f )", "Ent air db (°C)"},
        {"Ent air wb (°f )", "Ent air wb (°C)"},
        {"Ent Fluid (°f)", "Ent Fluid (°C)"},
        {"Evap. Temp. (°f)", "Evap. Temp. (°C)"},
        {"Glycol Temp. (°f)", "Glycol Temp. (°C)"},
        {"Cond. Temp. (°f)", "Cond. Temp. (°C)"},
        {"Gpm", "L/s"},
        {"Steam Pres", "Steam Pres (kPa)"},
        {"Finned Length:", "Finned Length (mm):"},
        // Unit labels beside the fields.
        {"in", "mm"},
        {"in.", "mm"},
        {"ft", "m"},
        {"cfm", "m³/h"},
        {"fpm", "m/s"},
        {"°F", "°C"},
        {"°f", "°C"},
        {"gpm", "L/s"},
        {"psig", "kPa(g)"},
        {" Altitude in feet", " Altitude in metres"},
        {" Entering air dry bulb (°f )", " Entering air dry bulb (°C)"},
        {" Entering air wet bulb (°f )", " Entering air wet bulb (°C)"},
        {" Entering fluid temperature (°f )", " Entering fluid temperature (°C)"},
        {" Fluid flow (gallons per minute)", " Fluid flow (litres per second)"},
        {"Leave blank if below 2000 feet", "Leave blank if below 610 m"},
    };
    return m;
}

// ---- Messages -------------------------------------------------------------

const std::map<std::string, std::string>& Messages() {
    static const std::map<std::string, std::string> m = {
        {"Please input the ACFM before Proceeding", "Please input the air flow (m³/h) before Proceeding"},
        {"Please input the SCFM before Proceeding",
         "Please input the standard air flow (m³/h) before Proceeding"},
        {"Please input the PSI value before Proceeding",
         "Please input the steam pressure (kPa) before Proceeding"},
        {"GPM value must be greater than 0", "Fluid flow (L/s) must be greater than 0"},
    };
    return m;
}

// Inch-pound unit words that may close a range in a message.
bool RangeUnit(const std::string& word, Quantity& q) {
    static const std::map<std::string, Quantity> m = {
        {"ft", Quantity::Altitude},   {"feet", Quantity::Altitude},      {"°F", Quantity::Temperature},
        {"F", Quantity::Temperature}, {"cfm", Quantity::AirFlow},        {"fpm", Quantity::AirVelocity},
        {"gpm", Quantity::FluidFlow}, {"psig", Quantity::SteamPressure}, {"psi", Quantity::SteamPressure},
        {"in", Quantity::Length},     {"in.", Quantity::Length},         {"inches", Quantity::Length},
    };
    const auto it = m.find(word);
    if (it == m.end()) return false;
    q = it->second;
    return true;
}

// "... between A and B <unit>..." with A, B and the unit converted.
bool ConvertRange(const std::string& text, std::string& out) {
    const std::string between = "between ";
    const size_t b = text.find(between);
    if (b == std::string::npos) return false;
    const size_t aStart = b + between.size();
    const size_t aEnd = NumberEnd(text, aStart);
    if (aEnd == aStart || text.compare(aEnd, 5, " and ") != 0) return false;
    const size_t cStart = aEnd + 5;
    const size_t cEnd = NumberEnd(text, cStart);
    if (cEnd == cStart || cEnd >= text.size() || text[cEnd] != ' ') return false;
    size_t uEnd = cEnd + 1;
    while (uEnd < text.size() && text[uEnd] != ' ' && text[uEnd] != ',' && text[uEnd] != ';' &&
           text[uEnd] != ')' && !(text[uEnd] == '.' && uEnd + 1 == text.size()))
        ++uEnd;
    Quantity q;
    if (!RangeUnit(text.substr(cEnd + 1, uEnd - cEnd - 1), q)) return false;
    const double a = ToSI(q, numfmt::Val(text.substr(aStart, aEnd - aStart)));
    const double c = ToSI(q, numfmt::Val(text.substr(cStart, cEnd - cStart)));
    out = text.substr(0, aStart) + FieldText(q, System::SI, a) + " and " + FieldText(q, System::SI, c) + " " +
          Info(q).siUnit + text.substr(uEnd);
    return true;
}

// ---- Grid -------------------------------------------------------------------

using Getter = float (*)(const CoilSpec&, const CoilRating&);
struct GridLabel {
    const char* ip;
    const char* si;
    Quantity q;
    Getter get;
};

const GridLabel kGridLabels[] = {
    {"Btuh (Total) ", "kW (Total)   ", Quantity::Capacity,
     [](const CoilSpec&, const CoilRating& r) { return r.TotalBtuh; }},
    {"Btuh (Sens)  ", "kW (Sens)    ", Quantity::Capacity,
     [](const CoilSpec&, const CoilRating& r) { return r.SensibleBtuh; }},
    {"Air PD (IN W.G.)", "Air PD (Pa)", Quantity::AirPD,
     [](const CoilSpec&, const CoilRating& r) { return r.AirPD; }},
    {"Scfm         ", "Std air (m³/h)", Quantity::AirFlow,
     [](const CoilSpec&, const CoilRating& r) { return r.Scfm; }},
    {"Air Velocity (SFPM)", "Air Velocity (std m/s)", Quantity::AirVelocity,
     [](const CoilSpec&, const CoilRating& r) { return r.FaceVelocity; }},
    {"LAT DB (°F)", "LAT DB (°C)", Quantity::Temperature,
     [](const CoilSpec&, const CoilRating& r) { return r.LatDb; }},
    {"Condensate (Lbs/Hr)", "Condensate (kg/h)", Quantity::MassFlow,
     [](const CoilSpec&, const CoilRating& r) { return r.Condensate; }},
    {"Latent heat  ", "Latent heat (kJ/kg)", Quantity::LatentHeat,
     [](const CoilSpec&, const CoilRating& r) { return r.LatentHeat; }},
    {"Refr. PD (PSI)", "Refr. PD (kPa)", Quantity::RefrigerantPD,
     [](const CoilSpec&, const CoilRating& r) { return r.FluidPD; }},
    {"LAT WB (°F)", "LAT WB (°C)", Quantity::Temperature,
     [](const CoilSpec&, const CoilRating& r) { return r.LatWb; }},
    {"LAT WB  (°F)", "LAT WB  (°C)", Quantity::Temperature,
     [](const CoilSpec&, const CoilRating& r) { return r.LatWb; }},
    {"Lvg Fl Temp (°F)", "Lvg Fl Temp (°C)", Quantity::Temperature,
     [](const CoilSpec&, const CoilRating& r) { return r.LvgFluidTemp; }},
    {"Water PD (FT H20)", "Water PD (kPa)", Quantity::WaterPD,
     [](const CoilSpec&, const CoilRating& r) { return r.FluidPD; }},
    {"Glycol PD  (FT H2O)", "Glycol PD  (kPa)", Quantity::WaterPD,
     [](const CoilSpec&, const CoilRating& r) { return r.FluidPD; }},
    {"Water Vel (FPS)", "Water Vel (m/s)", Quantity::FluidVelocity,
     [](const CoilSpec&, const CoilRating& r) { return r.TubeVelocity; }},
    {"Glycol Vel (FPS)", "Glycol Vel (m/s)", Quantity::FluidVelocity,
     [](const CoilSpec&, const CoilRating& r) { return r.TubeVelocity; }},
    {"Fin Height", "Fin Height (mm)", Quantity::Length,
     [](const CoilSpec& s, const CoilRating&) { return s.FinHeight; }},
};

// A heating water or glycol coil has no leaving wet bulb (the air is not
// dehumidified): the record's figure there is a placeholder, not a
// temperature, and is not converted into one.
bool IsPlaceholder(const GridLabel& l, const CoilSpec& coilSpec, const CoilRating& r) {
    const std::string_view ip = l.ip;
    if (ip.rfind("LAT WB", 0) != 0) return false;
    const CoilType type = CoilTypeOf(coilSpec.Application);
    return (type == CoilType::Water || type == CoilType::Glycol) && !(r.EatDb > r.EntFluidTemp);
}

}  // namespace

const char* const kNotApplicable = "N/A";

bool ParseSystem(const std::string& text, System& system) {
    std::string t;
    for (char c : text) t += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (t == "si")
        system = System::SI;
    else if (t == "ip")
        system = System::InchPound;
    else
        return false;
    return true;
}

const QuantityInfo& Info(Quantity q) {
    for (const QuantityInfo& i : kQuantities)
        if (i.quantity == q) return i;
    return kQuantities[0];
}

double ToSI(Quantity q, double ip) {
    const QuantityInfo& i = Info(q);
    return (ip - i.offset) * i.factor;
}

double ToInchPound(Quantity q, double si) {
    const QuantityInfo& i = Info(q);
    return si / i.factor + i.offset;
}

bool FieldQuantity(const std::string& key, Quantity& q) {
    const auto it = FieldQuantities().find(key);
    if (it == FieldQuantities().end()) return false;
    q = it->second;
    return true;
}

std::string ConvertEntryText(Quantity q, System from, const std::string& text) {
    size_t start = 0;
    while (start < text.size() && IsBlank(text[start])) ++start;
    if (start == text.size()) return text;  // empty or blank: the same in both
    // A text that is not wholly one number is refused as it was typed.
    if (!numfmt::IsNumeric(text)) return text;
    const size_t end = NumberEnd(text, start);
    const double value = numfmt::Val(text.substr(start, end - start));
    const double converted = from == System::SI ? ToInchPound(q, value) : ToSI(q, value);
    if (!std::isfinite(converted)) return text;
    return text.substr(0, start) + Exact(converted) + text.substr(end);
}

std::string FieldText(Quantity q, System system, double value, int maxLength) {
    const std::string pattern = system == System::SI ? Info(q).siField : Info(q).ipField;
    const size_t point = pattern.find('.');
    int decimals = point == std::string::npos ? 0 : static_cast<int>(pattern.size() - point - 1);
    std::string text;
    for (; decimals >= 0; --decimals) {
        text = Trimmed(numfmt::FormatF64(value, decimals ? "0." + std::string(decimals, '0') : "0"));
        if (maxLength <= 0 || static_cast<int>(text.size()) <= maxLength) break;
    }
    return text;
}

std::string EntryMemory::Switch(const std::string& key, System from, const std::string& shown,
                                int maxLength) {
    Quantity q;
    if (!FieldQuantity(key, q)) return shown;
    const System to = Other(from);
    const auto it = memory_.find(key);
    if (it != memory_.end()) {
        const Entry e = it->second;
        memory_.erase(it);
        if (e.source == to && e.shownText == shown) return e.sourceText;
    }
    if (!numfmt::IsNumeric(shown)) return shown;
    const double v = numfmt::Val(shown);
    const double converted = from == System::InchPound ? ToSI(q, v) : ToInchPound(q, v);
    if (!std::isfinite(converted)) return shown;
    const std::string text = FieldText(q, to, converted, maxLength);
    memory_[key] = {from, shown, text};
    return text;
}

std::string EntryMemory::InchPoundText(const std::string& key, System system,
                                       const std::string& shown) const {
    Quantity q;
    if (system == System::InchPound || !FieldQuantity(key, q)) return shown;
    const auto it = memory_.find(key);
    if (it != memory_.end() && it->second.source == System::InchPound && it->second.shownText == shown)
        return it->second.sourceText;
    return ConvertEntryText(q, System::SI, shown);
}

FieldTexts EntryMemory::InchPoundFields(const FieldTexts& shown, System system) const {
    FieldTexts out = shown;
    for (auto& [key, text] : out) text = InchPoundText(key, system, text);
    return out;
}

std::string Caption(System system, const std::string& ipCaption) {
    if (system == System::InchPound) return ipCaption;
    const auto it = Captions().find(ipCaption);
    return it == Captions().end() ? ipCaption : it->second;
}

bool HasSiCaption(const std::string& text) {
    return Captions().count(text) != 0;
}

std::string Message(System system, const std::string& ipMessage) {
    if (system == System::InchPound) return ipMessage;
    const auto it = Messages().find(ipMessage);
    if (it != Messages().end()) return it->second;
    // "<field> value ..." for a field named by its inch-pound unit.
    static const std::pair<std::string, std::string> kNames[] = {
        {"ACFM value ", "Air flow (m³/h) value "},
        {"GPM value ", "Fluid flow (L/s) value "},
        {"PSI value ", "Steam pressure (kPa) value "},
    };
    for (const auto& [ip, si] : kNames)
        if (ipMessage.rfind(ip, 0) == 0) return si + ipMessage.substr(ip.size());
    std::string out;
    return ConvertRange(ipMessage, out) ? out : ipMessage;
}

std::string GridValue(double value) {
    if (std::fabs(value) <= FLT_MAX) return sRightJustify(static_cast<float>(value));
    return numfmt::RightJustify(numfmt::FormatF64(value, "0.000"), 14);
}

std::vector<GridRow> GridRows(System system, const std::vector<GridRow>& ipRows, const CoilSpec& coilSpec,
                              const CoilRating& rating) {
    if (system == System::InchPound) return ipRows;
    std::vector<GridRow> out;
    for (const GridRow& row : ipRows) {
        const GridLabel* found = nullptr;
        for (const GridLabel& l : kGridLabels)
            if (row.label == l.ip) found = &l;
        if (!found) {
            out.push_back(row);
            continue;
        }
        if (IsPlaceholder(*found, coilSpec, rating))
            out.push_back({found->si, numfmt::RightJustify(kNotApplicable, 14)});
        else
            out.push_back({found->si, GridValue(ToSI(found->q, found->get(coilSpec, rating)))});
    }
    return out;
}

std::string FormatSI(Quantity q, double ip) {
    return numfmt::FormatF64(ToSI(q, ip), Info(q).siPattern);
}

}  // namespace units
