// A test host: loads the built module with dlopen and calls its exports by name.
#pragma once

#include "plugin/UPluginCommon.h"

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

struct PluginHost {
  explicit PluginHost(const std::filesystem::path& aModule);
  ~PluginHost();
  PluginHost(const PluginHost&) = delete;
  PluginHost& operator=(const PluginHost&) = delete;

  void* Handle = nullptr;
  TGetDeclareNameFn GetDeclareName = nullptr;
  TGetDeclareInfoFn GetDeclareInfo = nullptr;
  TGetFirstFunctionFn GetFirstFunction = nullptr;
  TGetNextFunctionFn GetNextFunction = nullptr;
  TGetFunctionNameFn GetFunctionName = nullptr;
  TSetConfigFileFn SetConfigFile = nullptr;
  TProcessBeginFn ProcessBegin = nullptr;
  TProcessSegmentFn ProcessSegment = nullptr;
  TProcessEndFn ProcessEnd = nullptr;
  TGetFirstResultFn GetFirstResult = nullptr;
  TGetNextResultFn GetNextResult = nullptr;

  struct Segment {
    std::u16string source, target;
    intptr_t id;
  };
  // One whole run in the host's order; returns (word, segment id) per finding.
  std::vector<std::pair<std::u16string, intptr_t>> Run(int32_t aIndex,
                                                       const std::vector<Segment>& aSegments);
};

// The module of this build tree.
std::filesystem::path BuiltModule();

// Points every per-user folder at a fresh temporary folder for the test's lifetime.
struct TempXdg {
  TempXdg();
  ~TempXdg();
  std::filesystem::path Root, Cache, Config, Data;
};
