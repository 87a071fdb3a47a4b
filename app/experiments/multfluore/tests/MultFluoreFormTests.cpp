// The forms of the multi-fluorescence page, one table a form (object names,
// classes, parents, geometry, texts, properties, order), their Chinese texts
// after a language change, the item pictures and the capture panel's style
// sheet.
#include "FilterFrame.h"
#include "FormRows.h"
#include "MultFluoreCamSetFrame.h"
#include "MultFluoreCaptureFrame.h"
#include "MultFluoreFrame.h"
#include "MultFluoreTestSupport.h"
#include "MultFluore_BottomBarFrame.h"
#include "MultFluore_ImageFrame.h"
#include "QtPrinters.h"
#include "controller/CI_MainControl.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QVBoxLayout>

#include <memory>

#include <gtest/gtest.h>

// The shared capture-panel sheet also names the gel/UV page's pictures,
// which that page registers when it is built; the program always builds it.
static void registerGelPagePictures() {
    Q_INIT_RESOURCE(gelpage);
}

namespace {

QStringList itemsOf(QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return items;
}

bool samePicture(const QIcon& icon, const char* resource) {
    const QImage expected(QString::fromLatin1(resource));
    return !icon.isNull() && !expected.isNull() &&
           icon.pixmap(expected.size())
                   .toImage()
                   .convertToFormat(QImage::Format_ARGB32_Premultiplied) ==
               expected.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

class MultFluoreFormTest : public testing::Test {
  protected:
    void SetUp() override {
        m_control = multFluoreController();
        multFluoreStation().setUserOption(QStringLiteral("LanguageID"), 1);
    }
    CI_MainControl* m_control = nullptr;
};

TEST_F(MultFluoreFormTest, CapturePanelForm) {
    MultFluoreCaptureFrame panel;
    EXPECT_EQ(panel.objectName(), "MultFluoreCaptureFrame");
    EXPECT_EQ(panel.size(), QSize(266, 675));
    EXPECT_EQ(panel.windowTitle(), "Frame");
    const char* p = "MultFluoreCaptureFrame";
    expectRows(
        &panel,
        {
            {"label", "QLabel", p, {30, 10, 210, 30}, "Mult Fluore"},
            {"groupBox_Camera", "QGroupBox", p, {6, 50, 256, 80}, "Camera"},
            {"pushButton_Preview", "QPushButton", "groupBox_Camera", {34, 20, 90, 50}, ""},
            {"pushButton_Setting", "QPushButton", "groupBox_Camera", {134, 20, 90, 50}, ""},
            {"groupBox_Light", "QGroupBox", p, {6, 140, 256, 80}, "Light"},
            {"comboBox_Light", "QComboBox", "groupBox_Light", {34, 20, 120, 50}, nullptr},
            {"groupBox_Filter", "QGroupBox", p, {6, 230, 256, 80}, "Filter"},
            {"frame_Filter", "FilterFrame", "groupBox_Filter", {34, 20, 120, 50}, nullptr},
            {"groupBox_CapSet", "QGroupBox", p, {6, 320, 256, 111}, "Capture Setting"},
            {"label_CapNum", "QLabel", "groupBox_CapSet", {4, 20, 118, 25}, "Capture Num:"},
            {"spinBox_CapNum", "QSpinBox", "groupBox_CapSet", {124, 20, 90, 25}, nullptr},
            {"label_AutoMarker", "QLabel", "groupBox_CapSet", {4, 50, 118, 25}, "Three Combine:"},
            {"checkBox_AutoTCombine", "QCheckBox", "groupBox_CapSet", {124, 50, 71, 25}, "Auto"},
            {"label_ExpTime", "QLabel", "groupBox_CapSet", {4, 80, 118, 25}, "Exposure Time:"},
            {"pushButton_SetExpTime", "QPushButton", "groupBox_CapSet", {124, 80, 80, 25}, "Set"},
            {"groupBox_Histogram", "QGroupBox", p, {6, 440, 256, 61}, "Histogram"},
            {"label_Histogram", "QLabel", "groupBox_Histogram", {4, 20, 108, 30}, "Histogram:"},
            {"comboBox_Histogram", "QComboBox", "groupBox_Histogram", {114, 20, 136, 30}, nullptr},
            {"groupBox_Capture", "QGroupBox", p, {6, 510, 256, 80}, "Capture"},
            {"pushButton_Capture", "QPushButton", "groupBox_Capture", {34, 20, 90, 50}, ""},
            {"pushButton_Stop", "QPushButton", "groupBox_Capture", {134, 20, 90, 50}, ""},
        });
    // Top to bottom: title, Camera, Light, Filter, Capture Setting,
    // Histogram, Capture.
    EXPECT_EQ(childOrder(&panel),
              QStringList({"label", "groupBox_Camera", "groupBox_Light", "groupBox_Filter",
                           "groupBox_CapSet", "groupBox_Histogram", "groupBox_Capture"}));
    const QStringList tabs = {
        "pushButton_Preview", "pushButton_Setting",    "comboBox_Light",
        "spinBox_CapNum",     "checkBox_AutoTCombine", "pushButton_SetExpTime",
        "comboBox_Histogram", "pushButton_Capture",    "pushButton_Stop"};
    EXPECT_EQ(focusOrder(&panel, tabs), tabs);

    EXPECT_EQ(childOf<QLabel>(&panel, "label")->alignment(), Qt::AlignCenter);
    for (const char* name :
         {"pushButton_Preview", "pushButton_Capture", "pushButton_Stop", "pushButton_SetExpTime"}) {
        EXPECT_FALSE(childOf<QPushButton>(&panel, name)->isCheckable()) << name;
    }
    EXPECT_TRUE(childOf<QPushButton>(&panel, "pushButton_Setting")->isCheckable());
    EXPECT_FALSE(childOf<QPushButton>(&panel, "pushButton_Setting")->isChecked());
    auto* count = childOf<QSpinBox>(&panel, "spinBox_CapNum");
    EXPECT_EQ(count->minimum(), 0);
    EXPECT_EQ(count->maximum(), 99);
    EXPECT_EQ(count->singleStep(), 1);
    EXPECT_EQ(count->value(), 0);
    EXPECT_FALSE(childOf<QCheckBox>(&panel, "checkBox_AutoTCombine")->isChecked());
    auto* filter = childOf<FilterFrame>(&panel, "frame_Filter");
    EXPECT_EQ(filter->frameShape(), QFrame::StyledPanel);
    EXPECT_EQ(filter->frameShadow(), QFrame::Raised);

    auto* light = childOf<QComboBox>(&panel, "comboBox_Light");
    EXPECT_EQ(itemsOf(light),
              QStringList({"No Light", "Red Light", "Green Light", "Blue Light", "NearIR Light"}));
    EXPECT_EQ(light->currentIndex(), 0);
    EXPECT_TRUE(samePicture(light->itemIcon(0), ":/Image/lightoff.png"));
    for (int item = 1; item < 5; ++item) {
        EXPECT_TRUE(samePicture(light->itemIcon(item), ":/Image/lighton.png")) << item;
        EXPECT_FALSE(light->itemData(item).isValid()) << item;
    }
    EXPECT_EQ(itemsOf(childOf<QComboBox>(&panel, "comboBox_Histogram")),
              QStringList({"No Stretch", "Auto Stretch", "Manual Stretch"}));
}

TEST_F(MultFluoreFormTest, FilterFrameForm) {
    QWidget holder;
    auto* named = new FilterFrame(&holder);
    EXPECT_EQ(named->objectName(), "FilterFrame");
    EXPECT_EQ(named->size(), QSize(120, 50));
    expectRows(named, {{"comboBox_Filter", "QComboBox", "FilterFrame", {0, 0, 120, 50}, nullptr}});
    auto* box = childOf<QComboBox>(named, "comboBox_Filter");
    EXPECT_EQ(itemsOf(box), QStringList({"No Filter", "460 Filter", "535 Filter", "590 Filter",
                                         "620 Filter", "690 Filter"}));
    EXPECT_EQ(box->currentIndex(), 0);
    EXPECT_TRUE(samePicture(box->itemIcon(0), ":/Image/filteroff.png"));
    for (int item = 1; item < 6; ++item) {
        EXPECT_TRUE(samePicture(box->itemIcon(item), ":/Image/filteron.png")) << item;
    }
}

TEST_F(MultFluoreFormTest, CameraSettingsForm) {
    MultFluoreCamSetFrame panel;
    EXPECT_EQ(panel.objectName(), "MultFluoreCamSetFrame");
    EXPECT_EQ(panel.size(), QSize(200, 675));
    EXPECT_EQ(panel.windowTitle(), "Frame");
    const char* p = "MultFluoreCamSetFrame";
    auto group = [&](const char* name, int y, int height, const char* title) {
        return WidgetRow{name, "QGroupBox", p, {2, y, 196, height}, title};
    };
    expectRows(
        &panel,
        {
            group("groupBox_Binning", 10, 45, "Binning"),
            {"label_Binning", "QLabel", "groupBox_Binning", {3, 15, 48, 20}, "Mode:"},
            {"comboBox_BinningMode", "QComboBox", "groupBox_Binning", {52, 15, 135, 20}, nullptr},
            group("groupBox_Exposure", 55, 40, "Exposure"),
            {"spinBox_Exposure", "QSpinBox", "groupBox_Exposure", {18, 15, 100, 20}, nullptr},
            group("groupBox_GainPre", 95, 40, "Gain_Preview"),
            {"spinBox_GainPre", "QSpinBox", "groupBox_GainPre", {18, 15, 100, 20}, nullptr},
            group("groupBox_GainCap", 135, 40, "Gain_Capture"),
            {"spinBox_GainCap", "QSpinBox", "groupBox_GainCap", {18, 15, 100, 20}, nullptr},
            group("groupBox_BlackLevel", 175, 40, "Black Level"),
            {"spinBox_BlackLevel", "QSpinBox", "groupBox_BlackLevel", {18, 15, 100, 20}, nullptr},
            group("groupBox_Contrast", 215, 40, "Contrast"),
            {"spinBox_Contrast", "QSpinBox", "groupBox_Contrast", {18, 15, 100, 20}, nullptr},
            group("groupBox_Gamma", 255, 40, "Gamma"),
            {"spinBox_Gamma", "QSpinBox", "groupBox_Gamma", {18, 15, 100, 20}, nullptr},
            group("groupBox_Histogram", 295, 40, "Histogram"),
            {"label_Histogram", "QLabel", "groupBox_Histogram", {3, 15, 48, 20}, "Mode:"},
            {"comboBox_Histogram", "QComboBox", "groupBox_Histogram", {52, 15, 135, 20}, nullptr},
            group("groupBox_Rotate", 335, 40, "Rotate"),
            {"label_Rotate", "QLabel", "groupBox_Rotate", {3, 15, 48, 20}, "Mode:"},
            {"comboBox_Rotate", "QComboBox", "groupBox_Rotate", {52, 15, 135, 20}, nullptr},
            group("groupBox_Refrigerate", 375, 40, "Refrigerate"),
            {"checkBox_Refrigerate", "QCheckBox", "groupBox_Refrigerate", {4, 15, 62, 20}, "Open"},
            {"label_CurTemp", "QLabel", "groupBox_Refrigerate", {67, 15, 81, 20}, "CurTemp:"},
            {"label_ShowTemp", "QLabel", "groupBox_Refrigerate", {150, 15, 40, 20}, "0"},
            group("groupBox_CaptureMode", 415, 80, "Capture Mode"),
            {"checkBox_TimeAcc",
             "QCheckBox",
             "groupBox_CaptureMode",
             {18, 20, 150, 16},
             "TimeAccumulate"},
            {"checkBox_IntegralAcc",
             "QCheckBox",
             "groupBox_CaptureMode",
             {18, 40, 159, 16},
             "IntegralAccumulate"},
            {"checkBox_Opp", "QCheckBox", "groupBox_CaptureMode", {18, 60, 150, 16}, "Opposite"},
            group("groupBox_FrameRate", 495, 40, "Frame Rate"),
            {"label_FrameRate", "QLabel", "groupBox_FrameRate", {3, 15, 48, 20}, "Mode:"},
            {"comboBox_FrameRate", "QComboBox", "groupBox_FrameRate", {52, 15, 135, 20}, nullptr},
            group("groupBox_BitsDepth", 535, 40, "Bits Depth"),
            {"label_BitsDepth", "QLabel", "groupBox_BitsDepth", {3, 15, 48, 20}, "Mode:"},
            {"comboBox_BitsDepth", "QComboBox", "groupBox_BitsDepth", {52, 15, 135, 20}, nullptr},
            group("groupBox_CurrentPara", 615, 51, "parameter"),
            {"pushButton_Reset", "QPushButton", "groupBox_CurrentPara", {28, 15, 60, 31}, "Reset"},
            {"pushButton_Save", "QPushButton", "groupBox_CurrentPara", {108, 15, 60, 31}, "Save"},
        });
    // Creation order, which is also the focus order.
    EXPECT_EQ(childOrder(&panel),
              QStringList({"groupBox_Rotate", "groupBox_Binning", "groupBox_BitsDepth",
                           "groupBox_FrameRate", "groupBox_Exposure", "groupBox_Gamma",
                           "groupBox_Histogram", "groupBox_GainCap", "groupBox_Refrigerate",
                           "groupBox_Contrast", "groupBox_CurrentPara", "groupBox_GainPre",
                           "groupBox_CaptureMode", "groupBox_BlackLevel"}));
    const std::pair<const char*, QStringList> combos[] = {
        {"comboBox_BinningMode", {"1x1", "2x2", "4x4"}},
        {"comboBox_Histogram", {"No Stretch", "Auto Stretch", "Manual Stretch"}},
        {"comboBox_Rotate", {"No Rotate", "Mirror V", "Mirror H"}},
        {"comboBox_FrameRate", {"Low Rate", "Normal Rate", "High Rate"}},
        {"comboBox_BitsDepth", {"8 Bits", "16 Bits"}},
    };
    for (const auto& [name, items] : combos) {
        auto* box = childOf<QComboBox>(&panel, name);
        EXPECT_EQ(itemsOf(box), items) << name;
        EXPECT_EQ(box->currentIndex(), 0) << name;
        EXPECT_TRUE(box->itemIcon(0).isNull()) << name;
    }
    for (QSpinBox* spin : panel.findChildren<QSpinBox*>()) {
        SCOPED_TRACE(spin->objectName().toStdString());
        EXPECT_EQ(spin->minimum(), 0);
        EXPECT_EQ(spin->maximum(), 99);
        EXPECT_EQ(spin->value(), 0);
    }
    EXPECT_EQ(panel.findChildren<QSpinBox*>().size(), 6);
    for (QCheckBox* box : panel.findChildren<QCheckBox*>()) {
        EXPECT_FALSE(box->isChecked()) << box->objectName().toStdString();
    }
    EXPECT_EQ(childOf<QLabel>(&panel, "label_ShowTemp")->alignment(),
              Qt::AlignLeading | Qt::AlignLeft | Qt::AlignVCenter);
}

TEST_F(MultFluoreFormTest, BottomBarForm) {
    MultFluore_BottomBarFrame bar;
    EXPECT_EQ(bar.objectName(), "MultFluore_BottomBarFrame");
    EXPECT_EQ(bar.size(), QSize(697, 75));
    EXPECT_EQ(bar.windowTitle(), "Frame");
    auto* grid = qobject_cast<QGridLayout*>(bar.layout());
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->objectName(), "gridLayout");
    EXPECT_EQ(grid->spacing(), 0);
    EXPECT_EQ(grid->contentsMargins(), QMargins());
    EXPECT_EQ(grid->rowCount(), 1);
    EXPECT_EQ(grid->columnCount(), 15);
    struct Cell {
        int column;
        const char* name;
        const char* className;
        QSize fixed;  // empty: free width
        const char* text;
    };
    const Cell cells[] = {
        {1, "label_ImgNo", "QLabel", {80, 30}, "Image No:"},
        {2, "label_ImgNo_S", "QLabel", {90, 30}, ""},
        {3, "label_ExpTime", "QLabel", {112, 30}, "Exposure Time:"},
        {4, "label_ExpTime_S", "QLabel", {80, 30}, ""},
        {5, "progressBar", "QProgressBar", {}, nullptr},
        {7, "label_Door", "QLabel", {60, 40}, "Door"},
        {9, "pushButton_Info", "QPushButton", {60, 40}, "Info"},
        {11, "pushButton_Export", "QPushButton", {60, 40}, "Export"},
        {13, "pushButton_Process", "QPushButton", {60, 40}, "Process"},
    };
    for (const Cell& cell : cells) {
        SCOPED_TRACE(cell.name);
        QLayoutItem* item = grid->itemAtPosition(0, cell.column);
        ASSERT_NE(item, nullptr);
        QWidget* widget = item->widget();
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(widget->objectName(), cell.name);
        EXPECT_STREQ(widget->metaObject()->className(), cell.className);
        if (cell.fixed.isValid()) {
            EXPECT_EQ(widget->minimumSize(), cell.fixed);
            EXPECT_EQ(widget->maximumSize(), cell.fixed);
        }
        if (cell.text != nullptr) {
            EXPECT_EQ(textOf(widget), cell.text);
        }
    }
    for (int column : {0, 6, 8, 10, 12, 14}) {
        QLayoutItem* item = grid->itemAtPosition(0, column);
        ASSERT_NE(item, nullptr) << column;
        ASSERT_NE(item->spacerItem(), nullptr) << column;
        EXPECT_EQ(item->minimumSize(), QSize(10, 20)) << column;
    }
    auto* progress = childOf<QProgressBar>(&bar, "progressBar");
    EXPECT_EQ(progress->value(), 24);
    EXPECT_EQ(progress->minimum(), 0);
    EXPECT_EQ(progress->maximum(), 100);
    EXPECT_EQ(progress->minimumHeight(), 40);
    EXPECT_EQ(progress->maximumHeight(), 40);
    // The progress bar takes the width the fixed widgets leave.
    bar.show();
    EXPECT_EQ(progress->width(), bar.width() - (80 + 90 + 112 + 80) - 4 * 60 - 6 * 10);
}

TEST_F(MultFluoreFormTest, PageLayoutAndItsColumns) {
    MultFluoreFrame page;
    EXPECT_EQ(page.objectName(), "MultFluoreFrame");
    EXPECT_EQ(page.size(), QSize(1024, 675));
    EXPECT_EQ(page.windowTitle(), "Frame");
    EXPECT_TRUE(page.styleSheet().isEmpty());
    auto* grid = qobject_cast<QGridLayout*>(page.layout());
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->spacing(), 0);
    EXPECT_EQ(grid->contentsMargins(), QMargins());
    auto* column = qobject_cast<QVBoxLayout*>(grid->itemAtPosition(0, 0)->layout());
    ASSERT_NE(column, nullptr);
    EXPECT_EQ(column->objectName(), "verticalLayout");
    EXPECT_EQ(column->spacing(), 0);
    ASSERT_EQ(column->count(), 2);
    EXPECT_EQ(column->itemAt(0)->widget()->objectName(), "frame_Image");
    EXPECT_EQ(column->itemAt(1)->widget()->objectName(), "frame_BottomBar");
    EXPECT_EQ(grid->itemAtPosition(0, 1)->widget()->objectName(), "frame_Tools");
    EXPECT_EQ(grid->itemAtPosition(0, 2)->widget()->objectName(), "frame_Funcs");

