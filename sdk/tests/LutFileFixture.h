// Test fixture: LUT files as the camera maker's tools write them (a header,
// k skipped 8-byte records, the table), with the fields a test spoils.
#pragma once

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "SimCamera.h"
#include "platform/WideText.h"

// A LUT file as the camera maker's tools write it, with k skipped records.
struct LutFileLayout {
    uint16_t wVersion = 0x0200;
    char cType = 'A';
    uint8_t byPower = 12;
    uint32_t nRecords = 2;
    uint32_t nLength = 4096;
    uint32_t nDataEntries = 4096;  // entries actually written
    bool bWriteRecords = true;
};

// Writes the file in the scratch folder; the table counts down from the
// top (entry i of a LUT is 255 - i / 16, of a gamma LUT 4095 - i).
inline std::wstring WriteLutFile(const std::string& name, const LutFileLayout& layout) {
    std::vector<uint8_t> bytes(40, 0);
    bytes[0] = static_cast<uint8_t>(layout.wVersion);
    bytes[1] = static_cast<uint8_t>(layout.wVersion >> 8);
    bytes[18] = static_cast<uint8_t>(layout.cType);
    bytes[19] = layout.byPower;
    for (int i = 0; i < 4; ++i) {
        bytes[28 + i] = static_cast<uint8_t>(layout.nRecords >> (8 * i));
        bytes[36 + i] = static_cast<uint8_t>(layout.nLength >> (8 * i));
    }
    if (layout.bWriteRecords) {
        bytes.resize(40 + 8 * layout.nRecords, 0xEE);
    }
    for (uint32_t i = 0; i < layout.nDataEntries; ++i) {
        if (layout.cType == 'C') {
            const uint16_t v = static_cast<uint16_t>(4095 - i);
            bytes.push_back(static_cast<uint8_t>(v));
            bytes.push_back(static_cast<uint8_t>(v >> 8));
        } else {
            bytes.push_back(static_cast<uint8_t>(255 - i / 16));
        }
    }
    const std::string path = ScratchPath(name);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return plat::WideFromUtf8(path);
}
