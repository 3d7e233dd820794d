#include "files/saved_coils.h"

#include "common/numfmt.h"

#include <cmath>
#include <type_traits>

SavedCoilTable SavedCoils;
std::string CurrentFileName;

std::string CellText(const Cell& cell) {
    struct Visitor {
        std::string operator()(std::monostate) const { return {}; }
        std::string operator()(const std::string& s) const { return s; }
        std::string operator()(int32_t v) const { return std::to_string(v); }
        std::string operator()(int16_t v) const { return std::to_string(v); }
        std::string operator()(float v) const { return numfmt::GeneralF32(v); }
        std::string operator()(double v) const { return numfmt::GeneralF64(v); }
    };
    return std::visit(Visitor{}, cell);
}

bool CellNumber(const Cell& cell, double& value) {
    if (const auto* text = std::get_if<std::string>(&cell)) {
        if (!numfmt::IsNumeric(*text)) return false;
        const double v = numfmt::Val(*text);
        if (!std::isfinite(v)) return false;
        value = v;
        return true;
    }
    if (std::holds_alternative<std::monostate>(cell)) return false;
    value = std::visit([](auto v) -> double {
        if constexpr (std::is_arithmetic_v<decltype(v)>) return static_cast<double>(v);
        else return 0.0;
    }, cell);
    return true;
}
