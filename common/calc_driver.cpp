#include "common/calc_driver.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <string>
#include <string_view>
#include <vector>

#include "common/catalogue.h"
#include "common/form_fields.h"
#include "common/numfmt.h"
#include "engine/coil_type.h"
#include "engine/coilcalc.h"
#include "engine/msgbox.h"
#include "engine/rterror.h"

namespace {

const std::string& Text(const FieldTexts& fields, const char* key) {
    static const std::string empty;
    const auto it = fields.find(key);
    return it == fields.end() ? empty : it->second;
}

double Num(const FieldTexts& fields, const char* key) {
    return numfmt::Val(Text(fields, key));
}

// A parsed value as its 32-bit record field will hold it (values beyond the
// float range are left as they are; filling refuses them later).
double AsStored(double x) {
    return std::fabs(x) <= FLT_MAX ? static_cast<float>(x) : x;
}

// Passes every message on to the sink in use and keeps its text, so that a
// failure the engine has already shown can be answered with that text.
class CapturingSink : public MessageSink {
public:
    explicit CapturingSink(MessageSink& next) : next_(next) {}
    void Show(const std::string& text, MsgIcon icon, const std::string& title) override {
        texts.push_back(text);
        next_.Show(text, icon, title);
    }
    std::vector<std::string> texts;

private:
    MessageSink& next_;
};

constexpr double kAltitudeMin = -500, kAltitudeMax = 30000;  // ft
constexpr double kGlycolMax = 70;                            // per cent, as the form's label says

struct Check {
    bool fails;
    const char* message;
    const char* key;  // the field at fault; its control comes from the form's field table
};

// The first failing check of `checks`, answered in `fault`.
template <size_t N>
bool PassAll(const Check (&checks)[N], ValidationFault& fault) {
    for (const Check& c : checks) {
        if (c.fails) {
            const form_fields::Field* field = form_fields::FindByKey(c.key);
            fault = {c.message, c.key, field ? std::string(field->control) : std::string()};
            return false;
        }
    }
    return true;
}

// The form's own checks: every field the coil type needs is filled in.
bool FormComplete(const FieldTexts& f, int mode, ValidationFault& fault) {
    const CoilType type = CoilTypeOf(Text(f, "Application"));
    const bool steam = type == CoilType::Steam;
    const double fpi = Num(f, "FPI");
    const double rows = Num(f, "RD");
    const Check checks[] = {
        {Text(f, "Pattern").empty(), "Please Select the Tube OD before Proceeding", "Pattern"},
        {Text(f, "TubeWall").empty(), "Please Select the Wall Thickness before Proceeding", "TubeWall"},
        {Text(f, "FinMat").empty(), "Please Select the Fin Material before Proceeding", "FinMat"},
        {Text(f, "FinTreat").empty(), "Please Select the Fin Treatment before Proceeding", "FinTreat"},
        {fpi == 0, "Please input the FPI value before Proceeding", "FPI"},
        {fpi > 16, "Please reduce the FPI value before Proceeding", "FPI"},
        {rows == 0, "Please input the number of Rows before Proceeding", "RD"},
        {rows > 16, "Please reduce the number of Rows before Proceeding", "RD"},
        {Num(f, "TH") == 0, "Please input the number of Tubes High before Proceeding", "TH"},
        {Num(f, "FL") == 0, "Please input the Finned Length before Proceeding", "FL"},
        {mode == kAirFlowAcfm && Text(f, "Acfm").empty(), "Please input the ACFM before Proceeding", "Acfm"},
        {mode == kAirFlowScfm && Text(f, "Scfm").empty(), "Please input the SCFM before Proceeding", "Scfm"},
        {mode == kAirFlowVelocity && Text(f, "AirVel").empty(),
         "Please input the Air Velocity before Proceeding", "AirVel"},
        {!numfmt::IsNumeric(Text(f, "EatDb")), "Please input the EAT (DB) before Proceeding", "EatDb"},
        {steam && Text(f, "SteamPressure").empty(), "Please input the PSI value before Proceeding",
         "SteamPressure"},
        {!steam && Text(f, "EntFluidTemp").empty(), "Please input the Ent. FL. Temp. before Proceeding",
         "EntFluidTemp"},
        {type == CoilType::Glycol && Text(f, "PercentGlycol").empty(),
         "Please input the Gly. % before Proceeding", "PercentGlycol"},
        {IsRefrigerantCoil(type) && Text(f, "Refrigerant").empty(),
         "Please select the Refrigerant type  before Proceeding", "Refrigerant"},
        {(type == CoilType::Water || type == CoilType::Glycol) && Num(f, "Gpm") <= 0,
         "GPM value must be greater than 0", "Gpm"},
    };
    return PassAll(checks, fault);
}

// What the engine can rate: beyond these it answers with a numbered error
// or a meaningless result instead of a rating.
bool WithinEngineRange(const FieldTexts& f, ValidationFault& fault) {
    const CoilType type = CoilTypeOf(Text(f, "Application"));
    // As the record will hold them: the altitude rounded to whole feet.
    const double altitude = std::nearbyint(Num(f, "Altitude"));
    const double glycol = AsStored(Num(f, "PercentGlycol"));
    const Check checks[] = {
        // A condenser must condense above the entering air; otherwise the
        // refrigerant method would rate it as an evaporator with a negative
        // capacity. Compared as the engine will see the two temperatures.
        {type == CoilType::Condenser && !(AsStored(Num(f, "EntFluidTemp")) > AsStored(Num(f, "EatDb"))),
         "Cond. Temp. must be above the EAT (DB)", "EntFluidTemp"},
        {!(altitude >= kAltitudeMin && altitude <= kAltitudeMax),
         "Altitude must be between -500 and 30000 ft", "Altitude"},
        {type == CoilType::Glycol && !(glycol >= 0 && glycol <= kGlycolMax),
         "Percent glycol must be between 0 and 70", "PercentGlycol"},
        {IsRefrigerantCoil(type) && CC_RefrigerantFlowFactor(Text(f, "Refrigerant")) <= 0,
         "Choose a refrigerant from the list", "Refrigerant"},
    };
    return PassAll(checks, fault);
}

// The numeric fields a coil of this type and air-flow mode is rated from:
// the construction, the air flow the mode reads, the entering wet bulb (the
// engine reads it for every type) and the entering conditions the form
// shows for the type (all of them for a type it does not know).
std::vector<const char*> NumericKeys(CoilType type, int mode) {
    std::vector<const char*> keys = {
        "TubeWall", "FinThk",        "FPI",           "RD",        "TH",           "FL",
        "Circuits", "FoulingFactor", "Altitude",      "EatDb",     "EntFluidTemp", "EatWb",
        "Gpm",      "PercentGlycol", "SteamPressure", "EvapSHCode"};
    keys.insert(keys.begin() + 9, mode == kAirFlowVelocity ? "AirVel" : "Acfm");
    const auto drop = [&keys](std::initializer_list<std::string_view> gone) {
        std::erase_if(keys, [gone](const char* k) {
            return std::find(gone.begin(), gone.end(), std::string_view(k)) != gone.end();
        });
    };
    switch (type) {
        case CoilType::Water:
            drop({"PercentGlycol", "SteamPressure", "EvapSHCode"});
            break;
        case CoilType::Glycol:
            drop({"SteamPressure", "EvapSHCode"});
            break;
        case CoilType::Evaporator:
        case CoilType::Condenser:
            drop({"Gpm", "PercentGlycol", "SteamPressure"});
            break;
        case CoilType::Steam:
            drop({"EntFluidTemp", "Gpm", "PercentGlycol", "EvapSHCode"});
            break;
        case CoilType::OtherFluid:
        case CoilType::Unknown:
            break;
    }
    return keys;
}

// Every numeric field that is filled in holds one number and nothing else:
// "2,000" is refused rather than rated as 2. Blank fields are left to the
// checks that follow.
bool WholeNumbers(const FieldTexts& f, int mode, ValidationFault& fault) {
    for (const char* key : NumericKeys(CoilTypeOf(Text(f, "Application")), mode)) {
        const std::string& text = Text(f, key);
        const size_t first = text.find_first_not_of(" \t");
        if (first == std::string::npos || numfmt::IsNumeric(text)) continue;
        const size_t last = text.find_last_not_of(" \t");
        const form_fields::Field* field = form_fields::FindByKey(key);
        const std::string name = field && !field->name.empty() ? std::string(field->name) : std::string(key);
        fault = {name + " value \"" + text.substr(first, last - first + 1) + "\" is not a number", key,
                 field ? std::string(field->control) : std::string()};
        return false;
    }
    return true;
}

// The field checks in their fixed order; the first failing one is answered.
bool Validate(const FieldTexts& f, int mode, ValidationFault& fault) {
    return WholeNumbers(f, mode, fault) && FormComplete(f, mode, fault) && WithinEngineRange(f, fault);
}

// A field whose value does not fit its record field: the fault to answer.
struct FieldOverflow {
    ValidationFault fault;
};

// Stores through `store`; an overflow (error 6) names the field `key`.
template <class Store>
auto Fit(const char* key, double x, Store store) {
    try {
        return store(x);
    } catch (const rt::RtError& e) {
        if (e.number() != rt::kOverflow) throw;
        if (const form_fields::Field* n = form_fields::FindByKey(key); n && !n->name.empty())
            throw FieldOverflow{{std::string(n->name) + " value is out of range", std::string(n->key),
                                 std::string(n->control)}};
        throw;
    }
}
float F32Of(const char* key, double x) {
    return Fit(key, x, [](double v) { return rt::F32(v); });
}
int16_t I16Of(const char* key, double x) {
    return Fit(key, x, [](double v) { return rt::I16(v); });
}

// The engine's pattern code of a tube size ("4" is rated as "P"); an
// unknown code as it is.
std::string PatternOf(const std::string& tube) {
    const catalogue::TubeSize* size = catalogue::FindTubeSize(tube);
    return size ? std::string(size->pattern) : tube;
}

// The fin height of the tube pattern: tubes high times the tube spacing.
// An unknown pattern keeps the height the record has.
void FillFinHeight(CoilSpec& coilSpec) {
    const std::string& p = coilSpec.Pattern;
    if (p == "6" || p == "3") {
        coilSpec.FinHeight = coilSpec.TH;
    } else if (p == "5") {
        coilSpec.FinHeight = F32Of("TH", coilSpec.TH * 1.5);
    } else if (p == "P") {
        coilSpec.FinHeight = F32Of("TH", coilSpec.TH * 1.25);
    } else if (p == "1") {
        coilSpec.FinHeight = I16Of("TH", coilSpec.TH * 3);  // a 16-bit product
    }
}

void FillCoilSpec(const FieldTexts& f, CoilSpec& coilSpec) {
    coilSpec.Application = Text(f, "Application");
    coilSpec.Pattern = PatternOf(Text(f, "Pattern"));
    coilSpec.TubeWall = F32Of("TubeWall", Num(f, "TubeWall"));
    coilSpec.FinMat = Text(f, "FinMat");
    coilSpec.FinThk = F32Of("FinThk", Num(f, "FinThk"));
    coilSpec.FinTreat = Text(f, "FinTreat");
    coilSpec.FPI = I16Of("FPI", Num(f, "FPI"));
    coilSpec.RD = I16Of("RD", Num(f, "RD"));
    coilSpec.TH = I16Of("TH", Num(f, "TH"));
    coilSpec.FL = F32Of("FL", Num(f, "FL"));
    coilSpec.Rifled = Text(f, "Rifled");
    coilSpec.Circuits = I16Of("Circuits", numfmt::Val(CheckIfBlank(Text(f, "Circuits"), "1")));
    coilSpec.FoulingFactor = F32Of("FoulingFactor", Num(f, "FoulingFactor"));
    coilSpec.Corrugated.assign(1, 'N');  // the form has no corrugated-tube choice
    FillFinHeight(coilSpec);
}

// The rating conditions; the air flow needs the coil's face (FL, FinHeight).
void FillRating(const FieldTexts& f, int mode, const CoilSpec& coilSpec, CoilRating& rating) {
    rating.Altitude = I16Of("Altitude", Num(f, "Altitude"));
    rating.Acfm = 0;
    rating.Scfm = 0;
    if (mode == kAirFlowVelocity) {
        // Face velocity times the face area.
        rating.Acfm = F32Of("AirVel", Num(f, "AirVel") * coilSpec.FL * coilSpec.FinHeight / 144.0);
    } else {
        rating.Acfm = F32Of("Acfm", Num(f, "Acfm"));
    }
    rating.EatDb = F32Of("EatDb", Num(f, "EatDb"));
    rating.EatWb = F32Of("EatWb", Num(f, "EatWb"));
    if (CoilTypeOf(coilSpec.Application) == CoilType::Steam) {
        rating.EntFluidTemp = 0;
        rating.SteamPressure = F32Of("SteamPressure", Num(f, "SteamPressure"));
    } else {
        rating.EntFluidTemp = F32Of("EntFluidTemp", Num(f, "EntFluidTemp"));
    }
    rating.Gpm = F32Of("Gpm", Num(f, "Gpm"));
    rating.Refrigerant = Text(f, "Refrigerant");
    rating.PercentGlycol = F32Of("PercentGlycol", Num(f, "PercentGlycol"));
    rating.EvapSHCode = I16Of("EvapSHCode", Num(f, "EvapSHCode"));
}

// Fills both records from the field texts. A value that does not fit its
// field throws FieldOverflow naming the field.
void FillRecords(const FieldTexts& f, int mode, CoilSpec& coilSpec, CoilRating& rating) {
    FillCoilSpec(f, coilSpec);
    FillRating(f, mode, coilSpec, rating);
}

void AddRow(std::vector<GridRow>& rows, const char* label, float value) {
    rows.push_back({label, sRightJustify(value)});
}

// The rows between the leaving dry bulb and the fin height, by coil type.
void AddFluidRows(std::vector<GridRow>& rows, CoilType type, const CoilRating& r) {
    switch (type) {
        case CoilType::Steam:
            AddRow(rows, "Condensate (Lbs/Hr)", r.Condensate);
            AddRow(rows, "Latent heat  ", r.LatentHeat);
            break;
        case CoilType::Condenser:
            AddRow(rows, "Refr. PD (PSI)", r.FluidPD);
            break;
        case CoilType::Water:
            AddRow(rows, "LAT WB (°F)", r.LatWb);
            AddRow(rows, "Lvg Fl Temp (°F)", r.LvgFluidTemp);
            AddRow(rows, "Water PD (FT H20)", r.FluidPD);
            AddRow(rows, "Water Vel (FPS)", r.TubeVelocity);
            break;
        case CoilType::Evaporator:
            AddRow(rows, "LAT WB  (°F)", r.LatWb);
            AddRow(rows, "Refr. PD (PSI)", r.FluidPD);
            break;
        case CoilType::Glycol:
            AddRow(rows, "LAT WB  (°F)", r.LatWb);
            AddRow(rows, "Lvg Fl Temp (°F)", r.LvgFluidTemp);
            AddRow(rows, "Glycol PD  (FT H2O)", r.FluidPD);
            AddRow(rows, "Glycol Vel (FPS)", r.TubeVelocity);
            break;
        case CoilType::OtherFluid:
        case CoilType::Unknown:
            break;
    }
}

std::vector<GridRow> ResultRows(const CoilSpec& coilSpec, const CoilRating& r) {
    std::vector<GridRow> rows;
    AddRow(rows, "Btuh (Total) ", r.TotalBtuh);
    AddRow(rows, "Btuh (Sens)  ", r.SensibleBtuh);
    AddRow(rows, "Air PD (IN W.G.)", r.AirPD);
    AddRow(rows, "Scfm         ", r.Scfm);
    AddRow(rows, "Air Velocity (SFPM)", r.FaceVelocity);
    AddRow(rows, "LAT DB (°F)", r.LatDb);
    AddFluidRows(rows, CoilTypeOf(coilSpec.Application), r);
    AddRow(rows, "Fin Height", coilSpec.FinHeight);
    return rows;
}

CalcResult Failed(CalcResult::Status status, std::string error) {
    CalcResult result;
    result.status = status;
    result.error = std::move(error);
    return result;
}

// Fills the records from the fields and rates them. Answers the failure,
// shown or refused, or a result with status Ok (and nothing else yet).
CalcResult FillAndRate(const FieldTexts& fields, int airFlowMode, RateCoilFunction rateCoil,
                       CoilSpec& coilSpec, CoilRating& rating, RatingFacts& facts) {
    CapturingSink capture(CurrentMessageSink());
    RatingOutcome outcome;
    try {
        ScopedMessageSink scope(capture);
        FillRecords(fields, airFlowMode, coilSpec, rating);
        facts.circuitsBlank = Text(fields, "Circuits").empty();
        facts.wetBulbAssumed = rating.EatWb == 0;  // the engine rates at dry bulb - 1
        if (!rateCoil(coilSpec, rating, outcome)) {
            // Property assignment has shown its own message.
            return Failed(CalcResult::EngineFailed,
                          capture.texts.empty() ? outcome.failure : capture.texts.back());
        }
    } catch (const FieldOverflow& e) {
        // A value its record field cannot hold: refused like a field check.
        CalcResult result;
        result.status = CalcResult::Validation;
        result.validation = e.fault;
        return result;
    } catch (const rt::RtError& e) {
        CalcResult result =
            Failed(CalcResult::EngineFailed, std::to_string(e.number()) + "  " + e.description());
        ShowMessage(result.error);
        return result;
    }

    // A liquid-coil rating that ran without a message must also make
    // physical sense: the air cannot leave hotter or colder than both the
    // entering air and the entering fluid, and a capacity cannot be negative. Far outside the
    // correlations' range the solvers can converge on such numbers; they are
    // refused here rather than listed as if they were a rating.
    if (capture.texts.empty() && !PhysicallyPlausible(coilSpec, rating)) {
        CalcResult result = Failed(CalcResult::EngineFailed, kImplausibleResult);
        ShowMessage(result.error, MsgIcon::Exclamation);
        return result;
    }
    // The engine's notes on how it reached the result.
    facts.trialLimit = outcome.trialLimitReached;
    facts.laminarFilm = outcome.laminarFilm;
    return {};
}

}  // namespace

