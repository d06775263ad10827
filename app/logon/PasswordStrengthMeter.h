#pragma once
// CPasswordStrengthMeter: rates a typed password, or the password
// generator's settings, from 0 to 100, names the rating and draws it as a
// gradient bar with the name on it. Rating is plain logic (both builds);
// drawing needs GDI+ and lives in the windows build only.
#include <cstdint>

#include <boost/xpressive/xpressive_fwd.hpp>

#include "core/crypto/SecretString.h"
#include "framework/CString.h"

class CDC;
class CFont;
class CRect;

// What the password-generator dialog hands in; a class counts as chosen
// when its field is exactly 1.
struct GeneratorSettings {
    int32_t length;
    int32_t lowerCase;
    int32_t upperCase;
    int32_t digits;
    int32_t symbols;
    int32_t latin1;
};

class CPasswordStrengthMeter {
public:
    // Starts GDI+ for this meter (windows build); bar width 0, label "".
    CPasswordStrengthMeter();
    // Shuts down this meter's GDI+ start-up, if it succeeded.
    ~CPasswordStrengthMeter();
    CPasswordStrengthMeter(const CPasswordStrengthMeter&) = delete;
    CPasswordStrengthMeter& operator=(const CPasswordStrengthMeter&) = delete;

    // Score, bar and label from a typed password.
    void UpdateFromPassword(const CSecretString& password);
    // Score and bar from generator settings; the label stays as it is.
    void SetGeneratorSettings(const GeneratorSettings& settings);

    static int ScorePassword(const CSecretString& password);
    static int ScoreGeneratorSettings(const GeneratorSettings& settings);
    static CString LabelForScore(int score);

    // Bar width = score x 2.68, truncated (100 gives 268 pixels).
    void SetScore(int score);
    void SetLabel(const CString& label) { m_label = label; }
    int GetBarWidth() const { return m_barWidth; }
    const CString& GetLabel() const { return m_label; }

    // ---- Drawing (windows build) -----------------------------------------
    // White-to-grey vertical gradient over the whole rectangle.
    void DrawBackground(CDC* pDC, const CRect& rect);
    // The red-to-green bar from the left edge, then the label in the DC's
    // current font and colour at (left + 5, top + 3).
    void DrawBar(CDC* pDC, const CRect& rect);
    // Arial bold, cell height 17.
    static bool CreateLabelFont(CFont& font);

    // Built once for the whole process, not per keystroke; they search the
    // password's own bytes, so no copy of it is made.
    static const boost::xpressive::cregex DigitPattern;
    static const boost::xpressive::cregex LowerPattern;
    static const boost::xpressive::cregex UpperPattern;
    static const boost::xpressive::cregex SymbolPattern;

private:
    int m_barWidth = 0;
    CString m_label;
    uintptr_t m_gdiplusToken = 0;
};
