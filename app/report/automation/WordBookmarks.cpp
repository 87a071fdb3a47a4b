#include "WordBookmarks.h"

#include "OfficeXml.h"

#include <QSizeF>
#include <QStringList>
#include <QtMath>

namespace varnu {

QString xmlSafeText(const QString& text) {
    QString safe;
    safe.reserve(text.size());
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            safe.append(c);
            safe.append(text.at(++i));
            continue;
        }
        const ushort u = c.unicode();
        const bool control = u < 0x20 && u != '\t' && u != '\n' && u != '\r';
        if (control || c.isSurrogate() || u == 0xFFFE || u == 0xFFFF) {
            continue;
        }
        safe.append(c);
    }
    return safe;
}

bool WordBookmarks::contains(const QString& name) const {
    Span s;
    QString ignored;
    return span(name, &s, &ignored);
}

bool WordBookmarks::span(const QString& name, Span* s, QString* error) const {
    const QString startName = m_package.w(QStringLiteral("bookmarkStart"));
    const QString endName = m_package.w(QStringLiteral("bookmarkEnd"));
    const QString nameAttr = m_package.w(QStringLiteral("name"));
    const QString idAttr = m_package.w(QStringLiteral("id"));
    XmlNode* start = findElement(m_package.documentRoot(), [&](const XmlNode& n) {
        return n.name == startName && n.attribute(nameAttr) == name;
    });
    if (start == nullptr) {
        *error = QStringLiteral("the document has no bookmark %1").arg(name);
        return false;
    }
    const QString id = start->attribute(idAttr);
    XmlNode* end = findElement(m_package.documentRoot(), [&](const XmlNode& n) {
        return n.name == endName && n.attribute(idAttr) == id;
    });
    if (end == nullptr) {
        *error = QStringLiteral("the bookmark %1 has no end").arg(name);
        return false;
    }
    XmlNode* paragraph = start->parent;
    if (end->parent != paragraph || paragraph->name != m_package.w(QStringLiteral("p")) ||
        paragraph->indexOf(end) < paragraph->indexOf(start)) {
        *error = QStringLiteral("the bookmark %1 is not inside one paragraph").arg(name);
        return false;
    }
    s->paragraph = paragraph;
    s->first = paragraph->indexOf(start) + 1;
    s->end = paragraph->indexOf(end);
    return true;
}

std::unique_ptr<XmlNode> WordBookmarks::clearSpan(Span& s) {
    const QString run = m_package.w(QStringLiteral("r"));
    const QString rPr = m_package.w(QStringLiteral("rPr"));
    const QString startName = m_package.w(QStringLiteral("bookmarkStart"));
    const QString endName = m_package.w(QStringLiteral("bookmarkEnd"));
    std::unique_ptr<XmlNode> format;
    int i = s.first;
    while (i < s.end) {
        XmlNode* c = s.paragraph->child(i);
        if (c->isElement(startName) || c->isElement(endName)) {
            ++i;
            continue;
        }
        if (format == nullptr && c->isElement(run)) {
            if (const XmlNode* p = c->firstChild(rPr)) {
                format = p->clone();
            }
        }
        s.paragraph->takeChild(i);
        --s.end;
    }
    if (format == nullptr) {
        for (int j = s.first - 2; j >= 0 && format == nullptr; --j) {
            const XmlNode* c = s.paragraph->child(j);
            if (c->isElement(run)) {
                if (const XmlNode* p = c->firstChild(rPr)) {
                    format = p->clone();
                }
                break;
            }
        }
    }
    if (format == nullptr) {
        if (const XmlNode* pPr = s.paragraph->firstChild(m_package.w(QStringLiteral("pPr")))) {
            if (const XmlNode* mark = pPr->firstChild(rPr)) {
                format = mark->clone();
            }
        }
    }
    return format;
}

void WordBookmarks::insertRun(Span& s, std::unique_ptr<XmlNode> run) {
    s.paragraph->insertChild(s.first, std::move(run));
    ++s.end;
}