    struct Column {
        const char* name;
        const char* className;
        QSize minimum, maximum;
    };
    const Column columns[] = {
        {"frame_Image", "MultFluore_ImageFrame", {0, 0}, {QWIDGETSIZE_MAX, QWIDGETSIZE_MAX}},
        {"frame_BottomBar", "MultFluore_BottomBarFrame", {0, 75}, {QWIDGETSIZE_MAX, 75}},
        {"frame_Tools", "MultFluore_ToolsFrame", {200, 0}, {200, QWIDGETSIZE_MAX}},
        {"frame_Funcs", "MultFluore_FuncsFrame", {266, 0}, {266, QWIDGETSIZE_MAX}},
    };
    for (const Column& c : columns) {
        SCOPED_TRACE(c.name);
        auto* frame = childOf<QFrame>(&page, c.name);
        ASSERT_NE(frame, nullptr);
        EXPECT_STREQ(frame->metaObject()->className(), c.className);
        EXPECT_EQ(frame->parentWidget(), &page);
        EXPECT_EQ(frame->minimumSize(), c.minimum);
        EXPECT_EQ(frame->maximumSize(), c.maximum);
        EXPECT_EQ(frame->frameShape(), QFrame::StyledPanel);
        EXPECT_EQ(frame->frameShadow(), QFrame::Raised);
    }
    // The tools and function columns each hold one panel filling them.
    struct Panel {
        const char* holder;
        const char* name;
        const char* className;
        int width;
    };
    const Panel panels[] = {
        {"frame_Tools", "frame_CamSetTool", "MultFluoreCamSetFrame", 200},
        {"frame_Funcs", "frame_MultFluoreCapture", "MultFluoreCaptureFrame", 266},
    };
    for (const Panel& p : panels) {
        SCOPED_TRACE(p.name);
        auto* panel = childOf<QFrame>(&page, p.name);
        ASSERT_NE(panel, nullptr);
        EXPECT_STREQ(panel->metaObject()->className(), p.className);
        EXPECT_EQ(panel->parentWidget()->objectName(), p.holder);
        EXPECT_EQ(panel->geometry(), QRect(0, 0, p.width, 675));
        EXPECT_EQ(panel->frameShape(), QFrame::StyledPanel);
        EXPECT_EQ(panel->frameShadow(), QFrame::Raised);
    }
    EXPECT_EQ(childOf<QWidget>(&page, "frame_Tools")->width(), 200);
    EXPECT_EQ(childOf<QWidget>(&page, "frame_Funcs")->width(), 266);

