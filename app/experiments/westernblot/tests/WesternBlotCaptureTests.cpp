// The western-blot page's estimate, captures, paging, stretch and export,
// driven through the page against the simulated cooled camera and the
// dark-room simulator (whose journal shows the blot light).
#include "BlotHistogramRange.h"
#include "BlotSingleCaptureFrame.h"
#include "CapTimeSetFrame.h"
#include "GelTiff.h"
#include "ModalDriver.h"
#include "ReportTestFiles.h"
#include "ReportWordProcessor.h"
#include "StallMeter.h"
#include "WesternBlotPicture.h"
#include "WesternBlotStationTest.h"
#include "WesternBlot_BottomBarFrame.h"
#include "WesternBlot_FuncsFrame.h"
#include "WesternBlot_ImageFrame.h"
#include "base/Enumerations.h"
#include "camera/EstimateExpTimeThread.h"
#include "camera/TucsenCamCtrl.h"
#include "camera/TucsenPictureOps.h"
#include "controller/CI_MainControl.h"
#include "database/UserInfo.h"
#include "database/Westblot_ExperimentDB.h"

#include <CamCore_control.h>

#include <QDir>
#include <QElapsedTimer>
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
#include <QTimer>

#include <opencv2/core.hpp>
#include <opencv2/imgcodecs.hpp>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

