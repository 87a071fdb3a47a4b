#include "TestStation.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QUuid>

TestStation::TestStation(const QString& label, bool unique) {
    QString scratch = qEnvironmentVariable("VARNU_TEST_SCRATCH");
    if (scratch.isEmpty()) {
        scratch = QDir::tempPath();
    }
    m_path = QDir(scratch).filePath(unique ? label + QLatin1Char('-') +
                                                 QUuid::createUuid().toString(QUuid::Id128).left(12)
                                           : label);
    QDir().mkpath(m_path);
    m_hadHome = qEnvironmentVariableIsSet("VARNU_HOME");
    m_previousHome = qgetenv("VARNU_HOME");
    qputenv("VARNU_HOME", QFile::encodeName(m_path));
}

TestStation::~TestStation() {
    if (m_hadHome) {
        qputenv("VARNU_HOME", m_previousHome);
    } else {
        qunsetenv("VARNU_HOME");
    }
}

QString TestStation::filePath(const QString& relative) const {
    return m_path + QLatin1Char('/') + relative;
}

void TestStation::writeMachineIni(const QString& machineName,
                                  const QVariant& experimentType) const {
    QSettings ini(filePath(QStringLiteral("machine.ini")), QSettings::IniFormat);
    ini.setValue(QStringLiteral("Machine/MachineName"), machineName);
    if (experimentType.isValid()) {
        ini.setValue(QStringLiteral("Machine/ExperimentType"), experimentType);
    }
}

void TestStation::setUserOption(const QString& key, const QVariant& value) const {
    QSettings ini(filePath(QStringLiteral("Ini/userOption.ini")), QSettings::IniFormat);
    ini.setValue(QStringLiteral("UserOption/") + key, value);
}

QVariant TestStation::userOption(const QString& key) const {
    QSettings ini(filePath(QStringLiteral("Ini/userOption.ini")), QSettings::IniFormat);
    return ini.value(QStringLiteral("UserOption/") + key);
}

QString TestStation::todaysLog() const {
    QFile file(filePath(QStringLiteral("logs/") +
                        QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")) +
                        QStringLiteral(".txt")));
    if (!file.open(QIODevice::ReadOnly)) {
        return QString();
    }
    return QString::fromLocal8Bit(file.readAll());
}
