#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QUuid>
#include <memory>

class StoreConnection;

// One sample type, a row of the table Sample.
struct SampleInfo {
    QUuid uuid = QUuid::createUuid();
    QString sampleName;
    QString note;
};

// The sample types: table Sample of <station>/DataBase/Sample.db.
class SampleDB : public QObject {
    Q_OBJECT
  public:
    explicit SampleDB(const QString& stationDir, QObject* parent = nullptr);
    ~SampleDB() override;

    // False for a name that is already stored.
    bool insertSample(const SampleInfo& sample);
    // False when the statement fails or no row has that uuid.
    bool deleteSample(const QUuid& uuid);
    // Every name in query order; empty when the query fails.
    QStringList loadSampleNames();
    // Null when the query fails or the table is empty.
    std::unique_ptr<QList<SampleInfo>> loadAll();

    QString connectionName() const;

  private:
    void connectDatabase(const QString& stationDir);
    void initTable();

    std::unique_ptr<StoreConnection> m_connection;
};
