#include "common/catalogue.h"

namespace catalogue {
namespace {

constexpr CoilTypeInfo kCoilTypes[] = {
    {CoilType::Steam, "S", "Steam"},           {CoilType::Condenser, "C", "Condenser"},
    {CoilType::Water, "W", "Water"},           {CoilType::Evaporator, "E", "Evaporator"},
    {CoilType::Glycol, "G", "Glycol"},
};

constexpr TubeSize kTubeSizes[] = {
    {"1", "1", "1", 1.0},       {"3", "3", "3/8", 0.375},     {"4", "P", "1/2", 0.5},
    {"5", "5", "5/8", 0.625},   {"6", "6", "5/16", 0.3125},
};

constexpr FinMaterial kFinMaterials[] = {{"A", "Aluminum"}, {"C", "Copper"}};

template <typename T, size_t N>
const T* FindByCode(const T (&table)[N], std::string_view code) {
    for (const T& entry : table)
        if (entry.code == code) return &entry;
    return nullptr;
}

}  // namespace

std::span<const CoilTypeInfo> CoilTypes() { return kCoilTypes; }
const CoilTypeInfo* FindCoilType(std::string_view code) { return FindByCode(kCoilTypes, code); }
std::string_view CoilTypeWord(std::string_view code) {
    const CoilTypeInfo* t = FindCoilType(code);
    return t ? t->word : std::string_view{};
}

std::span<const TubeSize> TubeSizes() { return kTubeSizes; }
const TubeSize* FindTubeSize(std::string_view code) { return FindByCode(kTubeSizes, code); }

std::span<const FinMaterial> FinMaterials() { return kFinMaterials; }
std::string_view FinMaterialWord(std::string_view code) {
    const FinMaterial* m = FindByCode(kFinMaterials, code);
    return m ? m->word : std::string_view{};
}

}  // namespace catalogue
