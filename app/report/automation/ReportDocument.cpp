#include "ReportDocument.h"

#include "PictureFile.h"
#include "WordBookmarks.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

namespace varnu {

namespace {

// A name no file in `folder` has yet: Report_<date>_<time>.docx, with a
// number added when a report of the same millisecond exists.
QString newReportPath(const QDir& folder) {
    const QString stem = QStringLiteral("Report_") + QDateTime::currentDateTime().toString(
                                                         QStringLiteral("yyyyMMdd_hhmmss_zzz"));
    QString path = folder.filePath(stem + QStringLiteral(".docx"));
    for (int n = 2; QFileInfo::exists(path); ++n) {
        path = folder.filePath(stem + QStringLiteral("_%1.docx").arg(n));
    }
    return path;
}

}  // namespace

ReportDocument::ReportDocument(std::unique_ptr<WordPackage> package, QString folder)
    : m_package(std::move(package)), m_folder(std::move(folder)) {}

std::unique_ptr<ReportDocument> ReportDocument::create(const QString& templatePath,
                                                       const QString& folder, QString* error) {
    std::unique_ptr<WordPackage> package = WordPackage::open(templatePath, error);
    if (package == nullptr) {
        return nullptr;
    }
    package->makeDocument();
    if (folder.isEmpty() || !QDir().mkpath(folder)) {
        *error = QStringLiteral("the reports folder %1 cannot be made").arg(folder);
        return nullptr;
    }
    return std::unique_ptr<ReportDocument>(new ReportDocument(std::move(package), folder));
}

bool ReportDocument::save(QString* error) {
    const QString path = m_path.isEmpty() ? newReportPath(QDir(m_folder)) : m_path;
    if (!m_package->save(path, error)) {
        return false;
    }
    m_path = path;
    return true;
}

bool ReportDocument::hasBookmark(const QString& name) const {
    return WordBookmarks(*m_package).contains(name);
}

bool ReportDocument::setBookmarkText(const QString& name, const QString& text, QString* error) {
    return WordBookmarks(*m_package).setText(name, text, error);
}

bool ReportDocument::insertPicture(const QString& name, const QString& picturePath,
                                   QString* error) {
    DocumentPicture picture;
    if (!loadDocumentPicture(picturePath, &picture, error)) {
        return false;
    }
    return WordBookmarks(*m_package)
        .setPicture(name, picture, QFileInfo(picturePath).fileName(), error);
}

bool ReportDocument::setBookmarkFontSize(const QString& name, double points, QString* error) {
    return WordBookmarks(*m_package).setFontSize(name, points, error);
}

}  // namespace varnu
