// The IMX250, IMX265 and IMX287 units against their simulated chips: line
// and frame length rules, the 20-bit exposure split, the bits each member
// keeps and compares, the restore, the window check and the dumps.
#include <string>

#include "ByteRegisterTestSupport.h"
#include "ZDQApi.h"
#include "sensors/IMX250Family.h"

namespace {

uint32_t ChipHmax() {
    return Chip(0x214, 2, 0xFFFF);
}
uint32_t ChipVmax() {
    return Chip(0x210, 3, 0xFFFFF);
}
uint32_t ChipShs() {
    return Chip(0x28D, 3, 0xFFFFF);
}
uint32_t ChipSvs() {
    return Chip(0x290, 2, 0xFFFF);
}

class IMX250FamilyTest : public ByteRegisterUnitTest {
  protected:
    // The unit of a type, initialised, on a camera of that type.
    std::unique_ptr<CIMX250Family> OpenUnit(int nType) {
        PlugType(nType);
        std::unique_ptr<CIMX250Family> unit;
        if (nType == 119 || nType == 120) {
            unit = MakeUnit<CIMX265>(nType);
        } else if (nType == 113 || nType == 114) {
            unit = MakeUnit<CIMX287>(nType);
        } else {
            unit = MakeUnit<CIMX250>(nType);
        }
        EXPECT_EQ(unit->Init(), RET_SUCCESS);
        return unit;
    }
};

TEST_F(IMX250FamilyTest, LineAndFrameLengthFollowTheWindowByMember) {
    struct Case {
        int nType, nWidth, nHeight;
        uint32_t nHmax, nVmax;
    } const cases[] = {
        {94, 1000, 2056, 700, 2094},  {94, 2464, 1000, 1256, 1038}, {104, 1976, 2056, 519, 2094},
        {104, 2464, 2056, 640, 2094}, {119, 900, 1544, 519, 1576},  {119, 2064, 1000, 1064, 1032},
        {113, 400, 544, 1000, 586},   {114, 728, 300, 1000, 342},
    };
    for (const Case& c : cases) {
        SimTest::SetUp();
        auto unit = OpenUnit(c.nType);
        // Size first to other values: the lengths follow a change.
        ASSERT_EQ(unit->SetFov(0, 0, 264, 8, 0, 0, nullptr), RET_SUCCESS);
        ASSERT_EQ(unit->SetFov(0, 0, c.nWidth, c.nHeight, 0, 0, nullptr), RET_SUCCESS);
        EXPECT_EQ(ChipHmax(), c.nHmax) << c.nType << " " << c.nWidth;
        EXPECT_EQ(ChipVmax(), c.nVmax) << c.nType << " " << c.nHeight;
        layers.transport.Close();
    }
}

TEST_F(IMX250FamilyTest, AnIMX250OfAnotherTypeHasNoLineLengthRule) {
    PlugType(94);
    auto unit = MakeUnit<CIMX250>(113);
    ASSERT_EQ(unit->Init(), RET_SUCCESS);
    mlsim_journal_clear(0);
    EXPECT_EQ(unit->UpdateHMAX(), RET_NOTSUPPORT);
    EXPECT_TRUE(SensorRequests(kWrSensorX).empty());
}

TEST_F(IMX250FamilyTest, ExposureSplitsOverTwentyBitRegistersWithoutTheBusLock) {
    auto unit = OpenUnit(94);
    ASSERT_EQ(unit->Vmax(), 2094u);
    struct Case {
        int64_t nLines;
        uint32_t nSvs, nShs;
    } const cases[] = {{100, 0, 1994},
                       {4188, 1, 0},
                       {4189, 2, 2093},
                       {0, 0, 2093},
                       {2094LL * 65536 + 1, 65535, 0}};
    for (const Case& c : cases) {
        mlsim_journal_clear(0);
        EXPECT_EQ(unit->SetExposureLines(c.nLines), RET_SUCCESS);
        EXPECT_EQ(ChipSvs(), c.nSvs) << c.nLines;
        EXPECT_EQ(ChipShs(), c.nShs) << c.nLines;
        EXPECT_EQ(Chip(0x274, 3, 0xFFFFF), std::min<int64_t>(unit->Lines(), 0xFFFF));
    }
    // The exposure writes come in the order SVS low, high, SHS low, middle,
    // top (each followed by the strobe pulse it changes).
    mlsim_journal_clear(0);
    ASSERT_EQ(unit->SetExposureLines(70000), RET_SUCCESS);  // SVS 33, SHS 1102
    std::vector<uint16_t> exposure;
    for (const auto& request : SensorRequests(kWrSensorX)) {
        if (request.first >= 0x28D && request.first <= 0x291) {
            exposure.push_back(request.first);
        }
    }
    EXPECT_EQ(exposure, (std::vector<uint16_t>{0x290, 0x291, 0x28D, 0x28E, 0x28F}));
    EXPECT_TRUE(layers.transport.BusLock().TryEnter());
    layers.transport.BusLock().Leave();
}

TEST_F(IMX250FamilyTest, MembersKeepAndCompareTheirOwnBits) {
    {
        auto unit = OpenUnit(94);                            // IMX250: window tops keep 5 bits
        state.fRequestedExposureTime = state.fExposureTime;  // as the device does at open
        mlsim_journal_clear(0);
        EXPECT_EQ(unit->WriteRegister(0x515, 0x09), RET_SUCCESS);  // read 0xE9
        EXPECT_EQ(unit->WriteRegister(0x405, 0x00), RET_SUCCESS);  // read 0xFE
        EXPECT_TRUE(SensorRequests(kWrSensorX).empty());
        EXPECT_EQ(unit->WriteRegister(0x212, 0x00), RET_SUCCESS);  // read 0xF0: compared whole
        // The follow-up re-applies the same exposure: only the tops read
        // with unused bits set (compared whole) are written, clean.
        EXPECT_EQ(SensorRequests(kWrSensorX),
                  (std::vector<std::pair<uint16_t, uint16_t>>{{0x212, 0}, {0x28F, 0}, {0x276, 0}}));
        layers.transport.Close();
    }
    SimTest::SetUp();
    auto unit = OpenUnit(119);  // IMX265: whole bytes
    mlsim_journal_clear(0);
    EXPECT_EQ(unit->WriteRegister(0x515, 0x08 | 0x10), RET_SUCCESS);
    EXPECT_EQ(SensorRequests(kWrSensorX).front(), (std::pair<uint16_t, uint16_t>{0x515, 0x18}));
}

TEST_F(IMX250FamilyTest, RestoreMasksGainAndBlackLevelOnlyWhereTheMemberKeepsBits) {
    for (int nType : {94, 119, 113}) {
        SimTest::SetUp();
        auto unit = OpenUnit(nType);
        ASSERT_EQ(unit->SetGain(CSensorUnit::GainColour::Red, 300), RET_SUCCESS);
        mlsim_journal_clear(0);
        ASSERT_EQ(unit->RestoreRegisters(), RET_SUCCESS);
        const auto writes = SensorRequests(kWrSensorX);
        ASSERT_EQ(writes.size(), 32u);
        const bool bMasked = nType != 119;
        for (const auto& write : writes) {
            uint16_t wExpected = unit->Byte(write.first);
            if (bMasked && write.first == 0x405) {
                wExpected &= 0x01;
            } else if (bMasked && write.first == 0x455) {
                wExpected &= 0x0F;
            }
            EXPECT_EQ(write.second, wExpected) << nType << " " << std::hex << write.first;
        }
        EXPECT_EQ(Chip(0x404, 2, 0x1FF), 300u);
        layers.transport.Close();
    }
}

TEST_F(IMX250FamilyTest, WindowCheckUsesMultiplesOfFourAndBothModes) {
    struct Case {
        int nType;
        int nCol, nRow, nWidth, nHeight;
        int nColOut, nRowOut, nWidthOut, nHeightOut;
    } const cases[] = {
        {94, 1, 2, 1001, 1, 4, 4, 1004, 4},
        {94, 2000, 2000, 2464, 2056, 0, 0, 2464, 2056},
        {119, -3, 0, 10, 1543, 0, 0, 260, 1544},
        {113, 700, 540, 100, 10, 468, 532, 260, 12},
    };
    for (const Case& c : cases) {
        SimTest::SetUp();
        auto unit = OpenUnit(c.nType);
        int nCol = c.nCol, nRow = c.nRow, nWidth = c.nWidth, nHeight = c.nHeight;
        uint16_t wFrames = 9;
        EXPECT_EQ(unit->CheckFov(nCol, nRow, nWidth, nHeight, 0, 0, &wFrames, false), RET_SUCCESS);
        EXPECT_EQ(nCol, c.nColOut) << c.nType;
        EXPECT_EQ(nRow, c.nRowOut);
        EXPECT_EQ(nWidth, c.nWidthOut);
        EXPECT_EQ(nHeight, c.nHeightOut);
        EXPECT_EQ(wFrames, std::min<int>(9, 16777216 / (nWidth * nHeight)));
        EXPECT_EQ(unit->CheckFov(nCol, nRow, nWidth, nHeight, 0, 1, nullptr, false), RET_NOTSUPPORT)
            << "the row mode is checked too";
        layers.transport.Close();
    }
}

TEST_F(IMX250FamilyTest, DumpsCarryTheMembersNamesAndOnlySomeEndWithARule) {
    for (int nType : {94, 119, 113}) {
        SimTest::SetUp();
        auto unit = OpenUnit(nType);
        layers.transport.Close();
    }
    const std::string log = layers.LogText();
    for (const char* pszUnit : {"IMX250", "IMX265", "IMX287"}) {
        const std::string name = pszUnit;
        const size_t nEnd =
            log.find("ZDQAPI::----ZDQLOG_OUTPUT_" + name + "_RELATE_REG_VALUE----.");
        ASSERT_NE(nEnd, std::string::npos) << name;
        EXPECT_NE(log.find("ZDQAPI::" + name + "REG_PULSE1_DN:        0x"), std::string::npos);
        const size_t nNext = log.find("ZDQAPI::", nEnd + 8);
        const size_t nRule = log.find(std::string(59, '='), nEnd);
        const bool bRuled =
            nRule != std::string::npos && (nNext == std::string::npos || nRule < nNext);
        EXPECT_EQ(bRuled, name != "IMX287") << name;
    }
}

}  // namespace
