#pragma once

#include <QObject>
#include <QString>

#include <mutex>

// Settings of the USB camera of the gel/UV page.
struct ZdqCamSet {
    int Resolution = 0;
    int Exposure = 0;
    int Gain = 0;
    int Contrast = 0;
    int Gamma = 0;
    int BrightNess = 0;
    bool Mirror = false;
    bool Flip = false;
    int SignalAccNum = 0;
    bool SignalAccOpen = false;
};

// Settings of the cooled camera of the western-blot page.
struct TucsenCamSet {
    int Resolution = 0;
    int ExposurePre = 0;
    int GainPre = 0;
    int GainCap = 0;
    int BlackLevel = 0;
    int Contrast = 0;
    int Gamma = 0;
    int Stretch = 0;
    int Flip = 0;
    bool TimeAcc = false;
    bool InteAcc = false;
    int PixelClock = 0;
    int Depth = 0;
};

// One number per key of Ini/camOption.ini. Note that BrightNess comes before
// Gamma in the numbering.
enum CamOptType {
    ZdqDefault_Resolution = 0,
    ZdqDefault_Exposure,
    ZdqDefault_Gain,
    ZdqDefault_Contrast,
    ZdqDefault_BrightNess,
    ZdqDefault_Gamma,
    ZdqDefault_Mirror,
    ZdqDefault_Flip,
    ZdqDefault_SignalAccNum,
    ZdqDefault_SignalAccOpen,
    ZdqCurrent_Resolution,  // 10
    ZdqCurrent_Exposure,
    ZdqCurrent_Gain,
    ZdqCurrent_Contrast,
    ZdqCurrent_BrightNess,
    ZdqCurrent_Gamma,
    ZdqCurrent_Mirror,
    ZdqCurrent_Flip,
    ZdqCurrent_SignalAccNum,
    ZdqCurrent_SignalAccOpen,
    TucsenDefault_Resolution,  // 20
    TucsenDefault_ExposurePre,
    TucsenDefault_GainPre,
    TucsenDefault_GainCap,
    TucsenDefault_BlackLevel,
    TucsenDefault_Contrast,
    TucsenDefault_Gamma,
    TucsenDefault_Stretch,
    TucsenDefault_Flip,
    TucsenDefault_TimeAcc,
    TucsenDefault_InteAcc,
    TucsenDefault_PixelClock,
    TucsenDefault_Depth,
    TucsenCurrent_Resolution,  // 33
    TucsenCurrent_ExposurePre,
    TucsenCurrent_GainPre,
    TucsenCurrent_GainCap,
    TucsenCurrent_BlackLevel,
    TucsenCurrent_Contrast,
    TucsenCurrent_Gamma,
    TucsenCurrent_Stretch,
    TucsenCurrent_Flip,
    TucsenCurrent_TimeAcc,
    TucsenCurrent_InteAcc,
    TucsenCurrent_PixelClock,
    TucsenCurrent_Depth  // 45
};

// The camera settings of both back-ends: four sets kept in memory and mirrored
// one key at a time in Ini/camOption.ini of the station directory. The file is
// the authority: readers load right before use. Every operation opens the file
// anew and is serialised with the others of this object.
class CamOpts : public QObject {
    Q_OBJECT
  public:
    explicit CamOpts(QObject* parent = nullptr);

    // Writes / reads the field of one number; a number outside 0 to 45 is
    // the fatal message "Unknow CamOptType." and the file is not touched.
    // The save tells whether the file was written.
    [[nodiscard]] bool saveCamOpt(int type);
    void loadCamOpt(int type);

    // "Group/Key" of a number, or an empty text outside 0 to 45.
    static QString keyOf(int type);
    // Whether the file holds the key of a number (0 to 45).
    static bool isStored(int type);
    static QString filePath();

    // Each set in one write of the file: stored whole, or (when the file
    // cannot be written, logged) not at all and false.
    [[nodiscard]] bool saveZdqDefaultCamSet();
    [[nodiscard]] bool saveZdqCurrentCamSet();
    [[nodiscard]] bool saveTucsenDefaultCamSet();
    [[nodiscard]] bool saveTucsenCurrentCamSet();
    // Writes the fields of the numbers `first` to `last` whose keys the file
    // does not hold yet, in one write; keys it holds keep their values.
    [[nodiscard]] bool saveMissing(int first, int last);
    void loadZdqDefaultCamSet();
    void loadZdqCurrentCamSet();
    void loadTucsenDefaultCamSet();
    void loadTucsenCurrentCamSet();

    ZdqCamSet zdqDefaultCamSet;
    ZdqCamSet zdqCurrentCamSet;
    TucsenCamSet tucsenDefaultCamSet;
    TucsenCamSet tucsenCurrentCamSet;

  private:
    struct Field {
        int* intField = nullptr;
        bool* boolField = nullptr;
    };
    Field fieldOf(int type);
    [[nodiscard]] bool saveRange(int first, int last, bool missingOnly = false);
    void loadRange(int first, int last);

    std::recursive_mutex mutex_;
};
