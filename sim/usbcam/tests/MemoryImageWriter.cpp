// A second process for the memory image tests: plugs the cameras of a
// configuration file, writes one byte into camera 0's memory and ends.
//   memory_image_writer <config> <address> <byte>
#include <cstdint>
#include <cstdlib>

#include "mlusbimager_control.h"

int main(int argc, char** argv) {
    if (argc != 4 || mlsim_load_config(argv[1]) < 1) {
        return 2;
    }
    const auto address = static_cast<uint32_t>(std::strtoul(argv[2], nullptr, 0));
    const auto value = static_cast<uint8_t>(std::strtoul(argv[3], nullptr, 0));
    return mlsim_eeprom_write(0, address, &value, 1) == 1 ? 0 : 1;
}
