// One simulated camera driven from two threads at once: each row of the table
// runs a pair of callers for a few seconds, in a child process of its own so
// that a hang or a crash fails the row (and not the program). Every call of
// a caller must give one of the results it may give (a capture that comes
// back short fails the row), and after the run a capture on the main thread
// gives 1. Two cameras driven from three threads each while a fourth thread
// of each unplugs and plugs it back. And a preview start in a child process
// that can make no threads. The parent process never touches the simulator,
// so each child has all of its threads.
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "LutFileFixture.h"
#include "OpenedCamera.h"
#include "capability/DeviceCapability.h"
#include "platform/WideText.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kRunTime = std::chrono::seconds(3);
// The two cameras are unplugged and plugged back for longer: a call must
// meet a camera that is away at the wrong moment.
constexpr auto kReplugRunTime = std::chrono::seconds(5);
// A child that has not ended this long after its run hangs.
constexpr auto kHangBound = std::chrono::seconds(90);

// The capture window alternates between these; a capture buffer holds the
// larger one at 16 bits a pixel.
constexpr int kCaptureWidth[2] = {640, 320};
constexpr int kCaptureHeight[2] = {480, 240};
constexpr int kPreviewWidth[2] = {320, 160};
constexpr int kPreviewHeight[2] = {240, 120};
constexpr size_t kCaptureBytes = 640u * 480u * 2u;
// The dark and flat frames are made of a window smaller than both capture
// windows, so a frame of another window overruns their buffers.
constexpr int kFlatFieldWidth = 160;
constexpr int kFlatFieldHeight = 120;

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
    FrameMaking,      // makes dark and flat-field frames in turn
    LutLoad,          // downloads a LUT file
    Recording,        // starts and stops a preview recording
    BayerMode,        // sets two Bayer modes in turn
    Getters,          // reads the capture window, the capture size, 16-bit and ring size
    BufferCount,      // sets the ring size of the parallel preview
    EmptyBuffer,      // empties the camera's frame buffer
    TimeOut,          // sets the capture time-out and recovery
    Clipboard,        // captures a colour frame to the clipboard
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
        case Caller::FrameMaking:
            return "dark/flat frame making";
        case Caller::LutLoad:
            return "LUT download";
        case Caller::Recording:
            return "recording start/stop";
        case Caller::BayerMode:
            return "Bayer mode";
        case Caller::Getters:
            return "window, size and setting getters";
        case Caller::BufferCount:
            return "ring size";
        case Caller::EmptyBuffer:
            return "empty frame buffer";
        case Caller::TimeOut:
            return "capture time-out";
        case Caller::Clipboard:
            return "capture to the clipboard";
        case Caller::Capture:
        default:
            return "capture";
    }
}

// The LUT file the LUT callers download, written by the child for its
// camera's ADC resolution before the callers start.
std::wstring g_lutFile;

void WriteLutFileFor(const DeviceCapability& capability) {
    LutFileLayout layout;
    layout.byPower = static_cast<uint8_t>(capability.Get(SensorCap::bmResolution));
    layout.nLength = 1u << layout.byPower;
    layout.nDataEntries = layout.nLength;
    g_lutFile = WriteLutFile("storm.lut", layout);
}

const std::wstring& RecordingFile() {
    static const std::wstring file = plat::WideFromUtf8(ScratchPath("storm.avi"));
    return file;
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
        case Caller::FrameMaking:
            return k == 0 ? ZDQ_MakeDarkFrame(0, 2) : ZDQ_MakeFlatFieldFrame(0, 2);
        case Caller::LutLoad:
            return ZDQ_LutFileDownload(0, g_lutFile.c_str());
        case Caller::Recording:
            return ZDQ_RecordStartEx(0, k == 0, 25.0f, RecordingFile().c_str(), false);
        case Caller::BayerMode:
            return ZDQ_BayerSetMode(0, k);
        case Caller::Getters: {
            int nA = 0, nB = 0, nC = 0, nD = 0, nE = 0, nF = 0;
            bool bOn = false;
            switch (n % 4) {
                case 0:
                    return ZDQ_CaptureGetFieldOfView(0, &nA, &nB, &nC, &nD, &nE, &nF);
                case 1:
                    return ZDQ_CaptureGetSizeExEx(0, &nA, &nB, &nC, &nD);
                case 2:
                    return ZDQ_GetData16Bits(0, &bOn);
                default:
                    return ZDQ_GetBufferCount(0, &nA);
            }
        }
        case Caller::BufferCount:
            return ZDQ_SetBufferCount(0, 3 + k);
        case Caller::EmptyBuffer:
            return ZDQ_EmptyFrameBuffer(0);
        case Caller::TimeOut:
            return ZDQ_CaptureSetTimeOutEx(0, 5000 + 1000 * k, true);
        case Caller::Clipboard:
            return ZDQ_CaptureRgbDataToClipboard(0);
        case Caller::Capture:
        default:
            return ZDQ_CaptureRawData(0, buffer.data());
    }
}

