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

std::string Fixed(float v, const char* pattern) {
    return numfmt::FormatF32(v, pattern);
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
bool DutyAndFlow(const DialogInputs& in, SearchSpec& query, std::string& error) {
    for (const auto& [key, text] : in.duty) {
        if (text.find_first_not_of(' ') == std::string::npos) continue;
        if (!numfmt::IsNumeric(text)) {
            error = "The limit " + key + " must be a number";
            return false;
        }
        query.duty[key] = numfmt::Val(text);
    }
    if (!in.useRise) {
        query.fixed["Gpm"] = in.gpm;
        return true;
    }
    if (!numfmt::IsNumeric(in.rise) || !(numfmt::Val(in.rise) > 0)) {
        error = "The fluid rise must be a number of degrees above 0";
        return false;
    }
    query.fluidRise = numfmt::Val(in.rise);
    return true;
}

// The tube column: its outside diameter in inches (5/8") and the inches
// to sort by; an unknown code as it is, sorted first.
std::pair<std::string, double> TubeCell(const std::string& tube) {
    const catalogue::TubeSize* size = catalogue::FindTubeSize(tube);
    if (!size) return {tube, 0};
    return {std::string(size->od) + "\"", size->inches};
}

}  // namespace

std::vector<std::string> OfferedTubes(const std::string& application) {
    if (IsSteam(application)) return {"5", "1"};
    return {"3", "4", "5"};
}

DialogInputs InputsForPanel(const FieldTexts& panel, const DialogInputs* last) {
    DialogInputs in;
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
    } else {
        in.circuits = Join(DefaultCircuits(Text(panel, "TH")));
        in.finMats = {Text(panel, "FinMat").empty() ? "A" : Text(panel, "FinMat")};
    }
    const std::string& tube = Text(panel, "Pattern");
    if (in.tubes.empty())
        in.tubes = {std::find(offered.begin(), offered.end(), tube) != offered.end() ? tube : offered.back()};
    if (in.finMats.empty()) in.finMats = {"A"};
    in.gpm = Text(panel, "Gpm");
    return in;
}

bool SpecFromInputs(const FieldTexts& panel, int airFlowMode, const DialogInputs& in, SearchSpec& query,
                    std::string& error) {
    query = SearchSpec();
    query.fixed = panel;
    query.airFlowMode = airFlowMode;
    return ConstructionChoices(panel, in, query, error) && CircuitChoices(panel, in, query, error) &&
           DutyAndFlow(in, query, error) && CompleteSpec(query, error);
}

const std::vector<std::string>& ResultColumns() {
    static const std::vector<std::string> columns = {
        "Rank",   "Tube",   "Rows",     "FPI",      "Circuits", "Total Btuh", "Sens Btuh", "LAT DB",
        "LAT WB", "Air PD", "Fluid PD", "Face Vel", "Tube Vel", "Area ft2",   "Margin"};
    return columns;
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

ResultRow RowForCandidate(const Candidate& c, int rank, const SearchSpec& query) {
    const CoilRating& r = c.rating;
    const auto [tubeText, tubeKey] = TubeCell(Text(c.fields, "Pattern"));
    ResultRow row;
    auto add = [&row](std::string text, double key) {
        row.cells.push_back(std::move(text));
        row.keys.push_back(key);
    };
    add(std::to_string(rank), rank);
    add(tubeText, tubeKey);
    add(std::to_string(c.coilSpec.RD), c.coilSpec.RD);
    add(std::to_string(c.coilSpec.FPI), c.coilSpec.FPI);
    add(std::to_string(c.coilSpec.Circuits), c.coilSpec.Circuits);
    add(Fixed(r.TotalBtuh, "0"), r.TotalBtuh);
    add(Fixed(r.SensibleBtuh, "0"), r.SensibleBtuh);
    add(Fixed(r.LatDb, "0.0"), r.LatDb);
    add(Fixed(r.LatWb, "0.0"), r.LatWb);
    add(Fixed(r.AirPD, "0.000"), r.AirPD);
    add(Fixed(r.FluidPD, "0.00"), r.FluidPD);
    add(Fixed(r.FaceVelocity, "0"), r.FaceVelocity);
    add(Fixed(r.TubeVelocity, "0.00"), r.TubeVelocity);
    add(Fixed(c.outsideArea, "0.0"), c.outsideArea);
    double margin = 0;
    if (CapacityMarginPercent(c, query, margin))
        add((margin >= 0 ? "+" : "") + numfmt::FormatF64(margin, "0.0") + "%", margin);
    else
        add("", 0);
    return row;
}

FieldTexts PanelFieldsOf(const Candidate& c, const SearchSpec& query) {
    FieldTexts out;
    for (const std::string& key : ConstructionKeys()) {
        if (key == "Circuits" && IsSteam(Text(c.fields, "Application"))) continue;
        out[key] = Text(c.fields, key);
    }
    if (query.fluidRise) out["Gpm"] = Text(c.fields, "Gpm");
    return out;
}

}  // namespace selection
