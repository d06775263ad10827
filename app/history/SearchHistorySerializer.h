#pragma once
// CSearchHistorySerializer: one user's "SearchHistory.xml", root
// "ZorvikanSearches", one "RecentSearches" section of "Search" elements,
// oldest first.
#include "app/services/UserFilePaths.h"
#include "app/xml/XmlFileDocument.h"

class CSearchHistorySerializer {
public:
    // Reads the user's file, or begins a new document; the section is made
    // when missing.
    CSearchHistorySerializer(CUserItem* user, UserFilePathFn pathOf);
    // Writes the document.
    virtual ~CSearchHistorySerializer();

    // Appends the section's texts to texts, in document order.
    void Load(CStringArray& texts);
    // Appends one "Search" element per text (empty texts give none).
    void Write(const CStringArray& texts);
    // Empties the section.
    void Clear();
    // Writes the document to the current user's file, then reads the
    // other user's file (or begins a new document).
    void SetUser(CUserItem* user);
    int SaveDocument();

    const CString& GetPath() const { return m_doc.GetPath(); }

private:
    void Open(CUserItem* user);

    CXmlNodePtr m_section;
    CXmlFileDocument m_doc;
    UserFilePathFn m_pathOf;
};
