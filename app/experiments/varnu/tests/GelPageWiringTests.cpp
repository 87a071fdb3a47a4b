// The gel/UV page put together: the function and tools columns with their
// panels, every chain from a panel to the image frame and back run through
// the relays in the GUI thread, the settings stored before a preview or a
// capture starts, and the page's style sheets against the pictures and the
// widgets they name.
#include "EventWait.h"
#include "ModalDriver.h"
#include "MultFluoreCaptureFrame.h"
#include "MultFluoreResources.h"
#include "RunningDialog.h"
#include "TestStation.h"
#include "VarnuCamSetFrame.h"
#include "VarnuCaptureFrame.h"
#include "VarnuFrame.h"
#include "VarnuTestSupport.h"
#include "Varnu_FuncsFrame.h"
#include "Varnu_ImageFrame.h"
#include "Varnu_ToolsFrame.h"
#include "camera/ZdqCameraCtrl.h"
#include "controller/CI_MainControl.h"
#include "database/AuditTrailDB.h"
#include "database/UserInfo.h"
#include "database/Varnu_ExperimentDB.h"
#include "mlusbimager_control.h"
#include "settings/CamOpts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>

#include <memory>

#include <gtest/gtest.h>

namespace {

constexpr int kMono1280 = 1;

class GelPageWiringTest : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        s_station = englishStation(QStringLiteral("gelpage-wiring"));
        s_control = testerController();
        s_control->currentUser->authImgCap = true;
        s_control->currentUser->authImgProcess = true;
        s_control->currentUser->authRptExport = true;
    }

    void SetUp() override {
        s_control->machineName = Varnu_320;
        s_control->mainWindowShown = false;
        ZdqCamSet set;
        set.Exposure = 300;
        set.Gain = 8;
        set.BrightNess = 25;
        set.Contrast = 10;
        set.SignalAccNum = 2;
        set.SignalAccOpen = true;
        s_control->camOpt.zdqCurrentCamSet = set;
        EXPECT_TRUE(s_control->camOpt.saveZdqCurrentCamSet());
        s_control->userOpt.storagePath = s_station->filePath(QStringLiteral("store"));
        EXPECT_TRUE(s_control->userOpt.saveUserOpt(UserOpt_storagePath));
    }

    void TearDown() override {
        m_page.reset();
        s_control->zdqCameraCtrl->ZDQ_UnInit();
        mlsim_unplug_all();
    }

    static void plug() {
        MlSimProfile profile{};
        mlsim_profile_default(kMono1280, &profile);
        profile.content = MLSIM_CONTENT_SCENE;
        profile.timing = MLSIM_TIMING_INSTANT;
        ASSERT_EQ(mlsim_plug(0, &profile), 1);
    }

    void buildPage() {
        m_page = std::make_unique<VarnuFrame>();
        m_page->resize(1024, 643);
        m_page->show();
        QCoreApplication::processEvents();
    }

    Varnu_ImageFrame* image() const { return m_page->imageFrame(); }
    VarnuCaptureFrame* capturePanel() const { return m_page->funcsFrame()->capturePanel(); }
    VarnuCamSetFrame* settingsPanel() const { return m_page->toolsFrame()->settingsPanel(); }

    template <typename T>
    T* find(QObject* root, const char* name) {
        T* found = root->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    void click(QObject* root, const char* name) {
        QTest::mouseClick(find<QPushButton>(root, name), Qt::LeftButton);
    }

    static ZdqCamSet fileSet() {
        CamOpts reader;
        reader.loadZdqCurrentCamSet();
        return reader.zdqCurrentCamSet;
    }

    static TestStation* s_station;
    static CI_MainControl* s_control;
    std::unique_ptr<VarnuFrame> m_page;
};

TestStation* GelPageWiringTest::s_station = nullptr;
CI_MainControl* GelPageWiringTest::s_control = nullptr;

