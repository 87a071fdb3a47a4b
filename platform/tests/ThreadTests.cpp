// Threads: start, cooperative stop, join with a time-out, no kill.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>

#include "platform/Thread.h"
#include "platform/Time.h"

namespace {

using plat::Thread;

TEST(ThreadTest, BodyRunsAndJoinReportsItsEnd) {
    Thread thread;
    std::atomic<bool> ran{false};
    ASSERT_TRUE(thread.Start([&] { ran = true; }));
    EXPECT_TRUE(thread.Join(plat::kInfinite));
    EXPECT_TRUE(ran);
    EXPECT_FALSE(thread.Running());
}

TEST(ThreadTest, StopRequestEndsAPollingBody) {
    Thread thread;
    std::atomic<int> rounds{0};
    ASSERT_TRUE(thread.Start([&] {
        while (!thread.WaitForStop(5)) {
            ++rounds;
        }
    }));
    // The body polls until asked to stop; a busy machine may start it late.
    for (int waited = 0; rounds == 0 && waited < 5000; waited += 5) {
        plat::SleepMs(5);
    }
    EXPECT_GT(rounds, 0);
    EXPECT_TRUE(thread.Running());
    thread.RequestStop();
    EXPECT_TRUE(thread.StopRequested());
    EXPECT_TRUE(thread.Join(1000));
}

TEST(ThreadTest, JoinTimesOutOnASlowBodyWhichKeepsRunningToItsEnd) {
    Thread thread;
    std::atomic<bool> finished{false};
    ASSERT_TRUE(thread.Start([&] {
        plat::SleepMs(200);  // ignores stop requests on purpose
        finished = true;
    }));
    thread.RequestStop();
    const uint32_t start = plat::TickCount();
    EXPECT_FALSE(thread.Join(30));
    EXPECT_GE(plat::TickCount() - start, 29u);
    EXPECT_TRUE(thread.Running()) << "a thread is never killed";
    EXPECT_FALSE(finished);
    EXPECT_TRUE(thread.Join(plat::kInfinite));
    EXPECT_TRUE(finished);
}

TEST(ThreadTest, DestructorWaitsForTheBodyBeforeItsDataGoes) {
    auto data = std::make_unique<std::atomic<int>>(0);
    {
        Thread thread;
        ASSERT_TRUE(thread.Start([&] {
            plat::SleepMs(100);
            data->store(7);  // would touch freed memory if the destructor did not wait
        }));
    }
    EXPECT_EQ(data->load(), 7);
}

TEST(ThreadTest, StartsAgainAfterItsBodyEndedButNotWhileRunning) {
    Thread thread;
    std::atomic<int> runs{0};
    ASSERT_TRUE(thread.Start([&] {
        ++runs;
        thread.WaitForStop(plat::kInfinite);
    }));
    EXPECT_FALSE(thread.Start([&] { ++runs; })) << "still running";
    thread.RequestStop();
    ASSERT_TRUE(thread.Join(1000));
    ASSERT_TRUE(thread.Start([&] {
        ++runs;
        EXPECT_FALSE(thread.StopRequested()) << "a new start clears the old stop request";
    }));
    EXPECT_TRUE(thread.Join(1000));
    EXPECT_EQ(runs, 2);
}

TEST(ThreadTest, JoinFromTheBodyItselfFailsInsteadOfDeadlocking) {
    Thread thread;
    std::atomic<int> selfJoin{-1};
    ASSERT_TRUE(thread.Start([&] { selfJoin = thread.Join(plat::kInfinite) ? 1 : 0; }));
    EXPECT_TRUE(thread.Join(1000));
    EXPECT_EQ(selfJoin, 0);
}

TEST(ThreadTest, JoinWithoutStartSucceeds) {
    Thread thread;
    EXPECT_TRUE(thread.Join(0));
    EXPECT_FALSE(thread.Running());
}

}  // namespace
