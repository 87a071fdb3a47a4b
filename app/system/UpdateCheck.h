#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>

// The exchange with the maker's update service: a form-encoded POST of the
// product name and a token hash, answered by a JSON object whose "data"
// names the newest version.

// The version of this program.
extern const char kApplicationVersion[];

// The address of the update service: $VARNU_UPDATE_URL when set, else the
// maker's service.
QUrl updateServiceUrl();

// "Varnu" for language 0, "en_Varnu" for 1; any other id is the fatal
// message "Unknow LanguageID.".
QString updateProductName(int languageId);

// Lower-case hexadecimal MD5 of the Latin-1 bytes of `text`.
QString md5HexOf(const QString& text);

// The request body "&name=<product>&token=<hash>" (UTF-8, not
// percent-encoded), the hash taken over product, access token and the
// organisation name.
QByteArray updateRequestBody(int languageId);

// What the service answered in "data"; members that are missing or not
// texts are empty.
struct UpdateAnswer {
    QString latestVersion;
    QString updateTime;
    QString updateNote;
    QUrl url;
};

// False for a body that is not a JSON object holding "data". A "data" that
// is not an object counts as an empty one.
bool parseUpdateAnswer(const QByteArray& body, UpdateAnswer* answer);

// True when `latest` names a later version than `own`: "V" and dot-separated
// numbers, compared number by number (a missing part counts as 0), so
// V2.1.10 is later than V2.1.2. A version that is not of that form is never
// later.
bool isNewerVersion(const QString& own, const QString& latest);

// The paragraphs of an update note, each "<p>" paired with the next "</p>"
// after it, one line each; text outside paragraphs is dropped, an opening
// marker without a closing one ends the note.
QString updateNoteText(const QString& note);

// Only http and https addresses with a host are opened as download links.
bool isDownloadLink(const QUrl& url);
