#include "ReportWps.h"

#include "AxObject.h"
#include "base/StationDir.h"

#include <QtDebug>

using varnu::AxObject;

ReportWps::ReportWps(QObject* parent) : QObject(parent) {}

// Deleting the application object releases the handles below it (they are
// its children); the word processor keeps the document.
ReportWps::~ReportWps() {
    delete wpsApplication;
}

void ReportWps::automationExceptionHandle(int, const QString&, const QString& desc,
                                          const QString&) {
    if (m_failureReason.isEmpty()) {
        m_failureReason = desc;
    }
}

bool ReportWps::openReportTemplate() {
    // A second opening starts over; the earlier document stays open.
    delete wpsApplication;
    wpsDocuments = nullptr;
    wpsDocument = nullptr;
    m_failureReason.clear();
    wpsApplication = new AxObject();
    connect(wpsApplication, &AxObject::exception, this, &ReportWps::automationExceptionHandle);
    if (!wpsApplication->setControl(QStringLiteral("kwps.Application"))) {
        return false;
    }
    wpsApplication->setProperty("Visible", true);

    wpsDocuments = wpsApplication->querySubObject("Documents");
    if (wpsDocuments == nullptr) {
        if (m_failureReason.isEmpty()) {
            m_failureReason = tr("the word processor has no Documents collection");
        }
        return false;
    }
    connect(wpsDocuments, &AxObject::exception, this, &ReportWps::automationExceptionHandle);
    wpsDocuments->dynamicCall("Add(QString)",
                              stationFilePath(QStringLiteral("documents/report.dotx")));

    wpsDocument = wpsApplication->querySubObject("ActiveDocument");
    if (wpsDocument == nullptr) {
        if (m_failureReason.isEmpty()) {
            m_failureReason = tr("the word processor made no document");
        }
        return false;
    }
    // Later failures belong to the bookmark calls, which log them.
    disconnect(wpsApplication, &AxObject::exception, this, &ReportWps::automationExceptionHandle);
    disconnect(wpsDocuments, &AxObject::exception, this, &ReportWps::automationExceptionHandle);
    m_failureReason.clear();
    return true;
}

AxObject* ReportWps::bookmark(const QString& bookmarkName) {
    AxObject* mark = wpsDocument->querySubObject("Bookmarks(QVariant)", bookmarkName);
    if (mark == nullptr || mark->isNull()) {
        delete mark;
        qDebug().noquote() << QStringLiteral("no mark ") + bookmarkName;
        return nullptr;
    }
    return mark;
}

void ReportWps::setBookmarkText(const QString& bookmarkName, const QString& text) {
    if (wpsDocument == nullptr) {
        return;
    }
    AxObject* mark = bookmark(bookmarkName);
    if (mark == nullptr) {
        return;
    }
    mark->dynamicCall("Select(void)");
    if (AxObject* range = mark->querySubObject("Range")) {
        range->setProperty("Text", text);
    }
    delete mark;
}

void ReportWps::insertBookmarkPicture(const QString& bookmarkName, const QString& picturePath) {
    if (wpsDocument == nullptr) {
        return;
    }
    AxObject* mark = bookmark(bookmarkName);
    if (mark == nullptr) {
        return;
    }
    mark->dynamicCall("Select(void)");
    AxObject* range = mark->querySubObject("Range");
    AxObject* shapes = wpsDocument->querySubObject("InlineShapes");
    if (range != nullptr && shapes != nullptr) {
        shapes->dynamicCall("AddPicture(const QString&, QVariant, QVariant ,QVariant)", picturePath,
                            false, true, range->asVariant());
    }
    delete shapes;
    delete mark;
}

void ReportWps::setSelectionFontSize(double size) {
    AxObject* selection =
        wpsApplication == nullptr ? nullptr : wpsApplication->querySubObject("Selection");
    if (selection == nullptr) {
        qDebug() << "no selection.";
        return;
    }
    if (AxObject* font = selection->querySubObject("Font")) {
        font->setProperty("Size", size);
    }
    delete selection;
}

QString ReportWps::saveDocument() {
    m_failureReason.clear();
    if (wpsDocument == nullptr) {
        m_failureReason = tr("no report document is open");
        return QString();
    }
    connect(wpsDocument, &AxObject::exception, this, &ReportWps::automationExceptionHandle);
    wpsDocument->dynamicCall("Save(void)");
    disconnect(wpsDocument, &AxObject::exception, this, &ReportWps::automationExceptionHandle);
    if (!m_failureReason.isEmpty()) {
        return QString();
    }
    const QString path = wpsDocument->dynamicCall("FullName").toString();
    if (path.isEmpty()) {
        m_failureReason = tr("the word processor wrote no file");
    }
    return path;
}
