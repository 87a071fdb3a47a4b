#include "base/Enumerations.h"

#include <QStringList>

#include "QtPrinters.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

struct EnumTable {
    const char* name;
    std::function<int(const QString&)> toValue;
    std::function<QString(const int&)> toText;
    QStringList texts;
    QString unknownText;
};

std::vector<EnumTable> tables() {
    return {
        {"ExperimentType",
         stringToExperimentType,
         experimentTypeToString,
         {"Varnu", "WesternBlot", "MultFluore"},
         "Unknow ExperimentType."},
        {"BinningMode",
         stringToBinningMode,
         binningModeToString,
         {"1*1", "2*2", "4*4"},
         "Unknow BinningMode"},
        {"MachineName",
         stringToMachineName,
         machineNameToString,
         {"Varnu_320", "Varnu_520", "Varnu_550"},
         "Unknow MachineName"},
        {"ZdqPelion1MResolution",
         stringToZdqPelion1MResolution,
         zdqPelion1MResolutionToString,
         {"1064*850", "532*425", "266*212", "133*106"},
         "Unknow ZdqPelion1MResolution"},
        {"ZdqPelion5MResolution",
         stringToZdqPelion5MResolution,
         zdqPelion5MResolutionToString,
         {"2592X1944", "1296x972", "648x486", "324x243"},
         "Unknow ZdqPelion5MResolution"},
    };
}

TEST(Enumerations, EveryTextConvertsBothWays) {
    for (const EnumTable& t : tables()) {
        SCOPED_TRACE(t.name);
        for (int v = 0; v < t.texts.size(); ++v) {
            EXPECT_EQ(t.toText(v), t.texts.at(v));
            EXPECT_EQ(t.toValue(t.texts.at(v)), v);
        }
    }
}

TEST(Enumerations, OutOfRangeValuesAndUnknownTexts) {
    for (const EnumTable& t : tables()) {
        SCOPED_TRACE(t.name);
        const int count = t.texts.size();
        EXPECT_EQ(t.toText(count), t.unknownText);
        EXPECT_EQ(t.toText(-1), t.unknownText);
        EXPECT_EQ(t.toValue(QString()), count);
        // Comparison is exact and case-sensitive.
        EXPECT_EQ(t.toValue(t.texts.first().toLower() + QStringLiteral("!")), count);
        EXPECT_EQ(t.toValue(t.texts.last() + QLatin1Char(' ')), count);
    }
}

TEST(Enumerations, NamedEdgeCases) {
    EXPECT_EQ(stringToExperimentType("westernblot"), 3);
    EXPECT_EQ(stringToZdqPelion5MResolution("2592x1944"), 4);
    EXPECT_EQ(stringToZdqPelion1MResolution("532x425"), 4);
    EXPECT_EQ(stringToZdqPelion1MResolution("532*425"), 1);
}

}  // namespace
