// The About box over a private registry: with and without promotional text.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "app/about/AboutDlg.h"
#include "app/res/ShellDialogsRes.h"
#include "tests/support/ScratchRegistry.h"
#include "tests/support/ScriptedModal.h"

namespace {

const char kKey[] = "Software\\Corvantide\\Zorvikan Desktop\\Preferences iPhone";

struct Shown {
    std::string version, promo;
    bool promoVisible = false;
};

Shown RunAbout()
{
    zvtest::ScriptedModal modal;
    Shown shown;
    modal.OnModal([&](CWnd& wnd) {
        CString text;
        wnd.GetDlgItemText(IDC_ABOUT_VERSION, text);
        shown.version = text.GetString();
        wnd.GetDlgItemText(IDC_ABOUT_PROMO, text);
        shown.promo = text.GetString();
        shown.promoVisible = ::IsWindowVisible(::GetDlgItem(wnd.m_hWnd, IDC_ABOUT_PROMO)) != FALSE;
        zvtest::ScriptedModal::PressButton(wnd, IDOK);
    });
    CAboutDlg dlg(kKey);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    return shown;
}

TEST(AboutDialog, WithoutPromoTextTheLineIsEmpty)
{
    zvtest::ScratchRegistry registry;
    ASSERT_TRUE(registry.IsActive());
    const Shown shown = RunAbout();
    EXPECT_EQ(shown.promo, "");
    EXPECT_TRUE(shown.promoVisible);
    // The test program carries no version resource: the version is empty
    // and nothing of the template is read as a format.
    EXPECT_EQ(shown.version, "Zorvikan Desktop Version ");
}

TEST(AboutDialog, PromoTextFromTheRegistryIsShownAsItStands)
{
    zvtest::ScratchRegistry registry;
    ASSERT_TRUE(registry.IsActive());
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyA(HKEY_CURRENT_USER, kKey, &key), ERROR_SUCCESS);
    const char promo[] = "Get 100% more %s today";
    ::RegSetValueExA(key, "Promo Text", 0, REG_SZ, reinterpret_cast<const BYTE*>(promo), sizeof promo);
    ::RegCloseKey(key);
    const Shown shown = RunAbout();
    EXPECT_EQ(shown.promo, promo);
    EXPECT_EQ(shown.version, "Zorvikan Desktop Version ");
}

}  // namespace
