#include <gtest/gtest.h>

#include <QByteArray>
#include <QList>

#include "serial/ModbusMaster.h"

namespace {

QByteArray hex(const char* text) {
    return QByteArray::fromHex(text);
}

}  // namespace

TEST(ModbusMaster, FrameListsMatchTheCommandTable) {
    struct Case {
        int cmd;
        QList<int> data;
        const char* frame;
    };
    const Case cases[] = {
        {0xF2, {0x01, 0x02}, "68a0f20201023b"},                          // blot light on
        {0xF2, {0xC1}, "68a0f201c1fa"},                                  // blot light off
        {0xF2, {}, "68a0f2003a"},                                        // no data
        {0xF3, {0xC1}, "68a0f301c1fb"},                                  // fluorescence off
        {0xF3, {0x01, 0xC8, 0xC9, 0xCA, 0x07}, "68a0f30501c8c9ca07f3"},  // red
        {0xF3, {0x01, 0xC7, 0xC9, 0xCA, 0x08}, "68a0f30501c7c9ca08f3"},  // green
        {0xF3, {0x01, 0xC7, 0xC8, 0xCA, 0x09}, "68a0f30501c7c8ca09f3"},  // blue
        {0xF3, {0x01, 0xC7, 0xC8, 0xC9, 0x0A}, "68a0f30501c7c8c90af3"},  // near-infrared
        {0x1F2, {0x101, 0x302}, "68a0f20201023b"},                       // only the low bytes count
        {0xF1, {}, "68a0f10039"},                                        // empty: check = C8 ^ cmd
    };
    ModbusMaster master;
    for (const Case& c : cases) {
        int cmd = c.cmd;
        const QByteArray frame =
            master.makeFrameList(cmd, static_cast<quint8>(c.data.size()), c.data);
        EXPECT_EQ(frame.toHex(), hex(c.frame).toHex()) << std::hex << c.cmd;
    }
}

TEST(ModbusMaster, SingleDataFramesMatchTheCommandTable) {
    struct Case {
        int cmd;
        quint8 len;
        int data;
        const char* frame;
    };
    const Case cases[] = {
        {0xF1, 1, 0x11, "68a0f1011129"},   // no filter
        {0xF1, 1, 0x12, "68a0f101122a"},   // 460 nm
        {0xF1, 1, 0x16, "68a0f101162e"},   // 690 nm
        {0xCC, 1, 15, "68a0cc010f0a"},     // shut-down after 15
        {0xCC, 1, 0, "68a0cc010005"},      // shut-down 0
        {0xCC, 1, 0x10F, "68a0cc010f0a"},  // 8-bit cut of the data
        {0xF2, 0, 0x55, "68a0f2003a"},     // length 0: the data is not sent
    };
    ModbusMaster master;
    for (const Case& c : cases) {
        int cmd = c.cmd;
        int data = c.data;
        EXPECT_EQ(master.makeFrame(cmd, c.len, data).toHex(), hex(c.frame).toHex())
            << std::hex << c.cmd << " " << c.data;
    }
}

TEST(ModbusMaster, CheckByteIsTheXorOfAllBytesBeforeIt) {
    ModbusMaster master;
    for (int data = 0; data < 256; ++data) {
        int cmd = 0xF1;
        int value = data;
        const QByteArray frame = master.makeFrame(cmd, 1, value);
        ASSERT_EQ(frame.size(), 6);
        char check = 0;
        for (int i = 0; i < 5; ++i) {
            check ^= frame[i];
        }
        EXPECT_EQ(frame[5], check) << data;
    }
}
