// Scaling a whole DIB into a caller's buffer.
#include <cstdint>
#include <cstdlib>
#include <new>

#include "Dib.h"
#include "DibScaler.h"
#include "window/PlatWindow.h"

int platwin_stretch_to_dib(const void* srcBits, const PlatBitmapInfo* srcInfo, void* dstBits,
                           const PlatBitmapInfo* dstInfo) {
    if (srcBits == nullptr || srcInfo == nullptr || dstBits == nullptr || dstInfo == nullptr) {
        return 0;
    }
    const PlatDibHeader& from = srcInfo->bmiHeader;
    const PlatDibHeader& to = dstInfo->bmiHeader;
    if (!platwin::IsScalableSource(from) || to.biBitCount != from.biBitCount ||
        to.biCompression != PLAT_BI_RGB || to.biWidth <= 0 || to.biHeight == 0) {
        return 0;
    }
    const uint32_t height = static_cast<uint32_t>(std::llabs(int64_t{to.biHeight}));
    const size_t stride = plat_dib_stride(to.biWidth, to.biBitCount);
    if (stride * height > to.biSizeImage) {
        return 0;
    }
    const int bytesPerPixel = platwin::BytesPerPixel(from.biBitCount);
    platwin::DibScaler scaler;
    try {
        scaler.Plan({static_cast<uint32_t>(from.biWidth), static_cast<uint32_t>(from.biHeight),
                     static_cast<uint32_t>(to.biWidth), height, bytesPerPixel});
    } catch (const std::bad_alloc&) {
        return 0;
    }
    const platwin::SourceRows source{
        static_cast<const uint8_t*>(srcBits),
        static_cast<ptrdiff_t>(plat_dib_stride(from.biWidth, from.biBitCount))};
    scaler.Scale(source, platwin::RowsOf(dstBits, stride, height, to.biHeight < 0));
    platwin::ClearRowPadding(static_cast<uint8_t*>(dstBits), stride,
                             size_t{static_cast<uint32_t>(to.biWidth)} * bytesPerPixel, height);
    return 1;
}
