// The checked stores: what each accepts at the edge of its range, and
// error 6 for everything beyond it.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>

#include "engine/rterror.h"

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
const double kNaN = std::nan("");

int ErrorOf(void (*store)(double), double x) {
    try {
        store(x);
    } catch (const rt::RtError& e) {
        return e.number();
    }
    return 0;
}

TEST(CheckedStores, RaiseOverflowForNonFiniteAndOutOfRange) {
    void (*stores[])(double) = {[](double x) { rt::Chk(x); }, [](double x) { rt::F32(x); },
                                [](double x) { rt::I16(x); }, [](double x) { rt::I32(x); }};
    for (auto* store : stores)
        for (double x : {kNaN, kInf, -kInf}) EXPECT_EQ(ErrorOf(store, x), rt::kOverflow) << x;
    EXPECT_EQ(ErrorOf(stores[1], 1e39), rt::kOverflow);
    EXPECT_EQ(ErrorOf(stores[1], -1e39), rt::kOverflow);
    EXPECT_EQ(ErrorOf(stores[2], 32767.5), rt::kOverflow);  // rounds to 32768
    EXPECT_EQ(ErrorOf(stores[2], -32769.0), rt::kOverflow);
    EXPECT_EQ(ErrorOf(stores[3], 2147483647.5), rt::kOverflow);
}

TEST(CheckedStores, KeepValuesAtTheEdgeOfTheRange) {
    // A double just above the largest float still rounds to it.
    EXPECT_EQ(rt::F32(double(FLT_MAX) * (1 + 1e-9)), FLT_MAX);
    EXPECT_EQ(rt::F32(-double(FLT_MAX)), -FLT_MAX);
    EXPECT_EQ(rt::F32(1e-50), 0.0f);
    EXPECT_EQ(rt::I16(-32768.5), -32768);  // half to even
    EXPECT_EQ(rt::I16(32766.5), 32766);
    EXPECT_EQ(rt::I16(2.5), 2);
    EXPECT_EQ(rt::I32(-2147483648.0), INT32_MIN);
}

}  // namespace
