#include "PageFixture.h"

#include "ImageProcess_FuncsFrame.h"
#include "ModalDriver.h"

#include <QColorDialog>
#include <QDoubleSpinBox>
#include <QFontDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMetaMethod>
#include <QSpinBox>

#include <functional>

#include <memory>

namespace {

const QStringList kButtons = {
    "pushButton_Zoom",      "pushButton_Adapt",     "pushButton_Origial", "pushButton_Rotate",
    "pushButton_Forward90", "pushButton_Reverse90", "pushButton_MirrorV", "pushButton_MirrorH",
    "pushButton_Cut",       "pushButton_CutCancel", "pushButton_Label",   "pushButton_LabelCancel",
    "pushButton_Color",     "pushButton_Font",      "pushButton_Inverse", "pushButton_Median",
    "pushButton_BW",        "pushButton_Histogram", "pushButton_Pseudo",  "pushButton_Dyeing",
    "pushButton_Undo",      "pushButton_Redo",      "pushButton_Reset",   "pushButton_Save"};

QStringList sorted(QStringList names) {
    names.sort();
    return names;
}

QStringList allBut(const QStringList& left) {
    QStringList names = kButtons;
    for (const QString& name : left) {
        names.removeAll(name);
    }
    return sorted(names);
}

// One spy on every signal the panel declares, to see which ones a step emits.
class SignalRecorder {
  public:
    explicit SignalRecorder(QObject* panel) {
        const QMetaObject& meta = ImageProcess_FuncsFrame::staticMetaObject;
        for (int i = meta.methodOffset(); i < meta.methodCount(); ++i) {
            const QMetaMethod method = meta.method(i);
            if (method.methodType() == QMetaMethod::Signal) {
                const QByteArray signature = "2" + method.methodSignature();
                m_spies.push_back({QString::fromLatin1(method.name()),
                                   std::make_unique<QSignalSpy>(panel, signature.constData())});
            }
        }
    }
    int signalCount() const { return static_cast<int>(m_spies.size()); }
    // "name(args)" of every emission so far, signal by signal in
    // declaration order.
    QStringList emitted() const {
        QStringList out;
        for (const auto& [name, spy] : m_spies) {
            for (const QList<QVariant>& args : *spy) {
                QStringList values;
                for (const QVariant& value : args) {
                    values << value.toString();
                }
                out << name + "(" + values.join(",") + ")";
            }
        }
        return out;
    }

  private:
    std::vector<std::pair<QString, std::unique_ptr<QSignalSpy>>> m_spies;
};

}  // namespace

class FuncsFrameTest : public PageTest {
  protected:
    void SetUp() override {
        PageTest::SetUp();
        panel = std::make_unique<ImageProcess_FuncsFrame>();
        panel->show();
        ratio = panel->findChild<QDoubleSpinBox*>("doubleSpinBox_Ratio");
        angle = panel->findChild<QSpinBox*>("spinBox_Angle");
        ASSERT_NE(ratio, nullptr);
        ASSERT_NE(angle, nullptr);
    }
    void TearDown() override {
        panel.reset();
        PageTest::TearDown();
    }
    // Idle with the given history states, as after a picture was shown.
    void makeIdle(bool undo, bool redo) {
        panel->updateRedoStatusHandle(redo);
        panel->updateUndoStatusHandle(undo);
        panel->updateButtonStatusHandle();
    }
    bool spinBoxesEnabled() const { return ratio->isEnabled() && angle->isEnabled(); }

    std::unique_ptr<ImageProcess_FuncsFrame> panel;
    QDoubleSpinBox* ratio = nullptr;
    QSpinBox* angle = nullptr;
};

