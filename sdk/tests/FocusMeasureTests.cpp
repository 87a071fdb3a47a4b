// The focus measure on frames with known patterns, against the value the
// test computes pixel by pixel.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <vector>

#include "acquisition/FocusMeasure.h"

namespace {

// The measure written out plainly: every pixel at least two pixels inside
// the region, its differences to the four pixels two away, each pixel's sum
// on a scale of 0 .. 1, their mean on a scale of 0 .. 10200.
int ExpectedFocusValue(const std::vector<uint8_t>& frame, int nStride, const FrameRegion& region) {
    auto at = [&](int x, int y) { return static_cast<int>(frame[y * nStride + x]); };
    double dSum = 0.0;
    for (int j = 2; j <= region.height - 3; ++j) {
        for (int i = 2; i <= region.width - 3; ++i) {
            const int x = region.x + i;
            const int y = region.y + j;
            const int c = at(x, y);
            const int nContrast = std::abs(c - at(x - 2, y)) + std::abs(c - at(x + 2, y)) +
                                  std::abs(c - at(x, y - 2)) + std::abs(c - at(x, y + 2));
            dSum += nContrast / 1020.0;
        }
    }
    return static_cast<int>(dSum / ((region.width - 4) * (region.height - 4)) * 10200.0);
}

std::vector<uint8_t> RandomFrame(int nWidth, int nHeight, unsigned nSeed) {
    std::mt19937 random(nSeed);
    std::uniform_int_distribution<int> grey(0, 255);
    std::vector<uint8_t> frame(static_cast<size_t>(nWidth) * nHeight);
    for (uint8_t& pixel : frame) {
        pixel = static_cast<uint8_t>(grey(random));
    }
    return frame;
}

class FocusMeasureTest : public ::testing::Test {
  protected:
    void SetUp() override {
        m_focus.Init(kWidth, kHeight);
        m_focus.SetCallback(&FocusMeasureTest::OnFocus, this);
        m_focus.Start(true);
    }
    static void OnFocus(int nValue, void* lpContext) {
        static_cast<FocusMeasureTest*>(lpContext)->m_values.push_back(nValue);
    }
    // The value the hook reports for one frame.
    int Measure(const std::vector<uint8_t>& frame, int nWidth, int nHeight,
                bool bRowsBottomUp = false) {
        m_values.clear();
        m_focus.RawData8_Do_3A_AF(frame.data(), nWidth, nHeight, bRowsBottomUp);
        EXPECT_EQ(m_values.size(), 1u);
        return m_values.empty() ? -1 : m_values.front();
    }

    static constexpr int kWidth = 24;
    static constexpr int kHeight = 20;
    CFocusMeasure m_focus;
    std::vector<int> m_values;
};

TEST_F(FocusMeasureTest, InitialStateCoversTheCaptureFrameAndIsOff) {
    CFocusMeasure focus;
    focus.Init(kWidth, kHeight);
    EXPECT_FALSE(focus.Started());
    EXPECT_FALSE(focus.RegionShown());
    EXPECT_EQ(focus.Region(), (FrameRegion{0, 0, kWidth, kHeight}));
    EXPECT_EQ(focus.RealRegion(), FrameRegion{});
}

TEST_F(FocusMeasureTest, UniformRegionMeasuresZeroAndTheSteepestPatternTheMaximum) {
    EXPECT_EQ(Measure(std::vector<uint8_t>(kWidth * kHeight, 77), kWidth, kHeight), 0);

    // Pixels two apart always differ by 255 each way.
    std::vector<uint8_t> steepest(kWidth * kHeight);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            steepest[y * kWidth + x] = ((x / 2 + y / 2) % 2) != 0 ? 255 : 0;
        }
    }
    EXPECT_EQ(Measure(steepest, kWidth, kHeight), CFocusMeasure::kMaxFocusValue);
}

