// Complete ratings compared field by field with the reference ratings kept
// beside the project (NAME.json: the field texts of one coil;
// NAME.expected.json: the records and messages expected for it). Every field
// must agree exactly: the expected numbers are the 32-bit values in full.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "coil_fixture.h"
#include "common/calc_driver.h"
#include "tools/rate_json.h"

using namespace solvers_test;
using nlohmann::json;
namespace fs = std::filesystem;

namespace {

fs::path ReferenceFolder() {
    if (const char* env = std::getenv("KVN_REFERENCE_RATINGS")) return env;
    return fs::path(KVN_SOURCE_DIR) / ".." / "shared" / "reference-ratings";
}

std::vector<std::string> ReferenceNames() {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(ReferenceFolder(), ec)) {
        const std::string f = e.path().filename().string();
        const std::string tail = ".expected.json";
        if (f.size() > tail.size() && f.compare(f.size() - tail.size(), tail.size(), tail) == 0)
            names.push_back(f.substr(0, f.size() - tail.size()));
    }
    std::sort(names.begin(), names.end());
    if (names.empty()) names.push_back("none");
    return names;
}

json Load(const fs::path& p) {
    std::ifstream in(p);
    return json::parse(in);
}

template <typename F>
void ForEachInt(const CoilSpec& s, const CoilRating& r, F&& f) {
    f("CoilSpec", "Circuits", s.Circuits);
    f("CoilSpec", "FPI", s.FPI);
    f("CoilSpec", "RD", s.RD);
    f("CoilSpec", "TH", s.TH);
    f("CoilRating", "Altitude", r.Altitude);
    f("CoilRating", "TotalTubes", r.TotalTubes);
    f("CoilRating", "EvapSHCode", r.EvapSHCode);
}

class Reference : public testing::TestWithParam<std::string> {};

}  // namespace

TEST_P(Reference, RatingAgreesFieldByField) {
    const std::string name = GetParam();
    const fs::path folder = ReferenceFolder();
    if (name == "none" || !fs::exists(folder / (name + ".json"))) GTEST_SKIP() << "no reference ratings";

    std::ifstream inputFile(folder / (name + ".json"));
    const kvnrate::Json input = kvnrate::Json::parse(inputFile);
    const json expected = Load(folder / (name + ".expected.json"));
    // Read as kvn-rate reads a coil (absent keys take its defaults).
    FieldTexts fields;
    int mode = kAirFlowAcfm;
    std::string error;
    ASSERT_TRUE(kvnrate::FieldsFromJson(input, fields, mode, error)) << error;

    CoilSpec coilSpec;
    CoilRating rating;
    RecordingMessageSink sink;
    CalcResult result;
    {
        ScopedMessageSink scope(sink);
        result = CalcPerform(fields, mode, coilSpec, rating);
    }
    std::vector<std::string> messages;
    for (const auto& m : sink.shown) messages.push_back(m.text);
    if (expected.contains("messages") && expected["messages"].is_array()) {
        EXPECT_EQ(messages, expected["messages"].get<std::vector<std::string>>());
    }
    if (!expected.value("ok", false) || !expected.contains("CoilRating")) return;
    ASSERT_TRUE(result.ok());

    const json& es = expected["CoilSpec"];
    const json& er = expected["CoilRating"];
    ForEachFloat(coilSpec, rating, [&](const char* field, float got) {
        const json& rec = es.contains(field) ? es : er;
        ASSERT_TRUE(rec.contains(field)) << field;
        const double want = rec[field].get<double>();
        EXPECT_EQ(double(got), want) << field;
    });
    ForEachInt(coilSpec, rating, [&](const char* rec, const char* field, int16_t got) {
        EXPECT_EQ(got, expected[rec][field].get<int>()) << field;
    });
    EXPECT_EQ(coilSpec.Application, es["Application"].get<std::string>());
    EXPECT_EQ(coilSpec.Pattern, es["Pattern"].get<std::string>());
    EXPECT_EQ(rating.Refrigerant, er["Refrigerant"].get<std::string>());
}

INSTANTIATE_TEST_SUITE_P(Ratings, Reference, testing::ValuesIn(ReferenceNames()),
                         [](const testing::TestParamInfo<std::string>& info) { return info.param; });
