#include "capability/DeviceType.h"

#include <gtest/gtest.h>

#include <cstring>
#include <cwchar>
#include <set>
#include <string>
#include <vector>

#include "capability/CapabilityIni.h"

namespace {

struct LadderGroup {
    SensorUnit unit;
    std::vector<int> types;
};

// The dispatch ladder: every type of every group.
const LadderGroup kLadder[] = {
    {SensorUnit::MT9M001, {0, 1, 4, 5, 33, 34, 38, 39, 66, 67, 76}},
    {SensorUnit::Sensor2048Family, {3, 7, 30, 35, 40, 68}},
    {SensorUnit::Sensor2592Family, {8, 9, 10, 11, 31, 32, 41, 42, 52, 53, 72, 73, 77, 78}},
    {SensorUnit::MT9V034, {28, 29, 36, 37, 60, 61}},
    {SensorUnit::Sensor30xxFamily, {13, 14, 15, 16, 25, 26, 27, 43, 44, 45, 54, 55, 74, 75}},
    {SensorUnit::CcdAD9923A, {46, 47, 48, 49, 50, 51, 90, 91}},
    {SensorUnit::SpiSensor1280, {56, 57}},
    {SensorUnit::EV76C560, {58, 59, 64, 65, 81, 82, 83, 84}},
    {SensorUnit::MT9M031, {62, 63, 79, 80}},
    {SensorUnit::IMX174, {86, 87, 92, 93, 106, 107}},
    {SensorUnit::Sensor3096, {88, 89, 121}},
    {SensorUnit::IMX250, {94, 95, 104, 105}},
    {SensorUnit::IMX226, {96, 97, 122}},
    {SensorUnit::DR2K, {98, 99}},
    {SensorUnit::DR4K, {100, 101}},
    {SensorUnit::IMX183, {102, 103, 123}},
    {SensorUnit::ISG4006, {108, 109}},
    {SensorUnit::TestCam, {110}},
    {SensorUnit::ISG4006A, {111, 112}},
    {SensorUnit::IMX287, {113, 114}},
    {SensorUnit::IMX290, {115, 116}},
    {SensorUnit::ISG1307, {117, 118}},
    {SensorUnit::IMX265, {119, 120}},
    {SensorUnit::AR0130, {17, 18}},
};

TEST(DeviceType, EveryTypeReachesItsUnitAndTheRestNone) {
    SensorUnit expected[kDeviceTypeCount] = {};
    for (const LadderGroup& group : kLadder) {
        for (int type : group.types) {
            expected[type] = group.unit;
        }
    }
    for (int type = 0; type < kDeviceTypeCount; ++type) {
        EXPECT_EQ(SensorUnitOf(type), expected[type]) << type;
    }
    for (int type : {2, 6, 12, 19, 24, 69, 71, 85, 124, 200, -1}) {
        EXPECT_EQ(SensorUnitOf(type), SensorUnit::None) << type;
    }
    EXPECT_STREQ(SensorUnitName(SensorUnit::Sensor2592Family), "Sensor2592Family");
    EXPECT_STREQ(SensorUnitName(SensorUnitOf(122)), "IMX226");
}

// The names key the capability sections of users' ini files, so they never
// change.
TEST(DeviceType, NamesAreFrozen) {
    EXPECT_STREQ(DeviceTypeName(0), L"MT9M001-1280x1024-C-00");
    EXPECT_STREQ(DeviceTypeName(1), L"MT9M001-1280x1024-M-01");
    EXPECT_STREQ(DeviceTypeName(2), L"Unassigned-02");
    EXPECT_STREQ(DeviceTypeName(9), L"Sensor2592Family-2592x1944-M-09");
    EXPECT_STREQ(DeviceTypeName(38), L"MT9M001-1280x1024-38");
    EXPECT_STREQ(DeviceTypeName(48), L"CcdAD9923A-1628x1236-C-48");
    EXPECT_STREQ(DeviceTypeName(85), L"BootLoader-85");
    EXPECT_STREQ(DeviceTypeName(99), L"DR2K-2048x1-M-99");
    EXPECT_STREQ(DeviceTypeName(123), L"IMX183-5472x3648-M-123");
}

TEST(DeviceType, NamesAreUniquePlainTextAndFitASectionName) {
    std::set<std::wstring> seen;
    for (int type = 0; type < kDeviceTypeCount; ++type) {
        const std::wstring name = DeviceTypeNames[type];
        EXPECT_TRUE(seen.insert(name).second) << type;
        for (wchar_t c : name) {
            EXPECT_TRUE((c >= L'0' && c <= L'9') || (c >= L'A' && c <= L'Z') ||
                        (c >= L'a' && c <= L'z') || c == L'-')
                << type;
        }
        // The longest versions keep the section name within 63 characters.
        const std::string section = CapFpgaSectionName(type, CapVersion{255, 255});
        EXPECT_EQ(section.size(), name.size() + std::strlen("_255.255_CAP_FPGA")) << type;
        EXPECT_LE(section.size(), 63u) << type;
    }
}

TEST(DeviceType, NumbersOutsideTheTableHaveAName) {
    EXPECT_STREQ(DeviceTypeName(-1), L"Unknown");
    EXPECT_STREQ(DeviceTypeName(kDeviceTypeCount), L"Unknown");
}

}  // namespace

TEST(DeviceType, RegisterLosingTypesAreTheOneSet) {
    const auto inSet = [](int type) {
        return type == 17 || type == 18 || (type >= 25 && type <= 32) ||
               (type >= 36 && type <= 45) || type == 79 || type == 80;
    };
    int count = 0;
    for (int type = -1; type <= kDeviceTypeCount; ++type) {
        EXPECT_EQ(LosesRegistersWhenStreamStops(type), inSet(type)) << type;
        count += LosesRegistersWhenStreamStops(type) ? 1 : 0;
    }
    EXPECT_EQ(count, 22);
}
