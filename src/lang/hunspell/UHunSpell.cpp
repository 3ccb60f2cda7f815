#include "lang/hunspell/UHunSpell.h"

#include "platform/UFiles.h"
#include "platform/UFolders.h"
#include "platform/UMessages.h"
#include "platform/UText.h"

#include <array>
#include <filesystem>
#include <utility>

namespace fs = std::filesystem;
using namespace Ryvel::Platform;

namespace {

struct TEncodingName {
  std::string_view Name;
  uint32_t CodePage;
};

// Dictionary encoding names: the hyphenated spellings first, then the others.
constexpr std::array<TEncodingName, 28> CEncodings{{
    {"ISO-8859-1", 28591}, {"ISO-8859-2", 28592},  {"ISO-8859-3", 28593},  {"ISO-8859-4", 28594},
    {"ISO-8859-5", 28595}, {"ISO-8859-6", 28596},  {"ISO-8859-7", 28597},  {"ISO-8859-8", 28598},
    {"ISO-8859-9", 28599}, {"ISO-8859-13", 28603}, {"ISO-8859-15", 28605}, {"UTF-7", 65000},
    {"UTF-8", 65001},      {"KOI8-R", 20866},      {"KOI8-U", 21866},      {"ISO8859-1", 28591},
    {"ISO8859-2", 28592},  {"ISO8859-3", 28593},   {"ISO8859-4", 28594},   {"ISO8859-5", 28595},
    {"ISO8859-6", 28596},  {"ISO8859-7", 28597},   {"ISO8859-8", 28598},   {"ISO8859-9", 28599},
    {"ISO8859-13", 28603}, {"ISO8859-15", 28605},  {"UTF7", 65000},        {"UTF8", 65001},
}};

char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool EqualsIgnoreAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size())
    return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (AsciiUpper(a[i]) != AsciiUpper(b[i]))
      return false;
  return true;
}

bool IsUtf8Name(std::string_view aName) {
  return EqualsIgnoreAsciiCase(aName, "UTF-8") || EqualsIgnoreAsciiCase(aName, "UTF8");
}

// Strict UTF-8 validation: well-formed input can go to a UTF-8 dictionary byte for byte,
// which is what the round trip through UTF-16 would give it anyway.
bool IsValidUtf8(std::string_view s) {
  std::size_t i = 0;
  const std::size_t n = s.size();
  while (i < n) {
    const auto c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) {
      ++i;
      continue;
    }
    std::size_t len;
    unsigned char lo = 0x80, hi = 0xBF;
    if (c >= 0xC2 && c <= 0xDF) {
      len = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
      len = 3;
      if (c == 0xE0)
        lo = 0xA0;
      else if (c == 0xED)
        hi = 0x9F; // no surrogates
    } else if (c >= 0xF0 && c <= 0xF4) {
      len = 4;
      if (c == 0xF0)
        lo = 0x90;
      else if (c == 0xF4)
        hi = 0x8F;
    } else {
      return false;
    }
    if (n - i < len)
      return false;
    const auto c1 = static_cast<unsigned char>(s[i + 1]);
    if (c1 < lo || c1 > hi)
      return false;
    for (std::size_t k = 2; k < len; ++k) {
      const auto ck = static_cast<unsigned char>(s[i + k]);
      if (ck < 0x80 || ck > 0xBF)
        return false;
    }
    i += len;
  }
  return true;
}

// What one entry of the lookup cache takes: the hash node (next pointer, key, answer,
// cached hash) with its allocator overhead, its bucket pointer, and the key bytes on the
// heap once they outgrow the short-string buffer.
std::size_t CacheEntryCost(const std::string& aKey) {
  constexpr std::size_t CMallocOverhead = 16;
  constexpr std::size_t CNodeCost = sizeof(void*) + sizeof(std::string) + sizeof(std::size_t) +
                                    sizeof(std::size_t) + CMallocOverhead + sizeof(void*);
  constexpr std::size_t CShortString = 15;
  if (aKey.size() <= CShortString)
    return CNodeCost;
  return CNodeCost + ((aKey.size() + 1 + 15) & ~std::size_t{15}) + CMallocOverhead;
}

void ShowError(const std::u16string& aText) { ShowMessage(CHunSpellCaption, aText); }

