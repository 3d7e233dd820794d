// The performance sheet as recorded on a recording surface.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "reports/performance_sheet.h"
#include "reports/sheet_fixtures.h"

using reports::RecordingSurface;
using Item = RecordingSurface::Item;

namespace {

constexpr double kChar = 144;  // 12-point typewriter character, twips

std::vector<Item> Print(const fixtures::Coil& c) {
    RecordingSurface s;
    reports::PrintPerformance(s, c.coilSpec, c.rating, c.texts);
    return s.Items();
}

std::optional<Item> Find(const std::vector<Item>& items, const std::string& text) {
    for (const Item& i : items)
        if (i.text == text) return i;
    return std::nullopt;
}

// The items on the same line as the item with text `label`.
std::vector<Item> RowOf(const std::vector<Item>& items, const std::string& label) {
    std::vector<Item> row;
    const auto at = Find(items, label);
    if (!at) return row;
    for (const Item& i : items)
        if (i.y == at->y) row.push_back(i);
    return row;
}

std::vector<std::string> Texts(const std::vector<Item>& row) {
    std::vector<std::string> out;
    for (const Item& i : row) out.push_back(i.text);
    return out;
}

size_t Chars(const std::string& s) {
    size_t n = 0;
    for (unsigned char c : s) n += (c & 0xC0) != 0x80;
    return n;
}

// Printed ink of an item: its text without the leading blanks.
std::pair<double, double> Ink(const Item& i) {
    const size_t lead = i.text.find_first_not_of(' ');
    if (lead == std::string::npos) return {i.x, i.x};
    return {i.x + lead * kChar, i.x + Chars(i.text) * kChar};
}

}  // namespace

TEST(PerformanceSheet, ChilledWaterRowsAndPositions) {
    const auto items = Print(fixtures::Rated("W"));
    EXPECT_EQ(Texts(RowOf(items, "Type of Coil")),
              (std::vector<std::string>{"Type of Coil", ":", "Chilled Water"}));
    EXPECT_EQ(Find(items, "Chilled Water")->x, 4500);
    EXPECT_EQ(Find(items, "Version")->x, 4500);
    EXPECT_EQ(Find(items, "9.00")->x, 6500);
    EXPECT_EQ(Find(items, "Northwind Mall")->x, 6500);
    EXPECT_EQ(Find(items, "58-CWDM-04830-H")->x, 6500);
    EXPECT_EQ(Find(items, "KVN Model No.")->x, 4000);

    const auto fin = RowOf(items, "Fin Height x Fin Length");
    EXPECT_EQ(Texts(fin), (std::vector<std::string>{"Fin Height x Fin Length", ":", "     30.00", "In.   x",
                                                    "     48.00", "Inches"}));
    EXPECT_EQ(fin[2].x, 4500);
    EXPECT_EQ(fin[5].x, 8500);
    EXPECT_EQ(Texts(RowOf(items, "Tube Od and Thickness"))[2], "       5/8");
    EXPECT_EQ(Texts(RowOf(items, "Tube Od and Thickness"))[4], "      .020");
    EXPECT_EQ(
        Texts(RowOf(items, "Fin Thick. and Material")),
        (std::vector<std::string>{"Fin Thick. and Material", ":", "     .0060", "Corrugated Aluminum Fins"}));

    const auto ewt = RowOf(items, "Entering Water Temp");
    EXPECT_EQ(Texts(ewt), (std::vector<std::string>{"Flow, ACFM", ":", "      5000", "ACFM",
                                                    "Entering Water Temp", ":", "     45.00",
                                                    "\xC2\xBA"
                                                    "F"}));
    EXPECT_EQ(ewt[4].x, 6750);
    EXPECT_EQ(ewt[5].x, 9600);
    EXPECT_EQ(ewt[7].x, 11000);
    EXPECT_EQ(Texts(RowOf(items, "Entering Air Wet Bulb"))[2], "     67.00");
    EXPECT_EQ(Texts(RowOf(items, "Water Pressure Drop")).back(), "FT H2O");
    EXPECT_EQ(Texts(RowOf(items, "Air Side Pressure Drop")),
              (std::vector<std::string>{"Air Side Pressure Drop", ":", "      0.55", "In. W.G."}));
    EXPECT_EQ(Texts(RowOf(items, "Sensible Btuh")),
              (std::vector<std::string>{"Sensible Btuh", ":", " 121000.50", "BTU/HR."}));
    EXPECT_EQ(Find(items, "BTU/HR.")->x, 5750);
}

