// The gel/UV page: preview geometry, captures with their names, pictures and
// overlay, export, automatic exposure and focus on the simulated world, the
// bottom bar's rights and the running dialog.
#include "DarkroomSimProcess.h"
#include "EventWait.h"
#include "GelCapturePicture.h"
#include "ModalDriver.h"
#include "PictureExport.h"
#include "PreviewFit.h"
#include "ReportTestFiles.h"
#include "ReportWordProcessor.h"
#include "RunningDialog.h"
#include "StallMeter.h"
#include "TestStation.h"
#include "VarnuFrame.h"
#include "VarnuTestSupport.h"
#include "Varnu_DetailDialog.h"
#include "Varnu_ImageFrame.h"
#include "Varnu_ToolsFrame.h"
#include "camera/GelPictureFiles.h"
#include "camera/PreviewSurface.h"
#include "camera/TucsenCamCtrl.h"
#include "camera/ZdqCameraCtrl.h"
#include "controller/CI_MainControl.h"
#include "database/AuditTrailDB.h"
#include "database/UserInfo.h"
#include "database/Varnu_ExperimentDB.h"
#include "mlusbimager_control.h"
#include "serial/ASyncSerialPortThread.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTextStream>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int kMono1280 = 1;

TestStation& station() {
    static TestStation* s = new TestStation(QStringLiteral("gelpage"));
    return *s;
}

CI_MainControl* controller() {
    station();
    return testerController();
}

// ---- Pure rules ---------------------------------------------------------------

