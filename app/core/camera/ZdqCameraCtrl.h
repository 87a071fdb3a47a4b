#pragma once

#include <QObject>

// The gel/UV page's USB camera back-end: the record of the last capture.
// The capture thread fills the record on its way out; the pages read it on
// the GUI thread after that thread has finished.
class ZdqCameraCtrl : public QObject {
    Q_OBJECT
  public:
    // The one back-end, created on the first call.
    static ZdqCameraCtrl* getInstance();

    // The 8-bit grey frame of the last finished capture, frameWidth x
    // frameHeight bytes, rows top to bottom with no gap, as the camera
    // delivered it; null before the first capture. Owned by the back-end:
    // the capture that replaces it frees it with array delete.
    uchar* frameBuffer = nullptr;
    int frameWidth = 0;
    int frameHeight = 0;

  private:
    ZdqCameraCtrl();
    ~ZdqCameraCtrl() override;
};
