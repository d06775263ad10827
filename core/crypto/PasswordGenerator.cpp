#include "core/crypto/PasswordGenerator.h"

#include <cstring>
#include <string>
#include <vector>

#include "core/crypto/PronounceableTables.h"
#include "core/crypto/SystemRandom.h"
#include "core/os/ProcessSeams.h"

using namespace fips181;

const unsigned char kPasswordSymbols[32] = {
    0x60, 0x7E, 0x21, 0x40, 0x23, 0x24, 0x25, 0x5E, 0x26, 0x2A, 0x28, 0x29, 0x2D, 0x5F, 0x3D, 0x2B,
    0x5B, 0x7B, 0x5D, 0x7D, 0x5C, 0x7C, 0x27, 0x22, 0x3B, 0x3A, 0x2C, 0x3C, 0x2E, 0x3E, 0x2F, 0x3F,
};

// 0xE0..0xFF without the division sign 0xF7.
const unsigned char kPasswordLatin1[31] = {
    0xE0, 0xE1, 0xE2, 0xE3, 0xE4, 0xE5, 0xE6, 0xE7, 0xE8, 0xE9, 0xEA, 0xEB, 0xEC, 0xED, 0xEE, 0xEF,
    0xF0, 0xF1, 0xF2, 0xF3, 0xF4, 0xF5, 0xF6, 0xF8, 0xF9, 0xFA, 0xFB, 0xFC, 0xFD, 0xFE, 0xFF,
};

