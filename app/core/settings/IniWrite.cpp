#include "settings/IniWrite.h"

#include <QDebug>
#include <QDir>
#include <QSettings>

namespace {

QSettings::Status writeOnce(const QString& filePath, const QString& group,
                            const IniValues& values) {
    QSettings settings(filePath, QSettings::IniFormat);
    if (!group.isEmpty()) {
        settings.beginGroup(group);
    }
    IniValues previous;
    for (const auto& [key, value] : values) {
        previous.append({key, settings.value(key)});
        settings.setValue(key, value);
    }
    settings.sync();
    const QSettings::Status status = settings.status();
    if (status == QSettings::AccessError) {
        for (auto it = previous.crbegin(); it != previous.crend(); ++it) {
            if (it->second.isValid()) {
                settings.setValue(it->first, it->second);
            } else {
                settings.remove(it->first);
            }
        }
    }
    return status;
}

}  // namespace

bool writeIniValues(const QString& filePath, const QString& group, const IniValues& values) {
    QSettings::Status status = writeOnce(filePath, group, values);
    // A file that could not be read as ini reports that instead of the
    // write's result: a second write, over what the first one left, tells
    // whether the file takes the values.
    if (status == QSettings::FormatError) {
        status = writeOnce(filePath, group, values);
    }
    if (status == QSettings::NoError) {
        return true;
    }
    qWarning().noquote() << QStringLiteral("Settings not saved, %1 cannot be written.")
                                .arg(QDir::toNativeSeparators(filePath));
    return false;
}
