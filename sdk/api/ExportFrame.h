// The frame every per-device export stands in.
//
//     int ZDQ_Something(int nIndex, int* pValue) {
//         ApiLog(L"ZDQAPI::++ZDQ_Something(%d).", nIndex);
//         const int nRet = WithDevice(nIndex, [&](CDevice& device) {
//             return device.Something(pValue);
//         });
//         ApiLog(L"ZDQAPI::--ZDQ_Something.Ret(%d)", nRet);
//         return nRet;
//     }
//
// WithDevice answers RET_DEVICENOTINIT without calling the operation when
//   1. there is no device manager (before ZDQ_Init, after ZDQ_UnInit);
//   2. the index is outside 0 .. count-1 (the count ZDQ_Init found);
//   3. the slot is empty and no camera opens for it now (the opening is tried
//      again on the next call);
// otherwise it returns what the operation returns. It takes no lock (the
// thread rules are in ZDQApi.h); device operations lock inside the device.
//
// No exception leaves the C interface: WithDevice, WithSlotDevice and the
// exports outside them run inside CallGuarded, the one barrier, which turns
// std::bad_alloc into RET_MALLOCFAIL (or the code the export documents for
// lacking memory) and any other exception into RET_FAIL.
#pragma once

#include <cstdint>
#include <new>

#include "ZDQApi.h"
#include "common/Log.h"
#include "device/Device.h"
#include "device/DeviceManager.h"

// Steps 1 and 2: the manager when nIndex is a valid device index, else null.
CDeviceManager* FrameGetManager(int nIndex);

// Steps 1 to 3: the device of nIndex, opened on first use, or null.
CDevice* FrameGetDevice(int nIndex);

// The exception barrier: what operation() returns, or nNoMemory when it
// throws std::bad_alloc, or RET_FAIL when it throws anything else.
template <typename Operation>
int CallGuarded(Operation&& operation, int nNoMemory = RET_MALLOCFAIL) noexcept {
    try {
        return operation();
    } catch (const std::bad_alloc&) {
        return nNoMemory;
    } catch (...) {
        return RET_FAIL;
    }
}

template <typename Operation>
int WithDevice(int nIndex, Operation&& operation) noexcept {
    return CallGuarded([&] {
        CDevice* pDevice = FrameGetDevice(nIndex);
        if (pDevice == nullptr) {
            return RET_DEVICENOTINIT;
        }
        return operation(*pDevice);
    });
}

// As WithDevice, but only with a device already in the slot: an empty slot
// gives RET_DEVICENOTINIT without trying to open a camera.
template <typename Operation>
int WithSlotDevice(int nIndex, Operation&& operation) noexcept {
    return CallGuarded([&] {
        CDeviceManager* pManager = FrameGetManager(nIndex);
        CDevice* pDevice = pManager != nullptr ? pManager->PeekDevice(nIndex) : nullptr;
        if (pDevice == nullptr) {
            return RET_DEVICENOTINIT;
        }
        return operation(*pDevice);
    });
}

// A pointer as the "0x%x" of a log line shows it: its low 32 bits.
inline unsigned LogPointer(const void* p) {
    return static_cast<unsigned>(reinterpret_cast<uintptr_t>(p));
}

// An export's call-log lines around WithDevice (or WithSlotDevice):
// "ZDQAPI::++<name>(<index>)." and "ZDQAPI::--<name>. Ret(<result>)".
template <typename Operation>
int LoggedDeviceCall(const wchar_t* pszName, int nIndex, Operation&& operation) {
    ApiLog(L"ZDQAPI::++%ls(%d).", pszName, nIndex);
    const int nRet = WithDevice(nIndex, operation);
    ApiLog(L"ZDQAPI::--%ls. Ret(%d)", pszName, nRet);
    return nRet;
}
template <typename Operation>
int LoggedSlotCall(const wchar_t* pszName, int nIndex, Operation&& operation) {
    ApiLog(L"ZDQAPI::++%ls(%d).", pszName, nIndex);
    const int nRet = WithSlotDevice(nIndex, operation);
    ApiLog(L"ZDQAPI::--%ls. Ret(%d)", pszName, nRet);
    return nRet;
}

// A line of the user-call log at LOGLEVEL_NORMAL: the "ZDQAPI::++" line on
// entry and the "ZDQAPI::--" line with the result on exit of an export.
