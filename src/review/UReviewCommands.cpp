#include "review/UReviewCommands.h"

#include "platform/UMessages.h"
#include "platform/UText.h"

#include <set>
#include <unicode/uchar.h>
#include <unordered_map>
#include <unordered_set>

using Ryvel::Platform::CharType;

namespace {

constexpr char16_t MessageCaption[] = u"Veskora Ryvel SpellChecker";

bool IsLetterCategory(char16_t c) {
  switch (CharType(c)) {
  case U_UPPERCASE_LETTER:
  case U_LOWERCASE_LETTER:
  case U_TITLECASE_LETTER:
  case U_MODIFIER_LETTER:
  case U_OTHER_LETTER:
    return true;
  default:
    return false;
  }
}

// A sorted set of texts in the locale's case-sensitive order (code units break ties).
struct TLocaleLess {
  bool operator()(const std::u16string& a, const std::u16string& b) const {
    return Ryvel::Platform::CompareKeys(a, b) < 0;
  }
};
using TTextSet = std::set<std::u16string, TLocaleLess>;


// Row positions of the word list by text (texts are unique within a run).
std::unordered_map<std::u16string_view, int> RowsByText(const TUnknownWordSortedList& aWords) {
  std::unordered_map<std::u16string_view, int> rows;
  rows.reserve(static_cast<size_t>(aWords.Count()));
  for (int i = 0; i < aWords.Count(); ++i)
    rows.emplace(aWords[i]->Text(), i);
  return rows;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Rule tests

bool TReviewCommands::IsUpperCaseWord(std::u16string_view aWord) {
  for (char16_t c : aWord)
    if (CharType(c) != U_UPPERCASE_LETTER)
      return false;
  return true;
}

bool TReviewCommands::HasWholeWord(std::u16string_view aWord, std::u16string_view aText) {
  for (size_t pos = aText.find(aWord); pos != std::u16string_view::npos;
       pos = aText.find(aWord, pos + 1)) {
    const bool letterBefore = pos > 0 && IsLetterCategory(aText[pos - 1]);
    const size_t end = pos + aWord.size();
    const bool letterAfter = end < aText.size() && IsLetterCategory(aText[end]);
    if (!letterBefore && !letterAfter)
      return true;
    if (pos >= aText.size())
      break;
  }
  return false;
}

bool TReviewCommands::IsAbbreviation(std::u16string_view aWord) {
  return !aWord.empty() && aWord.back() == u'.';
}

bool TReviewCommands::IsUpperCaseInSource(std::u16string_view aText, const TUnknownWord& aWord) {
  if (!IsUpperCaseWord(aText))
    return false;
  for (const TSegmentData* s : aWord.Data())
    if (s == nullptr || !HasWholeWord(aText, s->Source()))
      return false;
  return true;
}

// ---------------------------------------------------------------------------------------------
// Word list -> excluded list

void TReviewCommands::DiscardRows(const std::vector<int>& aRowsDescending) {
  if (aRowsDescending.empty())
    return;
  TUnknownWordSortedList& words = FCore.UnknownWords();
  std::vector<TExcludedEntry> entries;
  entries.reserve(aRowsDescending.size());
  std::unordered_set<const TUnknownWord*> moved;
  for (int r : aRowsDescending) {
    if (r < 0 || r >= words.Count())
      continue;
    TUnknownWord* w = words[r];
    if (moved.insert(w).second)
      entries.push_back({w->Text(), w, true});
  }
  words.RemoveIf([&moved](const TUnknownWord* w) { return moved.count(w) != 0; });
  FCore.Excluded().AddMany(std::move(entries));
  FCore.UpdateWordRowCount();
  FCore.View().ExcludedListChanged();
}

void TReviewCommands::DiscardSelection() {
  TListRowState& rows = FCore.WordRows();
  if (rows.SelectedCount() == 0)
    return;
  {
    TUpdateGuard update(FCore.View());
    FCore.Excluded().ClearSelection();
    // The focus mark stays on its position while rows above it go: it ends on the row that
    // followed the focused one.
    const int focusMark = rows.Focused();
    int focus = -1;
    std::vector<int> selected;
    for (int r = rows.RowCount() - 1; r >= 0; --r) {
      if (rows.Selected(r)) {
        selected.push_back(r);
        if (focus >= 0)
          --focus;
      }
      if (r == focusMark)
        focus = r;
    }
    DiscardRows(selected);
    if (focus >= 0) {
      rows.ClearSelection();
      if (focus >= rows.RowCount())
        focus = rows.RowCount() - 1;
      if (focus >= 0)
        FocusRow(focus, true);
    }
  }
  FCore.View().SelectionChanged();
  FocusActiveList(false);
}

void TReviewCommands::DiscardUpper() {
  DiscardWhere([](std::u16string_view t, const TUnknownWord&) { return IsUpperCaseWord(t); });
}

void TReviewCommands::DiscardUpperInSource() { DiscardWhere(IsUpperCaseInSource); }

void TReviewCommands::DiscardAbbreviations() {
  DiscardWhere([](std::u16string_view t, const TUnknownWord&) { return IsAbbreviation(t); });
}

void TReviewCommands::DiscardWhere(const TRowTest& aTest) {
  TUnknownWordSortedList& words = FCore.UnknownWords();
  TListRowState& rows = FCore.WordRows();
  TTextSet remembered;
  for (int r = 0; r < rows.RowCount() && r < words.Count(); ++r)
    if (rows.Selected(r))
      remembered.insert(words[r]->Text());
  const int focusMark = rows.Focused();
  const std::u16string focusedText =
      focusMark >= 0 && focusMark < words.Count() ? words[focusMark]->Text() : std::u16string();
  {
    TUpdateGuard update(FCore.View());
    FCore.Excluded().ClearSelection();
    std::vector<int> moving;
    for (int r = words.Count() - 1; r >= 0; --r)
      if (aTest(words[r]->Text(), *words[r])) {
        moving.push_back(r);
        remembered.erase(words[r]->Text());
      }
    DiscardRows(moving);
  }
  rows.ClearSelection();
  if (words.Count() > 0) {
    const auto byText = RowsByText(words);
    int focus = -1;
    for (const std::u16string& t : remembered) {
      const auto it = byText.find(t);
      if (it == byText.end())
        continue;
      rows.SetSelected(it->second, true);
      if (focus < 0)
        focus = it->second;
    }
    const auto f = focusedText.empty() ? byText.end() : byText.find(focusedText);
    if (f != byText.end())
      focus = f->second;
    if (focus < 0)
      focus = 0;
    FocusRow(focus, remembered.empty());
  }
  FCore.View().SelectionChanged();
  FocusActiveList(false);
}

// ---------------------------------------------------------------------------------------------
// Excluded list -> word list

void TReviewCommands::AcceptSelection() {
  if (FCore.Excluded().SelectedCount() == 0)
    return;
  AcceptEntriesWhere([](const TExcludedEntry& aEntry) { return aEntry.Selected; });
}

void TReviewCommands::AcceptAll() {
  AcceptWhere([](std::u16string_view, const TUnknownWord&) { return true; });
  TListRowState& rows = FCore.WordRows();
  rows.ClearSelection();
  if (rows.RowCount() > 0)
    FocusRow(0, true);
  FCore.View().SelectionChanged();
}

void TReviewCommands::AcceptUpper() {
  AcceptWhere([](std::u16string_view t, const TUnknownWord&) { return IsUpperCaseWord(t); });
}

void TReviewCommands::AcceptUpperInSource() { AcceptWhere(IsUpperCaseInSource); }

void TReviewCommands::AcceptAbbreviations() {
  AcceptWhere([](std::u16string_view t, const TUnknownWord&) { return IsAbbreviation(t); });
}

void TReviewCommands::AcceptWhere(const TRowTest& aTest) {
  AcceptEntriesWhere(
      [&aTest](const TExcludedEntry& aEntry) { return aTest(aEntry.Text, *aEntry.Word); });
}

void TReviewCommands::AcceptEntriesWhere(const std::function<bool(const TExcludedEntry&)>& aTest) {
  TExcludedList& ex = FCore.Excluded();
  TTextSet moved;
  {
    TUpdateGuard update(FCore.View());
    int lowest = -1;
    for (int e = ex.Count() - 1; e >= 0; --e) {
      const TExcludedEntry& entry = ex.Entry(e);
      if (!aTest(entry))
        continue;
      moved.insert(entry.Text);
      FCore.AcceptIndex(e);
      lowest = e;
    }
    if (lowest >= 0 && ex.Count() > 0)
      ex.SetSelected(lowest < ex.Count() ? lowest : ex.Count() - 1, true);
    FCore.SortWords();
    TListRowState& rows = FCore.WordRows();
    rows.ClearSelection();
    const auto byText = RowsByText(FCore.UnknownWords());
    int focus = -1;
    for (const std::u16string& t : moved) {
      const auto it = byText.find(t);
      if (it == byText.end())
        continue;
      rows.SetSelected(it->second, true);
      if (focus < 0)
        focus = it->second;
    }
    if (focus < 0)
      focus = 0;
    FocusRow(focus, false);
  }
  FCore.View().SelectionChanged();
  FocusActiveList(true);
}

// ---------------------------------------------------------------------------------------------
// Runs and working mode

void TReviewCommands::ApplySpellerOptions(TRySpellerOptions aOptions) {
  FCore.SetSpellerOptions(aOptions);
  FCore.RunCheck(true);
  FCore.View().FocusList(false);
}

void TReviewCommands::SetWorkingMode(TWorkingMode aMode) {
  if (aMode == FCore.WorkingMode())
    return;
  FCore.SetWorkingModeField(aMode);
  if (FCore.Excluded().Count() > 0)
    SwapLists();
}

void TReviewCommands::SwapWorkingMode() {
  if (FCore.WorkingMode() == wmAccept) {
    SetWorkingMode(wmDiscard);
    Ryvel::Platform::ShowMessage(
        MessageCaption, u"You are now in False Alarms mode.\nPlease move to the False Alarms list "
                        u"box all words that are not spelling errors.");
  } else {
    SetWorkingMode(wmAccept);
    Ryvel::Platform::ShowMessage(MessageCaption,
                                 u"You are now in Real Misspellings mode.\nPlease move to the Real "
                                 u"Misspellings list box all words that are spelling errors.");
  }
}

void TReviewCommands::SwapLists() {
  TUnknownWordSortedList& words = FCore.UnknownWords();
  TExcludedList& ex = FCore.Excluded();
  TListRowState& rows = FCore.WordRows();
  {
    TUpdateGuard update(FCore.View());
    // The excluded words come back in the excluded list's order, and every row goes over, as
    // moving each row from the last one and then accepting each old entry by its text would do.
    std::vector<TUnknownWord*> back;
    back.reserve(static_cast<size_t>(ex.Count()));
    for (int e = 0; e < ex.Count(); ++e)
      back.push_back(ex.Entry(e).Word);
    std::vector<TExcludedEntry> entries;
    entries.reserve(static_cast<size_t>(words.Count()));
    for (int r = words.Count() - 1; r >= 0; --r)
      entries.push_back({words[r]->Text(), words[r], false});
    ex.Clear();
    ex.AddMany(std::move(entries));
    words.Clear();
    for (TUnknownWord* w : back)
      words.Add(w);
    FCore.UpdateWordRowCount();
    FCore.View().ExcludedListChanged();
    rows.ClearSelection();
    ex.ClearSelection();
    if (rows.RowCount() > 0)
      FocusRow(0, true);
    if (ex.Count() > 0) {
      ex.SetItemIndex(-1);
      ex.SetSelected(0, true);
    }
  }
  FCore.View().SelectionChanged();
}

// ---------------------------------------------------------------------------------------------
// Selection

bool TReviewCommands::SelectWord(std::u16string_view aText) {
  const int r = FCore.UnknownWords().IndexOfText(aText);
  if (r < 0)
    return false;
  FCore.WordRows().ClearSelection();
  FCore.WordRows().SetSelected(r, true);
  FCore.WordRows().SetFocused(r);
  FCore.SetActiveList(TActiveList::WordList);
  FCore.View().SelectionChanged();
  return true;
}

bool TReviewCommands::SelectExcluded(std::u16string_view aText) {
  const int e = FCore.Excluded().IndexOf(aText);
  if (e < 0)
    return false;
  FCore.Excluded().ClearSelection();
  FCore.Excluded().SetSelected(e, true);
  FCore.Excluded().SetItemIndex(e);
  FCore.SetActiveList(TActiveList::ExcludedList);
  FCore.View().SelectionChanged();
  return true;
}

void TReviewCommands::FocusRow(int aRow, bool aSelect) {
  TListRowState& rows = FCore.WordRows();
  if (aRow < 0 || aRow >= rows.RowCount())
    return;
  rows.SetFocused(aRow);
  if (aSelect)
    rows.SetSelected(aRow, true);
  FCore.View().ScrollFocusedRowIntoView();
}

void TReviewCommands::FocusActiveList(bool aDefaultExcluded) {
  switch (FCore.ActiveList()) {
  case TActiveList::WordList:
    FCore.View().FocusList(false);
    break;
  case TActiveList::ExcludedList:
    FCore.View().FocusList(true);
    break;
  case TActiveList::None:
    FCore.View().FocusList(aDefaultExcluded);
    break;
  }
}
