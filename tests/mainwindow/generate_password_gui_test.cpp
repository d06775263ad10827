// The password generator dialog, run modally with scripted steps against a
// scratch data root: the boxes follow the user's stored character sets, the
// sets are stored by Generate and OK but not by Cancel, and the password
// handed back is the chosen candidate or, without a choice, the last one.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "app/res/RecordDialogsRes.h"
#include "core/prefs/AppPrefs.h"
#include "mainwindow/dialogs/GeneratePasswordDlg.h"
#include "tests/support/AppWindowTest.h"
#include "tests/support/ScriptedModal.h"

CZorvikanDesktopApp theApp(RUNTIME_CLASS(CZorvikanDesktopView));

namespace {

using zvtest::ScriptedModal;

const int kBoxes[] = {IDC_GEN_LOWER,   IDC_GEN_UPPER,  IDC_GEN_DIGITS,
                      IDC_GEN_SYMBOLS, IDC_GEN_LATIN1, IDC_GEN_PRONOUNCEABLE};

std::vector<int> Checks(CWnd& dlg)
{
    std::vector<int> checks;
    for (int id : kBoxes) checks.push_back(::IsDlgButtonChecked(dlg.m_hWnd, id) == BST_CHECKED ? 1 : 0);
    return checks;
}

std::vector<std::string> Candidates(CWnd& dlg)
{
    std::vector<std::string> items;
    const int count = (int)::SendDlgItemMessageA(dlg.m_hWnd, IDC_GEN_CANDIDATES, LB_GETCOUNT, 0, 0);
    for (int i = 0; i < count; ++i) {
        char text[64] = {};
        ::SendDlgItemMessageA(dlg.m_hWnd, IDC_GEN_CANDIDATES, LB_GETTEXT, i, (LPARAM)text);
        items.push_back(text);
    }
    return items;
}

void SetCheck(CWnd& dlg, int id, bool on) { ::CheckDlgButton(dlg.m_hWnd, id, on ? BST_CHECKED : BST_UNCHECKED); }

class GeneratePasswordDialog : public zvtest::AppWindowTest {
protected:
    GeneratePasswordDialog() : AppWindowTest("zvgen") {}

    CAppPrefs& Prefs() { return *CAppPrefMgr::GetInstance()->GetPrefs(); }
    CUserItem* User() { return App().GetCurrentUser(); }
};

TEST_F(GeneratePasswordDialog, ShowsTheStoredSetsAndStoresThemOnOkButNotOnCancel)
{
    Prefs().SetPasswordGeneratorFlags(User(), 0x07);
    ScriptedModal modal;
    std::vector<int> first, second;
    modal.OnModal([&](CWnd& dlg) {
        first = Checks(dlg);
        EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(dlg.m_hWnd, IDC_GEN_PRONOUNCEABLE)));
        EXPECT_EQ(8, (int)::GetDlgItemInt(dlg.m_hWnd, IDC_GEN_LENGTH, nullptr, FALSE));
        ScriptedModal::PressButton(dlg, IDOK);
    });
    modal.OnModal([&](CWnd& dlg) {
        second = Checks(dlg);
        ScriptedModal::PressButton(dlg, IDC_GEN_SYMBOLS);
        EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(dlg.m_hWnd, IDC_GEN_PRONOUNCEABLE)));
        ScriptedModal::PressButton(dlg, IDCANCEL);
    });
    CGeneratePasswordDlg dlg1;
    EXPECT_EQ(IDOK, dlg1.DoModal());
    CGeneratePasswordDlg dlg2;
    EXPECT_EQ(IDCANCEL, dlg2.DoModal());
    EXPECT_EQ((std::vector<int>{1, 1, 1, 0, 0, 1}), first);
    EXPECT_EQ(first, second) << "opening twice shows the same boxes";
    EXPECT_EQ(0x27, Prefs().GetPasswordGeneratorFlags(User())) << "Cancel stores nothing";
    EXPECT_TRUE(modal.Unanswered().empty());
}

TEST_F(GeneratePasswordDialog, WithoutACharacterSetGenerateOnlyComplains)
{
    Prefs().SetPasswordGeneratorFlags(User(), 0x07);
    ScriptedModal modal;
    modal.AnswerMessageBox(IDOK);
    std::vector<std::string> items;
    modal.OnModal([&](CWnd& dlg) {
        for (int id : {IDC_GEN_LOWER, IDC_GEN_UPPER, IDC_GEN_DIGITS}) SetCheck(dlg, id, false);
        SetCheck(dlg, IDC_GEN_PRONOUNCEABLE, true);
        ScriptedModal::PressButton(dlg, IDC_GEN_GENERATE);
        items = Candidates(dlg);
        ScriptedModal::PressButton(dlg, IDCANCEL);
    });
    CGeneratePasswordDlg dlg;
    dlg.SetPassword("caller's");
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    ASSERT_EQ(1u, modal.MessageBoxes().size());
    EXPECT_EQ("You need to include at least one character set.", modal.MessageBoxes()[0].text);
    EXPECT_TRUE(items.empty());
    EXPECT_EQ(0x07, Prefs().GetPasswordGeneratorFlags(User()));
    EXPECT_STREQ("caller's", dlg.GetPassword().c_str());
}

