#pragma once

#include <QString>

#include <functional>

namespace varnu {

// Where the word processor of this process keeps its documents.
struct KwpsOptions {
    // The folder new documents are saved in, asked for at every Add.
    std::function<QString()> reportsFolder;
};

// The ProgID the word processor is registered under.
inline const QString kKwpsProgId = QStringLiteral("kwps.Application");

// Registers the word processor as "kwps.Application": each setControl gets a
// new application whose object model is
//   Application: Visible (property), Documents, ActiveDocument, Selection
//   Documents:   Add(QString) - a new document from a template (.dotx)
//   Document:    Bookmarks(QVariant) - a bookmark by name, or none;
//                InlineShapes; Save(void) - writes the document;
//                FullName - the path of its file (empty until saved)
//   Bookmark:    Select(void), Range
//   Range:       Text (property)
//   InlineShapes: AddPicture(const QString&, QVariant, QVariant ,QVariant) -
//                file name, link to file (false), save with document (true),
//                the range the picture replaces
//   Selection:   Font;  Font: Size (property, points)
// A document is held in memory while it is filled; Save writes it whole as
// an Office Open XML file of the reports folder (see ReportDocument).
void registerKwpsApplication(KwpsOptions options);

}  // namespace varnu