// The results a call of the caller may give besides 1: frame making refuses
// a flat-field window whose frame the 16-bit switch has changed since it was
// set; a recording starts only while the preview runs, and a window set
// stops and restarts the preview around it; the frame buffer is not emptied
// in a triggered mode.
bool Accepted(Caller caller, int nRet) {
    switch (caller) {
        case Caller::FrameMaking:
            return nRet == RET_SUCCESS || nRet == RET_FAIL;
        case Caller::Recording:
            return nRet == RET_SUCCESS || nRet == RET_ILLEGALOPERATION;
        case Caller::Clipboard:
            // Not with 16-bit data.
            return nRet == RET_SUCCESS || nRet == RET_NOTSUPPORT;
        case Caller::EmptyBuffer:
            // Not in the triggered modes.
            return nRet == RET_SUCCESS || nRet == RET_NOTSUPPORT;
        default:
            return nRet == RET_SUCCESS;
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
          &FpgaCap::bmSetTriggerFixFrameRate, &FpgaCap::bmLutDownload,
          &FpgaCap::bmEmptyFrameBuffer}) {
        pDevice->Capability().Set(*pField, 1);
    }
    WriteLutFileFor(pDevice->Capability());
    std::atomic<int> nFrames{0};
    if (ZDQ_CaptureSetFieldOfView(0, 0, 0, kCaptureWidth[0], kCaptureHeight[0], 0, 0) != 1 ||
        ZDQ_PreviewSetFieldOfView(0, 0, 0, kPreviewWidth[0], kPreviewHeight[0], 0, 0) != 1 ||
        ZDQ_SetFlatFieldCorrectionFieldOfView(0, 0, 0, kFlatFieldWidth, kFlatFieldHeight, 0, 0,
                                              1) != 1 ||
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
            if (!Accepted(caller, nRet)) {
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
    ZDQ_RecordStartEx(0, false, 0.0f, nullptr, false);
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

// Runs a child's side in a child process: its exit status, or a failure for
// a child that ends by a signal or hangs.
void RunInChild(const std::function<int()>& body, const std::string& what) {
    std::fflush(nullptr);
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        std::exit(body());
    }
    // The longer of the two run times, for every child.
    const Clock::time_point bound = Clock::now() + kReplugRunTime + kHangBound;
    int nStatus = 0;
    pid_t ended = 0;
    while ((ended = waitpid(pid, &nStatus, WNOHANG)) == 0 && Clock::now() < bound) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (ended == 0) {
        kill(pid, SIGKILL);
        waitpid(pid, &nStatus, 0);
        FAIL() << what << ": hangs";
    }
    ASSERT_EQ(ended, pid);
    ASSERT_TRUE(WIFEXITED(nStatus)) << what << ": ends by signal " << WTERMSIG(nStatus);
    EXPECT_EQ(WEXITSTATUS(nStatus), 0) << what;
}

class ThreadStormTest : public ::testing::TestWithParam<Row> {};

TEST_P(ThreadStormTest, BothCallersSucceedWithoutHangOrCrash) {
    const Row row = GetParam();
    RunInChild([row] { return RunRow(row.first, row.second); },
               std::string(Name(row.first)) + " x " + Name(row.second));
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
    {Caller::FrameMaking, Caller::CaptureWindow},
    {Caller::FrameMaking, Caller::Data16Bits},
    {Caller::LutLoad, Caller::LutLoad},
    {Caller::Recording, Caller::PreviewWindow},
    {Caller::Recording, Caller::BayerMode},
    {Caller::Getters, Caller::CaptureWindow},
    {Caller::Getters, Caller::Data16Bits},
    {Caller::Getters, Caller::BufferCount},
    {Caller::EmptyBuffer, Caller::TriggerMode},
    {Caller::TimeOut, Caller::Capture},
    {Caller::Clipboard, Caller::CaptureWindow},
    {Caller::Clipboard, Caller::Data16Bits},
};

INSTANTIATE_TEST_SUITE_P(Pairs, ThreadStormTest, ::testing::ValuesIn(kRows));

// Two cameras, each driven by three threads (preview starts, stops and
// pauses; both windows and the 16-bit switch; raw and RGB captures) while a
// fourth unplugs it and plugs it back in its slot every 40 to 120 ms. Calls
// fail while a camera is away; what counts is that none corrupts memory or
// hangs, and that once both are back each device captures again.
constexpr int kReplugCameras = 2;
constexpr int kReplugTypes[kReplugCameras] = {90, kTypeColour1280};

int DriveDuringReplug(int nIndex, int nRole, int n, std::vector<uint8_t>& buffer) {
    const int k = n % 4;
    switch (nRole) {
        case 0:
            return k == 0   ? ZDQ_PreviewStartEx(nIndex, true, n % 8 == 0)
                   : k == 1 ? ZDQ_PreviewPause(nIndex, true)
                   : k == 2 ? ZDQ_PreviewPause(nIndex, false)
                            : ZDQ_PreviewStartEx(nIndex, false, false);
        case 1:
            return k == 0   ? ZDQ_PreviewSetFieldOfView(nIndex, 0, 0, kPreviewWidth[n / 4 % 2],
                                                        kPreviewHeight[n / 4 % 2], 0, 0)
                   : k == 1 ? ZDQ_CaptureSetFieldOfView(nIndex, 0, 0, kCaptureWidth[n / 4 % 2],
                                                        kCaptureHeight[n / 4 % 2], 0, 0)
                            : ZDQ_SetData16Bits(nIndex, k == 2);
        default:
            return k % 2 == 0 ? ZDQ_CaptureRgbData(nIndex, buffer.data())
                              : ZDQ_CaptureRawData(nIndex, buffer.data());
    }
}

int RunTwoCamerasWithReplug() {
    for (int i = 0; i < kReplugCameras; ++i) {
        MlSimProfile profile = CameraProfile(kReplugTypes[i], i + 1);
        profile.timing = MLSIM_TIMING_INSTANT;
        if (mlsim_plug(i, &profile) != 1) {
            return 3;
        }
    }
    if (ZDQ_Init() != RET_SUCCESS) {
        std::fprintf(stderr, "the cameras do not open\n");
        return 3;
    }
    std::atomic<int> nFrames{0};
    // A capture buffer holds the larger capture window (with the frames a
    // transfer of the camera stacks) in RGB at 32 bits a pixel and 16 bits a
    // sample.
    size_t nCaptureBytes = 0;
    for (int i = 0; i < kReplugCameras; ++i) {
        CDevice* pDevice = FrameGetDevice(i);
        if (pDevice == nullptr) {
            std::fprintf(stderr, "no device %d\n", i);
            return 3;
        }
        pDevice->Capability().Set(FpgaCap::bm16BitsTransfer, 1);
        if (ZDQ_CaptureSetFieldOfView(i, 0, 0, kCaptureWidth[0], kCaptureHeight[0], 0, 0) != 1 ||
            ZDQ_PreviewSetFieldOfView(i, 0, 0, kPreviewWidth[0], kPreviewHeight[0], 0, 0) != 1 ||
            ZDQ_PreviewSetCallback(i, CountFrame, &nFrames) != 1) {
            std::fprintf(stderr, "the windows of device %d cannot be set\n", i);
            return 3;
        }
        const FieldOfView fov = pDevice->Fov(kCaptureFov);
        nCaptureBytes = std::max<size_t>(nCaptureBytes, size_t{fov.ulTotalPixels} * 4u * 2u);
    }
    const Clock::time_point end = Clock::now() + kReplugRunTime;
    std::vector<std::thread> threads;
    for (int i = 0; i < kReplugCameras; ++i) {
        for (int nRole = 0; nRole < 3; ++nRole) {
            threads.emplace_back([i, nRole, end, nCaptureBytes] {
                std::vector<uint8_t> buffer(nCaptureBytes);
                for (int n = 0; Clock::now() < end; ++n) {
                    DriveDuringReplug(i, nRole, n, buffer);
                }
            });
        }
        threads.emplace_back([i, end] {
            for (int n = 0; Clock::now() < end; ++n) {
                std::this_thread::sleep_for(std::chrono::milliseconds(40 + 20 * (n % 5)));
                if (mlsim_unplug(i) != 1) {
                    return;
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
                if (mlsim_replug(i, i) != 1) {
                    return;
                }
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    for (int i = 0; i < kReplugCameras; ++i) {
        if (mlsim_is_plugged(i) != 1) {
            std::fprintf(stderr, "camera %d is not plugged back\n", i);
            return 2;
        }
        ZDQ_PreviewStartEx(i, false, false);
        // The first capture after the last replug may be the one that
        // recovers the camera.
        std::vector<uint8_t> buffer(nCaptureBytes);
        int nRet = ZDQ_CaptureRawData(i, buffer.data());
        if (nRet != RET_SUCCESS) {
            nRet = ZDQ_CaptureRawData(i, buffer.data());
        }
        if (nRet != RET_SUCCESS) {
            std::fprintf(stderr, "device %d, the capture after the run: %d\n", i, nRet);
            return 2;
        }
    }
    ZDQ_UnInit();
    mlsim_unplug_all();
    return 0;
}

TEST(ReplugStormTest, TwoCamerasUnpluggedAndPluggedBackDuringCallsCaptureAgainAfterwards) {
    RunInChild(RunTwoCamerasWithReplug, "two cameras with unplug and replug");
}

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
