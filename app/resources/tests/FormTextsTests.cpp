// Every form of the program, built in Chinese and in English under the style
// sheets its page gives it, shows the whole text of each label, button, check
// box, combo-box item and group-box title: the text's width in the widget's
// font fits the room the widget gives it. In Chinese none of those texts is
// the English one, except names, numbers and units.

#include "ShownTexts.h"
#include "SourceFiles.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QStyleOptionGroupBox>
#include <QTextDocument>
#include <QTranslator>
#include <QUiLoader>
#include <QtMath>

#include <gtest/gtest.h>

namespace {

// The sheet of `stem` for the language: "<stem>_en.css" in English where the
// sheet has an English one, else "<stem>.css".
QString readSheet(const QString& stem, int language) {
    if (stem.isEmpty()) {
        return {};
    }
    const QString english =
        sourcefiles::appPath(QStringLiteral("resources/Style/%1_en.css").arg(stem));
    QFile file(language == 1 && QFile::exists(english)
                   ? english
                   : sourcefiles::appPath(QStringLiteral("resources/Style/%1.css").arg(stem)));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << file.fileName().toStdString();
    return QString::fromLatin1(file.readAll());
}

// The sheets a form is shown under: the program's sheet (on the main window;
// the login dialogs come before it) and the sheet of the page that holds it.
struct FormSheets {
    bool mainWindow;
    QString page;
};

FormSheets sheetsOf(const QString& form) {
    struct Rule {
        const char* prefix;
        bool mainWindow;
        const char* page;
    };
    // First match wins.
    const Rule rules[] = {
        {"core/login/LoginDialog.ui", false, "logindialog"},
        {"core/login/CheckLoginDialog.ui", true, "checklogindialog"},
        {"core/mainwindow/CI_HeadFrame.ui", true, "headframe"},
        {"core/mainwindow/HomeFrame.ui", true, "homeframe"},
        {"core/mainwindow/RP_MethodFrame.ui", true, "rp_methodframe"},
        {"core/mainwindow/ReportPageFrame.ui", true, "rp_methodframe"},
        {"core/mainwindow/SystemPageFrame.ui", true, "sp_methodframe"},
        {"report/", true, "rp_methodframe"},
        {"experiments/detail/", true, "rp_methodframe"},
        {"system/AuditTrailPageFrame.ui", true, ""},
        {"system/", true, "sp_methodframe"},
        {"experiments/westernblot/widgets/ExpTimeSetDialog.ui", true, "wbdialogs"},
        {"experiments/westernblot/widgets/MergeDialog.ui", true, "wbdialogs"},
        {"experiments/", true, "captureframe"},
        {"imageprocess/", true, "imageprocess"},
    };
    for (const Rule& rule : rules) {
        if (form.startsWith(QLatin1String(rule.prefix))) {
            return {rule.mainWindow, QString::fromLatin1(rule.page)};
        }
    }
    return {true, {}};
}

QString plainText(const QString& text) {
    QString plain = text;
    plain.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    plain.remove(QLatin1Char('&'));
    plain.replace(QStringLiteral("\x01"), QStringLiteral("&"));
    return plain;
}

int textWidth(const QFontMetrics& metrics, const QFont& font, const QString& text, bool rich) {
    if (rich) {
        QTextDocument document;
        document.setDefaultFont(font);
        document.setDocumentMargin(0);
        document.setHtml(text);
        return qCeil(document.idealWidth());
    }
    int widest = 0;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        widest = qMax(widest, metrics.horizontalAdvance(line));
    }
    return widest;
}

// What one widget's text needs and the room it has; `needed` 0 when the
// widget shows no text to judge.
struct Fit {
    QString text;
    int needed = 0;
    int room = 0;
};

