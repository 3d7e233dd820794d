#include "forms/help_topics.h"

#include <array>

namespace help {

namespace {

constexpr std::array kTopics{
    Topic{"fraConstruction", "construction"},     Topic{"fraEntCond", "entering-conditions"},
    Topic{"fraCalculations", "rating-a-coil"},    Topic{"Frame1(0)", "choosing-the-coil-type"},
    Topic{"Frame1(3)", "the-coil-panel"},         Topic{"Frame1(4)", "printing-the-performance-sheet"},
    Topic{"Form2", "the-saved-coils-list"},       Topic{"Form3", "printing-the-multi-coil-report"},
    Topic{"frmChart", "the-psychrometric-chart"}, Topic{"SelectDialog", "selecting-a-coil-to-a-duty"},
};

}  // namespace

std::span<const Topic> Topics() {
    return kTopics;
}

std::string_view AnchorFor(std::string_view objectName) {
    for (const Topic& t : kTopics)
        if (t.objectName == objectName) return t.anchor;
    return {};
}

std::string HeadingAnchor(std::string_view heading) {
    std::string out;
    for (const char ch : heading) {
        const auto c = static_cast<unsigned char>(ch);
        if (c >= 'A' && c <= 'Z') {
            out += static_cast<char>(c - 'A' + 'a');
        } else if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_') {
            out += ch;
        } else if (c == ' ') {
            out += '-';
        }
    }
    return out;
}

}  // namespace help
