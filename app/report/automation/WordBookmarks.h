#pragma once

#include "PictureFile.h"
#include "WordPackage.h"

#include <QString>

namespace varnu {

// The bookmarks of a package's main document and what can be written into
// them. A bookmark is the content between its bookmarkStart and the
// bookmarkEnd of the same id, both inside one paragraph; writing replaces
// that content and keeps the two markers, so the bookmark can be written
// again. The markers of other bookmarks inside the range stay.
class WordBookmarks {
  public:
    explicit WordBookmarks(WordPackage& package) : m_package(package) {}

    bool contains(const QString& name) const;

    // Replaces the content by `text` in one run that keeps the formatting
    // of the first replaced run (else of the run before the bookmark, else
    // of the paragraph mark). Tabs become tab characters, line feeds and
    // carriage returns line breaks; characters XML cannot hold are dropped.
    bool setText(const QString& name, const QString& text, QString* error);

    // Replaces the content by the picture as an inline drawing, embedded in
    // the package, at its size from its resolution, made smaller (aspect
    // kept) where it would not fit the text area of the page.
    bool setPicture(const QString& name, const DocumentPicture& picture, const QString& title,
                    QString* error);

    // Sets the font size (points, 1 to 1638 in half points) of every run
    // in the bookmark.
    bool setFontSize(const QString& name, double points, QString* error);

  private:
    struct Span {
        XmlNode* paragraph = nullptr;
        int first = 0;  // index of the first child after the start marker
        int end = 0;    // index of the end marker
    };
    bool span(const QString& name, Span* span, QString* error) const;
    // Removes the content of a span except bookmark markers; returns the
    // run properties the new content takes.
    std::unique_ptr<XmlNode> clearSpan(Span& span);
    void insertRun(Span& span, std::unique_ptr<XmlNode> run);

    WordPackage& m_package;
};

// The text of `text` that XML 1.0 can hold: other control characters,
// unpaired surrogates and U+FFFE/U+FFFF left out.
QString xmlSafeText(const QString& text);

}  // namespace varnu
