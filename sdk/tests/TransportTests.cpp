// The driver link against the simulated cameras: claiming, vendor-request
// transport, frame-read outcomes, pending operations, recovery.
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <memory>

#include "SimCamera.h"
#include "platform/ErrorText.h"
#include "usb/DriverNames.h"

namespace {

constexpr int kMonoType = 5;  // MT9M001 with an FPGA

// A second process that holds a claim until it is stopped.
class ClaimHolderProcess {
  public:
    explicit ClaimHolderProcess(const std::string& name) {
        int toChild[2];
        int fromChild[2];
        if (pipe(toChild) != 0 || pipe(fromChild) != 0) {
            return;
        }
        m_pid = fork();
        if (m_pid == 0) {
            dup2(toChild[0], 0);
            dup2(fromChild[1], 1);
            close(toChild[1]);
            close(fromChild[0]);
            execl(CLAIM_HOLDER_PATH, CLAIM_HOLDER_PATH, "hold", name.c_str(),
                  static_cast<char*>(nullptr));
            _exit(127);
        }
        close(toChild[0]);
        close(fromChild[1]);
        m_stdin = toChild[1];
        char text[8] = {};
        m_bHeld = read(fromChild[0], text, 5) == 5 && std::strncmp(text, "held\n", 5) == 0;
        close(fromChild[0]);
    }
    ~ClaimHolderProcess() {
        if (m_stdin >= 0) {
            close(m_stdin);
        }
        if (m_pid > 0) {
            int status = 0;
            waitpid(m_pid, &status, 0);
        }
    }
    bool Held() const { return m_bHeld; }

  private:
    pid_t m_pid = -1;
    int m_stdin = -1;
    bool m_bHeld = false;
};

uint32_t TransferBytes(int nSlot) {
    MlSimFrameInfo info{};
    mlsim_frame_info(nSlot, &info);
    return info.transfer_bytes;
}

}  // namespace

TEST(VendorRequestRecord, FieldsAtTheirOffsets) {
    uint8_t record[MLUSB_VENDOR_REQUEST_SIZE];
    const SetupPacket packet{0xC0, 0xC2, 0x1234, 0xABCD, 0x0102};
    uint8_t data[4] = {};
    BuildVendorRequest(packet, data, record);
    const uint8_t head[15] = {0x34, 0x12, 0, 0, 0x02, 0x01, 0,   0,
                              0xCD, 0xAB, 0, 0, 0xC2, 0xC0, 0x80};
    EXPECT_EQ(std::memcmp(record, head, sizeof(head)), 0);
    uint64_t nAddress = 0;
    for (int i = 0; i < 8; ++i) {
        nAddress |= static_cast<uint64_t>(record[15 + i]) << (8 * i);
        EXPECT_EQ(record[23 + i], 0);
    }
    EXPECT_EQ(nAddress, reinterpret_cast<uintptr_t>(data));
    BuildVendorRequest(SetupPacket{0x40, 0xDD, 0, 0, 1}, data, record);
    EXPECT_EQ(record[14], 0);
}

using TransportTest = SimTest;

TEST_F(TransportTest, TwoTransportsTakeTwoCamerasAndClaimThem) {
    Plug(0, CameraProfile(kMonoType, 1));
    Plug(4, CameraProfile(kMonoType, 2));
    CameraLayers first;
    CameraLayers second;
    CameraLayers third;
    ASSERT_EQ(first.transport.Open(), RET_SUCCESS);
    ASSERT_EQ(second.transport.Open(), RET_SUCCESS);
    EXPECT_EQ(first.transport.DriverNumber(), 0);
    EXPECT_EQ(second.transport.DriverNumber(), 4);
    EXPECT_TRUE(plat::NamedClaim::Exists(CameraClaimName(0)));
    EXPECT_TRUE(plat::NamedClaim::Exists(CameraClaimName(4)));
    EXPECT_EQ(third.transport.Open(), RET_FAIL);
    EXPECT_EQ(first.transport.Open(), RET_SUCCESS);  // already open
    EXPECT_EQ(first.transport.Close(), RET_SUCCESS);
    EXPECT_FALSE(plat::NamedClaim::Exists(CameraClaimName(0)));
    EXPECT_EQ(third.transport.Open(), RET_SUCCESS);
    EXPECT_EQ(third.transport.DriverNumber(), 0);
}

