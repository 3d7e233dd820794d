// Units of entry and display: factors, entry texts across switches,
// messages and the results grid in SI.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "common/calc_driver.h"
#include "common/numfmt.h"
#include "common/units.h"
#include "sample_coils.h"
#include "tools/rate_json.h"

using units::Quantity;
using units::System;

namespace {

// The same coil in SI texts: every quantity converted in double precision.
FieldTexts ToSiTexts(FieldTexts f) {
    for (auto& [key, text] : f) {
        Quantity q;
        if (units::FieldQuantity(key, q)) text = units::ConvertEntryText(q, System::InchPound, text);
    }
    return f;
}

// The sample coil as a coil of another type, with what that type needs.
FieldTexts OfType(FieldTexts f, const std::string& type) {
    f["Application"] = type;
    f["Refrigerant"] = "22";
    f["PercentGlycol"] = "30";
    f["SteamPressure"] = "5";
    if (type == "C") f["EntFluidTemp"] = "120";
    return f;
}

}  // namespace

// Values from published conversion tables, independent of how the
// factors are built.
TEST(Units, FactorsAgreeWithPublishedEquivalents) {
    const struct {
        Quantity q;
        double ip, si, tolerance;
    } cases[] = {
        {Quantity::Temperature, 212, 100, 1e-12},
        {Quantity::Temperature, -40, -40, 1e-12},
        {Quantity::AirFlow, 1, 1.69901079552, 1e-12},
        {Quantity::AirVelocity, 1, 0.00508, 1e-15},
        {Quantity::Capacity, 12000, 3.516852842, 1e-9},  // one ton of refrigeration
        {Quantity::AirPD, 1, 249.08891, 1e-9},
        {Quantity::WaterPD, 1, 2.98906692, 1e-12},
        {Quantity::RefrigerantPD, 1, 6.894757293168, 1e-12},
        {Quantity::SteamPressure, 14.6959, 101.325, 1e-3},
        {Quantity::FluidFlow, 1, 0.0630901964, 1e-12},
        {Quantity::FluidVelocity, 1, 0.3048, 1e-15},
        {Quantity::Altitude, 10000, 3048, 1e-9},
        {Quantity::Length, 48, 1219.2, 1e-9},
        {Quantity::Area, 1, 0.09290304, 1e-15},
        {Quantity::MassFlow, 1, 0.45359237, 1e-15},
        {Quantity::LatentHeat, 970.3, 2256.9, 0.1},  // latent heat of water at 212 F
    };
    for (const auto& c : cases) {
        EXPECT_NEAR(units::ToSI(c.q, c.ip), c.si, c.tolerance) << units::Info(c.q).ipUnit;
        EXPECT_NEAR(units::ToInchPound(c.q, units::ToSI(c.q, c.ip)), c.ip, 1e-12 * std::abs(c.ip))
            << units::Info(c.q).siUnit;
    }
}

TEST(Units, EntryTextsKeepEmptinessAndNonNumbersAcrossTheConversion) {
    EXPECT_EQ(units::ConvertEntryText(Quantity::Temperature, System::SI, "100"), "212");
    EXPECT_EQ(units::ConvertEntryText(Quantity::Temperature, System::SI, " 20 "), " 68 ");
    EXPECT_EQ(units::ConvertEntryText(Quantity::Temperature, System::SI, ""), "");
    EXPECT_EQ(units::ConvertEntryText(Quantity::Temperature, System::SI, "  "), "  ");
    // A text that is not wholly one number stays as typed, so that the
    // driver refuses it naming the text the user sees.
    EXPECT_EQ(units::ConvertEntryText(Quantity::Temperature, System::SI, " 20x"), " 20x");
    EXPECT_EQ(units::ConvertEntryText(Quantity::Temperature, System::SI, "abc"), "abc");
    EXPECT_EQ(units::ConvertEntryText(Quantity::AirFlow, System::SI, "2,000"), "2,000");
    EXPECT_EQ(units::ConvertEntryText(Quantity::AirFlow, System::SI, "abc"), "abc");
    EXPECT_EQ(units::ConvertEntryText(Quantity::Length, System::SI, "1.2192e3"), "48");
}