// A word with an embedded zero byte would reach the library cut short; it is never correct.
bool HasZeroByte(const std::string& aBytes) { return aBytes.find('\0') != std::string::npos; }

} // namespace

uint32_t HunSpellEncodingCodePage(std::string_view aName) {
  for (const TEncodingName& e : CEncodings)
    if (EqualsIgnoreAsciiCase(aName, e.Name))
      return e.CodePage;
  return 0;
}

THunSpell::THunSpell(std::u16string aLang, std::u16string aDictPath, std::u16string aLibPath)
    : FLibPath(std::move(aLibPath)), FDictPath(std::move(aDictPath)), FLang(std::move(aLang)) {
  if (FLibPath == u".")
    FLibPath = PathToUtf16(ModuleDir() / PathFromUtf16(CHunSpellLibName));
}

THunSpell::~THunSpell() { CloseDictionary(); }

bool THunSpell::Load() { return EnsureOpen(); }

void THunSpell::Unload(bool aUnloadDLL) {
  if (FSpell != nullptr) {
    CloseDictionary();
    FStatus = stLoaded;
  }
  if (aUnloadDLL) {
    UnloadHunSpellLib();
    FStatus = stUnloaded;
  }
}

void THunSpell::SetLibPath(const std::u16string& aValue) {
  if (aValue == FLibPath)
    return;
  FLibPath = aValue;
  Unload(true);
}

void THunSpell::SetDictPath(const std::u16string& aValue) {
  if (aValue == FDictPath)
    return;
  FDictPath = aValue;
  Unload(false);
}

void THunSpell::SetLang(const std::u16string& aValue) {
  if (aValue == FLang)
    return;
  FLang = aValue;
  Unload(false);
}

std::u16string THunSpell::ActualDictPath() const {
  const fs::path folder = FDictPath.empty() ? ModuleDir() : PathFromUtf16(FDictPath);
  std::error_code ec;
  fs::path full = fs::absolute(folder, ec);
  if (ec)
    full = folder;
  std::u16string s = PathToUtf16(full.lexically_normal());
  if (s.empty() || s.back() != u'/')
    s += u'/';
  return s;
}

std::u16string THunSpell::ActualDicFileName() const {
  return FLang.empty() ? std::u16string() : ActualDictPath() + FLang + u".dic";
}

std::u16string THunSpell::ActualAffFileName() const {
  return FLang.empty() ? std::u16string() : ActualDictPath() + FLang + u".aff";
}

bool THunSpell::EnsureOpen() {
  if (FSpell == nullptr)
    RunLoadingStep();
  return FSpell != nullptr;
}

void THunSpell::RunLoadingStep() {
  if (FStatus == stError)
    return;
  // Another dictionary may have unloaded or replaced the library since this one loaded it.
  if (FStatus == stLoaded && (!HunSpellLibLoaded() || HunSpellLibPath() != FLibPath))
    FStatus = stUnloaded;
  if (FStatus == stUnloaded) {
    FEncoding.clear();
    FCodePage = 0;
    if (!LoadHunSpellLib(FLibPath)) {
      FStatus = stError;
      ShowError(u"Cannot load library: " + FLibPath);
      return;
    }
  }
  if (FLang.empty()) {
    FStatus = stError;
    return;
  }
  FStatus = stLoaded;
  for (const std::u16string& file : {ActualDicFileName(), ActualAffFileName()}) {
    if (!FileExists(PathFromUtf16(file))) {
      ShowError(u"File does not exist: " + file);
      FStatus = stError;
      return;
    }
  }
  if (!OpenDictionary()) {
    ShowError(u"Cannot Initialize libhunspell.dll");
    FStatus = stError;
  }
}

bool THunSpell::OpenDictionary() {
  THunSpellLibPin lib = THunSpellLibPin::Current();
  const THunSpellEntryPoints& e = lib.Entries();
  if (!lib.Pinned() || e.Initialize == nullptr)
    return false;
  // Paths go to the library as the file system spells them, the same bytes that the
  // existence test above used.
  const std::string aff = PathFromUtf16(ActualAffFileName()).native();
  const std::string dic = PathFromUtf16(ActualDicFileName()).native();
  void* handle = e.Initialize(aff.c_str(), dic.c_str());
  if (handle == nullptr)
    return false;
  FSpell = handle;
  FLib = std::move(lib);
  const char* encoding =
      FLib.Entries().GetDicEncoding != nullptr ? FLib.Entries().GetDicEncoding(FSpell) : nullptr;
  FEncoding = encoding != nullptr ? encoding : "";
  // Each dictionary's own name decides; an unknown one means the system code set, never
  // the encoding of a dictionary opened before.
  FCodePage = HunSpellEncodingCodePage(FEncoding);
  SelectConverter();
  return true;
}

