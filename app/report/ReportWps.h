#pragma once

#include <QObject>
#include <QString>

namespace varnu {
class AxObject;
}

// The conversation with the word processor for one report: it starts the
// word processor ("kwps.Application"), makes its window visible, adds a new
// document from the template documents/report.dotx of the station directory
// and writes texts and a picture into the document's bookmarks. The document
// stays with the word processor for the user to edit, print or save.
//
// Built anew for each press of a report button; GUI thread only.
class ReportWps : public QObject {
    Q_OBJECT
  public:
    explicit ReportWps(QObject* parent = nullptr);
    // Releases the automation objects; the document stays open.
    ~ReportWps() override;

    // True when the word processor gave an active document. When false,
    // failureReason() says why, and the bookmark calls do nothing.
    bool openReportTemplate();
    // Replaces the text of the bookmark's range; a missing bookmark logs
    // "no mark " and its name.
    void setBookmarkText(const QString& bookmarkName, const QString& text);
    // Embeds the picture file as an inline picture at the bookmark; a path
    // that is not a readable picture leaves the bookmark as it is (the
    // word processor warns).
    void insertBookmarkPicture(const QString& bookmarkName, const QString& picturePath);
    // Sets the font size of the word processor's current selection.
    void setSelectionFontSize(double size);
    // Saves the filled document: the word processor writes it whole, once,
    // so no half-filled report is ever on disk. The path of its file; empty
    // when it could not be saved, and failureReason() then says why.
    QString saveDocument();

    // Why openReportTemplate() or saveDocument() failed, for the caller's
    // message to the user; empty after a success.
    QString failureReason() const { return m_failureReason; }

  private slots:
    void automationExceptionHandle(int code, const QString& source, const QString& desc,
                                   const QString& help);

  private:
    // The bookmark of the document by name; null (after "no mark ") when
    // the document has none.
    varnu::AxObject* bookmark(const QString& bookmarkName);

    varnu::AxObject* wpsApplication = nullptr;
    varnu::AxObject* wpsDocuments = nullptr;
    varnu::AxObject* wpsDocument = nullptr;
    QString m_failureReason;
};
