#include "serial/ASyncSerialPortThread.h"

#include <QDeadlineTimer>
#include <QDebug>
#include <QElapsedTimer>
#include <QMutexLocker>

#include "serial/SerialPortCatalog.h"

namespace {

QMutex g_instanceMutex;
ASyncSerialPortThread* g_instance = nullptr;

// The timing of one pass: writes are waited for, then reads collect what comes
// while the line keeps delivering.
constexpr int kWriteWaitMs = 50;
constexpr int kReadWaitMs = 50;
constexpr int kAfterDeliverySleepMs = 20;
// A delivery ends after this long even if the controller never pauses.
constexpr qint64 kMaxDeliveryMs = 1000;
// The caller of `echo` never waits longer than this, whatever the thread does.
constexpr int kEchoLimitMs = 3000;
// A delivery's log line shows this many bytes; the controller's statuses
// come one at a time, so only noise on the line is longer.
constexpr int kLoggedBytes = 64;

// "readData:" and the delivery in hexadecimal; a long one shortened to its
// first bytes and its length.
void logDelivery(const QByteArray& bytes) {
    if (bytes.size() <= kLoggedBytes) {
        qDebug() << "readData:" << bytes.toHex();
        return;
    }
    qDebug() << "readData:" << bytes.left(kLoggedBytes).toHex()
             << QStringLiteral("(%1 bytes)").arg(bytes.size()).toUtf8().constData();
}

}  // namespace

ASyncSerialPortThread* ASyncSerialPortThread::getInstance() {
    QMutexLocker locker(&g_instanceMutex);
    if (g_instance == nullptr) {
        g_instance = new ASyncSerialPortThread();
    }
    return g_instance;
}

ASyncSerialPortThread::ASyncSerialPortThread(QObject* parent) : QThread(parent) {
    registerDarkroomMetaTypes();
    qDebug() << "asyncserialportthread create.";
}

ASyncSerialPortThread::~ASyncSerialPortThread() {
    qDebug() << "~ASyncSerialPortThread";
    closePort();
    // A pass is bounded (write, a 50 ms read wait or one delivery, a short
    // sleep), so the thread ends soon after the request.
    wait();
}

void ASyncSerialPortThread::openPort(QString portName, QSerialPort::BaudRate baudrate) {
    if (isRunning()) {
        return;
    }
    m_portName = portName;
    m_baudRate = baudrate;
    m_closeRequested.storeRelease(0);
    {
        QMutexLocker locker(&m_lock);
        m_state = LinkState::Idle;
    }
    start(QThread::InheritPriority);
}

void ASyncSerialPortThread::closePort() {
    m_closeRequested.storeRelease(1);
}

void ASyncSerialPortThread::writeData(QByteArray data) {
    QMutexLocker locker(&m_lock);
    if (m_state == LinkState::Ended) {
        return;
    }
    m_pending.enqueue(PendingWrite{data, 0});
}

void ASyncSerialPortThread::echo(QByteArray data, QByteArray& reply) {
    QMutexLocker exchangeLocker(&m_echoLock);
    QMutexLocker locker(&m_lock);
    reply.clear();
    if (m_state == LinkState::Running) {
        m_exchange = ++m_lastExchange;
        m_exchangeSent = false;
        m_replyReady = false;
        m_pending.enqueue(PendingWrite{data, m_exchange});
        const QDeadlineTimer deadline(kEchoLimitMs);
        while (!m_replyReady && m_state == LinkState::Running) {
            if (!m_replyCondition.wait(&m_lock, deadline)) {
                break;
            }
        }
        if (m_replyReady) {
            reply = m_reply;
        } else {
            // Given up: the exchange's bytes must not go out later on their own.
            const quint64 abandoned = m_exchange;
            for (auto it = m_pending.begin(); it != m_pending.end();) {
                it = it->exchange == abandoned ? m_pending.erase(it) : it + 1;
            }
        }
        m_exchange = 0;
        m_exchangeSent = false;
        m_replyReady = false;
        m_reply.clear();
    }
    qDebug() << "readData_echo:" << reply.toHex();
}

void ASyncSerialPortThread::errorHandle(QSerialPort::SerialPortError serialError) {
    if (serialError == QSerialPort::OpenError) {
        emit error(Err_OpenFail);
    } else if (serialError == QSerialPort::UnknownError) {
        emit error(Err_Unknow);
    }
}