TEST(PerformanceSheet, HeatingHasNoWetBulbsAndNoSensibleRow) {
    // Fluid at the air's dry bulb counts as heating.
    for (float fluid : {180.0f, 80.0f}) {
        for (const char* type : {"W", "G"}) {
            auto c = fixtures::Rated(type);
            c.rating.EntFluidTemp = fluid;
            const auto items = Print(c);
            EXPECT_TRUE(Find(items, std::string(type) == "W" ? "Hot Water" : "Glycol Heating"))
                << type << fluid;
            EXPECT_EQ(Texts(RowOf(items, "Entering Air Wet Bulb")),
                      (std::vector<std::string>{"Entering Air Wet Bulb", ":", "       N/A",
                                                "Number of Circuits", ":", "        12"}));
            EXPECT_EQ(Texts(RowOf(items, "Leaving Air Wet Bulb"))[2], "       N/A");
            EXPECT_EQ(Texts(RowOf(items, "Leaving Air Wet Bulb")).size(), 7u) << "no unit after N/A";
            EXPECT_FALSE(Find(items, "Sensible Btuh"));
            EXPECT_TRUE(Find(items, "Total Btuh"));
        }
    }
}

TEST(PerformanceSheet, GlycolCoolingShape) {
    const auto items = Print(fixtures::Rated("G"));
    EXPECT_TRUE(Find(items, "Glycol Cooling"));
    EXPECT_TRUE(Find(items, "Entering Gly. Temp."));
    EXPECT_TRUE(Find(items, "Leaving Gly. Temp"));
    EXPECT_EQ(Texts(RowOf(items, "Water Pressure Drop")).back(), "FT");
    EXPECT_EQ(Texts(RowOf(items, "Air Side Pressure Drop")),
              (std::vector<std::string>{"Air Side Pressure Drop", ":", "      0.55", " W.G.",
                                        "Percent Glycol", ":", "     30.00", "%"}));
    EXPECT_TRUE(Find(items, "Sensible Btuh"));
}

TEST(PerformanceSheet, CondenserEvaporatorAndSteamRows) {
    auto c = Print(fixtures::Rated("C"));
    EXPECT_TRUE(Find(c, "Condenser"));
    EXPECT_EQ(Texts(RowOf(c, "Refrigerant")),
              (std::vector<std::string>{"Entering Air Dry Bulb", ":", "     80.00",
                                        "\xC2\xBA"
                                        "F",
                                        "Refrigerant", ":", "22    "}));
    EXPECT_EQ(RowOf(c, "Refrigerant")[6].x, 10000);
    EXPECT_EQ(Texts(RowOf(c, "Ref Press. Drop")).back(), "PSI");
    EXPECT_FALSE(Find(c, "Air Side Pressure Drop"));
    EXPECT_FALSE(Find(c, "Sensible Btuh"));
    EXPECT_FALSE(Find(c, "Entering Air Wet Bulb"));

    auto e = Print(fixtures::Rated("E"));
    EXPECT_TRUE(Find(e, "Evaporator"));
    EXPECT_EQ(Texts(RowOf(e, "Leaving Air Wet Bulb")).size(), 4u);
    EXPECT_EQ(Texts(RowOf(e, "Face Velocity")).size(), 4u);
    EXPECT_TRUE(Find(e, "Refrigerant Type"));
    EXPECT_FALSE(Find(e, "Air Side Pressure Drop"));
    // An evaporator always shows its sensible capacity, even with warm refrigerant.
    auto warm = fixtures::Rated("E");
    warm.rating.EntFluidTemp = 90;
    EXPECT_TRUE(Find(Print(warm), "Sensible Btuh"));

    auto s = Print(fixtures::Rated("S"));
    EXPECT_TRUE(Find(s, "Steam"));
    EXPECT_EQ(Texts(RowOf(s, "Latent Heat (BTU/LB)")),
              (std::vector<std::string>{"Face Velocity", ":", "    500.00", "SFPM", "Latent Heat (BTU/LB)",
                                        ":", "       960"}));
    EXPECT_EQ(Texts(RowOf(s, "Air Side Pressure Drop")).back(), "In. W.G.");
    EXPECT_FALSE(Find(s, "Sensible Btuh"));

    // A code the sheet does not know: no caption and no performance rows.
    auto o = Print(fixtures::Rated("O"));
    EXPECT_EQ(Texts(RowOf(o, "Type of Coil")).size(), 3u);
    EXPECT_FALSE(Find(o, "Flow, ACFM"));
    EXPECT_FALSE(Find(o, "Sensible Btuh"));
}

