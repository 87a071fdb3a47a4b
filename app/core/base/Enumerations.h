#pragma once

#include <QString>

// Small enumerations shared by the pages, the controller and the camera
// back-ends, with their texts; the dark-room ones (light sources, filters,
// status bytes, serial errors) are in serial/DarkroomEnums.h. The texts are
// the program's vocabulary (combo boxes, log lines, file and database
// contents) and are fixed letter for letter.

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

// Text to value: exact, case-sensitive comparison with the table texts in
// value order; a text that matches none gives the count of the table.
// Value to text: the table text, or "Unknow <type>" for a value outside it.
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
