// The engineering warnings of saved coils, kept in the coil document beside
// its saved-coil table for the Saved Coils list: neither a column of the
// table nor part of the coil file.
//
// A coil's warnings are found by the coil's line (its number aside), so
// they follow the coil when coils above it are deleted, and a coil read
// from a file into the same document shows the warnings of the same coil
// saved into it in this session.
// A coil saved in another session shows none.
#pragma once

#include <string>
#include <vector>

#include "files/saved_coils.h"

// The key a coil's warnings and sheet are found by: its coil file line
// without its number.
std::string SavedCoilKey(SavedCoilTable::Row row);

// Remembers in `doc` `text` (the warnings on one line, "" for none) for the
// coil of `row`.
void RememberSavedCoilWarnings(CoilDocument& doc, const SavedCoilTable::Row& row, const std::string& text);
// The warnings `doc` remembers for the coil of `row`; "" when none are known.
std::string SavedCoilWarnings(const CoilDocument& doc, const SavedCoilTable::Row& row);
// The warnings of each saved coil of `doc`, by row, for the report: the
// remembered line as one entry, or none.
std::vector<std::vector<std::string>> SavedCoilWarningsByRow(const CoilDocument& doc);
