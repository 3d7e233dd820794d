// Rates every stored reference coil (NAME.json) through the driver and
// compares the result with NAME.expected.json field by field, all exactly:
// the numbers are 32-bit values written in full, so a single unit in the last
// place (a quantity kept in double where it is stored, a constant of another
// width) shows; texts too (grid labels and values, messages, the model
// designation, validation and error texts).
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "reference_coils.h"
#include "tools/rate_json.h"

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

// Collects every difference between expected and actual under `path`.
void Compare(const json& want, const json& got, const std::string& path, std::vector<std::string>& diffs) {
    if (want.is_number() && got.is_number()) {
        const double a = want.get<double>(), b = got.get<double>();
        if (a != b) {
            char rel[32];
            std::snprintf(rel, sizeof rel, "%.2g", std::fabs(a - b) / std::max(std::fabs(a), std::fabs(b)));
            diffs.push_back(path + ": expected " + want.dump() + ", got " + got.dump() + " (relative " + rel +
                            ")");
        }
        return;
    }
    if (want.type() != got.type()) {
        diffs.push_back(path + ": expected " + want.dump() + ", got " + got.dump());
        return;
    }
    if (want.is_object()) {
        for (auto it = want.begin(); it != want.end(); ++it) {
            if (!got.contains(it.key()))
                diffs.push_back(path + "/" + it.key() + ": missing");
            else
                Compare(it.value(), got[it.key()], path + "/" + it.key(), diffs);
        }
        for (auto it = got.begin(); it != got.end(); ++it)
            if (!want.contains(it.key())) diffs.push_back(path + "/" + it.key() + ": not expected");
        return;
    }
    if (want.is_array()) {
        if (want.size() != got.size()) {
            diffs.push_back(path + ": expected " + want.dump() + ", got " + got.dump());
            return;
        }
        for (std::size_t i = 0; i < want.size(); ++i)
            Compare(want[i], got[i], path + "/" + std::to_string(i), diffs);
        return;
    }
    if (want != got) diffs.push_back(path + ": expected " + want.dump() + ", got " + got.dump());
}

// The ratings are versioned with the sources; without them this suite would
// pass having compared nothing.
TEST(ReferenceRatings, AreThere) {
    EXPECT_GE(CoilNamesIn(ReferenceDir()).size(), 20u) << "no reference ratings in " << ReferenceDir();
}

// A file both in the repository and in the shared set beside the clone is
// the same file, byte for byte (the shared set may add coils, not change one).
TEST(ReferenceRatings, SharedCopiesAgree) {
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(SharedReferenceDir(), ec)) {
        const fs::path own = ReferenceDir() / entry.path().filename();
        if (fs::exists(own)) {
            EXPECT_EQ(ReadFile(own), ReadFile(entry.path())) << own;
        }
    }
}

class ReferenceRating : public ::testing::TestWithParam<std::string> {};

TEST_P(ReferenceRating, MatchesExpected) {
    kvnrate::Json input;
    std::string error;
    ASSERT_TRUE(kvnrate::ParseJsonText(ReadFile(ReferenceFile(GetParam() + ".json")), input, error)) << error;
    const json expected = json::parse(ReadFile(ReferenceFile(GetParam() + ".expected.json")));

    FieldTexts fields;
    int mode = 0;
    ASSERT_TRUE(kvnrate::FieldsFromJson(input, fields, mode, error)) << error;
    const kvnrate::RatedCoil coil = kvnrate::RateFields(fields, mode);
    json actual = json::parse(kvnrate::ResultJson(coil).dump());
    if (const ReferenceDeparture* d = FindReferenceDeparture(GetParam())) {
        EXPECT_EQ(actual,
                  json({{"ok", false}, {"validation", {{"message", d->message}, {"field", d->control}}}}));
        return;
    }
    // The engineering warnings are this program's advice beside the rating
    // (checked by their own tests).
    actual.erase("warnings");

    std::vector<std::string> diffs;
    Compare(expected, actual, "", diffs);
    std::string report;
    for (const std::string& d : diffs) report += "  " + d + "\n";
    EXPECT_TRUE(diffs.empty()) << GetParam() << ": " << diffs.size() << " differences\n" << report;
}

INSTANTIATE_TEST_SUITE_P(Stored, ReferenceRating, ::testing::ValuesIn(ReferenceNames()),
                         [](const ::testing::TestParamInfo<std::string>& info) {
                             std::string name = info.param;
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             return name;
                         });
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(ReferenceRating);

}  // namespace
