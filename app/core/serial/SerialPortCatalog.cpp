#include "serial/SerialPortCatalog.h"

#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QSerialPortInfo>

namespace SerialPortCatalog {

bool isDevicePath(const QString& comNum) {
    return comNum.contains(QLatin1Char('/'));
}

QString systemPortName(const QString& comNum) {
    static const QLatin1String prefix("COM");
    if (!comNum.startsWith(prefix) || comNum.size() == prefix.size()) {
        return comNum;
    }
    const QStringRef digits = comNum.midRef(prefix.size());
    for (QChar c : digits) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) {
            return comNum;
        }
    }
    bool ok = false;
    const uint number = digits.toUInt(&ok);
    if (!ok || number == 0) {
        return comNum;
    }
    return QStringLiteral("ttyS%1").arg(number - 1);
}

QStringList availablePortNames() {
    QStringList names;
    const auto ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo& port : ports) {
        names.append(port.portName());
    }
    return names;
}

bool isPortPresent(const QString& comNum, const QStringList& systemPorts) {
    if (comNum.isEmpty()) {
        return false;
    }
    if (isDevicePath(comNum)) {
        struct stat status {};
        const QByteArray path = QFile::encodeName(serialPortName(comNum));
        return ::stat(path.constData(), &status) == 0 && S_ISCHR(status.st_mode);
    }
    return systemPorts.contains(systemPortName(comNum));
}

bool isPortPresent(const QString& comNum) {
    return isPortPresent(comNum, isDevicePath(comNum) ? QStringList() : availablePortNames());
}

QString serialPortName(const QString& comNum) {
    if (isDevicePath(comNum)) {
        return QDir::cleanPath(QDir::current().absoluteFilePath(comNum));
    }
    return systemPortName(comNum);
}

SerialPortChoice chooseSerialPort(const QString& comNum, const QStringList& systemPorts) {
    SerialPortChoice choice;
    choice.found = isPortPresent(comNum, systemPorts);
    if (choice.found) {
        choice.portName = comNum;
    }
    return choice;
}

SerialPortChoice chooseSerialPort(const QString& comNum) {
    return chooseSerialPort(comNum, isDevicePath(comNum) ? QStringList() : availablePortNames());
}

}  // namespace SerialPortCatalog
