#include "sensors/FieldOfView.h"

#include "common/Log.h"

int AddressingModeFactor(int nMode) {
    static constexpr int kFactor[6] = {1, 2, 3, 4, 8, 6};
    return nMode >= 0 && nMode < 6 ? kFactor[nMode] : 1;
}

FieldOfView MakeFieldOfView(int nColStart, int nRowStart, int nColSize, int nRowSize, int nAmCol,
                            int nAmRow, uint16_t usMultiFrameNum, bool b16BitData) {
    FieldOfView fov{};
    fov.nColStart = nColStart;
    fov.nRowStart = nRowStart;
    fov.nColSize = nColSize;
    fov.nRowSize = nRowSize;
    fov.AmCol = nAmCol;
    fov.AmRow = nAmRow;
    fov.usMultiFrameNum = usMultiFrameNum;
    fov.nWidth = nColSize / AddressingModeFactor(nAmCol);
    fov.nHeight = nRowSize / AddressingModeFactor(nAmRow) * usMultiFrameNum;
    fov.ulTotalPixels = static_cast<uint32_t>(fov.nWidth) * static_cast<uint32_t>(fov.nHeight);
    fov.ulTotalBytes = fov.ulTotalPixels * (b16BitData ? 2u : 1u);
    return fov;
}

void LogFieldOfView(CLog* pLog, int nWhich, const FieldOfView& fov) {
    if (pLog == nullptr) {
        return;
    }
    LogPrint(pLog, LOGLEVEL_NORMAL, L"ZDQAPI::++++ZDQLOG_OUTPUT_FOV++++");
    LogPrint(pLog, LOGLEVEL_NORMAL,
             nWhich == kCaptureFov ? L"ZDQAPI::Capture Fov" : L"ZDQAPI::Preview Fov");
    LogPrint(pLog, LOGLEVEL_NORMAL, L"ZDQAPI::nColStart:        %d", fov.nColStart);
    LogPrint(pLog, LOGLEVEL_NORMAL, L"ZDQAPI::nRowStart:        %d", fov.nRowStart);
    LogPrint(pLog, LOGLEVEL_NORMAL, L"ZDQAPI::nColSize:         %d", fov.nColSize);
    LogPrint(pLog, LOGLEVEL_NORMAL, L"ZDQAPI::nRowSize:         %d", fov.nRowSize);
    LogPrint(pLog, LOGLEVEL_NORMAL, L"ZDQAPI::AmCol:            %d", fov.AmCol);
    LogPrint(pLog, LOGLEVEL_NORMAL, L"ZDQAPI::AmRow:            %d", fov.AmRow);
    LogPrint(pLog, LOGLEVEL_NORMAL, L"ZDQAPI::nWidth:           %d", fov.nWidth);
    LogPrint(pLog, LOGLEVEL_NORMAL, L"ZDQAPI::nHeight:          %d", fov.nHeight);
    LogPrint(pLog, LOGLEVEL_NORMAL, L"ZDQAPI::ulTotalPixels:    %d", fov.ulTotalPixels);
    LogPrint(pLog, LOGLEVEL_NORMAL, L"ZDQAPI::ulTotalBytes:     %d", fov.ulTotalBytes);
    LogPrint(pLog, LOGLEVEL_NORMAL, L"ZDQAPI::usMultiFrameNum:  %d", fov.usMultiFrameNum);
    LogPrint(pLog, LOGLEVEL_NORMAL, L"ZDQAPI::----ZDQLOG_OUTPUT_FOV----");
}
