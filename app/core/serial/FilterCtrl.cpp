#include "serial/FilterCtrl.h"

#include "serial/ASyncSerialPortThread.h"

FilterCtrl::FilterCtrl(QObject* parent)
    : FilterCtrl(ASyncSerialPortThread::getInstance(), parent) {}

FilterCtrl::FilterCtrl(ASyncSerialPortThread* link, QObject* parent)
    : QObject(parent), m_link(link) {}

void FilterCtrl::sendCmd(int& cmd, int& data) {
    m_link->writeData(m_modbusMaster.makeFrame(cmd, 1, data));
}
