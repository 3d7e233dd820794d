#include "common/warnings.h"

#include <algorithm>
#include <cctype>
#include <string>
#include <iterator>

#include "common/numfmt.h"
#include "common/units.h"
#include "engine/coil_type.h"

const WarningLimit kWarningLimits[kWarningLimitCount] = {
    {kWetFaceVelocityMax, 500, "ft/min",
     "Above this face velocity condensate is blown off standard fins into the air stream "
     "(carryover); a wet coil needs a lower velocity or an eliminator."},
    {kTubeVelocityMin, 1, "ft/s",
     "Below this tube velocity heat transfer is poor and air and dirt settle in the tubes."},
    {kTubeVelocityMax, 8, "ft/s", "Above this tube velocity copper tubes erode and the flow becomes noisy."},
    {kHotTubeVelocityMax, 5, "ft/s",
     "Hot fluid erodes copper sooner: the velocity limit is lower above the hot-fluid temperature."},
    {kHotFluidTemp, 140, "F",
     "Entering fluid above this temperature counts as hot for the tube velocity limit."},
    {kWaterCoilAirMin, 35, "F",
     "Air entering a water coil below this temperature can freeze the water in the tubes "
     "when the flow slows or stops."},
};

double Limit(WarningLimitId id) {
    return kWarningLimits[id].value;
}

namespace {

// Freezing points of aqueous ethylene glycol (the solution the engine's
// glycol properties describe) by mass per cent, deg C: ASHRAE Handbook --
// Fundamentals (2009), chapter 31 "Physical Properties of Secondary Coolants
// (Brines)", table 4 "Properties of Aqueous Solutions of Ethylene Glycol".
// Between rows the freezing point is interpolated linearly; above 60 % the
// 60 % value is kept (the solution is near its eutectic there and does not
// freeze much lower; the form takes up to 70 %).
struct FreezeRow {
    double percent;
    double celsius;
};
constexpr FreezeRow kGlycolFreezing[] = {
    {0, 0.0},    {5, -1.4},   {10, -3.2},  {15, -5.4},  {20, -7.8},  {25, -10.7}, {30, -14.1},
    {35, -17.9}, {40, -22.3}, {45, -27.5}, {50, -33.8}, {55, -41.1}, {60, -48.3},
};

double Fahrenheit(double celsius) {
    return celsius * 1.8 + 32.0;
}

std::string Num(double v) {
    return numfmt::GeneralF64(v);
}

std::string Deg(double v) {
    return Num(v) +
           " \xC2\xB0"
           "F";
}

}  // namespace

double FluidFreezingPoint(bool glycol, double percent) {
    if (!glycol || percent <= 0) return Fahrenheit(0.0);
    const auto last = std::end(kGlycolFreezing) - 1;
    if (percent >= last->percent) return Fahrenheit(last->celsius);
    const auto hi = std::find_if(std::begin(kGlycolFreezing), std::end(kGlycolFreezing),
                                 [percent](const FreezeRow& r) { return r.percent >= percent; });
    const auto lo = hi - 1;
    const double f = (percent - lo->percent) / (hi->percent - lo->percent);
    return Fahrenheit(lo->celsius + (hi->celsius - lo->celsius) * f);
}

namespace {

// What the warnings ask of a rated coil, worked out once.
struct CoilView {
    const CoilRating& r;
    const RatingFacts& facts;
    CoilType type;
    bool liquid;  // water, glycol or another fluid
    bool waterOrGlycol;
    bool refrigerant;  // evaporator or condenser
    bool cooling;      // the air enters warmer than the fluid
};

using Warnings = std::vector<CoilWarning>;

void Add(Warnings& out, const char* code, std::string text) {
    out.push_back({code, std::move(text)});
}

// A cooling coil with a wet surface: a liquid coil with a wet part, or an
// evaporator that takes moisture out of the air.
void WetFaceVelocity(const CoilView& c, Warnings& out) {
    const CoilRating& r = c.r;
    const bool evaporatorDrying = c.type == CoilType::Evaporator && r.TotalBtuh > r.SensibleBtuh;
    const bool wet = c.cooling && ((c.liquid && r.WetFraction > 0) || evaporatorDrying);
    if (wet && r.FaceVelocity > Limit(kWetFaceVelocityMax))
        Add(out, "face-velocity-wet",
            "Face velocity above " + Num(Limit(kWetFaceVelocityMax)) +
                " ft/min on a wet coil: condensate may be blown off the fins");
}

void TubeVelocity(const CoilView& c, Warnings& out) {
    if (!c.waterOrGlycol) return;
    const CoilRating& r = c.r;
    const bool hot = r.EntFluidTemp > Limit(kHotFluidTemp);
    const double high = hot ? Limit(kHotTubeVelocityMax) : Limit(kTubeVelocityMax);
    if (r.TubeVelocity < Limit(kTubeVelocityMin))
        Add(out, "tube-velocity-low",
            "Fluid velocity below " + Num(Limit(kTubeVelocityMin)) +
                " ft/s: poor heat transfer; air and dirt may settle in the tubes");
    else if (r.TubeVelocity > high)
        Add(out, "tube-velocity-high",
            "Fluid velocity above " + Num(high) + " ft/s" +
                (hot ? " with fluid hotter than " + Deg(Limit(kHotFluidTemp)) : std::string()) +
                ": tube erosion and noise");
}

void LaminarFlow(const CoilView& c, Warnings& out) {
    if (c.facts.laminarFilm && c.liquid)
        Add(out, "laminar-flow",
            "Laminar or transitional flow in the tubes: the capacity is very sensitive to the flow");
}

void FreezeRisk(const CoilView& c, Warnings& out) {
    const CoilRating& r = c.r;
    if (c.type == CoilType::Water && r.EatDb < Limit(kWaterCoilAirMin)) {
        Add(out, "freeze-risk",
            "Entering air below " + Deg(Limit(kWaterCoilAirMin)) + " on a water coil: the coil may freeze");
    } else if (c.waterOrGlycol) {
        const double freeze = FluidFreezingPoint(c.type == CoilType::Glycol, r.PercentGlycol);
        if (std::min(r.EntFluidTemp, r.LvgFluidTemp) <= freeze)
            Add(out, "freeze-risk",
                "Fluid at or below its freezing point of " + Deg(freeze) + ": the coil may freeze");
    }
}

void AssumedInputs(const CoilView& c, Warnings& out) {
    if (c.facts.circuitsBlank && c.type != CoilType::Steam)
        Add(out, "one-circuit-assumed", "Circuits left blank: rated with one circuit");
    // Only where the wet bulb is part of the result (the sheet prints it):
    // evaporators and cooling liquid coils.
    if (c.facts.wetBulbAssumed && (c.type == CoilType::Evaporator || (c.liquid && c.cooling)))
        Add(out, "wet-bulb-assumed",
            "Entering wet bulb not given: rated at 1 \xC2\xB0"
            "F below the dry bulb");
}

void TrialLimit(const CoilView& c, Warnings& out) {
    if (c.facts.trialLimit)
        Add(out, "trial-limit",
            "The calculation did not settle: the result is the mean of its last two trials "
            "and only approximate");
}

// Air cannot leave beyond the temperature of the medium that cools or heats
// it; where it does the correlations are outside their range.
void LeavingBeyondMedium(const CoilView& c, Warnings& out) {
    const CoilRating& r = c.r;
    const bool steam = c.type == CoilType::Steam;
    const bool beyond = (c.cooling && r.LatDb < r.EntFluidTemp) || (!c.cooling && r.LatDb > r.EntFluidTemp) ||
                        (c.type == CoilType::Evaporator && r.LatWb < r.EntFluidTemp);
    if (!beyond || !(c.liquid || c.refrigerant || steam)) return;
    const char* medium = c.refrigerant ? "refrigerant" : steam ? "steam" : "fluid";
    Add(out, "leaving-below-refrigerant",
        std::string("Leaving air beyond the ") + medium +
            " temperature: outside the range of the correlations");
}

}  // namespace

