// Records exchanged with the QA host and the signatures of the eleven exported entry points.
// Every record is packed; pointer fields are pointer-sized, so on a 32-bit host the layouts
// are exactly the host's 32-bit ones.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#if defined(__i386__) && !defined(__x86_64__)
#define RYVEL_STDCALL __attribute__((stdcall))
#else
#define RYVEL_STDCALL
#endif

#define RYVEL_EXPORT extern "C" __attribute__((visibility("default")))

// A 32-bit boolean of the host: 0 is false, any other value true; true is sent as -1.
using TQABool = int32_t;
constexpr TQABool QATrue = -1;
constexpr TQABool QAFalse = 0;

// Packed, with no padding between fields; records with pointer fields are still placed on a
// pointer boundary, so their pointers can be read directly (their size is a multiple of it).
#define RYVEL_RECORD_ALIGN alignas(sizeof(void*))

#pragma pack(push, 1)

// One segment handed to ProcessSegment. Null text pointers read as empty text.
struct RYVEL_RECORD_ALIGN TQASegmentInfo {
  const char* Source;
  const char* Target;
  const char16_t* WSource;
  const char16_t* WTarget;
  void* SegId; // the host's opaque identifier, handed back unchanged in results

  // Wide text wins; narrow text is converted from the system ANSI code page.
  std::u16string SourceAsString() const;
  std::u16string TargetAsString() const;
  // Narrow text wins; wide text is converted to the system ANSI code page.
  std::string SourceAsAnsiString() const;
  std::string TargetAsAnsiString() const;
};

struct TQAPluginResultOptions {
  uint16_t StructVersion;
  TQABool Sorted;
  TQABool Groupable;
};

struct RYVEL_RECORD_ALIGN TQAPluginResult {
  const char16_t* Text;
  void* SegId;
  const TQAPluginResultOptions* Options;
};

// Fixed wide-text field: at most 255 code units and a terminating zero.
constexpr int QADescriptionLength = 256;
using TQAPluginDescription = char16_t[QADescriptionLength];

struct RYVEL_RECORD_ALIGN TQAPluginDeclareInfo {
  uint16_t StructVersion;
  TQAPluginDescription Description;
  TQAPluginDescription Keywords;
  uint16_t Version;
  uint16_t SourceLang;
  uint16_t TargetLang;
  TQABool AllowsUnicode;
  TQABool AllowsAnsi;
};

#pragma pack(pop)

static_assert(sizeof(TQAPluginResultOptions) == 10);
static_assert(offsetof(TQAPluginResultOptions, Sorted) == 2);
static_assert(offsetof(TQAPluginResultOptions, Groupable) == 6);
static_assert(sizeof(TQAPluginDeclareInfo) == 1040);
static_assert(offsetof(TQAPluginDeclareInfo, Description) == 2);
static_assert(offsetof(TQAPluginDeclareInfo, Keywords) == 514);
static_assert(offsetof(TQAPluginDeclareInfo, Version) == 1026);
static_assert(offsetof(TQAPluginDeclareInfo, SourceLang) == 1028);
static_assert(offsetof(TQAPluginDeclareInfo, TargetLang) == 1030);
static_assert(offsetof(TQAPluginDeclareInfo, AllowsUnicode) == 1032);
static_assert(offsetof(TQAPluginDeclareInfo, AllowsAnsi) == 1036);
static_assert(sizeof(TQASegmentInfo) == 5 * sizeof(void*));
static_assert(offsetof(TQASegmentInfo, Target) == sizeof(void*));
static_assert(offsetof(TQASegmentInfo, WSource) == 2 * sizeof(void*));
static_assert(offsetof(TQASegmentInfo, WTarget) == 3 * sizeof(void*));
static_assert(offsetof(TQASegmentInfo, SegId) == 4 * sizeof(void*));
static_assert(sizeof(TQAPluginResult) == 3 * sizeof(void*));
static_assert(offsetof(TQAPluginResult, SegId) == sizeof(void*));
static_assert(offsetof(TQAPluginResult, Options) == 2 * sizeof(void*));
#if defined(__i386__) && !defined(__x86_64__)
static_assert(sizeof(TQASegmentInfo) == 20);
static_assert(sizeof(TQAPluginResult) == 12);
#endif

// The exported entry points as a host sees them (for dlsym).
extern "C" {
using TGetDeclareNameFn = const char16_t*(RYVEL_STDCALL*)();
using TGetDeclareInfoFn = const TQAPluginDeclareInfo*(RYVEL_STDCALL*)();
using TGetFirstFunctionFn = int32_t(RYVEL_STDCALL*)();
using TGetNextFunctionFn = int32_t(RYVEL_STDCALL*)();
using TGetFunctionNameFn = const char*(RYVEL_STDCALL*)(int32_t aIndex);
using TSetConfigFileFn = void(RYVEL_STDCALL*)(const char* aFileName);
using TProcessBeginFn = void(RYVEL_STDCALL*)(int32_t aIndex, void* aParams);
using TProcessSegmentFn = void*(RYVEL_STDCALL*)(int32_t aIndex, TQASegmentInfo aSegInfo);
using TProcessEndFn = void(RYVEL_STDCALL*)(int32_t aIndex);
using TGetFirstResultFn = const TQAPluginResult*(RYVEL_STDCALL*)(int32_t aIndex);
using TGetNextResultFn = const TQAPluginResult*(RYVEL_STDCALL*)(int32_t aIndex);
}
