// One simulated camera driven from two threads at once: each row of the table
// runs a pair of callers for a few seconds, in a child process of its own so
// that a hang or a crash fails the row (and not the program). Every call of
// a caller must succeed (a capture that comes back short fails the row), and
// after the run a capture on the main thread gives 1. And a preview start in
// a child process that can make no threads. The parent process never touches
// the simulator, so each child has all of its threads.
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "OpenedCamera.h"
#include "capability/DeviceCapability.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kRunTime = std::chrono::seconds(3);
// A child that has not ended this long after its run hangs.
constexpr auto kHangBound = std::chrono::seconds(90);

// The capture window alternates between these; a capture buffer holds the
// larger one at 16 bits a pixel.
constexpr int kCaptureWidth[2] = {640, 320};
constexpr int kCaptureHeight[2] = {480, 240};
constexpr int kPreviewWidth[2] = {320, 160};
constexpr int kPreviewHeight[2] = {240, 120};
constexpr size_t kCaptureBytes = 640u * 480u * 2u;

enum class Caller {
    SerialPreview,    // starts and stops the serial preview
    ParallelPreview,  // starts and stops the parallel preview
    PreviewWindow,    // sets the preview window, two sizes in turn
    CaptureWindow,    // sets the capture window, two sizes in turn
    Data16Bits,       // switches 16-bit data on and off
    GammaExposure,    // sets gamma and exposure
    TriggerMode,      // free run and the fixed frame rate mode, with its rate
    PauseResume,      // pauses and resumes the running preview
    Capture,          // captures raw frames
};

const char* Name(Caller caller) {
    switch (caller) {
        case Caller::SerialPreview:
            return "serial preview start/stop";
        case Caller::ParallelPreview:
            return "parallel preview start/stop";
        case Caller::PreviewWindow:
            return "preview window";
        case Caller::CaptureWindow:
            return "capture window";
        case Caller::Data16Bits:
            return "16-bit switch";
        case Caller::GammaExposure:
            return "gamma/exposure";
        case Caller::TriggerMode:
            return "trigger mode";
        case Caller::PauseResume:
            return "pause/resume";
        case Caller::Capture:
        default:
            return "capture";
    }
}

// Call n of a caller; its result.
int Step(Caller caller, int n, std::vector<uint8_t>& buffer) {
    const int k = n % 2;
    switch (caller) {
        case Caller::SerialPreview:
            return ZDQ_PreviewStartEx(0, k == 0, false);
        case Caller::ParallelPreview:
            return ZDQ_PreviewStartEx(0, k == 0, true);
        case Caller::PreviewWindow:
            return ZDQ_PreviewSetFieldOfView(0, 0, 0, kPreviewWidth[k], kPreviewHeight[k], 0, 0);
        case Caller::CaptureWindow:
            return ZDQ_CaptureSetFieldOfView(0, 0, 0, kCaptureWidth[k], kCaptureHeight[k], 0, 0);
        case Caller::Data16Bits:
            return ZDQ_SetData16Bits(0, k == 0);
        case Caller::GammaExposure:
            return k == 0 ? ZDQ_SetParam(0, ZDQ_GAMMA, 50 + n % 100)
                          : ZDQ_SetParam(0, ZDQ_EXPOSURE, 1 + n % 20);
        case Caller::TriggerMode: {
            const int nRet = ZDQ_SetFixedFrameRateEx(0, 200.0f + static_cast<float>(n % 50));
            return nRet != RET_SUCCESS ? nRet : ZDQ_TriggerModeSet(0, k == 0 ? 3 : 0);
        }
        case Caller::PauseResume:
            return ZDQ_PreviewPause(0, k == 0);
        case Caller::Capture:
        default:
            return ZDQ_CaptureRawData(0, buffer.data());
    }
}

bool StartsAndStopsThePreview(Caller caller) {
    return caller == Caller::SerialPreview || caller == Caller::ParallelPreview;
}

void CountFrame(unsigned char* /*pData*/, int /*nWidth*/, int /*nHeight*/, int /*nBitCount*/,
                void* pContext) {
    ++*static_cast<std::atomic<int>*>(pContext);
}

