// kvn-rate writes its result lines straight into text: they must be the
// bytes of the JSON tree's dump, for every outcome and for texts that need
// escaping or replacement.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "tools/result_writer.h"

namespace {

std::string Direct(const kvnrate::RatedCoil& c) {
    std::string out;
    kvnrate::AppendResultLine(out, c);
    return out;
}

std::string Dumped(const kvnrate::RatedCoil& c) {
    return kvnrate::ResultJson(c).dump(-1, ' ', false, kvnrate::Json::error_handler_t::replace);
}

TEST(ResultLine, SameBytesAsTheDumpForEveryOutcome) {
    // Texts a field or message may hold: quotes, backslashes, control
    // characters, DEL, UTF-8 and bytes that are not UTF-8.
    const std::string texts[] = {"",
                                 "plain",
                                 "say \"hi\"\\",
                                 "tab\there\nnew\x01",
                                 "del\x7f",
                                 "45 \xc2\xb0"
                                 "F",
                                 "bad \xff\xfe utf8"};
    for (const std::string& t : texts) {
        kvnrate::RatedCoil c;
        c.fields["Application"] = "W";
        c.coilSpec.Application = t;
        c.coilSpec.Circuits = -32768;
        c.coilSpec.FinThk = 0.006f;
        c.rating.Refrigerant = t;
        c.rating.TotalBtuh = 123456.7f;
        c.rating.LatDb = -0.0f;
        c.rating.Gpm = std::numeric_limits<float>::denorm_min();
        c.rating.Acfm = std::numeric_limits<float>::max();
        c.rating.Scfm = 1e-30f;
        c.rating.EvapSHCode = 10;
        c.messages = {t, "second"};
        c.result.grid = {{"LAT DB (\xc2\xb0"
                          "F)",
                          "        55.000"},
                         {t, t}};
        c.model = t;
        EXPECT_EQ(Direct(c), Dumped(c)) << t;

        c.result.status = CalcResult::EngineFailed;
        c.result.error = t;
        EXPECT_EQ(Direct(c), Dumped(c)) << t;
        c.messages.clear();
        EXPECT_EQ(Direct(c), Dumped(c)) << t;

        c.result.status = CalcResult::Validation;
        c.result.validation = {t, "FPI", "txtProperty(4)"};
        EXPECT_EQ(Direct(c), Dumped(c)) << t;
    }
}

// No record holds a non-finite value, but should one slip through it is
// written as the dump writes it, not as a number JSON cannot read.
TEST(ResultLine, NonFiniteValuesAsTheDumpWritesThem) {
    kvnrate::RatedCoil c;
    c.rating.TotalBtuh = std::numeric_limits<float>::quiet_NaN();
    c.rating.AirPD = -std::numeric_limits<float>::infinity();
    EXPECT_EQ(Direct(c), Dumped(c));
}

}  // namespace
