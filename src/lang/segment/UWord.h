// Character classes of the tokenizer and the token record TVeLWord.
//
// A token names a stretch of the segment text by position and length in UTF-16 code units; it
// never holds characters. Every operation that needs the characters is given the segment text
// again. All character tests work on single code units, so a surrogate code unit belongs to no
// class.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace Veskora::Lang {

// ---------------------------------------------------------------------------------------------
// Character classes (per UTF-16 code unit, over the Unicode general categories)

bool IsAsciiDigit(char16_t c);
bool IsHexDigit(char16_t c);
bool IsLetter(char16_t c);        // Lu, Ll, Lt, Lm, Lo
bool IsLetterOrDigit(char16_t c); // a letter or Nd
bool IsLower(char16_t c);         // Ll
bool IsUpper(char16_t c);         // Lu
bool IsPunctuation(char16_t c);   // Pc, Pd, Ps, Pe, Pi, Pf, Po
bool IsSymbol(char16_t c);        // Sm, Sc, Sk, So
bool IsSeparator(char16_t c);     // Zs, Zl, Zp
bool IsWhiteSpace(char16_t c);    // U+0009..U+000D, U+0085, Zs, Zl, Zp
// Punctuation or symbol, except the characters of NonBreakingChars.
bool IsBreakChar(char16_t c);

// A low line and a middle dot never split a word.
inline constexpr std::u16string_view NonBreakingChars = u"_\u00B7";

// ---------------------------------------------------------------------------------------------
// Token classes; the scanner uses the ordinals 1..3 as its states.

enum TWordClass : std::uint8_t {
  wcUnknown = 0,
  wcWhiteSpace = 1,
  wcWord = 2,
  wcTag = 3,
  wcNumber = 4,
  wcSymbol = 5,
  wcPunctuation = 6,
  wcOther = 7,
};

// Character flags of wcWord and wcNumber tokens.
namespace WordFlags {
inline constexpr std::uint16_t Capitalized = 0x0001;
inline constexpr std::uint16_t Upper = 0x0002;
inline constexpr std::uint16_t Lower = 0x0004;
inline constexpr std::uint16_t Digit = 0x0008;
inline constexpr std::uint16_t XDigit = 0x0010;
inline constexpr std::uint16_t Punctuation = 0x0020;
inline constexpr std::uint16_t Separator = 0x0040;
inline constexpr std::uint16_t Symbol = 0x0080;
inline constexpr std::uint16_t Hexa = 0x0100;
inline constexpr std::uint16_t Abbreviation = 0x0200;
inline constexpr std::uint16_t UpperApostrophed = 0x0400;
inline constexpr std::uint16_t Other = 0x0800;
} // namespace WordFlags

// Flags of wcWhiteSpace tokens: one bit per kind of code unit present.
namespace WhiteSpaceFlags {
inline constexpr std::uint16_t Space = 0x0001;
inline constexpr std::uint16_t Tab = 0x0002;
inline constexpr std::uint16_t NewLine = 0x0004;
inline constexpr std::uint16_t Other = 0x0008;
} // namespace WhiteSpaceFlags

// Kind codes of wcOther tokens: detected patterns and special-word types.
namespace OtherKind {
inline constexpr std::uint16_t Untyped = 0;
inline constexpr std::uint16_t IPv4 = 1;
inline constexpr std::uint16_t URI = 2;
inline constexpr std::uint16_t Version = 3;
inline constexpr std::uint16_t FileName = 4;
inline constexpr std::uint16_t Extension = 5;
inline constexpr std::uint16_t XMLEntity = 6;
// A format placeholder of program text ("%s", "%1$d", "{name}"), marked by the word list.
inline constexpr std::uint16_t Placeholder = 7;
inline constexpr std::uint16_t Country = 101;
inline constexpr std::uint16_t Region = 102;
inline constexpr std::uint16_t City = 103;
inline constexpr std::uint16_t Acronym = 104;
inline constexpr std::uint16_t Name = 105;
inline constexpr std::uint16_t Organisation = 106;
inline constexpr std::uint16_t Product = 107;
} // namespace OtherKind

