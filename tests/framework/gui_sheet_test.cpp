// Property sheets: a wizard stepping Back/Next/Finish, and a tabbed sheet
// whose Apply and OK run the shown pages' apply.
#include <gtest/gtest.h>

#include <vector>

#include "framework/DataExchange.h"
#include "framework/FrameworkRes.h"
#include "framework/PropertySheet.h"
#include "tests/framework/GuiTestRes.h"
#include "tests/support/ScriptedModal.h"

namespace {

using zvtest::ScriptedModal;

std::vector<std::string> g_events;

class CTestPage : public CPropertyPage {
public:
    CTestPage(UINT nIDTemplate, const char* name) : CPropertyPage(nIDTemplate), m_name(name) {}
    CString m_text;
    bool m_refuseNext = false;
    int m_applies = 0;

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        if (GetDlgItem(IDC_PAGE_EDIT)) DDX_Text(pDX, IDC_PAGE_EDIT, m_text);
    }
    BOOL OnSetActive() override
    {
        g_events.push_back(m_name + ":active");
        if (CPropertySheet* sheet = GetSheet(); sheet && sheet->IsWizard()) {
            int index = sheet->GetPageIndex(this);
            DWORD buttons = index == 0                           ? PSWIZB_NEXT
                            : index == sheet->GetPageCount() - 1 ? (PSWIZB_BACK | PSWIZB_FINISH)
                                                                 : (PSWIZB_BACK | PSWIZB_NEXT);
            sheet->SetWizardButtons(buttons);
        }
        return CPropertyPage::OnSetActive();
    }
    LRESULT OnWizardNext() override
    {
        g_events.push_back(m_name + ":next");
        return m_refuseNext ? -1 : CPropertyPage::OnWizardNext();
    }
    LRESULT OnWizardBack() override
    {
        g_events.push_back(m_name + ":back");
        return CPropertyPage::OnWizardBack();
    }
    BOOL OnWizardFinish() override
    {
        g_events.push_back(m_name + ":finish");
        return CPropertyPage::OnWizardFinish();
    }
    BOOL OnApply() override
    {
        ++m_applies;
        return CPropertyPage::OnApply();
    }

    std::string m_name;
};

CPropertySheet& Sheet(CWnd& wnd) { return static_cast<CPropertySheet&>(wnd); }

TEST(WizardTest, StepsBackNextAndFinish)
{
    g_events.clear();
    ScriptedModal script;
    CTestPage first(IDD_TEST_PAGE1, "first"), second(IDD_TEST_PAGE2, "second"), third(IDD_TEST_PAGE3, "third");
    CPropertySheet sheet("Test Wizard");
    sheet.AddPage(&first);
    sheet.AddPage(&second);
    sheet.AddPage(&third);
    sheet.SetWizardMode();

    std::vector<int> indexes;
    script.OnModal([&](CWnd& wnd) {
        indexes.push_back(Sheet(wnd).GetActiveIndex());
        first.SetDlgItemText(IDC_PAGE_EDIT, "typed on page one");
        Sheet(wnd).PressButton(PSBTN_NEXT);
    });
    script.OnModal([&](CWnd& wnd) {
        indexes.push_back(Sheet(wnd).GetActiveIndex());
        Sheet(wnd).PressButton(PSBTN_BACK);
    });
    script.OnModal([&](CWnd& wnd) {
        indexes.push_back(Sheet(wnd).GetActiveIndex());
        Sheet(wnd).PressButton(PSBTN_NEXT);
    });
    script.OnModal([&](CWnd& wnd) {
        indexes.push_back(Sheet(wnd).GetActiveIndex());
        Sheet(wnd).PressButton(PSBTN_NEXT);
    });
    script.OnModal([&](CWnd& wnd) {
        indexes.push_back(Sheet(wnd).GetActiveIndex());
        Sheet(wnd).PressButton(PSBTN_FINISH);
    });
    EXPECT_EQ(sheet.DoModal(), ID_WIZFINISH);
    EXPECT_EQ(indexes, (std::vector<int>{0, 1, 0, 1, 2}));
    EXPECT_EQ(g_events,
              (std::vector<std::string>{"first:active", "first:next", "second:active", "second:back", "first:active",
                                        "first:next", "second:active", "second:next", "third:active", "third:finish"}));
    EXPECT_STREQ(first.m_text, "typed on page one") << "leaving a page reads its controls";
    EXPECT_TRUE(script.Unanswered().empty());
    EXPECT_EQ(sheet.m_hWnd, nullptr);
    EXPECT_EQ(first.m_hWnd, nullptr);
}

TEST(WizardTest, APageCanRefuseNextAndCancelEndsTheWizard)
{
    g_events.clear();
    ScriptedModal script;
    CTestPage first(IDD_TEST_PAGE1, "first"), second(IDD_TEST_PAGE2, "second");
    first.m_refuseNext = true;
    CPropertySheet sheet("Test Wizard");
    sheet.AddPage(&first);
    sheet.AddPage(&second);
    sheet.SetWizardMode();
    int indexAfterNext = -2;
    script.OnModal([&](CWnd& wnd) { Sheet(wnd).PressButton(PSBTN_NEXT); });
    script.OnModal([&](CWnd& wnd) {
        indexAfterNext = Sheet(wnd).GetActiveIndex();
        Sheet(wnd).PressButton(PSBTN_CANCEL);
    });
    EXPECT_EQ(sheet.DoModal(), IDCANCEL);
    EXPECT_EQ(indexAfterNext, 0);
    EXPECT_TRUE(script.Unanswered().empty());
}

TEST(PropertySheetTest, ApplyAndOkRunTheShownPagesOnly)
{
    g_events.clear();
    ScriptedModal script;
    CTestPage first(IDD_TEST_PAGE1, "first"), second(IDD_TEST_PAGE2, "second");
    CPropertySheet sheet("Options");
    sheet.AddPage(&first);
    sheet.AddPage(&second);
    bool applyEnabled = false;
    script.OnModal([&](CWnd& wnd) {
        first.SetModified();
        applyEnabled = ::IsWindowEnabled(::GetDlgItem(wnd.m_hWnd, ID_APPLY_NOW)) != FALSE;
        Sheet(wnd).PressButton(PSBTN_APPLYNOW);
    });
    script.OnModal([&](CWnd& wnd) {
        first.SetDlgItemText(IDC_PAGE_EDIT, "kept");
        Sheet(wnd).PressButton(PSBTN_OK);
    });
    EXPECT_EQ(sheet.DoModal(), IDOK);
    EXPECT_TRUE(applyEnabled);
    EXPECT_EQ(first.m_applies, 2);
    EXPECT_EQ(second.m_applies, 0) << "never shown, so never applied";
    EXPECT_STREQ(first.m_text, "kept");
}

}  // namespace
