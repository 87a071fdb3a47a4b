// picture-write-child: writes one picture file whole, the way the station's
// exports do, and ends the way its first argument asks, so that a test can
// look at what a write that was cut short leaves behind:
//   size-limit-signal   under a file-size limit of the third argument's
//                       bytes; the write ends the process (SIGXFSZ)
//   size-limit-error    the same with SIGXFSZ ignored: the write fails
//   complete            without a limit
// The second argument is the target (.png, .bmp or .tif for raw bytes). A
// write that failed ends with exit code 3 and its reason on stderr.

#include "pictures/PictureFileWrite.h"

#include <QCoreApplication>
#include <QImage>
#include <QRandomGenerator>
#include <QTextStream>

#include <sys/resource.h>
#include <csignal>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3) {
        return 2;
    }
    const QString mode = args.at(1);
    const QString target = args.at(2);
    // Noise, so that no encoding makes it small.
    QImage picture(300, 200, QImage::Format_RGB32);
    QRandomGenerator random(7);
    for (int y = 0; y < picture.height(); ++y) {
        auto* row = reinterpret_cast<quint32*>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            row[x] = random.generate() | 0xFF000000u;
        }
    }
    if (mode.startsWith(QLatin1String("size-limit"))) {
        if (mode == QLatin1String("size-limit-error")) {
            signal(SIGXFSZ, SIG_IGN);
        }
        const rlim_t limit = args.size() > 3 ? args.at(3).toULongLong() : 4096;
        const struct rlimit fileSize = {limit, limit};
        if (setrlimit(RLIMIT_FSIZE, &fileSize) != 0) {
            return 2;
        }
    }
    QString error;
    const bool written = target.endsWith(QLatin1String(".tif"))
                             ? pictures::writeWholeFile(
                                   target,
                                   QByteArray(reinterpret_cast<const char*>(picture.constBits()),
                                              static_cast<int>(picture.sizeInBytes())),
                                   &error)
                             : pictures::savePictureWhole(picture, target, nullptr, &error);
    if (!written) {
        QTextStream(stderr) << error << Qt::endl;
        return 3;
    }
    return 0;
}