    MultFluore_ImageFrame image;
    EXPECT_EQ(image.size(), QSize(556, 600));
    auto* imageGrid = qobject_cast<QGridLayout*>(image.layout());
    ASSERT_NE(imageGrid, nullptr);
    QWidget* cam = imageGrid->itemAtPosition(0, 0)->widget();
    ASSERT_NE(cam, nullptr);
    EXPECT_EQ(cam->objectName(), "label_Cam");
    EXPECT_EQ(textOf(cam), "");
}

// Chinese after the switch to language 0, English again after 1, the choices
// kept.
TEST_F(MultFluoreFormTest, LanguageChangeRetranslatesEveryFormAndKeepsTheChoices) {
    MultFluoreFrame page;
    auto* light = childOf<QComboBox>(&page, "comboBox_Light");
    auto* histogram = childOf<QComboBox>(&page, "comboBox_Histogram");
    auto* panel = childOf<QWidget>(&page, "frame_MultFluoreCapture");
    light->setCurrentIndex(2);
    histogram->setCurrentIndex(1);
    struct Text {
        const char* frame;
        const char* name;
        const char* english;
        const char* chinese;
    };
    const char* capture = "frame_MultFluoreCapture";
    const Text texts[] = {
        {capture, "label", "Mult Fluore", "多重荧光"},
        {capture, "groupBox_Camera", "Camera", "相机"},
        {capture, "groupBox_Light", "Light", "光源"},
        {capture, "groupBox_CapSet", "Capture Setting", "采集设置"},
        {capture, "checkBox_AutoTCombine", "Auto", "自动"},
        {capture, "pushButton_SetExpTime", "Set", "设置"},
        {capture, "label_Histogram", "Histogram:", "直方图调整："},
        {"frame_BottomBar", "pushButton_Export", "Export", "导出"},
        {"frame_BottomBar", "label_Door", "Door", "舱门"},
        {"frame_CamSetTool", "pushButton_Reset", "Reset", "重置"},
        {"frame_CamSetTool", "groupBox_Refrigerate", "Refrigerate", "制冷"},
        {"frame_CamSetTool", "label_Histogram", "Mode:", "模式："},
    };
    for (int language : {0, 1}) {
        SCOPED_TRACE(language);
        m_control->changeLanguage(language);
        QCoreApplication::sendPostedEvents();
        for (const Text& t : texts) {
            QWidget* frame = childOf<QWidget>(&page, t.frame);
            ASSERT_NE(frame, nullptr);
            EXPECT_EQ(textOf(childOf<QWidget>(frame, t.name)),
                      QString::fromUtf8(language == 0 ? t.chinese : t.english))
                << t.name;
        }
        EXPECT_EQ(light->itemText(2), language == 0 ? QStringLiteral("绿光") : "Green Light");
        EXPECT_EQ(histogram->itemText(2),
                  language == 0 ? QStringLiteral("手动拉伸") : "Manual Stretch");
        EXPECT_EQ(light->currentIndex(), 2);
        EXPECT_EQ(histogram->currentIndex(), 1);
        EXPECT_TRUE(samePicture(light->itemIcon(2), ":/Image/lighton.png"));
        EXPECT_EQ(panel->styleSheet().contains("_en.png"), language == 1);
        EXPECT_TRUE(panel->styleSheet().contains(language == 0 ? "fluorePreview_normal.png"
                                                               : "fluorePreview_normal_en.png"));
    }
}