namespace {

using WesternBlotCaptureTest = WesternBlotStationTest;

// The picture buffer holds captured picture `index` stretched over its
// automatic range, as the capture panel's histogram puts it.
bool showsPictureStretched(int index) {
    TucsenCamCtrl* camera = TucsenCamCtrl::getInstance();
    const size_t bytes = camera->imageBufferSize();
    std::vector<uchar> expected(camera->frameList.at(index), camera->frameList.at(index) + bytes);
    const auto range = BlotHistogramRange::autoRange(camera->getRawHistogram(index));
    stretchPicture(expected.data(), bytes, range.first, range.second);
    return std::memcmp(CI_MainControl::getInstance()->pictureBuffer, expected.data(), bytes) == 0;
}

// The single panel's estimate, then its capture with the marker picture:
// the marker, the chemiluminescence picture and their blend in both
// folders, and a row with the marker's and the estimated exposure.
TEST_F(WesternBlotCaptureTest, EstimateThenSingleCaptureWithMarker) {
    station().setUserOption(QStringLiteral("WbMarker"), false);
    // A sensor large enough for the estimate to find the bands.
    camsim_reset("width=1024,height=1024,time_scale=0,noise=0,scene=bands");
    ASSERT_TRUE(control()->initTucsenCam());
    enterPage();
    // The preview switched the blot light on.
    auto* single = page->funcsFrame()->singlePanel();
    EXPECT_TRUE(child<QPushButton>(single, "pushButton_Light")->isChecked());
    lightNotes();  // the line is quiet again
    darkroom().command(QStringLiteral("clear"));

    QSignalSpy estimates(image(), &WesternBlot_ImageFrame::sig_UpdateAutoExpTime);
    child<QPushButton>(single, "pushButton_AutoTime")->click();  // returns once its dialog closed
    ASSERT_EQ(estimates.count(), 1);
    const int estimate = estimates.first().first().toInt();
    EXPECT_GT(estimate, 0);
    EXPECT_LT(estimate, EstimateExpTimeThread::kNoBandExpTime);
    // Shown, then deleted.
    EXPECT_FALSE(QFile::exists(station().filePath(QStringLiteral("threshold.tif"))));
    EXPECT_TRUE(child<QWidget>(single, "groupBox_PreviewImage")->isVisibleTo(single));
    EXPECT_FALSE(child<QLabel>(single, "label_PreviewImage")->pixmap(Qt::ReturnByValue).isNull());
    // The live picture is back, under its light, without Preview pressed.
    EXPECT_EQ(child<QLabel>(page->bottomBar(), "label_PreviewStatus")->text(),
              QStringLiteral("Previewing..."));
    auto* picture = child<QLabel>(image(), "label_Cam");
    const int decoded = camsim_frames_decoded();
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return camsim_frames_decoded() > decoded + 1 &&
                   !picture->pixmap(Qt::ReturnByValue).isNull();
        },
        5000));
    EXPECT_TRUE(child<QPushButton>(single, "pushButton_Light")->isChecked());
    // Kept as the capture's time, as far as the time entry shows it.
    const int stored = std::min(estimate, CapTimeSetFrame::kMaxCapTimeMs);
    control()->userOpt.loadUserOpt(UserOpt_ExpTime);
    EXPECT_EQ(control()->userOpt.ExpTime, stored);

    const auto histograms = histogramRequests();
    child<QPushButton>(single, "pushButton_Capture")->click();  // returns once its dialog closed

    const WestblotExperiment* record = image()->currentExperiment();
    ASSERT_NE(record, nullptr);
    EXPECT_TRUE(QRegularExpression(
                    QStringLiteral("^WestBlot_Single\\d{4}-\\d\\d-\\d\\d-\\d\\d-\\d\\d-\\d\\d$"))
                    .match(record->name)
                    .hasMatch())
        << record->name.toStdString();
    const QString day = record->dateTime.date().toString(QStringLiteral("yy-MM-dd"));
    EXPECT_EQ(record->picSavedPath,
              station().path() + "/Pictures/" + day + "/" + record->name + "/");
    EXPECT_EQ(tifsIn(record->picSavedPath), 3);
    EXPECT_EQ(tifsIn(station().path() + "/storage/" + day + "/" + record->name), 3);
    const auto row = control()->westblotExperimentDB->loadByName(record->name);
    ASSERT_TRUE(row);
    control()->camOpt.loadTucsenCurrentCamSet();
    EXPECT_EQ(row->exposureTime, QStringLiteral("%1,%2,")
                                     .arg(control()->camOpt.tucsenCurrentCamSet.ExposurePre)
                                     .arg(stored));
    EXPECT_EQ(position(), QStringLiteral("3 / 3"));
    EXPECT_TRUE(pagingShown());
    EXPECT_EQ(*histograms, (Requests{{WesternBlot_SingleCapture, 2}}));
    EXPECT_TRUE(child<QPushButton>(page->bottomBar(), "pushButton_Export")->isEnabled());
    EXPECT_TRUE(child<QPushButton>(page->bottomBar(), "pushButton_WpsEdit")->isEnabled());
    // Off before the estimate, on for the preview after it (from each panel,
    // as on entering the page), off before the capture, then on and off
    // around the marker picture.
    EXPECT_EQ(lightNotes(), (QStringList{"blot light off", "blot light on", "blot light on",
                                         "blot light off", "blot light on", "blot light off"}));
}

// An estimate that finds no band says so before its fallback time goes to
// the panel.
TEST_F(WesternBlotCaptureTest, AnEstimateThatFindsNoBandSaysSo) {
    camsim_reset("width=512,height=384,time_scale=0,noise=0,scene=dark");
    ASSERT_TRUE(control()->initTucsenCam());
    enterPage();
    auto* single = page->funcsFrame()->singlePanel();
    QSignalSpy estimates(image(), &WesternBlot_ImageFrame::sig_UpdateAutoExpTime);
    ModalDriver driver;
    driver.answerMessageBox();
    child<QPushButton>(single, "pushButton_AutoTime")->click();
    ASSERT_EQ(estimates.count(), 1);
    EXPECT_EQ(estimates.first().first().toInt(), EstimateExpTimeThread::kNoBandExpTime);
    EXPECT_EQ(driver.messages(),
              QStringList{QStringLiteral("Warning|No band was found on the membrane. The exposure "
                                         "time is set to 25 minutes.")});
    control()->userOpt.loadUserOpt(UserOpt_ExpTime);
    EXPECT_EQ(control()->userOpt.ExpTime, EstimateExpTimeThread::kNoBandExpTime);
}

