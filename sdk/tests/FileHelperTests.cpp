// The image file helpers: BMP, JPEG and TIFF files read back with readers of
// their own (OpenCV, libjpeg, libtiff), BMP header blocks, the refusals, the
// call-log lines and files whose writing fails.
#include <dirent.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include <jpeglib.h>
#include <tiffio.h>
#include <opencv2/core.hpp>
#include <opencv2/imgcodecs.hpp>

#include "TestScratch.h"
#include "ZDQApi.h"
#include "api/ExportFrame.h"
#include "common/Log.h"
#include "platform/WideText.h"

namespace {

uint32_t Dword(const std::string& bytes, size_t offset) {
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value = value << 8 | static_cast<unsigned char>(bytes.at(offset + i));
    }
    return value;
}

uint16_t Word(const std::string& bytes, size_t offset) {
    return static_cast<uint16_t>(static_cast<unsigned char>(bytes.at(offset)) |
                                 static_cast<unsigned char>(bytes.at(offset + 1)) << 8);
}

// Bytes that differ from their neighbours, so any misplaced byte shows.
std::vector<unsigned char> PatternBytes(size_t count) {
    std::vector<unsigned char> bytes(count);
    for (size_t i = 0; i < count; ++i) {
        bytes[i] = static_cast<unsigned char>((i * 131 + 7) ^ (i >> 8));
    }
    return bytes;
}

// Hex of a data pointer as the call log shows it.
std::string LoggedPointer(const void* p) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%x", LogPointer(p));
    return text;
}

// Each test gets an empty folder and a user-call log of its own.
class FileHelperTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* root = std::getenv("VARNU_TEST_SCRATCH");
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string(info->test_suite_name()) + "." + info->name();
        for (char& c : name) {
            c = c == '/' ? '_' : c;
        }
        m_folder = std::string(root != nullptr ? root : "/tmp") + "/" + name;
        ASSERT_EQ(std::system(("rm -rf '" + m_folder + "'").c_str()), 0);
        ASSERT_EQ(mkdir(m_folder.c_str(), 0755), 0);
        m_logPath = m_folder + ".log";
        std::remove(m_logPath.c_str());
        g_pLog = new CLog(plat::WideFromUtf8(m_logPath));
    }
    void TearDown() override {
        delete g_pLog;
        g_pLog = nullptr;
    }

    std::string PathOf(const std::string& name) const { return m_folder + "/" + name; }
    std::wstring WidePathOf(const std::string& name) const {
        return plat::WideFromUtf8(PathOf(name));
    }

    std::vector<std::string> FilesInFolder() const {
        std::vector<std::string> names;
        if (DIR* dir = opendir(m_folder.c_str())) {
            while (const dirent* entry = readdir(dir)) {
                if (entry->d_name[0] != '.') {
                    names.push_back(entry->d_name);
                }
            }
            closedir(dir);
        }
        return names;
    }

    // The texts of the "ZDQAPI::" lines of the call log so far.
    std::vector<std::string> CallLogLines() const {
        const std::string text = testutil::ReadFile(m_logPath);
        static const std::regex line(
            R"(\d{4}-\d{2}-\d{2} \d{2}-\d{2}-\d{2}-\d{4}: (ZDQAPI::[^\n]*)\n)");
        std::vector<std::string> lines;
        for (auto it = std::sregex_iterator(text.begin(), text.end(), line);
             it != std::sregex_iterator(); ++it) {
            lines.push_back((*it)[1].str());
        }
        return lines;
    }

    std::string m_folder;
    std::string m_logPath;
};

// ---- BMP ----------------------------------------------------------------

struct BmpCase {
    int nBitCount;
    uint32_t nStride;  // padded row bytes at width 3
    uint32_t nOffBits;
};
const BmpCase kBmpCases[] = {{8, 4, 1078}, {24, 12, 54}, {32, 12, 54}};

