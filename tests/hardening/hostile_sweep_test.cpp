// Hostile forms through the calculation driver with the real engine behind
// it: every field with texts no engineer would type, extreme but numeric
// constructions, entering air from -100 to 400 F and extreme altitudes, for
// every coil type in Acfm and face-velocity mode. See rating_checks.h for
// what each rating must satisfy.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "engine/msgbox.h"
#include "tests/hardening/rating_checks.h"

namespace {

using hardening::BaseForm;
using hardening::CoilTypes;
using hardening::RateAndCheck;
using hardening::Tally;

const int kModes[] = {kAirFlowAcfm, kAirFlowVelocity};

std::string ModeName(int mode) {
    return mode == kAirFlowAcfm ? "acfm" : "velocity";
}

void Report(const char* group, const Tally& t, double seconds) {
    std::printf(
        "[ sweep    ] %-12s %5d ratings: %5d rated, %5d refused, %4d engine messages, "
        "%3d saves declined; %.2f s, slowest %.1f ms\n",
        group, t.total(), t.rated, t.refused, t.engineFailed, t.saveRefused, seconds, t.slowestSeconds * 1e3);
}

double Since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Texts that are empty, not numbers, not finite, too large or too small for
// their fields, very long, or not ASCII.
std::vector<std::string> HostileTexts() {
    return {"",
            "abc",
            "-0",
            "-1",
            "1e308",
            "-1e308",
            "1e-320",
            "NaN",
            "inf",
            "-Infinity",
            "99999999",
            "32768",
            std::string(100000, '9'),
            "0." + std::string(100000, '0') + "1",
            std::string(100000, 'x'),
            "\xc2\xb0"
            "F 12",            // degree sign first
            "12\xef\xbc\x90",  // a full-width digit after the number
            std::string("4\0"
                        "5",
                        3),  // an embedded NUL
            "1d3",
            " 12 ;\r\n"};
}

// The sound form of each type rates: the base every sweep below bends.
TEST(HostileSweep, BaseFormsRate) {
    for (const std::string& type : CoilTypes())
        for (int mode : kModes) {
            Tally t;
            RateAndCheck(BaseForm(type), mode, type + " " + ModeName(mode), t);
            EXPECT_EQ(t.rated, 1) << type << " " << ModeName(mode);
        }
}

TEST(HostileSweep, EveryFieldWithHostileTexts) {
    const auto start = std::chrono::steady_clock::now();
    Tally tally;
    const std::vector<std::string> texts = HostileTexts();
    for (const std::string& type : CoilTypes()) {
        const FieldTexts base = BaseForm(type);
        for (const auto& [key, sound] : base) {
            if (key == "Application") continue;
            for (const std::string& text : texts) {
                FieldTexts f = base;
                f[key] = text;
                for (int mode : kModes)
                    RateAndCheck(f, mode,
                                 type + " " + ModeName(mode) + " " + key + "=\"" + text.substr(0, 20) + "\"",
                                 tally);
            }
        }
    }
    // Hostile coil type codes: the driver only knows the five types.
    for (const std::string& text : texts)
        for (int mode : kModes) {
            FieldTexts f = BaseForm("W");
            f["Application"] = text;
            RateAndCheck(f, mode, "Application=\"" + text.substr(0, 20) + "\"", tally);
        }
    Report("fields", tally, Since(start));
    EXPECT_GT(tally.rated, 0);
    EXPECT_GT(tally.refused, 0);
    EXPECT_GT(tally.engineFailed, 0);
}

TEST(HostileSweep, ExtremeConstructions) {
    const auto start = std::chrono::steady_clock::now();
    Tally tally;
    for (const std::string& type : CoilTypes())
        for (const char* rows : {"1", "16"})
            for (const char* fpi : {"1", "16"})
                for (const char* th : {"1", "16", "999"})
                    for (const char* fl : {"1", "48", "100000"})
                        for (const char* circuits : {"1", "999"})
                            for (int mode : kModes) {
                                FieldTexts f = BaseForm(type);
                                f["RD"] = rows;
                                f["FPI"] = fpi;
                                f["TH"] = th;
                                f["FL"] = fl;
                                f["Circuits"] = circuits;
                                RateAndCheck(f, mode,
                                             type + " " + ModeName(mode) + " RD=" + rows + " FPI=" + fpi +
                                                 " TH=" + th + " FL=" + fl + " Circuits=" + circuits,
                                             tally);
                            }
    Report("construction", tally, Since(start));
    EXPECT_GT(tally.rated, 0);
}

TEST(HostileSweep, EnteringAirFromMinus100To400F) {
    const auto start = std::chrono::steady_clock::now();
    Tally tally;
    for (const std::string& type : CoilTypes())
        for (int db = -100; db <= 400; db += 10)
            for (int wbOffset : {-1000, 0, 5, 40})  // -1000: blank wet bulb
                for (int mode : kModes) {
                    FieldTexts f = BaseForm(type);
                    f["EatDb"] = std::to_string(db);
                    f["EatWb"] = wbOffset == -1000 ? "" : std::to_string(db - wbOffset);
                    RateAndCheck(
                        f, mode,
                        type + " " + ModeName(mode) + " EatDb=" + f["EatDb"] + " EatWb=" + f["EatWb"], tally);
                }
    Report("entering air", tally, Since(start));
    EXPECT_GT(tally.rated, 0);
}

// The fluid side over its whole range against the same entering air.
TEST(HostileSweep, EnteringFluidAndSteamPressure) {
    const auto start = std::chrono::steady_clock::now();
    Tally tally;
    for (const std::string& type : CoilTypes())
        for (int t = -100; t <= 400; t += 25)
            for (int mode : kModes) {
                FieldTexts f = BaseForm(type);
                f[type == "S" ? "SteamPressure" : "EntFluidTemp"] = std::to_string(type == "S" ? t / 2 : t);
                RateAndCheck(f, mode, type + " " + ModeName(mode) + " fluid " + std::to_string(t), tally);
            }
    Report("fluid", tally, Since(start));
    EXPECT_GT(tally.rated, 0);
}

TEST(HostileSweep, Altitudes) {
    const auto start = std::chrono::steady_clock::now();
    Tally tally;
    for (const std::string& type : CoilTypes())
        for (const char* altitude : {"-500", "0", "5000", "30000", "32767", "32768", "-32769"})
            for (int mode : kModes) {
                FieldTexts f = BaseForm(type);
                f["Altitude"] = altitude;
                RateAndCheck(f, mode, type + " " + ModeName(mode) + " Altitude=" + altitude, tally);
            }
    Report("altitude", tally, Since(start));
    // Every type rates at -500 and 30000 ft.
    for (const std::string& type : CoilTypes())
        for (const char* altitude : {"-500", "30000"}) {
            FieldTexts f = BaseForm(type);
            f["Altitude"] = altitude;
            EXPECT_TRUE(kvnrate::RateFields(f, kAirFlowAcfm).ok()) << type << " at " << altitude << " ft";
        }
}

// A refused or failed rating leaves the coil on screen as it was: the
// records after a sound rating survive every hostile rating that fails.
TEST(HostileSweep, FailuresKeepThePreviousCoil) {
    RecordingMessageSink sink;
    ScopedMessageSink scope(sink);
    for (const std::string& type : CoilTypes()) {
        CoilSpec coilSpec;
        CoilRating rating;
        ASSERT_TRUE(CalcPerform(BaseForm(type), kAirFlowAcfm, coilSpec, rating).ok()) << type;
        const CoilSpec goodSpec = coilSpec;
        const CoilRating goodRating = rating;
        for (const auto& [key, value] :
             std::vector<std::pair<std::string, std::string>>{{"FPI", "abc"},
                                                              {"Altitude", "1e308"},
                                                              {"FL", "1e308"},
                                                              {"EatDb", "NaN"},
                                                              {"Altitude", "99999999"},
                                                              {"TH", std::string(1000, '9')}}) {
            FieldTexts f = BaseForm(type);
            f[key] = value;
            const CalcResult r = CalcPerform(f, kAirFlowAcfm, coilSpec, rating);
            ASSERT_FALSE(r.ok()) << type << " " << key << "=" << value.substr(0, 20);
            EXPECT_EQ(kvnrate::CoilSpecJson(coilSpec), kvnrate::CoilSpecJson(goodSpec)) << type << " " << key;
            EXPECT_EQ(kvnrate::CoilRatingJson(rating), kvnrate::CoilRatingJson(goodRating))
                << type << " " << key;
        }
    }
}

}  // namespace

