// kvn-rate --export: the rated coils of a batch, or the coils of a coil
// file, as a CSV file or an XLSX workbook.
#include "tools/export_output.h"

#include <cstdio>
#include <string>
#include <utility>

#include "engine/rterror.h"
#include "files/coil_file.h"
#include "tools/coil_file_output.h"

namespace kvnrate {

// The row of a rated coil: tagged with "Item", the model as --kvn saves it.
kvn::exchange::ExportCoil ExportCoilOf(const RatedCoil& coil) {
    return kvn::exchange::ExportCoilOf(coil.coilSpec, coil.rating, SaveRowTextsOf(coil),
                                       coil.result.warnings);
}

ExportStream::ExportStream(std::string path, units::System system) : path_(std::move(path)) {
    if (!writer_.Open(path_, system, failure_)) failed_ = true;
}

void ExportStream::Add(std::size_t number, const RatedCoil& coil, bool rated) {
    if (!rated) {
        SayNotRated(number, path_);
        return;
    }
    if (failed_) return;
    try {
        if (!writer_.Add(ExportCoilOf(coil), failure_)) failed_ = true;
    } catch (const rt::RtError& e) {
        failure_ = "coil " + std::to_string(number) + " cannot be exported: " + e.description();
        failed_ = true;
    }
}

int ExportStream::Finish() {
    if (!failed_ && writer_.Commit(failure_)) return kExitOk;
    std::fprintf(stderr, "kvn-rate: %s\n", failure_.c_str());
    return kExitExport;
}

// --list with --export: the coils of the coil file `kvnPath` (no warnings:
// a coil file keeps none).
int ExportKvnFile(const std::string& kvnPath, const std::string& path, units::System system) {
    SavedCoilTable table;
    const CoilFileStatus status = ReadCoilFile(kvnPath, table);
    if (!status.ok) {
        std::fprintf(stderr, "kvn-rate: %s\n", status.Message(kvnPath, false).c_str());
        return kExitCoilFile;
    }
    std::string error;
    kvn::exchange::CoilExportWriter writer;
    bool ok = writer.Open(path, system, error);
    for (int r = 0; ok && r < table.CoilCount(); ++r)
        ok = writer.Add(kvn::exchange::ExportCoilOfSaved(table.Rows()[r]), error);
    if (ok && writer.Commit(error)) return kExitOk;
    std::fprintf(stderr, "kvn-rate: %s\n", error.c_str());
    return kExitExport;
}

}  // namespace kvnrate
