// kvn-rate in SI units (--units si).
#include "tools/units_output.h"

#include <string>

#include "common/warnings.h"

namespace kvnrate {

// The inch-pound field texts for field texts given in `system`.
FieldTexts InchPoundFields(const FieldTexts& fields, units::System system) {
    return units::EntryMemory().InchPoundFields(fields, system);
}

// The result object of one coil in `system`: inch-pound results are left
// as they are; SI results carry "units": "SI" after "ok", the grid in SI and
// the validation message in its SI wording.
Json ResultJsonIn(units::System system, const RatedCoil& c) {
    Json j = ResultJson(c);
    if (system == units::System::InchPound) return j;
    Json out = Json::object();
    for (auto it = j.begin(); it != j.end(); ++it) {
        out[it.key()] = it.value();
        if (it.key() == "ok") out["units"] = "SI";
    }
    if (out.contains("validation"))
        out["validation"]["message"] = units::Message(system, c.result.validation.message);
    if (out.contains("warnings"))
        for (Json& w : out["warnings"]) w["text"] = WarningText(system, w["text"].get<std::string>());
    if (out.contains("grid")) {
        Json grid = Json::array();
        // A placeholder ("N/A" in the SI grid) is null: no number stands for it.
        for (const GridRow& row : units::GridRows(system, c.result.grid, c.coilSpec, c.rating)) {
            if (row.value.find(units::kNotApplicable) != std::string::npos)
                grid.push_back({row.label, nullptr});
            else
                grid.push_back({row.label, row.value});
        }
        out["grid"] = grid;
    }
    return out;
}

}  // namespace kvnrate
