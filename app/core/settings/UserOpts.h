#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <initializer_list>
#include <mutex>

// One number per key of the group UserOption of Ini/userOption.ini.
enum UserOptType {
    UserOpt_AlreadyRun = 3,
    UserOpt_WbMarker,
    UserOpt_LanguageID,
    UserOpt_ExpTime,
    UserOpt_CapCount,
    UserOpt_ExpTime_1,  // 8
    UserOpt_ExpTime_2,
    UserOpt_ExpTime_3,
    UserOpt_ExpTime_4,
    UserOpt_ExpTime_5,
    UserOpt_ExpTime_6,
    UserOpt_ExpTime_7,
    UserOpt_ExpTime_8,
    UserOpt_ExpTime_9,
    UserOpt_ExpTime_10,  // 17
    UserOpt_MainTitle,
    UserOpt_SubTitle,
    UserOpt_shutDownTime,
    UserOpt_imageShowMode,
    UserOpt_storagePath,
    UserOpt_sampleImageBkColor,
    UserOpt_para1,
    UserOpt_para2,
    UserOpt_curDate,
    UserOpt_curExpNum,
    UserOpt_comNum,
    UserOpt_isAddWaterMark,
    UserOpt_isCheckLogin  // 30
};

// The user-level options: kept in memory and mirrored one key at a time in the
// group UserOption of Ini/userOption.ini of the station directory. The file is
// the authority: readers load the key they need right before use. Every
// operation opens the file anew and is serialised with the others of this
// object.
class UserOpts : public QObject {
    Q_OBJECT
  public:
    explicit UserOpts(QObject* parent = nullptr);

    // Writes / reads the field of one number; a number outside 3 to 30 is the
    // fatal message "Unknow UserOptType." and the file is not touched. The
    // save tells whether the file was written.
    [[nodiscard]] bool saveUserOpt(int type);
    void loadUserOpt(int type);
    // Writes the fields of several numbers in one write of the file: all of
    // them are stored or, when the file cannot be written, none (logged).
    [[nodiscard]] bool saveUserOpts(std::initializer_list<int> types);
    // As saveUserOpts for those of the numbers whose keys the file does not
    // hold yet; keys it holds keep their values. True when none is missing.
    [[nodiscard]] bool saveMissing(std::initializer_list<int> types);

    // The exposure times of a multi-exposure capture: CapCount entries of three
    // texts (minutes, seconds, milliseconds), ExpTime_1 to ExpTime_10 and
    // ExpTime_10 again from the tenth picture on; each list is reloaded from
    // the file. Empty when CapCount is 0 or less.
    QList<QStringList> loadExpTimeList();

    // Key name of a number, or an empty text outside 3 to 30.
    static QString keyOf(int type);
    // Whether the file holds the key of a number (3 to 30).
    static bool isStored(int type);
    static QString filePath();

    bool AlreadyRun = false;
    bool WbMarker = false;
    int LanguageID = 0;
    int ExpTime = 0;
    int CapCount = 0;
    QStringList ExpTime_1;
    QStringList ExpTime_2;
    QStringList ExpTime_3;
    QStringList ExpTime_4;
    QStringList ExpTime_5;
    QStringList ExpTime_6;
    QStringList ExpTime_7;
    QStringList ExpTime_8;
    QStringList ExpTime_9;
    QStringList ExpTime_10;
    QString MainTitle;
    QString SubTitle;
    int shutDownTime = 0;
    int imageShowMode = 0;
    QString storagePath;
    int sampleImageBkColor = 0;
    double para1 = 0.0;
    double para2 = 0.0;
    QString curDate;
    int curExpNum = 0;
    QString comNum;
    int isAddWaterMark = 0;
    int isCheckLogin = 0;

  private:
    struct Field {
        bool* b = nullptr;
        int* i = nullptr;
        double* d = nullptr;
        QString* s = nullptr;
        QStringList* l = nullptr;
    };
    Field fieldOf(int type);
    [[nodiscard]] bool saveValues(std::initializer_list<int> types, bool missingOnly);

    std::recursive_mutex mutex_;
};
