#pragma once
// The one application object of the GUI test program.
#include "framework/WinApp.h"

namespace zvtest {

class GuiTestApp : public CWinApp {
public:
    GuiTestApp() : CWinApp("Framework GUI Tests") {}
    // Tests add their own templates; this drops them between tests.
    void RemoveDocTemplates();
    void OnAppCommand() { ++m_appCommands; }
    int m_appCommands = 0;
    DECLARE_MESSAGE_MAP()
};

GuiTestApp& TheGuiTestApp();

}  // namespace zvtest
