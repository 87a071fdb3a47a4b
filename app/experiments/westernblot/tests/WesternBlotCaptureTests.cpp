// The western-blot page's estimate, captures, paging, stretch and export,
// driven through the page against the simulated cooled camera and the
// dark-room simulator (whose journal shows the blot light).
#include "DarkroomSimProcess.h"
#include "GelTiff.h"
#include "ModalDriver.h"
#include "ReportTestFiles.h"
#include "ReportWordProcessor.h"
#include "TestStation.h"
#include "WesternBlotFrame.h"
#include "WesternBlot_BottomBarFrame.h"
#include "WesternBlot_ImageFrame.h"
#include "base/Enumerations.h"
#include "camera/TucsenCamCtrl.h"
#include "camera/TucsenPictureOps.h"
#include "controller/CI_MainControl.h"
#include "database/UserInfo.h"
#include "database/Westblot_ExperimentDB.h"
#include "serial/ASyncSerialPortThread.h"

#include <CamCore_control.h>

#include <QDir>
#include <QFileDialog>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSettings>
#include <QSignalSpy>
#include <QTest>

#include <opencv2/core.hpp>
#include <opencv2/imgcodecs.hpp>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <utility>
#include <vector>

namespace {

class WesternBlotCaptureTest : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        s_station = new TestStation(QStringLiteral("westernblot-capture"));
        s_station->writeMachineIni(QStringLiteral("320"), WesternBlot);
        s_station->setUserOption(QStringLiteral("LanguageID"), 1);
        s_station->setUserOption(QStringLiteral("storagePath"),
                                 s_station->path() + QStringLiteral("/storage"));
        s_control = CI_MainControl::getInstance();
        ASSERT_TRUE(s_control->initMachineName());
        s_sim = new DarkroomSimProcess(QStringLiteral("westernblot-link"));
        ASSERT_TRUE(s_sim->start());
        s_control->ConnectToPort(s_sim->linkPath());
        ASSERT_TRUE(waitUntil([] { return s_control->serialPortThread->isRunning(); }, 3000));
    }
    static void TearDownTestSuite() {
        s_control->serialPortThread->closePort();
        s_control->serialPortThread->wait(3000);
        delete s_sim;
    }

    void SetUp() override {
        camsim_reset("width=64,height=32,time_scale=0,noise=0,scene=bands");
        ASSERT_TRUE(s_control->initTucsenCam());
        s_control->currentUser = &user;
        user.authImgProcess = true;
        user.authRptExport = true;
        page = std::make_unique<WesternBlotFrame>();
        page->resize(1024, 643);
    }
    void TearDown() override {
        page->exitExperimentFrameHandle();
        page.reset();
        s_control->currentUser = nullptr;
    }

    WesternBlot_ImageFrame* image() const { return page->imageFrame(); }
    template <typename T>
    T* child(QWidget* root, const char* name) const {
        T* found = root->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QString position() const { return child<QLabel>(image(), "label_Position")->text(); }
    bool pagingShown() const { return child<QWidget>(image(), "frame_Btn")->isVisibleTo(image()); }

    // Enters the page and waits for the live picture.
    void enterPage() {
        page->slot_EnterWbFrame();
        page->show();
        auto* picture = child<QLabel>(image(), "label_Cam");
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return !picture->pixmap(Qt::ReturnByValue).isNull(); }, 5000));
    }
    void setManualSeries(const QList<QStringList>& entries) {
        UserOpts& options = s_control->userOpt;
        options.CapCount = entries.size();
        options.saveUserOpt(UserOpt_CapCount);
        for (int i = 0; i < entries.size(); ++i) {
            *(&options.ExpTime_1 + i) = entries.at(i);
            options.saveUserOpt(UserOpt_ExpTime_1 + i);
        }
    }
    static int tifsIn(const QString& folder) {
        return QDir(folder).entryList({QStringLiteral("*.tif")}, QDir::Files).size();
    }
    QStringList lightNotes() const {
        QStringList notes;
        for (const SimJournalEntry& entry : s_sim->journal()) {
            if (entry.note.startsWith(QStringLiteral("blot light"))) {
                notes << entry.note;
            }
        }
        return notes;
    }
    TucsenCamCtrl* camera() const { return TucsenCamCtrl::getInstance(); }
    // The histogram requests of the image frame (capture mode, picture).
    using Requests = std::vector<std::pair<int, int>>;
    std::shared_ptr<Requests> histogramRequests() const {
        auto requests = std::make_shared<Requests>();
        QObject::connect(image(), &WesternBlot_ImageFrame::sig_UpdateHisto, page.get(),
                         [requests](WesternBlot_FuncsFrameType type, int index) {
                             requests->emplace_back(type, index);
                         });
        return requests;
    }

    static TestStation* s_station;
    static CI_MainControl* s_control;
    static DarkroomSimProcess* s_sim;
    UserInfo user;
    std::unique_ptr<WesternBlotFrame> page;
};

