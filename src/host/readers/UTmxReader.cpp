// TMX 1.4: tu/tuv/seg. The source variant is the header's srclang; the target variant is the
// requested language, or the first language of the file that starts with "ru".
#include "host/readers/UReaderInternals.h"

#include <algorithm>
#include <vector>

namespace Ryvel::Host::Detail {
namespace {

std::string Lower(std::string_view s) {
  std::string out(s);
  std::transform(out.begin(), out.end(), out.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return out;
}

// "ru" matches "ru", "RU-ru" and "ru-RU"; "ru-RU" matches "ru-ru" only.
bool LanguageMatches(std::string_view aLang, const std::string &aWanted) {
  const std::string lang = Lower(aLang);
  return lang == aWanted || (lang.size() > aWanted.size() && lang.rfind(aWanted, 0) == 0 &&
                             lang[aWanted.size()] == '-');
}

std::string TuvLanguage(const pugi::xml_node &aTuv) {
  const char *lang = AttributeValue(aTuv, "lang"); // xml:lang (1.4) or lang (1.1)
  return lang ? std::string(lang) : std::string();
}

std::vector<pugi::xml_node> Children(const pugi::xml_node &aNode, std::string_view aName) {
  std::vector<pugi::xml_node> out;
  for (const pugi::xml_node c : aNode.children())
    if (c.type() == pugi::node_element && LocalName(c.name()) == aName)
      out.push_back(c);
  return out;
}

} // namespace

void ReadTmx(const std::filesystem::path &aPath, const TReadOptions &aOptions,
             const TSegmentSink &aSink) {
  const TXmlFile file(aPath, aOptions.Progress);
  const pugi::xml_node root = file.Document().document_element();
  if (LocalName(root.name()) != "tmx")
    file.Fail(root, "expected the root element <tmx>, found <" + std::string(root.name()) + ">");
  const pugi::xml_node header = root.child("header");
  const std::string srcLang = Lower(header.attribute("srclang").value());
  const pugi::xml_node body = root.child("body");
  const std::vector<pugi::xml_node> units = Children(body, "tu");

  // The target language: as requested, else the first "ru..." of the file; then every unit
  // is matched against that one language so a file with ru-RU and ru-UA is not mixed.
  std::string wanted = Lower(aOptions.TargetLang);
  bool anyVariant = false;
  if (wanted.empty()) {
    for (const pugi::xml_node tu : units) {
      for (const pugi::xml_node tuv : Children(tu, "tuv")) {
        anyVariant = true;
        if (LanguageMatches(TuvLanguage(tuv), "ru")) {
          wanted = Lower(TuvLanguage(tuv));
          break;
        }
      }
      if (!wanted.empty())
        break;
    }
    if (wanted.empty()) {
      if (anyVariant)
        file.Fail(body, "no <tuv> in a language starting with 'ru'; name the target language "
                        "with --target-lang");
      return;
    }
  }

  bool found = false;
  for (size_t i = 0; i < units.size(); ++i) {
    const pugi::xml_node tu = units[i];
    pugi::xml_node sourceSeg, targetSeg;
    for (const pugi::xml_node tuv : Children(tu, "tuv")) {
      const std::string lang = TuvLanguage(tuv);
      if (!targetSeg && LanguageMatches(lang, wanted))
        targetSeg = tuv.child("seg");
      else if (!sourceSeg && (srcLang.empty() || srcLang == "*all*" || Lower(lang) == srcLang))
        sourceSeg = tuv.child("seg");
    }
    if (!targetSeg)
      continue;
    found = true;
    std::string target = RenderInline(targetSeg);
    if (target.empty())
      continue;
    const pugi::xml_attribute tuid = tu.attribute("tuid");
    aSink(TSourceSegment{tuid ? std::string(tuid.value()) : std::to_string(i + 1),
                         RenderInline(sourceSeg),
                         std::move(target),
                         {}});
  }
  if (!found && !units.empty() && !aOptions.TargetLang.empty())
    file.Fail(body, "no <tuv> in the target language '" + aOptions.TargetLang + "'");
}

} // namespace Ryvel::Host::Detail
