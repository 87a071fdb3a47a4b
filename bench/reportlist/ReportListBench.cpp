// The report list over 10,000 gel/UV experiments on 1,000 days, rebuilt as
// each show of the list rebuilds it (view recreated, all rows loaded, tree
// filled), on the offscreen platform. Goal: at most 250 ms. The peer fills
// the same tree with a literal day search (each record compares its day with
// every day row read back from its text), which grows with records x days.
//
//     bench_report_list [--station=<dir>] [benchmark flags]
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QUuid>
#include <QVariant>

#include <cstring>
#include <memory>
#include <vector>

#include "RP_ReportManageFrame.h"
#include "ReportTree.h"
#include "base/Enumerations.h"
#include "controller/CI_MainControl.h"
#include "database/ExperimentViewDB.h"
#include "database/Varnu_ExperimentDB.h"

namespace {

constexpr int kExperiments = 10000;
constexpr int kDays = 1000;

void fillExperiments(const QString& stationDir) {
    QDir().mkpath(stationDir + QStringLiteral("/DataBase"));
    { Varnu_ExperimentDB create(stationDir); }
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "bench-fill");
    db.setDatabaseName(stationDir + QStringLiteral("/DataBase/Experiment.db"));
    db.open();
    {
        QSqlQuery count(db);
        count.exec(QStringLiteral("SELECT COUNT(*) FROM Varnu_Experiment"));
        const int existing = count.next() ? count.value(0).toInt() : 0;
        count.finish();
        db.transaction();
        QSqlQuery insert(db);
        insert.prepare(QStringLiteral(
            "INSERT INTO Varnu_Experiment(uuid, expType, name, dateTime, picSavedPath, "
            "resolution, binning, exposureTime, gain, brightness, contrast, gamma) VALUES(:uuid, "
            "0, :name, :dateTime, :path, '1064*850', 0, '300,', '8,', 25, 10, 0)"));
        const QDateTime first(QDate(2023, 1, 1), QTime(8, 0));
        for (int i = existing; i < kExperiments; ++i) {
            const QDateTime when = first.addDays(i % kDays).addSecs(60 * (i / kDays));
            insert.bindValue(":uuid", QUuid::createUuid().toString());
            insert.bindValue(":name",
                             QStringLiteral("Varnu%1").arg(i / kDays + 1, 3, 10, QLatin1Char('0')));
            insert.bindValue(":dateTime", when.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")));
            insert.bindValue(":path", stationDir + QStringLiteral("/Pictures/") +
                                          when.toString(QStringLiteral("yy-MM-dd")) +
                                          QStringLiteral("/Varnu/"));
            insert.exec();
        }
        db.commit();
    }
    db.close();
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase("bench-fill");
}

CI_MainControl* control = nullptr;

// The day search taken literally: every record looks through the day rows
// from the top, reading each one's date back from its text.
void fillLiterally(QTreeWidget* tree, const QList<ExperimentViewInfo>& records) {
    tree->clear();
    for (const ExperimentViewInfo& record : records) {
        const QDate day = record.dateTime.date();
        QTreeWidgetItem* dayRow = nullptr;
        for (int d = 0; d < tree->topLevelItemCount(); ++d) {
            QTreeWidgetItem* candidate = tree->topLevelItem(d);
            if (QDate::fromString(candidate->text(0), QStringLiteral("yyyy-MM-dd")) == day) {
                dayRow = candidate;
                candidate->setText(6, QString::number(candidate->text(6).toInt() + 1));
                break;
            }
        }
        if (dayRow == nullptr) {
            dayRow = new QTreeWidgetItem(
                tree,
                QStringList{day.toString(QStringLiteral("yyyy-MM-dd")), "", "", "", "", "", "1"});
        }
        auto* row = new QTreeWidgetItem(dayRow);
        row->setText(0, record.dateTime.toString(QStringLiteral("hh:mm:ss")));
        row->setText(1, experimentTypeToString(record.expType));
        row->setText(2, record.name);
        row->setText(3, binningModeToString(record.binning));
        row->setText(4, ReportTree::withoutLastComma(record.exposureTime));
        row->setText(5, ReportTree::withoutLastComma(record.gain));
        row->setText(7, record.uuid.toString());
        row->setCheckState(6, Qt::Unchecked);
    }
    tree->collapseAll();
}

void BM_ShowReportList(benchmark::State& state) {
    RP_ReportManageFrame frame;
    frame.resize(1200, 800);
    QTreeWidget* tree = frame.findChild<QTreeWidget*>("treeWidget_Report");
    for (auto _ : state) {
        frame.show();  // rebuilds
        state.PauseTiming();
        frame.hide();
        state.ResumeTiming();
    }
    state.counters["days"] = tree->topLevelItemCount();
}

void BM_FillTree(benchmark::State& state) {
    const bool literal = state.range(0) == 1;
    state.SetLabel(literal ? "literal day search" : "days by date");
    const std::unique_ptr<QList<ExperimentViewInfo>> records = control->experimentViewDB->loadAll();
    QTreeWidget tree;
    tree.setColumnCount(8);
    for (auto _ : state) {
        if (literal) {
            fillLiterally(&tree, *records);
        } else {
            ReportTree::fill(&tree, *records);
        }
    }
    state.counters["days"] = tree.topLevelItemCount();
    state.counters["rows"] = records ? records->size() : 0;
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
    fillExperiments(stationDir);
    control = CI_MainControl::getInstance();

    benchmark::RegisterBenchmark("ShowReportList", BM_ShowReportList)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("FillTree", BM_FillTree)
        ->DenseRange(0, 1)
        ->Unit(benchmark::kMillisecond);
    benchmark::Initialize(&benchArgc, args.data());
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
