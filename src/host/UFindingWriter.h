// Printing the findings of a QA run: aligned text, TSV, or JSON (one object a line).
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace Ryvel::Host {

enum class TOutputFormat { Text, Tsv, Json };

// One finding with everything a reader of the report needs to find it again.
struct TReportLine {
  std::string File;
  std::string Id;
  std::string Word;
  std::string Source;
  std::string Target;
  std::string Context; // PO msgctxt, may be empty
};

void WriteFindings(std::ostream &aOut, TOutputFormat aFormat,
                   const std::vector<TReportLine> &aLines);

} // namespace Ryvel::Host