void THunSpell::CloseDictionary() {
  if (FSpell != nullptr && FLib.Entries().Uninitialize != nullptr)
    FLib.Entries().Uninitialize(FSpell);
  FSpell = nullptr;
  FLib.Release();
  TLookupCache().swap(FCache);
  FCacheBytes = 0;
}

void THunSpell::SelectConverter() {
  if (FCodePage == 0) {
    FConverter = AnsiCodeSetName();
  } else {
    FConverter = CodePageConverterName(FCodePage);
    if (FConverter.empty() && FCodePage == 65000)
      FConverter = "UTF-7";
  }
  std::string probe;
  if (FConverter.empty() || !ConvertToCodePage(u"", FConverter.c_str(), probe))
    FConverter = "UTF-8"; // a code set ICU does not know: what the platform falls back to
  FDictUtf8 = IsUtf8Name(FConverter);
  BuildByteTable();
}

void THunSpell::BuildByteTable() {
  FByteOf.clear();
  if (FDictUtf8)
    return;
  // Decode every byte but zero, then keep the characters that encode back to exactly that
  // byte: for them the table and the converter agree, so they can skip the converter.
  std::string bytes;
  for (int b = 1; b < 256; ++b)
    bytes.push_back(static_cast<char>(b));
  std::u16string chars;
  if (!ConvertFromCodePage(bytes, FConverter.c_str(), chars) || chars.size() != bytes.size())
    return; // not a single-byte code set
  std::vector<unsigned char> table(0x10000, 0);
  std::u16string probeChars;
  std::string probeBytes;
  for (std::size_t i = 0; i < chars.size(); ++i) {
    const char16_t u = chars[i];
    if (u == 0 || u == u'\uFFFD' || (u >= 0xD800 && u <= 0xDFFF) || table[u] != 0)
      continue;
    table[u] = static_cast<unsigned char>(bytes[i]);
    probeChars.push_back(u);
    probeBytes.push_back(bytes[i]);
  }
  std::string check;
  if (!ConvertToCodePage(probeChars, FConverter.c_str(), check) || check != probeBytes)
    return;
  FByteOf = std::move(table);
}

bool THunSpell::EncodeWithTable(std::string_view aWord, std::string& aOut) const {
  aOut.clear();
  std::size_t i = 0;
  const std::size_t n = aWord.size();
  while (i < n) {
    const auto c = static_cast<unsigned char>(aWord[i]);
    char32_t cp;
    std::size_t len;
    if (c < 0x80) {
      cp = c;
      len = 1;
    } else if ((c & 0xE0) == 0xC0) {
      cp = c & 0x1F;
      len = 2;
    } else if ((c & 0xF0) == 0xE0) {
      cp = c & 0x0F;
      len = 3;
    } else {
      return false; // outside the table's plane, or malformed: the converter decides
    }
    if (n - i < len)
      return false;
    for (std::size_t k = 1; k < len; ++k) {
      const auto ck = static_cast<unsigned char>(aWord[i + k]);
      if ((ck & 0xC0) != 0x80)
        return false;
      cp = (cp << 6) | (ck & 0x3F);
    }
    // Overlong forms and surrogates are left to the converter's replacement rules.
    if ((len == 2 && cp < 0x80) || (len == 3 && cp < 0x800) || (cp >= 0xD800 && cp <= 0xDFFF))
      return false;
    const unsigned char b = FByteOf[cp];
    if (b == 0)
      return false;
    aOut.push_back(static_cast<char>(b));
    i += len;
  }
  return true;
}

bool THunSpell::Utf8ToDict(std::string_view aWord, std::string& aOut) const {
  if (FDictUtf8) {
    if (IsValidUtf8(aWord))
      aOut.assign(aWord);
    else
      aOut = Utf16ToUtf8(Utf8ToUtf16(aWord));
    return true;
  }
  if (!FByteOf.empty() && EncodeWithTable(aWord, aOut))
    return true;
  return ConvertToCodePage(Utf8ToUtf16(aWord), FConverter.c_str(), aOut);
}

