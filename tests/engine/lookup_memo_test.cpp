// The engine's memo of moist-air lookups: the library's own answer for
// every argument, and nothing remembered from one rating into the next.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "engine/rterror.h"
#include "engine_fixture.h"

namespace {

using LookupMemoTest = EngineTest;

bool SameBits(float a, float b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

TEST_F(LookupMemoTest, AnswersAsTheLibraryForEveryArgument) {
    LookupMemo memo;
    // Far more arguments than the memo has slots, each argument varied with
    // the others fixed, asked twice: slots are shared and overwritten.
    // Neighbouring floats, both zeros, NaN and refused values among them.
    const float special[] = {0.0f, -0.0f, NAN, std::nextafter(60.0f, 0.0f), 60.0f, 250.0f};
    for (int pass = 0; pass < 2; ++pass) {
        for (int Z = -500; Z <= 30000; Z += 7)
            ASSERT_TRUE(SameBits(memo.SatGrains(50, int16_t(Z)), hg::HGSATGRAINS(50, int16_t(Z)))) << Z;
        for (int i = 0; i < 40; ++i) {
            const float t = -85.0f + 7.3f * static_cast<float>(i);
            for (int j = 0; j < 60; ++j) {
                const float u = j < 6 ? special[j] : -85.0f + 4.9f * static_cast<float>(j);
                const auto Z = static_cast<int16_t>(j * 500 - 1000);
                ASSERT_TRUE(SameBits(memo.SatGrains(t, Z), hg::HGSATGRAINS(t, Z))) << t << " " << Z;
                ASSERT_TRUE(SameBits(memo.SatGrains(u, 0), hg::HGSATGRAINS(u, 0))) << u;
                ASSERT_TRUE(SameBits(memo.WbToGr(t, u, 0), hg::HGWBTOGR(t, u, 0))) << t << " " << u;
                ASSERT_TRUE(SameBits(memo.WbToGr(u, t, 0), hg::HGWBTOGR(u, t, 0))) << u << " " << t;
                ASSERT_TRUE(SameBits(memo.DewPoint(u + 100, Z), hg::HGDEWPOINT(u + 100, Z))) << u << " " << Z;
                ASSERT_TRUE(SameBits(memo.Density(t, u + 100, 0), hg::HGDENSITY(t, u + 100, 0)))
                    << t << " " << u;
            }
        }
    }
}

// Once cleared, as at the start of every rating, the memo asks the library
// again: here a library that has gone away.
TEST_F(LookupMemoTest, ClearedAtEachRatingsStart) {
    ccLookups.WbToGr(80, 67, 0);
    hg::SetLibraryNameForTesting("libHygrel32-not-there.so");
    EXPECT_NO_THROW(ccLookups.WbToGr(80, 67, 0));
    CC_Reset();
    EXPECT_THROW(ccLookups.WbToGr(80, 67, 0), rt::RtError);
}

}  // namespace
