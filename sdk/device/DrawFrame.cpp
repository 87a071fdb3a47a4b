// Drawing one preview frame: the shown regions of automatic exposure and
// focus, the preview callbacks, the window, then a running recording. Runs on
// the preview's drawing thread under the callback lock, so the callbacks are
// never changed while they are called.
#include <cstring>

#include "ZDQApi.h"
#include "device/Device.h"

void CDevice::DrawFrame() {
    plat::CriticalSectionLock callbacks(m_CallbackLock);
    plat::CriticalSectionLock bayer(
        m_BayerLock);  // the frame is not converted or copied out meanwhile
    if (!m_pBitmapInfo) {
        return;
    }
    const PlatDibHeader& header = m_pBitmapInfo->bmiHeader;
    std::vector<uint8_t>& shown = m_Preview.ShownFrame(header.biSizeImage);
    if (shown.empty()) {
        return;
    }
    const int nWidth = header.biWidth;
    const int nHeight = header.biHeight;
    const int nBitCount = header.biBitCount;
    uint8_t* pFrame = shown.data();
    DarkenShownRegions(pFrame, nWidth, nHeight, nBitCount);
    if (m_Preview.pfCallback != nullptr) {
        LogPrint(m_pLog, LOGLEVEL_FRAME,
                 L"ZDQAPI::++Enter Preview Callback.(m_pfPreviewCallback = 0x%x)",
                 static_cast<unsigned>(reinterpret_cast<uintptr_t>(m_Preview.pfCallback)));
        m_Preview.pfCallback(pFrame, nWidth, nHeight, nBitCount, m_Preview.pContext);
        LogPrint(m_pLog, LOGLEVEL_FRAME, L"ZDQAPI::--Leave Preview Callback.");
    }
    if (m_Preview.pfCallbackEx != nullptr) {
        // The Ex callback draws on a copy; what it drew becomes the frame.
        const size_t nBytes = header.biSizeImage;
        std::vector<uint8_t>& surface = m_Preview.surfaceBuffer;
        if (surface.size() != nBytes) {
            surface.assign(nBytes, 0);
        }
        std::memcpy(surface.data(), pFrame, nBytes);
        ZDQMemoryDC dc{surface.data(), nWidth, nHeight, nBitCount, nWidth * (nBitCount / 8)};
        m_Preview.pfCallbackEx(&dc, pFrame, nWidth, nHeight, nBitCount, m_Preview.pContextEx);
        std::memcpy(pFrame, surface.data(), nBytes);
    }
    const PreviewState::Placement placement = PreviewPlacement();
    if (placement.nWidth > 0 && placement.nHeight > 0) {
        platwin_stretch_dib(placement.hWnd, placement.x, placement.y, placement.nWidth,
                            placement.nHeight, 0, 0, nWidth, nHeight, pFrame, m_pBitmapInfo.get());
    }
    RecordShownFrame(pFrame, nWidth, nHeight, nBitCount);
}