bool THunSpell::AnsiToDict(std::string_view aWord, std::string& aOut) const {
  if (FCodePage == 0) {
    aOut.assign(aWord);
    return true;
  }
  if (FDictUtf8) {
    aOut = Utf16ToUtf8(AnsiToUtf16(aWord));
    return true;
  }
  return ConvertToCodePage(AnsiToUtf16(aWord), FConverter.c_str(), aOut);
}

std::u16string THunSpell::DictToUtf16(std::string_view aBytes) const {
  if (FDictUtf8)
    return Utf8ToUtf16(aBytes);
  std::u16string out;
  if (!ConvertFromCodePage(aBytes, FConverter.c_str(), out))
    return Utf8ToUtf16(aBytes);
  return out;
}

bool THunSpell::Check(std::u16string_view aWord) {
  std::u16string word(aWord);
  for (char16_t& c : word)
    if (c == u'\u2019')
      c = u'\'';
  return CheckUtf8(Utf16ToUtf8(word));
}

bool THunSpell::CheckUtf8(std::string_view aWord) {
  if (!EnsureOpen() || !Utf8ToDict(aWord, FScratch))
    return false;
  return SpellDict(FScratch);
}

bool THunSpell::CheckAnsi(std::string_view aWord) {
  if (!EnsureOpen() || !AnsiToDict(aWord, FScratch))
    return false;
  return SpellDict(FScratch);
}

bool THunSpell::SpellDict(const std::string& aBytes) {
  if (HasZeroByte(aBytes))
    return false;
  if (const auto it = FCache.find(std::string_view(aBytes)); it != FCache.end())
    return it->second;
  const auto spell = FLib.Entries().Spell;
  const bool correct = spell != nullptr && spell(FSpell, aBytes.c_str()) != 0;
  Remember(aBytes, correct);
  return correct;
}

void THunSpell::Remember(const std::string& aBytes, bool aCorrect) {
  const std::size_t cost = CacheEntryCost(aBytes);
  // Once full the cache keeps what it has: later words are simply asked again.
  if (FCacheBytes + cost > FCacheLimit)
    return;
  FCache.emplace(aBytes, aCorrect);
  FCacheBytes += cost;
}

void THunSpell::SetLookupCacheLimit(std::size_t aBytes) {
  FCacheLimit = aBytes;
  if (FCacheBytes > FCacheLimit) {
    TLookupCache().swap(FCache);
    FCacheBytes = 0;
  }
}

int THunSpell::GetSuggestions(std::u16string_view aWord, TStringArray& aSuggestions) {
  return GetSuggestionsUtf8(Utf16ToUtf8(aWord), aSuggestions);
}

int THunSpell::GetSuggestionsUtf8(std::string_view aWord, TStringArray& aSuggestions) {
  aSuggestions.clear();
  if (!EnsureOpen() || !Utf8ToDict(aWord, FScratch))
    return 0;
  return SuggestDict(FScratch, aSuggestions);
}

int THunSpell::GetSuggestionsAnsi(std::string_view aWord, TStringArray& aSuggestions) {
  aSuggestions.clear();
  if (!EnsureOpen() || !AnsiToDict(aWord, FScratch))
    return 0;
  return SuggestDict(FScratch, aSuggestions);
}

int THunSpell::SuggestDict(const std::string& aBytes, TStringArray& aSuggestions) {
  const THunSpellEntryPoints& e = FLib.Entries();
  if (HasZeroByte(aBytes) || e.Suggest == nullptr)
    return 0;
  char** list = nullptr;
  const int count = e.Suggest(FSpell, aBytes.c_str(), &list);
  // The array goes back to the library with the count it gave, whatever happens below.
  struct TGiveBack {
    const THunSpellEntryPoints& E;
    void* Handle;
    char** List;
    int Count;
    ~TGiveBack() {
      if (E.SuggestFree != nullptr)
        E.SuggestFree(Handle, List, Count);
    }
  } giveBack{e, FSpell, list, count};
  if (count <= 0 || list == nullptr)
    return 0;
  aSuggestions.resize(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i)
    if (list[i] != nullptr)
      aSuggestions[static_cast<std::size_t>(i)] = DictToUtf16(list[i]);
  return static_cast<int>(aSuggestions.size());
}