TEST_F(GelPageWiringTest, TheColumnsHoldThePanelsTheFormsPlace) {
    struct ColumnCase {
        QFrame* column;
        const char* columnName;
        const char* panelName;
        const char* panelClass;
        QSize size;
        QRect panelGeometry;
    };
    buildPage();
    const ColumnCase cases[] = {
        {m_page->funcsFrame(), "frame_Funcs", "frame_VarnuCapture", "VarnuCaptureFrame",
         QSize(266, 643), QRect(0, 0, 266, 675)},
        {m_page->toolsFrame(), "frame_Tools", "frame_CamSetTool", "VarnuCamSetFrame",
         QSize(200, 643), QRect(0, 0, 200, 675)},
    };
    for (const ColumnCase& c : cases) {
        SCOPED_TRACE(c.columnName);
        EXPECT_EQ(c.column->objectName(), QString::fromLatin1(c.columnName));
        EXPECT_EQ(c.column->parentWidget(), m_page.get());
        EXPECT_EQ(c.column->windowTitle(), QStringLiteral("Frame"));
        EXPECT_EQ(c.column->width(), c.size.width());
        const QList<QFrame*> panels =
            c.column->findChildren<QFrame*>(QString(), Qt::FindDirectChildrenOnly);
        ASSERT_EQ(panels.size(), 1);
        QFrame* panel = panels.first();
        EXPECT_EQ(panel->objectName(), QString::fromLatin1(c.panelName));
        EXPECT_STREQ(panel->metaObject()->className(), c.panelClass);
        EXPECT_EQ(panel->geometry(), c.panelGeometry);
        EXPECT_EQ(panel->frameShape(), QFrame::StyledPanel);
        EXPECT_EQ(panel->frameShadow(), QFrame::Raised);
    }
    // Built on their own, the columns take the sizes their forms give.
    Varnu_FuncsFrame funcs;
    Varnu_ToolsFrame tools;
    EXPECT_EQ(funcs.objectName(), QStringLiteral("Varnu_FuncsFrame"));
    EXPECT_EQ(funcs.size(), QSize(266, 643));
    EXPECT_EQ(tools.objectName(), QStringLiteral("Varnu_ToolsFrame"));
    EXPECT_EQ(tools.size(), QSize(200, 643));
}

TEST_F(GelPageWiringTest, PreviewAndCaptureStoreTheSettingsBeforeTheImageFrameStarts) {
    plug();
    buildPage();
    QList<int> gainAtStart;
    QObject::connect(image(), &Varnu_ImageFrame::updatePreviewLabel, [&](bool previewing) {
        if (previewing) {
            gainAtStart << fileSet().Gain;
        }
    });
    find<QSpinBox>(settingsPanel(), "spinBox_Gain")->setValue(20);
    click(capturePanel(), "pushButton_Preview");
    EXPECT_TRUE(image()->isPreviewing());
    EXPECT_EQ(gainAtStart, QList<int>{20});

    // A capture stops the preview: the set is stored before that.
    QList<int> gainAtStop;
    QObject::connect(image(), &Varnu_ImageFrame::updatePreviewLabel, [&](bool previewing) {
        if (!previewing) {
            gainAtStop << fileSet().Gain;
        }
    });
    find<QSpinBox>(settingsPanel(), "spinBox_Gain")->setValue(22);
    QSignalSpy exportEnabled(image(), &Varnu_ImageFrame::updateButton);
    click(capturePanel(), "pushButton_Capture");
    ASSERT_FALSE(gainAtStop.isEmpty());
    EXPECT_EQ(gainAtStop.first(), 22);
    // The capture ran to its end: the picture is shown and export enabled.
    ASSERT_FALSE(exportEnabled.isEmpty());
    EXPECT_TRUE(exportEnabled.last().first().toBool());
    EXPECT_TRUE(find<QPushButton>(m_page.get(), "pushButton_Export")->isEnabled());
}

