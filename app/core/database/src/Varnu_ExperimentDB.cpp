#include "Varnu_ExperimentDB.h"

#include <QDebug>
#include <QSqlQuery>
#include <QVariant>

#include "RecordText.h"
#include "StoreConnection.h"

namespace {

const QString kTableExists = QStringLiteral(
    "select name from sqlite_master where type = 'table' and name = 'Varnu_Experiment'");
const QString kCreateTable = QStringLiteral(
    "CREATE TABLE Varnu_Experiment(uuid TEXT UNIQUE, expType INTEGER, name TEXT,dateTime "
    "TIMESTAMP, picSavedPath TEXT, resolution TEXT, binning INTEGER, exposureTime TEXT, gain "
    "TEXT, brightness INTEGER, contrast INTEGER, gamma INTEGER)");
const QString kInsert = QStringLiteral(
    "INSERT INTO Varnu_Experiment(uuid, expType, name, dateTime, picSavedPath, resolution, "
    "binning, exposureTime, gain, brightness, contrast, gamma)VALUES(:uuid, :expType, :name, "
    ":dateTime, :picSavedPath, :resolution, :binning, :exposureTime, :gain, :brightness, "
    ":contrast, :gamma)");
const QString kDelete = QStringLiteral("DELETE FROM Varnu_Experiment where uuid = :uuid");
const QString kSelectByUuid = QStringLiteral("SELECT * FROM Varnu_Experiment where uuid = :uuid");
const QString kSelectByName = QStringLiteral("SELECT * FROM Varnu_Experiment where name = :name");
const QString kUpdate = QStringLiteral(
    "UPDATE Varnu_Experiment SET exposureTime = :exposureTime, gain = :gain where uuid = :uuid");
const QString kSelectAll = QStringLiteral("SELECT * FROM Varnu_Experiment");

VarnuExperiment readExperiment(const QSqlQuery& query) {
    VarnuExperiment experiment;
    experiment.uuid = uuidFromColumn(query.value(QStringLiteral("uuid")));
    experiment.expType = query.value(QStringLiteral("expType")).toInt();
    experiment.name = query.value(QStringLiteral("name")).toString();
    experiment.dateTime = dateTimeFromColumn(query.value(QStringLiteral("dateTime")));
    experiment.picSavedPath = query.value(QStringLiteral("picSavedPath")).toString();
    experiment.resolution = query.value(QStringLiteral("resolution")).toString();
    experiment.binning = query.value(QStringLiteral("binning")).toInt();
    experiment.exposureTime = query.value(QStringLiteral("exposureTime")).toString();
    experiment.gain = query.value(QStringLiteral("gain")).toString();
    experiment.brightness = query.value(QStringLiteral("brightness")).toInt();
    experiment.contrast = query.value(QStringLiteral("contrast")).toInt();
    experiment.gamma = query.value(QStringLiteral("gamma")).toInt();
    return experiment;
}

}  // namespace

Varnu_ExperimentDB::Varnu_ExperimentDB(const QString& stationDir, QObject* parent)
    : QObject(parent) {
    connectDatabase(stationDir);
}

Varnu_ExperimentDB::~Varnu_ExperimentDB() = default;

QString Varnu_ExperimentDB::connectionName() const {
    return m_connection->connectionName();
}

void Varnu_ExperimentDB::connectDatabase(const QString& stationDir) {
    qDebug() << "connectDatabase Varnu_Experiment.db.";
    const QString folder = databaseFolder(stationDir);
    ensureFolder(folder);
    m_connection = std::make_unique<StoreConnection>(QStringLiteral("Varnu_Experiment"),
                                                     folder + QStringLiteral("Experiment.db"));
    if (!m_connection->open()) {
        qFatal("Experiment.db open failed.");
    }
    qDebug() << "Experiment.db open success.";
    initTable();
}

void Varnu_ExperimentDB::initTable() {
    QSqlQuery query(m_connection->database());
    if (query.exec(kTableExists) && query.next()) {
        return;
    }
    if (createTable()) {
        qDebug() << "table Varnu_Experiment create success.";
    } else {
        qDebug() << "table Varnu_Experiment create failed.";
    }
}

bool Varnu_ExperimentDB::createTable() {
    QSqlQuery query(m_connection->database());
    return query.exec(kCreateTable);
}

bool Varnu_ExperimentDB::insertExperiment(const VarnuExperiment& experiment) {
    QSqlQuery query(m_connection->database());
    query.prepare(kInsert);
    query.bindValue(QStringLiteral(":uuid"), uuidText(experiment.uuid));
    query.bindValue(QStringLiteral(":expType"), experiment.expType);
    query.bindValue(QStringLiteral(":name"), experiment.name);
    query.bindValue(QStringLiteral(":dateTime"), dateTimeText(experiment.dateTime));
    query.bindValue(QStringLiteral(":picSavedPath"), experiment.picSavedPath);
    query.bindValue(QStringLiteral(":resolution"), experiment.resolution);
    query.bindValue(QStringLiteral(":binning"), experiment.binning);
    query.bindValue(QStringLiteral(":exposureTime"), experiment.exposureTime);
    query.bindValue(QStringLiteral(":gain"), experiment.gain);
    query.bindValue(QStringLiteral(":brightness"), experiment.brightness);
    query.bindValue(QStringLiteral(":contrast"), experiment.contrast);
    query.bindValue(QStringLiteral(":gamma"), experiment.gamma);
    return query.exec();
}

bool Varnu_ExperimentDB::deleteExperiment(const QUuid& uuid) {
    QSqlQuery query(m_connection->database());
    query.prepare(kDelete);
    query.bindValue(QStringLiteral(":uuid"), uuidText(uuid));
    return query.exec();
}

std::unique_ptr<VarnuExperiment> Varnu_ExperimentDB::loadOne(const QString& statement,
                                                             const QString& key,
                                                             const QString& value) {
    QSqlQuery query(m_connection->database());
    query.setForwardOnly(true);
    query.prepare(statement);
    query.bindValue(key, value);
    if (!query.exec()) {
        return nullptr;
    }
    std::unique_ptr<VarnuExperiment> last;
    while (query.next()) {
        last = std::make_unique<VarnuExperiment>(readExperiment(query));
    }
    return last;
}

std::unique_ptr<VarnuExperiment> Varnu_ExperimentDB::loadByUuid(const QUuid& uuid) {
    return loadOne(kSelectByUuid, QStringLiteral(":uuid"), uuidText(uuid));
}

std::unique_ptr<VarnuExperiment> Varnu_ExperimentDB::loadByName(const QString& name) {
    return loadOne(kSelectByName, QStringLiteral(":name"), name);
}

bool Varnu_ExperimentDB::updateExperiment(const VarnuExperiment& experiment) {
    QSqlQuery query(m_connection->database());
    query.prepare(kUpdate);
    query.bindValue(QStringLiteral(":exposureTime"), experiment.exposureTime);
    query.bindValue(QStringLiteral(":gain"), experiment.gain);
    query.bindValue(QStringLiteral(":uuid"), uuidText(experiment.uuid));
    return query.exec();
}

std::unique_ptr<QList<VarnuExperiment>> Varnu_ExperimentDB::loadAll() {
    QSqlQuery query(m_connection->database());
    query.setForwardOnly(true);
    if (!query.exec(kSelectAll)) {
        return nullptr;
    }
    std::unique_ptr<QList<VarnuExperiment>> experiments;
    while (query.next()) {
        if (!experiments) {
            experiments = std::make_unique<QList<VarnuExperiment>>();
        }
        experiments->append(readExperiment(query));
    }
    return experiments;
}
