#include "tests/framework/GuiTestApp.h"

#include "framework/DocTemplate.h"
#include "tests/framework/GuiTestRes.h"

namespace zvtest {

BEGIN_MESSAGE_MAP(GuiTestApp, CWinApp)
    ON_COMMAND(ID_TEST_APPCMD, &GuiTestApp::OnAppCommand)
END_MESSAGE_MAP()

void GuiTestApp::RemoveDocTemplates()
{
    for (CDocTemplate* t : m_templates) delete t;
    m_templates.clear();
    m_appCommands = 0;
}

namespace {
GuiTestApp theApp;
}

GuiTestApp& TheGuiTestApp() { return theApp; }

}  // namespace zvtest