TEST(PreviewFitTest, Table) {
    struct Case {
        int W, H, w, h, width, height;
    };
    const Case cases[] = {
        {781, 590, 1064, 850, 738, 590},    // the tool panel shown, 800 x 600
        {1200, 900, 1064, 850, 1064, 850},  // never enlarged
        {1200, 500, 1064, 850, 625, 500},   // only the height is short
        {700, 900, 1064, 850, 700, 559},    // only the width is short
        {700, 650, 1064, 850, 700, 559},    // both short, the width limits
        {0, 0, 1064, 850, 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(fitPreview(c.W, c.H, c.w, c.h), QSize(c.width, c.height))
            << c.W << " x " << c.H << " for " << c.w << " x " << c.h;
    }
}

TEST(PreviewFitTest, NeverBeyondTheSpaceNorTheView) {
    const QSize views[] = {{1064, 850}, {532, 425}, {133, 106}, {2592, 1944}, {324, 243}};
    for (const QSize& view : views) {
        for (int W = 1; W < 3000; W += 37) {
            for (int H = 1; H < 2200; H += 41) {
                const QSize fit = fitPreview(W, H, view.width(), view.height());
                ASSERT_LE(fit.width(), std::min(W, view.width())) << W << " x " << H;
                ASSERT_LE(fit.height(), std::min(H, view.height())) << W << " x " << H;
            }
        }
    }
}

TEST(PictureExportTest, PlanBySuffixAndFilter) {
    struct Case {
        const char* name;
        const char* filter;
        const char* path;
        bool tiff;
        int dpi;
    };
    const Case cases[] = {
        {"a.png", "*.png", "a.png", false, 600},
        {"a.PNG", "600dpi(*.tif)", "a.PNG", false, 600},
        {"a.tif", "300dpi(*.tif)", "a.tif", true, 300},
        {"a.tiff", "600dpi(*.tif)", "a.tiff", true, 600},
        {"a", "300dpi(*.tif)", "a.tif", true, 300},
        {"a", "*.jpg", "a.jpg", false, 600},
        {"shot.jpg.tif", "600dpi(*.tif)", "shot.jpg.tif", true, 600},
        {"gel.png/x.tif", "*.png", "gel.png/x.tif", true, 600},
    };
    for (const Case& c : cases) {
        const PictureExportPlan plan = planPictureExport(c.name, c.filter);
        EXPECT_EQ(plan.path, QString::fromUtf8(c.path)) << c.name;
        EXPECT_EQ(plan.tiff, c.tiff) << c.name;
        if (c.tiff) {
            EXPECT_EQ(plan.dpi, c.dpi) << c.name;
        }
    }
}

// ---- The page on the simulated camera -----------------------------------------

class GelPageTest : public testing::Test {
  protected:
    void SetUp() override {
        control = controller();
        control->machineName = Varnu_320;
        ZdqCamSet& set = control->camOpt.zdqCurrentCamSet;
        set = ZdqCamSet();
        set.Exposure = 300;
        set.Gain = 8;
        set.Contrast = 10;
        set.BrightNess = 25;
        set.SignalAccNum = 2;
        EXPECT_TRUE(control->camOpt.saveZdqCurrentCamSet());
        control->userOpt.storagePath = station().filePath(QStringLiteral("store"));
        EXPECT_TRUE(control->userOpt.saveUserOpt(UserOpt_storagePath));
        control->userOpt.isAddWaterMark = 0;
        EXPECT_TRUE(control->userOpt.saveUserOpt(UserOpt_isAddWaterMark));
        control->currentUser->authImgProcess = true;
        control->currentUser->authRptExport = true;
    }
    void TearDown() override {
        page.reset();
        control->zdqCameraCtrl->ZDQ_UnInit();
        mlsim_unplug_all();
    }

    void plug() {
        MlSimProfile profile{};
        mlsim_profile_default(kMono1280, &profile);
        profile.content = MLSIM_CONTENT_SCENE;
        profile.timing = MLSIM_TIMING_INSTANT;
        ASSERT_EQ(mlsim_plug(0, &profile), 1);
    }
    void openPage() {
        page = std::make_unique<VarnuFrame>();
        page->resize(1024, 643);
        page->show();
        QCoreApplication::processEvents();
        page->slot_EnterVrFrame();
    }
    Varnu_ImageFrame* image() const { return page->imageFrame(); }
    QLabel* cameraLabel() const { return image()->findChild<QLabel*>(QStringLiteral("label_Cam")); }
    QPushButton* barButton(const char* name) const {
        return page->findChild<QPushButton*>(QString::fromLatin1(name));
    }
    int auditRows() const { return control->auditTrailDB->countAuditTrailByLanguage(1); }

    CI_MainControl* control = nullptr;
    std::unique_ptr<VarnuFrame> page;
};

TEST_F(GelPageTest, PreviewFramesReachTheSurfaceAtTheFittedSize) {
    plug();
    openPage();
    PreviewSurface* surface = image()->previewSurface();
    ASSERT_TRUE(waitFor([&] { return surface->framesPainted() >= 2; }, 10000));
    const QSize fitted = image()->previewSize();
    EXPECT_GT(fitted.width(), 0);
    EXPECT_EQ(surface->lastFrame().size(), fitted);
    EXPECT_LE(fitted.width(), image()->width());
    EXPECT_LE(fitted.height(), image()->height());
    EXPECT_EQ(page->findChild<QLabel*>(QStringLiteral("label_PreviewStatus"))->text(),
              QStringLiteral("Previewing..."));
    EXPECT_FALSE(barButton("pushButton_Export")->isEnabled());
}

// The live picture the camera library draws lies whole inside the picture
// area: on the page's first show with the settings column hidden, entered
// before its window shows (as at the station's start) or shown and then
// entered (a page change), then with the column opened and closed again; at
// the sizes the page has in the station's full-screen window (head bar 85
// high) on the usual screens. On a screen smaller than the window's least
// size (the offscreen platform's 800 x 600) the page has its form's size.
TEST_F(GelPageTest, TheWholeLivePictureLiesInThePictureArea) {
    struct Case {
        const char* screen;
        QSize page;
    };
    const Case cases[] = {{"800 x 600 (least window)", QSize(1024, 643)},
                          {"1280 x 1024", QSize(1280, 939)},
                          {"1366 x 768", QSize(1366, 683)},
                          {"1920 x 1080", QSize(1920, 995)}};
    const QSize view(1064, 850);
    plug();
    std::printf("%-26s %-16s %-16s %12s %12s\n", "screen", "first show", "column", "picture",
                "area");
    for (const Case& c : cases) {
        for (const bool enteredFirst : {true, false}) {
            const char* order = enteredFirst ? "entered, shown" : "shown, entered";
            SCOPED_TRACE(std::string(c.screen) + ", " + order);
            page = std::make_unique<VarnuFrame>();
            page->resize(c.page);
            if (enteredFirst) {
                page->slot_EnterVrFrame();
                page->show();
            } else {
                page->show();
                QCoreApplication::processEvents();
                page->slot_EnterVrFrame();
            }
            PreviewSurface* surface = image()->previewSurface();
            auto* settings = page->findChild<QPushButton*>(QStringLiteral("pushButton_Setting"));
            ASSERT_NE(settings, nullptr);
            for (const char* column : {"hidden", "opened", "closed again"}) {
                SCOPED_TRACE(column);
                if (std::string(column) != "hidden") {
                    QTest::mouseClick(settings, Qt::LeftButton);
                }
                // Frames drawn at the last size asked for.
                const int before = surface->framesReceived();
                ASSERT_TRUE(waitFor(
                    [&] {
                        return surface->framesReceived() > before + 1 &&
                               surface->lastFrame().size() == image()->previewSize();
                    },
                    10000));
                QCoreApplication::processEvents();
                const QRect drawn(QPoint(0, 0), surface->lastFrame().size());
                const QRect area = surface->rect();
                std::printf("%-26s %-16s %-16s %5d x %4d %5d x %4d\n", c.screen, order, column,
                            drawn.width(), drawn.height(), area.width(), area.height());
                EXPECT_TRUE(area.contains(drawn))
                    << drawn.width() << " x " << drawn.height() << " in " << area.width() << " x "
                    << area.height();
                // The area itself is inside the frame, beside the columns.
                const QRect inFrame(surface->mapTo(image(), QPoint(0, 0)), surface->size());
                EXPECT_TRUE(image()->rect().contains(inFrame));
                // The whole view, scaled without a change of shape, as large
                // as the area lets it be.
                EXPECT_LE(std::abs(drawn.width() * view.height() - drawn.height() * view.width()),
                          view.width());
                EXPECT_TRUE(drawn.size() == view || drawn.width() >= area.width() - 1 ||
                            drawn.height() >= area.height() - 1);
            }
            EXPECT_FALSE(page->toolsFrame()->isVisible());
            page.reset();
        }
    }
}

TEST_F(GelPageTest, CapturesAreNamedByTheDailyNumberAndShownWithTheirOverlay) {
    plug();
    openPage();
    struct Case {
        QString curDate;
        int curExpNum;
        QString name;
        int waterMark;
    };
    const QString today = QDate::currentDate().toString(QStringLiteral("yy-MM-dd"));
    const QString yesterday = QDate::currentDate().addDays(-1).toString(QStringLiteral("yy-MM-dd"));
    const Case cases[] = {
        {today, 6, QStringLiteral("Varnu007"), 0},
        {yesterday, 57, QStringLiteral("Varnu001"), 1},
        {today, 999, QStringLiteral("Varnu1000"), 0},
    };
    ZdqCameraCtrl* zdq = control->zdqCameraCtrl;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        control->userOpt.curDate = c.curDate;
        EXPECT_TRUE(control->userOpt.saveUserOpt(UserOpt_curDate));
        control->userOpt.curExpNum = c.curExpNum;
        EXPECT_TRUE(control->userOpt.saveUserOpt(UserOpt_curExpNum));
        control->userOpt.isAddWaterMark = c.waterMark;
        EXPECT_TRUE(control->userOpt.saveUserOpt(UserOpt_isAddWaterMark));
        image()->captureClickHandle();
        EXPECT_EQ(zdq->curExpName, c.name);
        const QString number = c.name.mid(5);
        EXPECT_TRUE(QFile::exists(GelPictureFiles::stationFolder(QDate::currentDate()) + number +
                                  QStringLiteral(".tif")));
        const auto row = control->varnuExperimentDB->loadByUuid(zdq->curExpUuid);
        ASSERT_TRUE(row);
        EXPECT_EQ(row->resolution, QStringLiteral("1064*850"));
        EXPECT_EQ(row->exposureTime, QStringLiteral("300,"));
        ASSERT_FALSE(cameraLabel()->pixmap(Qt::ReturnByValue).isNull());
        const QImage shown = cameraLabel()->pixmap(Qt::ReturnByValue).toImage();
        // The overlay is red text in the bottom right corner.
        int red = 0;
        for (int y = shown.height() - 90; y < shown.height(); ++y) {
            for (int x = shown.width() - 180; x < shown.width(); ++x) {
                const QColor pixel = shown.pixelColor(x, y);
                red += pixel.red() > 200 && pixel.green() < 80 ? 1 : 0;
            }
        }
        EXPECT_EQ(red > 0, c.waterMark == 0);
        EXPECT_FALSE(image()->previewSurface()->isVisible());
        EXPECT_TRUE(barButton("pushButton_Export")->isEnabled());
        EXPECT_TRUE(barButton("pushButton_Process")->isEnabled());
        EXPECT_TRUE(barButton("pushButton_WpsEdit")->isEnabled());
    }
    // The shown picture is the frame turned by 180 degrees, scaled.
    const QImage frame = QImage(zdq->frameBuffer, zdq->frameWidth, zdq->frameHeight,
                                zdq->frameWidth, QImage::Format_Grayscale8)
                             .mirrored(true, true);
    const QImage shown = cameraLabel()->pixmap(Qt::ReturnByValue).toImage();
    const QPoint probe(shown.width() / 4, shown.height() / 4);
    const QPoint source(probe.x() * frame.width() / shown.width(),
                        probe.y() * frame.height() / shown.height());
    EXPECT_NEAR(qGray(shown.pixel(probe)), qGray(frame.pixel(source)), 40);
}

