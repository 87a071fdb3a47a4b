#pragma once

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>
#include <QUuid>
#include <memory>

class StoreConnection;

// One row of the view ExperimentView: an experiment of either kind, told
// apart by `expType` (0 gel/UV, 1 western blot).
struct ExperimentViewInfo {
    QUuid uuid;  // null until loaded
    int expType = 0;
    QString name;
    QDateTime dateTime;
    QString picSavedPath;
    int binning = 0;
    QString exposureTime;
    QString gain;
    int contrast = 0;
    int gamma = 0;
};

// All experiments of both kinds, newest first: the view ExperimentView of
// <station>/DataBase/Experiment.db over the tables Westblot_Experiment and
// Varnu_Experiment. Create it after both experiment stores.
class ExperimentViewDB : public QObject {
    Q_OBJECT
  public:
    explicit ExperimentViewDB(const QString& stationDir, QObject* parent = nullptr);
    ~ExperimentViewDB() override;

    bool createView();
    // Drops the view when it exists and creates it again.
    void recreateView();
    // The view's rows in its order; null when it has none (or cannot be read).
    std::unique_ptr<QList<ExperimentViewInfo>> loadAll();

    QString connectionName() const;

  private:
    void connectDatabase(const QString& stationDir);

    std::unique_ptr<StoreConnection> m_connection;
};
