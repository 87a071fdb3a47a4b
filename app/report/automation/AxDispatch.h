#pragma once

#include <QByteArray>
#include <QMetaType>
#include <QString>
#include <QVariant>
#include <QVariantList>

#include <memory>

namespace varnu {

// The failure of one automation call, as a server reports it. `code` is 0
// while nothing failed.
struct AxException {
    enum Code { None = 0, UnknownMember = 1, BadArguments = 2, ServerFailure = 3 };
    int code = None;
    QString source;
    QString description;

    bool raised() const { return code != None; }
    void raise(int failure, const QString& from, const QString& text) {
        code = failure;
        source = from;
        description = text;
    }
};

// One object of an automation server's object model (an application, a
// collection, a document, ...). Members are addressed by the exact signature
// text the caller uses ("Documents", "Add(QString)", "Select(void)"); a server
// answers a text it does not know with AxException::UnknownMember.
//
// Servers run on the caller's thread; their objects are shared between the
// caller's handles and the server's own model and live as long as either
// holds them.
class AxDispatch {
  public:
    virtual ~AxDispatch() = default;

    // A sub-object (a property that is an object, or a call that returns
    // one). Null when there is none; `error` says whether the call failed.
    virtual std::shared_ptr<AxDispatch> subObject(const QByteArray& member,
                                                  const QVariantList& args, AxException& error) = 0;
    // A method call; an invalid variant when it returns nothing.
    virtual QVariant call(const QByteArray& member, const QVariantList& args,
                          AxException& error) = 0;
    virtual void setProperty(const QByteArray& name, const QVariant& value, AxException& error) = 0;
};

using AxDispatchPtr = std::shared_ptr<AxDispatch>;

// An automation object carried as an argument (AxObject::asVariant).
struct AxDispatchRef {
    AxDispatchPtr object;
};

// The object inside `value`, or null when it carries none.
AxDispatchPtr dispatchOf(const QVariant& value);

// The texts servers use for argument errors.
AxException unknownMember(const QString& object, const QByteArray& member);
AxException badArguments(const QString& object, const QByteArray& member);

}  // namespace varnu

Q_DECLARE_METATYPE(varnu::AxDispatchRef)
