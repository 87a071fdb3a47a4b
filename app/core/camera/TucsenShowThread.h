#pragma once

#include <QThread>

class TucsenCamCtrl;

// Decodes the newest raw frame into the controller's imageBuffer and emits
// updateImg() for it, while the controller's stopFlag is false.
class TucsenShowThread : public QThread {
    Q_OBJECT
  public:
    explicit TucsenShowThread(QObject* parent = nullptr);

  signals:
    void updateImg();

  protected:
    void run() override;

  private:
    TucsenCamCtrl* m_camCtrl;
    unsigned char* swapTemp = nullptr;
};
