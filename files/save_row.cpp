#include "files/save_row.h"

#include "common/catalogue.h"
#include "engine/rterror.h"

std::string CoilTypeWord(const std::string& application) {
    return std::string(catalogue::CoilTypeWord(application));
}

CoilType CoilTypeOfWord(const std::string& word) {
    for (const catalogue::CoilTypeInfo& t : catalogue::CoilTypes())
        if (t.word == word) return t.type;
    return CoilType::Unknown;
}

std::string TubeSizeText(const std::string& tubeCode) {
    // The saved-coil list has never named the 5/16" tube: its cell stays
    // empty, as for an unknown code.
    if (tubeCode == "6") return {};
    const catalogue::TubeSize* tube = catalogue::FindTubeSize(tubeCode);
    return tube ? std::string(tube->od) + "\"" : std::string();
}

std::string FinMaterialWord(const std::string& finMat) {
    return std::string(catalogue::FinMaterialWord(finMat));
}

bool HasFileBreaks(const std::string& text) {
    return text.find_first_of(";\r\n") != std::string::npos;
}

std::string StripFileBreaks(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text)
        if (c != ';' && c != '\r' && c != '\n') out += c;
    return out;
}

namespace {

// A text cell, or an empty cell for an empty text.
Cell TextCell(const std::string& text) {
    if (text.empty()) return Cell{};
    return Cell{StripFileBreaks(text)};
}

const Cell kPlaceholder{std::string(" ")};

}  // namespace

SavedCoilTable::Row BuildSavedRow(int rowIndex, const CoilSpec& coilSpec, const CoilRating& rating,
                                  const SaveRowTexts& texts) {
    const std::string& word = texts.coilTypeWord;
    const CoilType type = CoilTypeOfWord(word);
    const bool steam = type == CoilType::Steam;
    const bool condenser = type == CoilType::Condenser;
    const bool liquid = IsLiquidCoil(type);  // water or glycol: no word means "O"
    const bool refrigerant = IsRefrigerantCoil(type);

    SavedCoilTable::Row row{};
    row[col::Number] = static_cast<int32_t>(rowIndex + 1);
    if (texts.coilsPerSystem.empty())
        row[col::CoilsPerSystem] = static_cast<int32_t>(1);
    else
        row[col::CoilsPerSystem] = TextCell(texts.coilsPerSystem);
    row[col::Model] = TextCell(texts.model);
    row[col::Item] = TextCell(texts.item);
    row[col::CoilType] = TextCell(word);
    row[col::TubeSize] = TextCell(TubeSizeText(texts.tubeText));
    row[col::TubeWall] = TextCell(texts.wallText);
    row[col::FinThk] = coilSpec.FinThk;
    row[col::FinMaterial] = TextCell(FinMaterialWord(coilSpec.FinMat));
    row[col::FinType] = std::string("Corrugated");
    row[col::FinHeight] = coilSpec.FinHeight;
    row[col::FinnedLength] = coilSpec.FL;
    row[col::Rows] = coilSpec.RD;
    row[col::FPI] = coilSpec.FPI;
    row[col::FaceArea] = rating.CoilFaceArea;
    // A 32-bit integer: large coils pass 32767 standard cfm.
    row[col::Scfm] = rt::I32(rating.Scfm);
    row[col::EatDb] = rating.EatDb;
    row[col::EatWb] = (steam || condenser) ? kPlaceholder : Cell{rating.EatWb};
    row[col::LatDb] = rating.LatDb;
    row[col::LatWb] = (steam || condenser) ? kPlaceholder : Cell{rating.LatWb};
    row[col::FaceVelocity] = rating.FaceVelocity;
    row[col::AirPD] = rating.AirPD;
    row[col::EntFluidTemp] = steam ? kPlaceholder : Cell{rating.EntFluidTemp};
    row[col::LvgFluidTemp] = steam ? kPlaceholder : Cell{rating.LvgFluidTemp};
    row[col::FluidPD] = steam ? kPlaceholder : Cell{rating.FluidPD};
    row[col::Gpm] = liquid ? Cell{rating.Gpm} : kPlaceholder;
    row[col::SteamPressure] = steam ? Cell{rating.SteamPressure} : kPlaceholder;
    row[col::TotalBtuh] = rating.TotalBtuh;
    row[col::SensibleBtuh] = rating.SensibleBtuh;
    row[col::Circuits] = steam ? kPlaceholder : Cell{coilSpec.Circuits};
    row[col::Refrigerant] = refrigerant ? TextCell(rating.Refrigerant) : kPlaceholder;
    row[col::PercentGlycol] = type == CoilType::Glycol ? Cell{rating.PercentGlycol} : kPlaceholder;
    row[col::Altitude] = static_cast<double>(rating.Altitude);
    return row;
}

int AppendSavedCoil(SavedCoilTable& table, const CoilSpec& coilSpec, const CoilRating& rating,
                    const SaveRowTexts& texts) {
    const int spare = table.CoilCount();
    SavedCoilTable::Row row = BuildSavedRow(spare, coilSpec, rating, texts);
    auto& rows = table.Rows();
    rows.back() = std::move(row);
    rows.emplace_back();
    return table.CoilCount();
}

bool DeleteSavedCoil(SavedCoilTable& table, int row) {
    const int n = table.CoilCount();
    if (row < 0 || row >= n) return false;
    auto& rows = table.Rows();
    rows.erase(rows.begin() + row);
    for (int i = row; i < n - 1; ++i) rows[i][col::Number] = static_cast<int32_t>(i + 1);
    return true;
}