TEST_F(FuncsFrameTest, FormAsBuiltWithItsSpinBoxesAndTooltips) {
    EXPECT_EQ(panel->objectName(), "ImageProcess_FuncsFrame");
    EXPECT_EQ(panel->size(), QSize(265, 643));
    EXPECT_EQ(allButtons(*panel), sorted(kButtons));
    for (const QPushButton* button : panel->findChildren<QPushButton*>()) {
        EXPECT_EQ(button->size(), QSize(50, 40)) << button->objectName().toStdString();
        EXPECT_TRUE(button->text().isEmpty());
    }
    EXPECT_EQ(panel->findChild<QPushButton*>("pushButton_Save")->parentWidget()->objectName(),
              "groupBox_File");
    EXPECT_EQ(panel->findChild<QLabel*>("label_CurMode")->text(), "Image Process");
    EXPECT_EQ(panel->findChild<QGroupBox*>("groupBox_ZoomRotateMove")->title(), "Zoom,Rotate");

    EXPECT_EQ(ratio->text(), "1.00");
    EXPECT_EQ(ratio->minimum(), 0.0);
    EXPECT_EQ(ratio->maximum(), 10.0);
    EXPECT_DOUBLE_EQ(ratio->singleStep(), 0.1);
    EXPECT_EQ(ratio->decimals(), 2);
    EXPECT_EQ(angle->value(), 0);
    EXPECT_EQ(angle->minimum(), 0);
    EXPECT_EQ(angle->maximum(), 360);

    const std::pair<const char*, const char*> tips[] = {{"pushButton_Zoom", "Zoom"},
                                                        {"pushButton_Origial", "Origial"},
                                                        {"pushButton_Forward90", "Forward 90"},
                                                        {"pushButton_MirrorV", "Flip Vertical"},
                                                        {"pushButton_MirrorH", "Flip Horizontal"},
                                                        {"pushButton_CutCancel", "Cut Cancel"},
                                                        {"pushButton_Median", "Filter"},
                                                        {"pushButton_BW", "ToBlackWhite"},
                                                        {"pushButton_Dyeing", "Dye"},
                                                        {"pushButton_Save", "Save"}};
    for (const auto& [name, tip] : tips) {
        EXPECT_EQ(panel->findChild<QPushButton*>(name)->toolTip(), tip) << name;
    }
}

TEST_F(FuncsFrameTest, EachButtonEmitsItsSignalWithItsPayload) {
    SignalRecorder recorder(panel.get());
    EXPECT_EQ(recorder.signalCount(), 21);
    makeIdle(true, true);
    ratio->setValue(0.0);
    angle->setValue(360);
    struct Case {
        const char* button;
        QString emitted;
    };
    const Case cases[] = {
        {"pushButton_Zoom", "zoomByRatio(0)"},
        {"pushButton_Rotate", "rotateByAngle(360)"},
        {"pushButton_Forward90", "rotateByAngle(90)"},
        {"pushButton_Reverse90", "rotateByAngle(270)"},
        {"pushButton_MirrorV", "mirrorByDirection(0)"},
        {"pushButton_MirrorH", "mirrorByDirection(1)"},
        {"pushButton_Redo", "redoClick()"},
        {"pushButton_Undo", "undoClick()"},
        {"pushButton_Reset", "resetClick()"},
        {"pushButton_Save", "saveClick()"},
        {"pushButton_Inverse", "inverseClick()"},
        {"pushButton_Median", "medianClick()"},
        {"pushButton_BW", "bwClick()"},
        {"pushButton_Pseudo", "pseudoClick()"},
        {"pushButton_Dyeing", "dyeingClick()"},
        {"pushButton_Origial", "origialClick()"},
        {"pushButton_Adapt", "adaptClick()"},
    };
    for (const Case& c : cases) {
        SignalRecorder one(panel.get());
        click(*panel, c.button);
        EXPECT_EQ(one.emitted(), QStringList{c.emitted}) << c.button;
        // Neither the buttons nor the spin boxes change.
        EXPECT_EQ(enabledButtons(*panel), sorted(kButtons)) << c.button;
    }
    EXPECT_EQ(ratio->value(), 0.0);
    EXPECT_EQ(angle->value(), 360);
}

