#pragma once

#include "WordPackage.h"

#include <QString>

#include <memory>

namespace varnu {

// One document of the word processor: a package made from a template, held
// in memory while it is filled and written as a .docx file of its folder when
// it is saved. A file is written whole to a temporary file of the folder and
// renamed into place, so a document that is being filled, or a program that
// ends while it writes, leaves no file that is half a report.
class ReportDocument {
  public:
    // A new document from `templatePath`, to be saved in `folder` (made
    // now when missing). Null, with the reason, when the template cannot be
    // used or the folder cannot be made; nothing is written.
    static std::unique_ptr<ReportDocument> create(const QString& templatePath,
                                                  const QString& folder, QString* error);

    // The file of the document once it was saved; empty before.
    QString path() const { return m_path; }
    // Writes the document: the first save to a new file of the folder
    // (Report_<date>_<time>.docx), later ones over that file. False, with
    // the reason, when it cannot be written; the file is then as it was
    // (none before the first save).
    bool save(QString* error);

    bool hasBookmark(const QString& name) const;

    bool setBookmarkText(const QString& name, const QString& text, QString* error);
    bool insertPicture(const QString& name, const QString& picturePath, QString* error);
    bool setBookmarkFontSize(const QString& name, double points, QString* error);

  private:
    ReportDocument(std::unique_ptr<WordPackage> package, QString folder);

    std::unique_ptr<WordPackage> m_package;
    QString m_folder;
    QString m_path;
};

}  // namespace varnu
