#include "serial/AutoFocusThread.h"

#include "serial/DarkroomCommands.h"

#include <QDeadlineTimer>
#include <cmath>

namespace {
// Interruption is looked at this often while waiting.
constexpr int kSleepSliceMs = 20;
}  // namespace

AutoFocusThread::AutoFocusThread(QObject* parent) : QThread(parent), m_lensCtrl() {}

AutoFocusThread::AutoFocusThread(ASyncSerialPortThread* link, QObject* parent)
    : QThread(parent), m_lensCtrl(link, nullptr) {}

AutoFocusThread::~AutoFocusThread() {
    requestInterruption();
    wait();
}

void AutoFocusThread::setTimeScale(double scale) {
    if (std::isfinite(scale) && scale > 0) {
        m_timeScale = scale;
    }
}

bool AutoFocusThread::sleepUnlessInterrupted(int ms) {
    const QDeadlineTimer deadline(static_cast<qint64>(std::llround(ms * m_timeScale)));
    while (!deadline.hasExpired()) {
        if (isInterruptionRequested()) {
            return false;
        }
        const qint64 left = deadline.remainingTime();
        QThread::msleep(static_cast<unsigned long>(qMin<qint64>(left, kSleepSliceMs)));
    }
    return !isInterruptionRequested();
}

void AutoFocusThread::run() {
    m_lensCtrl.sendRawCmd({DarkroomCommand::FocusOut});
    const bool drove = sleepUnlessInterrupted(kFocusOutMs);
    m_lensCtrl.sendRawCmd({DarkroomCommand::LensStop});
    if (!drove) {
        return;
    }
    emit lensFocusReset();
    if (!sleepUnlessInterrupted(kBeforeFocusInMs)) {
        return;
    }
    m_lensCtrl.sendRawCmd({DarkroomCommand::FocusIn});
}
