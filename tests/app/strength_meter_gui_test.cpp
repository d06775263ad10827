// The meter's drawing with GDI+, into a memory bitmap.
#include <gtest/gtest.h>

#include <windows.h>

#include "app/logon/PasswordStrengthMeter.h"
#include "framework/DC.h"
#include "framework/Gdi.h"
#include "framework/Geometry.h"

namespace {

// A 32-bit top-down bitmap selected into a memory DC, read back pixel by pixel.
class Canvas {
public:
    Canvas(int width, int height) : m_width(width)
    {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        m_bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&m_bits), nullptr, 0);
        m_dc.Attach(::CreateCompatibleDC(nullptr));
        m_old = ::SelectObject(m_dc.m_hDC, m_bitmap);
        for (int i = 0; i < width * height; ++i) m_bits[i] = 0x00000000;  // black
    }
    ~Canvas()
    {
        ::SelectObject(m_dc.m_hDC, m_old);
        ::DeleteDC(m_dc.Detach());
        ::DeleteObject(m_bitmap);
    }
    CDC& Dc() { return m_dc; }
    void Flush() { ::GdiFlush(); }
    int Red(int x, int y) const { return (m_bits[y * m_width + x] >> 16) & 0xFF; }
    int Green(int x, int y) const { return (m_bits[y * m_width + x] >> 8) & 0xFF; }
    int Blue(int x, int y) const { return m_bits[y * m_width + x] & 0xFF; }

private:
    int m_width;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_old = nullptr;
    uint32_t* m_bits = nullptr;
    CDC m_dc;
};

TEST(PasswordStrengthMeterDrawTest, BackgroundRunsFromWhiteToGrey)
{
    Canvas canvas(120, 20);
    CPasswordStrengthMeter meter;
    meter.DrawBackground(&canvas.Dc(), CRect(0, 0, 120, 20));
    canvas.Flush();
    EXPECT_GE(canvas.Red(60, 0), 0xF0);
    EXPECT_NEAR(canvas.Red(60, 19), 0x80, 0x0C);
    EXPECT_EQ(canvas.Red(60, 10), canvas.Blue(60, 10));  // grey all the way
}

TEST(PasswordStrengthMeterDrawTest, FullBarIsCutToTheMeterAndRunsRedToGreen)
{
    Canvas canvas(140, 20);
    CPasswordStrengthMeter meter;
    meter.SetScore(100);
    ASSERT_EQ(meter.GetBarWidth(), 268);
    meter.DrawBar(&canvas.Dc(), CRect(10, 0, 110, 20));
    canvas.Flush();
    EXPECT_EQ(meter.GetBarWidth(), 100);  // kept reduced
    // Red at the start, green at the end, nothing past the meter.
    EXPECT_GT(canvas.Red(11, 10), 0xC0);
    EXPECT_LT(canvas.Green(11, 10), 0x40);
    EXPECT_LT(canvas.Red(108, 10), 0x40);
    EXPECT_GT(canvas.Green(108, 10), 0x60);
    EXPECT_EQ(canvas.Red(120, 10) + canvas.Green(120, 10), 0);
    EXPECT_EQ(canvas.Red(5, 10) + canvas.Green(5, 10), 0);
}

TEST(PasswordStrengthMeterDrawTest, ShortBarShowsOnlyTheRedStart)
{
    Canvas canvas(140, 20);
    CPasswordStrengthMeter meter;
    meter.SetScore(10);  // 26 pixels
    meter.DrawBar(&canvas.Dc(), CRect(0, 0, 130, 20));
    canvas.Flush();
    EXPECT_GT(canvas.Red(20, 10), 0x90);
    EXPECT_GT(canvas.Red(20, 10), canvas.Green(20, 10));
    EXPECT_EQ(canvas.Red(40, 10) + canvas.Green(40, 10), 0);

    // An empty password draws no bar.
    Canvas empty(60, 20);
    CPasswordStrengthMeter none;
    none.UpdateFromPassword("");
    none.DrawBar(&empty.Dc(), CRect(0, 0, 60, 20));
    empty.Flush();
    EXPECT_EQ(empty.Red(2, 10) + empty.Green(2, 10), 0);
}

TEST(PasswordStrengthMeterDrawTest, LabelFontIsBoldArialOfCellHeight17)
{
    CFont font;
    ASSERT_TRUE(CPasswordStrengthMeter::CreateLabelFont(font));
    LOGFONTA lf{};
    ASSERT_NE(font.GetLogFont(&lf), 0);
    EXPECT_EQ(lf.lfHeight, 17);
    EXPECT_EQ(lf.lfWeight, 700);
    EXPECT_STREQ(lf.lfFaceName, "Arial");
    EXPECT_EQ(lf.lfItalic, 0);
    EXPECT_EQ(lf.lfCharSet, 0);
}

}  // namespace