TEST_F(FileHelperTest, BmpFileHoldsTheHeadersThePaletteAndThePaddedRowsAsGiven) {
    const int nWidth = 3;
    const int nHeight = 5;
    for (const BmpCase& c : kBmpCases) {
        SCOPED_TRACE(c.nBitCount);
        const std::string name = "frame-\xc3\xa4-" + std::to_string(c.nBitCount) + ".bmp";
        const std::vector<unsigned char> frame = PatternBytes(c.nStride * nHeight);
        ASSERT_EQ(ZDQ_HelperSaveToBmp(frame.data(), nWidth, nHeight, c.nBitCount,
                                      WidePathOf(name).c_str()),
                  RET_SUCCESS);

        const std::string bytes = testutil::ReadFile(PathOf(name));
        const uint32_t nImageBytes = c.nStride * nHeight;
        ASSERT_EQ(bytes.size(), c.nOffBits + nImageBytes);
        EXPECT_EQ(bytes.substr(0, 2), "BM");
        EXPECT_EQ(Dword(bytes, 2), bytes.size());
        EXPECT_EQ(Dword(bytes, 6), 0u);
        EXPECT_EQ(Dword(bytes, 10), c.nOffBits);
        EXPECT_EQ(Dword(bytes, 14), 40u);
        EXPECT_EQ(Dword(bytes, 18), 3u);
        EXPECT_EQ(Dword(bytes, 22), 5u);
        EXPECT_EQ(Word(bytes, 26), 1u);
        EXPECT_EQ(Word(bytes, 28), c.nBitCount);
        EXPECT_EQ(Dword(bytes, 30), 0u);
        EXPECT_EQ(Dword(bytes, 34), nImageBytes);
        EXPECT_EQ(bytes.substr(38, 16), std::string(16, '\0'));
        for (uint32_t i = 0; c.nBitCount == 8 && i < 256; ++i) {
            ASSERT_EQ(Dword(bytes, 54 + 4 * i), i * 0x01010101u) << "palette entry " << i;
        }
        EXPECT_EQ(bytes.substr(c.nOffBits), std::string(frame.begin(), frame.end()));

        // Another reader shows the first buffer row at the bottom.
        const cv::Mat image = cv::imread(PathOf(name), cv::IMREAD_UNCHANGED);
        ASSERT_FALSE(image.empty());
        ASSERT_EQ(image.cols, nWidth);
        ASSERT_EQ(image.rows, nHeight);
        const int nChannels = c.nBitCount == 8 ? 1 : 3;
        ASSERT_EQ(image.channels(), nChannels);
        for (int y = 0; y < nHeight; ++y) {
            for (int x = 0; x < nWidth; ++x) {
                for (int ch = 0; ch < nChannels; ++ch) {
                    const size_t source = (nHeight - 1 - y) * c.nStride + x * c.nBitCount / 8 + ch;
                    ASSERT_EQ(image.ptr<uint8_t>(y)[x * nChannels + ch], frame[source])
                        << "x " << x << " y " << y << " channel " << ch;
                }
            }
        }
    }
}

TEST_F(FileHelperTest, HeaderHelperDescribesUnpaddedFramesAndOtherwiseMatchesTheFile) {
    for (const BmpCase& c : kBmpCases) {
        SCOPED_TRACE(c.nBitCount);
        int nSize = 0;
        ASSERT_EQ(ZDQ_HelperGetBmpFileHeaderSize(c.nBitCount, &nSize), RET_SUCCESS);
        EXPECT_EQ(static_cast<uint32_t>(nSize), c.nOffBits);

        // Width 3: the header counts 3 x bytes per pixel per row, no padding.
        std::string header(nSize, '\x55');
        ASSERT_EQ(ZDQ_HelperGetBmpFileHeader(3, 7, c.nBitCount,
                                             reinterpret_cast<unsigned char*>(&header[0])),
                  RET_SUCCESS);
        const uint32_t nPacked = 3u * c.nBitCount / 8 * 7;
        EXPECT_EQ(Dword(header, 34), nPacked) << "biSizeImage";
        EXPECT_EQ(Dword(header, 2), c.nOffBits + nPacked) << "bfSize";

        // Width 4 needs no padding: the block is the head of the BMP file.
        const int nWidth = 4;
        const std::vector<unsigned char> frame = PatternBytes(nWidth * c.nBitCount / 8 * 7);
        const std::string name = std::to_string(c.nBitCount) + ".bmp";
        ASSERT_EQ(
            ZDQ_HelperSaveToBmp(frame.data(), nWidth, 7, c.nBitCount, WidePathOf(name).c_str()),
            RET_SUCCESS);
        ASSERT_EQ(ZDQ_HelperGetBmpFileHeader(nWidth, 7, c.nBitCount,
                                             reinterpret_cast<unsigned char*>(&header[0])),
                  RET_SUCCESS);
        EXPECT_EQ(header, testutil::ReadFile(PathOf(name)).substr(0, nSize));
    }
    // The largest frame whose size still fits the 32-bit fields.
    std::string header(1078, '\0');
    ASSERT_EQ(
        ZDQ_HelperGetBmpFileHeader(INT_MAX, 1, 8, reinterpret_cast<unsigned char*>(&header[0])),
        RET_SUCCESS);
    EXPECT_EQ(Dword(header, 34), static_cast<uint32_t>(INT_MAX));
    EXPECT_EQ(Dword(header, 2), INT_MAX + 1078u);
}