namespace {

const UINT kClassMask = kPwLower | kPwUpper | kPwDigits | kPwSymbols | kPwLatin1;
const int kMaxPronounceable = 30;

PasswordRandomSource g_source;

// Thrown inside the generator when the random source gives out; caught at
// the entry point.
struct SourceFailed {};

uint32_t Draw()
{
    uint32_t value = 0;
    bool ok = g_source ? g_source(value) : SystemRandomBytes(&value, sizeof value);
    if (!ok) throw SourceFailed();
    return value;
}

bool InClasses(unsigned char c, UINT flags)
{
    if (c >= 'a' && c <= 'z') return (flags & kPwLower) != 0;
    if (c >= 'A' && c <= 'Z') return (flags & kPwUpper) != 0;
    if (c >= '0' && c <= '9') return (flags & kPwDigits) != 0;
    if (std::memchr(kPasswordSymbols, c, sizeof kPasswordSymbols)) return (flags & kPwSymbols) != 0;
    if (std::memchr(kPasswordLatin1, c, sizeof kPasswordLatin1)) return (flags & kPwLatin1) != 0;
    return false;
}

// Rejection sampling on the low byte keeps every allowed character equally likely.
void RandomCharacters(WORD length, UINT flags, char* buffer)
{
    for (WORD written = 0; written < length;) {
        unsigned char c = (unsigned char)(Draw() & 0xFF);
        if (c != 0 && InClasses(c, flags)) buffer[written++] = char(c);
    }
    buffer[length] = '\0';
}

// ---- FIPS 181 ----

inline bool IsVowel(int unit) { return (kUnits[unit].flags & kVowel) != 0; }
inline bool IsAlternateVowel(int unit) { return (kUnits[unit].flags & kAlternateVowel) != 0; }
inline bool HasNoFinalSplit(int unit) { return (kUnits[unit].flags & kNoFinalSplit) != 0; }
inline int UnitLength(int unit) { return int(std::strlen(kUnits[unit].text)); }

int RandomUnit() { return kUnitFrequency[Draw() % kFrequencyCount]; }
int RandomVowel() { return kVowelUnits[Draw() % kVowelCount]; }

// The units a syllable leaves to the next one (0, 1 or 2) and which they
// are: [0] the unit that was tried last, [1] the one before it. Process-wide,
// as the standard keeps it.
int g_savedCount = 0;
int g_savedPair[2] = {0, 0};

// Checks within one syllable (units[0..last]) that go beyond digrams: vowels
// split by consonants (a final silent e aside) and three vowels or three
// consonants in a row (a leading y counting as a consonant).
bool IllegalPlacement(const int* units, int last)
{
    const bool leadingY = IsAlternateVowel(units[0]);
    int vowels = 0;
    for (int i = 0; i <= last; ++i) {
        if (i >= 1) {
            bool splitVowels =
                !IsVowel(units[i - 1]) && IsVowel(units[i]) && !(HasNoFinalSplit(units[i]) && i == last) && vowels != 0;
            bool threeConsonants = i >= 2 && !IsVowel(units[i - 2]) && !IsVowel(units[i - 1]) && !IsVowel(units[i]);
            bool threeVowels =
                i >= 2 && IsVowel(units[i - 2]) && !(leadingY && i == 2) && IsVowel(units[i - 1]) && IsVowel(units[i]);
            if (splitVowels || threeConsonants || threeVowels) return true;
        }
        if (IsVowel(units[i]) && !(leadingY && i == 0 && last != 0)) ++vowels;
    }
    return false;
}

// One syllable of at most lengthFree characters into text and units[0..last].
void MakeSyllable(int lengthFree, std::string& text, int* units, int& last)
{
    const int maxTries = 4 * lengthFree + kUnitCount;
    const int heldCount = g_savedCount;
    // The unit before the current one; like the standard, it keeps its value
    // from earlier positions while the second unit of a syllable is tried.
    int previous = 0;
    bool broken = false;
    do {
        g_savedCount = heldCount;
        text.clear();
        int tries = 0;
        int vowels = 0;
        int pos = 0;
        int left = lengthFree;
        bool wantMore = true;
        do {
            bool wantVowel = false;
            int unit = 0;
            do {
                if (g_savedCount != 0) {
                    if (g_savedCount == 2) {
                        // Checked by the syllable that left it: placed as it is.
                        units[0] = g_savedPair[1];
                        if (IsVowel(g_savedPair[1])) ++vowels;
                        ++pos;
                        text = kUnits[g_savedPair[1]].text;
                        left -= int(text.size());
                    }
                    unit = g_savedPair[0];
                    g_savedCount = 0;
                } else {
                    unit = wantVowel ? RandomVowel() : RandomUnit();
                }
                left -= UnitLength(unit);
                broken = left < 0;

                if (pos == 0) {
                    if (kUnits[unit].flags & kNotBeginSyllable)
                        broken = true;
                    else if (left == 0) {
                        // A one-unit syllable ends the word: it must be a vowel.
                        if (IsVowel(unit))
                            wantMore = false;
                        else
                            broken = true;
                    }
                } else {
                    const uint8_t pair = kDigram[units[pos - 1]][unit];
                    if ((pair & kIllegalPair) || ((pair & kBreak) && vowels == 0) ||
                        ((pair & kEnd) && vowels == 0 && !IsVowel(unit)))
                        broken = true;

                    if (pos == 1) {
                        if (pair & kNotBegin) broken = true;
                    } else {
                        previous = units[pos - 1];
                        const uint8_t before = kDigram[units[pos - 2]][previous];
                        if ((pos == 2 && (pair & kBegin) && IsAlternateVowel(units[0])) ||
                            ((pair & kNotEnd) && left == 0) || ((pair & kBreak) && (before & kNotEnd)) ||
                            ((pair & kPrefix) && !IsVowel(units[pos - 2])))
                            broken = true;

                        if (!broken && IsVowel(unit) && (left > 0 || !HasNoFinalSplit(previous))) {
                            if (vowels > 1 && IsVowel(previous)) {
                                broken = true;  // a third vowel in a row
                            } else if (vowels != 0 && !IsVowel(previous)) {
                                // vowel, consonants, vowel: the new vowel starts the next syllable
                                if (before & kNotEnd) {
                                    broken = true;
                                } else {
                                    g_savedCount = 1;
                                    g_savedPair[0] = unit;
                                    wantMore = false;
                                }
                            }
                        }
                    }

                    if (!broken && wantMore) {
                        if ((vowels != 0 && HasNoFinalSplit(unit) && left == 0 && !IsVowel(previous)) ||
                            (pair & kEnd) || left == 0) {
                            wantMore = false;
                        } else if (vowels != 0 && left > 0) {
                            if ((pair & kBegin) && pos > 1 && !(vowels == 1 && IsVowel(previous))) {
                                g_savedCount = 2;
                                g_savedPair[0] = unit;
                                g_savedPair[1] = previous;
                                wantMore = false;
                            } else if (pair & kBreak) {
                                g_savedCount = 1;
                                g_savedPair[0] = unit;
                                wantMore = false;
                            }
                        } else if (pair & kSuffix) {
                            wantVowel = true;
                        }
                    }
                }
                ++tries;
                if (broken) left += UnitLength(unit);
            } while (broken && tries <= maxTries);

            if (tries <= maxTries) {
                // A y that opens a syllable counts as a consonant.
                if (IsVowel(unit) && (pos > 0 || !IsAlternateVowel(unit))) ++vowels;
                switch (g_savedCount) {
                case 0:
                    units[pos] = unit;
                    text += kUnits[unit].text;
                    break;
                case 1: --pos; break;
                case 2:
                    text.erase(text.size() - size_t(UnitLength(previous)));
                    left += UnitLength(previous);
                    pos -= 2;
                    break;
                }
            } else {
                broken = true;
            }
            last = pos;
            ++pos;
        } while (tries <= maxTries && wantMore);
    } while (broken || IllegalPlacement(units, last));
}

// Rules across syllables: no illegal pair at a joint, no three vowels (the
// first not a y) and no three consonants in a row.
bool ImproperWord(const std::vector<int>& units)
{
    for (size_t i = 0; i < units.size(); ++i) {
        if (i != 0 && (kDigram[units[i - 1]][units[i]] & kIllegalPair)) return true;
        if (i >= 2) {
            bool threeVowels =
                IsVowel(units[i - 2]) && !IsAlternateVowel(units[i - 2]) && IsVowel(units[i - 1]) && IsVowel(units[i]);
            bool threeConsonants = !IsVowel(units[i - 2]) && !IsVowel(units[i - 1]) && !IsVowel(units[i]);
            if (threeVowels || threeConsonants) return true;
        }
    }
    return false;
}

// A first syllable whose only vowel is a leading y.
bool HasInitialY(const int* units, int last)
{
    int vowels = 0, normalVowels = 0;
    for (int i = 0; i <= last; ++i)
        if (IsVowel(units[i])) {
            ++vowels;
            if (!IsAlternateVowel(units[i]) || i != 0) ++normalVowels;
        }
    return vowels <= 1 && normalVowels == 0;
}

// A last syllable whose only vowel is a final e.
bool HasFinalSplit(const int* units, int last)
{
    int vowels = 0;
    for (int i = 0; i <= last; ++i)
        if (IsVowel(units[i])) ++vowels;
    return vowels == 1 && HasNoFinalSplit(units[last]);
}

// The next chosen class (0 lower .. 4 Latin-1) after the given one, wrapping.
int NextClass(int previous, UINT flags)
{
    for (int step = 1; step <= 5; ++step) {
        int c = (previous + step) % 5;
        if (flags & (1u << c)) return c;
    }
    return 0;
}

void DressSyllable(std::string& syllable, int cls)
{
    for (char& ch : syllable) {
        switch (cls) {
        case 0: break;
        case 1: ch = char(ch - 32); break;
        case 2: ch = char('0' + Draw() % 10); break;
        case 3: ch = char(kPasswordSymbols[Draw() & 31]); break;
        case 4: ch = char(kPasswordLatin1[Draw() % 31]); break;
        }
    }
}

WORD PronounceableWord(WORD requested, UINT flags, char* buffer)
{
    const int length = requested > kMaxPronounceable ? kMaxPronounceable : requested;
    const int maxTries = 4 * length + kUnitCount;
    std::string word;
    std::vector<int> wordUnits;
    int units[kMaxPronounceable + 2];
    std::string syllable;
    int produced = 0, tries = 0, last = 0;
    int cls = 4;  // so that the first syllable takes the lowest chosen class
    while (produced < length) {
        MakeSyllable(length - produced, syllable, units, last);
        const size_t kept = wordUnits.size();
        wordUnits.insert(wordUnits.end(), units, units + last + 1);
        const int syllableLength = int(syllable.size());
        if (ImproperWord(wordUnits) || (produced == 0 && HasInitialY(units, last)) ||
            (produced + syllableLength == length && HasFinalSplit(units, last))) {
            wordUnits.resize(kept);
        } else {
            cls = NextClass(cls, flags);
            DressSyllable(syllable, cls);
            word += syllable;
            produced += syllableLength;
        }
        if (++tries > maxTries) {
            produced = 0;
            tries = 0;
            word.clear();
            wordUnits.clear();
        }
    }
    std::memcpy(buffer, word.data(), word.size());
    buffer[word.size()] = '\0';
    return WORD(produced);
}

}  // namespace

void SetPasswordRandomSource(PasswordRandomSource source) { g_source = std::move(source); }

WORD GeneratePassword(WORD length, UINT flags, char* buffer)
{
    if (!buffer) return 0;
    buffer[0] = '\0';
    if (!(flags & kClassMask)) return 0;
    try {
        if (flags & kPwPronounceable) return PronounceableWord(length, flags, buffer);
        RandomCharacters(length, flags, buffer);
        return 0;
    } catch (const SourceFailed&) {
        // Nothing half-made leaves here, and no unit is carried over.
        g_savedCount = 0;
        if (flags & kPwPronounceable)
            std::memset(buffer, 0, size_t((length > kMaxPronounceable ? kMaxPronounceable : length) + 1));
        else
            std::memset(buffer, 0, size_t(length) + 1);
        return 0;
    }
}
