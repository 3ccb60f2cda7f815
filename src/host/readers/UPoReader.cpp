// gettext PO through libgettextpo. The library does not tell where an entry starts, so a
// light scan of the file records the line of every msgid keyword; the library's entries come
// in file order within each domain and are matched with those lines.
#include "host/readers/UReaderInternals.h"

#include "platform/UText.h"

#include <gettext-po.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <vector>

namespace Ryvel::Host::Detail {
namespace {

constexpr const char *DefaultDomain = "messages";

// The first error libgettextpo reports. The handler is a plain C callback without a user
// pointer, so it records into this one slot; reading is single-threaded.
struct TPoErrors {
  bool Any = false;
  uint64_t Count = 0;
  uint64_t Line = 0;
  uint64_t Column = 0;
  std::string Text;
};
TPoErrors *ActiveErrors = nullptr;

uint64_t Known(size_t aValue) { return aValue == static_cast<size_t>(-1) ? 0 : aValue; }

void Record(int aSeverity, size_t aLine, size_t aColumn, const char *aText) {
  if (!ActiveErrors || aSeverity == PO_SEVERITY_WARNING)
    return;
  ++ActiveErrors->Count;
  if (ActiveErrors->Any)
    return;
  ActiveErrors->Any = true;
  ActiveErrors->Line = Known(aLine);
  ActiveErrors->Column = Known(aColumn);
  ActiveErrors->Text = aText ? aText : "syntax error";
  while (!ActiveErrors->Text.empty() && ActiveErrors->Text.back() == '\n')
    ActiveErrors->Text.pop_back();
  // The lexer notices an unterminated string after it has read the line break, and reports
  // the next line; the string is on the line before.
  if (ActiveErrors->Text == "end-of-line within string" && ActiveErrors->Line > 1)
    --ActiveErrors->Line;
}

extern "C" void PoXError(int aSeverity, po_message_t, const char *, size_t aLine, size_t aColumn,
                         int, const char *aText) {
  Record(aSeverity, aLine, aColumn, aText);
}

extern "C" void PoXError2(int aSeverity, po_message_t, const char *, size_t aLine, size_t aColumn,
                          int, const char *aText, po_message_t, const char *, size_t, size_t, int,
                          const char *) {
  Record(aSeverity, aLine, aColumn, aText);
}

struct TPoFileDeleter {
  void operator()(po_file_t f) const { po_file_free(f); }
};
using TPoFile = std::unique_ptr<std::remove_pointer_t<po_file_t>, TPoFileDeleter>;

std::string_view SkipBlanks(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
    s.remove_prefix(1);
  return s;
}

bool StartsWithKeyword(std::string_view aLine, std::string_view aKeyword) {
  return aLine.substr(0, aKeyword.size()) == aKeyword && aLine.size() > aKeyword.size() &&
         (aLine[aKeyword.size()] == ' ' || aLine[aKeyword.size()] == '\t' ||
          aLine[aKeyword.size()] == '"');
}

// Lines of the msgid keywords, per domain, in file order (obsolete entries included, as the
// library lists them too).
std::map<std::string, std::vector<uint64_t>> ScanEntryLines(const std::filesystem::path &aPath,
                                                            const std::string &aName,
                                                            IReadProgress *aProgress) {
  std::ifstream in(aPath, std::ios::binary);
  if (!in)
    throw EReadError(aName, 0, 0, "cannot open the file for reading");
  std::error_code ec;
  const auto size = std::filesystem::file_size(aPath, ec);
  if (aProgress)
    aProgress->Started(aName, ec ? 0 : size);
  std::map<std::string, std::vector<uint64_t>> lines;
  std::string domain = DefaultDomain;
  std::string line;
  uint64_t lineNo = 0, bytes = 0, reported = 0;
  while (std::getline(in, line)) {
    ++lineNo;
    bytes += line.size() + 1;
    if (aProgress && bytes - reported >= (1u << 20)) {
      aProgress->Advanced(bytes);
      reported = bytes;
    }
    std::string_view text(line);
    if (text.substr(0, 2) == "#~")
      text = SkipBlanks(text.substr(2));
    if (StartsWithKeyword(text, "msgid")) {
      lines[domain].push_back(lineNo);
    } else if (StartsWithKeyword(text, "domain")) {
      const size_t open = text.find('"');
      const size_t close = text.rfind('"');
      if (open != std::string_view::npos && close > open)
        domain = std::string(text.substr(open + 1, close - open - 1));
    }
  }
  if (aProgress)
    aProgress->Finished();
  return lines;
}

// The charset of the default domain's header entry. (po_file_domain_header would do, but it
// hands back a copy that it documents as borrowed; reading the entry itself leaks nothing.)
std::string HeaderCharset(po_file_t aFile) {
  const char *header = nullptr;
  po_message_iterator_t it = po_message_iterator(aFile, nullptr);
  for (po_message_t m = po_next_message(it); m; m = po_next_message(it)) {
    const char *msgid = po_message_msgid(m);
    if (msgid && *msgid == '\0' && !po_message_msgctxt(m) && !po_message_is_obsolete(m)) {
      header = po_message_msgstr(m);
      break;
    }
  }
  po_message_iterator_free(it);
  if (!header)
    return {};
  char *contentType = po_header_field(header, "Content-Type");
  if (!contentType)
    return {};
  std::string value(contentType);
  std::free(contentType);
  const size_t pos = value.find("charset=");
  if (pos == std::string::npos)
    return {};
  std::string charset = value.substr(pos + 8);
  charset = charset.substr(0, charset.find_first_of(" ;\t\r\n"));
  return charset;
}

bool IsUtf8Name(std::string aName) {
  std::transform(aName.begin(), aName.end(), aName.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  // "CHARSET" is the placeholder of an unfilled template.
  return aName.empty() || aName == "utf-8" || aName == "utf8" || aName == "charset" ||
         aName == "ascii" || aName == "us-ascii";
}

class TPoTextDecoder {
public:
  TPoTextDecoder(std::string aFileName, std::string aCharset)
      : FFileName(std::move(aFileName)), FCharset(std::move(aCharset)),
        FUtf8(IsUtf8Name(FCharset)) {
    std::u16string probe;
    if (!FUtf8 && !Platform::ConvertFromCodePage("", FCharset.c_str(), probe))
      throw EReadError(FFileName, 0, 0,
                       "unknown charset '" + FCharset + "' in the header's Content-Type");
  }

  std::string Decode(const char *aText, uint64_t aLine) const {
    if (!aText)
      return {};
    const std::string_view text(aText);
    if (!FUtf8) {
      std::u16string wide;
      Platform::ConvertFromCodePage(text, FCharset.c_str(), wide);
      return Platform::Utf16ToUtf8(wide);
    }
    if (ValidUtf8Prefix(text) != text.size())
      throw EReadError(FFileName, aLine, 0,
                       "invalid UTF-8 in this entry (the header declares charset=" +
                           (FCharset.empty() ? std::string("UTF-8") : FCharset) + ")");
    return std::string(text);
  }

private:
  std::string FFileName;
  std::string FCharset;
  bool FUtf8;
};

void EmitMessage(po_message_t aMessage, uint64_t aLine, const TPoTextDecoder &aDecoder,
                 const TSegmentSink &aSink) {
  const std::string lineId = aLine ? std::to_string(aLine) : std::string("?");
  const std::string context = aDecoder.Decode(po_message_msgctxt(aMessage), aLine);
  const std::string msgid = aDecoder.Decode(po_message_msgid(aMessage), aLine);
  if (const char *plural = po_message_msgid_plural(aMessage)) {
    const std::string msgidPlural = aDecoder.Decode(plural, aLine);
    for (int i = 0;; ++i) {
      const char *form = po_message_msgstr_plural(aMessage, i);
      if (!form)
        break;
      std::string target = aDecoder.Decode(form, aLine);
      if (!target.empty())
        aSink(TSourceSegment{lineId + "[" + std::to_string(i) + "]", i == 0 ? msgid : msgidPlural,
                             std::move(target), context});
    }
    return;
  }
  std::string target = aDecoder.Decode(po_message_msgstr(aMessage), aLine);
  if (!target.empty())
    aSink(TSourceSegment{lineId, msgid, std::move(target), context});
}

} // namespace

void ReadPo(const std::filesystem::path &aPath, const TReadOptions &aOptions,
            const TSegmentSink &aSink) {
  const std::string name = DisplayName(aPath);
  auto entryLines = ScanEntryLines(aPath, name, aOptions.Progress);

  TPoErrors errors;
  ActiveErrors = &errors;
  po_xerror_handler handler{PoXError, PoXError2};
  TPoFile file(po_file_read(aPath.c_str(), &handler));
  ActiveErrors = nullptr;
  if (errors.Any) {
    std::string what = errors.Text;
    if (errors.Count > 1)
      what += " (and " + std::to_string(errors.Count - 1) + " more errors)";
    throw EReadError(name, errors.Line, errors.Column, what);
  }
  if (!file)
    throw EReadError(name, 0, 0, "cannot read the file");

  const TPoTextDecoder decoder(name, HeaderCharset(file.get()));
  for (const char *const *domain = po_file_domains(file.get()); domain && *domain; ++domain) {
    const std::vector<uint64_t> &lines = entryLines[*domain];
    po_message_iterator_t it = po_message_iterator(file.get(), *domain);
    size_t index = 0;
    for (po_message_t m = po_next_message(it); m; m = po_next_message(it), ++index) {
      const uint64_t line = index < lines.size() ? lines[index] : 0;
      const char *msgid = po_message_msgid(m);
      const bool header = msgid && *msgid == '\0' && !po_message_msgctxt(m);
      if (header || po_message_is_obsolete(m) || (aOptions.SkipFuzzy && po_message_is_fuzzy(m)))
        continue;
      try {
        EmitMessage(m, line, decoder, aSink);
      } catch (...) {
        po_message_iterator_free(it);
        throw;
      }
    }
    po_message_iterator_free(it);
  }
}

} // namespace Ryvel::Host::Detail
