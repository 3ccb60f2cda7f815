// Character and string services: general categories, case mapping, collation
// and code-page conversion. Everything above this layer reaches ICU only here.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace Ryvel::Platform {

// Unicode general category of one UTF-16 code unit (ICU's UCharCategory values).
// A surrogate code unit reports U_SURROGATE.
int8_t CharType(char16_t c);

// Simple, locale-independent case mapping of one code unit. A code unit whose
// mapping lies outside the Basic Multilingual Plane (or is a surrogate) maps to itself.
char16_t ToLower(char16_t c);
char16_t ToUpper(char16_t c);

// Code unit by code unit case mapping; the result has the length of the input.
std::u16string LowerCase(std::u16string_view s);
std::u16string UpperCase(std::u16string_view s);

// Locale-aware comparison in the user's default locale (case-sensitive), <0, 0, >0.
int CompareText(std::u16string_view a, std::u16string_view b);
// The same ignoring case (secondary strength: accents still count).
int CompareTextIgnoreCase(std::u16string_view a, std::u16string_view b);
// Locale-aware order with the code-unit tie-break: 0 only for equal code units.
int CompareKeys(std::u16string_view a, std::u16string_view b);

// The collation key of CompareText: comparing two keys bytewise gives CompareText's order.
std::string SortKey(std::u16string_view s);

// UTF-8 <-> UTF-16. Invalid input never fails: every malformed sequence becomes U+FFFD.
std::u16string Utf8ToUtf16(std::string_view s);
// Lone surrogates become U+FFFD.
std::string Utf16ToUtf8(std::u16string_view s);

// UTF-16 code units from bytes; a final odd byte is dropped and, with aReplaceLoneSurrogates,
// lone surrogates become U+FFFD.
std::u16string DecodeUtf16Bytes(std::string_view aBytes, bool aBigEndian,
                                bool aReplaceLoneSurrogates);

// The text of a word-list file: the encoding comes from its byte order mark (UTF-8, UTF-16LE,
// UTF-16BE), which is not part of the text; without one the bytes are in the ANSI code page.
// Invalid sequences and lone surrogates become U+FFFD, so what is read is what a save writes.
std::u16string DecodeTextFile(std::string_view aBytes);

// Equal when ASCII letters are compared without regard to case; other code units must match.
bool SameIgnoringAsciiCase(std::u16string_view a, std::u16string_view b);

// The system ANSI code set: the one named by LC_ALL, LC_CTYPE or LANG (first set),
// as in "ru_RU.KOI8-R"; "UTF-8" when none names one.
std::string AnsiCodeSetName();
std::u16string AnsiToUtf16(std::string_view s);
std::string Utf16ToAnsi(std::u16string_view s);

// Conversion with a named ICU converter ("ISO-8859-5", "KOI8-R", "windows-1251", ...).
// Unmappable characters become the converter's substitution character.
// Returns false (and leaves the output empty) when the converter cannot be opened.
bool ConvertFromCodePage(std::string_view bytes, const char* converterName, std::u16string& out);
bool ConvertToCodePage(std::u16string_view text, const char* converterName, std::string& out);

// The converter name for a Windows code page number (28595 -> "ISO-8859-5", 20866 -> "KOI8-R",
// 65001 -> "UTF-8", 1251 -> "windows-1251", ...); empty for a number ICU does not know.
std::string CodePageConverterName(unsigned codePage);

// Whole number with the thousands separator of the user's locale ("12,345" in English).
std::u16string FormatThousands(long long value);

} // namespace Ryvel::Platform
