#pragma once

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>
#include <QUuid>
#include <memory>

template <typename Record>
class ExperimentTable;

// One gel/UV capture, a row of the table Varnu_Experiment.
struct VarnuExperiment {
    QUuid uuid = QUuid::createUuid();
    int expType = 0;  // ExperimentType; gel/UV rows carry 0
    QString name;
    QDateTime dateTime;  // stored as "yyyy-MM-dd hh:mm:ss", whole seconds
    QString picSavedPath;
    QString resolution;
    int binning = 0;
    QString exposureTime;  // filled in after the capture
    QString gain;          // filled in after the capture
    int brightness = 0;
    int contrast = 0;
    int gamma = 0;
};

// The gel/UV experiments: table Varnu_Experiment of
// <station>/DataBase/Experiment.db. Safe to call from a worker thread while
// no other thread calls it (each thread gets a connection of its own).
class Varnu_ExperimentDB : public QObject {
    Q_OBJECT
  public:
    explicit Varnu_ExperimentDB(const QString& stationDir, QObject* parent = nullptr);
    ~Varnu_ExperimentDB() override;

    bool createTable();
    bool insertExperiment(const VarnuExperiment& experiment);
    bool deleteExperiment(const QUuid& uuid);
    // Null when nothing matches; of several rows of one name the last one
    // the query yields.
    std::unique_ptr<VarnuExperiment> loadByUuid(const QUuid& uuid);
    std::unique_ptr<VarnuExperiment> loadByName(const QString& name);
    // Writes `exposureTime` and `gain` of the row of `experiment.uuid`.
    bool updateExperiment(const VarnuExperiment& experiment);
    // Writes what a capture found out: `name` (the number its picture got),
    // `resolution` (the picture's size), `exposureTime` and `gain` of the
    // row of `experiment.uuid`, in one statement.
    bool updateCapturedPicture(const VarnuExperiment& experiment);
    // Null when the query fails or the table is empty.
    std::unique_ptr<QList<VarnuExperiment>> loadAll();

    QString connectionName() const;

  private:
    std::unique_ptr<ExperimentTable<VarnuExperiment>> m_table;
};
