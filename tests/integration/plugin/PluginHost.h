// The test host: the built module loaded through ryvel-qa's own loader, and a whole run in the
// host's call order.
#pragma once

#include "host/UPluginHost.h"

#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

using Ryvel::Host::TPluginModule;

// The module of this build tree; throws when it cannot be loaded.
std::filesystem::path BuiltModule();
std::unique_ptr<TPluginModule> LoadBuiltModule();

struct TestSegment {
  std::u16string source, target;
  intptr_t id;
};

// One whole run; returns (word, segment id) per finding.
std::vector<std::pair<std::u16string, intptr_t>> RunSegments(TPluginModule& aModule, int32_t aIndex,
                                                             const std::vector<TestSegment>& aSegments);

// Points every per-user folder at a fresh temporary folder for the test's lifetime.
struct TempXdg {
  TempXdg();
  ~TempXdg();
  std::filesystem::path Root, Cache, Config, Data;
};
