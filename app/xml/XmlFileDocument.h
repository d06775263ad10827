#pragma once
// CXmlFileDocument: what the serializers of the program's three XML files
// share: the whole file held as a document for as long as the serializer
// lives, changed in place and written back at fixed moments. Failures are
// silent to the user (the file is optional): a missing or unreadable file
// gives a new document, and a failed save leaves the old file as it was. A
// file over kMaxFileBytes is not read, and is never replaced either: saving
// over it gives kErrorFileTooLarge, so the program goes on without it. Nor is
// a document saved whose file would be over that size.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/xml/XmlDocument.h"
#include "framework/CArray.h"
#include "framework/CString.h"

class CXmlFileDocument {
public:
    // The largest file that is read into a document.
    static constexpr uint64_t kMaxFileBytes = 128ull << 20;
    // Why a file was not read or written: the system's ERROR_FILE_TOO_LARGE.
    static constexpr int kErrorFileTooLarge = 223;

    CXmlFileDocument();

    bool HasDocument() const { return m_document != nullptr; }
    // Drops the document: from then on every operation does nothing.
    void ReleaseDocument();

    const CString& GetPath() const { return m_path; }
    void SetPath(const CString& path) { m_path = path; }
    const CXmlNodePtr& GetRoot() const { return m_root; }
    void SetRoot(const CXmlNodePtr& root) { m_root = root; }

    // Takes path as the file path and reads the file. 1 when it was read and
    // has a second top-level node (the root, whatever its name), else 0.
    int OpenDocument(const CString& path);
    // Why the last OpenDocument read nothing: kErrorFileTooLarge for a file
    // over the limit, else 0 (a missing or malformed file is no error).
    int GetOpenError() const { return m_openError; }
    // A new document: the declaration "version='1.0' encoding='utf-16'" and
    // an empty root element of that name. 1 on success, else 0.
    int BeginDocument(const char* rootName);
    // OpenDocument, else BeginDocument.
    void OpenOrBeginDocument(const CString& path, const char* rootName);
    // Writes the document to the file path through a temporary file. 0, or
    // the system's error code (callers need not look at it).
    int SaveDocument();
    // The same, with the root's children given as their bytes (what
    // AppendXmlBytes makes of each, in order), in parts written one after
    // the other, so that a caller that keeps them need not have them written
    // out again. The parts stand for all the root's children, also for
    // children the tree does not hold.
    int SaveDocument(const std::vector<const std::string*>& rootChildParts);

    // A new element not yet in the tree; null without a document or name.
    CXmlNodePtr MakeElement(const char* name) const;
    // A new element appended to parent; null for an empty name.
    CXmlNodePtr AppendChildElement(const CXmlNodePtr& parent, const char* name) const;
    // An element of that name holding text, appended to parent; nothing for
    // an empty name or an empty text (empty texts are never written).
    void AppendTextElement(const CXmlNodePtr& parent, const char* name, const CString& text) const;
    void RemoveAllChildren(const CXmlNodePtr& element) const;

    // For every child of the root whose name equals one of names (exactly),
    // that child becomes sections[i]; the last matching child wins. Sections
    // not found are left as they are.
    void FindSectionElement(const char* const names[], CXmlNodePtr sections[], int count) const;
    // FindSectionElement, then every section still null is created and
    // appended to the root, in the order of names.
    void EnsureSectionElement(const char* const names[], CXmlNodePtr sections[], int count) const;
    // The text of every child element of section that has one, in document
    // order, in ANSI.
    void ReadChildTexts(const CXmlNodePtr& section, CStringArray& texts) const;

private:
    int WriteFile(const std::string* const parts[], int count) const;

    std::shared_ptr<CXmlDocument> m_document;
    CXmlNodePtr m_root;
    CString m_path;
    int m_openError = 0;
};

// ASCII names and ANSI texts as the document holds them.
std::u16string XmlName(const char* name);
CString XmlText(const std::u16string& text);
// Appends, as UTF-16LE bytes, the element AppendTextElement would make of
// the name and text, as AppendXmlBytes writes it, without making it: for
// writers that keep bytes instead of nodes. Nothing for an empty name or text.
void AppendTextElementBytes(std::string& out, const char* name, const CString& text);
