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

// Where each run of rows in time order starts: the rows stamped earlier than
// the row before them. The runs are known while no row lacks a time stamp,
// no row was written between two others out of order, and no id or time
// stamp was changed.
const QString kCreateRunsTable =
    QStringLiteral("CREATE TABLE IF NOT EXISTS AuditTrailTimeRuns(firstId INTEGER PRIMARY KEY)");
const QString kCreateRunStateTable =
    QStringLiteral("CREATE TABLE IF NOT EXISTS AuditTrailTimeRunState(known INTEGER)");
const QString kReadRunState = QStringLiteral("SELECT known FROM AuditTrailTimeRunState");
const QString kFindRuns = QStringLiteral(
    "INSERT INTO AuditTrailTimeRuns(firstId) SELECT id FROM (SELECT id, timestamp AS stamp, "
    "lag(timestamp) OVER (ORDER BY id) AS previous FROM AuditTrail) WHERE stamp < previous");
const QString kCheckStamps =
    QStringLiteral("SELECT NOT EXISTS (SELECT 1 FROM AuditTrail WHERE timestamp IS NULL)");
const QString kStoreRunState =
    QStringLiteral("INSERT INTO AuditTrailTimeRunState(known) VALUES(:known)");
const QString kRunStartTrigger = QStringLiteral(
    "CREATE TRIGGER IF NOT EXISTS AuditTrail_insertRunStart AFTER INSERT ON AuditTrail WHEN "
    "NEW.timestamp < (SELECT timestamp FROM AuditTrail WHERE id < NEW.id ORDER BY id DESC LIMIT "
    "1) BEGIN INSERT OR IGNORE INTO AuditTrailTimeRuns(firstId) VALUES(NEW.id); END");
const QString kRunLossTrigger = QStringLiteral(
    "CREATE TRIGGER IF NOT EXISTS AuditTrail_insertRunLoss AFTER INSERT ON AuditTrail WHEN "
    "NEW.timestamp IS NULL OR NEW.timestamp > (SELECT timestamp FROM AuditTrail WHERE id > "
    "NEW.id ORDER BY id LIMIT 1) BEGIN UPDATE AuditTrailTimeRunState SET known = 0; END");
const QString kRunUpdateTrigger = QStringLiteral(
    "CREATE TRIGGER IF NOT EXISTS AuditTrail_updateRuns AFTER UPDATE OF id, timestamp ON "
    "AuditTrail BEGIN UPDATE AuditTrailTimeRunState SET known = 0; END");
// The first row from an id on (or the last up to an id) within a run, and
// whether its time stamp lies on the inner side of a bound.
const QString kNextInRun = QStringLiteral(
    "SELECT id, timestamp >= :bound FROM AuditTrail WHERE id >= :id AND id <= :last ORDER BY id "
    "LIMIT 1");
const QString kPreviousInRun = QStringLiteral(
    "SELECT id, timestamp <= :bound FROM AuditTrail WHERE id <= :id AND id >= :first ORDER BY id "
    "DESC LIMIT 1");

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

bool runsKnown(QSqlDatabase db) {
    QSqlQuery query(db);
    return query.exec(kReadRunState) && query.next() && query.value(0).toInt() == 1;
}

// Where each run starts, in id order; the first run starts at id 0.
QList<qint64> runStarts(QSqlDatabase db) {
    QList<qint64> starts{0};
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (query.exec(QStringLiteral("SELECT firstId FROM AuditTrailTimeRuns ORDER BY firstId"))) {
        while (query.next()) {
            starts.append(query.value(0).toLongLong());
        }
    }
    return starts;
}

// A row of a run near an id: its id and whether its time stamp lies on the
// inner side of the bound.
struct RunRow {
    qint64 id = -1;  // -1: no row
    bool inside = false;
};

RunRow runRow(QSqlQuery& query, qint64 id) {
    query.bindValue(QStringLiteral(":id"), id);
    if (!query.exec() || !query.next()) {
        return {};
    }
    return {query.value(0).toLongLong(), query.value(1).toInt() == 1};
}