TEST_F(TransportTest, CameraClaimedByAnotherProcessIsSkipped) {
    Plug(0, CameraProfile(kMonoType, 1));
    Plug(1, CameraProfile(kMonoType, 2));
    ClaimHolderProcess holder(CameraClaimName(0));
    ASSERT_TRUE(holder.Held());
    CameraLayers camera;
    ASSERT_EQ(camera.transport.Open(), RET_SUCCESS);
    EXPECT_EQ(camera.transport.DriverNumber(), 1);
}

TEST_F(TransportTest, ClosedHandleAnswersDeviceClosed) {
    CameraLayers camera;
    uint8_t data[8] = {};
    uint8_t descriptor[18];
    EXPECT_EQ(camera.transport.VendorCmd(SetupPacket{0xC0, 0xC8, 0, 0, 1}, data), RET_DEVICECLOSED);
    EXPECT_EQ(camera.transport.VendorCmdLocked(SetupPacket{0x40, 0xDD, 0, 0, 1}, data),
              RET_DEVICECLOSED);
    EXPECT_EQ(camera.transport.ReadFrame(FrameReadMethod::ReadFile, data, 8, nullptr),
              RET_DEVICECLOSED);
    EXPECT_EQ(camera.transport.CancelIo(), RET_DEVICECLOSED);
    EXPECT_EQ(camera.transport.UsbdCmd_ResetPipe(), RET_DEVICECLOSED);
    EXPECT_EQ(camera.transport.GetDeviceDescriptor(descriptor), RET_DEVICECLOSED);
    EXPECT_EQ(camera.transport.GetDriveVersion(nullptr), RET_DEVICECLOSED);
    EXPECT_FALSE(camera.transport.NewDriver());
    EXPECT_EQ(camera.transport.Open(), RET_FAIL);  // no camera at all
}

TEST_F(TransportTest, DriverVersionSetsTheNewDriverFlag) {
    const struct {
        uint32_t nVersion;
        bool bNew;
    } kCases[] = {{0x07FFFFFF, false}, {0x08000000, true}, {0x01020304, false}};
    for (const auto& c : kCases) {
        mlsim_unplug_all();
        MlSimProfile profile = CameraProfile(kMonoType);
        profile.driver_version = c.nVersion;
        Plug(0, profile);
        CameraLayers camera;
        ASSERT_EQ(camera.transport.Open(), RET_SUCCESS);
        uint32_t nVersion = 0;
        EXPECT_EQ(camera.transport.GetDriveVersion(&nVersion), RET_SUCCESS);
        EXPECT_EQ(nVersion, c.nVersion);
        EXPECT_EQ(camera.transport.NewDriver(), c.bNew) << std::hex << c.nVersion;
        uint8_t descriptor[18] = {};
        EXPECT_EQ(camera.transport.GetDeviceDescriptor(descriptor), RET_SUCCESS);
        EXPECT_EQ(descriptor[1], 1);  // device descriptor type
    }
}

TEST_F(TransportTest, ControlFaultsFailTheResets) {
    Plug(0, CameraProfile(kMonoType));
    CameraLayers camera;
    ASSERT_EQ(camera.transport.Open(), RET_SUCCESS);
    mlsim_fault_add(0, MLSIM_FAULT_CONTROL, MLUSB_IOCTL_RESET_PIPE, 0, 1, 0);
    EXPECT_EQ(camera.transport.UsbdCmd_ResetPipe(), RET_FAIL);
    EXPECT_EQ(plat::GetLastError(), MLUSB_ERROR_GEN_FAILURE);
    EXPECT_EQ(camera.transport.UsbdCmd_ResetPipe(), RET_SUCCESS);
    mlsim_journal_clear(0);
    EXPECT_EQ(camera.transport.UsbdCmd_Reset(), RET_SUCCESS);
    std::vector<uint32_t> codes;
    for (const MlSimJournalEntry& entry : Journal(0)) {
        codes.push_back(entry.code);
    }
    EXPECT_EQ(codes, (std::vector<uint32_t>{MLUSB_IOCTL_CLEAR_FEATURE, MLUSB_IOCTL_RESET_PIPE,
                                            MLUSB_IOCTL_RESET_DEVICE}));
}

