#include "PageFixture.h"

#include "HistogramAdjustToolFrame.h"
#include "ImageProcessFrame.h"
#include "ImageProcess_FuncsFrame.h"
#include "ImageProcess_ImageFrame.h"
#include "ImageProcess_ToolsFrame.h"
#include "widgets/MySlider.h"

#include <QDoubleSpinBox>
#include <QFile>
#include <QGridLayout>

#include <memory>

namespace {

QString resourceText(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// The share of `button`'s inner pixels in the page's picture `shot` that
// equal the picture the style sheet names for it (the rounded rim blends
// with the background and is left out).
double matchOfButton(const QImage& shot, const QWidget& page, const QPushButton& button,
                     const QString& picture) {
    const QImage expected = QImage(picture).convertToFormat(QImage::Format_ARGB32);
    if (expected.size() != button.size()) {
        return 0.0;
    }
    const QPoint origin = button.mapTo(&page, QPoint(0, 0));
    int same = 0;
    int all = 0;
    for (int y = 6; y < button.height() - 6; ++y) {
        for (int x = 6; x < button.width() - 6; ++x) {
            ++all;
            if (shot.pixel(origin.x() + x, origin.y() + y) == expected.pixel(x, y)) {
                ++same;
            }
        }
    }
    return all > 0 ? static_cast<double>(same) / all : 0.0;
}

}  // namespace

class PageFrameTest : public PageTest {
  protected:
    void SetUp() override {
        PageTest::SetUp();
        buildPage();
    }
    void TearDown() override {
        page.reset();
        PageTest::TearDown();
    }
    void buildPage() {
        page = std::make_unique<ImageProcessFrame>();
        page->resize(1024, 643);
        page->show();
        QApplication::processEvents();
        image = page->imageFrame();
        funcs = page->findChild<ImageProcess_FuncsFrame*>("frame_Funcs");
        tools = page->findChild<ImageProcess_ToolsFrame*>("frame_Tools");
        ASSERT_NE(funcs, nullptr);
        ASSERT_NE(tools, nullptr);
        histogram = tools->findChild<HistogramAdjustToolFrame*>();
    }
    void enterWithCapture() {
        // Shown (turned by 180 degrees) as 20 + 2 x + (39 - y).
        putGelCapture(60, 40, [](int x, int y) { return 20 + (59 - x) * 2 + y; });
        page->slot_EnterIPFrame();
        ASSERT_TRUE(image->loaded());
    }
    QPushButton* button(const char* name) const {
        return page->findChild<QPushButton*>(QLatin1String(name));
    }

    std::unique_ptr<ImageProcessFrame> page;
    ImageProcess_ImageFrame* image = nullptr;
    ImageProcess_FuncsFrame* funcs = nullptr;
    ImageProcess_ToolsFrame* tools = nullptr;
    HistogramAdjustToolFrame* histogram = nullptr;
};

using PageFrameDeathTest = PageFrameTest;

TEST_F(PageFrameTest, FormPutsThePanelsSideBySideUnderTheLanguagesSheet) {
    EXPECT_EQ(page->objectName(), "ImageProcessFrame");
    auto* grid = qobject_cast<QGridLayout*>(page->layout());
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->spacing(), 0);
    EXPECT_EQ(grid->contentsMargins(), QMargins(0, 0, 0, 0));
    const std::pair<QWidget*, int> cells[] = {{image, 0}, {tools, 1}, {funcs, 2}};
    for (const auto& [panel, column] : cells) {
        EXPECT_EQ(grid->itemAtPosition(0, column)->widget(), panel);
        EXPECT_EQ(panel->parent(), page.get());
    }
    tools->show();
    QApplication::processEvents();
    EXPECT_EQ(tools->width(), 200);
    EXPECT_EQ(funcs->width(), 265);
    EXPECT_EQ(page->styleSheet(), resourceText(":/Style/imageprocess_en.css"));
    EXPECT_FALSE(page->styleSheet().isEmpty());
}

TEST_F(PageFrameTest, EnteringWithACaptureHidesTheToolsAndLeavesThePanelUsable) {
    tools->changeToolFrameHandle(ImageTools_HistogramAdjust);
    enterWithCapture();
    EXPECT_FALSE(tools->isVisible());
    const QStringList usable = enabledButtons(*funcs);
    EXPECT_EQ(usable.size(), 22);
    EXPECT_FALSE(usable.contains("pushButton_Undo"));
    EXPECT_FALSE(usable.contains("pushButton_Redo"));
}

