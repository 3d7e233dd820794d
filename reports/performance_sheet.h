// The one-page performance sheet of the coil on the selection form.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "common/units.h"
#include "engine/records.h"
#include "reports/print_surface.h"

namespace reports {

// The texts of the coil form that the sheet prints beside the records.
struct SheetTexts {
    std::array<std::string, 5> txtHdr;               // 0 date, 1 item, 2 model, 3 customer, 4 project
    std::string txtNotes;                            // several lines
    std::array<std::string, 4> txtCPS;               // 0 coils per system, 1 high, 2 wide, 3 deep
    std::string coilType;                            // cboCoilType code: W G S E C
    std::string tubeOD;                              // cboTubeOD code: 1 3 4 5 6
    bool withChart = false;                          // a second page with the psychrometric chart
    units::System units = units::System::InchPound;  // of the printed figures
    // Engineering warnings of the rating, printed after the notes where they
    // fit above the coils-per-system row.
    std::vector<std::string> warnings;
};

// Vertical position of the coils-per-system row, in twips from the top.
inline constexpr double kCoilsPerSystemY = 11500;
// The room the sheet's own texts take, in twips: 8 1/4 in. wide (the right
// column's longest unit ends there) and 10 in. high (below the footnotes).
// A printable area smaller than this gets the whole sheet scaled down.
inline constexpr double kSheetWidth = 11880;
inline constexpr double kSheetHeight = 14400;

// The coil caption of the sheet ("Chilled Water", "Glycol Heating", ...).
std::string CoilCaption(const std::string& coilType, const CoilRating& rating);

// Prints the sheet on `surface`. Does not start or end the document.
void PrintPerformance(PrintSurface& surface, const CoilSpec& coilSpec, const CoilRating& rating,
                      const SheetTexts& texts);

// Splits `text` at its line breaks and wraps each line at blanks so that no
// line is wider than `width` twips on `surface`; a word wider than the line
// is broken.
std::vector<std::string> WrapLines(const PrintSurface& surface, const std::string& text, double width);

}  // namespace reports
