#pragma once

#include <QByteArray>
#include <QPair>
#include <QString>
#include <QVector>

#include <memory>
#include <vector>

namespace varnu {

// One node of an XML part held in memory. Names are kept as written, prefix
// included ("w:p"), and namespace declarations are ordinary attributes, so a
// part comes back out with the prefixes and declarations it went in with.
struct XmlNode {
    enum class Kind { Element, Text, CData, Comment, ProcessingInstruction };

    Kind kind = Kind::Element;
    QString name;  // element name, or the target of a processing instruction
    QVector<QPair<QString, QString>> attributes;  // in document order
    QString text;                                 // text, comment or processing-instruction data
    std::vector<std::unique_ptr<XmlNode>> children;
    XmlNode* parent = nullptr;

    static std::unique_ptr<XmlNode> element(const QString& name);
    static std::unique_ptr<XmlNode> textNode(const QString& text);

    bool isElement(const QString& elementName) const {
        return kind == Kind::Element && name == elementName;
    }
    // The value of an attribute; `found` tells an empty value from none.
    QString attribute(const QString& attributeName, bool* found = nullptr) const;
    void setAttribute(const QString& attributeName, const QString& value);

    XmlNode* appendChild(std::unique_ptr<XmlNode> child);
    XmlNode* insertChild(int index, std::unique_ptr<XmlNode> child);
    std::unique_ptr<XmlNode> takeChild(int index);
    int indexOf(const XmlNode* child) const;
    int childCount() const { return static_cast<int>(children.size()); }
    XmlNode* child(int index) const { return children[static_cast<size_t>(index)].get(); }
    // The first child element of that name, or null.
    XmlNode* firstChild(const QString& elementName) const;

    std::unique_ptr<XmlNode> clone() const;
};

// A parsed XML part: the optional declaration and the top-level nodes.
class XmlTree {
  public:
    // Null, with the reason in `error`, when `data` is not well-formed XML
    // with one root element. Document type declarations are refused.
    static std::unique_ptr<XmlTree> parse(const QByteArray& data, QString* error);

    XmlNode* root() const { return m_root; }
    QByteArray serialize() const;

  private:
    XmlTree() = default;

    std::unique_ptr<XmlNode> m_top;  // holds comments, PIs and the root
    XmlNode* m_root = nullptr;
    bool m_hasDeclaration = false;
    bool m_standalone = false;
};

// Visits the elements below `node` (not `node` itself) in document order;
// stops and returns the element where `match` is true, else null.
template <typename Match>
XmlNode* findElement(XmlNode* node, const Match& match) {
    for (const std::unique_ptr<XmlNode>& c : node->children) {
        if (c->kind != XmlNode::Kind::Element) {
            continue;
        }
        if (match(*c)) {
            return c.get();
        }
        if (XmlNode* inner = findElement(c.get(), match)) {
            return inner;
        }
    }
    return nullptr;
}

// Calls `visit` for every element below `node` in document order.
template <typename Visit>
void forEachElement(XmlNode* node, const Visit& visit) {
    for (const std::unique_ptr<XmlNode>& c : node->children) {
        if (c->kind == XmlNode::Kind::Element) {
            visit(*c);
            forEachElement(c.get(), visit);
        }
    }
}

}  // namespace varnu
