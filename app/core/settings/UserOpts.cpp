#include "settings/UserOpts.h"

#include "base/StationDir.h"

#include "settings/IniWrite.h"

#include <QSettings>
#include <QtGlobal>

namespace {

constexpr int kFirstUserOpt = UserOpt_AlreadyRun;
constexpr int kLastUserOpt = UserOpt_isCheckLogin;

const char* const kKeys[] = {
    "AlreadyRun",         "WbMarker",     "LanguageID",     "ExpTime",
    "CapCount",           "ExpTime_1",    "ExpTime_2",      "ExpTime_3",
    "ExpTime_4",          "ExpTime_5",    "ExpTime_6",      "ExpTime_7",
    "ExpTime_8",          "ExpTime_9",    "ExpTime_10",     "MainTitle",
    "SubTitle",           "shutDownTime", "imageShowMode",  "storagePath",
    "sampleImageBkColor", "para1",        "para2",          "curDate",
    "curExpNum",          "comNum",       "isAddWaterMark", "isCheckLogin"};

bool isUserOpt(int type) {
    return type >= kFirstUserOpt && type <= kLastUserOpt;
}

}  // namespace

UserOpts::UserOpts(QObject* parent) : QObject(parent) {}

QString UserOpts::filePath() {
    return stationFilePath(QStringLiteral("Ini/userOption.ini"));
}

QString UserOpts::keyOf(int type) {
    return isUserOpt(type) ? QLatin1String(kKeys[type - kFirstUserOpt]) : QString();
}

bool UserOpts::isStored(int type) {
    if (!isUserOpt(type)) {
        return false;
    }
    QSettings settings(filePath(), QSettings::IniFormat);
    settings.beginGroup(QStringLiteral("UserOption"));
    return settings.contains(keyOf(type));
}

UserOpts::Field UserOpts::fieldOf(int type) {
    Field f;
    switch (type) {
        case UserOpt_AlreadyRun:
            f.b = &AlreadyRun;
            break;
        case UserOpt_WbMarker:
            f.b = &WbMarker;
            break;
        case UserOpt_LanguageID:
            f.i = &LanguageID;
            break;
        case UserOpt_ExpTime:
            f.i = &ExpTime;
            break;
        case UserOpt_CapCount:
            f.i = &CapCount;
            break;
        case UserOpt_ExpTime_1:
            f.l = &ExpTime_1;
            break;
        case UserOpt_ExpTime_2:
            f.l = &ExpTime_2;
            break;
        case UserOpt_ExpTime_3:
            f.l = &ExpTime_3;
            break;
        case UserOpt_ExpTime_4:
            f.l = &ExpTime_4;
            break;
        case UserOpt_ExpTime_5:
            f.l = &ExpTime_5;
            break;
        case UserOpt_ExpTime_6:
            f.l = &ExpTime_6;
            break;
        case UserOpt_ExpTime_7:
            f.l = &ExpTime_7;
            break;
        case UserOpt_ExpTime_8:
            f.l = &ExpTime_8;
            break;
        case UserOpt_ExpTime_9:
            f.l = &ExpTime_9;
            break;
        case UserOpt_ExpTime_10:
            f.l = &ExpTime_10;
            break;
        case UserOpt_MainTitle:
            f.s = &MainTitle;
            break;
        case UserOpt_SubTitle:
            f.s = &SubTitle;
            break;
        case UserOpt_shutDownTime:
            f.i = &shutDownTime;
            break;
        case UserOpt_imageShowMode:
            f.i = &imageShowMode;
            break;
        case UserOpt_storagePath:
            f.s = &storagePath;
            break;
        case UserOpt_sampleImageBkColor:
            f.i = &sampleImageBkColor;
            break;
        case UserOpt_para1:
            f.d = &para1;
            break;
        case UserOpt_para2:
            f.d = &para2;
            break;
        case UserOpt_curDate:
            f.s = &curDate;
            break;
        case UserOpt_curExpNum:
            f.i = &curExpNum;
            break;
        case UserOpt_comNum:
            f.s = &comNum;
            break;
        case UserOpt_isAddWaterMark:
            f.i = &isAddWaterMark;
            break;
        default:
            f.i = &isCheckLogin;
            break;
    }
    return f;
}

bool UserOpts::saveUserOpt(int type) {
    return saveUserOpts({type});
}

bool UserOpts::saveUserOpts(std::initializer_list<int> types) {
    return saveValues(types, false);
}

bool UserOpts::saveMissing(std::initializer_list<int> types) {
    return saveValues(types, true);
}

bool UserOpts::saveValues(std::initializer_list<int> types, bool missingOnly) {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    IniValues values;
    for (int type : types) {
        if (!isUserOpt(type)) {
            qFatal("Unknow UserOptType.");
        }
        if (missingOnly && isStored(type)) {
            continue;
        }
        const Field f = fieldOf(type);
        QVariant value;
        if (f.b != nullptr) {
            value = *f.b;
        } else if (f.i != nullptr) {
            value = *f.i;
        } else if (f.d != nullptr) {
            value = *f.d;
        } else if (f.s != nullptr) {
            value = *f.s;
        } else {
            value = *f.l;
        }
        values.append({keyOf(type), value});
    }
    return values.isEmpty() || writeIniValues(filePath(), QStringLiteral("UserOption"), values);
}

void UserOpts::loadUserOpt(int type) {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    if (!isUserOpt(type)) {
        qFatal("Unknow UserOptType.");
    }
    QSettings settings(filePath(), QSettings::IniFormat);
    settings.beginGroup(QStringLiteral("UserOption"));
    const QVariant value = settings.value(keyOf(type));
    settings.endGroup();
    const Field f = fieldOf(type);
    if (f.b != nullptr) {
        *f.b = value.toBool();
    } else if (f.i != nullptr) {
        *f.i = value.toInt();
    } else if (f.d != nullptr) {
        *f.d = value.toDouble();
    } else if (f.s != nullptr) {
        *f.s = value.toString();
    } else {
        *f.l = value.toStringList();
    }
}

QList<QStringList> UserOpts::loadExpTimeList() {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    loadUserOpt(UserOpt_CapCount);
    QList<QStringList> result;
    for (int i = 1; i <= CapCount; ++i) {
        const int type = i <= 10 ? UserOpt_CapCount + i : static_cast<int>(UserOpt_ExpTime_10);
        loadUserOpt(type);
        result.append(*fieldOf(type).l);
    }
    return result;
}
