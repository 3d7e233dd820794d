#include "forms/saved_coil_restore.h"

#include <cmath>
#include <iomanip>
#include <locale>
#include <sstream>

#include "common/catalogue.h"
#include "common/form_fields.h"
#include "common/numfmt.h"
#include "engine/coil_type.h"
#include "files/save_row.h"
#include "files/saved_coil_units.h"
#include "forms/form1_model.h"

namespace {

// Where each field the panel shows stands in a saved row, and the name the
// user knows it by.
struct Source {
    const char* key;
    int column;
    const char* name;
};
constexpr Source kSources[] = {
    {"Pattern", col::TubeSize, "Tubing OD"},
    {"TubeWall", col::TubeWall, "Wall Thickness"},
    {"FinMat", col::FinMaterial, "Fin Material"},
    {"FinThk", col::FinThk, "Fin Thickness"},
    {"FPI", col::FPI, "Fins Per Inch"},
    {"RD", col::Rows, "Rows Deep"},
    {"TH", col::FinHeight, "Tube Height"},
    {"FL", col::FinnedLength, "Finned Length"},
    {"Circuits", col::Circuits, "Circuits"},
    {"Altitude", col::Altitude, "Altitude"},
    {"AirVel", col::FaceVelocity, "Air velocity"},
    {"EatDb", col::EatDb, "Ent air db"},
    {"EatWb", col::EatWb, "Ent air wb"},
    {"EntFluidTemp", col::EntFluidTemp, "Ent. fluid temp."},
    {"Gpm", col::Gpm, "Gpm"},
    {"Refrigerant", col::Refrigerant, "Refrigerant"},
    {"PercentGlycol", col::PercentGlycol, "Per gly"},
    {"SteamPressure", col::SteamPressure, "Steam Pres"},
};

bool Blank(const std::string& text) {
    return text.find_first_not_of(' ') == std::string::npos;
}

// Whether the panel shows field `key` for a coil type laid out as `layout`.
bool Shown(const std::string& key, const form1::EntCondLayout& layout) {
    if (key == "Circuits") return layout.circuits;
    const form_fields::Field* f = form_fields::FindByKey(key);
    if (!f) return false;
    for (int i = 0; i < form1::kEntCondCount; ++i)
        if (form1::EntCondControl(i) == f->control) return i == 0 || i == 3 || layout.Shows(i);
    return true;  // a construction field
}

// The tube code of a size text (5/8" -> "5").
std::string TubeCodeOf(const std::string& sizeText) {
    for (const catalogue::TubeSize& t : catalogue::TubeSizes())
        if (!sizeText.empty() && TubeSizeText(std::string(t.code)) == sizeText) return std::string(t.code);
    return {};
}

// Tubes high from the fin height: the height over the tube pattern's face
// pitch, when that is a whole number.
std::string TubesHighOf(const Cell& finHeight, const std::string& tube) {
    const catalogue::TubeSize* size = catalogue::FindTubeSize(tube);
    double height = 0;
    if (!size || !SavedCellNumber(finHeight, height)) return {};
    const std::string_view p = size->pattern;
    const double pitch = p == "5" ? 1.5 : p == "P" ? 1.25 : p == "1" ? 3.0 : 1.0;
    const double tubes = std::nearbyint(height / pitch);
    if (tubes < 1 || std::fabs(tubes * pitch - height) > 1e-3) return {};
    return std::to_string(static_cast<long>(tubes));
}

std::string FieldOf(const Source& s, const SavedCoilTable::Row& row, const std::string& tube) {
    const std::string text = CellText(row[s.column]);
    if (Blank(text)) return {};
    const std::string key = s.key;
    if (key == "Pattern") return TubeCodeOf(text);
    if (key == "TH") return TubesHighOf(row[s.column], tube);
    if (key == "FinMat") {
        for (const char* code : {"A", "C"})
            if (FinMaterialWord(code) == text) return code;
        return {};
    }
    return text;
}

}  // namespace

RestoredCoil RestoreSavedCoil(const SavedCoilTable::Row& row) {
    RestoredCoil out;
    out.code = std::string(CoilTypeCode(CoilTypeOfWord(CellText(row[col::CoilType]))));
    if (out.code.empty()) return out;
    out.item = CellText(row[col::Item]);
    out.model = CellText(row[col::Model]);
    out.coilsPerSystem = CellText(row[col::CoilsPerSystem]);
    out.fields["Application"] = out.code;
    const form1::EntCondLayout layout = form1::EntCondLayoutFor(out.code);
    const std::string tube = TubeCodeOf(CellText(row[col::TubeSize]));
    for (const Source& s : kSources) {
        if (!Shown(s.key, layout)) continue;
        const std::string text = FieldOf(s, row, tube);
        if (text.empty())
            out.missing.emplace_back(s.name);
        else
            out.fields[s.key] = text;
    }
    return out;
}

std::string FitFieldText(const std::string& text, int maxLength) {
    if (maxLength <= 0 || static_cast<int>(text.size()) <= maxLength || !numfmt::IsNumeric(text)) return text;
    const double value = numfmt::Val(text);
    for (int digits = maxLength; digits >= 1; --digits) {
        std::ostringstream out;
        out.imbue(std::locale::classic());
        out << std::setprecision(digits) << value;
        const std::string fitted = out.str();
        if (static_cast<int>(fitted.size()) <= maxLength && fitted.find('e') == std::string::npos)
            return fitted;
    }
    return text;
}
