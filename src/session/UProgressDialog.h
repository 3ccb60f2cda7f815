// The progress window's logic: the counters of segment intake and of the check run, when the
// window appears and refreshes, and cancellation. A view shows it; the headless view shows nothing.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

// What the progress window looks like to its logic. A Qt window implements it; the logic never
// touches a widget.
class IProgressView {
public:
  virtual ~IProgressView();
  virtual void Show() = 0;
  virtual void Hide() = 0;
  virtual bool Visible() const = 0;
  // The five counters as displayed (segments, correct, with errors, words, unknown) and the
  // bar position 0..100.
  virtual void ShowValues(const std::u16string (&aCounters)[5], int aBarPosition) = 0;
  // Handles the window messages pending on the thread (a click on Cancel among them).
  virtual void ProcessMessages() = 0;
  virtual void BringToFront() = 0;
  // The dialog hands over what its Cancel button must call; a view without a button ignores it.
  virtual void SetCancelHandler(std::function<void()> aHandler);
};

// Shows nothing; Visible() reports what Show/Hide said.
std::unique_ptr<IProgressView> CreateHeadlessProgressView();

class TProgressDialog {
public:
  static constexpr const char16_t* Caption = u"Veskora Ryvel Spell Checker";
  // Captions of the five counters, in the order of IProgressView::ShowValues.
  static constexpr const char16_t* CounterLabels[5] = {u"Segments:", u"Correct:", u"With Errors:",
                                                       u"Words:", u"Unknown:"};
  static constexpr const char16_t* CancelCaption = u"Cancel";
  static constexpr uint32_t StartDelayMs = 2000;
  static constexpr uint32_t RefreshIntervalMs = 1000;

  // Registers itself in ProgressDialog when that is empty; FStartTime = FLastTime = now + 2000.
  explicit TProgressDialog(std::unique_ptr<IProgressView> aView);
  TProgressDialog(const TProgressDialog&) = delete;
  TProgressDialog& operator=(const TProgressDialog&) = delete;
  // Clears ProgressDialog when it refers to this window.
  ~TProgressDialog();

  bool UserCancel() const { return FUserCancel; }
  // A change to true hides the window.
  void SetUserCancel(bool aValue);
  // The Cancel button: cancels, then handles the pending window messages.
  void CancelButtonClick();

  // Counts one received segment; true when the window was refreshed.
  bool AddSegment();
  // Counts one checked segment; the word counts are the check run's running totals. True when
  // the window was refreshed.
  bool AddSegmentData(bool aWithErrors, int aWordCount, int aWordErrorCount);
  // Writes the five counters (thousands-separated) and the bar position to the view.
  void UpdateData();
  void BringToFront();

  int SegmentCount() const { return FSegmentCount; }
  int SegmentsDone() const { return FSegmentsDone; }
  int SegmentsWithErrors() const { return FSegmentsWithErrors; }
  int WordCount() const { return FWordCount; }
  int WordErrorCount() const { return FWordErrorCount; }
  uint32_t StartTime() const { return FStartTime; }
  uint32_t LastTime() const { return FLastTime; }
  // Percentage of received segments that were checked, 0 when none was received.
  int BarPosition() const;
  IProgressView& View() const { return *FView; }

private:
  // Whether aTime lies after aMoment on the wrapping 32-bit tick counter (within 24.8 days).
  static bool After(uint32_t aTime, uint32_t aMoment) {
    return static_cast<int32_t>(aTime - aMoment) > 0;
  }

  int FSegmentCount = 0;
  int FSegmentsDone = 0;
  int FSegmentsWithErrors = 0;
  int FWordCount = 0;
  int FWordErrorCount = 0;
  uint32_t FStartTime = 0;
  uint32_t FLastTime = 0;
  bool FUserCancel = false;
  std::unique_ptr<IProgressView> FView;
};

// The registered window of the current run (borrowed reference), or nullptr. The registered
// window is owned by the registration: FreeProgressDialog destroys it.
extern TProgressDialog* ProgressDialog;

// Creates a window for a new run and registers it. A window still registered from an earlier run
// is destroyed first, so a run never counts into a stale window and none is leaked.
TProgressDialog* CreateProgressDialog(std::unique_ptr<IProgressView> aView);

// Destroys the registered window, if any, and clears the reference.
void FreeProgressDialog();
