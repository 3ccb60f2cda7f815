// XLIFF 1.2 (trans-unit, with seg-source segmentation) and XLIFF 2.x (unit/segment).
#include "host/readers/UReaderInternals.h"

#include <cstring>
#include <vector>

namespace Ryvel::Host::Detail {
namespace {

pugi::xml_node ChildByLocalName(const pugi::xml_node &aNode, std::string_view aName) {
  for (const pugi::xml_node c : aNode.children())
    if (c.type() == pugi::node_element && LocalName(c.name()) == aName)
      return c;
  return {};
}

// Every element named aName below aRoot, in document order, without looking inside a match.
void CollectElements(const pugi::xml_node &aRoot, std::string_view aName,
                     std::vector<pugi::xml_node> &aOut) {
  for (const pugi::xml_node c : aRoot.children()) {
    if (c.type() != pugi::node_element)
      continue;
    if (LocalName(c.name()) == aName)
      aOut.push_back(c);
    else
      CollectElements(c, aName, aOut);
  }
}

bool IsSegmentMarker(const pugi::xml_node &aNode) {
  return LocalName(aNode.name()) == "mrk" &&
         std::strcmp(aNode.attribute("mtype").value(), "seg") == 0;
}

void CollectSegmentMarkers(const pugi::xml_node &aRoot, std::vector<pugi::xml_node> &aOut) {
  for (const pugi::xml_node c : aRoot.children()) {
    if (c.type() != pugi::node_element)
      continue;
    if (IsSegmentMarker(c))
      aOut.push_back(c);
    else
      CollectSegmentMarkers(c, aOut);
  }
}

void Emit(const TSegmentSink &aSink, std::string aId, std::string aSource, std::string aTarget) {
  if (aTarget.empty())
    return; // nothing translated, nothing to check
  aSink(TSourceSegment{std::move(aId), std::move(aSource), std::move(aTarget), {}});
}

std::string UnitId(const pugi::xml_node &aUnit, size_t aOrdinal) {
  const pugi::xml_attribute id = aUnit.attribute("id");
  return id ? std::string(id.value()) : std::to_string(aOrdinal);
}

void ReadVersion1Unit(const pugi::xml_node &aUnit, size_t aOrdinal, const TSegmentSink &aSink) {
  const std::string unitId = UnitId(aUnit, aOrdinal);
  const pugi::xml_node source = ChildByLocalName(aUnit, "source");
  const pugi::xml_node target = ChildByLocalName(aUnit, "target");
  if (!target)
    return;
  std::vector<pugi::xml_node> sourceSegs, targetSegs;
  if (const pugi::xml_node segSource = ChildByLocalName(aUnit, "seg-source"))
    CollectSegmentMarkers(segSource, sourceSegs);
  CollectSegmentMarkers(target, targetSegs);
  if (sourceSegs.empty() || targetSegs.empty()) {
    Emit(aSink, unitId, RenderInline(source), RenderInline(target));
    return;
  }
  const bool several = targetSegs.size() > 1;
  for (const pugi::xml_node t : targetSegs) {
    const char *mid = t.attribute("mid").value();
    std::string sourceText;
    for (const pugi::xml_node s : sourceSegs)
      if (std::strcmp(s.attribute("mid").value(), mid) == 0) {
        sourceText = RenderInline(s);
        break;
      }
    Emit(aSink, several ? unitId + "#" + mid : unitId, std::move(sourceText), RenderInline(t));
  }
}

void ReadVersion2Unit(const pugi::xml_node &aUnit, size_t aOrdinal, const TSegmentSink &aSink) {
  const std::string unitId = UnitId(aUnit, aOrdinal);
  std::vector<pugi::xml_node> segments;
  for (const pugi::xml_node c : aUnit.children())
    if (c.type() == pugi::node_element && LocalName(c.name()) == "segment")
      segments.push_back(c);
  const bool several = segments.size() > 1;
  for (size_t i = 0; i < segments.size(); ++i) {
    const pugi::xml_node target = ChildByLocalName(segments[i], "target");
    if (!target)
      continue;
    std::string id = unitId;
    if (several) {
      const pugi::xml_attribute segId = segments[i].attribute("id");
      id += "#" + (segId ? std::string(segId.value()) : std::to_string(i + 1));
    }
    Emit(aSink, std::move(id), RenderInline(ChildByLocalName(segments[i], "source")),
         RenderInline(target));
  }
}

// 1 or 2 from the version attribute, or from the namespace when the attribute is missing.
int MajorVersion(const TXmlFile &aFile, const pugi::xml_node &aRoot) {
  const std::string version = aRoot.attribute("version").value();
  if (version.empty()) {
    const std::string ns = aRoot.attribute("xmlns").value();
    return ns.find(":xliff:document:2.") != std::string::npos ? 2 : 1;
  }
  if (version == "1.0" || version == "1.1" || version == "1.2")
    return 1;
  if (version.rfind("2.", 0) == 0)
    return 2;
  aFile.Fail(aRoot, "unsupported XLIFF version '" + version + "' (expected 1.2 or 2.x)");
}

} // namespace

void ReadXliff(const std::filesystem::path &aPath, const TReadOptions &aOptions,
               const TSegmentSink &aSink) {
  const TXmlFile file(aPath, aOptions.Progress);
  const pugi::xml_node root = file.Document().document_element();
  if (LocalName(root.name()) != "xliff")
    file.Fail(root, "expected the root element <xliff>, found <" + std::string(root.name()) + ">");
  const int major = MajorVersion(file, root);
  std::vector<pugi::xml_node> units;
  CollectElements(root, major == 1 ? "trans-unit" : "unit", units);
  for (size_t i = 0; i < units.size(); ++i) {
    if (major == 1)
      ReadVersion1Unit(units[i], i + 1, aSink);
    else
      ReadVersion2Unit(units[i], i + 1, aSink);
  }
}

} // namespace Ryvel::Host::Detail
