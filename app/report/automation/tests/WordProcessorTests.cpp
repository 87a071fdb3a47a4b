// The word processor "kwps.Application" driven through automation objects,
// its documents read back with libzip and a plain XML reader.

#include "AxObject.h"
#include "CraftedPictures.h"
#include "KwpsServer.h"
#include "MessageCapture.h"
#include "ReportTestFiles.h"
#include "TestStation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStandardPaths>

#include <opencv2/core.hpp>
#include <opencv2/imgcodecs.hpp>

#include <gtest/gtest.h>
#include <unistd.h>

#include <memory>
#include <vector>

namespace {

using reporttest::bookmarkText;
using reporttest::occurrences;
using reporttest::readZip;
using varnu::AxObject;

const char* const kAddPicture = "AddPicture(const QString&, QVariant, QVariant ,QVariant)";

// A station with the built template and the word processor registered to
// save into its reports folder.
class WordProcessorTest : public ::testing::Test {
  protected:
    void SetUp() override {
        station = std::make_unique<TestStation>(QStringLiteral("kwps"));
        ASSERT_TRUE(reporttest::installTemplate(station->path()));
        templatePath = station->filePath(QStringLiteral("documents/report.dotx"));
        reportsFolder = station->filePath(QStringLiteral("reports"));
        varnu::KwpsOptions options;
        const QString folder = reportsFolder;
        options.reportsFolder = [folder]() { return folder; };
        varnu::registerKwpsApplication(options);
    }

