#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <memory>

#include "TestSupport.h"
#include "database/AuditTrailDB.h"

namespace {

class AuditTrailDBTest : public ::testing::Test {
  protected:
    void SetUp() override { station = freshStationDir(); }

    QString file() const { return station + QStringLiteral("/DataBase/AuditTrail.db"); }
    std::unique_ptr<AuditTrailDB> open() { return std::make_unique<AuditTrailDB>(station); }

    static AuditTrailInfo row(int page, const QString& handler, const QString& content,
                              int languageId) {
        AuditTrailInfo info;
        info.page = page;
        info.handler = handler;
        info.content = content;
        info.languageId = languageId;
        return info;
    }

    // Inserts one row through the store and then gives it a known time.
    void insertAt(AuditTrailDB& db, const AuditTrailInfo& info, const QString& timestamp) {
        ASSERT_TRUE(db.insertAuditTrail(info));
        ASSERT_TRUE(rawExec(file(), QStringLiteral("UPDATE AuditTrail SET timestamp = '%1' WHERE "
                                                   "id = (SELECT max(id) FROM AuditTrail)")
                                        .arg(timestamp)));
    }

    static QStringList contents(const QList<AuditTrailInfo>& rows) {
        QStringList texts;
        for (const AuditTrailInfo& info : rows) {
            texts.append(info.content);
        }
        return texts;
    }

    QString station;
};

TEST_F(AuditTrailDBTest, FreshStationCreatesTheTableOnce) {
    {
        LogCapture log;
        open();
        EXPECT_EQ(log.lines(), (QStringList{"[Debug] connectDatabase AuditTrail.db",
                                            "[Debug] AuditTrail.db open success.",
                                            "[Debug] Table create sueccess"}));
    }
    LogCapture log;
    auto db = open();
    EXPECT_EQ(log.lines(), (QStringList{"[Debug] connectDatabase AuditTrail.db",
                                        "[Debug] AuditTrail.db open success."}));
    EXPECT_EQ(db->connectionName(), QStringLiteral("AuditTrail"));
}

TEST_F(AuditTrailDBTest, OneActionGivesTwoRowsWithUtcTimeStamps) {
    auto db = open();
    const QDateTime before = QDateTime::currentDateTimeUtc().addSecs(-1);
    ASSERT_TRUE(
        db->insertAuditTrail(row(2, QStringLiteral("tarsk"), QStringLiteral("退出系统"), 0)));
    ASSERT_TRUE(
        db->insertAuditTrail(row(2, QStringLiteral("tarsk"), QStringLiteral("Exit System"), 1)));
    const QDateTime after = QDateTime::currentDateTimeUtc().addSecs(1);

    const auto rows = rawRows(
        file(), QStringLiteral("SELECT id, model, handler, content, languageId, timestamp FROM "
                               "AuditTrail ORDER BY id"));
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[1][0].toInt(), rows[0][0].toInt() + 1);
    EXPECT_EQ(rows[0].mid(1, 4), (QStringList{"系统", "tarsk", "退出系统", "0"}));
    EXPECT_EQ(rows[1].mid(1, 4), (QStringList{"SystemPage", "tarsk", "Exit System", "1"}));
    for (const QStringList& stored : rows) {
        QDateTime stamp = QDateTime::fromString(stored[5], QStringLiteral("yyyy-MM-dd hh:mm:ss"));
        stamp.setTimeSpec(Qt::UTC);
        ASSERT_TRUE(stamp.isValid()) << stored[5].toStdString();
        EXPECT_GE(stamp, before);
        EXPECT_LE(stamp, after);
    }
}

TEST_F(AuditTrailDBTest, PageNamesFollowTheRowLanguage) {
    struct Case {
        int page;
        int languageId;
        const char* model;
    };
    const Case cases[] = {
        {0, 0, "主页"},       {1, 0, "报告"},           {2, 0, "系统"},      {3, 0, "审计追踪"},
        {4, 0, "未知页面"},   {-1, 0, "未知页面"},      {0, 1, "HomePage"},  {1, 1, "ReportPage"},
        {2, 1, "SystemPage"}, {3, 1, "AuidtTrailPage"}, {7, 1, "UnkowPage"}, {1, 5, "ReportPage"},
    };
    auto db = open();
    for (const Case& c : cases) {
        ASSERT_TRUE(db->insertAuditTrail(
            row(c.page, QStringLiteral("u"), QStringLiteral("c"), c.languageId)));
        const auto last = rawRows(
            file(), QStringLiteral("SELECT model FROM AuditTrail ORDER BY id DESC LIMIT 1"));
        EXPECT_EQ(last.first().first(), QString::fromUtf8(c.model))
            << c.page << "/" << c.languageId;
        EXPECT_EQ(AuditTrailDB::pageName(c.page, c.languageId), QString::fromUtf8(c.model));
    }
}

