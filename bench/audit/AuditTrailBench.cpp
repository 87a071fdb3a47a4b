// Audit-trail store with 1,000,000 rows (500,000 per language, ten users,
// four pages, a row pair every 30 seconds over about six months).
//
//     bench_audit [--station=<dir>] [--clock-set-back] [benchmark flags]
//
// The station directory (default: a temporary folder) keeps its database
// between runs, so the rows are built only once. --clock-set-back adds one
// row stamped earlier than the rows before it, as after the clock was set
// back; from then on time ranges of that database span two runs of ids.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QVariant>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "database/AuditTrailDB.h"

namespace {

constexpr int kRows = 1000000;
constexpr int kUsers = 10;
constexpr int kPageSize = 30;
const QDateTime kFirstRow(QDate(2024, 1, 1), QTime(0, 0, 0), Qt::UTC);

QString stampOfPair(int pair) {
    return kFirstRow.addSecs(qint64(pair) * 30).toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}

// A filter of the audit page.
struct Filter {
    const char* name;
    int page;
    QString handler, start, end;
};

const int kPairs = kRows / 2;
const std::vector<Filter> kFilters{
    {"unfiltered", AuditTrailDB::kAnyPage, {}, {}, {}},
    {"user", AuditTrailDB::kAnyPage, QStringLiteral("user3"), {}, {}},
    {"page", 1, {}, {}, {}},
    {"page+user", 2, QStringLiteral("user6"), {}, {}},
    {"last_day", AuditTrailDB::kAnyPage, {}, stampOfPair(kPairs - 2880), {}},
    {"first_month", AuditTrailDB::kAnyPage, {}, {}, stampOfPair(86400)},
    {"middle_half",
     AuditTrailDB::kAnyPage,
     {},
     stampOfPair(kPairs / 4),
     stampOfPair(kPairs * 3 / 4)},
    {"user+middle_half", AuditTrailDB::kAnyPage, QStringLiteral("user3"), stampOfPair(kPairs / 4),
     stampOfPair(kPairs * 3 / 4)},
    {"user+old_week", AuditTrailDB::kAnyPage, QStringLiteral("user8"), stampOfPair(20000),
     stampOfPair(40160)},
};

QString stationDir;
std::unique_ptr<AuditTrailDB> store;

// Fills the table in one transaction, as the store would have written it
// over half a year, then opens the store on it.
void buildRows(bool clockSetBack) {
    const QString file = stationDir + QStringLiteral("/DataBase/AuditTrail.db");
    store = std::make_unique<AuditTrailDB>(stationDir);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "bench-fill");
        db.setDatabaseName(file);
        db.open();
        QSqlQuery count(db);
        count.exec(QStringLiteral("SELECT COUNT(*) FROM AuditTrail"));
        const int existing = count.next() ? count.value(0).toInt() : 0;
        count.finish();
        if (existing < kRows) {
            db.transaction();
            QSqlQuery insert(db);
            insert.prepare(QStringLiteral(
                "INSERT INTO AuditTrail(timestamp, model, handler, content, languageId) "
                "VALUES(:timestamp, :model, :handler, :content, :languageId)"));
            for (int i = existing; i < kRows; ++i) {
                const int pair = i / 2;
                const int language = i % 2;
                insert.bindValue(":timestamp", stampOfPair(pair));
                insert.bindValue(":model", AuditTrailDB::pageName(pair % 4, language));
                insert.bindValue(":handler", QStringLiteral("user%1").arg(pair % kUsers));
                insert.bindValue(":content", language == 0
                                                 ? QStringLiteral("图片采集 %1").arg(pair)
                                                 : QStringLiteral("Image capture %1").arg(pair));
                insert.bindValue(":languageId", language);
                insert.exec();
            }
            db.commit();
        }
        if (clockSetBack) {
            QSqlQuery(db).exec(QStringLiteral(
                "INSERT INTO AuditTrail(timestamp, model, handler, content, languageId) "
                "VALUES('2000-01-01 00:00:00', 'HomePage', 'user0', 'clock set back', 7)"));
        }
        db.close();
    }
    QSqlDatabase::removeDatabase("bench-fill");
    // Reopen, so the indexes the store keeps are in place for the full table.
    store.reset();
    store = std::make_unique<AuditTrailDB>(stationDir);
}

