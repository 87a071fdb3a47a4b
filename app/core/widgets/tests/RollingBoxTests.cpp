#include <gtest/gtest.h>

#include <QDateTime>
#include <QSignalSpy>

#include "WidgetsTestSupport.h"
#include "widgets/RollingBox.h"

namespace {

// Height 81: a step is (81 - 1) / 4 = 20 pixels, the release threshold 81 / 8 = 10 pixels.
constexpr int kHeight = 81;
constexpr int kStep = 20;
constexpr int kThreshold = 10;
constexpr int kRestY = 40;

int deviationOf(const RollingBox& box) {
    return box.property("deviation").toInt();
}

// Moves the minute column to the target with whole-step drags (up raises the value).
void bringTo(RollingBoxMM& box, int target) {
    for (int guard = 0; guard < 200 && box.readValue() != target; ++guard)
        dragBy(&box, kRestY, box.readValue() < target ? -kStep : kStep);
    ASSERT_EQ(box.readValue(), target);
}

class RollingColumn : public ::testing::Test {
  protected:
    void SetUp() override {
        box.resize(100, kHeight);
        bringTo(box, 30);
    }
    RollingBoxMM box;
};

// A steady drag changes the value by one for every step travelled; a fast drag that jumps
// several steps within one move changes it by only one.
struct DragCase {
    const char* name;
    int distance;
    int moveBy;  // pixels per move event
    int change;
};

class RollingColumnDrag : public RollingColumn, public ::testing::WithParamInterface<DragCase> {};

TEST_P(RollingColumnDrag, StepsOncePerQuarterHeightTravelled) {
    const DragCase& c = GetParam();
    sendPress(&box, QPointF(10, kRestY));
    const int direction = c.distance < 0 ? -1 : 1;
    for (int travelled = 0; travelled != c.distance;) {
        travelled += direction * std::min(c.moveBy, std::abs(c.distance - travelled));
        sendMove(&box, QPointF(10, kRestY + travelled));
        paintNow(&box);
    }
    EXPECT_EQ(box.readValue(), 30 + c.change);
    sendRelease(&box, QPointF(10, kRestY + c.distance));
    finishSnap(&box);
    EXPECT_EQ(box.readValue(), 30 + c.change) << "a release at rest adds nothing";
    EXPECT_EQ(deviationOf(box), 0);
}

INSTANTIATE_TEST_SUITE_P(Table, RollingColumnDrag,
                         ::testing::Values(DragCase{"DownOneStep", kStep, 5, -1},
                                           DragCase{"DownThreeSteps", 3 * kStep, 5, -3},
                                           DragCase{"UpTwoSteps", -2 * kStep, 4, 2},
                                           DragCase{"FastDownFiveSteps", 5 * kStep, 5 * kStep, -1},
                                           DragCase{"FastUpFiveSteps", -5 * kStep, 5 * kStep, 1}),
                         [](const ::testing::TestParamInfo<DragCase>& info) {
                             return info.param.name;
                         });

// Releasing at exactly an eighth of the height keeps the value; one pixel further changes it.
class RollingColumnRelease : public RollingColumn,
                             public ::testing::WithParamInterface<std::pair<int, int>> {};

TEST_P(RollingColumnRelease, SnapsToTheNearestValue) {
    const int offset = GetParam().first;
    QSignalSpy committed(&box, &RollingBox::currentValueChanged);
    dragBy(&box, kRestY, offset);
    EXPECT_EQ(box.readValue(), 30 + GetParam().second);
    ASSERT_EQ(committed.count(), 1);
    EXPECT_EQ(committed.at(0).at(0).toInt(), 30 + GetParam().second);
    EXPECT_EQ(deviationOf(box), 0) << "the snap animation ends at rest";
}

INSTANTIATE_TEST_SUITE_P(Table, RollingColumnRelease,
                         ::testing::Values(std::make_pair(kThreshold, 0),
                                           std::make_pair(kThreshold + 1, -1),
                                           std::make_pair(-kThreshold, 0),
                                           std::make_pair(-kThreshold - 1, 1),
                                           std::make_pair(0, 0)));

TEST_F(RollingColumn, AtItsEndsIgnoresDragsOutOfTheRange) {
    bringTo(box, 0);
    dragBy(&box, kRestY, kStep);
    paintNow(&box);
    EXPECT_EQ(box.readValue(), 0) << "no dragging down past the first value";

    bringTo(box, 59);
    sendPress(&box, QPointF(10, kRestY));
    sendMove(&box, QPointF(10, kRestY - kStep));
    EXPECT_EQ(deviationOf(box), 0);
    paintNow(&box);
    sendRelease(&box, QPointF(10, kRestY - kStep));
    finishSnap(&box);
    EXPECT_EQ(box.readValue(), 59) << "no dragging up past the last value";
}

TEST_F(RollingColumn, ReportsTheOffsetInFifthsOfTheHeight) {
    QSignalSpy offsets(&box, &RollingBox::deviationChange);
    sendPress(&box, QPointF(10, kRestY));
    sendMove(&box, QPointF(10, kRestY + 8));
    sendMove(&box, QPointF(10, kRestY + 100));  // clamped to one step
    sendRelease(&box, QPointF(10, kRestY + 100));
    ASSERT_EQ(offsets.count(), 2);
    EXPECT_FLOAT_EQ(offsets.at(0).at(0).toFloat(), 8.0f / 16);
    EXPECT_FLOAT_EQ(offsets.at(1).at(0).toFloat(), float(kStep) / 16);
}

TEST(RollingBoxY, DoesNotReportItsOffset) {
    RollingBoxY year;
    year.resize(100, kHeight);
    QSignalSpy offsets(&year, &RollingBox::deviationChange);
    sendPress(&year, QPointF(10, kRestY));
    sendMove(&year, QPointF(10, kRestY + 8));
    sendRelease(&year, QPointF(10, kRestY + 8));
    EXPECT_EQ(offsets.count(), 0);
}

TEST(RollingBoxD, SetRangeKeepsTheValueInside) {
    RollingBoxD dayColumn;
    dayColumn.setRange(1, 31);
    dayColumn.setRange(40, 50);
    EXPECT_EQ(dayColumn.value(), 40);
    dayColumn.setRange(1, 3);
    EXPECT_EQ(dayColumn.value(), 3);
    EXPECT_EQ(dayColumn.rangeMinimum(), 1);
    EXPECT_EQ(dayColumn.rangeMaximum(), 3);
}

TEST(RollingColumns, StartAtThePresentMomentInsideTheirRanges) {
    const QDateTime before = QDateTime::currentDateTime();
    RollingBoxY year;
    RollingBoxM month;
    RollingBoxD day;
    RollingBoxH hour;
    const QDateTime after = QDateTime::currentDateTime();
    EXPECT_TRUE(year.readValue() == before.date().year() ||
                year.readValue() == after.date().year());
    EXPECT_TRUE(month.readValue() == before.date().month() ||
                month.readValue() == after.date().month());
    EXPECT_TRUE(day.value() == before.date().day() || day.value() == after.date().day());
    EXPECT_TRUE(hour.readValue() == before.time().hour() ||
                hour.readValue() == after.time().hour());
    EXPECT_GE(year.readValue(), year.rangeMinimum());
    EXPECT_LE(year.readValue(), year.rangeMaximum());
    EXPECT_EQ(hour.rangeMinimum(), 0);
    EXPECT_EQ(hour.rangeMaximum(), 23);
}

// Painting at any size, small or large, neither crashes nor changes a resting column.
TEST(RollingColumns, PaintAtDegenerateSizes) {
    for (const QSize size : {QSize(1, 1), QSize(10, 4), QSize(50, 6), QSize(118, 131)}) {
        RollingBoxMM box;
        box.resize(size);
        const int start = box.readValue();
        paintNow(&box);
        EXPECT_EQ(box.readValue(), start) << size.width() << "x" << size.height();
    }
}

}  // namespace
