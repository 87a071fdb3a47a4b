#include "TestSupport.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QMutex>
#include <QMutexLocker>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

namespace {

QMutex captureMutex;
QStringList captured;

void captureMessage(QtMsgType type, const QMessageLogContext&, const QString& text) {
    static const char* const kPrefix[] = {"[Debug] ", "[Warning] ", "[Critical] ", "[Fatal] ",
                                          "[Info] "};
    QMutexLocker lock(&captureMutex);
    captured.append(QString::fromLatin1(kPrefix[type]) + text);
}

}  // namespace

QString freshStationDir() {
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    QString name = QStringLiteral("%1.%2").arg(info->test_suite_name(), info->name());
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    const QString scratch = qEnvironmentVariable("VARNU_TEST_SCRATCH", QDir::tempPath());
    const QString path = scratch + QLatin1Char('/') + name;
    QDir(path).removeRecursively();
    QDir().mkpath(path);
    return path;
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

LogCapture::LogCapture() {
    QMutexLocker lock(&captureMutex);
    captured.clear();
    m_previous = qInstallMessageHandler(captureMessage);
}

LogCapture::~LogCapture() {
    qInstallMessageHandler(m_previous);
}

QStringList LogCapture::lines() const {
    QMutexLocker lock(&captureMutex);
    return captured;
}

namespace {

template <typename Work>
auto withRawConnection(const QString& file, Work work) {
    static int serial = 0;
    const QString name = QStringLiteral("raw-%1").arg(++serial);
    auto result = [&] {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(file);
        db.open();
        auto value = work(db);
        db.close();
        return value;
    }();
    QSqlDatabase::removeDatabase(name);
    return result;
}

}  // namespace

QList<QStringList> rawRows(const QString& file, const QString& statement) {
    return withRawConnection(file, [&](QSqlDatabase& db) {
        QList<QStringList> rows;
        QSqlQuery query(db);
        if (query.exec(statement)) {
            while (query.next()) {
                QStringList row;
                for (int i = 0; i < query.record().count(); ++i) {
                    row.append(query.value(i).toString());
                }
                rows.append(row);
            }
        }
        return rows;
    });
}

bool rawExec(const QString& file, const QString& statement) {
    return withRawConnection(file, [&](QSqlDatabase& db) { return QSqlQuery(db).exec(statement); });
}

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    QCoreApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
