// The serial thread on a real pseudo-terminal, with darkroom-sim at the other end.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QList>
#include <memory>

#include "DarkroomSimProcess.h"
#include "serial/ASyncSerialPortThread.h"
#include "serial/DarkroomCommands.h"
#include "serial/VarnuStatusDecoder.h"

namespace {

class SerialLinkTest : public ::testing::Test {
  protected:
    void SetUp() override {
        sim = std::make_unique<DarkroomSimProcess>("link");
        ASSERT_TRUE(sim->start());
        link = std::make_unique<ASyncSerialPortThread>();
        QObject::connect(link.get(), &ASyncSerialPortThread::readData, link.get(),
                         [this](QByteArray data) { deliveries.append(data); });
        QObject::connect(
            link.get(), &ASyncSerialPortThread::error, link.get(),
            [this](Serial_ErrorCode code) { errors.append(code); }, Qt::DirectConnection);
    }

    void TearDown() override {
        link.reset();
        if (sim) {
            EXPECT_TRUE(sim->stop());
        }
    }

    void open() {
        link->openPort(sim->linkPath(), QSerialPort::Baud1200);
        // The port is open once the link answers a status request.
        QByteArray reply;
        ASSERT_TRUE(waitUntil(
            [&] {
                link->echo(QByteArray(1, DarkroomCommand::StatusRequest), reply);
                return !reply.isEmpty();
            },
            5000));
        ASSERT_TRUE(sim->command("clear").isEmpty());
    }

    QByteArray delivered() const {
        QByteArray all;
        for (const QByteArray& d : deliveries) {
            all += d;
        }
        return all;
    }

    // Bytes of what the controller received, in order, and whether any frame was bad.
    QByteArray received(bool* anyBad = nullptr) {
        QByteArray bytes;
        for (const SimJournalEntry& entry : sim->journal()) {
            if (entry.kind == "raw" || entry.kind == "frame" || entry.kind == "bad-frame") {
                bytes += entry.bytes;
            }
            if (anyBad && entry.kind == "bad-frame") {
                *anyBad = true;
            }
        }
        return bytes;
    }

    std::unique_ptr<DarkroomSimProcess> sim;
    std::unique_ptr<ASyncSerialPortThread> link;
    QList<QByteArray> deliveries;
    QList<Serial_ErrorCode> errors;
};

}  // namespace

TEST_F(SerialLinkTest, StatusBytesReachReadDataInOrder) {
    open();
    const QByteArray expected = QByteArray::fromHex("0e10111e1c170c0d");
    for (const char* bytes : {"send 0e", "send 10 11", "send 1e 1c 17", "send 0c 0d"}) {
        ASSERT_TRUE(sim->command(bytes).isEmpty()) << bytes;
    }
    ASSERT_TRUE(waitUntil([&] { return delivered().size() >= expected.size(); }, 3000));
    EXPECT_EQ(delivered().toHex(), expected.toHex());
    // Decoded delivery by delivery, every status is seen, in order.
    QByteArray decoded;
    for (const QByteArray& delivery : deliveries) {
        for (VarnuDataBit bit : VarnuStatusDecoder::decode(delivery)) {
            decoded.append(static_cast<char>(bit));
        }
    }
    EXPECT_EQ(decoded.toHex(), expected.toHex());
    EXPECT_TRUE(errors.isEmpty());
}

QStringList g_deliveryLines;
QtMessageHandler g_previousHandler = nullptr;
void recordDeliveryLine(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (text.startsWith("readData:")) {
        g_deliveryLines << text;
    }
    g_previousHandler(type, context, text);
}

TEST_F(SerialLinkTest, ALongDeliveryIsLoggedShortWithItsLength) {
    open();
    g_deliveryLines.clear();
    g_previousHandler = qInstallMessageHandler(recordDeliveryLine);
    QByteArray noise;
    QString command = "send";
    for (int i = 0; i < 200; ++i) {
        noise.append(static_cast<char>(0xA0 + i % 16));
        command += QStringLiteral(" %1").arg(0xA0 + i % 16, 2, 16);
    }
    ASSERT_TRUE(sim->command(command).isEmpty());
    ASSERT_TRUE(sim->command("send 0e").isEmpty());
    ASSERT_TRUE(waitUntil([&] { return delivered().size() >= 201; }, 5000));
    qInstallMessageHandler(g_previousHandler);
    EXPECT_EQ(delivered(), noise + QByteArray(1, '\x0E')) << "every byte is delivered";
    ASSERT_FALSE(g_deliveryLines.isEmpty());
    for (const QString& line : g_deliveryLines) {
        EXPECT_LT(line.size(), 200) << line.toStdString();
    }
    EXPECT_TRUE(
        g_deliveryLines.first().startsWith("readData: \"" + noise.left(64).toHex() + "\" ("))
        << g_deliveryLines.first().toStdString();
}

