// The binding of Hygrel32 by name: where the library is found, and the
// numbered errors for a missing library or a missing function.
#include <string>

#include "engine/rterror.h"
#include "engine_fixture.h"

namespace {

using Binding = EngineTest;

int ErrorNumberOf(void (*call)(), std::string& text) {
    try {
        call();
    } catch (const rt::RtError& e) {
        text = e.description();
        return e.number();
    }
    return 0;
}

TEST_F(Binding, LoadsTheLibraryBesideTheProgram) {
    const float w = hg::HGWBTOGR(80, 67, 0);
    EXPECT_GT(w, 70.0f);
    EXPECT_LT(w, 85.0f);
    EXPECT_EQ(hg::LoadedLibraryPath(), std::string(KVN_BIN_DIR) + "/libHygrel32.so");
    // Every bound function resolves to its own entry.
    EXPECT_GT(hg::HGSATVP(70), 0.7f);
    EXPECT_NEAR(hg::HGRH(70, hg::HGSATGRAINS(70, 0), 0), 100.0f, 1e-3);
    EXPECT_GT(hg::HGRHTOGR(70, 0.5f, 0), 50.0f);
    EXPECT_NEAR(hg::HGDEWPOINT(hg::HGSATGRAINS(60, 0), 0), 60.0f, 0.01);
    EXPECT_NEAR(hg::HGWETBULB(60, hg::HGSATGRAINS(60, 0), 0), 60.0f, 0.01);
    EXPECT_GT(hg::HGDENSITY(70, 0, 0), 0.07f);
}

TEST_F(Binding, MissingLibraryRaisesFileNotFoundAtEveryCall) {
    hg::SetLibraryNameForTesting("libHygrel32-not-there.so");
    std::string text;
    EXPECT_EQ(ErrorNumberOf([] { hg::HGWBTOGR(80, 67, 0); }, text), 48);
    EXPECT_EQ(text, "File not found: Hygrel32");
    EXPECT_EQ(ErrorNumberOf([] { hg::HGENTHALPY(80, 100); }, text), 48);
    EXPECT_EQ(hg::LoadedLibraryPath(), "");
}

TEST_F(Binding, MissingFunctionRaisesEntryPointError) {
    // A library that loads but has none of the functions.
    hg::SetLibraryNameForTesting("libm.so.6");
    std::string text;
    EXPECT_EQ(ErrorNumberOf([] { hg::HGWBTOGR(80, 67, 0); }, text), 453);
    EXPECT_EQ(text, "Can't find DLL entry point HGWBTOGR in Hygrel32");
    EXPECT_EQ(ErrorNumberOf([] { hg::HGDEWPOINT(80, 0); }, text), 453);
    EXPECT_EQ(text, "Can't find DLL entry point HGDEWPOINT in Hygrel32");
}

TEST_F(Binding, PropertyAssignmentReportsLibraryFailures) {
    LoadWaterCoil();
    hg::SetLibraryNameForTesting("libHygrel32-not-there.so");
    EXPECT_FALSE(Assign());
    EXPECT_EQ(cc.CalcErrorMsg, "Error: 48 File not found: Hygrel32");

    hg::SetLibraryNameForTesting("libm.so.6");
    EXPECT_FALSE(Assign());
    EXPECT_EQ(cc.CalcErrorMsg, "Error: 453 Can't find DLL entry point HGWBTOGR in Hygrel32");
}

}  // namespace
