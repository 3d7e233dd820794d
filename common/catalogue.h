// The catalogue of domain facts that more than one layer shows or reads: the
// coil types the form offers, the tube sizes with their construction lists
// and the fin materials. Each fact
// is written here once; the window, the driver, the selection search, the
// files, the reports and kvn-rate look it up here.
#pragma once

#include <span>
#include <string_view>
#include <vector>

#include "engine/coil_type.h"

namespace catalogue {

// A coil type as the program shows it.
struct CoilTypeInfo {
    CoilType type;
    std::string_view code;  // record code, "W"
    std::string_view word;  // "Water", as in the saved-coil list and the report
};

// The five coil types the form offers (not "O"), in the order of their codes'
// choice list: "S", "C", "W", "E", "G".
std::span<const CoilTypeInfo> CoilTypes();
// The entry of a code; nullptr for a code outside the list ("O" included).
const CoilTypeInfo* FindCoilType(std::string_view code);
// The word of a code ("W" -> "Water"); "" for others.
std::string_view CoilTypeWord(std::string_view code);

// A tube size: its code on the form and in the file, the engine's pattern code
// and the outside diameter.
struct TubeSize {
    std::string_view code;     // "3"
    std::string_view pattern;  // engine pattern code: "4" is rated as "P"
    std::string_view od;       // outside diameter in inches as a fraction: "3/8"
    double inches;             // 0.375
};

// The five tube sizes, by code: "1", "3", "4", "5", "6".
std::span<const TubeSize> TubeSizes();
// The size of a code; nullptr for a code outside the list.
const TubeSize* FindTubeSize(std::string_view code);

// The construction lists of a tube size: the wall and fin thicknesses the form
// offers for it, and the texts it takes when the tube is chosen (a wall text
// may differ from every item: "0.02" beside "0.020"). Steam coils have lists
// of their own; there are none for the 3/8 in. tube of a steam coil nor for
// the 1 in. tube of any other.
struct TubeConstruction {
    bool steam;
    std::string_view tube;                    // tube size code, "3"
    std::span<const std::string_view> walls;  // "0.014", "0.016"
    std::string_view wallText;                // "0.014"
    std::span<const std::string_view> fins;   // ".0045", ".006", ".008"
    std::string_view finText;                 // "0.0045"
};

// The lists of a tube size for a steam coil or another; nullptr when there
// are none.
const TubeConstruction* FindTubeConstruction(std::string_view tube, bool steam);
// The tube sizes the form offers, in its order: "5", "1" for a steam coil,
// "3", "4", "5" for the others.
std::span<const std::string_view> OfferedTubes(bool steam);

// The wall and fin thicknesses the form offers before a tube is chosen.
std::span<const std::string_view> WallsBeforeTube();
std::span<const std::string_view> FinsBeforeTube();

// The fin type codes: "SR", "SS", "CR" (corrugated, the form's), ...
std::span<const std::string_view> FinTypes();

// The refrigerants the engine rates, as the refrigerant list offers them:
// "12" and "22" first, the others in the order of their names.
std::vector<std::string_view> Refrigerants();

// A fin material.
struct FinMaterial {
    std::string_view code;  // "A"
    std::string_view word;  // "Aluminum"
};

// "A" aluminum and "C" copper.
std::span<const FinMaterial> FinMaterials();
// The word of a code ("A" -> "Aluminum"); "" for others.
std::string_view FinMaterialWord(std::string_view code);

}  // namespace catalogue
