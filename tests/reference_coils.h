// The stored reference coils (NAME.json with NAME.expected.json), shared by
// the suites that rate them.
#pragma once

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

inline std::filesystem::path ReferenceDir() {
    if (const char* dir = std::getenv("KVN_REFERENCE_DIR")) return dir;
    return std::filesystem::path(KVN_SOURCE_DIR) / ".." / "shared" / "reference-ratings";
}

// The coil names, sorted.
inline std::vector<std::string> ReferenceNames() {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(ReferenceDir(), ec)) {
        const std::string file = entry.path().filename().string();
        if (file.size() > 5 && file.ends_with(".json") && !file.ends_with(".expected.json"))
            names.push_back(file.substr(0, file.size() - 5));
    }
    std::sort(names.begin(), names.end());
    return names;
}

inline std::string ReadFile(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Reference coils this program deliberately answers otherwise: inputs it
// refuses with a named message before the engine is reached, where the
// stored expectation shows the engine's own failure.
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