TEST_F(FileHelperTest, BmpHelpersRefuseBadArgumentsWithoutLoggingOrCreatingAFile) {
    const std::vector<unsigned char> frame = PatternBytes(64);
    const std::wstring name = WidePathOf("refused.bmp");
    unsigned char header[1078];
    int nSize = 0;
    const struct {
        const char* what;
        std::function<int()> call;
    } kCalls[] = {
        {"null data", [&] { return ZDQ_HelperSaveToBmp(nullptr, 4, 4, 8, name.c_str()); }},
        {"width 0", [&] { return ZDQ_HelperSaveToBmp(frame.data(), 0, 4, 8, name.c_str()); }},
        {"height -1", [&] { return ZDQ_HelperSaveToBmp(frame.data(), 4, -1, 8, name.c_str()); }},
        {"16 bits", [&] { return ZDQ_HelperSaveToBmp(frame.data(), 4, 4, 16, name.c_str()); }},
        {"null name", [&] { return ZDQ_HelperSaveToBmp(frame.data(), 4, 4, 8, nullptr); }},
        {"beyond 4 GiB",
         [&] { return ZDQ_HelperSaveToBmp(frame.data(), 65536, 65536, 8, name.c_str()); }},
        {"size: 16 bits", [&] { return ZDQ_HelperGetBmpFileHeaderSize(16, &nSize); }},
        {"size: 0 bits", [&] { return ZDQ_HelperGetBmpFileHeaderSize(0, &nSize); }},
        {"size: null", [&] { return ZDQ_HelperGetBmpFileHeaderSize(8, nullptr); }},
        {"header: width 0", [&] { return ZDQ_HelperGetBmpFileHeader(0, 4, 8, header); }},
        {"header: height 0", [&] { return ZDQ_HelperGetBmpFileHeader(4, 0, 8, header); }},
        {"header: 16 bits", [&] { return ZDQ_HelperGetBmpFileHeader(4, 4, 16, header); }},
        {"header: null", [&] { return ZDQ_HelperGetBmpFileHeader(4, 4, 8, nullptr); }},
        {"header: beyond 4 GiB", [&] { return ZDQ_HelperGetBmpFileHeader(INT_MAX, 2, 8, header); }},
    };
    for (const auto& c : kCalls) {
        EXPECT_EQ(c.call(), RET_PARAMERROR) << c.what;
    }
    EXPECT_EQ(nSize, 0);
    EXPECT_TRUE(FilesInFolder().empty());
    EXPECT_TRUE(CallLogLines().empty());
}

TEST_F(FileHelperTest, BmpWriterLogsTheCallAndItsResult) {
    const std::vector<unsigned char> frame = PatternBytes(4 * 3 * 2);
    const std::string saved = PathOf("saved.bmp");
    const std::string missing = PathOf("missing/frame.bmp");
    EXPECT_EQ(ZDQ_HelperSaveToBmp(frame.data(), 4, 2, 24, plat::WideFromUtf8(saved).c_str()),
              RET_SUCCESS);
    EXPECT_EQ(ZDQ_HelperSaveToBmp(frame.data(), 4, 2, 24, plat::WideFromUtf8(missing).c_str()),
              RET_FAIL);
    EXPECT_FALSE(testutil::FileExists(PathOf("missing")));
    const std::string call =
        "ZDQAPI::++ZDQ_HelperSaveToBmp(" + LoggedPointer(frame.data()) + ", 4, 2, 24, ";
    const std::vector<std::string> expected = {
        call + saved + ")",
        "ZDQAPI::--ZDQ_HelperSaveToBmp.Ret(RET_SUCCESS)",
        call + missing + ")",
        "ZDQAPI::--ZDQ_HelperSaveToBmp.Ret(RET_FAIL)",
    };
    EXPECT_EQ(CallLogLines(), expected);
}

