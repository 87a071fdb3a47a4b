// The FPGA's colour processing of a colour camera, as register 9 asks for
// it: white-balance gains (bit 0 on; bits 1-2: 0 preset of bits 3-7,
// 1 automatic once, 2 automatic continuously, 3 the gains of registers
// 16-18) and a colour matrix (bit 8 on; bits 9-10: 0 preset of bits 11-15,
// 3 the matrix of registers 19-27). The gains and matrix in use are kept in
// registers 16-18 and 19-27 (4.12 fixed point, the matrix signed), where the
// host reads them back.
#pragma once

#include <cstdint>

#include "fpga.h"

namespace usbcam {

struct ColourStage {
    bool gainsOn = false;
    double gains[3] = {1, 1, 1};  // red, green, blue
    bool matrixOn = false;
    double matrix[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};  // rows give red, green, blue

    // The colour (red, green, blue) after the gains and the matrix.
    void apply(const double in[3], double out[3]) const;
    bool active() const { return gainsOn || matrixOn; }
};

// Settles registers 16-27 after register 9 was written (bAutoStep false) or
// before a frame (true: the continuous automatic white balance measures
// again), and returns the stage frames pass. contentMeans is the mean colour
// of what the camera sees, before any gain.
ColourStage settleColourRegisters(FpgaRegisters& fpga, const double contentMeans[3],
                                  bool bAutoStep);

}  // namespace usbcam