// Entered in SI with the conversion of the inch-pound texts to 15 digits, a
// coil rates to the very same records: the SI texts go back to the
// inch-pound numbers within 1e-15, far below the 32-bit fields' resolution.
// Entered as a user would, rounded to the field's decimals (0.005 C is
// 0.009 F), the capacity moves by a few parts in ten thousand.
TEST(Units, SiEntryRatesLikeInchPoundEntry) {
    CoilSpec ipSpec, siSpec, typedSpec;
    CoilRating ipRating, siRating, typedRating;
    const FieldTexts ip = With(Water(), {{"Altitude", "2500"}});
    for (const FieldTexts& coil : {ip, OfType(ip, "G"), OfType(ip, "S"), OfType(ip, "E"), OfType(ip, "C")}) {
        ASSERT_TRUE(CalcPerform(coil, kAirFlowAcfm, ipSpec, ipRating).ok());
        const FieldTexts si = units::EntryMemory().InchPoundFields(ToSiTexts(coil), System::SI);
        ASSERT_TRUE(CalcPerform(si, kAirFlowAcfm, siSpec, siRating).ok());
        EXPECT_EQ(kvnrate::CoilSpecJson(siSpec), kvnrate::CoilSpecJson(ipSpec));
        EXPECT_EQ(kvnrate::CoilRatingJson(siRating), kvnrate::CoilRatingJson(ipRating));
    }
    ASSERT_TRUE(CalcPerform(ip, kAirFlowAcfm, ipSpec, ipRating).ok());

    FieldTexts typed = ip;
    for (auto& [key, text] : typed) {
        Quantity q;
        if (units::FieldQuantity(key, q))
            text = units::FieldText(q, System::SI, units::ToSI(q, std::stod(text)));
    }
    EXPECT_EQ(typed["EatDb"], "26.67");
    EXPECT_EQ(typed["Gpm"], "1.262");
    ASSERT_TRUE(CalcPerform(units::EntryMemory().InchPoundFields(typed, System::SI), kAirFlowAcfm, typedSpec,
                            typedRating)
                    .ok());
    EXPECT_NEAR(typedRating.TotalBtuh, ipRating.TotalBtuh, ipRating.TotalBtuh * 5e-4);
    EXPECT_NEAR(typedRating.LatDb, ipRating.LatDb, 0.01);
}

TEST(Units, SwitchingBackAndForthNeverChangesWhatIsRated) {
    units::EntryMemory m;
    const std::string si = m.Switch("EatDb", System::InchPound, "80");
    EXPECT_EQ(si, "26.67");
    // Rated untouched in SI: the original text, not the rounded one.
    EXPECT_EQ(m.InchPoundText("EatDb", System::SI, "26.67"), "80");
    EXPECT_EQ(m.Switch("EatDb", System::SI, si), "80");
    // Edited in SI: the new value, exactly; switching back shows it rounded.
    m.Switch("EatDb", System::InchPound, "80");
    EXPECT_EQ(m.InchPoundText("EatDb", System::SI, "27"), "80.6");
    EXPECT_EQ(m.Switch("EatDb", System::SI, "27"), "80.6");
    // Texts that hold no quantity, or no number, stay as they are.
    EXPECT_EQ(m.Switch("FPI", System::InchPound, "12"), "12");
    EXPECT_EQ(m.Switch("EatWb", System::InchPound, ""), "");
    EXPECT_EQ(m.Switch("Acfm", System::InchPound, "2,000"), "2,000");
    // A value that needs more characters than the field holds loses decimals.
    EXPECT_EQ(m.Switch("Gpm", System::InchPound, "1234", 5), "77.85");
    EXPECT_EQ(units::FieldText(Quantity::FluidFlow, System::SI, 1234.5678, 5), "1235");
}