TEST_F(TransportTest, PendingVendorRequestFailsAndReleasesItsBuffer) {
    Plug(0, CameraProfile(kMonoType));
    CameraLayers camera;
    ASSERT_EQ(camera.transport.Open(), RET_SUCCESS);
    mlsim_fault_add(0, MLSIM_FAULT_PENDING, 0xC2, 0, 1, 0);
    auto pReply = std::make_unique<uint8_t[]>(3);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(camera.transport.VendorCmd(SetupPacket{0xC0, 0xC2, 1, 0, 3}, pReply.get()), RET_FAIL);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    pReply.reset();  // the driver must be done with it: the sanitizer build checks
    uint8_t reply[3] = {0xFF, 0xFF, 0xFF};
    EXPECT_EQ(camera.transport.VendorCmd(SetupPacket{0xC0, 0xC2, 1, 0, 3}, reply), RET_SUCCESS);
    EXPECT_EQ(reply[0], 0);
}

TEST_F(TransportTest, TransferFaultStoresTheDriverError) {
    Plug(0, CameraProfile(kMonoType));
    CameraLayers camera;
    ASSERT_EQ(camera.transport.Open(), RET_SUCCESS);
    mlsim_fault_add(0, MLSIM_FAULT_TRANSFER, 0xC2, 0, 1, 0);
    uint8_t reply[3];
    plat::SetLastError(0);
    EXPECT_EQ(camera.transport.VendorCmd(SetupPacket{0xC0, 0xC2, 1, 0, 3}, reply), RET_FAIL);
    EXPECT_EQ(plat::GetLastError(), MLUSB_ERROR_GEN_FAILURE);
}

// ---- Frame reads ----------------------------------------------------------

struct FrameReadCase {
    const char* pszName;
    int nFault;  // 0: none
    uint32_t nParam;
    int nExpected;
    const char* pszLogLine;  // null: no line expected
};

class FrameReadTest : public SimTest, public ::testing::WithParamInterface<FrameReadCase> {};