void BM_Count(benchmark::State& state) {
    const Filter& filter = kFilters[state.range(0)];
    state.SetLabel(filter.name);
    int count = 0;
    for (auto _ : state) {
        count = store->countAuditTrail(filter.page, filter.handler, filter.start, filter.end, 1);
        benchmark::DoNotOptimize(count);
    }
    state.counters["rows"] = count;
}

void BM_FirstPage(benchmark::State& state) {
    const Filter& filter = kFilters[state.range(0)];
    state.SetLabel(filter.name);
    for (auto _ : state) {
        auto rows = store->loadAuditTrail(filter.page, filter.handler, filter.start, filter.end, 0,
                                          kPageSize, 1);
        benchmark::DoNotOptimize(rows);
        if (rows.size() != kPageSize) {
            state.SkipWithError("first page not full");
            break;
        }
    }
}

void BM_LastPage(benchmark::State& state) {
    const Filter& filter = kFilters[state.range(0)];
    state.SetLabel(filter.name);
    const int count =
        store->countAuditTrail(filter.page, filter.handler, filter.start, filter.end, 1);
    const int offset = ((count - 1) / kPageSize) * kPageSize;
    for (auto _ : state) {
        auto rows = store->loadAuditTrail(filter.page, filter.handler, filter.start, filter.end,
                                          offset, kPageSize, 1);
        benchmark::DoNotOptimize(rows);
        if (rows.isEmpty()) {
            state.SkipWithError("last page empty");
            break;
        }
    }
}

// One action as the pages write it: two rows, each its own transaction.
void BM_InsertAction(benchmark::State& state) {
    AuditTrailInfo info;
    info.page = 0;
    info.handler = QStringLiteral("user1");
    for (auto _ : state) {
        info.languageId = 0;
        info.content = QStringLiteral("图片采集");
        store->insertAuditTrail(info);
        info.languageId = 1;
        info.content = QStringLiteral("Image capture");
        store->insertAuditTrail(info);
    }
    state.SetItemsProcessed(state.iterations() * 2);
}

void registerAll() {
    const int filters = int(kFilters.size());
    benchmark::RegisterBenchmark("Count", BM_Count)
        ->DenseRange(0, filters - 1)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("FirstPage", BM_FirstPage)
        ->DenseRange(0, filters - 1)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("LastPage", BM_LastPage)
        ->DenseRange(0, filters - 1)
        ->Unit(benchmark::kMillisecond);
    // The inserts run last: they add rows to the table the queries measured.
    benchmark::RegisterBenchmark("InsertAction", BM_InsertAction)
        ->Unit(benchmark::kMillisecond)
        ->MinTime(2.0)
        ->UseRealTime();
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<char*> args;
    QString chosen;
    bool clockSetBack = false;
    for (int i = 0; i < argc; ++i) {
        if (std::strncmp(argv[i], "--station=", 10) == 0) {
            chosen = QString::fromLocal8Bit(argv[i] + 10);
        } else if (std::strcmp(argv[i], "--clock-set-back") == 0) {
            clockSetBack = true;
        } else {
            args.push_back(argv[i]);
        }
    }
    int count = int(args.size());
    QCoreApplication app(count, args.data());
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type != QtDebugMsg) {
            fprintf(stderr, "%s\n", qPrintable(text));
        }
    });
    QTemporaryDir temporary;
    stationDir = chosen.isEmpty() ? temporary.path() : chosen;
    QDir().mkpath(stationDir);
    buildRows(clockSetBack);

    benchmark::Initialize(&count, args.data());
    registerAll();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    store.reset();
    return 0;
}
