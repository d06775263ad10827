#pragma once
// CGeneratorChoices: the password generator dialog's character-set boxes and
// length, and the rules that tie them together. "Pronounceable" cannot be
// combined with symbols or accented letters, so those two switch it off and
// disable it; with both clear it is offered again. Plain logic: the dialog
// only shows what this holds.
#include "app/logon/PasswordStrengthMeter.h"

class CGeneratorChoices {
public:
    // The generator's range; the dialog always starts at 8.
    static constexpr int kMinLength = 4;
    static constexpr int kMaxLength = 20;
    static constexpr int kStartLength = 8;
    // Stored when nothing was stored yet: every flag set.
    static constexpr int kDefaultFlags = 0xFFFF;
    // "High", "Medium", "Low" in the strength combo.
    enum Strength { kHigh = 0, kMedium = 1, kLow = 2 };

    int lowerCase = 0;
    int upperCase = 0;
    int digits = 0;
    int symbols = 0;
    int latin1 = 0;
    int pronounceable = 0;
    bool pronounceableEnabled = true;
    int length = kStartLength;

    // The boxes as the stored flags set them, then "Pronounceable" brought in
    // line with the symbol and accented-letter boxes once.
    void LoadFlags(int flags);
    // The flags of the five character-set boxes (no pronounceable bit).
    int CharSetFlags() const;
    // All six, as stored per user.
    int AllFlags() const;
    void ClickSymbols();
    void ClickLatin1();
    // Out-of-range items change nothing.
    void ChooseStrength(int item);
    // Within the generator's range.
    void SetLength(int value);
    // What the strength meter rates (pronounceable takes no part).
    GeneratorSettings MeterSettings() const;

private:
    void AlignPronounceable();
    void ClickExclusive(int& box, int other);
};
