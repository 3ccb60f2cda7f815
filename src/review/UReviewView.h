// What a review window does for the review core. The core keeps every piece of state (lists,
// selection, focus, statistics); a view only shows it. Each call does nothing by default, so a
// headless front end needs no view at all.
#pragma once

#include <string>

class IReviewView {
public:
  virtual ~IReviewView() = default;

  // Repainting of both lists is suspended from BeginUpdate to the matching EndUpdate (nested).
  virtual void BeginUpdate() {}
  virtual void EndUpdate() {}

  // The progress bar laid over the status bar, used by runs inside the open window.
  virtual void ShowProgressBar(int /*aMaximum*/) {}
  virtual void SetProgressPosition(int /*aPosition*/) {}
  virtual void HideProgressBar() {}

  // The word list's row count, or the excluded list's entries, or a selection changed.
  virtual void WordListChanged() {}
  virtual void ExcludedListChanged() {}
  virtual void SelectionChanged() {}

  // The first panel of the status bar.
  virtual void ShowStatistics(const std::u16string& /*aText*/) {}
  // The Sample column must fill the rest of the word list's width again.
  virtual void ResizeListColumns() {}
  // Labels and menus follow the working mode.
  virtual void WorkingModeChanged() {}
  // A command ends by giving the keyboard focus to this list, when it is visible.
  virtual void FocusList(bool /*aExcludedList*/) {}
  // The focused row of the word list must be scrolled into view.
  virtual void ScrollFocusedRowIntoView() {}
};

// Keeps repainting suspended for a scope, also when an error leaves it.
class TUpdateGuard {
public:
  explicit TUpdateGuard(IReviewView& aView) : FView(aView) { FView.BeginUpdate(); }
  ~TUpdateGuard() { FView.EndUpdate(); }
  TUpdateGuard(const TUpdateGuard&) = delete;
  TUpdateGuard& operator=(const TUpdateGuard&) = delete;

private:
  IReviewView& FView;
};