TEST_F(GelPageTest, ACaptureWhosePictureCannotBeWrittenIsToldAndOffersNothingToReport) {
    plug();
    openPage();
    image()->captureClickHandle();
    ASSERT_TRUE(barButton("pushButton_WpsEdit")->isEnabled());

    // The day's picture folder cannot be made: a file stands in its place.
    const QString dateFolder = QDate::currentDate().toString(QStringLiteral("yy-MM-dd"));
    const QString blocker = station().filePath(QStringLiteral("Pictures/") + dateFolder);
    QDir(blocker).removeRecursively();
    {
        QFile file(blocker);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    ModalDriver driver;
    driver.answerMessageBox(QMessageBox::Ok);
    image()->captureClickHandle();
    ASSERT_TRUE(waitFor([&] { return driver.pendingSteps() == 0; }, 5000));
    EXPECT_EQ(driver.messages(),
              QStringList{QStringLiteral("Warning|The picture could not be written to the folder "
                                         "%1.")
                              .arg(GelPictureFiles::stationFolder(QDate::currentDate()))});
    EXPECT_FALSE(control->varnuExperimentDB->loadByUuid(control->zdqCameraCtrl->curExpUuid));
    EXPECT_TRUE(cameraLabel()->pixmap(Qt::ReturnByValue).isNull());
    EXPECT_FALSE(barButton("pushButton_Export")->isEnabled());
    EXPECT_FALSE(barButton("pushButton_WpsEdit")->isEnabled());
    QFile::remove(blocker);
}

TEST_F(GelPageTest, ExportWritesByChoiceAndAuditsOnlyStoredTiffs) {
    plug();
    openPage();
    image()->captureClickHandle();
    ASSERT_NE(control->zdqCameraCtrl->frameBuffer, nullptr);
    const QString folder = station().filePath(QStringLiteral("exports/"));
    QDir().mkpath(folder);
    struct Case {
        QString name;
        QString filter;
        QString written;
        int auditRows;
        bool ok;
    };
    const Case cases[] = {
        {folder + "a.png", "*.png", folder + "a.png", 0, true},
        {folder + "b.tif", "300dpi(*.tif)", folder + "b.tif", 1, true},
        {folder + "c", "600dpi(*.tif)", folder + "c.tif", 1, true},
        {folder + "missing/x.tif", "600dpi(*.tif)", QString(), 0, false},
    };
    // A folder that cannot be made makes the write fail.
    QFile blocker(folder + "missing");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        const int before = auditRows();
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
        if (!c.ok) {
            driver.answerMessageBox(QMessageBox::Ok);
        }
        image()->slot_ExportClick();
        EXPECT_EQ(driver.pendingSteps(), 0);
        EXPECT_EQ(auditRows() - before, c.auditRows);
        if (c.ok) {
            EXPECT_TRUE(QFile::exists(c.written));
        } else {
            ASSERT_EQ(driver.messages().size(), 1);
            EXPECT_TRUE(driver.messages().first().startsWith(QStringLiteral("Warning|")));
        }
    }
}

TEST_F(GelPageTest, AutomaticExposureSettlesOnTheGelAndItsDialogCloses) {
    // 60 ms leaves the gel dim: the exposure has to grow.
    control->camOpt.zdqCurrentCamSet.Exposure = 60;
    EXPECT_TRUE(control->camOpt.saveZdqCurrentCamSet());
    plug();
    openPage();
    QSignalSpy settled(image(), &Varnu_ImageFrame::updateAeTime);
    QSignalSpy closed(image(), &Varnu_ImageFrame::destroyAEDialog);
    image()->autoExposureClickHandle();
    // Once the preview's start has ended the dialog opens; it closes when the
    // exposure has settled.
    ASSERT_TRUE(waitFor([&] { return closed.count() == 1; }, 30000));
    ASSERT_EQ(settled.count(), 1);
    const int exposure = settled.first().first().toInt();
    EXPECT_GT(exposure, 60);
    for (QWidget* window : QApplication::topLevelWidgets()) {
        EXPECT_FALSE(window->isVisible() && qobject_cast<QDialog*>(window));
    }
}

