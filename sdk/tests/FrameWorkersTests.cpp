// The worker pool's passes: every item handed out exactly once, passes from
// several threads at a time, and a slow piece that the others wait for.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstddef>
#include <thread>
#include <vector>

#include "acquisition/FrameWorkers.h"

namespace {

// Runs one pass over nItems and returns how often each item was handed out.
std::vector<int> CountVisits(CFrameWorkers& workers, size_t nItems) {
    std::vector<std::atomic<int>> visits(nItems);
    workers.Run(nItems, [&](size_t nBegin, size_t nEnd) {
        for (size_t i = nBegin; i < nEnd; ++i) {
            visits[i].fetch_add(1, std::memory_order_relaxed);
        }
    });
    return std::vector<int>(visits.begin(), visits.end());
}

TEST(FrameWorkers, EveryItemOnceWhateverTheCount) {
    CFrameWorkers workers;
    const size_t counts[] = {
        0,
        1,
        CFrameWorkers::kMinParallelItems - 1,
        CFrameWorkers::kMinParallelItems,
        CFrameWorkers::kMinPieceItems * 3 * CFrameWorkers::kPiecesPerThread + 7,
        5038849,  // a 2592 x 1944 frame
    };
    for (size_t nItems : counts) {
        const std::vector<int> visits = CountVisits(workers, nItems);
        EXPECT_EQ(visits, std::vector<int>(nItems, 1)) << nItems << " items";
    }
}

TEST(FrameWorkers, PassesFromSeveralThreadsTakeTurns) {
    CFrameWorkers workers;
    constexpr size_t kItems = 300000;
    constexpr int kPasses = 20;
    std::vector<std::thread> callers;
    std::vector<int> bad(4, 0);
    for (int t = 0; t < 4; ++t) {
        callers.emplace_back([&, t] {
            for (int p = 0; p < kPasses; ++p) {
                if (CountVisits(workers, kItems) != std::vector<int>(kItems, 1)) {
                    ++bad[t];
                }
            }
        });
    }
    for (std::thread& caller : callers) {
        caller.join();
    }
    EXPECT_EQ(bad, std::vector<int>(4, 0));
}

TEST(FrameWorkers, RunReturnsOnlyAfterTheSlowestPiece) {
    CFrameWorkers workers;
    constexpr size_t kItems = 1 << 20;
    std::atomic<bool> bSlowDone{false};
    workers.Run(kItems, [&](size_t nBegin, size_t nEnd) {
        if (nBegin <= kItems / 2 && kItems / 2 < nEnd) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            bSlowDone = true;
        }
    });
    EXPECT_TRUE(bSlowDone);
}

}  // namespace
