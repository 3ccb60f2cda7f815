#include "plugin/UPluginCommon.h"

#include "platform/UText.h"

using Ryvel::Platform::AnsiToUtf16;
using Ryvel::Platform::Utf16ToAnsi;

namespace {

std::u16string Wide(const char16_t* wide, const char* narrow) {
  if (wide != nullptr)
    return std::u16string(wide);
  if (narrow != nullptr)
    return AnsiToUtf16(narrow);
  return {};
}

std::string Narrow(const char* narrow, const char16_t* wide) {
  if (narrow != nullptr)
    return std::string(narrow);
  if (wide != nullptr)
    return Utf16ToAnsi(wide);
  return {};
}

} // namespace

std::u16string TQASegmentInfo::SourceAsString() const { return Wide(WSource, Source); }
std::u16string TQASegmentInfo::TargetAsString() const { return Wide(WTarget, Target); }
std::string TQASegmentInfo::SourceAsAnsiString() const { return Narrow(Source, WSource); }
std::string TQASegmentInfo::TargetAsAnsiString() const { return Narrow(Target, WTarget); }