// Pressed just after the page was entered again, while the preview's start
// still waits for the last stop (a read of a long exposure ends first), the
// automatic steps wait for the start without holding the event loop, then run
// as always: their dialog opens and closes, without a message.
TEST_F(GelPageTest, AutomaticStepsWaitForThePreviewStartWithoutStallingTheEventLoop) {
    control->camOpt.zdqCurrentCamSet.Exposure = 1500;
    control->camOpt.saveZdqCurrentCamSet();
    MlSimProfile profile{};
    mlsim_profile_default(kMono1280, &profile);
    profile.content = MLSIM_CONTENT_SCENE;
    profile.timing = MLSIM_TIMING_REALTIME;
    ASSERT_EQ(mlsim_plug(0, &profile), 1);
    struct Case {
        const char* name;
        const char* button;
        void (Varnu_ImageFrame::*closed)();
    };
    const Case cases[] = {
        {"automatic exposure", "pushButton_AutoExposure", &Varnu_ImageFrame::destroyAEDialog},
        {"automatic focus", "pushButton_AutoFocus", &Varnu_ImageFrame::destroyAFDialog}};
    std::printf("%-20s %12s %10s\n", "step", "closed ms", "stall ms");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        openPage();
        // Without a dark room the focus measure never drops: the search ends
        // when its inward drive has run, here a fiftieth of the real time.
        image()->setAutoFocusTimeScale(0.02);
        PreviewSurface* surface = image()->previewSurface();
        ASSERT_TRUE(waitFor([&] { return surface->framesReceived() >= 1; }, 10000));
        page->exitExperimentFrameHandle();
        page->slot_EnterVrFrame();

        // A message would be answered (and is one too many).
        ModalDriver messages;
        messages.answerMessageBox(QMessageBox::Ok);
        QSignalSpy closed(image(), c.closed);
        StallMeter meter;
        meter.start();
        QElapsedTimer clock;
        clock.start();
        QTest::mouseClick(page->findChild<QPushButton*>(QString::fromLatin1(c.button)),
                          Qt::LeftButton);
        ASSERT_TRUE(waitFor([&] { return closed.count() == 1; }, 20000));
        const qint64 closedMs = clock.elapsed();
        const qint64 stall = meter.longestStallMs();
        std::printf("%-20s %12lld %10lld\n", c.name, static_cast<long long>(closedMs),
                    static_cast<long long>(stall));
        EXPECT_LT(stall, kStallBoundMs);
        EXPECT_EQ(messages.pendingSteps(), 1)
            << messages.messages().join(QStringLiteral(" | ")).toStdString();
        for (QWidget* window : QApplication::topLevelWidgets()) {
            EXPECT_FALSE(window->isVisible() && qobject_cast<QDialog*>(window));
        }
        page.reset();
    }

    // Left before the start has ended, the page runs no step on a stopped
    // camera: no dialog, no message.
    openPage();
    PreviewSurface* surface = image()->previewSurface();
    ASSERT_TRUE(waitFor([&] { return surface->framesReceived() >= 1; }, 10000));
    page->exitExperimentFrameHandle();
    page->slot_EnterVrFrame();
    ModalDriver messages;
    messages.answerMessageBox(QMessageBox::Ok);
    QSignalSpy opened(image(), &Varnu_ImageFrame::createAEDialog);
    QTest::mouseClick(page->findChild<QPushButton*>(QStringLiteral("pushButton_AutoExposure")),
                      Qt::LeftButton);
    page->exitExperimentFrameHandle();
    EXPECT_FALSE(waitFor([&] { return opened.count() > 0; }, 4000));
    EXPECT_EQ(messages.pendingSteps(), 1);
}

TEST_F(GelPageTest, WithoutCameraTheAutomaticStepsCloseWithAMessage) {
    ModalDriver driver;
    driver.answerMessageBox(QMessageBox::Ok);
    openPage();
    ASSERT_TRUE(waitFor([&] { return driver.pendingSteps() == 0; }, 5000));
    ModalDriver again;
    again.answerMessageBox(QMessageBox::Ok).answerMessageBox(QMessageBox::Ok);
    image()->autoExposureClickHandle();
    ASSERT_TRUE(waitFor([&] { return again.pendingSteps() == 1; }, 5000));
    image()->autoFocusClickHandle();
    ASSERT_TRUE(waitFor([&] { return again.pendingSteps() == 0; }, 5000));
    EXPECT_EQ(again.messages(), QStringList({QStringLiteral("Warning|ZdqCamera connect error."),
                                             QStringLiteral("Warning|ZdqCamera connect error.")}));
}

// Where a picture of the simulated gel has its size ladder: the ladder is the
// lane brightest on average (ten bands, the samples carry three to five), and
// its bands grow brighter from the wells down, so the half of the ladder
// lane nearer the wells is the darker one.
QString ladderPlace(const QImage& picture) {
    const QImage grey = picture.convertToFormat(QImage::Format_Grayscale8);
    const int width = grey.width();
    const int height = grey.height();
    if (width < 16 || height < 16) {
        return QStringLiteral("none");
    }
    std::vector<double> columns(width, 0.0);
    for (int y = 0; y < height; ++y) {
        const uchar* row = grey.constScanLine(y);
        for (int x = 0; x < width; ++x) {
            columns[x] += row[x];
        }
    }
    // Columns averaged over a lane's core (a twentieth of the width).
    const int span = std::max(1, width / 40);
    int ladder = 0;
    double best = -1;
    for (int x = span; x < width - span; ++x) {
        double sum = 0;
        for (int d = -span; d <= span; ++d) {
            sum += columns[x + d];
        }
        if (sum > best) {
            best = sum;
            ladder = x;
        }
    }
    double upper = 0;
    double lower = 0;
    for (int y = 0; y < height; ++y) {
        const uchar* row = grey.constScanLine(y);
        for (int x = ladder - span; x <= ladder + span; ++x) {
            (y < height / 2 ? upper : lower) += row[x];
        }
    }
    return QString(ladder < width / 2 ? QStringLiteral("left") : QStringLiteral("right")) +
           (upper < lower ? QStringLiteral(", wells at the top")
                          : QStringLiteral(", wells at the bottom"));
}

