// The table of saved coils, and the coil document that holds one.
//
// Columns 0 to 33; rows 0 to n-1 are saved coils in the order they were
// saved or read, and row n is always present and empty (the spare row).
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <variant>
#include <vector>

struct SavedCoilSheet;  // files/saved_coil_sheets.h

// A cell holds nothing, a text, or a number of one of the table's types.
using Cell = std::variant<std::monostate, std::string, int32_t, int16_t, float, double>;

// The text of a cell: a text as it is, a number in its ordinary shortest
// decimal form, an empty cell as "".
std::string CellText(const Cell& cell);

class SavedCoilTable {
public:
    static constexpr int kColumns = 34;
    using Row = std::array<Cell, kColumns>;

    SavedCoilTable() { Reset(); }

    // Back to the single empty spare row.
    void Reset() { rows_.assign(1, Row{}); }
    // Number of saved coils (the spare row not counted).
    int CoilCount() const { return static_cast<int>(rows_.size()) - 1; }
    // All rows, the spare row last.
    const std::vector<Row>& Rows() const { return rows_; }
    std::vector<Row>& Rows() { return rows_; }
    const Cell& At(int column, int row) const { return rows_.at(row).at(column); }
    Cell& At(int column, int row) { return rows_.at(row).at(column); }

private:
    std::vector<Row> rows_;
};

// What the coil file commands work on: the saved coils, the name of their
// coil file ("" for none), the table as it was last written to or read
// from that file, and the engineering warnings of the coils saved into it
// (files/saved_coil_warnings.h). Each document is independent of every other.
struct CoilDocument {
    SavedCoilTable table;
    std::string fileName;
    SavedCoilTable onFile;
    // The warnings line of each coil saved into this document, by the
    // coil's line in the coil file with its number left out. Neither a
    // column of the table nor written to the file; kept when the table is
    // replaced, so a coil read back shows the warnings it was saved with.
    std::map<std::string, std::string> warnings;
    // The records and sheet texts of each coil saved into this document in
    // this session, found as its warnings are (files/saved_coil_sheets.h):
    // what a submittal prints as the coil's sheet.
    std::map<std::string, std::shared_ptr<const SavedCoilSheet>> sheets;
};