// ---- JPEG ---------------------------------------------------------------

// What libjpeg reads from a file's header.
struct JpegHeader {
    int nWidth = 0;
    int nHeight = 0;
    int nComponents = 0;
    J_COLOR_SPACE colorSpace = JCS_UNKNOWN;
    bool bProgressive = true;
    int nFirstQuantValue = 0;  // of the luminance table
};

JpegHeader ReadJpegHeader(const std::string& path) {
    JpegHeader header;
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        ADD_FAILURE() << "cannot open " << path;
        return header;
    }
    jpeg_decompress_struct info{};
    jpeg_error_mgr error{};
    info.err = jpeg_std_error(&error);
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    header.nWidth = static_cast<int>(info.image_width);
    header.nHeight = static_cast<int>(info.image_height);
    header.nComponents = info.num_components;
    header.colorSpace = info.jpeg_color_space;
    header.bProgressive = info.progressive_mode != 0;
    header.nFirstQuantValue = info.quant_tbl_ptrs[0]->quantval[0];
    jpeg_destroy_decompress(&info);
    std::fclose(file);
    return header;
}

// A smooth frame (JPEG keeps it closely) whose rows and colours all differ:
// blue rises to the right, red to the top of the image, green is constant.
std::vector<unsigned char> SmoothFrame(int nWidth, int nHeight, int nBitCount) {
    const int nPixelBytes = nBitCount / 8;
    std::vector<unsigned char> frame(static_cast<size_t>(nWidth) * nHeight * nPixelBytes);
    for (int row = 0; row < nHeight; ++row) {  // row 0 is the bottom row
        for (int x = 0; x < nWidth; ++x) {
            unsigned char* p = &frame[(static_cast<size_t>(row) * nWidth + x) * nPixelBytes];
            const int blue = 30 + 180 * x / (nWidth - 1);
            const int red = 30 + 180 * row / (nHeight - 1);
            if (nBitCount == 8) {
                p[0] = static_cast<unsigned char>((blue + red) / 2);
                continue;
            }
            p[0] = static_cast<unsigned char>(blue);
            p[1] = 120;
            p[2] = static_cast<unsigned char>(red);
            if (nBitCount == 32) {
                p[3] = 0xFF;
            }
        }
    }
    return frame;
}

TEST_F(FileHelperTest, JpegFileHoldsTheFrameTopDownAsGreyOrRgb) {
    const int nWidth = 48;
    const int nHeight = 32;
    const struct {
        int nBitCount;
        int nComponents;
        J_COLOR_SPACE colorSpace;
    } kCases[] = {{8, 1, JCS_GRAYSCALE}, {24, 3, JCS_YCbCr}, {32, 3, JCS_YCbCr}};
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.nBitCount);
        const std::string name = "frame-\xc3\xa4-" + std::to_string(c.nBitCount) + ".jpg";
        const std::vector<unsigned char> frame = SmoothFrame(nWidth, nHeight, c.nBitCount);
        ASSERT_EQ(ZDQ_HelperSaveToJpg(frame.data(), nWidth, nHeight, c.nBitCount, 95,
                                      WidePathOf(name).c_str()),
                  RET_SUCCESS);

        const cv::Mat image = cv::imread(PathOf(name), cv::IMREAD_UNCHANGED);
        ASSERT_FALSE(image.empty());
        const JpegHeader header = ReadJpegHeader(PathOf(name));
        EXPECT_EQ(header.nWidth, nWidth);
        EXPECT_EQ(header.nHeight, nHeight);
        EXPECT_EQ(header.nComponents, c.nComponents);
        EXPECT_EQ(header.colorSpace, c.colorSpace);
        EXPECT_FALSE(header.bProgressive);

        // OpenCV gives B,G,R, the frame's own order, top row first.
        ASSERT_EQ(image.channels(), c.nComponents);
        const int nPixelBytes = c.nBitCount / 8;
        int nWorst = 0;
        for (int y = 0; y < nHeight; ++y) {
            for (int x = 0; x < nWidth; ++x) {
                for (int ch = 0; ch < c.nComponents; ++ch) {
                    const size_t source =
                        (static_cast<size_t>(nHeight - 1 - y) * nWidth + x) * nPixelBytes + ch;
                    const int nRead = image.ptr<uint8_t>(y)[x * c.nComponents + ch];
                    nWorst = std::max(nWorst, std::abs(nRead - frame[source]));
                }
            }
        }
        EXPECT_LE(nWorst, 8);
    }
    EXPECT_TRUE(CallLogLines().empty()) << "the JPEG writer logs nothing";
}

