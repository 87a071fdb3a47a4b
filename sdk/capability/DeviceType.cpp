#include "capability/DeviceType.h"

#include <iterator>

namespace {

struct TypeRange {
    std::int32_t first;
    std::int32_t last;
};

struct UnitGroup {
    SensorUnit unit;
    TypeRange ranges[8];  // unused entries are {0, -1}
};

// The groups are disjoint; order as the sensor dispatch tests them.
constexpr UnitGroup kUnitGroups[] = {
    {SensorUnit::MT9M001, {{0, 1}, {4, 5}, {33, 34}, {38, 39}, {66, 67}, {76, 76}}},
    {SensorUnit::Sensor2048Family, {{3, 3}, {7, 7}, {30, 30}, {35, 35}, {40, 40}, {68, 68}}},
    {SensorUnit::Sensor2592Family, {{8, 11}, {31, 32}, {41, 42}, {52, 53}, {72, 73}, {77, 78}}},
    {SensorUnit::MT9V034, {{28, 29}, {36, 37}, {60, 61}}},
    {SensorUnit::Sensor30xxFamily, {{13, 16}, {25, 27}, {43, 45}, {54, 55}, {74, 75}}},
    {SensorUnit::CcdAD9923A, {{46, 51}, {90, 91}}},
    {SensorUnit::SpiSensor1280, {{56, 57}}},
    {SensorUnit::EV76C560, {{58, 59}, {64, 65}, {81, 84}}},
    {SensorUnit::MT9M031, {{62, 63}, {79, 80}}},
    {SensorUnit::IMX174, {{86, 87}, {92, 93}, {106, 107}}},
    {SensorUnit::Sensor3096, {{88, 89}, {121, 121}}},
    {SensorUnit::IMX250, {{94, 95}, {104, 105}}},
    {SensorUnit::IMX226, {{96, 97}, {122, 122}}},
    {SensorUnit::DR2K, {{98, 99}}},
    {SensorUnit::DR4K, {{100, 101}}},
    {SensorUnit::IMX183, {{102, 103}, {123, 123}}},
    {SensorUnit::ISG4006, {{108, 109}}},
    {SensorUnit::TestCam, {{110, 110}}},
    {SensorUnit::ISG4006A, {{111, 112}}},
    {SensorUnit::IMX287, {{113, 114}}},
    {SensorUnit::IMX290, {{115, 116}}},
    {SensorUnit::ISG1307, {{117, 118}}},
    {SensorUnit::IMX265, {{119, 120}}},
    {SensorUnit::AR0130, {{17, 18}}},
};

}  // namespace

SensorUnit SensorUnitOf(std::int32_t deviceType) {
    for (const UnitGroup& group : kUnitGroups) {
        for (const TypeRange& range : group.ranges) {
            if (deviceType >= range.first && deviceType <= range.last) {
                return group.unit;
            }
        }
    }
    return SensorUnit::None;
}

bool LosesRegistersWhenStreamStops(std::int32_t deviceType) {
    return deviceType == 17 || deviceType == 18 || (deviceType >= 25 && deviceType <= 32) ||
           (deviceType >= 36 && deviceType <= 45) || deviceType == 79 || deviceType == 80;
}

const char* SensorUnitName(SensorUnit unit) {
    switch (unit) {
        case SensorUnit::None:
            return "None";
        case SensorUnit::MT9M001:
            return "MT9M001";
        case SensorUnit::Sensor2048Family:
            return "Sensor2048Family";
        case SensorUnit::Sensor2592Family:
            return "Sensor2592Family";
        case SensorUnit::MT9V034:
            return "MT9V034";
        case SensorUnit::Sensor30xxFamily:
            return "Sensor30xxFamily";
        case SensorUnit::CcdAD9923A:
            return "CcdAD9923A";
        case SensorUnit::SpiSensor1280:
            return "SpiSensor1280";
        case SensorUnit::EV76C560:
            return "EV76C560";
        case SensorUnit::MT9M031:
            return "MT9M031";
        case SensorUnit::IMX174:
            return "IMX174";
        case SensorUnit::Sensor3096:
            return "Sensor3096";
        case SensorUnit::IMX250:
            return "IMX250";
        case SensorUnit::IMX226:
            return "IMX226";
        case SensorUnit::DR2K:
            return "DR2K";
        case SensorUnit::DR4K:
            return "DR4K";
        case SensorUnit::IMX183:
            return "IMX183";
        case SensorUnit::ISG4006:
            return "ISG4006";
        case SensorUnit::TestCam:
            return "TestCam";
        case SensorUnit::ISG4006A:
            return "ISG4006A";
        case SensorUnit::IMX287:
            return "IMX287";
        case SensorUnit::IMX290:
            return "IMX290";
        case SensorUnit::ISG1307:
            return "ISG1307";
        case SensorUnit::IMX265:
            return "IMX265";
        case SensorUnit::AR0130:
            return "AR0130";
    }
    return "None";
}

