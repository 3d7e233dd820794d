#include "files/saved_coils.h"

#include "common/numfmt.h"

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
