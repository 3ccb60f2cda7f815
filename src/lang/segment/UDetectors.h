// Token pattern detectors: numbers, IPv4 addresses, versions, URIs, mail addresses, file
// masks, extensions, XML entities and operators, and the enclosing delimiter pairs.
//
// Every detector is given a range [aStart, aEnd) of the segment text and returns the end of
// what it recognised, or aStart when it recognised nothing. No detector reads outside the range,
// except DetectHostPrefix, whose prefix comparison reads the text from aStart regardless of
// aEnd (never beyond the text itself). Out-of-range or inverted ranges are clipped to the text
// and then match nothing. Nothing here allocates.
#pragma once

#include "lang/segment/UWord.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace Veskora::Lang {

// The working class and flags of one DetectToken run. A detector that recognises its pattern
// writes into it; what it writes stays even when the dispatcher rejects the end it returned.
struct TDetectWork {
  TWordClass Class = wcUnknown;
  std::uint16_t Flags = 0;
};

// The dispatcher. Starts from the character flags of the range (computed with aOptions) and
// aStartClass, tries the detectors in their fixed order and returns the first accepted end, or
// aStart. With an accepted end, aWork holds the class and flags of the recognised token.
int DetectToken(std::u16string_view aText, int aStart, int aEnd, TWordClass aStartClass,
                TVeLWordListOptions aOptions, TDetectWork &aWork);

// The same with the character flags of the range already computed (aFlags), so that a caller
// that has them does not compute them twice.
int DetectTokenWithFlags(std::u16string_view aText, int aStart, int aEnd, TWordClass aStartClass,
                         std::uint16_t aFlags, TDetectWork &aWork);

int DetectIPv4(std::u16string_view aText, int aStart, int aEnd, TDetectWork &aWork);
int DetectGroupedNumber(std::u16string_view aText, int aStart, int aEnd, char16_t aDecimal,
                        char16_t aGroup, TDetectWork &aWork);
int DetectSimpleNumber(std::u16string_view aText, int aStart, int aEnd, char16_t aDecimal,
                       TDetectWork &aWork);
int DetectVersion(std::u16string_view aText, int aStart, int aEnd, TDetectWork &aWork);
int DetectURI(std::u16string_view aText, int aStart, int aEnd, bool aSchemeRequired,
              TDetectWork &aWork);
int DetectEmail(std::u16string_view aText, int aStart, int aEnd, TDetectWork &aWork);
int DetectHostPrefix(std::u16string_view aText, int aStart, int aEnd, TDetectWork &aWork);
int DetectWildcardFileName(std::u16string_view aText, int aStart, int aEnd, TDetectWork &aWork);
int DetectExtension(std::u16string_view aText, int aStart, int aEnd, TDetectWork &aWork);
int DetectXMLEntity(std::u16string_view aText, int aStart, int aEnd, TDetectWork &aWork);
int DetectOperator(std::u16string_view aText, int aStart, int aEnd, TDetectWork &aWork);

// The length n of an opener that starts the range and whose closer ends it, or 0 when the range
// is no enclosed pair.
int MatchBracketPair(std::u16string_view aText, int aStart, int aEnd);

// One operator text and its code.
struct TMapping {
  std::u16string_view Text;
  std::uint16_t Value;
};

// Tried in this order: longer texts come first where they share a beginning.
inline constexpr std::array<TMapping, 23> OperatorMappings{{
    {u"...", OperatorCode::Ellipsis},
    {u"<>", OperatorCode::NotEqual},
    {u"<=", OperatorCode::LessOrEqual},
    {u">=", OperatorCode::GreaterOrEqual},
    {u"==", OperatorCode::Equal},
    {u"=", OperatorCode::Equal},
    {u"<", OperatorCode::Less},
    {u">", OperatorCode::Greater},
    {u"\u2260", OperatorCode::NotEqual},
    {u"\u2264", OperatorCode::LessOrEqual},
    {u"\u2265", OperatorCode::GreaterOrEqual},
    {u"\u2248", OperatorCode::Approximately},
    {u"\u2261", OperatorCode::Identical},
    {u"/", OperatorCode::Division},
    {u"\u2215", OperatorCode::Division},
    {u"\u00F7", OperatorCode::Division},
    {u"-", OperatorCode::Minus},
    {u"\u2212", OperatorCode::Minus},
    {u"\u2310", OperatorCode::Negation},
    {u"\u00B1", OperatorCode::PlusMinus},
    {u"\u221E", OperatorCode::Infinity},
    {u"*", OperatorCode::Multiplication},
    {u"+", OperatorCode::Plus},
}};

// Enclosing delimiter pairs, tried in this order (two-character pairs first).
inline constexpr std::array<std::u16string_view, 9> OpenBrackets{u"(*", u"/*", u"(", u"[",     u"{",
                                                                 u"<",  u"\"", u"'", u"\u00AB"};
inline constexpr std::array<std::u16string_view, 9> CloseBrackets{
    u"*)", u"*/", u")", u"]", u"}", u">", u"\"", u"'", u"\u00BB"};

// Host names that make a text an address without a scheme; compared case-sensitively.
inline constexpr std::array<std::u16string_view, 5> HostPrefixes{u"www.", u"ftp.", u"smtp.",
                                                                 u"mail.", u"webmail."};

} // namespace Veskora::Lang
