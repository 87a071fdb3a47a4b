#pragma once

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>
#include <QUuid>
#include <memory>

template <typename Record>
class ExperimentTable;

// One western-blot capture, a row of the table Westblot_Experiment.
struct WestblotExperiment {
    QUuid uuid = QUuid::createUuid();
    int expType = 0;     // ExperimentType; western-blot rows carry 1
    QString name;        // unique
    QDateTime dateTime;  // stored as "yyyy-MM-dd hh:mm:ss", whole seconds
    QString picSavedPath;
    int binning = 0;
    QString exposureTime;  // filled in after the capture
    QString gain;          // filled in after the capture
    int blackLevel = 0;
    int contrast = 0;
    int gamma = 0;
};

// The western-blot experiments: table Westblot_Experiment of
// <station>/DataBase/Experiment.db. Safe to call from a worker thread while
// no other thread calls it (each thread gets a connection of its own).
class Westblot_ExperimentDB : public QObject {
    Q_OBJECT
  public:
    explicit Westblot_ExperimentDB(const QString& stationDir, QObject* parent = nullptr);
    ~Westblot_ExperimentDB() override;

    bool createTable();
    // False when the name or the uuid is already stored.
    bool insertExperiment(const WestblotExperiment& experiment);
    bool deleteExperiment(const QUuid& uuid);
    // Null when nothing matches.
    std::unique_ptr<WestblotExperiment> loadByUuid(const QUuid& uuid);
    std::unique_ptr<WestblotExperiment> loadByName(const QString& name);
    // Writes `exposureTime` and `gain` of the row of `experiment.uuid`.
    bool updateExperiment(const WestblotExperiment& experiment);
    // Null when the query fails or the table is empty.
    std::unique_ptr<QList<WestblotExperiment>> loadAll();

    QString connectionName() const;

  private:
    std::unique_ptr<ExperimentTable<WestblotExperiment>> m_table;
};
