// A tiny QA plug-in for testing ryvel-qa: it logs every call it receives (to the file named
// by RYVEL_FAKE_LOG) and reports the words of RYVEL_FAKE_WORDS (comma-separated) wherever
// they occur in a target, unless RYVEL_REVIEW is "cancel". RYVEL_FAKE_BOGUS_ID makes it
// misbehave as a faulty plug-in would.
#include "plugin/UPluginCommon.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct TFakeResult {
  std::u16string Word;
  void *SegId;
};

struct TFakeState {
  TQAPluginDeclareInfo Info{};
  std::vector<std::pair<void *, std::u16string>> Segments;
  std::vector<TFakeResult> Results;
  size_t Next = 0;
  int32_t Cursor = 0;
  TQAPluginResult Result{};
  TQAPluginResultOptions Options{0, QATrue, QATrue};
};

TFakeState &State() {
  static TFakeState state;
  return state;
}

std::string ToUtf8(std::u16string_view s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    uint32_t c = s[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < s.size())
      c = 0x10000 + ((c - 0xD800) << 10) + (s[++i] - 0xDC00);
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

void Log(const std::string &aLine) {
  const char *path = std::getenv("RYVEL_FAKE_LOG");
  if (!path)
    return;
  if (std::FILE *f = std::fopen(path, "a")) {
    std::fprintf(f, "%s\n", aLine.c_str());
    std::fclose(f);
  }
}

std::vector<std::string> FakeWords() {
  std::vector<std::string> words;
  const char *env = std::getenv("RYVEL_FAKE_WORDS");
  std::string all = env ? env : "";
  size_t start = 0;
  while (start < all.size()) {
    const size_t comma = all.find(',', start);
    words.push_back(all.substr(start, comma == std::string::npos ? comma : comma - start));
    if (comma == std::string::npos)
      break;
    start = comma + 1;
  }
  return words;
}

const TQAPluginResult *NextResult() {
  TFakeState &s = State();
  if (s.Next >= s.Results.size())
    return nullptr;
  s.Result.Text = s.Results[s.Next].Word.c_str();
  // RYVEL_FAKE_BOGUS_ID makes the plug-in answer with an id the host never handed over.
  s.Result.SegId = std::getenv("RYVEL_FAKE_BOGUS_ID") ? reinterpret_cast<void *>(uintptr_t{999999})
                                                      : s.Results[s.Next].SegId;
  s.Result.Options = &s.Options;
  ++s.Next;
  return &s.Result;
}

} // namespace

RYVEL_EXPORT const char16_t *RYVEL_STDCALL GetDeclareName() {
  Log("GetDeclareName");
  return u"FakeCheck";
}

RYVEL_EXPORT const TQAPluginDeclareInfo *RYVEL_STDCALL GetDeclareInfo() {
  Log("GetDeclareInfo");
  TQAPluginDeclareInfo &info = State().Info;
  std::memcpy(info.Description, u"Fake check", sizeof(u"Fake check"));
  info.AllowsUnicode = QAFalse;
  info.AllowsAnsi = QATrue;
  return &info;
}

RYVEL_EXPORT int32_t RYVEL_STDCALL GetNextFunction() {
  Log("GetNextFunction");
  const int32_t c = State().Cursor;
  if (c <= 0 || c > 1)
    return 0;
  State().Cursor = c + 1;
  return c;
}

RYVEL_EXPORT int32_t RYVEL_STDCALL GetFirstFunction() {
  Log("GetFirstFunction");
  State().Cursor = 1;
  const int32_t c = State().Cursor;
  State().Cursor = c + 1;
  return c;
}

RYVEL_EXPORT const char *RYVEL_STDCALL GetFunctionName(int32_t aIndex) {
  Log("GetFunctionName " + std::to_string(aIndex));
  return aIndex == 1 ? "Fake" : "";
}

RYVEL_EXPORT void RYVEL_STDCALL SetConfigFile(const char *aFileName) {
  const std::string name = aFileName ? aFileName : "(null)";
  Log("SetConfigFile " + name.substr(name.rfind('/') + 1));
}

RYVEL_EXPORT void RYVEL_STDCALL ProcessBegin(int32_t aIndex, void *) {
  const char *review = std::getenv("RYVEL_REVIEW");
  Log("ProcessBegin " + std::to_string(aIndex) + " review=" + (review ? review : ""));
  State().Segments.clear();
  State().Results.clear();
  State().Next = 0;
}

RYVEL_EXPORT void *RYVEL_STDCALL ProcessSegment(int32_t aIndex, TQASegmentInfo aSegInfo) {
  const std::string wide = aSegInfo.WTarget ? ToUtf8(aSegInfo.WTarget) : "(null)";
  const std::string narrow = aSegInfo.Target ? aSegInfo.Target : "(null)";
  const std::string wideSource = aSegInfo.WSource ? ToUtf8(aSegInfo.WSource) : "(null)";
  const std::string narrowSource = aSegInfo.Source ? aSegInfo.Source : "(null)";
  Log("ProcessSegment " + std::to_string(aIndex) + " " +
      std::to_string(reinterpret_cast<uintptr_t>(aSegInfo.SegId)) +
      (wide == narrow && wideSource == narrowSource ? "" : " narrow-differs"));
  State().Segments.emplace_back(aSegInfo.SegId, aSegInfo.WTarget ? aSegInfo.WTarget : u"");
  return nullptr;
}

RYVEL_EXPORT const TQAPluginResult *RYVEL_STDCALL GetFirstResult(int32_t aIndex) {
  Log("GetFirstResult " + std::to_string(aIndex));
  TFakeState &s = State();
  const char *review = std::getenv("RYVEL_REVIEW");
  if (review && std::strcmp(review, "cancel") == 0)
    return nullptr;
  const std::vector<std::string> words = FakeWords();
  for (const auto &[segId, target] : s.Segments) {
    size_t start = 0;
    while (start <= target.size()) {
      size_t end = target.find(u' ', start);
      if (end == std::u16string::npos)
        end = target.size();
      const std::u16string word = target.substr(start, end - start);
      for (const std::string &w : words)
        if (ToUtf8(word) == w)
          s.Results.push_back(TFakeResult{word, segId});
      start = end + 1;
    }
  }
  s.Next = 0;
  return NextResult();
}

RYVEL_EXPORT const TQAPluginResult *RYVEL_STDCALL GetNextResult(int32_t aIndex) {
  Log("GetNextResult " + std::to_string(aIndex));
  return NextResult();
}

RYVEL_EXPORT void RYVEL_STDCALL ProcessEnd(int32_t aIndex) {
  Log("ProcessEnd " + std::to_string(aIndex));
  State().Segments.clear();
  State().Results.clear();
}
