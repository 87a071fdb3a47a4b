#pragma once

#include "XmlTree.h"
#include "ZipArchive.h"

#include <QString>

#include <memory>
#include <vector>

namespace varnu {

// A word-processing package (Office Open XML) in memory: its parts, its
// content types, the main document and the main document's relationships.
// Parts other than those three are kept byte for byte.
class WordPackage {
  public:
    // Reads a template (.dotx) or document (.docx). Null, with the reason in
    // `error`, when the file cannot be read, is not a zip archive, has no
    // word-processing main document or holds XML that is not well-formed.
    static std::unique_ptr<WordPackage> open(const QString& path, QString* error);

    // Turns a template into a document: the main part's content type becomes
    // that of a document.
    void makeDocument();

    // The main document (word/document.xml in packages we make).
    XmlNode* documentRoot() const { return m_document->root(); }
    // The prefix the main document uses for the WordprocessingML namespace
    // ("w"), and that prefix with `local` ("w:p").
    QString w(const QString& local) const { return m_wPrefix + local; }
    // The prefix bound to `uri` on the document root, declared there as
    // `preferred` when the root has none.
    QString prefixFor(const QString& uri, const QString& preferred);

    // Adds a PNG picture as a new media part with an image relationship of
    // the main document; returns the relationship id.
    QString addPngPart(const QByteArray& png);
    // A drawing object id not used in the document yet.
    int newDrawingId();

    // The content type of a part ("/word/document.xml"), empty when none.
    QString contentType(const QString& partName) const;

    // Writes the package to `path`, atomically: the file is either the whole
    // new package or what it was before.
    bool save(const QString& path, QString* error) const;

  private:
    WordPackage() = default;
    bool load(std::vector<ZipEntry> entries, QString* error);
    ZipEntry* entry(const QString& name);
    QString uniquePartName(const QString& stem, const QString& extension);
    QString newRelationshipId() const;

    std::vector<ZipEntry> m_entries;  // XML parts held as trees are written from them
    std::unique_ptr<XmlTree> m_contentTypes;
    std::unique_ptr<XmlTree> m_document;
    std::unique_ptr<XmlTree> m_documentRels;
    QString m_documentPart;      // "word/document.xml"
    QString m_documentRelsPart;  // "word/_rels/document.xml.rels"
    QString m_wPrefix;           // "w:"
    int m_lastDrawingId = 0;
};

}  // namespace varnu
