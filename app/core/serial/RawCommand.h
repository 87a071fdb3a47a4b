#pragma once

#include <QByteArray>
#include <QList>

// Unframed command bytes: the low 8 bits of each item, back to back.
inline QByteArray rawCommand(const QList<int>& data) {
    QByteArray bytes;
    bytes.reserve(data.size());
    for (int item : data) {
        bytes.append(static_cast<char>(item & 0xFF));
    }
    return bytes;
}