bool FillCoilRecords(const FieldTexts& fields, int airFlowMode, CoilSpec& coilSpec, CoilRating& rating,
                     ValidationFault& fault) {
    try {
        FillRecords(fields, airFlowMode, coilSpec, rating);
        return true;
    } catch (const FieldOverflow& e) {
        fault = e.fault;
        return false;
    }
}

std::string CheckIfBlank(const std::string& value, const std::string& def) {
    return value.empty() ? def : value;
}

const char* const kImplausibleResult =
    "The results are outside the range of this coil: the leaving air is not between "
    "the entering air and entering fluid temperatures. Check the entering conditions.";

bool PhysicallyPlausible(const CoilSpec& s, const CoilRating& r) {
    // Refrigerant and steam ratings count capacity in standard air and may
    // leave a little beyond the refrigerant temperature as rated; the check
    // is for the liquid coils.
    if (!IsLiquidCoil(CoilTypeOf(s.Application))) return true;
    // 0.01 F of slack for the solvers' own tolerances.
    constexpr double kSlack = 0.01;
    const double lo = std::min<double>(r.EatDb, r.EntFluidTemp) - kSlack;
    const double hi = std::max<double>(r.EatDb, r.EntFluidTemp) + kSlack;
    if (r.TotalBtuh < 0.0) return false;
    return r.LatDb >= lo && r.LatDb <= hi;
}

