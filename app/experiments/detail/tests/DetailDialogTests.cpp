// The experiment detail dialogs: records loaded by uuid, thumbnails, the
// large view at its own size or fitted, the red parameter overlay, and the
// gel/UV export with its formats, resolutions, failures and audit rows.

#include "CraftedPictures.h"
#include "DetailDialog.h"
#include "ModalDriver.h"
#include "PictureExport.h"
#include "TestStation.h"
#include "TiffFiles.h"
#include "Varnu_DetailDialog.h"
#include "controller/CI_MainControl.h"
#include "database/AuditTrailDB.h"
#include "database/UserInfo.h"
#include "database/UserInfoDB.h"
#include "database/Varnu_ExperimentDB.h"
#include "database/Westblot_ExperimentDB.h"
#include "login/CheckLoginDialog.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QImage>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

QStringList g_debugLines;
void recordMessage(QtMsgType, const QMessageLogContext&, const QString& text) {
    g_debugLines << text;
}

class DetailDialogTest : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        if (s_station != nullptr) {
            return;
        }
        s_station = new TestStation("detail");
        s_station->writeMachineIni("320");
        s_control = CI_MainControl::getInstance();
        *s_control->currentUser = *s_control->userInfoDB->loadByName("tarsk");
    }

    void SetUp() override {
        s_control->mainWindowShown = false;
        s_station->setUserOption("isAddWaterMark", 0);
        s_station->setUserOption("imageShowMode", 0);
        s_station->setUserOption("storagePath", s_station->filePath("UserImages"));
        ++s_case;
        folder = s_station->filePath(QStringLiteral("Pictures/case%1/Varnu/").arg(s_case));
        QDir().mkpath(folder);
    }

    // A gel/UV record named Varnu<number> in this case's folder, with a
    // picture of the given size unless `width` is 0.
    QUuid addGelUv(const QString& number, int width, int height, int bits = 8) {
        VarnuExperiment r;
        r.name = "Varnu" + number;
        r.dateTime = QDateTime(QDate(2026, 2, 3), QTime(10, 11, 12));
        r.picSavedPath = folder;
        r.resolution = "1064*850";
        r.exposureTime = "300,";
        r.gain = "8,";
        r.brightness = 25;
        r.contrast = 10;
        r.gamma = 1;
        EXPECT_TRUE(s_control->varnuExperimentDB->insertExperiment(r));
        if (width > 0) {
            EXPECT_TRUE(writeGreyTiff(folder + number + ".tif", width, height, bits, 100));
        }
        return r.uuid;
    }

    static int auditRows() {
        return s_control->auditTrailDB->countAuditTrailByLanguage(0) +
               s_control->auditTrailDB->countAuditTrailByLanguage(1);
    }

    static QLabel* bigView(QDialog& d) { return d.findChild<QLabel*>("label_Pic"); }
    static QListWidget* strip(QDialog& d) { return d.findChild<QListWidget*>("listWidget_Pic"); }

    // Red overlay pixels in the lower right corner of the shown picture.
    static int redPixels(QDialog& d, int fromRight) {
        const QPixmap shown = bigView(d)->pixmap(Qt::ReturnByValue);
        if (shown.isNull()) {
            return 0;
        }
        const QImage image = shown.toImage().convertToFormat(QImage::Format_RGB32);
        int n = 0;
        for (int y = std::max(0, image.height() - 100); y < image.height(); ++y) {
            for (int x = std::max(0, image.width() - fromRight); x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                n += (c.red() > 200 && c.green() < 60 && c.blue() < 60) ? 1 : 0;
            }
        }
        return n;
    }

    QString folder;
    static int s_case;
    static TestStation* s_station;
    static CI_MainControl* s_control;
};

int DetailDialogTest::s_case = 0;
TestStation* DetailDialogTest::s_station = nullptr;
CI_MainControl* DetailDialogTest::s_control = nullptr;

