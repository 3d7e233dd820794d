// Fuzzes the schedule reader with arbitrary file texts, read as CSV: a file
// is refused whole with its name and a reason, or each of its rows reads
// into a request or is refused with a reason, in either unit system.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "exchange/schedule.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    kvn::schedule::ScheduleTable table;
    try {
        table = kvn::schedule::ParseSchedule(bytes, "fuzz.csv");
    } catch (const kvn::schedule::ScheduleFileError& e) {
        if (e.reason.empty() || std::string(e.what()).rfind("fuzz.csv: ", 0) != 0) std::abort();
        return 0;
    }
    if (table.rows.empty() || table.rows.size() > static_cast<std::size_t>(kvn::schedule::kMaxRows))
        std::abort();
    int last = 0;
    for (std::size_t i = 0; i < table.rows.size(); ++i) {
        if (table.rows[i].number <= last || table.rows[i].cells.size() != table.header.size()) std::abort();
        last = table.rows[i].number;
        for (const units::System system : {units::System::InchPound, units::System::SI}) {
            const kvn::schedule::ScheduleRequest r = kvn::schedule::RequestForRow(table, i, system);
            if (r.row != last) std::abort();
            if (!r.ok() && r.column.empty()) std::abort();
            if (r.ok() && !r.fields.count("TH") && !r.choices.count("TH")) std::abort();
            for (const auto& [key, list] : r.choices)
                if (list.empty()) std::abort();
        }
    }
    return 0;
}
