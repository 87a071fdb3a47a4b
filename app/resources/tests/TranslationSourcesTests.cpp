// The program's translation is made from several translation sources; a text
// of one context translated differently in two places would take whichever
// translation the tool reads last. Each text and context has one translation.

#include "SourceFiles.h"

#include <QFile>
#include <QMap>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

namespace {

struct Translation {
    QString file;
    QString text;
};

// Context, source text and disambiguation comment of one message.
using MessageKey = std::tuple<QString, QString, QString>;

// The live messages of one translation source (obsolete and vanished ones do
// not reach the program), appended to `messages`.
bool readMessages(const QString& path, QMap<MessageKey, QList<Translation>>& messages) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    QXmlStreamReader xml(&file);
    QString context;
    QString source;
    QString comment;
    QString translation;
    bool live = true;
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::StartElement) {
            if (xml.name() == QLatin1String("name")) {
                context = xml.readElementText();
            } else if (xml.name() == QLatin1String("message")) {
                source.clear();
                comment.clear();
                translation.clear();
                live = true;
            } else if (xml.name() == QLatin1String("source")) {
                source = xml.readElementText();
            } else if (xml.name() == QLatin1String("comment")) {
                comment = xml.readElementText();
            } else if (xml.name() == QLatin1String("translation")) {
                const QStringRef type = xml.attributes().value(QStringLiteral("type"));
                live = type != QLatin1String("obsolete") && type != QLatin1String("vanished");
                translation = xml.readElementText();
            }
        } else if (token == QXmlStreamReader::EndElement &&
                   xml.name() == QLatin1String("message") && live) {
            messages[{context, source, comment}].append({path, translation});
        }
    }
    return !xml.hasError();
}

// The conflicts among the messages: "context / source: file=translation; ...".
QStringList conflicts(const QMap<MessageKey, QList<Translation>>& messages) {
    QStringList found;
    for (auto it = messages.cbegin(); it != messages.cend(); ++it) {
        const QList<Translation>& all = it.value();
        bool differ = false;
        for (const Translation& t : all) {
            differ = differ || t.text != all.first().text;
        }
        if (differ) {
            QStringList where;
            for (const Translation& t : all) {
                where << t.file + QLatin1Char('=') + t.text;
            }
            found << std::get<0>(it.key()) + QStringLiteral(" / ") + std::get<1>(it.key()) +
                         QStringLiteral(": ") + where.join(QStringLiteral("; "));
        }
    }
    return found;
}

QString writeSource(const QString& name, const QByteArray& body) {
    const QString path = qEnvironmentVariable("VARNU_TEST_SCRATCH", QStringLiteral("/tmp")) +
                         QLatin1Char('/') + name;
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<!DOCTYPE TS>\n"
        "<TS version=\"2.1\" language=\"zh_CN\" sourcelanguage=\"en\">\n" +
        body + "</TS>\n");
    return path;
}

}  // namespace

TEST(TranslationSourcesTest, EachTextOfAContextHasOneTranslation) {
    const QStringList sources = sourcefiles::translationSources();
    ASSERT_GT(sources.size(), 1);
    QMap<MessageKey, QList<Translation>> messages;
    for (const QString& path : sources) {
        EXPECT_TRUE(readMessages(path, messages)) << path.toStdString();
    }
    EXPECT_GT(messages.size(), 100);
    const QStringList found = conflicts(messages);
    EXPECT_TRUE(found.isEmpty()) << found.join(QLatin1Char('\n')).toStdString();
}

TEST(TranslationSourcesTest, ConflictsAreFoundAcrossFilesAndWithinOne) {
    struct Case {
        const char* label;
        QByteArray first;
        QByteArray second;
        int conflicts;
    };
    const QByteArray ok =
        "<context><name>A</name><message><source>OK</source>"
        "<translation>确定</translation></message></context>\n";
    const QByteArray okOther =
        "<context><name>A</name><message><source>OK</source>"
        "<translation>好</translation></message></context>\n";
    const QByteArray okInB =
        "<context><name>B</name><message><source>OK</source>"
        "<translation>好</translation></message></context>\n";
    const QByteArray okObsolete =
        "<context><name>A</name><message><source>OK</source>"
        "<translation type=\"obsolete\">好</translation></message>"
        "</context>\n";
    const QByteArray okCommented =
        "<context><name>A</name><message><source>OK</source>"
        "<comment>answer</comment><translation>好</translation>"
        "</message></context>\n";
    const Case cases[] = {
        {"same translation twice", ok, ok, 0},
        {"two translations in two files", ok, okOther, 1},
        {"two translations in one file", ok + okOther, {}, 1},
        {"one text in two contexts", ok, okInB, 0},
        {"an obsolete one", ok, okObsolete, 0},
        {"told apart by a comment", ok, okCommented, 0},
    };
    for (const Case& c : cases) {
        QMap<MessageKey, QList<Translation>> messages;
        ASSERT_TRUE(readMessages(writeSource(QStringLiteral("first.ts"), c.first), messages));
        ASSERT_TRUE(readMessages(writeSource(QStringLiteral("second.ts"), c.second), messages));
        EXPECT_EQ(conflicts(messages).size(), c.conflicts) << c.label;
    }
}
