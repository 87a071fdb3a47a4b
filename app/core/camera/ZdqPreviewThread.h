// Opens the camera SDK, programs the USB camera from the current settings and
// starts the SDK's live preview into a window; then it ends (the SDK keeps
// the preview running on its own threads).
#pragma once

#include <QThread>

#include <atomic>
#include <future>
#include <memory>

#include "ZDQApi.h"

class CI_MainControl;

class ZdqPreviewThread : public QThread {
    Q_OBJECT
  public:
    explicit ZdqPreviewThread(QObject* parent = nullptr);

    void setPreviewWindow(ZDQWindow window, int width, int height);
    // Reloads the current settings and sets the preview window of the
    // resolution index (fatal for an index outside 0 to 3). Once the preview
    // runs, the camera takes the window at once, and the exposure range
    // there is told (ZdqCameraCtrl::exposureRangeFound), as it is when the
    // preview starts.
    void setPreviewFieldOfView(int deviceIndex, int resolution);
    // The start waits for `previous` (the camera work asked for before it,
    // such as the stop of the last preview) and fulfils `done` when it ends.
    void setOrder(std::shared_future<void> previous, std::shared_ptr<std::promise<void>> done);

  protected:
    void run() override;

  private:
    void startPreview();
    void tellExposureRange(int deviceIndex);

    CI_MainControl* controller;
    std::shared_future<void> m_previous;
    std::shared_ptr<std::promise<void>> m_done;
    std::atomic<bool> m_started{false};
    ZDQWindow previewWindow = 0;
    int previewWidth = 0;
    int previewHeight = 0;
};
