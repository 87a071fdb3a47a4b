#include "capability/CapabilityPresets.h"

#include <initializer_list>

namespace {

// ---- Building blocks of the preset tables ---------------------------------

struct TypeSpan {
    std::int32_t first;
    std::int32_t last;
    constexpr TypeSpan(std::int32_t type) : first(type), last(type) {}
    constexpr TypeSpan(std::int32_t from, std::int32_t to) : first(from), last(to) {}
};

// A set of device types 0-127.
struct TypeSet {
    std::uint64_t bits[2] = {0, 0};

    constexpr bool Contains(std::int32_t type) const {
        return type >= 0 && type < 128 && ((bits[type / 64] >> (type % 64)) & 1) != 0;
    }
};

constexpr TypeSet Types(std::initializer_list<TypeSpan> spans) {
    TypeSet set;
    for (const TypeSpan& span : spans) {
        for (std::int32_t type = span.first; type <= span.last; ++type) {
            set.bits[type / 64] |= std::uint64_t{1} << (type % 64);
        }
    }
    return set;
}

// Versions whose major lies in [majorFrom, majorTo] and whose minor lies in
// [minorFrom, minorTo].
struct VersionSpan {
    std::uint8_t majorFrom;
    std::uint8_t majorTo;
    std::uint8_t minorFrom;
    std::uint8_t minorTo;

    constexpr bool Matches(CapVersion v) const {
        return v.major >= majorFrom && v.major <= majorTo && v.minor >= minorFrom &&
               v.minor <= minorTo;
    }
};

constexpr VersionSpan V(std::uint8_t major, std::uint8_t minor) {
    return {major, major, minor, minor};
}
constexpr VersionSpan Major(std::uint8_t major) {
    return {major, major, 0, 255};
}
constexpr VersionSpan MajorFrom(std::uint8_t major) {
    return {major, 255, 0, 255};
}
constexpr VersionSpan MinorRange(std::uint8_t major, std::uint8_t minorFrom, std::uint8_t minorTo) {
    return {major, major, minorFrom, minorTo};
}
constexpr VersionSpan AnyMajorMinorFrom(std::uint8_t minor) {
    return {0, 255, minor, 255};
}

// A condition on a version: any of up to four spans.
struct Versions {
    VersionSpan spans[4] = {};
    std::uint8_t count = 0;

    constexpr bool Matches(CapVersion v) const {
        for (std::uint8_t i = 0; i < count; ++i) {
            if (spans[i].Matches(v)) {
                return true;
            }
        }
        return false;
    }
};

constexpr Versions OneOf(std::initializer_list<VersionSpan> spans) {
    Versions versions;
    for (const VersionSpan& span : spans) {
        versions.spans[versions.count++] = span;
    }
    return versions;
}
constexpr Versions AnyVersion() {
    return OneOf({{0, 255, 0, 255}});
}
// major.minor or any later version.
constexpr Versions From(std::uint8_t major, std::uint8_t minor) {
    return OneOf({MinorRange(major, minor, 255), MajorFrom(static_cast<std::uint8_t>(major + 1))});
}

// The values a row replaces; the others stay.
struct PresetValues {
    enum : std::uint8_t { kClock = 1, kS = 2, kH = 4, kW = 8, kF = 16 };
    std::uint8_t set = 0;
    float clock = 0;
    std::uint32_t s = 0;
    std::uint32_t h = 0;
    std::uint32_t w = 0;
    std::uint64_t f = 0;

