// The password generator dialog's boxes.
#include "mainwindow/editors/GeneratorChoices.h"

#include "core/crypto/PasswordGenerator.h"

namespace {
int Bit(int flags, UINT flag) { return (static_cast<UINT>(flags) & flag) ? 1 : 0; }
}  // namespace

void CGeneratorChoices::LoadFlags(int flags)
{
    lowerCase = Bit(flags, kPwLower);
    upperCase = Bit(flags, kPwUpper);
    digits = Bit(flags, kPwDigits);
    symbols = Bit(flags, kPwSymbols);
    latin1 = Bit(flags, kPwLatin1);
    pronounceable = Bit(flags, kPwPronounceable);
    AlignPronounceable();
}

void CGeneratorChoices::AlignPronounceable()
{
    if (symbols || latin1) {
        pronounceable = 0;
        pronounceableEnabled = false;
    } else {
        pronounceable = 1;
        pronounceableEnabled = true;
    }
}

int CGeneratorChoices::CharSetFlags() const
{
    int flags = 0;
    if (lowerCase) flags |= kPwLower;
    if (upperCase) flags |= kPwUpper;
    if (digits) flags |= kPwDigits;
    if (symbols) flags |= kPwSymbols;
    if (latin1) flags |= kPwLatin1;
    return flags;
}

int CGeneratorChoices::AllFlags() const
{
    return CharSetFlags() | (pronounceable ? static_cast<int>(kPwPronounceable) : 0);
}

void CGeneratorChoices::ClickExclusive(int& box, int other)
{
    if (!box) {
        box = 1;
        pronounceable = 0;
        pronounceableEnabled = false;
        return;
    }
    box = 0;
    if (!other) {
        pronounceable = 1;
        pronounceableEnabled = true;
    } else {
        pronounceable = 0;
        pronounceableEnabled = false;
    }
}

void CGeneratorChoices::ClickSymbols() { ClickExclusive(symbols, latin1); }

void CGeneratorChoices::ClickLatin1() { ClickExclusive(latin1, symbols); }

void CGeneratorChoices::ChooseStrength(int item)
{
    switch (item) {
    case kHigh:
        lowerCase = upperCase = digits = symbols = latin1 = 1;
        pronounceable = 0;
        pronounceableEnabled = false;
        break;
    case kMedium:
        lowerCase = digits = symbols = 1;
        upperCase = latin1 = 0;
        pronounceable = 1;
        pronounceableEnabled = false;
        break;
    case kLow:
        lowerCase = upperCase = digits = 1;
        symbols = latin1 = 0;
        pronounceable = 1;
        pronounceableEnabled = true;
        break;
    default: break;
    }
}

void CGeneratorChoices::SetLength(int value)
{
    length = value < kMinLength ? kMinLength : value > kMaxLength ? kMaxLength : value;
}

GeneratorSettings CGeneratorChoices::MeterSettings() const
{
    return GeneratorSettings{length, lowerCase, upperCase, digits, symbols, latin1};
}