Fit fitOf(QWidget* widget) {
    Fit fit;
    QStyle* style = widget->style();
    const QFontMetrics metrics = widget->fontMetrics();
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        if (label->text().isEmpty() || label->pixmap(Qt::ReturnByValue).toImage().width() > 0) {
            return fit;
        }
        const bool rich =
            label->textFormat() == Qt::RichText ||
            (label->textFormat() == Qt::AutoText && Qt::mightBeRichText(label->text()));
        fit.text = label->text();
        const QRect room = label->contentsRect().adjusted(label->margin(), label->margin(),
                                                          -label->margin(), -label->margin());
        const int indent = label->indent() > 0 ? label->indent() : 0;
        if (label->wordWrap()) {
            // A wrapped text needs the height of its lines at the label's width.
            fit.needed = label->heightForWidth(label->width());
            fit.room = label->height();
            if (fit.needed <= 0) {
                fit.needed = metrics.boundingRect(room, Qt::TextWordWrap, label->text()).height();
                fit.room = room.height();
            }
            return fit;
        }
        fit.needed = textWidth(metrics, label->font(), label->text(), rich) + indent;
        fit.room = room.width();
        return fit;
    }
    if (auto* box = qobject_cast<QGroupBox*>(widget)) {
        if (box->title().isEmpty()) {
            return fit;
        }
        QStyleOptionGroupBox option;
        option.initFrom(box);
        option.text = box->title();
        option.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
        if (box->isCheckable()) {
            option.subControls |= QStyle::SC_GroupBoxCheckBox;
            option.state |= box->isChecked() ? QStyle::State_On : QStyle::State_Off;
        }
        option.lineWidth = 1;
        option.textAlignment = box->alignment();
        fit.text = box->title();
        fit.needed = metrics.horizontalAdvance(plainText(box->title()));
        // The title is drawn from its start to the box's right edge.
        const QRect label =
            style->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, box);
        fit.room = box->width() - label.left();
        return fit;
    }
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        // The widest of its items, in the field beside the arrow.
        QStyleOptionComboBox option;
        option.initFrom(combo);
        option.editable = combo->isEditable();
        const QRect field = style->subControlRect(QStyle::CC_ComboBox, &option,
                                                  QStyle::SC_ComboBoxEditField, combo);
        for (int i = 0; i < combo->count(); ++i) {
            int width = metrics.horizontalAdvance(combo->itemText(i));
            if (!combo->itemIcon(i).isNull()) {
                width += combo->iconSize().width() + 4;
            }
            if (width > fit.needed) {
                fit.needed = width;
                fit.text = combo->itemText(i);
            }
        }
        fit.room = field.width();
        return fit;
    }
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        if (button->text().isEmpty()) {
            return fit;
        }
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        option.icon = button->icon();
        option.iconSize = button->iconSize();
        QStyle::SubElement contents = QStyle::SE_PushButtonContents;
        if (qobject_cast<QCheckBox*>(button)) {
            contents = QStyle::SE_CheckBoxContents;
        } else if (qobject_cast<QRadioButton*>(button)) {
            contents = QStyle::SE_RadioButtonContents;
        }
        fit.text = button->text();
        fit.needed = metrics.horizontalAdvance(plainText(button->text()));
        if (!button->icon().isNull() && contents == QStyle::SE_PushButtonContents) {
            fit.needed += button->iconSize().width() + 4;
        }
        fit.room = style->subElementRect(contents, &option, button).width();
        return fit;
    }
    return fit;
}

// The class names of the program's forms (each form's root is named after
// its class).
QStringList formClasses() {
    static const QStringList classes = [] {
        QStringList names;
        static const QRegularExpression root(QStringLiteral("<class>(\\w+)</class>"));
        for (const QString& form : sourcefiles::appFiles(QStringLiteral(".ui"))) {
            QFile file(sourcefiles::appPath(form));
            if (file.open(QIODevice::ReadOnly)) {
                const QRegularExpressionMatch match = root.match(QString::fromUtf8(file.readAll()));
                if (match.hasMatch()) {
                    names << match.captured(1);
                }
            }
        }
        return names;
    }();
    return classes;
}

// A loaded form's widgets are of Qt's classes, not of the program's: a
// sheet's selector of a program class ("CapTimeSetFrame QLabel") is made a
// selector of the widget named so, which is the form's root.
QString forLoadedForms(QString sheet) {
    for (const QString& name : formClasses()) {
        sheet.replace(QRegularExpression(QStringLiteral("(?<![#\\w-])%1(?![\\w-])").arg(name)),
                      QStringLiteral("QWidget#") + name);
    }
    return sheet;
}

