#include "common/model_designation.h"

#include "common/numfmt.h"
#include "engine/coil_type.h"

namespace {

// Rows and fins letters run "A".."H", "J".."N", "P" onwards: "I" and "O"
// are skipped so they cannot be read as digits.
std::string CountLetter(int n) {
    int code = n <= 8 ? 64 + n : (n <= 13 ? 65 + n : 66 + n);
    if (code < 0 || code > 255) return "?";
    if (code < 128) return std::string(1, static_cast<char>(code));
    // Codes past the ASCII range as their Latin-1 characters, kept valid UTF-8.
    std::string s;
    s += static_cast<char>(0xC0 | (code >> 6));
    s += static_cast<char>(0x80 | (code & 0x3F));
    return s;
}

std::string TypeLetters(const CoilSpec& coilSpec, const CoilRating& rating) {
    switch (CoilTypeOf(coilSpec.Application)) {
        case CoilType::Condenser:
            return "RC";
        case CoilType::Evaporator:
            return "RE";
        case CoilType::Steam:
            return rating.EatDb >= 33 ? "SS" : "SD";
        // Entering air no warmer than the water is a heating coil.
        case CoilType::Water:
            return rating.EatDb > rating.EntFluidTemp ? "CW" : "HW";
        case CoilType::Glycol:
            return "GW";
        case CoilType::OtherFluid:
        case CoilType::Unknown:
            break;
    }
    return "";
}

std::string TubePrefix(const std::string& tubeText) {
    if (tubeText == "1") return "10-";
    if (tubeText == "3") return "38-";
    if (tubeText == "4") return "12-";
    if (tubeText == "5") return "58-";
    return "";
}

std::string CircuitingLetter(const std::string& soFar, const CoilSpec& coilSpec) {
    if (soFar.compare(0, 2, "SD") == 0) {
        if (coilSpec.RD == 1) return "H";
        if (coilSpec.RD == 2) return "F";
        return "X";
    }
    if (coilSpec.TH != 0) {
        const float q = static_cast<float>(static_cast<double>(coilSpec.Circuits) / coilSpec.TH);
        if (q == 0.25f) return "Q";
        if (q == 0.5f) return "H";
        if (q == 0.75f) return "T";
        if (q == 1.0f) return "F";
        if (q == 1.5f) return "O";
        if (q == 2.0f) return "D";
    }
    return coilSpec.Circuits == 1 ? "S" : "X";
}

}  // namespace

std::string BuildModelDesignation(const CoilSpec& coilSpec, const CoilRating& rating,
                                  const std::string& tubeText) {
    std::string d = TubePrefix(tubeText) + TypeLetters(coilSpec, rating);
    d += CountLetter(coilSpec.RD);
    d += CountLetter(coilSpec.FPI);
    d += "-" + numfmt::FormatF32(coilSpec.FL, "000") + numfmt::FormatF32(coilSpec.FinHeight, "00") + "-";
    d += CircuitingLetter(d, coilSpec);
    return d;
}
