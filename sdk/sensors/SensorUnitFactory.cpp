#include "sensors/SensorUnitFactory.h"

#include "capability/DeviceType.h"
#include "sensors/AR0130.h"
#include "sensors/CcdAD9923A.h"
#include "sensors/EV76C560.h"
#include "sensors/IMX174.h"
#include "sensors/IMX183.h"
#include "sensors/IMX226.h"
#include "sensors/IMX250Family.h"
#include "sensors/IMX290.h"
#include "sensors/IsgUnit.h"
#include "sensors/LineSensor.h"
#include "sensors/MT9M001.h"
#include "sensors/MT9V034.h"
#include "sensors/Sensor2048Family.h"
#include "sensors/Sensor2592Family.h"
#include "sensors/Sensor3096.h"
#include "sensors/Sensor30xxFamily.h"
#include "sensors/SpiSensor1280.h"
#include "sensors/TestCam.h"

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
        case SensorUnit::AR0130:
            return std::make_unique<CAR0130>(c.vendor, c.capability, c.rpLog, c.state);
        case SensorUnit::MT9M031:
            return std::make_unique<CMT9M031>(c.vendor, c.capability, c.rpLog, c.state);
        case SensorUnit::MT9V034:
            return std::make_unique<CMT9V034>(c.vendor, c.capability, c.rpLog, c.state);
        case SensorUnit::EV76C560:
            return std::make_unique<CEV76C560>(c.vendor, c.capability, c.rpLog, c.state, c.host,
                                               c.nDeviceType);
        case SensorUnit::Sensor30xxFamily:
            return std::make_unique<CSensor30xxFamily>(c.vendor, c.capability, c.rpLog, c.state,
                                                       c.nDeviceType);
        case SensorUnit::CcdAD9923A:
            return std::make_unique<CCcdAD9923A>(c.vendor, c.capability, c.state, c.host,
                                                 c.nDeviceType);
        case SensorUnit::ISG1307:
            return std::make_unique<CISG1307>(c.vendor, c.capability, c.rpLog, c.state, c.busLock,
                                              c.host, c.nDeviceType);
        case SensorUnit::ISG4006A:
            return std::make_unique<CISG4006A>(c.vendor, c.capability, c.rpLog, c.state, c.busLock,
                                               c.host, c.nDeviceType);
        case SensorUnit::ISG4006:
            return std::make_unique<CISG4006>(c.vendor, c.capability, c.rpLog, c.state, c.busLock,
                                              c.host, c.nDeviceType);
        case SensorUnit::SpiSensor1280:
            return std::make_unique<CSpiSensor1280>(c.vendor, c.capability, c.rpLog, c.state,
                                                    c.host);
        case SensorUnit::TestCam:
            return std::make_unique<CTestCam>(c.vendor, c.capability, c.rpLog, c.state);
        case SensorUnit::DR2K:
        case SensorUnit::DR4K:
            return std::make_unique<CLineSensorUnit>(c.vendor, c.capability, c.rpLog, c.state,
                                                     c.host, c.nDeviceType);
        default:
            return std::make_unique<CSensorUnit>();
    }
}