TEST(PerformanceSheet, AltitudeAfterCaption) {
    auto c = fixtures::Rated("S");
    c.rating.Altitude = 1999;
    EXPECT_EQ(RowOf(Print(c), "Type of Coil").size(), 3u);
    c.rating.Altitude = 2000;
    const auto row = RowOf(Print(c), "Type of Coil");
    ASSERT_EQ(row.size(), 4u);
    EXPECT_EQ(row[3].text, "@ 2000 Feet");
    EXPECT_EQ(row[3].x, 6000);
    // A caption that reaches 6000 pushes the altitude one blank past it.
    auto g = fixtures::Rated("G");
    g.rating.Altitude = 5280;
    const auto grow = RowOf(Print(g), "Type of Coil");
    ASSERT_EQ(grow.size(), 4u);
    EXPECT_EQ(grow[3].text, "@ 5280 Feet");
    EXPECT_EQ(grow[3].x, 4500 + 15 * kChar);
}

TEST(PerformanceSheet, CoilsPerSystemRowAndFootnotes) {
    auto c = fixtures::Rated("W");
    c.texts.txtCPS = {"2", "", "3", ""};
    const auto items = Print(c);
    const auto row = RowOf(items, "NO. OF COILS PER SYSTEM:");
    EXPECT_EQ(Texts(row), (std::vector<std::string>{"NO. OF COILS PER SYSTEM:", "   2", "____", "HIGH  X",
                                                    "   3", "WIDE  X", "____", "DEEP"}));
    const double xs[] = {0, 3700, 4700, 5500, 6700, 7500, 8700, 9500};
    for (size_t i = 0; i < row.size(); ++i) EXPECT_EQ(row[i].x, xs[i]);
    EXPECT_EQ(row[0].y, reports::kCoilsPerSystemY);

    const auto f1 = Find(items, "If more than (1) Coil in system Performance shown above is based");
    const auto f2 = Find(items, "on (1) individual coil.");
    const auto f3 = Find(items, "Ratings outside the scope of the ARI Air-Cooling and");
    const auto f4 = Find(items, "Air-Heating Coils Certification Program.");
    ASSERT_TRUE(f1 && f2 && f3 && f4);
    RecordingSurface s;
    s.SetFont("Courier New", 12);
    const double line = s.TextHeight();
    EXPECT_DOUBLE_EQ(f1->y, reports::kCoilsPerSystemY + line + 400);
    EXPECT_DOUBLE_EQ(f3->y, f2->y + line + 400);
    for (const Item& i : items) {
        EXPECT_EQ(i.font, "Courier New");
        EXPECT_EQ(i.points, 12);
    }
}

