// Entry point of the station program: brings the program up in a fixed order
// (log handler, application, single instance, controller, language, machine
// model and devices, login, main window) and runs the event loop.

#include "ASyncSerialPortThread.h"
#include "CI_MainControl.h"
#include "LogHandler.h"
#include "LoginDialog.h"
#include "SingleInstance.h"

#include <QApplication>
#include <QByteArray>
#include <QFile>
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

// The application style sheet: the resource read whole, as Latin-1 text up to
// its first zero byte. Empty when the resource is missing.
QString readBaseStyleSheet() {
    QFile file(QStringLiteral(":/Style/base.css"));
    if (!file.open(QIODevice::ReadOnly)) {
        return QString();
    }
    const QByteArray bytes = file.readAll();
    const int end = bytes.indexOf('\0');
    return QString::fromLatin1(end < 0 ? bytes : bytes.left(end));
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
    QCoreApplication::setOrganizationDomain(QStringLiteral("tessaly.com"));
    QCoreApplication::setApplicationName(QStringLiteral("Varnu"));

    if (!checkSingleInstance()) {
        qDebug() << "program already start.";
        return -1;
    }

    CI_MainControl* mainControl = CI_MainControl::getInstance();
    switch (mainControl->getLanguageID()) {
        case 0:
            qDebug() << "installTranslator.";
            mainControl->translator.load(QStringLiteral(":/en_CN.qm"));
            QCoreApplication::installTranslator(&mainControl->translator);
            break;
        case 1:
            QCoreApplication::removeTranslator(&mainControl->translator);
            break;
        default:
            qFatal("Unknow LanguageID.");
    }

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

    const QString styleSheet = readBaseStyleSheet();
    Q_UNUSED(styleSheet);
    // The main window is not part of this build yet: after a successful
    // login there is nothing to show, so the program ends here.
    qWarning() << "no main window is built into this program; leaving after login.";
    closeSerialLink(mainControl);
    return 0;
}
