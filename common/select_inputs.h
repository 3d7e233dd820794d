// The "Select to Duty" dialog without its widgets: what the user enters, as
// texts, turned into a search; the results as table rows; a chosen
// candidate as the coil panel's fields.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "common/calc_driver.h"
#include "common/selection.h"
#include "common/units.h"

namespace selection {

// ---- Units -------------------------------------------------------------
//
// A search runs on inch-pound texts and limits, whatever the user's units;
// these convert the duty and the candidates' texts at its edges.

// The inch-pound duty key for a duty key given in `system` ("TotalKW" in
// SI -> "TotalBtuh"); false with a message naming the key when the key is
// unknown or belongs to the other unit system.
bool DutyKeyFrom(units::System system, const std::string& key, std::string& ipKey, std::string& error);
// The name of an inch-pound duty key in `system`.
std::string DutyKeyIn(units::System system, const std::string& ipKey);
// The unit of a duty key for a coil type in `system` ("kW", "ft of water").
std::string DutyUnit(units::System system, const std::string& application, const std::string& ipKey);
// A duty limit converted from or to `system`; with `difference` a margin
// (temperatures as differences).
double DutyToInchPound(units::System system, const std::string& application, const std::string& ipKey,
                       double value);
double DutyFromInchPound(units::System system, const std::string& application, const std::string& ipKey,
                         double value, bool difference = false);
// A temperature difference (the fluid rise): K in SI, F in inch-pound.
double RiseToInchPound(units::System system, double value);

// The texts of fields as the user gave them, for the inch-pound texts a
// search rates: texts noted when the input was converted are given back as
// they were; others (a flow found for a rise) are converted at 15 digits.
class ShownTexts {
public:
    explicit ShownTexts(units::System system = units::System::InchPound) : system_(system) {}
    units::System System() const { return system_; }
    // The inch-pound text for `text` of field `key` given in the system,
    // noted so that Shown gives `text` back.
    std::string ToInchPound(const std::string& key, const std::string& text);
    std::string Shown(const std::string& key, const std::string& ipText) const;
    FieldTexts ShownFields(const FieldTexts& ip) const;

private:
    units::System system_;
    std::map<std::string, std::map<std::string, std::string>> noted_;  // key -> ip text -> shown
};

struct DialogInputs {
    std::string rowsFrom = "1", rowsTo = "10";
    std::string fpiFrom = "6", fpiTo = "14";
    std::string circuits;                     // alternatives, separated by commas or blanks
    std::vector<std::string> tubes;           // tube codes searched
    std::vector<std::string> finMats;         // fin materials searched
    std::map<std::string, std::string> duty;  // duty key -> limit text ("" none)
    bool useRise = false;                     // the flow from the fluid rise
    std::string gpm, rise;
    // The warning codes a candidate may not have (the default limits).
    std::vector<std::string> refused;
    units::System system = units::System::InchPound;  // of the limits, flow and rise
};

// The tube codes the coil panel offers for a coil type.
std::vector<std::string> OfferedTubes(const std::string& application);

// The dialog's starting inputs for the panel's fields: the full rows and
// fins ranges, the circuits of the panel's tube height, the panel's tube and
// fin material, its flow. With `last` (the inputs of the last search of the
// session) its ranges, limits and choices are kept where the coil type
// still offers them; the flow is the panel's.
// The panel's fields are inch-pound texts; `system` is the one the dialog
// shows, with the default limits filled in (see DefaultLimits) where the
// last search left none.
DialogInputs InputsForPanel(const FieldTexts& panel, const DialogInputs* last,
                            units::System system = units::System::InchPound);

// The search for the inputs: the panel's fields fixed, the construction
// fields searched as given. False with a message on a fault.
bool SpecFromInputs(const FieldTexts& panel, int airFlowMode, const DialogInputs& in, SearchSpec& query,
                    std::string& error);

// The label of a duty limit in the dialog, with its unit ("Total kW min").
std::string DutyLabel(units::System system, const std::string& application, const std::string& ipKey);

// The results table: column titles, and per candidate the cell texts and
// the numbers the columns sort by.
// Every header names its unit; "Fin" is the fin material, "Area" the
// outside surface (primary and fins).
std::vector<std::string> ResultColumns(units::System system, const std::string& application);
// Warning codes in words, for the table ("laminar tube flow, freeze risk").
std::string WarningsInWords(const std::vector<CoilWarning>& warnings);
struct ResultRow {
    std::vector<std::string> cells;
    std::vector<double> keys;
};
// `rank` 0: the closest candidate, labelled by how it misses the duty.
ResultRow RowForCandidate(const Candidate& c, int rank, const SearchSpec& query,
                          units::System system = units::System::InchPound);

// The capacity margin shown: the total (else the sensible) capacity over the
// duty's, in percent of the duty; false when the duty sets no capacity.
bool CapacityMarginPercent(const Candidate& c, const SearchSpec& query, double& percent);

// The panel fields a chosen candidate sets (its construction fields, and the
// flow found for a fluid rise).
FieldTexts PanelFieldsOf(const Candidate& c, const SearchSpec& query, const ShownTexts& shown = ShownTexts());

}  // namespace selection