bool WordBookmarks::setText(const QString& name, const QString& text, QString* error) {
    Span s;
    if (!span(name, &s, error)) {
        return false;
    }
    std::unique_ptr<XmlNode> format = clearSpan(s);
    const QString safe = xmlSafeText(text);
    if (safe.isEmpty()) {
        return true;
    }
    auto run = XmlNode::element(m_package.w(QStringLiteral("r")));
    if (format != nullptr) {
        run->appendChild(std::move(format));
    }
    QString piece;
    auto flush = [&]() {
        if (piece.isEmpty()) {
            return;
        }
        auto t = XmlNode::element(m_package.w(QStringLiteral("t")));
        t->setAttribute(QStringLiteral("xml:space"), QStringLiteral("preserve"));
        t->appendChild(XmlNode::textNode(piece));
        run->appendChild(std::move(t));
        piece.clear();
    };
    for (int i = 0; i < safe.size(); ++i) {
        const QChar c = safe.at(i);
        if (c == QLatin1Char('\t')) {
            flush();
            run->appendChild(XmlNode::element(m_package.w(QStringLiteral("tab"))));
        } else if (c == QLatin1Char('\n') || c == QLatin1Char('\r')) {
            flush();
            run->appendChild(XmlNode::element(m_package.w(QStringLiteral("br"))));
            if (c == QLatin1Char('\r') && i + 1 < safe.size() && safe.at(i + 1) == '\n') {
                ++i;
            }
        } else {
            piece.append(c);
        }
    }
    flush();
    insertRun(s, std::move(run));
    return true;
}

namespace {

// The text area of the page in EMU, from the body's last section
// properties; an A4 page with margins of one inch when they are missing.
QSizeF textArea(const WordPackage& package) {
    double width = 11906 - 2 * 1440;
    double height = 16838 - 2 * 1440;
    const XmlNode* body = package.documentRoot()->firstChild(package.w(QStringLiteral("body")));
    const XmlNode* sect = body->firstChild(package.w(QStringLiteral("sectPr")));
    if (sect != nullptr) {
        const XmlNode* size = sect->firstChild(package.w(QStringLiteral("pgSz")));
        const XmlNode* margin = sect->firstChild(package.w(QStringLiteral("pgMar")));
        auto value = [&](const XmlNode* n, const char* attr) {
            return n->attribute(package.w(QLatin1String(attr))).toDouble();
        };
        if (size != nullptr && margin != nullptr) {
            const double w = value(size, "w") - value(margin, "left") - value(margin, "right");
            const double h = value(size, "h") - value(margin, "top") - value(margin, "bottom");
            if (w > 0 && h > 0) {
                width = w;
                height = h;
            }
        }
    }
    return QSizeF(width * ooxml::kEmuPerTwip, height * ooxml::kEmuPerTwip);
}

}  // namespace

