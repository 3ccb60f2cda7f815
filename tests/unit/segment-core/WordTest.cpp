#include "lang/segment/UWord.h"

#include "TestText.h"

#include <gtest/gtest.h>

using namespace Veskora::Lang;
using SegmentCoreTest::Show;

namespace {

constexpr TVeLWordListOptions kNoOptions{};
constexpr TVeLWordListOptions kApostrophes{opNonBreakableApostrophes};

// ---------------------------------------------------------------------------------------------
// ComputeWordFlags

struct FlagsCase {
  const char16_t *Text;
  TVeLWordListOptions Options;
  std::uint16_t Flags;
};

constexpr FlagsCase kFlagsCases[] = {
    {u"", kNoOptions, 0x0000},
    {u"123", kNoOptions, 0x0008},
    {u"1.5", kNoOptions, 0x0028},
    {u"XYZ", kNoOptions, 0x0003}, // Capitalized stays on an all-capital word
    {u"ABC", kNoOptions, 0x0113}, // hex letters only: Hexa and XDigit
    {u"A", kNoOptions, 0x0111},
    {u"Paris", kNoOptions, 0x0005},
    {u"iPhone", kNoOptions, 0x0006},
    {u"cafe", kNoOptions, 0x0114},
    {u"1F", kNoOptions, 0x011A},
    {u"1ABC", kNoOptions, 0x011A}, // capitals after a leading digit are Upper, not Capitalized
    {u"0x1F", kNoOptions, 0x000E}, // "x" is no hex digit
    {u"l'\u00C9COLE", kApostrophes, 0x0426},
    {u"l'\u00C9COLE", kNoOptions, 0x0026},
    {u"l\u2019\u00C9COLE", kApostrophes, 0x0426}, // typographic apostrophe
    {u"d'ABC", kApostrophes, 0x0426},             // the first code unit is not examined
    {u"l'\u00C9cole", kApostrophes, 0x0026},      // a lower-case letter after the apostrophe
    {u"l'", kApostrophes, 0x0024},                // needs more than two code units
    {u"ll'ABC", kApostrophes, 0x0026},            // the apostrophe must be the second unit
    {u"a\u00B7b", kNoOptions, 0x0004},            // middle dot: neither Punctuation nor Other
    {u"foo_bar", kNoOptions, 0x0024},             // low line is Punctuation
    {u"a b", kNoOptions, 0x0044},
    {u"$5", kNoOptions, 0x0088},
    {u"\u0663\u0664", kNoOptions, 0x0800}, // digits of another script count as Other
    {u"\u01C5a", kNoOptions, 0x0804},      // Lt
    {u"\u05D0", kNoOptions, 0x0800},       // Lo
    {u"e\u0301", kNoOptions, 0x0804},      // combining mark
    {u"a\u0001", kNoOptions, 0x0804},      // control character
    {u"\U0001D400", kNoOptions, 0x0800},   // outside the BMP: two surrogates, Other
    {u"A\U0001F600b", kNoOptions, 0x0805},
    {u"\u041C\u043E\u0441\u043A\u0432\u0430", kNoOptions, 0x0005}, // Moskva in Cyrillic
};

class ComputeWordFlagsTest : public testing::TestWithParam<FlagsCase> {};

TEST_P(ComputeWordFlagsTest, GivesTheCharacterFlags) {
  const FlagsCase &c = GetParam();
  EXPECT_EQ(ComputeWordFlags(c.Text, c.Options), c.Flags)
      << Show(c.Text) << " options " << int(c.Options.Bits());
}

INSTANTIATE_TEST_SUITE_P(Texts, ComputeWordFlagsTest, testing::ValuesIn(kFlagsCases));

// ---------------------------------------------------------------------------------------------
// SetFlags: the class and flags a token takes from its text in the segment.

struct SetFlagsCase {
  const char16_t *Segment;
  int Pos;
  int Len;
  TWordClass StartClass;
  TVeLWordListOptions Options;
  TWordClass Class;
  std::uint16_t Flags;
};

constexpr SetFlagsCase kSetFlagsCases[] = {
    {u" \t", 0, 2, wcWhiteSpace, kNoOptions, wcWhiteSpace, 0x0003},
    {u"\r\n", 0, 2, wcWhiteSpace, kNoOptions, wcWhiteSpace, 0x0004},
    {u"\u00A0", 0, 1, wcWhiteSpace, kNoOptions, wcWhiteSpace, 0x0008},
    // A cleaned escape keeps its original text in the segment: backslash and "n" are Other.
    {u"one.\\nLine", 4, 2, wcWhiteSpace, kNoOptions, wcWhiteSpace, 0x0008},
    {u"abc", 0, 3, wcWord, kNoOptions, wcWord, 0x0114},
    {u"123", 0, 3, wcWord, kNoOptions, wcNumber, 0x0008},
    {u"see 1.5 here", 4, 3, wcWord, kNoOptions, wcNumber, 0x0028},
    {u"192.168.0.1", 0, 11, wcWord, kNoOptions, wcOther, OtherKind::IPv4},
    {u"+", 0, 1, wcWord, kNoOptions, wcSymbol, OperatorCode::Plus},
    {u"-5", 0, 2, wcWord, kNoOptions, wcWord, 0x0028}, // the operator ends before "5"
    {u"abc,", 0, 4, wcWord, kNoOptions, wcWord, 0x0024},
    {u"l'\u00C9COLE", 0, 7, wcWord, kApostrophes, wcWord, 0x0426},
    {u"l'\u00C9COLE", 0, 7, wcWord, kNoOptions, wcWord, 0x0026},
    // The token's own text is all that counts: "www" alone is no host name.
    {u"www.example.com", 0, 3, wcWord, kNoOptions, wcWord, 0x0004},
    {u"\u2265", 0, 1, wcSymbol, kNoOptions, wcSymbol, OperatorCode::GreaterOrEqual},
    {u"+-", 0, 2, wcSymbol, kNoOptions, wcSymbol, 0}, // an operator that is not the whole token
    {u"%", 0, 1, wcSymbol, kNoOptions, wcSymbol, 0},
    {u".", 0, 1, wcPunctuation, kNoOptions, wcPunctuation, 0},
    {u"<b>", 0, 3, wcTag, kNoOptions, wcTag, 0},
    {u"12", 0, 2, wcNumber, kNoOptions, wcNumber, 0}, // a number's flags are not recomputed
    {u"abc", 7, 3, wcWord, kNoOptions, wcWord, 0},    // outside the segment: no text
    {u"abc", -2, 3, wcWord, kNoOptions, wcWord, 0},
    {u"abc", 1, 10, wcWord, kNoOptions, wcWord, 0x0114}, // clipped to "bc"
};

class SetFlagsTest : public testing::TestWithParam<SetFlagsCase> {};

TEST_P(SetFlagsTest, ClassifiesTheTokenText) {
  const SetFlagsCase &c = GetParam();
  TVeLWord w = TVeLWord::Create(nullptr, c.Pos, c.Len, c.StartClass, c.Options);
  w.FFlags = 0xFFFF;
  w.FExtraFlags = ExtraFlags::ParagraphEnd;
  w.SetFlags(c.Segment);
  EXPECT_EQ(w.FClass, c.Class) << Show(c.Segment);
  EXPECT_EQ(w.FFlags, c.Flags) << Show(c.Segment);
  EXPECT_EQ(w.FPos, c.Pos);
  EXPECT_EQ(w.FLen, c.Len);
  EXPECT_EQ(w.FExtraFlags, ExtraFlags::ParagraphEnd) << "extra flags are left alone";
}

INSTANTIATE_TEST_SUITE_P(Tokens, SetFlagsTest, testing::ValuesIn(kSetFlagsCases));

TEST(CreateTest, SetsPositionClassAndOptionsAndClearsExtraFlags) {
  const TVeLWord w = TVeLWord::Create(nullptr, 3, 4, wcTag, kApostrophes);
  EXPECT_EQ(w.FWordList, nullptr);
  EXPECT_EQ(w.FPos, 3);
  EXPECT_EQ(w.FLen, 4);
  EXPECT_EQ(w.End(), 7);
  EXPECT_EQ(w.FClass, wcTag);
  EXPECT_EQ(w.FOptions, kApostrophes);
  EXPECT_EQ(w.FFlags, 0);
  EXPECT_EQ(w.FExtraFlags, 0);
}

// ---------------------------------------------------------------------------------------------
// GetText

struct GetTextCase {
  int Pos, Len;         // the token
  int CopyPos, CopyLen; // 1-based copy of the token text; CopyPos 0 and CopyLen -99: whole text
  const char16_t *Text;
};

constexpr GetTextCase kGetTextCases[] = {
    {6, 5, 0, -99, u"world"},
    {6, 100, 0, -99, u"world"}, // cut at the end of the segment
    {0, 0, 0, -99, u""},
    {11, 2, 0, -99, u""},
    {20, 2, 0, -99, u""},
    {-1, 3, 0, -99, u""},
    {6, 5, 1, 3, u"wor"},
    {6, 5, 0, 3, u"wor"}, // a start below 1 counts as 1
    {6, 5, -7, 2, u"wo"},
    {6, 5, 5, 10, u"d"},
    {6, 5, 6, 1, u""}, // past the end
    {6, 5, 2, 0, u""},
    {6, 5, 2, -1, u""},
    {6, 5, 2, 2147483647, u"orld"},
    {6, 100, 2, 3, u"orl"},
};

class GetTextTest : public testing::TestWithParam<GetTextCase> {};

TEST_P(GetTextTest, CopiesWithClipping) {
  const GetTextCase &c = GetParam();
  const std::u16string segment = u"Hello world";
  const TVeLWord w = TVeLWord::Create(nullptr, c.Pos, c.Len, wcWord);
  const std::u16string text =
      c.CopyLen == -99 ? w.GetText(segment) : w.GetText(segment, c.CopyPos, c.CopyLen);
  EXPECT_EQ(Show(text), Show(c.Text));
  if (c.CopyLen == -99) {
    EXPECT_EQ(w.TextView(segment), std::u16string_view(text));
  }
}

INSTANTIATE_TEST_SUITE_P(Ranges, GetTextTest, testing::ValuesIn(kGetTextCases));

// ---------------------------------------------------------------------------------------------
// Predicates

constexpr unsigned Brk = 1u << 0; // Breakable
constexpr unsigned Nrm = 1u << 1; // IsNormal
constexpr unsigned NwN = 1u << 2; // IsNormalWithNumbers
constexpr unsigned UpC = 1u << 3; // IsUpperCase
constexpr unsigned ApU = 1u << 4; // IsAposUpperCase
constexpr unsigned Mix = 1u << 5; // IsMixedCase
constexpr unsigned Abr = 1u << 6; // IsAbbreviation

struct PredicateCase {
  TWordClass Class;
  const char16_t *Text;
  std::uint16_t ExtraBits; // flags added to the computed ones (set by later steps)
  unsigned Expected;
};

constexpr PredicateCase kPredicateCases[] = {
    {wcWord, u"Paris", 0, Nrm | NwN | Mix},
    {wcWord, u"iPhone", 0, Nrm | NwN | Mix},
    {wcWord, u"word", 0, Nrm | NwN},
    {wcWord, u"A", 0, Nrm | NwN | UpC},
    {wcWord, u"ABC", 0, Nrm | NwN | UpC},
    {wcWord, u"ABC1", 0, NwN | UpC},
    {wcWord, u"1ABC", 0, NwN},
    {wcWord, u"abc1", 0, NwN},
    {wcWord, u"foo.bar", 0, Brk},
    {wcWord, u"a b", 0, Brk},
    {wcWord, u"a+", 0, Brk},
    {wcWord, u"\u05D0\u05D1", 0, Brk}, // Other makes it breakable
    {wcWord, u",", 0, 0},              // one code unit is never breakable
    {wcWord, u"", 0, 0},               // an empty word is not normal
    {wcWord, u"etc.", WordFlags::Abbreviation, Brk | Abr},
    {wcWord, u"L'\u00C9COLE", WordFlags::UpperApostrophed, Brk | UpC | ApU},
    {wcNumber, u"123", 0, 0}, // predicates hold for words only
    {wcOther, u"Paris", 0, 0},
    {wcSymbol, u"+", 0, 0},
};

class PredicateTest : public testing::TestWithParam<PredicateCase> {};

TEST_P(PredicateTest, HoldExactlyAsExpected) {
  const PredicateCase &c = GetParam();
  const std::u16string_view text = c.Text;
  TVeLWord w = TVeLWord::Create(nullptr, 0, static_cast<int>(text.size()), c.Class);
  w.FFlags = static_cast<std::uint16_t>(ComputeWordFlags(text, kNoOptions) | c.ExtraBits);
  const unsigned got = (w.Breakable() ? Brk : 0) | (w.IsNormal() ? Nrm : 0) |
                       (w.IsNormalWithNumbers() ? NwN : 0) | (w.IsUpperCase() ? UpC : 0) |
                       (w.IsAposUpperCase() ? ApU : 0) | (w.IsMixedCase() ? Mix : 0) |
                       (w.IsAbbreviation() ? Abr : 0);
  EXPECT_EQ(got, c.Expected) << Show(text);
}

INSTANTIATE_TEST_SUITE_P(Tokens, PredicateTest, testing::ValuesIn(kPredicateCases));

// ---------------------------------------------------------------------------------------------
// Text forms

struct TextFormCase {
  TWordClass Class;
  std::uint16_t Flags;
  std::uint16_t ExtraFlags;
  const char16_t *ClassText;
  const char16_t *FlagsText;
};

constexpr TextFormCase kTextFormCases[] = {
    {wcWhiteSpace, 0x0003, 0, u"WhiteSpace", u"Space+Tab"},
    {wcWhiteSpace, 0x0003, ExtraFlags::ParagraphEnd, u"WhiteSpace", u"Space+Tab+ParagraphEnd"},
    {wcWhiteSpace, 0x000F, 0, u"WhiteSpace", u"Space+Tab+NewLine+Other"},
    {wcWord, 0x0426, 0, u"Word", u"Upper+Lower+Punctuation+UpperApostrophed"},
    {wcWord, 0x0FFF, 0, u"Word",
     u"Capitalized+Upper+Lower+Digit+XDigit+Punctuation+Separator+Symbol+Hexa+Abbreviation+"
     u"UpperApostrophed+Other"},
    {wcWord, 0, 0, u"Word", u"Unknown"},
    {wcNumber, 0x0028, 0, u"Number", u"Digit+Punctuation"},
    {wcNumber, 0, 0, u"Number", u"Unknown"},
    {wcTag, 0x0005, 0, u"Tag", u"Unknown"},
    {wcPunctuation, 0, 0, u"Punctuation", u"Unknown"},
    {wcPunctuation, 0, ExtraFlags::ParagraphEnd, u"Punctuation", u"ParagraphEnd"},
    {wcSymbol, 14, 0, u"Symbol", u"x"},
    {wcSymbol, 16, 0, u"Symbol", u"\u2026"},
    {wcSymbol, 2, 0, u"Symbol", u"\u2260"},
    {wcSymbol, 11, ExtraFlags::ParagraphEnd, u"Symbol", u"\u2310ParagraphEnd"},
    {wcSymbol, 0, 0, u"Symbol", u"Unknown"},
    {wcSymbol, 17, 0, u"Symbol", u"Unknown"},
    {wcOther, 0, 0, u"Other", u"Unknown"}, // an untyped special word
    {wcOther, 1, 0, u"Other", u"IPv4"},
    {wcOther, 6, 0, u"Other", u"XMLEntity"},
    {wcOther, 7, 0, u"Other", u"Placeholder"},
    {wcOther, 8, 0, u"Other", u"Unknown"},
    {wcOther, 101, 0, u"Other", u"Country"},
    {wcOther, 106, 0, u"Other", u"Organisation"},
    {wcOther, 107, 0, u"Other", u"Product"},
    {wcOther, 108, 0, u"Other", u"Unknown"},
    {wcUnknown, 0x00FF, 0, u"Unknown", u"Unknown"},
    {static_cast<TWordClass>(8), 0, 0, u"Unknown", u"Unknown"},
    {static_cast<TWordClass>(255), 0, ExtraFlags::ParagraphEnd, u"Unknown", u"ParagraphEnd"},
};

class TextFormTest : public testing::TestWithParam<TextFormCase> {};

TEST_P(TextFormTest, NamesClassAndFlags) {
  const TextFormCase &c = GetParam();
  TVeLWord w = TVeLWord::Create(nullptr, 0, 1, c.Class);
  w.FFlags = c.Flags;
  w.FExtraFlags = c.ExtraFlags;
  EXPECT_EQ(Show(w.ClassAsString()), Show(c.ClassText));
  EXPECT_EQ(Show(w.FlagsAsString()), Show(c.FlagsText));
}

INSTANTIATE_TEST_SUITE_P(Tokens, TextFormTest, testing::ValuesIn(kTextFormCases));

// ---------------------------------------------------------------------------------------------

TEST(WordListOptionsTest, AreOneByteWithBitPerOrdinal) {
  TVeLWordListOptions o;
  EXPECT_EQ(o.Bits(), 0);
  o.Include(opNonBreakableApostrophes);
  EXPECT_EQ(o.Bits(), 0x04);
  o.Include(opCleanDetectedRTFEscapedChars);
  EXPECT_TRUE(o.Contains(opCleanDetectedRTFEscapedChars));
  EXPECT_FALSE(o.Contains(opCleanAllRTFEscapedChars));
  o.Exclude(opNonBreakableApostrophes);
  EXPECT_EQ(o.Bits(), 0x01);
  EXPECT_EQ(TVeLWordListOptions(0xFF).Bits(), 0x07) << "unknown bits are dropped";
  EXPECT_EQ(TVeLWordListOptions({opCleanAllRTFEscapedChars}).Bits(), 0x02);
}

} // namespace
