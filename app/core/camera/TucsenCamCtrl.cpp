#include "camera/TucsenCamCtrl.h"

#include "camera/TucsenImageHeader.h"

#include <QtDebug>

#include <cmath>
#include <mutex>

namespace {

constexpr int kHistogramBins = 65536;

std::atomic<TucsenCamCtrl*> g_instance{nullptr};
std::mutex g_instanceMutex;

}  // namespace

TucsenCamCtrl* TucsenCamCtrl::getInstance() {
    TucsenCamCtrl* instance = g_instance.load(std::memory_order_acquire);
    if (instance == nullptr) {
        std::lock_guard<std::mutex> lock(g_instanceMutex);
        instance = g_instance.load(std::memory_order_relaxed);
        if (instance == nullptr) {
            instance = new TucsenCamCtrl();
            g_instance.store(instance, std::memory_order_release);
        }
    }
    return instance;
}

TucsenCamCtrl::TucsenCamCtrl() = default;

TucsenCamCtrl::~TucsenCamCtrl() {
    clearFrameList();
}

bool TucsenCamCtrl::initBuffers() {
    const int size = recvMemSize();
    QMutexLocker lock(&mutex);
    stopFlag = true;
    newFrameFlag = false;
    if (size <= 0) {
        qWarning() << "RecvMemSize failed:" << size;
        return false;
    }
    if (size != rawSize || !m_imageStorage) {
        for (auto& storage : m_rawStorage) {
            storage.reset(new uchar[static_cast<size_t>(size)]());
        }
        m_imageStorage.reset(new uchar[3 * static_cast<size_t>(size)]());
        rawSize = size;
    }
    grabBuffer = m_rawStorage[0].get();
    readyBuffer = m_rawStorage[1].get();
    showBuffer = m_rawStorage[2].get();
    imageBuffer = m_imageStorage.get();
    return true;
}

void TucsenCamCtrl::setCamPara(int resolution, int exposure, int gain, int blackLevel, int contrast,
                               int gamma, bool stretch, int flip, int pixelClock, int depth) {
    if (SetResolution(resolution, name()) != 0) {
        qDebug() << "Resolution set failed.";
        return;
    }
    if (SetExposure(static_cast<float>(exposure), name()) != 0) {
        qDebug() << "Exposure set failed.";
        return;
    }
    if (SetAnaloggain(gain, name()) != 0) {
        qDebug() << "Analoggain set failed.";
        return;
    }
    if (SetBlacklevel(blackLevel, name()) != 0) {
        qDebug() << "Blacklevel set failed.";
        return;
    }
    SetContrast(contrast, name());
    SetGamma(gamma, name());
    SetHistogramState(stretch ? 1 : 0, name());
    SetFlip(flip, name());
    if (SetPixelclock(pixelClock, name()) != 0) {
        qDebug() << "pixelclock set failed.";
        return;
    }
    if (SetRawDepth(8 + 8 * depth, name()) != 0) {
        qDebug() << "RawDepth set failed.";
    }
}

bool TucsenCamCtrl::setPreviewPara(int exposure, int gain, int blackLevel, int contrast, int gamma,
                                   bool stretch, int flip, int pixelClock) {
    if (SetExposure(static_cast<float>(exposure), name()) != 0) {
        qDebug() << "Exposure set failed.";
        return false;
    }
    if (SetAnaloggain(gain, name()) != 0) {
        qDebug() << "Analoggain set failed.";
        return false;
    }
    if (SetBlacklevel(blackLevel, name()) != 0) {
        qDebug() << "Blacklevel set failed.";
        return false;
    }
    SetContrast(contrast, name());
    SetGamma(gamma, name());
    SetHistogramState(stretch ? 1 : 0, name());
    SetFlip(flip, name());
    if (SetPixelclock(pixelClock, name()) != 0) {
        qDebug() << "pixelclock set failed.";
        return false;
    }
    return true;
}

bool TucsenCamCtrl::setCapturePara(int exposure, int gain, int pixelClock) {
    if (SetExposure(static_cast<float>(exposure), name()) != 0) {
        qDebug() << "Exposure set failed.";
        return false;
    }
    if (SetAnaloggain(gain, name()) != 0) {
        qDebug() << "Analoggain set failed.";
        return false;
    }
    if (SetPixelclock(pixelClock, name()) != 0) {
        qDebug() << "pixelclock set failed.";
        return false;
    }
    return true;
}

bool TucsenCamCtrl::frameSamples(int index, const uchar** samples, size_t* count,
                                 int* bytesPerSample) {
    if (index < 0 || index >= frameList.size() || frameList.at(index) == nullptr) {
        return false;
    }
    TucsenImageHeader header;
    if (!TucsenImageHeader::read(frameList.at(index), imageBufferSize(), &header)) {
        qWarning() << "Picture" << index << "has no readable header.";
        return false;
    }
    *samples = frameList.at(index) + header.dataOffset;
    *count = header.sampleCount();
    *bytesPerSample = header.bytesPerSample();
    return true;
}

QVector<double> TucsenCamCtrl::getRawHistogram(int index) {
    const uchar* samples = nullptr;
    size_t count = 0;
    int bytes = 0;
    if (!frameSamples(index, &samples, &count, &bytes)) {
        return {};
    }
    QVector<int> counts = getRawHistogramInRange(index, 0, kHistogramBins - 1);
    QVector<double> histogram(kHistogramBins, 0.0);
    for (int bin = 0; bin < kHistogramBins; ++bin) {
        histogram[bin] = std::log(static_cast<double>(counts.at(bin)) + 1.0);
    }
    return histogram;
}

QVector<int> TucsenCamCtrl::getRawHistogramInRange(int index, int low, int high) {
    const uchar* samples = nullptr;
    size_t count = 0;
    int bytes = 0;
    if (!frameSamples(index, &samples, &count, &bytes)) {
        return {};
    }
    QVector<int> histogram(kHistogramBins, 0);
    int* bins = histogram.data();
    for (size_t i = 0; i < count; ++i) {
        // 16-bit samples are counted by their little-endian value, 8-bit
        // ones at the 16-bit level of the same brightness (x 257), the scale
        // on which the page stretches them.
        const int value =
            bytes == 1 ? samples[i] * 257 : samples[2 * i] | (samples[2 * i + 1] << 8);
        if (value >= low && value <= high) {
            ++bins[value];
        }
    }
    return histogram;
}

void TucsenCamCtrl::clearFrameList() {
    for (uchar* picture : frameList) {
        delete[] picture;
    }
    frameList.clear();
}
