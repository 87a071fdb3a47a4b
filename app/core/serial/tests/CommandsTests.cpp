// The light, filter and lens commands and the auto-focus thread, as the
// controller receives them.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <memory>

#include "DarkroomSimProcess.h"
#include "serial/ASyncSerialPortThread.h"
#include "serial/AutoFocusThread.h"
#include "serial/DarkroomCommands.h"
#include "serial/FilterCtrl.h"
#include "serial/LensCtrl.h"
#include "serial/LightCtrl.h"

namespace {

class CommandsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        sim = std::make_unique<DarkroomSimProcess>("cmd");
        ASSERT_TRUE(sim->start());
        link = std::make_unique<ASyncSerialPortThread>();
        link->openPort(sim->linkPath(), QSerialPort::Baud1200);
        QByteArray reply;
        ASSERT_TRUE(waitUntil(
            [&] {
                link->echo(QByteArray(1, DarkroomCommand::StatusRequest), reply);
                return !reply.isEmpty();
            },
            5000));
        ASSERT_TRUE(sim->command("clear").isEmpty());
    }

    void TearDown() override {
        link.reset();
        EXPECT_TRUE(sim->stop());
    }

    // Entries of the given kinds, waiting until there are at least `count`.
    QVector<SimJournalEntry> entries(int count, const QStringList& kinds = {"raw", "frame"}) {
        QVector<SimJournalEntry> found;
        waitUntil(
            [&] {
                found.clear();
                for (const SimJournalEntry& entry : sim->journal()) {
                    if (kinds.contains(entry.kind)) {
                        found.append(entry);
                    }
                }
                return found.size() >= count;
            },
            5000);
        return found;
    }

    std::unique_ptr<DarkroomSimProcess> sim;
    std::unique_ptr<ASyncSerialPortThread> link;
};

}  // namespace

TEST_F(CommandsTest, LightAndFilterCommandsReachTheController) {
    LightCtrl light(link.get());
    FilterCtrl filter(link.get());
    int blot = 0xF2;
    int fluor = 0xF3;
    int wheel = 0xF1;
    int position = 0x16;
    light.sendCmd(blot, {0x01, 0x02});
    light.sendCmd(fluor, {0x01, 0xC7, 0xC9, 0xCA, 0x08});
    filter.sendCmd(wheel, position);
    light.sendRawCmd({0x102});  // power, the low byte only
    light.sendCmd(blot, {});

    const QVector<SimJournalEntry> got = entries(5);
    ASSERT_EQ(got.size(), 5);
    const char* expected[][2] = {
        {"68a0f20201023b", "blot light on"},
        {"68a0f30501c7c9ca08f3", "fluorescence green"},
        {"68a0f101162e", "filter 690"},
        {"02", "power toggle"},
        {"68a0f2003a", "blot light: unknown data, ignored"},
    };
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(got[i].bytes.toHex(), expected[i][0]) << i;
        EXPECT_EQ(got[i].note, expected[i][1]) << i;
    }
    EXPECT_EQ(sim->state("blot"), "1");
    EXPECT_EQ(sim->state("fluorescence"), "green");
    EXPECT_EQ(sim->state("filter"), "690");
    EXPECT_EQ(sim->state("power"), "1");
}

TEST_F(CommandsTest, LensFrameWaitsForAnAnswerUnlessItsDataIs17) {
    LensCtrl lens(link.get());
    int command = 0xF5;
    int data = DarkroomCommand::LensAsyncData;
    QElapsedTimer timer;
    timer.start();
    lens.sendCmd(command, data);
    EXPECT_LT(timer.elapsed(), 500);

    // The controller does not answer lens frames: the exchange gives up.
    data = 0x01;
    timer.restart();
    lens.sendCmd(command, data);
    EXPECT_GE(timer.elapsed(), 900);
    EXPECT_LE(timer.elapsed(), 2900);

    lens.sendRawCmd({0x08, 0x14});
    const QVector<SimJournalEntry> got = entries(4);
    ASSERT_EQ(got.size(), 4);
    EXPECT_EQ(got[0].bytes.toHex(), "68a0f501172b");
    EXPECT_EQ(got[1].bytes.toHex(), "68a0f501013d");
    EXPECT_EQ(got[2].note, "focus-in");
    EXPECT_EQ(got[3].note, "lens stop");
}

TEST_F(CommandsTest, AutoFocusDrivesOutStopsThenDrivesIn) {
    constexpr double scale = 0.05;  // 7 s become 350 ms, 200 ms become 10 ms
    // The receiver's slot is long against how late a loaded machine may
    // deliver the stop byte, so the gap before the inward drive still shows
    // that the thread waited for the slot.
    constexpr int slotMs = 300;
    AutoFocusThread autoFocus(link.get());
    autoFocus.setTimeScale(scale);
    QObject receiver;
    int resets = 0;
    QObject::connect(
        &autoFocus, &AutoFocusThread::lensFocusReset, &receiver,
        [&] {
            ++resets;
            QThread::msleep(slotMs);  // the receiver starts its measurement
        },
        Qt::BlockingQueuedConnection);
    autoFocus.start();
    ASSERT_TRUE(waitUntil([&] { return autoFocus.isFinished(); }, 5000));
    EXPECT_EQ(resets, 1);

    const QVector<SimJournalEntry> got = entries(3, {"raw"});
    ASSERT_EQ(got.size(), 3);
    EXPECT_EQ(got[0].bytes.toHex(), "09");
    EXPECT_EQ(got[1].bytes.toHex(), "14");
    EXPECT_EQ(got[2].bytes.toHex(), "08");
    const qint64 out = got[1].timeMs - got[0].timeMs;
    const qint64 beforeIn = got[2].timeMs - got[1].timeMs;
    EXPECT_GE(out, 7000 * scale - 20);
    EXPECT_LE(out, 7000 * scale + 700);
    EXPECT_GE(beforeIn, slotMs / 2);
    EXPECT_EQ(sim->state("motion"), "focus-in");
}

TEST_F(CommandsTest, DeletingARunningAutoFocusStopsTheLens) {
    auto autoFocus = std::make_unique<AutoFocusThread>(link.get());
    autoFocus->start();
    ASSERT_TRUE(waitUntil([&] { return sim->state("motion") == "focus-out"; }, 3000));
    QElapsedTimer timer;
    timer.start();
    autoFocus.reset();
    EXPECT_LT(timer.elapsed(), 500);
    ASSERT_TRUE(waitUntil([&] { return sim->state("motion") == "none"; }, 3000));
    const QVector<SimJournalEntry> got = entries(2, {"raw"});
    ASSERT_EQ(got.size(), 2);
    EXPECT_EQ(got[1].bytes.toHex(), "14");
}

TEST(LightCtrlInstance, IsCreatedOnceOnFirstUse) {
    LightCtrl* first = LightCtrl::getInstance();
    EXPECT_EQ(LightCtrl::getInstance(), first);
    EXPECT_EQ(ASyncSerialPortThread::getInstance(), ASyncSerialPortThread::getInstance());
}
