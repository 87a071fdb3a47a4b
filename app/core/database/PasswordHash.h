#pragma once

#include <QString>

// Password storage: salted PBKDF2-HMAC-SHA256, written as one text
//
//     pbkdf2-sha256$<iterations>$<salt, base64>$<derived key, base64>
//
// so the scheme and its parameters travel with the hash in the one password
// column. Any other stored text is a password kept in plain text by an
// earlier version of the program.
namespace PasswordHash {

constexpr int kIterations = 100000;  // work factor of new hashes
constexpr int kSaltBytes = 16;
constexpr int kKeyBytes = 32;

// A new hash of `password` with a fresh random salt.
QString encode(const QString& password);

// True when `stored` is a well-formed hash text (not a plain password).
bool isEncoded(const QString& stored);

// True when `password` matches `stored`, either a hash text or a plain
// password of an earlier version. The comparison takes the same time
// wherever the texts differ. A text that names the scheme but is malformed
// matches nothing.
bool matches(const QString& stored, const QString& password);

// True when `stored` should be written again: a plain password, or a hash
// made with fewer iterations than new hashes use.
bool needsRehash(const QString& stored);

// A new random secret (32 bytes, base64 URL alphabet), for tokens that stand
// in for a password.
QString randomSecret();

}  // namespace PasswordHash
