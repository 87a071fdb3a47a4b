#include "login/RememberedLogins.h"

#include "base/StationDir.h"
#include "settings/IniWrite.h"

#include <QSettings>

namespace {

const QString kGroup = QStringLiteral("Tokens");

QString keyOf(const QUuid& uuid) {
    return uuid.toString(QUuid::WithoutBraces);
}

}  // namespace

namespace RememberedLogins {

QString filePath() {
    return stationFilePath(QStringLiteral("Ini/rememberedLogins.ini"));
}

QString tokenFor(const QUuid& uuid) {
    QSettings settings(filePath(), QSettings::IniFormat);
    return settings.value(kGroup + QLatin1Char('/') + keyOf(uuid)).toString();
}

bool store(const QUuid& uuid, const QString& token) {
    return writeIniValues(filePath(), kGroup, {{keyOf(uuid), token}}, IniFileAccess::OwnerOnly);
}

bool forget(const QUuid& uuid) {
    QSettings settings(filePath(), QSettings::IniFormat);
    if (!settings.contains(kGroup + QLatin1Char('/') + keyOf(uuid))) {
        return true;
    }
    return writeIniValues(filePath(), kGroup, {{keyOf(uuid), QVariant()}},
                          IniFileAccess::OwnerOnly);
}

}  // namespace RememberedLogins
