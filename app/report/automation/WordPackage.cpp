#include "WordPackage.h"

#include "OfficeXml.h"

#include "platform/FileSystem.h"

#include <QFile>
#include <QFileInfo>

#include <cstring>

namespace varnu {

namespace {

const QString kContentTypesPart = QStringLiteral("[Content_Types].xml");
const QString kPackageRelsPart = QStringLiteral("_rels/.rels");

std::unique_ptr<XmlTree> parsePart(const ZipEntry& entry, QString* error) {
    QString why;
    std::unique_ptr<XmlTree> tree = XmlTree::parse(entry.data, &why);
    if (tree == nullptr) {
        *error = QStringLiteral("%1 is not well-formed XML (%2)").arg(entry.name, why);
    }
    return tree;
}

// The folder of a part name ("word" for "word/document.xml"; empty at the top).
QString folderOf(const QString& part) {
    const int slash = part.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : part.left(slash);
}

}  // namespace

std::unique_ptr<WordPackage> WordPackage::open(const QString& path, QString* error) {
    if (!QFileInfo(path).isFile()) {
        *error = QStringLiteral("the template %1 does not exist").arg(path);
        return nullptr;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("the template %1 cannot be read: %2").arg(path, file.errorString());
        return nullptr;
    }
    const QByteArray bytes = file.readAll();
    std::vector<ZipEntry> entries;
    QString why;
    if (!ZipArchive::read(bytes, &entries, &why)) {
        *error = QStringLiteral("the template %1 is not a document package: %2").arg(path, why);
        return nullptr;
    }
    std::unique_ptr<WordPackage> package(new WordPackage);
    if (!package->load(std::move(entries), &why)) {
        *error =
            QStringLiteral("the template %1 is not a word-processing package: %2").arg(path, why);
        return nullptr;
    }
    return package;
}

ZipEntry* WordPackage::entry(const QString& name) {
    for (ZipEntry& e : m_entries) {
        if (e.name == name) {
            return &e;
        }
    }
    return nullptr;
}

bool WordPackage::load(std::vector<ZipEntry> entries, QString* error) {
    m_entries = std::move(entries);

    const ZipEntry* types = entry(kContentTypesPart);
    if (types == nullptr) {
        *error = QStringLiteral("it has no %1").arg(kContentTypesPart);
        return false;
    }
    if (!(m_contentTypes = parsePart(*types, error))) {
        return false;
    }

    const ZipEntry* packageRels = entry(kPackageRelsPart);
    if (packageRels == nullptr) {
        *error = QStringLiteral("it has no %1").arg(kPackageRelsPart);
        return false;
    }
    std::unique_ptr<XmlTree> rels = parsePart(*packageRels, error);
    if (rels == nullptr) {
        return false;
    }
    const XmlNode* main = findElement(rels->root(), [](const XmlNode& n) {
        return n.name == QLatin1String("Relationship") &&
               n.attribute(QStringLiteral("Type")) == ooxml::kOfficeDocumentRel;
    });
    if (main == nullptr) {
        *error = QStringLiteral("it names no main document part");
        return false;
    }
    m_documentPart = main->attribute(QStringLiteral("Target"));
    while (m_documentPart.startsWith(QLatin1Char('/'))) {
        m_documentPart.remove(0, 1);
    }
    const ZipEntry* document = entry(m_documentPart);
    if (document == nullptr) {
        *error = QStringLiteral("its main document part %1 is missing").arg(m_documentPart);
        return false;
    }
    const QString type = contentType(QLatin1Char('/') + m_documentPart);
    if (type != ooxml::kTemplateMainType && type != ooxml::kDocumentMainType) {
        *error = QStringLiteral("its main part has the content type \"%1\"").arg(type);
        return false;
    }
    if (!(m_document = parsePart(*document, error))) {
        return false;
    }

    const XmlNode* root = m_document->root();
    bool bound = false;
    for (const auto& a : root->attributes) {
        if (a.second == ooxml::kWordMain &&
            (a.first == QLatin1String("xmlns") || a.first.startsWith(QLatin1String("xmlns:")))) {
            m_wPrefix = a.first == QLatin1String("xmlns") ? QString() : a.first.mid(6) + ':';
            bound = true;
            break;
        }
    }
    if (!bound || root->name != w(QStringLiteral("document")) ||
        root->firstChild(w(QStringLiteral("body"))) == nullptr) {
        *error =
            QStringLiteral("%1 is not a WordprocessingML document with a body").arg(m_documentPart);
        return false;
    }

    m_documentRelsPart = folderOf(m_documentPart);
    m_documentRelsPart += (m_documentRelsPart.isEmpty() ? QString() : QStringLiteral("/")) +
                          QStringLiteral("_rels/") + QFileInfo(m_documentPart).fileName() +
                          QStringLiteral(".rels");
    if (const ZipEntry* documentRels = entry(m_documentRelsPart)) {
        if (!(m_documentRels = parsePart(*documentRels, error))) {
            return false;
        }
    } else {
        m_documentRels = XmlTree::parse(
            QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>"
                           "<Relationships xmlns=\"%1\"/>")
                .arg(ooxml::kPackageRelationships)
                .toUtf8(),
            error);
        m_entries.push_back({m_documentRelsPart, QByteArray(), true});
    }
    const QString relsType = contentType(QLatin1Char('/') + m_documentRelsPart);
    if (relsType.isEmpty()) {
        auto rel = XmlNode::element(QStringLiteral("Default"));
        rel->setAttribute(QStringLiteral("Extension"), QStringLiteral("rels"));
        rel->setAttribute(QStringLiteral("ContentType"), ooxml::kRelationshipsType);
        m_contentTypes->root()->insertChild(0, std::move(rel));
    }

