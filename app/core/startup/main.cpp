// Entry point of the station program: brings the program up in a fixed order
// (log handler, application, single instance, controller, language, machine
// model and devices, login, main window) and runs the event loop.

#include "ReportWordProcessor.h"
#include "controller/CI_MainControl.h"
#include "login/LoginDialog.h"
#include "login/RememberedLogins.h"
#include "mainwindow/CI_MainWidget.h"
#include "serial/ASyncSerialPortThread.h"
#include "settings/CamOpts.h"
#include "settings/IniWrite.h"
#include "settings/UserOpts.h"
#include "startup/AuditFailureBox.h"
#include "startup/DamagedStoreBox.h"
#include "startup/LogHandler.h"
#include "startup/SingleInstance.h"
#include "style/StyleSheet.h"

#include <QApplication>
#include <QtDebug>

namespace {

// Runs the login dialog modally; true when a user logged in.
bool loginCheck() {
    LoginDialog dialog;
    if (dialog.exec() == QDialog::Accepted) {
        qDebug() << "login success.";
        return true;
    }
    qDebug() << "login failed.";
    return false;
}

// Ends the serial link before the program leaves, so that its thread is not
// cut off inside a port operation when the process ends.
void closeSerialLink(CI_MainControl* mainControl) {
    ASyncSerialPortThread* link = mainControl->serialPortThread;
    if (link != nullptr && link->isRunning()) {
        link->closePort();
        link->wait(3000);
    }
}

}  // namespace

int main(int argc, char* argv[]) {
    qInstallMessageHandler(outputMessage);
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("tessaly"));
    QCoreApplication::setOrganizationDomain(QStringLiteral("example.com"));
    QCoreApplication::setApplicationName(QStringLiteral("Varnu"));

    if (!checkSingleInstance()) {
        qDebug() << "program already start.";
        return -1;
    }

    // What a settings write that was cut off (the program ended in it) left
    // beside its file; no write of this run has begun yet.
    for (const QString& file :
         {CamOpts::filePath(), UserOpts::filePath(), RememberedLogins::filePath()}) {
        removeIniWriteLeftovers(file);
    }

    installDamagedStoreBox();
    installReportWordProcessor(showWithDesktop);
    CI_MainControl* mainControl = CI_MainControl::getInstance();
    installAuditFailureBox(mainControl);
    mainControl->installTranslators(mainControl->getLanguageID());

    qDebug() << "设备初始化开始";
    mainControl->initMachineName();
    qDebug() << "设备初始化完成";

    if (!mainControl->initDevice()) {
        return -1;
    }
    if (!loginCheck()) {
        closeSerialLink(mainControl);
        return -1;
    }

    const QString styleSheet = readStyleSheet(QStringLiteral(":/Style/base.css"));
    int result = 0;
    {
        CI_MainWidget mainWidget(nullptr);
        mainWidget.setStyleSheet(styleSheet);
        mainWidget.show();
        mainControl->mainWindowShown = true;
        result = app.exec();
        mainControl->mainWindowShown = false;
    }
    closeSerialLink(mainControl);
    return result;
}
