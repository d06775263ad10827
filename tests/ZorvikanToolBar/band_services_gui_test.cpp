// The band's services for the tool bar and form filling, on a band object
// made directly: navigation, the page's address and title, with and without
// a browser behind the site.
#include <gtest/gtest.h>

#include <windows.h>

#include "ZorvikanToolBar/band/ZorvikBand.h"
#include "tests/ZorvikanToolBar/FakeBrowser.h"

namespace {

class BandServices : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
        m_host = CreateWindowExA(0, "STATIC", "host", WS_OVERLAPPEDWINDOW, 0, 0, 600, 80, nullptr, nullptr, nullptr,
                                 nullptr);
        ASSERT_TRUE(m_host);
    }
    void TearDown() override
    {
        DestroyWindow(m_host);
        OleUninitialize();
    }
    HWND m_host = nullptr;
};

TEST_F(BandServices, NavigatesAndReadsThePageThroughTheBrowser)
{
    zvtest::FakeBrowser browser;
    zvtest::FakeSite site(m_host, &browser);
    CZorvikBand* band = new CZorvikBand();
    ASSERT_EQ(S_OK, band->SetSite(static_cast<IOleWindow*>(&site)));
    EXPECT_EQ(S_OK, band->Navigate("http://example.test/login"));
    EXPECT_EQ(1, browser.navigations);
    EXPECT_EQ(CString("http://example.test/"), band->GetLocationURL());
    EXPECT_EQ(CString("Example page"), band->GetLocationName());
    band->NotifyFocusChange(TRUE);
    ASSERT_EQ(1u, site.focusChanges.size());
    EXPECT_TRUE(site.focusChanges[0]);
    ASSERT_EQ(S_OK, band->SetSite(nullptr));
    EXPECT_EQ(0u, band->Release());
    EXPECT_EQ(1u, browser.refs);
}

TEST_F(BandServices, WithoutABrowserNothingIsNavigatedAndTextsAreEmpty)
{
    // The site has a window but no browser behind it.
    zvtest::FakeBrowser unused;
    zvtest::FakeSite site(m_host, nullptr);
    CZorvikBand* band = new CZorvikBand();
    EXPECT_EQ(E_FAIL, band->SetSite(static_cast<IOleWindow*>(&site)));
    EXPECT_EQ(E_FAIL, band->Navigate("http://example.test/"));
    EXPECT_EQ(0, unused.navigations);
    EXPECT_EQ(CString(), band->GetLocationURL());
    EXPECT_EQ(CString(), band->GetLocationName());
    ASSERT_EQ(S_OK, band->SetSite(nullptr));
    EXPECT_EQ(0u, band->Release());
    EXPECT_EQ(1u, site.refs);
}

}  // namespace
