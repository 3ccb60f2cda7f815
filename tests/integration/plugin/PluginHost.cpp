#include "PluginHost.h"

#include "platform/UText.h"

#include <stdexcept>

namespace fs = std::filesystem;

fs::path BuiltModule() { return fs::path(RYVEL_PLUGIN_DIR) / "RyvelQASpellerH_ru_RU.so"; }

std::unique_ptr<TPluginModule> LoadBuiltModule() {
  std::string error;
  auto module = TPluginModule::Load(BuiltModule(), error);
  if (!module)
    throw std::runtime_error(error);
  return module;
}

std::vector<std::pair<std::u16string, intptr_t>>
RunSegments(TPluginModule& aModule, int32_t aIndex, const std::vector<TestSegment>& aSegments) {
  aModule.ProcessBegin(aIndex, nullptr);
  for (const auto& s : aSegments) {
    const std::string narrowSource = Ryvel::Platform::Utf16ToUtf8(s.source);
    const std::string narrowTarget = Ryvel::Platform::Utf16ToUtf8(s.target);
    TQASegmentInfo info{narrowSource.c_str(), narrowTarget.c_str(), s.source.c_str(),
                        s.target.c_str(), reinterpret_cast<void*>(s.id)};
    aModule.ProcessSegment(aIndex, info);
  }
  std::vector<std::pair<std::u16string, intptr_t>> out;
  for (const TQAPluginResult* r = aModule.GetFirstResult(aIndex); r != nullptr;
       r = aModule.GetNextResult(aIndex))
    out.emplace_back(r->Text, reinterpret_cast<intptr_t>(r->SegId));
  aModule.ProcessEnd(aIndex);
  return out;
}

TempXdg::TempXdg() {
  char tmpl[] = "/tmp/ryvel-it-XXXXXX";
  Root = mkdtemp(tmpl);
  Cache = Root / "cache";
  Config = Root / "config";
  Data = Root / "data";
  setenv("XDG_CACHE_HOME", Cache.c_str(), 1);
  setenv("XDG_CONFIG_HOME", Config.c_str(), 1);
  setenv("XDG_DATA_HOME", Data.c_str(), 1);
}

TempXdg::~TempXdg() {
  std::error_code ec;
  fs::remove_all(Root, ec);
}