CalcResult CalcPerform(const FieldTexts& fields, int airFlowMode, CoilSpec& coilSpec, CoilRating& rating,
                       RateCoilFunction rateCoil) {
    CalcResult result;
    if (!Validate(fields, airFlowMode, result.validation)) {
        result.status = CalcResult::Validation;
        return result;
    }

    // The engine rates copies; the caller's records change only when a
    // rating has been produced, so a failure leaves the coil on screen (and
    // what "Save" would store) as it was.
    // The copies start fresh: the engine reads some result fields before it
    // writes them (the leaving fluid temperature of the liquid pressure
    // drop), so the previous coil's results would leak into this rating and
    // rating the same coil twice would answer differently. Only what the
    // fill keeps by design comes along: the fin height of a tube it does not
    // know, the steam pressure of a coil that is not steam.
    CoilSpec newSpec;
    newSpec.FinHeight = coilSpec.FinHeight;
    CoilRating newRating;
    newRating.SteamPressure = rating.SteamPressure;
    RatingFacts facts;
    result = FillAndRate(fields, airFlowMode, rateCoil, newSpec, newRating, facts);
    if (!result.ok()) return result;

    coilSpec = newSpec;
    rating = newRating;
    result.grid = ResultRows(coilSpec, rating);
    result.warnings = CoilWarnings(coilSpec, rating, facts);
    return result;
}
