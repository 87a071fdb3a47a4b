#pragma once

#include "base/Enumerations.h"
#include "serial/DarkroomEnums.h"
#include "serial/ModbusMaster.h"
#include "serial/UnknownStatusLog.h"
#include "settings/CamOpts.h"
#include "settings/UserOpts.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTranslator>

class ASyncSerialPortThread;
class AuditTrailDB;
class ExperimentViewDB;
class SampleDB;
class TucsenCamCtrl;
class UserInfo;
class UserInfoDB;
class Varnu_ExperimentDB;
class Westblot_ExperimentDB;
class ZdqCameraCtrl;

// The one application-wide object through which every window, page and
// worker reaches shared state: the settings, the stores, the serial link to
// the dark-room controller, the cooled camera, the logged-in user,
// the current experiment type, the instrument model, the language and the
// instrument's power state. It also decodes the status bytes of the dark-room
// controller. Created on the first getInstance() (from the GUI thread during
// start-up) and kept until the process ends.
class CI_MainControl : public QObject {
    Q_OBJECT
  public:
    static CI_MainControl* getInstance();

    // Reloads LanguageID from the user settings and returns it: 0 Chinese,
    // 1 English.
    int getLanguageID();
    // Saves LanguageID and installs (0) or removes (1) the translators. Any
    // other id is the fatal message "Unknow LanguageID." and is not saved.
    // When the settings file cannot be written nothing switches, the held
    // LanguageID is the stored one again, and false is returned.
    bool changeLanguage(int languageId);
    // Installs (0) or removes (1) the program's translator and Qt's own
    // (qt_zh_CN from Qt's translations folder: the texts of file dialogs and
    // message-box buttons) without saving. Any other id is the fatal message
    // "Unknow LanguageID.".
    void installTranslators(int languageId);

    // The model in machine.ini (Machine/MachineName): "320" 0, "520" 1,
    // "550" 2, anything else (missing included) 3.
    static int readMachineName();
    // The station's experiment type in machine.ini (Machine/ExperimentType):
    // 0 gel/UV, 1 western blot, 2 multi-fluorescence; missing means 0. A value
    // that is not one of these gives -1.
    static int readExperimentType();

    // Reads the model (unknown: fatal "Unknow MachineName."), sets the
    // experiment type of the station and writes the first-run defaults; a
    // default that cannot be stored is told to the user.
    bool initMachineName();
    // The first-run defaults where keys are missing, AlreadyRun last; true
    // when stored (or not a first run).
    bool initVarnuPara();
    bool initDevice();
    bool initZdqDevice();
    bool initTucsenDevice();
    bool initTucsenCam();
    bool initSerialPort();
    void ConnectToPort(QString portName);

    CamOpts camOpt;
    UserOpts userOpt;
    UserInfoDB* userInfoDB = nullptr;
    Varnu_ExperimentDB* varnuExperimentDB = nullptr;
    Westblot_ExperimentDB* westblotExperimentDB = nullptr;
    ExperimentViewDB* experimentViewDB = nullptr;
    SampleDB* sampleDB = nullptr;
    AuditTrailDB* auditTrailDB = nullptr;
    ASyncSerialPortThread* serialPortThread = nullptr;
    ZdqCameraCtrl* zdqCameraCtrl = nullptr;
    TucsenCamCtrl* tucsenCamCtrl = nullptr;
    ModbusMaster modbusMaster;
    // Bytes from the controller that are no status, logged by the second.
    UnknownStatusLog unknownStatusLog;
    int expType = Varnu;
    UserInfo* currentUser = nullptr;
    uchar* pictureBuffer = nullptr;
    QTranslator translator;
    QTranslator qtTranslator;
    bool mainWindowShown = false;
    bool serialConnected = false;
    int machineName = Varnu_320;
    bool powerOn = false;

  signals:
    void updateDoorStatus(bool open);
    void timeoutShutDown();
    void lensFocusReset();
    void changeBtnStaus(VarnuDataBit dataBit);

  public slots:
    void readDataHandle(QByteArray data);
    void errorHandle(Serial_ErrorCode code);

  private:
    CI_MainControl();
    ~CI_MainControl() override;

    // Seeds the cooled camera's settings sets and the exposure-estimation
    // parameters where their keys are missing; true when stored.
    bool seedMissingDefaults();
};
