// Files written whole: cut short by a file-size limit in a child process,
// over an earlier file and where there is none, and in a folder that does
// not exist.

#include "ProgramRun.h"
#include "TestStation.h"
#include "pictures/PictureFileWrite.h"

#include <QDir>
#include <QFile>
#include <QImage>

#include "QtPrinters.h"

#include <gtest/gtest.h>

namespace {

QByteArray contentOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(PictureFileWrite, AWriteCutShortLeavesTheEarlierFileOrNoneAndNoTemporaryFile) {
    struct Case {
        const char* mode;
        const char* target;
        bool earlier;  // a file of the user is there before
        bool killed;
        int exitCode;
    };
    const Case cases[] = {
        {"size-limit-signal", "a.png", true, true, 0},
        {"size-limit-signal", "b.bmp", false, true, 0},
        {"size-limit-error", "c.png", true, false, 3},
        {"size-limit-error", "d.tif", false, false, 3},
        {"complete", "e.png", true, false, 0},
        {"complete", "f.tif", false, false, 0},
    };
    TestStation station("picture-write");
    const QString folder = station.filePath("exports");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QByteArray earlierBytes = "the user's earlier file";
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.mode) + " " + c.target);
        const QString target = folder + '/' + c.target;
        if (c.earlier) {
            ASSERT_TRUE(pictures::writeWholeFile(target, earlierBytes));
        }
        const ProgramResult run = runProgram(PICTURE_WRITE_CHILD, {c.mode, target, "4096"},
                                             QProcessEnvironment::systemEnvironment(), 30000);
        ASSERT_TRUE(run.started);
        ASSERT_FALSE(run.timedOut);
        EXPECT_EQ(run.crashed, c.killed) << run.output.toStdString();
        if (!c.killed) {
            EXPECT_EQ(run.exitCode, c.exitCode) << run.output.toStdString();
        }
        if (c.exitCode == 3) {
            EXPECT_TRUE(run.output.contains(target.toUtf8() + " cannot be written"))
                << run.output.toStdString();
        }
        const bool written = QString(c.mode) == "complete";
        const QByteArray after = contentOf(target);
        if (written) {
            EXPECT_GT(after.size(), 4096);
            if (!target.endsWith(".tif")) {
                EXPECT_EQ(QImage(target).size(), QSize(300, 200));
            }
        } else if (c.earlier) {
            EXPECT_EQ(after, earlierBytes) << "the earlier file is untouched";
        } else {
            EXPECT_FALSE(QFile::exists(target));
        }
        // Nothing else in the folder: no temporary file.
        QStringList expected = QDir(folder).entryList(QDir::Files | QDir::Hidden);
        EXPECT_TRUE(expected.removeOne(c.target) || (!written && !c.earlier));
        EXPECT_TRUE(expected.isEmpty()) << expected.join(", ").toStdString();
        QFile::remove(target);
    }
}

TEST(PictureFileWrite, AFolderThatIsMissingOrAFileGivesAReasonAndNoFile) {
    TestStation station("picture-write-folder");
    const QString blocker = station.filePath("blocker");
    ASSERT_TRUE(pictures::writeWholeFile(blocker, "x"));
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(Qt::gray);
    for (const QString& path : {station.filePath("missing/a.png"), blocker + "/a.png"}) {
        SCOPED_TRACE(path.toStdString());
        QString error;
        EXPECT_FALSE(pictures::savePictureWhole(picture, path, nullptr, &error));
        EXPECT_TRUE(error.startsWith(path + " cannot be written")) << error.toStdString();
        EXPECT_FALSE(QFile::exists(path));
    }
    EXPECT_EQ(contentOf(blocker), "x");
    QString error;
    EXPECT_FALSE(
        pictures::savePictureWhole(QImage(), station.filePath("null.png"), nullptr, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(QFile::exists(station.filePath("null.png")));
}

}  // namespace
