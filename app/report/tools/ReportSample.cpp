// report-sample: makes a report document for a station, a user and a picture
// the way a report button of the experiment pages does, so that reports can
// be made and looked at from any picture file.
//
//   report-sample [--station DIR] [--user NAME] [--no-open] PICTURE
//
// The station directory is DIR, else VARNU_HOME, else the program's folder.
// The titles come from the station's user options, the full name from its
// user store, the labels in the station's language. The document is written
// to the station's reports folder; its path is printed, and it is opened
// with the desktop's word processor unless --no-open is given or there is no
// display.

#include "ReportWordProcessor.h"
#include "ReportWps.h"
#include "base/StationDir.h"
#include "database/UserInfoDB.h"
#include "settings/UserOpts.h"

#include <QCommandLineParser>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTextStream>
#include <QTranslator>

#include <memory>

namespace {

bool hasDisplay() {
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

// A QGuiApplication when the document is to be shown on a display, else a
// core application: writing a report needs no display.
std::unique_ptr<QCoreApplication> makeApplication(int& argc, char** argv, bool show) {
    if (show) {
        return std::make_unique<QGuiApplication>(argc, argv);
    }
    return std::make_unique<QCoreApplication>(argc, argv);
}

}  // namespace

int main(int argc, char* argv[]) {
    bool noOpen = !hasDisplay();
    for (int i = 1; i < argc; ++i) {
        noOpen = noOpen || QByteArray(argv[i]) == "--no-open";
    }
    std::unique_ptr<QCoreApplication> app = makeApplication(argc, argv, !noOpen);
    QCoreApplication::setApplicationName(QStringLiteral("report-sample"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Makes a report document from a picture, as a report button does."));
    parser.addHelpOption();
    const QCommandLineOption stationOption(
        QStringLiteral("station"), QStringLiteral("The station directory."), QStringLiteral("DIR"));
    const QCommandLineOption userOption(QStringLiteral("user"),
                                        QStringLiteral("The user name (default tarsk)."),
                                        QStringLiteral("NAME"), QStringLiteral("tarsk"));
    const QCommandLineOption noOpenOption(QStringLiteral("no-open"),
                                          QStringLiteral("Write the document, do not open it."));
    parser.addOption(stationOption);
    parser.addOption(userOption);
    parser.addOption(noOpenOption);
    parser.addPositionalArgument(QStringLiteral("picture"), QStringLiteral("The picture file."));
    parser.process(*app);

    QTextStream out(stdout);
    QTextStream err(stderr);
    const QStringList pictures = parser.positionalArguments();
    if (pictures.size() != 1) {
        err << "report-sample: give one picture file (--help for the usage)." << Qt::endl;
        return 2;
    }
    if (parser.isSet(stationOption)) {
        const QString station = parser.value(stationOption);
        if (!QFileInfo(station).isDir()) {
            err << "report-sample: " << station << " is not a station directory." << Qt::endl;
            return 2;
        }
        qputenv("VARNU_HOME", QDir(station).absolutePath().toLocal8Bit());
    }

    UserOpts userOpt;
    userOpt.loadUserOpt(UserOpt_LanguageID);
    QTranslator translator;
    if (userOpt.LanguageID == 0 && translator.load(QStringLiteral(":/en_CN.qm"))) {
        QCoreApplication::installTranslator(&translator);
    }

    UserInfoDB users(stationDirPath());
    const std::unique_ptr<UserInfo> user = users.loadByName(parser.value(userOption));
    if (user == nullptr) {
        err << "report-sample: the station has no user " << parser.value(userOption) << "."
            << Qt::endl;
        return 2;
    }

    installReportWordProcessor(
        [noOpen](const QString& path) { return !noOpen && showWithDesktop(path); });

    // What a report button does, in its order.
    const QFileInfo picture(pictures.first());
    auto report = std::make_unique<ReportWps>();
    const bool opened = report->openReportTemplate();
    userOpt.loadUserOpt(UserOpt_MainTitle);
    userOpt.loadUserOpt(UserOpt_SubTitle);
    report->setBookmarkText(QStringLiteral("MainTitle"), userOpt.MainTitle);
    report->setBookmarkText(QStringLiteral("SubTitle"), userOpt.SubTitle);
    report->setBookmarkText(QStringLiteral("UserLabel"),
                            QCoreApplication::translate("ReportSample", "User:"));
    report->setBookmarkText(QStringLiteral("User"), user->realName);
    report->setBookmarkText(QStringLiteral("ReportDateLabel"),
                            QCoreApplication::translate("ReportSample", "ReportDate:"));
    report->setBookmarkText(QStringLiteral("ReportDate"),
                            QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")));
    report->setBookmarkText(
        QStringLiteral("PictureName1"),
        QCoreApplication::translate("ReportSample", "PictureName:") + picture.fileName());
    report->insertBookmarkPicture(QStringLiteral("Picture1"), picture.absoluteFilePath());
    if (!opened) {
        err << "report-sample: the report could not be made: " << report->failureReason()
            << Qt::endl;
        return 1;
    }
    const ReportResult result = completeReport(*report);
    if (result.outcome == ReportResult::NotSaved) {
        err << "report-sample: the report could not be saved: " << result.reason << Qt::endl;
        return 1;
    }
    out << result.path << Qt::endl;
    return 0;
}
