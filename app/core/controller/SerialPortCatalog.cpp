#include "SerialPortCatalog.h"

#include <QFile>
#include <QRegularExpression>
#include <QSerialPortInfo>

#include <sys/stat.h>

namespace {

bool isCharacterDevice(const QString& path) {
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 && S_ISCHR(st.st_mode);
}

}  // namespace

namespace SerialPortCatalog {

QStringList availablePortNames(const QString& configured) {
    static const QRegularExpression ttyS(QStringLiteral("^ttyS(\\d+)$"));
    QStringList names;
    const auto ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo& info : ports) {
        names << info.portName();
        const QRegularExpressionMatch m = ttyS.match(info.portName());
        if (m.hasMatch()) {
            names << QStringLiteral("COM%1").arg(m.captured(1).toInt() + 1);
        }
    }
    if (configured.startsWith(QLatin1Char('/')) && isCharacterDevice(configured)) {
        names << configured;
    }
    return names;
}

QString systemLocation(const QString& name) {
    static const QRegularExpression com(QStringLiteral("^COM(\\d+)$"));
    if (name.startsWith(QLatin1Char('/'))) {
        return name;
    }
    const QRegularExpressionMatch m = com.match(name);
    if (m.hasMatch() && m.captured(1).toInt() > 0) {
        return QStringLiteral("/dev/ttyS%1").arg(m.captured(1).toInt() - 1);
    }
    return QStringLiteral("/dev/") + name;
}

}  // namespace SerialPortCatalog
