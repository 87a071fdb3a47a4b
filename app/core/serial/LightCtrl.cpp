#include "serial/LightCtrl.h"

#include <QMutex>
#include <QMutexLocker>

#include "serial/ASyncSerialPortThread.h"
#include "serial/RawCommand.h"

namespace {
QMutex g_instanceMutex;
LightCtrl* g_instance = nullptr;
}  // namespace

LightCtrl* LightCtrl::getInstance() {
    QMutexLocker locker(&g_instanceMutex);
    if (g_instance == nullptr) {
        g_instance = new LightCtrl(ASyncSerialPortThread::getInstance());
    }
    return g_instance;
}

LightCtrl::LightCtrl(ASyncSerialPortThread* link, QObject* parent)
    : QObject(parent), m_link(link) {}

void LightCtrl::sendCmd(int& cmd, QList<int> data) {
    m_link->writeData(m_modbusMaster.makeFrameList(cmd, static_cast<quint8>(data.size()), data));
}

void LightCtrl::sendRawCmd(QList<int> data) {
    m_link->writeData(rawCommand(data));
}
