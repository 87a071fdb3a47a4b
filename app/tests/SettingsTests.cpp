#include "TestStation.h"
#include "settings/CamOpts.h"
#include "settings/UserOpts.h"

#include <QSettings>
#include <QVariant>

#include "QtPrinters.h"

#include <gtest/gtest.h>

namespace {

QVariant rawCamValue(const QString& key) {
    QSettings ini(CamOpts::filePath(), QSettings::IniFormat);
    return ini.value(key);
}

// Number, key, whether the key is boolean.
struct CamKey {
    int number;
    QString key;
    bool isBool;
};

std::vector<CamKey> camKeys() {
    const char* zdq[] = {"Resolution", "Exposure", "Gain", "Contrast",     "BrightNess",
                         "Gamma",      "Mirror",   "Flip", "SignalAccNum", "SignalAccOpen"};
    const bool zdqBool[] = {false, false, false, false, false, false, true, true, false, true};
    const char* tucsen[] = {"Resolution", "ExposurePre", "GainPre", "GainCap", "BlackLevel",
                            "Contrast",   "Gamma",       "Stretch", "Flip",    "TimeAcc",
                            "InteAcc",    "PixelClock",  "Depth"};
    const bool tucsenBool[] = {false, false, false, false, false, false, false,
                               false, false, true,  true,  false, false};
    std::vector<CamKey> keys;
    auto add = [&](int n, const char* group, const char* key, bool b) {
        keys.push_back({n, QString::fromLatin1(group) + "/" + key, b});
    };
    for (int i = 0; i < 10; ++i) {
        add(i, "ZdqDefaultCamSet", zdq[i], zdqBool[i]);
    }
    for (int i = 0; i < 10; ++i) {
        add(10 + i, "ZdqCurrentCamSet", zdq[i], zdqBool[i]);
    }
    for (int i = 0; i < 13; ++i) {
        add(20 + i, "TucsenDefaultCamSet", tucsen[i], tucsenBool[i]);
    }
    for (int i = 0; i < 13; ++i) {
        add(33 + i, "TucsenCurrentCamSet", tucsen[i], tucsenBool[i]);
    }
    return keys;
}

TEST(CamOpts, FreshFileLoadsZeroAndFalse) {
    TestStation station("camopts-fresh");
    CamOpts opts;
    opts.zdqCurrentCamSet.Exposure = 77;
    opts.zdqCurrentCamSet.Mirror = true;
    opts.loadZdqCurrentCamSet();
    EXPECT_EQ(opts.zdqCurrentCamSet.Exposure, 0);
    EXPECT_FALSE(opts.zdqCurrentCamSet.Mirror);
    opts.tucsenCurrentCamSet.Depth = 1;
    opts.loadTucsenCurrentCamSet();
    EXPECT_EQ(opts.tucsenCurrentCamSet.Depth, 0);
}

// Every number writes its own key with its own type; a second object reads
// each value back through the same number.
TEST(CamOpts, EveryNumberHasItsKeyAndType) {
    TestStation station("camopts-keys");
    const std::vector<CamKey> keys = camKeys();
    ASSERT_EQ(keys.size(), 46u);
    for (const CamKey& k : keys) {
        SCOPED_TRACE(k.key.toStdString());
        EXPECT_EQ(CamOpts::keyOf(k.number), k.key);
    }

    CamOpts writer;
    writer.zdqDefaultCamSet = {1, 2, 3, 4, 5, 6, true, false, 9, true};
    writer.zdqCurrentCamSet = {11, 12, 13, 14, 15, 16, false, true, 19, false};
    writer.tucsenDefaultCamSet = {21, 22, 23, 24, 25, 26, 27, 28, 29, true, false, 32, 1};
    writer.tucsenCurrentCamSet = {34, 35, 36, 37, 38, 39, 40, 41, 42, false, true, 45, 0};
    EXPECT_TRUE(writer.saveZdqDefaultCamSet());
    EXPECT_TRUE(writer.saveZdqCurrentCamSet());
    EXPECT_TRUE(writer.saveTucsenDefaultCamSet());
    EXPECT_TRUE(writer.saveTucsenCurrentCamSet());

    for (const CamKey& k : keys) {
        SCOPED_TRACE(k.key.toStdString());
        const QString raw = rawCamValue(k.key).toString();
        if (k.isBool) {
            EXPECT_TRUE(raw == "true" || raw == "false") << raw.toStdString();
        } else {
            bool isNumber = false;
            raw.toInt(&isNumber);
            EXPECT_TRUE(isNumber) << raw.toStdString();
        }
    }
    EXPECT_EQ(rawCamValue("ZdqDefaultCamSet/BrightNess").toString(), "6");
    EXPECT_EQ(rawCamValue("ZdqDefaultCamSet/Gamma").toString(), "5");
    EXPECT_EQ(rawCamValue("ZdqDefaultCamSet/Mirror").toString(), "true");
    EXPECT_EQ(rawCamValue("TucsenCurrentCamSet/InteAcc").toString(), "true");
    EXPECT_EQ(rawCamValue("TucsenCurrentCamSet/Flip").toString(), "42");

    CamOpts reader;
    reader.loadZdqDefaultCamSet();
    reader.loadZdqCurrentCamSet();
    reader.loadTucsenDefaultCamSet();
    reader.loadTucsenCurrentCamSet();
    EXPECT_EQ(reader.zdqDefaultCamSet.Gamma, 5);
    EXPECT_EQ(reader.zdqDefaultCamSet.BrightNess, 6);
    EXPECT_TRUE(reader.zdqDefaultCamSet.SignalAccOpen);
    EXPECT_EQ(reader.zdqCurrentCamSet.Exposure, 12);
    EXPECT_TRUE(reader.zdqCurrentCamSet.Flip);
    EXPECT_EQ(reader.tucsenDefaultCamSet.PixelClock, 32);
    EXPECT_EQ(reader.tucsenDefaultCamSet.Depth, 1);
    EXPECT_TRUE(reader.tucsenCurrentCamSet.InteAcc);
    EXPECT_FALSE(reader.tucsenCurrentCamSet.TimeAcc);
    EXPECT_EQ(reader.tucsenCurrentCamSet.Flip, 42);
}

TEST(CamOpts, SingleKeyRoundTripAndNonNumbers) {
    TestStation station("camopts-single");
    CamOpts opts;
    opts.zdqCurrentCamSet.Exposure = 300;
    EXPECT_TRUE(opts.saveCamOpt(ZdqCurrent_Exposure));
    CamOpts later;
    later.loadCamOpt(ZdqCurrent_Exposure);
    EXPECT_EQ(later.zdqCurrentCamSet.Exposure, 300);

    {
        QSettings ini(CamOpts::filePath(), QSettings::IniFormat);
        ini.setValue("ZdqCurrentCamSet/Gain", "abc");
    }
    later.zdqCurrentCamSet.Gain = 5;
    later.loadCamOpt(ZdqCurrent_Gain);
    EXPECT_EQ(later.zdqCurrentCamSet.Gain, 0);
}

TEST(CamOptsDeathTest, NumbersOutsideTheTableAreFatal) {
    TestStation station("camopts-fatal");
    CamOpts opts;
    EXPECT_DEATH(opts.loadCamOpt(46), "Unknow CamOptType\\.");
    EXPECT_DEATH(static_cast<void>(opts.saveCamOpt(-1)), "Unknow CamOptType\\.");
}

TEST(UserOpts, KeysTypesAndRoundTrip) {
    TestStation station("useropts-keys");
    const QStringList expected = {
        "AlreadyRun",         "WbMarker",     "LanguageID",     "ExpTime",
        "CapCount",           "ExpTime_1",    "ExpTime_2",      "ExpTime_3",
        "ExpTime_4",          "ExpTime_5",    "ExpTime_6",      "ExpTime_7",
        "ExpTime_8",          "ExpTime_9",    "ExpTime_10",     "MainTitle",
        "SubTitle",           "shutDownTime", "imageShowMode",  "storagePath",
        "sampleImageBkColor", "para1",        "para2",          "curDate",
        "curExpNum",          "comNum",       "isAddWaterMark", "isCheckLogin"};
    for (int n = 3; n <= 30; ++n) {
        EXPECT_EQ(UserOpts::keyOf(n), expected.at(n - 3)) << n;
    }
    EXPECT_TRUE(UserOpts::keyOf(2).isEmpty());
    EXPECT_TRUE(UserOpts::keyOf(31).isEmpty());

    UserOpts w;
    w.AlreadyRun = true;
    w.LanguageID = 1;
    w.ExpTime_3 = QStringList{"1", "30", "0"};
    w.MainTitle = QStringLiteral("凝胶报告, \"A\"");
    w.para1 = 1.04;
    w.comNum = "COM3";
    w.isCheckLogin = 1;
    for (int n : {UserOpt_AlreadyRun, UserOpt_LanguageID, UserOpt_ExpTime_3, UserOpt_MainTitle,
                  UserOpt_para1, UserOpt_comNum, UserOpt_isCheckLogin}) {
        EXPECT_TRUE(w.saveUserOpt(n));
    }
    EXPECT_EQ(station.userOption("AlreadyRun").toString(), "true");
    EXPECT_EQ(station.userOption("comNum").toString(), "COM3");

    UserOpts r;
    for (int n = 3; n <= 30; ++n) {
        r.loadUserOpt(n);
    }
    EXPECT_TRUE(r.AlreadyRun);
    EXPECT_FALSE(r.WbMarker);
    EXPECT_EQ(r.LanguageID, 1);
    EXPECT_EQ(r.ExpTime_3, QStringList({"1", "30", "0"}));
    EXPECT_TRUE(r.ExpTime_4.isEmpty());
    EXPECT_EQ(r.MainTitle, QStringLiteral("凝胶报告, \"A\""));
    EXPECT_DOUBLE_EQ(r.para1, 1.04);
    EXPECT_DOUBLE_EQ(r.para2, 0.0);
    EXPECT_EQ(r.comNum, "COM3");
    EXPECT_EQ(r.isCheckLogin, 1);
    EXPECT_TRUE(r.storagePath.isEmpty());
}

TEST(UserOpts, MissingFileReadsEmptyValues) {
    TestStation station("useropts-missing");
    UserOpts r;
    r.AlreadyRun = true;
    r.LanguageID = 1;
    r.comNum = "x";
    r.loadUserOpt(UserOpt_AlreadyRun);
    r.loadUserOpt(UserOpt_LanguageID);
    r.loadUserOpt(UserOpt_comNum);
    EXPECT_FALSE(r.AlreadyRun);
    EXPECT_EQ(r.LanguageID, 0);
    EXPECT_TRUE(r.comNum.isEmpty());
}

TEST(UserOpts, ExposureTimeListFollowsCapCount) {
    TestStation station("useropts-explist");
    UserOpts w;
    for (int i = 0; i < 10; ++i) {
        QStringList* list = &w.ExpTime_1 + i;
        *list = QStringList{QString::number(i), QString::number(i + 1), QString::number(i * 100)};
        EXPECT_TRUE(w.saveUserOpt(UserOpt_ExpTime_1 + i));
    }
    struct Case {
        int capCount;
        int entries;
    };
    for (const Case c : {Case{0, 0}, Case{-3, 0}, Case{2, 2}, Case{10, 10}, Case{12, 12}}) {
        SCOPED_TRACE(c.capCount);
        w.CapCount = c.capCount;
        EXPECT_TRUE(w.saveUserOpt(UserOpt_CapCount));
        UserOpts r;
        const QList<QStringList> list = r.loadExpTimeList();
        ASSERT_EQ(list.size(), c.entries);
        for (int i = 0; i < list.size(); ++i) {
            const int source = std::min(i, 9);
            EXPECT_EQ(list.at(i), QStringList({QString::number(source), QString::number(source + 1),
                                               QString::number(source * 100)}));
        }
    }
}

TEST(UserOptsDeathTest, NumbersOutsideTheTableAreFatal) {
    TestStation station("useropts-fatal");
    UserOpts opts;
    EXPECT_DEATH(opts.loadUserOpt(31), "Unknow UserOptType\\.");
    EXPECT_DEATH(static_cast<void>(opts.saveUserOpt(2)), "Unknow UserOptType\\.");
}

}  // namespace
