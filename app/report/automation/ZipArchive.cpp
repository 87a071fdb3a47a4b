#include "ZipArchive.h"

#include <zip.h>

#include <memory>

namespace varnu {

namespace {

QString zipErrorText(zip_error_t* error) {
    return QString::fromUtf8(zip_error_strerror(error));
}

struct ArchiveCloser {
    void operator()(zip_t* archive) const { zip_discard(archive); }
};
struct SourceFreer {
    void operator()(zip_source_t* source) const { zip_source_free(source); }
};
struct FileCloser {
    void operator()(zip_file_t* file) const { zip_fclose(file); }
};

}  // namespace

bool ZipArchive::read(const QByteArray& bytes, std::vector<ZipEntry>* entries, QString* error,
                      qint64 maxTotalSize) {
    entries->clear();
    zip_error_t zerror;
    zip_error_init(&zerror);
    // The source reads `bytes` in place; it is freed with the archive, or
    // here when the archive cannot be opened.
    zip_source_t* source = zip_source_buffer_create(
        bytes.constData(), static_cast<zip_uint64_t>(bytes.size()), 0, &zerror);
    if (source == nullptr) {
        *error = zipErrorText(&zerror);
        zip_error_fini(&zerror);
        return false;
    }
    std::unique_ptr<zip_t, ArchiveCloser> archive(
        zip_open_from_source(source, ZIP_RDONLY, &zerror));
    if (archive == nullptr) {
        zip_source_free(source);
        *error = QStringLiteral("not a zip archive (%1)").arg(zipErrorText(&zerror));
        zip_error_fini(&zerror);
        return false;
    }
    zip_error_fini(&zerror);

    const zip_int64_t count = zip_get_num_entries(archive.get(), 0);
    qint64 total = 0;
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t stat;
        zip_stat_init(&stat);
        if (zip_stat_index(archive.get(), static_cast<zip_uint64_t>(i), 0, &stat) != 0 ||
            !(stat.valid & ZIP_STAT_NAME) || !(stat.valid & ZIP_STAT_SIZE)) {
            *error = QStringLiteral("entry %1 of the archive cannot be read").arg(i);
            return false;
        }
        const QString name = QString::fromUtf8(stat.name);
        if (name.endsWith(QLatin1Char('/'))) {
            continue;
        }
        total += static_cast<qint64>(stat.size);
        if (stat.size > static_cast<zip_uint64_t>(maxTotalSize) || total > maxTotalSize) {
            *error = QStringLiteral("the archive is too large");
            return false;
        }
        std::unique_ptr<zip_file_t, FileCloser> file(
            zip_fopen_index(archive.get(), static_cast<zip_uint64_t>(i), 0));
        if (file == nullptr) {
            *error = QStringLiteral("%1: %2").arg(name, zipErrorText(zip_get_error(archive.get())));
            return false;
        }
        ZipEntry entry;
        entry.name = name;
        entry.compress = stat.comp_method != ZIP_CM_STORE;
        entry.data.resize(static_cast<int>(stat.size));
        const zip_int64_t got =
            stat.size == 0 ? 0 : zip_fread(file.get(), entry.data.data(), stat.size);
        if (got != static_cast<zip_int64_t>(stat.size)) {
            *error =
                QStringLiteral("%1: %2").arg(name, zipErrorText(zip_file_get_error(file.get())));
            return false;
        }
        entries->push_back(std::move(entry));
    }
    return true;
}

bool ZipArchive::write(const std::vector<ZipEntry>& entries, QByteArray* bytes, QString* error) {
    zip_error_t zerror;
    zip_error_init(&zerror);
    std::unique_ptr<zip_source_t, SourceFreer> target(
        zip_source_buffer_create(nullptr, 0, 0, &zerror));
    if (target == nullptr) {
        *error = zipErrorText(&zerror);
        zip_error_fini(&zerror);
        return false;
    }
    // The archive takes a reference of its own; `target` keeps the written
    // bytes after the archive is closed.
    zip_source_keep(target.get());
    zip_t* archive = zip_open_from_source(target.get(), ZIP_TRUNCATE, &zerror);
    if (archive == nullptr) {
        zip_source_free(target.get());
        *error = zipErrorText(&zerror);
        zip_error_fini(&zerror);
        return false;
    }
    zip_error_fini(&zerror);

    for (const ZipEntry& entry : entries) {
        // The entry's bytes are read while the archive closes; `entries`
        // outlives that.
        zip_source_t* data = zip_source_buffer(archive, entry.data.constData(),
                                               static_cast<zip_uint64_t>(entry.data.size()), 0);
        const zip_int64_t index =
            data == nullptr
                ? -1
                : zip_file_add(archive, entry.name.toUtf8().constData(), data, ZIP_FL_ENC_UTF_8);
        if (index < 0) {
            if (data != nullptr) {
                zip_source_free(data);
            }
            *error = QStringLiteral("%1: %2").arg(entry.name, zipErrorText(zip_get_error(archive)));
            zip_discard(archive);
            return false;
        }
        zip_set_file_compression(archive, static_cast<zip_uint64_t>(index),
                                 entry.compress ? ZIP_CM_DEFLATE : ZIP_CM_STORE, 0);
    }
    if (zip_close(archive) != 0) {
        *error = zipErrorText(zip_get_error(archive));
        zip_discard(archive);
        return false;
    }

    zip_source_t* written = target.get();
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_source_stat(written, &stat) != 0 || !(stat.valid & ZIP_STAT_SIZE) ||
        zip_source_open(written) != 0) {
        *error = zipErrorText(zip_source_error(written));
        return false;
    }
    bytes->resize(static_cast<int>(stat.size));
    const zip_int64_t got = stat.size == 0 ? 0 : zip_source_read(written, bytes->data(), stat.size);
    zip_source_close(written);
    if (got != static_cast<zip_int64_t>(stat.size)) {
        *error = QStringLiteral("the written archive cannot be read back");
        return false;
    }
    return true;
}

}  // namespace varnu