TEST_F(FileHelperTest, JpegQualityIsTheCallersWithBaselineTables) {
    // libjpeg's scaling of the first luminance quantiser (16 at quality 50),
    // limited to 1 .. 255 for a baseline file.
    const struct {
        int nQuality;
        int nQuantValue;
    } kCases[] = {{95, 2}, {50, 16}, {10, 80}, {1, 255}, {0, 255}, {150, 1}};
    const std::vector<unsigned char> frame = SmoothFrame(16, 16, 24);
    for (const auto& c : kCases) {
        const std::string name = "quality-" + std::to_string(c.nQuality) + ".jpg";
        ASSERT_EQ(
            ZDQ_HelperSaveToJpg(frame.data(), 16, 16, 24, c.nQuality, WidePathOf(name).c_str()),
            RET_SUCCESS);
        const JpegHeader header = ReadJpegHeader(PathOf(name));
        EXPECT_EQ(header.nFirstQuantValue, c.nQuantValue) << "quality " << c.nQuality;
    }
}

TEST_F(FileHelperTest, JpegWriterRefusalsAndLibraryErrorsGiveFailAndNoFile) {
    const std::vector<unsigned char> frame = PatternBytes(70000);
    const std::vector<unsigned char> small = PatternBytes(16);
    const std::wstring name = WidePathOf("refused.jpg");
    const struct {
        const char* what;
        const unsigned char* pData;
        int nWidth, nHeight, nBitCount;
        const wchar_t* pszName;
    } kCases[] = {
        {"null data", nullptr, 4, 4, 8, name.c_str()},
        {"width 0", frame.data(), 0, 4, 8, name.c_str()},
        {"height -1", frame.data(), 4, -1, 8, name.c_str()},
        {"16 bits", frame.data(), 4, 4, 16, name.c_str()},
        {"0 bits", frame.data(), 4, 4, 0, name.c_str()},
        {"null name", frame.data(), 4, 4, 8, nullptr},
        // libjpeg refuses it once the file is open; the process goes on.
        {"wider than JPEG allows", frame.data(), 65501, 1, 8, name.c_str()},
        // Refused before the frame, far smaller than such a side, is read.
        {"higher than JPEG allows", small.data(), 1, 70000, 24, name.c_str()},
        {"a side at the int limit", small.data(), INT_MAX, 1, 8, name.c_str()},
    };
    for (const auto& c : kCases) {
        EXPECT_EQ(ZDQ_HelperSaveToJpg(c.pData, c.nWidth, c.nHeight, c.nBitCount, 90, c.pszName),
                  RET_FAIL)
            << c.what;
    }
    EXPECT_TRUE(FilesInFolder().empty());
    EXPECT_TRUE(CallLogLines().empty());
}

TEST_F(FileHelperTest, JpegWorkingBufferThatCannotBeAllocatedGivesMallocFail) {
    // 2^60 bytes: no allocation succeeds, and nothing of the frame is read.
    const std::vector<unsigned char> frame = PatternBytes(16);
    EXPECT_EQ(
        ZDQ_HelperSaveToJpg(frame.data(), 1 << 30, 1 << 30, 8, 90, WidePathOf("huge.jpg").c_str()),
        RET_MALLOCFAIL);
    EXPECT_TRUE(FilesInFolder().empty());
}

// ---- TIFF ---------------------------------------------------------------

