#include <gtest/gtest.h>

#include <QByteArray>
#include <QStringList>

#include "database/PasswordHash.h"

namespace {

QStringList fieldsOf(const QString& stored) {
    return stored.split(QLatin1Char('$'));
}

TEST(PasswordHash, EncodesSchemeIterationsSaltAndKeyInOneText) {
    const QString stored = PasswordHash::encode(QStringLiteral("s3cret"));
    const QStringList fields = fieldsOf(stored);
    ASSERT_EQ(fields.size(), 4);
    EXPECT_EQ(fields[0], QStringLiteral("pbkdf2-sha256"));
    EXPECT_GE(fields[1].toInt(), 100000);
    EXPECT_EQ(QByteArray::fromBase64(fields[2].toLatin1()).size(), 16);
    EXPECT_EQ(QByteArray::fromBase64(fields[3].toLatin1()).size(), 32);
    EXPECT_FALSE(stored.contains(QStringLiteral("s3cret")));
    EXPECT_TRUE(PasswordHash::isEncoded(stored));
    EXPECT_FALSE(PasswordHash::needsRehash(stored));
}

TEST(PasswordHash, EverySaltIsNew) {
    const QString first = PasswordHash::encode(QStringLiteral("same"));
    const QString second = PasswordHash::encode(QStringLiteral("same"));
    EXPECT_NE(fieldsOf(first)[2], fieldsOf(second)[2]);
    EXPECT_NE(first, second);
    EXPECT_TRUE(PasswordHash::matches(first, QStringLiteral("same")));
    EXPECT_TRUE(PasswordHash::matches(second, QStringLiteral("same")));
}

TEST(PasswordHash, MatchesOnlyTheExactPassword) {
    const QString password = QStringLiteral("Pa ss'wörd\"");
    const QString stored = PasswordHash::encode(password);
    EXPECT_TRUE(PasswordHash::matches(stored, password));
    for (const QString& wrong : {QStringLiteral("pa ss'wörd\""), password + QLatin1Char(' '),
                                 password.left(password.size() - 1), QString()}) {
        EXPECT_FALSE(PasswordHash::matches(stored, wrong)) << wrong.toStdString();
    }
}

// RFC 7914, section 11: PBKDF2-HMAC-SHA256 of "passwd" with salt "salt" and one
// iteration; the first 32 bytes of the 64-byte vector.
TEST(PasswordHash, AgreesWithThePublishedPbkdf2Vector) {
    const QByteArray key =
        QByteArray::fromHex("55ac046e56e3089fec1691c22544b605f94185216dde0465e68b9d57c20dacbc");
    const QString stored = QStringLiteral("pbkdf2-sha256$1$%1$%2")
                               .arg(QString::fromLatin1(QByteArray("salt").toBase64()),
                                    QString::fromLatin1(key.toBase64()));
    EXPECT_TRUE(PasswordHash::isEncoded(stored));
    EXPECT_TRUE(PasswordHash::matches(stored, QStringLiteral("passwd")));
    EXPECT_FALSE(PasswordHash::matches(stored, QStringLiteral("passwe")));
    EXPECT_TRUE(PasswordHash::needsRehash(stored));
}

TEST(PasswordHash, PlainTextOfAnEarlierVersionMatchesExactly) {
    EXPECT_FALSE(PasswordHash::isEncoded(QStringLiteral("tarsk")));
    EXPECT_TRUE(PasswordHash::needsRehash(QStringLiteral("tarsk")));
    EXPECT_TRUE(PasswordHash::matches(QStringLiteral("tarsk"), QStringLiteral("tarsk")));
    EXPECT_FALSE(PasswordHash::matches(QStringLiteral("tarsk"), QStringLiteral("Tarsk")));
    EXPECT_FALSE(PasswordHash::matches(QStringLiteral("tarsk"), QStringLiteral("tarsk ")));
}

TEST(PasswordHash, MalformedHashTextMatchesNothing) {
    const QString key = QString::fromLatin1(QByteArray(32, 'k').toBase64());
    const QString salt = QString::fromLatin1(QByteArray(16, 's').toBase64());
    const QStringList malformed{
        QStringLiteral("pbkdf2-sha256$"),
        QStringLiteral("pbkdf2-sha256$0$%1$%2").arg(salt, key),
        QStringLiteral("pbkdf2-sha256$-5$%1$%2").arg(salt, key),
        QStringLiteral("pbkdf2-sha256$99999999999$%1$%2").arg(salt, key),
        QStringLiteral("pbkdf2-sha256$1000$%1$%2$x").arg(salt, key),
        QStringLiteral("pbkdf2-sha256$1000$$%1").arg(key),
        QStringLiteral("pbkdf2-sha256$1000$%1$%2").arg(salt, QStringLiteral("c2hvcnQ=")),
        QStringLiteral("pbkdf2-sha256$1000$%1$not*base64").arg(salt),
    };
    for (const QString& stored : malformed) {
        EXPECT_FALSE(PasswordHash::isEncoded(stored)) << stored.toStdString();
        EXPECT_FALSE(PasswordHash::matches(stored, stored)) << stored.toStdString();
    }
}

TEST(PasswordHash, RandomSecretsDiffer) {
    const QString first = PasswordHash::randomSecret();
    EXPECT_EQ(first.size(), 43);  // 32 bytes, base64 without padding
    EXPECT_NE(first, PasswordHash::randomSecret());
}

}  // namespace
