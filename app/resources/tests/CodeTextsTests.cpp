// The texts the program's code puts in front of the user (message boxes,
// file dialogs, texts painted on pictures, labels set in code)
// show in Chinese in the Chinese interface: each goes through the
// translation, and the translation of its context gives a text other than
// the English one. Names, units and numbers are the same in both languages.

#include "ShownTexts.h"
#include "SourceFiles.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QFile>
#include <QMessageBox>
#include <QRegularExpression>
#include <QSet>
#include <QTranslator>

#include <gtest/gtest.h>

namespace {

// One string literal of a source: where it starts, its text, whether it is
// the text of a translation call, and that call's context.
struct Literal {
    int offset = 0;
    QString text;
    QString context;
    bool translated = false;
};

// The source with comments blanked out (offsets kept), so that neither
// commented code nor a quote in a comment is read as code.
QString withoutComments(const QString& source) {
    QString code = source;
    enum { Code, String, Char, Line, Block } state = Code;
    for (int i = 0; i < code.size(); ++i) {
        const QChar c = code.at(i);
        const QChar next = i + 1 < code.size() ? code.at(i + 1) : QChar();
        switch (state) {
            case Code:
                if (c == '"') {
                    state = String;
                } else if (c == '\'') {
                    state = Char;
                } else if (c == '/' && next == '/') {
                    state = Line;
                    code[i] = ' ';
                } else if (c == '/' && next == '*') {
                    state = Block;
                    code[i] = ' ';
                }
                break;
            case String:
            case Char:
                if (c == '\\') {
                    ++i;
                } else if ((state == String && c == '"') || (state == Char && c == '\'')) {
                    state = Code;
                }
                break;
            case Line:
                if (c == '\n') {
                    state = Code;
                } else {
                    code[i] = ' ';
                }
                break;
            case Block:
                if (c == '*' && next == '/') {
                    code[i] = ' ';
                    code[i + 1] = ' ';
                    ++i;
                    state = Code;
                } else if (c != '\n') {
                    code[i] = ' ';
                }
                break;
        }
    }
    return code;
}

// The end of the string literal that starts at `start` (its closing quote),
// and its text with the usual escapes resolved.
int readLiteral(const QString& code, int start, QString* text) {
    int i = start + 1;
    for (; i < code.size() && code.at(i) != '"'; ++i) {
        QChar c = code.at(i);
        if (c == '\\' && i + 1 < code.size()) {
            const QChar escaped = code.at(++i);
            c = escaped == 'n' ? QChar('\n') : escaped == 't' ? QChar('\t') : escaped;
        }
        *text += c;
    }
    return i;
}

// The index of the bracket that closes the one at `open`, or -1.
int closingBracket(const QString& code, int open) {
    const QChar opening = code.at(open);
    const QChar closing = opening == '(' ? ')' : opening == '{' ? '}' : ']';
    int depth = 0;
    for (int i = open; i < code.size(); ++i) {
        const QChar c = code.at(i);
        if (c == '"') {
            QString ignored;
            i = readLiteral(code, i, &ignored);
        } else if (c == opening) {
            ++depth;
        } else if (c == closing && --depth == 0) {
            return i;
        }
    }
    return -1;
}

// The class whose member function holds `offset` ("" in a free function):
// the "Class::function(" that opens the outermost braces around it.
QString enclosingClass(const QString& code, int offset) {
    static const QRegularExpression member(QStringLiteral("(\\w+)::~?\\w+\\s*\\([^;{}]*$"));
    static const QRegularExpression space(QStringLiteral("namespace(\\s+\\w+)?\\s*$"));
    int depth = 0;
    int outerOpen = -1;
    for (int i = 0; i < offset && i < code.size(); ++i) {
        const QChar c = code.at(i);
        if (c == '"') {
            QString ignored;
            i = readLiteral(code, i, &ignored);
        } else if (c == '{') {
            // Namespace braces do not make a function.
            const QString before = code.mid(qMax(0, i - 80), qMin(i, 80));
            if (space.match(before).hasMatch()) {
                continue;
            }
            if (depth++ == 0) {
                outerOpen = i;
            }
        } else if (c == '}' && depth > 0) {
            // A namespace's closing brace is met at depth 0 and passed over.
            if (--depth == 0) {
                outerOpen = -1;
            }
        }
    }
    if (outerOpen < 0) {
        return {};
    }
    // The function's head: from the end of the statement before it.
    const int headStart = qMax(code.lastIndexOf(QLatin1Char(';'), outerOpen),
                               code.lastIndexOf(QLatin1Char('}'), outerOpen));
    QString head = code.mid(headStart + 1, outerOpen - headStart - 1);
    // A constructor's initialiser list comes after the parameters.
    const int params = head.indexOf(QLatin1Char('('));
    const QRegularExpressionMatch match = member.match(params < 0 ? head : head.left(params + 1));
    return match.hasMatch() ? match.captured(1) : QString();
}

// The string literals from `begin` to `end`, each with the translation call
// it is an argument of, if any. Adjacent literals are one text, as the
// compiler joins them.
QList<Literal> literalsIn(const QString& code, int begin, int end) {
    static const QRegularExpression caller(QStringLiteral("([\\w:]+)\\s*$"));
    struct Open {
        QString function;
        int literalCount = 0;
        QString firstLiteral;
    };
    QList<Open> opened;
    QList<Literal> literals;
    int lastLiteralEnd = -2;
    for (int i = begin; i < end; ++i) {
        const QChar c = code.at(i);
        if (c == '(') {
            const QRegularExpressionMatch match =
                caller.match(code.mid(qMax(0, i - 60), qMin(i, 60)));
            Open call;
            call.function = match.hasMatch() ? match.captured(1) : QString();
            opened.append(call);
        } else if (c == ')') {
            if (!opened.isEmpty()) {
                opened.removeLast();
            }
        } else if (c == '"') {
            QString text;
            const int close = readLiteral(code, i, &text);
            const bool joined =
                lastLiteralEnd >= 0 &&
                code.mid(lastLiteralEnd + 1, i - lastLiteralEnd - 1).trimmed().isEmpty() &&
                !literals.isEmpty();
            if (joined) {
                literals.last().text += text;
            } else {
                Literal literal;
                literal.offset = i;
                literal.text = text;
                // The innermost translation call around it; translate()
                // takes the context first and the text second.
                for (int k = opened.size() - 1; k >= 0; --k) {
                    Open& call = opened[k];
                    const QString name = call.function.section(QStringLiteral("::"), -1);
                    if (name == QLatin1String("tr") || name == QLatin1String("QT_TR_NOOP")) {
                        literal.translated = true;
                        literal.context = call.function.contains(QStringLiteral("::"))
                                              ? call.function.section(QStringLiteral("::"), -2, -2)
                                              : enclosingClass(code, i);
                        break;
                    }
                    if (name == QLatin1String("translate") ||
                        name == QLatin1String("QT_TRANSLATE_NOOP")) {
                        if (call.literalCount++ == 0) {
                            call.firstLiteral = text;
                            literal.context = QStringLiteral("\x01");  // the context itself
                        } else {
                            literal.translated = true;
                            literal.context = call.firstLiteral;
                        }
                        break;
                    }
                }
                literals.append(literal);
            }
            lastLiteralEnd = close;
            i = close;
        }
    }
    // Context names are not texts.
    QList<Literal> texts;
    for (const Literal& literal : literals) {
        if (literal.context != QLatin1String("\x01")) {
            texts.append(literal);
        }
    }
    return texts;
}

// Where the code hands a text to the user: the arguments of these calls, the
// value of these assignments, and the body of functions that make a shown
// text.
const char* const kShowingCalls[] = {
    "QMessageBox::(warning|information|critical|question|about)\\s*\\(",
    "\\bQMessageBox\\s+\\w+\\s*\\(",
    "\\bQFileDialog::get\\w+\\s*\\(",
    "\\bdrawText\\s*\\(",
    "\\bdrawParameterLines\\s*\\(",
    "\\bpostWarning\\s*\\(",
    "\\b(setText|setTitle|setWindowTitle|setPlaceholderText|setToolTip|setItemText|addItems?)"
    "\\s*\\(",
};
const char* const kShowingAssignments[] = {
    "\\bm_failureReason\\s*=[^=]",
};
const char* const kTextMakers[] = {
    "\\bZdqCameraCtrl::accessWarning\\s*\\(",
    "\\bwesternBlotOverlayLines\\s*\\(",
};
// Literals inside these calls are names of things, not texts.
const char* const kNotTexts[] = {"QFont", "QIcon", "QPixmap", "QColor", "QImage", "QUrl"};

struct Range {
    int begin;
    int end;
};

QList<Range> showingRanges(const QString& code) {
    QList<Range> ranges;
    for (const char* pattern : kShowingCalls) {
        QRegularExpressionMatchIterator it =
            QRegularExpression(QString::fromLatin1(pattern)).globalMatch(code);
        while (it.hasNext()) {
            const QRegularExpressionMatch match = it.next();
            const int open = match.capturedEnd() - 1;
            const int close = closingBracket(code, open);
            if (close > open) {
                ranges.append({open, close});
            }
        }
    }
    for (const char* pattern : kShowingAssignments) {
        QRegularExpressionMatchIterator it =
            QRegularExpression(QString::fromLatin1(pattern)).globalMatch(code);
        while (it.hasNext()) {
            const QRegularExpressionMatch match = it.next();
            const int end = code.indexOf(QLatin1Char(';'), match.capturedEnd());
            ranges.append({match.capturedEnd() - 1, end < 0 ? code.size() : end});
        }
    }
    for (const char* pattern : kTextMakers) {
        QRegularExpressionMatchIterator it =
            QRegularExpression(QString::fromLatin1(pattern)).globalMatch(code);
        while (it.hasNext()) {
            const QRegularExpressionMatch match = it.next();
            const int close = closingBracket(code, match.capturedEnd() - 1);
            // A definition: the parameters are followed by the body.
            int body = close + 1;
            while (body < code.size() &&
                   (code.at(body).isSpace() || code.mid(body, 5) == QLatin1String("const"))) {
                body += code.mid(body, 5) == QLatin1String("const") ? 5 : 1;
            }
            if (close > 0 && body < code.size() && code.at(body) == '{') {
                ranges.append({body, closingBracket(code, body)});
            }
        }
    }
    return ranges;
}

bool insideNameCall(const QString& code, const Range& range, int offset) {
    for (const char* name : kNotTexts) {
        const QRegularExpression call(QStringLiteral("\\b%1\\s*\\(").arg(QLatin1String(name)));
        QRegularExpressionMatchIterator it = call.globalMatch(code.mid(range.begin, offset));
        while (it.hasNext()) {
            const QRegularExpressionMatch match = it.next();
            const int open = range.begin + match.capturedEnd() - 1;
            if (open < offset && closingBracket(code, open) > offset) {
                return true;
            }
        }
    }
    return false;
}

// What the Chinese interface shows in English, one line each: "file:line
// <text>: why".
QStringList englishInTheChineseInterface(const QString& file, const QString& source,
                                         const QTranslator& chinese) {
    static const QRegularExpression hanzi(QStringLiteral("[\\x{4e00}-\\x{9fff}]"));
    const QString code = withoutComments(source);
    QStringList found;
    QSet<int> seen;
    for (const Range& range : showingRanges(code)) {
        for (const Literal& literal : literalsIn(code, range.begin, range.end)) {
            // A text written out in both languages is Chinese already.
            if (seen.contains(literal.offset) || literal.text.contains(hanzi) ||
                showntexts::sameInBothLanguages(literal.text) ||
                insideNameCall(code, range, literal.offset)) {
                continue;
            }
            seen.insert(literal.offset);
            const QString where = QStringLiteral("%1:%2 \"%3\"")
                                      .arg(file)
                                      .arg(code.left(literal.offset).count(QLatin1Char('\n')) + 1)
                                      .arg(literal.text);
            if (!literal.translated) {
                found << where + QStringLiteral(": not marked for translation");
                continue;
            }
            const QString text = chinese.translate(literal.context.toUtf8().constData(),
                                                   literal.text.toUtf8().constData());
            if (text.isEmpty()) {
                found << where + QStringLiteral(": no translation in context ") + literal.context;
            } else if (text == literal.text) {
                found << where + QStringLiteral(": translated as itself in context ") +
                             literal.context;
            }
        }
    }
    return found;
}

QStringList englishInTheChineseInterface(const QString& file, const QByteArray& source) {
    static QTranslator chinese;
    static const bool loaded = chinese.load(QStringLiteral(":/en_CN.qm"));
    EXPECT_TRUE(loaded);
    return englishInTheChineseInterface(file, QString::fromUtf8(source), chinese);
}

}  // namespace

