#include "serial/DarkroomEnums.h"

#include <QSerialPort>

namespace {

template <size_t N>
int textToValue(const char* const (&texts)[N], const QString& text) {
    for (size_t i = 0; i < N; ++i) {
        if (text == QLatin1String(texts[i])) {
            return static_cast<int>(i);
        }
    }
    return static_cast<int>(N);
}

template <size_t N>
QString valueToText(const char* const (&texts)[N], int value, const char* unknown) {
    if (value < 0 || value >= static_cast<int>(N)) {
        return QString::fromLatin1(unknown);
    }
    return QString::fromLatin1(texts[value]);
}

const char* const kVarnuLightTexts[] = {"No Light", "White Light", "UV254nm", "UV302nm", "UV365nm"};
const char* const kMultLightTexts[] = {"No Light", "Red Light", "Green Light", "Blue Light",
                                       "NearIR Light"};
const char* const kFilterTexts[] = {"No Filter",  "460 Filter", "535 Filter",
                                    "590 Filter", "620 Filter", "690 Filter"};

}  // namespace

int stringToVarnuLightType(const QString& text) {
    return textToValue(kVarnuLightTexts, text);
}

QString varnuLightTypeToString(const int& value) {
    return valueToText(kVarnuLightTexts, value, "Unknow Varnu_LightType");
}

int stringToMultLightType(const QString& text) {
    return textToValue(kMultLightTexts, text);
}

QString multLightTypeToString(const int& value) {
    return valueToText(kMultLightTexts, value, "Unknow Mult_LightType");
}

int stringToFilterType(const QString& text) {
    return textToValue(kFilterTexts, text);
}

QString filterTypeToString(const int& value) {
    return valueToText(kFilterTexts, value, "Unknow FilterType");
}

void registerDarkroomMetaTypes() {
    qRegisterMetaType<VarnuDataBit>("VarnuDataBit");
    qRegisterMetaType<Serial_ErrorCode>("Serial_ErrorCode");
    qRegisterMetaType<QSerialPort::SerialPortError>("QSerialPort::SerialPortError");
}
