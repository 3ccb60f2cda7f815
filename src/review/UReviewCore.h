// The review dialog without its window: the state of one review (options, the run's words, the
// word list and the excluded list with their selections, the sort state and the statistics), the
// check run over all segments, and the moves of single words between the two lists.
#pragma once

#include "review/UReviewLists.h"
#include "review/UReviewView.h"
#include "session/URySpellerClasses.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

// Sort column of the word list.
enum TSortColumn : uint8_t { LsNone = 0, LsWord = 1, LsCount = 2, LsItem = 3 };

// Which of the two lists last had the keyboard focus.
enum class TActiveList : uint8_t { None, WordList, ExcludedList };

class IReviewFrontEnd;

class TReviewCore {
public:
  using TOptions = TSpellerConfirmOptions;

  // aView (borrowed, may be null) is told what a window would repaint.
  explicit TReviewCore(IReviewView* aView = nullptr);
  TReviewCore(const TReviewCore&) = delete;
  TReviewCore& operator=(const TReviewCore&) = delete;
  ~TReviewCore();

  // The whole review: takes the session's options, lists and speller, runs the check, lets
  // aFrontEnd decide and, after OK, writes the options and the results back. Returns 1 (OK) or 2.
  // The progress window is destroyed before the front end is asked and whenever an error escapes.
  static int Execute(IReviewFrontEnd& aFrontEnd, TOptions& aOptions, TSegmentList& aSegments,
                     TUnknownWordList& aConfirmed, TUnknownWordList& aDiscarded,
                     const std::shared_ptr<IRySpeller>& aSpeller);

  // Takes what one review works on; the sort starts on the instance count, most frequent first
  // in mode wmDiscard and rarest first in mode wmAccept.
  void Assign(const TOptions& aOptions, TSegmentList& aSegments, TUnknownWordList& aConfirmed,
              TUnknownWordList& aDiscarded, std::shared_ptr<IRySpeller> aSpeller);

  const TOptions& Options() const { return FOptions; }
  TWorkingMode WorkingMode() const { return FOptions.WorkingMode; }
  // Sets the mode without moving any word (the command layer swaps the lists).
  void SetWorkingModeField(TWorkingMode aMode);
  // The exclusion options used by the next run.
  void SetSpellerOptions(TRySpellerOptions aOptions) { FOptions.Speller = aOptions; }

  // One complete run with the list bookkeeping; true when DoSpellCheck completed.
  // aKeepExcluded keeps the user's excluded words across the run.
  bool RunCheck(bool aKeepExcluded);
  // The pass over the segments; true when it went through all of them.
  bool DoSpellCheck();
  // The excluded list replaces the remembered words of the current mode.
  void StoreExcludedWords();
  // Remembered words of the current mode that the run found move to the excluded list.
  void RestoreExcludedWords();

  // Moves the word with exactly this text from the word list to the excluded list.
  void DiscardWord(std::u16string_view aWord);
  // Moves word list row aIndex to the excluded list and selects its entry; ignores bad rows.
  void DiscardIndex(int aIndex);
  // Appends the word of excluded entry aIndex to the word list (unsorted); ignores bad entries.
  void AcceptIndex(int aIndex);
  bool IsDiscarded(std::u16string_view aWord, int& aIndex) const;
  bool IsDiscarded(std::u16string_view aWord) const;
  void AcceptWord(std::u16string_view aWord);

  // Sorts the word list with CompareWords.
  void SortWords();
  int CompareWords(const TUnknownWord& a, const TUnknownWord& b) const;
  TSortColumn SortCol() const { return FSortCol; }
  bool SortDesc() const { return FSortDesc; }
  void SetSort(TSortColumn aColumn, bool aDescending);

  void ShowStatistics();
  // "Elapsed Time 2500ms    Total Words: 12,345       (4,938 word/s)" and its variants.
  static std::u16string FormatStatistics(uint32_t aElapsedMs, int64_t aWordCount);
  const std::u16string& StatusText() const { return FStatusText; }

  void SelectFirstItems();
  // After OK: hands the reviewed words to the session's lists; the pending list ends empty.
  void CollectResults();

  // Every word of the last run, one per key; owns them.
  TUnknownWordList& Pending() { return FPending; }
  const TUnknownWordList& Pending() const { return FPending; }
  // The word list in display order.
  const TUnknownWordSortedList& UnknownWords() const { return FUnknownWords; }
  TUnknownWordSortedList& UnknownWords() { return FUnknownWords; }
  TListRowState& WordRows() { return FWordRows; }
  const TListRowState& WordRows() const { return FWordRows; }
  TExcludedList& Excluded() { return FExcluded; }
  const TExcludedList& Excluded() const { return FExcluded; }
  TActiveList ActiveList() const { return FActiveList; }
  void SetActiveList(TActiveList aList) { FActiveList = aList; }

  const TSegmentList* Segments() const { return FSegments; }
  TUnknownWordList* Confirmed() const { return FConfirmed; }
  TUnknownWordList* Discarded() const { return FDiscarded; }
  const std::shared_ptr<IRySpeller>& Speller() const { return FSpeller; }
  uint32_t ElapsedTime() const { return FElapsedTime; }
  int64_t WordCount() const { return FWordCount; }

  IReviewView& View() const { return *FView; }
  // Sets the word list control's row count to the number of words and tells the view.
  void UpdateWordRowCount();

private:
  // The list of remembered words the current mode selects.
  TUnknownWordList* RememberedList() const;

  TOptions FOptions;
  TSegmentList* FSegments = nullptr;
  TUnknownWordList FPending;
  TUnknownWordList* FConfirmed = nullptr;
  TUnknownWordList* FDiscarded = nullptr;
  TUnknownWordSortedList FUnknownWords;
  TListRowState FWordRows;
  TExcludedList FExcluded;
  std::shared_ptr<IRySpeller> FSpeller;
  TSortColumn FSortCol = LsNone;
  bool FSortDesc = false;
  TActiveList FActiveList = TActiveList::None;
  uint32_t FElapsedTime = 0;
  // Wider than the examined-word counter of one segment, so a huge run cannot overflow it.
  int64_t FWordCount = 0;
  std::u16string FStatusText;
  IReviewView FNullView;
  IReviewView* FView;
};
