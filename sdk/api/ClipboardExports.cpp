// A freshly captured frame on the clipboard, as a DIB.
#include <cstring>
#include <vector>

#include "ZDQApi.h"
#include "api/ExportFrame.h"
#include "window/PlatWindow.h"

namespace {

// Captures one frame of the capture window into a DIB block (header, grey
// palette for 8 bits, pixels) and hands a copy to the clipboard.
int CaptureToClipboard(CDevice& device) {
    if (device.OnPreviewThread()) {
        return RET_STREAMNOTSTOP;
    }
    // The window and the data width that size the block stay those of the
    // capture that fills it: another thread's window set or 16-bit switch
    // waits for the whole call.
    plat::CriticalSectionLock control(device.ControlLock());
    if (device.Data16BitsOn()) {
        return RET_NOTSUPPORT;
    }
    const FieldOfView fov = device.Fov(kCaptureFov);
    const int nBitCount = device.GetOutputBitCount();
    const size_t nPalette = nBitCount == 8 ? sizeof(PlatBitmapInfo::bmiColors) : 0;
    const size_t nImage = static_cast<size_t>(fov.nWidth) * (nBitCount / 8) * fov.nHeight;
    const size_t nOffset = sizeof(PlatDibHeader) + nPalette;
    std::vector<uint8_t> block(nOffset + nImage, 0);  // lacking memory: RET_MALLOCFAIL
    PlatDibHeader header{};
    header.biSize = sizeof(PlatDibHeader);
    header.biWidth = fov.nWidth;
    header.biHeight = fov.nHeight;
    header.biPlanes = 1;
    header.biBitCount = static_cast<uint16_t>(nBitCount);
    header.biCompression = PLAT_BI_RGB;
    header.biSizeImage = static_cast<uint32_t>(nImage);
    std::memcpy(block.data(), &header, sizeof header);
    for (size_t i = 0; i < nPalette / sizeof(PlatRgbQuad); ++i) {
        const uint8_t v = static_cast<uint8_t>(i);
        const PlatRgbQuad entry{v, v, v, 0};
        std::memcpy(block.data() + sizeof header + i * sizeof entry, &entry, sizeof entry);
    }
    const int nRet = device.Capture(CDevice::CaptureKind::Rgb, block.data() + nOffset, false);
    if (nRet != RET_SUCCESS) {
        return nRet;
    }
    if (!platwin_clipboard_open()) {
        return RET_FAIL;
    }
    const bool bStored =
        platwin_clipboard_empty() && platwin_clipboard_set_dib(block.data(), block.size());
    platwin_clipboard_close();
    return bStored ? RET_SUCCESS : RET_FAIL;
}

}  // namespace

int ZDQ_CaptureRgbDataToClipboard(int nIndex) {
    ApiLog(L"ZDQAPI::++ZDQ_CaptureRgbDataToClipboard(%d)", nIndex);
    const int nRet = WithDevice(nIndex, CaptureToClipboard);
    ApiLog(L"ZDQAPI::--ZDQ_CaptureRgbDataToClipboard.Ret(%d)", nRet);
    return nRet;
}
