#pragma once
// CSmartTypesSerializer: one user's "SmartTypes.xml": root "SmartTypes" with
// the sections "RecentlyAdded", "RecentlyViewed", "RecentlyModified" and
// "MostViewed" (a new file gets them in that order), each a list of
// "Record" elements holding a record's item id as unsigned decimal.
#include "app/xml/XmlFileDocument.h"

// The lists by kind, as they address their sections.
enum SmartTypeKind {
    kSmartRecentlyAdded = 0,
    kSmartRecentlyModified = 1,
    kSmartRecentlyViewed = 2,
    kSmartMostViewed = 3,
    kSmartTypeKinds = 4
};

class CSmartTypesSerializer {
public:
    // Reads the file at path, or begins a new document; missing sections
    // are appended to the root.
    explicit CSmartTypesSerializer(const CString& path);
    // Writes the document.
    virtual ~CSmartTypesSerializer();

    // The kind's ids in document order (strtoul rules: "0x10" is 16, "010"
    // is 8).
    void GetIds(int kind, CDWordArray& ids) const;
    // Appends a "Record" element with the id to the kind's section.
    void AddId(int kind, DWORD id);
    // Empties the kind's section.
    void ClearKind(int kind);
    // Writes the document to the current path, then reads the file at path
    // (or begins a new document) and takes path as the current path.
    void Reopen(const CString& path);
    int SaveDocument();

    const CString& GetPath() const { return m_doc.GetPath(); }

private:
    void Open(const CString& path);
    CXmlNodePtr Section(int kind) const;

    CXmlFileDocument m_doc;
    CXmlNodePtr m_sections[kSmartTypeKinds];  // by kind
};
