// Enumerations of the dark room: its light sources, the filter wheel, the
// controller's status bytes and the serial link's error codes, with the texts
// that combo boxes and log lines show.
#pragma once

#include <QMetaType>
#include <QString>

enum Varnu_LightType { NoLight = 0, WhiteLight, UV254nm, UV302nm, UV365nm };

enum Mult_LightType { MultNoLight = 0, RedLight, GreenLight, BlueLight, NearIRLight };

enum FilterType { NoFilter = 0, Filter460, Filter535, Filter590, Filter620, Filter690 };

// Status bytes sent by the dark-room controller. The underlying type is fixed
// because a status signal carries any byte value 0 to 255, known or not.
enum VarnuDataBit : int {
    PowerOpen = 0x0C,
    PowerClose = 0x0D,
    WhiteLightOpen = 0x0E,
    WhiteLightClose = 0x0F,
    UV1Open = 0x10,
    UV1Close = 0x11,
    UV2Open = 0x12,
    UV2Close = 0x13,
    UV3Open = 0x17,
    UV3Close = 0x18,
    UV4Open = 0x19,
    UV4Close = 0x1A,
    ResetFinish = 0x1C,
    ResetStart = 0x1E,
};

enum Serial_ErrorCode { Err_OpenFail = 0, Err_Unknow = 1 };

Q_DECLARE_METATYPE(VarnuDataBit)
Q_DECLARE_METATYPE(Serial_ErrorCode)

// Text to value compares exactly and case-sensitively and gives the count of
// the table for an unknown text; value to text gives "Unknow ..." for a value
// outside the table.
int stringToVarnuLightType(const QString& text);
QString varnuLightTypeToString(const int& value);
int stringToMultLightType(const QString& text);
QString multLightTypeToString(const int& value);
int stringToFilterType(const QString& text);
QString filterTypeToString(const int& value);

// Registers the types that travel in queued signals; safe to call repeatedly.
void registerDarkroomMetaTypes();
