#include "settings/CamOpts.h"

#include "base/StationDir.h"

#include "settings/IniWrite.h"

#include <QSettings>
#include <QVariant>
#include <QtGlobal>

namespace {

constexpr int kLastCamOpt = TucsenCurrent_Depth;

const char* const kZdqKeys[] = {"Resolution", "Exposure", "Gain", "Contrast",     "BrightNess",
                                "Gamma",      "Mirror",   "Flip", "SignalAccNum", "SignalAccOpen"};
const char* const kTucsenKeys[] = {"Resolution", "ExposurePre", "GainPre", "GainCap", "BlackLevel",
                                   "Contrast",   "Gamma",       "Stretch", "Flip",    "TimeAcc",
                                   "InteAcc",    "PixelClock",  "Depth"};

}  // namespace

CamOpts::CamOpts(QObject* parent) : QObject(parent) {}

QString CamOpts::filePath() {
    return stationFilePath(QStringLiteral("Ini/camOption.ini"));
}

QString CamOpts::keyOf(int type) {
    if (type < 0 || type > kLastCamOpt) {
        return QString();
    }
    if (type < ZdqCurrent_Resolution) {
        return QStringLiteral("ZdqDefaultCamSet/") + QLatin1String(kZdqKeys[type]);
    }
    if (type < TucsenDefault_Resolution) {
        return QStringLiteral("ZdqCurrentCamSet/") +
               QLatin1String(kZdqKeys[type - ZdqCurrent_Resolution]);
    }
    if (type < TucsenCurrent_Resolution) {
        return QStringLiteral("TucsenDefaultCamSet/") +
               QLatin1String(kTucsenKeys[type - TucsenDefault_Resolution]);
    }
    return QStringLiteral("TucsenCurrentCamSet/") +
           QLatin1String(kTucsenKeys[type - TucsenCurrent_Resolution]);
}

bool CamOpts::isStored(int type) {
    if (type < 0 || type > kLastCamOpt) {
        return false;
    }
    QSettings settings(filePath(), QSettings::IniFormat);
    return settings.contains(keyOf(type));
}

CamOpts::Field CamOpts::fieldOf(int type) {
    auto zdq = [](ZdqCamSet& s, int i) -> Field {
        switch (i) {
            case 0:
                return {&s.Resolution, nullptr};
            case 1:
                return {&s.Exposure, nullptr};
            case 2:
                return {&s.Gain, nullptr};
            case 3:
                return {&s.Contrast, nullptr};
            case 4:
                return {&s.BrightNess, nullptr};
            case 5:
                return {&s.Gamma, nullptr};
            case 6:
                return {nullptr, &s.Mirror};
            case 7:
                return {nullptr, &s.Flip};
            case 8:
                return {&s.SignalAccNum, nullptr};
            default:
                return {nullptr, &s.SignalAccOpen};
        }
    };
    auto tucsen = [](TucsenCamSet& s, int i) -> Field {
        switch (i) {
            case 0:
                return {&s.Resolution, nullptr};
            case 1:
                return {&s.ExposurePre, nullptr};
            case 2:
                return {&s.GainPre, nullptr};
            case 3:
                return {&s.GainCap, nullptr};
            case 4:
                return {&s.BlackLevel, nullptr};
            case 5:
                return {&s.Contrast, nullptr};
            case 6:
                return {&s.Gamma, nullptr};
            case 7:
                return {&s.Stretch, nullptr};
            case 8:
                return {&s.Flip, nullptr};
            case 9:
                return {nullptr, &s.TimeAcc};
            case 10:
                return {nullptr, &s.InteAcc};
            case 11:
                return {&s.PixelClock, nullptr};
            default:
                return {&s.Depth, nullptr};
        }
    };
    if (type < ZdqCurrent_Resolution) {
        return zdq(zdqDefaultCamSet, type);
    }
    if (type < TucsenDefault_Resolution) {
        return zdq(zdqCurrentCamSet, type - ZdqCurrent_Resolution);
    }
    if (type < TucsenCurrent_Resolution) {
        return tucsen(tucsenDefaultCamSet, type - TucsenDefault_Resolution);
    }
    return tucsen(tucsenCurrentCamSet, type - TucsenCurrent_Resolution);
}

bool CamOpts::saveCamOpt(int type) {
    return saveRange(type, type);
}

void CamOpts::loadCamOpt(int type) {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    if (type < 0 || type > kLastCamOpt) {
        qFatal("Unknow CamOptType.");
    }
    QSettings settings(filePath(), QSettings::IniFormat);
    const QVariant value = settings.value(keyOf(type));
    const Field f = fieldOf(type);
    if (f.intField != nullptr) {
        *f.intField = value.toInt();
    } else {
        *f.boolField = value.toBool();
    }
}

bool CamOpts::saveRange(int first, int last, bool missingOnly) {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    if (first < 0 || last > kLastCamOpt) {
        qFatal("Unknow CamOptType.");
    }
    IniValues values;
    for (int t = first; t <= last; ++t) {
        if (missingOnly && isStored(t)) {
            continue;
        }
        const Field f = fieldOf(t);
        values.append(
            {keyOf(t), f.intField != nullptr ? QVariant(*f.intField) : QVariant(*f.boolField)});
    }
    return values.isEmpty() || writeIniValues(filePath(), QString(), values);
}

void CamOpts::loadRange(int first, int last) {
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    for (int t = first; t <= last; ++t) {
        loadCamOpt(t);
    }
}

bool CamOpts::saveZdqDefaultCamSet() {
    return saveRange(ZdqDefault_Resolution, ZdqDefault_SignalAccOpen);
}
bool CamOpts::saveZdqCurrentCamSet() {
    return saveRange(ZdqCurrent_Resolution, ZdqCurrent_SignalAccOpen);
}
bool CamOpts::saveTucsenDefaultCamSet() {
    return saveRange(TucsenDefault_Resolution, TucsenDefault_Depth);
}
bool CamOpts::saveTucsenCurrentCamSet() {
    return saveRange(TucsenCurrent_Resolution, TucsenCurrent_Depth);
}
bool CamOpts::saveMissing(int first, int last) {
    return saveRange(first, last, true);
}
void CamOpts::loadZdqDefaultCamSet() {
    loadRange(ZdqDefault_Resolution, ZdqDefault_SignalAccOpen);
}
void CamOpts::loadZdqCurrentCamSet() {
    loadRange(ZdqCurrent_Resolution, ZdqCurrent_SignalAccOpen);
}
void CamOpts::loadTucsenDefaultCamSet() {
    loadRange(TucsenDefault_Resolution, TucsenDefault_Depth);
}
void CamOpts::loadTucsenCurrentCamSet() {
    loadRange(TucsenCurrent_Resolution, TucsenCurrent_Depth);
}
