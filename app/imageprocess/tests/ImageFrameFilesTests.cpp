#include "ImageFrameFixture.h"

#include "ModalDriver.h"

#include <tiffio.h>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>

namespace {

QString fixture(const char* name) {
    return QStringLiteral(VARNU_IMAGE_FIXTURES "/") + QLatin1String(name);
}

// Answers the next file dialog with a file and, when given, a filter.
void chooseFile(ModalDriver& driver, const QString& path, const QString& filter = {},
                QStringList* seenFilters = nullptr) {
    driver.onDialog([path, filter, seenFilters](QDialog* dialog) {
        auto* files = qobject_cast<QFileDialog*>(dialog);
        ASSERT_NE(files, nullptr);
        if (seenFilters != nullptr) {
            *seenFilters = files->nameFilters();
        }
        if (!filter.isEmpty()) {
            files->selectNameFilter(filter);
        }
        // Typed into the name field, as a user would.
        auto* name = files->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(name, nullptr);
        name->setText(path);
        static_cast<QDialog*>(files)->done(QDialog::Accepted);
    });
}

float tiffResolution(const QString& path) {
    TIFF* tif = TIFFOpen(path.toUtf8().constData(), "r");
    if (tif == nullptr) {
        return -1;
    }
    float x = -1;
    TIFFGetField(tif, TIFFTAG_XRESOLUTION, &x);
    TIFFClose(tif);
    return x;
}

}  // namespace

TEST_F(ImageFrameTest, SaveWritesByTheSuffixAndAuditsOnlyTiffs) {
    enterWithGelPicture();
    QTemporaryDir dir;
    struct Case {
        QString name;
        QString filter;
        QString written;
        QByteArray format;
        float dpi;
        bool audited;
    };
    const Case cases[] = {
        {"a.png", "600dpi(*.tif)", "a.png", "png", -1, false},
        {"b.tif", "300dpi(*.tif)", "b.tif", "tiff", 300, true},
        {"shot.jpg.tif", "600dpi(*.tif)", "shot.jpg.tif", "tiff", 600, true},
        {"c", "*.bmp", "c.bmp", "bmp", -1, false},
        {"d", "600dpi(*.tif)", "d.tif", "tiff", 600, true},
    };
    for (const Case& c : cases) {
        const int before = auditRows(1);
        ModalDriver driver;
        QStringList filters;
        chooseFile(driver, dir.filePath(c.name), c.filter, &filters);
        frame->saveClickHandle();
        ASSERT_EQ(driver.pendingSteps(), 0) << c.name.toStdString();
        EXPECT_EQ(filters,
                  (QStringList{"600dpi(*.tif)", "300dpi(*.tif)", "*.bmp", "*.jpg", "*.png"}));
        const QString written = dir.filePath(c.written);
        ASSERT_TRUE(QFile::exists(written)) << c.written.toStdString();
        EXPECT_EQ(QImageReader(written).format(), c.format) << c.written.toStdString();
        EXPECT_EQ(QImage(written).convertToFormat(QImage::Format_RGB32), frame->currentPicture());
        if (c.dpi > 0) {
            EXPECT_EQ(tiffResolution(written), c.dpi);
        }
        EXPECT_EQ(auditRows(1) - before, c.audited ? 1 : 0) << c.name.toStdString();
        if (c.audited) {
            EXPECT_EQ(lastAuditContent(1), "Save picture: " + written);
            EXPECT_EQ(lastAuditContent(0), QStringLiteral("保存图片: ") + written);
        }
    }
}

TEST_F(ImageFrameTest, FailedOrCancelledSaveWritesNoAuditRow) {
    enterWithGelPicture();
    QTemporaryDir dir;
    QFile blocker(dir.filePath("file"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const int before = auditRows(1);
    ModalDriver driver;
    chooseFile(driver, dir.filePath("file/inside.tif"), "600dpi(*.tif)");
    driver.answerMessageBox();
    frame->saveClickHandle();
    ASSERT_EQ(driver.messages().size(), 1);
    EXPECT_TRUE(driver.messages().first().startsWith("Warning|The picture could not be saved to "));
    EXPECT_EQ(auditRows(1), before);
    EXPECT_EQ(frame->historySize(), 1);

    ModalDriver cancel;
    cancel.onDialog([](QDialog* dialog) { dialog->reject(); });
    frame->saveClickHandle();
    EXPECT_EQ(cancel.pendingSteps(), 0);
    EXPECT_EQ(auditRows(1), before);
}

TEST_F(ImageFrameTest, ImportShowsThePictureFittedWithAFreshHistoryAndAudits) {
    enterWithGelPicture();
    frame->inverseClickHandle();
    frame->zoomByRatioHandle(3.0);
    QSignalSpy hide(frame.get(), &ImageProcess_ImageFrame::hideToolsFrame);
    QSignalSpy buttons(frame.get(), &ImageProcess_ImageFrame::updateButtonStatus);
    const int before = auditRows(1);
    ModalDriver driver;
    chooseFile(driver, fixture("grey16.tif"));
    QMetaObject::invokeMethod(frame.get(), "on_pushButton_Import_clicked");
    ASSERT_EQ(driver.pendingSteps(), 0);
    EXPECT_EQ(hide.count(), 1);
    EXPECT_EQ(buttons.count(), 1);
    const QImage& picture = frame->currentPicture();
    ASSERT_EQ(picture.size(), QSize(4, 2));
    EXPECT_EQ(picture.format(), QImage::Format_RGB32);
    EXPECT_EQ(picture.pixel(2, 0), qRgb(127, 127, 127));
    EXPECT_EQ(picture.pixel(3, 1), qRgb(191, 191, 191));
    EXPECT_EQ(frame->historySize(), 1);
    const QSize fitted = QSize(4, 2).scaled(scrollAreaSize(), Qt::KeepAspectRatio);
    EXPECT_DOUBLE_EQ(frame->zoom(), fitted.width() / 4.0);
    EXPECT_EQ(auditRows(1) - before, 1);
    EXPECT_EQ(lastAuditContent(1), "Import picture: " + fixture("grey16.tif"));
    EXPECT_EQ(lastAuditContent(0), QStringLiteral("导入图片: ") + fixture("grey16.tif"));
}

TEST_F(ImageFrameTest, BadImportFilesWarnAndChangeNothing) {
    enterWithGelPicture();
    frame->inverseClickHandle();
    const QImage before = frame->currentPicture();
    const int rows = auditRows(1);
    const std::pair<const char*, const char*> cases[] = {
        {"truncated.png", "Warning|This format is not supported."},
        {"empty.png", "Warning|This format is not supported."},
        {"not_a_picture.jpg", "Warning|This format is not supported."},
        {"huge.png", "Warning|The picture is too large to open."},
    };
    for (const auto& [file, message] : cases) {
        ModalDriver driver;
        chooseFile(driver, fixture(file));
        driver.answerMessageBox();
        QMetaObject::invokeMethod(frame.get(), "on_pushButton_Import_clicked");
        EXPECT_EQ(driver.messages(), QStringList{QString::fromUtf8(message)}) << file;
        EXPECT_EQ(frame->currentPicture(), before) << file;
        EXPECT_EQ(frame->historySize(), 2) << file;
        EXPECT_TRUE(frame->loaded());
    }
    EXPECT_EQ(auditRows(1), rows);
}
