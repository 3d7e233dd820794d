#include "files/saved_coil_warnings.h"

#include <map>

#include "files/coil_file.h"
#include "files/save_row.h"

namespace {

std::map<std::string, std::string>& Store() {
    static std::map<std::string, std::string> store;
    return store;
}

std::string Key(SavedCoilTable::Row row) {
    row[col::Number] = Cell{};
    return CoilFileLine(row);
}

}  // namespace

void RememberSavedCoilWarnings(const SavedCoilTable::Row& row, const std::string& text) {
    Store()[Key(row)] = text;
}

std::string SavedCoilWarnings(const SavedCoilTable::Row& row) {
    const auto it = Store().find(Key(row));
    return it == Store().end() ? std::string() : it->second;
}