TEST_F(DetailDialogTest, ListsOnlyTheGelUvRecordsOfTheUuids) {
    const QUuid gel = addGelUv("007", 200, 100);
    WestblotExperiment blot;
    blot.name = "WestBlot_Single2026";
    ASSERT_TRUE(s_control->westblotExperimentDB->insertExperiment(blot));

    g_debugLines.clear();
    const QtMessageHandler previous = qInstallMessageHandler(recordMessage);
    Varnu_DetailDialog dialog;
    dialog.setUuids({gel, blot.uuid, QUuid::createUuid()});
    dialog.initDialog();
    qInstallMessageHandler(previous);

    EXPECT_EQ(dialog.recordCount(), 1);
    ASSERT_EQ(strip(dialog)->count(), 1);
    EXPECT_EQ(strip(dialog)->item(0)->text(), "007.tif");
    EXPECT_EQ(strip(dialog)->item(0)->sizeHint(), QSize(146, 120));
    EXPECT_EQ(g_debugLines.count("varNU_Experimentdb->loadByUuid failed."), 2);
    EXPECT_TRUE(g_debugLines.contains("picPath: " + folder + "007.tif"));
    ASSERT_NE(dialog.currentRecord(), nullptr);
    EXPECT_EQ(dialog.currentRecord()->uuid, gel);
}

TEST_F(DetailDialogTest, ShowsSmallPicturesAtTheirSizeAndFitsLargeOnes) {
    struct Case {
        int width, height, showMode;
        QSize shown;
        bool scaledContents;
    };
    for (const Case c :
         {Case{200, 100, 0, {200, 100}, false}, Case{200, 100, 1, {200, 100}, false},
          Case{1600, 800, 0, {760, 380}, false}, Case{1600, 800, 1, {760, 380}, true},
          Case{760, 100, 0, {760, 100}, false}, Case{400, 800, 1, {200, 400}, true}}) {
        SCOPED_TRACE(
            QString("%1x%2 mode %3").arg(c.width).arg(c.height).arg(c.showMode).toStdString());
        s_station->setUserOption("imageShowMode", c.showMode);
        const QUuid id = addGelUv(QString::number(c.width * 10 + c.showMode), c.width, c.height);
        Varnu_DetailDialog dialog;
        dialog.setUuids({id});
        dialog.initDialog();
        EXPECT_EQ(bigView(dialog)->pixmap(Qt::ReturnByValue).size(), c.shown);
        EXPECT_EQ(bigView(dialog)->hasScaledContents(), c.scaledContents);
        EXPECT_EQ(bigView(dialog)->alignment(), Qt::AlignCenter);
    }
}

TEST_F(DetailDialogTest, DrawsTheParametersUnlessTheWatermarkIsOff) {
    const QUuid small = addGelUv("001", 400, 300);
    const QUuid large = addGelUv("002", 2000, 1000, 16);
    for (int watermarkOff : {0, 1}) {
        s_station->setUserOption("isAddWaterMark", watermarkOff);
        Varnu_DetailDialog dialog;
        dialog.setUuids({small, large});
        dialog.initDialog();
        SCOPED_TRACE(watermarkOff);
        EXPECT_EQ(redPixels(dialog, 180) > 50, watermarkOff == 0);
        strip(dialog)->setCurrentRow(1);  // the fitted 16-bit picture
        EXPECT_EQ(bigView(dialog)->pixmap(Qt::ReturnByValue).width(), 760);
        EXPECT_EQ(redPixels(dialog, 180) > 50, watermarkOff == 0);
        // Nothing left of the overlay's column.
        EXPECT_EQ(redPixels(dialog, 760) - redPixels(dialog, 181), 0);
    }
}

TEST_F(DetailDialogTest, MissingPictureShowsEmpty) {
    const QUuid id = addGelUv("009", 0, 0);
    Varnu_DetailDialog dialog;
    dialog.setUuids({id});
    dialog.initDialog();
    ASSERT_EQ(strip(dialog)->count(), 1);
    EXPECT_TRUE(strip(dialog)->item(0)->icon().isNull());
    EXPECT_TRUE(bigView(dialog)->pixmap(Qt::ReturnByValue).isNull());
}