TEST_F(PageFrameTest, EnteringWithoutACaptureLeavesThePanelDisabled) {
    page->slot_EnterIPFrame();
    EXPECT_FALSE(image->loaded());
    EXPECT_TRUE(enabledButtons(*funcs).isEmpty());
    EXPECT_TRUE(button("pushButton_Import")->isEnabled());
    EXPECT_TRUE(button("pushButton_FrameBack")->isEnabled());
}

TEST_F(PageFrameTest, HistogramToolHoldsTheHistoryBackAndItsBackKeepsOneStep) {
    enterWithCapture();
    click(*funcs, "pushButton_Inverse");
    EXPECT_TRUE(button("pushButton_Undo")->isEnabled());
    click(*funcs, "pushButton_Histogram");
    EXPECT_TRUE(tools->isVisible());
    EXPECT_TRUE(histogram->isVisible());
    EXPECT_EQ(enabledButtons(*funcs), QStringList{"pushButton_Histogram"});
    // The inverted capture spans grey 255 - (20 + 118 + 39) to 235.
    EXPECT_EQ(histogram->autoMinimum(), 78);
    EXPECT_EQ(histogram->autoMaximum(), 235);

    // An undo and a redo while the tool is open reach the buttons later.
    image->undoClickHandle();
    image->redoClickHandle();
    EXPECT_EQ(enabledButtons(*funcs), QStringList{"pushButton_Histogram"});

    histogram->findChild<MySlider*>("horizontalSlider_Left")->setValue(100);
    const QImage inverted = image->currentPicture();
    EXPECT_EQ(image->historySize(), 2);
    click(*histogram, "pushButton_Back");
    EXPECT_FALSE(tools->isVisible());
    EXPECT_EQ(image->historySize(), 3);
    // The stretched preview became the picture: level 100 and below black.
    EXPECT_NE(image->currentPicture(), inverted);
    EXPECT_EQ(image->currentPicture().pixel(59, 0), qRgb(0, 0, 0));
    // Undo possible, redo not: the kept step ended the redo branch.
    const QStringList usable = enabledButtons(*funcs);
    EXPECT_TRUE(usable.contains("pushButton_Undo"));
    EXPECT_FALSE(usable.contains("pushButton_Redo"));
    EXPECT_EQ(usable.size(), 23);
}

TEST_F(PageFrameTest, ReEnteringAfterLeavingWithTheToolOpenStartsOver) {
    enterWithCapture();
    click(*funcs, "pushButton_Histogram");
    ASSERT_TRUE(tools->isVisible());
    page->exitImgProcessFrameHandle();
    EXPECT_FALSE(image->loaded());

    enterWithCapture();
    EXPECT_FALSE(tools->isVisible());
    EXPECT_EQ(enabledButtons(*funcs).size(), 22);
    click(*funcs, "pushButton_Median");
    EXPECT_TRUE(button("pushButton_Undo")->isEnabled());
    EXPECT_EQ(image->historySize(), 2);
}

TEST_F(PageFrameTest, BackReturnsToThePageOfTheExperimentType) {
    QList<FrameID> change;
    QObject::connect(page.get(), &ImageProcessFrame::sig_ChangeFrame,
                     [&change](FrameID id) { change << id; });
    const std::pair<int, FrameID> cases[] = {
        {Varnu, VarnuFrameID}, {WesternBlot, WesternBlotFrameID}, {MultFluore, MultFluoreFrameID}};
    for (const auto& [type, id] : cases) {
        enterWithCapture();
        s_control->expType = type;
        click(*page, "pushButton_FrameBack");
        ASSERT_EQ(change.size(), 1);
        EXPECT_EQ(change.takeLast(), id);
        EXPECT_FALSE(image->loaded());
        s_control->expType = Varnu;
    }
}

