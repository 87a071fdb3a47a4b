#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <memory>

#include "database/StoreConnection.h"

// How a store opens its database file: the steps every store takes, with the
// names and texts that are the store's own.
struct StoreOpening {
    // What a store does when SQLite refuses its file.
    enum class OnFailure {
        EndProgram,  // the program cannot work without the store
        Warn,        // the store's statements then fail and say so
    };

    QString announcement;    // logged before anything is opened
    QString connectionName;  // of the creating thread's connection
    QString fileName;        // in the station's database folder
    QStringList setupStatements = {};
    OnFailure onFailure = OnFailure::EndProgram;
};

// Creates the station's database folder when it is missing and opens the
// store's connection on `<stationDir>/DataBase/<fileName>`, logging
// "<fileName> open success." or "<fileName> open failed.". A file that fails
// SQLite's quick check (not a database, a damaged page) or that another
// program holds locked beyond the busy timeout is refused: the connection
// never touches it again, and it is reported (database/DamagedStore.h).
std::unique_ptr<StoreConnection> openStore(const QString& stationDir, const StoreOpening& opening);

// True when the database holds a table named `table`.
bool hasTable(QSqlDatabase db, const QString& table);

// Creates `table` with `createStatement` when the database lacks it and logs
// `successLine`; a table that cannot be created ends the program with
// "Table create failed.". True when the table was created here.
bool createMissingTable(QSqlDatabase db, const QString& table, const QString& createStatement,
                        const QString& successLine);
