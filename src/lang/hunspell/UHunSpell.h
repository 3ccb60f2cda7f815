// THunSpell: one Hunspell dictionary reached through the run-time binding of UHunSpellLib.
//
// Usage (the language speller):
//   THunSpell dict(u"ru_RU", u"", u".");  // files ru_RU.dic / ru_RU.aff and the library
//                                         // libhunspell-adapter.so next to the module
//   bool known = dict.Check(u"москва");   // opens library and dictionary on first use
//   std::vector<std::u16string> s;
//   int n = dict.GetSuggestions(u"масква", s);
//
// Nothing is opened by the constructor. The first Check, GetSuggestions or Load loads the
// library and opens the dictionary; a failure shows one message box (caption
// CHunSpellCaption) and moves to stError, after which every Check answers false and every
// GetSuggestions 0, silently, until LibPath changes. The dictionary stays open for the
// life of the object (or until Unload / a property change).
//
// Words travel to the library in the dictionary's own 8-bit encoding, chosen from the name
// the library reports (ISO-8859-x, UTF-7, UTF-8, KOI8-R, KOI8-U; anything else means the
// system ANSI code set). Characters that encoding cannot hold become its substitution
// character. The answer of the library for each distinct converted word is remembered
// while the dictionary is open; the memory that takes is bounded by LookupCacheLimit.
//
// Only one thread may use an object; the binding underneath is process-wide and unlocked.
#pragma once

#include "lang/hunspell/UHunSpellLib.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// The Windows code page number for an encoding name that a dictionary reports, compared
// ignoring ASCII case; 0 when the name is not one of the known ones.
uint32_t HunSpellEncodingCodePage(std::string_view aName);

class THunSpell {
public:
  enum TStatus : int { stUnloaded = 0, stError = 1, stLoaded = 2 };
  using TStringArray = std::vector<std::u16string>;

  // The default bound of the lookup cache: enough for several hundred thousand distinct
  // words (a project of millions of words), at most this many bytes.
  static constexpr std::size_t CDefaultLookupCacheLimit = std::size_t{32} << 20;

  // aLang: dictionary name (files <aLang>.dic and <aLang>.aff). aDictPath: their folder;
  // empty means the folder of the module containing this code. aLibPath: the library file;
  // "." means CHunSpellLibName in the module's folder, empty means the system search order.
  THunSpell(std::u16string aLang, std::u16string aDictPath, std::u16string aLibPath);
  // Closes the dictionary; the library stays loaded.
  ~THunSpell();
  THunSpell(const THunSpell&) = delete;
  THunSpell& operator=(const THunSpell&) = delete;

  // Runs the loading step if no dictionary is open; true when one is open.
  bool Load();
  // Closes the dictionary (status stLoaded); with aUnloadDLL also unloads the library
  // (status stUnloaded), which is the only way out of stError.
  void Unload(bool aUnloadDLL);

  TStatus Status() const { return FStatus; }
  bool DictionaryOpen() const { return FSpell != nullptr; }

  const std::u16string& LibPath() const { return FLibPath; }
  void SetLibPath(const std::u16string& aValue); // a new value: Unload(true)
  const std::u16string& DictPath() const { return FDictPath; }
  void SetDictPath(const std::u16string& aValue); // a new value: Unload(false)
  const std::u16string& Lang() const { return FLang; }
  void SetLang(const std::u16string& aValue); // a new value: Unload(false)

  // The encoding name the library reported, and its code page (0: system ANSI).
  const std::string& Encoding() const { return FEncoding; }
  uint32_t CodePage() const { return FCodePage; }

  // The dictionary folder as a full path with a trailing '/', and the two file names
  // (empty when Lang is empty).
  std::u16string ActualDictPath() const;
  std::u16string ActualDicFileName() const;
  std::u16string ActualAffFileName() const;

  // Whether the word is correct. The UTF-16 form looks U+2019 up as U+0027; the UTF-8 and
  // ANSI (system code set) forms pass their bytes on unchanged apart from the conversion.
  bool Check(std::u16string_view aWord);
  bool CheckUtf8(std::string_view aWord);
  bool CheckAnsi(std::string_view aWord);

  // Fills aSuggestions (emptied first) with the library's suggestions and returns their
  // number. The UTF-16 form converts to UTF-8 and keeps U+2019.
  int GetSuggestions(std::u16string_view aWord, TStringArray& aSuggestions);
  int GetSuggestionsUtf8(std::string_view aWord, TStringArray& aSuggestions);
  int GetSuggestionsAnsi(std::string_view aWord, TStringArray& aSuggestions);

  // Bytes the lookup cache may take (0 switches it off); entries beyond it are not kept.
  void SetLookupCacheLimit(std::size_t aBytes);
  std::size_t LookupCacheLimit() const { return FCacheLimit; }
  std::size_t LookupCacheEntries() const { return FCache.size(); }
  std::size_t LookupCacheBytes() const { return FCacheBytes; }

private:
  struct TBytesHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const noexcept {
      return std::hash<std::string_view>{}(s);
    }
  };
  using TLookupCache = std::unordered_map<std::string, bool, TBytesHash, std::equal_to<>>;

  bool EnsureOpen();
  void RunLoadingStep();
  bool OpenDictionary();
  void CloseDictionary();
  void SelectConverter();
  void BuildByteTable();
  bool EncodeWithTable(std::string_view aWord, std::string& aOut) const;
  bool Utf8ToDict(std::string_view aWord, std::string& aOut) const;
  bool AnsiToDict(std::string_view aWord, std::string& aOut) const;
  std::u16string DictToUtf16(std::string_view aBytes) const;
  bool SpellDict(const std::string& aBytes);
  int SuggestDict(const std::string& aBytes, TStringArray& aSuggestions);
  void Remember(const std::string& aBytes, bool aCorrect);

  std::u16string FLibPath;
  std::u16string FDictPath;
  std::u16string FLang;
  TStatus FStatus = stUnloaded;
  void* FSpell = nullptr;
  uint32_t FCodePage = 0;
  std::string FEncoding;

  // The library the open dictionary came from, kept mapped until the handle is closed.
  THunSpellLibPin FLib;
  // ICU converter of the dictionary's encoding, and whether it is UTF-8.
  std::string FConverter;
  bool FDictUtf8 = false;
  // For a single-byte code set: the byte of every character that converts to one (0 for
  // the others, which go through the converter). Empty otherwise.
  std::vector<unsigned char> FByteOf;
  // Reused for every conversion so that a cached lookup allocates nothing of its own.
  std::string FScratch;

  TLookupCache FCache;
  std::size_t FCacheBytes = 0;
  std::size_t FCacheLimit = CDefaultLookupCacheLimit;
};
