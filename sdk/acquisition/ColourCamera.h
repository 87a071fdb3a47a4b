// The camera as the colour steps reach it: the FPGA's own white balance and
// colour matrix (the colour register and the gain and matrix registers),
// the sensor's colour gains and the device log. The results are the RET_*
// codes; RET_NOTSUPPORT where the camera's FPGA lacks the function.
#pragma once

class CLog;

class IColourCamera {
  public:
    // White balance in the FPGA: off, a preset (number masked to its 5-bit
    // field), automatic once or continuously, or the three gains (red, green,
    // blue) written as the FPGA's matrix; reading back the gains it uses.
    virtual int FpgaWhiteBalanceOff() = 0;
    virtual int FpgaWhiteBalancePreset(int nPreset) = 0;
    virtual int FpgaWhiteBalanceAuto(bool bContinuous) = 0;
    virtual int FpgaWhiteBalanceWriteGains(const float fGains[3]) = 0;
    virtual int FpgaWhiteBalanceReadGains(float fGains[3]) = 0;
    // The colour matrix in the FPGA: off, a preset, the nine entries written
    // or read back.
    virtual int FpgaMatrixOff() = 0;
    virtual int FpgaMatrixPreset(int nPreset) = 0;
    virtual int FpgaMatrixWrite(const float fMatrix[9]) = 0;
    virtual int FpgaMatrixRead(float fMatrix[9]) = 0;
    // The sensor's gain of channel 0 red, 1 green, 2 blue.
    virtual int GetColourGain(int nChannel, int* pGain) = 0;
    virtual int SetColourGain(int nChannel, int nGain) = 0;
    // The device log, null while it is off.
    virtual CLog* ColourLog() = 0;

  protected:
    ~IColourCamera() = default;
};
