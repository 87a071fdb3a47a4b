#include "camera/EstimateExpTimeThread.h"

#include "base/StationDir.h"
#include "camera/TucsenCamCtrl.h"
#include "camera/TucsenImageHeader.h"
#include "settings/CamOpts.h"
#include "settings/UserOpts.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTextStream>
#include <QtDebug>

#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>

#include <cmath>
#include <limits>
#include <memory>
#include <vector>

namespace {

constexpr int kTrialResolution = 2;
constexpr int kFirstTrialMs = 5000;
constexpr int kSecondTrialMs = 10000;
constexpr int kMaxRefinements = 11;
constexpr double kLn10 = 2.302585092994046;
constexpr double kLn20 = 2.995732273553991;
// A trial picture that has not come this long after its exposure ends the
// estimate with the fallback.
constexpr qint64 kFrameMarginMs = 10000;
constexpr unsigned long kRetryPauseMs = 5;

using Contours = std::vector<std::vector<cv::Point>>;

Contours contoursOf(const cv::Mat& binary) {
    Contours contours;
    cv::Mat work = binary.clone();
    cv::findContours(work, contours, cv::RETR_LIST, cv::CHAIN_APPROX_SIMPLE, cv::Point(0, 0));
    return contours;
}

bool isWholePicture(const cv::Rect& box, const cv::Mat& picture) {
    return box.width == picture.cols && box.height == picture.rows;
}

double boxSum(const cv::Mat& gray8, const cv::Rect& box) {
    return cv::sum(gray8(box))[0];
}

}  // namespace

EstimateExpTimeThread::EstimateExpTimeThread(QObject* parent)
    : QThread(parent), m_camCtrl(TucsenCamCtrl::getInstance()) {
    UserOpts userOpt;
    userOpt.loadUserOpt(UserOpt_para1);
    userOpt.loadUserOpt(UserOpt_para2);
    para1 = userOpt.para1;
    para2 = userOpt.para2;
}

int EstimateExpTimeThread::calcExpTime(double para1, double para2, double best, double ratio,
                                       int trialExpTime) {
    const double divisor = trialExpTime == kFirstTrialMs ? kLn10 : kLn20;
    const double k = std::log(std::pow(para1, 255.0 - best)) / divisor;
    const double x = k * ratio * para2;
    const double value = std::trunc(trialExpTime * (std::exp(x) - 1.0));
    if (!std::isfinite(value) || value <= 0.0 ||
        value > static_cast<double>(std::numeric_limits<int>::max())) {
        return -1;
    }
    return static_cast<int>(value);
}

int EstimateExpTimeThread::scaleToResolution(int expTime, int resolution) {
    const int factor = resolution == 0 ? 16 : resolution == 1 ? 4 : 1;
    if (expTime > std::numeric_limits<int>::max() / factor) {
        return -1;
    }
    return expTime * factor;
}

QString EstimateExpTimeThread::joinCsvRow(const QStringList& texts) {
    QString row;
    for (const QString& text : texts) {
        row += text;
        if (text != QLatin1String("\n")) {
            row += QLatin1Char(',');
        }
    }
    return row;
}

void EstimateExpTimeThread::saveRawDataCsv(const QString& text) {
    const QString folder = stationFilePath(QStringLiteral("documents"));
    QDir().mkpath(folder);
    QFile file(folder + QStringLiteral("/rawData.csv"));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text)) {
        qWarning() << "openFile failed";
        return;
    }
    QTextStream stream(&file);
    stream << text;
    stream.flush();
    file.close();
}

void EstimateExpTimeThread::finish(int value, Outcome outcome) {
    expTime = value;
    m_outcome = outcome;
    finished = true;
    trialDone = true;
}

