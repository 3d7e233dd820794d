// Saving a rated coil as a row of the saved-coil table, and deleting one.
#pragma once

#include <string>

#include "engine/coil_type.h"
#include "engine/records.h"
#include "files/saved_coils.h"

// The texts of the coil form that go into a saved row beside the records.
struct SaveRowTexts {
    std::string coilsPerSystem;  // txtCPS(0); blank saves 1
    std::string model;           // txtHdr(2), the model designation
    std::string item;            // txtHdr(1)
    std::string coilTypeWord;    // Label5: "Water", "Glycol", "Steam", "Evaporator", "Condenser"
    std::string tubeText;        // cboTubeOD: "1", "3", "4", "5"
    std::string wallText;        // cboWallThk as shown
};

// Column numbers of the saved-coil table.
namespace col {
enum : int {
    Number = 0,
    CoilsPerSystem = 1,
    Model = 2,
    Item = 3,
    CoilType = 4,
    TubeSize = 5,
    TubeWall = 6,
    FinThk = 7,
    FinMaterial = 8,
    FinType = 9,
    FinHeight = 10,
    FinnedLength = 11,
    Rows = 12,
    FPI = 13,
    FaceArea = 14,
    Scfm = 15,
    EatDb = 16,
    EatWb = 17,
    LatDb = 18,
    LatWb = 19,
    FaceVelocity = 20,
    AirPD = 21,
    EntFluidTemp = 22,
    LvgFluidTemp = 23,
    FluidPD = 24,
    Gpm = 25,
    SteamPressure = 26,
    TotalBtuh = 27,
    SensibleBtuh = 28,
    Circuits = 29,
    Refrigerant = 30,
    PercentGlycol = 31,
    Altitude = 32,
    // Columns 0 to 32 are filled, shown and written; column 33 never is.
    Count = 33
};
}  // namespace col

// The coil type word of a coil type code ("W" -> "Water"); "" for others.
std::string CoilTypeWord(const std::string& application);
// The kind of a coil type word ("Water" -> Water), matched exactly; Unknown
// for any other text.
CoilType CoilTypeOfWord(const std::string& word);
// The size text of a tube code with an inch mark ("5" -> 5/8"), for the
// codes "1", "3", "4" and "5"; "" for any other code.
std::string TubeSizeText(const std::string& tubeCode);
// "Aluminum" for "A", "Copper" for "C", "" otherwise.
std::string FinMaterialWord(const std::string& finMat);

// True when `text` holds a semicolon or a line break, which would split or
// break a line of the coil file.
bool HasFileBreaks(const std::string& text);
// `text` without semicolons and line breaks.
std::string StripFileBreaks(const std::string& text);

// The saved row of a rated coil at row index `rowIndex`. The standard air
// flow is rounded half to even into a 32-bit integer; a value beyond that
// raises run-time error 6 and nothing is built.
SavedCoilTable::Row BuildSavedRow(int rowIndex, const CoilSpec& coilSpec, const CoilRating& rating,
                                  const SaveRowTexts& texts);

// Fills the spare row with the rated coil and adds a new spare row; returns
// the number of coils. On a run-time error the table is unchanged.
int AppendSavedCoil(SavedCoilTable& table, const CoilSpec& coilSpec, const CoilRating& rating,
                    const SaveRowTexts& texts);

// Deletes coil `row` (0-based): the coils below move up one row and are
// renumbered, and the last coil row becomes the spare row. Returns false and
// changes nothing when `row` is not a coil.
bool DeleteSavedCoil(SavedCoilTable& table, int row);
