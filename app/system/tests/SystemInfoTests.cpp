// The system-information page against the update-service stand-in on
// 127.0.0.1: the request, each kind of answer, the time-out, the newest
// check only; the user manual and the picture by model.

#include "SystemInfoFrame.h"
#include "SystemTestSupport.h"
#include "UpdateSimProcess.h"
#include "controller/CI_MainControl.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QUrl>

#include "QtPrinters.h"

#include <memory>

namespace {

// Receives what the page hands to the desktop's default handlers.
class OpenedUrls : public QObject {
    Q_OBJECT
  public:
    OpenedUrls() {
        for (const char* scheme : {"http", "https", "file"})
            QDesktopServices::setUrlHandler(scheme, this, "open");
    }
    ~OpenedUrls() override {
        for (const char* scheme : {"http", "https", "file"})
            QDesktopServices::unsetUrlHandler(scheme);
    }
    QList<QUrl> urls;
  public slots:
    void open(const QUrl& url) { urls << url; }
};

const char kNewer[] =
    R"({"data":{"LatestVersion":"V2.1.3","UpdateTime":"2026-12-01 09:00:00",)"
    R"("UpdateNote":"<p>Fix A</p><p>Fix B</p>","Url":"https://www.example.com/v213.zip"}})";

const char kNewerBox[] =
    "Check for updates|New version detected.\nVersion:V2.1.3\nUpdateTime:2026-12-01 "
    "09:00:00\nUpdateNote:\nFix A\nFix B\n";

// The answer followed by blanks up to `size` bytes (still the same JSON).
QByteArray padded(const QByteArray& answer, int size) {
    return answer + QByteArray(size - answer.size(), ' ');
}

class SystemInfoTest : public SystemPageTest {
  protected:
    void SetUp() override {
        SystemPageTest::SetUp();
        m_reply = s_station->filePath("update-reply.json");
        writeReply(kNewer);
        m_sim = std::make_unique<UpdateSimProcess>(m_reply);
        ASSERT_TRUE(m_sim->start());
        qputenv("VARNU_UPDATE_URL", m_sim->url().toUtf8());
        m_page = std::make_unique<SystemInfoFrame>(nullptr);
        m_page->show();
    }
    void TearDown() override {
        m_page.reset();
        m_sim.reset();
        qunsetenv("VARNU_UPDATE_URL");
    }
    void writeReply(const QByteArray& body) {
        QFile file(m_reply);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(body);
    }
    void check() { m_page->findChild<QPushButton*>("pushButton_Update")->click(); }
    // Waits until the check has ended: a box was answered, or the answer
    // was logged without one.
    bool waitForEnd(const ModalDriver& driver, const LogLines& log, int timeoutMs = 5000) {
        return waitFor(
            [&] {
                return !driver.messages().isEmpty() ||
                       !log.lines()
                            .filter(QRegularExpression(
                                "^(Failed: |Refused download|\\{|<html>|not json)"))
                            .isEmpty();
            },
            timeoutMs);
    }