TEST_F(PageFrameTest, LanguageSwitchSwapsOnlyTheTwoEnglishPicturesAndKeepsTheValues) {
    enterWithCapture();
    funcs->updateFunsFrameHandle(2.5, 0);
    click(*funcs, "pushButton_Histogram");
    histogram->findChild<MySlider*>("horizontalSlider_Right")->setValue(150);

    struct Language {
        int id;
        const char* sheet;
        const char* import;
        const char* back;
        const char* shot;
    };
    const Language languages[] = {
        {0, ":/Style/imageprocess.css", ":/Image/import_normal.png", ":/Image/back_normal.png",
         "page-zh.png"},
        {1, ":/Style/imageprocess_en.css", ":/Image/import_normal_en.png",
         ":/Image/back_normal_en.png", "page-en.png"},
    };
    for (const Language& language : languages) {
        s_control->changeLanguage(language.id);
        QApplication::processEvents();
        EXPECT_EQ(page->styleSheet(), resourceText(language.sheet));
        const QImage shot = page->grab().toImage().convertToFormat(QImage::Format_ARGB32);
        // Kept for a look at the page in each language.
        shot.save(s_station->filePath(language.shot));
        EXPECT_GT(matchOfButton(shot, *page, *button("pushButton_Import"), language.import), 0.95)
            << language.id;
        EXPECT_GT(matchOfButton(shot, *page, *button("pushButton_FrameBack"), language.back), 0.95)
            << language.id;
        EXPECT_GT(matchOfButton(shot, *page, *button("pushButton_Histogram"),
                                ":/Image/ImageProcess/histogram_normal.png"),
                  0.95);
        EXPECT_GT(matchOfButton(shot, *page, *button("pushButton_Zoom"),
                                ":/Image/ImageProcess/zoom_disable.png"),
                  0.95);
        EXPECT_GT(
            matchOfButton(shot, *page, *button("pushButton_Auto"), ":/Image/histogram_normal.png"),
            0.95);
        EXPECT_EQ(funcs->findChild<QDoubleSpinBox*>()->value(), 2.5);
        EXPECT_EQ(histogram->findChild<MySlider*>("horizontalSlider_Right")->value(), 150);
        EXPECT_TRUE(tools->isVisible());
    }
    // The two sheets differ in the Import and Back pictures alone.
    const QStringList chinese = resourceText(":/Style/imageprocess.css").split('\n');
    const QStringList english = resourceText(":/Style/imageprocess_en.css").split('\n');
    ASSERT_EQ(chinese.size(), english.size());
    QStringList differing;
    for (int i = 1; i < chinese.size(); ++i) {  // the first line is a comment
        if (chinese[i] != english[i]) {
            differing << english[i].trimmed();
        }
    }
    EXPECT_EQ(differing, (QStringList{"border-image: url(:/Image/import_normal_en.png);",
                                      "border-image: url(:/Image/import_pressed_en.png);",
                                      "border-image: url(:/Image/back_normal_en.png);",
                                      "border-image: url(:/Image/back_pressed_en.png);"}));
}

TEST_F(PageFrameTest, EveryOperationButtonIsDrawnInEachState) {
    enterWithCapture();
    click(*funcs, "pushButton_Inverse");
    const QImage shot = page->grab().toImage().convertToFormat(QImage::Format_ARGB32);
    const QString sheet = page->styleSheet();
    for (QPushButton* operation : funcs->findChildren<QPushButton*>()) {
        const QString name = operation->objectName();
        const QString state = operation->isEnabled() ? "normal" : "disable";
        // The picture the sheet names for the button's state.
        const QString rule = QStringLiteral("QPushButton#%1%2 {")
                                 .arg(name)
                                 .arg(state == "normal" ? QString() : QStringLiteral(":disabled"));
        const int at = sheet.indexOf(rule);
        ASSERT_GE(at, 0) << name.toStdString();
        const int open = sheet.indexOf("url(", at) + 4;
        const QString picture = sheet.mid(open, sheet.indexOf(')', open) - open);
        EXPECT_TRUE(picture.endsWith("_" + state + ".png")) << picture.toStdString();
        EXPECT_GT(matchOfButton(shot, *page, *operation, picture), 0.95) << name.toStdString();
    }
    QImage pressed(":/Image/ImageProcess/crop_pressed.png");
    EXPECT_EQ(pressed.size(), QSize(50, 40));
}

TEST_F(PageFrameDeathTest, ImpossibleLanguageAndExperimentTypeAreFatal) {
    EXPECT_DEATH(
        {
            s_station->setUserOption("LanguageID", 7);
            ImageProcessFrame other;
        },
        "Unknow LanguageID.");
    EXPECT_DEATH(
        {
            s_control->expType = 9;
            click(*page, "pushButton_FrameBack");
        },
        "Unknow ExperimentType.");
}
