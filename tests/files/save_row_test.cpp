#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "coil_fixtures.h"
#include "engine/rterror.h"
#include "files/save_row.h"

namespace {

std::string Text(const SavedCoilTable::Row& row, int c) { return CellText(row[c]); }

TEST(SaveRow, WaterCoilColumns) {
    RatedCoil c = MakeRatedCoil("W");
    auto row = BuildSavedRow(2, c.spec, c.rating, c.texts);
    EXPECT_EQ(std::get<int32_t>(row[col::Number]), 3);
    EXPECT_EQ(Text(row, col::CoilsPerSystem), "2");
    EXPECT_EQ(Text(row, col::Model), "58-CWDM-04824-F");
    EXPECT_EQ(Text(row, col::Item), "AHU-1");
    EXPECT_EQ(Text(row, col::CoilType), "Water");
    EXPECT_EQ(Text(row, col::TubeSize), "5/8\"");
    EXPECT_EQ(Text(row, col::TubeWall), "0.02");
    EXPECT_EQ(Text(row, col::FinThk), "0.006");
    EXPECT_EQ(Text(row, col::FinMaterial), "Aluminum");
    EXPECT_EQ(Text(row, col::FinType), "Corrugated");
    EXPECT_EQ(Text(row, col::FinnedLength), "48.5");
    EXPECT_EQ(Text(row, col::Rows), "4");
    EXPECT_EQ(Text(row, col::FPI), "12");
    EXPECT_EQ(Text(row, col::FaceArea), "10.10417");
    EXPECT_EQ(Text(row, col::Scfm), "5052");  // 5051.5 rounds half to even
    EXPECT_EQ(Text(row, col::Gpm), "40");
    EXPECT_EQ(Text(row, col::SteamPressure), " ");
    EXPECT_EQ(Text(row, col::TotalBtuh), "201234.5");
    EXPECT_EQ(Text(row, col::Circuits), "10");
    EXPECT_EQ(Text(row, col::Refrigerant), " ");
    EXPECT_EQ(Text(row, col::PercentGlycol), " ");
    EXPECT_EQ(Text(row, col::Altitude), "1000");
    EXPECT_TRUE(std::holds_alternative<double>(row[col::Altitude]));
    EXPECT_TRUE(std::holds_alternative<std::monostate>(row[33]));
}

TEST(SaveRow, PlaceholdersFollowTheCoilTypeWord) {
    // Columns that hold a placeholder space, by coil type.
    struct Case { const char* app; std::vector<int> placeholders; };
    const Case cases[] = {
        {"S", {17, 19, 22, 23, 24, 25, 29, 30, 31}},
        {"C", {17, 19, 25, 26, 31}},
        {"E", {25, 26, 31}},
        {"W", {26, 30, 31}},
        {"G", {26, 30}},
    };
    for (const Case& k : cases) {
        RatedCoil c = MakeRatedCoil(k.app);
        auto row = BuildSavedRow(0, c.spec, c.rating, c.texts);
        for (int col = 0; col < col::Count; ++col) {
            bool expected = std::find(k.placeholders.begin(), k.placeholders.end(), col) !=
                            k.placeholders.end();
            EXPECT_EQ(Text(row, col) == " ", expected) << k.app << " column " << col;
        }
    }
    RatedCoil steam = MakeRatedCoil("S");
    auto row = BuildSavedRow(0, steam.spec, steam.rating, steam.texts);
    EXPECT_EQ(Text(row, col::SteamPressure), "5");
    EXPECT_EQ(Text(row, col::TubeSize), "1\"");
    RatedCoil glycol = MakeRatedCoil("G");
    row = BuildSavedRow(0, glycol.spec, glycol.rating, glycol.texts);
    EXPECT_EQ(Text(row, col::PercentGlycol), "30");
    RatedCoil cond = MakeRatedCoil("C");
    row = BuildSavedRow(0, cond.spec, cond.rating, cond.texts);
    EXPECT_EQ(Text(row, col::Refrigerant), "22");
    EXPECT_EQ(Text(row, col::FinMaterial), "Copper");
}

TEST(SaveRow, BlanksAndOddCodes) {
    RatedCoil c = MakeRatedCoil("W");
    c.texts.coilsPerSystem = "";
    c.texts.model = "";
    c.texts.tubeText = "6";
    c.spec.FinMat = "X";
    auto row = BuildSavedRow(0, c.spec, c.rating, c.texts);
    EXPECT_EQ(std::get<int32_t>(row[col::CoilsPerSystem]), 1);
    EXPECT_EQ(Text(row, col::Model), "");
    EXPECT_EQ(Text(row, col::TubeSize), "");
    EXPECT_EQ(Text(row, col::FinMaterial), "");
}

TEST(SaveRow, TextsLoseSemicolonsAndLineBreaks) {
    RatedCoil c = MakeRatedCoil("E");
    c.texts.item = "AHU;1\r\nroof";
    c.texts.model = "58;X";
    c.texts.coilsPerSystem = "2;3";
    auto row = BuildSavedRow(0, c.spec, c.rating, c.texts);
    EXPECT_EQ(Text(row, col::Item), "AHU1roof");
    EXPECT_EQ(Text(row, col::Model), "58X");
    EXPECT_EQ(Text(row, col::CoilsPerSystem), "23");
    EXPECT_TRUE(HasFileBreaks("a;b"));
    EXPECT_TRUE(HasFileBreaks("a\nb"));
    EXPECT_FALSE(HasFileBreaks("a, b"));
}

TEST(SaveRow, StandardAirFlowBeyond16Bits) {
    RatedCoil c = MakeRatedCoil("W");
    c.rating.Scfm = 40000.5f;
    auto row = BuildSavedRow(0, c.spec, c.rating, c.texts);
    EXPECT_EQ(std::get<int32_t>(row[col::Scfm]), 40000);
    c.rating.Scfm = 3e9f;
    SavedCoilTable table;
    EXPECT_THROW(AppendSavedCoil(table, c.spec, c.rating, c.texts), rt::RtError);
    EXPECT_EQ(table.CoilCount(), 0);
    EXPECT_EQ(table.Rows().size(), 1u);
}

TEST(SaveRow, AppendKeepsASpareRow) {
    SavedCoilTable table;
    RatedCoil w = MakeRatedCoil("W");
    RatedCoil s = MakeRatedCoil("S");
    EXPECT_EQ(AppendSavedCoil(table, w.spec, w.rating, w.texts), 1);
    EXPECT_EQ(AppendSavedCoil(table, s.spec, s.rating, s.texts), 2);
    ASSERT_EQ(table.Rows().size(), 3u);
    EXPECT_EQ(CellText(table.At(0, 1)), "2");
    EXPECT_EQ(CellText(table.At(col::CoilType, 1)), "Steam");
    for (const Cell& cell : table.Rows().back())
        EXPECT_TRUE(std::holds_alternative<std::monostate>(cell));
}

SavedCoilTable ThreeCoils() {
    SavedCoilTable table;
    const char* apps[] = {"W", "G", "E"};
    for (const char* a : apps) {
        RatedCoil c = MakeRatedCoil(a);
        c.texts.item = std::string("item ") + a;
        AppendSavedCoil(table, c.spec, c.rating, c.texts);
    }
    return table;
}

TEST(DeleteSavedCoil, FirstOfThreeRenumbers) {
    SavedCoilTable table = ThreeCoils();
    ASSERT_TRUE(DeleteSavedCoil(table, 0));
    ASSERT_EQ(table.CoilCount(), 2);
    EXPECT_EQ(CellText(table.At(0, 0)), "1");
    EXPECT_EQ(CellText(table.At(0, 1)), "2");
    EXPECT_EQ(CellText(table.At(col::Item, 0)), "item G");
    EXPECT_EQ(CellText(table.At(col::Item, 1)), "item E");
    for (const Cell& cell : table.Rows().back())
        EXPECT_TRUE(std::holds_alternative<std::monostate>(cell));
}

TEST(DeleteSavedCoil, LastAndOnly) {
    SavedCoilTable table = ThreeCoils();
    ASSERT_TRUE(DeleteSavedCoil(table, 2));
    EXPECT_EQ(table.CoilCount(), 2);
    EXPECT_EQ(CellText(table.At(col::Item, 1)), "item G");
    EXPECT_FALSE(DeleteSavedCoil(table, 2));   // the spare row is not a coil
    EXPECT_FALSE(DeleteSavedCoil(table, -1));
    ASSERT_TRUE(DeleteSavedCoil(table, 1));
    ASSERT_TRUE(DeleteSavedCoil(table, 0));
    EXPECT_EQ(table.CoilCount(), 0);
    EXPECT_EQ(table.Rows().size(), 1u);
    EXPECT_FALSE(DeleteSavedCoil(table, 0));
}

TEST(CellNumber, NumbersAndNumericTexts) {
    double v = 0;
    EXPECT_TRUE(CellNumber(Cell{std::string("55.23456")}, v));
    EXPECT_DOUBLE_EQ(v, 55.23456);
    EXPECT_TRUE(CellNumber(Cell{0.006f}, v));
    EXPECT_FLOAT_EQ(static_cast<float>(v), 0.006f);
    EXPECT_TRUE(CellNumber(Cell{int16_t{4}}, v));
    EXPECT_EQ(v, 4);
    EXPECT_FALSE(CellNumber(Cell{std::string(" ")}, v));
    EXPECT_FALSE(CellNumber(Cell{std::string("5/8\"")}, v));
    EXPECT_FALSE(CellNumber(Cell{std::string("1e999")}, v));
    EXPECT_FALSE(CellNumber(Cell{}, v));
}

}  // namespace
