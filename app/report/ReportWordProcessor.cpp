#include "ReportWordProcessor.h"

#include "KwpsServer.h"
#include "ReportWps.h"
#include "base/StationDir.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>
#include <QtDebug>

namespace {

const char kDocxType[] = "application/vnd.openxmlformats-officedocument.wordprocessingml.document";
constexpr int kQueryTimeoutMs = 3000;

std::function<bool(const QString&)>& installedShow() {
    static std::function<bool(const QString&)> show;
    return show;
}

// Whether the desktop names a program for .docx files. The opener itself
// starts for any file and says nothing of whether a program took it, so the
// desktop's table of default programs is asked first where it exists.
bool desktopHasDocxProgram() {
    const QString query = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
    if (query.isEmpty()) {
        return true;  // no table to ask: the opener decides
    }
    QProcess process;
    process.start(query, {QStringLiteral("query"), QStringLiteral("default"),
                          QString::fromLatin1(kDocxType)});
    if (!process.waitForFinished(kQueryTimeoutMs)) {
        process.kill();
        process.waitForFinished(kQueryTimeoutMs);
        return true;
    }
    return !process.readAllStandardOutput().trimmed().isEmpty();
}

}  // namespace

void installReportWordProcessor(std::function<bool(const QString& path)> show) {
    varnu::KwpsOptions options;
    options.reportsFolder = reportsFolderPath;
    varnu::registerKwpsApplication(std::move(options));
    installedShow() = std::move(show);
}

QString reportsFolderPath() {
    return stationFilePath(QStringLiteral("reports"));
}

bool showWithDesktop(const QString& path) {
    if (qgetenv("VARNU_REPORT_VIEWER") == "none") {
        return false;
    }
    if (!desktopHasDocxProgram() || !QDesktopServices::openUrl(QUrl::fromLocalFile(path))) {
        qWarning().noquote()
            << QStringLiteral("the report %1 cannot be opened on the desktop").arg(path);
        return false;
    }
    return true;
}

ReportResult completeReport(ReportWps& report) {
    ReportResult result;
    result.path = report.saveDocument();
    if (result.path.isEmpty()) {
        result.reason = report.failureReason();
        qWarning().noquote() << QStringLiteral("the report was not saved: %1").arg(result.reason);
        return result;
    }
    const auto& show = installedShow();
    result.outcome =
        show && show(result.path) ? ReportResult::Opened : ReportResult::SavedNotOpened;
    return result;
}

void tellReportResult(QWidget* parent, const ReportResult& result) {
    switch (result.outcome) {
        case ReportResult::Opened:
            return;
        case ReportResult::SavedNotOpened:
            QMessageBox::information(
                parent, QCoreApplication::translate("ReportWordProcessor", "Report"),
                QCoreApplication::translate("ReportWordProcessor",
                                            "No program can open the report. It was saved as %1")
                    .arg(QDir::toNativeSeparators(result.path)));
            return;
        case ReportResult::NotSaved:
            QMessageBox::warning(parent,
                                 QCoreApplication::translate("ReportWordProcessor", "Warning"),
                                 QCoreApplication::translate("ReportWordProcessor",
                                                             "The report could not be saved: %1")
                                     .arg(result.reason));
            return;
    }
}

ReportAuditTexts reportAuditTexts(const ReportResult& result, const QString& pictureName) {
    switch (result.outcome) {
        case ReportResult::Opened:
            return {QStringLiteral("打开wps, 路径: %1").arg(pictureName),
                    QStringLiteral("Open wps, path: %1").arg(pictureName)};
        case ReportResult::SavedNotOpened:
            return {QStringLiteral("保存报告 (未打开), 路径: %1").arg(result.path),
                    QStringLiteral("Save report (not opened), path: %1").arg(result.path)};
        case ReportResult::NotSaved:
            break;
    }
    return {};
}
