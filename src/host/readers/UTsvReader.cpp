// TSV: a header line, then id<TAB>source<TAB>target per line with \t, \n, \r and \\ escapes.
#include "host/readers/UReaderInternals.h"

#include <fstream>
#include <istream>
#include <vector>

namespace Ryvel::Host {
namespace {

uint64_t ColumnOf(std::string_view aLine, size_t aOffset) {
  uint64_t line = 0, column = 0;
  Detail::LocateOffset(aLine, aOffset, line, column);
  return column;
}

// Splits at TABs; aStarts receives the byte offset of every field.
std::vector<std::string_view> SplitFields(std::string_view aLine, std::vector<size_t> &aStarts) {
  std::vector<std::string_view> fields;
  aStarts.clear();
  size_t start = 0;
  while (true) {
    const size_t tab = aLine.find('\t', start);
    aStarts.push_back(start);
    fields.push_back(aLine.substr(start, tab == std::string_view::npos ? tab : tab - start));
    if (tab == std::string_view::npos)
      return fields;
    start = tab + 1;
  }
}

class TTsvLineReader {
public:
  TTsvLineReader(const std::string &aFileName, uint64_t aLine, std::string_view aText)
      : FFileName(aFileName), FLine(aLine), FText(aText) {}

  [[noreturn]] void Fail(size_t aOffset, const std::string &aWhat) const {
    throw EReadError(FFileName, FLine, ColumnOf(FText, aOffset), aWhat);
  }

  std::string Unescape(std::string_view aField, size_t aFieldStart) const {
    std::string out;
    out.reserve(aField.size());
    for (size_t i = 0; i < aField.size(); ++i) {
      if (aField[i] != '\\') {
        out += aField[i];
        continue;
      }
      if (i + 1 == aField.size())
        Fail(aFieldStart + i, "a lone '\\' at the end of a field (expected \\t, \\n, \\r or \\\\)");
      switch (aField[++i]) {
      case 't':
        out += '\t';
        break;
      case 'n':
        out += '\n';
        break;
      case 'r':
        out += '\r';
        break;
      case '\\':
        out += '\\';
        break;
      default:
        Fail(aFieldStart + i - 1,
             std::string("bad escape '\\") + aField[i] + "' (expected \\t, \\n, \\r or \\\\)");
      }
    }
    return out;
  }

private:
  const std::string &FFileName;
  uint64_t FLine;
  std::string_view FText;
};

} // namespace

std::string EscapeTsvField(const std::string &aText) {
  std::string out;
  out.reserve(aText.size());
  for (const char c : aText) {
    switch (c) {
    case '\t':
      out += "\\t";
      break;
    case '\n':
      out += "\\n";
      break;
    case '\r':
      out += "\\r";
      break;
    case '\\':
      out += "\\\\";
      break;
    default:
      out += c;
    }
  }
  return out;
}

void ReadTsvStream(std::istream &aInput, const std::string &aFileName, const TReadOptions &aOptions,
                   const TSegmentSink &aSink) {
  std::string line;
  std::vector<size_t> starts;
  uint64_t lineNo = 0;
  uint64_t bytes = 0, reported = 0;
  while (std::getline(aInput, line)) {
    ++lineNo;
    bytes += line.size() + 1;
    if (aOptions.Progress && bytes - reported >= (1u << 20)) {
      aOptions.Progress->Advanced(bytes);
      reported = bytes;
    }
    if (!line.empty() && line.back() == '\r')
      line.pop_back();
    std::string_view text(line);
    if (lineNo == 1 && text.substr(0, 3) == "\xEF\xBB\xBF")
      text.remove_prefix(3);
    const TTsvLineReader reader(aFileName, lineNo, text);
    const size_t valid = Detail::ValidUtf8Prefix(text);
    if (valid != text.size())
      reader.Fail(valid, "invalid UTF-8 byte sequence (TSV files are read as UTF-8)");
    if (text.empty())
      continue;
    const std::vector<std::string_view> fields = SplitFields(text, starts);
    if (fields.size() != 3) {
      const size_t at = fields.size() > 3 ? starts[3] - 1 : text.size();
      reader.Fail(at, (lineNo == 1 ? "expected the header line id<TAB>source<TAB>target, found "
                                   : "expected 3 fields id<TAB>source<TAB>target, found ") +
                          std::to_string(fields.size()) +
                          (fields.size() == 1 ? " field" : " fields"));
    }
    if (lineNo == 1)
      continue; // the header names the columns
    TSourceSegment seg;
    seg.Id = reader.Unescape(fields[0], starts[0]);
    seg.Source = reader.Unescape(fields[1], starts[1]);
    seg.Target = reader.Unescape(fields[2], starts[2]);
    if (seg.Id.empty())
      seg.Id = std::to_string(lineNo);
    if (!seg.Target.empty())
      aSink(std::move(seg));
  }
  if (aInput.bad())
    throw EReadError(aFileName, lineNo, 0, "read error");
}

namespace Detail {

void ReadTsv(const std::filesystem::path &aPath, const TReadOptions &aOptions,
             const TSegmentSink &aSink) {
  const std::string name = DisplayName(aPath);
  std::ifstream in(aPath, std::ios::binary);
  if (!in)
    throw EReadError(name, 0, 0, "cannot open the file for reading");
  std::error_code ec;
  const auto size = std::filesystem::file_size(aPath, ec);
  if (aOptions.Progress)
    aOptions.Progress->Started(name, ec ? 0 : size);
  ReadTsvStream(in, name, aOptions, aSink);
  if (aOptions.Progress)
    aOptions.Progress->Finished();
}

} // namespace Detail
} // namespace Ryvel::Host
