#pragma once

#include <QThread>

class TucsenCamCtrl;

// Pulls raw frames from the cooled camera while the controller's stopFlag is
// false; each complete frame becomes the controller's readyBuffer (a frame
// not yet shown is replaced by the newer one).
class TucsenGrabThread : public QThread {
    Q_OBJECT
  public:
    explicit TucsenGrabThread(QObject* parent = nullptr);

  protected:
    void run() override;

  private:
    TucsenCamCtrl* m_camCtrl;
    unsigned char* swapTemp = nullptr;
};
