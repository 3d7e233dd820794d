// Stored reference coils that this program deliberately answers otherwise:
// inputs it now refuses with a named message before the engine is reached,
// where the stored expectation shows the engine's own failure.
#pragma once

#include <string>

struct ReferenceDeparture {
    const char* name;
    const char* message;
    const char* control;
};

inline const ReferenceDeparture* FindReferenceDeparture(const std::string& name) {
    static const ReferenceDeparture kDepartures[] = {
        {"fail_altitude_31000", "Altitude must be between -500 and 30000 ft", "txtProperty(0)"},
    };
    for (const ReferenceDeparture& d : kDepartures)
        if (name == d.name) return &d;
    return nullptr;
}
