#include "MessageCapture.h"

#include <QList>
#include <QPair>

namespace {

QList<QPair<QtMsgType, QString>>& captured() {
    static QList<QPair<QtMsgType, QString>> list;
    return list;
}

}  // namespace

MessageCapture::MessageCapture() {
    captured().clear();
    m_previous = qInstallMessageHandler(&MessageCapture::handler);
}

MessageCapture::~MessageCapture() {
    qInstallMessageHandler(m_previous);
}

void MessageCapture::handler(QtMsgType type, const QMessageLogContext&, const QString& text) {
    captured().append({type, text});
}

QStringList MessageCapture::messages(QtMsgType type) const {
    QStringList texts;
    for (const auto& m : captured()) {
        if (m.first == type) {
            texts << m.second;
        }
    }
    return texts;
}

int MessageCapture::count(QtMsgType type, const QString& startingWith) const {
    int n = 0;
    for (const QString& text : messages(type)) {
        n += text.startsWith(startingWith) ? 1 : 0;
    }
    return n;
}
