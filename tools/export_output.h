// kvn-rate --export: the rated coils of a batch, or the coils of a coil file
// (--list), as a CSV file or an XLSX workbook, one row a coil, in the units
// of --units. A batch's rows are written as its coils are rated, in flat
// memory.
#pragma once

#include <cstddef>
#include <string>

#include "common/units.h"
#include "exchange/coil_export.h"
#include "tools/rate_json.h"

namespace kvnrate {

// Exit status when the file of --export cannot be written.
constexpr int kExitExport = 4;

// The row of a rated coil: tagged with "Item", the model as --kvn saves it.
kvn::exchange::ExportCoil ExportCoilOf(const RatedCoil& coil);

class ExportStream {
public:
    ExportStream(std::string path, units::System system);

    // The `number`th coil of the batch (from 1), rated or not.
    void Add(std::size_t number, const RatedCoil& coil, bool rated);

    // Completes the file; the exit status (0 when written).
    int Finish();

private:
    std::string path_;
    kvn::exchange::CoilExportWriter writer_;
    bool failed_ = false;
    std::string failure_;
};

// --list with --export: the coils of the coil file `kvnPath` (no warnings:
// a coil file keeps none).
int ExportKvnFile(const std::string& kvnPath, const std::string& path, units::System system);

}  // namespace kvnrate