// Rows with known time stamps, written as the store writes them.
void insertStamped(const QString& file, int page, const QString& handler, const QString& content,
                   int languageId, const QString& timestamp) {
    ASSERT_TRUE(rawExec(file, QStringLiteral("INSERT INTO AuditTrail(timestamp, model, handler, "
                                             "content, languageId) VALUES('%1', '%2', '%3', "
                                             "'%4', %5)")
                                  .arg(timestamp, AuditTrailDB::pageName(page, languageId),
                                       QString(handler).replace("'", "''"), content)
                                  .arg(languageId)));
}

int timeOrderFlag(const QString& file) {
    const auto rows = rawRows(file, QStringLiteral("SELECT ordered FROM AuditTrailTimeOrder"));
    return rows.size() == 1 ? rows.first().first().toInt() : -1;
}

// How the rows stand: in time order, or with one row out of order (written
// after a clock was set back) in a language the filters never ask for.
enum class TimeOrder { InOrder, OneRowOutOfOrder };

class AuditTrailFilterTest : public AuditTrailDBTest,
                             public ::testing::WithParamInterface<TimeOrder> {};

TEST_P(AuditTrailFilterTest, CountAndPagesMatchTheFilters) {
    auto db = open();
    insertStamped(file(), 0, "anna", "a1", 1, "2024-03-01 08:00:00");
    insertStamped(file(), 1, "bert", "b1", 1, "2024-03-01 09:00:00");
    insertStamped(file(), 1, "anna", "a2 zh", 0, "2024-03-02 10:00:00");
    insertStamped(file(), 1, "anna", "a2", 1, "2024-03-02 10:00:00");
    insertStamped(file(), 2, "o'brien", "o1", 1, "2024-03-03 11:00:00");
    insertStamped(file(), 2, "bert", "b2", 1, "2024-03-03 11:00:00");
    insertStamped(file(), 3, "anna", "a3", 1, "2024-03-04 12:00:00");
    if (GetParam() == TimeOrder::OneRowOutOfOrder) {
        insertStamped(file(), 0, "anna", "late", 9, "2024-03-01 00:00:00");
    }
    EXPECT_EQ(timeOrderFlag(file()), GetParam() == TimeOrder::InOrder ? 1 : 0);

    struct Case {
        int page;
        QString handler, start, end;
        int languageId;
        QStringList expected;  // newest first
    };
    const Case cases[] = {
        {4, "", "", "", 1, {"a3", "b2", "o1", "a2", "b1", "a1"}},
        {4, "", "", "", 0, {"a2 zh"}},
        {4, "", "", "", 2, {}},
        {1, "", "", "", 1, {"a2", "b1"}},
        {1, "", "", "", 0, {"a2 zh"}},  // the page name in the filter's language
        {4, "anna", "", "", 1, {"a3", "a2", "a1"}},
        {1, "anna", "", "", 1, {"a2"}},
        {2, "bert", "", "", 1, {"b2"}},
        {4, "Anna", "", "", 1, {}},
        {4, "", "2024-03-02 10:00:00", "", 1, {"a3", "b2", "o1", "a2"}},  // inclusive bounds
        {4, "", "", "2024-03-02 10:00:00", 1, {"a2", "b1", "a1"}},
        {4, "", "2024-03-01 08:30:00", "2024-03-03 11:00:00", 1, {"b2", "o1", "a2", "b1"}},
        {4, "", "2024-03-03 11:00:00", "2024-03-03 11:00:00", 1, {"b2", "o1"}},
        {4, "anna", "2024-03-02", "2024-03-05", 1, {"a3", "a2"}},  // compared as text
        {4, "bert", "2024-03-01 09:00:00", "2024-03-03 12:00:00", 1, {"b2", "b1"}},
        {1, "bert", "2024-03-01 09:00:01", "", 1, {}},
        {4, "", "2024-03-05 00:00:00", "2024-03-01 00:00:00", 1, {}},
        {4, "", "2023-01-01 00:00:00", "2023-12-31 23:59:59", 1, {}},
        {4, "", "2025-01-01 00:00:00", "", 1, {}},
        {4, "", "", "2024-03-01 00:00:00", 1, {}},
        {4, "", "2024-03-01 08:00:00", "2024-03-02 10:00:00", 0, {"a2 zh"}},
        // Quotes match literally, and nothing else.
        {4, "o'brien", "", "", 1, {"o1"}},
        {4, "x' OR '1'='1", "", "", 1, {}},
        {4, "", "2025' OR '1'='1", "", 1, {}},
    };
    for (const Case& c : cases) {
        const QString label = QStringLiteral("page %1 handler '%2' from '%3' to '%4' language %5")
                                  .arg(c.page)
                                  .arg(c.handler, c.start, c.end)
                                  .arg(c.languageId);
        EXPECT_EQ(db->countAuditTrail(c.page, c.handler, c.start, c.end, c.languageId),
                  c.expected.size())
            << label.toStdString();
        EXPECT_EQ(
            contents(db->loadAuditTrail(c.page, c.handler, c.start, c.end, 0, 0, c.languageId)),
            c.expected)
            << label.toStdString();
        // The same rows page by page.
        QStringList paged;
        for (int offset = 0; offset < 8; offset += 2) {
            paged += contents(
                db->loadAuditTrail(c.page, c.handler, c.start, c.end, offset, 2, c.languageId));
        }
        EXPECT_EQ(paged, c.expected) << label.toStdString();
    }
    EXPECT_EQ(db->countAuditTrailByLanguage(1), 6);
    EXPECT_EQ(db->countAuditTrailByLanguage(0), 1);
    EXPECT_EQ(db->countAuditTrailByLanguage(3), 0);
}

