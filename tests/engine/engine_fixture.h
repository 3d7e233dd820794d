// Shared set-up of the engine tests: a clean module state, a message
// recorder, the real Hygrel32 beside the test program, and a sample coil.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "engine/internal/coilcalc_internal.h"
#include "engine/hygrel_binding.h"
#include "engine/msgbox.h"
#include "sample_coils.h"

class EngineTest : public ::testing::Test {
public:
    // The sample water coil (sample_coils.h) in fresh records.
    static void WaterCoil(CoilSpec& s, CoilRating& r) { FillSample(Water(), s, r); }

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