TEST_F(FocusMeasureTest, FiveByFiveRegionMeasuresItsCentrePixel) {
    const std::vector<uint8_t> frame = RandomFrame(kWidth, kHeight, 5);
    const FrameRegion region{7, 4, 5, 5};
    m_focus.SetRegion(region);
    auto at = [&](int x, int y) { return static_cast<int>(frame[y * kWidth + x]); };
    const int c = at(9, 6);
    const int nContrast = std::abs(c - at(7, 6)) + std::abs(c - at(11, 6)) +
                          std::abs(c - at(9, 4)) + std::abs(c - at(9, 8));
    EXPECT_EQ(Measure(frame, kWidth, kHeight), static_cast<int>(nContrast / 1020.0 * 10200.0));
}

TEST_F(FocusMeasureTest, RandomRegionsMeasureAsComputedPixelByPixel) {
    const struct {
        FrameRegion region;
        unsigned nSeed;
    } kCases[] = {
        {{0, 0, kWidth, kHeight}, 1},
        {{3, 2, 13, 9}, 2},
        {{1, 5, 6, 14}, 3},  // a width that leaves no group of four pixels
    };
    for (const auto& c : kCases) {
        const std::vector<uint8_t> frame = RandomFrame(kWidth, kHeight, c.nSeed);
        m_focus.SetRegion(c.region);
        const int nExpected = ExpectedFocusValue(frame, kWidth, c.region);
        EXPECT_GT(nExpected, 0);
        EXPECT_EQ(Measure(frame, kWidth, kHeight), nExpected) << c.nSeed;
        EXPECT_EQ(m_focus.RealRegion(), c.region);
    }
}

// The region clamped with a margin of 5: beyond the bottom-right corner the
// corner's 5 x 5 pixels are measured; with bottom-up rows at the buffer's top.
TEST_F(FocusMeasureTest, RegionBeyondTheCornerMeasuresTheCornersPixels) {
    const std::vector<uint8_t> frame = RandomFrame(kWidth, kHeight, 9);
    m_focus.SetRegion({1000, 1000, 50, 50});
    const struct {
        bool bRowsBottomUp;
        FrameRegion real;
    } kCases[] = {{false, {kWidth - 5, kHeight - 5, 5, 5}}, {true, {kWidth - 5, 0, 5, 5}}};
    for (const auto& c : kCases) {
        EXPECT_EQ(Measure(frame, kWidth, kHeight, c.bRowsBottomUp),
                  ExpectedFocusValue(frame, kWidth, c.real));
        EXPECT_EQ(m_focus.RealRegion(), c.real);
    }
    m_focus.SetRegion({-4, -4, 2, 0});
    Measure(frame, kWidth, kHeight);
    EXPECT_EQ(m_focus.RealRegion(), (FrameRegion{0, 0, 5, 5}));
}

TEST_F(FocusMeasureTest, FramesSmallerThanFiveByFiveAreNotMeasured) {
    const std::vector<uint8_t> frame = RandomFrame(5, 5, 4);
    const struct {
        int nWidth, nHeight;
        size_t nCalls;
    } kCases[] = {{4, 5, 0}, {5, 4, 0}, {0, 0, 0}, {5, 5, 1}};
    for (const auto& c : kCases) {
        m_values.clear();
        m_focus.SetRegion({0, 0, 100, 100});
        m_focus.RawData8_Do_3A_AF(frame.data(), c.nWidth, c.nHeight, false);
        EXPECT_EQ(m_values.size(), c.nCalls) << c.nWidth << " x " << c.nHeight;
    }
    EXPECT_EQ(CFocusMeasure::FocusValue(frame.data(), 5, {0, 0, 4, 5}), 0);
}

TEST_F(FocusMeasureTest, StoppedMeasureCallsNothing) {
    m_focus.Start(false);
    m_focus.RawData8_Do_3A_AF(RandomFrame(kWidth, kHeight, 1).data(), kWidth, kHeight, false);
    EXPECT_TRUE(m_values.empty());
}

}  // namespace
