#pragma once

#include <QString>
#include <QStringList>

// The names under which the station's serial ports can be configured (option
// comNum), in the order the system reports the ports:
// - the system's port names as QSerialPortInfo lists them ("ttyUSB0", "ttyS0");
// - for each ttySn also the Windows-style name COM<n+1> ("ttyS1" is "COM2");
// - the configured name itself when it is the absolute path of an existing
//   character device (a terminal such as the dark-room simulator's link).
// Names are compared exactly and case-sensitively by the caller.
namespace SerialPortCatalog {

QStringList availablePortNames(const QString& configured);

// The device path to open for a configured name.
QString systemLocation(const QString& name);

}  // namespace SerialPortCatalog
