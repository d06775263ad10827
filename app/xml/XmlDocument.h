#pragma once
// A small XML document object model for the program's own XML files (event
// log, smart lists, search history): parse from bytes in UTF-16 (either byte
// order) or UTF-8, and write UTF-16LE with a byte-order mark. Nodes are held
// by shared pointers, so a node kept by a caller stays valid after it leaves
// the tree, as an interface pointer of a DOM component would.
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class CXmlNode;
typedef std::shared_ptr<CXmlNode> CXmlNodePtr;

class CXmlNode : public std::enable_shared_from_this<CXmlNode> {
public:
    enum NodeType { kElement = 1, kText = 3, kProcessingInstruction = 7, kComment = 8, kDocument = 9 };

    CXmlNode(NodeType type, const std::u16string& name, const std::u16string& value = std::u16string());
    ~CXmlNode();
    CXmlNode(const CXmlNode&) = delete;
    CXmlNode& operator=(const CXmlNode&) = delete;

    NodeType GetType() const { return m_type; }
    // Element name or processing-instruction target; "#text", "#comment" and
    // "#document" for the others.
    const std::u16string& GetName() const { return m_name; }
    // Text of a text node, data of a processing instruction or comment.
    const std::u16string& GetValue() const { return m_value; }

    // The text of a node: for an element, its descendants' text in document
    // order; for other nodes their value.
    std::u16string GetText() const;
    // Replaces an element's children by one text node (none for an empty text).
    void SetText(const std::u16string& text);

    const std::vector<CXmlNodePtr>& GetChildren() const { return m_children; }
    CXmlNode* GetParent() const { return m_parent; }
    // Appends the node at the end; a node that is in a tree leaves it first.
    // False for a null node, for the node itself or one of its ancestors, and
    // when this node cannot hold children (text, comment, instruction).
    bool AppendChild(const CXmlNodePtr& child);
    // Removes the child; false when it is not a child of this node.
    bool RemoveChild(const CXmlNode* child);
    void RemoveAllChildren();
    // Removes every child for which remove holds, in one pass; the others
    // keep their order. The number removed.
    size_t RemoveChildrenIf(const std::function<bool(const CXmlNode&)>& remove);

    // Attributes are kept as read so that a rewritten file keeps them.
    std::vector<std::pair<std::u16string, std::u16string>>& Attributes() { return m_attributes; }
    const std::vector<std::pair<std::u16string, std::u16string>>& Attributes() const { return m_attributes; }

private:
    bool IsSelfOrAncestor(const CXmlNode* node) const;

    NodeType m_type;
    std::u16string m_name;
    std::u16string m_value;
    CXmlNode* m_parent = nullptr;
    std::vector<CXmlNodePtr> m_children;
    std::vector<std::pair<std::u16string, std::u16string>> m_attributes;
};

class CXmlDocument {
public:
    CXmlDocument();

    // The document node: its children are the top-level nodes (the XML
    // declaration, when present, is a processing instruction named "xml").
    const CXmlNodePtr& GetDocumentNode() const { return m_document; }

    CXmlNodePtr CreateElement(const std::u16string& name) const;
    CXmlNodePtr CreateProcessingInstruction(const std::u16string& target, const std::u16string& data) const;

    // Replaces the contents with the parsed bytes. False, and the document
    // left empty, for text that is not well-formed XML or not in a known
    // encoding. White space between elements is not kept.
    bool LoadBytes(const std::string& bytes);
    // The document as UTF-16LE with a byte-order mark; every top-level node
    // ends with CR LF, elements are written without indentation.
    std::string SaveBytes() const;
    // SaveBytes cut around the children of element, a top-level element
    // that holds some: head runs to the end of its start tag, tail from its
    // end tag, so that head, the children's bytes (AppendXmlBytes of each, in
    // order) and tail make SaveBytes(). False for any other node. With
    // childless set, an element without children is cut too, between a start
    // tag and an end tag, for bytes of children the tree does not hold.
    bool SaveBytesAround(const CXmlNode& element, std::string& head, std::string& tail, bool childless = false) const;

private:
    CXmlNodePtr m_document;
};

// The text of a UTF-16 string as little-endian bytes (no byte-order mark).
std::string Utf16LeBytes(const std::u16string& text);
// Appends the node and everything below it as SaveBytes writes them, in
// UTF-16LE.
void AppendXmlBytes(std::string& out, const CXmlNode& node);
// Appends an element that holds only the text (nothing: an empty element),
// as SaveBytes writes one, without making nodes for it.
void AppendXmlTextElement(std::u16string& out, const std::u16string& name, const std::u16string& text);
// Appends the text as little-endian bytes (no byte-order mark).
void AppendUtf16LeBytes(std::string& out, const std::u16string& text);
