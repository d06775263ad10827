#include "app/logon/PasswordStrengthMeter.h"

#include <boost/xpressive/xpressive.hpp>

namespace xp = boost::xpressive;

const xp::cregex CPasswordStrengthMeter::DigitPattern = xp::cregex::compile("[0-9]");
const xp::cregex CPasswordStrengthMeter::LowerPattern = xp::cregex::compile("[[:lower:]]");
const xp::cregex CPasswordStrengthMeter::UpperPattern = xp::cregex::compile("[[:upper:]]");
// The generator's symbols without the apostrophe; ']', '\' and '-' escaped
// for the bracket expression.
const xp::cregex CPasswordStrengthMeter::SymbolPattern =
    xp::cregex::compile("[`~!@#$%^&*()\\-_=+\\[{\\]}\\\\|\";:,<.>/?]");

namespace {
const int kMaxScore = 100;
const int kPointsPerClass = 10;
}  // namespace

int CPasswordStrengthMeter::ScorePassword(const CSecretString& password)
{
    if (password.IsEmpty()) return 0;
    const int length = password.GetLength();
    const char* const begin = password.c_str();
    int score = 0;
    for (const xp::cregex* pattern : {&DigitPattern, &LowerPattern, &UpperPattern, &SymbolPattern}) {
        if (xp::regex_search(begin, begin + length, *pattern)) score += kPointsPerClass;
    }
    score += length > 250 ? 50 : 3 * length;
    return score > kMaxScore ? kMaxScore : score;
}

int CPasswordStrengthMeter::ScoreGeneratorSettings(const GeneratorSettings& settings)
{
    if (settings.length <= 0) return 0;
    int classes = 0;
    for (int32_t chosen :
         {settings.lowerCase, settings.upperCase, settings.digits, settings.symbols, settings.latin1}) {
        if (chosen == 1) classes += kPointsPerClass;
    }
    int score;
    if (settings.length > 125)
        score = classes + 50;
    else
        score = (int)(settings.length * 1.2 + classes);
    return score > kMaxScore ? kMaxScore : score;
}

CString CPasswordStrengthMeter::LabelForScore(int score)
{
    if (score <= 0) return CString();
    if (score < 25) return "Short";
    if (score < 50) return "Weak";
    if (score < 75) return "Good";
    return "Strong";
}

void CPasswordStrengthMeter::SetScore(int score) { m_barWidth = (int)(score * 2.68); }

void CPasswordStrengthMeter::UpdateFromPassword(const CSecretString& password)
{
    int score = ScorePassword(password);
    SetScore(score);
    SetLabel(LabelForScore(score));
}

void CPasswordStrengthMeter::SetGeneratorSettings(const GeneratorSettings& settings)
{
    SetScore(ScoreGeneratorSettings(settings));
}
