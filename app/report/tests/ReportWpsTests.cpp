#include "AxRegistry.h"
#include "MessageCapture.h"
#include "ModalDriver.h"
#include "ProgramRun.h"
#include "RecordingServer.h"
#include "ReportTestFiles.h"
#include "ReportWordProcessor.h"
#include "ReportWps.h"
#include "TestStation.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QDirIterator>
#include <QFile>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

using reporttest::bookmarkText;
using reporttest::occurrences;
using reporttest::readZip;

const QStringList kTextBookmarks = {"MainTitle",       "SubTitle",   "UserLabel",   "User",
                                    "ReportDateLabel", "ReportDate", "PictureName1"};

QString valueOf(const QString& bookmark, const QString& pictureName) {
    if (bookmark == "ReportDate") {
        return QDate::currentDate().toString("yyyy-MM-dd");
    }
    if (bookmark == "PictureName1") {
        return "PictureName:" + pictureName;
    }
    return bookmark + " text";
}

// What a report button does with its ReportWps after openReportTemplate.
void fillReport(ReportWps& report, const QString& picturePath) {
    const QString name = QFileInfo(picturePath).fileName();
    for (const QString& bookmark : kTextBookmarks) {
        report.setBookmarkText(bookmark, valueOf(bookmark, name));
    }
    report.insertBookmarkPicture("Picture1", picturePath);
}

QStringList expectedCalls(const TestStation& station, const QString& picture,
                          const QStringList& missing = {}) {
    QStringList calls = {
        "Application set Visible [true]",
        "Application query Documents",
        "Documents call Add(QString) [" + station.filePath("documents/report.dotx") + ']',
        "Application query ActiveDocument",
    };
    for (const QString& bookmark : kTextBookmarks + QStringList{"Picture1"}) {
        calls << "Document query Bookmarks(QVariant) [" + bookmark + ']';
        if (missing.contains(bookmark)) {
            continue;
        }
        calls << "Bookmark(" + bookmark + ") call Select(void)"
              << "Bookmark(" + bookmark + ") query Range";
        if (bookmark == "Picture1") {
            calls
                << "Document query InlineShapes"
                << "InlineShapes call AddPicture(const QString&, QVariant, QVariant ,QVariant) [" +
                       picture + ", false, true, Range(Picture1)]";
        } else {
            calls << "Range(" + bookmark + ") set Text [" +
                         valueOf(bookmark, QFileInfo(picture).fileName()) + ']';
        }
    }
    return calls;
}

TEST(ReportWps, CallsTheWordProcessorInTheOrderOfAReport) {
    TestStation station("reportwps-calls");
    RecordingServer server;
    server.install();
    const QString picture = station.filePath("Pictures/26-12-10/Varnu/007.tif");
    ReportWps report;
    MessageCapture log;
    ASSERT_TRUE(report.openReportTemplate());
    EXPECT_TRUE(report.failureReason().isEmpty());
    fillReport(report, picture);
    EXPECT_EQ(server.calls(), expectedCalls(station, picture));
    EXPECT_EQ(log.count(QtDebugMsg, "no mark "), 0);
}

TEST(ReportWps, AMissingBookmarkIsSkippedWithOneLogLine) {
    TestStation station("reportwps-mark");
    RecordingServer server({false, false, false, {"Picture1", "SubTitle"}});
    server.install();
    ReportWps report;
    ASSERT_TRUE(report.openReportTemplate());
    MessageCapture log;
    fillReport(report, "/p/1.tif");
    EXPECT_EQ(server.calls(), expectedCalls(station, "/p/1.tif", {"Picture1", "SubTitle"}));
    EXPECT_EQ(log.messages(QtDebugMsg), (QStringList{"no mark SubTitle", "no mark Picture1"}));
}

