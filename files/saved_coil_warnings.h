// The engineering warnings of saved coils, kept beside the saved-coil table
// for the Saved Coils list: neither a column of the table nor part of the
// coil file.
//
// A coil's warnings are found by the coil's line (its number aside), so
// they follow the coil when coils above it are deleted, and a coil read
// from a file shows the warnings of the same coil saved in this session.
// A coil saved in another session shows none.
#pragma once

#include <string>

#include "files/saved_coils.h"

// Remembers `text` (the warnings on one line, "" for none) for the coil of `row`.
void RememberSavedCoilWarnings(const SavedCoilTable::Row& row, const std::string& text);
// The warnings remembered for the coil of `row`; "" when none are known.
std::string SavedCoilWarnings(const SavedCoilTable::Row& row);
