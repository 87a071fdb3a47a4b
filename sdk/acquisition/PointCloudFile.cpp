#include "acquisition/PointCloudFile.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>

#include "ZDQApi.h"
#include "acquisition/Laser3DProfile.h"
#include "platform/WideText.h"

namespace {

// Text is collected and written in pieces of this size.
constexpr size_t kChunkBytes = 1 << 20;

// Appends "%.5f" of a float without the cost of printf: a float times 10^5
// is exact in a double (24 + 12 significant bits), so rounding it to an
// integer in the default mode rounds as printf does. Values too large for
// that, and NaN and infinities, go through printf.
void AppendFixed5(std::string& text, float fValue) {
    const double dValue = static_cast<double>(fValue);
    if (!std::isfinite(dValue) || std::fabs(dValue) >= 1e13) {
        char buffer[64];
        const int n = std::snprintf(buffer, sizeof buffer, "%.5f", dValue);
        text.append(buffer, n > 0 ? static_cast<size_t>(std::min(n, 63)) : 0);
        return;
    }
    uint64_t nScaled = static_cast<uint64_t>(std::fabs(std::nearbyint(dValue * 100000.0)));
    char buffer[32];
    char* p = buffer + sizeof buffer;
    for (int i = 0; i < 5; ++i) {
        *--p = static_cast<char>('0' + nScaled % 10);
        nScaled /= 10;
    }
    *--p = '.';
    do {
        *--p = static_cast<char>('0' + nScaled % 10);
        nScaled /= 10;
    } while (nScaled != 0);
    if (std::signbit(dValue)) {
        *--p = '-';
    }
    text.append(p, static_cast<size_t>(buffer + sizeof buffer - p));
}

struct FileCloser {
    void operator()(std::FILE* pFile) const { std::fclose(pFile); }
};

}  // namespace

int SavePointCloudPcd(int nWidth, int nHeight, const float* pX, const float* pY, const float* pZ,
                      const wchar_t* pszFile) {
    if (nWidth <= 0 || nHeight <= 0 || pX == nullptr || pY == nullptr || pZ == nullptr ||
        pszFile == nullptr) {
        return RET_PARAMERROR;
    }
    const uint64_t nPoints = static_cast<uint64_t>(nWidth) * static_cast<uint64_t>(nHeight);
    const std::string path = plat::Utf8FromWide(pszFile);
    std::unique_ptr<std::FILE, FileCloser> pFile(std::fopen(path.c_str(), "wb"));
    if (!pFile) {
        return RET_FAIL;
    }
    std::string text;
    text.reserve(kChunkBytes + 256);
    char line[160];
    text +=
        "# .PCD v0.7 - Point Cloud Data file format\nVERSION 0.7\nFIELDS x y z\n"
        "SIZE 4 4 4\nTYPE F F F\nCOUNT 1 1 1\n";
    std::snprintf(line, sizeof line, "WIDTH %d\nHEIGHT %d\nVIEWPOINT 0 0 0 1 0 0 0\nPOINTS %llu\n",
                  nWidth, nHeight, static_cast<unsigned long long>(nPoints));
    text += line;
    text += "DATA ascii";
    bool bWritten = true;
    for (uint64_t i = 0; i < nPoints && bWritten; ++i) {
        if (pX[i] == kInvalidHeight) {
            text += "\nnan nan nan";
        } else {
            text += '\n';
            AppendFixed5(text, pX[i]);
            text += ' ';
            AppendFixed5(text, pY[i]);
            text += ' ';
            AppendFixed5(text, pZ[i]);
        }
        if (text.size() >= kChunkBytes) {
            bWritten = std::fwrite(text.data(), 1, text.size(), pFile.get()) == text.size();
            text.clear();
        }
    }
    if (bWritten && !text.empty()) {
        bWritten = std::fwrite(text.data(), 1, text.size(), pFile.get()) == text.size();
    }
    const bool bClosed = std::fclose(pFile.release()) == 0;
    if (!bWritten || !bClosed) {
        std::remove(path.c_str());
        return RET_FAIL;
    }
    return RET_SUCCESS;
}
