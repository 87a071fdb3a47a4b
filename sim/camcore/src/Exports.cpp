// The exported functions of libCamCore.so (CamCore.h). Each one admits the
// call (library started, the camera's name, no scripted failure), performs
// it on the simulator and writes one journal line.
#include <cstdio>
#include <string>

#include "CamCore.h"
#include "Simulator.h"

using camsim::Simulator;

namespace {

Simulator& sim() {
    return Simulator::instance();
}

std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

void record(const char* function, const std::string& arguments, const std::string& result) {
    std::string line = function;
    if (!arguments.empty()) {
        line += " " + arguments;
    }
    sim().journal(line + " -> " + result);
}

// Admits a call, runs `body` when admitted, journals and returns the result.
template <typename Body>
int deviceCall(const char* function, const char* name, const std::string& arguments, Body body) {
    int result = sim().admit(function, name);
    if (result == CAMCORE_OK) {
        result = body();
    }
    record(function, arguments, std::to_string(result));
    return result;
}

int unsupported(const char* function, const char* name) {
    return deviceCall(function, name, "", [] { return CAMCORE_E_UNSUPPORTED; });
}

template <typename T>
int storeFlag(const char* function, const char* key, T on, const char* name) {
    return deviceCall(function, name, std::to_string(on ? 1 : 0),
                      [&] { return sim().setStored(key, on ? 1 : 0); });
}

int loadFlag(const char* function, const char* key, CamBool* on, const char* name) {
    return deviceCall(function, name, "", [&] {
        if (on == nullptr) {
            return CAMCORE_E_ARGUMENT;
        }
        *on = static_cast<CamBool>(sim().stored(key));
        return CAMCORE_OK;
    });
}

int storeValue(const char* function, const char* key, int value, int low, int high,
               const char* name) {
    return deviceCall(function, name, std::to_string(value), [&] {
        return value < low || value > high ? CAMCORE_E_ARGUMENT : sim().setStored(key, value);
    });
}

int loadValue(const char* function, const char* key, const char* name) {
    return deviceCall(function, name, "", [&] { return sim().stored(key); });
}

int range(const char* function, int* minimum, int* maximum, int* fallback, int low, int high,
          int standard, const char* name) {
    return deviceCall(function, name, "", [&] {
        if (minimum == nullptr || maximum == nullptr || fallback == nullptr) {
            return CAMCORE_E_ARGUMENT;
        }
        *minimum = low;
        *maximum = high;
        *fallback = standard;
        return CAMCORE_OK;
    });
}

}  // namespace

