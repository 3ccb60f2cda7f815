// The two lists of the review dialog as plain data: the word list (a non-owning, sortable list of
// unknown words with the row selection of its virtual list control) and the excluded list (text
// and word pairs kept in the locale's case-ignoring order, with its selection).
#pragma once

#include "session/URySpellerClasses.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// The words of the word list in display order; the words belong to the run's pending list.
class TUnknownWordSortedList {
public:
  using TComparer = std::function<int(const TUnknownWord&, const TUnknownWord&)>;

  int Count() const { return static_cast<int>(FItems.size()); }
  TUnknownWord* operator[](int aIndex) const { return FItems[static_cast<size_t>(aIndex)]; }
  void Add(TUnknownWord* aWord) { FItems.push_back(aWord); }
  void Delete(int aIndex);
  void Clear() { FItems.clear(); }
  // Position of the first word whose text equals aText exactly, or -1 (linear search).
  int IndexOfText(std::u16string_view aText) const;
  // Drops every word for which aRemove holds, keeping the order of the others.
  void RemoveIf(const std::function<bool(const TUnknownWord*)>& aRemove);
  void Sort(const TComparer& aComparer);

private:
  std::vector<TUnknownWord*> FItems;
};

// The selection and focus of a virtual list control. Like the control, it remembers them by row
// position: removing a word does not move the marks of the rows after it.
class TListRowState {
public:
  int RowCount() const { return static_cast<int>(FSelected.size()); }
  // Marks beyond the new count are dropped.
  void SetRowCount(int aCount);
  bool Selected(int aRow) const;
  void SetSelected(int aRow, bool aValue);
  void ClearSelection();
  int SelectedCount() const { return FSelectedCount; }
  // The row with the keyboard focus mark, or -1.
  int Focused() const { return FFocused; }
  void SetFocused(int aRow);

private:
  std::vector<char> FSelected;
  int FSelectedCount = 0;
  int FFocused = -1;
};

// One entry of the excluded list: the word's text when it was added, and the word.
struct TExcludedEntry {
  std::u16string Text;
  TUnknownWord* Word = nullptr;
  bool Selected = false;
};

// The excluded list: entries ordered by text ignoring case in the user locale's collation, so
// spellings that differ only in case sit next to each other; several entries may be selected.
class TExcludedList {
public:
  int Count() const { return static_cast<int>(FEntries.size()); }
  const TExcludedEntry& Entry(int aIndex) const { return FEntries[static_cast<size_t>(aIndex)]; }
  // Inserts after the entries that compare equal ignoring case; returns the position.
  int Add(std::u16string aText, TUnknownWord* aWord, bool aSelected = false);
  // Inserts many entries with the result of adding them one by one in the given order.
  void AddMany(std::vector<TExcludedEntry> aEntries);
  void Delete(int aIndex);
  void Clear();

  // The entry whose text equals aText exactly (case-sensitive), or -1. The search starts at the
  // first entry equal ignoring case and steps through its neighbours that are equal ignoring case.
  int IndexOf(std::u16string_view aText) const;

  bool Selected(int aIndex) const { return Entry(aIndex).Selected; }
  void SetSelected(int aIndex, bool aValue);
  void ClearSelection();
  int SelectedCount() const;
  // The current entry (the list box's item index), or -1.
  int ItemIndex() const { return FItemIndex; }
  void SetItemIndex(int aIndex);

private:
  std::vector<TExcludedEntry> FEntries;
  int FItemIndex = -1;
};
