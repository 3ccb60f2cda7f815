#include "host/UPluginHost.h"

#include "platform/UFiles.h"
#include "platform/UText.h"

#include <dlfcn.h>

#include <ostream>
#include <set>

#ifndef RYVEL_QA_PLUGIN_NAME
#define RYVEL_QA_PLUGIN_NAME "RyvelQASpellerH_ru_RU.so"
#endif
#ifndef RYVEL_QA_INSTALLED_PLUGIN_RELDIR
#define RYVEL_QA_INSTALLED_PLUGIN_RELDIR "../lib/ryvel"
#endif

namespace Ryvel::Host {
namespace {

// A plug-in that enumerates without end is cut off here.
constexpr int MaxFunctions = 1000;

template <typename T> bool Resolve(void *aHandle, const char *aName, T &aOut, std::string &aError) {
  dlerror();
  void *sym = dlsym(aHandle, aName);
  if (!sym) {
    if (aError.empty())
      aError = std::string("the plug-in does not export ") + aName;
    return false;
  }
  aOut = reinterpret_cast<T>(sym);
  return true;
}

std::string WideToUtf8(const char16_t *aText) {
  return aText ? Platform::Utf16ToUtf8(std::u16string_view(aText)) : std::string();
}

std::string FixedWideToUtf8(const char16_t *aField, size_t aCapacity) {
  size_t n = 0;
  while (n < aCapacity && aField[n] != 0)
    ++n;
  return Platform::Utf16ToUtf8(std::u16string_view(aField, n));
}

} // namespace

std::unique_ptr<TPluginModule> TPluginModule::Load(const std::filesystem::path &aPath,
                                                   std::string &aError) {
  // RTLD_LOCAL: the plug-in's own symbols must not leak into the host or other modules.
  void *handle = dlopen(aPath.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    const char *why = dlerror();
    aError = "cannot load the plug-in " + aPath.string() + ": " + (why ? why : "unknown error");
    return nullptr;
  }
  std::unique_ptr<TPluginModule> m(new TPluginModule(handle));
  std::string missing;
  bool ok = Resolve(handle, "GetDeclareName", m->GetDeclareName, missing);
  ok &= Resolve(handle, "GetDeclareInfo", m->GetDeclareInfo, missing);
  ok &= Resolve(handle, "GetFirstFunction", m->GetFirstFunction, missing);
  ok &= Resolve(handle, "GetNextFunction", m->GetNextFunction, missing);
  ok &= Resolve(handle, "GetFunctionName", m->GetFunctionName, missing);
  ok &= Resolve(handle, "SetConfigFile", m->SetConfigFile, missing);
  ok &= Resolve(handle, "ProcessBegin", m->ProcessBegin, missing);
  ok &= Resolve(handle, "ProcessSegment", m->ProcessSegment, missing);
  ok &= Resolve(handle, "ProcessEnd", m->ProcessEnd, missing);
  ok &= Resolve(handle, "GetFirstResult", m->GetFirstResult, missing);
  ok &= Resolve(handle, "GetNextResult", m->GetNextResult, missing);
  if (!ok) {
    aError = aPath.string() + ": " + missing;
    return nullptr;
  }
  return m;
}

TPluginModule::~TPluginModule() {
  if (FHandle)
    dlclose(FHandle);
}

TDeclaration TQaHost::Discover(const std::filesystem::path &aConfigDir) {
  TDeclaration d;
  d.Name = WideToUtf8(FModule.GetDeclareName());
  if (const TQAPluginDeclareInfo *info = FModule.GetDeclareInfo()) {
    d.Description = FixedWideToUtf8(info->Description, QADescriptionLength);
    d.AllowsUnicode = info->AllowsUnicode != QAFalse;
    d.AllowsAnsi = info->AllowsAnsi != QAFalse;
  }
  std::set<int32_t> seen;
  for (int32_t i = FModule.GetFirstFunction(); i > 0 && d.Functions.size() < MaxFunctions;
       i = FModule.GetNextFunction()) {
    if (!seen.insert(i).second)
      break; // an enumeration that comes round again would never end
    d.Functions.push_back(TPluginFunction{i, {}});
  }
  for (TPluginFunction &f : d.Functions) {
    const char *name = FModule.GetFunctionName(f.Index);
    f.Name = name ? Platform::Utf16ToUtf8(Platform::AnsiToUtf16(name)) : std::string();
  }
  const std::filesystem::path config = aConfigDir / ("RyvelPlugin." + d.Name + ".xml");
  const std::string ansiConfig = Platform::Utf16ToAnsi(Platform::PathToUtf16(config));
  FModule.SetConfigFile(ansiConfig.c_str());
  return d;
}

std::vector<TFinding> TQaHost::Run(const TPluginFunction &aFunction, const TSegmentTable &aSegments,
                                   std::ostream *aDump, size_t &aUnknownIds) {
  const int32_t fn = aFunction.Index;
  FModule.ProcessBegin(fn, nullptr);
  for (size_t k = 0; k < aSegments.size(); ++k) {
    const TSourceSegment &seg = aSegments[k].Segment;
    // Both forms, as a host that offers both does; the buffers live through the call.
    const std::u16string wideSource = Platform::Utf8ToUtf16(seg.Source);
    const std::u16string wideTarget = Platform::Utf8ToUtf16(seg.Target);
    const std::string ansiSource = Platform::Utf16ToAnsi(wideSource);
    const std::string ansiTarget = Platform::Utf16ToAnsi(wideTarget);
    TQASegmentInfo info{};
    info.Source = ansiSource.c_str();
    info.Target = ansiTarget.c_str();
    info.WSource = wideSource.c_str();
    info.WTarget = wideTarget.c_str();
    info.SegId = reinterpret_cast<void *>(static_cast<uintptr_t>(k + 1));
    if (aDump)
      *aDump << EscapeTsvField(seg.Id) << '\t' << EscapeTsvField(seg.Target) << '\n';
    FModule.ProcessSegment(fn, info);
  }
  std::vector<TFinding> findings;
  for (const TQAPluginResult *r = FModule.GetFirstResult(fn); r; r = FModule.GetNextResult(fn)) {
    const auto id = reinterpret_cast<uintptr_t>(r->SegId);
    if (id == 0 || id > aSegments.size()) {
      ++aUnknownIds;
      continue;
    }
    findings.push_back(TFinding{static_cast<size_t>(id - 1), WideToUtf8(r->Text), aFunction.Name});
  }
  FModule.ProcessEnd(fn);
  return findings;
}

std::filesystem::path DefaultPluginPath() {
  std::error_code ec;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  const std::filesystem::path dir = ec ? std::filesystem::path(".") : exe.parent_path();
  const std::filesystem::path candidates[] = {
      dir / ".." / "plugin" / RYVEL_QA_PLUGIN_NAME,
      dir / RYVEL_QA_INSTALLED_PLUGIN_RELDIR / RYVEL_QA_PLUGIN_NAME,
  };
  for (const auto &c : candidates)
    if (std::filesystem::exists(c, ec))
      return c.lexically_normal();
  return candidates[1].lexically_normal();
}

} // namespace Ryvel::Host
