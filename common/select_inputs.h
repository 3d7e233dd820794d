// The "Select to Duty" dialog without its widgets: what the user enters, as
// texts, turned into a search; the results as table rows; a chosen
// candidate as the coil panel's fields.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "common/calc_driver.h"
#include "common/selection.h"

namespace selection {

struct DialogInputs {
    std::string rowsFrom = "1", rowsTo = "10";
    std::string fpiFrom = "6", fpiTo = "14";
    std::string circuits;                     // alternatives, separated by commas or blanks
    std::vector<std::string> tubes;           // tube codes searched
    std::vector<std::string> finMats;         // fin materials searched
    std::map<std::string, std::string> duty;  // duty key -> limit text ("" none)
    bool useRise = false;                     // the flow from the fluid rise
    std::string gpm, rise;
};

// The tube codes the coil panel offers for a coil type.
std::vector<std::string> OfferedTubes(const std::string& application);

// The dialog's starting inputs for the panel's fields: the full rows and
// fins ranges, the circuits of the panel's tube height, the panel's tube and
// fin material, its flow. With `last` (the inputs of the last search of the
// session) its ranges, limits and choices are kept where the coil type
// still offers them; the flow is the panel's.
DialogInputs InputsForPanel(const FieldTexts& panel, const DialogInputs* last);

// The search for the inputs: the panel's fields fixed, the construction
// fields searched as given. False with a message on a fault.
bool SpecFromInputs(const FieldTexts& panel, int airFlowMode, const DialogInputs& in, SearchSpec& query,
                    std::string& error);

// The results table: column titles, and per candidate the cell texts and
// the numbers the columns sort by.
const std::vector<std::string>& ResultColumns();
struct ResultRow {
    std::vector<std::string> cells;
    std::vector<double> keys;
};
ResultRow RowForCandidate(const Candidate& c, int rank, const SearchSpec& query);

// The capacity margin shown: the total (else the sensible) capacity over the
// duty's, in percent of the duty; false when the duty sets no capacity.
bool CapacityMarginPercent(const Candidate& c, const SearchSpec& query, double& percent);

// The panel fields a chosen candidate sets (its construction fields, and the
// flow found for a fluid rise).
FieldTexts PanelFieldsOf(const Candidate& c, const SearchSpec& query);

}  // namespace selection