// The first id of the run [first, last] stamped at or after start, by a
// binary search (the run is in time order); -1 when there is none.
qint64 firstIdFrom(QSqlDatabase db, qint64 first, qint64 last, const QString& start) {
    QSqlQuery query(db);
    query.prepare(kNextInRun);
    query.bindValue(QStringLiteral(":bound"), start);
    query.bindValue(QStringLiteral(":last"), last);
    qint64 low = first, high = last;
    // The answer, if any, is the row found from some id in [low, high].
    while (low < high) {
        const qint64 middle = low + (high - low) / 2;
        const RunRow row = runRow(query, middle);
        if (row.id < 0 || row.inside) {
            high = middle;
        } else {
            low = row.id + 1;
        }
    }
    const RunRow row = runRow(query, low);
    return row.inside ? row.id : -1;
}

// The last id of the run [first, last] stamped at or before end; -1 when
// there is none.
qint64 lastIdUpTo(QSqlDatabase db, qint64 first, qint64 last, const QString& end) {
    QSqlQuery query(db);
    query.prepare(kPreviousInRun);
    query.bindValue(QStringLiteral(":bound"), end);
    query.bindValue(QStringLiteral(":first"), first);
    qint64 low = first, high = last;
    while (low < high) {
        const qint64 middle = high - (high - low) / 2;
        const RunRow row = runRow(query, middle);
        if (row.id < 0 || row.inside) {
            low = middle;
        } else {
            high = row.id - 1;
        }
    }
    const RunRow row = runRow(query, high);
    return row.inside ? row.id : -1;
}

// The id ranges of the rows of a time range, one per run, newest first.
QList<QPair<qint64, qint64>> runRanges(QSqlDatabase db, const QString& startTime,
                                       const QString& endTime) {
    QList<QPair<qint64, qint64>> ranges;
    QSqlQuery largest(db);
    if (!largest.exec(QStringLiteral("SELECT max(id) FROM AuditTrail")) || !largest.next() ||
        largest.value(0).isNull()) {
        return ranges;
    }
    const qint64 largestId = largest.value(0).toLongLong();
    const QList<qint64> starts = runStarts(db);
    for (int i = starts.size() - 1; i >= 0; --i) {
        const qint64 first = starts[i];
        const qint64 last = i + 1 < starts.size() ? starts[i + 1] - 1 : largestId;
        const qint64 from = startTime.isEmpty() ? first : firstIdFrom(db, first, last, startTime);
        const qint64 to = endTime.isEmpty() ? last : lastIdUpTo(db, first, last, endTime);
        if (from >= 0 && to >= 0 && from <= to) {
            ranges.append({from, to});
        }
    }
    return ranges;
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
    QSqlQuery(db).exec(kCreateRunsTable);
    QSqlQuery(db).exec(kCreateRunStateTable);
    QSqlQuery readRuns(db);
    if (readRuns.exec(kReadRunState) && !readRuns.next()) {
        QSqlQuery(db).exec(QStringLiteral("DELETE FROM AuditTrailTimeRuns"));
        QSqlQuery(db).exec(kFindRuns);
        QSqlQuery check(db);
        const bool stamped =
            check.exec(kCheckStamps) && check.next() && check.value(0).toInt() == 1;
        check.finish();
        QSqlQuery store(db);
        store.prepare(kStoreRunState);
        store.bindValue(QStringLiteral(":known"), stamped ? 1 : 0);
        store.exec();
    }
    readRuns.finish();
    for (const QString& trigger :
         {kInsertTrigger, kUpdateTrigger, kRunStartTrigger, kRunLossTrigger, kRunUpdateTrigger}) {
        QSqlQuery(db).exec(trigger);
    }
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
        filter.idRanges.append({firstId, lastId});
        return filter;
    }
    if (timeRange && runsKnown(db)) {
        filter.idRanges = runRanges(db, startTime, endTime);
        filter.matchesNothing = filter.idRanges.isEmpty();
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
