#include <gtest/gtest.h>

#include <QString>
#include <QStringList>
#include <functional>

#include "serial/DarkroomEnums.h"

TEST(DarkroomEnums, TextsOfLightsAndFilters) {
    struct Table {
        std::function<int(const QString&)> toValue;
        std::function<QString(const int&)> toText;
        QStringList texts;
        const char* unknown;
    };
    const Table tables[] = {
        {stringToVarnuLightType,
         varnuLightTypeToString,
         {"No Light", "White Light", "UV254nm", "UV302nm", "UV365nm"},
         "Unknow Varnu_LightType"},
        {stringToMultLightType,
         multLightTypeToString,
         {"No Light", "Red Light", "Green Light", "Blue Light", "NearIR Light"},
         "Unknow Mult_LightType"},
        {stringToFilterType,
         filterTypeToString,
         {"No Filter", "460 Filter", "535 Filter", "590 Filter", "620 Filter", "690 Filter"},
         "Unknow FilterType"},
    };
    for (const Table& t : tables) {
        for (int value = 0; value < t.texts.size(); ++value) {
            EXPECT_EQ(t.toText(value), t.texts[value]);
            EXPECT_EQ(t.toValue(t.texts[value]), value);
        }
        const int past = t.texts.size();
        const int negative = -1;
        EXPECT_EQ(t.toText(past), t.unknown);
        EXPECT_EQ(t.toText(negative), t.unknown);
        EXPECT_EQ(t.toValue(t.texts[1].toLower()), past);  // case-sensitive
        EXPECT_EQ(t.toValue(QString()), past);
    }
    EXPECT_EQ(stringToFilterType("690 filter"), 6);
    EXPECT_EQ(stringToFilterType("690 Filter"), 5);
}
