// Fuzzes the XLSX reader with arbitrary archives. A workbook either reads
// or is refused with a reason; what reads keeps to the limits.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "exchange/xlsx_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    kvn::xlsx::ReadLimits limits;
    limits.maxPartBytes = 8u << 20;
    limits.maxTotalBytes = 16u << 20;
    limits.maxCells = 1u << 18;
    try {
        const auto rows = kvn::xlsx::ReadFirstSheet(bytes, limits);
        int last = 0;
        std::size_t cells = 0;
        for (const auto& row : rows) {
            if (row.number <= last || row.cells.empty() || row.cells.back().empty()) std::abort();
            last = row.number;
            cells += row.cells.size();
        }
        if (rows.size() > static_cast<std::size_t>(limits.maxRows) || cells > limits.maxCells) std::abort();
    } catch (const kvn::xlsx::XlsxError& e) {
        if (std::string_view(e.what()).empty()) std::abort();
    }
    return 0;
}