TEST(PerformanceSheet, LongNotesWrapAndStopAboveCoilsPerSystem) {
    auto c = fixtures::Rated("W");
    std::string notes;
    for (int i = 0; i < 60; ++i)
        notes += "Note " + std::to_string(i) + " about the coil casing and drain pan. ";
    notes += "\r\nSecond paragraph.\nThird " + std::string(120, 'X');
    c.texts.txtNotes = notes;
    RecordingSurface s;
    reports::PrintPerformance(s, c.coilSpec, c.rating, c.texts);
    const auto items = s.Items();
    const auto total = Find(items, "Sensible Btuh");
    const auto cps = Find(items, "NO. OF COILS PER SYSTEM:");
    std::string printed;
    int lines = 0;
    for (const Item& i : items) {
        if (i.y <= total->y || i.y >= cps->y) continue;
        ++lines;
        EXPECT_EQ(i.x, 0);
        EXPECT_LE(Chars(i.text) * kChar, s.PageWidth()) << i.text;
        EXPECT_LE(i.y + s.TextHeight(), reports::kCoilsPerSystemY) << i.text;
        printed += i.text + " ";
    }
    EXPECT_GT(lines, 5);
    // The lines that fit hold the notes' words in order, none lost between;
    // the last one ends with " ..." since the notes go on.
    ASSERT_GT(printed.size(), 5u);
    EXPECT_EQ(printed.substr(printed.size() - 5), " ... ");
    printed.resize(printed.size() - 5);
    EXPECT_EQ(notes.substr(0, printed.size()), printed);

    // Line breaks in short notes start new lines.
    c.texts.txtNotes = "First line\r\nSecond line";
    const auto two = Print(c);
    ASSERT_TRUE(Find(two, "First line") && Find(two, "Second line"));
    EXPECT_GT(Find(two, "Second line")->y, Find(two, "First line")->y);
}

// Warnings follow the notes where whole lines are left above the
// coils-per-system row; nothing else moves.
TEST(PerformanceSheet, WarningsAfterTheNotesOnlyWhereTheyFit) {
    auto c = fixtures::Rated("W");
    c.texts.txtNotes = "Drain pan in stainless steel.";
    const auto plain = Print(c);
    c.texts.warnings = {"Circuits left blank: rated with one circuit", "Fluid velocity below 1 ft/s"};
    const auto warned = Print(c);
    std::vector<Item> others;
    for (const Item& i : warned)
        if (i.text.rfind("Warning: ", 0) != 0) others.push_back(i);
    ASSERT_EQ(others.size() + 2, warned.size());
    ASSERT_EQ(others.size(), plain.size());
    for (size_t i = 0; i < plain.size(); ++i) {
        EXPECT_EQ(others[i].text, plain[i].text);
        EXPECT_EQ(others[i].y, plain[i].y) << plain[i].text;
    }
    const auto w = Find(warned, "Warning: Circuits left blank: rated with one circuit");
    ASSERT_TRUE(w);
    EXPECT_EQ(w->y, Find(warned, "Drain pan in stainless steel.")->y + RecordingSurface().TextHeight());

    // Notes that fill the room leave no line for a warning.
    c.texts.txtNotes = std::string(4000, 'n');
    for (const Item& i : Print(c)) EXPECT_EQ(i.text.find("Warning:"), std::string::npos);
}

