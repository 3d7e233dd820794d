// Where the user guide opens for a window or panel, without Qt: a plain map
// from the object names of the windows and panels to the anchors of the
// guide's headings, and the anchor a heading's text gives.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace help {

struct Topic {
    std::string_view objectName;  // a window's or panel's object name
    std::string_view anchor;      // the guide's heading it opens at
};

// Every window and panel with a section of its own, the innermost first
// where one holds another.
std::span<const Topic> Topics();

// The anchor for an object name; empty when it has no section.
std::string_view AnchorFor(std::string_view objectName);

// A heading's anchor as Markdown renderers write it: lower case, blanks as
// hyphens, letters, digits, hyphens and underscores kept, the rest dropped
// ("Rating a coil: results" gives "rating-a-coil-results").
std::string HeadingAnchor(std::string_view heading);

}  // namespace help
