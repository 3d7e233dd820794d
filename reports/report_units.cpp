#include "reports/report_units.h"

#include <map>
#include <variant>

#include "common/numfmt.h"
#include "engine/coil_type.h"
#include "files/save_row.h"
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

bool ColumnQuantity(const SavedCoilTable::Row& row, int column, Quantity& q) {
    switch (column) {
        case 10:
        case 11:
            q = Quantity::Length;
            return true;
        case 14:
            q = Quantity::Area;
            return true;
        case 15:
            q = Quantity::AirFlow;
            return true;
        case 16:
        case 17:
        case 18:
        case 19:
        case 22:
        case 23:
            q = Quantity::Temperature;
            return true;
        case 20:
            q = Quantity::AirVelocity;
            return true;
        case 21:
            q = Quantity::AirPD;
            return true;
        case 24: {
            const bool refrigerant = IsRefrigerantCoil(CoilTypeOfWord(CellText(row[4])));
            q = refrigerant ? Quantity::RefrigerantPD : Quantity::WaterPD;
            return true;
        }
        case 25:
            q = Quantity::FluidFlow;
            return true;
        case 26:
            q = Quantity::SteamPressure;
            return true;
        case 27:
        case 28:
            q = Quantity::Capacity;
            return true;
        case 32:
            q = Quantity::Altitude;
            return true;
        default:
            return false;
    }
}

bool CellNumber(const Cell& cell, double& v) {
    if (const auto* f = std::get_if<float>(&cell))
        v = *f;
    else if (const auto* d = std::get_if<double>(&cell))
        v = *d;
    else if (const auto* i = std::get_if<int32_t>(&cell))
        v = *i;
    else if (const auto* s = std::get_if<int16_t>(&cell))
        v = *s;
    else if (const auto* t = std::get_if<std::string>(&cell); t && numfmt::IsNumeric(*t))
        v = numfmt::Val(*t);
    else
        return false;
    return true;
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
    if (!ColumnQuantity(row, column, q) || !CellNumber(row[column], v))
        return FormatCell(row[column], ipPattern);
    return units::FormatSI(q, v);
}

std::string SiAltitudeText(double feet) {
    return units::FormatSI(Quantity::Altitude, feet) + " m";
}

}  // namespace reports
