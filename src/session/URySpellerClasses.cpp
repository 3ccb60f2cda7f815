#include "session/URySpellerClasses.h"

#include "platform/UText.h"
#include "plugin/UPluginCommon.h"

#include <algorithm>
#include <stdexcept>
#include <unicode/uchar.h>

using Ryvel::Platform::CharType;

TRySpellerOptions IntToSpellerOptions(int32_t aValue) {
  return TRySpellerOptions(static_cast<uint8_t>(static_cast<uint32_t>(aValue) & 0x3Fu));
}

int32_t SpellerOptionsToInt(TRySpellerOptions aOptions) { return aOptions.Bits() & 0x3F; }

IRySpeller::~IRySpeller() = default;

TSegmentData::TSegmentData(void* aId, std::u16string aSource, std::u16string aTarget)
    : FId(aId), FSource(std::move(aSource)), FTarget(std::move(aTarget)) {}

TSegmentData::TSegmentData(const TQASegmentInfo& aSegInfo)
    : FId(aSegInfo.SegId), FSource(aSegInfo.SourceAsString()),
      FTarget(aSegInfo.TargetAsString()) {}

// ---------------------------------------------------------------------------------------------

TUnknownWord::TUnknownWord(std::u16string aText) : FText(std::move(aText)) {}

bool TUnknownWord::HasLowercaseLetter(std::u16string_view aWord) {
  for (char16_t c : aWord) {
    if (c < 128) {
      if (c >= u'a' && c <= u'z')
        return true;
    } else if (CharType(c) == U_LOWERCASE_LETTER) {
      return true;
    }
  }
  return false;
}

std::u16string TUnknownWord::KeyOf(std::u16string_view aWord) {
  if (HasLowercaseLetter(aWord))
    return Ryvel::Platform::LowerCase(aWord);
  return std::u16string(aWord);
}

void TUnknownWord::SetText(const std::u16string& aValue) {
  if (aValue != FText) {
    FText = aValue;
    FKey.clear();
  }
}

const std::u16string& TUnknownWord::Key() const {
  if (FKey.empty())
    FKey = KeyOf(FText);
  return FKey;
}

void TUnknownWord::UpdateText(std::u16string_view aWord) {
  if (aWord != FText)
    FText = Key();
}

// ---------------------------------------------------------------------------------------------

int TUnknownWordList::Compare(const TEntry& a, std::string_view aSortKey, std::u16string_view aKey) {
  const int r = std::string_view(a.SortKey).compare(aSortKey);
  if (r != 0)
    return r < 0 ? -1 : 1;
  const int t = std::u16string_view(a.Key).compare(aKey);
  return t < 0 ? -1 : (t > 0 ? 1 : 0);
}

bool TUnknownWordList::Less(const TEntry& a, std::string_view aSortKey, std::u16string_view aKey) {
  return Compare(a, aSortKey, aKey) < 0;
}

void TUnknownWordList::CheckIndex(int aIndex) const {
  if (aIndex < 0 || aIndex >= Count())
    throw std::out_of_range("List index out of bounds (" + std::to_string(aIndex) + ")");
}

bool TUnknownWordList::Find(std::u16string_view aKey, int& aIndex) const {
  if (FBulkInsertCount > 0) {
    // Entries are in insertion order while a bulk insert is open.
    for (int i = 0; i < Count(); ++i)
      if (FList[i].Key == aKey) {
        aIndex = i;
        return true;
      }
    aIndex = Count();
    return false;
  }
  const std::string sortKey = Ryvel::Platform::SortKey(aKey);
  int lo = 0, hi = Count() - 1;
  while (lo <= hi) {
    const int mid = lo + (hi - lo) / 2;
    const int c = Compare(FList[mid], sortKey, aKey);
    if (c < 0)
      lo = mid + 1;
    else if (c > 0)
      hi = mid - 1;
    else {
      aIndex = mid;
      return true;
    }
  }
  aIndex = lo;
  return false;
}