namespace {

// What a rating leaves: kvn-rate's answer, which holds the status, every
// field of both records to the last bit, the grid and the messages.
std::string Fingerprint(const kvnrate::RatedCoil& c) {
    return kvnrate::ResultJson(c).dump(-1, ' ', false, kvnrate::Json::error_handler_t::replace);
}

// A rating depends on its form alone, not on the ratings before it: the
// entering-air sweep rated forwards and backwards gives the same records.
TEST(HostileSweep, RatingsDoNotDependOnTheOnesBefore) {
    std::vector<FieldTexts> forms;
    for (const std::string& type : CoilTypes())
        for (int db = -100; db <= 400; db += 20)
            for (const char* wb : {"", "-1000", "60"}) {
                FieldTexts f = BaseForm(type);
                f["EatDb"] = std::to_string(db);
                f["EatWb"] = wb;
                forms.push_back(f);
            }
    std::vector<std::string> forwards;
    for (const FieldTexts& f : forms) forwards.push_back(Fingerprint(kvnrate::RateFields(f, kAirFlowAcfm)));
    int differing = 0;
    for (size_t i = forms.size(); i-- > 0;) {
        const std::string backwards = Fingerprint(kvnrate::RateFields(forms[i], kAirFlowAcfm));
        if (backwards != forwards[i] && ++differing <= 5)
            ADD_FAILURE() << forms[i].at("Application") << " EatDb=" << forms[i].at("EatDb")
                          << " EatWb=" << forms[i].at("EatWb") << " rates differently after other coils";
    }
    EXPECT_EQ(differing, 0);
}

}  // namespace
