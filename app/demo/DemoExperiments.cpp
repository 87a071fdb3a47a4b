#include "DemoExperiments.h"

#include "database/Varnu_ExperimentDB.h"
#include "database/Westblot_ExperimentDB.h"

#include <QDir>
#include <QFile>
#include <QSettings>

#include <opencv2/core.hpp>
#include <opencv2/imgcodecs.hpp>

#include <vector>

namespace {

const std::vector<int> kTiffOptions{
    cv::IMWRITE_TIFF_RESUNIT, 2,   cv::IMWRITE_TIFF_XDPI,        600,
    cv::IMWRITE_TIFF_YDPI,    600, cv::IMWRITE_TIFF_COMPRESSION, 1};

// A gel: dark background, six lanes of bright bands whose places depend on
// `seed`. 8-bit (gel/UV) or 16-bit (western blot, bands dark on light).
cv::Mat gelPicture(int width, int height, int seed, bool sixteenBit) {
    cv::Mat picture(height, width, sixteenBit ? CV_16UC1 : CV_8UC1,
                    cv::Scalar(sixteenBit ? 52000 : 18));
    const int lanes = 6;
    const int laneWidth = width / (lanes * 2);
    for (int lane = 0; lane < lanes; ++lane) {
        const int x = laneWidth / 2 + lane * 2 * laneWidth;
        for (int band = 0; band < 4; ++band) {
            const int y = height / 8 + ((band * 97 + lane * 31 + seed * 53) % (height * 3 / 4));
            const double level = sixteenBit ? 9000 + band * 4000 : 140 + band * 28;
            picture(cv::Rect(x, y, laneWidth, height / 40 + 2)).setTo(cv::Scalar(level));
        }
    }
    return picture;
}

bool writePicture(const QString& folder, const QString& fileName, const cv::Mat& picture) {
    if (!QDir().mkpath(folder)) {
        return false;
    }
    const QString path = QDir(folder).filePath(fileName);
    try {
        return cv::imwrite(QFile::encodeName(path).toStdString(), picture, kTiffOptions);
    } catch (const cv::Exception&) {
        return false;
    }
}

// Gel/UV names repeat from day to day: an experiment is its name on its day.
bool hasGelUv(Varnu_ExperimentDB& store, const QString& name, const QDate& day) {
    const std::unique_ptr<QList<VarnuExperiment>> records = store.loadAll();
    if (!records) {
        return false;
    }
    for (const VarnuExperiment& r : *records) {
        if (r.name == name && r.dateTime.date() == day) {
            return true;
        }
    }
    return false;
}

QString storagePathOf(const QString& stationDir) {
    QSettings options(stationDir + QStringLiteral("/Ini/userOption.ini"), QSettings::IniFormat);
    QString path = options.value(QStringLiteral("UserOption/storagePath")).toString();
    if (path.isEmpty()) {
        path = stationDir + QStringLiteral("/UserImages");
        options.setValue(QStringLiteral("UserOption/storagePath"), path);
        options.sync();
    }
    return path;
}

}  // namespace

DemoExperiments seedDemoExperiments(const QString& stationDir, const QDateTime& now) {
    DemoExperiments result;
    const QString storagePath = storagePathOf(stationDir);
    Varnu_ExperimentDB gelUvStore(stationDir);
    Westblot_ExperimentDB blotStore(stationDir);

    // Gel/UV: two experiments the day before, one three days before.
    struct GelUv {
        int daysBack;
        int number;
        QTime time;
    };
    const GelUv gels[] = {
        {1, 1, QTime(9, 12, 5)}, {1, 2, QTime(10, 40, 31)}, {3, 1, QTime(15, 3, 0)}};
    for (const GelUv& g : gels) {
        const QDateTime when(now.date().addDays(-g.daysBack), g.time);
        const QString date = when.toString(QStringLiteral("yy-MM-dd"));
        const QString number = QStringLiteral("%1").arg(g.number, 3, 10, QLatin1Char('0'));
        VarnuExperiment record;
        record.name = QStringLiteral("Varnu") + number;
        record.dateTime = when;
        record.picSavedPath =
            stationDir + QStringLiteral("/Pictures/") + date + QStringLiteral("/Varnu/");
        if (hasGelUv(gelUvStore, record.name, when.date())) {
            continue;
        }
        record.resolution = QStringLiteral("1064*850");
        record.exposureTime = QString::number(200 + 100 * g.number) + QLatin1Char(',');
        record.gain = QStringLiteral("8,");
        record.brightness = 25;
        record.contrast = 10;
        record.gamma = 0;
        const cv::Mat picture = gelPicture(1064, 850, g.number + g.daysBack, false);
        const QString fileName = number + QStringLiteral(".tif");
        for (const QString& folder : {record.picSavedPath, storagePath + QLatin1Char('/') + date +
                                                               QStringLiteral("/Varnu/")}) {
            if (!writePicture(folder, fileName, picture)) {
                result.error = QStringLiteral("cannot write %1 in %2").arg(fileName, folder);
                return result;
            }
            ++result.pictures;
        }
        if (!gelUvStore.insertExperiment(record)) {
            result.error = QStringLiteral("cannot store the experiment %1").arg(record.name);
            return result;
        }
        ++result.gelUvRecords;
    }

    // Western blot: a manual series of three pictures two days before.
    const QDateTime when(now.date().addDays(-2), QTime(11, 20, 45));
    WestblotExperiment blot;
    blot.expType = 1;
    blot.name =
        QStringLiteral("WestBlot_Manual") + when.toString(QStringLiteral("yyyy-MM-dd-hh-mm-ss"));
    if (!blotStore.loadByName(blot.name)) {
        const QString date = when.toString(QStringLiteral("yy-MM-dd"));
        blot.dateTime = when;
        blot.picSavedPath = stationDir + QStringLiteral("/Pictures/") + date + QLatin1Char('/') +
                            blot.name + QLatin1Char('/');
        blot.binning = 1;
        blot.exposureTime = QStringLiteral("1000,2000,4000,");
        blot.gain = QStringLiteral("2,2,2,");
        blot.blackLevel = 5;
        blot.contrast = 10;
        blot.gamma = 10;
        for (int i = 0; i < 3; ++i) {
            const QString fileName =
                when.addSecs(5 * (i + 1)).toString(QStringLiteral("hh-mm-ss-zzz")) +
                QStringLiteral(".tif");
            const cv::Mat picture = gelPicture(1024, 768, i, true);
            for (const QString& folder :
                 {blot.picSavedPath, storagePath + QLatin1Char('/') + date + QLatin1Char('/') +
                                         blot.name + QLatin1Char('/')}) {
                if (!writePicture(folder, fileName, picture)) {
                    result.error = QStringLiteral("cannot write %1 in %2").arg(fileName, folder);
                    return result;
                }
                ++result.pictures;
            }
        }
        if (!blotStore.insertExperiment(blot)) {
            result.error = QStringLiteral("cannot store the experiment %1").arg(blot.name);
            return result;
        }
        ++result.westernBlotRecords;
    }
    return result;
}
