#include "serial/UnknownStatusLog.h"

#include <QtDebug>

UnknownStatusLog::UnknownStatusLog(int intervalMs, QObject* parent)
    : QObject(parent), m_interval(this) {
    // A precise timer never ends an interval early.
    m_interval.setTimerType(Qt::PreciseTimer);
    m_interval.setInterval(intervalMs);
    connect(&m_interval, &QTimer::timeout, this, &UnknownStatusLog::intervalEnded);
}

void UnknownStatusLog::add(int count) {
    if (count <= 0) {
        return;
    }
    if (m_interval.isActive()) {
        m_pending += count;
        return;
    }
    write(count);
    m_interval.start();
}

void UnknownStatusLog::intervalEnded() {
    // An interval without unknown bytes ends the burst; the next byte is
    // logged at once again.
    if (m_pending == 0) {
        m_interval.stop();
        return;
    }
    write(m_pending);
    m_pending = 0;
}

void UnknownStatusLog::write(qint64 count) {
    if (count == 1) {
        qDebug() << "Unknow VarnuDataBit.";
    } else {
        qDebug().noquote() << QStringLiteral("Unknow VarnuDataBit. (%1 bytes)").arg(count);
    }
}
