#include "login/RememberedLogins.h"

#include "base/StationDir.h"

#include <QFile>
#include <QSettings>

namespace {

QString keyOf(const QUuid& uuid) {
    return QStringLiteral("Tokens/") + uuid.toString(QUuid::WithoutBraces);
}

}  // namespace

namespace RememberedLogins {

QString filePath() {
    return stationFilePath(QStringLiteral("Ini/rememberedLogins.ini"));
}

QString tokenFor(const QUuid& uuid) {
    QSettings settings(filePath(), QSettings::IniFormat);
    return settings.value(keyOf(uuid)).toString();
}

void store(const QUuid& uuid, const QString& token) {
    {
        QSettings settings(filePath(), QSettings::IniFormat);
        settings.setValue(keyOf(uuid), token);
        settings.sync();
    }
    QFile::setPermissions(filePath(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

void forget(const QUuid& uuid) {
    QSettings settings(filePath(), QSettings::IniFormat);
    if (settings.contains(keyOf(uuid))) {
        settings.remove(keyOf(uuid));
    }
}

}  // namespace RememberedLogins
