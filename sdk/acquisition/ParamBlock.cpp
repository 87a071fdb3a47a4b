#include "acquisition/ParamBlock.h"

#include <cstring>
#include <type_traits>

// The fields are copied in the machine's byte order, which is the block's.
static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "the block is little-endian");

namespace {

constexpr uint16_t kMagic = 0x5350;  // "PS"
constexpr uint16_t kOldestVersionWord = 0x0100;
constexpr uint8_t kOldestMinorOfMajor1 = 3;

// Writes fields into the block at their offsets.
struct BlockWriter {
    ParamBlockBytes& bytes;
    template <typename T>
    void Field(uint32_t nOffset, const T& value) {
        static_assert(std::is_arithmetic_v<T>);
        uint8_t raw[sizeof(T)];
        std::memcpy(raw, &value, sizeof(T));
        std::memcpy(bytes.data() + nOffset, raw, sizeof(T));
    }
};

// Reads fields from the block at their offsets.
struct BlockReader {
    const ParamBlockBytes& bytes;
    template <typename T>
    void Field(uint32_t nOffset, T& value) {
        static_assert(std::is_arithmetic_v<T>);
        std::memcpy(&value, bytes.data() + nOffset, sizeof(T));
    }
};

template <typename Io, typename Window>
void WindowFields(Io& io, uint32_t nOffset, Window& window) {
    io.Field(nOffset, window.nColStart);
    io.Field(nOffset + 4, window.nRowStart);
    io.Field(nOffset + 8, window.nColSize);
    io.Field(nOffset + 12, window.nRowSize);
    io.Field(nOffset + 16, window.nAm);
}

// Every field after the header, at its offset; one list for both ways.
template <typename Io, typename Params>
void BlockFields(Io& io, Params& p) {
    WindowFields(io, 4, p.preview);
    WindowFields(io, 24, p.capture);
    io.Field(44, p.nExposureLines);
    for (uint32_t i = 0; i < 3; ++i) {
        io.Field(48 + 4 * i, p.nGain[i]);
    }
    io.Field(60, p.byFlags);
    io.Field(61, p.byWhiteBalanceMode);
    io.Field(62, p.nWhiteBalanceThreshold);
    io.Field(66, p.byWhiteBalancePreset);
    for (uint32_t i = 0; i < 3; ++i) {
        io.Field(67 + 4 * i, p.fWhiteBalanceGains[i]);
    }
    io.Field(79, p.byMatrixMode);
    io.Field(80, p.byMatrixPreset);
    for (uint32_t i = 0; i < 9; ++i) {
        io.Field(81 + 4 * i, p.fMatrix[i]);
    }
    for (uint32_t i = 0; i < 4; ++i) {
        io.Field(117 + 4 * i, p.nAeRegion[i]);
    }
    io.Field(133, p.fAeTimeMin);
    io.Field(137, p.fAeTimeMax);
    io.Field(141, p.nAeMaxCount);
    io.Field(145, p.nAeTarget);
    io.Field(149, p.bGlobalReset);
    io.Field(150, p.wPreExposureLines);
    io.Field(152, p.fFixedFrameRate);
    io.Field(156, p.wTriggerDelay);
    io.Field(158, p.wStrobeDelay);
    io.Field(160, p.wModeBits);
    io.Field(162, p.nCaptureTimeOut);
    io.Field(166, p.bRecover);
    io.Field(167, p.byBayerMode);
    io.Field(168, p.byFilterMode);
    io.Field(169, p.nContrast);
    io.Field(173, p.nBrightness);
    io.Field(177, p.nGamma);
    io.Field(181, p.nSaturation);
    io.Field(185, p.bySensitivity);
    io.Field(189, p.byGpioDirection);
    io.Field(190, p.wIoStatus);
    for (uint32_t i = 0; i < 4; ++i) {
        io.Field(192 + 2 * i, p.wCap[i]);
    }
}

}  // namespace

uint16_t ParamModeBits::Pack() const {
    return static_cast<uint16_t>((nTriggerMode & 7) | (nTriggerMethod & 3) << 3 |
                                 (nFlashMode & 3) << 5 | (bFlashEnable ? 1 : 0) << 7 |
                                 (bFlashInvert ? 1 : 0) << 8 | (bData16Bits ? 1 : 0) << 9 |
                                 (nSensitivity & 7) << 10 | (bBadPixelCorrection ? 1 : 0) << 13 |
                                 (nBadPixelLevel & 3) << 14);
}

ParamModeBits ParamModeBits::Unpack(uint16_t wBits) {
    ParamModeBits bits;
    bits.nTriggerMode = wBits & 7;
    bits.nTriggerMethod = (wBits >> 3) & 3;
    bits.nFlashMode = (wBits >> 5) & 3;
    bits.bFlashEnable = (wBits >> 7 & 1) != 0;
    bits.bFlashInvert = (wBits >> 8 & 1) != 0;
    bits.bData16Bits = (wBits >> 9 & 1) != 0;
    bits.nSensitivity = (wBits >> 10) & 7;
    bits.bBadPixelCorrection = (wBits >> 13 & 1) != 0;
    bits.nBadPixelLevel = (wBits >> 14) & 3;
    return bits;
}

uint16_t ParamModeBits::FromOlderLayout(uint16_t wBits) {
    return static_cast<uint16_t>((wBits & ~0x001C) | ((wBits >> 2) & 3) << 3);
}

ParamBlockBytes PackParamBlock(const StoredParams& params) {
    ParamBlockBytes bytes{};
    BlockWriter writer{bytes};
    writer.Field(0, kMagic);
    writer.Field(2, params.byMinor);
    writer.Field(3, params.byMajor);
    BlockFields(writer, params);
    return bytes;
}

bool UnpackParamBlock(const ParamBlockBytes& bytes, StoredParams& params) {
    BlockReader reader{bytes};
    uint16_t wMagic = 0;
    reader.Field(0, wMagic);
    reader.Field(2, params.byMinor);
    reader.Field(3, params.byMajor);
    const uint16_t wVersion = static_cast<uint16_t>(params.byMajor << 8 | params.byMinor);
    if (wMagic != kMagic || wVersion < kOldestVersionWord ||
        (params.byMajor == 1 && params.byMinor < kOldestMinorOfMajor1)) {
        return false;
    }
    BlockFields(reader, params);
    return true;
}

bool ParamBlockHas(const StoredParams& params, int nMinor) {
    return params.byMajor > 1 || params.byMinor >= nMinor;
}
