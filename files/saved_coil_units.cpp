#include "files/saved_coil_units.h"

#include <variant>

#include "common/numfmt.h"
#include "engine/coil_type.h"
#include "files/save_row.h"

using units::Quantity;

bool SavedColumnQuantity(const SavedCoilTable::Row& row, int column, Quantity& q) {
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

bool SavedCellNumber(const Cell& cell, double& v) {
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

namespace {

// A heating water or glycol coil has no leaving wet bulb (column 19): the
// air is not dehumidified.
bool NoLeavingWetBulb(const SavedCoilTable::Row& row) {
    const CoilType type = CoilTypeOfWord(CellText(row[4]));
    double eatDb = 0, entFluid = 0;
    return (type == CoilType::Water || type == CoilType::Glycol) && SavedCellNumber(row[16], eatDb) &&
           SavedCellNumber(row[22], entFluid) && !(eatDb > entFluid);
}

}  // namespace

std::string SavedCellText(units::System system, const SavedCoilTable::Row& row, int column) {
    if (column < 0 || column >= SavedCoilTable::kColumns) return "";
    if (system == units::System::InchPound) return CellText(row[column]);
    if (column == 19 && NoLeavingWetBulb(row)) return "N/A";
    Quantity q;
    double v = 0;
    if (!SavedColumnQuantity(row, column, q) || !SavedCellNumber(row[column], v))
        return CellText(row[column]);
    return units::FormatSI(q, v);
}
