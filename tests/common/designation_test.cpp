#include <gtest/gtest.h>

#include <string>

#include "common/model_designation.h"

namespace {

struct Coil {
    CoilSpec coilSpec;
    CoilRating rating;
    Coil(const std::string& app, int rows, int fpi, float fl, float height, int circuits, int th,
         float eatDb = 80, float entFluid = 45) {
        coilSpec.Application = app;
        coilSpec.RD = static_cast<int16_t>(rows);
        coilSpec.FPI = static_cast<int16_t>(fpi);
        coilSpec.FL = fl;
        coilSpec.FinHeight = height;
        coilSpec.Circuits = static_cast<int16_t>(circuits);
        coilSpec.TH = static_cast<int16_t>(th);
        rating.EatDb = eatDb;
        rating.EntFluidTemp = entFluid;
    }
    std::string Model(const std::string& tube) const { return BuildModelDesignation(coilSpec, rating, tube); }
};

TEST(ModelDesignation, WaterCoolingCoil) {
    EXPECT_EQ(Coil("W", 4, 12, 48, 24, 16, 16).Model("5"), "58-CWDM-04824-F");
}

TEST(ModelDesignation, RowsAndFinsLettersSkipIAndO) {
    const std::pair<int, char> letters[] = {{1, 'A'},  {8, 'H'},  {9, 'J'}, {13, 'N'},
                                            {14, 'P'}, {15, 'Q'}, {16, 'R'}};
    for (const auto& [n, letter] : letters) {
        const std::string m = Coil("W", n, n, 48, 24, 16, 16).Model("5");
        EXPECT_EQ(m.substr(5, 2), std::string(2, letter)) << n << " " << m;
    }
}

TEST(ModelDesignation, TypeLettersAndTubePrefix) {
    EXPECT_EQ(Coil("C", 4, 12, 48, 24, 16, 16).Model("3").substr(0, 5), "38-RC");
    EXPECT_EQ(Coil("E", 4, 12, 48, 24, 16, 16).Model("4").substr(0, 5), "12-RE");
    EXPECT_EQ(Coil("G", 4, 12, 48, 24, 16, 16).Model("1").substr(0, 5), "10-GW");
    EXPECT_EQ(Coil("W", 4, 12, 48, 24, 16, 16, 60, 180).Model("5").substr(0, 5), "58-HW");
    // Air no warmer than the water counts as heating.
    EXPECT_EQ(Coil("W", 4, 12, 48, 24, 16, 16, 55, 55).Model("5").substr(0, 5), "58-HW");
    EXPECT_EQ(Coil("S", 1, 6, 48, 24, 1, 8, 33).Model("1").substr(0, 5), "10-SS");
    EXPECT_EQ(Coil("S", 1, 6, 48, 24, 1, 8, 32).Model("1").substr(0, 5), "10-SD");
    // No type letters for other fluids, no prefix for tube 6.
    EXPECT_EQ(Coil("O", 4, 12, 48, 24, 16, 16).Model("5"), "58-DM-04824-F");
    EXPECT_EQ(Coil("W", 4, 12, 48, 24, 16, 16).Model("6"), "CWDM-04824-F");
}

TEST(ModelDesignation, LengthAndHeightDigits) {
    EXPECT_EQ(Coil("W", 4, 12, 120.5f, 7.5f, 16, 16).Model("5"), "58-CWDM-12108-F");
    EXPECT_EQ(Coil("W", 4, 12, 1234, 150, 16, 16).Model("5"), "58-CWDM-1234150-F");
}

TEST(ModelDesignation, CircuitingLetter) {
    const struct {
        int circuits, th;
        const char* letter;
    } cases[] = {{4, 16, "Q"}, {8, 16, "H"}, {12, 16, "T"}, {16, 16, "F"}, {24, 16, "O"}, {32, 16, "D"},
                 {1, 3, "S"},  {2, 3, "X"},  {1, 1, "F"},   {3, 0, "X"},   {1, 0, "S"}};
    for (const auto& c : cases) {
        const std::string m = Coil("W", 4, 12, 48, 24, c.circuits, c.th).Model("5");
        EXPECT_EQ(m.substr(m.size() - 1), c.letter) << c.circuits << "/" << c.th;
    }
    // A steam coil below freezing without a tube prefix circuits by rows.
    EXPECT_EQ(Coil("S", 1, 6, 48, 24, 8, 8, 20).Model("6"), "SDAF-04824-H");
    EXPECT_EQ(Coil("S", 2, 6, 48, 24, 8, 8, 20).Model("6"), "SDBF-04824-F");
    EXPECT_EQ(Coil("S", 3, 6, 48, 24, 8, 8, 20).Model("6"), "SDCF-04824-X");
    // With a prefix the designation does not start with "SD": by circuits.
    EXPECT_EQ(Coil("S", 1, 6, 48, 24, 8, 8, 20).Model("1"), "10-SDAF-04824-F");
}

}  // namespace
