#include "acquisition/recording/AviRecording.h"

#include <cmath>
#include <cstring>
#include <limits>

#include "ZDQApi.h"
#include "acquisition/recording/ZDQReg.h"
#include "platform/WideText.h"

namespace {

constexpr float kMinRate = 0.01f;
constexpr uint32_t kScale = 100;
// Flags of the chooser when the registry holds no options.
constexpr uint32_t kRegistryChooserFlags =
    plat::kChooseKeyFrame | plat::kChooseDataRate | plat::kChoosePreview;

// The DWORD values of the key, in the order of the options block.
struct DwordField {
    const char* pszName;
    uint32_t plat::AviCompressOptions::*pField;
};
const DwordField kDwordFields[] = {
    {"fccType", &plat::AviCompressOptions::fccType},
    {"fccHandler", &plat::AviCompressOptions::fccHandler},
    {"dwKeyFrameEvery", &plat::AviCompressOptions::dwKeyFrameEvery},
    {"dwQuality", &plat::AviCompressOptions::dwQuality},
    {"dwBytesPerSecond", &plat::AviCompressOptions::dwBytesPerSecond},
    {"dwFlags", &plat::AviCompressOptions::dwFlags},
    {"dwInterleaveEvery", &plat::AviCompressOptions::dwInterleaveEvery},
};

// The rate in hundredths, truncated (in float arithmetic, so that 0.01 gives
// 1), saturating.
uint32_t RateTimesScale(float fRate) {
    const double dRate = std::floor(static_cast<double>(fRate * static_cast<float>(kScale)));
    return dRate >= static_cast<double>(std::numeric_limits<uint32_t>::max())
               ? std::numeric_limits<uint32_t>::max()
               : static_cast<uint32_t>(dRate);
}

// How often frames left out are logged at most.
constexpr auto kLeftOutLogInterval = std::chrono::seconds(1);

std::mutex g_HooksMutex;
CAviRecording::WriterHooks g_Hooks;

}  // namespace

void CAviRecording::SetWriterHooks(const WriterHooks& hooks) {
    std::lock_guard<std::mutex> lock(g_HooksMutex);
    g_Hooks = hooks;
}

CAviRecording::CAviRecording(CLog* pLog, uint64_t nMaxFileBytes)
    : m_pLog(pLog), m_Writer(nMaxFileBytes) {
    std::lock_guard<std::mutex> lock(g_HooksMutex);
    m_Hooks = g_Hooks;
}

CAviRecording::~CAviRecording() {
    m_Closer.Join(plat::kInfinite);
}

PlatBitmapInfo CAviRecording::ExplicitFormat(int nWidth, int nHeight, int nBitCount) {
    PlatBitmapInfo info{};
    info.bmiHeader.biSize = 40;
    info.bmiHeader.biWidth = nWidth;
    info.bmiHeader.biHeight = nHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = static_cast<uint16_t>(nBitCount);
    info.bmiHeader.biCompression = PLAT_BI_RGB;
    info.bmiHeader.biSizeImage = static_cast<uint32_t>(nWidth) *
                                 static_cast<uint32_t>(nBitCount / 8) *
                                 static_cast<uint32_t>(nHeight);
    info.bmiHeader.biClrUsed = nBitCount == 8 ? 256 : 0;
    for (int i = 0; i < 256; ++i) {
        const auto v = static_cast<uint8_t>(i);
        info.bmiColors[i] = PlatRgbQuad{v, v, v, v};
    }
    return info;
}

int CAviRecording::Open(const wchar_t* pszFile, float fRate, const PlatBitmapInfo& format,
                        Options options, bool bPreview) {
    if (!(fRate >= kMinRate)) {
        return RET_FAIL;
    }
    if (plat::VideoServicesVersion() < plat::kVideoServicesVersion) {
        return RET_NOTSUPPORT;
    }
    if (pszFile == nullptr) {
        return RET_FAIL;
    }
    const PlatDibHeader& header = format.bmiHeader;
    const uint32_t nPalette = header.biClrUsed <= 256 ? header.biClrUsed : 256;
    plat::AviStreamFormat stream;
    stream.nWidth = header.biWidth;
    stream.nHeight = header.biHeight;
    stream.dwScale = kScale;
    stream.dwRate = RateTimesScale(fRate);
    stream.dwSuggestedBufferSize = header.biSizeImage;
    const auto* pFormat = reinterpret_cast<const uint8_t*>(&format);
    stream.bitmapInfo.assign(pFormat, pFormat + 40 + 4 * nPalette);
    const std::string path = plat::Utf8FromWide(pszFile);
    if (!m_Writer.Create(path, stream)) {
        LogPrint(m_pLog, LOGLEVEL_ERROR, L"ZDQAPI::**AVI file cannot be created: %ls", pszFile);
        return RET_FAIL;
    }
    plat::AviCompressOptions chosen;
    bool bStore = false;
    if (!ChooseOptions(options, chosen, bStore) || !plat::AviCompressorAvailable(chosen)) {
        m_Writer.Discard();
        return RET_FAIL;
    }
    if (bStore) {
        StoreOptions(chosen);
    }
    m_bPreview = bPreview;
    m_nWidth = header.biWidth;
    m_nHeight = header.biHeight;
    m_nBitCount = header.biBitCount;
    m_nFrameBytes = header.biSizeImage;
    m_nAviFrameIndex = 0;
    m_LastTaken = m_LastLeftOutLog = Clock::now();
    if (bPreview && !StartPreviewWriter()) {
        LogPrint(m_pLog, LOGLEVEL_ERROR, L"ZDQAPI::**AVI writer cannot be started.");
        m_Writer.Discard();
        return RET_FAIL;
    }
    return RET_SUCCESS;
}

