#pragma once

#include <QString>
#include <QUuid>

// The remember-password tokens that this station keeps for its users: one
// token per account uuid in Ini/rememberedLogins.ini of the station directory
// (readable by the owner only), written whole (settings/IniWrite.h). A token stands in for the
// password in a one-click login; the user store checks it against its own hash, so the password
// itself is never kept anywhere outside the store's hash.
namespace RememberedLogins {

QString tokenFor(const QUuid& uuid);
// False (logged) when the file could not be written; it is then unchanged.
[[nodiscard]] bool store(const QUuid& uuid, const QString& token);
[[nodiscard]] bool forget(const QUuid& uuid);

QString filePath();

}  // namespace RememberedLogins
