// The data one check run works on: stored segments, unknown words keyed by their word key,
// the exclusion options, the run options and the speller interface.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

struct TQASegmentInfo;
class TVeAddendumFilesList;

// The exclusion options; the ordinal is the bit number everywhere (settings file included).
enum TRySpellerOption : uint8_t {
  CRysoExcludeWordsWithNumbers = 0,
  CRysoExcludeMixedCase = 1,
  CRysoExcludeSegmentsWithSimilarSource = 2,
  CRysoExcludeUppercaseWords = 3,
  CRysoExcludeUppercaseWordsInSource = 4,
  CRysoExcludeAbbreviations = 5,
};
constexpr int RySpellerOptionCount = 6;

// A set of exclusion options in one byte, bit i for option i.
class TRySpellerOptions {
public:
  constexpr TRySpellerOptions() = default;
  constexpr explicit TRySpellerOptions(uint8_t aBits) : FBits(aBits & 0x3F) {}
  constexpr TRySpellerOptions(std::initializer_list<TRySpellerOption> aOptions) {
    for (auto o : aOptions)
      FBits |= static_cast<uint8_t>(1u << o);
  }
  constexpr bool Contains(TRySpellerOption aOption) const { return (FBits >> aOption) & 1u; }
  constexpr void Include(TRySpellerOption aOption) { FBits |= static_cast<uint8_t>(1u << aOption); }
  constexpr void Exclude(TRySpellerOption aOption) {
    FBits &= static_cast<uint8_t>(~(1u << aOption));
  }
  constexpr uint8_t Bits() const { return FBits; }
  constexpr bool operator==(const TRySpellerOptions&) const = default;

private:
  uint8_t FBits = 0;
};

// Bits 6..31 are ignored.
TRySpellerOptions IntToSpellerOptions(int32_t aValue);
int32_t SpellerOptionsToInt(TRySpellerOptions aOptions);

// The default set of the session and the dialogs: {0, 1, 2}.
constexpr TRySpellerOptions DefaultSpellerOptions{
    CRysoExcludeWordsWithNumbers, CRysoExcludeMixedCase, CRysoExcludeSegmentsWithSimilarSource};

// One segment as received from the host.
class TSegmentData {
public:
  TSegmentData(void* aId, std::u16string aSource, std::u16string aTarget);
  explicit TSegmentData(const TQASegmentInfo& aSegInfo);

  void* Id() const { return FId; }
  const std::u16string& Source() const { return FSource; }
  const std::u16string& Target() const { return FTarget; }

private:
  void* FId;
  std::u16string FSource;
  std::u16string FTarget;
};

// The session's segment store, in arrival order; it owns the segments.
using TSegmentList = std::vector<std::unique_ptr<TSegmentData>>;

// One distinct unknown word and the segments it occurs in (one entry per occurrence; an entry
// may be null for a remembered word).
class TUnknownWord {
public:
  explicit TUnknownWord(std::u16string aText);

  // A word with a lowercase letter is keyed by its lowercase form, any other word by itself.
  static std::u16string KeyOf(std::u16string_view aWord);
  static bool HasLowercaseLetter(std::u16string_view aWord);

  const std::u16string& Text() const { return FText; }
  void SetText(const std::u16string& aValue);
  const std::u16string& Key() const;
  const std::vector<TSegmentData*>& Data() const { return FData; }
  void Add(TSegmentData* aSegData) { FData.push_back(aSegData); }
  // A differing spelling makes the displayed text the key; the key stays.
  void UpdateText(std::u16string_view aWord);

private:
  friend class TUnknownWordList;
  std::u16string FText;
  std::vector<TSegmentData*> FData;
  mutable std::u16string FKey;
};

// Unknown words sorted by key in the locale's order (code units break ties, so different
// spellings never merge), each key once. The list owns its words. A hash index by key finds
// an existing word without any locale-aware comparison.
class TUnknownWordList {
public:
  TUnknownWordList() = default;
  TUnknownWordList(const TUnknownWordList&) = delete;
  TUnknownWordList& operator=(const TUnknownWordList&) = delete;
  ~TUnknownWordList() = default;

  // Finds or creates the word for aWord and records one occurrence; returns the word.
  TUnknownWord* Add(std::u16string_view aWord, TSegmentData* aSegmentData);
  // Takes the word when its key is new (aUnknownWord becomes empty) and returns true;
  // otherwise leaves it with the caller and returns false.
  bool Add(std::unique_ptr<TUnknownWord>& aUnknownWord);
  void Delete(int aIndex);
  // aKey is looked up as given (no KeyOf).
  void Delete(std::u16string_view aKey);
  std::unique_ptr<TUnknownWord> Extract(int aIndex);
  // On success aIndex is the entry; otherwise the insertion position.
  bool Find(std::u16string_view aKey, int& aIndex) const;
  // The word under exactly this key, or null; no locale comparison.
  TUnknownWord* FindWord(std::u16string_view aKey) const;
  const std::u16string& Text(int aIndex) const;
  TUnknownWord* UnknownWord(int aIndex) const;
  int Count() const { return static_cast<int>(FList.size()); }
  void Clear();
  void BeginBulkInsert();
  void EndBulkInsert();

private:
  struct TKeyHash {
    using is_transparent = void;
    size_t operator()(std::u16string_view s) const { return std::hash<std::u16string_view>{}(s); }
  };
  // An entry keeps the key it was inserted under and that key's collation key.
  struct TEntry {
    std::u16string Key;
    std::string SortKey;
    std::unique_ptr<TUnknownWord> Word;
  };
  static bool Less(const TEntry& a, std::string_view aSortKey, std::u16string_view aKey);
  static int Compare(const TEntry& a, std::string_view aSortKey, std::u16string_view aKey);
  void CheckIndex(int aIndex) const;
  void Insert(std::u16string aKey, std::unique_ptr<TUnknownWord> aWord);
  void Remove(int aIndex);

  int FBulkInsertCount = 0;
  std::vector<TEntry> FList;
  std::unordered_map<std::u16string, TUnknownWord*, TKeyHash, std::equal_to<>> FIndex;
};

// What the review dialog's excluded list means.
enum TWorkingMode : uint8_t { wmDiscard = 0, wmAccept = 1 };

// The run options the session keeps and the review dialog edits.
struct TSpellerConfirmOptions {
  TWorkingMode WorkingMode = wmAccept;
  TRySpellerOptions Speller = DefaultSpellerOptions;
  TVeAddendumFilesList* Addendums = nullptr; // the session's collection, borrowed
};

// Called once per unknown word occurrence with the word as written.
using TWordProc = std::function<void(std::u16string_view)>;

// The speller as the session and the review dialog see it; shared ownership.
class IRySpeller {
public:
  virtual ~IRySpeller();
  virtual bool Enabled() = 0;
  // Reports every unknown word of the target in text order; returns the number of reports.
  virtual int Check(const TSegmentData& aSegment, TRySpellerOptions aOptions, int& aTotalWords,
                    const TWordProc& aProc) = 0;
  virtual int GetSuggestions(const std::u16string& aWord,
                             std::vector<std::u16string>& aSuggestions) = 0;
  virtual void ReloadSpecialWords() = 0;
};