// Tag numbers of the first directory of a little-endian classic TIFF file,
// in file order.
std::vector<uint16_t> TiffTagsInFile(const std::string& path) {
    const std::string bytes = testutil::ReadFile(path);
    std::vector<uint16_t> tags;
    if (bytes.size() < 8 || bytes.substr(0, 4) != std::string("II*\0", 4)) {
        ADD_FAILURE() << "not a little-endian classic TIFF file";
        return tags;
    }
    const uint32_t directory = Dword(bytes, 4);
    const uint16_t count = Word(bytes, directory);
    for (uint16_t i = 0; i < count; ++i) {
        tags.push_back(Word(bytes, directory + 2 + 12 * i));
    }
    return tags;
}

template <typename T>
T TiffTag(TIFF* tiff, uint32_t tag) {
    T value{};
    EXPECT_EQ(TIFFGetField(tiff, tag, &value), 1) << "tag " << tag;
    return value;
}

TEST_F(FileHelperTest, TiffFileHoldsTheTagsAndTheRowsTopDownInRgbOrder) {
    const int nWidth = 5;
    const int nHeight = 3;
    for (int nBits : {8, 16}) {
        for (int nSamples : {1, 3, 4}) {
            SCOPED_TRACE("bits " + std::to_string(nBits) + " samples " + std::to_string(nSamples));
            const std::string name =
                "frame-\xc3\xa4-" + std::to_string(nBits) + "-" + std::to_string(nSamples) + ".tif";
            const size_t nRowSamples = static_cast<size_t>(nWidth) * nSamples;
            // 16-bit samples whose two bytes differ, so a byte swap shows.
            std::vector<uint16_t> samples(nRowSamples * nHeight);
            const std::vector<unsigned char> pattern = PatternBytes(samples.size() * 2);
            for (size_t i = 0; i < samples.size(); ++i) {
                samples[i] = nBits == 8 ? pattern[i] : (pattern[2 * i] << 8 | pattern[2 * i + 1]);
            }
            std::vector<unsigned char> frame(samples.size() * nBits / 8);
            for (size_t i = 0; i < samples.size(); ++i) {
                if (nBits == 8) {
                    frame[i] = static_cast<unsigned char>(samples[i]);
                } else {
                    std::memcpy(&frame[2 * i], &samples[i], 2);
                }
            }
            ASSERT_EQ(ZDQ_HelperSaveToTiff(frame.data(), nWidth, nHeight, nBits, nSamples,
                                           WidePathOf(name).c_str()),
                      RET_SUCCESS);

            const std::vector<uint16_t> expectedTags = {254, 256, 257, 258, 259, 262, 273, 274,
                                                        277, 278, 279, 282, 283, 284, 296, 339};
            EXPECT_EQ(TiffTagsInFile(PathOf(name)), expectedTags) << "no ExtraSamples (338)";

            TIFF* tiff = TIFFOpen(PathOf(name).c_str(), "r");
            ASSERT_NE(tiff, nullptr);
            EXPECT_EQ(TiffTag<uint32_t>(tiff, TIFFTAG_SUBFILETYPE), 0u);
            EXPECT_EQ(TiffTag<uint32_t>(tiff, TIFFTAG_IMAGEWIDTH), 5u);
            EXPECT_EQ(TiffTag<uint32_t>(tiff, TIFFTAG_IMAGELENGTH), 3u);
            EXPECT_EQ(TiffTag<uint16_t>(tiff, TIFFTAG_BITSPERSAMPLE), nBits);
            EXPECT_EQ(TiffTag<uint16_t>(tiff, TIFFTAG_COMPRESSION), COMPRESSION_NONE);
            EXPECT_EQ(TiffTag<uint16_t>(tiff, TIFFTAG_PHOTOMETRIC),
                      nSamples == 1 ? PHOTOMETRIC_MINISBLACK : PHOTOMETRIC_RGB);
            EXPECT_EQ(TiffTag<uint16_t>(tiff, TIFFTAG_ORIENTATION), ORIENTATION_TOPLEFT);
            EXPECT_EQ(TiffTag<uint16_t>(tiff, TIFFTAG_SAMPLESPERPIXEL), nSamples);
            EXPECT_EQ(TiffTag<uint32_t>(tiff, TIFFTAG_ROWSPERSTRIP), 3u);
            EXPECT_EQ(TiffTag<float>(tiff, TIFFTAG_XRESOLUTION), 90.0f);
            EXPECT_EQ(TiffTag<float>(tiff, TIFFTAG_YRESOLUTION), 90.0f);
            EXPECT_EQ(TiffTag<uint16_t>(tiff, TIFFTAG_PLANARCONFIG), PLANARCONFIG_CONTIG);
            EXPECT_EQ(TiffTag<uint16_t>(tiff, TIFFTAG_RESOLUTIONUNIT), RESUNIT_INCH);
            EXPECT_EQ(TiffTag<uint16_t>(tiff, TIFFTAG_SAMPLEFORMAT), SAMPLEFORMAT_UINT);
            EXPECT_EQ(TIFFNumberOfStrips(tiff), 1u);

            // File row y is buffer row nHeight - 1 - y, samples 0 and 2
            // swapped, the fourth kept.
            std::vector<unsigned char> line(TIFFScanlineSize(tiff));
            ASSERT_EQ(line.size(), frame.size() / nHeight);
            for (int y = 0; y < nHeight; ++y) {
                ASSERT_EQ(TIFFReadScanline(tiff, line.data(), y, 0), 1);
                for (size_t i = 0; i < nRowSamples; ++i) {
                    const size_t nPixel = i / nSamples;
                    size_t nSample = i % nSamples;
                    if (nSamples > 1 && (nSample == 0 || nSample == 2)) {
                        nSample = 2 - nSample;
                    }
                    const size_t source =
                        (nHeight - 1 - y) * nRowSamples + nPixel * nSamples + nSample;
                    uint16_t value = line[i];
                    if (nBits == 16) {
                        std::memcpy(&value, &line[2 * i], 2);
                    }
                    ASSERT_EQ(value, samples[source]) << "row " << y << " sample " << i;
                }
            }
            TIFFClose(tiff);

            // OpenCV turns R,G,B(,X) back into the frame's own B,G,R(,X).
            const cv::Mat image = cv::imread(PathOf(name), cv::IMREAD_UNCHANGED);
            ASSERT_FALSE(image.empty());
            ASSERT_EQ(image.channels(), nSamples);
            ASSERT_EQ(static_cast<int>(image.elemSize1()), nBits / 8);
            for (int y = 0; y < nHeight; ++y) {
                EXPECT_EQ(
                    std::memcmp(image.ptr(y), &frame[(nHeight - 1 - y) * line.size()], line.size()),
                    0)
                    << "row " << y;
            }
        }
    }
}