bool CAviRecording::StartPreviewWriter() {
    if (!m_Writer.ReserveFrames(m_nFrameBytes)) {
        return false;
    }
    m_bMapped = m_Writer.MapFrames(m_nFrameBytes);
    if (m_bMapped) {
        return m_Mapped.Start(m_Writer, [this] { BeforeWrite(); });
    }
    // On disk the writer thread writes past the page cache where it can,
    // each frame straight from the buffer it was copied into.
    if (m_Writer.DirectFrames(m_nFrameBytes)) {
        CAviFrameQueue::Layout layout;
        layout.nBufferBytes = m_Writer.DirectBufferBytes();
        layout.nAlign = plat::AviWriter::kDirectBlockBytes;
        layout.leadOf = [this](uint64_t nFrame) { return m_Writer.DirectFrameLead(nFrame); };
        return m_Queue.Start(
            m_nFrameBytes,
            [this](uint8_t* pFrame) {
                BeforeWrite();
                return m_Writer.WriteDirectFrame(pFrame);
            },
            std::move(layout));
    }
    return m_Queue.Start(m_nFrameBytes, [this](const uint8_t* pFrame) {
        BeforeWrite();
        if (!m_Writer.WriteFrame(m_nAviFrameIndex, pFrame, m_nFrameBytes, true)) {
            return false;
        }
        ++m_nAviFrameIndex;
        return true;
    });
}

bool CAviRecording::ChooseOptions(Options options, plat::AviCompressOptions& chosen, bool& bStore) {
    if (options == Options::Registry) {
        bool bFound = false;
        if (!ReadRegistryOptions(chosen, bFound)) {
            return false;
        }
        if (bFound) {
            bStore = false;
            return true;
        }
        bStore = true;
        return plat::ChooseAviCompressor(chosen, kRegistryChooserFlags);
    }
    bStore = true;
    return plat::ChooseAviCompressor(chosen, 0);
}

// The options of an earlier choice. A missing DWORD value is created as 0;
// missing format and parameter blocks are created zero-filled.
bool CAviRecording::ReadRegistryOptions(plat::AviCompressOptions& options, bool& bFound) {
    CZDQReg reg;
    options = plat::AviCompressOptions{};
    bFound = reg.Open() == 0;
    if (!bFound) {
        return true;
    }
    for (const DwordField& field : kDwordFields) {
        const std::optional<uint32_t> value = reg.QueryDword(field.pszName);
        options.*field.pField = value.value_or(0);
        if (!value) {
            reg.SetDword(field.pszName, 0);
        }
    }
    uint32_t nSizes[2] = {};
    const char* const kSizeNames[2] = {"cbFormat", "cbParms"};
    for (int i = 0; i < 2; ++i) {
        const std::optional<uint32_t> value = reg.QueryDword(kSizeNames[i]);
        nSizes[i] = value.value_or(0);
        if (!value) {
            reg.SetDword(kSizeNames[i], 0);
        }
        if (nSizes[i] > kMaxOptionBlockBytes) {
            LogPrint(m_pLog, LOGLEVEL_ERROR, L"ZDQAPI::**Compressor option block too large: %u",
                     nSizes[i]);
            return false;
        }
    }
    options.format.assign(nSizes[0], 0);
    options.parms.assign(nSizes[1], 0);
    reg.QueryBinary("lpFormat", options.format.data(), nSizes[0]);
    reg.QueryBinary("lpParms", options.parms.data(), nSizes[1]);
    return true;
}

void CAviRecording::StoreOptions(const plat::AviCompressOptions& options) {
    CZDQReg reg;
    if (reg.Create() != 0) {
        LogPrint(m_pLog, LOGLEVEL_ERROR, L"ZDQAPI::**Compressor options cannot be stored.");
        return;
    }
    for (const DwordField& field : kDwordFields) {
        reg.SetDword(field.pszName, options.*field.pField);
    }
    reg.SetDword("cbFormat", static_cast<uint32_t>(options.format.size()));
    reg.SetDword("cbParms", static_cast<uint32_t>(options.parms.size()));
    reg.SetBinary("lpFormat", options.format.data(), static_cast<uint32_t>(options.format.size()));
    reg.SetBinary("lpParms", options.parms.data(), static_cast<uint32_t>(options.parms.size()));
}

