#include "Westblot_ExperimentDB.h"

#include <QDebug>
#include <QSqlQuery>
#include <QVariant>

#include "RecordText.h"
#include "StoreConnection.h"

namespace {

const QString kTableExists = QStringLiteral(
    "select name from sqlite_master where type = 'table' and name = 'Westblot_Experiment'");
const QString kCreateTable = QStringLiteral(
    "CREATE TABLE Westblot_Experiment(uuid TEXT UNIQUE, expType INTEGER, name TEXT "
    "UNIQUE,dateTime TIMESTAMP, picSavedPath TEXT, binning INTEGER, exposureTime TEXT, gain "
    "TEXT, blackLevel INTEGER, contrast INTEGER, gamma INTEGER)");
const QString kInsert = QStringLiteral(
    "INSERT INTO Westblot_Experiment(uuid, expType, name, dateTime, picSavedPath, binning, "
    "exposureTime, gain, blackLevel, contrast, gamma)VALUES(:uuid, :expType, :name, :dateTime, "
    ":picSavedPath, :binning, :exposureTime, :gain, :blackLevel, :contrast, :gamma)");
const QString kDelete = QStringLiteral("DELETE FROM Westblot_Experiment where uuid = :uuid");
const QString kSelectByUuid =
    QStringLiteral("SELECT * FROM Westblot_Experiment where uuid = :uuid");
const QString kSelectByName =
    QStringLiteral("SELECT * FROM Westblot_Experiment where name = :name");
const QString kUpdate = QStringLiteral(
    "UPDATE Westblot_Experiment SET exposureTime = :exposureTime, gain = :gain where uuid = :uuid");
const QString kSelectAll = QStringLiteral("SELECT * FROM Westblot_Experiment");

WestblotExperiment readExperiment(const QSqlQuery& query) {
    WestblotExperiment experiment;
    experiment.uuid = uuidFromColumn(query.value(QStringLiteral("uuid")));
    experiment.expType = query.value(QStringLiteral("expType")).toInt();
    experiment.name = query.value(QStringLiteral("name")).toString();
    experiment.dateTime = dateTimeFromColumn(query.value(QStringLiteral("dateTime")));
    experiment.picSavedPath = query.value(QStringLiteral("picSavedPath")).toString();
    experiment.binning = query.value(QStringLiteral("binning")).toInt();
    experiment.exposureTime = query.value(QStringLiteral("exposureTime")).toString();
    experiment.gain = query.value(QStringLiteral("gain")).toString();
    experiment.blackLevel = query.value(QStringLiteral("blackLevel")).toInt();
    experiment.contrast = query.value(QStringLiteral("contrast")).toInt();
    experiment.gamma = query.value(QStringLiteral("gamma")).toInt();
    return experiment;
}

}  // namespace

Westblot_ExperimentDB::Westblot_ExperimentDB(const QString& stationDir, QObject* parent)
    : QObject(parent) {
    connectDatabase(stationDir);
}

Westblot_ExperimentDB::~Westblot_ExperimentDB() = default;

QString Westblot_ExperimentDB::connectionName() const {
    return m_connection->connectionName();
}

void Westblot_ExperimentDB::connectDatabase(const QString& stationDir) {
    qDebug() << "connectDatabase Westblot_Experiment.db.";
    const QString folder = databaseFolder(stationDir);
    ensureFolder(folder);
    m_connection = std::make_unique<StoreConnection>(QStringLiteral("Westblot_Experiment"),
                                                     folder + QStringLiteral("Experiment.db"));
    if (!m_connection->open()) {
        qFatal("Experiment.db open failed.");
    }
    qDebug() << "Experiment.db open success.";
    initTable();
}

void Westblot_ExperimentDB::initTable() {
    QSqlQuery query(m_connection->database());
    if (query.exec(kTableExists) && query.next()) {
        return;
    }
    if (createTable()) {
        qDebug() << "table Westblot_Experiment create success.";
    } else {
        qDebug() << "table Westblot_Experiment create failed.";
    }
}

bool Westblot_ExperimentDB::createTable() {
    QSqlQuery query(m_connection->database());
    return query.exec(kCreateTable);
}

bool Westblot_ExperimentDB::insertExperiment(const WestblotExperiment& experiment) {
    QSqlQuery query(m_connection->database());
    query.prepare(kInsert);
    query.bindValue(QStringLiteral(":uuid"), uuidText(experiment.uuid));
    query.bindValue(QStringLiteral(":expType"), experiment.expType);
    query.bindValue(QStringLiteral(":name"), experiment.name);
    query.bindValue(QStringLiteral(":dateTime"), dateTimeText(experiment.dateTime));
    query.bindValue(QStringLiteral(":picSavedPath"), experiment.picSavedPath);
    query.bindValue(QStringLiteral(":binning"), experiment.binning);
    query.bindValue(QStringLiteral(":exposureTime"), experiment.exposureTime);
    query.bindValue(QStringLiteral(":gain"), experiment.gain);
    query.bindValue(QStringLiteral(":blackLevel"), experiment.blackLevel);
    query.bindValue(QStringLiteral(":contrast"), experiment.contrast);
    query.bindValue(QStringLiteral(":gamma"), experiment.gamma);
    return query.exec();
}

bool Westblot_ExperimentDB::deleteExperiment(const QUuid& uuid) {
    QSqlQuery query(m_connection->database());
    query.prepare(kDelete);
    query.bindValue(QStringLiteral(":uuid"), uuidText(uuid));
    return query.exec();
}

std::unique_ptr<WestblotExperiment> Westblot_ExperimentDB::loadOne(const QString& statement,
                                                                   const QString& key,
                                                                   const QString& value) {
    QSqlQuery query(m_connection->database());
    query.setForwardOnly(true);
    query.prepare(statement);
    query.bindValue(key, value);
    if (!query.exec()) {
        return nullptr;
    }
    std::unique_ptr<WestblotExperiment> last;
    while (query.next()) {
        last = std::make_unique<WestblotExperiment>(readExperiment(query));
    }
    return last;
}

std::unique_ptr<WestblotExperiment> Westblot_ExperimentDB::loadByUuid(const QUuid& uuid) {
    return loadOne(kSelectByUuid, QStringLiteral(":uuid"), uuidText(uuid));
}

std::unique_ptr<WestblotExperiment> Westblot_ExperimentDB::loadByName(const QString& name) {
    return loadOne(kSelectByName, QStringLiteral(":name"), name);
}

bool Westblot_ExperimentDB::updateExperiment(const WestblotExperiment& experiment) {
    QSqlQuery query(m_connection->database());
    query.prepare(kUpdate);
    query.bindValue(QStringLiteral(":exposureTime"), experiment.exposureTime);
    query.bindValue(QStringLiteral(":gain"), experiment.gain);
    query.bindValue(QStringLiteral(":uuid"), uuidText(experiment.uuid));
    return query.exec();
}

std::unique_ptr<QList<WestblotExperiment>> Westblot_ExperimentDB::loadAll() {
    QSqlQuery query(m_connection->database());
    query.setForwardOnly(true);
    if (!query.exec(kSelectAll)) {
        return nullptr;
    }
    std::unique_ptr<QList<WestblotExperiment>> experiments;
    while (query.next()) {
        if (!experiments) {
            experiments = std::make_unique<QList<WestblotExperiment>>();
        }
        experiments->append(readExperiment(query));
    }
    return experiments;
}
