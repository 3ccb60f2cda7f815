// Loading a QA plug-in and driving it as a QA host does: discovery, then one run per
// function in the fixed call order, collecting the findings.
#pragma once

#include "host/readers/USegmentReader.h"
#include "plugin/UPluginCommon.h"

#include <deque>
#include <filesystem>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

namespace Ryvel::Host {

// The eleven entry points of a loaded plug-in module. Owns the module handle.
class TPluginModule {
public:
  // Loads the module and resolves every entry point; null with aError set on failure.
  static std::unique_ptr<TPluginModule> Load(const std::filesystem::path &aPath,
                                             std::string &aError);
  ~TPluginModule();
  TPluginModule(const TPluginModule &) = delete;
  TPluginModule &operator=(const TPluginModule &) = delete;

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

private:
  explicit TPluginModule(void *aHandle) : FHandle(aHandle) {}
  void *FHandle;
};

// One segment of the run's table; its 1-based position is the SegId handed to the plug-in.
struct THostSegment {
  size_t File; // index into the run's file list
  TSourceSegment Segment;
};

// A deque: a table of millions of segments grows without the copy a vector makes when it
// reallocates, which would double the peak memory of a large run.
using TSegmentTable = std::deque<THostSegment>;

struct TPluginFunction {
  int32_t Index;
  std::string Name;
};

struct TDeclaration {
  std::string Name;
  std::string Description;
  bool AllowsUnicode = false;
  bool AllowsAnsi = false;
  std::vector<TPluginFunction> Functions;
};

struct TFinding {
  size_t Segment; // index into the segment table
  std::string Word;
  std::string Function;
};

// Drives one plug-in over one table of segments.
class TQaHost {
public:
  explicit TQaHost(TPluginModule &aModule) : FModule(aModule) {}

  // The discovery calls: declaration name and info, the function list, the function names,
  // and the configuration file, named RyvelPlugin.<declaration>.xml in aConfigDir.
  TDeclaration Discover(const std::filesystem::path &aConfigDir);

  // One run of aFunction: ProcessBegin, ProcessSegment per segment, GetFirstResult,
  // GetNextResult until null, ProcessEnd. Every segment handed over is also written to
  // aDump (id<TAB>target) when it is not null. Results naming a SegId the host never handed
  // over are counted in aUnknownIds and dropped.
  std::vector<TFinding> Run(const TPluginFunction &aFunction, const TSegmentTable &aSegments,
                            std::ostream *aDump, size_t &aUnknownIds);

private:
  TPluginModule &FModule;
};

// The plug-in the host loads when none is named: next to the executable in the build tree
// (<build>/bin -> <build>/plugin) or in the installed library folder (<prefix>/lib/ryvel).
std::filesystem::path DefaultPluginPath();

} // namespace Ryvel::Host
