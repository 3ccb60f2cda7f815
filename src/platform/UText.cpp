#include "platform/UText.h"

#include <unicode/coll.h>
#include <unicode/locid.h>
#include <unicode/numfmt.h>
#include <unicode/uchar.h>
#include <unicode/ucnv.h>
#include <unicode/unistr.h>
#include <unicode/ustring.h>

#include <cctype>
#include <cstdlib>
#include <memory>
#include <mutex>

namespace Ryvel::Platform {

namespace {

// The tokenizer asks for the category of every code unit of every segment: one table for the
// whole Basic Multilingual Plane answers without a call into ICU.
struct TCategoryTable {
  int8_t Category[0x10000];
  TCategoryTable() {
    for (UChar32 c = 0; c < 0x10000; ++c)
      Category[c] = u_charType(c);
  }
};

} // namespace

int8_t CharType(char16_t c) {
  static const TCategoryTable table;
  return table.Category[c];
}

char16_t ToLower(char16_t c) {
  if (c < 0x80)
    return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c;
  if (c >= 0xD800 && c <= 0xDFFF)
    return c;
  const UChar32 m = u_tolower(c);
  return m <= 0xFFFF ? static_cast<char16_t>(m) : c;
}

char16_t ToUpper(char16_t c) {
  if (c < 0x80)
    return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c;
  if (c >= 0xD800 && c <= 0xDFFF)
    return c;
  const UChar32 m = u_toupper(c);
  return m <= 0xFFFF ? static_cast<char16_t>(m) : c;
}

std::u16string LowerCase(std::u16string_view s) {
  std::u16string r(s);
  for (auto& c : r)
    c = ToLower(c);
  return r;
}

std::u16string UpperCase(std::u16string_view s) {
  std::u16string r(s);
  for (auto& c : r)
    c = ToUpper(c);
  return r;
}

namespace {

// One collator per strength for the process; ICU collators are not thread-safe for
// writes but comparisons on a const collator are, and the plug-in is single-threaded.
icu::Collator* MakeCollator(icu::Collator::ECollationStrength strength) {
  UErrorCode status = U_ZERO_ERROR;
  icu::Collator* c = icu::Collator::createInstance(icu::Locale::getDefault(), status);
  if (U_FAILURE(status) || c == nullptr) {
    status = U_ZERO_ERROR;
    c = icu::Collator::createInstance(icu::Locale::getRoot(), status);
  }
  if (c != nullptr)
    c->setStrength(strength);
  return c;
}

icu::Collator* CaseCollator() {
  static std::unique_ptr<icu::Collator> c(MakeCollator(icu::Collator::TERTIARY));
  return c.get();
}

icu::Collator* NoCaseCollator() {
  static std::unique_ptr<icu::Collator> c(MakeCollator(icu::Collator::SECONDARY));
  return c.get();
}

int Ordinal(std::u16string_view a, std::u16string_view b) {
  const int r = a.compare(b);
  return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

int Collate(icu::Collator* c, std::u16string_view a, std::u16string_view b) {
  if (c == nullptr)
    return Ordinal(a, b);
  UErrorCode status = U_ZERO_ERROR;
  const UCollationResult r =
      c->compare(reinterpret_cast<const UChar*>(a.data()), static_cast<int32_t>(a.size()),
                 reinterpret_cast<const UChar*>(b.data()), static_cast<int32_t>(b.size()), status);
  if (U_FAILURE(status))
    return Ordinal(a, b);
  return r == UCOL_LESS ? -1 : (r == UCOL_GREATER ? 1 : 0);
}

} // namespace

int CompareText(std::u16string_view a, std::u16string_view b) {
  return Collate(CaseCollator(), a, b);
}

int CompareTextIgnoreCase(std::u16string_view a, std::u16string_view b) {
  return Collate(NoCaseCollator(), a, b);
}

int CompareKeys(std::u16string_view a, std::u16string_view b) {
  const int r = CompareText(a, b);
  return r != 0 ? r : Ordinal(a, b);
}

std::string SortKey(std::u16string_view s) {
  icu::Collator* c = CaseCollator();
  std::string key;
  if (c == nullptr)
    return key;
  const icu::UnicodeString us(false, reinterpret_cast<const UChar*>(s.data()),
                              static_cast<int32_t>(s.size()));
  uint8_t buf[256];
  int32_t n = c->getSortKey(us, buf, sizeof buf);
  if (n <= static_cast<int32_t>(sizeof buf)) {
    key.assign(reinterpret_cast<const char*>(buf), n > 0 ? n - 1 : 0);
    return key;
  }
  std::string big(static_cast<size_t>(n), '\0');
  n = c->getSortKey(us, reinterpret_cast<uint8_t*>(big.data()), n);
  big.resize(n > 0 ? static_cast<size_t>(n - 1) : 0);
  return big;
}

std::u16string Utf8ToUtf16(std::string_view s) {
  std::u16string out;
  out.reserve(s.size());
  size_t i = 0;
  const size_t n = s.size();
  auto byte = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
  while (i < n) {
    const unsigned char b = byte(i);
    char32_t cp = 0xFFFD;
    size_t len = 1;
    if (b < 0x80) {
      cp = b;
    } else if (b >= 0xC2 && b <= 0xDF && i + 1 < n && (byte(i + 1) & 0xC0) == 0x80) {
      cp = ((b & 0x1Fu) << 6) | (byte(i + 1) & 0x3Fu);
      len = 2;
    } else if (b >= 0xE0 && b <= 0xEF && i + 2 < n && (byte(i + 1) & 0xC0) == 0x80 &&
               (byte(i + 2) & 0xC0) == 0x80) {
      cp = ((b & 0x0Fu) << 12) | ((byte(i + 1) & 0x3Fu) << 6) | (byte(i + 2) & 0x3Fu);
      len = 3;
      if (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF)) {
        cp = 0xFFFD;
        len = 1;
      }
    } else if (b >= 0xF0 && b <= 0xF4 && i + 3 < n && (byte(i + 1) & 0xC0) == 0x80 &&
               (byte(i + 2) & 0xC0) == 0x80 && (byte(i + 3) & 0xC0) == 0x80) {
      cp = ((b & 0x07u) << 18) | ((byte(i + 1) & 0x3Fu) << 12) | ((byte(i + 2) & 0x3Fu) << 6) |
           (byte(i + 3) & 0x3Fu);
      len = 4;
      if (cp < 0x10000 || cp > 0x10FFFF) {
        cp = 0xFFFD;
        len = 1;
      }
    }
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
    i += len;
  }
  return out;
}

std::string Utf16ToUtf8(std::u16string_view s) {
  std::string out;
  out.reserve(s.size() * 2);
  for (size_t i = 0; i < s.size(); ++i) {
    char32_t cp = s[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 &&
        s[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (s[i + 1] - 0xDC00);
      ++i;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = 0xFFFD;
    }
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }
  return out;
}

std::u16string DecodeUtf16Bytes(std::string_view aBytes, bool aBigEndian,
                                bool aReplaceLoneSurrogates) {
  std::u16string units;
  units.reserve(aBytes.size() / 2);
  for (size_t i = 0; i + 1 < aBytes.size(); i += 2) {
    const auto b0 = static_cast<unsigned char>(aBytes[i]);
    const auto b1 = static_cast<unsigned char>(aBytes[i + 1]);
    units.push_back(static_cast<char16_t>(aBigEndian ? (b0 << 8) | b1 : (b1 << 8) | b0));
  }
  if (!aReplaceLoneSurrogates)
    return units;
  auto high = [](char16_t c) { return c >= 0xD800 && c <= 0xDBFF; };
  auto low = [](char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; };
  for (size_t i = 0; i < units.size(); ++i) {
    if (high(units[i]) && i + 1 < units.size() && low(units[i + 1]))
      ++i;
    else if (high(units[i]) || low(units[i]))
      units[i] = 0xFFFD;
  }
  return units;
}

std::u16string DecodeTextFile(std::string_view aBytes) {
  if (aBytes.starts_with("\xEF\xBB\xBF"))
    return Utf8ToUtf16(aBytes.substr(3));
  if (aBytes.starts_with("\xFF\xFE"))
    return DecodeUtf16Bytes(aBytes.substr(2), false, true);
  if (aBytes.starts_with("\xFE\xFF"))
    return DecodeUtf16Bytes(aBytes.substr(2), true, true);
  return AnsiToUtf16(aBytes);
}

bool SameIgnoringAsciiCase(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size())
    return false;
  auto lower = [](char16_t c) { return (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c; };
  for (size_t i = 0; i < a.size(); ++i)
    if (lower(a[i]) != lower(b[i]))
      return false;
  return true;
}

std::string AnsiCodeSetName() {
  for (const char* var : {"LC_ALL", "LC_CTYPE", "LANG"}) {
    const char* v = std::getenv(var);
    if (v == nullptr || *v == '\0')
      continue;
    // The first variable that is set decides, as it does for setlocale.
    std::string value(v);
    const auto dot = value.find('.');
    if (dot == std::string::npos)
      return "UTF-8";
    std::string set = value.substr(dot + 1);
    const auto at = set.find('@');
    if (at != std::string::npos)
      set.resize(at);
    return set.empty() ? "UTF-8" : set;
  }
  return "UTF-8";
}

namespace {

struct ConverterCloser {
  void operator()(UConverter* c) const { ucnv_close(c); }
};
using ConverterPtr = std::unique_ptr<UConverter, ConverterCloser>;

ConverterPtr OpenConverter(const char* name) {
  UErrorCode status = U_ZERO_ERROR;
  ConverterPtr c(ucnv_open(name, &status));
  if (U_FAILURE(status))
    return nullptr;
  return c;
}

} // namespace

bool ConvertFromCodePage(std::string_view bytes, const char* converterName, std::u16string& out) {
  out.clear();
  ConverterPtr c = OpenConverter(converterName);
  if (!c)
    return false;
  if (bytes.empty())
    return true;
  out.resize(bytes.size() * 2 + 2);
  UErrorCode status = U_ZERO_ERROR;
  int32_t n = ucnv_toUChars(c.get(), reinterpret_cast<UChar*>(out.data()),
                            static_cast<int32_t>(out.size()), bytes.data(),
                            static_cast<int32_t>(bytes.size()), &status);
  if (status == U_BUFFER_OVERFLOW_ERROR) {
    status = U_ZERO_ERROR;
    out.resize(static_cast<size_t>(n) + 1);
    n = ucnv_toUChars(c.get(), reinterpret_cast<UChar*>(out.data()),
                      static_cast<int32_t>(out.size()), bytes.data(),
                      static_cast<int32_t>(bytes.size()), &status);
  }
  if (U_FAILURE(status) && status != U_STRING_NOT_TERMINATED_WARNING) {
    out.clear();
    return false;
  }
  out.resize(static_cast<size_t>(n));
  return true;
}

bool ConvertToCodePage(std::u16string_view text, const char* converterName, std::string& out) {
  out.clear();
  ConverterPtr c = OpenConverter(converterName);
  if (!c)
    return false;
  if (text.empty())
    return true;
  out.resize(text.size() * 4 + 4);
  UErrorCode status = U_ZERO_ERROR;
  int32_t n = ucnv_fromUChars(c.get(), out.data(), static_cast<int32_t>(out.size()),
                              reinterpret_cast<const UChar*>(text.data()),
                              static_cast<int32_t>(text.size()), &status);
  if (status == U_BUFFER_OVERFLOW_ERROR) {
    status = U_ZERO_ERROR;
    out.resize(static_cast<size_t>(n) + 1);
    n = ucnv_fromUChars(c.get(), out.data(), static_cast<int32_t>(out.size()),
                        reinterpret_cast<const UChar*>(text.data()),
                        static_cast<int32_t>(text.size()), &status);
  }
  if (U_FAILURE(status) && status != U_STRING_NOT_TERMINATED_WARNING) {
    out.clear();
    return false;
  }
  out.resize(static_cast<size_t>(n));
  return true;
}

namespace {

bool IsUtf8Name(const std::string& name) {
  std::string n;
  for (char ch : name)
    if (ch != '-' && ch != '_')
      n.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(ch))));
  return n == "utf8";
}

} // namespace