// A camera that neither takes its suspend nor ends its read keeps the
// preview loops running after the preview was closed. Auto Time and Capture
// then wait for the loops without holding the page: the click returns at
// once, the event loop runs on, and the step runs as always once the read
// has ended (the estimate brings the live picture back). Loops that do not
// end within the bound drop the step with a message; a page left meanwhile
// runs no step.
TEST_F(WesternBlotCaptureTest, EstimateAndCaptureWaitForASlowPreviewStopWithoutHoldingThePage) {
    enum class Outcome { Runs, Message, LeftPage };
    struct Case {
        const char* name;
        const char* button;
        Outcome outcome;
    };
    const Case cases[] = {
        {"estimate", "pushButton_AutoTime", Outcome::Runs},
        {"capture", "pushButton_Capture", Outcome::Runs},
        {"estimate, loops never end", "pushButton_AutoTime", Outcome::Message},
        {"capture, loops never end", "pushButton_Capture", Outcome::Message},
        {"estimate, page left", "pushButton_AutoTime", Outcome::LeftPage},
    };
    std::printf("%-28s %10s %10s\n", "case", "click ms", "stall ms");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        camsim_reset("width=1024,height=1024,time_scale=0,noise=0,scene=bands");
        ASSERT_TRUE(control()->initTucsenCam());
        setExpTime(500);
        page = std::make_unique<WesternBlotFrame>();
        page->resize(1024, 643);
        enterPage();
        auto* single = page->funcsFrame()->singlePanel();
        QSignalSpy estimates(image(), &WesternBlot_ImageFrame::sig_UpdateAutoExpTime);
        const auto stepRan = [&] {
            const int pictures = camera()->frameList.size();
            return std::strcmp(c.button, "pushButton_AutoTime") == 0
                       ? estimates.count() == 1
                       : pictures > 0 && position() == QStringLiteral("%1 / %1").arg(pictures);
        };
        ModalDriver driver;
        driver.answerMessageBox();
        camsim_fail("SuspendDevice", -1, -1);
        camsim_stall_reads(1);
        // A read under way delivers its frame; the next one stalls.
        const int grabbed = camsim_frames_grabbed();
        static_cast<void>(QTest::qWaitFor([&] { return camsim_frames_grabbed() > grabbed; }, 1000));
        const int readEndsMs =
            c.outcome == Outcome::Message ? WesternBlot_ImageFrame::kStopBoundMs + 1000 : 1500;
        QTimer::singleShot(readEndsMs, [] { camsim_stall_reads(0); });
        StallMeter meter;
        meter.start();
        QElapsedTimer clock;
        clock.start();
        child<QPushButton>(single, c.button)->click();
        const qint64 clickMs = clock.elapsed();
        if (c.outcome == Outcome::Runs) {
            ASSERT_TRUE(QTest::qWaitFor(stepRan, 20000));
            EXPECT_GE(clock.elapsed(), readEndsMs);
            EXPECT_EQ(driver.pendingSteps(), 1)
                << driver.messages().join(QStringLiteral(" | ")).toStdString();
            if (estimates.count() == 1) {
                const int decoded = camsim_frames_decoded();
                EXPECT_TRUE(
                    QTest::qWaitFor([&] { return camsim_frames_decoded() > decoded + 1; }, 5000));
            }
        } else {
            if (c.outcome == Outcome::LeftPage) {
                page->exitExperimentFrameHandle();
            } else {
                ASSERT_TRUE(QTest::qWaitFor([&] { return driver.pendingSteps() == 0; }, 20000));
                EXPECT_EQ(driver.messages(),
                          QStringList{QStringLiteral("Warning|The camera preview did not stop.")});
            }
            // The stop completes when the read ends at last; the step does
            // not run then.
            QTest::qWait(readEndsMs - static_cast<int>(clock.elapsed()) + 500);
            EXPECT_FALSE(stepRan());
            EXPECT_EQ(driver.pendingSteps(), c.outcome == Outcome::LeftPage ? 1 : 0);
        }
        const qint64 stall = meter.longestStallMs();
        std::printf("%-28s %10lld %10lld\n", c.name, static_cast<long long>(clickMs),
                    static_cast<long long>(stall));
        EXPECT_LT(clickMs, kStallBoundMs) << "the click waited for the preview loops";
        EXPECT_LT(stall, kStallBoundMs);
        camsim_fail("SuspendDevice", 0, 0);
        page->exitExperimentFrameHandle();
    }
}

