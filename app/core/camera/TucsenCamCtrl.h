#pragma once

#include <QObject>
#include <QString>

// The western-blot page's cooled-camera back-end: the size of its frames,
// the active capture panel and the current experiment.
class TucsenCamCtrl : public QObject {
    Q_OBJECT
  public:
    // The one back-end, created on the first call.
    static TucsenCamCtrl* getInstance();

    // Width and height in pixels of the last decoded frame, copied from its
    // header by the code that decodes it.
    unsigned short frameWidth = 0;
    unsigned short frameHeight = 0;
    // Bytes of one raw frame; a decoded frame takes up to three times this.
    int rawSize = 0;
    // The western-blot capture panel shown: 0 single capture, 1 manual.
    int curFuncFrameType = 0;
    // Name of the current western-blot experiment, also its picture folder.
    QString curExpName;

  private:
    TucsenCamCtrl();
    ~TucsenCamCtrl() override;
};
