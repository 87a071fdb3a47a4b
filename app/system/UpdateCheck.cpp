#include "UpdateCheck.h"

#include <QCryptographicHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QStringList>

const char kApplicationVersion[] = "V2.1.2";

namespace {

const char kDefaultServiceUrl[] =
    "https://update.example.com/api/index.php/Software/getSoftWareNewInfo";
// Agreed with the update service; it only ever travels inside the hash.
const char kAccessToken[] = "k7v2m9q4x1r8t3w6z5p";
const char kOrganisationName[] = "tessaly";

// The numbers of "V<n>.<n>...", or an empty list when `version` is not of
// that form.
QList<qulonglong> versionParts(const QString& version) {
    static const QRegularExpression form(QStringLiteral("^V(\\d{1,18}(?:\\.\\d{1,18})*)$"));
    const QRegularExpressionMatch match = form.match(version);
    QList<qulonglong> parts;
    if (!match.hasMatch()) {
        return parts;
    }
    for (const QString& part : match.captured(1).split(QLatin1Char('.'))) {
        parts << part.toULongLong();
    }
    return parts;
}

QString textMember(const QJsonObject& object, const char* key) {
    const QJsonValue value = object.value(QLatin1String(key));
    return value.isString() ? value.toString() : QString();
}

}  // namespace

QUrl updateServiceUrl() {
    const QString configured = qEnvironmentVariable("VARNU_UPDATE_URL");
    return QUrl(configured.isEmpty() ? QString::fromLatin1(kDefaultServiceUrl) : configured);
}

QString updateProductName(int languageId) {
    switch (languageId) {
        case 0:
            return QStringLiteral("Varnu");
        case 1:
            return QStringLiteral("en_Varnu");
        default:
            qFatal("Unknow LanguageID.");
    }
}

QString md5HexOf(const QString& text) {
    return QString::fromLatin1(
        QCryptographicHash::hash(text.toLatin1(), QCryptographicHash::Md5).toHex());
}

QByteArray updateRequestBody(int languageId) {
    const QString product = updateProductName(languageId);
    const QString token =
        md5HexOf(product + QLatin1String(kAccessToken) + QLatin1String(kOrganisationName));
    return (QStringLiteral("&name=") + product + QStringLiteral("&token=") + token).toUtf8();
}

bool parseUpdateAnswer(const QByteArray& body, UpdateAnswer* answer) {
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(body, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject() ||
        !document.object().contains(QStringLiteral("data"))) {
        return false;
    }
    const QJsonObject data = document.object().value(QStringLiteral("data")).toObject();
    answer->latestVersion = textMember(data, "LatestVersion");
    answer->updateTime = textMember(data, "UpdateTime");
    answer->updateNote = textMember(data, "UpdateNote");
    answer->url = QUrl(textMember(data, "Url"), QUrl::TolerantMode);
    return true;
}

bool isNewerVersion(const QString& own, const QString& latest) {
    const QList<qulonglong> mine = versionParts(own);
    const QList<qulonglong> theirs = versionParts(latest);
    if (mine.isEmpty() || theirs.isEmpty()) {
        return false;
    }
    for (int i = 0; i < qMax(mine.size(), theirs.size()); ++i) {
        const qulonglong a = mine.value(i, 0);
        const qulonglong b = theirs.value(i, 0);
        if (a != b) {
            return b > a;
        }
    }
    return false;
}

QString updateNoteText(const QString& note) {
    static const QString open = QStringLiteral("<p>");
    static const QString close = QStringLiteral("</p>");
    QString text;
    int from = 0;
    for (;;) {
        const int start = note.indexOf(open, from);
        if (start < 0) {
            break;
        }
        const int end = note.indexOf(close, start + open.size());
        if (end < 0) {
            break;
        }
        text += note.mid(start + open.size(), end - start - open.size()) + QLatin1Char('\n');
        from = end + close.size();
    }
    return text;
}

bool isDownloadLink(const QUrl& url) {
    const QString scheme = url.scheme().toLower();
    return url.isValid() && (scheme == QLatin1String("http") || scheme == QLatin1String("https")) &&
           !url.host().isEmpty();
}
