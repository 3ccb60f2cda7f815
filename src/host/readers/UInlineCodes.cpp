// Inline codes of XLIFF and TMX as a QA host hands them to a check: the plug-in's tokenizer
// recognises tags, so every code becomes markup and only real text stays text.
#include "host/readers/UReaderInternals.h"

#include <cstdlib>

namespace Ryvel::Host::Detail {
namespace {

enum class TCodeKind { Paired, Placeholder, CodePoint };

TCodeKind KindOf(std::string_view aLocalName) {
  // Codes whose native content (the original markup) must not reach the check.
  static constexpr std::string_view placeholders[] = {"x",  "bx", "ex", "ph", "bpt", "ept",
                                                      "it", "sc", "ec", "sm", "em",  "ut"};
  for (const std::string_view p : placeholders)
    if (aLocalName == p)
      return TCodeKind::Placeholder;
  if (aLocalName == "cp")
    return TCodeKind::CodePoint;
  // g, pc, mrk, hi, and anything unknown: keep the text, mark its bounds.
  return TCodeKind::Paired;
}

void AppendEscaped(std::string &aOut, const char *aValue) {
  for (const char *p = aValue; *p; ++p) {
    switch (*p) {
    case '&':
      aOut += "&amp;";
      break;
    case '<':
      aOut += "&lt;";
      break;
    case '>':
      aOut += "&gt;";
      break;
    case '"':
      aOut += "&quot;";
      break;
    default:
      aOut += *p;
    }
  }
}

void AppendStartTag(std::string &aOut, const pugi::xml_node &aNode, bool aEmpty) {
  aOut += '<';
  aOut += aNode.name();
  for (const pugi::xml_attribute a : aNode.attributes()) {
    aOut += ' ';
    aOut += a.name();
    aOut += "=\"";
    AppendEscaped(aOut, a.value());
    aOut += '"';
  }
  aOut += aEmpty ? "/>" : ">";
}

void AppendCodePoint(std::string &aOut, const char *aHex) {
  char *end = nullptr;
  unsigned long cp = aHex ? std::strtoul(aHex, &end, 16) : 0;
  if (!aHex || end == aHex || *end != '\0' || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
    cp = 0xFFFD;
  if (cp < 0x80) {
    aOut += static_cast<char>(cp);
  } else if (cp < 0x800) {
    aOut += static_cast<char>(0xC0 | (cp >> 6));
    aOut += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    aOut += static_cast<char>(0xE0 | (cp >> 12));
    aOut += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    aOut += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    aOut += static_cast<char>(0xF0 | (cp >> 18));
    aOut += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    aOut += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    aOut += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

} // namespace

void RenderInlineChildren(const pugi::xml_node &aElement, std::string &aOut) {
  for (const pugi::xml_node child : aElement.children()) {
    switch (child.type()) {
    case pugi::node_pcdata:
    case pugi::node_cdata:
      aOut += child.value();
      break;
    case pugi::node_element:
      switch (KindOf(LocalName(child.name()))) {
      case TCodeKind::Placeholder:
        AppendStartTag(aOut, child, true);
        break;
      case TCodeKind::CodePoint:
        AppendCodePoint(aOut, child.attribute("hex").value());
        break;
      case TCodeKind::Paired:
        AppendStartTag(aOut, child, false);
        RenderInlineChildren(child, aOut);
        aOut += "</";
        aOut += child.name();
        aOut += '>';
        break;
      }
      break;
    default:
      break; // comments and processing instructions are not text
    }
  }
}

std::string RenderInline(const pugi::xml_node &aElement) {
  std::string out;
  RenderInlineChildren(aElement, out);
  return out;
}

} // namespace Ryvel::Host::Detail