// One capture followed through every view of the gel: each shows the ladder
// lane at the left and the wells at the top, as the stored picture does in
// any viewer.
TEST_F(GelPageTest, OneCaptureShowsTheSameWayRoundInEveryView) {
    control->camOpt.zdqCurrentCamSet.Exposure = 60;
    EXPECT_TRUE(control->camOpt.saveZdqCurrentCamSet());
    control->userOpt.isAddWaterMark = 1;
    EXPECT_TRUE(control->userOpt.saveUserOpt(UserOpt_isAddWaterMark));
    plug();
    openPage();
    PreviewSurface* surface = image()->previewSurface();
    ASSERT_TRUE(waitFor([&] { return surface->framesPainted() >= 2; }, 10000));
    const QImage live = surface->lastFrame();
    image()->captureClickHandle();
    ZdqCameraCtrl* zdq = control->zdqCameraCtrl;
    ASSERT_NE(zdq->frameBuffer, nullptr);
    const QString stored = GelPictureFiles::stationFolder(QDate::currentDate()) +
                           zdq->curExpName.mid(5) + QStringLiteral(".tif");
    const auto row = control->varnuExperimentDB->loadByUuid(zdq->curExpUuid);
    ASSERT_TRUE(row);
    Varnu_DetailDialog detail;
    detail.setUuids({zdq->curExpUuid});
    detail.initDialog();
    auto* detailView = detail.findChild<QLabel*>(QStringLiteral("label_Pic"));
    ASSERT_NE(detailView, nullptr);

    const std::pair<const char*, QImage> views[] = {
        {"live view", live},
        {"captured view", cameraLabel()->pixmap(Qt::ReturnByValue).toImage()},
        {"image processing",
         imageops::gelCaptureToPicture(zdq->frameBuffer, zdq->frameWidth, zdq->frameHeight)},
        {"detail dialog", detailView->pixmap(Qt::ReturnByValue).toImage()},
        {"stored TIFF (report, outside viewer)", QImage(stored)},
        {"stored copy",
         QImage(GelPictureFiles::storageFolder(control->userOpt.storagePath, QDate::currentDate()) +
                zdq->curExpName.mid(5) + QStringLiteral(".tif"))}};
    std::printf("%-40s %s\n", "view", "ladder");
    for (const auto& [name, picture] : views) {
        const QString place = ladderPlace(picture);
        std::printf("%-40s %s\n", name, qPrintable(place));
        EXPECT_EQ(place, QStringLiteral("left, wells at the top")) << name;
    }
}

// The stored picture of a first-start capture (300 ms, gain 8, contrast 10,
// brightness 25, gamma 0, as the fixture and run.sh set them) with the lens
// at the sharp position: the brightest band is bright but below full scale
// after the camera's contrast and brightness, the background dark.
TEST_F(GelPageTest, AFirstStartCaptureOfTheSharpGelKeepsItsBrightestBandBelowFullScale) {
    plug();
    ASSERT_EQ(mlsim_set_blur(0, 0), 1);
    openPage();
    image()->captureClickHandle();
    ZdqCameraCtrl* zdq = control->zdqCameraCtrl;
    ASSERT_NE(zdq->frameBuffer, nullptr);
    const QImage stored(GelPictureFiles::stationFolder(QDate::currentDate()) +
                        zdq->curExpName.mid(5) + QStringLiteral(".tif"));
    ASSERT_EQ(stored.format(), QImage::Format_Grayscale8);
    std::vector<uchar> levels;
    for (int y = 0; y < stored.height(); ++y) {
        const uchar* row = stored.constScanLine(y);
        levels.insert(levels.end(), row, row + stored.width());
    }
    ASSERT_EQ(levels.size(), 1064u * 850u);
    EXPECT_EQ(std::count(levels.begin(), levels.end(), uchar{255}), 0) << "clipped pixels";
    std::sort(levels.begin(), levels.end());
    EXPECT_GE(levels.back(), 0.8 * 255);
    EXPECT_LE(levels.back(), 0.92 * 255);
    EXPECT_LE(levels[levels.size() / 2], 0.1 * 255) << "dark background";
}