TEST_F(GelPageWiringTest, APageBuiltWithoutCameraKeepsTheStoredSettingsAndLearnsTheRanges) {
    buildPage();
    ASSERT_FALSE(settingsPanel()->paramRangesKnown());
    plug();
    click(capturePanel(), "pushButton_Preview");
    const ZdqCamSet stored = fileSet();
    EXPECT_EQ(stored.Gain, 8);
    EXPECT_EQ(stored.BrightNess, 25);
    EXPECT_EQ(stored.Contrast, 10);
    EXPECT_EQ(stored.Exposure, 300);
    // The preview that found the camera brings its ranges to the panel.
    QElapsedTimer waited;
    waited.start();
    while (!settingsPanel()->paramRangesKnown() && waited.elapsed() < 5000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    EXPECT_TRUE(settingsPanel()->paramRangesKnown());
    EXPECT_EQ(find<QSpinBox>(settingsPanel(), "spinBox_Gain")->value(), 8);
}

TEST_F(GelPageWiringTest, EveryChainRunsThroughTheRelaysToItsEnd) {
    plug();
    buildPage();
    QWidget* tools = m_page->toolsFrame();
    QStringList trail;
    int hops = 0;
    Varnu_FuncsFrame* funcs = m_page->funcsFrame();
    for (auto signal : {&Varnu_FuncsFrame::previewClick, &Varnu_FuncsFrame::captureClick,
                        &Varnu_FuncsFrame::accCaptureClick, &Varnu_FuncsFrame::autoExposureClick,
                        &Varnu_FuncsFrame::autoFocusClick, &Varnu_FuncsFrame::savePara,
                        &Varnu_FuncsFrame::showToolFrame, &Varnu_FuncsFrame::hideToolFrame,
                        &Varnu_FuncsFrame::resetFuncsFrame}) {
        const QString index = QString::number(hops++);
        QObject::connect(funcs, signal, [&trail, index] { trail << index; });
    }
    m_page->slot_EnterVrFrame();
    EXPECT_TRUE(image()->isPreviewing());
    EXPECT_TRUE(tools->isHidden());  // the image frame hides the tools on entering

    // Show and hide the settings: the column follows, the preview re-fits
    // once the layout has given the image frame its new width.
    QCoreApplication::processEvents();
    const QSize wide = image()->previewSize();
    click(capturePanel(), "pushButton_Setting");
    EXPECT_TRUE(tools->isVisible());
    QCoreApplication::processEvents();
    const QSize narrow = image()->previewSize();
    EXPECT_LT(narrow.width(), wide.width());
    click(capturePanel(), "pushButton_Setting");
    EXPECT_TRUE(tools->isHidden());
    QCoreApplication::processEvents();
    EXPECT_EQ(image()->previewSize(), wide);

    // A resolution change re-fits the preview to the new frame.
    find<QComboBox>(settingsPanel(), "comboBox_Resolution")->setCurrentIndex(1);
    EXPECT_EQ(image()->previewSize(), QSize(532, 425));
    find<QComboBox>(settingsPanel(), "comboBox_Resolution")->setCurrentIndex(0);

    // Automatic exposure: its time comes back to the settings panel.
    QSignalSpy settled(image(), &Varnu_ImageFrame::updateAeTime);
    QSignalSpy changes(settingsPanel(), &VarnuCamSetFrame::expChange);
    click(capturePanel(), "pushButton_AutoExposure");
    // It starts once the preview's start has ended.
    ASSERT_TRUE(waitFor([&] { return settled.count() == 1; }, 10000));
    EXPECT_EQ(find<QSpinBox>(settingsPanel(), "spinBox_Exposure")->value(),
              settled.first().first().toInt());
    EXPECT_EQ(changes.count(), 0);

    // Leaving the page resets the capture panel.
    QPushButton* setting = find<QPushButton>(capturePanel(), "pushButton_Setting");
    setting->setChecked(true);
    m_page->exitExperimentFrameHandle();
    EXPECT_FALSE(setting->isChecked());
    EXPECT_FALSE(image()->isPreviewing());

    // Automatic focus without a preview reaches the image frame, which does
    // nothing then.
    click(capturePanel(), "pushButton_AutoFocus");

    // The accumulate option: Save in the settings shows or hides the
    // accumulated capture and starts the preview again.
    QPushButton* accCapture = find<QPushButton>(capturePanel(), "pushButton_AccCapture");
    EXPECT_FALSE(accCapture->isHidden());
    QTest::mouseClick(find<QCheckBox>(settingsPanel(), "checkBox_SigAccOpen"), Qt::LeftButton);
    {
        ModalDriver driver;
        driver.answerMessageBox(QMessageBox::Ok);
        click(settingsPanel(), "pushButton_Save");
        EXPECT_EQ(driver.pendingSteps(), 0);
    }
    EXPECT_TRUE(accCapture->isHidden());
    EXPECT_TRUE(image()->isPreviewing());

    // Preview while previewing stores the settings and changes nothing else.
    find<QSpinBox>(settingsPanel(), "spinBox_Gamma")->setValue(3);
    click(capturePanel(), "pushButton_Preview");
    EXPECT_EQ(fileSet().Gamma, 3);
    EXPECT_TRUE(image()->isPreviewing());

    // Each hop of the function column ran once, in the order of the clicks.
    EXPECT_EQ(trail, (QStringList{"6", "7", "3", "8", "4", "5", "0"}));
}

TEST_F(GelPageWiringTest, AnExposureChangeAfterAutomaticExposureCapturesTheChosenTime) {
    plug();
    buildPage();
    m_page->slot_EnterVrFrame();
    ZdqCameraCtrl* zdq = s_control->zdqCameraCtrl;
    for (bool changedAfterwards : {false, true}) {
        SCOPED_TRACE(changedAfterwards);
        if (!image()->isPreviewing()) {
            click(capturePanel(), "pushButton_Preview");
        }
        QSignalSpy settled(image(), &Varnu_ImageFrame::updateAeTime);
        click(capturePanel(), "pushButton_AutoExposure");
        ASSERT_TRUE(waitFor([&] { return settled.count() == 1; }, 10000));
        const int automatic = settled.first().first().toInt();
        ASSERT_NE(automatic, 250);
        if (changedAfterwards) {
            find<QSpinBox>(settingsPanel(), "spinBox_Exposure")->setValue(250);
        }
        click(capturePanel(), "pushButton_Capture");
        const auto row = s_control->varnuExperimentDB->loadByUuid(zdq->curExpUuid);
        ASSERT_TRUE(row);
        EXPECT_EQ(row->exposureTime,
                  QStringLiteral("%1,").arg(changedAfterwards ? 250 : automatic));
    }
}

// ---- The page's style sheets ------------------------------------------------------

QString sheetText(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return QString::fromLatin1(file.readAll());
}

// Qt's warnings about style sheets it cannot parse, while a sheet is applied.
QStringList sheetParseWarnings(const QString& sheet) {
    static QStringList* sink = nullptr;
    QStringList warnings;
    sink = &warnings;
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& message) {
            if (message.contains(QStringLiteral("Could not parse")))
                sink->append(message);
        });
    QWidget widget;
    auto* button = new QPushButton(&widget);
    widget.setStyleSheet(sheet);
    button->ensurePolished();
    qInstallMessageHandler(previous);
    sink = nullptr;
    return warnings;
}