// Unit, full frame, colour (C) or monochrome (M) where the model preset says,
// and the type number.
const wchar_t* const DeviceTypeNames[kDeviceTypeCount] = {
    L"MT9M001-1280x1024-C-00",
    L"MT9M001-1280x1024-M-01",
    L"Unassigned-02",
    L"Sensor2048Family-2048x1536-C-03",
    L"MT9M001-1280x1024-C-04",
    L"MT9M001-1280x1024-M-05",
    L"Unassigned-06",
    L"Sensor2048Family-2048x1536-C-07",
    L"Sensor2592Family-2592x1944-C-08",
    L"Sensor2592Family-2592x1944-M-09",
    L"Sensor2592Family-2592x1944-C-10",
    L"Sensor2592Family-2592x1944-M-11",
    L"Unassigned-12",
    L"Sensor30xxFamily-3488x2616-13",
    L"Sensor30xxFamily-3856x2764-14",
    L"Sensor30xxFamily-15",
    L"Sensor30xxFamily-16",
    L"AR0130-1280x960-C-17",
    L"AR0130-1280x960-M-18",
    L"Unassigned-19",
    L"Unassigned-20",
    L"Unassigned-21",
    L"Unassigned-22",
    L"Unassigned-23",
    L"Unassigned-24",
    L"Sensor30xxFamily-3488x2616-C-25",
    L"Sensor30xxFamily-3856x2764-C-26",
    L"Sensor30xxFamily-4608x3288-C-27",
    L"MT9V034-752x480-28",
    L"MT9V034-752x480-29",
    L"Sensor2048Family-2048x1536-30",
    L"Sensor2592Family-2592x1944-31",
    L"Sensor2592Family-2592x1944-M-32",
    L"MT9M001-1280x1024-C-33",
    L"MT9M001-1280x1024-M-34",
    L"Sensor2048Family-2048x1536-C-35",
    L"MT9V034-752x480-C-36",
    L"MT9V034-752x480-M-37",
    L"MT9M001-1280x1024-38",
    L"MT9M001-1280x1024-M-39",
    L"Sensor2048Family-2048x1536-C-40",
    L"Sensor2592Family-2592x1944-C-41",
    L"Sensor2592Family-2592x1944-M-42",
    L"Sensor30xxFamily-3488x2616-43",
    L"Sensor30xxFamily-3856x2764-44",
    L"Sensor30xxFamily-4608x3288-45",
    L"CcdAD9923A-1360x1024-C-46",
    L"CcdAD9923A-1360x1024-M-47",
    L"CcdAD9923A-1628x1236-C-48",
    L"CcdAD9923A-1628x1236-M-49",
    L"CcdAD9923A-1360x1024-C-50",
    L"CcdAD9923A-1360x1024-M-51",
    L"Sensor2592Family-2592x1944-C-52",
    L"Sensor2592Family-2592x1944-M-53",
    L"Sensor30xxFamily-3856x2764-C-54",
    L"Sensor30xxFamily-4608x3288-C-55",
    L"SpiSensor1280-1280x1024-C-56",
    L"SpiSensor1280-1280x1024-M-57",
    L"EV76C560-1280x1024-C-58",
    L"EV76C560-1280x1024-M-59",
    L"MT9V034-752x480-C-60",
    L"MT9V034-752x480-M-61",
    L"MT9M031-1280x960-C-62",
    L"MT9M031-1280x960-M-63",
    L"EV76C560-1600x1200-C-64",
    L"EV76C560-1600x1200-M-65",
    L"MT9M001-1280x1024-C-66",
    L"MT9M001-1280x1024-M-67",
    L"Sensor2048Family-2048x1536-C-68",
    L"Unassigned-69",
    L"Unassigned-70",
    L"Unassigned-71",
    L"Sensor2592Family-2592x1944-C-72",
    L"Sensor2592Family-2592x1944-M-73",
    L"Sensor30xxFamily-4608x3288-C-74",
    L"Sensor30xxFamily-3856x2764-75",
    L"MT9M001-1280x1024-M-76",
    L"Sensor2592Family-2592x1944-77",
    L"Sensor2592Family-2592x1944-78",
    L"MT9M031-1280x960-C-79",
    L"MT9M031-1280x960-M-80",
    L"EV76C560-1280x1024-81",
    L"EV76C560-1280x1024-82",
    L"EV76C560-1600x1200-83",
    L"EV76C560-1600x1200-84",
    L"BootLoader-85",
    L"IMX174-1936x1216-C-86",
    L"IMX174-1936x1216-M-87",
    L"Sensor3096-3096x2080-C-88",
    L"Sensor3096-3096x2080-M-89",
    L"CcdAD9923A-1360x1024-C-90",
    L"CcdAD9923A-1360x1024-M-91",
    L"IMX174-1936x1216-C-92",
    L"IMX174-1936x1216-M-93",
    L"IMX250-2464x2056-C-94",
    L"IMX250-2464x2056-M-95",
    L"IMX226-4072x3046-C-96",
    L"IMX226-4072x3046-M-97",
    L"DR2K-2048x2-C-98",
    L"DR2K-2048x1-M-99",
    L"DR4K-4096x2-C-100",
    L"DR4K-4096x1-M-101",
    L"IMX183-5472x3648-C-102",
    L"IMX183-5472x3648-M-103",
    L"IMX250-2464x2056-C-104",
    L"IMX250-2464x2056-M-105",
    L"IMX174-1936x1216-C-106",
    L"IMX174-1936x1216-M-107",
    L"ISG4006-2040x2048-C-108",
    L"ISG4006-2040x2048-M-109",
    L"TestCam-110",
    L"ISG4006A-2048x2048-C-111",
    L"ISG4006A-2048x2048-M-112",
    L"IMX287-728x544-C-113",
    L"IMX287-728x544-M-114",
    L"IMX290-1944x1096-C-115",
    L"IMX290-1944x1096-M-116",
    L"ISG1307-1280x1024-C-117",
    L"ISG1307-1280x1024-M-118",
    L"IMX265-2064x1544-C-119",
    L"IMX265-2064x1544-M-120",
    L"Sensor3096-3096x2080-M-121",
    L"IMX226-4072x3046-M-122",
    L"IMX183-5472x3648-M-123",
};

static_assert(std::size(DeviceTypeNames) == kDeviceTypeCount);

const wchar_t* DeviceTypeName(std::int32_t deviceType) {
    if (deviceType < 0 || deviceType >= kDeviceTypeCount) {
        return L"Unknown";
    }
    return DeviceTypeNames[deviceType];
}