INSTANTIATE_TEST_SUITE_P(TimeOrders, AuditTrailFilterTest,
                         ::testing::Values(TimeOrder::InOrder, TimeOrder::OneRowOutOfOrder));

TEST_F(AuditTrailDBTest, TimeOrderIsTrackedAcrossStartsAndChanges) {
    auto db = open();
    EXPECT_EQ(timeOrderFlag(file()), 1);  // an empty table is in order
    ASSERT_TRUE(db->insertAuditTrail(row(0, "anna", "now", 1)));
    ASSERT_TRUE(db->insertAuditTrail(row(0, "anna", "now", 0)));
    EXPECT_EQ(timeOrderFlag(file()), 1);
    insertStamped(file(), 0, "anna", "set back", 1, "2001-01-01 00:00:00");
    EXPECT_EQ(timeOrderFlag(file()), 0);
    db.reset();

    // A database written before the record existed is checked once, at open.
    const QString other = freshStationDir() + QStringLiteral("/other");
    QDir().mkpath(other + QStringLiteral("/DataBase"));
    const QString otherFile = other + QStringLiteral("/DataBase/AuditTrail.db");
    ASSERT_TRUE(
        rawExec(otherFile, QStringLiteral("CREATE TABLE AuditTrail(id INTEGER PRIMARY KEY "
                                          "AUTOINCREMENT,timestamp DATETIME DEFAULT "
                                          "CURRENT_TIMESTAMP,model TEXT,handler TEXT,content "
                                          "TEXT,languageId INTEGER)")));
    insertStamped(otherFile, 0, "anna", "1", 1, "2024-01-01 00:00:00");
    insertStamped(otherFile, 0, "anna", "2", 1, "2024-01-02 00:00:00");
    auto ordered = std::make_unique<AuditTrailDB>(other);
    EXPECT_EQ(timeOrderFlag(otherFile), 1);
    EXPECT_EQ(ordered->countAuditTrail(4, "", "2024-01-02 00:00:00", "", 1), 1);
    ordered.reset();
    ASSERT_TRUE(rawExec(otherFile, QStringLiteral("DROP TABLE AuditTrailTimeOrder")));
    ASSERT_TRUE(rawExec(otherFile, QStringLiteral("DROP TRIGGER AuditTrail_insertOrder")));
    insertStamped(otherFile, 0, "anna", "3", 1, "2023-12-31 00:00:00");
    auto disordered = std::make_unique<AuditTrailDB>(other);
    EXPECT_EQ(timeOrderFlag(otherFile), 0);
    EXPECT_EQ(contents(disordered->loadAuditTrail(4, "", "", "2024-01-01 00:00:00", 0, 30, 1)),
              (QStringList{"3", "1"}));

    // Changing a stored time stamp counts as breaking the order.
    const QString third = freshStationDir() + QStringLiteral("/third");
    auto changed = std::make_unique<AuditTrailDB>(third);
    ASSERT_TRUE(changed->insertAuditTrail(row(0, "anna", "x", 1)));
    ASSERT_TRUE(rawExec(third + QStringLiteral("/DataBase/AuditTrail.db"),
                        QStringLiteral("UPDATE AuditTrail SET timestamp = '2030-01-01 00:00:00'")));
    EXPECT_EQ(timeOrderFlag(third + QStringLiteral("/DataBase/AuditTrail.db")), 0);
}

