#include "database/Varnu_ExperimentDB.h"

#include <QSqlQuery>
#include <QVariant>

#include "database/ExperimentTable.h"
#include "database/RecordText.h"

namespace {

const QString kCreateTable = QStringLiteral(
    "CREATE TABLE Varnu_Experiment(uuid TEXT UNIQUE, expType INTEGER, name TEXT,dateTime "
    "TIMESTAMP, picSavedPath TEXT, resolution TEXT, binning INTEGER, exposureTime TEXT, gain "
    "TEXT, brightness INTEGER, contrast INTEGER, gamma INTEGER)");
const QString kInsert = QStringLiteral(
    "INSERT INTO Varnu_Experiment(uuid, expType, name, dateTime, picSavedPath, resolution, "
    "binning, exposureTime, gain, brightness, contrast, gamma)VALUES(:uuid, :expType, :name, "
    ":dateTime, :picSavedPath, :resolution, :binning, :exposureTime, :gain, :brightness, "
    ":contrast, :gamma)");

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

void bindExperiment(QSqlQuery& query, const VarnuExperiment& experiment) {
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
}

}  // namespace

Varnu_ExperimentDB::Varnu_ExperimentDB(const QString& stationDir, QObject* parent)
    : QObject(parent),
      m_table(std::make_unique<ExperimentTable<VarnuExperiment>>(
          stationDir,
          ExperimentSchema<VarnuExperiment>{QStringLiteral("Varnu_Experiment"), kCreateTable,
                                            kInsert, readExperiment, bindExperiment})) {}

Varnu_ExperimentDB::~Varnu_ExperimentDB() = default;

QString Varnu_ExperimentDB::connectionName() const {
    return m_table->connectionName();
}

bool Varnu_ExperimentDB::createTable() {
    return m_table->createTable();
}

bool Varnu_ExperimentDB::insertExperiment(const VarnuExperiment& experiment) {
    return m_table->insert(experiment);
}

bool Varnu_ExperimentDB::deleteExperiment(const QUuid& uuid) {
    return m_table->remove(uuid);
}

std::unique_ptr<VarnuExperiment> Varnu_ExperimentDB::loadByUuid(const QUuid& uuid) {
    return m_table->loadByUuid(uuid);
}

std::unique_ptr<VarnuExperiment> Varnu_ExperimentDB::loadByName(const QString& name) {
    return m_table->loadByName(name);
}

bool Varnu_ExperimentDB::updateExperiment(const VarnuExperiment& experiment) {
    return m_table->updateCaptureValues(experiment);
}

bool Varnu_ExperimentDB::updateCapturedPicture(const VarnuExperiment& experiment) {
    return m_table->updateColumns(experiment.uuid,
                                  {{QStringLiteral("name"), experiment.name},
                                   {QStringLiteral("resolution"), experiment.resolution},
                                   {QStringLiteral("exposureTime"), experiment.exposureTime},
                                   {QStringLiteral("gain"), experiment.gain}});
}

std::unique_ptr<QList<VarnuExperiment>> Varnu_ExperimentDB::loadAll() {
    return m_table->loadAll();
}
