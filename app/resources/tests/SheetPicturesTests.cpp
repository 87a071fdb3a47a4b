// The style sheets draw many buttons as pictures, and some pictures carry
// words. A sheet of one language names only pictures in that language (or
// without words), the sheet of the other language names the same picture in
// its language at the same place, and every picture a sheet names exists in
// the program's resources, listed by one resource file only.

#include "SourceFiles.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

namespace {

// Pictures with words: the Chinese one and its English one, for each of the
// states given (the state replaces "%1").
struct WordPictures {
    const char* chinese;
    const char* english;
    const char* states;
};

const WordPictures kWordPictures[] = {
    // Head bar and shared panel buttons.
    {"home_%1.png", "home_%1_en.png", "normal pressed"},
    {"report_%1.png", "report_%1_en.png", "normal pressed"},
    {"auditTrail_%1.png", "auditTrail_%1_en.png", "normal pressed"},
    {"sysset_%1.png", "sysset_%1_en.png", "normal pressed"},
    {"exit_%1.png", "exit_%1_en.png", "normal pressed"},
    {"preview_%1.png", "preview_%1_en.png", "normal pressed"},
    {"camset_%1.png", "camset_%1_en.png", "normal pressed"},
    {"capture_%1.png", "capture_%1_en.png", "disable normal pressed"},
    {"reset_%1.png", "reset_%1_en.png", "normal pressed"},
    {"save_%1.png", "save_%1_en.png", "normal pressed"},
    {"import_%1.png", "import_%1_en.png", "normal pressed"},
    {"back_%1.png", "back_%1_en.png", "normal pressed"},
    // Gel/UV panels.
    {"accCapture_%1.png", "accCapture_%1_en.png", "disable normal pressed"},
    {"autoExp_%1.png", "autoExp_%1_en.png", "normal pressed"},
    {"autofocus_%1.png", "autofocus_%1_en.png", "normal"},
    {"autoFocus_%1.png", "autoFocus_%1_en.png", "pressed"},
    // Western-blot panels and dialogs.
    {"autocap_%1.png", "autocap_%1_en.png", "normal pressed"},
    {"autotime_%1.png", "autotime_%1_en.png", "normal pressed"},
    {"ok_%1.png", "ok_en_%1.png", "normal pressed"},
    // Multi-fluorescence panels.
    {"fluorePreview_%1.png", "fluorePreview_%1_en.png", "normal pressed"},
    {"fluoreSetting_%1.png", "fluoreSetting_%1_en.png", "normal pressed"},
    {"fluoreCapture_%1.png", "fluoreCapture_%1_en.png", "normal pressed"},
    {"fluoreStop_%1.png", "fluoreStop_%1_en.png", "normal pressed"},
    // System pages (the report list's and merge dialog's buttons are glyphs).
    {"sysDelete_%1.png", "sysDelete_%1_en.png", "disabled normal pressed"},
    {"add_%1.png", "add_%1_en.png", "disabled normal pressed"},
    {"edit_%1.png", "edit_%1_en.png", "disabled normal pressed"},
    {"cancel_%1.png", "cancel_%1_en.png", "normal pressed"},
    {"ok_%1.png", "ok_%1_en.png", "normal pressed"},
    {"simpleOK_%1.png", "simpleOK_%1_en.png", "normal pressed"},
    {"rectsave_%1.png", "rectsave_en_%1.png", "normal pressed"},
    {"allAuthority_%1.png", "allAuthority_%1_en.png", "normal pressed"},
    {"noAuthority_%1.png", "noAuthority_%1_en.png", "normal pressed"},
    {"userManage_%1.png", "userManage_%1_en.png", "normal pressed"},
    {"reportTitle_%1.png", "reportTitle_%1_en.png", "normal pressed"},
    {"deviceSetting_%1.png", "deviceSetting_%1_en.png", "normal pressed"},
    {"systemInfo_%1.png", "systemInfo_%1_en.png", "normal pressed"},
    {"sampleType_%1.png", "sampleType_%1_en.png", "normal pressed"},
    {"update_%1.png", "update_%1_en.png", "normal pressed"},
    // Whole pictures that the pages choose by language.
    {"systemInfo.png", "systemInfo_en.png", ""},
    {"systemInfo_550.png", "systemInfo_550_en.png", ""},
    {"titlepreview.PNG", "titlepreview_en.PNG", ""},
};

struct WordTable {
    QSet<QString> chinese;
    QSet<QString> english;
    QSet<QPair<QString, QString>> pairs;
};

WordTable wordTable() {
    WordTable table;
    for (const WordPictures& row : kWordPictures) {
        QStringList states = QString::fromLatin1(row.states).split(' ', Qt::SkipEmptyParts);
        if (states.isEmpty()) {
            states << QString();
        }
        for (const QString& state : states) {
            QString chinese = QStringLiteral(":/Image/") + QString::fromLatin1(row.chinese);
            QString english = QStringLiteral(":/Image/") + QString::fromLatin1(row.english);
            chinese.replace(QStringLiteral("%1"), state);
            english.replace(QStringLiteral("%1"), state);
            table.chinese << chinese;
            table.english << english;
            table.pairs << qMakePair(chinese, english);
        }
    }
    return table;
}

// The pictures a sheet names, in the order it names them.
QStringList sheetPictures(const QString& relative) {
    QFile file(sourcefiles::appPath(relative));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << relative.toStdString();
    const QString sheet = QString::fromUtf8(file.readAll());
    static const QRegularExpression url(QStringLiteral("url\\(\\s*[\"']?([^\"')]+)[\"']?\\s*\\)"));
    QStringList pictures;
    for (auto it = url.globalMatch(sheet); it.hasNext();) {
        QString path = it.next().captured(1).trimmed();
        path.replace(QStringLiteral("://"), QStringLiteral(":/"));
        pictures << path;
    }
    return pictures;
}

}  // namespace

