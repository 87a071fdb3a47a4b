#include "camera/PreviewSurface.h"

#include <QMutexLocker>
#include <QPainter>

#include <cstring>

namespace {

// A bottom-up DIB as a top-down picture of its own.
QImage pictureOf(const PlatBitmapInfo* info, const void* bits) {
    const PlatDibHeader& header = info->bmiHeader;
    const int width = header.biWidth;
    const int height = header.biHeight;
    const size_t stride = plat_dib_stride(width, header.biBitCount);
    QImage::Format format = QImage::Format_Invalid;
    switch (header.biBitCount) {
        case 8:
            format = QImage::Format_Indexed8;
            break;
        case 24:
            format = QImage::Format_RGB888;
            break;
        case 32:
            format = QImage::Format_RGB32;
            break;
        default:
            return QImage();
    }
    QImage picture(width, height, format);
    if (picture.isNull()) {
        return picture;
    }
    const auto* rows = static_cast<const uchar*>(bits);
    const size_t rowBytes = static_cast<size_t>(width) * header.biBitCount / 8;
    for (int y = 0; y < height; ++y) {
        const uchar* source = rows + static_cast<size_t>(height - 1 - y) * stride;
        uchar* target = picture.scanLine(y);
        if (header.biBitCount == 24) {
            for (int x = 0; x < width; ++x) {
                target[3 * x] = source[3 * x + 2];
                target[3 * x + 1] = source[3 * x + 1];
                target[3 * x + 2] = source[3 * x];
            }
        } else {
            std::memcpy(target, source, rowBytes);
        }
    }
    if (header.biBitCount == 8) {
        const int used = header.biClrUsed == 0 ? 256 : static_cast<int>(header.biClrUsed);
        QVector<QRgb> palette(256, qRgb(0, 0, 0));
        for (int i = 0; i < used && i < 256; ++i) {
            const PlatRgbQuad& entry = info->bmiColors[i];
            palette[i] = qRgb(entry.rgbRed, entry.rgbGreen, entry.rgbBlue);
        }
        picture.setColorTable(palette);
    }
    return picture;
}

}  // namespace

PreviewSurface::PreviewSurface(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    m_window = platwin_register(&PreviewSurface::sink, this);
}

PreviewSurface::~PreviewSurface() {
    if (m_window != 0) {
        platwin_unregister(m_window);
    }
}

void PreviewSurface::clearFrame() {
    {
        QMutexLocker locker(&m_mutex);
        m_frame = QImage();
    }
    update();
}

QImage PreviewSurface::lastFrame() const {
    QMutexLocker locker(&m_mutex);
    return m_frame;
}

void PreviewSurface::sink(void* user, const PlatBitmapInfo* info, const void* bits, int x, int y,
                          int, int) {
    static_cast<PreviewSurface*>(user)->receive(info, bits, x, y);
}

void PreviewSurface::receive(const PlatBitmapInfo* info, const void* bits, int x, int y) {
    QImage picture = pictureOf(info, bits);
    if (picture.isNull()) {
        return;
    }
    if (m_mirrored) {
        picture = picture.mirrored(true, false);
    }
    {
        QMutexLocker locker(&m_mutex);
        m_frame = std::move(picture);
        m_origin = QPoint(x, y);
    }
    ++m_received;
    if (!m_repaintQueued.exchange(true)) {
        QMetaObject::invokeMethod(this, QOverload<>::of(&QWidget::update), Qt::QueuedConnection);
    }
}

void PreviewSurface::paintEvent(QPaintEvent*) {
    m_repaintQueued = false;
    QImage frame;
    QPoint origin;
    {
        QMutexLocker locker(&m_mutex);
        frame = m_frame;
        origin = m_origin;
    }
    if (frame.isNull()) {
        return;
    }
    QPainter painter(this);
    painter.drawImage(origin, frame);
    ++m_painted;
}
