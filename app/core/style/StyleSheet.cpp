#include "style/StyleSheet.h"

#include <QByteArray>
#include <QFile>
#include <QtGlobal>

QString readStyleSheet(const QString& resourcePath) {
    QFile file(resourcePath);
    if (!file.open(QIODevice::ReadOnly)) {
        return QString();
    }
    const QByteArray bytes = file.readAll();
    const int end = bytes.indexOf('\0');
    return QString::fromLatin1(end < 0 ? bytes : bytes.left(end));
}

QString readLanguageStyleSheet(const QString& stem, int languageId) {
    switch (languageId) {
        case 0:
            return readStyleSheet(QStringLiteral(":/Style/%1.css").arg(stem));
        case 1:
            return readStyleSheet(QStringLiteral(":/Style/%1_en.css").arg(stem));
        default:
            qFatal("Unknow LanguageID.");
    }
    return QString();
}