int runState(const QString& file) {
    const auto rows = rawRows(file, QStringLiteral("SELECT known FROM AuditTrailTimeRunState"));
    return rows.size() == 1 ? rows.first().first().toInt() : -1;
}

// The rows of a filter as the plain time-stamp comparison finds them, newest
// first: what the store must answer whatever it knows of the time order.
QStringList plainFilter(const QString& file, const QString& handler, const QString& start,
                        const QString& end) {
    QString statement = QStringLiteral("SELECT content FROM AuditTrail WHERE languageId = 1");
    if (!handler.isEmpty()) {
        statement += QStringLiteral(" AND handler = '%1'").arg(handler);
    }
    if (!start.isEmpty()) {
        statement += QStringLiteral(" AND timestamp >= '%1'").arg(start);
    }
    if (!end.isEmpty()) {
        statement += QStringLiteral(" AND timestamp <= '%1'").arg(end);
    }
    QStringList contents;
    for (const QStringList& row : rawRows(file, statement + QStringLiteral(" ORDER BY id DESC"))) {
        contents.append(row.first());
    }
    return contents;
}

TEST_F(AuditTrailDBTest, TimeRangesAcrossClockSetBacksMatchTheTimeStamps) {
    auto db = open();
    // Three runs: days 1-6, then the clock set back to day 3 (days 3-8),
    // then back to day 2 (days 2-4); two users, a Chinese row beside some.
    int n = 0;
    const auto writeRun = [&](int firstDay, int lastDay) {
        for (int day = firstDay; day <= lastDay; ++day) {
            const QString stamp = QStringLiteral("2024-05-%1 10:00:00").arg(day, 2, 10, QChar('0'));
            const QString handler = n % 3 == 0 ? QStringLiteral("anna") : QStringLiteral("bert");
            insertStamped(file(), 0, handler, QString::number(++n), 1, stamp);
            if (day % 2 == 0) {
                insertStamped(file(), 0, handler, QStringLiteral("zh"), 0, stamp);
            }
        }
    };
    writeRun(1, 6);
    writeRun(3, 8);
    writeRun(2, 4);
    EXPECT_EQ(timeOrderFlag(file()), 0);
    EXPECT_EQ(runState(file()), 1);
    EXPECT_EQ(rawRows(file(), QStringLiteral("SELECT firstId FROM AuditTrailTimeRuns")).size(), 2);

    struct Range {
        QString handler, start, end;
    };
    const Range ranges[] = {
        {"", "2024-05-03 10:00:00", ""},
        {"", "", "2024-05-03 10:00:00"},
        {"", "2024-05-02 00:00:00", "2024-05-04 23:00:00"},
        {"anna", "2024-05-04", "2024-05-07"},
        {"", "2024-05-07 00:00:00", "2024-05-09 00:00:00"},  // the second run alone
        {"", "2024-05-09 00:00:00", ""},                     // no row
        {"bert", "2024-05-06 10:00:00", "2024-05-06 10:00:00"},
    };
    const auto expectPlainResults = [&](const char* state) {
        for (const Range& r : ranges) {
            const QStringList expected = plainFilter(file(), r.handler, r.start, r.end);
            const std::string label = QStringLiteral("%1: '%2' from '%3' to '%4'")
                                          .arg(state, r.handler, r.start, r.end)
                                          .toStdString();
            EXPECT_EQ(db->countAuditTrail(4, r.handler, r.start, r.end, 1), expected.size())
                << label;
            EXPECT_EQ(contents(db->loadAuditTrail(4, r.handler, r.start, r.end, 0, 0, 1)), expected)
                << label;
            QStringList paged;  // pages of three run on across the runs
            for (int offset = 0; offset < 24; offset += 3) {
                paged += contents(db->loadAuditTrail(4, r.handler, r.start, r.end, offset, 3, 1));
            }
            EXPECT_EQ(paged, expected) << label;
        }
    };
    expectPlainResults("runs known");

    // A database whose runs were never recorded gets them at open.
    db.reset();
    ASSERT_TRUE(rawExec(file(), QStringLiteral("DROP TABLE AuditTrailTimeRunState")));
    ASSERT_TRUE(rawExec(file(), QStringLiteral("DELETE FROM AuditTrailTimeRuns")));
    db = open();
    EXPECT_EQ(runState(file()), 1);
    EXPECT_EQ(rawRows(file(), QStringLiteral("SELECT firstId FROM AuditTrailTimeRuns")).size(), 2);
    expectPlainResults("runs found at open");

    // A changed time stamp makes the runs unknown; the time stamps still rule.
    ASSERT_TRUE(rawExec(file(), QStringLiteral("UPDATE AuditTrail SET timestamp = "
                                               "'2024-05-05 12:00:00' WHERE content = '2'")));
    EXPECT_EQ(runState(file()), 0);
    expectPlainResults("runs unknown");
}

