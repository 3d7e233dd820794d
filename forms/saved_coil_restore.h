// A saved coil back onto the coil panel: the field texts a row of the
// saved-coil table gives, and the fields it cannot give. Plain C++: the
// window fills its fields from these.
#pragma once

#include <string>
#include <vector>

#include "common/calc_driver.h"
#include "files/saved_coils.h"

struct RestoredCoil {
    std::string code;   // the coil type code ("W"); "" when the row's type word is unknown
    FieldTexts fields;  // inch-pound texts by field key; the air flow as face velocity
    std::string item;   // the report header's item, model and coils per system
    std::string model;
    std::string coilsPerSystem;
    // The names of the fields the coil type shows that the row does not
    // hold (a row read from a coil file has no circuits or altitude).
    std::vector<std::string> missing;
};

// The fields of a saved row for the coil panel.
RestoredCoil RestoreSavedCoil(const SavedCoilTable::Row& row);

// A number's text cut to a field of `maxLength` characters (0: any) by
// rounding to fewer significant digits; other texts as they are.
std::string FitFieldText(const std::string& text, int maxLength);
