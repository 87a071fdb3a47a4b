#pragma once

#include <QString>

// The administrator account that the user store creates with its table. It
// is never deleted, and only the administrator edits it (its password only).
inline const QString& adminUserName() {
    static const QString name = QStringLiteral("tarsk");
    return name;
}

// Exact, case-sensitive: "Tarsk" is an ordinary account.
inline bool isAdminAccount(const QString& userName) {
    return userName == adminUserName();
}
