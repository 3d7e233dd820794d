#include <gtest/gtest.h>

#include "common/numfmt.h"

using namespace numfmt;

TEST(Val, TakesTheLeadingNumberOnly) {
    EXPECT_EQ(Val("12abc"), 12);
    EXPECT_EQ(Val("  -3.5"), -3.5);
    EXPECT_EQ(Val("1e5"), 100000);
    EXPECT_EQ(Val("1D2"), 100);
    EXPECT_EQ(Val("2e"), 2);
    EXPECT_EQ(Val(".5"), 0.5);
    EXPECT_EQ(Val("abc"), 0);
    EXPECT_EQ(Val("inf"), 0);
    EXPECT_EQ(Val("nan"), 0);
    EXPECT_EQ(Val("0x10"), 0);
    EXPECT_EQ(Val(""), 0);
    EXPECT_EQ(Val("-"), 0);
}

TEST(IsNumeric, WholeTextMustBeANumber) {
    EXPECT_TRUE(IsNumeric(" 80 "));
    EXPECT_TRUE(IsNumeric("-1.5e2"));
    EXPECT_FALSE(IsNumeric("80F"));
    EXPECT_FALSE(IsNumeric(""));
    EXPECT_FALSE(IsNumeric("   "));
    EXPECT_FALSE(IsNumeric("."));
}

TEST(Format, RoundsTheSevenDigitFormHalfAwayFromZero) {
    EXPECT_EQ(FormatF32(80918.96f, "0.000"), "80918.960");
    EXPECT_EQ(FormatF32(2.5f, "0.000"), "2.500");
    EXPECT_EQ(FormatF32(0.125f, "0.00"), "0.13");  // exact half rounds away
    EXPECT_EQ(FormatF32(-0.125f, "0.00"), "-0.13");
    EXPECT_EQ(FormatF32(2.5f, "0"), "3");
    EXPECT_EQ(FormatF32(0.0045f, ".0000"), ".0045");
    EXPECT_EQ(FormatF32(48.f, "000"), "048");
    EXPECT_EQ(FormatF32(9.5f, "00"), "10");
    EXPECT_EQ(FormatF32(-0.001f, "0.00"), "0.00");
    EXPECT_EQ(FormatF32(99.9996f, "0.000"), "100.000");
    EXPECT_EQ(FormatF64(1.005, "0.00"), "1.01");
}

TEST(General, ShortestFormOfEachType) {
    EXPECT_EQ(GeneralF32(0.02f), "0.02");
    EXPECT_EQ(GeneralF32(80918.96f), "80918.96");
    EXPECT_EQ(GeneralF32(-3.f), "-3");
    EXPECT_EQ(GeneralF32(0.f), "0");
    EXPECT_EQ(GeneralF32(1234567.f), "1234567");
    EXPECT_EQ(GeneralF64(5000.0), "5000");
    EXPECT_EQ(GeneralF64(0.1), "0.1");
}

TEST(Justify, PadsAndCuts) {
    EXPECT_EQ(sRightJustify(2.5f), "         2.500");
    EXPECT_EQ(sRightJustify(123456789012.f).size(), 14u);
    EXPECT_EQ(LeftJustify("22", 6), "22    ");
    EXPECT_EQ(RightJustify("abcdef", 4), "abcd");
}
