#pragma once

#include <QString>
#include <QStringList>

#include <ostream>

// Readable Qt texts in GoogleTest failure messages.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QStringList& list, std::ostream* os) {
    *os << '{';
    for (int i = 0; i < list.size(); ++i) {
        *os << (i == 0 ? "" : ", ") << '"' << list.at(i).toStdString() << '"';
    }
    *os << '}';
}
