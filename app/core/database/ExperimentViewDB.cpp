#include "database/ExperimentViewDB.h"

#include <QDebug>
#include <QSqlQuery>
#include <QVariant>

#include "database/RecordText.h"
#include "database/StoreOpening.h"

namespace {
const QString kViewExists = QStringLiteral(
    "select name from sqlite_master where type = 'view' and name = 'ExperimentView'");
const QString kDropView = QStringLiteral("DROP VIEW ExperimentView");
const QString kCreateView = QStringLiteral(
    "CREATE VIEW ExperimentView AS SELECT uuid, expType, name, dateTime, picSavedPath, binning, "
    "exposureTime, gain, contrast, gamma from Westblot_Experiment union all SELECT uuid, "
    "expType, name, dateTime, picSavedPath, binning, exposureTime, gain, contrast, gamma from "
    "Varnu_Experiment ORDER BY dateTime DESC;");
const QString kSelectAll = QStringLiteral("SELECT * FROM ExperimentView");
}  // namespace

ExperimentViewDB::ExperimentViewDB(const QString& stationDir, QObject* parent) : QObject(parent) {
    connectDatabase(stationDir);
}

ExperimentViewDB::~ExperimentViewDB() = default;

QString ExperimentViewDB::connectionName() const {
    return m_connection->connectionName();
}

void ExperimentViewDB::connectDatabase(const QString& stationDir) {
    // The report list can live without the view, so a failure here is only
    // reported; the statements below then fail and say so.
    m_connection = openStore(stationDir, {QStringLiteral("connectDatabase ExperimentView.db."),
                                          QStringLiteral("ExperimentView"),
                                          QStringLiteral("Experiment.db"),
                                          {},
                                          StoreOpening::OnFailure::Warn});
    recreateView();
}

bool ExperimentViewDB::createView() {
    QSqlQuery query(m_connection->database());
    return query.exec(kCreateView);
}

void ExperimentViewDB::recreateView() {
    QSqlDatabase db = m_connection->database();
    QSqlQuery query(db);
    if (query.exec(kViewExists) && query.next()) {
        query.finish();
        QSqlQuery drop(db);
        if (drop.exec(kDropView)) {
            qDebug() << "drop view ExperimentView success.";
        } else {
            qWarning() << "drop view ExperimentView failed.";
        }
    }
    query.finish();
    if (createView()) {
        qDebug() << "view ExperimentView create success.";
    } else {
        qWarning() << "view ExperimentView create failed.";
    }
}

std::unique_ptr<QList<ExperimentViewInfo>> ExperimentViewDB::loadAll() {
    QSqlDatabase db = m_connection->database();
    // One read transaction: both tables are read as of one moment.
    db.transaction();
    std::unique_ptr<QList<ExperimentViewInfo>> rows;
    {
        QSqlQuery query(db);
        query.setForwardOnly(true);
        if (query.exec(kSelectAll)) {
            while (query.next()) {
                if (!rows) {
                    rows = std::make_unique<QList<ExperimentViewInfo>>();
                }
                ExperimentViewInfo info;
                info.uuid = uuidFromColumn(query.value(QStringLiteral("uuid")));
                info.expType = query.value(QStringLiteral("expType")).toInt();
                info.name = query.value(QStringLiteral("name")).toString();
                info.dateTime = dateTimeFromColumn(query.value(QStringLiteral("dateTime")));
                info.picSavedPath = query.value(QStringLiteral("picSavedPath")).toString();
                info.binning = query.value(QStringLiteral("binning")).toInt();
                info.exposureTime = query.value(QStringLiteral("exposureTime")).toString();
                info.gain = query.value(QStringLiteral("gain")).toString();
                info.contrast = query.value(QStringLiteral("contrast")).toInt();
                info.gamma = query.value(QStringLiteral("gamma")).toInt();
                rows->append(info);
            }
        }
    }
    db.commit();
    return rows;
}
