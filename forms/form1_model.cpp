#include "forms/form1_model.h"

#include <algorithm>
#include <cctype>

#include "common/catalogue.h"

namespace form1 {
namespace {

constexpr CoilOption kCoilOptions[] = {
    {"&Steam", "S", true},      {"&Condenser", "C", true}, {"&Water", "W", true},
    {"&Evaporator", "E", true}, {"&Glycol", "G", true},    {"&Utilities", "U", false},
};

const EntCondField kEntCond[kEntCondCount] = {
    {"Altitude (ft)", 5},
    {"CFM", 7},
    {"CFM", 7},
    {"Air velocity (fpm)", 7},
    {"Ent air db (°f )", 7},
    {"Ent air wb (°f )", 7},
    {"", 7},
    {"Gpm", 5},
    {"Refrigerant", 0},
    {"Per gly (1-70)", 2},
    {"Thermal cond", 7},
    {"Specific heat", 7},
    {"Viscosity", 7},
    {"Density", 7},
    {"Steam Pres", 7},
    {"Super Heat", 7},
};

// The fields each coil type shows below the air flow, and the caption of
// its fluid temperature.
struct TypeLayout {
    CoilType type;
    std::vector<int> rows;
    std::string_view fluidCaption;
    bool circuits;
};
const TypeLayout kLayouts[] = {
    {CoilType::Water, {4, 5, 6, 7}, "Ent Fluid (°f)", true},
    {CoilType::Glycol, {4, 5, 6, 7, 9}, "Glycol Temp. (°f)", true},
    {CoilType::Evaporator, {4, 5, 6, 8}, "Evap. Temp. (°f)", true},
    {CoilType::Condenser, {4, 6, 8}, "Cond. Temp. (°f)", true},
    {CoilType::Steam, {4, kSteamPressureField}, "", false},
};

// The status bar's word for each coil type.
constexpr std::pair<CoilType, std::string_view> kTypeHints[] = {
    {CoilType::Condenser, "Condensor Coil"}, {CoilType::Evaporator, "Evaporator Coil"},
    {CoilType::Glycol, "Glycol Coil"},       {CoilType::Steam, "Steam Coil"},
    {CoilType::Water, "Water Coil"},
};

bool IsOneOf(std::string_view name, std::initializer_list<std::string_view> names) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

FocusHint Status(std::string code, std::string meaning, bool selectAll = false) {
    return {selectAll, true, std::move(code), std::move(meaning)};
}

FocusHint TubeHint(std::string_view tube) {
    const catalogue::TubeSize* size = catalogue::FindTubeSize(tube);
    if (!size) return Status("", "");
    return Status(std::string(tube), std::string(size->od) + "\" Tube OD");
}

FocusHint CoilTypeHint(std::string_view code) {
    for (const auto& [type, word] : kTypeHints)
        if (CoilTypeOf(code) == type) return Status(std::string(code), std::string(word));
    return {};
}

FocusHint PropertyHint(std::string_view control, units::System units) {
    if (control == "txtProperty(0)")
        return Status("", units::Caption(units, "Leave blank if below 2000 feet"), true);
    return Status("", "", true);
}

}  // namespace

std::span<const CoilOption> CoilOptions() {
    return kCoilOptions;
}

std::string_view CoilOptionWord(const CoilOption& option) {
    const std::string_view word = catalogue::CoilTypeWord(option.code);
    return word.empty() ? std::string_view("Utilities") : word;
}

std::string_view WindowState::CoilCode() const {
    return kCoilOptions[coilOption].code;
}

bool WindowState::ChooseCoil(int index) {
    if (index < 0 || index >= static_cast<int>(std::size(kCoilOptions))) return false;
    coilOption = index;
    return true;
}

bool WindowState::Show(int index) {
    if (index != kStartPanel && index != kCoilPanel && index != kHeaderPanel) return false;
    panel = index;
    return true;
}

const EntCondField& EntCondFieldAt(int i) {
    return kEntCond[i];
}

std::string EntCondControl(int i) {
    return i == kRefrigerantField ? "cboRefrigerant" : "txtProperty(" + std::to_string(i) + ")";
}

int EntCondInitialRow(int i) {
    return (i >= 1 && i <= 3) ? 1 : i;
}
bool EntCondInitiallyShown(int i) {
    return i < 2 || i == 4;
}

bool EntCondLayout::Shows(int field) const {
    return std::find(rows.begin(), rows.end(), field) != rows.end();
}

EntCondLayout EntCondLayoutFor(std::string_view code) {
    std::string upper(code);
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    CoilType type = CoilTypeOf(upper);
    if (!catalogue::FindCoilType(upper)) type = CoilType::Water;
    for (const TypeLayout& l : kLayouts)
        if (l.type == type) return {l.rows, l.fluidCaption, l.circuits};
    return {};
}

bool IsSteam(std::string_view code) {
    return CoilTypeOf(code) == CoilType::Steam;
}

std::span<const std::string_view> TubeChoices(std::string_view code) {
    return catalogue::OfferedTubes(IsSteam(code));
}

std::string TubeSizeText(std::string_view tube) {
    const catalogue::TubeSize* size = catalogue::FindTubeSize(tube);
    return size ? std::string(size->od) + " in." : std::string();
}

FocusHint FocusHintFor(std::string_view control, std::string_view text, units::System units) {
    if (control == "cboTubeOD") return TubeHint(text);
    if (control == "cboCoilType") return CoilTypeHint(text);
    if (control == "cboFinMat") {
        const std::string_view word = catalogue::FinMaterialWord(text);
        return word.empty() ? Status("", "") : Status(std::string(text), std::string(word));
    }
    if (control == "cboFinThk" || control == "cboWallThk") return Status("", "");
    if (control == "Text1") return Status("CR", "Corrugated");
    if (IsOneOf(control, {"txtFPI", "txtRows", "txtTH", "txtFL", "txtCircuits"})) return Status("", "", true);
    if (control.starts_with("txtProperty(")) return PropertyHint(control, units);
    if (control == "txtFoulingFactor" || control.starts_with("txtHdr(") || control.starts_with("txtCPS("))
        return {true, false, "", ""};
    return {};
}

}  // namespace form1