TEST(PerformanceSheet, NothingOverprinted) {
    for (const char* type : {"W", "G", "S", "E", "C"}) {
        for (int16_t altitude : {0, 9000}) {
            for (units::System system : {units::System::InchPound, units::System::SI}) {
                auto c = fixtures::Rated(type);
                c.texts.units = system;
                c.rating.Altitude = altitude;
                c.rating.Gpm = 1234.56f;
                c.rating.FluidPD = 123.45f;
                c.coilSpec.FL = 144;
                c.texts.txtNotes = std::string(400, 'n');
                const auto items = Print(c);
                for (size_t a = 0; a < items.size(); ++a)
                    for (size_t b = a + 1; b < items.size(); ++b) {
                        if (items[a].y != items[b].y) continue;
                        const auto [a0, a1] = Ink(items[a]);
                        const auto [b0, b1] = Ink(items[b]);
                        // A quarter character of slack: a glyph's ink stays
                        // inside its cell ("Latent Heat (BTU/LB)" reaches 30
                        // twips into the cell of the ":" beside it).
                        constexpr double slack = kChar / 4;
                        EXPECT_TRUE(a1 - slack <= b0 || b1 - slack <= a0)
                            << type << ": '" << items[a].text << "' and '" << items[b].text << "'";
                    }
            }
        }
    }
}

TEST(PerformanceSheet, WideNumbersAreNotCut) {
    auto c = fixtures::Rated("W");
    c.rating.TotalBtuh = 98765432.0f;
    EXPECT_EQ(Texts(RowOf(Print(c), "Total Btuh"))[2], "98765430.00");
}

TEST(PerformanceSheet, UnratedCoilPrintsZeros) {
    fixtures::Coil c;
    c.texts.coilType = "W";
    const auto items = Print(c);
    // 0 >= 0: the empty coil counts as heating.
    EXPECT_TRUE(Find(items, "Hot Water"));
    EXPECT_EQ(Texts(RowOf(items, "Flow, ACFM"))[2], "         0");
    EXPECT_EQ(Texts(RowOf(items, "Tube Od and Thickness"))[2], "          ");
}

// In SI every figure but the construction's designations is metric, with
// its unit beside it; the records themselves are inch-pound.
TEST(PerformanceSheet, SiFiguresAndUnits) {
    auto w = fixtures::Rated("W");
    w.texts.units = units::System::SI;
    w.rating.Altitude = 2500;
    const auto items = Print(w);
    EXPECT_EQ(Texts(RowOf(items, "Type of Coil")).back(), "@ 762 m");
    EXPECT_EQ(Texts(RowOf(items, "Fin Height x Fin Length")),
              (std::vector<std::string>{"Fin Height x Fin Length", ":", "       762", "mm    x", "      1219",
                                        "mm"}));
    EXPECT_EQ(Texts(RowOf(items, "Face Area")),
              (std::vector<std::string>{"Face Area", ":", "     0.929", "m²"}));
    EXPECT_EQ(Texts(RowOf(items, "Entering Water Temp")),
              (std::vector<std::string>{"Air Flow", ":", "      8495", "m³/h", "Entering Water Temp", ":",
                                        "       7.2", "°C"}));
    EXPECT_EQ(Texts(RowOf(items, "Water Pressure Drop"))[6], "      25.1");
    EXPECT_EQ(Texts(RowOf(items, "Air Side Pressure Drop")),
              (std::vector<std::string>{"Air Side Pressure Drop", ":", "       137", "Pa"}));
    EXPECT_EQ(Texts(RowOf(items, "Total Capacity")),
              (std::vector<std::string>{"Total Capacity", ":", "     47.58", "kW"}));

    const std::vector<std::string> ipUnits = {
        "\xC2\xBA"
        "F",
        "ACFM",
        "SFPM",
        "PSI",
        "FT",
        "FT H2O",
        "FPS",
        "In. W.G.",
        " W.G.",
        "BTU/HR.",
        "Square Feet",
        "Inches",
        "GPM"};
    for (const char* type : {"W", "G", "S", "E", "C"}) {
        auto c = fixtures::Rated(type);
        c.texts.units = units::System::SI;
        const auto all = Print(c);
        const double tubeRow = Find(all, "Tube Od and Thickness")->y;
        for (const Item& i : all) {
            if (i.y == tubeRow) continue;  // the tube's size and wall are designations
            for (const std::string& u : ipUnits) EXPECT_NE(i.text, u) << type;
            EXPECT_EQ(i.text.find("Btuh"), std::string::npos) << type;
        }
    }
}
