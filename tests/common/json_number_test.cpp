#include "common/json_number.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <nlohmann/json.hpp>
#include <random>
#include <string>

namespace {

std::string Ours(double x) {
    char buf[numfmt::kJsonNumberMax];
    return std::string(buf, numfmt::WriteJsonNumber(buf, x));
}

template <class Bits, class Float>
Float FromBits(Bits b) {
    Float f;
    std::memcpy(&f, &b, sizeof f);
    return f;
}

}  // namespace

// The batch writer's numbers must be the library's own, digit for digit:
// every float widened (the records' values) and every double, random bit
// patterns over the whole range, and the edges of each notation.
TEST(JsonNumber, SameTextAsTheLibraryDump) {
    std::mt19937_64 rng(20261209);
    int checked = 0;
    auto same = [&](double x) {
        if (!std::isfinite(x)) return;
        ASSERT_EQ(Ours(x), nlohmann::json(x).dump()) << x;
        ++checked;
    };
    for (int i = 0; i < 300000; ++i) {
        same(FromBits<std::uint32_t, float>(static_cast<std::uint32_t>(rng())));
        same(FromBits<std::uint64_t, double>(rng()));
    }
    for (double x :
         {0.0, -0.0, 1.0, -1.0, 0.1, 1e-4, 9.9999e-5, 1e15, 9.99e14, 1e16, 123456789012345678.0, 5e-324,
          std::numeric_limits<double>::max(), std::numeric_limits<double>::min(), 1e100, 1e-100}) {
        same(x);
        same(static_cast<float>(x));
    }
    EXPECT_GT(checked, 500000);
}
