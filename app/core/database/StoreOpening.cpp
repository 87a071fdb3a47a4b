#include "database/StoreOpening.h"

#include "database/DamagedStore.h"

#include <QDebug>
#include <QDir>
#include <QSqlQuery>

namespace {
const QString kTableExists =
    QStringLiteral("select name from sqlite_master where type = 'table' and name = '%1'");

// SQLite reads an empty or missing file as an empty database, and fails on
// the schema of a file that is not a database at all.
bool readsAsDatabase(QSqlDatabase db) {
    QSqlQuery query(db);
    return query.exec(QStringLiteral("select count(*) from sqlite_master")) && query.next();
}
}  // namespace

std::unique_ptr<StoreConnection> openStore(const QString& stationDir, const StoreOpening& opening) {
    qDebug().noquote() << opening.announcement;
    const QString folder = databaseFolder(stationDir);
    ensureFolder(folder);
    auto connection = std::make_unique<StoreConnection>(
        opening.connectionName, folder + opening.fileName, opening.setupStatements);
    if (connection->open()) {
        qDebug().noquote() << opening.fileName + QStringLiteral(" open success.");
        if (!readsAsDatabase(connection->database())) {
            reportDamagedStore(QDir::toNativeSeparators(folder + opening.fileName),
                               opening.onFailure == StoreOpening::OnFailure::EndProgram);
        }
        return connection;
    }
    const QString failure = opening.fileName + QStringLiteral(" open failed.");
    if (opening.onFailure == StoreOpening::OnFailure::EndProgram) {
        qFatal("%s", qPrintable(failure));
    }
    qWarning().noquote() << failure;
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
