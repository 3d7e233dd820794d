#include "files/saved_coil_sheets.h"

#include <utility>

#include "files/saved_coil_warnings.h"

void RememberSavedCoilSheet(CoilDocument& doc, const SavedCoilTable::Row& row, SavedCoilSheet sheet) {
    doc.sheets[SavedCoilKey(row)] = std::make_shared<const SavedCoilSheet>(std::move(sheet));
}

std::shared_ptr<const SavedCoilSheet> SavedCoilSheetOf(const CoilDocument& doc,
                                                       const SavedCoilTable::Row& row) {
    const auto it = doc.sheets.find(SavedCoilKey(row));
    return it == doc.sheets.end() ? nullptr : it->second;
}
