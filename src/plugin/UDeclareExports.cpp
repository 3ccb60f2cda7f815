// The eleven exported entry points. Each works on the process-wide declaration object,
// checks the function index, and never lets an exception reach the host: a failure is
// reported through the message sink and the export returns its neutral value.
#include "plugin/UDeclare.h"

#include "platform/UMessages.h"
#include "platform/UText.h"

#include <exception>

namespace {

const char EmptyName[] = "";

void Report(const char* aExport, const char* aWhat) {
  try {
    Ryvel::Platform::ShowMessage(u"Veskora Ryvel SpellChecker",
                                 Ryvel::Platform::Utf8ToUtf16(std::string(aExport) + ": " + aWhat));
  } catch (...) {
  }
}

template <typename R, typename F> R Guarded(const char* aExport, R aNeutral, F&& aBody) noexcept {
  try {
    return aBody();
  } catch (const std::exception& e) {
    Report(aExport, e.what());
  } catch (...) {
    Report(aExport, "unknown error");
  }
  return aNeutral;
}

// The declaration when aIndex names one of its functions, else null.
TDeclareInfo* ValidFor(int32_t aIndex) {
  TDeclareInfo* d = DeclareInfo();
  return d != nullptr && d->IsValidFunction(aIndex) ? d : nullptr;
}

} // namespace

RYVEL_EXPORT const char16_t* RYVEL_STDCALL GetDeclareName() {
  return Guarded("GetDeclareName", static_cast<const char16_t*>(u""), [] {
    TDeclareInfo* d = DeclareInfo();
    return d != nullptr ? d->Name().c_str() : u"";
  });
}

RYVEL_EXPORT const TQAPluginDeclareInfo* RYVEL_STDCALL GetDeclareInfo() {
  return Guarded("GetDeclareInfo", static_cast<const TQAPluginDeclareInfo*>(nullptr), [] {
    TDeclareInfo* d = DeclareInfo();
    return d != nullptr ? &d->Info() : nullptr;
  });
}

RYVEL_EXPORT int32_t RYVEL_STDCALL GetFirstFunction() {
  return Guarded("GetFirstFunction", int32_t{0}, [] {
    TDeclareInfo* d = DeclareInfo();
    return d != nullptr ? d->FirstFunction() : 0;
  });
}

RYVEL_EXPORT int32_t RYVEL_STDCALL GetNextFunction() {
  return Guarded("GetNextFunction", int32_t{0}, [] {
    TDeclareInfo* d = DeclareInfo();
    return d != nullptr ? d->NextFunction() : 0;
  });
}

RYVEL_EXPORT const char* RYVEL_STDCALL GetFunctionName(int32_t aIndex) {
  return Guarded("GetFunctionName", static_cast<const char*>(EmptyName), [aIndex] {
    TDeclareInfo* d = ValidFor(aIndex);
    return d != nullptr ? d->Function(aIndex).FName.c_str() : EmptyName;
  });
}

RYVEL_EXPORT void RYVEL_STDCALL SetConfigFile(const char* aFileName) {
  Guarded("SetConfigFile", 0, [aFileName] {
    if (TDeclareInfo* d = DeclareInfo())
      d->SetConfigFile(aFileName != nullptr ? Ryvel::Platform::AnsiToUtf16(aFileName) : u"");
    return 0;
  });
}

RYVEL_EXPORT void RYVEL_STDCALL ProcessBegin(int32_t aIndex, void* aParams) {
  Guarded("ProcessBegin", 0, [aIndex, aParams] {
    if (TDeclareInfo* d = ValidFor(aIndex))
      if (const auto& f = d->Function(aIndex).FProcessBegin)
        f(aParams);
    return 0;
  });
}

RYVEL_EXPORT void* RYVEL_STDCALL ProcessSegment(int32_t aIndex, TQASegmentInfo aSegInfo) {
  return Guarded("ProcessSegment", static_cast<void*>(nullptr), [aIndex, &aSegInfo]() -> void* {
    if (TDeclareInfo* d = ValidFor(aIndex))
      if (const auto& f = d->Function(aIndex).FProcessSegment)
        return f(aSegInfo);
    return nullptr;
  });
}

RYVEL_EXPORT void RYVEL_STDCALL ProcessEnd(int32_t aIndex) {
  Guarded("ProcessEnd", 0, [aIndex] {
    if (TDeclareInfo* d = ValidFor(aIndex))
      if (const auto& f = d->Function(aIndex).FProcessEnd)
        f();
    return 0;
  });
}

RYVEL_EXPORT const TQAPluginResult* RYVEL_STDCALL GetFirstResult(int32_t aIndex) {
  return Guarded("GetFirstResult", static_cast<const TQAPluginResult*>(nullptr),
                 [aIndex]() -> const TQAPluginResult* {
                   if (TDeclareInfo* d = ValidFor(aIndex))
                     if (const auto& f = d->Function(aIndex).FGetFirstResult)
                       return f();
                   return nullptr;
                 });
}

RYVEL_EXPORT const TQAPluginResult* RYVEL_STDCALL GetNextResult(int32_t aIndex) {
  return Guarded("GetNextResult", static_cast<const TQAPluginResult*>(nullptr),
                 [aIndex]() -> const TQAPluginResult* {
                   if (TDeclareInfo* d = ValidFor(aIndex))
                     if (const auto& f = d->Function(aIndex).FGetNextResult)
                       return f();
                   return nullptr;
                 });
}
