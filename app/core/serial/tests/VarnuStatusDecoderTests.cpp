#include <gtest/gtest.h>

#include <QByteArray>
#include <QVector>
#include <string>
#include <vector>

#include "serial/VarnuStatusDecoder.h"

TEST(VarnuStatusDecoder, DecodesEveryByteOfADeliveryInOrder) {
    struct Case {
        const char* hex;
        std::vector<int> bits;
    };
    const Case cases[] = {
        {"0c", {0x0C}},
        {"0e0f", {0x0E, 0x0F}},
        {"0c0d", {0x0C, 0x0D}},  // both power changes, in the order they came
        {"0d0e0c", {0x0D, 0x0E, 0x0C}},
        {"a1", {161}},  // unsigned, not -95
        {"", {0}},
    };
    for (const Case& c : cases) {
        std::vector<int> bits;
        for (VarnuDataBit bit : VarnuStatusDecoder::decode(QByteArray::fromHex(c.hex))) {
            bits.push_back(bit);
        }
        EXPECT_EQ(bits, c.bits) << c.hex;
    }
}

TEST(VarnuStatusDecoder, LogTexts) {
    struct Case {
        int bit;
        const char* text;
    };
    const Case cases[] = {
        {0x0C, "PowerOpen."},
        {0x0D, "PowerClose."},
        {0x0E, "WhiteLightOpen."},
        {0x0F, "WhiteLightClose."},
        {0x10, "UV1Open."},
        {0x11, "UV1Close."},
        {0x12, "UV2Open."},
        {0x13, "UV2Close."},
        {0x17, "UV3Open."},
        {0x18, "UV3Close."},
        {0x19, "UV4Open."},
        {0x1A, "UV4Close."},
        {0x1C, "ResetFinish."},
        {0x1E, "ResetStart."},
        {0x00, "Unknow VarnuDataBit."},
        {0x14, "Unknow VarnuDataBit."},
        {0x1B, "Unknow VarnuDataBit."},
        {0x1D, "Unknow VarnuDataBit."},
        {0xFF, "Unknow VarnuDataBit."},
    };
    for (const Case& c : cases) {
        EXPECT_STREQ(VarnuStatusDecoder::logText(static_cast<VarnuDataBit>(c.bit)), c.text)
            << c.bit;
    }
}
