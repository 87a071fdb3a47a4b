#include "ReportWordProcessor.h"

#include "KwpsServer.h"
#include "base/StationDir.h"

#include <QDesktopServices>
#include <QUrl>
#include <QtDebug>

void installReportWordProcessor(std::function<void(const QString& path)> show) {
    varnu::KwpsOptions options;
    options.reportsFolder = reportsFolderPath;
    options.showDocument = std::move(show);
    varnu::registerKwpsApplication(std::move(options));
}

QString reportsFolderPath() {
    return stationFilePath(QStringLiteral("reports"));
}

void showWithDesktop(const QString& path) {
    if (qgetenv("VARNU_REPORT_VIEWER") == "none") {
        return;
    }
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path))) {
        qWarning().noquote()
            << QStringLiteral("the report %1 cannot be opened on the desktop").arg(path);
    }
}