// The child's side of a row: 0 when every call succeeded and the final
// capture gave 1; the failure is written to stderr.
int RunRow(Caller first, Caller second) {
    MlSimProfile profile = CameraProfile(kType2592WithFpga);
    profile.timing = MLSIM_TIMING_INSTANT;
    if (mlsim_plug(0, &profile) != 1 || ZDQ_Init() != RET_SUCCESS) {
        std::fprintf(stderr, "the camera does not open\n");
        return 3;
    }
    CDevice* pDevice = FrameGetDevice(0);
    if (pDevice == nullptr) {
        std::fprintf(stderr, "no device\n");
        return 3;
    }
    for (const CapField* pField :
         {&FpgaCap::bm16BitsTransfer, &FpgaCap::bmTriggerModeFixedFrameRate,
          &FpgaCap::bmSetTriggerFixFrameRate}) {
        pDevice->Capability().Set(*pField, 1);
    }
    std::atomic<int> nFrames{0};
    if (ZDQ_CaptureSetFieldOfView(0, 0, 0, kCaptureWidth[0], kCaptureHeight[0], 0, 0) != 1 ||
        ZDQ_PreviewSetFieldOfView(0, 0, 0, kPreviewWidth[0], kPreviewHeight[0], 0, 0) != 1 ||
        ZDQ_PreviewSetCallback(0, CountFrame, &nFrames) != 1) {
        std::fprintf(stderr, "the windows cannot be set\n");
        return 3;
    }
    if (!StartsAndStopsThePreview(first) && !StartsAndStopsThePreview(second) &&
        ZDQ_PreviewStart(0, true) != RET_SUCCESS) {
        std::fprintf(stderr, "the preview does not start\n");
        return 3;
    }

    std::atomic<bool> bFailed{false};
    const Clock::time_point end = Clock::now() + kRunTime;
    const auto run = [&](Caller caller) {
        std::vector<uint8_t> buffer(kCaptureBytes);
        for (int n = 0; Clock::now() < end && !bFailed; ++n) {
            const int nRet = Step(caller, n, buffer);
            if (nRet != RET_SUCCESS) {
                std::fprintf(stderr, "%s, call %d: %d\n", Name(caller), n, nRet);
                bFailed = true;
            }
        }
    };
    std::thread a(run, first);
    std::thread b(run, second);
    a.join();
    b.join();
    if (bFailed) {
        return 2;
    }
    std::vector<uint8_t> buffer(kCaptureBytes);
    const int nRet = ZDQ_CaptureRawData(0, buffer.data());
    if (nRet != RET_SUCCESS) {
        std::fprintf(stderr, "the capture after the run: %d\n", nRet);
        return 2;
    }
    ZDQ_UnInit();
    mlsim_unplug_all();
    return 0;
}

struct Row {
    Caller first, second;
};

class ThreadStormTest : public ::testing::TestWithParam<Row> {};

TEST_P(ThreadStormTest, BothCallersSucceedWithoutHangOrCrash) {
    const Row row = GetParam();
    std::fflush(nullptr);
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        std::exit(RunRow(row.first, row.second));
    }
    const Clock::time_point bound = Clock::now() + kRunTime + kHangBound;
    int nStatus = 0;
    pid_t ended = 0;
    while ((ended = waitpid(pid, &nStatus, WNOHANG)) == 0 && Clock::now() < bound) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (ended == 0) {
        kill(pid, SIGKILL);
        waitpid(pid, &nStatus, 0);
        FAIL() << Name(row.first) << " x " << Name(row.second) << ": hangs";
    }
    ASSERT_EQ(ended, pid);
    ASSERT_TRUE(WIFEXITED(nStatus))
        << Name(row.first) << " x " << Name(row.second) << ": ends by signal " << WTERMSIG(nStatus);
    EXPECT_EQ(WEXITSTATUS(nStatus), 0) << Name(row.first) << " x " << Name(row.second);
}

