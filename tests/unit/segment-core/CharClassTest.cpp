#include "lang/segment/UWord.h"

#include <gtest/gtest.h>

#include <cstdio>

using namespace Veskora::Lang;

namespace {

// One bit per character class, in the order of the table below.
constexpr unsigned AD = 1u << 0;  // IsAsciiDigit
constexpr unsigned HD = 1u << 1;  // IsHexDigit
constexpr unsigned L = 1u << 2;   // IsLetter
constexpr unsigned LD = 1u << 3;  // IsLetterOrDigit
constexpr unsigned LO = 1u << 4;  // IsLower
constexpr unsigned UP = 1u << 5;  // IsUpper
constexpr unsigned PU = 1u << 6;  // IsPunctuation
constexpr unsigned SY = 1u << 7;  // IsSymbol
constexpr unsigned SE = 1u << 8;  // IsSeparator
constexpr unsigned WS = 1u << 9;  // IsWhiteSpace
constexpr unsigned BR = 1u << 10; // IsBreakChar

unsigned ClassesOf(char16_t c) {
  return (IsAsciiDigit(c) ? AD : 0) | (IsHexDigit(c) ? HD : 0) | (IsLetter(c) ? L : 0) |
         (IsLetterOrDigit(c) ? LD : 0) | (IsLower(c) ? LO : 0) | (IsUpper(c) ? UP : 0) |
         (IsPunctuation(c) ? PU : 0) | (IsSymbol(c) ? SY : 0) | (IsSeparator(c) ? SE : 0) |
         (IsWhiteSpace(c) ? WS : 0) | (IsBreakChar(c) ? BR : 0);
}

struct CharCase {
  char16_t Char;
  unsigned Classes;
};

constexpr CharCase kCharCases[] = {
    {u'0', AD | HD | LD},
    {u'9', AD | HD | LD},
    {u'a', HD | L | LD | LO},
    {u'F', HD | L | LD | UP},
    {u'g', L | LD | LO},
    {u'G', L | LD | UP},
    {u'\u042F', L | LD | UP}, // Cyrillic capital ya
    {u'\u044F', L | LD | LO}, // Cyrillic small ya
    {u'\u01C5', L | LD},      // Lt: a letter, neither upper nor lower
    {u'\u02B0', L | LD},      // Lm
    {u'\u05D0', L | LD},      // Lo (Hebrew alef)
    {u'\u0663', LD},          // Arabic-Indic digit: Nd, not an ASCII digit
    {u'\uFF11', LD},          // fullwidth digit one: not a hex digit
    {u'\uFF21', L | LD | UP}, // fullwidth A: not a hex digit
    {u'_', PU},               // Pc, but never a break character
    {u'\u00B7', PU},          // middle dot: Po, never a break character
    {u'-', PU | BR},          // Pd
    {u'(', PU | BR},          // Ps
    {u')', PU | BR},          // Pe
    {u'\u00AB', PU | BR},     // Pi
    {u'\u00BB', PU | BR},     // Pf
    {u'!', PU | BR},          // Po
    {u'\'', PU | BR},         // apostrophe
    {u'\u2019', PU | BR},     // right single quotation mark (Pf)
    {u'+', SY | BR},          // Sm
    {u'$', SY | BR},          // Sc
    {u'^', SY | BR},          // Sk
    {u'\u00A9', SY | BR},     // So
    {u' ', SE | WS},          // Zs
    {u'\u00A0', SE | WS},     // no-break space, Zs
    {u'\u2028', SE | WS},     // Zl
    {u'\u2029', SE | WS},     // Zp
    {u'\t', WS},              // controls U+0009..U+000D are white space only
    {u'\n', WS},
    {u'\r', WS},
    {u'\u000B', WS},
    {u'\u0085', WS}, // next line (Cc)
    {u'\u0008', 0},  // other controls belong to no class
    {u'\0', 0},
    {u'\u0301', 0},                     // combining acute accent (Mn)
    {static_cast<char16_t>(0xD83D), 0}, // high surrogate
    {static_cast<char16_t>(0xDE00), 0}, // low surrogate
    {u'\uFFFF', 0},                     // noncharacter
};

class CharClassTest : public testing::TestWithParam<CharCase> {};

TEST_P(CharClassTest, BelongsToExactlyItsClasses) {
  const CharCase &c = GetParam();
  EXPECT_EQ(ClassesOf(c.Char), c.Classes) << std::hex << "U+" << static_cast<unsigned>(c.Char);
}

INSTANTIATE_TEST_SUITE_P(CodeUnits, CharClassTest, testing::ValuesIn(kCharCases),
                         [](const testing::TestParamInfo<CharCase> &aInfo) {
                           char name[16];
                           std::snprintf(name, sizeof name, "U%04X",
                                         static_cast<unsigned>(aInfo.param.Char));
                           return std::string(name);
                         });

TEST(NonBreakingCharsTest, AreLowLineAndMiddleDot) {
  EXPECT_EQ(NonBreakingChars, std::u16string_view(u"_\u00B7"));
  for (char16_t c : NonBreakingChars)
    EXPECT_FALSE(IsBreakChar(c));
}

} // namespace