    constexpr PresetValues Clock(float mhz) const {
        PresetValues p = *this;
        p.set |= kClock;
        p.clock = mhz;
        return p;
    }
    constexpr PresetValues S(std::uint32_t v) const {
        PresetValues p = *this;
        p.set |= kS;
        p.s = v;
        return p;
    }
    constexpr PresetValues H(std::uint32_t v) const {
        PresetValues p = *this;
        p.set |= kH;
        p.h = v;
        return p;
    }
    constexpr PresetValues W(std::uint32_t v) const {
        PresetValues p = *this;
        p.set |= kW;
        p.w = v;
        return p;
    }
    constexpr PresetValues F(std::uint64_t v) const {
        PresetValues p = *this;
        p.set |= kF;
        p.f = v;
        return p;
    }
};

constexpr PresetValues Clock(float mhz) {
    return PresetValues{}.Clock(mhz);
}
constexpr PresetValues S(std::uint32_t v) {
    return PresetValues{}.S(v);
}
constexpr PresetValues H(std::uint32_t v) {
    return PresetValues{}.H(v);
}
constexpr PresetValues W(std::uint32_t v) {
    return PresetValues{}.W(v);
}
constexpr PresetValues F(std::uint64_t v) {
    return PresetValues{}.F(v);
}

void Apply(DeviceCapability& cap, const PresetValues& values) {
    if (values.set & PresetValues::kClock) {
        cap.SetPixClk(values.clock);
    }
    if (values.set & PresetValues::kS) {
        cap.SensorCapability = values.s;
    }
    if (values.set & PresetValues::kH) {
        cap.HardwareCapability = values.h;
    }
    if (values.set & PresetValues::kW) {
        cap.FirmwareCapability = values.w;
    }
    if (values.set & PresetValues::kF) {
        cap.FpgaCapability = values.f;
    }
}

// ---- Model presets --------------------------------------------------------

// Values for a firmware and FPGA version that match no row below.
struct ModelPreset {
    std::int32_t type;
    float clock;
    std::uint32_t s;
    std::uint32_t h;
    std::uint32_t w;
    std::uint64_t f;
};

constexpr ModelPreset kModelPresets[] = {
    // type, clock (MHz), SensorCapability, HardwareCapability, FirmwareCapability,
    // FpgaCapability; the comment names the sensor unit
    {0, 48.0f, 0x9b4, 0x0, 0x1c000, 0x0},                     // MT9M001
    {1, 48.0f, 0x9b5, 0x0, 0x10000, 0x0},                     // MT9M001
    {3, 48.0f, 0xbfa, 0x0, 0x1c000, 0x0},                     // Sensor2048Family
    {4, 48.0f, 0x28009b4, 0x211, 0x1c000, 0x0},               // MT9M001
    {5, 48.0f, 0x28009b5, 0x0, 0x1c000, 0x0},                 // MT9M001
    {7, 48.0f, 0xbfc, 0x211, 0x1c000, 0x0},                   // Sensor2048Family
    {8, 48.0f, 0xbfa, 0x0, 0x2c000, 0x0},                     // Sensor2592Family
    {9, 48.0f, 0x3000bfd, 0x0, 0x0, 0x0},                     // Sensor2592Family
    {10, 48.0f, 0x3000bfa, 0x0, 0x0, 0x0},                    // Sensor2592Family
    {11, 48.0f, 0x3000bfd, 0x10021, 0xc000, 0x0},             // Sensor2592Family
    {17, 50.6f, 0x330123a, 0x11000, 0xccf7, 0x0},             // AR0130
    {18, 50.6f, 0x330123b, 0x11000, 0xc0f7, 0x0},             // AR0130
    {25, 96.0f, 0x30012b8, 0x1021, 0xc000, 0x0},              // Sensor30xxFamily
    {26, 96.0f, 0x30012ba, 0x1000, 0xc000, 0x0},              // Sensor30xxFamily
    {27, 96.0f, 0x30012bc, 0x11000, 0xc0b7, 0x0},             // Sensor30xxFamily
    {32, 48.0f, 0x2b0083b, 0x11000, 0xf7, 0x67ff},            // Sensor2592Family
    {33, 48.0f, 0x9b4, 0x0, 0x12000, 0x0},                    // MT9M001
    {34, 48.0f, 0x9b5, 0x0, 0x1c000, 0x0},                    // MT9M001
    {35, 48.0f, 0xbfc, 0x0, 0x2000, 0x0},                     // Sensor2048Family
    {36, 27.0f, 0x28feabe, 0x1000, 0xc000, 0x0},              // MT9V034
    {37, 27.0f, 0x28feabd, 0x1000, 0xc000, 0x0},              // MT9V034
    {39, 48.0f, 0x2b0083b, 0x11000, 0xc0f7, 0x0},             // MT9M001
    {40, 48.0f, 0x280083a, 0x11000, 0xccf7, 0x0},             // Sensor2048Family
    {41, 48.0f, 0x300083a, 0x11000, 0xccf7, 0x0},             // Sensor2592Family
    {42, 48.0f, 0x2b0083b, 0x11000, 0xc0f7, 0x0},             // Sensor2592Family
    {46, 15.0f, 0x3080802, 0x11081, 0xd0b7, 0x83ff6},         // CcdAD9923A
    {47, 15.0f, 0x3080805, 0x11081, 0xd0b7, 0x83ff6},         // CcdAD9923A
    {48, 36.0f, 0x3080802, 0x11081, 0xd0b6, 0x83ff6},         // CcdAD9923A
    {49, 36.0f, 0x3080805, 0x11000, 0xd0b7, 0x837f6},         // CcdAD9923A
    {50, 28.0f, 0x3080804, 0x11081, 0xc001, 0x837f2},         // CcdAD9923A
    {51, 28.0f, 0x3080805, 0x11000, 0xc001, 0x837f2},         // CcdAD9923A
    {52, 96.0f, 0x3010afc, 0x9000, 0xcff6, 0x0},              // Sensor2592Family
    {53, 96.0f, 0x3010afd, 0x9000, 0xc0f7, 0x0},              // Sensor2592Family
    {54, 160.0f, 0x30012ba, 0x9000, 0xc0f6, 0x0},             // Sensor30xxFamily
    {55, 120.0f, 0x30012ba, 0x9000, 0xc0f6, 0x0},             // Sensor30xxFamily
    {56, 48.0f, 0x2801222, 0x9000, 0xc0f6, 0x8b7f6},          // SpiSensor1280
    {57, 48.0f, 0x2801225, 0x9000, 0xc0f7, 0x8b7f6},          // SpiSensor1280
    {58, 57.0f, 0x28029be, 0x9000, 0x1c0f6, 0x0},             // EV76C560
    {59, 57.0f, 0x28028bd, 0x9000, 0xc0f7, 0x0},              // EV76C560
    {60, 27.0f, 0x338e83e, 0x1000, 0x2001, 0x26},             // MT9V034
    {61, 27.0f, 0x308e83d, 0x2000, 0x2001, 0x26},             // MT9V034
    {62, 99.0f, 0x330123a, 0x9000, 0xcff7, 0x0},              // MT9M031
    {63, 99.0f, 0x330123d, 0x9000, 0xc3f7, 0x0},              // MT9M031
    {64, 57.0f, 0x28028be, 0x9000, 0x1c0f7, 0x0},             // EV76C560
    {65, 57.0f, 0x28028bd, 0x9000, 0x1c0f7, 0x0},             // EV76C560
    {66, 48.0f, 0x30009b4, 0x11000, 0x12011, 0x22},           // MT9M001
    {67, 48.0f, 0x30009b5, 0x11000, 0x12011, 0x22},           // MT9M001
    {68, 48.0f, 0x3000bfc, 0x10000, 0x2011, 0x82},            // Sensor2048Family
    {72, 96.0f, 0x3000bfc, 0x8000, 0x2205f, 0x82},            // Sensor2592Family
    {73, 96.0f, 0x3000bfd, 0x8000, 0x205f, 0x82},             // Sensor2592Family
    {74, 120.0f, 0x30012ba, 0x9000, 0xc0f6, 0x0},             // Sensor30xxFamily
    {76, 48.0f, 0x28009b5, 0x10105, 0x1c000, 0x0},            // MT9M001
    {79, 50.6f, 0x330123a, 0x11000, 0xccf7, 0x0},             // MT9M031
    {80, 50.6f, 0x330123b, 0x11000, 0xc0f7, 0x0},             // MT9M031
    {86, 99.0f, 0x308281c, 0x9000, 0xc4f7, 0x0},              // IMX174
    {87, 99.0f, 0x308281d, 0x9000, 0xc0f7, 0x0},              // IMX174
    {88, 74.25f, 0x328282c, 0x9000, 0xc4f7, 0x0},             // Sensor3096
    {89, 74.25f, 0x328282d, 0x9000, 0xc2f7, 0x0},             // Sensor3096
    {90, 15.0f, 0x3080004, 0x15000, 0xc0b7, 0x1b80000e7fff},  // CcdAD9923A
    {91, 15.0f, 0x3080001, 0x15000, 0xc2f7, 0x0},             // CcdAD9923A
    {92, 99.0f, 0x308281c, 0x9000, 0xc4f7, 0x0},              // IMX174
    {93, 99.0f, 0x308281d, 0x9000, 0xc0f7, 0x0},              // IMX174
    {94, 99.0f, 0x30e0804, 0x9000, 0xc4f7, 0x0},              // IMX250
    {95, 99.0f, 0x30e081d, 0x9000, 0xc0f7, 0x0},              // IMX250
    {96, 96.0f, 0x3180014, 0x9000, 0xc4f7, 0x0},              // IMX226
    {97, 96.0f, 0x3080015, 0x9000, 0xc0f7, 0x0},              // IMX226
    {98, 80.0f, 0x3000002, 0x9000, 0xc0b7, 0x0},              // DR2K
    {99, 80.0f, 0x3000005, 0x9000, 0xc0b7, 0x0},              // DR2K
    {100, 80.0f, 0x3000002, 0x9000, 0xc0b7, 0x0},             // DR4K
    {101, 80.0f, 0x3000005, 0x9000, 0xc0b7, 0x0},             // DR4K
    {102, 72.0f, 0x3180034, 0x9000, 0xc4f7, 0x0},             // IMX183
    {103, 72.0f, 0x3080035, 0x9000, 0xc0f7, 0x0},             // IMX183
    {104, 99.0f, 0x30e0804, 0x9000, 0xc4f6, 0x0},             // IMX250
    {105, 99.0f, 0x30e081d, 0x9000, 0xc0f7, 0x0},             // IMX250
    {106, 99.0f, 0x308281c, 0x9000, 0xc4f7, 0x0},             // IMX174
    {107, 99.0f, 0x308281d, 0x9000, 0xc0f7, 0x0},             // IMX174
    {108, 320.0f, 0x3002814, 0x9000, 0xc0f7, 0x0},            // ISG4006
    {109, 320.0f, 0x3002805, 0x9000, 0xc0f7, 0xb80000fe7ff},  // ISG4006
    {111, 400.0f, 0x3002816, 0x9000, 0xc0f6, 0x0},            // ISG4006A
    {112, 400.0f, 0x3002811, 0x9000, 0xc0f6, 0x0},            // ISG4006A
    {113, 99.0f, 0x33e281c, 0x9000, 0xcef7, 0xbbdfdfff7ff},   // IMX287
    {114, 99.0f, 0x33e281d, 0x9000, 0xc2f7, 0xb80000ff7ff},   // IMX287
    {115, 148.5f, 0x338281c, 0x9000, 0xcef7, 0xbb1fdfff7ff},  // IMX290
    {116, 148.5f, 0x3382819, 0x9000, 0xc0f7, 0x980000ff7ff},  // IMX290
    {117, 600.0f, 0x33e2816, 0x9000, 0xccf7, 0xbb1fdfff7ff},  // ISG1307
    {118, 600.0f, 0x33e2811, 0x9000, 0xc0f7, 0xb80000ff7ff},  // ISG1307
    {119, 99.0f, 0x30e0804, 0x9000, 0xccf7, 0x0},             // IMX265
    {120, 99.0f, 0x30e0819, 0x9000, 0xc0f7, 0x0},             // IMX265
    {121, 99.0f, 0x33e280d, 0x9000, 0xc2f7, 0x0},             // Sensor3096
    {122, 96.0f, 0x30e0011, 0x9000, 0xc0f7, 0x100000000000},  // IMX226
    {123, 72.0f, 0x3080035, 0x9000, 0xc0f7, 0x100000000000},  // IMX183
};

// Firmware rows of the model preset, applied in order after the model preset;
// each replaces the values it names.
struct FirmwareRow {
    TypeSet types;
    Versions firmware;
    PresetValues values;
};

constexpr FirmwareRow kFirmwareRows[] = {
    {Types({1}), OneOf({Major(6)}), W(0x110000)},
    {Types({4}), OneOf({V(1, 81), V(1, 91)}), W(0x1c001)},
    {Types({5}), OneOf({V(1, 5), V(1, 61)}), H(0x211)},
    {Types({5}), OneOf({V(1, 81)}), H(0x800)},
    {Types({5}), OneOf({V(1, 91)}), H(0x811)},
    {Types({33}), OneOf({V(1, 6)}), H(0x8)},
    {Types({33}), OneOf({V(1, 81)}), H(0x108)},
    {Types({34}), OneOf({V(1, 6)}), H(0x8)},
    {Types({34}), OneOf({V(1, 8), V(1, 9), V(1, 81), V(1, 91)}), H(0x108)},
    {Types({9}), OneOf({MajorFrom(5)}), H(0x10000)},
    {Types({10}), OneOf({V(1, 7)}), S(0x3000bfc).H(0x211)},
    {Types({10}), OneOf({V(1, 8)}), H(0x211)},
    {Types({11}), OneOf({MajorFrom(5)}), W(0xc001)},
    {Types({11}), OneOf({V(1, 9)}), H(0x211)},
    {Types({52}), OneOf({V(3, 1)}), W(0xff6)},
    {Types({52, 53, 58, 59, 63, 65}), OneOf({Major(22)}), W(0xcff7)},
    {Types({64}), OneOf({Major(22)}), S(0x28028b8).W(0xcff7)},
    {Types({55, 74, {86, 89}, {92, 97}, {102, 109}, {111, 116}, 118, {120, 123}}),
     OneOf({Major(20)}), W(0xccf7)},
    {Types({105}), OneOf({Major(20)}), H(0x0)},
    {Types({25}), OneOf({V(1, 6), V(1, 8), V(2, 0), V(2, 2)}),
     Clock(162.0f).S(0x30012bc).H(0x1041)},
    {Types({25}), OneOf({V(3, 2)}), Clock(162.0f).S(0x30012ba).H(0x1041)},
    {Types({26}), OneOf({V(1, 5), V(1, 6), V(1, 8)}), Clock(162.0f)},
    {Types({27}), OneOf({V(1, 5)}), Clock(162.0f).H(0x1000).W(0xc001)},
    {Types({36}), OneOf({V(2, 3)}), Clock(48.0f).W(0xe000)},
    {Types({36}), OneOf({V(3, 65)}), Clock(48.0f)},
    {Types({36}), OneOf({V(5, 2)}), Clock(48.0f).H(0x11000)},
    {Types({37}), OneOf({V(3, 65)}), Clock(48.0f)},
    {Types({37}), OneOf({V(4, 41)}), Clock(48.0f).W(0xc006)},
    {Types({37}), OneOf({V(5, 2)}), Clock(48.0f).H(0x11000).W(0xc036)},
};

// ---- FPGA presets ---------------------------------------------------------

// Types with a model preset but without an FPGA preset.
constexpr TypeSet kWithoutFpgaPreset = Types({0, 1, 3, {7, 10}, {33, 35}, 76});

// FPGA rows, applied in order after the FPGA word of the model preset; each
// replaces the values it names. A row holds for an FPGA version in `fpga`
// and a firmware version in `firmware`.
struct FpgaRow {
    TypeSet types;
    Versions fpga;
    Versions firmware;
    PresetValues values;
};

constexpr FpgaRow kFpgaRows[] = {
    {Types({4, 5}), AnyVersion(), OneOf({V(1, 81), V(1, 91)}), F(0x22)},
    {Types({11}), AnyVersion(), OneOf({MajorFrom(5)}), F(0x22)},
    {Types({39, 42}), OneOf({Major(9)}), AnyVersion(), F(0x4980000fffff)},
    {Types({41}), OneOf({Major(5), Major(9)}), AnyVersion(), F(0x49b1fdffffff)},
    {Types({52}), OneOf({Major(0)}), AnyVersion(), F(0x37e6)},
    {Types({52}), OneOf({Major(8), Major(9), Major(22)}), AnyVersion(),
     S(0x3010afa).F(0x4fb1fdffffff)},
    {Types({52}), OneOf({V(5, 0)}), AnyVersion(), F(0x837f6)},
    {Types({52}), OneOf({MinorRange(5, 2, 4)}), AnyVersion(), F(0x83ff7)},
    {Types({52}), OneOf({V(6, 1)}), AnyVersion(), F(0x8bff6)},
    {Types({52}), OneOf({V(6, 4)}), AnyVersion(), S(0x3010afa).F(0x8bffe)},
    {Types({52}), OneOf({V(6, 5)}), AnyVersion(), S(0x3010afa).F(0x4fbdfdffffff)},
    {Types({53}), OneOf({Major(22)}), AnyVersion(), F(0x4fb1fdffffff)},
    {Types({53}), OneOf({V(0, 0)}), AnyVersion(), F(0x37e6)},
    {Types({53}), OneOf({V(1, 1)}), AnyVersion(), F(0x837f6)},
    {Types({53}), OneOf({V(6, 1)}), AnyVersion(), F(0x8bff6)},
    {Types({53}), OneOf({V(6, 4)}), AnyVersion(), F(0x8bffe)},
    {Types({53}), OneOf({V(6, 5)}), AnyVersion(), F(0x4fbdfdffffff)},
    {Types({17, 40, 79}), OneOf({Major(9)}), AnyVersion(), F(0x49b1fdffffff)},
    {Types({18, 80}), OneOf({Major(9)}), AnyVersion(), F(0x4980000fffff)},
    {Types({25}), OneOf({Major(5)}), AnyVersion(), Clock(96.0f).S(0x30012ba).F(0x837f6)},
    {Types({26}), OneOf({Major(5)}), AnyVersion(), Clock(96.0f)},
    {Types({27}), OneOf({Major(5)}), AnyVersion(), Clock(160.0f).S(0x30012ba).F(0x837f6)},
    {Types({36}), OneOf({Major(8)}), AnyVersion(), Clock(27.0f).S(0x28feab8).F(0x380000e7fff)},
    {Types({36}), OneOf({Major(9)}), AnyVersion(), Clock(27.0f).S(0x28feab8).F(0x9b1fdfff7ff)},
    {Types({37}), OneOf({Major(1)}), AnyVersion(), Clock(27.0f).F(0x83ffe)},
    {Types({37}), OneOf({V(2, 0)}), AnyVersion(), Clock(48.0f).F(0x83ffe)},
    {Types({37}), OneOf({MinorRange(2, 1, 255)}), AnyVersion(), Clock(48.0f).F(0x27e6)},
    {Types({46, 47}), OneOf({Major(5)}), AnyVersion(), Clock(17.0f)},
    {Types({56, 57}), OneOf({V(6, 1)}), AnyVersion(), Clock(66.0f)},
    {Types({56, 57}), OneOf({V(6, 2)}), AnyVersion(), Clock(64.0f)},
    {Types({111, 112}), OneOf({Major(20)}), AnyVersion(), Clock(460.0f).F(0x19b1fdfe67ff)},
    {Types({114}), OneOf({AnyMajorMinorFrom(40)}), AnyVersion(), Clock(148.0f)},
    {Types({55, 74, {86, 89}, {92, 95}, 97, {113, 121}}), OneOf({Major(24)}), AnyVersion(),
     F(0x889b1fdffe7ff)},
    {Types({96, 122}), OneOf({Major(24)}), AnyVersion(), F(0x899b1fdffe7ff)},
    // The IMX183 cameras carry the FPGA of the IMX226 cameras.
    {Types({{102, 103}, 123}), OneOf({Major(24)}), AnyVersion(), F(0x899b1fdffe7ff)},
    {Types({86, 92}), OneOf({Major(8)}), AnyVersion(), F(0xbb1fdfff7ff)},
    {Types({87, 93}), OneOf({Major(8)}), AnyVersion(), F(0xb80000ff7ff)},
    {Types({{98, 101}}), OneOf({Major(8)}), AnyVersion(), F(0x2380000ff7ff)},
};

// FPGA functions a sensor unit cannot work without, added to the FPGA word
// whatever the FPGA version:
// - units that hand the exposure to the FPGA write its exposure-line
//   registers 35/36 (the global-reset firmware of the IMX226 and IMX183
//   cameras, the Sensor3096 type 121);
// - units that switch the strobe through FPGA register 29 reach it only
//   through the GPIO registers, on cameras whose sensor word offers a strobe;
// - the line sensors' black-level calibration reads eight frames at a time
//   and so sets the multi-frame count.
struct UnitNeed {
    TypeSet types;
    Versions firmware;
    // The need holds only when the sensor word has one of these bits (0: always).
    std::uint32_t sensorAny;
    std::uint64_t fpgaBits;
};

constexpr std::uint32_t kStrobeBits =
    static_cast<std::uint32_t>(SensorCap::bmFlashEnable.Mask() | SensorCap::bmFlashInvert.Mask());

constexpr UnitNeed kUnitNeeds[] = {
    {Types({96, 97}), OneOf({MajorFrom(20)}), 0, FpgaCap::bmExposureLine.Mask()},
    {Types({122}), AnyVersion(), 0, FpgaCap::bmExposureLine.Mask()},
    {Types({102, 103}), From(20, 20), 0, FpgaCap::bmExposureLine.Mask()},
    {Types({123}), AnyVersion(), 0, FpgaCap::bmExposureLine.Mask()},
    {Types({121}), AnyVersion(), 0, FpgaCap::bmExposureLine.Mask()},
    {Types({{88, 89}, 121, {96, 97}, 122, {102, 103}, 123, {117, 118}}), AnyVersion(), kStrobeBits,
     FpgaCap::bmGpioNormal.Mask()},
    {Types({{98, 101}}), AnyVersion(), 0, FpgaCap::bmSetMultiFramesNum.Mask()},
};

const ModelPreset* FindModelPreset(std::int32_t deviceType) {
    for (const ModelPreset& preset : kModelPresets) {
        if (preset.type == deviceType) {
            return &preset;
        }
    }
    return nullptr;
}

}  // namespace

