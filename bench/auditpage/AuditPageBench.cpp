// The audit-trail page over 1,000,000 rows (500,000 per language, ten users,
// a row pair every 30 seconds over about six months), driven through its
// widgets on the offscreen platform as a user drives it. Goals: opening the
// page and each filter change at most 250 ms, each page turn (the last page
// too) at most 50 ms.
//
//     bench_audit_page [--station=<dir>] [benchmark flags]
//
// The station directory (default: a temporary folder) keeps its database
// between runs, so the rows are built only once.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QVariant>

#include <cstring>
#include <memory>
#include <vector>

#include "AuditTrailPageFrame.h"
#include "controller/CI_MainControl.h"
#include "database/AuditTrailDB.h"
#include "database/UserInfo.h"
#include "database/UserInfoDB.h"

namespace {

constexpr int kRows = 1000000;
constexpr int kUsers = 10;
const QDateTime kFirstRow(QDate(2024, 1, 1), QTime(0, 0, 0), Qt::UTC);

QString utcStampOfPair(int pair) {
    return kFirstRow.addSecs(qint64(pair) * 30).toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}
// The page takes local times.
QString localStampOfPair(int pair) {
    return kFirstRow.addSecs(qint64(pair) * 30)
        .toLocalTime()
        .toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}

void fillRows(const QString& stationDir) {
    QDir().mkpath(stationDir + QStringLiteral("/DataBase"));
    {
        AuditTrailDB create(stationDir);  // the table and its indexes
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "bench-fill");
    db.setDatabaseName(stationDir + QStringLiteral("/DataBase/AuditTrail.db"));
    db.open();
    {
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
                insert.bindValue(":timestamp", utcStampOfPair(pair));
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
    }
    db.close();
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase("bench-fill");
}

CI_MainControl* control = nullptr;
std::unique_ptr<AuditTrailPageFrame> page;

template <typename T>
T* child(const char* name) {
    return page->findChild<T*>(name);
}

void turnTo(int pageNumber) {
    child<QLineEdit>("lineEdit_turnToPage")->setText(QString::number(pageNumber));
    child<QPushButton>("pushButton_turn")->click();
}

void BM_OpenPage(benchmark::State& state) {
    for (auto _ : state) {
        page->showPage();
    }
    state.counters["pages"] = page->pageCount();
}

// Alternates between two users, each a filter change.
void BM_UserFilter(benchmark::State& state) {
    page->showPage();
    QComboBox* users = child<QComboBox>("comboBox_user");
    const int a = users->findText(QStringLiteral("user3"));
    const int b = users->findText(QStringLiteral("user6"));
    bool toA = true;
    for (auto _ : state) {
        users->setCurrentIndex(toA ? a : b);
        toA = !toA;
    }
    state.counters["rows"] = page->recordCount();
}

// Search with a time range (the middle half), alternating with one user.
void BM_TimeSearch(benchmark::State& state) {
    page->showPage();
    const bool withUser = state.range(0) == 1;
    if (withUser) {
        QComboBox* users = child<QComboBox>("comboBox_user");
        users->setCurrentIndex(users->findText(QStringLiteral("user3")));
    }
    child<QLineEdit>("lineEdit_startTime")->setText(localStampOfPair(kRows / 8));
    child<QLineEdit>("lineEdit_endTime")->setText(localStampOfPair(kRows * 3 / 8));
    state.SetLabel(withUser ? "user+middle_half" : "middle_half");
    for (auto _ : state) {
        child<QPushButton>("pushButton_search")->click();
    }
    state.counters["rows"] = page->recordCount();
}

// Page turns near the start (pages 2 and 3) or at the end (the last two).
void BM_PageTurn(benchmark::State& state) {
    page->showPage();
    const bool atEnd = state.range(0) == 1;
    const int last = page->pageCount();
    const int first = atEnd ? last - 1 : 2;
    state.SetLabel(atEnd ? "last_pages" : "first_pages");
    bool toFirst = true;
    for (auto _ : state) {
        turnTo(toFirst ? first : first + 1);
        toFirst = !toFirst;
    }
    state.counters["page"] = page->currentPage();
}

void BM_NextPage(benchmark::State& state) {
    page->showPage();
    for (auto _ : state) {
        child<QPushButton>("pushButton_next")->click();
    }
    state.counters["page"] = page->currentPage();
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<char*> args;
    QString chosen;
    for (int i = 0; i < argc; ++i) {
        if (std::strncmp(argv[i], "--station=", 10) == 0) {
            chosen = QString::fromLocal8Bit(argv[i] + 10);
        } else {
            args.push_back(argv[i]);
        }
    }
    int benchArgc = static_cast<int>(args.size());
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir temporary;
    const QString stationDir = chosen.isEmpty() ? temporary.path() : QDir(chosen).absolutePath();
    QDir().mkpath(stationDir);
    qputenv("VARNU_HOME", QFile::encodeName(stationDir));
    QApplication app(benchArgc, args.data());
    QSettings(stationDir + QStringLiteral("/machine.ini"), QSettings::IniFormat)
        .setValue(QStringLiteral("Machine/MachineName"), QStringLiteral("320"));
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    fillRows(stationDir);

    control = CI_MainControl::getInstance();
    control->userOpt.LanguageID = 1;
    control->userOpt.saveUserOpt(UserOpt_LanguageID);
    for (int u = 0; u < kUsers; ++u) {
        control->userInfoDB->insertUser(UserInfo(QStringLiteral("user%1").arg(u), "pw", "", false,
                                                 false, false, false, false, false));
    }
    page = std::make_unique<AuditTrailPageFrame>();
    page->resize(1040, 621);

    benchmark::RegisterBenchmark("OpenPage", BM_OpenPage)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("UserFilter", BM_UserFilter)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("TimeSearch", BM_TimeSearch)
        ->DenseRange(0, 1)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("PageTurn", BM_PageTurn)
        ->DenseRange(0, 1)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("NextPage", BM_NextPage)->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&benchArgc, args.data());
    benchmark::RunSpecifiedBenchmarks();
    page.reset();
    return 0;
}
