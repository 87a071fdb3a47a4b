#include "database/SampleDB.h"

#include <QSqlQuery>
#include <QVariant>

#include "database/RecordText.h"
#include "database/StoreOpening.h"

namespace {
const QString kCreateTable =
    QStringLiteral("CREATE TABLE Sample(uuid TEXT UNIQUE, sampleName TEXT UNIQUE, note TEXT)");
const QString kInsert =
    QStringLiteral("INSERT INTO Sample(uuid, sampleName, note) VALUES(:uuid, :sampleName, :note)");
const QString kDelete = QStringLiteral("DELETE FROM Sample where uuid = :uuid");
const QString kSelectNames = QStringLiteral("SELECT sampleName FROM Sample");
const QString kSelectAll = QStringLiteral("SELECT * FROM Sample");
}  // namespace

SampleDB::SampleDB(const QString& stationDir, QObject* parent) : QObject(parent) {
    connectDatabase(stationDir);
}

SampleDB::~SampleDB() = default;

QString SampleDB::connectionName() const {
    return m_connection->connectionName();
}

void SampleDB::connectDatabase(const QString& stationDir) {
    m_connection = openStore(stationDir, {QStringLiteral("connectDatabase Sample.db."),
                                          QStringLiteral("Sample"), QStringLiteral("Sample.db")});
    initTable();
}

void SampleDB::initTable() {
    createMissingTable(m_connection->database(), QStringLiteral("Sample"), kCreateTable,
                       QStringLiteral("Table create success."));
}

bool SampleDB::insertSample(const SampleInfo& sample) {
    QSqlQuery query(m_connection->database());
    query.prepare(kInsert);
    query.bindValue(QStringLiteral(":uuid"), uuidText(sample.uuid));
    query.bindValue(QStringLiteral(":sampleName"), sample.sampleName);
    query.bindValue(QStringLiteral(":note"), sample.note);
    return query.exec();
}

bool SampleDB::deleteSample(const QUuid& uuid) {
    QSqlQuery query(m_connection->database());
    query.prepare(kDelete);
    query.bindValue(QStringLiteral(":uuid"), uuidText(uuid));
    // Deleting a row that is not there is a failure.
    return query.exec() && query.numRowsAffected() > 0;
}

QStringList SampleDB::loadSampleNames() {
    QStringList names;
    QSqlQuery query(m_connection->database());
    if (query.exec(kSelectNames)) {
        while (query.next()) {
            names.append(query.value(QStringLiteral("sampleName")).toString());
        }
    }
    return names;
}

std::unique_ptr<QList<SampleInfo>> SampleDB::loadAll() {
    QSqlQuery query(m_connection->database());
    if (!query.exec(kSelectAll)) {
        return nullptr;
    }
    std::unique_ptr<QList<SampleInfo>> samples;
    while (query.next()) {
        if (!samples) {
            samples = std::make_unique<QList<SampleInfo>>();
        }
        SampleInfo sample;
        sample.uuid = uuidFromColumn(query.value(QStringLiteral("uuid")));
        sample.sampleName = query.value(QStringLiteral("sampleName")).toString();
        sample.note = query.value(QStringLiteral("note")).toString();
        samples->append(sample);
    }
    return samples;
}
