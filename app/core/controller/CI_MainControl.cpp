#include "controller/CI_MainControl.h"

#include "base/StationDir.h"
#include "serial/ASyncSerialPortThread.h"
#include "serial/SerialPortCatalog.h"
#include "serial/VarnuStatusDecoder.h"

#include "camera/TucsenCamCtrl.h"
#include "camera/ZdqCameraCtrl.h"
#include "database/AuditTrailDB.h"
#include "database/ExperimentViewDB.h"
#include "database/SampleDB.h"
#include "database/UserInfo.h"
#include "database/UserInfoDB.h"
#include "database/Varnu_ExperimentDB.h"
#include "database/Westblot_ExperimentDB.h"
#include "settings/SettingsNotSaved.h"

#include <QApplication>
#include <QCoreApplication>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QSettings>
#include <QThread>
#include <QtDebug>

#include <atomic>
#include <mutex>

namespace {

std::atomic<CI_MainControl*> g_instance{nullptr};
std::mutex g_instanceMutex;

QString machineIniPath() {
    return stationFilePath(QStringLiteral("machine.ini"));
}

}  // namespace

CI_MainControl* CI_MainControl::getInstance() {
    CI_MainControl* instance = g_instance.load(std::memory_order_acquire);
    if (instance == nullptr) {
        std::lock_guard<std::mutex> lock(g_instanceMutex);
        instance = g_instance.load(std::memory_order_relaxed);
        if (instance == nullptr) {
            instance = new CI_MainControl();
            g_instance.store(instance, std::memory_order_release);
        }
    }
    return instance;
}

CI_MainControl::CI_MainControl() {
    registerDarkroomMetaTypes();
    qDebug() << "MainController Init.";

    const QString station = stationDirPath();
    userInfoDB = new UserInfoDB(station, this);
    varnuExperimentDB = new Varnu_ExperimentDB(station, this);
    westblotExperimentDB = new Westblot_ExperimentDB(station, this);
    experimentViewDB = new ExperimentViewDB(station, this);
    sampleDB = new SampleDB(station, this);
    auditTrailDB = new AuditTrailDB(station, this);

    serialPortThread = ASyncSerialPortThread::getInstance();
    zdqCameraCtrl = ZdqCameraCtrl::getInstance();
    tucsenCamCtrl = TucsenCamCtrl::getInstance();

    currentUser = new UserInfo();
    serialConnected = false;
    mainWindowShown = false;
    powerOn = false;
    pictureBuffer = nullptr;

    // Status bytes arrive from the serial thread and are decoded here on the
    // GUI thread; errors are only logged, on the serial thread itself.
    connect(serialPortThread, &ASyncSerialPortThread::readData, this,
            &CI_MainControl::readDataHandle);
    connect(serialPortThread, &ASyncSerialPortThread::error, this, &CI_MainControl::errorHandle,
            Qt::DirectConnection);
}

CI_MainControl::~CI_MainControl() {
    delete currentUser;
}

int CI_MainControl::getLanguageID() {
    userOpt.loadUserOpt(UserOpt_LanguageID);
    return userOpt.LanguageID;
}

bool CI_MainControl::changeLanguage(int languageId) {
    // An impossible id is refused before it reaches the file, so the next
    // start does not end on it as well.
    if (languageId != 0 && languageId != 1) {
        qFatal("Unknow LanguageID.");
    }
    userOpt.LanguageID = languageId;
    if (!userOpt.saveUserOpt(UserOpt_LanguageID)) {
        // The pages choose their style sheets and pictures by the stored
        // language: switching only the texts would leave them half switched.
        userOpt.loadUserOpt(UserOpt_LanguageID);
        qWarning() << "LanguageID not saved, the language stays" << userOpt.LanguageID;
        return false;
    }
    installTranslators(languageId);
    return true;
}

void CI_MainControl::installTranslators(int languageId) {
    switch (languageId) {
        case 0: {
            qDebug() << "installTranslator.";
            translator.load(QStringLiteral(":/en_CN.qm"));
            QCoreApplication::installTranslator(&translator);
            const QString qtFolder = QLibraryInfo::location(QLibraryInfo::TranslationsPath);
            if (qtTranslator.load(QStringLiteral("qt_zh_CN"), qtFolder)) {
                QCoreApplication::installTranslator(&qtTranslator);
            } else {
                qWarning() << "no Qt translation qt_zh_CN in" << qtFolder;
            }
            break;
        }
        case 1:
            qDebug() << "removeTranslator.";
            QCoreApplication::removeTranslator(&qtTranslator);
            QCoreApplication::removeTranslator(&translator);
            break;
        default:
            qFatal("Unknow LanguageID.");
    }
}