// Operator codes of wcSymbol tokens (0: no known operator).
namespace OperatorCode {
inline constexpr std::uint16_t None = 0;
inline constexpr std::uint16_t Equal = 1;
inline constexpr std::uint16_t NotEqual = 2;
inline constexpr std::uint16_t Less = 3;
inline constexpr std::uint16_t LessOrEqual = 4;
inline constexpr std::uint16_t Greater = 5;
inline constexpr std::uint16_t GreaterOrEqual = 6;
inline constexpr std::uint16_t Approximately = 7;
inline constexpr std::uint16_t Identical = 8;
inline constexpr std::uint16_t Division = 9;
inline constexpr std::uint16_t Minus = 10;
inline constexpr std::uint16_t Negation = 11;
inline constexpr std::uint16_t PlusMinus = 12;
inline constexpr std::uint16_t Infinity = 13;
inline constexpr std::uint16_t Multiplication = 14;
inline constexpr std::uint16_t Plus = 15;
inline constexpr std::uint16_t Ellipsis = 16;
} // namespace OperatorCode

// Bits of TVeLWord::FExtraFlags.
namespace ExtraFlags {
inline constexpr std::uint16_t ParagraphEnd = 0x0001;
} // namespace ExtraFlags

// ---------------------------------------------------------------------------------------------
// Options of a word list. They live here because a token reads them for its flags; the word
// list names them TVeLWordList::TOption / TOptions.

enum TVeLWordListOption : std::uint8_t {
  opCleanDetectedRTFEscapedChars = 0,
  opCleanAllRTFEscapedChars = 1,
  opNonBreakableApostrophes = 2,
};

// A set of word list options in one byte, bit i for the option with ordinal i.
class TVeLWordListOptions {
public:
  constexpr TVeLWordListOptions() = default;
  constexpr explicit TVeLWordListOptions(std::uint8_t aBits) : FBits(aBits & 0x07) {}
  constexpr TVeLWordListOptions(std::initializer_list<TVeLWordListOption> aOptions) {
    for (auto o : aOptions)
      Include(o);
  }
  constexpr bool Contains(TVeLWordListOption aOption) const { return (FBits >> aOption) & 1u; }
  constexpr void Include(TVeLWordListOption aOption) {
    FBits |= static_cast<std::uint8_t>(1u << aOption);
  }
  constexpr void Exclude(TVeLWordListOption aOption) {
    FBits &= static_cast<std::uint8_t>(~(1u << aOption));
  }
  constexpr std::uint8_t Bits() const { return FBits; }
  constexpr bool operator==(const TVeLWordListOptions &) const = default;

private:
  std::uint8_t FBits = 0;
};

// The character flags of a text (one pass, no allocation). aOptions steers the
// UpperApostrophed rule (opNonBreakableApostrophes).
std::uint16_t ComputeWordFlags(std::u16string_view aText, TVeLWordListOptions aOptions);

// ---------------------------------------------------------------------------------------------
// The token record.

class TVeLWordList;

class TVeLWord {
public:
  using TWordClass = Veskora::Lang::TWordClass;

  // A token of aWordList (borrowed, may be null) with the list's options, which the
  // apostrophe rule of the flags reads. FFlags is not computed; FExtraFlags is cleared.
  static TVeLWord Create(const TVeLWordList *aWordList, int aPos, int aLen, TWordClass aClass,
                         TVeLWordListOptions aOptions = {});

  // Recomputes FFlags from the token's text in aSegment; may turn a wcWord token into a
  // detected token (number, address, operator ...). FExtraFlags stays.
  void SetFlags(std::u16string_view aSegment);

  // The token's text without copying, clipped to aSegment.
  std::u16string_view TextView(std::u16string_view aSegment) const;
  // The FLen code units of aSegment from FPos, cut at the end of aSegment.
  std::u16string GetText(std::u16string_view aSegment) const;
  // From that text, the part starting at 1-based aPos, at most aLen code units (a start below
  // 1 counts as 1; a start past the end or a negative length gives an empty string).
  std::u16string GetText(std::u16string_view aSegment, int aPos, int aLen) const;

  bool Breakable() const;
  bool IsNormal() const;
  bool IsNormalWithNumbers() const;
  bool IsUpperCase() const;
  bool IsAposUpperCase() const;
  bool IsMixedCase() const;
  bool IsAbbreviation() const;

  // "WhiteSpace", "Word", ... ; "Unknown" for any other value.
  std::u16string ClassAsString() const;
  // The flags as "+"-joined names ("Space+Tab+ParagraphEnd"); "Unknown" when none apply.
  std::u16string FlagsAsString() const;

  int End() const { return FPos + FLen; }

  const TVeLWordList *FWordList = nullptr;
  std::int32_t FPos = 0;
  std::int32_t FLen = 0;
  TWordClass FClass = wcUnknown;
  TVeLWordListOptions FOptions; // the owning list's options, copied at Create
  std::uint16_t FFlags = 0;
  std::uint16_t FExtraFlags = 0;
};

} // namespace Veskora::Lang