TEST_F(DetailDialogTest, PicturesWhoseHeadersClaimHugeSizesAreToldAndNotDecoded) {
    const QUuid normal = addGelUv("010", 64, 48);
    const QUuid png = addGelUv("011", 0, 0);
    const QUuid tiff = addGelUv("012", 0, 0);
    // Named .tif as the station's pictures are; the reader goes by content.
    ASSERT_TRUE(craftedpictures::writeFile(
        folder + "011.tif", craftedpictures::pictureClaiming("png", {60000, 60000})));
    ASSERT_TRUE(craftedpictures::writeFile(
        folder + "012.tif", craftedpictures::pictureClaiming("tif", {50000, 50000})));
    ModalDriver driver;
    driver.answerMessageBox();
    Varnu_DetailDialog dialog;
    dialog.setUuids({png, normal, tiff});
    dialog.initDialog();
    dialog.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !driver.messages().isEmpty(); }, 5000));
    EXPECT_EQ(driver.messages(),
              QStringList{"Warning|This picture is too large to be shown: 011.tif, 012.tif"});
    ASSERT_EQ(strip(dialog)->count(), 3);
    EXPECT_TRUE(strip(dialog)->item(0)->icon().isNull());
    EXPECT_FALSE(strip(dialog)->item(1)->icon().isNull());
    EXPECT_TRUE(strip(dialog)->item(2)->icon().isNull());
    EXPECT_TRUE(bigView(dialog)->pixmap(Qt::ReturnByValue).isNull());
    strip(dialog)->setCurrentRow(1);
    EXPECT_EQ(bigView(dialog)->pixmap(Qt::ReturnByValue).size(), QSize(64, 48));
    strip(dialog)->setCurrentRow(2);
    EXPECT_TRUE(bigView(dialog)->pixmap(Qt::ReturnByValue).isNull());
    EXPECT_EQ(driver.messages().size(), 1) << "told once, when the dialog opens";
}

// Answers the save dialog with a filter and a name (relative to `folder`
// unless absolute); records the folder it proposed.
std::function<void(QDialog*)> saveAs(const QString& filter, const QString& name,
                                     QString* proposed = nullptr) {
    return [=](QDialog* d) {
        auto* fd = qobject_cast<QFileDialog*>(d);
        ASSERT_NE(fd, nullptr);
        if (proposed != nullptr) {
            *proposed = fd->directory().absolutePath();
        }
        fd->selectNameFilter(filter);
        // Typed into the name field, as a user would; a full path is taken
        // as it stands.
        auto* edit = fd->findChild<QLineEdit*>("fileNameEdit");
        ASSERT_NE(edit, nullptr);
        edit->setText(name);
        static_cast<QDialog*>(fd)->accept();  // QFileDialog's own accept
    };
}

