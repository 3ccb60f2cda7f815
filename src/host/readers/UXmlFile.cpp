// Loading an XML translation file: one buffer in memory, normalised to UTF-8, checked for
// byte sequences and entity references that pugixml would pass through silently, then
// parsed in place.
#include "host/readers/UReaderInternals.h"

#include "platform/UText.h"

#include <algorithm>
#include <cstring>
#include <fstream>

namespace Ryvel::Host::Detail {
namespace {

constexpr size_t ReadChunk = 4u << 20;

struct TBuffer {
  std::unique_ptr<char[]> Data;
  size_t Size = 0;
};

TBuffer ReadFileBytes(const std::filesystem::path &aPath, const std::string &aName,
                      IReadProgress *aProgress) {
  std::ifstream in(aPath, std::ios::binary);
  std::error_code ec;
  const auto total = std::filesystem::file_size(aPath, ec);
  if (!in || ec)
    throw EReadError(aName, 0, 0, "cannot open the file for reading");
  TBuffer buf;
  buf.Data = std::make_unique<char[]>(static_cast<size_t>(total) + 1);
  if (aProgress)
    aProgress->Started(aName, total);
  while (buf.Size < total) {
    const size_t want = std::min<size_t>(ReadChunk, total - buf.Size);
    in.read(buf.Data.get() + buf.Size, static_cast<std::streamsize>(want));
    const auto got = static_cast<size_t>(in.gcount());
    buf.Size += got;
    if (aProgress)
      aProgress->Advanced(buf.Size);
    if (got < want)
      break; // the file shrank while we read it: parse what is there
  }
  if (in.bad())
    throw EReadError(aName, 0, 0, "read error");
  return buf;
}

TBuffer FromUtf16(std::string_view aBytes, const char *aConverter) {
  std::u16string wide;
  Platform::ConvertFromCodePage(aBytes, aConverter, wide);
  const std::string utf8 = Platform::Utf16ToUtf8(wide);
  TBuffer out;
  out.Data = std::make_unique<char[]>(utf8.size() + 1);
  std::memcpy(out.Data.get(), utf8.data(), utf8.size());
  out.Size = utf8.size();
  return out;
}

std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

// The encoding named by the XML declaration, with the offset of its value; empty when none.
std::string DeclaredEncoding(std::string_view aText, size_t &aValueOffset) {
  if (aText.substr(0, 5) != "<?xml")
    return {};
  const size_t end = aText.find("?>");
  if (end == std::string_view::npos)
    return {};
  const std::string_view decl = aText.substr(0, end);
  size_t pos = decl.find("encoding");
  if (pos == std::string_view::npos)
    return {};
  pos = decl.find_first_of("\"'", pos);
  if (pos == std::string_view::npos)
    return {};
  const size_t close = decl.find(decl[pos], pos + 1);
  if (close == std::string_view::npos)
    return {};
  aValueOffset = pos + 1;
  return std::string(decl.substr(pos + 1, close - pos - 1));
}

// Brings the file to UTF-8: a byte order mark or the XML declaration names the encoding.
TBuffer Normalise(TBuffer aBuf, const std::string &aName) {
  const std::string_view bytes(aBuf.Data.get(), aBuf.Size);
  auto starts = [&](std::string_view p) { return bytes.substr(0, p.size()) == p; };
  if (starts("\xEF\xBB\xBF")) {
    std::memmove(aBuf.Data.get(), aBuf.Data.get() + 3, aBuf.Size - 3);
    aBuf.Size -= 3;
    return aBuf;
  }
  if (starts(std::string_view("\xFF\xFE\0\0", 4)))
    return FromUtf16(bytes.substr(4), "UTF-32LE");
  if (starts(std::string_view("\0\0\xFE\xFF", 4)))
    return FromUtf16(bytes.substr(4), "UTF-32BE");
  if (starts("\xFF\xFE"))
    return FromUtf16(bytes.substr(2), "UTF-16LE");
  if (starts("\xFE\xFF"))
    return FromUtf16(bytes.substr(2), "UTF-16BE");
  if (starts(std::string_view("<\0?\0", 4)))
    return FromUtf16(bytes, "UTF-16LE");
  if (starts(std::string_view("\0<\0?", 4)))
    return FromUtf16(bytes, "UTF-16BE");

  size_t valueOffset = 0;
  const std::string declared = DeclaredEncoding(bytes, valueOffset);
  const std::string enc = Lower(declared);
  if (enc.empty() || enc == "utf-8" || enc == "utf8")
    return aBuf;
  uint64_t line = 0, column = 0;
  LocateOffset(bytes, valueOffset, line, column);
  if (enc.rfind("utf-16", 0) == 0 || enc.rfind("utf-32", 0) == 0 || enc.rfind("ucs-", 0) == 0)
    throw EReadError(aName, line, column,
                     "the XML declaration names the encoding '" + declared +
                         "', but the file is 8-bit text (expected " + declared +
                         " with a byte order mark, or encoding=\"UTF-8\")");
  if (enc == "us-ascii" || enc == "ascii") {
    const auto bad = std::find_if(bytes.begin(), bytes.end(),
                                  [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
    if (bad != bytes.end()) {
      LocateOffset(bytes, static_cast<size_t>(bad - bytes.begin()), line, column);
      throw EReadError(aName, line, column,
                       "a byte above 127 in a file that declares the encoding '" + declared + "'");
    }
    return aBuf;
  }
  std::u16string wide;
  if (!Platform::ConvertFromCodePage(bytes, declared.c_str(), wide))
    throw EReadError(aName, line, column,
                     "unknown encoding '" + declared + "' in the XML declaration");
  const std::string utf8 = Platform::Utf16ToUtf8(wide);
  TBuffer out;
  out.Data = std::make_unique<char[]>(utf8.size() + 1);
  std::memcpy(out.Data.get(), utf8.data(), utf8.size());
  out.Size = utf8.size();
  return out;
}

TBuffer LoadNormalised(const std::filesystem::path &aPath, const std::string &aName,
                       IReadProgress *aProgress) {
  return Normalise(ReadFileBytes(aPath, aName, aProgress), aName);
}

bool IsXmlChar(uint32_t c) {
  return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) ||
         (c >= 0xE000 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0x10FFFF);
}

bool IsNameStart(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == ':';
}

bool IsNameChar(char c) { return IsNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.'; }

// Checks the entity or character reference at aText[aPos] == '&'; returns an empty string
// when it is sound, else what is wrong. aAnyName accepts entities declared by a DTD.
std::string CheckReference(std::string_view aText, size_t aPos, bool aAnyName) {
  size_t i = aPos + 1;
  const size_t limit = std::min(aText.size(), aPos + 40);
  if (i < limit && aText[i] == '#') {
    ++i;
    const bool hex = i < limit && aText[i] == 'x';
    if (hex)
      ++i;
    const size_t digitsStart = i;
    uint64_t value = 0;
    while (i < limit && (hex ? std::isxdigit(static_cast<unsigned char>(aText[i]))
                             : std::isdigit(static_cast<unsigned char>(aText[i])))) {
      value = value * (hex ? 16 : 10) +
              static_cast<uint64_t>(std::isdigit(static_cast<unsigned char>(aText[i]))
                                        ? aText[i] - '0'
                                        : (std::tolower(aText[i]) - 'a' + 10));
      if (value > 0x10FFFF)
        value = 0x110000;
      ++i;
    }
    if (i == digitsStart || i >= limit || aText[i] != ';')
      return "malformed character reference (expected &#NNN; or &#xHHH;)";
    if (!IsXmlChar(static_cast<uint32_t>(value)))
      return "character reference '" + std::string(aText.substr(aPos, i + 1 - aPos)) +
             "' names a character that XML does not allow";
    return {};
  }
  if (i >= limit || !IsNameStart(aText[i]))
    return "'&' that starts no entity reference (expected &amp; for a literal '&')";
  const size_t nameStart = i;
  while (i < limit && IsNameChar(aText[i]))
    ++i;
  if (i >= limit || aText[i] != ';')
    return "unterminated entity reference (expected ';' after '&" +
           std::string(aText.substr(nameStart, i - nameStart)) + "')";
  const std::string_view name = aText.substr(nameStart, i - nameStart);
  if (aAnyName || name == "amp" || name == "lt" || name == "gt" || name == "quot" || name == "apos")
    return {};
  return "unknown entity '&" + std::string(name) +
         ";' (expected &amp;, &lt;, &gt;, &quot;, &apos; or a character reference)";
}

// One pass over the text: every byte sequence must be UTF-8, and every '&' in markup or
// character data must start a reference pugixml can resolve (it keeps unknown ones as text).
void CheckText(std::string_view aText, const std::string &aName) {
  enum class TMode { Normal, Comment, CData, Pi, Doctype };
  TMode mode = TMode::Normal;
  bool dtdEntities = false;
  int doctypeDepth = 0;
  auto fail = [&](size_t aOffset, const std::string &aWhat) {
    uint64_t line = 0, column = 0;
    LocateOffset(aText, aOffset, line, column);
    throw EReadError(aName, line, column, aWhat);
  };
  auto at = [&](size_t i, std::string_view s) { return aText.substr(i, s.size()) == s; };
  const size_t valid = ValidUtf8Prefix(aText);
  if (valid != aText.size())
    fail(valid, "invalid UTF-8 byte sequence (the file does not match its declared encoding)");
  for (size_t i = 0; i < aText.size(); ++i) {
    const char c = aText[i];
    switch (mode) {
    case TMode::Normal:
      if (c == '&') {
        const std::string what = CheckReference(aText, i, dtdEntities);
        if (!what.empty())
          fail(i, what);
      } else if (c == '<') {
        if (at(i, "<!--"))
          mode = TMode::Comment;
        else if (at(i, "<![CDATA["))
          mode = TMode::CData;
        else if (at(i, "<?"))
          mode = TMode::Pi;
        else if (at(i, "<!DOCTYPE")) {
          mode = TMode::Doctype;
          doctypeDepth = 0;
        }
      }
      break;
    case TMode::Comment:
      if (at(i, "-->")) {
        mode = TMode::Normal;
        i += 2;
      }
      break;
    case TMode::CData:
      if (at(i, "]]>")) {
        mode = TMode::Normal;
        i += 2;
      }
      break;
    case TMode::Pi:
      if (at(i, "?>")) {
        mode = TMode::Normal;
        i += 1;
      }
      break;
    case TMode::Doctype:
      if (c == '[') {
        ++doctypeDepth;
        dtdEntities = true; // an internal subset may declare entities of its own
      } else if (c == ']') {
        --doctypeDepth;
      } else if (c == '>' && doctypeDepth <= 0) {
        mode = TMode::Normal;
      }
      break;
    }
  }
}

} // namespace

size_t ValidUtf8Prefix(std::string_view aText) {
  const auto *s = reinterpret_cast<const unsigned char *>(aText.data());
  const size_t n = aText.size();
  size_t i = 0;
  while (i < n) {
    const unsigned char c = s[i];
    if (c < 0x80) {
      ++i;
      continue;
    }
    size_t len = 0;
    uint32_t cp = 0;
    if (c >= 0xC2 && c <= 0xDF) {
      len = 2;
      cp = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
      len = 3;
      cp = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      len = 4;
      cp = c & 0x07;
    } else {
      return i;
    }
    if (i + len > n)
      return i;
    for (size_t k = 1; k < len; ++k) {
      if ((s[i + k] & 0xC0) != 0x80)
        return i;
      cp = (cp << 6) | (s[i + k] & 0x3F);
    }
    if ((len == 3 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) ||
        (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)))
      return i;
    i += len;
  }
  return n;
}

void LocateOffset(std::string_view aText, size_t aOffset, uint64_t &aLine, uint64_t &aColumn) {
  aOffset = std::min(aOffset, aText.size());
  aLine = 1;
  size_t lineStart = 0;
  for (size_t i = 0; i < aOffset; ++i) {
    if (aText[i] == '\n') {
      ++aLine;
      lineStart = i + 1;
    }
  }
  aColumn = 1;
  for (size_t i = lineStart; i < aOffset; ++i)
    if ((static_cast<unsigned char>(aText[i]) & 0xC0) != 0x80)
      ++aColumn;
}

TXmlFile::TXmlFile(const std::filesystem::path &aPath, IReadProgress *aProgress)
    : FPath(aPath), FFileName(DisplayName(aPath)) {
  TBuffer buf = LoadNormalised(aPath, FFileName, aProgress);
  CheckText(std::string_view(buf.Data.get(), buf.Size), FFileName);
  FBuffer = std::move(buf.Data);
  const pugi::xml_parse_result result = FDocument.load_buffer_inplace(
      FBuffer.get(), buf.Size, pugi::parse_default | pugi::parse_ws_pcdata, pugi::encoding_utf8);
  if (aProgress)
    aProgress->Finished();
  if (!result) {
    auto offset = static_cast<size_t>(result.offset);
    const size_t size = buf.Size;
    FDocument.reset();
    FBuffer.reset();
    // The in-place parse has changed the buffer; locate the fault in a fresh copy.
    const TBuffer fresh = LoadNormalised(FPath, FFileName, nullptr);
    uint64_t line = 0, column = 0;
    const std::string_view text(fresh.Data.get(), fresh.Size);
    // pugixml reports a document cut short as a tag mismatch at its last character.
    const bool cutShort = result.status == pugi::status_end_element_mismatch &&
                          text.find_first_not_of(" \t\r\n", offset) == std::string_view::npos;
    if (cutShort)
      offset = size;
    LocateOffset(text, offset, line, column);
    throw EReadError(FFileName, line, column,
                     cutShort ? std::string("unexpected end of file: an element is not closed")
                              : std::string("malformed XML: ") + result.description());
  }
}

void TXmlFile::Fail(const pugi::xml_node &aNode, const std::string &aWhat) const {
  uint64_t line = 0, column = 0;
  const ptrdiff_t offset = aNode.offset_debug();
  if (offset >= 0) {
    const TBuffer fresh = LoadNormalised(FPath, FFileName, nullptr);
    // offset_debug points at the name; the tag starts one character earlier.
    LocateOffset(std::string_view(fresh.Data.get(), fresh.Size),
                 static_cast<size_t>(offset > 0 ? offset - 1 : 0), line, column);
  }
  throw EReadError(FFileName, line, column, aWhat);
}

std::string_view LocalName(const char *aName) {
  const std::string_view name(aName);
  const size_t colon = name.rfind(':');
  return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

const char *AttributeValue(const pugi::xml_node &aNode, std::string_view aLocalName) {
  for (const pugi::xml_attribute a : aNode.attributes())
    if (LocalName(a.name()) == aLocalName)
      return a.value();
  return nullptr;
}

} // namespace Ryvel::Host::Detail
