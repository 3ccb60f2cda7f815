#include "PluginHost.h"

#include "platform/UText.h"

#include <dlfcn.h>
#include <stdexcept>

namespace fs = std::filesystem;

std::filesystem::path BuiltModule() {
  return fs::path(RYVEL_PLUGIN_DIR) / "RyvelQASpellerH_ru_RU.so";
}

template <typename F> static void Resolve(void* h, const char* name, F& slot) {
  slot = reinterpret_cast<F>(dlsym(h, name));
  if (slot == nullptr)
    throw std::runtime_error(std::string("missing export ") + name);
}

PluginHost::PluginHost(const fs::path& aModule) {
  Handle = dlopen(aModule.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (Handle == nullptr)
    throw std::runtime_error(dlerror());
  Resolve(Handle, "GetDeclareName", GetDeclareName);
  Resolve(Handle, "GetDeclareInfo", GetDeclareInfo);
  Resolve(Handle, "GetFirstFunction", GetFirstFunction);
  Resolve(Handle, "GetNextFunction", GetNextFunction);
  Resolve(Handle, "GetFunctionName", GetFunctionName);
  Resolve(Handle, "SetConfigFile", SetConfigFile);
  Resolve(Handle, "ProcessBegin", ProcessBegin);
  Resolve(Handle, "ProcessSegment", ProcessSegment);
  Resolve(Handle, "ProcessEnd", ProcessEnd);
  Resolve(Handle, "GetFirstResult", GetFirstResult);
  Resolve(Handle, "GetNextResult", GetNextResult);
}

PluginHost::~PluginHost() {
  if (Handle != nullptr)
    dlclose(Handle);
}

std::vector<std::pair<std::u16string, intptr_t>>
PluginHost::Run(int32_t aIndex, const std::vector<Segment>& aSegments) {
  ProcessBegin(aIndex, nullptr);
  for (const auto& s : aSegments) {
    const std::string narrowSource = Ryvel::Platform::Utf16ToUtf8(s.source);
    const std::string narrowTarget = Ryvel::Platform::Utf16ToUtf8(s.target);
    TQASegmentInfo info{narrowSource.c_str(), narrowTarget.c_str(), s.source.c_str(),
                        s.target.c_str(), reinterpret_cast<void*>(s.id)};
    ProcessSegment(aIndex, info);
  }
  std::vector<std::pair<std::u16string, intptr_t>> out;
  for (const TQAPluginResult* r = GetFirstResult(aIndex); r != nullptr; r = GetNextResult(aIndex))
    out.emplace_back(r->Text, reinterpret_cast<intptr_t>(r->SegId));
  ProcessEnd(aIndex);
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
