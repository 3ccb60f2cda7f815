#include "TokenizeTool.h"

#include "platform/UText.h"

#include <cstdio>

namespace RyvelTokenize {

using namespace Veskora::Lang;

std::u16string DecodeEscapes(std::u16string_view aText) {
  std::u16string out;
  out.reserve(aText.size());
  for (size_t i = 0; i < aText.size(); ++i) {
    const char16_t c = aText[i];
    if (c == u'\\' && i + 1 < aText.size()) {
      const char16_t next = aText[i + 1];
      const char16_t decoded = next == u't'    ? u'\t'
                               : next == u'n'  ? u'\n'
                               : next == u'r'  ? u'\r'
                               : next == u'\\' ? u'\\'
                                               : u'\0';
      if (decoded != u'\0') {
        out += decoded;
        ++i;
        continue;
      }
    }
    out += c;
  }
  return out;
}

std::u16string EncodeEscapes(std::u16string_view aText) {
  std::u16string out;
  out.reserve(aText.size());
  for (const char16_t c : aText) {
    switch (c) {
    case u'\t':
      out += u"\\t";
      break;
    case u'\n':
      out += u"\\n";
      break;
    case u'\r':
      out += u"\\r";
      break;
    case u'\\':
      out += u"\\\\";
      break;
    default:
      out += c;
    }
  }
  return out;
}

bool ParseOptions(std::string_view aList, TVeLWordListOptions& aOptions, std::string& aBadName) {
  aOptions = {};
  while (!aList.empty()) {
    const size_t comma = aList.find(',');
    std::string_view name = aList.substr(0, comma);
    aList = comma == std::string_view::npos ? std::string_view{} : aList.substr(comma + 1);
    while (!name.empty() && name.front() == ' ')
      name.remove_prefix(1);
    while (!name.empty() && name.back() == ' ')
      name.remove_suffix(1);
    if (name.empty())
      continue;
    if (name == "clean-detected")
      aOptions.Include(opCleanDetectedRTFEscapedChars);
    else if (name == "clean-all")
      aOptions.Include(opCleanAllRTFEscapedChars);
    else if (name == "apostrophes")
      aOptions.Include(opNonBreakableApostrophes);
    else {
      aBadName = name;
      return false;
    }
  }
  return true;
}

std::string FormatToken(const TVeLWord& aWord, std::u16string_view aSegment) {
  char flags[8];
  std::snprintf(flags, sizeof flags, "0x%04X", static_cast<unsigned>(aWord.FFlags));
  std::string line = std::to_string(aWord.FPos) + '\t' + std::to_string(aWord.FLen) + '\t';
  line += Ryvel::Platform::Utf16ToUtf8(aWord.ClassAsString()) + '\t' + flags + '\t';
  line += Ryvel::Platform::Utf16ToUtf8(aWord.FlagsAsString()) + '\t';
  line += Ryvel::Platform::Utf16ToUtf8(EncodeEscapes(aWord.TextView(aSegment)));
  return line;
}

std::string TokenizeSegment(std::u16string_view aSegment, TVeLWordListOptions aOptions,
                            const TVeLSpecialWordList* aSpecials) {
  const TVeLWordList list(aSegment, aOptions, aSpecials);
  std::string out;
  for (const TVeLWord& w : list.Words())
    out += FormatToken(w, aSegment) + '\n';
  out += '\n';
  return out;
}

} // namespace RyvelTokenize