TEST_F(GeneratePasswordDialog, HandsBackTheChosenCandidateOrTheLastOne)
{
    Prefs().SetPasswordGeneratorFlags(User(), 0x07);
    for (bool choose : {true, false}) {
        ScriptedModal modal;
        std::vector<std::string> items;
        std::string chosen;
        modal.OnModal([&](CWnd& dlg) {
            ScriptedModal::PressButton(dlg, IDC_GEN_GENERATE);
            items = Candidates(dlg);
            if (choose && items.size() > 3) {
                ::SendDlgItemMessageA(dlg.m_hWnd, IDC_GEN_CANDIDATES, LB_SETCURSEL, 3, 0);
                chosen = items[3];
            }
            ScriptedModal::PressButton(dlg, IDOK);
        });
        CGeneratePasswordDlg dlg;
        dlg.SetPassword("caller's");
        ASSERT_EQ(IDOK, dlg.DoModal());
        ASSERT_EQ(10u, items.size());
        for (const std::string& item : items) EXPECT_EQ(8u, item.size()) << item;
        EXPECT_TRUE(std::is_sorted(items.begin(), items.end(), [](const std::string& a, const std::string& b) {
            return ::lstrcmpiA(a.c_str(), b.c_str()) < 0;
        }));
        const std::string result = dlg.GetPassword().c_str();
        if (choose)
            EXPECT_EQ(chosen, result);
        else
            EXPECT_EQ(1u, std::set<std::string>(items.begin(), items.end()).count(result))
                << "the last candidate generated";
    }
}

TEST_F(GeneratePasswordDialog, StrengthChoicesAndTheLengthSpinner)
{
    Prefs().SetPasswordGeneratorFlags(User(), 0x07);
    ScriptedModal modal;
    std::vector<int> medium;
    bool mediumPronEnabled = true;
    int lengthAfterSpin = 0;
    int lengthAfterStep = 0;
    modal.OnModal([&](CWnd& dlg) {
        ::SendDlgItemMessageA(dlg.m_hWnd, IDC_GEN_STRENGTH, CB_SETCURSEL, 1, 0);
        ::SendMessageA(dlg.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_GEN_STRENGTH, CBN_SELCHANGE),
                       (LPARAM)::GetDlgItem(dlg.m_hWnd, IDC_GEN_STRENGTH));
        medium = Checks(dlg);
        mediumPronEnabled = ::IsWindowEnabled(::GetDlgItem(dlg.m_hWnd, IDC_GEN_PRONOUNCEABLE)) != FALSE;
        // The spinner tells before it moves: the length is where it goes,
        // and at the top of its range it goes nowhere.
        HWND spin = ::GetDlgItem(dlg.m_hWnd, IDC_GEN_LENGTH_SPIN);
        auto step = [&](int from, int delta) {
            ::SendMessageA(spin, UDM_SETPOS32, 0, from);
            NMUPDOWN change{};
            change.hdr.hwndFrom = spin;
            change.hdr.idFrom = IDC_GEN_LENGTH_SPIN;
            change.hdr.code = UDN_DELTAPOS;
            change.iPos = from;
            change.iDelta = delta;
            ::SendMessageA(dlg.m_hWnd, WM_NOTIFY, IDC_GEN_LENGTH_SPIN, (LPARAM)&change);
            return (int)::GetDlgItemInt(dlg.m_hWnd, IDC_GEN_LENGTH, nullptr, FALSE);
        };
        lengthAfterStep = step(10, 1);
        lengthAfterSpin = step(20, 1);
        ScriptedModal::PressButton(dlg, IDCANCEL);
    });
    CGeneratePasswordDlg dlg;
    EXPECT_EQ(IDCANCEL, dlg.DoModal());
    EXPECT_EQ((std::vector<int>{1, 0, 1, 1, 0, 1}), medium);
    EXPECT_FALSE(mediumPronEnabled);
    EXPECT_EQ(11, lengthAfterStep);
    EXPECT_EQ(20, lengthAfterSpin);
    EXPECT_EQ(20, dlg.GetChoices().length);
}

// The meter names its rating as Set Password's does, following the choices.
TEST_F(GeneratePasswordDialog, TheMeterNamesTheRatingOfTheChoices)
{
    Prefs().SetPasswordGeneratorFlags(User(), 0x07);
    ScriptedModal modal;
    CGeneratePasswordDlg dlg;
    std::vector<std::string> labels, expected;
    modal.OnModal([&](CWnd& wnd) {
        for (int item : {-1, 0, 2}) {
            if (item >= 0) {
                ::SendDlgItemMessageA(wnd.m_hWnd, IDC_GEN_STRENGTH, CB_SETCURSEL, item, 0);
                ::SendMessageA(wnd.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_GEN_STRENGTH, CBN_SELCHANGE),
                               (LPARAM)::GetDlgItem(wnd.m_hWnd, IDC_GEN_STRENGTH));
            }
            labels.emplace_back(dlg.GetMeter().GetLabel());
            expected.emplace_back(CPasswordStrengthMeter::LabelForScore(
                CPasswordStrengthMeter::ScoreGeneratorSettings(dlg.GetChoices().MeterSettings())));
        }
        ScriptedModal::PressButton(wnd, IDCANCEL);
    });
    dlg.DoModal();
    EXPECT_EQ(expected, labels);
    for (const std::string& label : labels) EXPECT_FALSE(label.empty());
}

}  // namespace
