#include "lang/segment/UWord.h"

#include "lang/segment/UDetectors.h"
#include "platform/UText.h"

#include <algorithm>
#include <array>

namespace Veskora::Lang {

namespace {

// Unicode general categories as Ryvel::Platform::CharType reports them (ICU's stable values).
enum : std::int8_t {
  kLu = 1,
  kLl = 2,
  kLt = 3,
  kLm = 4,
  kLo = 5,
  kNd = 9,
  kZs = 12,
  kZl = 13,
  kZp = 14,
  kPd = 19,
  kPs = 20,
  kPe = 21,
  kPc = 22,
  kPo = 23,
  kSm = 24,
  kSc = 25,
  kSk = 26,
  kSo = 27,
  kPi = 28,
  kPf = 29,
};

constexpr char16_t kMiddleDot = u'\u00B7';

bool IsPunctuationCategory(std::int8_t t) {
  return t == kPc || t == kPd || t == kPs || t == kPe || t == kPi || t == kPf || t == kPo;
}
bool IsSymbolCategory(std::int8_t t) { return t == kSm || t == kSc || t == kSk || t == kSo; }
bool IsSeparatorCategory(std::int8_t t) { return t == kZs || t == kZl || t == kZp; }
bool IsLetterCategory(std::int8_t t) { return t >= kLu && t <= kLo; }

bool IsApostrophe(char16_t c) { return c == u'\'' || c == u'\u2019'; }

constexpr std::array<std::u16string_view, 12> kCharacterFlagNames{
    u"Capitalized ", u"Upper ",  u"Lower ", u"Digit ",        u"XDigit ",           u"Punctuation ",
    u"Separator ",   u"Symbol ", u"Hexa ",  u"Abbreviation ", u"UpperApostrophed ", u"Other "};
constexpr std::array<std::u16string_view, 4> kWhiteSpaceFlagNames{u"Space ", u"Tab ", u"NewLine ",
                                                                  u"Other "};
constexpr std::array<std::u16string_view, 7> kDetectedKindNames{
    u"IPv4 ", u"URI ", u"Version ", u"FileName ", u"Extension ", u"XMLEntity ", u"Placeholder "};
constexpr std::array<std::u16string_view, 7> kSpecialKindNames{
    u"Country ", u"Region ", u"City ", u"Acronym ", u"Name ", u"Organisation ", u"Product "};
// Text form of operator codes 1..16.
constexpr std::array<std::u16string_view, 16> kOperatorTexts{
    u"=", u"\u2260", u"<",      u"\u2264", u">",      u"\u2265", u"\u2248", u"\u2261",
    u"/", u"-",      u"\u2310", u"\u00B1", u"\u221E", u"x",      u"+",      u"\u2026"};
constexpr std::array<std::u16string_view, 8> kClassNames{
    u"Unknown", u"WhiteSpace", u"Word", u"Tag", u"Number", u"Symbol", u"Punctuation", u"Other"};

template <std::size_t N>
void AppendBitNames(std::u16string &aOut, std::uint16_t aBits,
                    const std::array<std::u16string_view, N> &aNames) {
  for (std::size_t i = 0; i < N; ++i)
    if (aBits & (1u << i))
      aOut += aNames[i];
}

std::uint16_t WhiteSpaceFlagsOf(std::u16string_view aText) {
  std::uint16_t flags = 0;
  for (char16_t c : aText) {
    if (c == u'\t')
      flags |= WhiteSpaceFlags::Tab;
    else if (c == u'\n' || c == u'\r')
      flags |= WhiteSpaceFlags::NewLine;
    else if (c == u' ')
      flags |= WhiteSpaceFlags::Space;
    else
      flags |= WhiteSpaceFlags::Other;
  }
  return flags;
}

bool Has(std::uint16_t aFlags, std::uint16_t aMask) { return (aFlags & aMask) != 0; }

constexpr std::uint16_t kBreakableMask =
    WordFlags::Punctuation | WordFlags::Separator | WordFlags::Symbol | WordFlags::Other;

} // namespace

// ---------------------------------------------------------------------------------------------
// Character classes

bool IsAsciiDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

bool IsHexDigit(char16_t c) {
  return IsAsciiDigit(c) || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f');
}

bool IsLetter(char16_t c) { return IsLetterCategory(Ryvel::Platform::CharType(c)); }

bool IsLetterOrDigit(char16_t c) {
  const auto t = Ryvel::Platform::CharType(c);
  return IsLetterCategory(t) || t == kNd;
}

bool IsLower(char16_t c) { return Ryvel::Platform::CharType(c) == kLl; }

bool IsUpper(char16_t c) { return Ryvel::Platform::CharType(c) == kLu; }

bool IsPunctuation(char16_t c) { return IsPunctuationCategory(Ryvel::Platform::CharType(c)); }

bool IsSymbol(char16_t c) { return IsSymbolCategory(Ryvel::Platform::CharType(c)); }

bool IsSeparator(char16_t c) { return IsSeparatorCategory(Ryvel::Platform::CharType(c)); }

bool IsWhiteSpace(char16_t c) {
  return (c >= u'\t' && c <= u'\r') || c == u'\u0085' || IsSeparator(c);
}

bool IsBreakChar(char16_t c) {
  static_assert(NonBreakingChars.size() == 2);
  if (c == NonBreakingChars[0] || c == NonBreakingChars[1])
    return false;
  const auto t = Ryvel::Platform::CharType(c);
  return IsPunctuationCategory(t) || IsSymbolCategory(t);
}

// ---------------------------------------------------------------------------------------------
// Character flags

std::uint16_t ComputeWordFlags(std::u16string_view aText, TVeLWordListOptions aOptions) {
  using namespace WordFlags;
  std::uint16_t flags = Hexa;
  bool allDigits = true;
  for (std::size_t i = 0; i < aText.size(); ++i) {
    const char16_t c = aText[i];
    if (IsHexDigit(c))
      flags |= XDigit;
    else
      flags &= static_cast<std::uint16_t>(~Hexa);
    if (IsAsciiDigit(c)) {
      flags |= Digit;
      continue;
    }
    allDigits = false;
    // One category lookup decides the rest.
    const auto t = Ryvel::Platform::CharType(c);
    if (t == kLl)
      flags |= Lower;
    else if (t == kLu)
      flags |= (i == 0) ? Capitalized : Upper;
    else if (IsPunctuationCategory(t)) {
      if (c != kMiddleDot)
        flags |= Punctuation;
    } else if (IsSeparatorCategory(t))
      flags |= Separator;
    else if (IsSymbolCategory(t))
      flags |= Symbol;
    else
      flags |= Other;
  }
  if (allDigits)
    flags &= static_cast<std::uint16_t>(~(Hexa | XDigit));
  if (!(flags & Hexa))
    flags &= static_cast<std::uint16_t>(~XDigit);
  if (aText.size() > 2 && aOptions.Contains(opNonBreakableApostrophes) && IsApostrophe(aText[1]) &&
      std::none_of(aText.begin() + 2, aText.end(), IsLower))
    flags |= UpperApostrophed;
  return flags;
}

// ---------------------------------------------------------------------------------------------
// TVeLWord

TVeLWord TVeLWord::Create(const TVeLWordList *aWordList, int aPos, int aLen, TWordClass aClass,
                          TVeLWordListOptions aOptions) {
  TVeLWord w;
  w.FWordList = aWordList;
  w.FPos = aPos;
  w.FLen = aLen;
  w.FClass = aClass;
  w.FOptions = aOptions;
  w.FFlags = 0;
  w.FExtraFlags = 0;
  return w;
}

std::u16string_view TVeLWord::TextView(std::u16string_view aSegment) const {
  if (FPos < 0 || FLen <= 0 || static_cast<std::size_t>(FPos) >= aSegment.size())
    return {};
  return aSegment.substr(static_cast<std::size_t>(FPos), static_cast<std::size_t>(FLen));
}

std::u16string TVeLWord::GetText(std::u16string_view aSegment) const {
  return std::u16string(TextView(aSegment));
}

std::u16string TVeLWord::GetText(std::u16string_view aSegment, int aPos, int aLen) const {
  const std::u16string_view text = TextView(aSegment);
  const long long start = std::max(aPos, 1);
  if (aLen <= 0 || start > static_cast<long long>(text.size()))
    return {};
  return std::u16string(
      text.substr(static_cast<std::size_t>(start - 1), static_cast<std::size_t>(aLen)));
}

void TVeLWord::SetFlags(std::u16string_view aSegment) {
  const std::u16string_view text = TextView(aSegment);
  FFlags = 0;
  switch (FClass) {
  case wcWhiteSpace:
    FFlags = WhiteSpaceFlagsOf(text);
    break;
  case wcWord: {
    // The detectors work on the token's own text, so a detected pattern must fill it all.
    FFlags = ComputeWordFlags(text, FOptions);
    const int end = static_cast<int>(text.size());
    TDetectWork work;
    if (end > 0 && DetectTokenWithFlags(text, 0, end, FClass, FFlags, work) == end) {
      FClass = work.Class;
      FFlags = work.Flags;
    }
    break;
  }
  case wcSymbol: {
    const int end = static_cast<int>(text.size());
    TDetectWork work;
    if (end > 0 && DetectOperator(text, 0, end, work) == end)
      FFlags = work.Flags;
    break;
  }
  default:
    break;
  }
}

bool TVeLWord::Breakable() const {
  return FLen > 1 && FClass == wcWord && Has(FFlags, kBreakableMask);
}

bool TVeLWord::IsNormal() const {
  return FLen > 0 && FClass == wcWord && !Has(FFlags, kBreakableMask | WordFlags::Digit);
}

bool TVeLWord::IsNormalWithNumbers() const {
  return FLen > 0 && FClass == wcWord && !Has(FFlags, kBreakableMask);
}

bool TVeLWord::IsUpperCase() const {
  return FClass == wcWord &&
         (FFlags & (WordFlags::Capitalized | WordFlags::Lower)) == WordFlags::Capitalized;
}

bool TVeLWord::IsAposUpperCase() const {
  return FClass == wcWord && Has(FFlags, WordFlags::UpperApostrophed);
}

bool TVeLWord::IsMixedCase() const {
  return FClass == wcWord && Has(FFlags, WordFlags::Lower) &&
         Has(FFlags, WordFlags::Capitalized | WordFlags::Upper);
}

bool TVeLWord::IsAbbreviation() const {
  return FClass == wcWord && Has(FFlags, WordFlags::Abbreviation);
}

std::u16string TVeLWord::ClassAsString() const {
  const auto c = static_cast<std::size_t>(FClass);
  return std::u16string(c < kClassNames.size() ? kClassNames[c] : kClassNames[0]);
}

std::u16string TVeLWord::FlagsAsString() const {
  std::u16string s;
  switch (FClass) {
  case wcWhiteSpace:
    AppendBitNames(s, FFlags, kWhiteSpaceFlagNames);
    break;
  case wcWord:
  case wcNumber:
    AppendBitNames(s, FFlags, kCharacterFlagNames);
    break;
  case wcSymbol:
    if (FFlags >= 1 && FFlags <= kOperatorTexts.size())
      s = kOperatorTexts[FFlags - 1];
    break;
  case wcOther:
    if (FFlags >= OtherKind::IPv4 && FFlags <= OtherKind::Placeholder)
      s = kDetectedKindNames[FFlags - OtherKind::IPv4];
    else if (FFlags >= OtherKind::Country && FFlags <= OtherKind::Product)
      s = kSpecialKindNames[FFlags - OtherKind::Country];
    break;
  default:
    break;
  }
  if (FExtraFlags & ExtraFlags::ParagraphEnd)
    s += u"ParagraphEnd ";
  // Trim controls and spaces at both ends.
  const auto first = std::find_if(s.begin(), s.end(), [](char16_t c) { return c > u' '; });
  const auto last = std::find_if(s.rbegin(), s.rend(), [](char16_t c) { return c > u' '; }).base();
  if (first >= last)
    return u"Unknown";
  std::u16string result(first, last);
  std::replace(result.begin(), result.end(), u' ', u'+');
  return result;
}

} // namespace Veskora::Lang