TEST_F(FuncsFrameTest, ModesLeaveOnlyTheirOwnButtonUsable) {
    makeIdle(true, false);
    EXPECT_EQ(enabledButtons(*panel), allBut({"pushButton_Redo"}));
    EXPECT_TRUE(spinBoxesEnabled());

    struct Case {
        const char* enter;
        const char* signal;
        const char* usable;
        std::function<void()> leave;
        const char* leftBy;
    };
    const Case cases[] = {
        {"pushButton_Cut", "cutClick()", "pushButton_CutCancel",
         [this] { click(*panel, "pushButton_CutCancel"); }, "cutCancelClick()"},
        {"pushButton_Cut", "cutClick()", "pushButton_CutCancel",
         [this] { panel->cutFinishHandle(); }, nullptr},
        {"pushButton_Label", "labelClick()", "pushButton_LabelCancel",
         [this] { click(*panel, "pushButton_LabelCancel"); }, "labelCancelClick()"},
        {"pushButton_Label", "labelClick()", "pushButton_LabelCancel",
         [this] { panel->labelFinishHandle(); }, nullptr},
        {"pushButton_Histogram", "histogramClick()", "pushButton_Histogram",
         [this] { panel->toolsFrameHideHandle(); }, nullptr},
    };
    for (const Case& c : cases) {
        SignalRecorder recorder(panel.get());
        click(*panel, c.enter);
        EXPECT_EQ(enabledButtons(*panel), QStringList{c.usable}) << c.enter;
        EXPECT_FALSE(ratio->isEnabled());
        EXPECT_FALSE(angle->isEnabled());
        // A report of the history while in the mode.
        panel->updateRedoStatusHandle(true);
        c.leave();
        QStringList expected{c.signal};
        if (c.leftBy != nullptr) {
            expected << c.leftBy;
        }
        EXPECT_EQ(recorder.emitted(), expected) << c.enter;
        EXPECT_EQ(enabledButtons(*panel), sorted(kButtons)) << c.enter;
        EXPECT_TRUE(spinBoxesEnabled());
        panel->updateRedoStatusHandle(false);
    }
}

TEST_F(FuncsFrameTest, HistoryReportsWaitWhileTheHistogramToolIsOpen) {
    makeIdle(false, false);
    click(*panel, "pushButton_Histogram");
    panel->updateUndoStatusHandle(true);
    panel->updateRedoStatusHandle(true);
    EXPECT_EQ(enabledButtons(*panel), QStringList{"pushButton_Histogram"});
    // A second click repeats the entry.
    QSignalSpy histogram(panel.get(), &ImageProcess_FuncsFrame::histogramClick);
    click(*panel, "pushButton_Histogram");
    EXPECT_EQ(histogram.count(), 1);
    panel->toolsFrameHideHandle();
    EXPECT_EQ(enabledButtons(*panel), sorted(kButtons));

    // In a crop the report reaches its button at once.
    click(*panel, "pushButton_Cut");
    panel->updateUndoStatusHandle(false);
    panel->updateUndoStatusHandle(true);
    EXPECT_EQ(enabledButtons(*panel), (QStringList{"pushButton_CutCancel", "pushButton_Undo"}));
}

TEST_F(FuncsFrameTest, EnteringDisablesEverythingAndEndsTheModesOfTheLastVisit) {
    makeIdle(false, false);
    click(*panel, "pushButton_Histogram");
    panel->enterIPFrameHandle();
    EXPECT_TRUE(enabledButtons(*panel).isEmpty());
    EXPECT_FALSE(ratio->isEnabled());
    EXPECT_FALSE(angle->isEnabled());
    // The image frame shows a picture and the first step makes undo possible:
    // the histogram mode of the last visit holds the report back no longer.
    makeIdle(false, false);
    panel->updateUndoStatusHandle(true);
    EXPECT_EQ(enabledButtons(*panel), allBut({"pushButton_Redo"}));
}

TEST_F(FuncsFrameTest, ShowingTheFramesZoomAndAngleEmitsNothing) {
    SignalRecorder recorder(panel.get());
    panel->updateFunsFrameHandle(2.5, 90);
    EXPECT_EQ(ratio->text(), "2.50");
    EXPECT_EQ(angle->value(), 90);
    EXPECT_TRUE(recorder.emitted().isEmpty());
}

TEST_F(FuncsFrameTest, SaveWaitsForThePasswordReCheck) {
    makeIdle(false, false);
    s_control->mainWindowShown = true;
    s_station->setUserOption("isCheckLogin", 0);
    QSignalSpy save(panel.get(), &ImageProcess_FuncsFrame::saveClick);
    {
        ModalDriver driver;
        driver.onDialog([](QDialog* dialog) { dialog->reject(); });
        click(*panel, "pushButton_Save");
        EXPECT_EQ(driver.pendingSteps(), 0);
        EXPECT_EQ(save.count(), 0);
        EXPECT_EQ(enabledButtons(*panel), allBut({"pushButton_Undo", "pushButton_Redo"}));
    }
    {
        ModalDriver driver;
        driver.onDialog([](QDialog* dialog) {
            dialog->findChild<QLineEdit*>("lineEdit_Password")->setText("tarsk");
            dialog->findChild<QPushButton*>("pushButton_Submit")->click();
        });
        click(*panel, "pushButton_Save");
        EXPECT_EQ(driver.pendingSteps(), 0);
        EXPECT_EQ(save.count(), 1);
    }
    // With signatures off the gate opens at once.
    s_station->setUserOption("isCheckLogin", 1);
    click(*panel, "pushButton_Save");
    EXPECT_EQ(save.count(), 2);
}