extern "C" {

int InitDevice(const char* path) {
    const int result = sim().init(path);
    record("InitDevice", path != nullptr ? path : "(null)", std::to_string(result));
    return result;
}

int ExitDevice(void) {
    const int result = sim().exit();
    record("ExitDevice", "", std::to_string(result));
    return result;
}

int DeviceCount(void) {
    const int result = sim().deviceCount();
    record("DeviceCount", "", std::to_string(result));
    return result;
}

const char* DeviceName(int index) {
    const char* result = sim().deviceName(index);
    record("DeviceName", std::to_string(index), result);
    return result;
}

int DeviceState(const char* name) {
    return deviceCall("DeviceState", name, "", [] { return sim().state(); });
}

int RecvMemSize(const char* name) {
    return deviceCall("RecvMemSize", name, "", [] { return sim().recvMemSize(); });
}

int DataHeadLen(const char* name) {
    return deviceCall("DataHeadLen", name, "", [] { return CAMCORE_HEADER_LENGTH; });
}

int ResumeDevice(const char* name) {
    return deviceCall("ResumeDevice", name, "", [] { return sim().resume(); });
}

int SuspendDevice(const char* name) {
    return deviceCall("SuspendDevice", name, "", [] { return sim().suspend(); });
}

int ResetDevice(const char* name) {
    return deviceCall("ResetDevice", name, "", [] { return sim().reset(); });
}

int ResetSupport(const char* name) {
    return deviceCall("ResetSupport", name, "", [] { return 1; });
}

int SetResolution(int index, const char* name) {
    return deviceCall("SetResolution", name, std::to_string(index),
                      [&] { return sim().setResolution(index); });
}

int GetResolution(const char* name) {
    return deviceCall("GetResolution", name, "", [] { return sim().resolution(); });
}

int GetResolutionCount(const char* name) {
    return deviceCall("GetResolutionCount", name, "", [] { return 3; });
}

int GetResWidth(int index, const char* name) {
    return deviceCall("GetResWidth", name, std::to_string(index), [&] {
        int width = 0;
        int height = 0;
        const int result = sim().sizeAt(index, &width, &height);
        return result == CAMCORE_OK ? width : result;
    });
}

int GetResHeight(int index, const char* name) {
    return deviceCall("GetResHeight", name, std::to_string(index), [&] {
        int width = 0;
        int height = 0;
        const int result = sim().sizeAt(index, &width, &height);
        return result == CAMCORE_OK ? height : result;
    });
}

int GetResItemName(int, const char* name) {
    return unsupported("GetResItemName", name);
}

int SetPixelclock(int index, const char* name) {
    return deviceCall("SetPixelclock", name, std::to_string(index),
                      [&] { return sim().setPixelclock(index); });
}

int GetPixelclock(const char* name) {
    return deviceCall("GetPixelclock", name, "", [] { return sim().pixelclock(); });
}

int GetPixelclockCount(const char* name) {
    return deviceCall("GetPixelclockCount", name, "", [] { return 4; });
}

int GetPixclkItemName(int, const char* name) {
    return unsupported("GetPixclkItemName", name);
}

int SetRawDepth(int bits, const char* name) {
    return deviceCall("SetRawDepth", name, std::to_string(bits),
                      [&] { return sim().setRawDepth(bits); });
}

int GetRawDepth(const char* name) {
    return deviceCall("GetRawDepth", name, "", [] { return sim().rawDepth(); });
}

int GetRawDepthState(int bits, const char* name) {
    return deviceCall("GetRawDepthState", name, std::to_string(bits),
                      [&] { return bits == 8 || bits == 16 ? 1 : 0; });
}

int GetImageChannles(const char* name) {
    return deviceCall("GetImageChannles", name, "", [] { return 1; });
}

int GetRawSize(int* width, int* height, const char* name) {
    return deviceCall("GetRawSize", name, "", [&] { return sim().rawSize(width, height); });
}

int SetExposure(float milliseconds, const char* name) {
    return deviceCall("SetExposure", name, number(milliseconds),
                      [&] { return sim().setExposure(milliseconds); });
}

float GetExposure(const char* name) {
    int admitted = sim().admit("GetExposure", name);
    const float result = admitted == CAMCORE_OK ? sim().exposure() : -1.0f;
    record("GetExposure", "", number(result));
    return result;
}

int GetExposureRange(float* minimum, float* maximum, float* fallback, const char* name) {
    return deviceCall("GetExposureRange", name, "", [&] {
        if (minimum == nullptr || maximum == nullptr || fallback == nullptr) {
            return CAMCORE_E_ARGUMENT;
        }
        *minimum = 0.1f;
        *maximum = 3600000.0f;
        *fallback = 100.0f;
        return CAMCORE_OK;
    });
}

int SetAutoExposure(CamBool, const char* name) {
    return unsupported("SetAutoExposure", name);
}

int GetAutoExposure(CamBool* on, const char* name) {
    return loadFlag("GetAutoExposure", "autoexposure", on, name);
}

int SetAETarget(int, const char* name) {
    return unsupported("SetAETarget", name);
}

int GetAETarget(const char* name) {
    return unsupported("GetAETarget", name);
}

int GetAETargetRange(int*, int*, int*, const char* name) {
    return unsupported("GetAETargetRange", name);
}

int SetAnaloggain(int gain, const char* name) {
    return deviceCall("SetAnaloggain", name, std::to_string(gain),
                      [&] { return sim().setGain(gain); });
}

int GetAnaloggain(const char* name) {
    return deviceCall("GetAnaloggain", name, "", [] { return sim().gain(); });
}

int GetAnaloggainRange(int* minimum, int* maximum, int* fallback, const char* name) {
    return range("GetAnaloggainRange", minimum, maximum, fallback, 1, 1000, 200, name);
}

int SetBlacklevel(int level, const char* name) {
    return deviceCall("SetBlacklevel", name, std::to_string(level),
                      [&] { return sim().setBlackLevel(level); });
}

int GetBlacklevel(const char* name) {
    return deviceCall("GetBlacklevel", name, "", [] { return sim().blackLevel(); });
}

int GetBlacklevelRange(int* minimum, int* maximum, int* fallback, const char* name) {
    return range("GetBlacklevelRange", minimum, maximum, fallback, 0, 255, 10, name);
}

int SetGamma(int gamma, const char* name) {
    return storeValue("SetGamma", "gamma", gamma, 0, 255, name);
}

int GetGamma(const char* name) {
    return loadValue("GetGamma", "gamma", name);
}

int GetGammaRange(int* minimum, int* maximum, int* fallback, const char* name) {
    return range("GetGammaRange", minimum, maximum, fallback, 0, 255, 100, name);
}

int SetContrast(int contrast, const char* name) {
    return storeValue("SetContrast", "contrast", contrast, 0, 255, name);
}

int GetContrast(const char* name) {
    return loadValue("GetContrast", "contrast", name);
}

int GetContrastRange(int* minimum, int* maximum, int* fallback, const char* name) {
    return range("GetContrastRange", minimum, maximum, fallback, 0, 255, 128, name);
}

int SetStretch(int, int, CamBool, const char* name) {
    return unsupported("SetStretch", name);
}

int GetStretch(int*, int*, CamBool*, const char* name) {
    return unsupported("GetStretch", name);
}

int GetStretchRange(int*, int*, int*, const char* name) {
    return unsupported("GetStretchRange", name);
}

int SetFlip(int flip, const char* name) {
    return deviceCall("SetFlip", name, std::to_string(flip), [&] { return sim().setFlip(flip); });
}

int GetFlip(const char* name) {
    return deviceCall("GetFlip", name, "", [] { return sim().flip(); });
}

int SetHistogramState(CamBool on, const char* name) {
    return storeFlag("SetHistogramState", "histogram", on, name);
}

int GetHistogramState(CamBool* on, const char* name) {
    return loadFlag("GetHistogramState", "histogram", on, name);
}

int SetFlatfieldState(CamBool on, const char* name) {
    return storeFlag("SetFlatfieldState", "flatfield", on, name);
}

int GetFlatfieldState(CamBool* on, const char* name) {
    return loadFlag("GetFlatfieldState", "flatfield", on, name);
}

int SetDefectCorrectionState(CamBool on, const char* name) {
    return storeFlag("SetDefectCorrectionState", "defect", on, name);
}

int GetDefectCorrectionState(CamBool* on, const char* name) {
    return loadFlag("GetDefectCorrectionState", "defect", on, name);
}

int SetCooled(CamBool on, const char* name) {
    return storeFlag("SetCooled", "cooled", on, name);
}

int GetCooled(CamBool* on, const char* name) {
    return loadFlag("GetCooled", "cooled", on, name);
}

int GetTemperature(float* celsius, const char* name) {
    return deviceCall("GetTemperature", name, "", [&] { return sim().temperature(celsius); });
}

int SetImageFormat(int, const char* name) {
    return unsupported("SetImageFormat", name);
}

int GetImageFormat(int*, const char* name) {
    return unsupported("GetImageFormat", name);
}

int SetRoiState(CamBool, const char* name) {
    return unsupported("SetRoiState", name);
}

int GetRoiState(CamBool* on, const char* name) {
    return loadFlag("GetRoiState", "roi", on, name);
}

int SetRoi(int, int, int, int, const char* name) {
    return unsupported("SetRoi", name);
}

int GetRoi(int*, int*, int*, int*, const char* name) {
    return unsupported("GetRoi", name);
}

int SetDefaultConfiguration(const char* name) {
    return unsupported("SetDefaultConfiguration", name);
}

int GetCurrentConfiguration(const char* name) {
    return unsupported("GetCurrentConfiguration", name);
}

int SaveConfiguration(int, const char* name) {
    return unsupported("SaveConfiguration", name);
}

int LoadConfiguration(int, const char* name) {
    return unsupported("LoadConfiguration", name);
}

int WriteInf(const void*, int, const char* name) {
    return unsupported("WriteInf", name);
}

int ReadInf(void*, int, const char* name) {
    return unsupported("ReadInf", name);
}

int SaveImage(const char*, int, const char* name) {
    return unsupported("SaveImage", name);
}

int SaveFile(const void*, const char*, int, const char* name) {
    return unsupported("SaveFile", name);
}

int GetRawData(void* buffer, int size, const char* name) {
    return deviceCall("GetRawData", name, std::to_string(size),
                      [&] { return sim().readFrame(buffer, size); });
}

int DecodeRaw2Image(const void* raw, void* image, const char* name) {
    return deviceCall("DecodeRaw2Image", name, "", [&] { return sim().decode(raw, image); });
}

int CalcFlatfield(void* raw, CamBool on, const char* name) {
    return deviceCall("CalcFlatfield", name, std::to_string(on ? 1 : 0),
                      [&] { return sim().flatField(raw, on != 0); });
}

int CalcDefectCorrection(const char* name) {
    return deviceCall("CalcDefectCorrection", name, "", [] { return CAMCORE_OK; });
}

int ResizeImage(const void*, void*, int, int) {
    record("ResizeImage", "", std::to_string(CAMCORE_E_UNSUPPORTED));
    return CAMCORE_E_UNSUPPORTED;
}

int GetPointIntensity(int, int, const char* name) {
    return unsupported("GetPointIntensity", name);
}

int GetImageIntensity(const void*, int, int, int, int, int*, int*, int*, int*, const char* name) {
    return unsupported("GetImageIntensity", name);
}

}  // extern "C"
