#include "files/saved_coil_warnings.h"

#include "files/coil_file.h"
#include "files/save_row.h"

std::string SavedCoilKey(SavedCoilTable::Row row) {
    row[col::Number] = Cell{};
    return CoilFileLine(row);
}

void RememberSavedCoilWarnings(CoilDocument& doc, const SavedCoilTable::Row& row, const std::string& text) {
    doc.warnings[SavedCoilKey(row)] = text;
}

std::string SavedCoilWarnings(const CoilDocument& doc, const SavedCoilTable::Row& row) {
    const auto it = doc.warnings.find(SavedCoilKey(row));
    return it == doc.warnings.end() ? std::string() : it->second;
}

std::vector<std::vector<std::string>> SavedCoilWarningsByRow(const CoilDocument& doc) {
    std::vector<std::vector<std::string>> out;
    for (int r = 0; r < doc.table.CoilCount(); ++r) {
        const std::string line = SavedCoilWarnings(doc, doc.table.Rows()[r]);
        out.push_back(line.empty() ? std::vector<std::string>{} : std::vector<std::string>{line});
    }
    return out;
}
