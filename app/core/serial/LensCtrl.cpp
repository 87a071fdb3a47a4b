#include "serial/LensCtrl.h"

#include "serial/ASyncSerialPortThread.h"
#include "serial/DarkroomCommands.h"
#include "serial/RawCommand.h"

LensCtrl::LensCtrl(QObject* parent) : LensCtrl(ASyncSerialPortThread::getInstance(), parent) {}

LensCtrl::LensCtrl(ASyncSerialPortThread* link, QObject* parent) : QObject(parent), m_link(link) {}

void LensCtrl::sendCmd(int& cmd, int& data) {
    const QByteArray frame = m_modbusMaster.makeFrame(cmd, 1, data);
    if (data == DarkroomCommand::LensAsyncData) {
        m_link->writeData(frame);
        return;
    }
    QByteArray reply;
    m_link->echo(frame, reply);
}

void LensCtrl::sendRawCmd(QList<int> data) {
    m_link->writeData(rawCommand(data));
}
