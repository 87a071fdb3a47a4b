#include "database/StoreOpening.h"

#include "database/DamagedStore.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

#include <sys/stat.h>

namespace {
const QString kTableExists =
    QStringLiteral("select name from sqlite_master where type = 'table' and name = '%1'");

// SQLite's result codes of a lock held by another connection or program.
constexpr int kSqliteBusy = 5;
constexpr int kSqliteLocked = 6;
// A badly damaged file yields one finding per damaged page: the log keeps
// the first ones.
constexpr int kMaxFindingLength = 500;

struct StoreCheck {
    bool intact = false;
    StoreProblem problem = StoreProblem::Damaged;
    QString finding;  // what SQLite said, for the log
};

bool isLockError(const QSqlError& error) {
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok) & 0xff;  // extended codes too
    return ok && (code == kSqliteBusy || code == kSqliteLocked);
}

StoreCheck failedCheck(const QSqlError& error) {
    return {false, isLockError(error) ? StoreProblem::InUse : StoreProblem::Damaged, error.text()};
}

// SQLite's quick check reads every page of the file and checks its structure,
// so a file that is not a database and one with a damaged page both fail it;
// an empty or missing file reads as an empty, intact database. A lock held by
// another program makes the check wait up to the busy timeout, then fail as
// a lock.
StoreCheck checkStoreFile(QSqlDatabase db) {
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("PRAGMA quick_check"))) {
        return failedCheck(query.lastError());
    }
    QStringList findings;
    while (query.next()) {
        findings.append(query.value(0).toString());
    }
    if (query.lastError().isValid()) {
        return failedCheck(query.lastError());
    }
    if (findings == QStringList{QStringLiteral("ok")}) {
        return {true, StoreProblem::Damaged, QString()};
    }
    return {false, StoreProblem::Damaged, findings.join(QStringLiteral("; "))};
}
// False when something other than a regular file (also through a link) has
// the name; a name that cannot be looked at is left to SQLite.
bool isFileOrMissing(const QString& path) {
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) != 0 || S_ISREG(info.st_mode);
}
}  // namespace

std::unique_ptr<StoreConnection> openStore(const QString& stationDir, const StoreOpening& opening) {
    qDebug().noquote() << opening.announcement;
    const QString folder = databaseFolder(stationDir);
    ensureFolder(folder);
    auto connection = std::make_unique<StoreConnection>(
        opening.connectionName, folder + opening.fileName, opening.setupStatements);
    const bool endProgram = opening.onFailure == StoreOpening::OnFailure::EndProgram;
    const QString path = QDir::toNativeSeparators(folder + opening.fileName);
    // Looked at before SQLite opens it: SQLite would wait for ever on a named
    // pipe, and on a folder says no more than that it failed.
    if (!isFileOrMissing(folder + opening.fileName)) {
        qWarning().noquote() << opening.fileName + QStringLiteral(" open failed.");
        connection->refuse();
        reportStoreProblem(StoreProblem::NotAFile, path, endProgram);
        return connection;
    }
    if (!connection->open()) {
        qWarning().noquote() << opening.fileName + QStringLiteral(" open failed.");
        if (endProgram) {
            reportStoreProblem(StoreProblem::CannotOpen, path, true);
        }
        return connection;
    }
    qDebug().noquote() << opening.fileName + QStringLiteral(" open success.");
    const StoreCheck check = checkStoreFile(connection->database());
    if (!check.intact) {
        qWarning().noquote() << QStringLiteral("Quick check of %1 failed: %2")
                                    .arg(path, check.finding.left(kMaxFindingLength));
        // Nothing of the store may touch the file from here on.
        connection->refuse();
        reportStoreProblem(check.problem, path, endProgram);
    }
    return connection;
}

bool hasTable(QSqlDatabase db, const QString& table) {
    QSqlQuery query(db);
    return query.exec(kTableExists.arg(table)) && query.next();
}

bool createMissingTable(QSqlDatabase db, const QString& table, const QString& createStatement,
                        const QString& successLine) {
    if (hasTable(db, table)) {
        return false;
    }
    QSqlQuery create(db);
    if (!create.exec(createStatement)) {
        qFatal("Table create failed.");
    }
    qDebug().noquote() << successLine;
    return true;
}
