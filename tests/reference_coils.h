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

// The reference coils versioned with the sources (KVN_REFERENCE_DIR names
// another folder in their place).
inline std::filesystem::path ReferenceDir() {
    if (const char* dir = std::getenv("KVN_REFERENCE_DIR")) return dir;
    return std::filesystem::path(KVN_SOURCE_DIR) / "tests" / "data" / "reference-ratings";
}

// The shared set beside the clone, when there is one: coils there that the
// repository lacks are rated too, and a file in both must be the same.
inline std::filesystem::path SharedReferenceDir() {
    return std::filesystem::path(KVN_SOURCE_DIR) / ".." / "shared" / "reference-ratings";
}

// The coil names found in `dir` (none when it does not exist), sorted.
inline std::vector<std::string> CoilNamesIn(const std::filesystem::path& dir) {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(dir, ec)) {
        const std::string file = entry.path().filename().string();
        if (file.size() > 5 && file.ends_with(".json") && !file.ends_with(".expected.json"))
            names.push_back(file.substr(0, file.size() - 5));
    }
    std::sort(names.begin(), names.end());
    return names;
}

// The coil names of the repository and of the shared set, sorted, each once.
inline std::vector<std::string> ReferenceNames() {
    const std::vector<std::string> own = CoilNamesIn(ReferenceDir());
    std::vector<std::string> names = own;
    for (const std::string& name : CoilNamesIn(SharedReferenceDir()))
        if (!std::binary_search(own.begin(), own.end(), name)) names.push_back(name);
    std::sort(names.begin(), names.end());
    return names;
}

// Where a reference file is: in the repository, else in the shared set.
inline std::filesystem::path ReferenceFile(const std::string& file) {
    const std::filesystem::path own = ReferenceDir() / file;
    return std::filesystem::exists(own) ? own : SharedReferenceDir() / file;
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