TEST_F(FileHelperTest, TiffWriterRefusesBadArgumentsWithoutLoggingOrCreatingAFile) {
    const std::vector<unsigned char> frame = PatternBytes(64);
    const std::wstring name = WidePathOf("refused.tif");
    const struct {
        const char* what;
        const unsigned char* pData;
        int nWidth, nHeight, nBits, nSamples;
        const wchar_t* pszName;
    } kCases[] = {
        {"null data", nullptr, 2, 2, 8, 1, name.c_str()},
        {"null name", frame.data(), 2, 2, 8, 1, nullptr},
        {"12 bits", frame.data(), 2, 2, 12, 1, name.c_str()},
        {"32 bits", frame.data(), 2, 2, 32, 1, name.c_str()},
        {"2 samples", frame.data(), 2, 2, 8, 2, name.c_str()},
        {"0 samples", frame.data(), 2, 2, 8, 0, name.c_str()},
        {"width 0", frame.data(), 0, 2, 8, 1, name.c_str()},
        {"height -3", frame.data(), 2, -3, 8, 1, name.c_str()},
        // Images whose bytes do not fit the 32-bit sizes of the format.
        {"image beyond 4 GiB", frame.data(), INT_MAX, 2, 8, 1, name.c_str()},
        {"row of 16 GiB", frame.data(), INT_MAX, 1, 16, 4, name.c_str()},
        {"height at the int limit", frame.data(), 2, INT_MAX, 8, 3, name.c_str()},
    };
    for (const auto& c : kCases) {
        EXPECT_EQ(
            ZDQ_HelperSaveToTiff(c.pData, c.nWidth, c.nHeight, c.nBits, c.nSamples, c.pszName),
            RET_PARAMERROR)
            << c.what;
    }
    EXPECT_TRUE(FilesInFolder().empty());
    EXPECT_TRUE(CallLogLines().empty());
}