void SetModelCapability(DeviceCapability& cap, std::int32_t deviceType, CapVersion firmware) {
    cap.FpgaCapability = 0;
    cap.FirmwareCapability = 0;
    cap.HardwareCapability = 0;
    cap.SensorCapability = 0;
    const ModelPreset* preset = FindModelPreset(deviceType);
    if (preset == nullptr) {
        cap.SetPixClk(DeviceCapability::kDefaultPixClkMHz);
        return;
    }
    cap.SetPixClk(preset->clock);
    cap.SensorCapability = preset->s;
    cap.HardwareCapability = preset->h;
    cap.FirmwareCapability = preset->w;
    for (const FirmwareRow& row : kFirmwareRows) {
        if (row.types.Contains(deviceType) && row.firmware.Matches(firmware)) {
            Apply(cap, row.values);
        }
    }
}

void SetFpgaCapability(DeviceCapability& cap, std::int32_t deviceType, CapVersion firmware,
                       CapVersion fpga) {
    const ModelPreset* preset = FindModelPreset(deviceType);
    if (preset == nullptr || kWithoutFpgaPreset.Contains(deviceType)) {
        return;
    }
    cap.FpgaCapability = preset->f;
    for (const FpgaRow& row : kFpgaRows) {
        if (row.types.Contains(deviceType) && row.fpga.Matches(fpga) &&
            row.firmware.Matches(firmware)) {
            Apply(cap, row.values);
        }
    }
    for (const UnitNeed& need : kUnitNeeds) {
        if (need.types.Contains(deviceType) && need.firmware.Matches(firmware) &&
            (need.sensorAny == 0 || (cap.SensorCapability & need.sensorAny) != 0)) {
            cap.FpgaCapability |= need.fpgaBits;
        }
    }
}