void CAviRecording::BeforeWrite() const {
    if (m_Hooks.pfBeforeWrite != nullptr) {
        m_Hooks.pfBeforeWrite(m_Hooks.pUser);
    }
}

CAviRecording::Shown CAviRecording::WriteNextFrame(const uint8_t* pFrame, int nWidth, int nHeight,
                                                   int nBitCount) {
    if (m_bEnded) {
        return Shown::kEnded;
    }
    if (nWidth != m_nWidth || nHeight != m_nHeight || nBitCount != m_nBitCount) {
        m_bEnded = true;
        return Shown::kEnded;
    }
    bool bTaken = false;
    bool bFailed = false;
    if (m_bMapped) {
        const CAviMappedFrames::Pushed pushed = m_Mapped.Push(pFrame);
        bTaken = pushed == CAviMappedFrames::Pushed::kWritten;
        bFailed = pushed == CAviMappedFrames::Pushed::kFailed;
    } else {
        const CAviFrameQueue::Pushed pushed = m_Queue.Push(pFrame);
        bTaken = pushed == CAviFrameQueue::Pushed::kQueued;
        bFailed = pushed == CAviFrameQueue::Pushed::kFailed;
    }
    const Clock::time_point now = Clock::now();
    if (bTaken) {
        m_LastTaken = now;
        return Shown::kTaken;
    }
    if (bFailed) {
        m_bEnded = true;
        return Shown::kEnded;
    }
    const uint32_t nLeftOut = ++m_nLeftOut;
    if (now - m_LastTaken >= std::chrono::milliseconds(m_Hooks.nStallMs)) {
        LogPrint(m_pLog, LOGLEVEL_ERROR,
                 L"ZDQAPI::**AVI writer took no frame for %u ms, %u frames left out.",
                 m_Hooks.nStallMs, nLeftOut);
        m_bEnded = true;
        return Shown::kEnded;
    }
    if (now - m_LastLeftOutLog >= kLeftOutLogInterval) {
        LogPrint(m_pLog, LOGLEVEL_ERROR, L"ZDQAPI::**AVI writer behind, %u frames left out.",
                 nLeftOut - m_nLeftOutLogged);
        m_nLeftOutLogged = nLeftOut;
        m_LastLeftOutLog = now;
    }
    return Shown::kLeftOut;
}

int CAviRecording::AddFrame(const void* pData, int nPosition, int nWidth, int nHeight,
                            int nBitCount) {
    std::lock_guard<std::mutex> lock(m_FileMutex);
    if (m_bClosed) {
        return RET_NOTSUPPORT;
    }
    if (pData == nullptr || nWidth != m_nWidth || nHeight != m_nHeight ||
        nBitCount != m_nBitCount) {
        return RET_PARAMERROR;
    }
    if (nPosition < m_Writer.NextPosition()) {
        return RET_FAIL;
    }
    if (!m_Writer.WriteFrame(nPosition, pData, m_nFrameBytes, true)) {
        m_bEnded = true;
        return RET_FAIL;
    }
    return RET_SUCCESS;
}

void CAviRecording::End(std::function<void()> onClosed) {
    if (m_Closer.Running()) {
        return;
    }
    m_bEnded = true;
    {
        std::lock_guard<std::mutex> lock(m_FileMutex);
        m_OnClosed = std::move(onClosed);
    }
    m_Closer.Start([this] { FinishFile(); });
}

void CAviRecording::Close() {
    m_Closer.Join(plat::kInfinite);
    FinishFile();
}

void CAviRecording::FinishFile() {
    std::lock_guard<std::mutex> lock(m_FileMutex);
    if (m_bClosed) {
        return;
    }
    m_bClosed = true;
    // A failed write has already ended the file.
    m_Mapped.Finish();
    m_Queue.Finish();
    if (!m_Writer.Close()) {
        LogPrint(m_pLog, LOGLEVEL_ERROR, L"ZDQAPI::**AVI file not completed.");
    }
    if (m_nLeftOut > m_nLeftOutLogged) {
        LogPrint(m_pLog, LOGLEVEL_ERROR, L"ZDQAPI::**AVI writer behind, %u frames left out.",
                 m_nLeftOut - m_nLeftOutLogged);
    }
    if (m_OnClosed) {
        m_OnClosed();
    }
}

void CAviRecording::Discard() {
    m_Closer.Join(plat::kInfinite);
    std::lock_guard<std::mutex> lock(m_FileMutex);
    m_bClosed = true;
    m_Mapped.Finish();
    m_Queue.Finish();
    m_Writer.Discard();
}
