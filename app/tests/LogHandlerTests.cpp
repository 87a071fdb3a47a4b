#include "TestStation.h"
#include "startup/LogHandler.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTextCodec>

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

TEST(LogHandler, LineFormatPerMessageType) {
    const QDateTime when(QDate(2024, 3, 5), QTime(14, 7, 31));
    struct Case {
        QtMsgType type;
        const char* line;
    };
    const Case cases[] = {
        {QtDebugMsg, "[Debug]2024-03-05 14:07:31    abc\n"},
        {QtWarningMsg, "[Warning]2024-03-05 14:07:31    abc\n"},
        {QtCriticalMsg, "[Critical]2024-03-05 14:07:31    abc\n"},
        {QtFatalMsg, "[Fatal]2024-03-05 14:07:31    abc\n"},
        {QtInfoMsg, "2024-03-05 14:07:31    abc\n"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(logLine(c.type, when, QStringLiteral("abc")), QString::fromLatin1(c.line));
    }
}

TEST(LogHandler, OneFilePerCalendarDay) {
    TestStation station("log-days");
    EXPECT_EQ(logFilePath(QDate(2024, 12, 31)), station.path() + "/logs/2024-12-31.txt");
    EXPECT_NE(logFilePath(QDateTime(QDate(2024, 12, 31), QTime(23, 59, 59)).date()),
              logFilePath(QDateTime(QDate(2025, 1, 1), QTime(0, 0, 0)).date()));
}

TEST(LogHandler, CreatesTheFolderAndAppendsLines) {
    TestStation station("log-write");
    ASSERT_FALSE(QDir(station.filePath("logs")).exists());
    const QMessageLogContext context;
    outputMessage(QtDebugMsg, context, QStringLiteral("first"));
    outputMessage(QtInfoMsg, context, QStringLiteral("second"));
    const QStringList lines = station.todaysLog().split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].startsWith("[Debug]"));
    EXPECT_TRUE(lines[0].endsWith("    first"));
    EXPECT_TRUE(lines[1].at(0).isDigit());
    EXPECT_TRUE(lines[1].endsWith("    second"));
}

TEST(LogHandler, AnUnwritableFolderLosesTheLineSilently) {
    TestStation station("log-blocked");
    QFile blocker(station.filePath("logs"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QMessageLogContext context;
    outputMessage(QtWarningMsg, context, QStringLiteral("lost"));
    EXPECT_EQ(QFileInfo(station.filePath("logs")).size(), 0);
}

// Writers of many threads never interleave their lines and lose none.
TEST(LogHandler, ConcurrentWritersKeepLinesWhole) {
    TestStation station("log-threads");
    constexpr int kThreads = 8;
    constexpr int kLines = 150;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([t] {
            const QMessageLogContext context;
            for (int i = 0; i < kLines; ++i) {
                outputMessage(
                    QtDebugMsg, context,
                    QStringLiteral("thread %1 line %2 %3").arg(t).arg(i).arg(QString(40, 'x')));
            }
        });
    }
    for (std::thread& th : threads) {
        th.join();
    }
    const QStringList lines = station.todaysLog().split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), kThreads * kLines);
    for (const QString& line : lines) {
        ASSERT_TRUE(line.startsWith("[Debug]")) << line.toStdString();
        ASSERT_TRUE(line.endsWith(QString(40, 'x'))) << line.toStdString();
    }
}

}  // namespace

namespace {

// A local 8-bit codec that logs while it converts: the handler converts every
// line with it while holding its lock, so the message comes back into the
// handler on the same thread.
class LoggingCodec : public QTextCodec {
  public:
    QByteArray name() const override { return "varnu-test-logging-codec"; }
    int mibEnum() const override { return -4242; }

  protected:
    QString convertToUnicode(const char* in, int length, ConverterState*) const override {
        return QString::fromUtf8(in, length);
    }
    QByteArray convertFromUnicode(const QChar* in, int length, ConverterState*) const override {
        // Only the outermost conversion logs; the conversions of that
        // message's own output do not.
        static thread_local int depth = 0;
        if (depth++ == 0) {
            qWarning("raised while the line is written");
        }
        --depth;
        return QString(in, length).toUtf8();
    }
};

TEST(LogHandler, AMessageRaisedWhileWritingDoesNotDeadlock) {
    TestStation station("log-reentry");
    QTextCodec* previous = QTextCodec::codecForLocale();
    qInstallMessageHandler(outputMessage);
    // Qt reads its logging rules on the first message; that must not happen
    // through the logging codec.
    qDebug("logging is set up");
    QTextCodec::setCodecForLocale(new LoggingCodec);  // owned by Qt
    qDebug("outer message");
    QTextCodec::setCodecForLocale(previous);
    qInstallMessageHandler(nullptr);
    const QString log = station.todaysLog();
    EXPECT_TRUE(log.contains("    outer message\n"));
    EXPECT_FALSE(log.contains("raised while the line is written"));
}

}  // namespace
