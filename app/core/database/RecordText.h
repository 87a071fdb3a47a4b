#pragma once

#include <QDateTime>
#include <QString>
#include <QUuid>
#include <QVariant>

// How the stores write uuids and times into their text columns.

// The braced text form, "{xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}".
QString uuidText(const QUuid& uuid);
QUuid uuidFromColumn(const QVariant& column);

// "yyyy-MM-dd hh:mm:ss", whole seconds, no zone; a null time gives "".
QString dateTimeText(const QDateTime& dateTime);
QDateTime dateTimeFromColumn(const QVariant& column);