// For both languages: every picture the panel's sheet names exists, the sheet
// gives each of the panel's pictured buttons a picture, and each object name
// its rules for this panel select is a widget of the panel.
TEST_F(MultFluoreFormTest, CapturePanelSheetsNameExistingPicturesAndWidgets) {
    registerGelPagePictures();
    const QRegularExpression url(QStringLiteral("url\\((:/[^)]+)\\)"));
    const QRegularExpression selector(QStringLiteral("MultFluoreCaptureFrame\\s+\\w*#(\\w+)"));
    for (int language : {0, 1}) {
        SCOPED_TRACE(language);
        multFluoreStation().setUserOption(QStringLiteral("LanguageID"), language);
        MultFluoreCaptureFrame panel;
        const QString sheet = panel.styleSheet();
        QStringList missing;
        for (auto it = url.globalMatch(sheet); it.hasNext();) {
            const QString path = it.next().captured(1);
            if (!QFile::exists(path))
                missing << path;
        }
        EXPECT_EQ(missing, QStringList());
        QStringList selected;
        for (auto it = selector.globalMatch(sheet); it.hasNext();) {
            const QString name = it.next().captured(1);
            selected << name;
            EXPECT_NE(panel.findChild<QWidget*>(name), nullptr) << name.toStdString();
        }
        for (const char* name : {"pushButton_Preview", "pushButton_Setting", "pushButton_Capture",
                                 "pushButton_Stop", "pushButton_SetExpTime"}) {
            EXPECT_TRUE(selected.contains(name)) << name;
        }
        const QString suffix = language == 1 ? "_en.png" : ".png";
        EXPECT_TRUE(sheet.contains(":checked")) << "a checked settings button looks pressed";
        EXPECT_TRUE(sheet.contains("fluoreSetting_pressed" + suffix));
    }
    multFluoreStation().setUserOption(QStringLiteral("LanguageID"), 1);
}

}  // namespace
