// Another program that holds a station database locked, for the tests:
// `varnu-store-locker <file> <holdMs>` takes SQLite's exclusive lock on the
// file, prints "locked" and keeps the lock for holdMs (at most ten minutes),
// then releases it and ends.

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>

#include <algorithm>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: varnu-store-locker <file> <holdMs>\n");
        return 2;
    }
    const int holdMs = std::clamp(args.at(2).toInt(), 0, 600000);
    int result = 0;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"));
        db.setDatabaseName(args.at(1));
        QSqlQuery lock(db);
        if (!db.open() || !lock.exec(QStringLiteral("BEGIN EXCLUSIVE"))) {
            std::fprintf(stderr, "varnu-store-locker: %s\n", qPrintable(lock.lastError().text()));
            result = 1;
        } else {
            std::printf("locked\n");
            std::fflush(stdout);
            QThread::msleep(static_cast<unsigned long>(holdMs));
            lock.exec(QStringLiteral("ROLLBACK"));
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(QSqlDatabase::defaultConnection);
    return result;
}
