// Shared set-up of the engine tests: a clean module state, a message
// recorder, the real Hygrel32 beside the test program, and a sample coil.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "engine/coilcalc_internal.h"
#include "engine/hygrel_binding.h"
#include "engine/msgbox.h"

class EngineTest : public ::testing::Test {
public:
    // A four-row chilled water coil, 5/8 in tubes, 16 high by 48 in finned
    // length (8 ft2 face), 2000 cfm: 250 ft/min.
    static void WaterCoil(CoilSpec& s, CoilRating& r);

protected:
    void SetUp() override {
        hg::SetLibraryNameForTesting("");
        cc = CoilCalcState{};
        ccLookups.Clear();
        scope_ = std::make_unique<ScopedMessageSink>(sink);
    }
    void TearDown() override {
        scope_.reset();
        hg::SetLibraryNameForTesting("");
    }

    // Loads the sample water coil into the engine's copies.
    void LoadWaterCoil() { WaterCoil(cc.Coil, cc.Rating); }

    bool Assign() {
        float h = 0;
        return CC_bAssignCoilProp(h);
    }

    RecordingMessageSink sink;

private:
    std::unique_ptr<ScopedMessageSink> scope_;
};

inline void EngineTest::WaterCoil(CoilSpec& s, CoilRating& r) {
    s = CoilSpec{};
    r = CoilRating{};
    s.Application = "W";
    s.Pattern = "5";
    s.FPI = 12;
    s.RD = 4;
    s.TH = 16;
    s.FL = 48;
    s.Circuits = 16;
    s.FinHeight = 24;
    s.TubeWall = 0.02f;
    s.FinThk = 0.006f;
    s.FinMat = "A";
    s.FinTreat = "CR";
    s.Rifled = "N";
    s.Corrugated = "N";
    r.Altitude = 0;
    r.Acfm = 2000;
    r.EatDb = 80;
    r.EatWb = 67;
    r.EntFluidTemp = 45;
    r.Gpm = 20;
}
