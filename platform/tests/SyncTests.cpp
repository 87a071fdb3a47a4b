// Critical sections, events and the periodic timer.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "platform/CriticalSection.h"
#include "platform/Event.h"
#include "platform/PeriodicTimer.h"
#include "platform/Time.h"

namespace {

using plat::CriticalSection;
using plat::Event;
using plat::PeriodicTimer;

TEST(CriticalSectionTest, HolderMayEnterAgainAndOthersWaitUntilFullyLeft) {
    CriticalSection section;
    section.Enter();
    section.Enter();  // nested: must not deadlock
    std::atomic<bool> otherGotIt{false};
    std::thread other([&] {
        plat::CriticalSectionLock lock(section);
        otherGotIt = true;
    });
    section.Leave();
    plat::SleepMs(50);
    EXPECT_FALSE(otherGotIt) << "entered twice, left once: still held";
    section.Leave();
    other.join();
    EXPECT_TRUE(otherGotIt);
}

TEST(CriticalSectionTest, SerialisesReadModifyWrite) {
    CriticalSection section;
    int counter = 0;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 20000; ++i) {
                plat::CriticalSectionLock lock(section);
                ++counter;
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(counter, 80000);
}

struct EventCase {
    const char* name;
    Event::Mode mode;
    bool initial;
    bool firstWait;
    bool secondWait;
};

class EventModeTest : public ::testing::TestWithParam<EventCase> {};

TEST_P(EventModeTest, WaitsFollowTheResetMode) {
    const EventCase& c = GetParam();
    Event event(c.mode, c.initial);
    EXPECT_EQ(event.Wait(0), c.firstWait);
    EXPECT_EQ(event.Wait(0), c.secondWait);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, EventModeTest,
    ::testing::Values(EventCase{"ManualSetStaysSet", Event::Mode::ManualReset, true, true, true},
                      EventCase{"AutoSetReleasesOne", Event::Mode::AutoReset, true, true, false},
                      EventCase{"ManualClear", Event::Mode::ManualReset, false, false, false},
                      EventCase{"AutoClear", Event::Mode::AutoReset, false, false, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(EventTest, ResetClearsAManualEvent) {
    Event event(Event::Mode::ManualReset, true);
    event.Reset();
    EXPECT_FALSE(event.IsSet());
    EXPECT_FALSE(event.Wait(0));
}

TEST(EventTest, TimedWaitGivesUpAfterItsTime) {
    Event event(Event::Mode::ManualReset);
    const uint32_t start = plat::TickCount();
    EXPECT_FALSE(event.Wait(60));
    EXPECT_GE(plat::TickCount() - start, 59u);
}

TEST(EventTest, InfiniteWaitEndsWhenAnotherThreadSets) {
    Event event(Event::Mode::AutoReset);
    std::thread setter([&] {
        plat::SleepMs(30);
        event.Set();
    });
    EXPECT_TRUE(event.Wait(plat::kInfinite));
    setter.join();
    EXPECT_FALSE(event.IsSet()) << "auto-reset event clears when it releases its waiter";
}

TEST(EventTest, ManualEventReleasesEveryWaiterAutoEventOnlyOne) {
    for (const auto mode : {Event::Mode::ManualReset, Event::Mode::AutoReset}) {
        Event event(mode);
        std::atomic<int> released{0};
        std::vector<std::thread> waiters;
        for (int i = 0; i < 3; ++i) {
            waiters.emplace_back([&] {
                if (event.Wait(300)) {
                    ++released;
                }
            });
        }
        plat::SleepMs(50);
        event.Set();
        for (auto& waiter : waiters) {
            waiter.join();
        }
        EXPECT_EQ(released, mode == Event::Mode::ManualReset ? 3 : 1);
    }
}

TEST(PeriodicTimerTest, TicksAtItsPeriodUntilStopped) {
    PeriodicTimer timer;
    std::atomic<int> ticks{0};
    ASSERT_TRUE(timer.Start(20, [&] { ++ticks; }));
    EXPECT_TRUE(timer.Running());
    EXPECT_FALSE(timer.Start(20, [] {})) << "already running";
    plat::SleepMs(230);
    timer.Stop();
    const int atStop = ticks;
    EXPECT_GE(atStop, 5);
    EXPECT_LE(atStop, 12);
    plat::SleepMs(60);
    EXPECT_EQ(ticks, atStop) << "no tick after Stop() returned";
    EXPECT_FALSE(timer.Running());
}

TEST(PeriodicTimerTest, StopWaitsForARunningTick) {
    PeriodicTimer timer;
    std::atomic<bool> inTick{false};
    std::atomic<bool> tickDone{false};
    ASSERT_TRUE(timer.Start(5, [&] {
        if (tickDone) {
            return;
        }
        inTick = true;
        plat::SleepMs(150);
        tickDone = true;
    }));
    while (!inTick) {
        plat::SleepMs(1);
    }
    timer.Stop();
    EXPECT_TRUE(tickDone) << "Stop() returned while the tick still ran";
}

TEST(PeriodicTimerTest, TickMayStopItsTimerAndTheTimerStartsAgain) {
    PeriodicTimer timer;
    std::atomic<int> ticks{0};
    ASSERT_TRUE(timer.Start(5, [&] {
        ++ticks;
        timer.Stop();
    }));
    plat::SleepMs(80);
    EXPECT_EQ(ticks, 1);
    EXPECT_FALSE(timer.Running());
    std::atomic<int> again{0};
    ASSERT_TRUE(timer.Start(5, [&] { ++again; }));
    plat::SleepMs(50);
    timer.Stop();
    EXPECT_GE(again, 1);
}

TEST(PeriodicTimerTest, RefusesAZeroPeriod) {
    PeriodicTimer timer;
    EXPECT_FALSE(timer.Start(0, [] {}));
    EXPECT_FALSE(timer.Running());
}

}  // namespace