bool WordBookmarks::setPicture(const QString& name, const DocumentPicture& picture,
                               const QString& title, QString* error) {
    Span s;
    if (!span(name, &s, error)) {
        return false;
    }
    double cx = picture.width * ooxml::kEmuPerInch / picture.dpiX;
    double cy = picture.height * ooxml::kEmuPerInch / picture.dpiY;
    const QSizeF area = textArea(m_package);
    const double scale = qMin(1.0, qMin(area.width() / cx, area.height() / cy));
    const QString extentX = QString::number(qMax<qint64>(1, qRound64(cx * scale)));
    const QString extentY = QString::number(qMax<qint64>(1, qRound64(cy * scale)));

    const QString wp = m_package.prefixFor(ooxml::kWordDrawing, QStringLiteral("wp"));
    const QString r = m_package.prefixFor(ooxml::kRelationships, QStringLiteral("r"));
    const QString relId = m_package.addPngPart(picture.png);
    const int drawingId = m_package.newDrawingId();
    const QString escapedTitle = title.toHtmlEscaped();

    const QString xml =
        QStringLiteral(
            "<%W%r><%W%rPr/><%W%drawing><%WP%:inline distT=\"0\" distB=\"0\" distL=\"0\" "
            "distR=\"0\"><%WP%:extent cx=\"%CX%\" cy=\"%CY%\"/><%WP%:effectExtent l=\"0\" "
            "t=\"0\" r=\"0\" b=\"0\"/><%WP%:docPr id=\"%ID%\" name=\"Picture %ID%\" "
            "descr=\"%TITLE%\"/><%WP%:cNvGraphicFramePr><a:graphicFrameLocks "
            "xmlns:a=\"%A%\" noChangeAspect=\"1\"/></%WP%:cNvGraphicFramePr><a:graphic "
            "xmlns:a=\"%A%\"><a:graphicData uri=\"%PIC%\"><pic:pic xmlns:pic=\"%PIC%\">"
            "<pic:nvPicPr><pic:cNvPr id=\"0\" name=\"%TITLE%\"/><pic:cNvPicPr/></pic:nvPicPr>"
            "<pic:blipFill><a:blip %R%:embed=\"%REL%\"/><a:stretch><a:fillRect/></a:stretch>"
            "</pic:blipFill><pic:spPr><a:xfrm><a:off x=\"0\" y=\"0\"/><a:ext cx=\"%CX%\" "
            "cy=\"%CY%\"/></a:xfrm><a:prstGeom prst=\"rect\"><a:avLst/></a:prstGeom></pic:spPr>"
            "</pic:pic></a:graphicData></a:graphic></%WP%:inline></%W%drawing></%W%r>")
            .replace(QLatin1String("%W%"), m_package.w(QString()))
            .replace(QLatin1String("%WP%"), wp)
            .replace(QLatin1String("%R%"), r)
            .replace(QLatin1String("%A%"), ooxml::kDrawingMain)
            .replace(QLatin1String("%PIC%"), ooxml::kPicture)
            .replace(QLatin1String("%CX%"), extentX)
            .replace(QLatin1String("%CY%"), extentY)
            .replace(QLatin1String("%ID%"), QString::number(drawingId))
            .replace(QLatin1String("%REL%"), relId)
            .replace(QLatin1String("%TITLE%"), escapedTitle);
    QString why;
    std::unique_ptr<XmlTree> fragment = XmlTree::parse(xml.toUtf8(), &why);
    if (fragment == nullptr) {
        *error = QStringLiteral("the picture drawing cannot be built: %1").arg(why);
        return false;
    }

    std::unique_ptr<XmlNode> format = clearSpan(s);
    std::unique_ptr<XmlNode> run = fragment->root()->clone();
    run->takeChild(0);  // the empty run properties of the fragment
    if (format != nullptr) {
        run->insertChild(0, std::move(format));
    }
    insertRun(s, std::move(run));
    return true;
}

namespace {

// Run properties that come after the font size in their schema order.
bool comesAfterSize(const QString& local) {
    static const QStringList after = {
        QStringLiteral("highlight"),  QStringLiteral("u"),     QStringLiteral("effect"),
        QStringLiteral("bdr"),        QStringLiteral("shd"),   QStringLiteral("fitText"),
        QStringLiteral("vertAlign"),  QStringLiteral("rtl"),   QStringLiteral("cs"),
        QStringLiteral("em"),         QStringLiteral("lang"),  QStringLiteral("eastAsianLayout"),
        QStringLiteral("specVanish"), QStringLiteral("oMath"), QStringLiteral("rPrChange")};
    return after.contains(local);
}

}  // namespace

bool WordBookmarks::setFontSize(const QString& name, double points, QString* error) {
    const qint64 halfPoints = qRound64(points * 2.0);
    if (!(halfPoints >= 2 && halfPoints <= 3276)) {
        *error = QStringLiteral("%1 is not a font size").arg(points);
        return false;
    }
    Span s;
    if (!span(name, &s, error)) {
        return false;
    }
    const QString run = m_package.w(QStringLiteral("r"));
    const QString rPr = m_package.w(QStringLiteral("rPr"));
    const QString prefix = m_package.w(QString());
    for (int i = s.first; i < s.end; ++i) {
        XmlNode* r = s.paragraph->child(i);
        if (!r->isElement(run)) {
            continue;
        }
        XmlNode* props = r->firstChild(rPr);
        if (props == nullptr) {
            props = r->insertChild(0, XmlNode::element(rPr));
        }
        for (const QString& local : {QStringLiteral("sz"), QStringLiteral("szCs")}) {
            XmlNode* size = props->firstChild(prefix + local);
            if (size == nullptr) {
                int at = 0;
                while (at < props->childCount() &&
                       !(props->child(at)->kind == XmlNode::Kind::Element &&
                         comesAfterSize(props->child(at)->name.mid(prefix.size())))) {
                    ++at;
                }
                size = props->insertChild(at, XmlNode::element(prefix + local));
            }
            size->setAttribute(m_package.w(QStringLiteral("val")), QString::number(halfPoints));
        }
    }
    return true;
}

}  // namespace varnu
