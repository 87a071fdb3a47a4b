#include "sensors/SensorUnitFactory.h"

#include "capability/DeviceType.h"
#include "sensors/IMX174.h"
#include "sensors/IMX183.h"
#include "sensors/IMX226.h"
#include "sensors/IMX250Family.h"
#include "sensors/IMX290.h"
#include "sensors/LineSensor.h"
#include "sensors/MT9M001.h"
#include "sensors/Sensor2048Family.h"
#include "sensors/Sensor2592Family.h"
#include "sensors/Sensor3096.h"

std::unique_ptr<CSensorUnit> MakeSensorUnit(const SensorUnitContext& c) {
    switch (SensorUnitOf(c.nDeviceType)) {
        case SensorUnit::MT9M001:
            return std::make_unique<CMT9M001>(c.vendor, c.capability, c.rpLog, c.state);
        case SensorUnit::Sensor2048Family:
            return std::make_unique<CSensor2048Family>(c.vendor, c.capability, c.rpLog, c.state);
        case SensorUnit::Sensor2592Family:
            return std::make_unique<CSensor2592Family>(c.vendor, c.capability, c.rpLog, c.state);
        case SensorUnit::IMX174:
            return std::make_unique<CIMX174>(c.vendor, c.capability, c.rpLog, c.state, c.busLock,
                                             c.nDeviceType);
        case SensorUnit::IMX250:
            return std::make_unique<CIMX250>(c.vendor, c.capability, c.rpLog, c.state, c.busLock,
                                             c.nDeviceType);
        case SensorUnit::IMX265:
            return std::make_unique<CIMX265>(c.vendor, c.capability, c.rpLog, c.state, c.busLock,
                                             c.nDeviceType);
        case SensorUnit::IMX287:
            return std::make_unique<CIMX287>(c.vendor, c.capability, c.rpLog, c.state, c.busLock,
                                             c.nDeviceType);
        case SensorUnit::IMX290:
            return std::make_unique<CIMX290>(c.vendor, c.capability, c.rpLog, c.state, c.busLock,
                                             c.nDeviceType);
        case SensorUnit::Sensor3096:
            return std::make_unique<CSensor3096>(c.vendor, c.capability, c.rpLog, c.state,
                                                 c.busLock, c.host, c.nDeviceType);
        case SensorUnit::IMX183:
            return std::make_unique<CIMX183>(c.vendor, c.capability, c.rpLog, c.state, c.busLock,
                                             c.host, c.nDeviceType);
        case SensorUnit::IMX226:
            return std::make_unique<CIMX226>(c.vendor, c.capability, c.rpLog, c.state, c.busLock,
                                             c.host, c.nDeviceType);
        case SensorUnit::DR2K:
        case SensorUnit::DR4K:
            return std::make_unique<CLineSensorUnit>(c.vendor, c.capability, c.rpLog, c.state,
                                                     c.host, c.nDeviceType);
        default:
            return std::make_unique<CSensorUnit>();
    }
}
