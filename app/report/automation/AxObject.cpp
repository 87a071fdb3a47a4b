#include "AxObject.h"

#include "AxRegistry.h"

#include <QtDebug>

namespace varnu {

namespace {

QVariantList argumentList(std::initializer_list<const QVariant*> vars) {
    QVariantList args;
    for (const QVariant* v : vars) {
        if (!v->isValid()) {
            break;
        }
        args.append(*v);
    }
    return args;
}

}  // namespace

AxDispatchPtr dispatchOf(const QVariant& value) {
    if (!value.canConvert<AxDispatchRef>()) {
        return nullptr;
    }
    return value.value<AxDispatchRef>().object;
}

AxException unknownMember(const QString& object, const QByteArray& member) {
    AxException e;
    e.raise(AxException::UnknownMember, object,
            QStringLiteral("%1 has no member %2").arg(object, QString::fromLatin1(member)));
    return e;
}

AxException badArguments(const QString& object, const QByteArray& member) {
    AxException e;
    e.raise(AxException::BadArguments, object,
            QStringLiteral("wrong arguments for %1.%2").arg(object, QString::fromLatin1(member)));
    return e;
}

AxObject::AxObject(QObject* parent) : QObject(parent) {}

AxObject::AxObject(AxDispatchPtr object, const QString& control, QObject* parent)
    : QObject(parent), m_object(std::move(object)), m_control(control) {}

AxObject::~AxObject() = default;

bool AxObject::setControl(const QString& progId) {
    const AxServerFactory factory = axServer(progId);
    AxDispatchPtr object = factory ? factory() : nullptr;
    if (object == nullptr) {
        qWarning().noquote() << QStringLiteral(
                                    "AxObject::setControl: requested control %1 could "
                                    "not be instantiated")
                                    .arg(progId);
        emit exception(AxException::ServerFailure, progId,
                       QStringLiteral("no automation server is registered as %1").arg(progId),
                       QString());
        return false;
    }
    m_object = std::move(object);
    m_control = progId;
    return true;
}

bool AxObject::bound(const char* operation, const char* member) {
    if (m_object != nullptr) {
        return true;
    }
    qWarning().noquote() << QStringLiteral("AxObject::%1: %2: object is not bound to a server")
                                .arg(QString::fromLatin1(operation), QString::fromLatin1(member));
    return false;
}

void AxObject::report(const char* member, const AxException& error) {
    qWarning().noquote() << QStringLiteral("AxObject: %1 failed: %2")
                                .arg(QString::fromLatin1(member), error.description);
    emit exception(error.code, error.source, error.description, QString());
}

AxObject* AxObject::querySubObject(const char* name, const QVariant& var1, const QVariant& var2,
                                   const QVariant& var3, const QVariant& var4) {
    if (!bound("querySubObject", name)) {
        return nullptr;
    }
    AxException error;
    AxDispatchPtr sub =
        m_object->subObject(QByteArray(name), argumentList({&var1, &var2, &var3, &var4}), error);
    if (error.raised()) {
        report(name, error);
        return nullptr;
    }
    if (sub == nullptr) {
        return nullptr;
    }
    return new AxObject(std::move(sub), m_control, this);
}

QVariant AxObject::dynamicCall(const char* function, const QVariant& var1, const QVariant& var2,
                               const QVariant& var3, const QVariant& var4) {
    if (!bound("dynamicCall", function)) {
        return QVariant();
    }
    AxException error;
    QVariant result =
        m_object->call(QByteArray(function), argumentList({&var1, &var2, &var3, &var4}), error);
    if (error.raised()) {
        report(function, error);
        return QVariant();
    }
    return result;
}

bool AxObject::setProperty(const char* name, const QVariant& value) {
    if (!bound("setProperty", name)) {
        return false;
    }
    AxException error;
    m_object->setProperty(QByteArray(name), value, error);
    if (error.raised()) {
        report(name, error);
        return false;
    }
    return true;
}

QVariant AxObject::asVariant() const {
    if (m_object == nullptr) {
        return QVariant();
    }
    return QVariant::fromValue(AxDispatchRef{m_object});
}

}  // namespace varnu
