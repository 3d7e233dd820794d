// Number parsing and formatting shared by the driver, the grid, the reports
// and the coil file.
#pragma once

#include <string>

namespace numfmt {

// Lenient parse of a field text: optional leading blanks, an optional sign,
// digits with an optional decimal point, and an optional exponent (E or D,
// optional sign, digits). Takes the leading number and ignores the rest;
// yields 0 when there is none ("12abc" -> 12, "1e5" -> 100000, "abc" -> 0).
double Val(const std::string& text);

// True when the whole text, surrounding blanks aside, is such a number.
bool IsNumeric(const std::string& text);

// Formats with a number pattern such as "0.000", "0.00", "0", ".000", "000":
// the zeros before the point are the least number of integer digits (none
// for ".000"), the zeros after it the exact number of decimals. No digit
// grouping. A 32-bit value starts from its 7-significant-digit decimal form,
// a double from its 15-significant-digit form, and is rounded half away from
// zero to the pattern's decimals. A result that rounds to zero has no sign.
std::string FormatF32(float value, const std::string& pattern);
std::string FormatF64(double value, const std::string& pattern);

// The ordinary shortest decimal form of a 32-bit float (at most 7
// significant digits) or of a double (at most 15): "0.02", "80918.96", "-3",
// "1E-05" beyond the plain range.
std::string GeneralF32(float value);
std::string GeneralF64(double value);

// Right-aligns `text` in `width` characters, padding with spaces on the
// left; a longer text keeps its leftmost `width` characters.
std::string RightJustify(const std::string& text, int width);
// Left-aligns `text` in `width` characters, padding with spaces on the right;
// a longer text keeps its leftmost `width` characters.
std::string LeftJustify(const std::string& text, int width);

}  // namespace numfmt

// A number for the results grid: pattern "0.000", right-aligned in 14
// characters (2.5 -> nine spaces and "2.500").
std::string sRightJustify(float value);
