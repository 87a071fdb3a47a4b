// Applies an exposure time chosen with the settings panel's slider to the USB
// camera off the GUI thread; one thread a slider release, deleted when it has
// finished.
//
// The user's choices reach the camera in the order they were made: a thread
// whose value a later choice (another release or a typed value) has already
// overtaken sends nothing, so the camera never ends on an older exposure than
// the one the panel shows.
#pragma once

#include <QThread>

#include <mutex>

class CI_MainControl;

class SetExposureThread : public QThread {
    Q_OBJECT
  public:
    explicit SetExposureThread(int exposure, QObject* parent = nullptr);

    // Sends `exposure` at once on the calling thread; threads created before
    // this call send nothing afterwards.
    static void setExposureNow(int exposure);

  protected:
    void run() override;

  private:
    // Takes the next place in the order of choices.
    static quint64 takeTicket();

    CI_MainControl* mainControl;
    int exposure;
    quint64 ticket;

    static std::mutex s_orderMutex;
    static quint64 s_lastTicket;
};
