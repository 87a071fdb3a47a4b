#pragma once

#include <QStringList>
#include <QtGlobal>

// Collects the messages of this thread's log while it lives.
class MessageCapture {
  public:
    MessageCapture();
    ~MessageCapture();
    MessageCapture(const MessageCapture&) = delete;
    MessageCapture& operator=(const MessageCapture&) = delete;

    QStringList messages(QtMsgType type) const;
    int count(QtMsgType type, const QString& startingWith) const;

  private:
    static void handler(QtMsgType type, const QMessageLogContext& context, const QString& text);
    QtMessageHandler m_previous;
};