void EstimateExpTimeThread::run() {
    qDebug() << "EstimateExpTimeThread start.";
    findCount = 0;
    while (!finished) {
        qDebug() << "expTimeSet:" << trialExpTime;
        m_camCtrl->setResolution(kTrialResolution);
        m_camCtrl->setExposure(static_cast<float>(trialExpTime));
        qDebug() << "Resolution:" << m_camCtrl->getResolution();
        cv::Mat gray8;
        if (!grabPicture(&gray8)) {
            qWarning() << "EstimateExpTimeThread: no picture from the camera.";
            finish(kNoBandExpTime, Outcome::NoPicture);
            break;
        }
        curThreshold = 2;
        trialDone = false;
        cv::Mat binary;
        while (!trialDone) {
            switch (curStep) {
                case ToThreshold: {
                    qDebug() << "CurStep:ToThreshold.";
                    qDebug() << "curThreshold:" << curThreshold;
                    cv::threshold(gray8, binary, curThreshold, 255, cv::THRESH_BINARY);
                    const QByteArray path =
                        stationFilePath(QStringLiteral("threshold.tif")).toUtf8();
                    try {
                        cv::imwrite(path.toStdString(), binary);
                    } catch (const cv::Exception& error) {
                        qWarning() << "threshold.tif not written:" << error.what();
                    }
                    curStep = ToFindContour;
                    break;
                }
                case ToFindContour:
                    findContourStep(gray8, binary);
                    break;
                case ToCaclExpTime:
                    calcExpTimeStep(gray8, binary);
                    break;
                default:
                    qFatal("Unknow curStep.");
            }
        }
    }
    qDebug() << "EstimateExpTimeThread end.";
}

bool EstimateExpTimeThread::grabPicture(cv::Mat* gray8) {
    TucsenCamCtrl* camera = m_camCtrl;
    if (camera->rawSize <= 0) {
        return false;
    }
    const size_t pictureBytes = camera->imageBufferSize();
    std::unique_ptr<uchar[]> raw(new uchar[static_cast<size_t>(camera->rawSize)]);
    std::unique_ptr<uchar[]> picture(new uchar[pictureBytes]());
    TucsenImageHeader header;
    QElapsedTimer waited;
    waited.start();
    while (camera->getRawData(raw.get(), camera->rawSize) != 0 ||
           camera->decodeRaw2Image(raw.get(), picture.get()) != 0 ||
           !TucsenImageHeader::read(picture.get(), pictureBytes, &header) || header.channels != 1 ||
           header.width == 0 || header.height == 0) {
        if (waited.elapsed() > trialExpTime + kFrameMarginMs) {
            return false;
        }
        QThread::msleep(kRetryPauseMs);
    }
    qDebug() << "GetRawData success.";
    width = header.width;
    height = header.height;
    headerLength = header.dataOffset;
    raw.reset();

    // The 8-bit picture: the samples themselves at 8 bits, the high byte of
    // each sample at 16 bits; rows reversed.
    cv::Mat samples;
    if (header.bits == 8) {
        samples = cv::Mat(height, width, CV_8UC1, picture.get() + headerLength);
    } else {
        const cv::Mat wide(height, width, CV_16UC1, picture.get() + headerLength);
        samples.create(wide.size(), CV_8UC1);
        for (int r = 0; r < wide.rows; ++r) {
            const ushort* in = wide.ptr<ushort>(r);
            uchar* out = samples.ptr<uchar>(r);
            for (int c = 0; c < wide.cols; ++c) {
                out[c] = static_cast<uchar>(in[c] >> 8);
            }
        }
    }
    cv::flip(samples, *gray8, 0);
    picture.reset();
    return true;
}

