// The style rules of the western-blot dialogs and settings frame, in both
// languages: each object name a rule selects is a widget of the class it
// names, and each picture a rule names is one of the program's pictures.
#include "CapTimeSetFrame.h"
#include "ExpTimeSetDialog.h"
#include "MergeDialog.h"
#include "QtPrinters.h"
#include "WesternBlotCamSetFrame.h"
#include "WidgetsTestSupport.h"
#include "style/StyleSheet.h"

#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

struct Owner {
    const char* className;
    std::function<std::unique_ptr<QWidget>()> make;
};

// The object names that rules "<className> <type>#<name>" of `sheet` select,
// and the pictures those rules name.
void selectorsAndPictures(const QString& sheet, const QString& className, QStringList* names,
                          QStringList* pictures) {
    const QRegularExpression rule(
        QStringLiteral("%1\\s+\\w*#(\\w+)[^{]*\\{([^}]*)\\}").arg(className));
    const QRegularExpression url(QStringLiteral("url\\((:/[^)]+)\\)"));
    for (auto it = rule.globalMatch(sheet); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        *names << match.captured(1);
        const QRegularExpressionMatch picture = url.match(match.captured(2));
        if (picture.hasMatch())
            *pictures << picture.captured(1);
    }
}

TEST(StyleRulesTest, RulesNameWidgetsAndPictures) {
    widgetsController();
    struct Sheet {
        const char* stem;
        std::vector<Owner> owners;
    };
    const Sheet sheets[] = {
        {"captureframe",
         {{"CapTimeSetFrame", [] { return std::make_unique<CapTimeSetFrame>(); }},
          {"WesternBlotCamSetFrame", [] { return std::make_unique<WesternBlotCamSetFrame>(); }}}},
        {"wbdialogs",
         {{"ExpTimeSetDialog", [] { return std::make_unique<ExpTimeSetDialog>(); }},
          {"MergeDialog", [] { return std::make_unique<MergeDialog>(); }}}},
    };
    for (int language : {0, 1}) {
        for (const Sheet& s : sheets) {
            const QString sheet = readLanguageStyleSheet(QLatin1String(s.stem), language);
            for (const Owner& owner : s.owners) {
                SCOPED_TRACE(std::string(s.stem) + " " + owner.className + " " +
                             std::to_string(language));
                QStringList names;
                QStringList pictures;
                selectorsAndPictures(sheet, QLatin1String(owner.className), &names, &pictures);
                EXPECT_FALSE(names.isEmpty());
                const std::unique_ptr<QWidget> widget = owner.make();
                for (const QString& name : names)
                    EXPECT_NE(widget->findChild<QWidget*>(name), nullptr) << name.toStdString();
                for (const QString& picture : pictures) {
                    EXPECT_TRUE(QFile::exists(picture)) << picture.toStdString();
                    if (language == 0) {
                        EXPECT_FALSE(picture.contains("_en")) << picture.toStdString();
                    }
                }
            }
        }
    }
}

}  // namespace
