// Rating a batch of coils for kvn-rate, on one thread or several.
#include "tools/rate_batch.h"

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "common/parallel.h"
#include "tools/result_writer.h"
#include "tools/units_output.h"

namespace kvnrate {

std::string ResultLine(const RatedCoil& coil, bool pretty) {
    if (pretty) return ResultJson(coil).dump(1, ' ', false, Json::error_handler_t::replace);
    std::string line;
    AppendResultLine(line, coil);
    return line;
}

// The answer to an input that is no coil: {"ok": false, "input": why}.
std::string FaultLine(const std::string& why, bool pretty) {
    const Json j = {{"ok", false}, {"input", why}};
    return j.dump(pretty ? 1 : -1, ' ', false, Json::error_handler_t::replace);
}

// Rates one item of a stream (or answers its fault), taking its input.
BatchResult RateItem(BatchItem& item, bool pretty, units::System system) {
    BatchResult r;
    if (!item.fault.empty()) {
        r.fault = true;
        r.line = FaultLine(item.fault, pretty);
        return r;
    }
    r.coil = RateFields(item.fields, item.airFlowMode);
    r.coil.input = std::move(item.input);
    if (system == units::System::InchPound)
        r.line = ResultLine(r.coil, pretty);
    else
        r.line =
            ResultJsonIn(system, r.coil).dump(pretty ? 1 : -1, ' ', false, Json::error_handler_t::replace);
    return r;
}

// Rates every item on `jobs` threads (0: one per core).
std::vector<BatchResult> RateBatch(const std::vector<BatchItem>& items, unsigned jobs, bool pretty) {
    return ParallelMap(items.size(), jobs, [&](std::size_t i) {
        BatchResult r{RateFields(items[i].fields, items[i].airFlowMode), {}};
        r.coil.input = items[i].input;
        r.line = ResultLine(r.coil, pretty);
        return r;
    });
}

}  // namespace kvnrate