void EstimateExpTimeThread::findContourStep(const cv::Mat& gray8, const cv::Mat& binary) {
    qDebug() << "CurStep:ToFindContour.";
    const Contours contours = contoursOf(binary);
    contourStep = AreaLessThan2;
    for (const auto& contour : contours) {
        const auto area = static_cast<unsigned>(cv::contourArea(contour));
        const cv::Rect box = cv::boundingRect(contour);
        if (area > 300 && !isWholePicture(box, gray8)) {
            contourStep = AreaMoreThan300;
            break;
        }
        if (area > 2 && area <= 300) {
            contourStep = AreaBetween2To300;
        }
    }
    switch (contourStep) {
        case AreaLessThan2:
            qDebug() << "contourStep:AreaLessThan2.";
            if (trialExpTime == kFirstTrialMs) {
                trialExpTime = kSecondTrialMs;
                curStep = ToThreshold;
                trialDone = true;
            } else {
                finish(kNoBandExpTime, Outcome::NoBand);
            }
            break;
        case AreaMoreThan300: {
            qDebug() << "contourStep:AreaMoreThan300.";
            double pixelSum = 0.0;
            double boxAreaSum = 0.0;
            for (const auto& contour : contours) {
                const auto area = static_cast<unsigned>(cv::contourArea(contour));
                const cv::Rect box = cv::boundingRect(contour);
                if (area > 300 && !isWholePicture(box, gray8)) {
                    pixelSum += boxSum(gray8, box);
                    boxAreaSum += static_cast<double>(box.width) * box.height;
                }
            }
            const double avgIntensity = pixelSum / boxAreaSum;
            if (qAbs(static_cast<int>(avgIntensity) - curThreshold) <= 1 ||
                ++findCount == kMaxRefinements) {
                qDebug() << "qAbs(static_cast<int>(avgIntensity) - curThreshold) <= 1 || "
                            "++findCount == 11";
                curStep = ToCaclExpTime;
            } else {
                curThreshold = static_cast<int>(avgIntensity);
                curStep = ToThreshold;
            }
            break;
        }
        case AreaBetween2To300:
            qDebug() << "contourStep:AreaBetween2To300.";
            curStep = ToCaclExpTime;
            break;
        default:
            qFatal("Unknow contourStep.");
    }
}

void EstimateExpTimeThread::calcExpTimeStep(const cv::Mat& gray8, const cv::Mat& binary) {
    qDebug() << "CurStep:ToCaclExpTime.";
    double best = 0.0;
    double bestArea = 0.0;
    int brighter = 0;
    cv::Rect bestBox;
    for (const auto& contour : contoursOf(binary)) {
        const double area = cv::contourArea(contour);
        const cv::Rect box = cv::boundingRect(contour);
        if (static_cast<unsigned>(area) <= 2 || isWholePicture(box, gray8)) {
            continue;
        }
        qDebug() << "areaSize 2-300:" << static_cast<unsigned>(area);
        const double mean = boxSum(gray8, box) / (static_cast<double>(box.width) * box.height);
        if (mean > best) {
            best = mean;
            bestArea = area;
            bestBox = box;
            brighter = cv::countNonZero(gray8(box) > mean);
        }
    }
    if (best <= 0.0) {
        qWarning() << "EstimateExpTimeThread: no band qualifies.";
        finish(kNoBandExpTime, Outcome::NoBand);
        return;
    }
    qDebug() << "para1:" << para1;
    qDebug() << "para2:" << para2;
    const double ratio =
        static_cast<double>(brighter) / (static_cast<double>(bestBox.width) * bestBox.height);
    int value = calcExpTime(para1, para2, best, ratio, trialExpTime);
    if (value > 0) {
        CamOpts camOpt;
        camOpt.loadCamOpt(TucsenCurrent_Resolution);
        value = scaleToResolution(value, camOpt.tucsenCurrentCamSet.Resolution);
    }
    if (value <= 0) {
        qWarning() << "EstimateExpTimeThread: the estimate is unusable; para1" << para1 << "para2"
                   << para2;
        finish(kNoBandExpTime, Outcome::Unusable);
        return;
    }
    finish(value, Outcome::Estimated);
    qDebug() << "exposureTime:" << expTime;
    saveRawDataCsv(joinCsvRow({QString::number(bestArea, 'f', 2), QString::number(best, 'f', 2),
                               QString::number(bestBox.width), QString::number(bestBox.height),
                               QString::number(expTime), QStringLiteral("\n")}));
}