void ASyncSerialPortThread::finishExchange(const QByteArray& reply) {
    m_reply = reply;
    m_replyReady = true;
    m_exchangeSent = false;
    m_replyCondition.wakeAll();
}

void ASyncSerialPortThread::run() {
    qDebug() << "asyncserialportthread start.";
    QSerialPort port;
    connect(&port, &QSerialPort::errorOccurred, this, &ASyncSerialPortThread::errorHandle,
            Qt::DirectConnection);
    port.setPortName(SerialPortCatalog::serialPortName(m_portName));
    port.setBaudRate(m_baudRate, QSerialPort::AllDirections);
    port.setDataBits(QSerialPort::Data8);
    port.setParity(QSerialPort::NoParity);
    port.setStopBits(QSerialPort::OneStop);
    port.setFlowControl(QSerialPort::NoFlowControl);

    if (!port.open(QIODevice::ReadWrite)) {
        emit error(Err_OpenFail);
        qDebug() << "open serialport failed.";
    } else {
        qDebug() << "open serialport success.";
        {
            QMutexLocker locker(&m_lock);
            m_state = LinkState::Running;
        }
        m_received.clear();
        m_timeoutCount = 0;
        while (serve(port)) {
        }
        port.close();
        qDebug() << "close serialPort success";
    }

    QMutexLocker locker(&m_lock);
    m_state = LinkState::Ended;
    m_pending.clear();
    m_replyCondition.wakeAll();
    locker.unlock();
    qDebug() << "asyncserialportthread exit.";
}

bool ASyncSerialPortThread::writePending(QSerialPort& port) {
    // Everything queued goes out in order, up to and including the bytes of a
    // synchronous exchange; what follows them waits until its answer is in, so
    // the answer is not mistaken for a reply to later commands.
    QList<QByteArray> batch;
    quint64 exchangeWritten = 0;
    {
        QMutexLocker locker(&m_lock);
        if (m_exchangeSent) {
            return false;
        }
        while (!m_pending.isEmpty() && exchangeWritten == 0) {
            PendingWrite next = m_pending.dequeue();
            batch.append(next.bytes);
            exchangeWritten = next.exchange;
        }
        if (exchangeWritten != 0 && exchangeWritten == m_exchange) {
            m_exchangeSent = true;
        }
    }
    for (const QByteArray& bytes : batch) {
        qDebug() << "writeData:" << bytes.toHex();
        port.write(bytes);
    }
    while (port.bytesToWrite() > 0 && port.waitForBytesWritten(kWriteWaitMs)) {
    }
    return exchangeWritten != 0;
}

bool ASyncSerialPortThread::serve(QSerialPort& port) {
    QElapsedTimer passTimer;
    passTimer.start();

    if (writePending(port)) {
        m_timeoutCount = 0;
        m_received.clear();
    }
    if (m_closeRequested.loadAcquire()) {
        return false;
    }

    {
        QMutexLocker locker(&m_lock);
        if (m_exchangeSent && m_received.isEmpty() && ++m_timeoutCount > kEchoIdlePasses) {
            m_timeoutCount = 0;
            finishExchange(QByteArray());
            locker.unlock();
            qDebug() << "syncserialport timeout";
        }
    }

    m_received = port.readAll();
    QElapsedTimer deliveryTimer;
    deliveryTimer.start();
    while (deliveryTimer.elapsed() < kMaxDeliveryMs && port.waitForReadyRead(kReadWaitMs)) {
        m_received.append(port.readAll());
    }
    if (m_received.isEmpty()) {
        // An idle pass lasts one read wait, even when the port reports an error
        // at once (a device that went away), so the thread never spins.
        const qint64 spent = passTimer.elapsed();
        if (spent < kReadWaitMs) {
            QThread::msleep(static_cast<unsigned long>(kReadWaitMs - spent));
        }
        return true;
    }

    m_timeoutCount = 0;
    bool isReply = false;
    {
        QMutexLocker locker(&m_lock);
        if (m_exchangeSent) {
            // The answer stays with the waiting exchange and is not delivered.
            finishExchange(m_received);
            isReply = true;
        }
    }
    if (!isReply) {
        emit readData(m_received);
        logDelivery(m_received);
    }
    QThread::msleep(kAfterDeliverySleepMs);
    return true;
}
