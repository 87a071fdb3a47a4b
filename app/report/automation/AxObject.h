#pragma once

#include "AxDispatch.h"

#include <QObject>
#include <QString>
#include <QVariant>

namespace varnu {

// A handle on one object of an automation server, shaped like the calls a
// program makes on an ActiveX container object: bind to a server by ProgID
// (setControl), ask for sub-objects, call methods and set properties by their
// signature text, and pass an object on as a variant argument.
//
// Sub-objects are children of the object they were asked from, so deleting
// the top object releases every handle below it; the server's objects stay
// alive as long as its own model holds them. Arguments end at the first
// invalid variant. A failing call returns null or an invalid variant, writes
// a warning to the log and emits exception(). GUI thread only.
class AxObject : public QObject {
    Q_OBJECT
  public:
    explicit AxObject(QObject* parent = nullptr);
    ~AxObject() override;

    // Binds this object to a new top-level object of the server registered
    // under `progId`; false (and a warning) when there is none.
    bool setControl(const QString& progId);
    QString control() const { return m_control; }
    // True while the handle is bound to no server object.
    bool isNull() const { return m_object == nullptr; }

    AxObject* querySubObject(const char* name, const QVariant& var1 = QVariant(),
                             const QVariant& var2 = QVariant(), const QVariant& var3 = QVariant(),
                             const QVariant& var4 = QVariant());
    QVariant dynamicCall(const char* function, const QVariant& var1 = QVariant(),
                         const QVariant& var2 = QVariant(), const QVariant& var3 = QVariant(),
                         const QVariant& var4 = QVariant());
    // Hides QObject::setProperty: the property is the server object's.
    bool setProperty(const char* name, const QVariant& value);

    // This object as an argument of another call.
    QVariant asVariant() const;

  signals:
    void exception(int code, const QString& source, const QString& desc, const QString& help);

  private:
    AxObject(AxDispatchPtr object, const QString& control, QObject* parent);
    bool bound(const char* operation, const char* member);
    void report(const char* member, const AxException& error);

    AxDispatchPtr m_object;
    QString m_control;
};

}  // namespace varnu
