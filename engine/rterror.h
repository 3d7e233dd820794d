// Numbered run-time errors and the checked arithmetic that raises them.
//
// The engine computes in double precision and stores into 32-bit floats and
// 16-bit integers. A fault that the program must report as a numbered error
// (a non-finite result, a value too large for its destination, a division by
// zero, the logarithm of a non-positive number) raises RtError; each
// procedure catches, reports or passes it on as its own rules say. No NaN or
// infinity ever reaches a record field.
#pragma once

#include <cmath>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace rt {

enum ErrorNumber : int {
    kInvalidCall = 5,      // "Invalid procedure call or argument"
    kOverflow = 6,         // "Overflow"
    kSubscript = 9,        // "Subscript out of range"
    kDivisionByZero = 11,  // "Division by zero"
    kFileNotFound = 48,    // "File not found: <library>"
    kEntryPoint = 453,     // "Can't find DLL entry point <name> in <library>"
};

// The standard description of an error number ("Overflow", ...).
std::string Description(int number);

class RtError : public std::runtime_error {
public:
    RtError(int number, std::string description);
    explicit RtError(int number);
    int number() const noexcept { return number_; }
    const std::string& description() const noexcept { return description_; }

private:
    int number_;
    std::string description_;
};

[[noreturn]] void Raise(int number);
[[noreturn]] void Raise(int number, const std::string& description);

// Raises error 6. Out of line and cold, so that the checked stores below
// inline to a test and a store.
[[noreturn, gnu::cold, gnu::noinline]] void RaiseOverflow();

// A double result that must be finite; otherwise error 6.
inline double Chk(double x) {
    if (!std::isfinite(x)) [[unlikely]]
        RaiseOverflow();
    return x;
}

// Stores into a 32-bit float: non-finite or beyond the float range -> 6.
inline float F32(double x) {
    if (!std::isfinite(x)) [[unlikely]]
        RaiseOverflow();
    const float f = static_cast<float>(x);
    if (!std::isfinite(f)) [[unlikely]]
        RaiseOverflow();
    return f;
}

// Rounds half to even into a 16-bit integer: out of range or non-finite -> 6.
inline int16_t I16(double x) {
    if (!std::isfinite(x)) [[unlikely]]
        RaiseOverflow();
    const double r = std::nearbyint(x);  // default rounding mode: half to even
    if (r < -32768.0 || r > 32767.0) [[unlikely]]
        RaiseOverflow();
    return static_cast<int16_t>(r);
}

// Rounds half to even into a 32-bit integer: out of range or non-finite -> 6.
inline int32_t I32(double x) {
    if (!std::isfinite(x)) [[unlikely]]
        RaiseOverflow();
    const double r = std::nearbyint(x);
    if (r < -2147483648.0 || r > 2147483647.0) [[unlikely]]
        RaiseOverflow();
    return static_cast<int32_t>(r);
}
// a / b: b == 0 raises 6 when a == 0 too (0/0), else 11.
double Div(double a, double b);
// Natural logarithm: x <= 0 -> 5.
double Log(double x);
// Square root: x < 0 -> 5.
double Sqrt(double x);
// Exponential: overflow -> 6.
double Exp(double x);
// a ^ b: 0 to a negative power -> 11; a negative base with a non-integral
// exponent -> 5; overflow -> 6.
double Pow(double a, double b);

}  // namespace rt
