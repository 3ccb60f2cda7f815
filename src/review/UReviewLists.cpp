#include "review/UReviewLists.h"

#include "platform/UText.h"

#include <algorithm>
#include <iterator>

using Ryvel::Platform::CompareTextIgnoreCase;

void TUnknownWordSortedList::Delete(int aIndex) {
  if (aIndex >= 0 && aIndex < Count())
    FItems.erase(FItems.begin() + aIndex);
}

int TUnknownWordSortedList::IndexOfText(std::u16string_view aText) const {
  for (int i = 0; i < Count(); ++i)
    if (FItems[static_cast<size_t>(i)]->Text() == aText)
      return i;
  return -1;
}

void TUnknownWordSortedList::RemoveIf(const std::function<bool(const TUnknownWord*)>& aRemove) {
  FItems.erase(std::remove_if(FItems.begin(), FItems.end(), aRemove), FItems.end());
}

void TUnknownWordSortedList::Sort(const TComparer& aComparer) {
  std::stable_sort(FItems.begin(), FItems.end(), [&aComparer](TUnknownWord* a, TUnknownWord* b) {
    return aComparer(*a, *b) < 0;
  });
}

// ---------------------------------------------------------------------------------------------

void TListRowState::SetRowCount(int aCount) {
  aCount = std::max(aCount, 0);
  if (aCount < RowCount())
    FSelectedCount -= static_cast<int>(std::count(FSelected.begin() + aCount, FSelected.end(), 1));
  FSelected.resize(static_cast<size_t>(aCount), 0);
  if (FFocused >= aCount)
    FFocused = -1;
}

bool TListRowState::Selected(int aRow) const {
  return aRow >= 0 && aRow < RowCount() && FSelected[static_cast<size_t>(aRow)] != 0;
}

void TListRowState::SetSelected(int aRow, bool aValue) {
  if (aRow < 0 || aRow >= RowCount())
    return;
  char& mark = FSelected[static_cast<size_t>(aRow)];
  if ((mark != 0) == aValue)
    return;
  mark = aValue ? 1 : 0;
  FSelectedCount += aValue ? 1 : -1;
}

void TListRowState::ClearSelection() {
  std::fill(FSelected.begin(), FSelected.end(), 0);
  FSelectedCount = 0;
}

void TListRowState::SetFocused(int aRow) {
  FFocused = (aRow >= 0 && aRow < RowCount()) ? aRow : -1;
}

// ---------------------------------------------------------------------------------------------

namespace {

bool LessIgnoreCase(const TExcludedEntry& a, const TExcludedEntry& b) {
  return CompareTextIgnoreCase(a.Text, b.Text) < 0;
}

} // namespace

int TExcludedList::Add(std::u16string aText, TUnknownWord* aWord, bool aSelected) {
  TExcludedEntry e{std::move(aText), aWord, aSelected};
  const auto pos = std::upper_bound(FEntries.begin(), FEntries.end(), e, LessIgnoreCase);
  const int index = static_cast<int>(pos - FEntries.begin());
  FEntries.insert(pos, std::move(e));
  if (FItemIndex >= index)
    ++FItemIndex;
  return index;
}

void TExcludedList::AddMany(std::vector<TExcludedEntry> aEntries) {
  if (aEntries.empty())
    return;
  // Adding one by one puts each entry after its equals; a stable sort of the new entries merged
  // after the old equal ones gives the same order without shifting the list once per entry.
  std::stable_sort(aEntries.begin(), aEntries.end(), LessIgnoreCase);
  const bool hadCurrent = FItemIndex >= 0;
  const TUnknownWord* currentWord =
      hadCurrent ? FEntries[static_cast<size_t>(FItemIndex)].Word : nullptr;
  std::vector<TExcludedEntry> merged;
  merged.reserve(FEntries.size() + aEntries.size());
  std::merge(std::make_move_iterator(FEntries.begin()), std::make_move_iterator(FEntries.end()),
             std::make_move_iterator(aEntries.begin()), std::make_move_iterator(aEntries.end()),
             std::back_inserter(merged), LessIgnoreCase);
  FEntries = std::move(merged);
  if (hadCurrent) {
    FItemIndex = -1;
    for (int i = 0; i < Count(); ++i)
      if (FEntries[static_cast<size_t>(i)].Word == currentWord) {
        FItemIndex = i;
        break;
      }
  }
}

void TExcludedList::Delete(int aIndex) {
  if (aIndex < 0 || aIndex >= Count())
    return;
  FEntries.erase(FEntries.begin() + aIndex);
  if (FItemIndex == aIndex)
    FItemIndex = -1;
  else if (FItemIndex > aIndex)
    --FItemIndex;
}

void TExcludedList::Clear() {
  FEntries.clear();
  FItemIndex = -1;
}

int TExcludedList::IndexOf(std::u16string_view aText) const {
  if (aText.empty())
    return -1;
  const auto first = std::lower_bound(FEntries.begin(), FEntries.end(), aText,
                                      [](const TExcludedEntry& e, std::u16string_view t) {
                                        return CompareTextIgnoreCase(e.Text, t) < 0;
                                      });
  for (auto it = first; it != FEntries.end() && CompareTextIgnoreCase(it->Text, aText) == 0; ++it)
    if (it->Text == aText)
      return static_cast<int>(it - FEntries.begin());
  return -1;
}

void TExcludedList::SetSelected(int aIndex, bool aValue) {
  if (aIndex >= 0 && aIndex < Count())
    FEntries[static_cast<size_t>(aIndex)].Selected = aValue;
}

void TExcludedList::ClearSelection() {
  for (auto& e : FEntries)
    e.Selected = false;
}

int TExcludedList::SelectedCount() const {
  return static_cast<int>(std::count_if(FEntries.begin(), FEntries.end(),
                                        [](const TExcludedEntry& e) { return e.Selected; }));
}

void TExcludedList::SetItemIndex(int aIndex) {
  FItemIndex = (aIndex >= 0 && aIndex < Count()) ? aIndex : -1;
}
