#include "review/UReviewCore.h"

#include "platform/UText.h"
#include "platform/UTicks.h"
#include "review/UReviewFrontEnd.h"
#include "session/UProgressDialog.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <unordered_map>
#include <unordered_set>

using Ryvel::Platform::GetTickCount;

namespace {


// New keys are appended and sorted once at the end instead of shifting the list per new key.
class TBulkInsertGuard {
public:
  explicit TBulkInsertGuard(TUnknownWordList& aList) : FList(aList) { FList.BeginBulkInsert(); }
  ~TBulkInsertGuard() { FList.EndBulkInsert(); }
  TBulkInsertGuard(const TBulkInsertGuard&) = delete;
  TBulkInsertGuard& operator=(const TBulkInsertGuard&) = delete;

private:
  TUnknownWordList& FList;
};

// Whether aTime lies after aMoment on the wrapping 32-bit tick counter.
bool After(uint32_t aTime, uint32_t aMoment) { return static_cast<int32_t>(aTime - aMoment) > 0; }

std::u16string Decimal(unsigned long long aValue) {
  const std::string s = std::to_string(aValue);
  return std::u16string(s.begin(), s.end());
}

int ClampToInt(int64_t aValue) {
  return static_cast<int>(std::clamp<int64_t>(aValue, INT_MIN, INT_MAX));
}

} // namespace

TReviewCore::TReviewCore(IReviewView* aView) : FView(aView != nullptr ? aView : &FNullView) {
  FOptions.WorkingMode = wmDiscard;
  FOptions.Speller = DefaultSpellerOptions;
  FOptions.Addendums = nullptr;
}

// The word list and the excluded list only refer to words of FPending, which goes last.
TReviewCore::~TReviewCore() = default;

int TReviewCore::Execute(IReviewFrontEnd& aFrontEnd, TOptions& aOptions, TSegmentList& aSegments,
                         TUnknownWordList& aConfirmed, TUnknownWordList& aDiscarded,
                         const std::shared_ptr<IRySpeller>& aSpeller) {
  try {
    TReviewCore core(aFrontEnd.View());
    core.Assign(aOptions, aSegments, aConfirmed, aDiscarded, aSpeller);
    const bool ok = core.RunCheck(false);
    FreeProgressDialog();
    if (!ok)
      return 2;
    if (aFrontEnd.ShowModal(core) != 1)
      return 2;
    aOptions = core.Options();
    core.CollectResults();
    return 1;
  } catch (...) {
    FreeProgressDialog();
    throw;
  }
}

void TReviewCore::Assign(const TOptions& aOptions, TSegmentList& aSegments,
                         TUnknownWordList& aConfirmed, TUnknownWordList& aDiscarded,
                         std::shared_ptr<IRySpeller> aSpeller) {
  SetWorkingModeField(aOptions.WorkingMode);
  FOptions = aOptions;
  FSegments = &aSegments;
  FConfirmed = &aConfirmed;
  FDiscarded = &aDiscarded;
  FSpeller = std::move(aSpeller);
  FSortCol = LsCount;
  FSortDesc = FOptions.WorkingMode == wmDiscard;
}

void TReviewCore::SetWorkingModeField(TWorkingMode aMode) {
  if (aMode == FOptions.WorkingMode)
    return;
  FOptions.WorkingMode = aMode;
  FView->WorkingModeChanged();
}

TUnknownWordList* TReviewCore::RememberedList() const {
  return FOptions.WorkingMode == wmDiscard ? FDiscarded : FConfirmed;
}

// ---------------------------------------------------------------------------------------------
// The check run

bool TReviewCore::RunCheck(bool aKeepExcluded) {
  // Without the progress window (a run inside the open review) the window's own bar shows it.
  const bool ownBar = ProgressDialog == nullptr;
  struct TBarGuard {
    IReviewView& View;
    bool Own;
    ~TBarGuard() {
      if (Own)
        View.HideProgressBar();
    }
  } bar{*FView, ownBar};
  if (ownBar) {
    FView->ShowProgressBar(FSegments != nullptr ? static_cast<int>(FSegments->size()) : 0);
    FView->SetProgressPosition(0);
  }
  TUpdateGuard update(*FView);
  if (aKeepExcluded)
    StoreExcludedWords();
  const bool result = DoSpellCheck();
  RestoreExcludedWords();
  ShowStatistics();
  SortWords();
  FView->ResizeListColumns();
  SelectFirstItems();
  return result;
}

