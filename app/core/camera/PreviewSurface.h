// The widget the camera SDK draws the live preview into. It registers a
// window of the window-system library and gives its number as the native
// handle; frames arrive on the SDK's drawing thread, only the newest one is
// kept (at most one repaint is queued) and it is painted on the GUI thread.
// Destroying the surface unregisters the window, waiting for a draw that is
// in progress, so it may go while a preview runs.
#pragma once

#include <QImage>
#include <QMutex>
#include <QPoint>
#include <QWidget>
#include <atomic>

#include "window/PlatWindow.h"

class PreviewSurface : public QWidget {
    Q_OBJECT
  public:
    explicit PreviewSurface(QWidget* parent = nullptr);
    ~PreviewSurface() override;

    // The native handle of ZDQ_PreviewSetPos (0 when no window could be made).
    PlatWindow handle() const { return m_window; }
    // Forgets the frame on show.
    void clearFrame();
    // Shows the frames that arrive from now on mirrored left to right.
    void setMirrored(bool mirrored) { m_mirrored = mirrored; }

    // Frames received and frames painted since construction.
    int framesReceived() const { return m_received.load(); }
    int framesPainted() const { return m_painted.load(); }
    // The newest frame received (null when none).
    QImage lastFrame() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    static void sink(void* user, const PlatBitmapInfo* info, const void* bits, int x, int y,
                     int width, int height);
    void receive(const PlatBitmapInfo* info, const void* bits, int x, int y);

    PlatWindow m_window = 0;
    mutable QMutex m_mutex;
    QImage m_frame;
    QPoint m_origin;
    std::atomic<bool> m_mirrored{false};
    std::atomic<bool> m_repaintQueued{false};
    std::atomic<int> m_received{0};
    std::atomic<int> m_painted{0};
};