TestStation* WesternBlotCaptureTest::s_station = nullptr;
CI_MainControl* WesternBlotCaptureTest::s_control = nullptr;
DarkroomSimProcess* WesternBlotCaptureTest::s_sim = nullptr;

// An estimate, then a single capture with the marker picture: the marker,
// the chemiluminescence picture and their blend in both folders, and a row
// with the marker's and the estimated exposure.
TEST_F(WesternBlotCaptureTest, EstimateThenSingleCaptureWithMarker) {
    s_station->setUserOption(QStringLiteral("WbMarker"), false);
    enterPage();
    QSignalSpy estimates(image(), &WesternBlot_ImageFrame::sig_UpdateAutoExpTime);
    image()->autoExpStartHandle();  // returns once its busy dialog has closed
    ASSERT_EQ(estimates.count(), 1);
    const int estimate = estimates.first().first().toInt();
    EXPECT_GT(estimate, 0);
    EXPECT_TRUE(QFile::exists(s_station->filePath(QStringLiteral("threshold.tif"))));
    EXPECT_EQ(camera()->deviceState(), 0);
    EXPECT_TRUE(child<QLabel>(page->bottomBar(), "label_PreviewStatus")->text().isEmpty());

    // The single panel keeps the estimate as the capture's time.
    s_control->userOpt.ExpTime = estimate;
    s_control->userOpt.saveUserOpt(UserOpt_ExpTime);
    s_sim->command(QStringLiteral("clear"));
    const auto histograms = histogramRequests();
    image()->capStartHandle();  // returns once the progress dialog has closed

    const WestblotExperiment* record = image()->currentExperiment();
    ASSERT_NE(record, nullptr);
    EXPECT_TRUE(QRegularExpression(
                    QStringLiteral("^WestBlot_Single\\d{4}-\\d\\d-\\d\\d-\\d\\d-\\d\\d-\\d\\d$"))
                    .match(record->name)
                    .hasMatch())
        << record->name.toStdString();
    const QString day = record->dateTime.date().toString(QStringLiteral("yy-MM-dd"));
    EXPECT_EQ(record->picSavedPath,
              s_station->path() + "/Pictures/" + day + "/" + record->name + "/");
    EXPECT_EQ(tifsIn(record->picSavedPath), 3);
    EXPECT_EQ(tifsIn(s_station->path() + "/storage/" + day + "/" + record->name), 3);
    const auto row = s_control->westblotExperimentDB->loadByName(record->name);
    ASSERT_TRUE(row);
    s_control->camOpt.loadTucsenCurrentCamSet();
    EXPECT_EQ(row->exposureTime, QStringLiteral("%1,%2,")
                                     .arg(s_control->camOpt.tucsenCurrentCamSet.ExposurePre)
                                     .arg(estimate));
    EXPECT_EQ(position(), QStringLiteral("3 / 3"));
    EXPECT_TRUE(pagingShown());
    EXPECT_EQ(*histograms, (Requests{{WB_SingleCapture, 2}}));
    EXPECT_TRUE(child<QPushButton>(page->bottomBar(), "pushButton_Export")->isEnabled());
    EXPECT_TRUE(child<QPushButton>(page->bottomBar(), "pushButton_WpsEdit")->isEnabled());
    EXPECT_TRUE(waitUntil([&] { return lightNotes().size() >= 2; }, 5000));
    EXPECT_EQ(lightNotes(), (QStringList{"blot light on", "blot light off"}));
}