    QString m_reply;
    std::unique_ptr<UpdateSimProcess> m_sim;
    std::unique_ptr<SystemInfoFrame> m_page;
};

TEST_F(SystemInfoTest, RequestIsTheFormEncodedPostInBothLanguages) {
    for (int language : {1, 0}) {
        s_station->setUserOption("LanguageID", language);
        ModalDriver driver;
        driver.answerMessageBox(QMessageBox::Cancel);
        check();
        ASSERT_TRUE(waitFor([&] { return !driver.messages().isEmpty(); }, 5000));
    }
    EXPECT_EQ(m_sim->requests(),
              (QStringList{"request POST /api/index.php/Software/getSoftWareNewInfo "
                           "content-type=application/x-www-form-urlencoded "
                           "body=&name=en_Varnu&token=bbdc552bfabaafec69f16657ea519c82",
                           "request POST /api/index.php/Software/getSoftWareNewInfo "
                           "content-type=application/x-www-form-urlencoded "
                           "body=&name=Varnu&token=09e01966a319c3f26c1ee03d6b25001b"}));
}

TEST_F(SystemInfoTest, AnswersTable) {
    struct Case {
        const char* name;
        const char* control;  // sent to the stand-in first
        QByteArray reply;
        const char* message;  // the box shown, or "" for log lines only
        const char* logged;   // a line that must be logged ("" for none)
    };
    const Case cases[] = {
        {"newer", "normal", kNewer, kNewerBox, "status code = 200"},
        {"equal", "normal", R"({"data":{"LatestVersion":"V2.1.2","Url":"https://x.example.com/"}})",
         "Check for updates|It is the latest version.", ""},
        {"missing version", "normal", R"({"data":{}})",
         "Check for updates|It is the latest version.", ""},
        {"numerically newer", "normal",
         R"({"data":{"LatestVersion":"V2.1.10","UpdateTime":"t","UpdateNote":"<p>A</p><p>B","Url":"http://x.example.com/"}})",
         "Check for updates|New version detected.\nVersion:V2.1.10\nUpdateTime:t\nUpdateNote:\nA\n",
         ""},
        {"no data", "normal", R"({"LatestVersion":"V9"})", "", ""},
        {"data not an object", "normal", R"({"data":"V9"})",
         "Check for updates|It is the latest version.", ""},
        {"not JSON", "garbage", kNewer, "", ""},
        {"HTTP 500", "fail 500", kNewer, "", "status code = 500"},
        // A newer version is told whatever its link; Cancel opens nothing.
        {"file link", "normal", R"({"data":{"LatestVersion":"V2.2","Url":"file:///etc/passwd"}})",
         "Check for updates|New version detected.\nVersion:V2.2\nUpdateTime:\nUpdateNote:\n", ""},
        // Answers up to 1 MiB are read; a longer one is a failed check.
        {"1 MiB answer", "normal", padded(kNewer, 1 << 20), kNewerBox, "status code = 200"},
        {"answer over 1 MiB", "normal", padded(kNewer, (1 << 20) + 1), "",
         "Failed: the answer is larger than 1048576 bytes"},
        {"answer of 8 MiB", "normal", padded(kNewer, 8 << 20), "",
         "Failed: the answer is larger than 1048576 bytes"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(m_sim->command(c.control));
        writeReply(c.reply);
        ModalDriver driver;
        if (*c.message != '\0')
            driver.answerMessageBox(QMessageBox::Cancel);
        OpenedUrls opened;
        LogLines log;
        check();
        ASSERT_TRUE(waitForEnd(driver, log));
        QCoreApplication::processEvents(QEventLoop::AllEvents, 200);
        EXPECT_EQ(driver.messages(), *c.message ? QStringList{c.message} : QStringList{});
        if (*c.logged != '\0') {
            EXPECT_TRUE(log.contains(c.logged)) << log.lines().join("\n").toStdString();
        }
        EXPECT_TRUE(opened.urls.isEmpty());
    }
}

TEST_F(SystemInfoTest, DownloadOpensTheLinkAndCancelDoesNot) {
    for (auto button : {QMessageBox::Cancel, QMessageBox::Ok}) {
        ModalDriver driver;
        driver.answerMessageBox(button);
        OpenedUrls opened;
        LogLines log;
        check();
        ASSERT_TRUE(waitFor([&] { return log.contains("OK") || log.contains("Cancel"); }, 5000));
        EXPECT_EQ(opened.urls, button == QMessageBox::Ok
                                   ? QList<QUrl>{QUrl("https://www.example.com/v213.zip")}
                                   : QList<QUrl>{});
    }
}

TEST_F(SystemInfoTest, DownloadOfALinkThatIsNoWebAddressOpensNothingAndSaysSo) {
    for (const char* link : {"file:///etc/passwd", "ftp://x.example.com/v.zip", "javascript:x"}) {
        SCOPED_TRACE(link);
        writeReply(QByteArray(R"({"data":{"LatestVersion":"V2.2","Url":")") + link + "\"}}");
        ModalDriver driver;
        driver.answerMessageBox(QMessageBox::Ok).answerMessageBox(QMessageBox::Ok);
        OpenedUrls opened;
        LogLines log;
        check();
        ASSERT_TRUE(waitFor([&] { return driver.pendingSteps() == 0; }, 5000));
        EXPECT_EQ(driver.messages(),
                  (QStringList{"Check for updates|New version detected.\nVersion:V2.2\n"
                               "UpdateTime:\nUpdateNote:\n",
                               "Check for updates|The download link cannot be opened."}));
        EXPECT_TRUE(log.contains(QStringLiteral("Refused download link: ") + link))
            << log.lines().join("\n").toStdString();
        EXPECT_TRUE(opened.urls.isEmpty());
    }
}

TEST_F(SystemInfoTest, ARefusedConnectionEndsInALogLine) {
    m_sim->stop();
    ModalDriver driver;
    LogLines log;
    check();
    ASSERT_TRUE(waitForEnd(driver, log));
    EXPECT_FALSE(log.lines().filter("Failed: ").isEmpty());
    EXPECT_TRUE(driver.messages().isEmpty());
}

TEST_F(SystemInfoTest, OnlyTheNewestOfTwoQuickChecksIsAnswered) {
    ASSERT_TRUE(m_sim->command("delay 800"));
    ModalDriver driver;
    driver.answerMessageBox(QMessageBox::Cancel).answerMessageBox(QMessageBox::Cancel);
    check();
    // The first request is in flight at the service when the second starts.
    ASSERT_TRUE(waitFor([&] { return m_sim->requests().size() == 1; }, 5000));
    check();
    ASSERT_TRUE(waitFor([&] { return !driver.messages().isEmpty(); }, 5000));
    QCoreApplication::processEvents(QEventLoop::AllEvents, 1500);
    waitFor([] { return false; }, 1500);
    EXPECT_EQ(driver.messages().size(), 1);
    EXPECT_EQ(m_sim->requests().size(), 2);
}

TEST_F(SystemInfoTest, AHungServiceEndsAfterTheTimeOutAndThePageStaysUsable) {
    ASSERT_TRUE(m_sim->command("hang"));
    ModalDriver driver;
    LogLines log;
    check();
    EXPECT_FALSE(waitForEnd(driver, log, 13000));  // still waiting well inside 15 s
    ASSERT_TRUE(waitForEnd(driver, log, 5000));
    EXPECT_FALSE(log.lines().filter("Failed: ").isEmpty());
    EXPECT_TRUE(driver.messages().isEmpty());
    ASSERT_TRUE(m_sim->command("normal"));
    driver.answerMessageBox(QMessageBox::Cancel);
    check();
    EXPECT_TRUE(waitFor([&] { return !driver.messages().isEmpty(); }, 5000));
}

TEST_F(SystemInfoTest, UserManualAndPictureFollowTheModel) {
    const QString documents = s_station->filePath("documents");
    QDir(documents).removeRecursively();
    {
        ModalDriver driver;
        driver.answerMessageBox(QMessageBox::Ok);
        OpenedUrls opened;
        m_page->findChild<QPushButton*>("pushButton_UserManual")->click();
        EXPECT_EQ(
            driver.messages(),
            QStringList{"Warning|Open user manual failed, Please makesure WPS is installed."});
        EXPECT_TRUE(opened.urls.isEmpty());
    }
    QDir().mkpath(documents);
    for (const char* name : {"user_manual_520.pdf", "user_manual_550.pdf"}) {
        QFile file(documents + "/" + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("%PDF-1.4\n");
    }
    const std::pair<const char*, const char*> models[] = {{"320", "user_manual_520.pdf"},
                                                          {"520", "user_manual_520.pdf"},
                                                          {"550", "user_manual_550.pdf"}};
    for (const auto& [model, manual] : models) {
        s_station->writeMachineIni(model);
        OpenedUrls opened;
        m_page->findChild<QPushButton*>("pushButton_UserManual")->click();
        EXPECT_EQ(opened.urls, QList<QUrl>{QUrl::fromLocalFile(documents + "/" + manual)}) << model;
    }
    s_station->writeMachineIni("320");

    const std::pair<int, const char*> pictures[] = {{0, ":/Image/systemInfo_en.png"},
                                                    {1, ":/Image/systemInfo_en.png"},
                                                    {2, ":/Image/systemInfo_550_en.png"}};
    for (const auto& [machine, picture] : pictures) {
        s_control->machineName = machine;
        SystemInfoFrame page(nullptr);
        const QImage expected(picture);
        ASSERT_FALSE(expected.isNull());
        EXPECT_EQ(page.findChild<QLabel*>("label_SysInfo")
                      ->pixmap(Qt::ReturnByValue)
                      .toImage()
                      .convertToFormat(expected.format()),
                  expected)
            << machine;
        EXPECT_EQ(page.findChild<QLabel*>("label_VersionNo")->text(), "V2.1.2");
    }
    s_control->machineName = 0;
}

}  // namespace

#include "SystemInfoTests.moc"