// An Auto Capture whose estimate is dropped (the page left while the preview
// loops were still ending) leaves no capture behind for the next plain Auto
// Time on the page.
TEST_F(WesternBlotCaptureTest, AnAutoCaptureLeftUnfinishedDoesNotCaptureAfterTheNextEstimate) {
    camsim_reset("width=1024,height=1024,time_scale=0,noise=0,scene=bands");
    ASSERT_TRUE(control()->initTucsenCam());
    setExpTime(500);
    page = std::make_unique<WesternBlotFrame>();
    page->resize(1024, 643);
    enterPage();
    auto* single = page->funcsFrame()->singlePanel();
    ModalDriver driver;
    driver.answerMessageBox();
    camsim_fail("SuspendDevice", -1, -1);
    camsim_stall_reads(1);
    const int grabbed = camsim_frames_grabbed();
    static_cast<void>(QTest::qWaitFor([&] { return camsim_frames_grabbed() > grabbed; }, 1000));
    child<QPushButton>(single, "pushButton_AutoCap")->click();
    page->exitExperimentFrameHandle();
    camsim_stall_reads(0);
    camsim_fail("SuspendDevice", 0, 0);

    enterPage();
    const int decoded = camsim_frames_decoded();
    ASSERT_TRUE(QTest::qWaitFor([&] { return camsim_frames_decoded() > decoded; }, 5000));
    QSignalSpy estimates(image(), &WesternBlot_ImageFrame::sig_UpdateAutoExpTime);
    child<QPushButton>(single, "pushButton_AutoTime")->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return estimates.count() == 1; }, 20000));
    // A capture would have been posted right after the estimate.
    QTest::qWait(200);
    EXPECT_TRUE(camera()->frameList.isEmpty());
    EXPECT_EQ(driver.pendingSteps(), 1)
        << driver.messages().join(QStringLiteral(" | ")).toStdString();
    page->exitExperimentFrameHandle();
}

// Paging: the last picture of every capture is shown, also when the bar's
// value does not change; one picture shows no paging bar.
TEST_F(WesternBlotCaptureTest, PagingShowsTheLastPictureOfEachCapture) {
    station().setUserOption(QStringLiteral("WbMarker"), true);
    enterPage();
    camera()->curFuncFrameType = WesternBlot_ManualCapture;
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
    const QString firstName = image()->currentExperiment()->name;

    bar->setValue(0);
    EXPECT_EQ(position(), QStringLiteral("1 / 2"));
    EXPECT_EQ(image()->pictureIndex(), 0);
    EXPECT_EQ(*histograms,
              (Requests{{WesternBlot_ManualCapture, 1}, {WesternBlot_ManualCapture, 0}}));
    EXPECT_TRUE(showsPictureStretched(0));

    // A second capture of two shows its picture 2 again, and the bar that
    // had been moved to 1 of 2 as well.
    bar->setValue(1);
    histograms->clear();
    image()->capStartHandle();
    EXPECT_EQ(position(), QStringLiteral("2 / 2"));
    EXPECT_EQ(image()->pictureIndex(), 1);
    EXPECT_EQ(*histograms, (Requests{{WesternBlot_ManualCapture, 1}}));
    EXPECT_TRUE(showsPictureStretched(1));
    // A capture within the same second gets a row of its own.
    EXPECT_NE(image()->currentExperiment()->name, firstName);
    EXPECT_EQ(control()->westblotExperimentDB->loadByName(firstName)->exposureTime,
              QStringLiteral("200,400,"));

    camera()->curFuncFrameType = WesternBlot_SingleCapture;
    control()->userOpt.ExpTime = 300;
    EXPECT_TRUE(control()->userOpt.saveUserOpt(UserOpt_ExpTime));
    image()->capStartHandle();
    EXPECT_EQ(position(), QStringLiteral("1 / 1"));
    EXPECT_FALSE(pagingShown());

    // Leaving drops the pictures and the record and returns to single mode.
    camera()->curFuncFrameType = WesternBlot_ManualCapture;
    page->exitExperimentFrameHandle();
    EXPECT_EQ(camera()->curFuncFrameType, static_cast<int>(WesternBlot_SingleCapture));
    EXPECT_TRUE(camera()->frameList.isEmpty());
    EXPECT_EQ(image()->currentExperiment(), nullptr);
}

