#pragma once

#include <QString>
#include <QStringList>
#include <QThread>

namespace cv {
class Mat;
}

class TucsenCamCtrl;

// Proposes the chemiluminescence exposure time of a western-blot single
// capture: one or two trial pictures (5000 ms, then 10000 ms) at resolution
// index 2, the bands found by thresholding and contours, the brightest band
// turned into milliseconds with the calibration para1 and para2 and scaled
// to the current resolution. A successful estimate appends a line to
// documents/rawData.csv. The owner stops the preview, resumes the camera,
// starts the thread and reads getExpTime() once it has finished.
class EstimateExpTimeThread : public QThread {
    Q_OBJECT
  public:
    // The fallback when no band is found, or the result is unusable.
    static constexpr int kNoBandExpTime = 1500000;

    // How the estimate ended; anything but Estimated leaves the fallback.
    enum class Outcome { Estimated, NoBand, NoPicture, Unusable };

    explicit EstimateExpTimeThread(QObject* parent = nullptr);

    int getExpTime() const { return expTime; }
    // Meaningful after the thread has finished.
    Outcome outcome() const { return m_outcome; }

    // trunc(trialExpTime x (e^x - 1)) with x = k x ratio x para2 and
    // k = ln(para1^(255 - best)) / ln(10) at 5000 ms, / ln(20) at 10000 ms;
    // ratio is the share of the band's box brighter than its mean. -1 when
    // the result is not finite, not positive or too large for an int.
    static int calcExpTime(double para1, double para2, double best, double ratio, int trialExpTime);
    // x 16 at resolution 0, x 4 at resolution 1; -1 when that overflows.
    static int scaleToResolution(int expTime, int resolution);
    // Each text followed by ",", except the text "\n".
    static QString joinCsvRow(const QStringList& texts);
    // Appends `text` to <station>/documents/rawData.csv.
    static void saveRawDataCsv(const QString& text);

  protected:
    void run() override;

  private:
    enum CurStep { ToThreshold = 0, ToFindContour = 1, ToCaclExpTime = 2 };
    enum ContourStep { AreaMoreThan300 = 0, AreaBetween2To300 = 1, AreaLessThan2 = 2 };

    // The trial picture as an 8-bit matrix (its samples at 8 bits, their
    // high bytes at 16 bits; rows reversed); false when the camera gave no
    // readable picture in time.
    bool grabPicture(cv::Mat* gray8);
    void findContourStep(const cv::Mat& gray8, const cv::Mat& binary);
    void calcExpTimeStep(const cv::Mat& gray8, const cv::Mat& binary);
    void finish(int value, Outcome outcome);

    TucsenCamCtrl* m_camCtrl;
    int expTime = 0;
    int trialExpTime = 5000;
    int curStep = ToThreshold;
    int contourStep = AreaLessThan2;
    int curThreshold = 2;
    int findCount = 0;
    bool finished = false;
    bool trialDone = false;
    unsigned short width = 0;
    unsigned short height = 0;
    unsigned short headerLength = 0;
    double para1 = 0.0;
    double para2 = 0.0;
    Outcome m_outcome = Outcome::NoPicture;
};