TEST_F(FuncsFrameTest, ColourAndFontComeOnlyFromAnAcceptedDialog) {
    makeIdle(false, false);
    QSignalSpy colour(panel.get(), &ImageProcess_FuncsFrame::setColor);
    QSignalSpy font(panel.get(), &ImageProcess_FuncsFrame::setFont);
    {
        ModalDriver driver;
        driver.onDialog([](QDialog* dialog) {
            auto* colours = qobject_cast<QColorDialog*>(dialog);
            ASSERT_NE(colours, nullptr);
            EXPECT_EQ(colours->currentColor(), QColor(Qt::white));
            dialog->reject();
        });
        driver.onDialog([](QDialog* dialog) {
            auto* colours = qobject_cast<QColorDialog*>(dialog);
            ASSERT_NE(colours, nullptr);
            colours->setCurrentColor(QColor(10, 200, 30));
            colours->accept();
        });
        click(*panel, "pushButton_Color");
        EXPECT_EQ(colour.count(), 0);
        click(*panel, "pushButton_Color");
        EXPECT_EQ(driver.pendingSteps(), 0);
        ASSERT_EQ(colour.count(), 1);
        EXPECT_EQ(colour.at(0).at(0).value<QColor>(), QColor(10, 200, 30));
    }
    {
        ModalDriver driver;
        QString title;
        QFont initial;
        driver.onDialog([&](QDialog* dialog) {
            auto* fonts = qobject_cast<QFontDialog*>(dialog);
            ASSERT_NE(fonts, nullptr);
            title = fonts->windowTitle();
            initial = fonts->currentFont();
            dialog->reject();
        });
        driver.onDialog([](QDialog* dialog) {
            auto* fonts = qobject_cast<QFontDialog*>(dialog);
            ASSERT_NE(fonts, nullptr);
            QFont chosen = fonts->currentFont();
            chosen.setPointSize(30);
            fonts->setCurrentFont(chosen);
            fonts->accept();
        });
        click(*panel, "pushButton_Font");
        EXPECT_EQ(title, "Select Font");
        EXPECT_EQ(initial.pointSize(), 16);
        EXPECT_EQ(font.count(), 0);
        click(*panel, "pushButton_Font");
        EXPECT_EQ(driver.pendingSteps(), 0);
        ASSERT_EQ(font.count(), 1);
        EXPECT_EQ(font.at(0).at(0).value<QFont>().pointSize(), 30);
    }
}

TEST_F(FuncsFrameTest, LanguageChangeRetranslatesAndKeepsTheValues) {
    panel->updateFunsFrameHandle(3.5, 45);
    s_control->changeLanguage(0);
    QApplication::processEvents();
    EXPECT_EQ(panel->findChild<QLabel*>("label_CurMode")->text(), QStringLiteral("图像处理"));
    EXPECT_EQ(panel->findChild<QGroupBox*>("groupBox_Mark")->title(), QStringLiteral("标注"));
    EXPECT_EQ(panel->findChild<QPushButton*>("pushButton_Zoom")->toolTip(), QStringLiteral("缩放"));
    EXPECT_EQ(panel->findChild<QPushButton*>("pushButton_Median")->toolTip(),
              QStringLiteral("中值滤波"));
    EXPECT_EQ(ratio->value(), 3.5);
    EXPECT_EQ(angle->value(), 45);
    s_control->changeLanguage(1);
    QApplication::processEvents();
    EXPECT_EQ(panel->findChild<QPushButton*>("pushButton_Zoom")->toolTip(), "Zoom");
    EXPECT_EQ(panel->findChild<QLabel*>("label_CurMode")->text(), "Image Process");
}