std::u16string AnsiToUtf16(std::string_view s) {
  const std::string set = AnsiCodeSetName();
  if (IsUtf8Name(set))
    return Utf8ToUtf16(s);
  std::u16string out;
  if (!ConvertFromCodePage(s, set.c_str(), out))
    return Utf8ToUtf16(s);
  return out;
}

std::string Utf16ToAnsi(std::u16string_view s) {
  const std::string set = AnsiCodeSetName();
  if (IsUtf8Name(set))
    return Utf16ToUtf8(s);
  std::string out;
  if (!ConvertToCodePage(s, set.c_str(), out))
    return Utf16ToUtf8(s);
  return out;
}

std::string CodePageConverterName(unsigned codePage) {
  switch (codePage) {
  case 65001:
    return "UTF-8";
  case 20866:
    return "KOI8-R";
  case 21866:
    return "KOI8-U";
  case 20127:
    return "US-ASCII";
  case 1200:
    return "UTF-16LE";
  case 1201:
    return "UTF-16BE";
  default:
    break;
  }
  if (codePage >= 28591 && codePage <= 28606)
    return "ISO-8859-" + std::to_string(codePage - 28590);
  if (codePage >= 1250 && codePage <= 1258)
    return "windows-" + std::to_string(codePage);
  if (codePage == 866 || codePage == 437 || codePage == 850 || codePage == 855)
    return "ibm-" + std::to_string(codePage);
  // Let ICU decide whether it knows the number under its "cp" alias.
  const std::string name = "cp" + std::to_string(codePage);
  return OpenConverter(name.c_str()) ? name : std::string();
}

std::u16string FormatThousands(long long value) {
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<icu::NumberFormat> f(
      icu::NumberFormat::createInstance(icu::Locale::getDefault(), status));
  if (U_FAILURE(status) || !f) {
    const std::string s = std::to_string(value);
    return std::u16string(s.begin(), s.end());
  }
  f->setGroupingUsed(true);
  f->setMaximumFractionDigits(0);
  icu::UnicodeString out;
  f->format(static_cast<int64_t>(value), out);
  return std::u16string(reinterpret_cast<const char16_t*>(out.getBuffer()),
                        static_cast<size_t>(out.length()));
}

} // namespace Ryvel::Platform
