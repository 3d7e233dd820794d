#include "exchange/coil_export.h"

#include <algorithm>
#include <cctype>
#include <variant>

#include "common/numfmt.h"
#include "engine/coil_type.h"
#include "files/saved_coil_units.h"

namespace kvn::exchange {

using units::Quantity;

namespace {

enum class Source { Tag, Saved, LiquidPD, RefrigerantPD, Warnings };

struct Column {
    const char* header;
    Source source;
    int saved;              // column of the saved row, for Saved and the drops
    const char* ipPattern;  // decimals of a quantity in inch-pound ("" for none)
    const char* unit;       // of a column without quantity, both systems
};

const Column kColumns[] = {
    {"Tag", Source::Tag, -1, "", ""},
    {"Coil Type", Source::Saved, col::CoilType, "", ""},
    {"Model", Source::Saved, col::Model, "", ""},
    {"Coils per System", Source::Saved, col::CoilsPerSystem, "", ""},
    {"Tube OD", Source::Saved, col::TubeSize, "", ""},
    {"Tube Wall", Source::Saved, col::TubeWall, "", "in"},
    {"Fin Thickness", Source::Saved, col::FinThk, "", "in"},
    {"Fin Material", Source::Saved, col::FinMaterial, "", ""},
    {"Fin Height", Source::Saved, col::FinHeight, "0.00", ""},
    {"Finned Length", Source::Saved, col::FinnedLength, "0.00", ""},
    {"Rows", Source::Saved, col::Rows, "", ""},
    {"FPI", Source::Saved, col::FPI, "", ""},
    {"Circuits", Source::Saved, col::Circuits, "", ""},
    {"Face Area", Source::Saved, col::FaceArea, "0.00", ""},
    {"Standard Air Flow", Source::Saved, col::Scfm, "0", ""},
    {"Face Velocity", Source::Saved, col::FaceVelocity, "0", ""},
    {"EAT DB", Source::Saved, col::EatDb, "0.00", ""},
    {"EAT WB", Source::Saved, col::EatWb, "0.00", ""},
    {"LAT DB", Source::Saved, col::LatDb, "0.00", ""},
    {"LAT WB", Source::Saved, col::LatWb, "0.00", ""},
    {"Total Capacity", Source::Saved, col::TotalBtuh, "0", ""},
    {"Sensible Capacity", Source::Saved, col::SensibleBtuh, "0", ""},
    {"Air PD", Source::Saved, col::AirPD, "0.00", ""},
    {"Fluid PD", Source::LiquidPD, col::FluidPD, "0.00", ""},
    {"Refrigerant PD", Source::RefrigerantPD, col::FluidPD, "0.00", ""},
    {"Entering Fluid Temp", Source::Saved, col::EntFluidTemp, "0.00", ""},
    {"Leaving Fluid Temp", Source::Saved, col::LvgFluidTemp, "0.00", ""},
    {"Fluid Flow", Source::Saved, col::Gpm, "0.00", ""},
    {"Steam Pressure", Source::Saved, col::SteamPressure, "0.0", ""},
    {"Refrigerant", Source::Saved, col::Refrigerant, "", ""},
    {"Glycol", Source::Saved, col::PercentGlycol, "", "%"},
    {"Altitude", Source::Saved, col::Altitude, "0", ""},
    {"Warnings", Source::Warnings, -1, "", ""},
};

constexpr int kColumnCount = static_cast<int>(sizeof(kColumns) / sizeof(kColumns[0]));

// The quantity of a column, whatever the row (the drops are split by kind).
bool ColumnQuantity(const Column& c, Quantity& q) {
    if (c.source == Source::LiquidPD) {
        q = Quantity::WaterPD;
        return true;
    }
    if (c.source == Source::RefrigerantPD) {
        q = Quantity::RefrigerantPD;
        return true;
    }
    if (c.source != Source::Saved) return false;
    SavedCoilTable::Row plain{};
    return SavedColumnQuantity(plain, c.saved, q);
}

int DecimalsOf(const std::string& text) {
    const std::size_t point = text.find('.');
    if (point == std::string::npos) return 0;
    return static_cast<int>(text.size() - point - 1);
}

ExportCell TextCell(std::string text) {
    ExportCell cell;
    cell.text = std::move(text);
    return cell;
}

ExportCell NumberCell(std::string text) {
    ExportCell cell;
    cell.number = true;
    cell.value = numfmt::Val(text);
    cell.decimals = DecimalsOf(text);
    cell.text = std::move(text);
    return cell;
}

bool IsPlaceholder(const Cell& cell) {
    if (std::holds_alternative<std::monostate>(cell)) return true;
    const auto* t = std::get_if<std::string>(&cell);
    return t && t->find_first_not_of(' ') == std::string::npos;
}

// The number of a cell as the coil file keeps it: a 32-bit value by its
// 7-significant-digit decimal form, so that a coil rated now and the same
// coil read back from its file export the same figures.
bool CellNumber(const Cell& cell, double& v) {
    if (const auto* f = std::get_if<float>(&cell)) {
        v = numfmt::Val(numfmt::GeneralF32(*f));
        return true;
    }
    return SavedCellNumber(cell, v);
}

ExportCell SavedCell(units::System system, const SavedCoilTable::Row& row, const Column& c) {
    const Cell& cell = row[c.saved];
    if (IsPlaceholder(cell)) return {};
    // A heating water or glycol coil has no leaving wet bulb, in either system.
    if (c.saved == col::LatWb && SavedCellText(units::System::SI, row, c.saved) == units::kNotApplicable)
        return TextCell(units::kNotApplicable);
    Quantity q;
    double v = 0;
    if (ColumnQuantity(c, q) && CellNumber(cell, v)) {
        if (system == units::System::SI) return NumberCell(units::FormatSI(q, v));
        return NumberCell(numfmt::FormatF64(v, c.ipPattern));
    }
    std::string text = CellText(cell);
    if (numfmt::IsNumeric(text)) return NumberCell(std::move(text));
    return TextCell(std::move(text));
}

ExportCell CellOf(units::System system, const ExportCoil& coil, const Column& c) {
    switch (c.source) {
        case Source::Tag:
            return TextCell(coil.tag);
        case Source::Warnings:
            return TextCell(WarningText(system, coil.warnings));
        case Source::LiquidPD:
        case Source::RefrigerantPD: {
            const bool refrigerant = IsRefrigerantCoil(CoilTypeOfWord(CellText(coil.row[col::CoilType])));
            if (refrigerant != (c.source == Source::RefrigerantPD)) return {};
            return SavedCell(system, coil.row, c);
        }
        case Source::Saved:
            break;
    }
    return SavedCell(system, coil.row, c);
}

}  // namespace

ExportCoil ExportCoilOf(const CoilSpec& coilSpec, const CoilRating& rating, const SaveRowTexts& texts,
                        const std::vector<CoilWarning>& warnings) {
    ExportCoil coil;
    coil.row = BuildSavedRow(0, coilSpec, rating, texts);
    coil.tag = texts.item;
    coil.warnings = WarningsLine(warnings);
    return coil;
}

ExportCoil ExportCoilOfSaved(const SavedCoilTable::Row& row, const std::string& warningsLine) {
    ExportCoil coil;
    coil.row = row;
    coil.tag = CellText(row[col::Item]);
    coil.warnings = warningsLine;
    return coil;
}

int ExportColumnCount() {
    return kColumnCount;
}

std::vector<std::string> ExportHeader() {
    std::vector<std::string> header;
    for (const Column& c : kColumns) header.emplace_back(c.header);
    return header;
}

std::vector<std::string> ExportUnits(units::System system) {
    std::vector<std::string> row;
    for (const Column& c : kColumns) {
        Quantity q;
        if (ColumnQuantity(c, q)) {
            const units::QuantityInfo& info = units::Info(q);
            row.emplace_back(system == units::System::SI ? info.siUnit : info.ipUnit);
        } else {
            row.emplace_back(c.unit);
        }
    }
    return row;
}

std::vector<ExportCell> ExportCells(units::System system, const ExportCoil& coil) {
    std::vector<ExportCell> cells;
    cells.reserve(kColumnCount);
    for (const Column& c : kColumns) cells.push_back(CellOf(system, coil, c));
    return cells;
}

bool ExportFormatOf(const std::string& path, ExportFormat& format) {
    auto endsWith = [&](const char* ext) {
        const std::string e = ext;
        if (path.size() <= e.size()) return false;
        return std::equal(e.rbegin(), e.rend(), path.rbegin(),
                          [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); });
    };
    if (endsWith(".csv")) {
        format = ExportFormat::Csv;
        return true;
    }
    if (endsWith(".xlsx")) {
        format = ExportFormat::Xlsx;
        return true;
    }
    return false;
}

bool WriteCoilExport(const std::string& path, units::System system, const std::vector<ExportCoil>& coils,
                     std::string& error) {
    CoilExportWriter writer;
    if (!writer.Open(path, system, error)) return false;
    for (const ExportCoil& coil : coils)
        if (!writer.Add(coil, error)) return false;
    return writer.Commit(error);
}

}  // namespace kvn::exchange
