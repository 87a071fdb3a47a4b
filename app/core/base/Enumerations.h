#pragma once

#include <QMetaType>
#include <QString>

// Small enumerations shared by the pages, the controller, the serial link and
// the camera back-ends, with their texts. The texts are the program's
// vocabulary (combo boxes, log lines, file and database contents) and are
// fixed letter for letter.

// Light source of the gel/UV page.
enum Varnu_LightType { NoLight = 0, WhiteLight, UV254nm, UV302nm, UV365nm };

// Light source of the multi-fluorescence page.
enum Mult_LightType { Mult_NoLight = 0, RedLight, GreenLight, BlueLight, NearIRLight };

// Position of the filter wheel.
enum FilterType { NoFilter = 0, Filter460, Filter535, Filter590, Filter620, Filter690 };

// Kind of experiment.
enum ExperimentType { Varnu = 0, WesternBlot, MultFluore };

// Pixel binning of the cooled camera.
enum BinningMode { Binning1x1 = 0, Binning2x2, Binning4x4 };

// Instrument model.
enum MachineName { Varnu_320 = 0, Varnu_520, Varnu_550 };

// Preview and capture sizes of the first USB camera model.
enum ZdqPelion1MResolution {
    Pelion1M_1064x850 = 0,
    Pelion1M_532x425,
    Pelion1M_266x212,
    Pelion1M_133x106
};

// Sizes of the second USB camera model.
enum ZdqPelion5MResolution {
    Pelion5M_2592x1944 = 0,
    Pelion5M_1296x972,
    Pelion5M_648x486,
    Pelion5M_324x243
};

// Single status bytes that the dark-room controller sends. The underlying
// type is int so that a signal of this type can carry any byte value 0 to 255,
// known or not.
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
    ResetStart = 0x1E
};

// Errors of the serial-port thread.
enum Serial_ErrorCode { Err_OpenFail = 0, Err_Unknow };

Q_DECLARE_METATYPE(VarnuDataBit)
Q_DECLARE_METATYPE(Serial_ErrorCode)

// Text to value: exact, case-sensitive comparison with the table texts in
// value order; a text that matches none gives the count of the table.
// Value to text: the table text, or "Unknow <type>" for a value outside it.
int stringToVarnuLightType(const QString& text);
QString varnuLightTypeToString(const int& value);
int stringToMultLightType(const QString& text);
QString multLightTypeToString(const int& value);
int stringToFilterType(const QString& text);
QString filterTypeToString(const int& value);
int stringToExperimentType(const QString& text);
QString experimentTypeToString(const int& value);
int stringToBinningMode(const QString& text);
QString binningModeToString(const int& value);
int stringToMachineName(const QString& text);
QString machineNameToString(const int& value);
int stringToZdqPelion1MResolution(const QString& text);
QString zdqPelion1MResolutionToString(const int& value);
int stringToZdqPelion5MResolution(const QString& text);
QString zdqPelion5MResolutionToString(const int& value);

// Registers the enumerations that travel in queued signals with the meta-type
// system. Safe to call more than once.
void registerVarnuMetaTypes();
