// Says in the log that the dark-room controller sent bytes that are no
// status. A noisy line can deliver thousands of such bytes a second, so the
// first one of a burst is logged at once and the rest at most once a second,
// as one line with their number.
#pragma once

#include <QObject>
#include <QTimer>

class UnknownStatusLog : public QObject {
    Q_OBJECT
  public:
    // Lines come at least `intervalMs` apart (a second in the program).
    explicit UnknownStatusLog(int intervalMs = 1000, QObject* parent = nullptr);

    // Counts `count` unknown bytes: "Unknow VarnuDataBit." at once when no
    // line was written within the interval, else in the line that ends the
    // interval, "Unknow VarnuDataBit. (N bytes)". Runs on the thread of this
    // object (its timer's).
    void add(int count);

  private:
    void write(qint64 count);
    void intervalEnded();

    QTimer m_interval;     // running while the last line is younger than the interval
    qint64 m_pending = 0;  // counted since the last line
};
