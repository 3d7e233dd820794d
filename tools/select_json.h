// kvn-rate --select: a duty and a construction space in JSON, the ranked
// candidates out.
//
// Input: one JSON object with the coil field keys as for rating, where a
// construction key may be an array of alternatives, a "Duty" object of
// limits (JSON numbers), an optional "FluidRise" in place of "Gpm" and an
// optional "Top" (10). Output: see SelectionJson.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "common/select_inputs.h"
#include "common/selection.h"
#include "common/units.h"
#include "tools/rate_json.h"

namespace kvnrate {

// The --select part of kvn-rate's help.
extern const char kSelectHelp[];

// What a selection input gives besides the fields: the duty in the input's
// units (converted once the coil type is known), and the texts as given.
struct SelectInput {
    units::System system = units::System::InchPound;
    std::map<std::string, double> duty;  // key as given -> limit as given
    std::optional<double> rise;          // as given
    selection::ShownTexts shown;
};

// The search query and list length of a selection input whose texts and
// duty are in `in.system`; `in` keeps the texts as given.
bool SelectSpecFromJson(const std::string& text, selection::SearchSpec& query, int& top, SelectInput& in,
                        std::string& error, std::vector<std::string>* ignored = nullptr);

// The answer of a finished search.
Json SelectionJson(const selection::SearchResult& r, const selection::SearchSpec& query, int top,
                   const selection::ShownTexts& shown = selection::ShownTexts());

// kvn-rate --select on an input text; writes the answer to `out` and
// returns the exit status.
int RunSelection(const std::string& text, bool pretty, int jobs, std::string& out,
                 units::System system = units::System::InchPound);

}  // namespace kvnrate
