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
#include "tools/units_output.h"

namespace kvnrate {

// One coil of the batch as read. Its implicit move may allocate (the field
// map); a failure there ends kvn-rate at main with exit 1.
struct BatchItem {  // NOLINT(bugprone-exception-escape)
    Json input;
    FieldTexts fields;
    int airFlowMode = kAirFlowAcfm;
    std::string fault;  // not empty: the input was no coil, and this says why
};

// Its implicit move may allocate, as BatchItem's.
struct BatchResult {  // NOLINT(bugprone-exception-escape)
    RatedCoil coil;
    std::string line;    // the coil's result JSON, without the newline
    bool fault = false;  // the input was no coil: nothing was rated

    bool rated() const { return !fault && coil.ok(); }
    int exitStatus() const { return fault ? kExitUsage : coil.exitStatus(); }
};

inline std::string ResultLine(const RatedCoil& coil, bool pretty) {
    if (pretty) return ResultJson(coil).dump(1, ' ', false, Json::error_handler_t::replace);
    std::string line;
    AppendResultLine(line, coil);
    return line;
}

// The answer to an input that is no coil: {"ok": false, "input": why}.
inline std::string FaultLine(const std::string& why, bool pretty) {
    const Json j = {{"ok", false}, {"input", why}};
    return j.dump(pretty ? 1 : -1, ' ', false, Json::error_handler_t::replace);
}

// Rates one item of a stream (or answers its fault), taking its input.
inline BatchResult RateItem(BatchItem& item, bool pretty, units::System system) {
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
inline std::vector<BatchResult> RateBatch(const std::vector<BatchItem>& items, unsigned jobs, bool pretty) {
    return ParallelMap(items.size(), jobs, [&](std::size_t i) {
        BatchResult r{RateFields(items[i].fields, items[i].airFlowMode), {}};
        r.coil.input = items[i].input;
        r.line = ResultLine(r.coil, pretty);
        return r;
    });
}

}  // namespace kvnrate