// Paging: the last picture of every capture is shown, also when the bar's
// value does not change; one picture shows no paging bar.
TEST_F(WesternBlotCaptureTest, PagingShowsTheLastPictureOfEachCapture) {
    s_station->setUserOption(QStringLiteral("WbMarker"), true);
    enterPage();
    camera()->curFuncFrameType = WB_ManualCapture;
    setManualSeries({{"0", "00", "200"}, {"0", "00", "400"}});
    auto* bar = child<QScrollBar>(image(), "horizontalScrollBar");
    const auto histograms = histogramRequests();

    image()->capStartHandle();
    EXPECT_EQ(position(), QStringLiteral("2 / 2"));
    EXPECT_TRUE(pagingShown());
    EXPECT_EQ(bar->maximum(), 1);
    EXPECT_EQ(bar->value(), 1);
    EXPECT_EQ(image()->pictureIndex(), 1);
    ASSERT_NE(image()->currentExperiment(), nullptr);
    EXPECT_TRUE(image()->currentExperiment()->name.startsWith(QStringLiteral("WestBlot_Manual")));

    bar->setValue(0);
    EXPECT_EQ(position(), QStringLiteral("1 / 2"));
    EXPECT_EQ(image()->pictureIndex(), 0);
    EXPECT_EQ(*histograms, (Requests{{WB_ManualCapture, 1}, {WB_ManualCapture, 0}}));
    EXPECT_EQ(std::memcmp(s_control->pictureBuffer, camera()->frameList.at(0),
                          camera()->imageBufferSize()),
              0);

    // A second capture of two shows its picture 2 again, and the bar that
    // had been moved to 1 of 2 as well.
    bar->setValue(1);
    histograms->clear();
    image()->capStartHandle();
    EXPECT_EQ(position(), QStringLiteral("2 / 2"));
    EXPECT_EQ(image()->pictureIndex(), 1);
    EXPECT_EQ(*histograms, (Requests{{WB_ManualCapture, 1}}));
    EXPECT_EQ(std::memcmp(s_control->pictureBuffer, camera()->frameList.at(1),
                          camera()->imageBufferSize()),
              0);

    camera()->curFuncFrameType = WB_SingleCapture;
    s_control->userOpt.ExpTime = 300;
    s_control->userOpt.saveUserOpt(UserOpt_ExpTime);
    image()->capStartHandle();
    EXPECT_EQ(position(), QStringLiteral("1 / 1"));
    EXPECT_FALSE(pagingShown());

    // Leaving drops the pictures and the record and returns to single mode.
    camera()->curFuncFrameType = WB_ManualCapture;
    page->exitExperimentFrameHandle();
    EXPECT_EQ(camera()->curFuncFrameType, static_cast<int>(WB_SingleCapture));
    EXPECT_TRUE(camera()->frameList.isEmpty());
    EXPECT_EQ(image()->currentExperiment(), nullptr);
}

// Each stretch starts from the captured samples, and the captured picture
// itself is never changed.
TEST_F(WesternBlotCaptureTest, StretchStartsFromTheCapturedPicture) {
    s_station->setUserOption(QStringLiteral("WbMarker"), true);
    s_control->userOpt.ExpTime = 5000;
    s_control->userOpt.saveUserOpt(UserOpt_ExpTime);
    enterPage();
    image()->capStartHandle();
    ASSERT_EQ(camera()->frameList.size(), 1);
    const size_t bytes = camera()->imageBufferSize();
    const std::vector<uchar> captured(camera()->frameList.at(0), camera()->frameList.at(0) + bytes);
    image()->updateHistoedImgHandle(0, 1);
    EXPECT_NE(std::memcmp(s_control->pictureBuffer, captured.data(), bytes), 0);
    image()->updateHistoedImgHandle(500, 500);
    image()->updateHistoedImgHandle(0, 65535);
    EXPECT_EQ(std::memcmp(s_control->pictureBuffer, captured.data(), bytes), 0);
    EXPECT_EQ(std::memcmp(camera()->frameList.at(0), captured.data(), bytes), 0);
}