std::vector<CoilWarning> CoilWarnings(const CoilSpec& s, const CoilRating& r, const RatingFacts& facts) {
    const CoilType type = CoilTypeOf(s.Application);
    const CoilView c{r,
                     facts,
                     type,
                     IsLiquidCoil(type),
                     type == CoilType::Water || type == CoilType::Glycol,
                     IsRefrigerantCoil(type),
                     r.EatDb > r.EntFluidTemp};
    Warnings out;
    WetFaceVelocity(c, out);
    TubeVelocity(c, out);
    LaminarFlow(c, out);
    FreezeRisk(c, out);
    AssumedInputs(c, out);
    TrialLimit(c, out);
    LeavingBeyondMedium(c, out);
    return out;
}

std::string WarningsLine(const std::vector<CoilWarning>& warnings) {
    std::string line;
    for (const CoilWarning& w : warnings) {
        if (!line.empty()) line += "; ";
        line += w.text;
    }
    return line;
}

namespace {

// The inch-pound units a warning text quotes, each with its SI form.
struct QuotedUnit {
    const char* ip;  // " ft/min", as it follows the number
    units::Quantity q;
    const char* pattern;  // SI decimals
    bool trim;            // trailing zeros of the decimals dropped
};
const QuotedUnit kQuotedUnits[] = {
    {" ft/min", units::Quantity::AirVelocity, "0.00", false},
    {" ft/s", units::Quantity::FluidVelocity, "0.00", false},
    {" \xC2\xB0"
     "F below",
     units::Quantity::Temperature, "", false},  // a difference, not a temperature
    {" \xC2\xB0"
     "F",
     units::Quantity::Temperature, "0.0", true},
};

// The number that ends at `end` in `text` (digits, point, sign); its start.
size_t NumberStart(const std::string& text, size_t end) {
    size_t i = end;
    while (i > 0 && (std::isdigit(static_cast<unsigned char>(text[i - 1])) || text[i - 1] == '.')) --i;
    if (i > 0 && text[i - 1] == '-') --i;
    return i;
}

std::string SiQuote(const QuotedUnit& u, double ip) {
    if (u.pattern[0] == '\0')  // a temperature difference in kelvin
        return numfmt::FormatF64(ip * units::Info(u.q).factor, "0.00") + " K below";
    std::string v = numfmt::FormatF64(units::ToSI(u.q, ip), u.pattern);
    if (u.trim) {
        while (v.back() == '0') v.pop_back();
        if (v.back() == '.') v.pop_back();
        if (v == "-0") v = "0";
    }
    return v + " " + units::Info(u.q).siUnit;
}

}  // namespace

std::string WarningText(units::System system, const std::string& ipText) {
    if (system == units::System::InchPound) return ipText;
    std::string out;
    size_t i = 0;
    while (i < ipText.size()) {
        bool replaced = false;
        for (const QuotedUnit& u : kQuotedUnits) {
            const size_t n = std::char_traits<char>::length(u.ip);
            if (ipText.compare(i, n, u.ip) != 0) continue;
            const size_t start = NumberStart(out, out.size());
            if (start == out.size()) continue;
            const double ip = numfmt::Val(out.substr(start));
            out = out.substr(0, start) + SiQuote(u, ip);
            i += n;
            replaced = true;
            break;
        }
        if (!replaced) out += ipText[i++];
    }
    return out;
}

std::string WarningsLine(units::System system, const std::vector<CoilWarning>& warnings) {
    return WarningText(system, WarningsLine(warnings));
}
