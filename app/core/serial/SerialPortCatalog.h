// Which serial port the option comNum names, and how to reach it.
//
// comNum may be
//   - a port name as the system lists it ("ttyUSB0", "ttyS1"),
//   - a Windows-style name "COMn" (n from 1), which stands for "ttyS<n-1>",
//   - the path of a terminal device (any name with a '/'), for example the link of the controller
//     simulator ("/run/station/dev/COM2"); a relative path counts from the
//     current directory.
// Names are compared exactly: "com3" is neither "COM3" nor "ttyS2".
#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>

namespace SerialPortCatalog {

// True when comNum is the path of a device rather than a port name.
bool isDevicePath(const QString& comNum);
// The system port name comNum stands for: "COM3" -> "ttyS2"; any other name as it is.
QString systemPortName(const QString& comNum);
// The names of the system's serial ports, in the order the system reports them.
QStringList availablePortNames();
// Whether the port comNum names is present: a listed system port, or a path
// that leads to a character device (the device is not opened to find out).
bool isPortPresent(const QString& comNum, const QStringList& systemPorts);
bool isPortPresent(const QString& comNum);
// The name or path to hand to QSerialPort::setPortName.
QString serialPortName(const QString& comNum);

// What the controller's start-up does with comNum: connect to `portName`
// when `found`, otherwise show the warning box with the texts below.
struct SerialPortChoice {
    bool found = false;
    QString portName;
};
SerialPortChoice chooseSerialPort(const QString& comNum, const QStringList& systemPorts);
SerialPortChoice chooseSerialPort(const QString& comNum);

// Texts of the warning box for a missing port, translated in the context of
// the application controller.
inline QString serialPortWarningTitle() {
    return QCoreApplication::translate("CI_MainControl", "Warning");
}
inline QString serialPortWarningText() {
    return QCoreApplication::translate("CI_MainControl", "SerialPort connection error!");
}

}  // namespace SerialPortCatalog