int CI_MainControl::readMachineName() {
    QSettings settings(machineIniPath(), QSettings::IniFormat);
    const QString name = settings.value(QStringLiteral("Machine/MachineName")).toString();
    if (name == QLatin1String("320")) {
        return Varnu_320;
    }
    if (name == QLatin1String("520")) {
        return Varnu_520;
    }
    if (name == QLatin1String("550")) {
        return Varnu_550;
    }
    return 3;
}

int CI_MainControl::readExperimentType() {
    QSettings settings(machineIniPath(), QSettings::IniFormat);
    const QVariant value = settings.value(QStringLiteral("Machine/ExperimentType"));
    if (!value.isValid()) {
        return Varnu;
    }
    bool ok = false;
    const int type = value.toString().trimmed().toInt(&ok);
    return ok && type >= Varnu && type <= MultFluore ? type : -1;
}

bool CI_MainControl::initMachineName() {
    machineName = readMachineName();
    qDebug() << "MachineName:" << machineNameToString(machineName);
    if (machineName > Varnu_550) {
        qFatal("Unknow MachineName.");
    }
    expType = readExperimentType();
    if (expType < 0) {
        qFatal("Unknow ExperimentType.");
    }
    // Both run: each writes what it can.
    const bool firstStartStored = initVarnuPara();
    const bool seedsStored = seedMissingDefaults();
    if (!firstStartStored || !seedsStored) {
        tellSettingsNotSaved();
    }
    return true;
}

bool CI_MainControl::initVarnuPara() {
    userOpt.loadUserOpt(UserOpt_AlreadyRun);
    if (userOpt.AlreadyRun) {
        return true;
    }
    qDebug() << "initVarnuPara.";

    // A user settings file that lost its contents makes a first start as
    // well: the defaults go only where a key is missing, so the camera sets
    // and the port a user saved stay.
    ZdqCamSet set;
    set.Resolution = 0;
    set.Exposure = 300;
    set.Gain = 8;
    set.Contrast = 10;
    set.Gamma = 0;
    set.BrightNess = 25;
    set.Mirror = false;
    set.Flip = false;
    set.SignalAccNum = 2;
    set.SignalAccOpen = true;
    camOpt.zdqDefaultCamSet = set;
    camOpt.zdqCurrentCamSet = set;
    bool stored = camOpt.saveMissing(ZdqDefault_Resolution, ZdqCurrent_SignalAccOpen);
    camOpt.loadZdqDefaultCamSet();
    camOpt.loadZdqCurrentCamSet();

    if (!UserOpts::isStored(UserOpt_comNum)) {
        userOpt.comNum = QStringLiteral("COM2");
        stored = userOpt.saveMissing({UserOpt_comNum}) && stored;
    }
    // Marked done only once the defaults are in place: a start that could
    // not store them tries again.
    if (stored) {
        userOpt.AlreadyRun = true;
        stored = userOpt.saveUserOpt(UserOpt_AlreadyRun);
    }
    return stored;
}

bool CI_MainControl::seedMissingDefaults() {
    // Without these the cooled camera would start at zero exposure and gain
    // and the exposure estimation would divide by a zero parameter. Only keys
    // that are missing are written, so nothing a user saved is overwritten.
    TucsenCamSet seed;
    seed.Resolution = 0;
    seed.ExposurePre = 200;
    seed.GainPre = 200;
    seed.GainCap = 585;
    seed.BlackLevel = 10;
    seed.Contrast = 140;
    seed.Gamma = 66;
    seed.Stretch = 0;
    seed.Flip = 0;
    seed.TimeAcc = false;
    seed.InteAcc = false;
    seed.PixelClock = 2;
    seed.Depth = 1;
    const TucsenCamSet keptDefault = camOpt.tucsenDefaultCamSet;
    const TucsenCamSet keptCurrent = camOpt.tucsenCurrentCamSet;
    camOpt.tucsenDefaultCamSet = seed;
    camOpt.tucsenCurrentCamSet = seed;
    const bool stored = camOpt.saveMissing(TucsenDefault_Resolution, TucsenCurrent_Depth);
    camOpt.tucsenDefaultCamSet = keptDefault;
    camOpt.tucsenCurrentCamSet = keptCurrent;

    if (!UserOpts::isStored(UserOpt_para1)) {
        userOpt.para1 = 1.04;
    }
    if (!UserOpts::isStored(UserOpt_para2)) {
        userOpt.para2 = 0.7;
    }
    return userOpt.saveMissing({UserOpt_para1, UserOpt_para2}) && stored;
}

