// A list of rated coils as a spreadsheet, CSV or XLSX: one row a coil with
// its tag, type, model designation, construction, entering and leaving
// air, capacities, pressure drops, fluid data and warnings, a header row
// and a units row above them, in either unit system.
//
// Every source of such a list (the Saved Coils list, a coil file, a rated
// batch, a schedule's selected coils) becomes a list of ExportCoil: the
// coil as the saved-coil table holds it (inch-pound), its tag and its
// warnings. Only what is written is converted.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "common/units.h"
#include "common/warnings.h"
#include "engine/records.h"
#include "files/save_row.h"
#include "files/saved_coils.h"

namespace kvn::exchange {

struct ExportCoil {
    std::string tag;          // the item ("CC-1"); the saved row's item when built from one
    SavedCoilTable::Row row;  // inch-pound, as BuildSavedRow fills it
    std::string warnings;     // the inch-pound warnings line ("" for none)
};

// A rated coil: its saved row (number 1) with `texts`, tagged with
// texts.item. Raises run-time error 6 as BuildSavedRow does.
ExportCoil ExportCoilOf(const CoilSpec& coilSpec, const CoilRating& rating, const SaveRowTexts& texts,
                        const std::vector<CoilWarning>& warnings);
// A coil of the saved-coil table, tagged with its item.
ExportCoil ExportCoilOfSaved(const SavedCoilTable::Row& row, const std::string& warningsLine = {});

// One written cell: its text (as CSV writes it) and, for a number, the
// value that text denotes (what XLSX writes).
struct ExportCell {
    std::string text;
    bool number = false;
    double value = 0;
    int decimals = 0;  // of the text, for a number
};

int ExportColumnCount();
// The header row: the column names, the same in both systems.
std::vector<std::string> ExportHeader();
// The units row under it, in `system` ("" for columns without a unit).
std::vector<std::string> ExportUnits(units::System system);
// The cells of one coil in `system`: numbers with the decimals of their
// quantity, placeholders empty.
std::vector<ExportCell> ExportCells(units::System system, const ExportCoil& coil);

enum class ExportFormat { Csv, Xlsx };
// The format of a file by its extension (.csv or .xlsx, any case); false
// for any other.
bool ExportFormatOf(const std::string& path, ExportFormat& format);

// Writes a list row by row, in flat memory: a CSV file (UTF-8 with a
// byte-order mark, comma-separated, CRLF) gets each row as it is added; an
// XLSX workbook (one sheet "Coils", numbers as numbers, the two header
// rows and the tag column frozen) is written in libxlsxwriter's
// constant-memory mode and completed by Commit. Errors name the file.
class CoilExportWriter {
public:
    CoilExportWriter();
    ~CoilExportWriter();
    CoilExportWriter(const CoilExportWriter&) = delete;
    CoilExportWriter& operator=(const CoilExportWriter&) = delete;

    bool Open(const std::string& path, units::System system, std::string& error);
    bool Add(const ExportCoil& coil, std::string& error);
    bool Commit(std::string& error);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// The whole list at once.
bool WriteCoilExport(const std::string& path, units::System system, const std::vector<ExportCoil>& coils,
                     std::string& error);

}  // namespace kvn::exchange