// A camera that is missing, or present but claimed by another process (a
// second station), is told when the preview starts, and automatic exposure,
// automatic focus and capture refuse at once with the same words.
TEST_F(GelPageTest, CameraThatCannotServeIsToldAndRefusedAtOnce) {
    const QString missing = QStringLiteral("Warning|ZdqCamera connect error.");
    const QString held =
        QStringLiteral("Warning|ZdqCamera is in use by another program (another station).");
    struct Case {
        const char* name;
        bool plugged;
        bool heldElsewhere;
        QString message;
    };
    const Case cases[] = {{"missing", false, false, missing},
                          {"held by another process", true, true, held}};
    const std::pair<const char*, std::function<void(Varnu_ImageFrame*)>> actions[] = {
        {"automatic exposure", [](Varnu_ImageFrame* f) { f->autoExposureClickHandle(); }},
        {"automatic focus", [](Varnu_ImageFrame* f) { f->autoFocusClickHandle(); }},
        {"capture", [](Varnu_ImageFrame* f) { f->captureClickHandle(); }}};
    std::printf("%-24s %-20s %-60s %6s\n", "camera", "action", "message", "ms");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QProcess holder;
        if (c.plugged) {
            plug();
        }
        if (c.heldElsewhere) {
            holder.start(QStringLiteral(CLAIM_HOLDER_PATH),
                         {QStringLiteral("hold"), QStringLiteral("ZDQAPI::mlCamera0")});
            ASSERT_TRUE(holder.waitForReadyRead(5000));
            ASSERT_EQ(holder.readAllStandardOutput(), QByteArray("held\n"));
        }
        {
            ModalDriver driver;
            driver.answerMessageBox(QMessageBox::Ok);
            openPage();
            ASSERT_TRUE(waitFor([&] { return driver.pendingSteps() == 0; }, 5000));
            EXPECT_EQ(driver.messages(), QStringList{c.message}) << "preview start";
            std::printf("%-24s %-20s %-60s %6s\n", c.name, "preview start",
                        qPrintable(driver.messages().value(0)), "-");
        }
        for (const auto& [action, run] : actions) {
            SCOPED_TRACE(action);
            ModalDriver driver;
            driver.answerMessageBox(QMessageBox::Ok);
            QElapsedTimer clock;
            clock.start();
            run(image());
            EXPECT_TRUE(waitFor([&] { return driver.pendingSteps() == 0; }, 5000));
            const qint64 ms = clock.elapsed();
            EXPECT_EQ(driver.messages(), QStringList{c.message});
            EXPECT_LT(ms, 3000);
            std::printf("%-24s %-20s %-60s %6lld\n", c.name, action,
                        qPrintable(driver.messages().value(0)), static_cast<long long>(ms));
        }
        page.reset();
        control->zdqCameraCtrl->ZDQ_UnInit();
        mlsim_unplug_all();
        if (c.heldElsewhere) {
            holder.closeWriteChannel();
            EXPECT_TRUE(holder.waitForFinished(5000));
        }
    }
}

// Where the search ends, over lens start positions, exposures and sharp
// positions: it stops when the sharpness drops past the sharp position, a
// few blur steps (20 lens units each) beyond it; sharp at the far end the
// sharpness never drops, and the search ends when the inward drive has run as
// long as the outward one. The exposures leave the gel's bands unclipped
// (clipped bands spread by the blur raise the measure away from the focus).
// The short exposures run with the lens four times as fast and the focus
// thread's waits a quarter as long; the station's first-start exposure of
// 300 ms runs at the lens's own speed, as the camera delivers its frames at
// its own pace and the lens moves between them.
TEST_F(GelPageTest, AutomaticFocusEndsWithinAFewStepsOfTheSharpPosition) {
    const QString world = station().filePath(QStringLiteral("world.txt"));
    struct Case {
        int nExposureMs;
        double start;
        double sharp;
        double endLow;
        double endHigh;
    };
    struct Run {
        int timeScale;
        std::vector<Case> cases;
    };
    // The search ends after it has seen the drop. Four times as fast, the
    // lens then stands at most 200 units (50 at its own speed, two and a half
    // blur steps) past the sharp position; at its own speed with 300 ms
    // frames it moves 45 units a frame and stands at most 200 units (four
    // frames: the pair that drops and the pair before it) past it.
    const Run runs[] = {
        {4,
         {{40, 500, 300, 300, 500},
          {100, 100, 300, 300, 500},
          {40, 900, 600, 600, 800},
          {70, 200, 450, 450, 650},
          {40, 500, 1000, 990, 1000}}},
        {1, {{300, 500, 300, 300, 500}, {300, 0, 300, 300, 500}, {300, 1000, 300, 300, 500}}},
    };
    for (const Run& run : runs) {
        DarkroomSimProcess sim(QStringLiteral("gel-af-%1").arg(run.timeScale));
        ASSERT_TRUE(sim.start({QStringLiteral("--world"), world, QStringLiteral("--time-scale"),
                               QString::number(run.timeScale)}));
        control->ConnectToPort(sim.linkPath());
        for (const Case& c : run.cases) {
            SCOPED_TRACE(QStringLiteral("exposure %1 ms, start %2, sharp %3")
                             .arg(c.nExposureMs)
                             .arg(c.start)
                             .arg(c.sharp)
                             .toStdString());
            control->camOpt.zdqCurrentCamSet.Exposure = c.nExposureMs;
            EXPECT_TRUE(control->camOpt.saveZdqCurrentCamSet());
            sim.command(QStringLiteral("lens focus %1").arg(c.start));
            sim.command(QStringLiteral("clear"));
            const QString config = station().filePath(QStringLiteral("usbcam.ini"));
            {
                QFile file(config);
                ASSERT_TRUE(file.open(QIODevice::WriteOnly));
                QTextStream(&file)
                    << "[camera0]\ndevice_type = 1\nscene = gel\ntiming = realtime\n"
                    << "world_file = " << world << "\nsharp_focus = " << c.sharp << "\n";
            }
            ASSERT_EQ(mlsim_load_config(config.toLocal8Bit().constData()), 1);
            ASSERT_TRUE(waitFor([&] { return QFile::exists(world); }, 5000));
            openPage();
            image()->setAutoFocusTimeScale(1.0 / run.timeScale);
            QSignalSpy closed(image(), &Varnu_ImageFrame::destroyAFDialog);
            image()->autoFocusClickHandle();
            ASSERT_TRUE(waitFor([&] { return closed.count() == 1; }, 60000));
            ASSERT_TRUE(waitFor(
                [&] { return sim.state(QStringLiteral("motion")) == QStringLiteral("none"); },
                5000));

            // The page's capture panel asks for the power status when it is
            // built; everything else on the line is the focus thread's.
            QByteArray lens;
            for (const SimJournalEntry& entry : sim.journal()) {
                if (entry.kind == QStringLiteral("raw") && entry.bytes != QByteArray(1, '\x1D')) {
                    lens += entry.bytes;
                }
            }
            EXPECT_EQ(lens.toHex(' '), QByteArray("09 14 08 14"));
            const double end = sim.state(QStringLiteral("focus")).toDouble();
            EXPECT_GE(end, c.endLow);
            EXPECT_LE(end, c.endHigh);
            page.reset();
            control->zdqCameraCtrl->ZDQ_UnInit();
            mlsim_unplug_all();
        }
        // The next run's simulator has a link of its own.
        control->serialPortThread->closePort();
        EXPECT_TRUE(control->serialPortThread->wait(5000));
        EXPECT_TRUE(sim.stop());
    }
}

