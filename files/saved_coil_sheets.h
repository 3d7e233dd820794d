// The rated records and sheet texts of saved coils, kept in the coil
// document beside its table for the submittal package: a coil's sheet is
// printed from them exactly as Print printed it when the coil was saved.
// Neither a column of the table nor part of the coil file: a coil read from
// a file, or saved in another session, has none (it is in a submittal's
// schedule without a sheet).
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "engine/records.h"
#include "files/saved_coils.h"

struct SavedCoilSheet {
    CoilSpec coilSpec;
    CoilRating rating;
    std::array<std::string, 5> header;  // the report header: 0 date, 1 item, 2 model, 3 customer, 4 project
    std::string notes;
    std::array<std::string, 4> coilsPerSystem;  // 0 coils per system, 1 high, 2 wide, 3 deep
    std::string coilType;                       // W G S E C
    std::string tubeOD;                         // 1 3 4 5 6
    std::vector<std::string> warnings;          // the rating's warnings, inch-pound
    std::string engineer;                       // of a coil added from a schedule, for the cover
};

// Remembers in `doc` the sheet of the coil of `row`.
void RememberSavedCoilSheet(CoilDocument& doc, const SavedCoilTable::Row& row, SavedCoilSheet sheet);
// The sheet `doc` remembers for the coil of `row`; null when none is known.
std::shared_ptr<const SavedCoilSheet> SavedCoilSheetOf(const CoilDocument& doc,
                                                       const SavedCoilTable::Row& row);
