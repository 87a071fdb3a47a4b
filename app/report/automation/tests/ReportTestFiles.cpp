#include "ReportTestFiles.h"

#include <QDir>
#include <QFile>
#include <QXmlStreamReader>

#include <opencv2/core.hpp>
#include <opencv2/imgcodecs.hpp>

#include <zip.h>

#include <vector>

namespace reporttest {

QMap<QString, QByteArray> readZip(const QString& path) {
    QMap<QString, QByteArray> files;
    int error = 0;
    zip_t* archive = zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &error);
    if (archive == nullptr) {
        return files;
    }
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t stat;
        if (zip_stat_index(archive, static_cast<zip_uint64_t>(i), 0, &stat) != 0) {
            continue;
        }
        zip_file_t* file = zip_fopen_index(archive, static_cast<zip_uint64_t>(i), 0);
        if (file == nullptr) {
            continue;
        }
        QByteArray data(static_cast<int>(stat.size), '\0');
        if (stat.size > 0) {
            zip_fread(file, data.data(), stat.size);
        }
        zip_fclose(file);
        files.insert(QString::fromUtf8(stat.name), data);
    }
    zip_discard(archive);
    return files;
}

bool writeZip(const QString& path, const QMap<QString, QByteArray>& files) {
    QFile::remove(path);
    int error = 0;
    zip_t* archive =
        zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (archive == nullptr) {
        return false;
    }
    for (auto it = files.constBegin(); it != files.constEnd(); ++it) {
        // libzip reads the buffer when the archive closes; `files` outlives that.
        zip_source_t* source = zip_source_buffer(archive, it.value().constData(),
                                                 static_cast<zip_uint64_t>(it.value().size()), 0);
        if (source == nullptr ||
            zip_file_add(archive, it.key().toUtf8().constData(), source, ZIP_FL_ENC_UTF_8) < 0) {
            zip_source_free(source);
            zip_discard(archive);
            return false;
        }
    }
    return zip_close(archive) == 0;
}

QString builtTemplatePath() {
    return QStringLiteral(VARNU_REPORT_TEMPLATE_PATH);
}

bool installTemplate(const QString& station) {
    QDir().mkpath(station + "/documents");
    const QString target = station + "/documents/report.dotx";
    QFile::remove(target);
    return QFile::copy(builtTemplatePath(), target);
}

int pictureSample(int x, int y, int depth) {
    return depth == 16 ? (x * 251 + y * 997) % 65536 : (x * 7 + y * 3) % 256;
}

bool writeGreyPicture(const QString& path, int width, int height, int depth, int dpi) {
    cv::Mat image(height, width, depth == 16 ? CV_16UC1 : CV_8UC1);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (depth == 16) {
                image.at<ushort>(y, x) = static_cast<ushort>(pictureSample(x, y, 16));
            } else {
                image.at<uchar>(y, x) = static_cast<uchar>(pictureSample(x, y, 8));
            }
        }
    }
    std::vector<int> params;
    if (path.endsWith(".tif")) {
        params = {cv::IMWRITE_TIFF_RESUNIT, 2,   cv::IMWRITE_TIFF_XDPI,        dpi,
                  cv::IMWRITE_TIFF_YDPI,    dpi, cv::IMWRITE_TIFF_COMPRESSION, 1};
    }
    return cv::imwrite(QFile::encodeName(path).toStdString(), image, params);
}

QString bookmarkText(const QByteArray& documentXml, const QString& name, bool* found) {
    QXmlStreamReader reader(documentXml);
    QString id;
    bool inside = false;
    bool inText = false;
    QString text;
    if (found != nullptr) {
        *found = false;
    }
    while (!reader.atEnd()) {
        const auto token = reader.readNext();
        if (token == QXmlStreamReader::StartElement) {
            const QStringRef local = reader.name();
            const QXmlStreamAttributes a = reader.attributes();
            if (local == QLatin1String("bookmarkStart") &&
                a.value(QStringLiteral("w:name")) == name) {
                id = a.value(QStringLiteral("w:id")).toString();
                inside = true;
                if (found != nullptr) {
                    *found = true;
                }
            } else if (local == QLatin1String("bookmarkEnd") && inside &&
                       a.value(QStringLiteral("w:id")) == id) {
                return text;
            } else if (inside && local == QLatin1String("t")) {
                inText = true;
            } else if (inside && local == QLatin1String("tab")) {
                text += '\t';
            } else if (inside && local == QLatin1String("br")) {
                text += '\n';
            }
        } else if (token == QXmlStreamReader::EndElement && reader.name() == QLatin1String("t")) {
            inText = false;
        } else if (token == QXmlStreamReader::Characters && inText) {
            text += reader.text();
        }
    }
    return text;
}

int occurrences(const QByteArray& haystack, const QByteArray& needle) {
    int count = 0;
    for (int at = haystack.indexOf(needle); at >= 0; at = haystack.indexOf(needle, at + 1)) {
        ++count;
    }
    return count;
}

}  // namespace reporttest
