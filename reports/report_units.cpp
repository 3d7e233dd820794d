#include "reports/report_units.h"

#include <map>

#include "files/saved_coil_units.h"
#include "reports/multi_coil_report.h"

namespace reports {

namespace {

using units::Quantity;

const std::map<std::string, std::string>& SheetLabels() {
    static const std::map<std::string, std::string> m = {
        {"Flow, ACFM", "Air Flow"},
        {"Face Velocity", "Std Face Velocity"},
        {"Total Btuh", "Total Capacity"},
        {"Sensible Btuh", "Sensible Capacity"},
        {"GPM", "Fluid Flow"},
        {"Lbs. / Hr. Cond.", "Condensate"},
        {"Latent Heat (BTU/LB)", "Latent Heat"},
        {"In.   x", "mm    x"},
        {"Inches", "mm"},
        {"Feet", "m"},
    };
    return m;
}

const std::map<std::string, std::string>& ReportHeadings() {
    static const std::map<std::string, std::string> m = {
        {"Fin HGT", "Fin HGT (mm)"},
        {"Fin LTH", "Fin LTH (mm)"},
        {"FACE AREA (SQ FT)", "FACE AREA (m²)"},
        {"FACE (SQ FT)", "FACE (m²)"},
        {"SCFM", "STD m³/h"},
        {"EAT DB", "EAT DB (°C)"},
        {"EAT WB", "EAT WB (°C)"},
        {"LVG DB", "LVG DB (°C)"},
        {"LVG WB", "LVG WB (°C)"},
        {"FACE VEL", "FACE VEL (m/s)"},
        {"AIR PD", "AIR PD (Pa)"},
        {"AIR PD IN", "AIR PD (Pa)"},
        {"AIR PD (INCHES)", "AIR PD (Pa)"},
        {"PSI", "kPa(g)"},
        {"ENT STEAM TEMP.", "ENT STEAM (°C)"},
        {"SENSIBLE BTUH", "SENSIBLE kW"},
        {"TOTAL BTUH", "TOTAL kW"},
        {"COND TEMP", "COND TEMP (°C)"},
        {"EVAP TEMP", "EVAP TEMP (°C)"},
        {"REF PD (PSI)", "REF PD (kPa)"},
        {"ENT GLY", "ENT GLY (°C)"},
        {"LVG GLY", "LVG GLY (°C)"},
        {"GLY PD (FT)", "GLY PD (kPa)"},
        {"ENT H2O", "ENT H2O (°C)"},
        {"LVG H2O", "LVG H2O (°C)"},
        {"H2O PD (FT)", "H2O PD (kPa)"},
        {"GPM", "L/s"},
    };
    return m;
}

}  // namespace

std::string SiSheetLabel(const std::string& ipLabel) {
    const auto it = SheetLabels().find(ipLabel);
    return it == SheetLabels().end() ? ipLabel : it->second;
}

std::string SiReportHeader(const std::string& ipHeader) {
    std::string out, cell;
    auto flush = [&] {
        const auto it = ReportHeadings().find(cell);
        out += it == ReportHeadings().end() ? cell : it->second;
        cell.clear();
    };
    for (char c : ipHeader) {
        if (c == '|') {
            flush();
            out += '|';
        } else {
            cell += c;
        }
    }
    flush();
    return out;
}

std::string SiReportCell(const SavedCoilTable::Row& row, int column, const std::string& ipPattern) {
    Quantity q;
    double v;
    if (column < 0 || column >= SavedCoilTable::kColumns) return "";
    if (!SavedColumnQuantity(row, column, q) || !SavedCellNumber(row[column], v))
        return FormatCell(row[column], ipPattern);
    return units::FormatSI(q, v);
}

std::string SiAltitudeText(double feet) {
    return units::FormatSI(Quantity::Altitude, feet) + " m";
}

}  // namespace reports
