// Camera model numbers (DeviceType), the sensor unit each one runs and the
// model names used in ini section names and the device log.
#pragma once

#include <cstdint>

// Types 0 to 123 are in use; 85 is a camera that runs only its boot loader.
inline constexpr std::int32_t kDeviceTypeCount = 124;
inline constexpr std::int32_t kDeviceTypeBootLoader = 85;

// The sensor unit (driver of one sensor chip or chip family) of a type.
enum class SensorUnit {
    None,
    MT9M001,
    Sensor2048Family,
    Sensor2592Family,
    MT9V034,
    Sensor30xxFamily,
    CcdAD9923A,
    SpiSensor1280,
    EV76C560,
    MT9M031,
    IMX174,
    Sensor3096,
    IMX250,
    IMX226,
    DR2K,
    DR4K,
    IMX183,
    ISG4006,
    TestCam,
    ISG4006A,
    IMX287,
    IMX290,
    ISG1307,
    IMX265,
    AR0130,
};

// SensorUnit::None for the boot-loader type, the unassigned types and every
// number outside 0-123.
SensorUnit SensorUnitOf(std::int32_t deviceType);
const char* SensorUnitName(SensorUnit unit);

// Types whose sensor loses its registers when the camera resets or its frame
// stream stops: 17, 18, 25-32, 36-45, 79 and 80. Their registers are written
// back from the shadows at open, after a trigger-mode change and in place of
// a preview restart when the buffer count changes.
bool LosesRegistersWhenStreamStops(std::int32_t deviceType);

// Model name of each type, indexed by DeviceType. The names are stable: they
// key the capability sections users keep in their ini files.
extern const wchar_t* const DeviceTypeNames[kDeviceTypeCount];

// DeviceTypeNames[deviceType], or L"Unknown" for a number outside the table.
const wchar_t* DeviceTypeName(std::int32_t deviceType);