bool TReviewCore::DoSpellCheck() {
  if (ProgressDialog != nullptr)
    ProgressDialog->BringToFront();
  TUpdateGuard update(*FView);
  FElapsedTime = 0;
  FWordCount = 0;

  FWordRows.SetRowCount(0);
  FUnknownWords.Clear();
  FExcluded.Clear();
  FPending.Clear();
  FView->WordListChanged();
  FView->ExcludedListChanged();

  if (!FSpeller || !FSpeller->Enabled())
    return false;

  const uint32_t start = GetTickCount();
  auto cancelled = [&] {
    FElapsedTime = GetTickCount() - start;
    return false;
  };
  if (ProgressDialog != nullptr) {
    ProgressDialog->UpdateData();
    if (ProgressDialog->UserCancel())
      return cancelled();
  }

  uint32_t deadline = 0;
  FSpeller->ReloadSpecialWords();
  {
    TSegmentData* current = nullptr;
    // One callback for the whole run; it only records the occurrence under the current segment.
    const TWordProc callback = [this, &current](std::u16string_view aWord) {
      FPending.Add(aWord, current);
    };
    TBulkInsertGuard bulk(FPending);
    const size_t count = FSegments != nullptr ? FSegments->size() : 0;
    for (size_t i = 0; i < count; ++i) {
      current = (*FSegments)[i].get();
      int words = 0;
      const int reported =
          current != nullptr ? FSpeller->Check(*current, FOptions.Speller, words, callback) : 0;
      FWordCount += std::max(words, 0);
      if (ProgressDialog != nullptr) {
        ProgressDialog->AddSegmentData(reported > 0, ClampToInt(FWordCount), FPending.Count());
        if (ProgressDialog->UserCancel())
          return cancelled();
      } else if (i == 0) {
        deadline = GetTickCount() + 1000;
      } else if (i % 4096 == 0 && After(GetTickCount(), deadline)) {
        deadline += 1000;
        FView->SetProgressPosition(static_cast<int>(i + 1));
      }
    }
  }

  for (int i = 0; i < FPending.Count(); ++i)
    FUnknownWords.Add(FPending.UnknownWord(i));
  UpdateWordRowCount();
  FElapsedTime = GetTickCount() - start;
  // The progress window is destroyed right after this run, so it only gets the final figures.
  if (ProgressDialog != nullptr)
    ProgressDialog->UpdateData();
  return true;
}

void TReviewCore::StoreExcludedWords() {
  if (FConfirmed != nullptr)
    FConfirmed->Clear();
  if (FDiscarded != nullptr)
    FDiscarded->Clear();
  TUnknownWordList* target = RememberedList();
  if (target == nullptr)
    return;
  for (int i = 0; i < FExcluded.Count(); ++i)
    target->Add(FExcluded.Entry(i).Text, nullptr);
}

void TReviewCore::RestoreExcludedWords() {
  const TUnknownWordList* remembered = RememberedList();
  if (remembered == nullptr || remembered->Count() == 0 || FUnknownWords.Count() == 0)
    return;
  // The same moves as one exact-text search per remembered word, without the quadratic cost:
  // texts are unique within a run, so a hash by text finds the row.
  std::unordered_map<std::u16string_view, TUnknownWord*> byText;
  byText.reserve(static_cast<size_t>(FUnknownWords.Count()));
  for (int i = 0; i < FUnknownWords.Count(); ++i)
    byText.emplace(FUnknownWords[i]->Text(), FUnknownWords[i]);
  std::unordered_set<const TUnknownWord*> moved;
  std::vector<TExcludedEntry> entries;
  for (int i = 0; i < remembered->Count(); ++i) {
    const std::u16string& text = remembered->UnknownWord(i)->Text();
    if (text.empty())
      continue;
    const auto it = byText.find(text);
    if (it == byText.end() || !moved.insert(it->second).second)
      continue;
    entries.push_back({it->second->Text(), it->second, true});
  }
  if (entries.empty())
    return;
  TUpdateGuard update(*FView);
  FUnknownWords.RemoveIf([&moved](const TUnknownWord* w) { return moved.count(w) != 0; });
  FExcluded.AddMany(std::move(entries));
  UpdateWordRowCount();
  FView->ExcludedListChanged();
}

// ---------------------------------------------------------------------------------------------
// Moving single words

void TReviewCore::DiscardWord(std::u16string_view aWord) {
  if (!aWord.empty())
    DiscardIndex(FUnknownWords.IndexOfText(aWord));
}

void TReviewCore::DiscardIndex(int aIndex) {
  if (aIndex < 0 || aIndex >= FUnknownWords.Count())
    return;
  TUpdateGuard update(*FView);
  TUnknownWord* w = FUnknownWords[aIndex];
  FExcluded.Add(w->Text(), w, true);
  FUnknownWords.Delete(aIndex);
  UpdateWordRowCount();
  FView->ExcludedListChanged();
}

void TReviewCore::AcceptIndex(int aIndex) {
  if (aIndex < 0 || aIndex >= FExcluded.Count())
    return;
  TUpdateGuard update(*FView);
  FUnknownWords.Add(FExcluded.Entry(aIndex).Word);
  FExcluded.Delete(aIndex);
  UpdateWordRowCount();
  FView->ExcludedListChanged();
}