TEST_F(AuditTrailDBTest, LoadedRowsCarryModelHandlerContentAndTimeStamp) {
    auto db = open();
    insertAt(*db, row(3, "anna", "Look up", 1), "2024-03-04 12:00:00");
    const QList<AuditTrailInfo> rows = db->loadAuditTrail(4, "", "", "", 0, 30, 1);
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].model, QStringLiteral("AuidtTrailPage"));
    EXPECT_EQ(rows[0].handler, QStringLiteral("anna"));
    EXPECT_EQ(rows[0].content, QStringLiteral("Look up"));
    EXPECT_EQ(rows[0].timestamp, QStringLiteral("2024-03-04 12:00:00"));
}

TEST_F(AuditTrailDBTest, PagesThroughTheRowsNewestFirst) {
    auto db = open();
    for (int i = 1; i <= 7; ++i) {
        ASSERT_TRUE(db->insertAuditTrail(row(0, "anna", QString::number(i), 1)));
    }
    struct Case {
        int offset, limit;
        QStringList expected;
    };
    const Case cases[] = {
        {0, 0, {"7", "6", "5", "4", "3", "2", "1"}},
        {0, 3, {"7", "6", "5"}},
        {3, 3, {"4", "3", "2"}},
        {6, 3, {"1"}},
        {9, 3, {}},
        {2, 0, {"5", "4", "3", "2", "1"}},  // an offset without a limit skips rows
        {-4, 2, {"7", "6"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(contents(db->loadAuditTrail(4, "", "", "", c.offset, c.limit, 1)), c.expected)
            << c.offset << "/" << c.limit;
    }
}

TEST_F(AuditTrailDBTest, ExistingFileWithoutTheTableGetsIt) {
    QDir().mkpath(station + QStringLiteral("/DataBase"));
    QFile empty(file());
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.close();
    auto db = open();
    EXPECT_TRUE(db->insertAuditTrail(row(0, "anna", "x", 1)));
    EXPECT_EQ(db->countAuditTrailByLanguage(1), 1);
}

TEST_F(AuditTrailDBTest, ConvertsBetweenLocalAndStoredTimes) {
    const QByteArray savedZone = qgetenv("TZ");
    qputenv("TZ", "XST-8");  // eight hours east of UTC, no daylight saving
    EXPECT_EQ(AuditTrailDB::storedTimeFromLocal(QStringLiteral("2024-03-01 08:30:00")),
              QStringLiteral("2024-03-01 00:30:00"));
    EXPECT_EQ(AuditTrailDB::storedTimeFromLocal(QStringLiteral("2024-03-01 03:00:00")),
              QStringLiteral("2024-02-29 19:00:00"));
    EXPECT_EQ(AuditTrailDB::localTimeFromStored(QStringLiteral("2024-02-29 19:00:00")),
              QStringLiteral("2024-03-01 03:00:00"));
    EXPECT_EQ(AuditTrailDB::storedTimeFromLocal(QStringLiteral("yesterday")),
              QStringLiteral("yesterday"));
    EXPECT_EQ(AuditTrailDB::localTimeFromStored(QString()), QString());
    if (savedZone.isNull()) {
        qunsetenv("TZ");
    } else {
        qputenv("TZ", savedZone);
    }
}

}  // namespace
