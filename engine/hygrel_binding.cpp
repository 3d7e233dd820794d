// Binding of Hygrel32 by name: the library is loaded at the first call of any
// of its functions, and each function is looked up once, at its own first
// call. The solvers call these in tight loops, so after the first call each
// function costs one pointer load and an indirect call. Loading and look-up
// run under a lock, so threads may make their first calls at the same time.
#include "engine/hygrel_binding.h"

#include <dlfcn.h>
#include <unistd.h>

#include <atomic>
#include <climits>
#include <mutex>

#include "engine/rterror.h"

namespace hg {
namespace {

// The name the program and its messages know the library by.
constexpr const char* kLibraryTitle = "Hygrel32";
constexpr const char* kDefaultFileName = "libHygrel32.so";

enum Entry : int {
    kSatVp,
    kDensity,
    kEnthalpy,
    kSatGrains,
    kRh,
    kRhToGr,
    kDewPoint,
    kWetBulb,
    kWbToGr,
    kEntryCount
};

constexpr const char* kEntryNames[kEntryCount] = {
    "HGSATVP",  "HGDENSITY",  "HGENTHALPY", "HGSATGRAINS", "HGRH",
    "HGRHTOGR", "HGDEWPOINT", "HGWETBULB",  "HGWBTOGR",
};

struct Binding {
    std::mutex lock;  // guards everything below but `entries`
    std::string fileName = kDefaultFileName;
    void* handle = nullptr;
    std::string loadedPath;
    // Set once resolved (under the lock), read without it.
    std::atomic<void*> entries[kEntryCount] = {};
};

Binding& State() {
    static Binding b;
    return b;
}

// The folder of the running program, with a trailing slash ("" if unknown).
std::string ProgramFolder() {
    char buf[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return {};
    std::string path(buf, static_cast<size_t>(n));
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

void* Open(const std::string& path, Binding& b) {
    void* h = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (h) {
        char where[PATH_MAX];
        b.loadedPath = path;
        if (path.find('/') == std::string::npos && dlinfo(h, RTLD_DI_ORIGIN, where) == 0)
            b.loadedPath = std::string(where) + "/" + path;
    }
    return h;
}

// Loads the library: beside the program first, then by the normal library
// search (the program's run path, LD_LIBRARY_PATH, the system folders).
// Called with the lock held.
void* Library(Binding& b) {
    if (b.handle) return b.handle;
    void* h = nullptr;
    if (b.fileName.find('/') != std::string::npos) {
        h = Open(b.fileName, b);
    } else {
        const std::string folder = ProgramFolder();
        if (!folder.empty() && access((folder + b.fileName).c_str(), F_OK) == 0)
            h = Open(folder + b.fileName, b);
        if (!h) h = Open(b.fileName, b);
    }
    if (!h) rt::Raise(rt::kFileNotFound, std::string("File not found: ") + kLibraryTitle);
    b.handle = h;
    return h;
}

[[gnu::noinline]] void* Resolve(Entry e) {
    Binding& b = State();
    const std::lock_guard<std::mutex> hold(b.lock);
    if (void* done = b.entries[e].load(std::memory_order_acquire)) return done;
    void* h = Library(b);
    dlerror();
    void* fn = dlsym(h, kEntryNames[e]);
    if (!fn)
        rt::Raise(rt::kEntryPoint,
                  std::string("Can't find DLL entry point ") + kEntryNames[e] + " in " + kLibraryTitle);
    b.entries[e].store(fn, std::memory_order_release);
    return fn;
}

template <typename Fn>
inline Fn Entry_(Entry e) {
    void* fn = State().entries[e].load(std::memory_order_acquire);
    if (__builtin_expect(fn == nullptr, 0)) fn = Resolve(e);
    return reinterpret_cast<Fn>(fn);
}

}  // namespace

// Each function's type is the library's own declaration of it.
float HGSATVP(float t) {
    return Entry_<decltype(&::HGSATVP)>(kSatVp)(t);
}
float HGDENSITY(float t, float W, int16_t Z) {
    return Entry_<decltype(&::HGDENSITY)>(kDensity)(t, W, Z);
}
float HGENTHALPY(float t, float W) {
    return Entry_<decltype(&::HGENTHALPY)>(kEnthalpy)(t, W);
}
float HGSATGRAINS(float t, int16_t Z) {
    return Entry_<decltype(&::HGSATGRAINS)>(kSatGrains)(t, Z);
}
float HGRH(float t, float W, int16_t Z) {
    return Entry_<decltype(&::HGRH)>(kRh)(t, W, Z);
}
float HGRHTOGR(float t, float phi, int16_t Z) {
    return Entry_<decltype(&::HGRHTOGR)>(kRhToGr)(t, phi, Z);
}
float HGDEWPOINT(float W, int16_t Z) {
    return Entry_<decltype(&::HGDEWPOINT)>(kDewPoint)(W, Z);
}
float HGWETBULB(float t, float W, int16_t Z) {
    return Entry_<decltype(&::HGWETBULB)>(kWetBulb)(t, W, Z);
}
float HGWBTOGR(float t, float tw, int16_t Z) {
    return Entry_<decltype(&::HGWBTOGR)>(kWbToGr)(t, tw, Z);
}

std::string LoadedLibraryPath() {
    Binding& b = State();
    const std::lock_guard<std::mutex> hold(b.lock);
    return b.loadedPath;
}

void SetLibraryNameForTesting(const std::string& name) {
    Binding& b = State();
    const std::lock_guard<std::mutex> hold(b.lock);
    if (b.handle) dlclose(b.handle);
    b.handle = nullptr;
    b.loadedPath.clear();
    for (std::atomic<void*>& e : b.entries) e.store(nullptr, std::memory_order_release);
    b.fileName = name.empty() ? std::string(kDefaultFileName) : name;
}

}  // namespace hg
