// The review commands that move words between the word list and the excluded list, by selection
// or by rule, and the working mode switch. They act on a TReviewCore and keep its selection and
// focus as the window shows them.
#pragma once

#include "review/UReviewCore.h"

#include <functional>
#include <string>
#include <string_view>

class TReviewCommands {
public:
  explicit TReviewCommands(TReviewCore& aCore) : FCore(aCore) {}

  // Rule tests on a word's text.
  // True when every character is an uppercase letter; the empty string is.
  static bool IsUpperCaseWord(std::u16string_view aWord);
  // True when aText holds aWord (case-sensitive) with no letter right before or after it.
  static bool HasWholeWord(std::u16string_view aWord, std::u16string_view aText);
  static bool IsAbbreviation(std::u16string_view aWord);
  // Upper case, and found as a whole word in the source of every instance.
  static bool IsUpperCaseInSource(std::u16string_view aText, const TUnknownWord& aWord);

  using TRowTest = std::function<bool(std::u16string_view aText, const TUnknownWord& aWord)>;

  void DiscardSelection();
  void DiscardAll() {
    DiscardWhere([](std::u16string_view, const TUnknownWord&) { return true; });
  }
  void DiscardUpper();
  void DiscardUpperInSource();
  void DiscardAbbreviations();
  void DiscardWhere(const TRowTest& aTest);

  void AcceptSelection();
  void AcceptAll();
  void AcceptUpper();
  void AcceptUpperInSource();
  void AcceptAbbreviations();
  void AcceptWhere(const TRowTest& aTest);

  // Check (F5): runs again, keeping the excluded words.
  void SpellerCheck() { FCore.RunCheck(true); }
  // The options frame's apply: the new exclusion options, a run, then the word list's focus.
  void ApplySpellerOptions(TRySpellerOptions aOptions);

  // Switches the mode; the excluded words change sides so that every decision keeps its meaning.
  void SetWorkingMode(TWorkingMode aMode);
  // Change Working Mode: switches and tells the user what the excluded list now means.
  void SwapWorkingMode();
  void SwapLists();

  // Selection helpers the script front end and the window use.
  // Makes the word list row with exactly this text the only selected row and focuses it; false
  // when there is none.
  bool SelectWord(std::u16string_view aText);
  // Makes the excluded entry with exactly this text the only selected and the current entry.
  bool SelectExcluded(std::u16string_view aText);

private:
  // Moves the given word list rows (positions in descending order) in one step, with the result
  // of a DiscardIndex per row in that order.
  void DiscardRows(const std::vector<int>& aRowsDescending);
  void AcceptEntriesWhere(const std::function<bool(const TExcludedEntry&)>& aTest);
  void FocusActiveList(bool aDefaultExcluded);
  void FocusRow(int aRow, bool aSelect);

  TReviewCore& FCore;
};