TEST_F(GelPageTest, ReportTakesThePictureOfTheDailyNumberAndTellsWhenItCannotOpen) {
    QStringList shown;
    bool viewer = true;
    installReportWordProcessor([&shown, &viewer](const QString& path) {
        if (viewer) {
            shown << path;
        }
        return viewer;
    });
    plug();
    openPage();
    control->userOpt.curDate = QDate::currentDate().toString(QStringLiteral("yy-MM-dd"));
    EXPECT_TRUE(control->userOpt.saveUserOpt(UserOpt_curDate));
    control->userOpt.curExpNum = 6;
    EXPECT_TRUE(control->userOpt.saveUserOpt(UserOpt_curExpNum));
    // Earlier captures of today must not hold the number 7.
    const QString folder = GelPictureFiles::stationFolder(QDate::currentDate());
    QDir(folder).removeRecursively();
    QDir(GelPictureFiles::storageFolder(control->userOpt.storagePath, QDate::currentDate()))
        .removeRecursively();
    image()->captureClickHandle();
    QFile::copy(folder + QStringLiteral("007.tif"), folder + QStringLiteral("1007.tif"));
    auto lastRow = [&] {
        const QList<AuditTrailInfo> rows =
            control->auditTrailDB->loadAuditTrail(AuditTrailDB::kAnyPage, "", "", "", 0, 1, 1);
        return rows.isEmpty() ? QString() : rows.first().content;
    };

    // Without its template the report cannot open: the user is told, no row.
    QFile::remove(station().filePath(QStringLiteral("documents/report.dotx")));
    const int before = auditRows();
    {
        ModalDriver driver;
        driver.answerMessageBox(QMessageBox::Ok);
        image()->slot_WpsEditClick();
        EXPECT_EQ(driver.messages().size(), 1);
    }
    EXPECT_EQ(auditRows(), before);

    QDir().mkpath(station().filePath(QStringLiteral("documents")));
    ASSERT_TRUE(QFile::copy(
        QCoreApplication::applicationDirPath() + QStringLiteral("/documents/report.dotx"),
        station().filePath(QStringLiteral("documents/report.dotx"))));
    for (int run = 0; run < 2; ++run) {  // the second finds the same picture
        ModalDriver driver;
        image()->slot_WpsEditClick();
        EXPECT_TRUE(driver.messages().isEmpty());
        EXPECT_EQ(lastRow(), QStringLiteral("Open wps, path: 007.tif"));
    }
    EXPECT_EQ(auditRows(), before + 2);
    ASSERT_EQ(shown.size(), 2);
    EXPECT_TRUE(QFile::exists(shown.last()));

    {
        // No program opens it: the user learns where it was saved, and the row
        // says it was saved, not opened.
        viewer = false;
        ModalDriver driver;
        driver.answerMessageBox(QMessageBox::Ok);
        image()->slot_WpsEditClick();
        // Report_<date>_<time>: the newest sorts last.
        const QStringList saved = QDir(reportsFolderPath()).entryList(QDir::Files, QDir::Name);
        ASSERT_EQ(saved.size(), 3);
        const QString path = QDir(reportsFolderPath()).filePath(saved.last());
        EXPECT_FALSE(shown.contains(path));
        EXPECT_EQ(driver.messages(),
                  QStringList{"Report|No program can open the report. It was saved as " + path});
        EXPECT_EQ(lastRow(), "Save report (not opened), path: " + path);
        EXPECT_EQ(auditRows(), before + 3);
    }
    viewer = true;

    // The report's labels are texts of the interface language.
    struct Labels {
        int language;
        const char* user;
        const char* date;
        const char* picture;
    };
    const Labels labels[] = {{0, "用户:", "报告日期:", "图片名称:007.tif"},
                             {1, "User:", "ReportDate:", "PictureName:007.tif"}};
    for (const Labels& l : labels) {
        control->changeLanguage(l.language);
        const int reports = shown.size();
        image()->slot_WpsEditClick();
        ASSERT_TRUE(waitFor([&] { return shown.size() == reports + 1; }, 5000));
        const QByteArray xml = reporttest::readZip(shown.last()).value("word/document.xml");
        EXPECT_EQ(reporttest::bookmarkText(xml, "UserLabel"), QString::fromUtf8(l.user));
        EXPECT_EQ(reporttest::bookmarkText(xml, "ReportDateLabel"), QString::fromUtf8(l.date));
        EXPECT_EQ(reporttest::bookmarkText(xml, "PictureName1"), QString::fromUtf8(l.picture));
    }
}