TEST_F(GelPageWiringTest, SheetsNameExistingPicturesAndWidgets) {
    ensureMultFluoreResources();
    buildPage();
    RunningDialog running;
    MultFluoreCaptureFrame fluorescence;
    // The widgets a rule may name, by the class that scopes it (none: any).
    const QList<QWidget*> unscoped = {m_page.get(), &running};
    const QMap<QString, QWidget*> scopes = {{"VarnuCaptureFrame", capturePanel()},
                                            {"VarnuCamSetFrame", settingsPanel()},
                                            {"MultFluoreCaptureFrame", &fluorescence}};
    for (const char* path : {":/Style/captureframe.css", ":/Style/captureframe_en.css"}) {
        SCOPED_TRACE(path);
        const QString sheet = sheetText(QString::fromLatin1(path));
        EXPECT_TRUE(sheetParseWarnings(sheet).isEmpty());
        int pictures = 0;
        const QRegularExpression url(QStringLiteral("url\\((:/Image/[^)]+)\\)"));
        for (auto it = url.globalMatch(sheet); it.hasNext(); ++pictures) {
            const QString picture = it.next().captured(1);
            EXPECT_TRUE(QFile::exists(picture)) << picture.toStdString();
        }
        EXPECT_GT(pictures, 40);
        int selectors = 0;
        const QRegularExpression selector(
            QStringLiteral("(?:(\\w+)\\s+)?(Q\\w+)#(\\w+)(?::\\w+)?\\s*[,{]"));
        for (auto it = selector.globalMatch(sheet); it.hasNext(); ++selectors) {
            const QRegularExpressionMatch match = it.next();
            const QString scope = match.captured(1);
            const QString name = match.captured(3);
            QList<QWidget*> roots = unscoped;
            if (!scope.isEmpty()) {
                // The sheet is shared with the western-blot panels, whose rules their own
                // tests check against their widgets.
                if (!scopes.contains(scope))
                    continue;
                roots = {scopes.value(scope)};
            }
            bool named = false;
            for (QWidget* root : roots) {
                QWidget* widget = root->findChild<QWidget*>(name);
                named |= widget && widget->inherits(match.captured(2).toLatin1().constData());
            }
            EXPECT_TRUE(named) << match.captured(0).toStdString();
        }
        EXPECT_GT(selectors, 40);
    }
}

}  // namespace
