// The kinds of coil the engine rates, read once from the record's one-letter
// code (CoilSpec::Application). Every test of a coil's kind goes through
// these, never through the letters.
#pragma once

#include <string_view>

enum class CoilType {
    Water,       // "W": chilled or hot water
    Glycol,      // "G": cooling or heating glycol
    OtherFluid,  // "O": another liquid, rated as glycol (not offered by the form)
    Steam,       // "S"
    Evaporator,  // "E": direct-expansion refrigerant evaporator
    Condenser,   // "C": refrigerant condenser
    Unknown,     // any other text; rated by no solver
};

// The kind of a coil type code, matched exactly ("w" is Unknown).
constexpr CoilType CoilTypeOf(std::string_view code) {
    if (code == "W") return CoilType::Water;
    if (code == "G") return CoilType::Glycol;
    if (code == "O") return CoilType::OtherFluid;
    if (code == "S") return CoilType::Steam;
    if (code == "E") return CoilType::Evaporator;
    if (code == "C") return CoilType::Condenser;
    return CoilType::Unknown;
}

// The one-letter code of a kind; "" for Unknown.
constexpr std::string_view CoilTypeCode(CoilType t) {
    switch (t) {
        case CoilType::Water:
            return "W";
        case CoilType::Glycol:
            return "G";
        case CoilType::OtherFluid:
            return "O";
        case CoilType::Steam:
            return "S";
        case CoilType::Evaporator:
            return "E";
        case CoilType::Condenser:
            return "C";
        case CoilType::Unknown:
            break;
    }
    return "";
}

// A liquid flows in the tubes: water, glycol, other fluid.
constexpr bool IsLiquidCoil(CoilType t) {
    return t == CoilType::Water || t == CoilType::Glycol || t == CoilType::OtherFluid;
}

// A refrigerant changes phase in the tubes: evaporator, condenser.
constexpr bool IsRefrigerantCoil(CoilType t) {
    return t == CoilType::Evaporator || t == CoilType::Condenser;
}

// The fluid changes phase in the tubes: steam and the refrigerant coils.
constexpr bool IsPhaseChangeCoil(CoilType t) {
    return t == CoilType::Steam || IsRefrigerantCoil(t);
}