TEST(CodeTextsTest, TextsTheCodeShowsAreChineseInTheChineseInterface) {
    const QStringList files = sourcefiles::appFiles(QStringLiteral(".cpp"));
    ASSERT_GT(files.size(), 100);
    QStringList found;
    for (const QString& file : files) {
        QFile source(sourcefiles::appPath(file));
        ASSERT_TRUE(source.open(QIODevice::ReadOnly)) << file.toStdString();
        found << englishInTheChineseInterface(file, source.readAll());
    }
    EXPECT_TRUE(found.isEmpty()) << found.size() << " texts in English:\n"
                                 << found.join(QLatin1Char('\n')).toStdString();
}

// The scan tells marked from unmarked texts, finds the context of tr() and
// translate(), passes names, numbers and commented code, and looks only
// where the user is shown a text.
TEST(CodeTextsTest, ScanFindsUnmarkedAndUntranslatedTexts) {
    struct Case {
        const char* label;
        const char* source;
        int found;
    };
    const Case cases[] = {
        {"unmarked box title",
         "void CI_HeadFrame::f() { QMessageBox::warning(this, QStringLiteral(\"Warning\"), "
         "tr(\"Tips\")); }",
         1},
        {"marked, translated in its class", "void CI_HeadFrame::f() { setText(tr(\"Tips\")); }", 0},
        {"marked, no translation in this class", "void NoSuchClass::f() { setText(tr(\"Tips\")); }",
         1},
        {"translate() with its context",
         "void f() { postWarning(QCoreApplication::translate(\"CI_HeadFrame\", \"Tips\")); }", 0},
        {"translate() in a context without it",
         "void f() { postWarning(QCoreApplication::translate(\"Nowhere\", \"Tips\")); }", 1},
        {"Class::tr in a free function", "void f() { setText(CI_HeadFrame::tr(\"Tips\")); }", 0},
        {"painted text", "void F::f() { p.drawText(1, 2, QStringLiteral(\"Gain: \") + g); }", 1},
        {"names and numbers",
         "void F::f() { setText(QStringLiteral(\"UV302C\")); setText(QStringLiteral(\"%1 / "
         "%2\")); }",
         0},
        {"a font's family", "void F::f() { setText(QFont(\"Arial\", 16).family()); }", 0},
        {"commented out", "void F::f() { // setText(QStringLiteral(\"Gain\"));\n }", 0},
        {"not shown", "void F::f() { qDebug() << QStringLiteral(\"Gain\"); }", 0},
        {"a text-making function",
         "QString ZdqCameraCtrl::accessWarning(Access a) { return QStringLiteral(\"No camera.\"); "
         "}",
         1},
        {"in a namespace, a constructor",
         "namespace { } F::F(QWidget* p) : QFrame(p) { setText(tr(\"Tips\")); }", 1},
    };
    QTranslator chinese;
    ASSERT_TRUE(chinese.load(QStringLiteral(":/en_CN.qm")));
    for (const Case& c : cases) {
        const QStringList found = englishInTheChineseInterface(
            QStringLiteral("x.cpp"), QString::fromUtf8(c.source), chinese);
        EXPECT_EQ(found.size(), c.found) << c.label << ": " << found.join('\n').toStdString();
    }
}

// A message box's standard buttons ("OK", "Cancel", "Yes", "No") are named
// by the translation too.
TEST(CodeTextsTest, StandardButtonsOfTheBoxesAreChinese) {
    QTranslator chinese;
    ASSERT_TRUE(chinese.load(QStringLiteral(":/en_CN.qm")));
    QCoreApplication::installTranslator(&chinese);
    QMessageBox box(QMessageBox::Warning, QStringLiteral("-"), QStringLiteral("-"),
                    QMessageBox::Ok | QMessageBox::Cancel | QMessageBox::Yes | QMessageBox::No);
    QStringList english;
    for (QAbstractButton* button : box.buttons()) {
        if (button->text().contains(QRegularExpression(QStringLiteral("[A-Za-z]")))) {
            english << button->text();
        }
    }
    QCoreApplication::removeTranslator(&chinese);
    EXPECT_EQ(box.buttons().size(), 4);
    EXPECT_TRUE(english.isEmpty()) << english.join(' ').toStdString();
}