// Stop in the progress dialog ends a series after the picture being
// exposed: the dialog closes, the pictures taken are shown and the row keeps
// their exposures only.
TEST_F(WesternBlotCaptureTest, StopEndsASeriesAfterThePictureBeingTaken) {
    camsim_reset("width=64,height=32,time_scale=1,noise=0,scene=bands");
    ASSERT_TRUE(control()->initTucsenCam());
    station().setUserOption(QStringLiteral("WbMarker"), true);
    setManualSeries({{"0", "01", "500"}, {"0", "01", "500"}, {"0", "01", "500"}});
    enterPage();
    camera()->curFuncFrameType = WesternBlot_ManualCapture;
    ModalDriver driver;
    driver.onDialog([](QDialog* running) {
        QTimer::singleShot(500, running, [running] {
            running->findChild<QPushButton*>(QStringLiteral("pushButton_Stop"))->click();
        });
    });
    QElapsedTimer took;
    took.start();
    image()->capStartHandle();  // returns once the progress dialog has closed
    EXPECT_LT(took.elapsed(), 4000);
    const int pictures = camera()->frameList.size();
    EXPECT_LT(pictures, 3);
    ASSERT_NE(image()->currentExperiment(), nullptr);
    const auto row =
        control()->westblotExperimentDB->loadByName(image()->currentExperiment()->name);
    ASSERT_TRUE(row);
    EXPECT_LE(row->exposureTime.count(QLatin1Char(',')), 2);
    EXPECT_TRUE(row->exposureTime.startsWith(QStringLiteral("1500,")));
    EXPECT_EQ(position(), QStringLiteral("%1 / %1").arg(pictures));
}

// Escape does not close the progress dialog for good: the capture ends
// first, and its picture is shown.
TEST_F(WesternBlotCaptureTest, EscapeKeepsTheProgressDialogUntilTheCaptureEnds) {
    camsim_reset("width=64,height=32,time_scale=1,noise=0,scene=bands");
    ASSERT_TRUE(control()->initTucsenCam());
    station().setUserOption(QStringLiteral("WbMarker"), true);
    setExpTime(1500);
    enterPage();
    ModalDriver driver;
    driver.onDialog([](QDialog* running) {
        QTimer::singleShot(200, running, [running] { QTest::keyClick(running, Qt::Key_Escape); });
    });
    image()->capStartHandle();  // returns once the capture has ended
    EXPECT_EQ(driver.pendingSteps(), 0);
    EXPECT_EQ(camera()->frameList.size(), 1);
    EXPECT_EQ(position(), QStringLiteral("1 / 1"));
}

