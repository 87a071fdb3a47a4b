// The library frame: return codes, the device manager and its slots, the
// export prologue, driver names.
#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>
#include <new>
#include <stdexcept>
#include <string>

#include "ZDQApi.h"
#include "api/ExportFrame.h"
#include "api/ReturnCodes.h"
#include "device/DeviceManager.h"
#include "usb/DriverNames.h"

namespace {

TEST(ReturnCodeTableTest, HoldsEveryCodeInOrderWithItsText) {
    const wchar_t* const texts[27] = {
        L"Successful",
        L"Parameter Error",
        L"Memory Allocation Failed",
        L"Operation is not Supported",
        L"Device cannt be Detected",
        L"Device wasn't Initialized",
        L"Illegal Operation",
        L"User No Privilege",
        L"Fail",
        L"Fatal Error",
        L"Device Recovery Successful",
        L"Device Recovery Fail",
        L"Bad Frame From Device, Should be Discarded",
        L"Invalid Frame, Transmission Error",
        L"Zero Frame, Tranmission Error",
        L"Version Error",
        L"Time Out",
        L"Device Has Closed",
        L"Bus Not Initialized",
        L"Camera Not Created",
        L"Invalidate Handle or Null Handle",
        L"Stream Not Start",
        L"3D Camera Not Initial",
        L"Not Support 3d Function",
        L"You Need Stop Strem First",
        L"Io Error",
        L"3D Camera Initial Fail",
    };
    size_t longest = 0;
    for (int row = 0; row < 27; ++row) {
        const int code = row == 0 ? 1 : -row;
        EXPECT_EQ(ReturnCodeTable[row].nCode, code) << row;
        EXPECT_STREQ(ReturnCodeTable[row].pszText, texts[row]) << row;
        longest = std::max(longest, std::wcslen(texts[row]));
        wchar_t buffer[ZDQ_ERRORINFO_LENGTH];
        EXPECT_EQ(ZDQ_GetErrorInfo(code, buffer), RET_SUCCESS);
        EXPECT_STREQ(buffer, texts[row]);
    }
    EXPECT_EQ(longest + 1, static_cast<size_t>(ZDQ_ERRORINFO_LENGTH));
    EXPECT_EQ(ReturnCodeText(-27), nullptr);
    EXPECT_EQ(ReturnCodeText(0), nullptr);
}

struct PathCase {
    int number;
    const char* path;
    const char* claim;
};

TEST(DriverNamesTest, PathCharacterIs48PlusTheNumber) {
    const PathCase cases[] = {
        {0, "\\\\.\\mlusbimager-0", "ZDQAPI::mlCamera0"},
        {9, "\\\\.\\mlusbimager-9", "ZDQAPI::mlCamera9"},
        {10, "\\\\.\\mlusbimager-:", "ZDQAPI::mlCamera10"},
        {11, "\\\\.\\mlusbimager-;", "ZDQAPI::mlCamera11"},
        {31, "\\\\.\\mlusbimager-O", "ZDQAPI::mlCamera31"},
    };
    for (const PathCase& c : cases) {
        EXPECT_EQ(DriverDevicePath(c.number), c.path);
        EXPECT_EQ(CameraClaimName(c.number), c.claim);
    }
}

// Installs a device manager with a given count, as ZDQ_Init would after
// finding that many cameras, and removes it at the end.
class FrameTest : public ::testing::Test {
  protected:
    void Install(int count) {
        ASSERT_EQ(g_pDeviceManager, nullptr);
        g_pDeviceManager = std::make_unique<CDeviceManager>(count);
    }
    void TearDown() override { EXPECT_EQ(ZDQ_UnInit(), RET_SUCCESS); }
};

TEST_F(FrameTest, WithoutManagerEveryDeviceCallGivesNotInit) {
    int calls = 0;
    for (const int index : {0, 1, 31}) {
        EXPECT_EQ(WithDevice(index, [&](CDevice&) { return ++calls; }), RET_DEVICENOTINIT);
        EXPECT_EQ(FrameGetManager(index), nullptr);
    }
    EXPECT_EQ(calls, 0);
    EXPECT_EQ(ZDQ_DeviceGetCount(), RET_DEVICENOTINIT);
    EXPECT_EQ(ZDQ_DeviceClose(0), RET_DEVICENOTINIT);
}

TEST_F(FrameTest, IndexesOutsideTheCountAndCamerasThatFailToOpenGiveNotInit) {
    Install(2);
    int calls = 0;
    const auto operation = [&](CDevice&) { return ++calls; };
    for (const int index : {-1, 2, 31, 32}) {
        EXPECT_EQ(FrameGetManager(index), nullptr) << index;
        EXPECT_EQ(WithDevice(index, operation), RET_DEVICENOTINIT) << index;
    }
    for (const int index : {0, 1}) {
        EXPECT_EQ(FrameGetManager(index), g_pDeviceManager.get()) << index;
        // No camera opens yet: the slot stays empty, on every try.
        EXPECT_EQ(WithDevice(index, operation), RET_DEVICENOTINIT) << index;
        EXPECT_EQ(WithDevice(index, operation), RET_DEVICENOTINIT) << index;
        EXPECT_EQ(g_pDeviceManager->PeekDevice(index), nullptr) << index;
    }
    EXPECT_EQ(calls, 0);
}

TEST_F(FrameTest, SlotExportsFollowTheirOwnBounds) {
    Install(2);
    int status = 5;
    EXPECT_EQ(ZDQ_DeviceClose(1), RET_SUCCESS) << "an empty slot closes fine";
    EXPECT_EQ(ZDQ_DeviceClose(2), RET_DEVICENOTINIT);
    // The status covers all 32 slots whatever the count, and opens nothing.
    EXPECT_EQ(ZDQ_DeviceGetStatus(31, &status), RET_SUCCESS);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(ZDQ_DeviceGetStatus(32, &status), RET_DEVICENOTINIT);
    EXPECT_EQ(ZDQ_DeviceGetStatus(-1, &status), RET_DEVICENOTINIT);
    EXPECT_EQ(ZDQ_DeviceGetStatus(0, nullptr), RET_PARAMERROR);
}

TEST_F(FrameTest, SecondInitKeepsTheFirstCountWhileGetCountCountsAnew) {
    Install(3);  // three cameras were there at the first ZDQ_Init
    CDeviceManager* first = g_pDeviceManager.get();
    EXPECT_EQ(ZDQ_Init(), RET_SUCCESS);
    EXPECT_EQ(g_pDeviceManager.get(), first);
    EXPECT_EQ(g_pDeviceManager->DeviceCount(), 3);
    EXPECT_EQ(ZDQ_DeviceGetCount(), 0) << "none is behind the driver now";
    EXPECT_NE(FrameGetManager(2), nullptr) << "the bound stays the first count";
}

TEST_F(FrameTest, InitUnInitCycles) {
    EXPECT_EQ(ZDQ_UnInit(), RET_SUCCESS) << "without ZDQ_Init";
    for (int cycle = 0; cycle < 3; ++cycle) {
        EXPECT_EQ(ZDQ_Init(), RET_SUCCESS);
        ASSERT_NE(g_pDeviceManager, nullptr);
        EXPECT_EQ(g_pDeviceManager->DeviceCount(), 0);
        EXPECT_EQ(ZDQ_UnInit(), RET_SUCCESS);
        EXPECT_EQ(g_pDeviceManager, nullptr);
    }
}

TEST(ErrorInfoTest, UnknownCodesAndNullBuffer) {
    for (const int code : {0, 2, -27, 1000}) {
        wchar_t buffer[ZDQ_ERRORINFO_LENGTH] = L"";
        EXPECT_EQ(ZDQ_GetErrorInfo(code, buffer), RET_ILLEGALOPERATION) << code;
        EXPECT_STREQ(buffer, L"User No Privilege") << code;
    }
    EXPECT_EQ(ZDQ_GetErrorInfo(RET_FAIL, nullptr), RET_PARAMERROR);
}

TEST(VersionTest, EachOutputIsOptional) {
    int revision = 0;
    EXPECT_EQ(ZDQ_GetVersion(nullptr, nullptr, &revision, nullptr), RET_SUCCESS);
    EXPECT_EQ(revision, 122);
}

}  // namespace

TEST(ExceptionBarrier, NoExceptionLeavesTheCInterface) {
    EXPECT_EQ(CallGuarded([] { return RET_NOTSUPPORT; }), RET_NOTSUPPORT);
    EXPECT_EQ(CallGuarded([]() -> int { throw std::bad_alloc(); }), RET_MALLOCFAIL);
    EXPECT_EQ(CallGuarded([]() -> int { throw std::bad_alloc(); }, RET_FAIL), RET_FAIL)
        << "an export that documents RET_FAIL for lacking memory";
    EXPECT_EQ(CallGuarded([]() -> int { throw std::runtime_error("any other"); }), RET_FAIL);
    EXPECT_EQ(CallGuarded([]() -> int { throw 7; }), RET_FAIL);
}
