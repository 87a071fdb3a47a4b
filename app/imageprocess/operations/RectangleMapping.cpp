#include "RectangleMapping.h"

namespace imageops {

namespace {

// Room a scroll bar takes along the other side.
constexpr int kScrollBarRoom = 30;

QRect mapped(const QRect& labelRect, const QSize& picture, double zoom, const QSize& area,
             double margin) {
    const QRect rect = labelRect.normalized();
    if (zoom <= 0.0 || rect.isEmpty()) {
        return {};
    }
    const QPoint offset = labelOffset(area, picture, zoom);
    const int x1 = rect.left() - offset.x();
    const int y1 = rect.top() - offset.y();
    return QRect(static_cast<int>(x1 / zoom + margin), static_cast<int>(y1 / zoom + margin),
                 static_cast<int>(rect.width() / zoom), static_cast<int>(rect.height() / zoom));
}

}  // namespace

QPoint labelOffset(const QSize& area, const QSize& picture, double zoom) {
    const int shownWidth = static_cast<int>(picture.width() * zoom);
    const int shownHeight = static_cast<int>(picture.height() * zoom);
    const int a = area.width();
    const int b = area.height();
    if (a >= shownWidth && b >= shownHeight) {
        return {(a - shownWidth) / 2, (b - shownHeight) / 2};
    }
    if (a >= shownWidth) {
        return {shownWidth <= a - kScrollBarRoom ? (a - kScrollBarRoom - shownWidth) / 2 : 0, 0};
    }
    if (b >= shownHeight) {
        return {0, shownHeight <= b - kScrollBarRoom ? (b - kScrollBarRoom - shownHeight) / 2 : 0};
    }
    return {0, 0};
}

QRect cropRectangle(const QRect& labelRect, const QSize& picture, double zoom, const QSize& area) {
    return mapped(labelRect, picture, zoom, area, 0.0);
}

QRect textRectangle(const QRect& labelRect, const QSize& picture, double zoom, const QSize& area) {
    return mapped(labelRect, picture, zoom, area, 4.0);
}

int fontPixelSize(int pointSize) {
    return pointSize * 96 / 72;
}

}  // namespace imageops
