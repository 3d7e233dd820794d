// Rating a batch of coils for kvn-rate, on one thread or several: the coils
// are rated independently and come back in input order, each with its output
// line, so the output does not depend on the number of threads.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "common/parallel.h"
#include "common/units.h"
#include "tools/rate_json.h"

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

// The result line of a rated coil: compact, or indented over several lines.
std::string ResultLine(const RatedCoil& coil, bool pretty);

// The answer to an input that is no coil: {"ok": false, "input": why}.
std::string FaultLine(const std::string& why, bool pretty);

// Rates one item of a stream (or answers its fault), taking its input.
BatchResult RateItem(BatchItem& item, bool pretty, units::System system);

// Rates every item on `jobs` threads (0: one per core).
std::vector<BatchResult> RateBatch(const std::vector<BatchItem>& items, unsigned jobs, bool pretty);

}  // namespace kvnrate
