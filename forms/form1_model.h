// The coil selection window's rules without its widgets: the coil type
// options of the start panel, the entering-condition fields and how each
// coil type lays them out, the tube choices and their texts, and the hint
// each field gives when it takes the focus. Plain C++: the window builds its
// widgets from these and asks them what to show.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/units.h"
#include "engine/coil_type.h"

namespace form1 {

// ---- Start panel --------------------------------------------------------

// A coil type option "optCoil(i)": its caption and the code it selects.
struct CoilOption {
    std::string_view caption;  // "&Water"
    std::string_view code;     // "W"
    bool offered;              // false for the utilities option, never shown
};
// The six options: steam, condenser, water, evaporator, glycol, utilities.
std::span<const CoilOption> CoilOptions();
// The word an option shows over the coil panel: its coil type's word
// ("Water"), "Utilities" for the utilities option.
std::string_view CoilOptionWord(const CoilOption& option);
inline constexpr int kDefaultCoilOption = 2;  // water

// ---- The window's state ---------------------------------------------------

// The panels of the window, by their frame's index.
inline constexpr int kStartPanel = 0;
inline constexpr int kCoilPanel = 3;
inline constexpr int kHeaderPanel = 4;

// What the window holds beside its widgets' texts: the coil type option
// chosen on the start panel and the panel shown.
struct WindowState {
    int coilOption = kDefaultCoilOption;
    int panel = kStartPanel;
    // The code the chosen option selects ("W").
    std::string_view CoilCode() const;
    // Chooses option `index`; false (and no change) outside the options.
    bool ChooseCoil(int index);
    // Shows panel `index`; false (and no change) for any other index.
    bool Show(int index);
};

// ---- Entering conditions ------------------------------------------------

inline constexpr int kEntCondCount = 16;
inline constexpr int kRefrigerantField = 8;  // a choice list, not "txtProperty(8)"
inline constexpr int kFluidTempField = 6;    // its caption follows the coil type
inline constexpr int kSteamPressureField = 14;

// Entering-condition field i: its caption and the length it takes
// (0: any). Fields 1 to 3 are the air flow as actual cfm, standard cfm and
// face velocity, sharing one row.
struct EntCondField {
    std::string_view label;
    int maxLength;
};
const EntCondField& EntCondFieldAt(int i);
// The control of field i: "txtProperty(i)", or "cboRefrigerant" for 8.
std::string EntCondControl(int i);
// Where field i sits before any coil type is laid out, and whether it shows.
int EntCondInitialRow(int i);
bool EntCondInitiallyShown(int i);

// How a coil type lays out its entering conditions. The altitude stays on
// row 0, the air flow on row 1 and the dry bulb first below it.
struct EntCondLayout {
    std::vector<int> rows;          // the fields from row 2 on, top to bottom
    std::string_view fluidCaption;  // the caption of field 6 ("" leaves it)
    bool circuits = true;           // the circuits row of the construction
    bool Shows(int field) const;    // a field of `rows`
};
// The layout of a coil type code, upper-cased; any other text is laid out
// as water.
EntCondLayout EntCondLayoutFor(std::string_view code);

// ---- Tubes --------------------------------------------------------------

// A steam coil's code, matched exactly.
bool IsSteam(std::string_view code);
// The tube sizes offered for a coil type code.
std::span<const std::string_view> TubeChoices(std::string_view code);
// The tube's outside diameter beside its list ("3/8 in."); "" for a code
// outside the catalogue.
std::string TubeSizeText(std::string_view tube);

// ---- Focus hints ----------------------------------------------------------

// What a field does when it takes the focus: select its whole text, and
// show a code and a meaning in the status bar's first two panels.
struct FocusHint {
    bool selectAll = false;
    bool setStatus = false;
    std::string code;
    std::string meaning;
};
// The hint of the control named `control`, whose text is `text`.
FocusHint FocusHintFor(std::string_view control, std::string_view text, units::System units);

}  // namespace form1
