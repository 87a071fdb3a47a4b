#pragma once

#include <QHash>
#include <QMetaObject>
#include <QMutex>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

class QThread;

// The SQLite connections of one store on one database file.
//
// Qt allows a connection to be used only by the thread that opened it, and
// the capture threads call the experiment stores from their own threads. So
// every thread that uses a store gets a connection of its own, opened on its
// first call and closed when that thread finishes; the thread that created
// the store keeps the connection under the store's own name. All connections
// are closed and removed when the store is destroyed.
//
// A statement that meets a lock of another connection or program waits for
// it up to kBusyTimeoutMs, then fails.
class StoreConnection {
  public:
    static constexpr int kBusyTimeoutMs = 5000;

    // `connectionName` names the connection of the creating thread (made
    // unique in the process when another store already holds it);
    // `setupStatements` run on every connection right after it opens.
    StoreConnection(const QString& connectionName, const QString& filePath,
                    const QStringList& setupStatements = {});
    ~StoreConnection();

    StoreConnection(const StoreConnection&) = delete;
    StoreConnection& operator=(const StoreConnection&) = delete;

    // Opens the connection of the calling thread; false when SQLite refused
    // the file.
    bool open();

    // The calling thread's connection, opened on first use; an invalid one
    // (every statement fails) once the file was refused.
    QSqlDatabase database();

    // Closes every connection for good: the file is not opened again, so
    // nothing is ever written to it.
    void refuse();

    QString connectionName() const { return m_mainName; }
    QString filePath() const { return m_filePath; }

  private:
    QString connectionFor(QThread* thread);
    void dropThread(QThread* thread);

    QString m_mainName;
    QString m_filePath;
    QStringList m_setupStatements;
    QMutex m_mutex;
    QHash<QThread*, QString> m_names;
    QHash<QThread*, QMetaObject::Connection> m_finishWatches;
    QThread* m_ownerThread;
    bool m_refused = false;
};

// Folder of the station's databases: `<station directory>/DataBase/`.
QString databaseFolder(const QString& stationDir);

// Creates `folder` with its missing parents; false when that fails.
bool ensureFolder(const QString& folder);
