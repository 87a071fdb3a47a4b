#include "database/AuditTrailFilter.h"

#include <QSqlQuery>

#include "database/AuditTrailDB.h"

namespace {

const QString kCreateOrderTable =
    QStringLiteral("CREATE TABLE IF NOT EXISTS AuditTrailTimeOrder(ordered INTEGER)");
const QString kReadOrder = QStringLiteral("SELECT ordered FROM AuditTrailTimeOrder");
// True when no row has a missing time stamp or one earlier than its
// predecessor's.
const QString kCheckRows = QStringLiteral(
    "SELECT NOT EXISTS (SELECT 1 FROM (SELECT timestamp AS stamp, lag(timestamp) OVER (ORDER BY "
    "id) AS previous FROM AuditTrail) WHERE stamp IS NULL OR stamp < previous)");
const QString kStoreOrder =
    QStringLiteral("INSERT INTO AuditTrailTimeOrder(ordered) VALUES(:ordered)");
// A new row breaks the order when its time stamp is missing, or earlier than
// the row before it, or later than the row after it (an explicit id).
const QString kInsertTrigger = QStringLiteral(
    "CREATE TRIGGER IF NOT EXISTS AuditTrail_insertOrder AFTER INSERT ON AuditTrail WHEN "
    "NEW.timestamp IS NULL OR NEW.timestamp < (SELECT timestamp FROM AuditTrail WHERE id < "
    "NEW.id ORDER BY id DESC LIMIT 1) OR NEW.timestamp > (SELECT timestamp FROM AuditTrail WHERE "
    "id > NEW.id ORDER BY id LIMIT 1) BEGIN UPDATE AuditTrailTimeOrder SET ordered = 0; END");
// Any change of a time stamp or an id may break it.
const QString kUpdateTrigger = QStringLiteral(
    "CREATE TRIGGER IF NOT EXISTS AuditTrail_updateOrder AFTER UPDATE OF id, timestamp ON "
    "AuditTrail BEGIN UPDATE AuditTrailTimeOrder SET ordered = 0; END");

bool rowsInTimeOrder(QSqlDatabase db) {
    QSqlQuery query(db);
    return query.exec(kReadOrder) && query.next() && query.value(0).toInt() == 1;
}

// The first (or last) id of the rows of a language inside a time range, in
// the order of the time index; -1 when the range holds no row.
qint64 boundaryId(QSqlDatabase db, bool first, const QString& startTime, const QString& endTime,
                  int languageId) {
    QString statement = QStringLiteral("SELECT id FROM AuditTrail WHERE languageId = :languageId");
    if (!startTime.isEmpty()) {
        statement += QStringLiteral(" AND timestamp >= :startTime");
    }
    if (!endTime.isEmpty()) {
        statement += QStringLiteral(" AND timestamp <= :endTime");
    }
    statement += first ? QStringLiteral(" ORDER BY timestamp, id LIMIT 1")
                       : QStringLiteral(" ORDER BY timestamp DESC, id DESC LIMIT 1");
    QSqlQuery query(db);
    query.prepare(statement);
    query.bindValue(QStringLiteral(":languageId"), languageId);
    if (!startTime.isEmpty()) {
        query.bindValue(QStringLiteral(":startTime"), startTime);
    }
    if (!endTime.isEmpty()) {
        query.bindValue(QStringLiteral(":endTime"), endTime);
    }
    return (query.exec() && query.next()) ? query.value(0).toLongLong() : -1;
}

}  // namespace

void AuditTrailFilter::bindTo(QSqlQuery& query) const {
    for (const auto& value : values) {
        query.bindValue(value.first, value.second);
    }
}

void prepareAuditTrailTimeOrder(QSqlDatabase db) {
    // One write transaction, so no row slips in between the check and the
    // triggers.
    QSqlQuery begin(db);
    if (!begin.exec(QStringLiteral("BEGIN IMMEDIATE"))) {
        return;
    }
    QSqlQuery(db).exec(kCreateOrderTable);
    QSqlQuery read(db);
    if (read.exec(kReadOrder) && !read.next()) {
        QSqlQuery check(db);
        const bool ordered = check.exec(kCheckRows) && check.next() && check.value(0).toInt() == 1;
        check.finish();
        QSqlQuery store(db);
        store.prepare(kStoreOrder);
        store.bindValue(QStringLiteral(":ordered"), ordered ? 1 : 0);
        store.exec();
    }
    read.finish();
    QSqlQuery(db).exec(kInsertTrigger);
    QSqlQuery(db).exec(kUpdateTrigger);
    QSqlQuery(db).exec(QStringLiteral("COMMIT"));
}

AuditTrailFilter buildAuditTrailFilter(QSqlDatabase db, int page, const QString& handler,
                                       const QString& startTime, const QString& endTime,
                                       int languageId) {
    AuditTrailFilter filter;
    filter.condition = QStringLiteral("where languageId = :languageId");
    filter.values.append({QStringLiteral(":languageId"), languageId});
    if (page != AuditTrailDB::kAnyPage) {
        filter.condition += QStringLiteral(" and model = :model");
        filter.values.append({QStringLiteral(":model"), AuditTrailDB::pageName(page, languageId)});
    }
    if (!handler.isEmpty()) {
        filter.condition += QStringLiteral(" and handler = :handler");
        filter.values.append({QStringLiteral(":handler"), handler});
    }
    const bool timeRange = !startTime.isEmpty() || !endTime.isEmpty();
    if (timeRange && rowsInTimeOrder(db)) {
        // The rows of the range are exactly those from its first to its last id.
        const qint64 firstId = boundaryId(db, true, startTime, endTime, languageId);
        const qint64 lastId = boundaryId(db, false, startTime, endTime, languageId);
        if (firstId < 0 || lastId < 0) {
            filter.matchesNothing = true;
            return filter;
        }
        filter.condition += QStringLiteral(" and id >= :firstId and id <= :lastId");
        filter.values.append({QStringLiteral(":firstId"), firstId});
        filter.values.append({QStringLiteral(":lastId"), lastId});
        return filter;
    }
    if (!startTime.isEmpty()) {
        filter.condition += QStringLiteral(" and timestamp >= :startTime");
        filter.values.append({QStringLiteral(":startTime"), startTime});
    }
    if (!endTime.isEmpty()) {
        filter.condition += QStringLiteral(" and timestamp <= :endTime");
        filter.values.append({QStringLiteral(":endTime"), endTime});
    }
    return filter;
}
