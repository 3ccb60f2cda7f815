// The settings file and the remembered-words file. Both are read at the start of a run and
// written after a review that ended with OK; no error here ever stops a run.
#include "platform/UFiles.h"
#include "platform/UFolders.h"
#include "platform/UText.h"
#include "session/URySpeller.h"

#include <cstring>

namespace fs = std::filesystem;
using namespace Ryvel::Platform;

namespace {

constexpr size_t SettingsSize = 256;
constexpr uint16_t SettingsMagic = 0x5AA5;

void PutLE32(std::string& aBuf, size_t aOffset, uint32_t aValue) {
  for (int i = 0; i < 4; ++i)
    aBuf[aOffset + i] = static_cast<char>((aValue >> (8 * i)) & 0xFF);
}

uint32_t GetLE32(const std::string& aBuf, size_t aOffset) {
  uint32_t v = 0;
  for (int i = 3; i >= 0; --i)
    v = (v << 8) | static_cast<unsigned char>(aBuf[aOffset + i]);
  return v;
}

} // namespace

fs::path TDeclareSpeller::GetSettingsFolder() {
  const fs::path cache = CacheDir();
  if (cache.empty())
    return {};
  fs::path folder = cache / "Ryvel" / "";
  ForceDirectories(folder);
  return folder;
}

fs::path TDeclareSpeller::GetSettingsFileName() {
  const fs::path folder = GetSettingsFolder();
  return folder.empty() ? fs::path() : folder / "RyvelQASpellerF1.cfg";
}

fs::path TDeclareSpeller::GetItemsFileName() {
  const fs::path settings = GetSettingsFileName();
  // Without a folder there is no file of ours: never read or write in the current folder.
  return settings.empty() ? fs::path() : fs::path(settings.string() + ".items");
}

void TDeclareSpeller::LoadSettings(TSpellerConfirmOptions& aOptions) {
  try {
    const fs::path file = GetSettingsFileName();
    if (file.empty() || !FileExists(file))
      return;
    const auto data = ReadWholeFile(file);
    if (!data || data->size() != SettingsSize)
      return;
    aOptions.WorkingMode = static_cast<TWorkingMode>(static_cast<unsigned char>((*data)[4]));
    if (static_cast<int32_t>(GetLE32(*data, 8)) > 0)
      aOptions.Speller = IntToSpellerOptions(static_cast<int32_t>(GetLE32(*data, 12)));
  } catch (...) {
  }
}

void TDeclareSpeller::SaveSettings(const TSpellerConfirmOptions& aOptions) {
  try {
    const fs::path file = GetSettingsFileName();
    if (file.empty())
      return;
    std::string buf(SettingsSize, '\0');
    buf[0] = static_cast<char>(SettingsMagic & 0xFF);
    buf[1] = static_cast<char>(SettingsMagic >> 8);
    PutLE32(buf, 4, static_cast<uint8_t>(aOptions.WorkingMode));
    PutLE32(buf, 8, RySpellerOptionCount);
    PutLE32(buf, 12, static_cast<uint32_t>(SpellerOptionsToInt(aOptions.Speller)));
    WriteFileAtomic(file, buf);
  } catch (...) {
  }
}

void TDeclareSpeller::LoadRememberedWords(TUnknownWordList& aList) {
  try {
    const fs::path file = GetItemsFileName();
    if (file.empty() || !FileExists(file))
      return;
    const auto data = ReadWholeFile(file);
    if (!data)
      return;
    // UTF-16LE without a mark; a trailing odd byte is ignored, every code unit kept.
    const std::u16string text = DecodeUtf16Bytes(*data, false, false);
    size_t i = 0;
    const size_t end = std::min(text.size(), text.find(u'\0'));
    while (i < end) {
      while (i < end && (text[i] == u'\r' || text[i] == u'\n'))
        ++i;
      const size_t start = i;
      while (i < end && text[i] != u'\r' && text[i] != u'\n')
        ++i;
      if (i > start)
        aList.Add(std::u16string_view(text).substr(start, i - start), nullptr);
      if (i < end)
        ++i;
    }
  } catch (...) {
  }
}

void TDeclareSpeller::SaveRememberedWords(const TUnknownWordList& aList) {
  try {
    const fs::path file = GetItemsFileName();
    if (file.empty())
      return;
    std::string buf;
    auto put = [&buf](char16_t c) {
      buf.push_back(static_cast<char>(c & 0xFF));
      buf.push_back(static_cast<char>(c >> 8));
    };
    for (int i = 0; i < aList.Count(); ++i) {
      for (char16_t c : aList.UnknownWord(i)->Text())
        put(c);
      put(u'\r');
      put(u'\n');
    }
    WriteFileAtomic(file, buf);
  } catch (...) {
  }
}
