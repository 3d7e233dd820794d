// Rating a batch of coils for kvn-rate, on one thread or several: the coils
// are rated independently and come back in input order, each with its output
// line, so the output does not depend on the number of threads.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "common/parallel.h"
#include "tools/rate_json.h"
#include "tools/result_writer.h"

namespace kvnrate {

// One coil of the batch as read. Its implicit move may allocate (the field
// map); a failure there ends kvn-rate at main with exit 1.
struct BatchItem {  // NOLINT(bugprone-exception-escape)
    Json input;
    FieldTexts fields;
    int airFlowMode = kAirFlowAcfm;
};

struct BatchResult {
    RatedCoil coil;
    std::string line;  // the coil's result JSON, without the newline
};

inline std::string ResultLine(const RatedCoil& coil, bool pretty) {
    if (pretty) return ResultJson(coil).dump(1, ' ', false, Json::error_handler_t::replace);
    std::string line;
    AppendResultLine(line, coil);
    return line;
}

// Rates every item on `jobs` threads (0: one per core).
inline std::vector<BatchResult> RateBatch(const std::vector<BatchItem>& items, unsigned jobs, bool pretty) {
    return ParallelMap(items.size(), jobs, [&](std::size_t i) {
        BatchResult r{RateFields(items[i].fields, items[i].airFlowMode), {}};
        r.coil.input = items[i].input;
        r.line = ResultLine(r.coil, pretty);
        return r;
    });
}

}  // namespace kvnrate