// Each stretch starts from the captured samples, and the captured picture
// itself is never changed.
TEST_F(WesternBlotCaptureTest, StretchStartsFromTheCapturedPicture) {
    station().setUserOption(QStringLiteral("WbMarker"), true);
    control()->userOpt.ExpTime = 5000;
    EXPECT_TRUE(control()->userOpt.saveUserOpt(UserOpt_ExpTime));
    enterPage();
    image()->capStartHandle();
    ASSERT_EQ(camera()->frameList.size(), 1);
    const size_t bytes = camera()->imageBufferSize();
    const std::vector<uchar> captured(camera()->frameList.at(0), camera()->frameList.at(0) + bytes);
    image()->updateHistoedImgHandle(0, 1);
    EXPECT_NE(std::memcmp(control()->pictureBuffer, captured.data(), bytes), 0);
    image()->updateHistoedImgHandle(500, 500);
    image()->updateHistoedImgHandle(0, 65535);
    EXPECT_EQ(std::memcmp(control()->pictureBuffer, captured.data(), bytes), 0);
    EXPECT_EQ(std::memcmp(camera()->frameList.at(0), captured.data(), bytes), 0);
}

// Export by the suffix of the chosen name: Qt formats as the screen's 8-bit
// colour picture, everything else as the stored 16-bit 600 dpi TIFF; a
// failed write is told.
TEST_F(WesternBlotCaptureTest, ExportBySuffix) {
    station().setUserOption(QStringLiteral("WbMarker"), true);
    control()->userOpt.ExpTime = 5000;
    EXPECT_TRUE(control()->userOpt.saveUserOpt(UserOpt_ExpTime));
    enterPage();
    image()->capStartHandle();
    ASSERT_NE(control()->pictureBuffer, nullptr);
    const cv::Mat stored =
        TucsenPictureOps::storedImage(control()->pictureBuffer, camera()->imageBufferSize());

    const QString folder = station().path() + QStringLiteral("/exports/");
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
    station().setUserOption(QStringLiteral("WbMarker"), false);
    control()->userOpt.ExpTime = 5000;
    EXPECT_TRUE(control()->userOpt.saveUserOpt(UserOpt_ExpTime));
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

    ASSERT_TRUE(reporttest::installTemplate(station().path()));
    {
        // No program opens it here: the user is told where it was saved.
        ModalDriver driver;
        driver.answerMessageBox(QMessageBox::Ok);
        child<QPushButton>(page->bottomBar(), "pushButton_WpsEdit")->click();
        ASSERT_EQ(reports.entryList(QDir::Files).size(), 1);
        EXPECT_EQ(driver.messages(),
                  QStringList{"Report|No program can open the report. It was saved as " +
                              reports.filePath(reports.entryList(QDir::Files).first())});
    }
    const QByteArray document =
        reporttest::readZip(reports.filePath(reports.entryList(QDir::Files).first()))
            .value(QStringLiteral("word/document.xml"));
    EXPECT_EQ(reporttest::bookmarkText(document, QStringLiteral("UserLabel")), "User:");
    EXPECT_EQ(reporttest::bookmarkText(document, QStringLiteral("ReportDateLabel")), "ReportDate:");
    EXPECT_EQ(reporttest::bookmarkText(document, QStringLiteral("PictureName1")),
              QStringLiteral("PictureName:") + files.at(1));

    // In Chinese the labels are Chinese.
    control()->changeLanguage(0);
    {
        ModalDriver driver;
        driver.answerMessageBox(QMessageBox::Ok);
        child<QPushButton>(page->bottomBar(), "pushButton_WpsEdit")->click();
        EXPECT_EQ(driver.messages().size(), 1);
    }
    ASSERT_TRUE(waitUntil([&] { return reports.entryList(QDir::Files).size() == 2; }, 5000));
    const QByteArray chinese =
        reporttest::readZip(reports.filePath(reports.entryList(QDir::Files, QDir::Time).first()))
            .value(QStringLiteral("word/document.xml"));
    control()->changeLanguage(1);
    EXPECT_EQ(reporttest::bookmarkText(chinese, QStringLiteral("UserLabel")),
              QStringLiteral("用户:"));
    EXPECT_EQ(reporttest::bookmarkText(chinese, QStringLiteral("ReportDateLabel")),
              QStringLiteral("报告日期:"));
    EXPECT_EQ(reporttest::bookmarkText(chinese, QStringLiteral("PictureName1")),
              QStringLiteral("图片名称:") + files.at(1));
}

}  // namespace
