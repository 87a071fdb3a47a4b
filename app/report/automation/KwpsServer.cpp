#include "KwpsServer.h"

#include "AxDispatch.h"
#include "AxRegistry.h"
#include "ReportDocument.h"

#include <memory>
#include <vector>

namespace varnu {

namespace {

// The state of one application: its documents, the active one and the
// selection (a bookmark of a document, or nothing).
struct Session {
    KwpsOptions options;
    std::vector<std::shared_ptr<ReportDocument>> documents;
    std::shared_ptr<ReportDocument> active;
    std::weak_ptr<ReportDocument> selectionDocument;
    QString selectionBookmark;
};

using SessionPtr = std::shared_ptr<Session>;

// The common answers of every object: nothing but unknown members.
class KwpsObject : public AxDispatch {
  public:
    explicit KwpsObject(QString name) : m_name(std::move(name)) {}

    AxDispatchPtr subObject(const QByteArray& member, const QVariantList&,
                            AxException& error) override {
        error = unknownMember(m_name, member);
        return nullptr;
    }
    QVariant call(const QByteArray& member, const QVariantList&, AxException& error) override {
        error = unknownMember(m_name, member);
        return QVariant();
    }
    void setProperty(const QByteArray& name, const QVariant&, AxException& error) override {
        error = unknownMember(m_name, name);
    }

  protected:
    void fail(AxException& error, const QString& text) const {
        error.raise(AxException::ServerFailure, m_name, text);
    }
    const QString m_name;
};

class FontObject : public KwpsObject {
  public:
    explicit FontObject(SessionPtr session) : KwpsObject("Font"), m_session(std::move(session)) {}

    void setProperty(const QByteArray& name, const QVariant& value, AxException& error) override {
        if (name != "Size") {
            return KwpsObject::setProperty(name, value, error);
        }
        bool ok = false;
        const double points = value.toDouble(&ok);
        if (!ok) {
            error = badArguments(m_name, name);
            return;
        }
        // A selection that is no bookmark is an insertion point: nothing
        // to resize.
        std::shared_ptr<ReportDocument> document = m_session->selectionDocument.lock();
        QString why;
        if (document != nullptr &&
            !document->setBookmarkFontSize(m_session->selectionBookmark, points, &why)) {
            fail(error, why);
        }
    }

  private:
    SessionPtr m_session;
};

class SelectionObject : public KwpsObject {
  public:
    explicit SelectionObject(SessionPtr session)
        : KwpsObject("Selection"), m_session(std::move(session)) {}

    AxDispatchPtr subObject(const QByteArray& member, const QVariantList& args,
                            AxException& error) override {
        if (member == "Font" && args.isEmpty()) {
            return std::make_shared<FontObject>(m_session);
        }
        return KwpsObject::subObject(member, args, error);
    }

  private:
    SessionPtr m_session;
};

class RangeObject : public KwpsObject {
  public:
    RangeObject(std::shared_ptr<ReportDocument> document, QString bookmark)
        : KwpsObject("Range"), m_document(std::move(document)), m_bookmark(std::move(bookmark)) {}

    void setProperty(const QByteArray& name, const QVariant& value, AxException& error) override {
        if (name != "Text") {
            return KwpsObject::setProperty(name, value, error);
        }
        QString why;
        if (!m_document->setBookmarkText(m_bookmark, value.toString(), &why)) {
            fail(error, why);
        }
    }

    const std::shared_ptr<ReportDocument>& document() const { return m_document; }
    const QString& bookmark() const { return m_bookmark; }

  private:
    std::shared_ptr<ReportDocument> m_document;
    QString m_bookmark;
};

class BookmarkObject : public KwpsObject {
  public:
    BookmarkObject(SessionPtr session, std::shared_ptr<ReportDocument> document, QString name)
        : KwpsObject("Bookmark"),
          m_session(std::move(session)),
          m_document(std::move(document)),
          m_bookmark(std::move(name)) {}

    AxDispatchPtr subObject(const QByteArray& member, const QVariantList& args,
                            AxException& error) override {
        if (member == "Range" && args.isEmpty()) {
            return std::make_shared<RangeObject>(m_document, m_bookmark);
        }
        return KwpsObject::subObject(member, args, error);
    }
    QVariant call(const QByteArray& member, const QVariantList& args, AxException& error) override {
        if (member == "Select(void)" && args.isEmpty()) {
            m_session->selectionDocument = m_document;
            m_session->selectionBookmark = m_bookmark;
            return QVariant();
        }
        return KwpsObject::call(member, args, error);
    }

  private:
    SessionPtr m_session;
    std::shared_ptr<ReportDocument> m_document;
    QString m_bookmark;
};

class InlineShapesObject : public KwpsObject {
  public:
    explicit InlineShapesObject(std::shared_ptr<ReportDocument> document)
        : KwpsObject("InlineShapes"), m_document(std::move(document)) {}

