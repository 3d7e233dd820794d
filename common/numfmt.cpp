#include "common/numfmt.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace numfmt {
namespace {

// Scans the leading number of `s` from `pos`; returns the index past it, or
// `pos` when there is no number. Writes the normalised text for strtod.
size_t ScanNumber(const std::string& s, size_t pos, std::string& out) {
    size_t i = pos;
    out.clear();
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) out += s[i++];
    size_t digits = 0;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) {
        out += s[i++];
        ++digits;
    }
    if (i < s.size() && s[i] == '.') {
        out += s[i++];
        while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) {
            out += s[i++];
            ++digits;
        }
    }
    if (digits == 0) {
        out.clear();
        return pos;
    }
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
        size_t j = i + 1;
        std::string exp = "e";
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) exp += s[j++];
        size_t expDigits = 0;
        while (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j]))) {
            exp += s[j++];
            ++expDigits;
        }
        if (expDigits > 0) {
            out += exp;
            i = j;
        }
    }
    return i;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// Decimal digits of a value to `sig` significant digits: digits "d1d2..."
// with the decimal exponent of d1 (value = 0.d1d2... x 10^(exp+1)).
struct Decimal {
    bool negative = false;
    std::string digits;  // no leading zeros unless the value is zero
    int exp = 0;         // power of ten of the first digit
};

Decimal ToDecimal(double v, int sig) {
    Decimal d;
    // The text of printf's "%.*e", without printf's cost.
    char buf[64];
    *std::to_chars(buf, buf + sizeof buf - 1, v, std::chars_format::scientific, sig - 1).ptr = '\0';
    const char* p = buf;
    if (*p == '-') {
        d.negative = true;
        ++p;
    }
    for (; *p && *p != 'e'; ++p)
        if (std::isdigit(static_cast<unsigned char>(*p))) d.digits += *p;
    if (*p == 'e') d.exp = std::atoi(p + 1);
    // Drop trailing zeros of the significant digits.
    while (d.digits.size() > 1 && d.digits.back() == '0') d.digits.pop_back();
    if (d.digits == "0") d.exp = 0;
    return d;
}

// The digits of `d` as its integer part ("0" when there is none) and its
// fractional digits, padded with zeros to `decimals` + 1 places.
void PlaceDigits(const Decimal& d, int decimals, std::string& intPart, std::string& frac) {
    const int n = static_cast<int>(d.digits.size());
    for (int k = 0; k < n; ++k) {
        const int power = d.exp - k;
        if (power >= 0) {
            intPart += d.digits[k];
        } else {
            const int pos = -power - 1;  // index in frac
            if (static_cast<int>(frac.size()) < pos) frac.append(pos - frac.size(), '0');
            frac += d.digits[k];
        }
    }
    if (d.exp >= n) intPart.append(d.exp - n + 1, '0');
    if (intPart.empty()) intPart = "0";
    if (static_cast<int>(frac.size()) < decimals + 1) frac.append(decimals + 1 - frac.size(), '0');
}

// Adds one to the last digit of a digit string, carrying to the left.
void AddOneUlp(std::string& digits) {
    int k = static_cast<int>(digits.size()) - 1;
    while (k >= 0 && digits[k] == '9') {
        digits[k] = '0';
        --k;
    }
    if (k >= 0)
        ++digits[k];
    else
        digits.insert(digits.begin(), '1');
}

// The integer and fractional digits as one digit string, rounded half away
// from zero at `decimals` places.
std::string RoundedDigits(const std::string& intPart, std::string frac, int decimals) {
    const bool roundUp = frac[decimals] >= '5';
    frac.resize(decimals);
    std::string all = intPart + frac;
    if (roundUp) AddOneUlp(all);
    return all;
}

// Integer digits without leading zeros, padded back to at least `minInt`.
std::string IntegerDigits(const std::string& digits, int minInt) {
    size_t z = 0;
    while (z < digits.size() && digits[z] == '0') ++z;
    std::string ip = digits.substr(z);
    if (static_cast<int>(ip.size()) < minInt) ip.insert(0, minInt - ip.size(), '0');
    return ip;
}

