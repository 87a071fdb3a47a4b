// Names of the camera parameters (ZDQ_PARAM) as log lines show them.
#pragma once

// Identifiers 0 .. 32 are parameters; the name table has 37 entries, the
// last five "Unknow".
constexpr int kParamCount = 33;
const wchar_t* ParamName(int nParam);

// A float to an int, saturated at the int limits; NaN gives 0.
int SaturatedInt(double dValue);