const Row kRows[] = {
    {Caller::SerialPreview, Caller::PreviewWindow},
    {Caller::SerialPreview, Caller::CaptureWindow},
    {Caller::SerialPreview, Caller::Data16Bits},
    {Caller::ParallelPreview, Caller::Data16Bits},
    {Caller::ParallelPreview, Caller::PreviewWindow},
    {Caller::SerialPreview, Caller::GammaExposure},
    {Caller::SerialPreview, Caller::TriggerMode},
    {Caller::SerialPreview, Caller::Capture},
    {Caller::ParallelPreview, Caller::Capture},
    {Caller::PreviewWindow, Caller::Data16Bits},
    {Caller::Capture, Caller::Data16Bits},
    {Caller::Capture, Caller::PreviewWindow},
    {Caller::Capture, Caller::CaptureWindow},
    {Caller::Capture, Caller::TriggerMode},
    {Caller::Capture, Caller::GammaExposure},
    {Caller::PauseResume, Caller::Data16Bits},
    {Caller::PauseResume, Caller::Capture},
    {Caller::Capture, Caller::Capture},
};

INSTANTIATE_TEST_SUITE_P(Pairs, ThreadStormTest, ::testing::ValuesIn(kRows));

// The preview starts of a child process that may create no more threads
// (it runs as an unprivileged user with a process limit of none): 0 when
// each engine's start fails and leaves the window, the callbacks and the
// buffers as they were.
int StartsWithoutThreads(CDevice& device) {
    constexpr uid_t kNobody = 65534;
    // The soft limit only: it is lifted again afterwards (the sanitizers'
    // checks at exit make threads of their own).
    rlimit limit{};
    if (getrlimit(RLIMIT_NPROC, &limit) != 0) {
        return 3;
    }
    const rlimit none{0, limit.rlim_max};
    if (setrlimit(RLIMIT_NPROC, &none) != 0 || setresgid(kNobody, kNobody, kNobody) != 0 ||
        setresuid(kNobody, kNobody, kNobody) != 0) {
        std::fprintf(stderr, "the process limit cannot be set\n");
        return 3;
    }
    for (const bool bParallel : {false, true}) {
        const int nRet = ZDQ_PreviewStartEx(0, true, bParallel);
        const PreviewState& preview = device.Preview();
        if (nRet != RET_FAIL || device.PreviewStatus() != PreviewState::kStopped ||
            device.ActiveFov() != kCaptureFov || preview.pfCallback != nullptr ||
            preview.pfCallbackSaved != CountFrame || !preview.rawBuffer.empty() ||
            !preview.rgbBuffer.empty() || !preview.shownRaw.empty() || !preview.slots.empty()) {
            std::fprintf(stderr, "engine %d: start %d, the preview is not as it was\n",
                         bParallel ? 1 : 0, nRet);
            return 2;
        }
    }
    return setrlimit(RLIMIT_NPROC, &limit) == 0 ? 0 : 3;
}

int OpenAndStartWithoutThreads() {
    MlSimProfile profile = CameraProfile(kTypeMono1280);
    if (mlsim_plug(0, &profile) != 1 || ZDQ_Init() != RET_SUCCESS) {
        return 3;
    }
    CDevice* pDevice = FrameGetDevice(0);
    std::atomic<int> nFrames{0};
    int nRet = 3;
    if (pDevice != nullptr && ZDQ_PreviewSetFieldOfView(0, 0, 0, 320, 240, 0, 0) == 1 &&
        ZDQ_PreviewSetCallback(0, CountFrame, &nFrames) == 1) {
        nRet = StartsWithoutThreads(*pDevice);
    }
    ZDQ_UnInit();
    return nRet;
}

TEST(PreviewThreadTest, AStartWhoseThreadCannotBeCreatedLeavesThePreviewAsItWas) {
    std::fflush(nullptr);
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        std::exit(OpenAndStartWithoutThreads());
    }
    int nStatus = 0;
    ASSERT_EQ(waitpid(pid, &nStatus, 0), pid);
    ASSERT_TRUE(WIFEXITED(nStatus));
    EXPECT_EQ(WEXITSTATUS(nStatus), 0);
}

}  // namespace
