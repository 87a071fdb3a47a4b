#include "database/Westblot_ExperimentDB.h"

#include <QSqlQuery>
#include <QVariant>

#include "database/ExperimentTable.h"
#include "database/RecordText.h"

namespace {

const QString kCreateTable = QStringLiteral(
    "CREATE TABLE Westblot_Experiment(uuid TEXT UNIQUE, expType INTEGER, name TEXT "
    "UNIQUE,dateTime TIMESTAMP, picSavedPath TEXT, binning INTEGER, exposureTime TEXT, gain "
    "TEXT, blackLevel INTEGER, contrast INTEGER, gamma INTEGER)");
const QString kInsert = QStringLiteral(
    "INSERT INTO Westblot_Experiment(uuid, expType, name, dateTime, picSavedPath, binning, "
    "exposureTime, gain, blackLevel, contrast, gamma)VALUES(:uuid, :expType, :name, :dateTime, "
    ":picSavedPath, :binning, :exposureTime, :gain, :blackLevel, :contrast, :gamma)");

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

void bindExperiment(QSqlQuery& query, const WestblotExperiment& experiment) {
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
}

}  // namespace

Westblot_ExperimentDB::Westblot_ExperimentDB(const QString& stationDir, QObject* parent)
    : QObject(parent),
      m_table(std::make_unique<ExperimentTable<WestblotExperiment>>(
          stationDir,
          ExperimentSchema<WestblotExperiment>{QStringLiteral("Westblot_Experiment"), kCreateTable,
                                               kInsert, readExperiment, bindExperiment})) {}

Westblot_ExperimentDB::~Westblot_ExperimentDB() = default;

QString Westblot_ExperimentDB::connectionName() const {
    return m_table->connectionName();
}

bool Westblot_ExperimentDB::createTable() {
    return m_table->createTable();
}

bool Westblot_ExperimentDB::insertExperiment(const WestblotExperiment& experiment) {
    return m_table->insert(experiment);
}

bool Westblot_ExperimentDB::deleteExperiment(const QUuid& uuid) {
    return m_table->remove(uuid);
}

std::unique_ptr<WestblotExperiment> Westblot_ExperimentDB::loadByUuid(const QUuid& uuid) {
    return m_table->loadByUuid(uuid);
}

std::unique_ptr<WestblotExperiment> Westblot_ExperimentDB::loadByName(const QString& name) {
    return m_table->loadByName(name);
}

bool Westblot_ExperimentDB::updateExperiment(const WestblotExperiment& experiment) {
    return m_table->updateCaptureValues(experiment);
}

std::unique_ptr<QList<WestblotExperiment>> Westblot_ExperimentDB::loadAll() {
    return m_table->loadAll();
}