bool TReviewCore::IsDiscarded(std::u16string_view aWord, int& aIndex) const {
  aIndex = FExcluded.IndexOf(aWord);
  return aIndex >= 0;
}

bool TReviewCore::IsDiscarded(std::u16string_view aWord) const {
  int i = -1;
  return IsDiscarded(aWord, i);
}

void TReviewCore::AcceptWord(std::u16string_view aWord) {
  int i = -1;
  if (IsDiscarded(aWord, i))
    AcceptIndex(i);
}

void TReviewCore::UpdateWordRowCount() {
  FWordRows.SetRowCount(FUnknownWords.Count());
  FView->WordListChanged();
}

// ---------------------------------------------------------------------------------------------
// Sorting, statistics, selection

int TReviewCore::CompareWords(const TUnknownWord& a, const TUnknownWord& b) const {
  int r;
  if (FSortCol == LsWord) {
    r = Ryvel::Platform::CompareText(a.Text(), b.Text());
  } else {
    const size_t ca = a.Data().size(), cb = b.Data().size();
    r = ca < cb ? -1 : (ca > cb ? 1 : 0);
  }
  return FSortDesc ? -r : r;
}

void TReviewCore::SortWords() {
  FUnknownWords.Sort(
      [this](const TUnknownWord& a, const TUnknownWord& b) { return CompareWords(a, b); });
  FView->WordListChanged();
}

void TReviewCore::SetSort(TSortColumn aColumn, bool aDescending) {
  FSortCol = aColumn;
  FSortDesc = aDescending;
}

std::u16string TReviewCore::FormatStatistics(uint32_t aElapsedMs, int64_t aWordCount) {
  std::u16string s;
  if (aElapsedMs < 10000)
    s = u"Elapsed Time " + Decimal(aElapsedMs) + u"ms";
  else
    s = u"Elapsed Time: " + Decimal(aElapsedMs / 1000) + u"s";
  s += u"    Total Words: ";
  std::u16string count = Ryvel::Platform::FormatThousands(aWordCount);
  if (count.size() < 10)
    count.append(10 - count.size(), u' ');
  s += count;
  if (aElapsedMs > 0) {
    const double rate = static_cast<double>(aWordCount) * 1000.0 / aElapsedMs;
    s += u"   (" + Ryvel::Platform::FormatThousands(std::llround(rate)) + u" word/s)";
  }
  return s;
}

void TReviewCore::ShowStatistics() {
  FStatusText = FormatStatistics(FElapsedTime, FWordCount);
  FView->ShowStatistics(FStatusText);
}

void TReviewCore::SelectFirstItems() {
  FWordRows.ClearSelection();
  if (FWordRows.RowCount() > 0) {
    FWordRows.SetFocused(0);
    FWordRows.SetSelected(0, true);
  }
  FExcluded.ClearSelection();
  if (FExcluded.Count() > 0)
    FExcluded.SetSelected(0, true);
  FView->SelectionChanged();
}

// ---------------------------------------------------------------------------------------------
// Results

void TReviewCore::CollectResults() {
  if (FConfirmed == nullptr || FDiscarded == nullptr)
    return;
  FConfirmed->Clear();
  FDiscarded->Clear();
  // Every word of the run sits in exactly one of the two lists, so membership by identity is
  // what the lists show; a word left in the word list never counts as excluded because an
  // excluded word differs from it only in case.
  std::unordered_set<const TUnknownWord*> inWordList;
  std::unordered_set<const TUnknownWord*> inExcluded;
  if (FOptions.WorkingMode == wmDiscard) {
    inWordList.reserve(static_cast<size_t>(FUnknownWords.Count()));
    for (int i = 0; i < FUnknownWords.Count(); ++i)
      inWordList.insert(FUnknownWords[i]);
  } else {
    inExcluded.reserve(static_cast<size_t>(FExcluded.Count()));
    for (int i = 0; i < FExcluded.Count(); ++i)
      inExcluded.insert(FExcluded.Entry(i).Word);
  }
  // The words leave the lists that refer to them before they change owner.
  FWordRows.SetRowCount(0);
  FUnknownWords.Clear();
  FExcluded.Clear();
  {
    TBulkInsertGuard confirmed(*FConfirmed);
    TBulkInsertGuard discarded(*FDiscarded);
    for (int i = FPending.Count() - 1; i >= 0; --i) {
      std::unique_ptr<TUnknownWord> w = FPending.Extract(i);
      if (FOptions.WorkingMode == wmDiscard) {
        if (inWordList.count(w.get()) != 0)
          FConfirmed->Add(w);
        else
          FDiscarded->Add(w);
      } else if (inExcluded.count(w.get()) != 0) {
        FConfirmed->Add(w);
      }
      // A word no list took is destroyed here.
    }
  }
  FView->WordListChanged();
  FView->ExcludedListChanged();
}