TEST(Units, MessagesKeepTheirMeaningInSi) {
    EXPECT_EQ(units::Message(System::SI, "GPM value must be greater than 0"),
              "Fluid flow (L/s) must be greater than 0");
    EXPECT_EQ(units::Message(System::SI, "Please input the PSI value before Proceeding"),
              "Please input the steam pressure (kPa) before Proceeding");
    EXPECT_EQ(units::Message(System::SI, "Altitude must be between -500 and 30000 ft"),
              "Altitude must be between -152 and 9144 m");
    EXPECT_EQ(units::Message(System::SI, "EAT (DB) must be between 0 and 212 °F."),
              "EAT (DB) must be between -17.78 and 100 °C.");
    EXPECT_EQ(units::Message(System::SI, "Please reduce the FPI value before Proceeding"),
              "Please reduce the FPI value before Proceeding");
    EXPECT_EQ(units::Message(System::SI, "ACFM value \"2,000\" is not a number"),
              "Air flow (m³/h) value \"2,000\" is not a number");
    EXPECT_EQ(units::Message(System::InchPound, "GPM value must be greater than 0"),
              "GPM value must be greater than 0");
}

// Every row of every coil type's grid has its SI label and value; no
// inch-pound unit is left in SI.
TEST(Units, ResultsGridInSi) {
    for (const char* type : {"W", "G", "S", "E", "C"}) {
        CoilSpec s;
        CoilRating r;
        const FieldTexts f = OfType(Water(), type);
        const CalcResult result = CalcPerform(f, kAirFlowAcfm, s, r);
        ASSERT_TRUE(result.ok()) << type;
        const auto rows = units::GridRows(System::SI, result.grid, s, r);
        ASSERT_EQ(rows.size(), result.grid.size());
        for (size_t i = 0; i < rows.size(); ++i) {
            EXPECT_NE(rows[i].label, result.grid[i].label) << type;
            for (const char* ipUnit : {"°F", "Btuh", "PSI", "FT H", "FPS", "SFPM", "Lbs", "W.G.", "Scfm"})
                EXPECT_EQ(rows[i].label.find(ipUnit), std::string::npos) << type << " " << rows[i].label;
        }
        EXPECT_EQ(rows[0].value, sRightJustify(static_cast<float>(r.TotalBtuh * 0.00029307107017222)));
        EXPECT_EQ(rows.back().value, sRightJustify(s.FinHeight * 25.4f));
    }
    // A heating coil's leaving wet bulb is a placeholder, not a temperature
    // to convert; a cooling coil's is converted.
    for (const char* type : {"W", "G"}) {
        CoilSpec s;
        CoilRating r;
        for (const bool heating : {false, true}) {
            const FieldTexts f = With(OfType(Water(), type), {{"EatDb", heating ? "40" : "80"},
                                                              {"EatWb", heating ? "35" : "67"},
                                                              {"EntFluidTemp", heating ? "180" : "45"}});
            const CalcResult result = CalcPerform(f, kAirFlowAcfm, s, r);
            ASSERT_TRUE(result.ok()) << type;
            for (const GridRow& row : units::GridRows(System::SI, result.grid, s, r)) {
                if (row.label.rfind("LAT WB", 0) != 0) continue;
                EXPECT_EQ(row.value, heating ? numfmt::RightJustify("N/A", 14)
                                             : sRightJustify(static_cast<float>((r.LatWb - 32) / 1.8)))
                    << type;
            }
        }
    }
    // Beyond the 32-bit range (a drop near the largest float, in Pa) the
    // value is still written as digits.
    const std::string huge = units::GridValue(3.4e38 * 249.08891);
    EXPECT_EQ(huge.size(), 14u);
    EXPECT_EQ(huge.find_first_not_of("0123456789"), std::string::npos) << huge;
}
