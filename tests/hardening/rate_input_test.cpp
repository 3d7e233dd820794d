// kvn-rate's JSON input under hostile texts: deep nesting, junk, and coils
// whose values are not texts. Reading refuses with a message instead of
// crashing; a sound batch still reads.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/rate_json.h"

namespace {

std::string Nested(const std::string& open, const std::string& close, int depth, const std::string& inner) {
    std::string text;
    for (int i = 0; i < depth; ++i) text += open;
    text += inner;
    for (int i = 0; i < depth; ++i) text += close;
    return text;
}

TEST(RateInput, DeepNestingIsRefusedNotCopied) {
    std::vector<kvnrate::Json> coils;
    std::string error;
    // A value nested a hundred thousand deep inside a coil object: copying
    // that tree recursively would run out of stack.
    for (const std::string& text :
         {"{\"Application\":" + Nested("[", "]", 100000, "") + "}",
          "{\"a\":" + Nested("{\"a\":", "}", 100000, "1") + "}", Nested("[", "]", 100000, "{}")}) {
        EXPECT_FALSE(kvnrate::ParseCoilInput(text, coils, error));
        EXPECT_NE(error.find("nests deeper than 100 levels"), std::string::npos) << error;
    }
    // Nesting that a batch can use still reads, and its unknown keys are
    // only ignored.
    ASSERT_TRUE(kvnrate::ParseCoilInput(
        "[{\"Application\":\"W\",\"Notes\":" + Nested("[", "]", 50, "1") + "}]", coils, error))
        << error;
    ASSERT_EQ(coils.size(), 1u);
    FieldTexts fields;
    int mode = 0;
    std::vector<std::string> ignored;
    ASSERT_TRUE(kvnrate::FieldsFromJson(coils[0], fields, mode, error, &ignored)) << error;
    EXPECT_EQ(fields["Application"], "W");
    EXPECT_EQ(ignored, std::vector<std::string>{"Notes"});
}

TEST(RateInput, JunkAndWrongValueKindsAreRefusedWithAReason) {
    std::vector<kvnrate::Json> coils;
    std::string error;
    for (const std::string& text : {std::string(), std::string("\xff\xfe"), std::string(100000, '{'),
                                    std::string("{\"FPI\":12"), std::string("[1,2]"), std::string("\"W\"")}) {
        error.clear();
        EXPECT_FALSE(kvnrate::ParseCoilInput(text, coils, error)) << text.substr(0, 20);
        EXPECT_FALSE(error.empty()) << text.substr(0, 20);
    }
    FieldTexts fields;
    int mode = 0;
    for (const char* coil : {R"({"FPI":[12]})", R"({"FPI":{"v":12}})", R"({"FPI":true})",
                             R"({"AirFlowMode":4})", R"({"AirFlowMode":"2.5"})"}) {
        ASSERT_TRUE(kvnrate::ParseCoilInput(coil, coils, error)) << coil;
        error.clear();
        EXPECT_FALSE(kvnrate::FieldsFromJson(coils[0], fields, mode, error)) << coil;
        EXPECT_FALSE(error.empty()) << coil;
    }
}

}  // namespace
