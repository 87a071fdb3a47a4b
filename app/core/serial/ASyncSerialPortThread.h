// The worker thread that owns the serial port of the dark-room controller.
//
// Writes handed over by any thread are queued and go out in order, none lost.
// Whatever the controller sends is delivered as `readData`, one byte array per
// read pass, unless a synchronous exchange (`echo`) waits for it. An exchange
// that draws no answer gives up after about one second and the link stays up.
#pragma once

#include <QAtomicInt>
#include <QByteArray>
#include <QMutex>
#include <QQueue>
#include <QSerialPort>
#include <QString>
#include <QThread>
#include <QWaitCondition>

#include "serial/DarkroomEnums.h"

class ASyncSerialPortThread : public QThread {
    Q_OBJECT
  public:
    // The one link of the application, created on first use.
    static ASyncSerialPortThread* getInstance();

    // Separate links are for tests; the application uses getInstance().
    explicit ASyncSerialPortThread(QObject* parent = nullptr);
    // Closes the port and waits for the thread to end.
    ~ASyncSerialPortThread() override;

    // Idle read passes a synchronous exchange waits through before it gives up.
    static constexpr int kEchoIdlePasses = 20;

  signals:
    void error(Serial_ErrorCode e);
    void readData(QByteArray data);

  public slots:
    // Stores the port (a comNum name, see SerialPortCatalog) and the baud rate
    // and starts the thread, which opens the port 8N1 without flow control.
    void openPort(QString portName, QSerialPort::BaudRate baudrate);
    // Asks the thread to close the port and end after its current pass.
    void closePort();
    // Queues bytes for the controller and returns at once. Bytes handed over
    // after the thread has ended are dropped.
    void writeData(QByteArray data);
    // Sends `data` and waits for the controller's answer: the bytes of the first
    // read pass that receives anything after the write. Empty when nothing came
    // within about one second, or at once when the link is not running.
    void echo(QByteArray data, QByteArray& reply);
    void errorHandle(QSerialPort::SerialPortError serialError);

  protected:
    void run() override;

  private:
    struct PendingWrite {
        QByteArray bytes;
        quint64 exchange;  // 0 for an asynchronous write, else the exchange it belongs to
    };
    enum class LinkState { Idle, Running, Ended };

    bool serve(QSerialPort& port);
    bool writePending(QSerialPort& port);
    void finishExchange(const QByteArray& reply);

    QString m_portName;
    QSerialPort::BaudRate m_baudRate = QSerialPort::Baud1200;
    QAtomicInt m_closeRequested;

    // Shared between the serial thread and the callers; guarded by m_lock.
    QMutex m_lock;
    QWaitCondition m_replyCondition;
    LinkState m_state = LinkState::Idle;
    QQueue<PendingWrite> m_pending;
    quint64 m_exchange = 0;       // the exchange `echo` waits for, 0 for none
    bool m_exchangeSent = false;  // its bytes are on the line; the next bytes are its reply
    bool m_replyReady = false;
    QByteArray m_reply;
    quint64 m_lastExchange = 0;

    // One synchronous exchange at a time.
    QMutex m_echoLock;

    // Owned by the serial thread.
    QByteArray m_received;
    quint16 m_timeoutCount = 0;
};
