#pragma once

#include "WordPackage.h"

#include <QString>

#include <memory>

namespace varnu {

// One document of the word processor: a package made from a template, kept
// as a .docx file that is rewritten (atomically) after every change, so the
// file on disk is always a whole document.
class ReportDocument {
  public:
    // A new document from `templatePath`, written at once as a new file in
    // `folder` (made when missing). Null, with the reason, when the template
    // cannot be used or the file cannot be written; then no file is left.
    static std::unique_ptr<ReportDocument> create(const QString& templatePath,
                                                  const QString& folder, QString* error);

    QString path() const { return m_path; }
    bool hasBookmark(const QString& name) const;

    bool setBookmarkText(const QString& name, const QString& text, QString* error);
    bool insertPicture(const QString& name, const QString& picturePath, QString* error);
    bool setBookmarkFontSize(const QString& name, double points, QString* error);

  private:
    ReportDocument(std::unique_ptr<WordPackage> package, QString path);

    std::unique_ptr<WordPackage> m_package;
    QString m_path;
};

}  // namespace varnu