// The cut texts of one form shown in one language, one line each; the texts
// it shows go to `shown`.
QStringList cutTexts(const QString& form, int language, QMap<QString, QString>* shown) {
    const FormSheets sheets = sheetsOf(form);
    QWidget window;
    window.setStyleSheet(forLoadedForms(
        sheets.mainWindow ? readSheet(QStringLiteral("base"), language) : QString()));
    auto* page = new QWidget(&window);
    page->setStyleSheet(forLoadedForms(readSheet(sheets.page, language)));

    QFile file(sourcefiles::appPath(form));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << form.toStdString();
    QUiLoader loader;
    QWidget* root = loader.load(&file, page);
    if (root == nullptr) {
        ADD_FAILURE() << form.toStdString() << ": " << loader.errorString().toStdString();
        return {};
    }
    page->resize(root->size());
    window.resize(root->size());
    window.show();
    root->show();
    QApplication::processEvents();

    QStringList cut;
    QList<QWidget*> widgets = root->findChildren<QWidget*>();
    widgets.prepend(root);
    *shown = showntexts::of(root, widgets);
    for (QWidget* widget : widgets) {
        const Fit fit = fitOf(widget);
        if (fit.needed > fit.room) {
            cut << QStringLiteral("%1 %2 %3: \"%4\" needs %5 px, has %6 of %7 x %8")
                       .arg(form, language == 0 ? QStringLiteral("zh") : QStringLiteral("en"),
                            widget->objectName(), fit.text)
                       .arg(fit.needed)
                       .arg(fit.room)
                       .arg(widget->width())
                       .arg(widget->height());
        }
    }
    root->hide();
    return cut;
}

// The loader builds the program's own widget classes as their Qt base
// classes and says so for each; those notes are expected here.
QtMessageHandler s_previousHandler = nullptr;
void quietAboutCustomWidgets(QtMsgType type, const QMessageLogContext& context,
                             const QString& message) {
    if (!message.contains(QLatin1String("unable to create a custom widget"))) {
        s_previousHandler(type, context, message);
    }
}

}  // namespace

TEST(FormTextsTest, EveryFormShowsItsWholeTextsInBothLanguages) {
    s_previousHandler = qInstallMessageHandler(quietAboutCustomWidgets);
    const QStringList forms = sourcefiles::appFiles(QStringLiteral(".ui"));
    ASSERT_GT(forms.size(), 50);
    QTranslator chinese;
    ASSERT_TRUE(chinese.load(QStringLiteral(":/en_CN.qm")));
    QStringList cut;
    QMap<QString, QMap<QString, QString>> shown[2];
    for (int language : {0, 1}) {
        if (language == 0) {
            QCoreApplication::installTranslator(&chinese);
        } else {
            QCoreApplication::removeTranslator(&chinese);
        }
        for (const QString& form : forms) {
            cut << cutTexts(form, language, &shown[language][form]);
        }
    }
    qInstallMessageHandler(s_previousHandler);
    EXPECT_TRUE(cut.isEmpty()) << cut.size() << " cut texts:\n"
                               << cut.join(QLatin1Char('\n')).toStdString();
    // The Chinese interface shows no English text.
    QStringList english;
    for (const QString& form : forms) {
        for (const QString& same : showntexts::unchanged(shown[1][form], shown[0][form])) {
            english << form + QLatin1Char(' ') + same;
        }
    }
    EXPECT_TRUE(english.isEmpty()) << english.size() << " texts in English in Chinese:\n"
                                   << english.join(QLatin1Char('\n')).toStdString();
}

// The check finds a cut text and passes a whole one, in both kinds of widget.
TEST(FormTextsTest, FitOfLabelsAndCheckBoxes) {
    QWidget window;
    window.setStyleSheet(QStringLiteral("* { font: 16px \"Liberation Sans\"; }"));
    auto* label = new QLabel(QStringLiteral("Signal accumulation"), &window);
    auto* box = new QCheckBox(QStringLiteral("Signal accumulation"), &window);
    window.show();
    QApplication::processEvents();
    const int width = label->fontMetrics().horizontalAdvance(label->text());
    struct Case {
        QWidget* widget;
        int width;
        bool fits;
    };
    const int indicator = 40;  // more than any style's indicator and spacing
    const Case cases[] = {
        {label, width, true},
        {label, width - 4, false},
        {box, width + indicator, true},
        {box, width, false},
    };
    for (const Case& c : cases) {
        c.widget->setGeometry(0, 0, c.width, 30);
        const Fit fit = fitOf(c.widget);
        EXPECT_EQ(fit.needed <= fit.room, c.fits)
            << c.widget->metaObject()->className() << " " << c.width;
    }
}
