// The declaration object: one named check with its table of functions, and the dispatch
// from an exported entry point to the function the table binds to it.
#pragma once

#include "plugin/UPluginCommon.h"

#include <functional>
#include <string>
#include <vector>

// Callbacks bound to an object: the object is captured by the callable.
using TProcessBegin = std::function<void(void* aParams)>;
using TProcessEnd = std::function<void()>;
using TProcessSegment = std::function<void*(const TQASegmentInfo& aSegInfo)>;
using TGetFirstResult = std::function<const TQAPluginResult*()>;
using TGetNextResult = std::function<const TQAPluginResult*()>;
using TGetFunctionName = std::function<const char*()>;

struct TQAPluginFunctionInfo {
  std::string FName;
  TProcessBegin FProcessBegin;
  TProcessEnd FProcessEnd;
  TProcessSegment FProcessSegment;
  TGetFirstResult FGetFirstResult;
  TGetNextResult FGetNextResult;
  TGetFunctionName FGetFunctionName; // never assigned: the name comes from FName
};

class TDeclareInfo {
public:
  // The first declaration ever constructed becomes the process-wide one.
  TDeclareInfo(const std::u16string& aName, const std::u16string& aDescription,
               const std::u16string& aKeywords);
  TDeclareInfo(const TDeclareInfo&) = delete;
  TDeclareInfo& operator=(const TDeclareInfo&) = delete;
  virtual ~TDeclareInfo();
  virtual void LoadConfig() {}
  virtual void SaveConfig() {}

  void AddFunction(const std::string& aName, TProcessBegin aProcessBegin, TProcessEnd aProcessEnd,
                   TProcessSegment aProcessSegment, TGetFirstResult aGetFirstResult,
                   TGetNextResult aGetNextResult);

  const std::u16string& Name() const { return FName; }
  const char16_t* Description() const { return FInfo.Description; }
  uint16_t Version() const { return FInfo.Version; }
  uint16_t SourceLang() const { return FInfo.SourceLang; }
  uint16_t TargetLang() const { return FInfo.TargetLang; }
  int32_t CurrentFunc() const { return FCurrentFunc; }
  void SetCurrentFunc(int32_t aValue) { FCurrentFunc = aValue; }
  bool AllowsUnicode() const { return FInfo.AllowsUnicode != 0; }
  void SetAllowsUnicode(bool aValue) { FInfo.AllowsUnicode = aValue ? QATrue : QAFalse; }
  bool AllowsAnsi() const { return FInfo.AllowsAnsi != 0; }
  void SetAllowsAnsi(bool aValue) { FInfo.AllowsAnsi = aValue ? QATrue : QAFalse; }
  const std::u16string& ConfigFile() const { return FConfigFile; }
  void SetConfigFile(const std::u16string& aFileName) { FConfigFile = aFileName; }

  const TQAPluginDeclareInfo& Info() const { return FInfo; }
  int FunctionCount() const { return static_cast<int>(FFunctions.size()); }
  bool IsValidFunction(int32_t aIndex) const { return aIndex >= 1 && aIndex <= FunctionCount(); }
  // aIndex is a host index (1-based) that IsValidFunction accepted.
  const TQAPluginFunctionInfo& Function(int32_t aIndex) const { return FFunctions[aIndex - 1]; }

  // GetFirstFunction / GetNextFunction.
  int32_t FirstFunction();
  int32_t NextFunction();

private:
  std::u16string FName;
  TQAPluginDeclareInfo FInfo{};
  std::vector<TQAPluginFunctionInfo> FFunctions;
  int32_t FCurrentFunc = 0;
  std::u16string FConfigFile;
};

// The process-wide declaration object, or null before the first one exists.
TDeclareInfo* DeclareInfo();
