// Every dialog template of the program's resources, made on the test display
// as Windows makes it from the template (its font, its controls): nothing
// reaches beyond the dialog, no two controls overlap, no text is cut. With
// ZV_DIALOG_PICTURES naming a folder, a picture of each lands there as
// dialog-<id>.bmp, for a person to look at.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "tests/support/DialogLayout.h"
#include "tests/support/ScriptedModal.h"

namespace {

BOOL CALLBACK CollectDialog(HMODULE, LPCSTR, LPSTR name, LONG_PTR param)
{
    if (IS_INTRESOURCE(name)) reinterpret_cast<std::vector<WORD>*>(param)->push_back(LOWORD(name));
    return TRUE;
}

INT_PTR CALLBACK BareDialog(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM w, LPARAM l)
{
    return ::DefWindowProcA(window, message, w, l);
}

// Child templates (property and wizard pages) are made in a window of
// their own, as a sheet would hold them.
HWND MakeHost()
{
    WNDCLASSA cls = {};
    cls.lpfnWndProc = HostProc;
    cls.hInstance = ::GetModuleHandleA(nullptr);
    cls.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    cls.lpszClassName = "ZvDialogLayoutHost";
    ::RegisterClassA(&cls);
    return ::CreateWindowExA(0, cls.lpszClassName, "host", WS_POPUP | WS_VISIBLE, 0, 0, 1000, 760, nullptr, nullptr,
                             cls.hInstance, nullptr);
}

TEST(DialogLayout, NoTemplateCutsOrOverlapsAnything)
{
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_DATE_CLASSES};
    ::InitCommonControlsEx(&controls);
    HMODULE module = ::GetModuleHandleA(nullptr);
    std::vector<WORD> ids;
    ::EnumResourceNamesA(module, RT_DIALOG, CollectDialog, reinterpret_cast<LONG_PTR>(&ids));
    ASSERT_GT(ids.size(), 30u);
    const char* pictures = std::getenv("ZV_DIALOG_PICTURES");
    HWND host = MakeHost();
    for (WORD id : ids) {
        HWND dialog = ::CreateDialogParamA(module, MAKEINTRESOURCEA(id), host, BareDialog, 0);
        if (!dialog) {
            ADD_FAILURE() << "dialog " << id << " could not be made";
            continue;
        }
        ::SetWindowPos(dialog, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
        ::UpdateWindow(dialog);
        zvtest::PumpPendingMessages();
        for (const std::string& fault : zvtest::DialogLayoutFaults(dialog))
            ADD_FAILURE() << "dialog " << id << ": " << fault;
        if (pictures)
            zvtest::SaveWindowPicture(dialog, std::string(pictures) + "\\dialog-" + std::to_string(id) + ".bmp");
        ::DestroyWindow(dialog);
    }
    ::DestroyWindow(host);
}

}  // namespace