TEST_P(FrameReadTest, OutcomeAndLogLine) {
    const FrameReadCase& c = GetParam();
    Plug(0, CameraProfile(kMonoType));
    CameraLayers camera(std::string("frame_") + c.pszName + ".log");
    ASSERT_EQ(camera.transport.Open(), RET_SUCCESS);
    camera.transport.SetCaptureTimeOut(100);
    const uint32_t nBytes = TransferBytes(0);
    ASSERT_GT(nBytes, 0u);
    if (c.nFault != 0) {
        mlsim_fault_add(0, c.nFault, MLSIM_MATCH_ANY, 0, 1, c.nParam);
    }
    for (FrameReadMethod method : {FrameReadMethod::ReadFile, FrameReadMethod::StreamIoctl}) {
        if (c.nFault != 0) {
            mlsim_fault_clear(0);
            mlsim_fault_add(0, c.nFault, MLSIM_MATCH_ANY, 0, 1, c.nParam);
        }
        auto pBuffer = std::make_unique<uint8_t[]>(nBytes);
        uint32_t nReal = 0xFFFFFFFF;
        EXPECT_EQ(camera.transport.ReadFrame(method, pBuffer.get(), nBytes, &nReal), c.nExpected)
            << c.pszName;
        if (c.nExpected == RET_SUCCESS) {
            EXPECT_EQ(nReal, nBytes);
            EXPECT_EQ(uint8_t(pBuffer[1] - pBuffer[0]), 1);  // pattern: (x + 3y + n) & 0xFF
        }
        pBuffer.reset();  // the driver is done with it on every outcome
    }
    if (c.pszLogLine != nullptr) {
        EXPECT_NE(camera.LogText().find(c.pszLogLine), std::string::npos) << camera.LogText();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, FrameReadTest,
    ::testing::Values(FrameReadCase{"exact", 0, 0, RET_SUCCESS, nullptr},
                      FrameReadCase{"short", MLSIM_FAULT_READ_SHORT, 1, RET_INVALIDFRAME,
                                    "ZDQAPI::--Bus_CatchOneFrame Error! ( Invalid Frame Need "},
                      FrameReadCase{"zero", MLSIM_FAULT_READ_ZERO, 0, RET_ZEROFRAME,
                                    "ZDQAPI::--Bus_CatchOneFrame Error! ( RET_ZEROFRAME )"},
                      FrameReadCase{"timeout", MLSIM_FAULT_READ_TIMEOUT, 0, RET_TIMEOUT,
                                    "ZDQAPI::**Bus_CatchOneFrame Error! ( Wait TimeOut 100ms )"},
                      FrameReadCase{"aborted", MLSIM_FAULT_READ_ABORTED, 0, RET_IOERROR,
                                    "System IO Error, code = 0x000003E3"},
                      FrameReadCase{"ioerror", MLSIM_FAULT_READ_IO_ERROR, 0, RET_FAIL,
                                    "System IO Error, code = 0x0000001F"}),
    [](const ::testing::TestParamInfo<FrameReadCase>& info) { return info.param.pszName; });

TEST_F(TransportTest, ShortFrameByOneByteAndTimeOutAfterItsTime) {
    Plug(0, CameraProfile(kMonoType));
    CameraLayers camera;
    ASSERT_EQ(camera.transport.Open(), RET_SUCCESS);
    const uint32_t nBytes = TransferBytes(0);
    std::vector<uint8_t> buffer(nBytes);
    mlsim_fault_add(0, MLSIM_FAULT_READ_SHORT, MLSIM_MATCH_ANY, 0, 1, 1);
    uint32_t nReal = 0;
    EXPECT_EQ(camera.transport.ReadFrame(FrameReadMethod::ReadFile, buffer.data(), nBytes, &nReal),
              RET_INVALIDFRAME);
    EXPECT_EQ(nReal, nBytes - 1);
    camera.transport.SetCaptureTimeOut(1);
    mlsim_fault_add(0, MLSIM_FAULT_READ_TIMEOUT, MLSIM_MATCH_ANY, 0, 1, 0);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(camera.transport.ReadFrame(FrameReadMethod::ReadFile, buffer.data(), nBytes, nullptr),
              RET_TIMEOUT);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    // The cancelled read claimed nothing: the next one reads a whole frame
    // (with a time-out that a frame produced under load still meets).
    camera.transport.SetCaptureTimeOut(5000);
    EXPECT_EQ(camera.transport.ReadFrame(FrameReadMethod::ReadFile, buffer.data(), nBytes, nullptr),
              RET_SUCCESS);
}

TEST_F(TransportTest, UnpluggedCameraFailsTheRead) {
    Plug(0, CameraProfile(kMonoType));
    CameraLayers camera;
    ASSERT_EQ(camera.transport.Open(), RET_SUCCESS);
    mlsim_unplug(0);
    std::vector<uint8_t> buffer(TransferBytes(0) + 16);
    EXPECT_EQ(camera.transport.ReadFrame(FrameReadMethod::ReadFile, buffer.data(), 1024, nullptr),
              RET_FAIL);
    EXPECT_EQ(plat::GetLastError(), MLUSB_ERROR_DEVICE_NOT_CONNECTED);
}

// ---- Recovery ---------------------------------------------------------------

TEST_F(TransportTest, RecoveryFindsTheSameCameraOnAnotherDriverNumber) {
    Plug(0, CameraProfile(kMonoType, 7, 0x0203));
    CameraLayers camera("recover_same.log");
    ASSERT_EQ(camera.transport.Open(), RET_SUCCESS);
    camera.transport.SetIdentity(DeviceIdentity{kMonoType, 7, 0x0203});
    int nRestores = 0;
    camera.bus.restoreRegisters = [&] {
        ++nRestores;
        return RET_RECOVERY_SUCCESS;
    };
    ASSERT_EQ(mlsim_unplug(0), 1);
    ASSERT_EQ(mlsim_replug(0, 5), 1);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(camera.bus.Recover(), RET_RECOVERY_SUCCESS);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
    EXPECT_EQ(camera.transport.DriverNumber(), 5);
    EXPECT_EQ(nRestores, 1);
    EXPECT_TRUE(plat::NamedClaim::Exists(CameraClaimName(5)));
    const std::string log = camera.LogText();
    EXPECT_NE(log.find("ZDQAPI::++Recover."), std::string::npos);
    EXPECT_NE(log.find("ZDQAPI::**Find Lost Device Success. ( DeviceType = 0x5, Serials = 7, "
                       "FirmwareVersion = 0x203"),
              std::string::npos);
    EXPECT_NE(log.find("ZDQAPI::--Recover. ( Return = -10 )"), std::string::npos);
    uint8_t reply[3] = {0xFF, 0xFF, 0xFF};
    EXPECT_EQ(camera.transport.VendorCmd(SetupPacket{0xC0, 0xC2, 1, 0, 3}, reply), RET_SUCCESS);
}

TEST_F(TransportTest, ALinkItsOwnerClosedIsNotRecovered) {
    Plug(0, CameraProfile(kMonoType, 7, 0x0203));
    CameraLayers camera("recover_closed.log");
    ASSERT_EQ(camera.transport.Open(), RET_SUCCESS);
    camera.transport.SetIdentity(DeviceIdentity{kMonoType, 7, 0x0203});
    ASSERT_EQ(camera.transport.Close(), RET_SUCCESS);
    EXPECT_EQ(camera.transport.ReleaseLostDevice(), RET_DEVICECLOSED);
    EXPECT_EQ(camera.transport.FindLostDevice(), RET_FAIL);
    EXPECT_EQ(camera.bus.Recover(), RET_RECOVERY_FAIL);
    EXPECT_FALSE(camera.transport.IsOpen());
    EXPECT_FALSE(plat::NamedClaim::Exists(CameraClaimName(0)));
    EXPECT_NE(camera.LogText().find("ZDQAPI::**Recover Error! ( Close Fail )"), std::string::npos);
    // Opened again by its owner, it is recovered as before.
    ASSERT_EQ(camera.transport.Open(), RET_SUCCESS);
    EXPECT_EQ(camera.transport.ReleaseLostDevice(), RET_SUCCESS);
    EXPECT_EQ(camera.transport.FindLostDevice(), RET_SUCCESS);
    EXPECT_TRUE(plat::NamedClaim::Exists(CameraClaimName(camera.transport.DriverNumber())));
}

TEST_F(TransportTest, RecoveryRefusesADifferentCamera) {
    Plug(0, CameraProfile(kMonoType, 7));
    CameraLayers camera("recover_other.log");
    ASSERT_EQ(camera.transport.Open(), RET_SUCCESS);
    camera.transport.SetIdentity(DeviceIdentity{kMonoType, 7, 0x0100});
    ASSERT_EQ(mlsim_unplug(0), 1);
    Plug(2, CameraProfile(kMonoType, 8));
    EXPECT_EQ(camera.bus.Recover(), RET_RECOVERY_FAIL);
    EXPECT_FALSE(camera.transport.IsOpen());
    EXPECT_FALSE(plat::NamedClaim::Exists(CameraClaimName(2)));
    const std::string log = camera.LogText();
    EXPECT_NE(log.find("ZDQAPI::**Dismatch Lost Device! ( DeviceType = 0x5, Serials = 8"),
              std::string::npos);
    EXPECT_NE(log.find("ZDQAPI::**Recover Error! ( Open Fail )"), std::string::npos);
}

TEST_F(TransportTest, RecoveryRestartsTheStreamOnlyWithTheNewDriver) {
    for (uint32_t nDriver : {0x08000000u, 0x07FFFFFFu}) {
        mlsim_unplug_all();
        MlSimProfile profile = CameraProfile(kMonoType, 3);
        profile.driver_version = nDriver;
        Plug(0, profile);
        CameraLayers camera;
        camera.capability.Set(FpgaCap::bmStreamMode, 1);
        ASSERT_EQ(camera.transport.Open(), RET_SUCCESS);
        ASSERT_EQ(camera.transport.GetDriveVersion(nullptr), RET_SUCCESS);
        camera.transport.SetIdentity(DeviceIdentity{kMonoType, 3, 0x0100});
        camera.transport.SetStreamStarted(true);
        mlsim_journal_clear(0);
        ASSERT_EQ(mlsim_unplug(0), 1);
        ASSERT_EQ(mlsim_replug(0, 1), 1);
        EXPECT_EQ(camera.bus.Recover(), RET_RECOVERY_SUCCESS);
        bool bStart = false;
        bool bStop = false;
        for (int nSlot : {0, 1}) {
            for (const MlSimJournalEntry& entry : VendorJournal(nSlot)) {
                bStart |= entry.request == 0xEC;
                bStop |= entry.request == 0xED;
            }
        }
        const bool bNew = nDriver > 0x07FFFFFF;
        EXPECT_EQ(bStart, bNew) << std::hex << nDriver;
        EXPECT_FALSE(bStop);  // sent to the unplugged camera, which never sees it
        EXPECT_TRUE(camera.transport.StreamStarted());
        MlSimFrameInfo info{};
        mlsim_frame_info(1, &info);
        EXPECT_EQ(info.streaming, bNew ? 1 : 0);
    }
}