// Export by the suffix of the chosen name: Qt formats as the screen's 8-bit
// colour picture, everything else as the stored 16-bit 600 dpi TIFF; a
// failed write is told.
TEST_F(WesternBlotCaptureTest, ExportBySuffix) {
    s_station->setUserOption(QStringLiteral("WbMarker"), true);
    s_control->userOpt.ExpTime = 5000;
    s_control->userOpt.saveUserOpt(UserOpt_ExpTime);
    enterPage();
    image()->capStartHandle();
    ASSERT_NE(s_control->pictureBuffer, nullptr);
    const cv::Mat stored =
        TucsenPictureOps::storedImage(s_control->pictureBuffer, camera()->imageBufferSize());

    const QString folder = s_station->path() + QStringLiteral("/exports/");
    QDir().mkpath(folder);
    QFile blocker(folder + QStringLiteral("missing"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    struct Case {
        QString name;
        QString filter;
        QString written;  // empty: nothing written, the user is told
        QByteArray format;
    };
    const Case cases[] = {
        {folder + "a.png", "*.png", folder + "a.png", "png"},
        {folder + "b", "*.tif", folder + "b.tif", "tiff"},
        {folder + "c.JPG", "*.tif", folder + "c.JPG", "jpeg"},
        {folder + "d.xyz", "*.png", folder + "d.xyz", "tiff"},
        {folder + "missing/e.tif", "*.tif", QString(), QByteArray()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        ModalDriver driver;
        driver.onDialog([&](QDialog* dialog) {
            auto* files = qobject_cast<QFileDialog*>(dialog);
            ASSERT_NE(files, nullptr);
            files->selectNameFilter(c.filter);
            auto* name = files->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            ASSERT_NE(name, nullptr);
            name->setText(c.name);
            QMetaObject::invokeMethod(files, "accept");
        });
        if (c.written.isEmpty()) {
            driver.answerMessageBox(QMessageBox::Ok);
        }
        child<QPushButton>(page->bottomBar(), "pushButton_Export")->click();
        EXPECT_EQ(driver.pendingSteps(), 0);
        if (c.written.isEmpty()) {
            ASSERT_EQ(driver.messages().size(), 1);
            EXPECT_TRUE(driver.messages().first().startsWith(QStringLiteral("Warning|")));
            continue;
        }
        QImageReader reader(c.written);
        EXPECT_EQ(reader.format(), c.format);
        if (c.format == "tiff") {
            const GelTiff tiff = readGelTiff(c.written);
            EXPECT_EQ(tiff.bitsPerSample, 16);
            EXPECT_EQ(tiff.xResolution, 600.0f);
            EXPECT_EQ(tiff.compression, 1);
            const cv::Mat back = cv::imread(c.written.toStdString(), cv::IMREAD_UNCHANGED);
            ASSERT_EQ(back.type(), CV_16UC1);
            EXPECT_EQ(cv::norm(back, stored, cv::NORM_INF), 0.0);
        } else {
            const QImage read = reader.read();
            EXPECT_EQ(read.size(), QSize(stored.cols, stored.rows));
            EXPECT_FALSE(read.isGrayscale() && read.depth() == 16);
        }
    }

    // A cancelled dialog writes nothing.
    const int before = QDir(folder).entryList(QDir::Files).size();
    ModalDriver driver;
    driver.onDialog([](QDialog* dialog) { dialog->reject(); });
    image()->slot_ExportClick();
    EXPECT_EQ(QDir(folder).entryList(QDir::Files).size(), before);
}

// The report takes the picture on show: the name of the folder's picture at
// its index. Without the template the user is told.
TEST_F(WesternBlotCaptureTest, ReportOfThePictureOnShow) {
    installReportWordProcessor();
    s_station->setUserOption(QStringLiteral("WbMarker"), false);
    s_control->userOpt.ExpTime = 5000;
    s_control->userOpt.saveUserOpt(UserOpt_ExpTime);
    enterPage();
    image()->capStartHandle();
    ASSERT_NE(image()->currentExperiment(), nullptr);
    child<QScrollBar>(image(), "horizontalScrollBar")->setValue(1);
    const QStringList files = QDir(image()->currentExperiment()->picSavedPath)
                                  .entryList({QStringLiteral("*.tif")}, QDir::Files, QDir::Name);
    ASSERT_EQ(files.size(), 3);

    {
        ModalDriver driver;
        driver.answerMessageBox(QMessageBox::Ok);
        child<QPushButton>(page->bottomBar(), "pushButton_WpsEdit")->click();
        EXPECT_EQ(driver.pendingSteps(), 0);
    }
    QDir reports(reportsFolderPath());
    EXPECT_TRUE(reports.entryList(QDir::Files).isEmpty());

    ASSERT_TRUE(reporttest::installTemplate(s_station->path()));
    child<QPushButton>(page->bottomBar(), "pushButton_WpsEdit")->click();
    ASSERT_TRUE(waitUntil([&] { return reports.entryList(QDir::Files).size() == 1; }, 5000));
    const QByteArray document =
        reporttest::readZip(reports.filePath(reports.entryList(QDir::Files).first()))
            .value(QStringLiteral("word/document.xml"));
    EXPECT_EQ(reporttest::bookmarkText(document, QStringLiteral("PictureName1")),
              QStringLiteral("PictureName:") + files.at(1));
}

}  // namespace
