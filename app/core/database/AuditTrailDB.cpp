#include "database/AuditTrailDB.h"

#include <QDateTime>
#include <QDebug>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <algorithm>

#include "database/AuditTrailFilter.h"
#include "database/StoreOpening.h"

namespace {

const QString kCreateTable = QStringLiteral(
    "CREATE TABLE AuditTrail(id INTEGER PRIMARY KEY AUTOINCREMENT,timestamp DATETIME DEFAULT "
    "CURRENT_TIMESTAMP,model TEXT,handler TEXT,content TEXT,languageId INTEGER)");
const QString kInsert = QStringLiteral(
    "INSERT INTO AuditTrail(model, handler, content, languageId) VALUES(:model, :handler, "
    ":content, :languageId)");
const QString kCountByLanguage =
    QStringLiteral("SELECT COUNT(*) FROM AuditTrail where languageId = :languageId");

// Indexes for the audit page: each filter it offers finds its rows, and its
// newest rows first, without reading the whole table. Every index leads with
// the language, since every query names it.
const QStringList kCreateIndexes{
    QStringLiteral("CREATE INDEX IF NOT EXISTS AuditTrail_language ON AuditTrail(languageId)"),
    QStringLiteral(
        "CREATE INDEX IF NOT EXISTS AuditTrail_handler ON AuditTrail(languageId, handler)"),
    QStringLiteral("CREATE INDEX IF NOT EXISTS AuditTrail_model ON AuditTrail(languageId, model)"),
    QStringLiteral("CREATE INDEX IF NOT EXISTS AuditTrail_modelHandler ON AuditTrail(languageId, "
                   "model, handler)"),
    QStringLiteral(
        "CREATE INDEX IF NOT EXISTS AuditTrail_time ON AuditTrail(languageId, timestamp)"),
};

const QString kStoredTimeFormat = QStringLiteral("yyyy-MM-dd hh:mm:ss");

// Reads the boundaries of a time range and the rows between them as of one
// moment, so a row written meanwhile cannot fall between the two.
class ReadTransaction {
  public:
    explicit ReadTransaction(QSqlDatabase db) : m_db(db), m_open(m_db.transaction()) {}
    ~ReadTransaction() {
        if (m_open) {
            m_db.commit();
        }
    }
    ReadTransaction(const ReadTransaction&) = delete;
    ReadTransaction& operator=(const ReadTransaction&) = delete;

  private:
    QSqlDatabase m_db;
    bool m_open;
};

int firstInt(QSqlQuery& query) {
    return (query.exec() && query.next()) ? query.value(0).toInt() : 0;
}

using IdRange = QPair<qint64, qint64>;

// The condition of a filter, narrowed to an id range when there is one.
QString conditionIn(const AuditTrailFilter& filter, const IdRange* range) {
    return range == nullptr
               ? filter.condition
               : filter.condition + QStringLiteral(" and id >= :firstId and id <= :lastId");
}

void bindFilter(QSqlQuery& query, const AuditTrailFilter& filter, const IdRange* range) {
    filter.bindTo(query);
    if (range != nullptr) {
        query.bindValue(QStringLiteral(":firstId"), range->first);
        query.bindValue(QStringLiteral(":lastId"), range->second);
    }
}

int countRows(QSqlDatabase db, const AuditTrailFilter& filter, const IdRange* range) {
    QSqlQuery query(db);
    query.prepare(QStringLiteral("SELECT COUNT(*) FROM AuditTrail ") + conditionIn(filter, range));
    bindFilter(query, filter, range);
    return firstInt(query);
}

// Appends the matching rows newest first (by id); `limit` <= 0 means no
// limit, `offset` <= 0 none. The number of rows appended.
int appendRows(QSqlDatabase db, const AuditTrailFilter& filter, const IdRange* range, int offset,
               int limit, QList<AuditTrailInfo>& rows) {
    QString statement = QStringLiteral("SELECT * FROM AuditTrail ") + conditionIn(filter, range) +
                        " order by id DESC";
    // SQLite takes an offset only after a limit; -1 stands for "no limit".
    const bool paged = limit > 0 || offset > 0;
    if (paged) {
        statement += QStringLiteral(" limit :limit offset :offset");
    }
    QSqlQuery query(db);
    query.setForwardOnly(true);
    query.prepare(statement);
    bindFilter(query, filter, range);
    if (paged) {
        query.bindValue(QStringLiteral(":limit"), limit > 0 ? limit : -1);
        query.bindValue(QStringLiteral(":offset"), offset > 0 ? offset : 0);
    }
    if (!query.exec()) {
        return 0;
    }
    int added = 0;
    while (query.next()) {
        AuditTrailInfo info;
        info.model = query.value(QStringLiteral("model")).toString();
        info.handler = query.value(QStringLiteral("handler")).toString();
        info.content = query.value(QStringLiteral("content")).toString();
        info.timestamp = query.value(QStringLiteral("timestamp")).toString();
        rows.append(info);
        ++added;
    }
    return added;
}

}  // namespace

AuditTrailDB::AuditTrailDB(const QString& stationDir, QObject* parent) : QObject(parent) {
    connectDatabase(stationDir);
}

AuditTrailDB::~AuditTrailDB() = default;

QString AuditTrailDB::connectionName() const {
    return m_connection->connectionName();
}

void AuditTrailDB::connectDatabase(const QString& stationDir) {
    m_connection =
        openStore(stationDir, {QStringLiteral("connectDatabase AuditTrail.db"),
                               QStringLiteral("AuditTrail"), QStringLiteral("AuditTrail.db")});
    initTable();
}