TEST(SheetPicturesTest, EveryResourcePathComesFromOneResourceFile) {
    const QMap<QString, QStringList> paths = sourcefiles::resourcePaths();
    ASSERT_GT(paths.size(), 100);
    for (auto it = paths.cbegin(); it != paths.cend(); ++it) {
        EXPECT_EQ(it.value().size(), 1)
            << it.key().toStdString() << " in " << it.value().join(' ').toStdString();
    }
}

TEST(SheetPicturesTest, EveryWordPictureExistsInBothLanguages) {
    const QMap<QString, QStringList> paths = sourcefiles::resourcePaths();
    const WordTable table = wordTable();
    for (const auto& pair : table.pairs) {
        EXPECT_TRUE(paths.contains(pair.first)) << pair.first.toStdString();
        EXPECT_TRUE(paths.contains(pair.second)) << pair.second.toStdString();
    }
    EXPECT_TRUE((table.chinese & table.english).isEmpty());
}

TEST(SheetPicturesTest, EachSheetNamesThePicturesOfItsLanguage) {
    const QMap<QString, QStringList> paths = sourcefiles::resourcePaths();
    const WordTable table = wordTable();
    const QStringList sheets = sourcefiles::appFiles(QStringLiteral(".css"));
    ASSERT_GT(sheets.size(), 10);
    int pairsSeen = 0;
    for (const QString& sheet : sheets) {
        const QStringList pictures = sheetPictures(sheet);
        for (const QString& picture : pictures) {
            EXPECT_TRUE(paths.contains(picture))
                << sheet.toStdString() << " names the missing " << picture.toStdString();
        }
        if (sheet.endsWith(QLatin1String("_en.css"))) {
            continue;
        }
        const QString englishSheet = sheet.chopped(4) + QStringLiteral("_en.css");
        if (!sheets.contains(englishSheet)) {
            // One sheet for both languages: no words in its pictures.
            for (const QString& picture : pictures) {
                EXPECT_FALSE(table.chinese.contains(picture) || table.english.contains(picture))
                    << sheet.toStdString() << " names the word picture " << picture.toStdString();
            }
            continue;
        }
        ++pairsSeen;
        const QStringList english = sheetPictures(englishSheet);
        ASSERT_EQ(pictures.size(), english.size()) << sheet.toStdString();
        for (int i = 0; i < pictures.size(); ++i) {
            const QString& zh = pictures[i];
            const QString& en = english[i];
            const std::string where = sheet.toStdString() + " " + zh.toStdString() + " / " +
                                      englishSheet.toStdString() + " " + en.toStdString();
            EXPECT_FALSE(table.english.contains(zh)) << where;
            EXPECT_FALSE(table.chinese.contains(en)) << where;
            if (table.chinese.contains(zh) || table.english.contains(en)) {
                EXPECT_TRUE(table.pairs.contains(qMakePair(zh, en))) << where;
            }
        }
    }
    EXPECT_GE(pairsSeen, 7);
}