    QVariant call(const QByteArray& member, const QVariantList& args, AxException& error) override {
        if (member != "AddPicture(const QString&, QVariant, QVariant ,QVariant)") {
            return KwpsObject::call(member, args, error);
        }
        const auto range = std::dynamic_pointer_cast<RangeObject>(
            args.size() == 4 ? dispatchOf(args[3]) : nullptr);
        if (range == nullptr || range->document() != m_document) {
            error = badArguments(m_name, member);
            return QVariant();
        }
        const bool linkToFile = args[1].toBool();
        const bool saveWithDocument = args[2].toBool();
        if (linkToFile || !saveWithDocument) {
            fail(error, QStringLiteral("only pictures saved with the document are supported"));
            return QVariant();
        }
        QString why;
        if (!m_document->insertPicture(range->bookmark(), args[0].toString(), &why)) {
            fail(error, why);
        }
        return QVariant();
    }

  private:
    std::shared_ptr<ReportDocument> m_document;
};

class DocumentObject : public KwpsObject {
  public:
    DocumentObject(SessionPtr session, std::shared_ptr<ReportDocument> document)
        : KwpsObject("Document"), m_session(std::move(session)), m_document(std::move(document)) {}

    AxDispatchPtr subObject(const QByteArray& member, const QVariantList& args,
                            AxException& error) override {
        if (member == "Bookmarks(QVariant)" && args.size() == 1) {
            const QString name = args[0].toString();
            // A name the document does not have gives no object, quietly:
            // the caller decides what a missing bookmark means.
            if (!m_document->hasBookmark(name)) {
                return nullptr;
            }
            return std::make_shared<BookmarkObject>(m_session, m_document, name);
        }
        if (member == "InlineShapes" && args.isEmpty()) {
            return std::make_shared<InlineShapesObject>(m_document);
        }
        return KwpsObject::subObject(member, args, error);
    }
    QVariant call(const QByteArray& member, const QVariantList& args, AxException& error) override {
        if (member == "Save(void)" && args.isEmpty()) {
            QString why;
            if (!m_document->save(&why)) {
                fail(error, why);
            }
            return QVariant();
        }
        if (member == "FullName" && args.isEmpty()) {
            return m_document->path();
        }
        return KwpsObject::call(member, args, error);
    }

  private:
    SessionPtr m_session;
    std::shared_ptr<ReportDocument> m_document;
};

class DocumentsObject : public KwpsObject {
  public:
    explicit DocumentsObject(SessionPtr session)
        : KwpsObject("Documents"), m_session(std::move(session)) {}

    QVariant call(const QByteArray& member, const QVariantList& args, AxException& error) override {
        if (member != "Add(QString)") {
            return KwpsObject::call(member, args, error);
        }
        if (args.size() != 1) {
            error = badArguments(m_name, member);
            return QVariant();
        }
        const QString folder =
            m_session->options.reportsFolder ? m_session->options.reportsFolder() : QString();
        QString why;
        std::shared_ptr<ReportDocument> document =
            ReportDocument::create(args[0].toString(), folder, &why);
        if (document == nullptr) {
            fail(error, why);
            return QVariant();
        }
        m_session->documents.push_back(document);
        m_session->active = document;
        return QVariant::fromValue(
            AxDispatchRef{std::make_shared<DocumentObject>(m_session, document)});
    }

  private:
    SessionPtr m_session;
};

class ApplicationObject : public KwpsObject {
  public:
    explicit ApplicationObject(KwpsOptions options)
        : KwpsObject("Application"), m_session(std::make_shared<Session>()) {
        m_session->options = std::move(options);
    }

    AxDispatchPtr subObject(const QByteArray& member, const QVariantList& args,
                            AxException& error) override {
        if (!args.isEmpty()) {
            return KwpsObject::subObject(member, args, error);
        }
        if (member == "Documents") {
            return std::make_shared<DocumentsObject>(m_session);
        }
        if (member == "ActiveDocument") {
            if (m_session->active == nullptr) {
                return nullptr;
            }
            return std::make_shared<DocumentObject>(m_session, m_session->active);
        }
        if (member == "Selection") {
            if (m_session->active == nullptr) {
                return nullptr;
            }
            return std::make_shared<SelectionObject>(m_session);
        }
        return KwpsObject::subObject(member, args, error);
    }

    void setProperty(const QByteArray& name, const QVariant& value, AxException& error) override {
        if (name != "Visible") {
            return KwpsObject::setProperty(name, value, error);
        }
        // The documents are files that the caller hands to the desktop once
        // they are saved: there is no window of its own to show or hide.
        Q_UNUSED(value);
    }

  private:
    SessionPtr m_session;
};

}  // namespace

void registerKwpsApplication(KwpsOptions options) {
    registerAxServer(kKwpsProgId, [options]() -> AxDispatchPtr {
        return std::make_shared<ApplicationObject>(options);
    });
}

}  // namespace varnu
