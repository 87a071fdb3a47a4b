#pragma once

#include <QDebug>
#include <QList>
#include <QPair>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QUuid>
#include <QVariant>
#include <memory>

#include "database/RecordText.h"
#include "database/StoreConnection.h"
#include "database/StoreOpening.h"

// What sets one experiment table apart from the other: its name, its
// columns and how a record is read from a row and bound to the insert.
template <typename Record>
struct ExperimentSchema {
    QString table;
    QString createStatement;
    QString insertStatement;
    Record (*read)(const QSqlQuery& query);
    // Binds every column of `record` to the insert statement.
    void (*bind)(QSqlQuery& query, const Record& record);
};

// One experiment table of <station>/DataBase/Experiment.db. Both kinds of
// experiment keep a uuid, a name, and an exposure time and gain written after
// the capture; everything else about them comes from the schema. The
// connection of the creating thread is named after the table.
template <typename Record>
class ExperimentTable {
  public:
    ExperimentTable(const QString& stationDir, ExperimentSchema<Record> schema)
        : m_schema(std::move(schema)),
          m_connection(
              openStore(stationDir, {QStringLiteral("connectDatabase %1.db.").arg(m_schema.table),
                                     m_schema.table, QStringLiteral("Experiment.db")})) {
        initTable();
    }

    QString connectionName() const { return m_connection->connectionName(); }

    bool createTable() {
        QSqlQuery query(m_connection->database());
        return query.exec(m_schema.createStatement);
    }

    bool insert(const Record& record) {
        QSqlQuery query(m_connection->database());
        query.prepare(m_schema.insertStatement);
        m_schema.bind(query, record);
        return query.exec();
    }

    bool remove(const QUuid& uuid) {
        QSqlQuery query(m_connection->database());
        query.prepare(QStringLiteral("DELETE FROM %1 where uuid = :uuid").arg(m_schema.table));
        query.bindValue(QStringLiteral(":uuid"), uuidText(uuid));
        return query.exec();
    }

    // Of several matching rows the last one the query yields; null when
    // none matches or the query fails.
    std::unique_ptr<Record> loadByUuid(const QUuid& uuid) {
        return loadOne(QStringLiteral("uuid"), uuidText(uuid));
    }
    std::unique_ptr<Record> loadByName(const QString& name) {
        return loadOne(QStringLiteral("name"), name);
    }

    // Writes `exposureTime` and `gain` of the row of `record.uuid`.
    bool updateCaptureValues(const Record& record) {
        QSqlQuery query(m_connection->database());
        query.prepare(QStringLiteral("UPDATE %1 SET exposureTime = :exposureTime, gain = :gain "
                                     "where uuid = :uuid")
                          .arg(m_schema.table));
        query.bindValue(QStringLiteral(":exposureTime"), record.exposureTime);
        query.bindValue(QStringLiteral(":gain"), record.gain);
        query.bindValue(QStringLiteral(":uuid"), uuidText(record.uuid));
        return query.exec();
    }

    // Writes the given columns of the row of `uuid` in one statement. The
    // column names are the table's own, never user input.
    bool updateColumns(const QUuid& uuid, const QList<QPair<QString, QVariant>>& columns) {
        QStringList assignments;
        for (const auto& column : columns) {
            assignments << QStringLiteral("%1 = :%1").arg(column.first);
        }
        QSqlQuery query(m_connection->database());
        query.prepare(QStringLiteral("UPDATE %1 SET %2 where uuid = :uuid")
                          .arg(m_schema.table, assignments.join(QStringLiteral(", "))));
        for (const auto& column : columns) {
            query.bindValue(QLatin1Char(':') + column.first, column.second);
        }
        query.bindValue(QStringLiteral(":uuid"), uuidText(uuid));
        return query.exec();
    }

    // Null when the query fails or the table is empty.
    std::unique_ptr<QList<Record>> loadAll() {
        QSqlQuery query(m_connection->database());
        query.setForwardOnly(true);
        if (!query.exec(QStringLiteral("SELECT * FROM %1").arg(m_schema.table))) {
            return nullptr;
        }
        std::unique_ptr<QList<Record>> records;
        while (query.next()) {
            if (!records) {
                records = std::make_unique<QList<Record>>();
            }
            records->append(m_schema.read(query));
        }
        return records;
    }

  private:
    // A table that cannot be created is only reported: the statements on it
    // then fail and say so.
    void initTable() {
        if (hasTable(m_connection->database(), m_schema.table)) {
            return;
        }
        if (createTable()) {
            qDebug().noquote() << QStringLiteral("table %1 create success.").arg(m_schema.table);
        } else {
            qDebug().noquote() << QStringLiteral("table %1 create failed.").arg(m_schema.table);
        }
    }

    std::unique_ptr<Record> loadOne(const QString& column, const QString& value) {
        QSqlQuery query(m_connection->database());
        query.setForwardOnly(true);
        query.prepare(
            QStringLiteral("SELECT * FROM %1 where %2 = :%2").arg(m_schema.table, column));
        query.bindValue(QLatin1Char(':') + column, value);
        if (!query.exec()) {
            return nullptr;
        }
        std::unique_ptr<Record> last;
        while (query.next()) {
            last = std::make_unique<Record>(m_schema.read(query));
        }
        return last;
    }

    const ExperimentSchema<Record> m_schema;
    const std::unique_ptr<StoreConnection> m_connection;
};