// Each failure of openReportTemplate: where the conversation stops, and
// that nothing touches the document afterwards.
TEST(ReportWps, AFailedOpeningStopsThereAndTouchesNoDocument) {
    struct Case {
        const char* label;
        bool install;
        RecordingScript script;
        int callsBeforeFailure;
    };
    const Case cases[] = {
        {"no ProgID", false, {}, 0},
        {"no Documents", true, {true, false, false, {}}, 2},
        {"no ActiveDocument", true, {false, true, false, {}}, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        TestStation station("reportwps-fail");
        RecordingServer server(c.script);
        if (c.install) {
            server.install();
        } else {
            varnu::unregisterAxServer("kwps.Application");
        }
        auto report = std::make_unique<ReportWps>();
        MessageCapture log;
        EXPECT_FALSE(report->openReportTemplate());
        EXPECT_FALSE(report->failureReason().isEmpty());
        fillReport(*report, "/p/1.tif");
        report.reset();
        EXPECT_EQ(server.calls(), expectedCalls(station, "").mid(0, c.callsBeforeFailure));
        EXPECT_EQ(log.count(QtDebugMsg, "no mark "), 0);
    }
}

TEST(ReportWps, SelectionFontSize) {
    TestStation station("reportwps-font");
    {
        RecordingServer server;
        server.install();
        ReportWps report;
        MessageCapture log;
        report.setSelectionFontSize(12.5);  // before the word processor is started
        EXPECT_EQ(log.messages(QtDebugMsg), QStringList{"no selection."});
        ASSERT_TRUE(report.openReportTemplate());
        report.setSelectionFontSize(12.5);
        EXPECT_EQ(server.calls().mid(4),
                  (QStringList{"Application query Selection", "Selection query Font",
                               "Font set Size [12.5]"}));
    }
    RecordingServer server({false, false, true, {}});
    server.install();
    ReportWps report;
    ASSERT_TRUE(report.openReportTemplate());
    MessageCapture log;
    report.setSelectionFontSize(9);
    EXPECT_EQ(log.messages(QtDebugMsg), QStringList{"no selection."});
    EXPECT_EQ(server.calls().last(), "Application query Selection");
}

// With the station's own word processor.
class StationReportTest : public ::testing::Test {
  protected:
    void SetUp() override {
        station = std::make_unique<TestStation>("reportwps-station");
        ASSERT_TRUE(reporttest::installTemplate(station->path()));
        picture = station->filePath("Pictures/26-12-10/Varnu/007.tif");
        QDir().mkpath(QFileInfo(picture).path());
        ASSERT_TRUE(reporttest::writeGreyPicture(picture, 96, 64, 8));
        installReportWordProcessor([this](const QString& path) {
            shown << path;
            return true;
        });
    }
    void TearDown() override { QCoreApplication::processEvents(); }

    QStringList reports() const {
        return QDir(reportsFolderPath()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }
    // Every file of the station, relative to it.
    QStringList stationFiles() const {
        QStringList files;
        QDirIterator it(station->path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            files << QDir(station->path()).relativeFilePath(it.next());
        }
        files.sort();
        return files;
    }

    std::unique_ptr<TestStation> station;
    QString picture;
    QStringList shown;
};

TEST_F(StationReportTest, TwoPressesGiveTwoDocumentsWithEverythingFilledIn) {
    const QStringList before = stationFiles();
    auto first = std::make_unique<ReportWps>();
    ASSERT_TRUE(first->openReportTemplate());
    fillReport(*first, picture);
    EXPECT_EQ(completeReport(*first).outcome, ReportResult::Opened);
    first.reset();  // the next press deletes the earlier object
    auto second = std::make_unique<ReportWps>();
    ASSERT_TRUE(second->openReportTemplate());
    fillReport(*second, picture);
    const ReportResult result = completeReport(*second);
    EXPECT_EQ(result.outcome, ReportResult::Opened);

    const QStringList files = reports();
    ASSERT_EQ(files.size(), 2);
    QStringList expected = before;
    for (const QString& f : files) {
        expected << "reports/" + f;
    }
    expected.sort();
    EXPECT_EQ(stationFiles(), expected) << "a file outside the reports folder";

    QFile::remove(picture);
    for (const QString& f : files) {
        SCOPED_TRACE(f.toStdString());
        const QMap<QString, QByteArray> package = readZip(reportsFolderPath() + '/' + f);
        const QByteArray xml = package.value("word/document.xml");
        for (const QString& bookmark : kTextBookmarks) {
            EXPECT_EQ(bookmarkText(xml, bookmark), valueOf(bookmark, "007.tif"));
        }
        EXPECT_EQ(occurrences(xml, "<w:drawing>"), 1);
        EXPECT_TRUE(package.contains("word/media/image1.png"));
    }
    ASSERT_EQ(shown.size(), 2);
    EXPECT_EQ(shown.last(), result.path);
    EXPECT_EQ(reportAuditTexts(result, "007.tif").english, "Open wps, path: 007.tif");
}

TEST_F(StationReportTest, NothingIsWrittenUntilTheFilledReportIsSavedAndThenItIsWhole) {
    ReportWps report;
    ASSERT_TRUE(report.openReportTemplate());
    fillReport(report, picture);
    QCoreApplication::processEvents();
    EXPECT_TRUE(reports().isEmpty()) << "a report being filled is no file yet";
    const QString path = report.saveDocument();
    ASSERT_FALSE(path.isEmpty()) << report.failureReason().toStdString();
    EXPECT_EQ(reports(), QStringList{QFileInfo(path).fileName()});
    const QByteArray xml = readZip(path).value("word/document.xml");
    for (const QString& bookmark : kTextBookmarks) {
        EXPECT_EQ(bookmarkText(xml, bookmark), valueOf(bookmark, "007.tif"));
    }
    // Saving again rewrites the same file.
    report.setBookmarkText("MainTitle", "changed");
    EXPECT_EQ(report.saveDocument(), path);
    EXPECT_EQ(bookmarkText(readZip(path).value("word/document.xml"), "MainTitle"), "changed");
    EXPECT_EQ(reports().size(), 1);
}

TEST_F(StationReportTest, ReportsThatNoProgramOpensAreSavedAndSaySo) {
    installReportWordProcessor([](const QString&) { return false; });
    ReportWps report;
    ASSERT_TRUE(report.openReportTemplate());
    fillReport(report, picture);
    const ReportResult result = completeReport(report);
    EXPECT_EQ(result.outcome, ReportResult::SavedNotOpened);
    EXPECT_TRUE(QFile::exists(result.path));
    EXPECT_EQ(reportAuditTexts(result, "007.tif").english,
              "Save report (not opened), path: " + result.path);
    // Without a program to ask (as in the tests' environment) the same.
    installReportWordProcessor(showWithDesktop);
    ASSERT_TRUE(report.openReportTemplate());
    EXPECT_EQ(completeReport(report).outcome, ReportResult::SavedNotOpened);
}

TEST(ReportResultBox, TheUserLearnsWhereAReportWentOrWhyItDidNot) {
    struct Case {
        ReportResult result;
        QStringList told;
    };
    const Case cases[] = {
        {{ReportResult::Opened, "/s/reports/R.docx", ""}, {}},
        {{ReportResult::SavedNotOpened, "/s/reports/R.docx", ""},
         {"Report|No program can open the report. It was saved as /s/reports/R.docx"}},
        {{ReportResult::NotSaved, "", "/s/reports/R.docx cannot be written: File too large"},
         {"Warning|The report could not be saved: /s/reports/R.docx cannot be written: File too "
          "large"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.result.outcome);
        ModalDriver driver;
        if (!c.told.isEmpty()) {
            driver.answerMessageBox();
        }
        tellReportResult(nullptr, c.result);
        EXPECT_EQ(driver.messages(), c.told);
    }
}

TEST_F(StationReportTest, AReportsFolderThatCannotBeMadeStopsTheOpeningAndWritesNothing) {
    QDir(reportsFolderPath()).removeRecursively();
    QFile blocker(reportsFolderPath());
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    ReportWps report;
    EXPECT_FALSE(report.openReportTemplate());
    EXPECT_TRUE(report.failureReason().contains("cannot be made"))
        << report.failureReason().toStdString();
    fillReport(report, picture);
    const ReportResult result = completeReport(report);
    EXPECT_EQ(result.outcome, ReportResult::NotSaved);
    EXPECT_TRUE(reportAuditTexts(result, "007.tif").english.isEmpty());
    EXPECT_TRUE(QFileInfo(reportsFolderPath()).isFile());
    EXPECT_TRUE(shown.isEmpty());
}

TEST_F(StationReportTest, ATemplateWithoutPicture1GetsItsTextsAndOneLogLine) {
    const QString path = station->filePath("documents/report.dotx");
    QMap<QString, QByteArray> parts = readZip(path);
    QByteArray& xml = parts["word/document.xml"];
    const int removed = xml.replace("<w:bookmarkStart w:id=\"7\" w:name=\"Picture1\"/>", "").size();
    ASSERT_LT(removed, readZip(path).value("word/document.xml").size());
    ASSERT_TRUE(reporttest::writeZip(path, parts));

    ReportWps report;
    ASSERT_TRUE(report.openReportTemplate());
    MessageCapture log;
    fillReport(report, picture);
    EXPECT_EQ(log.count(QtDebugMsg, "no mark "), 1);
    EXPECT_EQ(log.messages(QtDebugMsg), QStringList{"no mark Picture1"});
    ASSERT_FALSE(report.saveDocument().isEmpty());
    ASSERT_EQ(reports().size(), 1);
    const QByteArray out =
        readZip(reportsFolderPath() + '/' + reports().first()).value("word/document.xml");
    for (const QString& bookmark : kTextBookmarks) {
        EXPECT_EQ(bookmarkText(out, bookmark), valueOf(bookmark, "007.tif"));
    }
    EXPECT_EQ(occurrences(out, "<w:drawing>"), 0);
}

// A report cut short in a process of its own: killed while it is filled,
// or over a file-size limit while it is written. What stays is the earlier
// report as it was and nothing of the new one, not even a temporary file.
TEST_F(StationReportTest, AReportCutShortLeavesTheEarlierReportAndNothingOfItself) {
    ReportWps earlier;
    ASSERT_TRUE(earlier.openReportTemplate());
    fillReport(earlier, picture);
    const QString earlierPath = completeReport(earlier).path;
    ASSERT_FALSE(earlierPath.isEmpty());
    QFile earlierFile(earlierPath);
    ASSERT_TRUE(earlierFile.open(QIODevice::ReadOnly));
    const QByteArray earlierBytes = earlierFile.readAll();
    earlierFile.close();
    const QString earlierName = QFileInfo(earlierPath).fileName();

    struct Case {
        const char* mode;
        bool killed;
        int exitCode;
        const char* logged;  // in the child's output
        int newReports;
    };
    const Case cases[] = {
        {"kill-while-filling", true, 0, "", 0},
        {"size-limit-signal", true, 0, "", 0},
        {"size-limit-error", false, 3, "the report was not saved: ", 0},
        {"complete", false, 0, "", 1},
    };
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("VARNU_HOME", station->path());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        const ProgramResult run =
            runProgram(REPORT_FILL_CHILD, {c.mode, picture, "1024"}, environment, 30000);
        ASSERT_TRUE(run.started);
        ASSERT_FALSE(run.timedOut);
        EXPECT_EQ(run.crashed, c.killed) << run.output.toStdString();
        if (!c.killed) {
            EXPECT_EQ(run.exitCode, c.exitCode) << run.output.toStdString();
        }
        EXPECT_TRUE(run.output.contains(c.logged)) << run.output.toStdString();
        if (c.exitCode == 3) {
            EXPECT_TRUE(run.output.contains("cannot be written")) << run.output.toStdString();
        }

        QStringList files = reports();
        ASSERT_TRUE(files.removeOne(earlierName));
        ASSERT_EQ(files.size(), c.newReports) << files.join(", ").toStdString();
        ASSERT_TRUE(earlierFile.open(QIODevice::ReadOnly));
        EXPECT_EQ(earlierFile.readAll(), earlierBytes) << "the earlier report is untouched";
        earlierFile.close();
        for (const QString& f : files) {
            const QByteArray xml =
                readZip(reportsFolderPath() + '/' + f).value("word/document.xml");
            EXPECT_EQ(bookmarkText(xml, "PictureName1"), "PictureName1 text");
            EXPECT_EQ(occurrences(xml, "<w:drawing>"), 1);
            QFile::remove(reportsFolderPath() + '/' + f);
        }
    }
}

TEST_F(StationReportTest, AMissingTemplateGivesAReasonAndNoDocument) {
    ASSERT_TRUE(QFile::remove(station->filePath("documents/report.dotx")));
    ReportWps report;
    EXPECT_FALSE(report.openReportTemplate());
    EXPECT_TRUE(report.failureReason().contains("does not exist"))
        << report.failureReason().toStdString();
    fillReport(report, picture);
    EXPECT_TRUE(reports().isEmpty());
    QCoreApplication::processEvents();
    EXPECT_TRUE(shown.isEmpty());
}

TEST_F(StationReportTest, APictureThatIsNoFileLeavesTheTextsFilled) {
    ReportWps report;
    ASSERT_TRUE(report.openReportTemplate());
    MessageCapture log;
    // The callers pass the bare folder when they find no picture.
    fillReport(report, QFileInfo(picture).path() + '/');
    EXPECT_EQ(log.count(QtWarningMsg, "AxObject: AddPicture"), 1);
    ASSERT_FALSE(report.saveDocument().isEmpty());
    const QByteArray out =
        readZip(reportsFolderPath() + '/' + reports().first()).value("word/document.xml");
    EXPECT_TRUE(report.failureReason().isEmpty()) << "a bookmark failure is no opening failure";
    EXPECT_EQ(bookmarkText(out, "PictureName1"), "PictureName:");
    EXPECT_EQ(bookmarkText(out, "MainTitle"), "MainTitle text");
    EXPECT_EQ(occurrences(out, "<w:drawing>"), 0);
}

TEST_F(StationReportTest, OpeningAgainStartsANewDocumentAndKeepsTheFirst) {
    ReportWps report;
    ASSERT_TRUE(report.openReportTemplate());
    report.setBookmarkText("MainTitle", "first");
    ASSERT_FALSE(report.saveDocument().isEmpty());
    ASSERT_TRUE(report.openReportTemplate());
    report.setBookmarkText("MainTitle", "second");
    ASSERT_FALSE(report.saveDocument().isEmpty());
    const QStringList files = reports();
    ASSERT_EQ(files.size(), 2);
    QStringList titles;
    for (const QString& f : files) {
        titles << bookmarkText(readZip(reportsFolderPath() + '/' + f).value("word/document.xml"),
                               "MainTitle");
    }
    titles.sort();
    EXPECT_EQ(titles, (QStringList{"first", "second"}));
}

}  // namespace
