// What the test handheld's script cannot do from outside Wine: look at the
// running program's windows and work them as a person would. Runs in the
// program's Wine prefix; prints one line per window it was asked about.
//   window_driver state                   the setup wizard, log-on dialog and main window, if shown
//   window_driver press back|next|finish  a button of the setup wizard
//   window_driver logon <password>        types the password into the log-on dialog and presses OK
//   window_driver close                   closes the main window
//   window_driver records                 the number of rows of the main window's record list
// Exit code 0 when the window asked for was there, 1 otherwise.
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "app/logon/LogonRes.h"
#include "app/res/SyncFilesRes.h"
#include "framework/FrameworkRes.h"
#include "mainwindow/MainWindowIds.h"

namespace {

struct Found {
    const char* className;
    const char* caption;  // null: any
    HWND window = nullptr;
};

BOOL CALLBACK FindTop(HWND hWnd, LPARAM lParam)
{
    auto* f = reinterpret_cast<Found*>(lParam);
    char name[128] = {}, caption[256] = {};
    ::GetClassNameA(hWnd, name, sizeof name);
    ::GetWindowTextA(hWnd, caption, sizeof caption);
    if (std::strcmp(name, f->className) != 0 || !::IsWindowVisible(hWnd)) return TRUE;
    if (f->caption && std::strcmp(caption, f->caption) != 0) return TRUE;
    f->window = hWnd;
    return FALSE;
}

HWND Top(const char* className, const char* caption)
{
    Found f{className, caption};
    ::EnumWindows(&FindTop, reinterpret_cast<LPARAM>(&f));
    return f.window;
}

HWND Wizard() { return Top("#32770", "Zorvikan Setup Wizard"); }
HWND Logon() { return Top("#32770", "Enter Password"); }
HWND Frame() { return Top("Zorvikan Desktop", nullptr); }

std::string Text(HWND hWnd)
{
    char text[512] = {};
    if (hWnd) ::GetWindowTextA(hWnd, text, sizeof text);
    return text;
}

int Enabled(HWND sheet, int id)
{
    HWND button = ::GetDlgItem(sheet, id);
    return button && ::IsWindowEnabled(button) && ::IsWindowVisible(button) ? 1 : 0;
}

int State()
{
    bool any = false;
    if (HWND sheet = Wizard()) {
        HWND page = reinterpret_cast<HWND>(::SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
        const LRESULT index = ::SendMessageA(sheet, PSM_HWNDTOINDEX, reinterpret_cast<WPARAM>(page), 0);
        std::printf("wizard page=%d back=%d next=%d finish=%d title=%s\n", static_cast<int>(index),
                    Enabled(sheet, ID_WIZBACK), Enabled(sheet, ID_WIZNEXT), Enabled(sheet, ID_WIZFINISH),
                    Text(::GetDlgItem(page, IDC_WIZARD_TITLE)).c_str());
        any = true;
    }
    if (Logon()) {
        std::printf("logon\n");
        any = true;
    }
    if (HWND frame = Frame()) {
        std::printf("frame caption=%s\n", Text(frame).c_str());
        any = true;
    }
    return any ? 0 : 1;
}

int Press(const std::string& which)
{
    HWND sheet = Wizard();
    if (!sheet) return 1;
    const int button = which == "back" ? PSBTN_BACK : which == "next" ? PSBTN_NEXT : PSBTN_FINISH;
    ::PostMessageA(sheet, PSM_PRESSBUTTON, button, 0);
    return 0;
}

int LogOn(const char* password)
{
    HWND dialog = Logon();
    if (!dialog) return 1;
    ::SetDlgItemTextA(dialog, IDC_PASSWORD, password);
    ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(dialog, IDOK)));
    return 0;
}

BOOL CALLBACK FindRecordList(HWND hWnd, LPARAM lParam)
{
    if (::GetDlgCtrlID(hWnd) != IDC_RECORD_LIST) return TRUE;
    *reinterpret_cast<HWND*>(lParam) = hWnd;
    return FALSE;
}

// The rows hold no texts (their cells are painted from the records): the
// count is what another process can read.
int Records()
{
    HWND frame = Frame();
    HWND list = nullptr;
    if (frame) ::EnumChildWindows(frame, &FindRecordList, reinterpret_cast<LPARAM>(&list));
    if (!list) return 1;
    std::printf("records rows=%d shown=%d\n", static_cast<int>(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)),
                ::IsWindowVisible(list) ? 1 : 0);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "state") return State();
    if (command == "press" && argc > 2) return Press(argv[2]);
    if (command == "logon" && argc > 2) return LogOn(argv[2]);
    if (command == "records") return Records();
    if (command == "close") {
        HWND frame = Frame();
        if (frame) ::PostMessageA(frame, WM_CLOSE, 0, 0);
        return frame ? 0 : 1;
    }
    std::fprintf(stderr, "usage: window_driver state | press back|next|finish | logon <password> | close | records\n");
    return 2;
}
