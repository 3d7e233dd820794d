#include "common/select_inputs.h"

#include <algorithm>
#include <cmath>
#include <sstream>
#include <utility>

#include "common/catalogue.h"
#include "common/numfmt.h"
#include "engine/coil_type.h"

namespace selection {

namespace {

const std::string& Text(const FieldTexts& f, const std::string& key) {
    static const std::string empty;
    const auto it = f.find(key);
    return it == f.end() ? empty : it->second;
}

std::string Join(const std::vector<std::string>& items) {
    std::string s;
    for (const std::string& i : items) s += (s.empty() ? "" : ", ") + i;
    return s;
}

std::vector<std::string> Split(const std::string& text) {
    std::string t = text;
    std::replace(t.begin(), t.end(), ',', ' ');
    std::istringstream in(t);
    std::vector<std::string> out;
    for (std::string item; in >> item;)
        if (std::find(out.begin(), out.end(), item) == out.end()) out.push_back(item);
    return out;
}

// A whole-number range "from".."to" as texts; false with a message.
bool WholeRange(const std::string& from, const std::string& to, int lo, int hi, const char* what,
                std::vector<std::string>& out, std::string& error) {
    const double a = numfmt::Val(from), b = numfmt::Val(to);
    if (!numfmt::IsNumeric(from) || !numfmt::IsNumeric(to) || a != std::floor(a) || b != std::floor(b) ||
        a < lo || b > hi || a > b) {
        error = std::string(what) + " must be whole numbers from " + std::to_string(lo) + " to " +
                std::to_string(hi) + ", the first not above the second";
        return false;
    }
    out.clear();
    for (int i = static_cast<int>(a); i <= static_cast<int>(b); ++i) out.push_back(std::to_string(i));
    return true;
}

std::string Trim(const std::string& t) {
    const auto a = t.find_first_not_of(' ');
    if (a == std::string::npos) return "";
    return t.substr(a, t.find_last_not_of(' ') - a + 1);
}

bool IsSteam(const std::string& application) {
    return CoilTypeOf(application) == CoilType::Steam;
}

// The construction alternatives: rows, fins, tubes and fin materials. The
// panel's wall and fin thickness belong to its tube; other tubes take their
// own defaults.
bool ConstructionChoices(const FieldTexts& panel, const DialogInputs& in, SearchSpec& query,
                         std::string& error) {
    if (!WholeRange(in.rowsFrom, in.rowsTo, 1, 16, "Rows", query.choices["RD"], error)) return false;
    if (!WholeRange(in.fpiFrom, in.fpiTo, 1, 16, "Fins per inch", query.choices["FPI"], error)) return false;
    if (in.tubes.empty()) {
        error = "Choose at least one tube size";
        return false;
    }
    if (in.finMats.empty()) {
        error = "Choose at least one fin material";
        return false;
    }
    query.choices["Pattern"] = in.tubes;
    query.choices["FinMat"] = in.finMats;
    const bool panelTube = in.tubes.size() == 1 && in.tubes[0] == Text(panel, "Pattern");
    if (!panelTube) {
        query.fixed.erase("TubeWall");
        query.fixed.erase("FinThk");
    }
    return true;
}

// The circuit counts to try (steam coils have none): none given leaves the
// defaults per tube height.
bool CircuitChoices(const FieldTexts& panel, const DialogInputs& in, SearchSpec& query, std::string& error) {
    if (IsSteam(Text(panel, "Application"))) return true;
    const std::vector<std::string> circuits = Split(in.circuits);
    for (const std::string& c : circuits) {
        const double n = numfmt::Val(c);
        if (!numfmt::IsNumeric(c) || n < 1 || n > 999 || n != std::floor(n)) {
            error = "Circuits must be whole numbers from 1 to 999";
            return false;
        }
    }
    if (circuits.empty())
        query.fixed.erase("Circuits");
    else
        query.choices["Circuits"] = circuits;
    return true;
}

// The duty's limits (blank ones left out) and the fluid flow: the panel's
// flow, or the flow that gives the fluid rise.
bool DutyAndFlow(const FieldTexts& panel, const DialogInputs& in, SearchSpec& query, std::string& error) {
    const std::string& app = Text(panel, "Application");
    for (const auto& [key, text] : in.duty) {
        if (text.find_first_not_of(' ') == std::string::npos) continue;
        if (!numfmt::IsNumeric(Trim(text))) {
            std::string label = DutyLabel(in.system, app, key);
            label.erase(std::remove(label.begin(), label.end(), '&'), label.end());
            error = "The limit " + label + " must be a number, not \"" + text + "\"";
            return false;
        }
        query.duty[key] = DutyToInchPound(in.system, app, key, numfmt::Val(Trim(text)));
    }
    query.defaultLimits = false;
    query.refused = in.refused;
    if (!in.useRise) {
        // The panel's own text when the flow is the panel's.
        const ShownTexts shown(in.system);
        if (shown.Shown("Gpm", Text(panel, "Gpm")) != in.gpm)
            query.fixed["Gpm"] = ShownTexts(in.system).ToInchPound("Gpm", in.gpm);
        return true;
    }
    if (!numfmt::IsNumeric(Trim(in.rise)) || !(numfmt::Val(Trim(in.rise)) > 0)) {
        error = "The fluid rise must be a number of degrees above 0";
        return false;
    }
    query.fluidRise = RiseToInchPound(in.system, numfmt::Val(Trim(in.rise)));
    return true;
}

// The tube column: its outside diameter in inches (5/8") and the inches
// to sort by; an unknown code as it is, sorted first.
std::pair<std::string, double> TubeCell(const std::string& tube) {
    const catalogue::TubeSize* size = catalogue::FindTubeSize(tube);
    if (!size) return {tube, 0};
    return {std::string(size->od) + "\"", size->inches};
}

// The quantity of an inch-pound duty key for a coil type.
units::Quantity DutyQuantity(const std::string& application, const std::string& ipKey) {
    using Q = units::Quantity;
    if (ipKey == "TotalBtuh" || ipKey == "SensibleBtuh") return Q::Capacity;
    if (ipKey.rfind("Lat", 0) == 0) return Q::Temperature;
    if (ipKey == "AirPDMax") return Q::AirPD;
    if (ipKey == "FaceVelocityMax") return Q::AirVelocity;
    if (ipKey.rfind("TubeVelocity", 0) == 0) return Q::FluidVelocity;
    const CoilType type = CoilTypeOf(application);
    return type == CoilType::Water || type == CoilType::Glycol ? Q::WaterPD : Q::RefrigerantPD;
}

// The duty keys that differ between the systems: inch-pound, SI.
const std::pair<const char*, const char*> kSystemKeys[] = {{"TotalBtuh", "TotalKW"},
                                                           {"SensibleBtuh", "SensibleKW"}};

}  // namespace

bool DutyKeyFrom(units::System system, const std::string& key, std::string& ipKey, std::string& error) {
    const bool si = system == units::System::SI;
    for (const auto& [ip, siKey] : kSystemKeys) {
        if (key == (si ? ip : siKey)) {
            error = "the duty key \"" + key + "\" is " + (si ? "inch-pound" : "SI") + ": with " +
                    (si ? "SI" : "inch-pound") + " units give \"" + (si ? siKey : ip) + "\"";
            return false;
        }
        if (key == (si ? siKey : ip)) {
            ipKey = ip;
            return true;
        }
    }
    if (!IsDutyKey(key)) {
        error = "unknown duty key \"" + key + "\"";
        return false;
    }
    ipKey = key;
    return true;
}

std::string DutyKeyIn(units::System system, const std::string& ipKey) {
    if (system == units::System::SI)
        for (const auto& [ip, siKey] : kSystemKeys)
            if (ipKey == ip) return siKey;
    return ipKey;
}

std::string DutyUnit(units::System system, const std::string& application, const std::string& ipKey) {
    const units::QuantityInfo& info = units::Info(DutyQuantity(application, ipKey));
    return system == units::System::SI ? info.siUnit : info.ipUnit;
}

double DutyToInchPound(units::System system, const std::string& application, const std::string& ipKey,
                       double value) {
    if (system == units::System::InchPound) return value;
    return units::ToInchPound(DutyQuantity(application, ipKey), value);
}

double DutyFromInchPound(units::System system, const std::string& application, const std::string& ipKey,
                         double value, bool difference) {
    if (system == units::System::InchPound) return value;
    const units::Quantity q = DutyQuantity(application, ipKey);
    return units::ToSI(q, value) - (difference ? units::ToSI(q, 0) : 0);
}

double RiseToInchPound(units::System system, double value) {
    return system == units::System::SI ? value * 1.8 : value;
}

std::string ShownTexts::ToInchPound(const std::string& key, const std::string& text) {
    units::Quantity q;
    if (system_ == units::System::InchPound || !units::FieldQuantity(key, q)) return text;
    const std::string ip = units::ConvertEntryText(q, system_, text);
    noted_[key][ip] = text;
    return ip;
}

std::string ShownTexts::Shown(const std::string& key, const std::string& ipText) const {
    units::Quantity q;
    if (system_ == units::System::InchPound || !units::FieldQuantity(key, q)) return ipText;
    if (const auto k = noted_.find(key); k != noted_.end())
        if (const auto t = k->second.find(ipText); t != k->second.end()) return t->second;
    return units::ConvertEntryText(q, units::System::InchPound, ipText);
}

FieldTexts ShownTexts::ShownFields(const FieldTexts& ip) const {
    FieldTexts out;
    for (const auto& [key, text] : ip) out[key] = Shown(key, text);
    return out;
}

std::string DutyLabel(units::System system, const std::string& application, const std::string& ipKey) {
    static const std::map<std::string, std::string> words = {
        {"TotalBtuh", "&Total capacity min"},
        {"SensibleBtuh", "S&ensible capacity min"},
        {"LatDbMax", "LAT DB max"},
        {"LatDbMin", "LAT DB min"},
        {"LatWbMax", "LAT WB max"},
        {"AirPDMax", "Air PD max"},
        {"FluidPDMax", "Fluid PD max"},
        {"FaceVelocityMax", "Face velocity max"},
        {"TubeVelocityMin", "Tube velocity min"},
        {"TubeVelocityMax", "Tube velocity max"},
    };
    const auto it = words.find(ipKey);
    return (it == words.end() ? ipKey : it->second) + " (" + DutyUnit(system, application, ipKey) + ")";
}

std::vector<std::string> OfferedTubes(const std::string& application) {
    if (IsSteam(application)) return {"5", "1"};
    return {"3", "4", "5"};
}

DialogInputs InputsForPanel(const FieldTexts& panel, const DialogInputs* last, units::System system) {
    DialogInputs in;
    const std::string& app = Text(panel, "Application");
    const std::vector<std::string> offered = OfferedTubes(Text(panel, "Application"));
    if (last) {
        in = *last;
        auto keepOffered = [&offered](std::vector<std::string>& v) {
            v.erase(std::remove_if(v.begin(), v.end(),
                                   [&](const std::string& t) {
                                       return std::find(offered.begin(), offered.end(), t) == offered.end();
                                   }),
                    v.end());
        };
        keepOffered(in.tubes);
        if (in.system != system) {
            // The last limits in the dialog's present units.
            for (auto& [key, text] : in.duty)
                if (numfmt::IsNumeric(text))
                    text = numfmt::GeneralF64(DutyFromInchPound(
                        system, app, key, DutyToInchPound(in.system, app, key, numfmt::Val(text))));
            if (numfmt::IsNumeric(in.rise))
                in.rise = numfmt::GeneralF64(RiseToInchPound(in.system, numfmt::Val(in.rise)) /
                                             RiseToInchPound(system, 1));
        }
    } else {
        in.circuits = Join(DefaultCircuits(Text(panel, "TH")));
        in.finMats = {Text(panel, "FinMat").empty() ? "A" : Text(panel, "FinMat")};
        const DefaultLimitSet d = DefaultLimits(panel);
        for (const auto& [key, value] : d.duty)
            in.duty[key] = numfmt::GeneralF64(DutyFromInchPound(system, app, key, value));
        in.refused = d.refused;
    }
    in.system = system;
    const std::string& tube = Text(panel, "Pattern");
    if (in.tubes.empty())
        in.tubes = {std::find(offered.begin(), offered.end(), tube) != offered.end() ? tube : offered.back()};
    if (in.finMats.empty()) in.finMats = {"A"};
    in.gpm = ShownTexts(system).Shown("Gpm", Text(panel, "Gpm"));
    return in;
}

bool SpecFromInputs(const FieldTexts& panel, int airFlowMode, const DialogInputs& in, SearchSpec& query,
                    std::string& error) {
    query = SearchSpec();
    query.fixed = panel;
    query.airFlowMode = airFlowMode;
    return ConstructionChoices(panel, in, query, error) && CircuitChoices(panel, in, query, error) &&
           DutyAndFlow(panel, in, query, error) && CompleteSpec(query, error);
}

std::vector<std::string> ResultColumns(units::System system, const std::string& application) {
    const bool si = system == units::System::SI;
    const std::string fluidPd = DutyUnit(system, application, "FluidPDMax");
    return {"Rank",
            "Tube",
            "Fin",
            "Rows",
            "FPI",
            "Circuits",
            si ? "Total kW" : "Total Btu/h",
            si ? "Sens kW" : "Sens Btu/h",
            si ? "LAT DB \xC2\xB0"
                 "C"
               : "LAT DB \xC2\xB0"
                 "F",
            si ? "LAT WB \xC2\xB0"
                 "C"
               : "LAT WB \xC2\xB0"
                 "F",
            si ? "Air PD Pa" : "Air PD in. w.g.",
            "Fluid PD " + fluidPd,
            si ? "Face Vel m/s" : "Face Vel ft/min",
            si ? "Tube Vel m/s" : "Tube Vel ft/s",
            si ? "Area m\xC2\xB2" : "Area ft\xC2\xB2",
            "Margin %",
            "Warnings"};
}

std::string WarningsInWords(const std::vector<CoilWarning>& warnings) {
    std::string s;
    for (const CoilWarning& w : warnings) s += (s.empty() ? "" : ", ") + LimitWords(w.code);
    return s;
}

bool CapacityMarginPercent(const Candidate& c, const SearchSpec& query, double& percent) {
    for (const char* key : {"TotalBtuh", "SensibleBtuh"}) {
        const auto it = query.duty.find(key);
        if (it == query.duty.end() || it->second == 0) continue;
        const double have = key[0] == 'T' ? c.rating.TotalBtuh : c.rating.SensibleBtuh;
        percent = (have - it->second) / std::fabs(it->second) * 100;
        return true;
    }
    return false;
}

ResultRow RowForCandidate(const Candidate& c, int rank, const SearchSpec& query, units::System system) {
    using Q = units::Quantity;
    const CoilRating& r = c.rating;
    const bool si = system == units::System::SI;
    const auto [tubeText, tubeKey] = TubeCell(Text(c.fields, "Pattern"));
    ResultRow row;
    auto add = [&row](std::string text, double key) {
        row.cells.push_back(std::move(text));
        row.keys.push_back(key);
    };
    // A value in the dialog's units, with the decimals of `ipPattern` in
    // inch-pound and those of its quantity's SI sheet in SI.
    auto value = [&](Q q, float v, const char* ipPattern) {
        const double shown = si ? units::ToSI(q, v) : v;
        add(numfmt::FormatF64(shown, si ? units::Info(q).siPattern : ipPattern), shown);
    };
    const bool liquid = CoilTypeOf(Text(c.fields, "Application")) == CoilType::Water ||
                        CoilTypeOf(Text(c.fields, "Application")) == CoilType::Glycol;
    if (rank > 0)
        add(std::to_string(rank), rank);
    else
        add("Closest: " + MissedInWords(c, query, si), 0);
    add(tubeText, tubeKey);
    add(Text(c.fields, "FinMat"), 0);
    add(std::to_string(c.coilSpec.RD), c.coilSpec.RD);
    add(std::to_string(c.coilSpec.FPI), c.coilSpec.FPI);
    add(std::to_string(c.coilSpec.Circuits), c.coilSpec.Circuits);
    value(Q::Capacity, r.TotalBtuh, "0");
    value(Q::Capacity, r.SensibleBtuh, "0");
    value(Q::Temperature, r.LatDb, "0.0");
    value(Q::Temperature, r.LatWb, "0.0");
    value(Q::AirPD, r.AirPD, "0.000");
    value(liquid ? Q::WaterPD : Q::RefrigerantPD, r.FluidPD, "0.00");
    value(Q::AirVelocity, r.FaceVelocity, "0");
    value(Q::FluidVelocity, r.TubeVelocity, "0.00");
    const double area = si ? units::ToSI(Q::Area, c.outsideArea) : c.outsideArea;
    add(numfmt::FormatF64(area, si ? "0.00" : "0.0"), area);
    double margin = 0;
    if (CapacityMarginPercent(c, query, margin))
        add((margin >= 0 ? "+" : "") + numfmt::FormatF64(margin, "0.0"), margin);
    else
        add("", 0);
    add(WarningsInWords(c.result.warnings), static_cast<double>(c.result.warnings.size()));
    return row;
}

FieldTexts PanelFieldsOf(const Candidate& c, const SearchSpec& query, const ShownTexts& shown) {
    FieldTexts out;
    for (const std::string& key : ConstructionKeys()) {
        if (key == "Circuits" && IsSteam(Text(c.fields, "Application"))) continue;
        out[key] = Text(c.fields, key);
    }
    if (query.fluidRise) out["Gpm"] = Text(c.fields, "Gpm");
    return shown.ShownFields(out);
}

}  // namespace selection