std::string FormatDecimal(const Decimal& d, int minInt, int decimals) {
    std::string intPart, frac;
    PlaceDigits(d, decimals, intPart, frac);
    const std::string all = RoundedDigits(intPart, frac, decimals);
    const std::string ip = IntegerDigits(all.substr(0, all.size() - decimals), minInt);
    const std::string fp = all.substr(all.size() - decimals);
    // A value that rounds to zero has no sign.
    const bool allZero = (ip + fp).find_first_not_of('0') == std::string::npos;
    std::string out;
    if (d.negative && !allZero) out += '-';
    out += ip;
    if (decimals > 0) out += "." + fp;
    return out;
}

void ParsePattern(const std::string& pattern, int& minInt, int& decimals) {
    minInt = 0;
    decimals = 0;
    const size_t dot = pattern.find('.');
    const std::string ip = pattern.substr(0, dot);
    for (char c : ip)
        if (c == '0') ++minInt;
    if (dot != std::string::npos)
        for (size_t i = dot + 1; i < pattern.size(); ++i)
            if (pattern[i] == '0' || pattern[i] == '#') ++decimals;
}

std::string Format(double v, int sig, const std::string& pattern) {
    int minInt, decimals;
    ParsePattern(pattern, minInt, decimals);
    if (!std::isfinite(v)) return std::isnan(v) ? "NaN" : (v > 0 ? "Inf" : "-Inf");
    return FormatDecimal(ToDecimal(v, sig), minInt, decimals);
}

std::string General(double v, int sig) {
    if (!std::isfinite(v)) return std::isnan(v) ? "NaN" : (v > 0 ? "Inf" : "-Inf");
    if (v == 0) return "0";
    Decimal d = ToDecimal(v, sig);
    std::string out = d.negative ? "-" : "";
    const int n = static_cast<int>(d.digits.size());
    if (d.exp >= sig || d.exp < -15) {
        // Exponent form: d.ddddE+xx
        out += d.digits.substr(0, 1);
        if (n > 1) out += "." + d.digits.substr(1);
        char e[16];
        std::snprintf(e, sizeof e, "E%c%02d", d.exp < 0 ? '-' : '+', std::abs(d.exp));
        return out + e;
    }
    if (d.exp < 0) {
        out += "0." + std::string(-d.exp - 1, '0') + d.digits;
        return out;
    }
    if (n <= d.exp + 1) return out + d.digits + std::string(d.exp + 1 - n, '0');
    return out + d.digits.substr(0, d.exp + 1) + "." + d.digits.substr(d.exp + 1);
}

}  // namespace

double Val(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    std::string num;
    if (ScanNumber(text, i, num) == i) return 0.0;
    return std::strtod(num.c_str(), nullptr);
}

bool IsNumeric(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    std::string num;
    size_t end = ScanNumber(text, i, num);
    if (end == i) return false;
    while (end < text.size() && IsBlank(text[end])) ++end;
    return end == text.size();
}

std::string FormatF32(float value, const std::string& pattern) {
    return Format(value, 7, pattern);
}
std::string FormatF64(double value, const std::string& pattern) {
    return Format(value, 15, pattern);
}
std::string GeneralF32(float value) {
    return General(value, 7);
}
std::string GeneralF64(double value) {
    return General(value, 15);
}

std::string RightJustify(const std::string& text, int width) {
    if (static_cast<int>(text.size()) >= width) return text.substr(0, width);
    return std::string(width - text.size(), ' ') + text;
}

std::string LeftJustify(const std::string& text, int width) {
    if (static_cast<int>(text.size()) >= width) return text.substr(0, width);
    return text + std::string(width - text.size(), ' ');
}

}  // namespace numfmt

std::string sRightJustify(float value) {
    return numfmt::RightJustify(numfmt::FormatF32(value, "0.000"), 14);
}
