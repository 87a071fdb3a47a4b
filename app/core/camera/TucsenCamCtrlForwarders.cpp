// The controller's one member per function of the cooled camera library;
// each passes its arguments on unchanged, the camera's name last.
#include "camera/TucsenCamCtrl.h"

int TucsenCamCtrl::initDevice(const char* path) {
    return InitDevice(path);
}

int TucsenCamCtrl::exitDevice() {
    return ExitDevice();
}

int TucsenCamCtrl::deviceCount() {
    return DeviceCount();
}

int TucsenCamCtrl::deviceState() {
    return DeviceState(name());
}

const char* TucsenCamCtrl::deviceNameAt(int index) {
    return DeviceName(index);
}

int TucsenCamCtrl::recvMemSize() {
    return RecvMemSize(name());
}

int TucsenCamCtrl::dataHeadLen() {
    return DataHeadLen(name());
}

int TucsenCamCtrl::resumeDevice() {
    return ResumeDevice(name());
}

int TucsenCamCtrl::suspendDevice() {
    return SuspendDevice(name());
}

int TucsenCamCtrl::resetDevice() {
    return ResetDevice(name());
}

int TucsenCamCtrl::resetSupport() {
    return ResetSupport(name());
}

int TucsenCamCtrl::setResolution(int index) {
    return SetResolution(index, name());
}

int TucsenCamCtrl::getResolution() {
    return GetResolution(name());
}

int TucsenCamCtrl::getResolutionCount() {
    return GetResolutionCount(name());
}

int TucsenCamCtrl::getPixelclock() {
    return GetPixelclock(name());
}

int TucsenCamCtrl::getPixelclockCount() {
    return GetPixelclockCount(name());
}

int TucsenCamCtrl::getRawDepth() {
    return GetRawDepth(name());
}

int TucsenCamCtrl::getImageChannles() {
    return GetImageChannles(name());
}

int TucsenCamCtrl::getAnaloggain() {
    return GetAnaloggain(name());
}

int TucsenCamCtrl::getAETarget() {
    return GetAETarget(name());
}

int TucsenCamCtrl::getBlacklevel() {
    return GetBlacklevel(name());
}

int TucsenCamCtrl::getGamma() {
    return GetGamma(name());
}

int TucsenCamCtrl::getContrast() {
    return GetContrast(name());
}

int TucsenCamCtrl::getFlip() {
    return GetFlip(name());
}

int TucsenCamCtrl::setDefaultConfiguration() {
    return SetDefaultConfiguration(name());
}

int TucsenCamCtrl::getCurrentConfiguration() {
    return GetCurrentConfiguration(name());
}

int TucsenCamCtrl::getResItemName(int index) {
    return GetResItemName(index, name());
}

int TucsenCamCtrl::getPixclkItemName(int index) {
    return GetPixclkItemName(index, name());
}

int TucsenCamCtrl::getResWidth(int index) {
    return GetResWidth(index, name());
}

int TucsenCamCtrl::getResHeight(int index) {
    return GetResHeight(index, name());
}

int TucsenCamCtrl::getRawDepthState(int bits) {
    return GetRawDepthState(bits, name());
}

int TucsenCamCtrl::setPixelclock(int index) {
    return SetPixelclock(index, name());
}

int TucsenCamCtrl::setRawDepth(int bits) {
    return SetRawDepth(bits, name());
}

int TucsenCamCtrl::getRawSize(int* width, int* height) {
    return GetRawSize(width, height, name());
}

int TucsenCamCtrl::getRawData(void* buffer, int size) {
    return GetRawData(buffer, size, name());
}

int TucsenCamCtrl::decodeRaw2Image(const void* raw, void* image) {
    return DecodeRaw2Image(raw, image, name());
}

int TucsenCamCtrl::getAnaloggainRange(int* minimum, int* maximum, int* fallback) {
    return GetAnaloggainRange(minimum, maximum, fallback, name());
}

int TucsenCamCtrl::getExposureRange(float* minimum, float* maximum, float* fallback) {
    return GetExposureRange(minimum, maximum, fallback, name());
}

int TucsenCamCtrl::getAETargetRange(int* minimum, int* maximum, int* fallback) {
    return GetAETargetRange(minimum, maximum, fallback, name());
}

int TucsenCamCtrl::getBlacklevelRange(int* minimum, int* maximum, int* fallback) {
    return GetBlacklevelRange(minimum, maximum, fallback, name());
}

int TucsenCamCtrl::getGammaRange(int* minimum, int* maximum, int* fallback) {
    return GetGammaRange(minimum, maximum, fallback, name());
}

int TucsenCamCtrl::getContrastRange(int* minimum, int* maximum, int* fallback) {
    return GetContrastRange(minimum, maximum, fallback, name());
}