bool CI_MainControl::initDevice() {
    qDebug() << "initDevice.";
    switch (expType) {
        case Varnu:
        case MultFluore:
            // The multi-fluorescence page drives only lights and filters.
            return initZdqDevice();
        case WesternBlot:
            return initTucsenDevice();
        default:
            qFatal("Unknow CameraBrandAndModel.");
    }
    return false;
}

bool CI_MainControl::initZdqDevice() {
    const bool ok = initSerialPort();
    if (!ok) {
        qDebug() << "initSerialPort failed.";
    }
    return ok;
}

bool CI_MainControl::initTucsenDevice() {
    if (!initTucsenCam()) {
        qDebug() << "initTucsenCam failed.";
        return false;
    }
    const bool ok = initSerialPort();
    if (!ok) {
        qDebug() << "initSerialPort failed.";
    }
    return ok;
}

bool CI_MainControl::initTucsenCam() {
    TucsenCamCtrl* camera = tucsenCamCtrl;
    const QByteArray path = (stationDirPath() + QLatin1Char('/')).toLocal8Bit();
    if (camera->initDevice(path.constData()) != 0) {
        qDebug() << "Device init failed.";
        return false;
    }
    qDebug() << "Device init success";
    // A negative count is the library's failure: no camera either.
    if (camera->deviceCount() <= 0) {
        QMessageBox::warning(nullptr, tr("Warning"), tr("Camera connection error!"),
                             QMessageBox::Ok);
        return false;
    }
    qDebug() << "TucsenCamera connect success";
    camera->deviceName = QByteArray(camera->deviceNameAt(0));
    if (camera->resumeDevice() != 0) {
        qDebug() << "TucsenCamera resume failed.";
        return false;
    }
    qDebug() << "TucsenCamera resume success";
    // Without a frame size there is nothing to preview into.
    if (!camera->initBuffers()) {
        qDebug() << "initBuffers failed.";
        return false;
    }
    camOpt.loadTucsenCurrentCamSet();
    const TucsenCamSet& set = camOpt.tucsenCurrentCamSet;
    if (!camera->setPreviewPara(set.ExposurePre, set.GainPre, set.BlackLevel, set.Contrast,
                                set.Gamma, set.Stretch != 0, set.Flip, set.PixelClock)) {
        return false;
    }
    camera->suspendDevice();
    if (camera->setResolution(set.Resolution) != 0) {
        qDebug() << "Resolution set failed.";
        return false;
    }
    if (camera->setRawDepth(8 + 8 * set.Depth) != 0) {
        qDebug() << "RawDepth set failed.";
        return false;
    }
    return true;
}

bool CI_MainControl::initSerialPort() {
    userOpt.loadUserOpt(UserOpt_comNum);
    const SerialPortCatalog::SerialPortChoice choice =
        SerialPortCatalog::chooseSerialPort(userOpt.comNum);
    if (!choice.found) {
        qWarning().noquote()
            << QStringLiteral("initSerialPort: no serial port named \"%1\".").arg(userOpt.comNum);
        // The port looked for, under the box's own text.
        QMessageBox box(QMessageBox::Warning, tr("Warning"), tr("SerialPort connection error!"),
                        QMessageBox::Ok);
        box.setInformativeText(userOpt.comNum);
        box.exec();
        return false;
    }
    serialConnected = true;
    ConnectToPort(choice.portName);
    QThread::msleep(50);
    return serialConnected;
}

void CI_MainControl::ConnectToPort(QString portName) {
    qDebug() << "ConnectToPort:" << portName;
    serialPortThread->openPort(portName, QSerialPort::Baud1200);
}

void CI_MainControl::readDataHandle(QByteArray data) {
    // Every byte of a delivery is a status of its own, in the order sent.
    // Bytes that are no status (noise on the line) reach no page; they are
    // counted into a log line a second instead of one line each.
    const QVector<VarnuDataBit> bits = VarnuStatusDecoder::decode(data);
    int unknown = 0;
    for (const VarnuDataBit bit : bits) {
        if (!VarnuStatusDecoder::isStatus(bit)) {
            ++unknown;
            continue;
        }
        qDebug() << VarnuStatusDecoder::logText(bit);
        emit changeBtnStaus(bit);
    }
    unknownStatusLog.add(unknown);
}

void CI_MainControl::errorHandle(Serial_ErrorCode code) {
    switch (code) {
        case Err_OpenFail:
            qDebug() << "Err_OpenFail";
            break;
        case Err_Unknow:
            qDebug() << "Err_Unknow.";
            break;
        default:
            qFatal("Unknow Serial_ErrorCode.");
    }
}
