#include "database/StoreConnection.h"

#include <QAtomicInt>
#include <QDir>
#include <QMutexLocker>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>

namespace {

QAtomicInt connectionSerial;

// A connection name that no other connection of the process uses yet.
QString uniqueName(const QString& wanted) {
    if (!QSqlDatabase::contains(wanted)) {
        return wanted;
    }
    QString name;
    do {
        name = QStringLiteral("%1#%2").arg(wanted).arg(connectionSerial.fetchAndAddRelaxed(1) + 1);
    } while (QSqlDatabase::contains(name));
    return name;
}

QString busyTimeoutOption() {
    return QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(StoreConnection::kBusyTimeoutMs);
}

void closeAndRemove(const QString& name) {
    {
        QSqlDatabase db = QSqlDatabase::database(name, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

}  // namespace

QString databaseFolder(const QString& stationDir) {
    return stationDir + QStringLiteral("/DataBase/");
}

bool ensureFolder(const QString& folder) {
    QDir dir(folder);
    return dir.exists() || dir.mkpath(QStringLiteral("."));
}

StoreConnection::StoreConnection(const QString& connectionName, const QString& filePath,
                                 const QStringList& setupStatements)
    : m_mainName(uniqueName(connectionName)),
      m_filePath(filePath),
      m_setupStatements(setupStatements),
      m_ownerThread(QThread::currentThread()) {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_mainName);
    db.setDatabaseName(m_filePath);
    db.setConnectOptions(busyTimeoutOption());
    m_names.insert(m_ownerThread, m_mainName);
}

StoreConnection::~StoreConnection() {
    QMutexLocker lock(&m_mutex);
    for (const QMetaObject::Connection& watch : qAsConst(m_finishWatches)) {
        QObject::disconnect(watch);
    }
    for (const QString& name : qAsConst(m_names)) {
        closeAndRemove(name);
    }
}

bool StoreConnection::open() {
    QSqlDatabase db = database();
    return db.isOpen();
}

QSqlDatabase StoreConnection::database() {
    {
        QMutexLocker lock(&m_mutex);
        if (m_refused) {
            return QSqlDatabase();
        }
    }
    const QString name = connectionFor(QThread::currentThread());
    QSqlDatabase db = QSqlDatabase::database(name, false);
    if (!db.isOpen() && db.open()) {
        for (const QString& statement : qAsConst(m_setupStatements)) {
            QSqlQuery query(db);
            query.exec(statement);
        }
    }
    return db;
}

QString StoreConnection::connectionFor(QThread* thread) {
    QMutexLocker lock(&m_mutex);
    auto found = m_names.constFind(thread);
    if (found != m_names.constEnd()) {
        return found.value();
    }
    const QString name =
        uniqueName(QStringLiteral("%1@%2").arg(m_mainName).arg(quintptr(thread), 0, 16));
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    db.setDatabaseName(m_filePath);
    db.setConnectOptions(busyTimeoutOption());
    m_names.insert(thread, name);
    // The finished signal is emitted by the thread itself, so the connection
    // is closed on the thread that owns it.
    m_finishWatches.insert(thread, QObject::connect(thread, &QThread::finished,
                                                    [this, thread] { dropThread(thread); }));
    return name;
}

void StoreConnection::refuse() {
    QMutexLocker lock(&m_mutex);
    m_refused = true;
    for (const QString& name : qAsConst(m_names)) {
        QSqlDatabase db = QSqlDatabase::database(name, false);
        db.close();
    }
}

void StoreConnection::dropThread(QThread* thread) {
    QString name;
    {
        QMutexLocker lock(&m_mutex);
        name = m_names.take(thread);
        QObject::disconnect(m_finishWatches.take(thread));
    }
    if (!name.isEmpty()) {
        closeAndRemove(name);
    }
}