int TucsenCamCtrl::getStretch(int* low, int* high, CamBool* on) {
    return GetStretch(low, high, on, name());
}

int TucsenCamCtrl::getStretchRange(int* minimum, int* maximum, int* fallback) {
    return GetStretchRange(minimum, maximum, fallback, name());
}

int TucsenCamCtrl::setAnaloggain(int gain) {
    return SetAnaloggain(gain, name());
}

float TucsenCamCtrl::getExposure() {
    return GetExposure(name());
}

int TucsenCamCtrl::setExposure(float milliseconds) {
    return SetExposure(milliseconds, name());
}

int TucsenCamCtrl::setHistogramState(CamBool on) {
    return SetHistogramState(on, name());
}

int TucsenCamCtrl::setFlatfieldState(CamBool on) {
    return SetFlatfieldState(on, name());
}

int TucsenCamCtrl::setDefectCorrectionState(CamBool on) {
    return SetDefectCorrectionState(on, name());
}

int TucsenCamCtrl::setAutoExposure(CamBool on) {
    return SetAutoExposure(on, name());
}

int TucsenCamCtrl::setRoiState(CamBool on) {
    return SetRoiState(on, name());
}

int TucsenCamCtrl::setCooled(CamBool on) {
    return SetCooled(on, name());
}

int TucsenCamCtrl::getAutoExposure(CamBool* on) {
    return GetAutoExposure(on, name());
}

int TucsenCamCtrl::getRoiState(CamBool* on) {
    return GetRoiState(on, name());
}

int TucsenCamCtrl::getCooled(CamBool* on) {
    return GetCooled(on, name());
}

int TucsenCamCtrl::getHistogramState(CamBool* on) {
    return GetHistogramState(on, name());
}

int TucsenCamCtrl::getFlatfieldState(CamBool* on) {
    return GetFlatfieldState(on, name());
}

int TucsenCamCtrl::getDefectCorrectionState(CamBool* on) {
    return GetDefectCorrectionState(on, name());
}

int TucsenCamCtrl::getImageFormat(int* format) {
    return GetImageFormat(format, name());
}

int TucsenCamCtrl::getTemperature(float* celsius) {
    return GetTemperature(celsius, name());
}

int TucsenCamCtrl::setAETarget(int target) {
    return SetAETarget(target, name());
}

int TucsenCamCtrl::setImageFormat(int format) {
    return SetImageFormat(format, name());
}

int TucsenCamCtrl::saveConfiguration(int slot) {
    return SaveConfiguration(slot, name());
}

int TucsenCamCtrl::loadConfiguration(int slot) {
    return LoadConfiguration(slot, name());
}

int TucsenCamCtrl::setBlacklevel(int level) {
    return SetBlacklevel(level, name());
}

int TucsenCamCtrl::setGamma(int gamma) {
    return SetGamma(gamma, name());
}

int TucsenCamCtrl::setContrast(int contrast) {
    return SetContrast(contrast, name());
}

int TucsenCamCtrl::setFlip(int flip) {
    return SetFlip(flip, name());
}

int TucsenCamCtrl::setStretch(int low, int high, CamBool on) {
    return SetStretch(low, high, on, name());
}

int TucsenCamCtrl::setRoi(int x, int y, int width, int height) {
    return SetRoi(x, y, width, height, name());
}

int TucsenCamCtrl::getRoi(int* x, int* y, int* width, int* height) {
    return GetRoi(x, y, width, height, name());
}

int TucsenCamCtrl::writeInf(const void* data, int size) {
    return WriteInf(data, size, name());
}

int TucsenCamCtrl::readInf(void* data, int size) {
    return ReadInf(data, size, name());
}

int TucsenCamCtrl::saveImage(const char* path, int format) {
    return SaveImage(path, format, name());
}

int TucsenCamCtrl::saveFile(const void* image, const char* path, int format) {
    return SaveFile(image, path, format, name());
}

int TucsenCamCtrl::calcFlatfield(void* raw, CamBool on) {
    return CalcFlatfield(raw, on, name());
}

int TucsenCamCtrl::calcDefectCorrection() {
    return CalcDefectCorrection(name());
}

int TucsenCamCtrl::resizeImage(const void* source, void* destination, int width, int height) {
    return ResizeImage(source, destination, width, height);
}

int TucsenCamCtrl::getPointIntensity(int x, int y) {
    return GetPointIntensity(x, y, name());
}

int TucsenCamCtrl::getImageIntensity(const void* image, int x, int y, int width, int height,
                                     int* minimum, int* maximum, int* mean, int* deviation) {
    return GetImageIntensity(image, x, y, width, height, minimum, maximum, mean, deviation, name());
}
