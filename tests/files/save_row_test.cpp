#include <gtest/gtest.h>

#include <set>

#include "coil_fixtures.h"
#include "engine/rterror.h"
#include "files/save_row.h"

namespace {

std::string Text(const SavedCoilTable::Row& row, int c) {
    return CellText(row[c]);
}

TEST(SaveRow, PlaceholdersFollowTheCoilTypeWord) {
    const std::pair<const char*, std::set<int>> cases[] = {{"S", {17, 19, 22, 23, 24, 25, 29, 30, 31}},
                                                           {"C", {17, 19, 25, 26, 31}},
                                                           {"E", {25, 26, 31}},
                                                           {"W", {26, 30, 31}},
                                                           {"G", {26, 30}}};
    for (const auto& [app, placeholders] : cases) {
        RatedCoil c = MakeRatedCoil(app);
        auto row = BuildSavedRow(0, c.coilSpec, c.rating, c.texts);
        for (int k = 0; k < col::Count; ++k)
            EXPECT_EQ(Text(row, k) == " ", placeholders.count(k) == 1) << app << " column " << k;
    }
    RatedCoil s = MakeRatedCoil("S"), g = MakeRatedCoil("G"), e = MakeRatedCoil("C");
    EXPECT_EQ(Text(BuildSavedRow(0, s.coilSpec, s.rating, s.texts), col::SteamPressure), "5");
    EXPECT_EQ(Text(BuildSavedRow(0, s.coilSpec, s.rating, s.texts), col::TubeSize), "1\"");
    EXPECT_EQ(Text(BuildSavedRow(0, g.coilSpec, g.rating, g.texts), col::PercentGlycol), "30");
    EXPECT_EQ(Text(BuildSavedRow(0, e.coilSpec, e.rating, e.texts), col::Refrigerant), "22");
    EXPECT_EQ(Text(BuildSavedRow(0, e.coilSpec, e.rating, e.texts), col::FinMaterial), "Copper");
}

// The saved list's words and size texts, odd cases included: the 5/16"
// tube and the "O" type have none, and words match exactly.
TEST(SaveRow, CatalogueTextsOfTheSavedList) {
    for (const auto& [code, word] : {std::pair{"W", "Water"},
                                     {"G", "Glycol"},
                                     {"S", "Steam"},
                                     {"E", "Evaporator"},
                                     {"C", "Condenser"},
                                     {"O", ""},
                                     {"w", ""}}) {
        EXPECT_EQ(CoilTypeWord(code), word) << code;
        if (*word) {
            EXPECT_EQ(CoilTypeOfWord(word), CoilTypeOf(code)) << word;
        }
    }
    EXPECT_EQ(CoilTypeOfWord("water"), CoilType::Unknown);
    EXPECT_EQ(CoilTypeOfWord(""), CoilType::Unknown);
    for (const auto& [code, text] : {std::pair{"1", "1\""},
                                     {"3", "3/8\""},
                                     {"4", "1/2\""},
                                     {"5", "5/8\""},
                                     {"6", ""},
                                     {"P", ""},
                                     {"", ""}})
        EXPECT_EQ(TubeSizeText(code), text) << code;
    EXPECT_EQ(FinMaterialWord("A"), "Aluminum");
    EXPECT_EQ(FinMaterialWord("a"), "");
}

TEST(SaveRow, WaterRowColumnsAndTexts) {
    RatedCoil c = MakeRatedCoil("W");
    c.rating.Scfm = 40000.5f;  // beyond 16 bits; half to even
    c.texts.coilsPerSystem = "";
    c.texts.item = "AHU;1\r\nroof";  // would split and break the file line
    auto row = BuildSavedRow(2, c.coilSpec, c.rating, c.texts);
    EXPECT_EQ(std::get<int32_t>(row[col::Number]), 3);
    EXPECT_EQ(Text(row, col::CoilsPerSystem), "1");
    EXPECT_EQ(Text(row, col::Item), "AHU1roof");
    EXPECT_EQ(Text(row, col::TubeSize), "5/8\"");
    EXPECT_EQ(Text(row, col::FinMaterial), "Aluminum");
    EXPECT_EQ(Text(row, col::FinType), "Corrugated");
    EXPECT_EQ(Text(row, col::FaceArea), "10.10417");
    EXPECT_EQ(std::get<int32_t>(row[col::Scfm]), 40000);
    EXPECT_EQ(std::get<double>(row[col::Altitude]), 1000.0);
    EXPECT_TRUE(std::holds_alternative<std::monostate>(row[33]));

    c.rating.Scfm = 3e9f;  // beyond 32 bits: error 6, the table is unchanged
    SavedCoilTable table;
    EXPECT_THROW(AppendSavedCoil(table, c.coilSpec, c.rating, c.texts), rt::RtError);
    EXPECT_EQ(table.Rows().size(), 1u);
}

TEST(SaveRow, DeleteRenumbersAndKeepsTheSpareRow) {
    SavedCoilTable table;
    for (const char* item : {"A", "B", "C"}) {
        RatedCoil c = MakeRatedCoil("W");
        c.texts.item = item;
        AppendSavedCoil(table, c.coilSpec, c.rating, c.texts);
    }
    ASSERT_TRUE(DeleteSavedCoil(table, 0));  // the first of three
    ASSERT_EQ(table.CoilCount(), 2);
    EXPECT_EQ(CellText(table.At(0, 0)) + CellText(table.At(col::Item, 0)), "1B");
    EXPECT_EQ(CellText(table.At(0, 1)) + CellText(table.At(col::Item, 1)), "2C");
    EXPECT_FALSE(DeleteSavedCoil(table, 2));  // the spare row is no coil
    ASSERT_TRUE(DeleteSavedCoil(table, 1));   // the last
    EXPECT_EQ(CellText(table.At(col::Item, 0)), "B");
    ASSERT_TRUE(DeleteSavedCoil(table, 0));
    ASSERT_EQ(table.Rows().size(), 1u);
    for (const Cell& cell : table.Rows()[0]) EXPECT_TRUE(std::holds_alternative<std::monostate>(cell));
}

}  // namespace
