// kvn-rate under an input line far over its 1 MB limit: the line is
// answered as refused and skipped as it is read, never held whole, and the
// coil after it is still rated.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "child_process.h"

namespace fs = std::filesystem;

namespace {

// AddressSanitizer pads and quarantines memory: the peak is only compared in
// ordinary builds.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kPeakComparable = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kPeakComparable = false;
#else
constexpr bool kPeakComparable = true;
#endif
#else
constexpr bool kPeakComparable = true;
#endif

TEST(RateStream, OverlongLineIsSkippedNotHeld) {
    const std::string rater = std::string(KVN_BIN_DIR) + "/kvn-rate";
    if (!fs::exists(rater)) GTEST_SKIP() << "no kvn-rate";
    const fs::path dir = fs::temp_directory_path() / ("kvn_rate_long_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    constexpr std::size_t kLineBytes = 64u << 20;
    {
        std::ofstream in(dir / "in.json", std::ios::binary);
        const std::string chunk(1u << 20, 'x');
        in << "{\"Notes\":\"";
        for (std::size_t i = 0; i < kLineBytes / chunk.size(); ++i) in << chunk;
        in << "\"}\n"
           << R"({"Application":"W","FPI":"12","RD":"4","TH":"16","FL":"48","Circuits":"16","Altitude":"0","Acfm":"2000","EatDb":"80","EatWb":"67","EntFluidTemp":"45","Gpm":"20","Pattern":"5","TubeWall":"0.02","FinMat":"A","FinThk":"0.006"})"
           << "\n";
    }
    const std::string out = (dir / "out.json").string();
    // The peak resident size of kvn-rate alone: the only child of a child.
    const hardening::ChildOutcome run = hardening::RunInChild([&]() -> long {
        const std::string cmd =
            "\"" + rater + "\" \"" + (dir / "in.json").string() + "\" >\"" + out + "\" 2>/dev/null";
        if (std::system(cmd.c_str()) == -1) return -1;
        rusage usage{};
        return ::getrusage(RUSAGE_CHILDREN, &usage) == 0 ? usage.ru_maxrss : -1;
    });
    ASSERT_GT(run.answer, 0);
    if (kPeakComparable) {
        EXPECT_LT(run.answer * 1024L, static_cast<long>(kLineBytes / 2)) << "peak KiB " << run.answer;
    }
    std::ifstream result(out);
    std::string first, second;
    std::getline(result, first);
    std::getline(result, second);
    EXPECT_EQ(first, R"({"ok":false,"input":"line 1 is over 1 MB"})");
    EXPECT_EQ(second.rfind(R"({"ok":true,)", 0), 0u) << second.substr(0, 80);
    fs::remove_all(dir);
}

}  // namespace
