#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

// The longest stall a test of the GUI thread accepts: well below a stopping
// preview's frame, well above the scheduling noise of a busy machine.
constexpr qint64 kStallBoundMs = 800;

// Measures how late its own ticks come: the longest time the event loop was
// held by one piece of work since start().
class StallMeter : public QObject {
  public:
    StallMeter();
    void start();
    qint64 longestStallMs() const { return m_longest; }

  private:
    static constexpr int kTickMs = 5;
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_longest = 0;
};
