#pragma once

#include <CamCore.h>

#include <QByteArray>
#include <QMutex>
#include <QObject>
#include <QString>
#include <QVector>
#include <QWaitCondition>

#include <atomic>
#include <memory>

// The station's one access point to the cooled camera library: the camera's
// name, the three raw frame buffers and the decoded preview image that the
// grab and show threads rotate, the pictures of the last capture, one member
// per library function, the parameter setters and the histograms of captured
// pictures. Created on the first getInstance() and kept until the process
// ends.
class TucsenCamCtrl : public QObject {
    Q_OBJECT
  public:
    static TucsenCamCtrl* getInstance();

    // rawSize := RecvMemSize; allocates the three raw buffers of rawSize
    // bytes and the image buffer of 3 x rawSize bytes (once: a second call
    // keeps them when the size is unchanged); stopFlag true, newFrameFlag
    // false. False when the camera reports no frame size.
    bool initBuffers();

    // The preview settings, in this order; stops at the first failure of
    // resolution, exposure, gain or black level, and reports pixel clock and
    // depth failures. Each failure is a debug message only.
    void setCamPara(int resolution, int exposure, int gain, int blackLevel, int contrast, int gamma,
                    bool stretch, int flip, int pixelClock, int depth);
    // The same without resolution and depth; false at the first failure.
    bool setPreviewPara(int exposure, int gain, int blackLevel, int contrast, int gamma,
                        bool stretch, int flip, int pixelClock);
    // Exposure, gain and pixel clock of a capture; false at the first failure.
    bool setCapturePara(int exposure, int gain, int pixelClock);

    // 65536 bins of ln(count + 1) over the samples of frameList[index]
    // (empty for an index or a picture that cannot be read).
    QVector<double> getRawHistogram(int index);
    // 65536 bins counting the samples v of frameList[index] with
    // low <= v <= high.
    QVector<int> getRawHistogramInRange(int index, int low, int high);

    // Frees every picture of frameList and empties it.
    void clearFrameList();
    // Bytes of every picture buffer of frameList and of imageBuffer.
    size_t imageBufferSize() const { return 3 * static_cast<size_t>(rawSize > 0 ? rawSize : 0); }

    // The library, one member per function; the camera's name is passed last.
    int initDevice(const char* path);
    int exitDevice();
    int deviceCount();
    int deviceState();
    // DeviceName: the name of camera `index` (the member deviceName holds
    // that of camera 0).
    const char* deviceNameAt(int index);
    int recvMemSize();
    int dataHeadLen();
    int resumeDevice();
    int suspendDevice();
    int resetDevice();
    int resetSupport();
    int setResolution(int index);
    int getResolution();
    int getResolutionCount();
    int getPixelclock();
    int getPixelclockCount();
    int getRawDepth();
    int getImageChannles();
    int getAnaloggain();
    int getAETarget();
    int getBlacklevel();
    int getGamma();
    int getContrast();
    int getFlip();
    int setDefaultConfiguration();
    int getCurrentConfiguration();
    int getResItemName(int index);
    int getPixclkItemName(int index);
    int getResWidth(int index);
    int getResHeight(int index);
    int getRawDepthState(int bits);
    int setPixelclock(int index);
    int setRawDepth(int bits);
    int getRawSize(int* width, int* height);
    int getRawData(void* buffer, int size);
    int decodeRaw2Image(const void* raw, void* image);
    int getAnaloggainRange(int* minimum, int* maximum, int* fallback);
    int getExposureRange(float* minimum, float* maximum, float* fallback);
    int getAETargetRange(int* minimum, int* maximum, int* fallback);
    int getBlacklevelRange(int* minimum, int* maximum, int* fallback);
    int getGammaRange(int* minimum, int* maximum, int* fallback);
    int getContrastRange(int* minimum, int* maximum, int* fallback);
    int getStretch(int* low, int* high, CamBool* on);
    int getStretchRange(int* minimum, int* maximum, int* fallback);
    int setAnaloggain(int gain);
    float getExposure();
    int setExposure(float milliseconds);
    int setHistogramState(CamBool on);
    int setFlatfieldState(CamBool on);
    int setDefectCorrectionState(CamBool on);
    int setAutoExposure(CamBool on);
    int setRoiState(CamBool on);
    int setCooled(CamBool on);
    int getAutoExposure(CamBool* on);
    int getRoiState(CamBool* on);
    int getCooled(CamBool* on);
    int getHistogramState(CamBool* on);
    int getFlatfieldState(CamBool* on);
    int getDefectCorrectionState(CamBool* on);
    int getImageFormat(int* format);
    int getTemperature(float* celsius);
    int setAETarget(int target);
    int setImageFormat(int format);
    int saveConfiguration(int slot);
    int loadConfiguration(int slot);
    int setBlacklevel(int level);
    int setGamma(int gamma);
    int setContrast(int contrast);
    int setFlip(int flip);
    int setStretch(int low, int high, CamBool on);
    int setRoi(int x, int y, int width, int height);
    int getRoi(int* x, int* y, int* width, int* height);
    int writeInf(const void* data, int size);
    int readInf(void* data, int size);
    int saveImage(const char* path, int format);
    int saveFile(const void* image, const char* path, int format);
    int calcFlatfield(void* raw, CamBool on);
    int calcDefectCorrection();
    int resizeImage(const void* source, void* destination, int width, int height);
    int getPointIntensity(int x, int y);
    int getImageIntensity(const void* image, int x, int y, int width, int height, int* minimum,
                          int* maximum, int* mean, int* deviation);

    unsigned short frameWidth = 0;
    unsigned short frameHeight = 0;
    int rawSize = 0;
    // The three raw buffers are always a permutation of the three
    // allocations: grabBuffer belongs to the grab thread while it reads,
    // readyBuffer holds the newest frame, showBuffer belongs to the show
    // thread while it decodes into imageBuffer.
    uchar* grabBuffer = nullptr;
    uchar* readyBuffer = nullptr;
    uchar* showBuffer = nullptr;
    uchar* imageBuffer = nullptr;
    std::atomic<bool> stopFlag{true};
    std::atomic<bool> newFrameFlag{false};
    // Guards the three buffer pointers, newFrameFlag and imageBuffer (and
    // frameWidth and frameHeight for their readers).
    QMutex mutex;
    // Signalled (under mutex) when newFrameFlag turns true.
    QWaitCondition frameReady;
    QByteArray deviceName;
    int curFuncFrameType = 0;
    QString curExpName;
    // Pictures of the last capture, 3 x rawSize bytes each; owned here.
    QVector<uchar*> frameList;

  private:
    TucsenCamCtrl();
    ~TucsenCamCtrl() override;
    const char* name() const { return deviceName.constData(); }
    // The samples of frameList[index] and their header, when readable.
    bool frameSamples(int index, const uchar** samples, size_t* count, int* bytesPerSample);

    std::unique_ptr<uchar[]> m_rawStorage[3];
    std::unique_ptr<uchar[]> m_imageStorage;
};