    forEachElement(m_document->root(), [this](const XmlNode& n) {
        if (n.name.endsWith(QLatin1String(":docPr")) || n.name == QLatin1String("docPr")) {
            m_lastDrawingId = qMax(m_lastDrawingId, n.attribute(QStringLiteral("id")).toInt());
        }
    });
    return true;
}

QString WordPackage::contentType(const QString& partName) const {
    const XmlNode* types = m_contentTypes->root();
    for (const auto& c : types->children) {
        if (c->isElement(QStringLiteral("Override")) &&
            c->attribute(QStringLiteral("PartName")).compare(partName, Qt::CaseInsensitive) == 0) {
            return c->attribute(QStringLiteral("ContentType"));
        }
    }
    const QString extension = QFileInfo(partName).suffix();
    for (const auto& c : types->children) {
        if (c->isElement(QStringLiteral("Default")) &&
            c->attribute(QStringLiteral("Extension")).compare(extension, Qt::CaseInsensitive) ==
                0) {
            return c->attribute(QStringLiteral("ContentType"));
        }
    }
    return QString();
}

void WordPackage::makeDocument() {
    const QString partName = QLatin1Char('/') + m_documentPart;
    XmlNode* types = m_contentTypes->root();
    for (const auto& c : types->children) {
        if (c->isElement(QStringLiteral("Override")) &&
            c->attribute(QStringLiteral("PartName")).compare(partName, Qt::CaseInsensitive) == 0) {
            c->setAttribute(QStringLiteral("ContentType"), ooxml::kDocumentMainType);
            return;
        }
    }
    auto override = XmlNode::element(QStringLiteral("Override"));
    override->setAttribute(QStringLiteral("PartName"), partName);
    override->setAttribute(QStringLiteral("ContentType"), ooxml::kDocumentMainType);
    types->appendChild(std::move(override));
}

QString WordPackage::prefixFor(const QString& uri, const QString& preferred) {
    XmlNode* root = m_document->root();
    for (const auto& a : root->attributes) {
        if (a.second == uri && a.first.startsWith(QLatin1String("xmlns:"))) {
            return a.first.mid(6);
        }
    }
    root->setAttribute(QStringLiteral("xmlns:") + preferred, uri);
    return preferred;
}

QString WordPackage::uniquePartName(const QString& stem, const QString& extension) {
    for (int n = 1;; ++n) {
        const QString name = stem + QString::number(n) + extension;
        if (entry(name) == nullptr) {
            return name;
        }
    }
}

QString WordPackage::newRelationshipId() const {
    int last = 0;
    for (const auto& c : m_documentRels->root()->children) {
        const QString id = c->attribute(QStringLiteral("Id"));
        if (id.startsWith(QLatin1String("rId"))) {
            last = qMax(last, id.mid(3).toInt());
        }
    }
    return QStringLiteral("rId%1").arg(last + 1);
}

QString WordPackage::addPngPart(const QByteArray& png) {
    QString folder = folderOf(m_documentPart);
    if (!folder.isEmpty()) {
        folder += QLatin1Char('/');
    }
    const QString part =
        uniquePartName(folder + QStringLiteral("media/image"), QStringLiteral(".png"));
    // PNG is compressed already: stored as it is.
    m_entries.push_back({part, png, false});

    if (contentType(QLatin1Char('/') + part) != QLatin1String("image/png")) {
        auto type = XmlNode::element(QStringLiteral("Default"));
        type->setAttribute(QStringLiteral("Extension"), QStringLiteral("png"));
        type->setAttribute(QStringLiteral("ContentType"), QStringLiteral("image/png"));
        m_contentTypes->root()->insertChild(0, std::move(type));
    }

    const QString id = newRelationshipId();
    auto rel = XmlNode::element(QStringLiteral("Relationship"));
    rel->setAttribute(QStringLiteral("Id"), id);
    rel->setAttribute(QStringLiteral("Type"), ooxml::kImageRel);
    rel->setAttribute(QStringLiteral("Target"), part.mid(folder.size()));
    m_documentRels->root()->appendChild(std::move(rel));
    return id;
}

int WordPackage::newDrawingId() {
    return ++m_lastDrawingId;
}

bool WordPackage::save(const QString& path, QString* error) const {
    std::vector<ZipEntry> parts = m_entries;
    for (ZipEntry& part : parts) {
        if (part.name == kContentTypesPart) {
            part.data = m_contentTypes->serialize();
        } else if (part.name == m_documentPart) {
            part.data = m_document->serialize();
        } else if (part.name == m_documentRelsPart) {
            part.data = m_documentRels->serialize();
        }
    }
    QByteArray bytes;
    QString why;
    if (!ZipArchive::write(parts, &bytes, &why)) {
        *error = QStringLiteral("the document cannot be packed: %1").arg(why);
        return false;
    }
    // Written whole: a full disk or a file-size limit leaves no half
    // document, and an earlier one of that name as it was.
    const int failure = plat::WriteWholeFile(QFile::encodeName(path).toStdString(),
                                             bytes.constData(), static_cast<size_t>(bytes.size()));
    if (failure != 0) {
        *error = QStringLiteral("%1 cannot be written: %2")
                     .arg(path, QString::fromLocal8Bit(std::strerror(failure)));
        return false;
    }
    return true;
}

}  // namespace varnu