TEST_F(DetailDialogTest, ExportsByTheNamesSuffixAtTheFiltersResolution) {
    const QUuid grey8 = addGelUv("011", 64, 48, 8);
    const QUuid grey16 = addGelUv("012", 64, 48, 16);
    const QString out = s_station->filePath("exports/");
    QDir().mkpath(out);
    struct Case {
        QUuid uuid;
        const char* filter;
        const char* name;
        const char* written;
        const char* format;  // as Qt's reader names it
        int dpi;
        int bits;
        int auditRows;
    };
    const Case cases[] = {
        {grey8, "300dpi(*.tif)", "a.tif", "a.tif", "tiff", 300, 8, 2},
        {grey8, "600dpi(*.tif)", "b", "b.tif", "tiff", 600, 8, 2},
        {grey16, "600dpi(*.tif)", "c.TIFF", "c.TIFF", "tiff", 600, 16, 2},
        {grey16, "300dpi(*.tif)", "d.tif", "d.tif", "tiff", 300, 16, 2},
        {grey8, "600dpi(*.tif)", "e.png", "e.png", "png", 96, 0, 0},
        {grey8, "*.jpg", "f", "f.jpg", "jpeg", 96, 0, 0},
        {grey8, "*.bmp", "g.BMP", "g.BMP", "bmp", 96, 0, 0},
        {grey8, "*.png", "shot.jpg.tif", "shot.jpg.tif", "tiff", 0, 8, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Varnu_DetailDialog dialog;
        dialog.setUuids({c.uuid});
        dialog.initDialog();
        const int before = auditRows();
        ModalDriver driver;
        QString proposed;
        driver.onDialog(saveAs(c.filter, out + c.name, &proposed));
        dialog.findChild<QPushButton*>("pushButton_Export")->click();
        EXPECT_EQ(driver.pendingSteps(), 0);
        EXPECT_EQ(proposed, QDir(s_station->filePath("UserImages/26-02-03/Varnu")).absolutePath());
        const QString written = out + c.written;
        ASSERT_TRUE(QFile::exists(written));
        QImageReader reader(written);
        EXPECT_EQ(reader.format(), QByteArray(c.format));
        if (QByteArray(c.format) == "tiff") {
            const TiffFacts facts = readTiffFacts(written);
            ASSERT_TRUE(facts.read);
            EXPECT_EQ(facts.compression, 1);
            EXPECT_EQ(facts.bitsPerSample, c.bits);
            EXPECT_EQ(facts.resolutionUnit, 2);
            EXPECT_FLOAT_EQ(facts.xResolution, c.dpi);
            EXPECT_FLOAT_EQ(facts.yResolution, c.dpi);
            EXPECT_EQ(facts.width, 64);
        } else if (QByteArray(c.format) != "jpeg") {
            EXPECT_EQ(QImage(written).dotsPerMeterX(), 3780);
        }
        EXPECT_EQ(auditRows() - before, c.auditRows);
        if (c.auditRows > 0) {
            const QList<AuditTrailInfo> rows =
                s_control->auditTrailDB->loadAuditTrail(4, "", "", "", 0, 1, 1);
            EXPECT_EQ(rows.first().content, "Export report: " + written);
            EXPECT_EQ(rows.first().model, "ReportPage");
            EXPECT_EQ(rows.first().handler, "tarsk");
            EXPECT_EQ(
                s_control->auditTrailDB->loadAuditTrail(4, "", "", "", 0, 1, 0).first().content,
                QString::fromUtf8("导出报告: ") + written);
        }
    }
}

TEST_F(DetailDialogTest, FailedExportsAreReportedAndNotAudited) {
    const QUuid good = addGelUv("021", 32, 32);
    const QUuid missing = addGelUv("022", 0, 0);
    const QUuid corrupt = addGelUv("023", 0, 0);
    QFile bad(folder + "023.tif");
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("II*\0 this is no picture");
    bad.close();
    QFile::remove(s_station->filePath("exports2/z.tif"));

    struct Case {
        const char* what;
        QUuid uuid;
        bool saveDialog;      // whether the save dialog opens
        QString answerName;   // empty: the dialog is cancelled
        QString messagePart;  // of the warning, empty for none
    };
    const Case cases[] = {
        {"missing source", missing, false, "", "cannot be read"},
        {"corrupt source", corrupt, false, "", "cannot be read"},
        {"folder that takes no files", good, true, "/proc/varnu-export-test.tif",
         "could not be written"},
        {"cancelled dialog", good, true, "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Varnu_DetailDialog dialog;
        dialog.setUuids({c.uuid});
        dialog.initDialog();
        const int before = auditRows();
        ModalDriver driver;
        if (c.saveDialog) {
            if (c.answerName.isEmpty()) {
                driver.onDialog([](QDialog* d) { d->reject(); });
            } else {
                driver.onDialog(saveAs("600dpi(*.tif)", c.answerName));
            }
        }
        if (!c.messagePart.isEmpty()) {
            driver.answerMessageBox(QMessageBox::Ok);
        }
        dialog.findChild<QPushButton*>("pushButton_Export")->click();
        EXPECT_EQ(driver.pendingSteps(), 0);
        ASSERT_EQ(driver.messages().size(), c.messagePart.isEmpty() ? 0 : 1);
        if (!c.messagePart.isEmpty()) {
            EXPECT_TRUE(driver.messages().first().startsWith("Warning|"));
            EXPECT_TRUE(driver.messages().first().contains(c.messagePart));
        }
        EXPECT_EQ(auditRows(), before);
    }
    EXPECT_FALSE(QFile::exists("/proc/varnu-export-test.tif"));
}

TEST_F(DetailDialogTest, RefusedRecheckExportsNothing) {
    const QUuid id = addGelUv("031", 32, 32);
    Varnu_DetailDialog dialog;
    dialog.setUuids({id});
    dialog.initDialog();
    s_control->mainWindowShown = true;
    s_station->setUserOption("isCheckLogin", 0);
    const int before = auditRows();
    ModalDriver driver;
    driver.onDialog([](QDialog* d) {
        ASSERT_NE(qobject_cast<CheckLoginDialog*>(d), nullptr);
        d->findChild<QPushButton*>("pushButton_Cancel")->click();
    });
    dialog.findChild<QPushButton*>("pushButton_Export")->click();
    EXPECT_EQ(driver.pendingSteps(), 0);
    EXPECT_EQ(auditRows(), before);
    s_station->setUserOption("isCheckLogin", 1);
}

TEST(PictureExportTest, TargetNames) {
    struct Case {
        const char* chosen;
        const char* filter;
        const char* target;
        bool tiff;
    };
    for (const Case c :
         {Case{"/a/b", "600dpi(*.tif)", "/a/b.tif", true}, Case{"/a/b", "*.jpg", "/a/b.jpg", false},
          Case{"/a/gel.png/b", "300dpi(*.tif)", "/a/gel.png/b.tif", true},
          Case{"/a/b.JPEG", "300dpi(*.tif)", "/a/b.JPEG", false},
          Case{"/a/b.v2", "*.png", "/a/b.v2.png", false},
          Case{"/a/b.tiff", "*.bmp", "/a/b.tiff", true}}) {
        SCOPED_TRACE(c.chosen);
        const QString target = PictureExport::targetName(c.chosen, c.filter);
        EXPECT_EQ(target, c.target);
        EXPECT_EQ(PictureExport::isTiff(target), c.tiff);
    }
}

class BlotDetailTest : public DetailDialogTest {
  protected:
    QUuid addBlot(const QString& exposures, const QString& gains, int pictures) {
        WestblotExperiment r;
        r.name = QStringLiteral("WestBlot_Manual%1").arg(s_case);
        r.picSavedPath = folder;
        r.binning = 1;
        r.exposureTime = exposures;
        r.gain = gains;
        r.blackLevel = 5;
        r.contrast = 6;
        r.gamma = 7;
        EXPECT_TRUE(s_control->westblotExperimentDB->insertExperiment(r));
        for (int i = 0; i < pictures; ++i) {
            EXPECT_TRUE(writeGreyTiff(folder + QStringLiteral("10-00-0%1-000.tif").arg(i), 500, 300,
                                      16, 3000));
        }
        return r.uuid;
    }
    void click(QDialog& d, int row) {
        QListWidget* s = strip(d);
        const QRect r = s->visualItemRect(s->item(row));
        QTest::mouseClick(s->viewport(), Qt::LeftButton, {}, r.center());
    }
};

TEST_F(BlotDetailTest, OverlayForEveryRecordedExposureOnly) {
    // Three exposures, but only two gains recorded.
    const QUuid id = addBlot("100,200,300,", "1,2,", 4);
    QFile::copy(folder + "10-00-00-000.tif", folder + "notes.txt");
    DetailDialog dialog;
    dialog.setUuid(id);
    dialog.initDialog();
    dialog.show();
    ASSERT_EQ(strip(dialog)->count(), 4);
    EXPECT_EQ(strip(dialog)->item(0)->text(), "10-00-00-000.tif");
    EXPECT_FALSE(strip(dialog)->item(0)->flags() & Qt::ItemIsSelectable);
    EXPECT_GT(redPixels(dialog, 150), 50);  // the first picture, shown at once
    for (int row : {0, 1, 2, 3}) {
        SCOPED_TRACE(row);
        click(dialog, row);
        EXPECT_EQ(redPixels(dialog, 150) > 50, row < 3);
    }
}

TEST_F(BlotDetailTest, APictureWhoseHeaderClaimsAHugeSizeIsToldAndNotDecoded) {
    const QUuid id = addBlot("100,200,", "1,2,", 2);
    ASSERT_TRUE(craftedpictures::writeFile(
        folder + "10-00-00-000.tif", craftedpictures::pictureClaiming("jpg", {60000, 60000})));
    ModalDriver driver;
    driver.answerMessageBox();
    DetailDialog dialog;
    dialog.setUuid(id);
    dialog.initDialog();
    dialog.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !driver.messages().isEmpty(); }, 5000));
    EXPECT_EQ(driver.messages(),
              QStringList{"Warning|This picture is too large to be shown: 10-00-00-000.tif"});
    ASSERT_EQ(strip(dialog)->count(), 2);
    EXPECT_TRUE(strip(dialog)->item(0)->icon().isNull());
    EXPECT_FALSE(strip(dialog)->item(1)->icon().isNull());
    EXPECT_EQ(redPixels(dialog, 150), 0) << "nothing shown for the first picture";
}

TEST_F(BlotDetailTest, EmptyOrUnknownShowsOneEmptyEntry) {
    const QUuid empty = addBlot("100,", "1,", 0);
    for (const QUuid& id : {empty, QUuid::createUuid()}) {
        DetailDialog dialog;
        dialog.setUuid(id);
        dialog.initDialog();
        ASSERT_EQ(strip(dialog)->count(), 1);
        EXPECT_EQ(strip(dialog)->item(0)->text(), "");
        EXPECT_EQ(redPixels(dialog, 150), 0);
    }
}

}  // namespace
