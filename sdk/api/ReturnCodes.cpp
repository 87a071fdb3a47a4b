#include "api/ReturnCodes.h"

// Texts as the SDK has always reported them, spelling included: callers
// compare and display them.
const ReturnCodeEntry ReturnCodeTable[27] = {
    {RET_SUCCESS, L"Successful"},
    {RET_PARAMERROR, L"Parameter Error"},
    {RET_MALLOCFAIL, L"Memory Allocation Failed"},
    {RET_NOTSUPPORT, L"Operation is not Supported"},
    {RET_DEVICENOTDETECTED, L"Device cannt be Detected"},
    {RET_DEVICENOTINIT, L"Device wasn't Initialized"},
    {RET_ILLEGALOPERATION, L"Illegal Operation"},
    {RET_NOPRIVILEGE, L"User No Privilege"},
    {RET_FAIL, L"Fail"},
    {RET_FATALERROR, L"Fatal Error"},
    {RET_RECOVERY_SUCCESS, L"Device Recovery Successful"},
    {RET_RECOVERY_FAIL, L"Device Recovery Fail"},
    {RET_BADFRAME, L"Bad Frame From Device, Should be Discarded"},
    {RET_INVALIDFRAME, L"Invalid Frame, Transmission Error"},
    {RET_ZEROFRAME, L"Zero Frame, Tranmission Error"},
    {RET_VERSIONERROR, L"Version Error"},
    {RET_TIMEOUT, L"Time Out"},
    {RET_DEVICECLOSED, L"Device Has Closed"},
    {RET_BUSNOTINIT, L"Bus Not Initialized"},
    {RET_CAMERANOTCREATED, L"Camera Not Created"},
    {RET_INVALIDHANDLE, L"Invalidate Handle or Null Handle"},
    {RET_STREAMNOTSTART, L"Stream Not Start"},
    {RET_3DNOTINIT, L"3D Camera Not Initial"},
    {RET_3DNOTSUPPORT, L"Not Support 3d Function"},
    {RET_STREAMNOTSTOP, L"You Need Stop Strem First"},
    {RET_IOERROR, L"Io Error"},
    {RET_3DINITFAIL, L"3D Camera Initial Fail"},
};

const wchar_t* ReturnCodeText(int nCode) {
    for (const ReturnCodeEntry& entry : ReturnCodeTable) {
        if (entry.nCode == nCode) {
            return entry.pszText;
        }
    }
    return nullptr;
}
