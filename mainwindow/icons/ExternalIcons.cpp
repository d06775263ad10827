#include "mainwindow/icons/ExternalIcons.h"

// GDI+ needs the COM declarations that WIN32_LEAN_AND_MEAN leaves out.
#include <objidl.h>
#include <gdiplus.h>

#include <string>

#include "core/os/PathUtils.h"
#include "framework/DC.h"
#include "mainwindow/icons/IconCatalog.h"

namespace {

std::wstring Wide(const CString& text)
{
    const int n = ::MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    std::wstring wide(n > 0 ? n : 1, L'\0');
    if (n > 0) ::MultiByteToWideChar(CP_ACP, 0, text, -1, &wide[0], n);
    wide.resize(wide.size() - 1);
    return wide;
}

bool FindEncoder(const wchar_t* mime, CLSID& clsid)
{
    UINT count = 0, size = 0;
    if (Gdiplus::GetImageEncodersSize(&count, &size) != Gdiplus::Ok || size == 0) return false;
    std::vector<BYTE> buffer(size);
    auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    if (Gdiplus::GetImageEncoders(count, size, codecs) != Gdiplus::Ok) return false;
    for (UINT i = 0; i < count; ++i)
        if (wcscmp(codecs[i].MimeType, mime) == 0) {
            clsid = codecs[i].Clsid;
            return true;
        }
    return false;
}

}  // namespace

CExternalIconRes::CExternalIconRes() = default;
CExternalIconRes::~CExternalIconRes() = default;

bool CExternalIconRes::Load(const CString& path, WORD id)
{
    if (m_image) return true;
    std::unique_ptr<Gdiplus::Bitmap> copy;
    {
        // GDI+ keeps a file open while its image lives: draw it into a
        // picture of our own and let the file go at once.
        Gdiplus::Bitmap file(Wide(path).c_str());
        if (file.GetLastStatus() != Gdiplus::Ok) return false;
        const UINT w = file.GetWidth(), h = file.GetHeight();
        if (w == 0 || h == 0) return false;
        copy = std::make_unique<Gdiplus::Bitmap>((INT)w, (INT)h, PixelFormat32bppARGB);
        if (copy->GetLastStatus() != Gdiplus::Ok) return false;
        Gdiplus::Graphics g(copy.get());
        g.DrawImage(&file, 0, 0, (INT)w, (INT)h);
    }
    m_image = std::move(copy);
    m_id = id;
    return true;
}

void CExternalIconRes::Draw(CDC* pDC, int left, int top, int right, int bottom)
{
    if (!m_image || !pDC) return;
    HDC hdc = pDC->GetSafeHdc();
    const int tw = right - left, th = bottom - top;
    int w = (int)m_image->GetWidth(), h = (int)m_image->GetHeight();
    HDC mem = ::CreateCompatibleDC(hdc);
    HBITMAP bitmap = ::CreateCompatibleBitmap(hdc, w, h);
    HGDIOBJ old = ::SelectObject(mem, bitmap);
    {
        Gdiplus::Graphics g(mem);
        g.Clear(Gdiplus::Color(255, 255, 255, 255));
        g.SetInterpolationMode(Gdiplus::InterpolationModeHighQuality);
        ::SetStretchBltMode(hdc, COLORONCOLOR);
        const bool printing = ::GetDeviceCaps(hdc, TECHNOLOGY) == DT_RASPRINTER;
        if (printing) {
            g.DrawImage(m_image.get(), 0, 0, w / 6, h / 6);
            ::StretchBlt(hdc, left + (int)(tw / 1.5), top + (int)(th / 1.7), tw / 2, th / 3, mem, 0, 0, w, h, SRCCOPY);
        } else {
            if (w > tw && h > th && tw > 0 && th > 0) {
                const double ratio = (double)w / h;
                if (ratio < 1) {
                    const int oldH = h;
                    h = th;
                    w = (int)(w / ((double)oldH / th));
                } else {
                    const int oldW = w;
                    w = tw;
                    h = (int)(h / ((double)oldW / tw));
                }
            }
            const int dx = (tw - w) >> 1, dy = (th - h) >> 1;
            g.DrawImage(m_image.get(), 0, 0, w, h);
            ::StretchBlt(hdc, left + dx + 1, top + dy + 1, w - 3, h - 3, mem, 0, 0, w, h, SRCCOPY);
        }
    }
    ::SelectObject(mem, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(mem);
}

CExternalIconResList::CExternalIconResList() : CObList(10)
{
    Gdiplus::GdiplusStartupInput input;  // version 1
    ULONG_PTR token = 0;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok) m_gdiplusToken = token;
}

CExternalIconResList::~CExternalIconResList()
{
    RemoveAllIcons();
    if (m_gdiplusToken) Gdiplus::GdiplusShutdown(m_gdiplusToken);
}

void CExternalIconResList::RemoveAllIcons()
{
    for (POSITION pos = GetHeadPosition(); pos;) delete static_cast<CExternalIconRes*>(GetNext(pos));
    RemoveAll();
}

CExternalIconRes* CExternalIconResList::FindById(WORD id) const
{
    for (POSITION pos = GetHeadPosition(); pos;) {
        auto* icon = static_cast<CExternalIconRes*>(GetNext(pos));
        if (icon->GetId() == id) return icon;
    }
    return nullptr;
}

CExternalIconRes* CExternalIconResList::GetAt(int index) const
{
    if (index < 0) return nullptr;
    POSITION pos = FindIndex(index);
    return pos ? static_cast<CExternalIconRes*>(CObList::GetAt(pos)) : nullptr;
}

int CExternalIconResList::IndexOf(const CExternalIconRes* icon) const
{
    int i = 0;
    for (POSITION pos = GetHeadPosition(); pos; ++i)
        if (GetNext(pos) == icon) return i;
    return -1;
}

void CExternalIconResList::Rescan(const CString& folder)
{
    RemoveAllIcons();
    WIN32_FIND_DATAA found{};
    HANDLE find = ::FindFirstFileA(folder + "\\*", &found);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        if (!IsIconFileName(found.cFileName)) continue;
        AddFile(JoinPath(folder, found.cFileName));
    } while (::FindNextFileA(find, &found));
    ::FindClose(find);
}

bool CExternalIconResList::AddFile(const CString& path)
{
    CString name = path;
    const int slash = name.ReverseFind('\\');
    if (slash >= 0) name = name.Mid(slash + 1);
    auto icon = std::make_unique<CExternalIconRes>();
    if (!icon->Load(path, IconIdFromFileName((LPCSTR)name))) return false;
    AddTail(icon.release());
    return true;
}

std::vector<WORD> CExternalIconResList::GetIds() const
{
    std::vector<WORD> ids;
    for (POSITION pos = GetHeadPosition(); pos;) ids.push_back(static_cast<CExternalIconRes*>(GetNext(pos))->GetId());
    return ids;
}

bool SavePictureAsIcon(const CString& picturePath, const CString& iconPath)
{
    CLSID png{};
    if (!FindEncoder(L"image/png", png)) return false;
    Gdiplus::Bitmap picture(Wide(picturePath).c_str());
    if (picture.GetLastStatus() != Gdiplus::Ok) return false;
    // The aspect ratio is not kept: every icon is square.
    std::unique_ptr<Gdiplus::Image> thumb(picture.GetThumbnailImage(48, 48, nullptr, nullptr));
    if (!thumb || thumb->GetLastStatus() != Gdiplus::Ok) return false;
    return thumb->Save(Wide(iconPath).c_str(), &png, nullptr) == Gdiplus::Ok;
}