TUnknownWord* TUnknownWordList::FindWord(std::u16string_view aKey) const {
  const auto it = FIndex.find(aKey);
  return it == FIndex.end() ? nullptr : it->second;
}

void TUnknownWordList::Insert(std::u16string aKey, std::unique_ptr<TUnknownWord> aWord) {
  TEntry e{std::move(aKey), {}, std::move(aWord)};
  e.SortKey = Ryvel::Platform::SortKey(e.Key);
  FIndex.emplace(e.Key, e.Word.get());
  if (FBulkInsertCount > 0) {
    FList.push_back(std::move(e));
    return;
  }
  const auto pos = std::lower_bound(FList.begin(), FList.end(), e, [](const TEntry& a, const TEntry& b) {
    return Less(a, b.SortKey, b.Key);
  });
  FList.insert(pos, std::move(e));
}

TUnknownWord* TUnknownWordList::Add(std::u16string_view aWord, TSegmentData* aSegmentData) {
  std::u16string key = TUnknownWord::KeyOf(aWord);
  TUnknownWord* w = FindWord(key);
  if (w == nullptr) {
    auto created = std::make_unique<TUnknownWord>(std::u16string(aWord));
    w = created.get();
    Insert(std::move(key), std::move(created));
  }
  if (aWord != w->FText)
    w->FText = w->Key();
  w->Add(aSegmentData);
  return w;
}

bool TUnknownWordList::Add(std::unique_ptr<TUnknownWord>& aUnknownWord) {
  if (!aUnknownWord)
    return false;
  const std::u16string& key = aUnknownWord->Key();
  if (FBulkInsertCount <= 0 && FindWord(key) != nullptr)
    return false;
  Insert(key, std::move(aUnknownWord));
  return true;
}

void TUnknownWordList::Remove(int aIndex) {
  const auto it = FIndex.find(std::u16string_view(FList[aIndex].Key));
  // In bulk mode two entries may share a key; only drop the index entry of this word.
  if (it != FIndex.end() && it->second == FList[aIndex].Word.get())
    FIndex.erase(it);
  FList.erase(FList.begin() + aIndex);
}

void TUnknownWordList::Delete(int aIndex) {
  CheckIndex(aIndex);
  Remove(aIndex);
}

void TUnknownWordList::Delete(std::u16string_view aKey) {
  int i = 0;
  if (Find(aKey, i))
    Remove(i);
}

std::unique_ptr<TUnknownWord> TUnknownWordList::Extract(int aIndex) {
  CheckIndex(aIndex);
  std::unique_ptr<TUnknownWord> w = std::move(FList[aIndex].Word);
  const auto it = FIndex.find(std::u16string_view(FList[aIndex].Key));
  if (it != FIndex.end() && it->second == w.get())
    FIndex.erase(it);
  FList.erase(FList.begin() + aIndex);
  return w;
}

const std::u16string& TUnknownWordList::Text(int aIndex) const {
  CheckIndex(aIndex);
  return FList[aIndex].Key;
}

TUnknownWord* TUnknownWordList::UnknownWord(int aIndex) const {
  CheckIndex(aIndex);
  return FList[aIndex].Word.get();
}

void TUnknownWordList::Clear() {
  FIndex.clear();
  FList.clear();
}

void TUnknownWordList::BeginBulkInsert() {
  if (FBulkInsertCount <= 0)
    FBulkInsertCount = 0;
  ++FBulkInsertCount;
}

void TUnknownWordList::EndBulkInsert() {
  --FBulkInsertCount;
  if (FBulkInsertCount != 0)
    return;
  std::stable_sort(FList.begin(), FList.end(), [](const TEntry& a, const TEntry& b) {
    return Less(a, b.SortKey, b.Key);
  });
  // Keys that arrived twice during the bulk insert: keep the first, as a sorted insert would.
  for (size_t i = 1; i < FList.size();) {
    if (FList[i].Key == FList[i - 1].Key)
      FList.erase(FList.begin() + static_cast<long>(i));
    else
      ++i;
  }
  FIndex.clear();
  for (auto& e : FList)
    FIndex.emplace(e.Key, e.Word.get());
}
