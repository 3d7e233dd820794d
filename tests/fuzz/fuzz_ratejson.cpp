// Fuzzes kvn-rate's input: arbitrary text read as a batch of coils in JSON,
// each rated through the calculation driver. Reading may refuse the text;
// whatever is rated must answer in JSON whose every number is finite, and
// its saved row must build or be declined with run-time error 6.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/rterror.h"
#include "files/save_row.h"
#include "tools/coil_file_output.h"
#include "tools/rate_json.h"

namespace {

// At most this many coils of one input are rated, to keep each run short.
constexpr size_t kMaxCoils = 4;

bool NumbersFinite(const kvnrate::Json& j) {
    if (j.is_number_float()) return std::isfinite(j.get<double>());
    if (j.is_null()) return false;
    if (j.is_structured())
        for (const auto& item : j)
            if (!NumbersFinite(item)) return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<kvnrate::Json> inputs;
    std::string error;
    if (!kvnrate::ParseCoilInput(text, inputs, error)) {
        if (error.empty()) std::abort();
        return 0;
    }
    for (size_t i = 0; i < inputs.size() && i < kMaxCoils; ++i) {
        FieldTexts fields;
        int mode = 0;
        if (!kvnrate::FieldsFromJson(inputs[i], fields, mode, error)) {
            if (error.empty()) std::abort();
            continue;
        }
        if (mode < 1 || mode > 3) std::abort();
        kvnrate::RatedCoil coil = kvnrate::RateFields(fields, mode);
        coil.input = inputs[i];
        const kvnrate::Json out = kvnrate::ResultJson(coil);
        if (!NumbersFinite(out)) std::abort();
        (void)out.dump(-1, ' ', false, kvnrate::Json::error_handler_t::replace);
        if (!coil.ok()) continue;
        SavedCoilTable table;
        try {
            AppendSavedCoil(table, coil.coilSpec, coil.rating, kvnrate::SaveRowTextsOf(coil));
        } catch (const rt::RtError& e) {
            if (e.number() != 6) std::abort();
        }
    }
    return 0;
}
