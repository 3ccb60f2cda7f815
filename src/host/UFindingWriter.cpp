#include "host/UFindingWriter.h"

#include "host/readers/USegmentReader.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <ostream>

namespace Ryvel::Host {
namespace {

// Width on a terminal, counted in characters (UTF-8 lead bytes).
size_t DisplayWidth(const std::string &s) {
  return static_cast<size_t>(std::count_if(
      s.begin(), s.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

// Text columns hold one line each: control characters are shown escaped.
void WritePadded(std::ostream &aOut, const std::string &aText, size_t aWidth) {
  const std::string shown = EscapeTsvField(aText);
  aOut << shown;
  for (size_t w = DisplayWidth(shown); w < aWidth; ++w)
    aOut << ' ';
}

void WriteText(std::ostream &aOut, const std::vector<TReportLine> &aLines) {
  size_t fileWidth = 0, idWidth = 0;
  for (const TReportLine &l : aLines) {
    fileWidth = std::max(fileWidth, DisplayWidth(EscapeTsvField(l.File)));
    idWidth = std::max(idWidth, DisplayWidth(EscapeTsvField(l.Id)));
  }
  for (const TReportLine &l : aLines) {
    WritePadded(aOut, l.File, fileWidth + 2);
    WritePadded(aOut, l.Id, idWidth + 2);
    aOut << EscapeTsvField(l.Word) << '\n';
  }
}

void WriteTsv(std::ostream &aOut, const std::vector<TReportLine> &aLines) {
  for (const TReportLine &l : aLines)
    aOut << EscapeTsvField(l.File) << '\t' << EscapeTsvField(l.Id) << '\t' << EscapeTsvField(l.Word)
         << '\n';
}

void WriteJson(std::ostream &aOut, const std::vector<TReportLine> &aLines) {
  for (const TReportLine &l : aLines) {
    nlohmann::ordered_json j;
    j["file"] = l.File;
    j["id"] = l.Id;
    j["word"] = l.Word;
    j["source"] = l.Source;
    j["target"] = l.Target;
    if (!l.Context.empty())
      j["context"] = l.Context;
    // File names need not be UTF-8; replace what is not rather than fail the report.
    aOut << j.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
  }
}

} // namespace

void WriteFindings(std::ostream &aOut, TOutputFormat aFormat,
                   const std::vector<TReportLine> &aLines) {
  switch (aFormat) {
  case TOutputFormat::Text:
    return WriteText(aOut, aLines);
  case TOutputFormat::Tsv:
    return WriteTsv(aOut, aLines);
  case TOutputFormat::Json:
    return WriteJson(aOut, aLines);
  }
}

} // namespace Ryvel::Host
