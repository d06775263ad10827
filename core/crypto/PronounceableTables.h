#pragma once
// The tables of the FIPS 181 pronounceable-password algorithm, as the
// standard defines them: 34 units, their flags, the unit-pair (digram) rules,
// the English-like unit frequencies and the vowel choices.
#include <cstdint>

namespace fips181 {

const int kUnitCount = 34;

// Unit flags.
enum : uint8_t {
    kAlternateVowel = 0x01,  // y: a vowel that may also act as a consonant
    kVowel = 0x02,
    kNoFinalSplit = 0x04,      // e: may not be the lone vowel ending a word
    kNotBeginSyllable = 0x08,  // x, ck
};

// Digram flags (first unit, second unit).
enum : uint8_t {
    kBegin = 0x80,
    kNotBegin = 0x40,
    kBreak = 0x20,
    kPrefix = 0x10,
    kIllegalPair = 0x08,
    kSuffix = 0x04,
    kEnd = 0x02,
    kNotEnd = 0x01,
};

struct Unit {
    char text[3];
    uint8_t flags;
};

extern const Unit kUnits[kUnitCount];
extern const uint8_t kDigram[kUnitCount][kUnitCount];

const int kFrequencyCount = 210;
extern const uint8_t kUnitFrequency[kFrequencyCount];

const int kVowelCount = 12;
extern const uint8_t kVowelUnits[kVowelCount];

}  // namespace fips181
