// Fuzzes the coil-file reader with arbitrary file texts. A text that reads
// must write back to a text that reads again to the same table.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "files/coil_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    SavedCoilTable table;
    const CoilFileStatus status = ParseCoilFileText(text, table);
    if (table.CoilCount() < 0) std::abort();
    if (!status.ok) {
        if (status.reason.empty()) std::abort();
        (void)status.Message("fuzz.kvn", false);
        return 0;
    }
    // Round trip: what was read writes and reads back identically.
    const std::string written = CoilFileText(table);
    SavedCoilTable again;
    if (!ParseCoilFileText(written, again).ok) std::abort();
    if (again.CoilCount() != table.CoilCount()) std::abort();
    for (int r = 0; r < table.CoilCount(); ++r)
        for (int c = 0; c <= 32; ++c)
            if (CellText(table.At(c, r)) != CellText(again.At(c, r))) std::abort();
    return 0;
}
