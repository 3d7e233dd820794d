#include "engine/rterror.h"

#include <cfloat>
#include <cmath>
#include <limits>

namespace rt {

std::string Description(int number) {
    switch (number) {
        case kInvalidCall:
            return "Invalid procedure call or argument";
        case kOverflow:
            return "Overflow";
        case kSubscript:
            return "Subscript out of range";
        case kDivisionByZero:
            return "Division by zero";
        case kFileNotFound:
            return "File not found";
        case kEntryPoint:
            return "Can't find DLL entry point";
        default:
            return "Application-defined or object-defined error";
    }
}

RtError::RtError(int number, std::string description)
    : std::runtime_error(std::to_string(number) + "  " + description),
      number_(number),
      description_(std::move(description)) {}

RtError::RtError(int number) : RtError(number, Description(number)) {}

void Raise(int number) {
    throw RtError(number);
}
void Raise(int number, const std::string& description) {
    throw RtError(number, description);
}
void RaiseOverflow() {
    throw RtError(kOverflow);
}

double Div(double a, double b) {
    if (b == 0.0) Raise(a == 0.0 ? kOverflow : kDivisionByZero);
    return Chk(a / b);
}

double Log(double x) {
    if (!(x > 0.0)) Raise(kInvalidCall);
    return Chk(std::log(x));
}

double Sqrt(double x) {
    if (x < 0.0) Raise(kInvalidCall);
    return Chk(std::sqrt(x));
}

double Exp(double x) {
    return Chk(std::exp(x));
}

double Pow(double a, double b) {
    if (a == 0.0 && b < 0.0) Raise(kDivisionByZero);
    if (a < 0.0 && b != std::trunc(b)) Raise(kInvalidCall);
    return Chk(std::pow(a, b));
}

}  // namespace rt
