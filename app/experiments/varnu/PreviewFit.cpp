#include "PreviewFit.h"

QSize fitPreview(int W, int H, int w, int h) {
    if (w <= 0 || h <= 0) {
        return QSize(0, 0);
    }
    if (W >= w && H >= h) {
        return QSize(w, h);
    }
    if (W >= w) {
        return QSize(w * H / h, H);
    }
    if (H >= h) {
        return QSize(W, h * W / w);
    }
    // Both sides too large: the side that is shorter relative to the view
    // limits (W / H < w / h compared exactly).
    if (static_cast<long long>(W) * h < static_cast<long long>(w) * H) {
        return QSize(W, h * W / w);
    }
    return QSize(w * H / h, H);
}
