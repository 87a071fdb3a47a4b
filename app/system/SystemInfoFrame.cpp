#include "SystemInfoFrame.h"

#include "ui_SystemInfoFrame.h"

#include "SystemResources.h"
#include "UpdateCheck.h"
#include "base/StationDir.h"
#include "controller/CI_MainControl.h"

#include <QDesktopServices>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QMessageBox>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPixmap>
#include <QPushButton>
#include <QtDebug>

namespace {

constexpr int kUpdateTimeoutMs = 15000;
// An answer is a few hundred bytes; one larger than this is no answer and is
// not read to its end.
constexpr qint64 kMaxReplyBytes = qint64(1) << 20;
const char kOversizedProperty[] = "varnuOversized";
const char kProductSite[] = "https://www.example.com/varnu";

}  // namespace

SystemInfoFrame::SystemInfoFrame(QWidget* parent)
    : QFrame(parent), ui(new Ui::SystemInfoFrame), mainCtrl(CI_MainControl::getInstance()) {
    ensureSystemResources();
    ui->setupUi(this);
    connect(ui->label_Link, &QLabel::linkActivated, this, &SystemInfoFrame::openUrl);
    initFrame();
}

SystemInfoFrame::~SystemInfoFrame() {
    delete networkManager;
    delete ui;
}

QString SystemInfoFrame::md5Hex(const QString& text) {
    return md5HexOf(text);
}

QString SystemInfoFrame::noteToText() const {
    return updateNoteText(updateNote);
}

void SystemInfoFrame::initFrame() {
    const int language = mainCtrl->getLanguageID();
    if (language != 0 && language != 1) {
        qFatal("Unknow LanguageID.");
    }
    const bool english = language == 1;
    switch (mainCtrl->machineName) {
        case Varnu_320:
        case Varnu_520:
            ui->label_SysInfo->setPixmap(QPixmap(english
                                                     ? QStringLiteral(":/Image/systemInfo_en.png")
                                                     : QStringLiteral(":/Image/systemInfo.png")));
            break;
        case Varnu_550:
            ui->label_SysInfo->setPixmap(
                QPixmap(english ? QStringLiteral(":/Image/systemInfo_550_en.png")
                                : QStringLiteral(":/Image/systemInfo_550.png")));
            break;
        default:
            break;
    }
    ui->label_SysInfo->setScaledContents(true);

    const QString site = QString::fromLatin1(kProductSite);
    ui->label_Link->setStyleSheet(QStringLiteral("font-size:16px;"));
    ui->label_Link->setText(tr("For More Product Information, Please Visit: ") +
                            QStringLiteral("<a href=\"%1\">%1</a>").arg(site));
    ui->label_VersionNo->setText(QString::fromLatin1(kApplicationVersion));
    ui->pushButton_UserManual->setStyleSheet(QStringLiteral("color: #3c64b7"));
}

void SystemInfoFrame::openUrl(const QString& url) {
    QDesktopServices::openUrl(QUrl(url, QUrl::TolerantMode));
}

void SystemInfoFrame::on_pushButton_UserManual_clicked() {
    const QString manual = CI_MainControl::readMachineName() == Varnu_550
                               ? QStringLiteral("/documents/user_manual_550.pdf")
                               : QStringLiteral("/documents/user_manual_520.pdf");
    const QString path = QFileInfo(stationDirPath() + manual).absoluteFilePath();
    // The desktop's opener starts for a missing file too, so look first.
    if (!QFileInfo::exists(path) || !QDesktopServices::openUrl(QUrl::fromLocalFile(path))) {
        QMessageBox::warning(this, tr("Warning"),
                             tr("Open user manual failed, Please makesure WPS is installed."),
                             QMessageBox::Ok);
    }
}

void SystemInfoFrame::on_pushButton_Update_clicked() {
    // Dropping the previous manager drops its request: only the newest
    // check is answered.
    if (networkManager != nullptr) {
        disconnect(networkManager, nullptr, this, nullptr);
        delete networkManager;
    }
    networkManager = new QNetworkAccessManager();

    QNetworkRequest request;
    request.setHeader(QNetworkRequest::ContentTypeHeader,
                      QStringLiteral("application/x-www-form-urlencoded"));
    request.setUrl(updateServiceUrl());
    request.setTransferTimeout(kUpdateTimeoutMs);
    const QByteArray body = updateRequestBody(mainCtrl->getLanguageID());
    connect(networkManager, &QNetworkAccessManager::finished, this,
            &SystemInfoFrame::requestfinished);
    QNetworkReply* reply = networkManager->post(request, body);
    connect(reply, &QNetworkReply::downloadProgress, this, [reply](qint64 received, qint64 total) {
        if (received > kMaxReplyBytes || total > kMaxReplyBytes) {
            reply->setProperty(kOversizedProperty, true);
            reply->abort();
        }
    });
}

void SystemInfoFrame::requestfinished(QNetworkReply* reply) {
    reply->deleteLater();
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (status.isValid()) {
        qDebug().noquote() << "status code = " + QString::number(status.toInt());
    }
    qDebug().noquote()
        << "reason = " + reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString();
    const QByteArray body = reply->read(kMaxReplyBytes + 1);
    if (reply->property(kOversizedProperty).toBool() || body.size() > kMaxReplyBytes) {
        qDebug().noquote()
            << QStringLiteral("Failed: the answer is larger than %1 bytes").arg(kMaxReplyBytes);
        return;
    }
    if (reply->error() != QNetworkReply::NoError) {
        qDebug().noquote() << "Failed: " + reply->errorString();
        return;
    }
    qDebug().noquote() << QString::fromUtf8(body);
    UpdateAnswer answer;
    if (!parseUpdateAnswer(body, &answer)) {
        return;
    }
    latestVersion = answer.latestVersion;
    updateTime = answer.updateTime;
    updateNote = answer.updateNote;
    updateUrl = answer.url;
    showUpdateResult(isNewerVersion(ui->label_VersionNo->text(), latestVersion));
}

void SystemInfoFrame::showUpdateResult(bool newer) {
    if (!newer) {
        QMessageBox::information(nullptr, tr("Check for updates"), tr("It is the latest version."),
                                 QMessageBox::Ok);
        return;
    }
    const QString text = tr("New version detected.") + QLatin1Char('\n') + tr("Version:") +
                         latestVersion + QLatin1Char('\n') + tr("UpdateTime:") + updateTime +
                         QLatin1Char('\n') + tr("UpdateNote:") + QLatin1Char('\n') + noteToText();
    QMessageBox box(QMessageBox::Warning, tr("Check for updates"), text,
                    QMessageBox::Ok | QMessageBox::Cancel);
    box.setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);
    box.button(QMessageBox::Ok)->setText(tr("Download"));
    box.button(QMessageBox::Cancel)->setText(tr("Cancel"));
    if (box.exec() == QMessageBox::Ok) {
        qDebug() << "OK";
        // The user learns of the newer version whatever its link; only a web
        // address is handed to the desktop.
        if (isDownloadLink(updateUrl)) {
            QDesktopServices::openUrl(updateUrl);
        } else {
            qWarning().noquote() << "Refused download link: " + updateUrl.toString();
            QMessageBox::warning(nullptr, tr("Check for updates"),
                                 tr("The download link cannot be opened."), QMessageBox::Ok);
        }
    } else {
        qDebug() << "Cancel";
    }
}

void SystemInfoFrame::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        initFrame();
    }
    event->accept();
}