    // A visible application with a new document from `fromTemplate`.
    struct Session {
        std::unique_ptr<AxObject> app = std::make_unique<AxObject>();
        AxObject* document = nullptr;
    };
    Session open(const QString& fromTemplate) {
        Session s;
        EXPECT_TRUE(s.app->setControl(varnu::kKwpsProgId));
        s.app->setProperty("Visible", true);
        AxObject* documents = s.app->querySubObject("Documents");
        EXPECT_NE(documents, nullptr);
        if (documents != nullptr) {
            documents->dynamicCall("Add(QString)", fromTemplate);
        }
        s.document = s.app->querySubObject("ActiveDocument");
        return s;
    }
    static void setText(Session& s, const QString& bookmark, const QString& text) {
        AxObject* mark = s.document->querySubObject("Bookmarks(QVariant)", bookmark);
        ASSERT_NE(mark, nullptr) << bookmark.toStdString();
        mark->dynamicCall("Select(void)");
        mark->querySubObject("Range")->setProperty("Text", text);
    }
    static void addPicture(Session& s, const QString& bookmark, const QString& path) {
        AxObject* mark = s.document->querySubObject("Bookmarks(QVariant)", bookmark);
        ASSERT_NE(mark, nullptr);
        AxObject* range = mark->querySubObject("Range");
        s.document->querySubObject("InlineShapes")
            ->dynamicCall(kAddPicture, path, false, true, range->asVariant());
    }
    // Saves the session's document; the path of its file.
    static QString save(Session& s) {
        s.document->dynamicCall("Save(void)");
        return s.document->dynamicCall("FullName").toString();
    }
    QStringList reports() const {
        return QDir(reportsFolder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }
    QString onlyReport() const {
        const QStringList files = reports();
        EXPECT_EQ(files.size(), 1) << files.join(' ').toStdString();
        return files.isEmpty() ? QString() : reportsFolder + '/' + files.first();
    }
    QString picturePath(const QString& name) const { return station->filePath(name); }

    std::unique_ptr<TestStation> station;
    QString templatePath;
    QString reportsFolder;
};

TEST_F(WordProcessorTest, AddWritesANewDocumentFromTheTemplate) {
    const QByteArray templateBytes = [&] {
        QFile f(templatePath);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    Session s = open(templatePath);
    ASSERT_NE(s.document, nullptr);
    EXPECT_TRUE(reports().isEmpty()) << "nothing is written before the document is saved";
    EXPECT_EQ(s.document->dynamicCall("FullName").toString(), QString());
    const QString path = save(s);
    EXPECT_EQ(path, onlyReport());
    EXPECT_TRUE(QFileInfo(path).fileName().contains(
        QRegularExpression("^Report_\\d{8}_\\d{6}_\\d{3}\\.docx$")));

    const QMap<QString, QByteArray> package = readZip(path);
    const QMap<QString, QByteArray> original = readZip(templatePath);
    EXPECT_EQ(package.keys(), original.keys());
    const QByteArray types = package.value("[Content_Types].xml");
    EXPECT_EQ(occurrences(types, "wordprocessingml.document.main+xml"), 1);
    EXPECT_EQ(occurrences(types, "wordprocessingml.template.main+xml"), 0);
    for (const char* part : {"word/styles.xml", "docProps/core.xml", "_rels/.rels"}) {
        EXPECT_EQ(package.value(part), original.value(part)) << part;
    }
    bool found = false;
    EXPECT_EQ(bookmarkText(package.value("word/document.xml"), "MainTitle", &found),
              "Report title");
    EXPECT_TRUE(found);

    // The template itself is not touched.
    QFile again(templatePath);
    ASSERT_TRUE(again.open(QIODevice::ReadOnly));
    EXPECT_EQ(again.readAll(), templateBytes);
}

TEST_F(WordProcessorTest, BookmarkTextsAreWrittenAsGiven) {
    struct Case {
        const char* label;
        QString text;
    };
    const std::vector<Case> cases = {
        {"empty", QString()},
        {"xml specials", QStringLiteral("<&>\"'")},
        {"chinese", QStringLiteral("凝胶成像报告 第二实验室")},
        {"long", QString(10000, QChar('x')) + QStringLiteral("end")},
        {"tabs and line breaks", QStringLiteral("a\tb\nc\r\nd")},
        {"leading and trailing blanks", QStringLiteral("  two  ")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        Session s = open(templatePath);
        ASSERT_NE(s.document, nullptr);
        setText(s, "MainTitle", c.text);
        const QString path = save(s);
        const QByteArray xml = readZip(path).value("word/document.xml");
        QString expected = c.text;
        expected.replace("\r\n", "\n");
        EXPECT_EQ(bookmarkText(xml, "MainTitle"), expected);
        // The other bookmarks keep the template's text.
        EXPECT_EQ(bookmarkText(xml, "SubTitle"), "Report subtitle");
        QFile::remove(path);
    }
}

TEST_F(WordProcessorTest, ReplacedTextKeepsTheRunFormattingAndCanBeReplacedAgain) {
    Session s = open(templatePath);
    setText(s, "UserLabel", "Benutzer:");
    setText(s, "UserLabel", "User:");
    setText(s, "MainTitle", QString("a") + QChar(1) + "b" + QChar(0xFFFF) + "c");
    const QByteArray xml = readZip(save(s)).value("word/document.xml");
    EXPECT_EQ(bookmarkText(xml, "UserLabel"), "User:");
    EXPECT_NE(xml.indexOf("<w:r><w:rPr><w:b/></w:rPr><w:t xml:space=\"preserve\">User:</w:t>"), -1);
    // Characters that XML cannot hold are left out; the part stays readable.
    EXPECT_EQ(bookmarkText(xml, "MainTitle"), "abc");
    EXPECT_EQ(occurrences(xml, "w:bookmarkStart"), 8);
}

TEST_F(WordProcessorTest, PicturesAreEmbeddedAtTheirResolution) {
    struct Case {
        const char* file;
        int depth;
        double dpi;  // the resolution the document uses
    };
    const Case cases[] = {
        {"gel8.tif", 8, 600}, {"blot16.tif", 16, 600}, {"grey.png", 8, 96},
        {"grey.bmp", 8, 96},  {"grey.jpg", 8, 96},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const QString source = picturePath(c.file);
        ASSERT_TRUE(reporttest::writeGreyPicture(source, 64, 48, c.depth, 600));
        Session s = open(templatePath);
        addPicture(s, "Picture1", source);
        const QString path = save(s);
        // Deleting the picture afterwards leaves the document as it is.
        ASSERT_TRUE(QFile::remove(source));
        const QMap<QString, QByteArray> package = readZip(path);

        const QByteArray media = package.value("word/media/image1.png");
        ASSERT_FALSE(media.isEmpty());
        std::vector<uchar> bytes(media.begin(), media.end());
        const cv::Mat image = cv::imdecode(bytes, cv::IMREAD_UNCHANGED);
        ASSERT_EQ(image.cols, 64);
        ASSERT_EQ(image.rows, 48);
        EXPECT_EQ(image.depth(), CV_8U);
        if (QString(c.file).endsWith(".jpg")) {
            EXPECT_NEAR(image.at<uchar>(10, 20), reporttest::pictureSample(20, 10, 8), 24);
        } else {
            const int expected = c.depth == 16
                                     ? qRound(reporttest::pictureSample(20, 10, 16) / 257.0)
                                     : reporttest::pictureSample(20, 10, 8);
            EXPECT_NEAR(image.at<uchar>(10, 20), expected, 1);
        }

        const QByteArray rels = package.value("word/_rels/document.xml.rels");
        const QRegularExpression rel(
            "<Relationship Id=\"(rId\\d+)\" Type=\"http://schemas.openxmlformats.org/"
            "officeDocument/2006/relationships/image\" Target=\"media/image1.png\"/>");
        const QRegularExpressionMatch m = rel.match(QString::fromUtf8(rels));
        ASSERT_TRUE(m.hasMatch()) << rels.toStdString();
        const QByteArray xml = package.value("word/document.xml");
        EXPECT_EQ(occurrences(xml, "r:embed=\"" + m.captured(1).toUtf8() + "\""), 1);
        EXPECT_EQ(occurrences(xml, "r:link="), 0);
        EXPECT_EQ(occurrences(package.value("[Content_Types].xml"),
                              "<Default Extension=\"png\" ContentType=\"image/png\"/>"),
                  1);
        const qint64 cx = qRound64(64 * 914400.0 / c.dpi);
        const qint64 cy = qRound64(48 * 914400.0 / c.dpi);
        EXPECT_EQ(
            occurrences(
                xml, QStringLiteral("<wp:extent cx=\"%1\" cy=\"%2\"/>").arg(cx).arg(cy).toUtf8()),
            1);
        QFile::remove(path);
    }
}

TEST_F(WordProcessorTest, ALargePictureIsKeptWithinTheTextWidth) {
    const QString source = picturePath("wide.png");
    ASSERT_TRUE(reporttest::writeGreyPicture(source, 2592, 1944, 8));
    Session s = open(templatePath);
    addPicture(s, "Picture1", source);
    addPicture(s, "Picture1", source);  // replaces the first
    const QMap<QString, QByteArray> package = readZip(save(s));
    const QByteArray xml = package.value("word/document.xml");
    // The template's text width: 11906 - 1247 - 1247 twips, 635 EMU each.
    const qint64 cx = (11906 - 2 * 1247) * 635;
    const qint64 cy = qRound64(cx * 1944.0 / 2592.0);
    EXPECT_EQ(occurrences(
                  xml, QStringLiteral("<wp:extent cx=\"%1\" cy=\"%2\"/>").arg(cx).arg(cy).toUtf8()),
              1);
    EXPECT_EQ(occurrences(xml, "<w:drawing>"), 1);
    EXPECT_TRUE(package.contains("word/media/image2.png"));
    EXPECT_EQ(occurrences(xml, "<wp:docPr id=\"2\""), 1);
}

TEST_F(WordProcessorTest, WhatIsNoReadablePictureLeavesTheBookmarkAsItIs) {
    const QString text = picturePath("notes.tif");
    {
        QFile f(text);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("not a picture");
    }
    const QString truncated = picturePath("cut.tif");
    ASSERT_TRUE(reporttest::writeGreyPicture(truncated, 64, 48, 8));
    {
        QFile f(truncated);
        ASSERT_TRUE(f.resize(40));
    }
    QDir().mkpath(picturePath("folder"));
    // A few hundred bytes whose header claims 60000 x 60000 pixels.
    const QString claimed = picturePath("claimed.tif");
    ASSERT_TRUE(craftedpictures::writeFile(
        claimed, craftedpictures::pictureClaiming("jpg", {60000, 60000})));
    const QString cases[] = {claimed,
                             QString(),
                             picturePath("missing.tif"),
                             picturePath("folder"),
                             picturePath("folder") + '/',
                             text,
                             truncated};
    for (const QString& path : cases) {
        SCOPED_TRACE(path.toStdString());
        Session s = open(templatePath);
        setText(s, "User", "Ada");
        MessageCapture log;
        addPicture(s, "Picture1", path);
        EXPECT_EQ(log.count(QtWarningMsg, QStringLiteral("AxObject: AddPicture")), 1);
        if (path == claimed) {  // refused from its header, not decoded
            EXPECT_EQ(log.messages(QtWarningMsg)
                          .filter("is too large for a report (60000 x 60000)")
                          .size(),
                      1);
        }
        const QString report = save(s);
        const QMap<QString, QByteArray> package = readZip(report);
        EXPECT_FALSE(package.contains("word/media/image1.png"));
        const QByteArray xml = package.value("word/document.xml");
        EXPECT_EQ(occurrences(xml, "<w:drawing>"), 0);
        EXPECT_EQ(bookmarkText(xml, "User"), "Ada");
        QFile::remove(report);
    }
}

TEST_F(WordProcessorTest, ABadTemplateOrReportsFolderGivesNoDocument) {
    const QString dir = station->filePath("templates");
    QDir().mkpath(dir);
    QMap<QString, QByteArray> parts = readZip(templatePath);
    auto variant = [&](const QString& name, const QMap<QString, QByteArray>& files) {
        const QString path = dir + '/' + name;
        EXPECT_TRUE(reporttest::writeZip(path, files));
        return path;
    };
    QMap<QString, QByteArray> brokenXml = parts;
    brokenXml["word/document.xml"].chop(20);
    QMap<QString, QByteArray> noDocument = parts;
    noDocument.remove("word/document.xml");
    QMap<QString, QByteArray> noMainRelationship = parts;
    noMainRelationship["_rels/.rels"] = "<?xml version=\"1.0\"?><Relationships/>";
    QMap<QString, QByteArray> notWord = parts;
    notWord["word/document.xml"] = "<?xml version=\"1.0\"?><html><body/></html>";
    const QString notZip = dir + "/text.dotx";
    {
        QFile f(notZip);
        f.open(QIODevice::WriteOnly);
        f.write("PK but not really a zip archive");
    }

    struct Case {
        const char* label;
        QString templatePath;
        QString reason;  // part of the exception's description
    };
    const std::vector<Case> cases = {
        {"missing", dir + "/missing.dotx", "does not exist"},
        {"a folder", dir, "does not exist"},
        {"not a zip", notZip, "not a zip archive"},
        {"broken XML", variant("broken.dotx", brokenXml), "not well-formed XML"},
        {"no document part", variant("nodoc.dotx", noDocument), "main document part"},
        {"no main relationship", variant("norel.dotx", noMainRelationship),
         "names no main document"},
        {"not WordprocessingML", variant("html.dotx", notWord), "not a WordprocessingML document"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        AxObject app;
        ASSERT_TRUE(app.setControl(varnu::kKwpsProgId));
        app.setProperty("Visible", true);
        AxObject* documents = app.querySubObject("Documents");
        QSignalSpy exceptions(documents, &AxObject::exception);
        MessageCapture log;
        EXPECT_FALSE(documents->dynamicCall("Add(QString)", c.templatePath).isValid());
        ASSERT_EQ(exceptions.count(), 1);
        EXPECT_TRUE(exceptions.at(0).at(2).toString().contains(c.reason))
            << exceptions.at(0).at(2).toString().toStdString();
        EXPECT_EQ(app.querySubObject("ActiveDocument"), nullptr);
        EXPECT_EQ(app.querySubObject("Selection"), nullptr);
        EXPECT_TRUE(reports().isEmpty());
    }

    if (geteuid() != 0) {  // the superuser reads any file
        const QString locked = variant("locked.dotx", parts);
        QFile::setPermissions(locked, QFileDevice::WriteOwner);
        AxObject app;
        app.setControl(varnu::kKwpsProgId);
        app.querySubObject("Documents")->dynamicCall("Add(QString)", locked);
        EXPECT_EQ(app.querySubObject("ActiveDocument"), nullptr);
    }

    // Reports folders that cannot be made.
    {
        QFile blocker(reportsFolder);
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    }
    const QString folders[] = {reportsFolder, reportsFolder + "/below", QString()};
    for (const QString& folder : folders) {
        SCOPED_TRACE(folder.toStdString());
        varnu::KwpsOptions options;
        options.reportsFolder = [folder]() { return folder; };
        varnu::registerKwpsApplication(options);
        AxObject app;
        ASSERT_TRUE(app.setControl(varnu::kKwpsProgId));
        app.setProperty("Visible", true);
        AxObject* documents = app.querySubObject("Documents");
        QSignalSpy exceptions(documents, &AxObject::exception);
        MessageCapture log;
        documents->dynamicCall("Add(QString)", templatePath);
        ASSERT_EQ(exceptions.count(), 1);
        EXPECT_TRUE(exceptions.at(0).at(2).toString().contains("reports folder"));
        EXPECT_EQ(app.querySubObject("ActiveDocument"), nullptr);
    }
    EXPECT_TRUE(QFileInfo(reportsFolder).isFile());
    EXPECT_TRUE(QDir(station->path()).entryList({"*.docx"}, QDir::Files).isEmpty());
}

TEST_F(WordProcessorTest, EachAddIsAnotherDocumentSavedInAFileOfItsOwn) {
    Session first = open(templatePath);
    Session second = open(templatePath);
    ASSERT_NE(first.document, nullptr);
    ASSERT_NE(second.document, nullptr);
    setText(first, "MainTitle", "first");
    setText(second, "MainTitle", "second");
    QCoreApplication::processEvents();
    EXPECT_TRUE(reports().isEmpty()) << "documents being filled are no files";
    const QString firstPath = save(first);
    const QString secondPath = save(second);
    EXPECT_NE(firstPath, secondPath);
    EXPECT_EQ(reports().size(), 2);
    EXPECT_EQ(bookmarkText(readZip(firstPath).value("word/document.xml"), "MainTitle"), "first");
    EXPECT_EQ(bookmarkText(readZip(secondPath).value("word/document.xml"), "MainTitle"), "second");
    // A later save rewrites the document's own file.
    setText(first, "MainTitle", "again");
    EXPECT_EQ(save(first), firstPath);
    EXPECT_EQ(bookmarkText(readZip(firstPath).value("word/document.xml"), "MainTitle"), "again");
    EXPECT_EQ(reports().size(), 2);
}

TEST_F(WordProcessorTest, TheSelectionFontSizeChangesTheSelectedBookmark) {
    Session s = open(templatePath);
    AxObject* selection = s.app->querySubObject("Selection");
    ASSERT_NE(selection, nullptr);
    // Nothing selected yet: an insertion point, nothing to resize.
    EXPECT_TRUE(selection->querySubObject("Font")->setProperty("Size", 15.0));
    setText(s, "SubTitle", "sub");  // selects SubTitle
    EXPECT_TRUE(selection->querySubObject("Font")->setProperty("Size", 15.5));
    MessageCapture log;
    EXPECT_FALSE(selection->querySubObject("Font")->setProperty("Size", 0.0));
    const QByteArray xml = readZip(save(s)).value("word/document.xml");
    EXPECT_EQ(occurrences(xml, "<w:sz w:val=\"31\"/><w:szCs w:val=\"31\"/>"), 1);
    EXPECT_EQ(occurrences(xml, "w:sz "), 1);
}

TEST_F(WordProcessorTest, MembersAreMatchedByTheirExactText) {
    Session s = open(templatePath);
    MessageCapture log;
    EXPECT_EQ(s.document->querySubObject("Bookmarks(QString)", "MainTitle"), nullptr);
    EXPECT_EQ(s.document->querySubObject("Bookmarks(QVariant)", "maintitle"), nullptr);
    AxObject* mark = s.document->querySubObject("Bookmarks(QVariant)", "Picture1");
    AxObject* range = mark->querySubObject("Range");
    AxObject* shapes = s.document->querySubObject("InlineShapes");
    EXPECT_FALSE(shapes
                     ->dynamicCall("AddPicture(const QString&, QVariant, QVariant, QVariant)", "x",
                                   false, true, range->asVariant())
                     .isValid());
    EXPECT_EQ(log.count(QtWarningMsg, "AxObject: Bookmarks(QString) failed"), 1);
    EXPECT_EQ(log.count(QtWarningMsg,
                        "AxObject: AddPicture(const QString&, QVariant, QVariant, "
                        "QVariant) failed"),
              1);
}

// Where an office suite that converts documents without a display is
// installed, a report is converted and its text and picture looked for.
TEST_F(WordProcessorTest, AnOfficeSuiteReadsTheReport) {
    const QString soffice = QStandardPaths::findExecutable("soffice");
    if (soffice.isEmpty()) {
        GTEST_SKIP() << "no soffice installed";
    }
    const QString source = picturePath("gel.tif");
    ASSERT_TRUE(reporttest::writeGreyPicture(source, 320, 240, 16));
    Session s = open(templatePath);
    setText(s, "MainTitle", QStringLiteral("凝胶成像报告"));
    setText(s, "User", "Ada <Lovelace>");
    addPicture(s, "Picture1", source);
    const QString report = save(s);

    const QString out = station->filePath("converted");
    const QString profile = station->filePath("office-profile");
    for (const char* format : {"pdf", "txt:Text (encoded):UTF8"}) {
        QProcess convert;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("HOME", station->path());
        convert.setProcessEnvironment(env);
        convert.start(soffice, {"-env:UserInstallation=file://" + profile, "--headless",
                                "--convert-to", format, "--outdir", out, report});
        ASSERT_TRUE(convert.waitForFinished(180000)) << "soffice did not finish";
        ASSERT_EQ(convert.exitCode(), 0) << convert.readAllStandardError().toStdString();
    }
    const QString stem = out + '/' + QFileInfo(report).completeBaseName();
    QFile text(stem + ".txt");
    ASSERT_TRUE(text.open(QIODevice::ReadOnly));
    const QString content = QString::fromUtf8(text.readAll());
    EXPECT_TRUE(content.contains(QStringLiteral("凝胶成像报告")));
    EXPECT_TRUE(content.contains("Ada <Lovelace>"));
    EXPECT_TRUE(content.contains("Report subtitle"));
    QFile pdf(stem + ".pdf");
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    const QByteArray pdfBytes = pdf.readAll();
    EXPECT_TRUE(pdfBytes.startsWith("%PDF"));
    EXPECT_GE(occurrences(pdfBytes, "/Subtype/Image") + occurrences(pdfBytes, "/Subtype /Image"),
              1);
}

}  // namespace