TEST_F(GelPageTest, AReportOfAPictureThatTookTheNextNumberNamesThatPicture) {
    QStringList shown;
    installReportWordProcessor([&shown](const QString& path) {
        shown << path;
        return true;
    });
    plug();
    openPage();
    control->userOpt.curDate = QDate::currentDate().toString(QStringLiteral("yy-MM-dd"));
    EXPECT_TRUE(control->userOpt.saveUserOpt(UserOpt_curDate));
    control->userOpt.curExpNum = 6;
    EXPECT_TRUE(control->userOpt.saveUserOpt(UserOpt_curExpNum));
    // Another station that shares the storage path has taken number 7.
    QDir(GelPictureFiles::stationFolder(QDate::currentDate())).removeRecursively();
    const QString storage =
        GelPictureFiles::storageFolder(control->userOpt.storagePath, QDate::currentDate());
    QDir(storage).removeRecursively();
    QDir().mkpath(storage);
    {
        QFile theirs(storage + QStringLiteral("007.tif"));
        ASSERT_TRUE(theirs.open(QIODevice::WriteOnly));
    }
    image()->captureClickHandle();
    EXPECT_EQ(control->zdqCameraCtrl->curExpName, QStringLiteral("Varnu008"));

    QDir().mkpath(station().filePath(QStringLiteral("documents")));
    QFile::copy(QCoreApplication::applicationDirPath() + QStringLiteral("/documents/report.dotx"),
                station().filePath(QStringLiteral("documents/report.dotx")));
    image()->slot_WpsEditClick();
    const QList<AuditTrailInfo> rows =
        control->auditTrailDB->loadAuditTrail(AuditTrailDB::kAnyPage, "", "", "", 0, 1, 1);
    ASSERT_FALSE(rows.isEmpty());
    EXPECT_EQ(rows.first().content, QStringLiteral("Open wps, path: 008.tif"));
    ASSERT_TRUE(waitFor([&] { return shown.size() == 1; }, 5000));
}

// ---- Bottom bar and running dialog --------------------------------------------

TEST_F(GelPageTest, BottomBarButtonsFollowTheRights) {
    plug();
    openPage();
    struct Case {
        bool imageProcess;
        bool enable;
        bool exportOn;
        bool processOn;
    };
    const Case cases[] = {
        {true, true, true, true},
        {true, false, false, true},  // Process stays as it was
        {false, false, false, false},
        {false, true, true, false},  // never enabled without the right
    };
    for (const Case& c : cases) {
        control->currentUser->authImgProcess = c.imageProcess;
        emit image()->updateButton(c.enable);
        EXPECT_EQ(barButton("pushButton_Export")->isEnabled(), c.exportOn);
        EXPECT_EQ(barButton("pushButton_Process")->isEnabled(), c.processOn);
        EXPECT_EQ(barButton("pushButton_WpsEdit")->isEnabled(), c.enable);
    }
}

TEST_F(GelPageTest, RunningDialogTotalsStopAndLanguage) {
    struct Case {
        int expType;
        bool accumulate;
        bool marker;
        int total;
    };
    control->camOpt.tucsenCurrentCamSet.ExposurePre = 200;
    EXPECT_TRUE(control->camOpt.saveTucsenCurrentCamSet());
    control->userOpt.ExpTime = 5000;
    EXPECT_TRUE(control->userOpt.saveUserOpt(UserOpt_ExpTime));
    const Case cases[] = {
        {Varnu, false, true, 300},          {Varnu, true, true, 600},
        {MultFluore, false, true, 0},       {WesternBlot, false, true, 13000},
        {WesternBlot, false, false, 13200},
    };
    for (const Case& c : cases) {
        control->expType = c.expType;
        control->userOpt.WbMarker = c.marker;
        EXPECT_TRUE(control->userOpt.saveUserOpt(UserOpt_WbMarker));
        RunningDialog dialog;
        dialog.setAccCapture(c.accumulate);
        EXPECT_EQ(dialog.totalCapTime(), c.total) << c.expType << " " << c.accumulate;
    }

    // A manual western-blot series: three pictures of 1 s, 2 s and 3.5 s, or
    // times counted from the start of the series.
    TucsenCamCtrl* tucsen = TucsenCamCtrl::getInstance();
    tucsen->curFuncFrameType = 1;
    control->expType = WesternBlot;
    control->userOpt.WbMarker = true;
    EXPECT_TRUE(control->userOpt.saveUserOpt(UserOpt_WbMarker));
    control->userOpt.ExpTime_1 = QStringList{"0", "1", "0"};
    control->userOpt.ExpTime_2 = QStringList{"0", "2", "0"};
    control->userOpt.ExpTime_3 = QStringList{"0", "3", "500"};
    for (int type : {UserOpt_ExpTime_1, UserOpt_ExpTime_2, UserOpt_ExpTime_3}) {
        EXPECT_TRUE(control->userOpt.saveUserOpt(type));
    }
    struct ManualCase {
        int count;
        bool timeAccumulate;
        int total;
    };
    const ManualCase manualCases[] = {
        {3, false, 24500}, {3, true, 21500}, {0, false, 0}, {-1, true, 0}, {1, false, 7000}};
    for (const ManualCase& c : manualCases) {
        control->userOpt.CapCount = c.count;
        EXPECT_TRUE(control->userOpt.saveUserOpt(UserOpt_CapCount));
        control->camOpt.tucsenCurrentCamSet.TimeAcc = c.timeAccumulate;
        EXPECT_TRUE(control->camOpt.saveTucsenCurrentCamSet());
        RunningDialog dialog;
        EXPECT_EQ(dialog.totalCapTime(), c.total) << c.count << " " << c.timeAccumulate;
    }
    tucsen->curFuncFrameType = 0;
    control->expType = Varnu;
    RunningDialog dialog;
    dialog.startProgress();
    auto* bar = dialog.findChild<QProgressBar*>(QStringLiteral("progressBar"));
    EXPECT_EQ(bar->maximum(), 300);
    ASSERT_TRUE(waitFor([&] { return bar->value() == 300; }, 5000));
    QSignalSpy stops(&dialog, &RunningDialog::stopCapThread);
    auto* stop = dialog.findChild<QPushButton*>(QStringLiteral("pushButton_Stop"));
    stop->click();
    stop->click();
    EXPECT_EQ(stops.count(), 2);
    QEvent change(QEvent::LanguageChange);
    QCoreApplication::sendEvent(&dialog, &change);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Dialog"));
    EXPECT_TRUE(stop->text().isEmpty());
}

}  // namespace
