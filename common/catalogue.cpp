#include "common/catalogue.h"

#include <algorithm>

#include "engine/coilcalc.h"

namespace catalogue {
namespace {

constexpr CoilTypeInfo kCoilTypes[] = {
    {CoilType::Steam, "S", "Steam"},   {CoilType::Condenser, "C", "Condenser"},
    {CoilType::Water, "W", "Water"},   {CoilType::Evaporator, "E", "Evaporator"},
    {CoilType::Glycol, "G", "Glycol"},
};

constexpr TubeSize kTubeSizes[] = {
    {"1", "1", "1", 1.0},     {"3", "3", "3/8", 0.375},   {"4", "P", "1/2", 0.5},
    {"5", "5", "5/8", 0.625}, {"6", "6", "5/16", 0.3125},
};

constexpr std::string_view kWalls38[] = {"0.014", "0.016"};
constexpr std::string_view kWalls12[] = {"0.017", "0.025"};
constexpr std::string_view kWalls58[] = {"0.020", "0.025", "0.035", "0.049"};
constexpr std::string_view kWalls516[] = {"0.013", "0.016"};
constexpr std::string_view kFins38[] = {".0045", ".006", ".008"};
constexpr std::string_view kFins12[] = {".0045", ".006", ".008", ".010"};
constexpr std::string_view kFins58[] = {".006", ".008", ".010"};
constexpr std::string_view kFins516[] = {".0045"};

// The 1 in. steam tube shares the 5/8 in. tube's lists.
constexpr TubeConstruction kConstructions[] = {
    {false, "3", kWalls38, "0.014", kFins38, "0.0045"}, {false, "4", kWalls12, "0.017", kFins12, "0.006"},
    {false, "5", kWalls58, "0.02", kFins58, "0.006"},   {false, "6", kWalls516, "0.013", kFins516, "0.0045"},
    {true, "1", kWalls58, "0.035", kFins58, "0.010"},   {true, "4", kWalls12, "0.017", kFins12, "0.006"},
    {true, "5", kWalls58, "0.025", kFins58, "0.006"},   {true, "6", kWalls516, "0.013", kFins516, "0.0045"},
};

constexpr std::string_view kWallsBeforeTube[] = {".012", ".014", ".017", ".018",
                                                 ".025", ".035", ".049", ".011"};
constexpr std::string_view kFinsBeforeTube[] = {".0045", ".0055", ".006", ".0075", ".01"};
constexpr std::string_view kFinTypes[] = {"SR", "SS", "CR", "CS", "FR", "RL", "LR", "LS"};

constexpr std::string_view kSteamTubes[] = {"5", "1"};
constexpr std::string_view kOtherTubes[] = {"3", "4", "5"};

constexpr FinMaterial kFinMaterials[] = {{"A", "Aluminum"}, {"C", "Copper"}};

template <typename T, size_t N>
const T* FindByCode(const T (&table)[N], std::string_view code) {
    for (const T& entry : table)
        if (entry.code == code) return &entry;
    return nullptr;
}

}  // namespace

std::span<const CoilTypeInfo> CoilTypes() {
    return kCoilTypes;
}
const CoilTypeInfo* FindCoilType(std::string_view code) {
    return FindByCode(kCoilTypes, code);
}
std::string_view CoilTypeWord(std::string_view code) {
    const CoilTypeInfo* t = FindCoilType(code);
    return t ? t->word : std::string_view{};
}

std::span<const TubeSize> TubeSizes() {
    return kTubeSizes;
}
const TubeSize* FindTubeSize(std::string_view code) {
    return FindByCode(kTubeSizes, code);
}

const TubeConstruction* FindTubeConstruction(std::string_view tube, bool steam) {
    for (const TubeConstruction& c : kConstructions)
        if (c.steam == steam && c.tube == tube) return &c;
    return nullptr;
}

std::span<const std::string_view> OfferedTubes(bool steam) {
    return steam ? std::span<const std::string_view>(kSteamTubes)
                 : std::span<const std::string_view>(kOtherTubes);
}

std::span<const std::string_view> WallsBeforeTube() {
    return kWallsBeforeTube;
}
std::span<const std::string_view> FinsBeforeTube() {
    return kFinsBeforeTube;
}
std::span<const std::string_view> FinTypes() {
    return kFinTypes;
}

std::vector<std::string_view> Refrigerants() {
    std::vector<std::string_view> names = CC_RefrigerantNames();
    const auto rank = [](std::string_view n) { return n == "12" ? 0 : n == "22" ? 1 : 2; };
    std::sort(names.begin(), names.end(), [&](std::string_view a, std::string_view b) {
        return rank(a) != rank(b) ? rank(a) < rank(b) : a < b;
    });
    return names;
}

std::span<const FinMaterial> FinMaterials() {
    return kFinMaterials;
}
std::string_view FinMaterialWord(std::string_view code) {
    const FinMaterial* m = FindByCode(kFinMaterials, code);
    return m ? m->word : std::string_view{};
}

}  // namespace catalogue
