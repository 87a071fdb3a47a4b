#include "database/RecordText.h"

namespace {
const QString kDateTimeFormat = QStringLiteral("yyyy-MM-dd hh:mm:ss");
}

QString uuidText(const QUuid& uuid) {
    return uuid.toString(QUuid::WithBraces);
}

QUuid uuidFromColumn(const QVariant& column) {
    return QUuid(column.toString());
}

QString dateTimeText(const QDateTime& dateTime) {
    return dateTime.isValid() ? dateTime.toString(kDateTimeFormat) : QString();
}

QDateTime dateTimeFromColumn(const QVariant& column) {
    const QString text = column.toString();
    QDateTime parsed = QDateTime::fromString(text, kDateTimeFormat);
    if (!parsed.isValid()) {
        parsed = QDateTime::fromString(text, Qt::ISODate);
    }
    return parsed;
}