TEST_F(FileHelperTest, TiffWriterLogsTheCallAndFailsInAMissingFolder) {
    const std::vector<unsigned char> frame = PatternBytes(2 * 2 * 3 * 2);
    const std::string missing = PathOf("missing/frame.tif");
    EXPECT_EQ(ZDQ_HelperSaveToTiff(frame.data(), 2, 2, 16, 3, plat::WideFromUtf8(missing).c_str()),
              RET_FAIL);
    EXPECT_FALSE(testutil::FileExists(PathOf("missing")));
    const std::vector<std::string> expected = {"ZDQAPI::++ZDQ_HelperSaveToTiff(" +
                                               LoggedPointer(frame.data()) + ", 2, 2, 16, 3, " +
                                               missing + ")"};
    EXPECT_EQ(CallLogLines(), expected);
}

// ---- Failed writes ------------------------------------------------------

// The three writers with one 64 x 64 frame of noise (JPEG cannot shrink it
// much) to a name.
const struct {
    const char* format;
    std::function<int(const unsigned char*, const wchar_t*)> save;
} kWriters[] = {
    {"bmp", [](const unsigned char* p,
               const wchar_t* name) { return ZDQ_HelperSaveToBmp(p, 64, 64, 24, name); }},
    {"jpg", [](const unsigned char* p,
               const wchar_t* name) { return ZDQ_HelperSaveToJpg(p, 64, 64, 24, 95, name); }},
    {"tif", [](const unsigned char* p,
               const wchar_t* name) { return ZDQ_HelperSaveToTiff(p, 64, 64, 8, 3, name); }},
};

// While it lives, files of this process cannot grow beyond nBytes: a write
// beyond fails (EFBIG) instead of raising SIGXFSZ.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t nBytes) {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_previousHandler = signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_saved;
        limit.rlim_cur = nBytes;
        m_bSet = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        signal(SIGXFSZ, m_previousHandler);
    }
    bool IsSet() const { return m_bSet; }

  private:
    rlimit m_saved{};
    sighandler_t m_previousHandler = SIG_DFL;
    bool m_bSet = false;
};

TEST_F(FileHelperTest, AWriteThatFailsHalfwayRemovesTheFile) {
    const std::vector<unsigned char> frame = PatternBytes(64 * 64 * 3);
    for (const auto& writer : kWriters) {
        const std::string name = std::string("cut.") + writer.format;
        {
            FileSizeLimit limit(4096);
            ASSERT_TRUE(limit.IsSet());
            EXPECT_EQ(writer.save(frame.data(), WidePathOf(name).c_str()), RET_FAIL)
                << writer.format;
        }
        EXPECT_FALSE(testutil::FileExists(PathOf(name))) << writer.format;
        // The same file without the limit, so the frame itself is writable.
        EXPECT_EQ(writer.save(frame.data(), WidePathOf(name).c_str()), RET_SUCCESS)
            << writer.format;
    }
    const std::vector<std::string> lines = CallLogLines();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[1], "ZDQAPI::--ZDQ_HelperSaveToBmp.Ret(RET_FAIL)");
}

// A folder, a FIFO without a reader (which must not make the writer wait)
// and a device that refuses every write.
TEST_F(FileHelperTest, NamesThatAreNoRegularFileGiveFailAndStayAsTheyWere) {
    const std::vector<unsigned char> frame = PatternBytes(64 * 64 * 3);
    const std::string fifo = PathOf("fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0666), 0);
    std::vector<std::string> names = {m_folder, fifo};
    if (FILE* full = std::fopen("/dev/full", "w")) {
        std::fclose(full);
        names.push_back("/dev/full");
    }
    for (const std::string& name : names) {
        for (const auto& writer : kWriters) {
            EXPECT_EQ(writer.save(frame.data(), plat::WideFromUtf8(name).c_str()), RET_FAIL)
                << writer.format << " to " << name;
        }
    }
    struct stat info {};
    ASSERT_EQ(stat(m_folder.c_str(), &info), 0);
    EXPECT_TRUE(S_ISDIR(info.st_mode));
    ASSERT_EQ(stat(fifo.c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
    if (names.size() > 2) {
        ASSERT_EQ(stat("/dev/full", &info), 0);
        EXPECT_TRUE(S_ISCHR(info.st_mode));
    }
}

}  // namespace
