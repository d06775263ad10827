#pragma once
// The user's custom icons: PNG pictures of the "Icons" folder, each known by
// the number at the start of its file name, drawn with GDI+. Windows only.
#include <windows.h>

#include <memory>
#include <vector>

#include "framework/CList.h"
#include "framework/CObject.h"
#include "framework/CString.h"

class CDC;
namespace Gdiplus {
class Bitmap;
}

class CExternalIconRes : public CObject {
public:
    CExternalIconRes();
    ~CExternalIconRes() override;

    // Loads the picture once (true when one is loaded). The picture is
    // copied into memory, so the file is not held open afterwards.
    bool Load(const CString& path, WORD id);
    // Draws the picture scaled into the rectangle: a screen keeps small
    // pictures at their size and centres them; a printer gets it stretched.
    void Draw(CDC* pDC, int left, int top, int right, int bottom);
    WORD GetId() const { return m_id; }
    bool IsLoaded() const { return m_image != nullptr; }

private:
    std::unique_ptr<Gdiplus::Bitmap> m_image;
    WORD m_id = 0;
};

// The icons in the order they were added; owns them. GDI+ runs while the
// list exists.
class CExternalIconResList : public CObList {
public:
    CExternalIconResList();
    ~CExternalIconResList() override;
    CExternalIconResList(const CExternalIconResList&) = delete;
    CExternalIconResList& operator=(const CExternalIconResList&) = delete;

    void RemoveAllIcons();
    CExternalIconRes* FindById(WORD id) const;
    // Null beyond the end.
    CExternalIconRes* GetAt(int index) const;
    // -1 for an icon not in the list.
    int IndexOf(const CExternalIconRes* icon) const;
    // Every PNG file of the folder (any letter case of the extension).
    void Rescan(const CString& folder);
    // The file as a new icon; a file GDI+ cannot read is left out. True when
    // it was added.
    bool AddFile(const CString& path);
    // The ids in list order.
    std::vector<WORD> GetIds() const;
    int GetIconCount() const { return (int)GetCount(); }

private:
    ULONG_PTR m_gdiplusToken = 0;
};

// Writes the picture as a 48 x 48 PNG to the full path given. False when it
// cannot be read or the PNG not written.
bool SavePictureAsIcon(const CString& picturePath, const CString& iconPath);
