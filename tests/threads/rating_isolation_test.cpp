// Ratings that must not see each other: the same coils rated in any order, on
// any thread, alone or in a parallel batch, give the same results field for
// field. The coils are the stored reference inputs: every coil type, dry and
// wet, heating and cooling, and coils that fail.
#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "common/parallel.h"
#include "reference_coils.h"
#include "tools/rate_batch.h"

namespace {

std::vector<kvnrate::BatchItem> MixedCoils() {
    std::vector<kvnrate::BatchItem> items;
    for (const std::string& name : ReferenceNames()) {
        kvnrate::BatchItem& item = items.emplace_back();
        std::string error;
        if (!kvnrate::ParseJsonText(ReadFile(ReferenceFile(name + ".json")), item.input, error) ||
            !kvnrate::FieldsFromJson(item.input, item.fields, item.airFlowMode, error))
            ADD_FAILURE() << name << ": " << error;
    }
    return items;
}

// The whole result of one coil as kvn-rate prints it: both records field by
// field (exact 32-bit values), the grid, the messages, the designation.
std::string Rate(const kvnrate::BatchItem& item) {
    return kvnrate::ResultLine(kvnrate::RateFields(item.fields, item.airFlowMode), false);
}

class RatingIsolation : public ::testing::Test {
protected:
    void SetUp() override {
        coils = MixedCoils();
        ASSERT_GE(coils.size(), 10u) << "reference coils not found in " << ReferenceDir();
        for (const char* type : {"W", "G", "S", "E", "C"})
            ASSERT_TRUE(std::any_of(coils.begin(), coils.end(), [&](const auto& c) {
                return c.fields.at("Application") == type;
            })) << type;
    }
    std::vector<kvnrate::BatchItem> coils;
};

// Alone: each coil on a new thread, whose engine state is that of a freshly
// started program. Forward and reversed: all coils on one thread, each after
// a different coil.
TEST_F(RatingIsolation, SameResultInAnyOrderAndAlone) {
    std::vector<std::string> alone(coils.size());
    for (std::size_t i = 0; i < coils.size(); ++i) std::thread([&, i] { alone[i] = Rate(coils[i]); }).join();

    std::vector<std::string> forward, reversed(coils.size());
    for (const auto& c : coils) forward.push_back(Rate(c));
    for (std::size_t i = coils.size(); i-- > 0;) reversed[i] = Rate(coils[i]);

    for (std::size_t i = 0; i < coils.size(); ++i) {
        SCOPED_TRACE(coils[i].input.dump());
        EXPECT_EQ(forward[i], alone[i]);
        EXPECT_EQ(reversed[i], alone[i]);
    }
}

// Threads rate interleaved coils of every type at the same time; a shared
// engine state, message sink or library binding shows as a difference here
// (and as a data race in the ThreadSanitizer build).
TEST_F(RatingIsolation, ParallelBatchPrintsWhatOneThreadPrints) {
    std::vector<kvnrate::BatchItem> batch;
    for (int round = 0; round < 3; ++round)
        for (std::size_t i = 0; i < coils.size(); ++i) batch.push_back(coils[(i * 7 + round) % coils.size()]);

    const auto serial = kvnrate::RateBatch(batch, 1, false);
    const auto parallel = kvnrate::RateBatch(batch, 4, false);
    ASSERT_EQ(parallel.size(), batch.size());
    for (std::size_t i = 0; i < batch.size(); ++i) EXPECT_EQ(parallel[i].line, serial[i].line) << i;
}

TEST(ParallelMap, KeepsOrderAndCarriesTheFirstFailureToTheCaller) {
    for (unsigned jobs : {0u, 1u, 3u, 64u}) {
        const auto squares = ParallelMap(100, jobs, [](std::size_t i) { return i * i; });
        ASSERT_EQ(squares.size(), 100u);
        for (std::size_t i = 0; i < 100; ++i) EXPECT_EQ(squares[i], i * i) << jobs;

        // Several items fail: the caller gets the failure of the lowest index,
        // as a serial loop would.
        try {
            ParallelMap(200, jobs, [](std::size_t i) -> int {
                if (i % 50 == 17) throw std::runtime_error(std::to_string(i));
                return 0;
            });
            ADD_FAILURE() << "no exception with " << jobs << " jobs";
        } catch (const std::runtime_error& e) {
            EXPECT_STREQ(e.what(), "17");
        }
    }
    EXPECT_TRUE(ParallelMap(0, 4, [](std::size_t) { return 1; }).empty());
}

// The stream hands results on in the order put, however the threads finish,
// and carries the first failure to the caller; built with ThreadSanitizer,
// any race between the workers, the emitter and Put fails the run.
TEST(OrderedStream, KeepsOrderAndCarriesTheFirstFailure) {
    for (unsigned jobs : {1u, 2u, 5u}) {
        std::vector<std::size_t> out;
        OrderedStream<std::size_t, std::size_t> stream(
            jobs, [](std::size_t& i) { return i * i; }, [&out](std::size_t& r) { out.push_back(r); }, 2);
        for (std::size_t i = 0; i < 500; ++i) stream.Put(i);
        stream.Finish();
        ASSERT_EQ(out.size(), 500u) << jobs;
        for (std::size_t i = 0; i < out.size(); ++i) EXPECT_EQ(out[i], i * i) << jobs;

        std::size_t emitted = 0;
        try {
            OrderedStream<std::size_t, int> failing(
                jobs,
                [](std::size_t& i) -> int {
                    if (i % 50 == 17) throw std::runtime_error(std::to_string(i));
                    return 0;
                },
                [&emitted](int&) { ++emitted; });
            for (std::size_t i = 0; i < 200; ++i) failing.Put(i);
            failing.Finish();
            ADD_FAILURE() << "no exception with " << jobs << " jobs";
        } catch (const std::runtime_error& e) {
            EXPECT_STREQ(e.what(), "17");
        }
        EXPECT_EQ(emitted, 17u) << jobs;
    }
}

}  // namespace
