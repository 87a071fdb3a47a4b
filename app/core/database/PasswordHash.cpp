#include "database/PasswordHash.h"

#include <QByteArray>
#include <QCryptographicHash>
#include <QPasswordDigestor>
#include <QRandomGenerator>
#include <QStringList>

namespace PasswordHash {
namespace {

const QString kScheme = QStringLiteral("pbkdf2-sha256");
constexpr int kMaxIterations = 10000000;  // bounds the work a stored text can demand

struct Parsed {
    int iterations = 0;
    QByteArray salt;
    QByteArray key;
};

bool namesScheme(const QString& stored) {
    return stored.startsWith(kScheme + QLatin1Char('$'));
}

bool parse(const QString& stored, Parsed* out) {
    if (!namesScheme(stored)) {
        return false;
    }
    const QStringList parts = stored.split(QLatin1Char('$'));
    if (parts.size() != 4) {
        return false;
    }
    bool ok = false;
    const int iterations = parts[1].toInt(&ok);
    if (!ok || iterations < 1 || iterations > kMaxIterations) {
        return false;
    }
    const auto decode = [](const QString& text, QByteArray* bytes) {
        auto result = QByteArray::fromBase64Encoding(text.toLatin1(),
                                                     QByteArray::AbortOnBase64DecodingErrors);
        *bytes = result.decoded;
        return bool(result);
    };
    if (!decode(parts[2], &out->salt) || !decode(parts[3], &out->key) || out->salt.isEmpty() ||
        out->key.size() != kKeyBytes) {
        return false;
    }
    out->iterations = iterations;
    return true;
}

QByteArray derive(const QString& password, const QByteArray& salt, int iterations) {
    return QPasswordDigestor::deriveKeyPbkdf2(QCryptographicHash::Sha256, password.toUtf8(), salt,
                                              iterations, kKeyBytes);
}

// Compares two byte strings of equal length without an early exit.
bool equalBytes(const QByteArray& a, const QByteArray& b) {
    if (a.size() != b.size()) {
        return false;
    }
    unsigned char diff = 0;
    for (int i = 0; i < a.size(); ++i) {
        diff |= static_cast<unsigned char>(a[i] ^ b[i]);
    }
    return diff == 0;
}

QByteArray randomBytes(int count) {
    QByteArray bytes(count, Qt::Uninitialized);
    QRandomGenerator* random = QRandomGenerator::system();
    for (int i = 0; i < count; ++i) {
        bytes[i] = static_cast<char>(random->bounded(256));
    }
    return bytes;
}

}  // namespace

QString encode(const QString& password) {
    const QByteArray salt = randomBytes(kSaltBytes);
    const QByteArray key = derive(password, salt, kIterations);
    return QStringLiteral("%1$%2$%3$%4")
        .arg(kScheme)
        .arg(kIterations)
        .arg(QString::fromLatin1(salt.toBase64()), QString::fromLatin1(key.toBase64()));
}

bool isEncoded(const QString& stored) {
    Parsed parsed;
    return parse(stored, &parsed);
}

bool matches(const QString& stored, const QString& password) {
    if (namesScheme(stored)) {
        Parsed parsed;
        if (!parse(stored, &parsed)) {
            return false;
        }
        return equalBytes(derive(password, parsed.salt, parsed.iterations), parsed.key);
    }
    // A plain password of an earlier version: compare digests, so neither the
    // length nor the first differing character shows in the time taken.
    return equalBytes(QCryptographicHash::hash(stored.toUtf8(), QCryptographicHash::Sha256),
                      QCryptographicHash::hash(password.toUtf8(), QCryptographicHash::Sha256));
}

bool needsRehash(const QString& stored) {
    Parsed parsed;
    return !parse(stored, &parsed) || parsed.iterations < kIterations;
}

QString randomSecret() {
    return QString::fromLatin1(
        randomBytes(32).toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals));
}

}  // namespace PasswordHash
