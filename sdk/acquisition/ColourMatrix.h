// CColourMatrix: the colour-correction matrix of a colour camera, a 3 x 3
// matrix (rows give output red, green, blue; columns weigh input red, green,
// blue) applied to every RGB frame in software (modes 1 preset, 2 user
// matrix) or handed to the FPGA (modes 3 preset, 4 user matrix).
//
// Threads: the setters run on the application's threads, Apply on the
// thread that converts frames; both take the object's own lock, under which
// only FPGA register requests are made.
#pragma once

#include <mutex>

#include "acquisition/ColourCamera.h"
#include "acquisition/ColourPresets.h"
#include "acquisition/FrameWorkers.h"
#include "acquisition/RgbTablePass.h"

class CColourMatrix {
  public:
    explicit CColourMatrix(IColourCamera& camera) : m_Camera(camera) {}
    CColourMatrix(const CColourMatrix&) = delete;
    CColourMatrix& operator=(const CColourMatrix&) = delete;

    // The state of a newly opened colour camera: from the FPGA's colour
    // register when its matrix is on (bit 8) with kind 0 or 3 (bits 9-10),
    // else mode 0 with preset 0 of the group.
    void Init(ColourGroup group, uint16_t wColourRegister);

    // Mode 0-4 with its FPGA writes (a failure other than RET_NOTSUPPORT is
    // returned and the mode stays; modes 3 and 4 need the FPGA); other modes
    // change nothing and give 1.
    int SetMode(int nMode);
    int Mode() const;
    // The preset: mode 1 takes its matrix, mode 3 writes it to the FPGA and
    // reads the matrix back; other modes RET_ILLEGALOPERATION. A number
    // without data is stored and leaves the matrix as it is.
    int SetPreset(int nPreset);
    int Preset() const;
    // The user matrix: mode 2 stores it, mode 4 also writes it to the FPGA;
    // other modes ignore it (1).
    int SetMatrix(const float fMatrix[9]);
    void Matrix(float fMatrix[9]) const;

    // The software matrix on a 24 or 32-bit frame (B, G, R order; the
    // fourth byte kept) in modes 1 and 2.
    void Apply(uint8_t* pRgb, int nWidth, int nHeight, int nBitCount,
               CFrameWorkers* pWorkers = nullptr) const;
    // In modes 1 and 2: the matrix a frame gets now, and true.
    bool SoftwareMatrix(float fMatrix[9]) const;

  private:
    IColourCamera& m_Camera;
    mutable std::mutex m_Mutex;
    ColourGroup m_Group = ColourGroup::Other;
    int m_nColorCorrectionMode = 0;
    int m_nColorCorrectionPreset = 0;
    float m_fColorCorrectionMatrix[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
};
