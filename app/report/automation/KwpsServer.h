#pragma once

#include <QString>

#include <functional>

namespace varnu {

// How the word processor of this process keeps and shows its documents.
struct KwpsOptions {
    // The folder new documents are written to, asked for at every Add.
    std::function<QString()> reportsFolder;
    // Shows a written document to the user (the desktop's word processor);
    // called once per document of a visible application, from the event loop
    // after the call that made the document has returned. Empty: documents
    // are written and never shown.
    std::function<void(const QString& path)> showDocument;
};

// The ProgID the word processor is registered under.
inline const QString kKwpsProgId = QStringLiteral("kwps.Application");

// Registers the word processor as "kwps.Application": each setControl gets a
// new application whose object model is
//   Application: Visible (property), Documents, ActiveDocument, Selection
//   Documents:   Add(QString) - a new document from a template (.dotx)
//   Document:    Bookmarks(QVariant) - a bookmark by name, or none;
//                InlineShapes
//   Bookmark:    Select(void), Range
//   Range:       Text (property)
//   InlineShapes: AddPicture(const QString&, QVariant, QVariant ,QVariant) -
//                file name, link to file (false), save with document (true),
//                the range the picture replaces
//   Selection:   Font;  Font: Size (property, points)
// Every document is an Office Open XML file in the reports folder, rewritten
// after every change.
void registerKwpsApplication(KwpsOptions options);

}  // namespace varnu
