#include "XmlTree.h"

#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace varnu {

std::unique_ptr<XmlNode> XmlNode::element(const QString& name) {
    auto node = std::make_unique<XmlNode>();
    node->kind = Kind::Element;
    node->name = name;
    return node;
}

std::unique_ptr<XmlNode> XmlNode::textNode(const QString& text) {
    auto node = std::make_unique<XmlNode>();
    node->kind = Kind::Text;
    node->text = text;
    return node;
}

QString XmlNode::attribute(const QString& attributeName, bool* found) const {
    for (const auto& a : attributes) {
        if (a.first == attributeName) {
            if (found != nullptr) {
                *found = true;
            }
            return a.second;
        }
    }
    if (found != nullptr) {
        *found = false;
    }
    return QString();
}

void XmlNode::setAttribute(const QString& attributeName, const QString& value) {
    for (auto& a : attributes) {
        if (a.first == attributeName) {
            a.second = value;
            return;
        }
    }
    attributes.append({attributeName, value});
}

XmlNode* XmlNode::appendChild(std::unique_ptr<XmlNode> child) {
    return insertChild(childCount(), std::move(child));
}

XmlNode* XmlNode::insertChild(int index, std::unique_ptr<XmlNode> child) {
    child->parent = this;
    XmlNode* raw = child.get();
    children.insert(children.begin() + index, std::move(child));
    return raw;
}

std::unique_ptr<XmlNode> XmlNode::takeChild(int index) {
    std::unique_ptr<XmlNode> taken = std::move(children[static_cast<size_t>(index)]);
    children.erase(children.begin() + index);
    taken->parent = nullptr;
    return taken;
}

int XmlNode::indexOf(const XmlNode* child) const {
    for (size_t i = 0; i < children.size(); ++i) {
        if (children[i].get() == child) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

XmlNode* XmlNode::firstChild(const QString& elementName) const {
    for (const std::unique_ptr<XmlNode>& c : children) {
        if (c->isElement(elementName)) {
            return c.get();
        }
    }
    return nullptr;
}

std::unique_ptr<XmlNode> XmlNode::clone() const {
    auto copy = std::make_unique<XmlNode>();
    copy->kind = kind;
    copy->name = name;
    copy->attributes = attributes;
    copy->text = text;
    for (const std::unique_ptr<XmlNode>& c : children) {
        copy->appendChild(c->clone());
    }
    return copy;
}

std::unique_ptr<XmlTree> XmlTree::parse(const QByteArray& data, QString* error) {
    std::unique_ptr<XmlTree> tree(new XmlTree);
    tree->m_top = XmlNode::element(QString());
    XmlNode* current = tree->m_top.get();

    QXmlStreamReader reader(data);
    reader.setNamespaceProcessing(false);
    auto add = [&](XmlNode::Kind kind, const QString& name, const QString& text) {
        auto node = std::make_unique<XmlNode>();
        node->kind = kind;
        node->name = name;
        node->text = text;
        current->appendChild(std::move(node));
    };
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
            case QXmlStreamReader::StartDocument:
                tree->m_hasDeclaration = true;
                tree->m_standalone = reader.isStandaloneDocument();
                break;
            case QXmlStreamReader::StartElement: {
                if (current == tree->m_top.get() && tree->m_root != nullptr) {
                    reader.raiseError(QStringLiteral("more than one root element"));
                    break;
                }
                auto node = XmlNode::element(reader.qualifiedName().toString());
                for (const QXmlStreamAttribute& a : reader.attributes()) {
                    node->attributes.append({a.qualifiedName().toString(), a.value().toString()});
                }
                XmlNode* raw = current->appendChild(std::move(node));
                if (current == tree->m_top.get()) {
                    tree->m_root = raw;
                }
                current = raw;
                break;
            }
            case QXmlStreamReader::EndElement:
                current = current->parent;
                break;
            case QXmlStreamReader::Characters:
                if (current != tree->m_top.get()) {
                    add(reader.isCDATA() ? XmlNode::Kind::CData : XmlNode::Kind::Text, QString(),
                        reader.text().toString());
                }
                break;
            case QXmlStreamReader::Comment:
                add(XmlNode::Kind::Comment, QString(), reader.text().toString());
                break;
            case QXmlStreamReader::ProcessingInstruction:
                add(XmlNode::Kind::ProcessingInstruction,
                    reader.processingInstructionTarget().toString(),
                    reader.processingInstructionData().toString());
                break;
            case QXmlStreamReader::DTD:
                reader.raiseError(QStringLiteral("document type declarations are not accepted"));
                break;
            case QXmlStreamReader::EntityReference:
                reader.raiseError(
                    QStringLiteral("undeclared entity &%1;").arg(reader.name().toString()));
                break;
            default:
                break;
        }
    }
    if (reader.hasError()) {
        if (error != nullptr) {
            *error = QStringLiteral("line %1, column %2: %3")
                         .arg(reader.lineNumber())
                         .arg(reader.columnNumber())
                         .arg(reader.errorString());
        }
        return nullptr;
    }
    if (tree->m_root == nullptr) {
        if (error != nullptr) {
            *error = QStringLiteral("no root element");
        }
        return nullptr;
    }
    return tree;
}

namespace {

void writeNode(QXmlStreamWriter& writer, const XmlNode& node) {
    switch (node.kind) {
        case XmlNode::Kind::Element:
            writer.writeStartElement(node.name);
            for (const auto& a : node.attributes) {
                writer.writeAttribute(a.first, a.second);
            }
            for (const std::unique_ptr<XmlNode>& c : node.children) {
                writeNode(writer, *c);
            }
            writer.writeEndElement();
            break;
        case XmlNode::Kind::Text:
            writer.writeCharacters(node.text);
            break;
        case XmlNode::Kind::CData:
            writer.writeCDATA(node.text);
            break;
        case XmlNode::Kind::Comment:
            writer.writeComment(node.text);
            break;
        case XmlNode::Kind::ProcessingInstruction:
            writer.writeProcessingInstruction(node.name, node.text);
            break;
    }
}

}  // namespace

QByteArray XmlTree::serialize() const {
    QByteArray out;
    QXmlStreamWriter writer(&out);
    writer.setAutoFormatting(false);
    if (m_hasDeclaration) {
        writer.writeStartDocument(QStringLiteral("1.0"), m_standalone);
    }
    for (const std::unique_ptr<XmlNode>& c : m_top->children) {
        writeNode(writer, *c);
    }
    writer.writeEndDocument();
    return out;
}

}  // namespace varnu
