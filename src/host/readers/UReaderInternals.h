// Pieces the format readers share: the per-format entry points, UTF-8 checks, and the
// XML loading and inline-code rendering used by the XLIFF and TMX readers.
#pragma once

#include "host/readers/USegmentReader.h"

#include <pugixml.hpp>

#include <memory>
#include <string_view>

namespace Ryvel::Host::Detail {

void ReadXliff(const std::filesystem::path &aPath, const TReadOptions &aOptions,
               const TSegmentSink &aSink);
void ReadTmx(const std::filesystem::path &aPath, const TReadOptions &aOptions,
             const TSegmentSink &aSink);
void ReadPo(const std::filesystem::path &aPath, const TReadOptions &aOptions,
            const TSegmentSink &aSink);
void ReadTsv(const std::filesystem::path &aPath, const TReadOptions &aOptions,
             const TSegmentSink &aSink);

std::string DisplayName(const std::filesystem::path &aPath);

// Length of the valid UTF-8 prefix of aText; aText.size() when it is all valid.
size_t ValidUtf8Prefix(std::string_view aText);
// 1-based line and column (in characters) of a byte offset.
void LocateOffset(std::string_view aText, size_t aOffset, uint64_t &aLine, uint64_t &aColumn);

// A parsed XML file. The text buffer is parsed in place, so it lives as long as the document.
class TXmlFile {
public:
  // Reads, checks and parses the file; throws EReadError with the line and column of the fault.
  TXmlFile(const std::filesystem::path &aPath, IReadProgress *aProgress);
  TXmlFile(const TXmlFile &) = delete;
  TXmlFile &operator=(const TXmlFile &) = delete;

  const pugi::xml_document &Document() const { return FDocument; }
  const std::string &FileName() const { return FFileName; }
  // An error at a node of the document, located in the original file.
  [[noreturn]] void Fail(const pugi::xml_node &aNode, const std::string &aWhat) const;

private:
  std::filesystem::path FPath;
  std::string FFileName;
  std::unique_ptr<char[]> FBuffer; // owned by us; pugixml parses it in place
  pugi::xml_document FDocument;
};

// The local part of an element or attribute name ("xml:lang" -> "lang").
std::string_view LocalName(const char *aName);
// The value of the attribute whose local name is aName (any prefix); null when absent.
const char *AttributeValue(const pugi::xml_node &aNode, std::string_view aLocalName);

// Renders the content of an XLIFF or TMX text element as a QA host hands it over: text
// unescaped once, paired codes as their start and end tags, placeholder codes as one empty
// tag without their native content.
std::string RenderInline(const pugi::xml_node &aElement);
// Renders one element with its content (used for a segment marker's content).
void RenderInlineChildren(const pugi::xml_node &aElement, std::string &aOut);

} // namespace Ryvel::Host::Detail
