// report-fill-child: makes one report in the station named by VARNU_HOME, as
// a report button does, and ends the way its first argument asks, so that a
// test can look at what a report that was cut short leaves behind:
//   kill-while-filling     killed by SIGKILL after three of the bookmarks
//   size-limit-signal      saved under a file-size limit of the second
//                          argument's bytes; the write ends the process
//                          (SIGXFSZ, as for any program over its limit)
//   size-limit-error       the same with SIGXFSZ ignored: the write fails
//   complete               saved without a limit
// The second argument is the picture. It prints the saved document's path;
// a report that was not saved ends with exit code 3.

#include "ReportWordProcessor.h"
#include "ReportWps.h"

#include <QCoreApplication>
#include <QTextStream>

#include <sys/resource.h>
#include <csignal>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        return 2;
    }
    const QString mode = args.at(1);
    const QString picture = args.at(2);
    installReportWordProcessor();

    ReportWps report;
    if (!report.openReportTemplate()) {
        return 2;
    }
    const QStringList bookmarks = {"MainTitle",       "SubTitle",   "UserLabel",   "User",
                                   "ReportDateLabel", "ReportDate", "PictureName1"};
    for (int i = 0; i < bookmarks.size(); ++i) {
        if (i == 3 && mode == QLatin1String("kill-while-filling")) {
            raise(SIGKILL);
        }
        report.setBookmarkText(bookmarks.at(i), bookmarks.at(i) + QStringLiteral(" text"));
    }
    report.insertBookmarkPicture(QStringLiteral("Picture1"), picture);

    if (mode.startsWith(QLatin1String("size-limit"))) {
        if (mode == QLatin1String("size-limit-error")) {
            signal(SIGXFSZ, SIG_IGN);
        }
        const rlim_t limit = args.size() > 3 ? args.at(3).toULongLong() : 1024;
        const struct rlimit fileSize = {limit, limit};
        if (setrlimit(RLIMIT_FSIZE, &fileSize) != 0) {
            return 2;
        }
    }
    const ReportResult result = completeReport(report);
    if (result.outcome == ReportResult::NotSaved) {
        return 3;
    }
    QTextStream(stdout) << result.path << Qt::endl;
    return 0;
}
