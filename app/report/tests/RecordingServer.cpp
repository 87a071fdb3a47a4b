#include "RecordingServer.h"

#include "AxRegistry.h"

namespace {

using varnu::AxDispatch;
using varnu::AxDispatchPtr;
using varnu::AxException;

QString line(const QString& object, const char* kind, const QByteArray& member,
             const QVariantList& args);

class Recorded : public AxDispatch {
  public:
    Recorded(QString name, const RecordingScript& script, std::shared_ptr<RecordingServer::Log> log)
        : m_name(std::move(name)), m_script(script), m_log(std::move(log)) {}

    AxDispatchPtr subObject(const QByteArray& member, const QVariantList& args,
                            AxException&) override {
        m_log->calls << line(m_name, "query", member, args);
        QString child;
        if (m_name == "Application") {
            if (member == "Documents" && !m_script.noDocuments) {
                child = "Documents";
            } else if (member == "ActiveDocument" && !m_script.noActiveDocument) {
                child = "Document";
            } else if (member == "Selection" && !m_script.noSelection) {
                child = "Selection";
            }
        } else if (m_name == "Document") {
            if (member == "Bookmarks(QVariant)" &&
                !m_script.missingBookmarks.contains(args.value(0).toString())) {
                child = "Bookmark(" + args.value(0).toString() + ')';
            } else if (member == "InlineShapes") {
                child = "InlineShapes";
            }
        } else if (m_name.startsWith("Bookmark(") && member == "Range") {
            child = "Range" + m_name.mid(8);
        } else if (m_name == "Selection" && member == "Font") {
            child = "Font";
        }
        if (child.isEmpty()) {
            return nullptr;
        }
        return std::make_shared<Recorded>(child, m_script, m_log);
    }
    QVariant call(const QByteArray& member, const QVariantList& args, AxException&) override {
        m_log->calls << line(m_name, "call", member, args);
        return QVariant();
    }
    void setProperty(const QByteArray& name, const QVariant& value, AxException&) override {
        m_log->calls << line(m_name, "set", name, {value});
    }

    const QString& name() const { return m_name; }

  private:
    QString m_name;
    RecordingScript m_script;
    std::shared_ptr<RecordingServer::Log> m_log;
};

QString argumentText(const QVariant& v) {
    if (const AxDispatchPtr object = varnu::dispatchOf(v)) {
        const auto* recorded = dynamic_cast<const Recorded*>(object.get());
        return recorded != nullptr ? recorded->name() : QStringLiteral("<object>");
    }
    if (v.type() == QVariant::Bool) {
        return v.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    }
    return v.toString();
}

QString line(const QString& object, const char* kind, const QByteArray& member,
             const QVariantList& args) {
    QStringList texts;
    for (const QVariant& a : args) {
        texts << argumentText(a);
    }
    QString text = object + ' ' + kind + ' ' + QString::fromLatin1(member);
    if (!texts.isEmpty()) {
        text += " [" + texts.join(", ") + ']';
    }
    return text;
}

}  // namespace

RecordingServer::RecordingServer(RecordingScript script) : m_script(std::move(script)) {}

void RecordingServer::install() {
    const RecordingScript script = m_script;
    const std::shared_ptr<Log> log = m_log;
    varnu::registerAxServer(QStringLiteral("kwps.Application"), [script, log]() {
        return std::make_shared<Recorded>(QStringLiteral("Application"), script, log);
    });
    m_installed = true;
}

RecordingServer::~RecordingServer() {
    if (m_installed) {
        varnu::unregisterAxServer(QStringLiteral("kwps.Application"));
    }
}
