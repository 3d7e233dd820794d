#pragma once
// The cell values of an XLSX workbook's first sheet: shared strings, inline
// strings, formula results written as strings, booleans and numbers, each as
// its text. Everything else (styles, formulas, other sheets) is left unread.
//
// A workbook is untrusted input: the zip entries are read with a cap on
// their uncompressed size whatever their headers claim, a document type
// declaration is refused, and the rows and columns are bounded.
#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kvn::xlsx {

// A workbook that cannot be read, and why.
struct XlsxError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct ReadLimits {
    std::size_t maxPartBytes = 128u << 20;   // one XML part, uncompressed
    std::size_t maxTotalBytes = 256u << 20;  // every part read, uncompressed
    int maxRows = 10001;                     // rows holding a value
    std::size_t maxCells = 4u << 20;         // cells kept, gaps included
};

// One sheet row that holds a value: its number on the sheet (1-based) and
// its cells, column 0 = "A"; a gap between cells is an empty text.
struct SheetRow {
    int number = 0;
    std::vector<std::string> cells;
};

// The rows of the first sheet, in sheet order; rows with no value left out.
// Numbers are written as their shortest text of 15 significant digits
// ("0.30000000000000004" -> "0.3"), booleans as TRUE or FALSE.
// Throws XlsxError on a malformed or oversized workbook.
std::vector<SheetRow> ReadFirstSheet(std::string_view bytes, const ReadLimits& limits = ReadLimits());

// The column index of a cell reference ("C7" -> 2), and the row number
// (7); false for a malformed reference or a column past "XFD".
bool ParseCellRef(std::string_view ref, int& column, int& row);

// A column's letters (0 -> "A", 27 -> "AB").
std::string ColumnName(int column);

}  // namespace kvn::xlsx