TEST_F(SerialLinkTest, BurstOfWritesArrivesCompleteAndInOrder) {
    open();
    const QList<QByteArray> writes = {
        QByteArray::fromHex("06"), QByteArray::fromHex("14"), QByteArray::fromHex("68a0f101122a"),
        QByteArray::fromHex("09"), QByteArray::fromHex("14"), QByteArray::fromHex("68a0f20201023b"),
        QByteArray::fromHex("0a"), QByteArray::fromHex("14"), QByteArray::fromHex("68a0f201c1fa"),
        QByteArray::fromHex("0b"), QByteArray::fromHex("14"), QByteArray::fromHex("68a0cc010f0a"),
    };
    QByteArray expected;
    for (int round = 0; round < 3; ++round) {
        for (const QByteArray& write : writes) {
            link->writeData(write);
            expected += write;
        }
    }
    bool anyBad = false;
    ASSERT_TRUE(waitUntil([&] { return received().size() >= expected.size(); }, 5000));
    EXPECT_EQ(received(&anyBad).toHex(), expected.toHex());
    EXPECT_FALSE(anyBad);
    EXPECT_EQ(sim->state("motion"), "none");
    EXPECT_EQ(sim->state("filter"), "460");
}

TEST_F(SerialLinkTest, EchoTakesTheReplyAndSurvivesAMutedController) {
    open();
    QByteArray reply;
    link->echo(QByteArray(1, 0x02), reply);
    EXPECT_EQ(reply.toHex(), "0c");

    ASSERT_TRUE(sim->command("mute").isEmpty());
    QElapsedTimer timer;
    timer.start();
    link->echo(QByteArray(1, DarkroomCommand::StatusRequest), reply);
    const qint64 waited = timer.elapsed();
    EXPECT_TRUE(reply.isEmpty());
    EXPECT_GE(waited, 900);
    EXPECT_LE(waited, 2900);  // well before the 3 s hard bound, with room for a loaded machine

    // The link is still up: asynchronous traffic and exchanges both work.
    ASSERT_TRUE(sim->command("unmute").isEmpty());
    link->writeData(QByteArray(1, 0x02));
    ASSERT_TRUE(waitUntil([&] { return !deliveries.isEmpty(); }, 3000));
    EXPECT_EQ(delivered().toHex(), "0d");
    link->echo(QByteArray(1, DarkroomCommand::StatusRequest), reply);
    EXPECT_EQ(reply.toHex(), "0d");
    EXPECT_TRUE(link->isRunning());
}

TEST_F(SerialLinkTest, WritesQueuedDuringAnExchangeFollowItsAnswer) {
    open();
    QByteArray reply;
    // The power toggle's answer belongs to the exchange; the white light's
    // answer, written after it, arrives as ordinary traffic.
    link->writeData(QByteArray(1, 0x05));  // power still off: ignored
    QThread* writer = QThread::create([&] {
        QThread::msleep(20);  // queued behind the exchange's bytes
        link->writeData(QByteArray(1, 0x05));
    });
    writer->start();
    link->echo(QByteArray(1, 0x02), reply);
    writer->wait();
    delete writer;
    EXPECT_EQ(reply.toHex(), "0c");
    ASSERT_TRUE(waitUntil([&] { return !deliveries.isEmpty(); }, 3000));
    EXPECT_EQ(delivered().toHex(), "0e");
    EXPECT_EQ(received().toHex(), "050205");
}

TEST_F(SerialLinkTest, ClosedLinkReleasesEchoAtOnceAndCanBeOpenedAgain) {
    open();
    link->closePort();
    ASSERT_TRUE(link->wait(3000));
    QElapsedTimer timer;
    timer.start();
    QByteArray reply("stale");
    link->echo(QByteArray(1, DarkroomCommand::StatusRequest), reply);
    EXPECT_TRUE(reply.isEmpty());
    EXPECT_LT(timer.elapsed(), 500);
    link->writeData(QByteArray(1, 0x02));  // dropped: nobody will write it

    open();
    link->writeData(QByteArray(1, 0x05));
    ASSERT_TRUE(waitUntil([&] { return received().size() >= 1; }, 3000));
    EXPECT_EQ(received().toHex(), "05");
}

TEST(SerialLinkOpen, PortThatCannotBeOpenedEndsTheThread) {
    ASyncSerialPortThread link;
    QList<Serial_ErrorCode> errors;
    QObject::connect(
        &link, &ASyncSerialPortThread::error, &link,
        [&](Serial_ErrorCode code) { errors.append(code); }, Qt::DirectConnection);
    link.openPort(scratchDir() + "/no-such-port", QSerialPort::Baud1200);
    ASSERT_TRUE(link.wait(3000));
    ASSERT_FALSE(errors.isEmpty());
    EXPECT_EQ(errors.last(), Err_OpenFail);
    QByteArray reply;
    QElapsedTimer timer;
    timer.start();
    link.echo(QByteArray(1, DarkroomCommand::StatusRequest), reply);
    EXPECT_TRUE(reply.isEmpty());
    EXPECT_LT(timer.elapsed(), 500);
}
