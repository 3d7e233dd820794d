// The saved-coil table shown in a unit system: the Saved Coils list and
// kvn-rate's --list. The table and the coil file stay inch-pound; only what
// is shown is converted.
#pragma once

#include <string>

#include "common/units.h"
#include "files/saved_coils.h"

// The quantity of `column` of a saved row (the fluid pressure drop is a
// refrigerant's or a liquid's by the row's coil type); false for columns
// without a unit (counts, codes, designations).
bool SavedColumnQuantity(const SavedCoilTable::Row& row, int column, units::Quantity& q);

// The number a cell holds (a numeric text too); false for none.
bool SavedCellNumber(const Cell& cell, double& value);

// The text of `column` of a saved row in `system`. Inch-pound: CellText's.
// SI: a quantity converted and written with the SI decimals of its quantity
// ("53.83634" F -> "12.1"); a heating water or glycol coil's leaving wet
// bulb, a placeholder, reads "N/A"; other cells as CellText writes them.
std::string SavedCellText(units::System system, const SavedCoilTable::Row& row, int column);