void AuditTrailDB::initTable() {
    QSqlDatabase db = m_connection->database();
    createMissingTable(db, QStringLiteral("AuditTrail"), kCreateTable,
                       QStringLiteral("Table create sueccess"));
    for (const QString& statement : kCreateIndexes) {
        QSqlQuery index(db);
        index.exec(statement);
    }
    prepareAuditTrailTimeOrder(db);
}

QString AuditTrailDB::pageName(int page, int languageId) {
    if (languageId == 0) {
        switch (page) {
            case 0:
                return QStringLiteral("主页");
            case 1:
                return QStringLiteral("报告");
            case 2:
                return QStringLiteral("系统");
            case 3:
                return QStringLiteral("审计追踪");
            default:
                return QStringLiteral("未知页面");
        }
    }
    switch (page) {
        case 0:
            return QStringLiteral("HomePage");
        case 1:
            return QStringLiteral("ReportPage");
        case 2:
            return QStringLiteral("SystemPage");
        case 3:
            return QStringLiteral("AuidtTrailPage");
        default:
            return QStringLiteral("UnkowPage");
    }
}

namespace {

// Inserts one row; false with `failure` set when it was not inserted.
bool insertRow(QSqlDatabase db, const AuditTrailInfo& info, QString& failure) {
    QSqlQuery query(db);
    query.prepare(kInsert);
    query.bindValue(QStringLiteral(":model"), AuditTrailDB::pageName(info.page, info.languageId));
    query.bindValue(QStringLiteral(":handler"), info.handler);
    query.bindValue(QStringLiteral(":content"), info.content);
    query.bindValue(QStringLiteral(":languageId"), info.languageId);
    if (query.exec()) {
        return true;
    }
    failure = query.lastError().text();
    return false;
}

}  // namespace

bool AuditTrailDB::insertAuditTrail(const AuditTrailInfo& info) {
    QString failure;
    return insertRow(m_connection->database(), info, failure);
}

bool AuditTrailDB::insertAuditTrailPair(int page, const QString& handler,
                                        const QString& chineseContent,
                                        const QString& englishContent) {
    AuditTrailInfo chinese;
    chinese.page = page;
    chinese.handler = handler;
    chinese.languageId = 0;
    chinese.content = chineseContent;
    AuditTrailInfo english = chinese;
    english.languageId = 1;
    english.content = englishContent;

    QSqlDatabase db = m_connection->database();
    QString failure;
    bool stored = false;
    if (!db.transaction()) {
        failure = db.lastError().text();
    } else if (!insertRow(db, chinese, failure) || !insertRow(db, english, failure)) {
        db.rollback();
    } else if (!db.commit()) {
        failure = db.lastError().text();
        db.rollback();
    } else {
        stored = true;
    }
    if (stored) {
        return true;
    }
    failure = failure.trimmed();
    qWarning().noquote() << QStringLiteral("Audit trail not stored (%1): %2")
                                .arg(failure.isEmpty() ? QStringLiteral("unknown error") : failure,
                                     englishContent);
    emit auditTrailNotStored(chineseContent, englishContent);
    return false;
}

int AuditTrailDB::countAuditTrailByLanguage(int languageId) {
    QSqlQuery query(m_connection->database());
    query.prepare(kCountByLanguage);
    query.bindValue(QStringLiteral(":languageId"), languageId);
    return firstInt(query);
}

int AuditTrailDB::countAuditTrail(int page, const QString& handler, const QString& startTime,
                                  const QString& endTime, int languageId) {
    QSqlDatabase db = m_connection->database();
    const ReadTransaction snapshot(db);
    const AuditTrailFilter filter =
        buildAuditTrailFilter(db, page, handler, startTime, endTime, languageId);
    if (filter.matchesNothing) {
        return 0;
    }
    if (filter.idRanges.isEmpty()) {
        return countRows(db, filter, nullptr);
    }
    int count = 0;
    for (const IdRange& range : filter.idRanges) {
        count += countRows(db, filter, &range);
    }
    return count;
}

QList<AuditTrailInfo> AuditTrailDB::loadAuditTrail(int page, const QString& handler,
                                                   const QString& startTime, const QString& endTime,
                                                   int offset, int limit, int languageId) {
    QSqlDatabase db = m_connection->database();
    const ReadTransaction snapshot(db);
    const AuditTrailFilter filter =
        buildAuditTrailFilter(db, page, handler, startTime, endTime, languageId);
    QList<AuditTrailInfo> rows;
    if (filter.matchesNothing) {
        return rows;
    }
    if (filter.idRanges.isEmpty()) {
        appendRows(db, filter, nullptr, offset, limit, rows);
        return rows;
    }
    // The ranges come newest first: the page goes on from one range into the
    // next, and an offset beyond a range's rows skips the whole range.
    int skip = std::max(offset, 0);
    for (const IdRange& range : filter.idRanges) {
        const int wanted = limit > 0 ? limit - static_cast<int>(rows.size()) : 0;
        if (limit > 0 && wanted <= 0) {
            break;
        }
        const int added = appendRows(db, filter, &range, skip, wanted, rows);
        if (added > 0) {
            skip = 0;
        } else if (skip > 0) {
            skip -= countRows(db, filter, &range);
        }
    }
    return rows;
}

QString AuditTrailDB::storedTimeFromLocal(const QString& localTime) {
    QDateTime time = QDateTime::fromString(localTime, kStoredTimeFormat);
    if (!time.isValid()) {
        return localTime;
    }
    time.setTimeSpec(Qt::LocalTime);
    return time.toUTC().toString(kStoredTimeFormat);
}

QString AuditTrailDB::localTimeFromStored(const QString& storedTime) {
    QDateTime time = QDateTime::fromString(storedTime, kStoredTimeFormat);
    if (!time.isValid()) {
        return storedTime;
    }
    time.setTimeSpec(Qt::UTC);
    return time.toLocalTime().toString(kStoredTimeFormat);
}
